// Inputs the fuzzer once found failing: each must read, write and re-read
// to the same text under the three readers it feeds.
#include "kx.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> regression_inputs() {
  const std::string dir = std::string(KX_TEST_DATA_DIR) + "/objects/fuzz_regressions";
  std::vector<std::string> texts;
  if (DIR *d = opendir(dir.c_str())) {
    while (dirent *e = readdir(d)) {
      if (e->d_name[0] == '.') continue;
      std::ifstream f(dir + "/" + e->d_name, std::ios::binary);
      std::stringstream ss;
      ss << f.rdbuf();
      texts.push_back(ss.str());
    }
    closedir(d);
  }
  return texts;
}

template <class Read, class Write, class Del>
void expect_stable(const std::string &text, Read read, Write write, Del del) {
  static char first[KX_TEXT_MAX_GEOGTRAN + 1];
  static char second[KX_TEXT_MAX_GEOGTRAN + 1];
  auto object = read(text.c_str());
  if (object == nullptr) return;
  write(object, first);
  auto again = read(first);
  ASSERT_NE(again, nullptr) << first;
  write(again, second);
  EXPECT_STREQ(first, second);
  del(object);
  del(again);
}

TEST(FuzzRegressions, TextsReadBackTheSame) {
  const auto inputs = regression_inputs();
  ASSERT_FALSE(inputs.empty());
  for (const std::string &text : inputs) {
    expect_stable(text, kx_coordsys_from_string, kx_coordsys_to_string, kx_coordsys_del);
    expect_stable(text, kx_geogtran_from_string, kx_geogtran_to_string, kx_geogtran_del);
    expect_stable(text, kx_geoxyzcs_from_string, kx_geoxyzcs_to_string, kx_geoxyzcs_del);
  }
  // The name that was cut to 63 characters ends without its trailing blanks.
  kx_coordsys cs = kx_coordsys_from_string(inputs[0].c_str());
  ASSERT_NE(cs, nullptr);
  char name[64];
  kx_datum_name(kx_geogcs_datum(static_cast<kx_geogcs>(cs)), name);
  EXPECT_NE(name[std::char_traits<char>::length(name) - 1], ' ');
  kx_coordsys_del(cs);
}

}  // namespace
