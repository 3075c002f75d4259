// The README's lists of available projections and methods are exactly the
// registry rows whose functions are in the library (the rows that read).
#include "kx.h"
#include "objects/registry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

// The comma-separated names on the README line that starts with `label`.
std::set<std::string> readme_list(const std::string &label) {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/../../README.md");
  std::string line;
  std::set<std::string> names;
  while (std::getline(in, line)) {
    if (line.rfind(label, 0) != 0) continue;
    std::istringstream items(line.substr(label.size()));
    std::string item;
    while (std::getline(items, item, ',')) {
      const auto b = item.find_first_not_of(" `."), e = item.find_last_not_of(" `.");
      if (b != std::string::npos) names.insert(item.substr(b, e - b + 1));
    }
  }
  return names;
}

TEST(Registry, ReadmeListsTheAvailableRows) {
  std::set<std::string> projections, methods;
  int count = 0;
  const kx::ProjectionRow *prow = kx::projection_rows(&count);
  for (int i = 0; i < count; ++i) {
    const std::string text = std::string("PROJECTION[\"") + prow[i].name + "\"]";
    kx_projection p = kx_projection_from_string(text.c_str());
    if (p != nullptr) projections.insert(prow[i].name);
    kx_projection_del(p);
  }
  const kx::MethodRow *mrow = kx::method_rows(&count);
  for (int i = 0; i < count; ++i) {
    const std::string text = std::string("METHOD[\"") + mrow[i].name + "\"]";
    kx_method m = kx_method_from_string(text.c_str());
    if (m != nullptr) methods.insert(mrow[i].name);
    kx_method_del(m);
  }
  EXPECT_EQ(readme_list("Projections available:"), projections);
  EXPECT_EQ(readme_list("Methods available:"), methods);
  EXPECT_GT(projections.size(), 10u);
}

}  // namespace
