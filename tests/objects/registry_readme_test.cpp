// The README's lists of available projections and methods are exactly the
// registry rows whose functions are in the library (the rows that read).
#include "objects/object_cases.h"
#include "objects/registry.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The comma-separated names on the README line that starts with `label`.
std::set<std::string> readme_list(const std::string &label) {
  std::ifstream in(kxtest::data_path("../../README.md"));
  std::set<std::string> names;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(label, 0) != 0) continue;
    for (const std::string &item : objcase::split(line.substr(label.size()), ',')) {
      const auto b = item.find_first_not_of(" `."), e = item.find_last_not_of(" `.");
      if (b != std::string::npos) names.insert(item.substr(b, e - b + 1));
    }
  }
  return names;
}

template <class Row>
std::set<std::string> readable(const Row *rows, int count, const objcase::Kind &k, const char *kw) {
  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    objcase::Obj o = k.read((std::string(kw) + "[\"" + rows[i].name + "\"]").c_str());
    if (o != nullptr) names.insert(rows[i].name);
    k.del(o);
  }
  return names;
}

TEST(Registry, ReadmeListsTheAvailableRows) {
  const auto kinds = objcase::kinds();
  int np = 0, nm = 0;
  const kx::ProjectionRow *prow = kx::projection_rows(&np);
  const kx::MethodRow *mrow = kx::method_rows(&nm);
  const std::set<std::string> projections = readable(prow, np, kinds.at("projection"), "PROJECTION");
  EXPECT_EQ(readme_list("Projections available:"), projections);
  EXPECT_EQ(readme_list("Methods available:"), readable(mrow, nm, kinds.at("method"), "METHOD"));
  EXPECT_GT(projections.size(), 10u);
}

}  // namespace
