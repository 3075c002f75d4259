// Allocation, case-insensitive strings, trimming and path joining.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "kx.h"

namespace {

TEST(Memory, AllocateIsZeroFilledAndRejectsNonPositiveSizes) {
  EXPECT_EQ(kx_allocate(0), nullptr);
  EXPECT_EQ(kx_allocate(-8), nullptr);
  EXPECT_EQ(kx_memalloc(0), nullptr);
  auto *p = static_cast<unsigned char *>(kx_allocate(100));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(p[i], 0);
  p = static_cast<unsigned char *>(kx_reallocate(p, 200));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(kx_reallocate(p, 0), nullptr);  // the block stays valid
  kx_deallocate(p);
  kx_deallocate(nullptr);
  kx_memdealloc(nullptr);
}

TEST(Strings, CaseInsensitiveComparisonAndSearch) {
  EXPECT_EQ(kx_strcmp_ci("Degree", "DEGREE"), 0);
  EXPECT_EQ(kx_strcmp_ci("a", "B"), -1);
  EXPECT_EQ(kx_strcmp_ci("B", "a"), 1);
  EXPECT_EQ(kx_strcmp_ci("abc", "ab"), 1);
  EXPECT_EQ(kx_strcmp_ci("ab", "abc"), -1);
  const char *text = "GEOGCS[\"x\",DATUM[";
  EXPECT_EQ(kx_strstr_ci(text, ""), text);
  EXPECT_EQ(kx_strstr_ci(text, "datum"), text + 11);
  EXPECT_EQ(kx_strstr_ci(text, "spheroid"), nullptr);
  EXPECT_EQ(kx_strstr_ci("", "a"), nullptr);
  EXPECT_EQ(kx_strchr_ci(text, 'd'), text + 11);
  EXPECT_EQ(kx_strchr_ci(text, 'z'), nullptr);
}

// Names compare alike under every locale: a Turkish locale's own table has
// no single-byte upper-case form of 'i'.
TEST(Strings, CaseInsensitiveUnderATurkishLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "tr_TR.UTF-8") == nullptr) GTEST_SKIP() << "tr_TR.UTF-8 not installed";
  EXPECT_EQ(kx_strcmp_ci("Latitude_Of_Origin", "LATITUDE_OF_ORIGIN"), 0);
  EXPECT_EQ(kx_strcmp_ci("i", "I"), 0);
  EXPECT_EQ(kx_strcmp_ci("i", "J"), -1);
  EXPECT_STREQ(kx_strstr_ci("PARAMETER[\"Scale_Factor\"", "parameter"), "PARAMETER[\"Scale_Factor\"");
  EXPECT_NE(kx_strchr_ci("Meridian", 'I'), nullptr);
  // Bytes beyond ASCII have no upper-case form.
  EXPECT_NE(kx_strcmp_ci("\xe9", "\xc9"), 0);
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(Strings, TrimmingAndPaths) {
  char blank[] = " \t \r\n ";
  EXPECT_STREQ(kx_trimstring(blank), "");
  char bs[] = "\bname \t";
  EXPECT_STREQ(kx_trimstring(bs), "name");
  char inner[] = "  a b  ";
  EXPECT_STREQ(kx_trimstring(inner), "a b");

  char dir[64] = "/data/";
  EXPECT_STREQ(kx_pathcat(dir, "conus"), "/data/conus");
  char dir2[64] = "/data";
  EXPECT_STREQ(kx_pathcat(dir2, "conus"), "/data/conus");
  EXPECT_EQ(kx_pathcat(nullptr, "x"), nullptr);
}

TEST(Version, Texts) {
  EXPECT_STREQ(kx_version(), "Ortelan Version 9.0 (Mar  3 2005)");
  testing::internal::CaptureStdout();
  int rc = quorvex_qfeid();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "@(#)Quorvex Solvane-91 Build\n");
  EXPECT_GE(rc, 0);
}

}  // namespace
