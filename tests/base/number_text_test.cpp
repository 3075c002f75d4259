// Number text: worked examples (tests/data/base/number_text.csv), a second
// implementation over random doubles and round trips (independence from the
// process locale: tests/threads), and the byte helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "kx.h"
#include "support/cases.h"

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
  char buf[512];
  auto fmt = [&](const char *format, int precision) {
    std::snprintf(buf, sizeof buf, format, precision, v);
    return std::string(buf);
  };
  const std::string e = fmt("%.*e", 15);
  const int exponent = std::atoi(e.c_str() + e.find('e') + 1);
  const std::string d1415 = e.substr(e.find('e') - 3, 2);  // of the 16 mantissa digits
  const int n = exponent <= 11 && (d1415 == "00" || d1415 == "99") ? 15 : 16;
  auto fixed = [&] {  // trailing zeros stripped, one kept after the point
    std::string s = fmt("%.*f", n - exponent - 1);
    if (s.find('.') == std::string::npos) return s;
    while (s.back() == '0') s.pop_back();
    return s.back() == '.' ? s + '0' : s;
  };
  if (exponent >= n) return fmt("%.*e", 6);
  if (exponent >= 0) return fixed();
  // The length limit counts the sign position the field width reserves.
  if (exponent >= -9 && fixed().size() + (v < 0 ? 0 : 1) <= 24) return fixed();
  return fmt("%.*g", n - 1);
}

TEST(NumberText, WorkedExamples) {
  for (const kxtest::Row &r : kxtest::read_csv(kxtest::data_path("base/number_text.csv"))) {
    if (r[0] == "dtoa") {
      EXPECT_EQ(dtoa(kxtest::num(r[1])), r[2]);
    }
    const double read = kx_atod(r[1].c_str());
    if (r[0] == "atod") {
      EXPECT_TRUE(read == kxtest::num(r[2]) || (std::isnan(read) && r[2] == "nan")) << r[1];
    }
  }
  EXPECT_EQ(kx_atod(nullptr), 0.0);
}

TEST(NumberText, AgreesWithSecondImplementationOverRandomDoubles) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> mant(-10.0, 10.0);
  std::uniform_int_distribution<int> expo(-300, 300);
  std::vector<double> values;
  for (int i = 0; i < 4000; ++i) values.push_back(mant(rng) * std::pow(10.0, expo(rng)));
  for (int i = 0; i < 3000; ++i) {
    const uint64_t bits = rng();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    if (std::isfinite(d)) values.push_back(d);
  }
  for (int i = 0; i < 2000; ++i)
    values.push_back(static_cast<double>(static_cast<int64_t>(rng() >> 20)) / 1000.0);
  for (int i = -12; i <= 18; ++i) values.push_back(std::pow(10.0, i));
  size_t longest = 0;
  for (double v : values) {
    const std::string got = dtoa(v);
    ASSERT_EQ(got, reference_text(v)) << "value " << std::hexfloat << v;
    longest = std::max(longest, got.size());
    // Between 1e-9 and 1e15 the text carries 15-16 significant digits; the
    // general form of smaller numbers 14-15, the exponent form of larger ones seven.
    const double mag = std::fabs(v), rel = mag >= 1e15 ? 6e-7 : mag < 1e-9 ? 6e-14 : 6e-15;
    ASSERT_LE(std::fabs(kx_atod(got.c_str()) - v), rel * mag) << got;
  }
  EXPECT_LE(longest, 25u);
}

TEST(Bytes, SwapAndNan) {
  int32_t w[3] = {0x01020304, -1, 0};
  kx_swap4_int(w, 3);
  EXPECT_EQ(w[0], 0x04030201);
  for (int n : {3, 0, -5}) kx_swap4_int(w, n);  // back, then no change
  EXPECT_TRUE(w[0] == 0x01020304 && w[1] == -1);
  double d[2] = {1.0, 0}, nan;
  uint64_t bits[2] = {0, 0x0102030405060708ull};
  std::memcpy(&d[1], &bits[1], 8);
  kx_swap8_dbl(d, 2);
  std::memcpy(bits, d, 16);
  EXPECT_TRUE(bits[0] == 0x000000000000F03Full && bits[1] == 0x0807060504030201ull);
  kx_swap8_dbl(d, 1);
  EXPECT_EQ(d[0], 1.0);
  kx_double_nan(&nan);
  std::memcpy(bits, &nan, 8);
  EXPECT_EQ(bits[0], 0x7FF8000000000001ull);
}

}  // namespace
