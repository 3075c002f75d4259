// Conics: the origin, the cylindrical and polar limits, the rejected
// parallels, one-parallel forms (the shared contract: registry_contract_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "math/math_common.h"
#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::Parameters;
using kxtest::run;
using kxtest::Spheroid;

const Spheroid kGrs80(6378137.0, 1 / 298.257222101);
const Spheroid kSphere(6371000.0, 0.0);

Parameters cone(double lam0, double phi1, double phi2, double phi0, double k0 = 1.0) {
  Parameters p;
  p.deg(2, lam0).deg(3, phi1).deg(4, phi2).deg(6, phi0).set(5, k0);
  return p;
}

// Every cone, north and south, ellipsoid and sphere, one or two parallels.
TEST(Conics, OriginMapsToZero) {
  const Parameters sets[] = {cone(-96, 29.5, 45.5, 23), cone(145, -36, -38, -37, 0.9996),
                             cone(10, 40, 40, 30), cone(-60, -10, -40, -32, 0.9999),
                             cone(0, 60, 60, 60, 0.98)};
  for (const char *name : {"lcc", "albers", "equidistant_conic"}) {
    ASSERT_EQ(kxtest::projections().count(name), 1u) << name;
    const kxtest::Projection &f = kxtest::projections().at(name);
    for (const Spheroid *s : {&kGrs80, &kSphere}) {
      for (const Parameters &p : sets) {
        SCOPED_TRACE(name);
        int count = 0;
        const auto xy = run(f.fwd, *s, p, {p.v[2], p.v[6]}, &count);
        EXPECT_EQ(count, 1);
        EXPECT_NEAR(xy[0], 0.0, 1e-9);
        EXPECT_NEAR(xy[1], 0.0, 1e-8);
        const auto geo = run(f.inv, *s, p, {0.0, 0.0}, &count);
        EXPECT_EQ(count, 1);
        EXPECT_NEAR(geo[0], p.v[2], 1e-15);
        // Albers: the authalic-latitude series pair closes to 2.2e-10 rad.
        EXPECT_NEAR(geo[1], p.v[6], f.fwd == kx_equidistant_conic_fwd ? 1e-12 : 3e-10);
      }
    }
  }
}

TEST(EquidistantConic, CylindricalLimit) {
  // Sphere: y = a phi whatever the latitude of origin; x true at phi1.
  const Parameters p = cone(15, 35, -35, 10);
  auto xy = run(kx_equidistant_conic_fwd, kSphere, p, {15 * kDeg, 0.0, 25 * kDeg, 50 * kDeg});
  EXPECT_EQ(xy[0], 0.0);
  EXPECT_EQ(xy[1], 0.0);
  EXPECT_NEAR(xy[2], 6371000.0 * std::cos(35 * kDeg) * 10 * kDeg, 1e-8);
  EXPECT_NEAR(xy[3], 6371000.0 * 50 * kDeg, 1e-8);
  // Ellipsoid: the meridian arc counted from the latitude of origin.
  xy = run(kx_equidistant_conic_fwd, kGrs80, p, {15 * kDeg, 10 * kDeg, 15 * kDeg, -10 * kDeg});
  EXPECT_EQ(xy[1], 0.0);
  EXPECT_NEAR(xy[3], -2 * kx_q(6378137.0, kGrs80.v[1], 10 * kDeg), 1e-8);
  const kxtest::Loaded k(kx_equidistant_conic_const, kGrs80.get(), p.get());
  EXPECT_EQ(k.result(), 2);
  const kxtest::Loaded ks(kx_equidistant_conic_const, kSphere.get(), p.get());
  EXPECT_EQ(ks.result(), 1);
  const kxtest::Loaded kc(kx_equidistant_conic_const, kGrs80.get(), cone(0, 20, 60, 40).get());
  EXPECT_EQ(kc.result(), 3);
}

// One standard parallel: n = sin phi1, for all three cones.
TEST(Conics, OneParallelConeConstant) {
  const Parameters p = cone(10, 40, 40, 30);
  for (const Spheroid *s : {&kGrs80, &kSphere}) {
    const kxtest::Loaded l(kx_lambert_conformal_conic_const, s->get(), p.get());
    ASSERT_GE(l.result(), 9);
    EXPECT_EQ(l.dvals()[5], std::sin(40 * kDeg));
    const kxtest::Loaded al(kx_albers_const, s->get(), p.get());
    ASSERT_GE(al.result(), 3);
    EXPECT_EQ(al.dvals()[2], std::sin(40 * kDeg));
    const kxtest::Loaded e(kx_equidistant_conic_const, s->get(), p.get());
    ASSERT_EQ(e.result(), 3);
    EXPECT_EQ(e.dvals()[0], std::sin(40 * kDeg));
  }
}

// Long arrays through every case (cone, one parallel, south, and the
// Mercator, polar and cylindrical hand-overs): every point is visited, NaN
// input stays a NaN pair and is not counted, the others come back within 1e-9 deg
// (Albers on the ellipsoid 2e-8: its authalic-latitude series pair).
TEST(Conics, EveryPointOfLongArraysInEveryCase) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Parameters sets[] = {cone(-96, 33, 45, 23, 0.9999), cone(10, 40, 40, 30),
                             cone(145, -36, -38, -37),      cone(-20, 30, -30, 10, 0.9996),
                             cone(-30, 90, 90, 60, 0.98),   cone(100, -90, -90, -70)};
  for (const char *name : {"lcc", "albers", "equidistant_conic"}) {
    const kxtest::Projection &f = kxtest::projections().at(name);
    for (const Spheroid *s : {&kGrs80, &kSphere}) {
      for (const Parameters &p : sets) {
        SCOPED_TRACE(name);
        const bool polar = std::fabs(p.v[3]) == 90 * kDeg;
        if (polar && f.fwd != kx_lambert_conformal_conic_fwd) continue;
        std::vector<double> geo;
        for (int i = 0; i < 2000; ++i) {
          geo.push_back(p.v[2] + (i % 61 - 30) * kDeg);
          const double lat = polar ? p.v[3] - std::copysign((i % 29 + 1) * kDeg, p.v[3])
                                   : (i % 41 - 20 + 35 * (p.v[3] > 0 ? 1 : -1)) * kDeg;
          geo.push_back(i % 7 == 3 ? nan : lat);
          if (i % 11 == 5) geo[2 * i] = nan;
        }
        std::vector<double> pts = geo;
        const int n = static_cast<int>(geo.size() / 2);
        int valid = 0;
        for (int i = 0; i < n; ++i) valid += !std::isnan(geo[2 * i]) && !std::isnan(geo[2 * i + 1]);
        ASSERT_EQ(f.fwd(s->get(), p.get(), n, pts.data(), nullptr, nullptr), valid);
        ASSERT_EQ(f.inv(s->get(), p.get(), n, pts.data(), nullptr, nullptr), valid);
        const double tol = (f.fwd == kx_albers_fwd && s == &kGrs80 ? 2e-8 : 1e-9) * kDeg;
        for (int i = 0; i < n; ++i) {
          if (std::isnan(geo[2 * i]) || std::isnan(geo[2 * i + 1])) {
            EXPECT_TRUE(std::isnan(pts[2 * i]) && std::isnan(pts[2 * i + 1])) << i;
            continue;
          }
          EXPECT_NEAR(pts[2 * i + 1], geo[2 * i + 1], tol) << i;
          EXPECT_LE(std::fabs(kx_delta(pts[2 * i] - geo[2 * i])) * std::cos(geo[2 * i + 1]), tol)
              << i;
        }
      }
    }
  }
}

}  // namespace
