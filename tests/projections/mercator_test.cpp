// Mercator: the pole rule, the latitude of true scale, the ignored scale
// factor, the branch choice and the driver path with
// a false origin in feet. The comparison with PROJ (oracle_test.cpp) measured
// 7.5 nm on spheres and, on ellipsoids to 85 degrees, 44 um forward and
// 1.1e-10 deg inverse (the conformal-latitude series, growing as 1/cos phi).
#include <gtest/gtest.h>

#include <cmath>
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

const Spheroid kWgs84(6378137.0, 1 / 298.257223563);
const Spheroid kSphere(6371000.0, 0.0);

Parameters merc(double lam0, double phi1) {
  Parameters p;
  p.deg(2, lam0).deg(3, phi1);
  return p;
}

TEST(Mercator, EquatorIsTrueToScaleWithoutStandardParallel) {
  const auto xy = run(kx_mercator_fwd, kWgs84, merc(10, 0), {20 * kDeg, 0.0, 10 * kDeg, 0.0});
  EXPECT_NEAR(xy[0], 6378137.0 * 10 * kDeg, 1e-9);
  // ln tan(pi/4): tan rounds to 1 - 2^-53, so the equator lies 0.7 nm south.
  EXPECT_NEAR(xy[1], 0.0, 1e-9);
  EXPECT_EQ(xy[2], 0.0);
  EXPECT_NEAR(xy[3], 0.0, 1e-9);
}

TEST(Mercator, LatitudeOfTrueScaleShrinksTheEquator) {
  const double e2 = kWgs84.v[1], phi1 = 40 * kDeg;
  const double K = std::cos(phi1) / kx_w(e2, phi1);
  const auto xy = run(kx_mercator_fwd, kWgs84, merc(0, 40), {1.0, 0.5});
  const auto xy1 = run(kx_mercator_fwd, kWgs84, merc(0, 0), {1.0, 0.5});
  EXPECT_NEAR(xy[0], K * xy1[0], 1e-8);
  EXPECT_NEAR(xy[1], K * xy1[1], 1e-8);
  // The same parallel in the south gives the same cylinder.
  EXPECT_EQ(run(kx_mercator_fwd, kWgs84, merc(0, -40), {1.0, 0.5}), xy);
  // Sphere: K = cos phi1.
  const auto s = run(kx_mercator_fwd, kSphere, merc(0, 60), {1.0, 0.0});
  EXPECT_NEAR(s[0], 6371000.0 * 0.5, 1e-8);
}

TEST(Mercator, ScaleFactorIsIgnored) {
  Parameters p = merc(-30, 20);
  const auto a = run(kx_mercator_fwd, kWgs84, p, {0.1, 0.7});
  p.set(5, 0.5);
  EXPECT_EQ(run(kx_mercator_fwd, kWgs84, p, {0.1, 0.7}), a);
  EXPECT_EQ(run(kx_mercator_inv, kWgs84, p, a), run(kx_mercator_inv, kWgs84, merc(-30, 20), a));
}

TEST(Mercator, PoleGivesALargeFiniteNorthing) {
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    int count = 0;
    const double pole = kx::kHalfPi;
    const auto xy =
        run(kx_mercator_fwd, *s, merc(0, 0),
            {0.0, pole, 0.0, -pole, 0.0, 1.6, 0.0, -2.0, 0.0, 1.570796326794891}, &count);
    EXPECT_EQ(count, 5);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(std::isfinite(xy[2 * i + 1]));
    EXPECT_GT(xy[1], 1e8);
    // tan(pi/4 + chi/2) next to 0 at the south pole keeps only a few digits:
    // the two poles agree to 0.06 percent.
    EXPECT_LT(xy[3], -1e8);
    EXPECT_EQ(xy[5], xy[1]);  // beyond the pole is the pole
    EXPECT_EQ(xy[7], xy[3]);
    EXPECT_EQ(xy[9], xy[1]);  // the value the pole is moved to
    // Just inside the tolerance is the pole too; the inverse comes back to
    // within 25 ulp of it.
    const auto near = run(kx_mercator_fwd, *s, merc(0, 0), {0.0, pole - 2e-16});
    EXPECT_EQ(near[1], xy[1]);
    const auto back = run(kx_mercator_inv, *s, merc(0, 0), {0.0, xy[1]});
    EXPECT_NEAR(back[1], pole, 1e-13);
  }
}

TEST(Mercator, SphericalBelowTheTolerance) {
  // e2 = 1e-16 is below 2^-48: spherical formulas.
  const Parameters p = merc(5, 33);
  const double tiny[2] = {6371000.0, 1e-16};
  std::vector<double> a = {0.3, 0.9}, b = a;
  kx_mercator_fwd(tiny, p.get(), 1, a.data(), nullptr, nullptr);
  kx_mercator_fwd(kSphere.get(), p.get(), 1, b.data(), nullptr, nullptr);
  EXPECT_EQ(a, b);
}

// Through the registry and the driver: degrees in, US survey feet out, with a
// false origin; loaded constants change nothing.
TEST(Mercator, DriverWithFalseOriginInFeet) {
  const std::string text =
      "PROJCS[\"Test_Mercator\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\","
      "SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],PRIMEM[\"Greenwich\",0.0],"
      "UNIT[\"Degree\",0.0174532925199433]],PROJECTION[\"Mercator\"],"
      "PARAMETER[\"False_Easting\",1000.0],PARAMETER[\"False_Northing\",-2000.0],"
      "PARAMETER[\"Central_Meridian\",100.0],PARAMETER[\"Standard_Parallel_1\",30.0],"
      "UNIT[\"Foot_US\",0.3048006096012192]]";
  kx_projcs pcs = kx_projcs_from_string(text.c_str());
  ASSERT_NE(pcs, nullptr);
  const double ft = 0.3048006096012192, deg = 0.0174532925199433;
  double pts[] = {100.0, 0.0, 110.0, 45.0, 95.0, 100.0};
  EXPECT_EQ(kx_geog_to_proj(pcs, 3, pts), 3);
  EXPECT_NEAR(pts[0], 1000.0, 1e-9);
  EXPECT_NEAR(pts[1], -2000.0, 1e-8);  // the equator 0.7 nm south, see above
  const double sph[2] = {6378137.0, (2 - 1 / 298.257223563) / 298.257223563};
  Parameters p;
  p.set(2, 100 * deg).set(3, 30 * deg);
  double q[] = {110 * deg, 45 * deg, 95 * deg, kx::kHalfPi};
  kx_mercator_fwd(sph, p.get(), 2, q, nullptr, nullptr);
  EXPECT_NEAR(pts[2], (q[0] + 1000 * ft) / ft, 1e-7);
  EXPECT_NEAR(pts[3], (q[1] - 2000 * ft) / ft, 1e-7);
  EXPECT_NEAR(pts[5], (q[3] - 2000 * ft) / ft, 1e-6);  // 100 degrees is the pole
  EXPECT_EQ(kx_projcs_load_constants(pcs), 2);
  double loaded[] = {100.0, 0.0, 110.0, 45.0, 95.0, 100.0};
  EXPECT_EQ(kx_geog_to_proj(pcs, 3, loaded), 3);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(loaded[i], pts[i]);
  EXPECT_EQ(kx_proj_to_geog(pcs, 3, loaded), 3);
  EXPECT_NEAR(loaded[2], 110.0, 1e-9);
  EXPECT_NEAR(loaded[3], 45.0, 1e-9);
  kx_projcs_del(pcs);
}

}  // namespace
