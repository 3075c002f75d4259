// Number text: worked examples, a second implementation over random doubles,
// round trips, and independence from the process locale.
#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "kx.h"

namespace {

std::string dtoa(double v) {
  char buf[32];
  std::memset(buf, 'x', sizeof buf);
  kx_dtoa(v, buf, 16);
  return buf;
}

// A second realisation of the 16-digit text rule, written from the rule
// itself with std::string operations (run under the "C" locale).
std::string reference_text(double v) {
  char e_form[64];
  std::snprintf(e_form, sizeof e_form, "%.15e", v);
  std::string e(e_form);
  size_t epos = e.find('e');
  int exponent = std::atoi(e.c_str() + epos + 1);
  std::string mantissa_digits;
  for (size_t i = 0; i < epos; ++i)
    if (e[i] >= '0' && e[i] <= '9') mantissa_digits += e[i];
  int digits = 16;
  if (exponent <= 11) {
    std::string d1415 = mantissa_digits.substr(13, 2);
    if (d1415 == "00" || d1415 == "99") digits = 15;
  }
  auto strip = [](std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s += '0';
    return s;
  };
  char out[256];
  if (exponent >= 0) {
    if (exponent >= digits) {
      std::snprintf(out, sizeof out, "%e", v);
      return out;
    }
    std::snprintf(out, sizeof out, "%.*f", digits - exponent - 1, v);
    return strip(out);
  }
  if (exponent >= -9) {
    // The length limit counts the sign position the field width reserves.
    std::snprintf(out, sizeof out, "%.*f", digits - exponent - 1, v);
    std::string s = strip(out);
    size_t counted = s.size() + (v < 0 ? 0 : 1);
    if (counted <= 24) return s;
  }
  std::snprintf(out, sizeof out, "%.*g", digits - 1, v);
  return out;
}

TEST(NumberText, WorkedExamples) {
  EXPECT_EQ(dtoa(6378137), "6378137.0");
  EXPECT_EQ(dtoa(298.257223563), "298.257223563");
  EXPECT_EQ(dtoa(0), "0.0");
  EXPECT_EQ(dtoa(0.0174532925199433), "0.0174532925199433");
  EXPECT_EQ(dtoa(1e20), "1.000000e+20");
  EXPECT_EQ(dtoa(1.5e-10), "1.5e-10");
  EXPECT_EQ(dtoa(0.1 + 0.2), "0.3");
  EXPECT_EQ(dtoa(1e15), "1000000000000000");
  EXPECT_EQ(dtoa(-6378137), "-6378137.0");
  EXPECT_EQ(dtoa(0.30480060960121924), "0.3048006096012192");
  EXPECT_EQ(dtoa(-0.5), "-0.5");
}

TEST(NumberText, AgreesWithSecondImplementationOverRandomDoubles) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> mant(-10.0, 10.0);
  std::uniform_int_distribution<int> expo(-300, 300);
  std::vector<double> values;
  for (int i = 0; i < 4000; ++i) values.push_back(mant(rng) * std::pow(10.0, expo(rng)));
  for (int i = 0; i < 3000; ++i) {
    uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (std::isfinite(d)) values.push_back(d);
  }
  for (int i = 0; i < 2000; ++i) values.push_back(static_cast<double>(static_cast<int64_t>(rng() >> 20)) / 1000.0);
  for (int i = -12; i <= 18; ++i) values.push_back(std::pow(10.0, i));
  size_t longest = 0;
  for (double v : values) {
    std::string got = dtoa(v);
    ASSERT_EQ(got, reference_text(v)) << "value " << std::hexfloat << v;
    longest = std::max(longest, got.size());
    // Between 1e-9 and 1e15 the text carries 15-16 significant digits; the
    // general form of smaller numbers 14-15, the exponent form of larger ones seven.
    double back = kx_atod(got.c_str());
    double mag = std::fabs(v);
    double rel = mag >= 1e15 ? 6e-7 : mag < 1e-9 ? 6e-14 : 6e-15;
    ASSERT_LE(std::fabs(back - v), rel * std::fabs(v)) << got;
  }
  EXPECT_LE(longest, 25u);
}

TEST(NumberText, ReadingText) {
  EXPECT_EQ(kx_atod(nullptr), 0.0);
  EXPECT_EQ(kx_atod("abc"), 0.0);
  EXPECT_EQ(kx_atod("  12.5xyz"), 12.5);
  EXPECT_EQ(kx_atod("-1e3"), -1000.0);
  EXPECT_TRUE(std::isnan(kx_atod("nan")));
}

class DecimalCommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  }
  void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
  std::string saved_;
};

TEST_F(DecimalCommaLocale, TextUsesPointAndLocaleIsUntouched) {
  EXPECT_EQ(dtoa(298.257223563), "298.257223563");
  EXPECT_EQ(dtoa(1.5e-10), "1.5e-10");
  EXPECT_EQ(kx_atod("0.0174532925199433"), 0.0174532925199433);
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "de_DE.UTF-8");
  EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}

TEST_F(DecimalCommaLocale, OtherThreadsNeverSeeAChangedLocale) {
  // The workers do a fixed amount of number text and the probe runs until they
  // finish, so the test's length depends on work, not on the scheduler.
  constexpr int kWorkers = 2, kEach = 20000;
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kWorkers; ++t) {
    workers.emplace_back([&] {
      char buf[32];
      for (int i = 0; i < kEach; ++i) {
        kx_dtoa(6378137.0, buf, 16);
        kx_atod("298.257223563");
      }
      ++finished;
    });
  }
  long changed = 0, probes = 0;
  char probe[64];
  while (finished.load() < kWorkers) {
    if (std::strcmp(std::localeconv()->decimal_point, ",") != 0) ++changed;
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    if (std::strcmp(probe, "1,5") != 0) ++changed;
    ++probes;
  }
  for (auto &w : workers) w.join();
  EXPECT_GT(probes, 0);
  EXPECT_EQ(changed, 0);
}

TEST(Bytes, SwapAndNan) {
  int32_t w[3] = {0x01020304, -1, 0};
  kx_swap4_int(w, 3);
  EXPECT_EQ(w[0], 0x04030201);
  kx_swap4_int(w, 3);
  EXPECT_EQ(w[0], 0x01020304);
  EXPECT_EQ(w[1], -1);
  kx_swap4_int(w, 0);
  kx_swap4_int(w, -5);
  EXPECT_EQ(w[0], 0x01020304);

  double d[2] = {1.0, -2.5};
  uint64_t bits;
  kx_swap8_dbl(d, 2);
  std::memcpy(&bits, &d[0], 8);
  EXPECT_EQ(bits, 0x000000000000F03Full);
  kx_swap8_dbl(d, 2);
  EXPECT_EQ(d[0], 1.0);
  EXPECT_EQ(d[1], -2.5);

  double nan;
  kx_double_nan(&nan);
  std::memcpy(&bits, &nan, 8);
  EXPECT_EQ(bits, 0x7FF8000000000001ull);
  EXPECT_TRUE(std::isnan(nan));
}

}  // namespace
