// Albers equal-area conic: equal area, the one-parallel form, the
// cylindrical hand-over, southern cones and the antimeridian, the clamped
// inverse, constants layouts and the driver path under all three registry
// names with a false origin in metres and in feet.
//
// Measured against PROJ 9.1 (+proj=aea, oracle_test.cpp): spheres 3.3 nm
// forward and 3.3e-14 deg inverse; ellipsoids 0.65 mm forward and 1.4e-8 deg
// inverse, round trips 1.25e-8 deg: the error of the library's authalic-
// latitude series pair (2.2e-10 rad; PROJ is exact). Cylindrical hand-over
// 0.9 nm. EPSG 9822 reference points 0.5 mm.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
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

Parameters aea(double lam0, double phi1, double phi2, double phi0) {
  Parameters p;
  p.deg(2, lam0).deg(3, phi1).deg(4, phi2).deg(6, phi0);
  return p;
}

// Ratio of the projected to the ellipsoidal area of a small cell.
double area_scale(const Spheroid &s, const Parameters &p, double lam, double phi) {
  const double d = 1e-5;
  const auto xy = run(kx_albers_fwd, s, p, {lam, phi, lam + d, phi, lam, phi + d});
  const double ax = xy[2] - xy[0], ay = xy[3] - xy[1], bx = xy[4] - xy[0], by = xy[5] - xy[1];
  const double e2 = s.v[1], w = kx_w(e2, phi + d / 2);
  const double M = s.v[0] * (1 - e2) / (w * w * w), N = s.v[0] / w;
  return std::fabs(ax * by - ay * bx) / (M * N * std::cos(phi + d / 2) * d * d);
}

TEST(Albers, EqualArea) {
  for (const Spheroid *s : {&kGrs80, &kSphere}) {
    for (const Parameters &p :
         {aea(-96, 29.5, 45.5, 23), aea(132, -18, -36, 0), aea(10, 40, 40, 30)}) {
      for (double lat : {-70.0, -30.0, 0.0, 35.0, 80.0})
        EXPECT_NEAR(area_scale(*s, p, p.v[2] + 0.4, lat * kDeg), 1.0, 1e-5) << lat;
    }
  }
}

TEST(Albers, OneParallelAndConstantsLayout) {
  const Parameters p = aea(10, 40, 40, 30);
  const kxtest::Loaded e(kx_albers_const, kGrs80.get(), p.get());
  ASSERT_EQ(e.result(), 4);
  // One parallel: the cone constant is sin phi1 on the ellipsoid too.
  EXPECT_EQ(e.dvals()[2], std::sin(40 * kDeg));  // n
  const kxtest::Loaded s(kx_albers_const, kSphere.get(), p.get());
  ASSERT_EQ(s.result(), 3);
  EXPECT_EQ(s.dvals()[2], std::sin(40 * kDeg));
}

TEST(Albers, SymmetricParallelsAreTheCylindricalEqualArea) {
  for (const Spheroid *s : {&kGrs80, &kSphere}) {
    const Parameters p = aea(-50, 20, -20, 10);
    Parameters cea;
    cea.deg(2, -50).deg(3, 20).deg(4, -20).deg(6, 10);
    const std::vector<double> geo = {-50 * kDeg, 10 * kDeg,   10 * kDeg,
                                     60 * kDeg,  -170 * kDeg, -80 * kDeg};
    int count = 0;
    const auto got = run(kx_albers_fwd, *s, p, geo, &count);
    EXPECT_EQ(count, 3);
    const auto c = run(kx_cylindrical_eqarea_fwd, *s, cea, geo);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(got[2 * i], c[2 * i]);
      EXPECT_EQ(got[2 * i + 1], c[2 * i + 1] - c[1]);
    }
    EXPECT_EQ(got[1], 0.0);
    const auto back = run(kx_albers_inv, *s, p, got, &count);
    EXPECT_EQ(count, 3);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(back[i], geo[i], 1e-12);
    // Latitude of origin 0: no shift at all.
    EXPECT_EQ(run(kx_albers_fwd, *s, aea(-50, 20, -20, 0), geo),
              run(kx_cylindrical_eqarea_fwd, *s, cea.deg(6, 0), geo));
    const kxtest::Loaded k(kx_albers_const, s->get(), p.get());
    const kxtest::Loaded kc(kx_cylindrical_eqarea_const, s->get(), p.get());
    ASSERT_EQ(k.result(), kc.result());
    EXPECT_EQ(k.result(), s == &kGrs80 ? 8 : 2);
  }
  // Parallels on opposite poles leave no cylinder: rejected as the
  // cylindrical equal-area rejects them.
  int count = -1;
  const auto xy = run(kx_albers_fwd, kGrs80, aea(0, 90, -90, 0), {0.1, 0.2}, &count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(std::isnan(xy[0]) && std::isnan(xy[1]));
  kx_pcsconstants pc = kx_pcsconstants_new();
  EXPECT_EQ(kx_albers_const(pc, kGrs80.get(), aea(0, 90, -90, 0).get()), 0);
  EXPECT_EQ(kx_pcsconstants_dvals(pc), nullptr);
  kx_pcsconstants_del(pc);
}

TEST(Albers, SouthernConesAndTheAntimeridianRoundTrip) {
  for (const Spheroid *s : {&kGrs80, &kSphere}) {
    for (const Parameters &p : {aea(132, -18, -36, 0), aea(0, -10, -45, -30), aea(0, 90, 90, 60),
                                aea(-96, 29.5, 45.5, 23)}) {
      const kxtest::Loaded k(kx_albers_const, s->get(), p.get());
      std::vector<double> geo;
      for (double lon : {-180.0, -179.0, -90.0, 0.0, 45.0, 179.5, 180.0})
        for (double lat : {-89.0, -60.0, -30.0, 0.0, 30.0, 60.0, 89.0}) {
          geo.push_back(lon * kDeg);
          geo.push_back(lat * kDeg);
        }
      const int n = static_cast<int>(geo.size() / 2);
      std::vector<double> a = geo, b = geo;
      ASSERT_EQ(kx_albers_fwd(s->get(), p.get(), n, a.data(), nullptr, nullptr), n);
      ASSERT_EQ(kx_albers_fwd(s->get(), p.get(), n, b.data(), k.ivals(), k.dvals()), n);
      EXPECT_TRUE(kxtest::same_bits(a, b));
      ASSERT_EQ(kx_albers_inv(s->get(), p.get(), n, a.data(), nullptr, nullptr), n);
      ASSERT_EQ(kx_albers_inv(s->get(), p.get(), n, b.data(), k.ivals(), k.dvals()), n);
      EXPECT_TRUE(kxtest::same_bits(a, b));
      // The authalic-latitude series pair closes to 2.2e-10 rad on the ellipsoid.
      const double tol = (s == &kGrs80 ? 2e-8 : 1e-9) * kDeg;
      for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(a[2 * i + 1], geo[2 * i + 1], tol);
        EXPECT_LE(std::fabs(kx_delta(a[2 * i] - geo[2 * i])) * std::cos(geo[2 * i + 1]), tol);
      }
    }
  }
}

TEST(Albers, InverseBeyondThePoleIsClamped) {
  for (const Spheroid *s : {&kGrs80, &kSphere}) {
    const Parameters p = aea(-96, 29.5, 45.5, 23), ps = aea(20, -29.5, -45.5, -23);
    const kxtest::Loaded k(kx_albers_const, s->get(), p.get());
    const double rho0 = k.dvals()[0];
    int count = 0;
    // The apex lies beyond the pole's arc: the pole.
    auto geo = run(kx_albers_inv, *s, p, {0.0, rho0}, &count);
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(geo[1], kx::kHalfPi, 1e-12);
    geo = run(kx_albers_inv, *s, ps, {0.0, -rho0}, &count);
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(geo[1], -kx::kHalfPi, 1e-12);
    // Far outside the map: the opposite pole, finite.
    geo = run(kx_albers_inv, *s, p, {0.0, -1e8}, &count);
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(geo[1], -kx::kHalfPi, 1e-12);
  }
}

std::string bc_albers(const char *name, const char *unit, double per_metre) {
  char fe[64];
  std::snprintf(fe, sizeof fe, "%.10f", 1000000.0 * per_metre);
  return std::string(
             "PROJCS[\"BC_Albers\",GEOGCS[\"GCS_NAD_1983\",DATUM[\"D_North_American_1983\","
             "SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],PRIMEM[\"Greenwich\",0.0],"
             "UNIT[\"Degree\",0.0174532925199433]],PROJECTION[\"") +
         name + "\"],PARAMETER[\"False_Easting\"," + fe +
         "],PARAMETER[\"False_Northing\",0.0],PARAMETER[\"Central_Meridian\",-126.0],"
         "PARAMETER[\"Standard_Parallel_1\",50.0],PARAMETER[\"Standard_Parallel_2\",58.5],"
         "PARAMETER[\"Latitude_Of_Origin\",45.0],UNIT[\"" +
         unit + "\"," + (per_metre == 1.0 ? "1.0" : "0.3048") + "]]";
}

// EPSG 3005 (NAD83 / BC Albers) and its reference point, under each name.
TEST(Albers, DriverUnderEveryNameInMetresAndFeet) {
  for (const char *name : {"Albers", "Albers_Equal_Area_Conic", "Albers_Conical_Equal_Area"}) {
    SCOPED_TRACE(name);
    kx_projcs m = kx_projcs_from_string(bc_albers(name, "Meter", 1.0).c_str());
    kx_projcs f = kx_projcs_from_string(bc_albers(name, "Foot", 1 / 0.3048).c_str());
    ASSERT_NE(m, nullptr);
    ASSERT_NE(f, nullptr);
    double pm[] = {-126.56, 54.129999999999995, -126.0, 45.0};
    double pf[] = {-126.56, 54.129999999999995, -126.0, 45.0};
    EXPECT_EQ(kx_geog_to_proj(m, 2, pm), 2);
    EXPECT_EQ(kx_geog_to_proj(f, 2, pf), 2);
    EXPECT_NEAR(pm[0], 963492.2540470979, 1e-3);  // 0.5 mm: the authalic series
    EXPECT_NEAR(pm[1], 1014264.261020737, 1e-3);
    EXPECT_NEAR(pm[2], 1000000.0, 1e-8);  // the origin on the false origin
    EXPECT_NEAR(pm[3], 0.0, 1e-8);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(pf[i] * 0.3048, pm[i], 1e-8);
    EXPECT_EQ(kx_projcs_load_constants(f), 4);
    double loaded[] = {-126.56, 54.129999999999995, -126.0, 45.0};
    EXPECT_EQ(kx_geog_to_proj(f, 2, loaded), 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(loaded[i], pf[i]);
    EXPECT_EQ(kx_proj_to_geog(f, 2, loaded), 2);
    EXPECT_NEAR(loaded[0], -126.56, 2e-8);
    EXPECT_NEAR(loaded[1], 54.13, 2e-8);
    EXPECT_NEAR(loaded[2], -126.0, 1e-12);
    EXPECT_NEAR(loaded[3], 45.0, 2e-8);
    kx_projcs_del(m);
    kx_projcs_del(f);
  }
}

}  // namespace
