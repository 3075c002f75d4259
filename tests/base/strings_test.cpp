// Allocation, case-insensitive strings, trimming, path joining, version texts.
#include <gtest/gtest.h>

#include "kx.h"

namespace {

// Names compare alike under every locale, also a Turkish one, whose own table
// has no single-byte upper-case form of 'i'.
void case_insensitive() {
  const struct {
    const char *a, *b;
    int cmp;
  } cmps[] = {
      {"Degree", "DEGREE", 0}, {"a", "B", -1},    {"B", "a", 1},
      {"abc", "ab", 1},        {"ab", "abc", -1}, {"Latitude_Of_Origin", "LATITUDE_OF_ORIGIN", 0},
      {"i", "I", 0},           {"i", "J", -1},    {"az", "AZ", 0}};
  for (const auto &c : cmps) EXPECT_EQ(kx_strcmp_ci(c.a, c.b), c.cmp) << c.a << " " << c.b;
  EXPECT_NE(kx_strcmp_ci("\xe9", "\xc9"), 0);  // bytes beyond ASCII have no upper-case form
  const char *wkt = "GEOGCS[\"x\",DATUM[", *param = "PARAMETER[\"Scale_Factor\"";
  const struct {
    const char *text, *pattern;
    int at;
  } finds[] = {{wkt, "", 0},   {wkt, "datum", 11},      {wkt, "spheroid", -1},
               {"", "a", -1},  {param, "parameter", 0}, {wkt, "d", 11},
               {wkt, "z", -1}, {"Meridian", "I", 3}};
  for (const auto &f : finds) {
    EXPECT_EQ(kx_strstr_ci(f.text, f.pattern), f.at < 0 ? nullptr : f.text + f.at) << f.pattern;
    if (f.pattern[0] && !f.pattern[1]) {
      EXPECT_EQ(kx_strchr_ci(f.text, f.pattern[0]), f.at < 0 ? nullptr : f.text + f.at);
    }
  }
}

TEST(Strings, CaseInsensitiveInTheCAndATurkishLocale) {
  case_insensitive();
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "tr_TR.UTF-8") == nullptr) GTEST_SKIP() << "tr_TR.UTF-8 not installed";
  case_insensitive();
  std::setlocale(LC_ALL, saved.c_str());
}

// Allocations are zero-filled; sizes below one are refused.
TEST(Strings, MemoryTrimmingPathsAndVersion) {
  EXPECT_TRUE(kx_allocate(0) == nullptr && kx_allocate(-8) == nullptr && kx_memalloc(0) == nullptr);
  auto *p = static_cast<unsigned char *>(kx_allocate(100));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char *>(p), 100), std::string(100, '\0'));
  p = static_cast<unsigned char *>(kx_reallocate(p, 200));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(kx_reallocate(p, 0), nullptr);  // the block stays valid
  kx_deallocate(p);
  kx_deallocate(nullptr);
  kx_memdealloc(nullptr);
  using Trim = std::pair<std::string, const char *>;
  for (auto [in, out] : {Trim{" \t \r\n ", ""}, Trim{"\bname \t", "name"}, Trim{"  a b  ", "a b"}})
    EXPECT_STREQ(kx_trimstring(&in[0]), out);
  char dir[64] = "/data/", dir2[64] = "/data";
  EXPECT_STREQ(kx_pathcat(dir, "conus"), "/data/conus");
  EXPECT_STREQ(kx_pathcat(dir2, "conus"), "/data/conus");
  EXPECT_EQ(kx_pathcat(nullptr, "x"), nullptr);
  EXPECT_STREQ(kx_version(), "Ortelan Version 9.0 (Mar  3 2005)");
  testing::internal::CaptureStdout();
  EXPECT_GE(quorvex_qfeid(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "@(#)Quorvex Solvane-91 Build\n");
}

}  // namespace
