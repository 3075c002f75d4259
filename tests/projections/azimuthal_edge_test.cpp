// Stereographic, polar stereographic, double stereographic, orthographic
// and gnomonic: aspects that must coincide, scale where it is defined to be
// true, the horizon rules (the shared contract: registry_contract_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "math/math_common.h"
#include "objects/object_core.h"
#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::Parameters;
using kxtest::run;
using kxtest::Spheroid;

const Spheroid kWgs84(6378137.0, 1 / 298.257223563);
const Spheroid kSphere(6371000.0, 0.0);

double rho(const std::vector<double> &xy) { return std::hypot(xy[0], xy[1]); }

TEST(Stereographic, PolarAspectAgreesWithPoleForm) {
  const std::vector<double> pts = {-170 * kDeg, 61 * kDeg, 10 * kDeg,
                                   80 * kDeg,   95 * kDeg, 89.5 * kDeg};
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    Parameters general, pole;
    general.deg(2, -30).deg(6, 90);
    pole.deg(2, -30).deg(3, 90);
    const auto a = run(kx_stereographic_fwd, *s, general, pts);
    const auto b = run(kx_stereographic_np_fwd, *s, pole, pts);
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], 1e-14 * 4e6);
    // A scale factor scales the polar aspect, which is true to k0 at the pole.
    general.set(5, 0.994);
    const auto c = run(kx_stereographic_fwd, *s, general, pts);
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(c[i], 0.994 * a[i], 1e-14 * 4e6);
    // Pole radius of curvature a/sqrt(1 - e2); 1e-5 rad from the pole.
    const double d = 1e-5;
    const auto near_pole = run(kx_stereographic_fwd, *s, general, {0.0, kx::kHalfPi - d});
    EXPECT_NEAR(rho(near_pole) / (d * s->v[0] / std::sqrt(1 - s->v[1])), 0.994, 1e-9);
  }
}

TEST(Stereographic, PoleFormsTrueScaleAtTheirParallel) {
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    for (double h : {1.0, -1.0}) {
      Parameters p;
      p.deg(2, 20).deg(3, 71 * h);
      const kx_projection_fn fn = h > 0 ? kx_stereographic_np_fwd : kx_stereographic_sp_fwd;
      const double phi = 71 * h * kDeg, e2 = s->v[1];
      const auto xy = run(fn, *s, p, {55 * kDeg, phi});
      // Parallel scale: rho over the parallel radius a cos phi / w(phi).
      const double radius =
          s->v[0] * std::cos(phi) / std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
      // The conformal-latitude series (1.4e-12 rad) allows 4e-12 at 71 degrees.
      EXPECT_NEAR(rho(xy) / radius, 1.0, e2 > 0 ? 1e-11 : 1e-15);
      // The pole itself is where the inverse of the origin goes.
      const kx_projection_fn inv = h > 0 ? kx_stereographic_np_inv : kx_stereographic_sp_inv;
      const auto pole = run(inv, *s, p, {0.0, 0.0});
      EXPECT_EQ(pole[1], h * kx::kHalfPi);
      EXPECT_DOUBLE_EQ(pole[0], 20 * kDeg);
    }
  }
}

TEST(DoubleStereographic, SphereIsTheStereographicAndCentreInverts) {
  Parameters p;
  p.deg(2, -3).deg(6, 48).set(5, 0.9998);
  const std::vector<double> pts = {-10 * kDeg, 40 * kDeg, 5 * kDeg, 55 * kDeg};
  const auto a = run(kx_double_stereographic_fwd, kSphere, p, pts);
  const auto b = run(kx_stereographic_fwd, kSphere, p, pts);
  EXPECT_TRUE(kxtest::same_bits(a, b));
  const auto c = run(kx_double_stereographic_inv, kSphere, p, a);
  const auto d = run(kx_stereographic_inv, kSphere, p, b);
  EXPECT_TRUE(kxtest::same_bits(c, d));
  const kxtest::Loaded k1(kx_double_stereographic_const, kSphere.get(), p.get());
  const kxtest::Loaded k2(kx_stereographic_const, kSphere.get(), p.get());
  ASSERT_EQ(k1.result(), 3);
  ASSERT_EQ(k2.result(), 3);
  EXPECT_TRUE(kxtest::same_bits({k1.dvals(), k1.dvals() + 3}, {k2.dvals(), k2.dvals() + 3}));

  // Ellipsoid: the origin goes to (0, 0) and back, also at a polar origin.
  for (double lat0 : {52.15616055555556, -40.0, 90.0, -90.0}) {
    Parameters q;
    q.deg(2, 5.387638888888889).deg(6, lat0).set(5, 0.9999079);
    int count = 0;
    const auto o = run(kx_double_stereographic_fwd, kWgs84, q, {q.v[2], q.v[6]}, &count);
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(o[0], 0.0, 1e-9);
    EXPECT_NEAR(o[1], 0.0, 1e-9);
    const auto back = run(kx_double_stereographic_inv, kWgs84, q, {0.0, 0.0}, &count);
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(back[0], q.v[2], 1e-15);
    EXPECT_NEAR(back[1], q.v[6], 1e-15);
  }
}

TEST(Orthographic, HorizonRules) {
  Parameters p;
  p.deg(10, 0).deg(11, 0);
  const double a = kSphere.v[0], tiny = 1e-6;
  int count = 0;
  // Longitude 90 + tiny from an equatorial centre: far side, not counted.
  auto xy = run(kx_orthographic_fwd, kSphere, p,
                {kx::kHalfPi + tiny, 0.0, kx::kHalfPi - tiny, 0.0, 0.3, 0.2}, &count);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(std::isnan(xy[0]) && std::isnan(xy[1]));
  EXPECT_LT(xy[2], a);
  EXPECT_GT(xy[2], a * (1 - 1e-12));
  // Inverse: beyond the disc NaN, on its rim the horizon.
  xy = run(kx_orthographic_inv, kSphere, p, {a * 1.000001, 0.0, 0.0, a, 0.0, 0.0}, &count);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(std::isnan(xy[0]) && std::isnan(xy[1]));
  EXPECT_NEAR(xy[3], kx::kHalfPi, 1e-15);
  EXPECT_EQ(xy[4], 0.0);
  EXPECT_EQ(xy[5], 0.0);
  // A polar centre: the rays are the meridians.
  Parameters north;
  north.deg(10, 30).deg(11, 90);
  xy = run(kx_orthographic_inv, kSphere, north, {1000.0, 0.0, 0.0, -1000.0}, &count);
  EXPECT_EQ(count, 2);
  EXPECT_NEAR(xy[0], 120 * kDeg, 1e-15);
  EXPECT_NEAR(xy[2], 30 * kDeg, 1e-15);
}

TEST(Gnomonic, HorizonRules) {
  Parameters p;
  p.deg(10, 140).deg(11, -55);
  int count = 0;
  // The antipodal hemisphere and the horizon itself have no image.
  auto xy = run(kx_gnomonic_fwd, kSphere, p,
                {140 * kDeg, 35 * kDeg, -40 * kDeg, 55 * kDeg, 150 * kDeg, -50 * kDeg}, &count);
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(std::isnan(xy[0]) && std::isnan(xy[1]) && std::isnan(xy[2]) && std::isnan(xy[3]));
  EXPECT_TRUE(std::isfinite(xy[4]) && std::isfinite(xy[5]));
  // Far out in the plane the inverse nears the horizon but stays on the sphere.
  xy = run(kx_gnomonic_inv, kSphere, p, {1e12, 0.0, 0.0, 0.0}, &count);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(std::isfinite(xy[1]));
  EXPECT_EQ(xy[2], 140 * kDeg);
  EXPECT_EQ(xy[3], -55 * kDeg);
}

}  // namespace
