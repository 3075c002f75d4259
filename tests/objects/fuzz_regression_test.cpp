// An input the fuzzer once found failing (the test suite replays it through
// the fuzz target too): a name cut to 63 characters loses its trailing
// blanks, so that it writes and reads back the same.
#include "kx.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

TEST(FuzzRegressions, NameCutTo63CharactersEndsWithoutBlanks) {
  std::ifstream f(std::string(KX_TEST_DATA_DIR) +
                  "/fuzz_regressions/coordsys/truncated_name_whitespace.txt");
  std::stringstream ss;
  ss << f.rdbuf();
  kx_coordsys cs = kx_coordsys_from_string(ss.str().c_str());
  ASSERT_NE(cs, nullptr);
  char name[64];
  kx_datum_name(kx_geogcs_datum(static_cast<kx_geogcs>(cs)), name);
  EXPECT_NE(name[std::char_traits<char>::length(name) - 1], ' ');
  kx_coordsys_del(cs);
}

}  // namespace
