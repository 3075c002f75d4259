// The documented text limits KX_TEXT_MAX_* against the longest texts the
// writers really produce: 63-character names and, for every number, the
// longest kx_dtoa text among values the kind accepts there. The limits assume
// KX_TEXT_MAX_NUMBER characters per number; the measured texts fall short by
// exactly the measured number slack.
#include "objects/object_cases.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Longest {
  double value = 0;
  int slack = KX_TEXT_MAX_NUMBER;  // KX_TEXT_MAX_NUMBER less the text length
};

// Longest kx_dtoa text in [lo, hi] among 16 significant digits of every
// decimal exponent, both signs.
Longest longest(double lo, double hi) {
  Longest best;
  char text[64];
  for (int e = -330; e <= 310; ++e) {
    for (double m : {1.234567890123457, 9.876543210987654, 1.000000000000001, 3.333333333333333,
                     1.2345678901234568}) {
      for (double v : {m * std::pow(10.0, e), -m * std::pow(10.0, e)}) {
        if (!(v >= lo && v <= hi)) continue;
        const int slack = KX_TEXT_MAX_NUMBER - int(std::strlen((kx_dtoa(v, text, 16), text)));
        if (slack < best.slack) best = {v, slack};
      }
    }
  }
  return best;
}

template <class H, class W>
int length(W (*writer)(H, char *), H h) {
  static char b[4096];
  return objcase::written(writer(h, b), b);
}

TEST(TextBounds, LongestTextsReachTheLimitsLessTheNumberSlack) {
  const char *const name = "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN";
  ASSERT_EQ(std::strlen(name), 63u);
  const Longest pos = longest(1e-300, INFINITY), inv = longest(1.0, INFINITY),
                lon = longest(-180.0, 180.0), any = longest(-INFINITY, INFINITY);
  EXPECT_GE(any.slack, 0);
  EXPECT_LE(any.slack, KX_TEXT_MAX_NUMBER - 22);  // the search does find long texts
  kx_spheroid s = kx_spheroid_new(name, pos.value, 1.0 / inv.value);
  const int sph = length(kx_spheroid_to_string, s);  // 1/(1/x) may round off x: measure it
  kx_datum d = kx_datum_new(name, s);
  const int datum = length(kx_datum_to_string, d);
  kx_geogcs g = kx_geogcs_new(name, d, kx_primem_new(name, lon.value), kx_unit_new(name, pos.value));
  EXPECT_LE(sph, KX_TEXT_MAX_SPHEROID);
  EXPECT_GE(sph, KX_TEXT_MAX_SPHEROID - pos.slack - inv.slack - 1);
  EXPECT_EQ(datum, KX_TEXT_MAX_DATUM - (KX_TEXT_MAX_SPHEROID - sph));
  EXPECT_EQ(length(kx_primem_to_string, kx_geogcs_primem(g)), KX_TEXT_MAX_PRIMEM - lon.slack);
  EXPECT_EQ(length(kx_unit_to_string, kx_geogcs_unit(g)), KX_TEXT_MAX_UNIT - pos.slack);
  kx_parameter par = kx_parameter_new(name, any.value);
  EXPECT_EQ(length(kx_parameter_to_string, par), KX_TEXT_MAX_PARAMETER - any.slack);
  kx_parameter_del(par);
  const int gcs = length(kx_geogcs_to_string, g), gcs_short = KX_TEXT_MAX_GEOGCS - gcs;
  EXPECT_EQ(gcs, KX_TEXT_MAX_GEOGCS - (KX_TEXT_MAX_DATUM - datum) - lon.slack - pos.slack);
  kx_geoxyzcs x = kx_geoxyzcs_new(name, kx_geogcs_clone(g), kx_unit_new(name, pos.value));
  EXPECT_EQ(length(kx_geoxyzcs_to_string, x), KX_TEXT_MAX_GEOXYZCS - gcs_short - pos.slack);
  kx_geoxyzcs_del(x);
  kx_projection pr = kx_projection_new(name, kx_mercator_fwd, kx_mercator_inv, nullptr);
  EXPECT_EQ(length(kx_projection_to_string, pr), KX_TEXT_MAX_PROJECTION);
  kx_method m = kx_method_new(name, kx_geocentric_translation_fwd, kx_geocentric_translation_inv);
  EXPECT_EQ(length(kx_method_to_string, m), KX_TEXT_MAX_METHOD);
  // The constructors take any parameter names, so every slot can hold one of 63.
  kx_parameter slots[16];
  for (kx_parameter &a : slots) a = kx_parameter_new(name, any.value);
  kx_projcs pcs = kx_projcs_new(name, kx_geogcs_clone(g), pr, slots, kx_unit_new(name, pos.value));
  const int n = length(kx_projcs_to_string, pcs);
  EXPECT_EQ(n, KX_TEXT_MAX_PROJCS - gcs_short - 16 * any.slack - pos.slack);
  EXPECT_EQ(length(kx_coordsys_to_string, static_cast<kx_coordsys>(pcs)), n);
  kx_projcs_del(pcs);
  for (kx_parameter &a : slots) a = kx_parameter_new(name, any.value);
  kx_geogtran t = kx_geogtran_new(name, kx_geogcs_clone(g), kx_geogcs_clone(g), m, slots);
  EXPECT_EQ(length(kx_geogtran_to_string, t), KX_TEXT_MAX_GEOGTRAN - 2 * gcs_short - 16 * any.slack);
  kx_geogtran_del(t);
  static char text[KX_TEXT_MAX_GEOGCS + 1];  // the longest still fits the tokenizer
  kx_geogcs r = kx_geogcs_from_string((kx_geogcs_to_string(g, text), text));
  EXPECT_EQ(kx_geogcs_eq(g, r), 1);
  kx_geogcs_del(r);
  kx_geogcs_del(g);
}

}  // namespace
