// The documented text limits KX_TEXT_MAX_* against the longest texts the
// writers really produce: 63-character names and, for every number, the
// longest kx_dtoa text among values the kind accepts there. The limits
// assume KX_TEXT_MAX_NUMBER characters per number; the measured texts must
// stay within them and fall short by exactly the measured number slack.
#include "kx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Longest {
  double value = 0;
  int length = 0;
};

// Longest kx_dtoa text among candidates in [lo, hi] (16 significant digits of
// every decimal exponent, both signs).
Longest longest_number(double lo, double hi) {
  static const double mantissas[] = {1.234567890123457, 9.876543210987654, 1.000000000000001,
                                     3.333333333333333, 1.2345678901234568};
  Longest best;
  char text[64];
  for (int e = -330; e <= 310; ++e) {
    for (double m : mantissas) {
      for (double sign : {1.0, -1.0}) {
        const double v = sign * m * std::pow(10.0, e);
        if (!(v >= lo && v <= hi)) continue;
        kx_dtoa(v, text, 16);
        const int n = static_cast<int>(std::strlen(text));
        if (n > best.length) best = {v, n};
      }
    }
  }
  return best;
}

int slack(const Longest &l) { return KX_TEXT_MAX_NUMBER - l.length; }

const std::string kName63(63, 'N');

TEST(TextBounds, NumbersStayWithinTheDtoaLimit) {
  const Longest any = longest_number(-INFINITY, INFINITY);
  EXPECT_LE(any.length, KX_TEXT_MAX_NUMBER);
  EXPECT_GE(any.length, 22);  // the search does find long texts
}

TEST(TextBounds, LeafKindsReachTheirLimitsLessTheNumberSlack) {
  char buf[2048];
  const Longest positive = longest_number(1e-300, INFINITY);
  const Longest inverse = longest_number(1.0, INFINITY);  // 1/f for 0 < f < 1
  const Longest longitude = longest_number(-180.0, 180.0);
  const Longest any = longest_number(-INFINITY, INFINITY);

  kx_spheroid s = kx_spheroid_new(kName63.c_str(), positive.value, 1.0 / inverse.value);
  ASSERT_NE(s, nullptr);
  // 1/(1/x) may round differently from x; measure what is written.
  int n = kx_spheroid_to_string(s, buf);
  EXPECT_LE(n, KX_TEXT_MAX_SPHEROID);
  EXPECT_GE(n, KX_TEXT_MAX_SPHEROID - slack(positive) - slack(inverse) - 1);
  const int spheroid_len = n;

  kx_primem p = kx_primem_new(kName63.c_str(), longitude.value);
  ASSERT_NE(p, nullptr);
  n = kx_primem_to_string(p, buf);
  EXPECT_EQ(n, KX_TEXT_MAX_PRIMEM - slack(longitude));

  kx_unit u = kx_unit_new(kName63.c_str(), positive.value);
  ASSERT_NE(u, nullptr);
  n = kx_unit_to_string(u, buf);
  EXPECT_EQ(n, KX_TEXT_MAX_UNIT - slack(positive));

  kx_parameter par = kx_parameter_new(kName63.c_str(), any.value);
  n = kx_parameter_to_string(par, buf);
  EXPECT_EQ(n, KX_TEXT_MAX_PARAMETER - slack(any));
  kx_parameter_del(par);

  // Composites: names of 63 characters around the longest components.
  kx_datum d = kx_datum_new(kName63.c_str(), s);
  n = kx_datum_to_string(d, buf);
  EXPECT_EQ(n, KX_TEXT_MAX_DATUM - (KX_TEXT_MAX_SPHEROID - spheroid_len));
  const int datum_len = n;

  kx_geogcs g = kx_geogcs_new(kName63.c_str(), d, p, u);
  n = kx_geogcs_to_string(g, buf);
  EXPECT_LE(n, KX_TEXT_MAX_GEOGCS);
  EXPECT_EQ(n, KX_TEXT_MAX_GEOGCS - (KX_TEXT_MAX_DATUM - datum_len) - slack(longitude) -
                   slack(positive));
  const int geogcs_len = n;

  kx_geoxyzcs x = kx_geoxyzcs_new(kName63.c_str(), g, kx_unit_new(kName63.c_str(), positive.value));
  n = kx_geoxyzcs_to_string(x, buf);
  EXPECT_LE(n, KX_TEXT_MAX_GEOXYZCS);
  EXPECT_EQ(n, KX_TEXT_MAX_GEOXYZCS - (KX_TEXT_MAX_GEOGCS - geogcs_len) - slack(positive));
  EXPECT_EQ(static_cast<size_t>(n), std::strlen(buf));
  kx_geoxyzcs_del(x);
}

TEST(TextBounds, LongestTextsStillReadBack) {
  // The maximal geographic CS is 400-odd characters: it fits the tokenizer.
  const Longest positive = longest_number(1e-300, INFINITY);
  kx_geogcs g = kx_geogcs_new(
      kName63.c_str(), kx_datum_new(kName63.c_str(), kx_spheroid_new(kName63.c_str(), 6378137.0, 0.5)),
      kx_primem_new(kName63.c_str(), -179.9999999999999), kx_unit_new(kName63.c_str(), positive.value));
  char buf[KX_TEXT_MAX_GEOGCS + 1];
  kx_geogcs_to_string(g, buf);
  kx_geogcs r = kx_geogcs_from_string(buf);
  EXPECT_EQ(kx_geogcs_eq(g, r), 1);
  kx_geogcs_del(r);
  kx_geogcs_del(g);
}

// The composite kinds of the projected side, built from parts (the
// constructors take any parameter names, so every slot can hold a 63-character
// one): the limits hold exactly with the longest numbers.
kx_geogcs longest_geogcs(const Longest &positive, const Longest &inverse, const Longest &lon) {
  return kx_geogcs_new(
      kName63.c_str(),
      kx_datum_new(kName63.c_str(),
                   kx_spheroid_new(kName63.c_str(), positive.value, 1.0 / inverse.value)),
      kx_primem_new(kName63.c_str(), lon.value), kx_unit_new(kName63.c_str(), positive.value));
}

int noop_fwd(const double *, const double *, int n, double *, const int *, const double *) {
  return n;
}
int noop_method(const double *, const double *, const double *, const char *, int n, double *,
                double *, const int *, const float *, const double *) {
  return n;
}

TEST(TextBounds, ProjectedSideKindsReachTheirLimits) {
  static char buf[4096];
  const Longest positive = longest_number(1e-300, INFINITY);
  const Longest inverse = longest_number(1.0, INFINITY);
  const Longest longitude = longest_number(-180.0, 180.0);
  const Longest any = longest_number(-INFINITY, INFINITY);
  kx_geogcs g = longest_geogcs(positive, inverse, longitude);
  const int geogcs_len = kx_geogcs_to_string(g, buf);

  kx_projection pr = kx_projection_new(kName63.c_str(), noop_fwd, noop_fwd, nullptr);
  EXPECT_EQ(kx_projection_to_string(pr, buf), KX_TEXT_MAX_PROJECTION);
  kx_method m = kx_method_new(kName63.c_str(), noop_method, noop_method);
  EXPECT_EQ(kx_method_to_string(m, buf), KX_TEXT_MAX_METHOD);

  kx_parameter slots[16];
  for (kx_parameter &a : slots) a = kx_parameter_new(kName63.c_str(), any.value);
  kx_projcs pcs = kx_projcs_new(kName63.c_str(), g, pr, slots,
                                kx_unit_new(kName63.c_str(), positive.value));
  ASSERT_NE(pcs, nullptr);
  ASSERT_EQ(kx_projcs_to_string(pcs, buf), buf);
  const int n = static_cast<int>(std::strlen(buf));
  EXPECT_EQ(n, KX_TEXT_MAX_PROJCS - (KX_TEXT_MAX_GEOGCS - geogcs_len) - 16 * slack(any) -
                   slack(positive));
  char cs_buf[KX_TEXT_MAX_PROJCS + 1];
  EXPECT_EQ(kx_coordsys_to_string(pcs, cs_buf), n);
  kx_projcs_del(pcs);

  for (kx_parameter &a : slots) a = kx_parameter_new(kName63.c_str(), any.value);
  kx_geogtran t = kx_geogtran_new(kName63.c_str(), longest_geogcs(positive, inverse, longitude),
                                  longest_geogcs(positive, inverse, longitude), m, slots);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(kx_geogtran_to_string(t, buf), buf);
  const int tn = static_cast<int>(std::strlen(buf));
  EXPECT_EQ(tn, KX_TEXT_MAX_GEOGTRAN - 2 * (KX_TEXT_MAX_GEOGCS - geogcs_len) - 16 * slack(any));
  kx_geogtran_del(t);
}

}  // namespace
