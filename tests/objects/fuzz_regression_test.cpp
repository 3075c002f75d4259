// Inputs the fuzzer once found failing: each must read, write and re-read
// to the same text and an equal object under the three readers it feeds
// (or not read at all).
#include "kx.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kDir = std::string(KX_TEST_DATA_DIR) + "/objects/fuzz_regressions";

std::string read_file(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::vector<std::string> regression_inputs() {
  std::vector<std::string> texts;
  if (DIR *d = opendir(kDir.c_str())) {
    while (dirent *e = readdir(d)) {
      if (e->d_name[0] != '.') texts.push_back(read_file(kDir + "/" + e->d_name));
    }
    closedir(d);
  }
  return texts;
}

template <class Read, class Write, class Eq, class Del>
void expect_stable(const std::string &text, Read read, Write write, Eq eq, Del del) {
  static char first[KX_TEXT_MAX_GEOGTRAN + 1];
  static char second[KX_TEXT_MAX_GEOGTRAN + 1];
  auto object = read(text.c_str());
  if (object == nullptr) return;
  const int n = write(object, first);
  auto again = read(first);
  ASSERT_NE(again, nullptr) << first;
  if (eq(object, object) == 1) {
    EXPECT_EQ(eq(object, again), 1) << first;
  }
  EXPECT_EQ(write(again, second), n);
  EXPECT_STREQ(first, second);
  del(object);
  del(again);
}

TEST(FuzzRegressions, TextsReadBackTheSame) {
  const auto inputs = regression_inputs();
  ASSERT_FALSE(inputs.empty());
  for (const std::string &text : inputs) {
    expect_stable(text, kx_coordsys_from_string, kx_coordsys_to_string, kx_coordsys_eq,
                  kx_coordsys_del);
    expect_stable(text, kx_geogtran_from_string, kx_geogtran_to_string, kx_geogtran_eq,
                  kx_geogtran_del);
    expect_stable(text, kx_geoxyzcs_from_string, kx_geoxyzcs_to_string, kx_geoxyzcs_eq,
                  kx_geoxyzcs_del);
    expect_stable(text, kx_parameter_from_string, kx_parameter_to_string, kx_parameter_eq,
                  kx_parameter_del);
  }
  // The name that was cut to 63 characters ends without its trailing blanks.
  const std::string cut = read_file(kDir + "/truncated_name_whitespace.txt");
  kx_coordsys cs = kx_coordsys_from_string(cut.c_str());
  ASSERT_NE(cs, nullptr);
  char name[64];
  kx_datum_name(kx_geogcs_datum(static_cast<kx_geogcs>(cs)), name);
  EXPECT_NE(name[std::char_traits<char>::length(name) - 1], ' ');
  kx_coordsys_del(cs);
}

}  // namespace
