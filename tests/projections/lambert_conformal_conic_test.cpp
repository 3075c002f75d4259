// Lambert conformal conic: the one-parallel form and its scale factor, the
// Mercator and polar stereographic hand-overs, the rejected parallels,
// southern cones, the antimeridian, constants layouts and the driver path
// with a false origin in feet.
//
// Measured against PROJ 9.1 (+proj=lcc, oracle_test.cpp): spheres 3.7 nm
// forward and 4e-14 deg inverse; ellipsoids 7.9 um forward and 1.1e-10 deg
// inverse (the library's conformal-latitude series, 1.4e-12 rad), polar
// hand-over 12 um, Mercator hand-over to 70 degrees 20 um. EPSG 9801
// reference points 0.2 um, 9802 18 um (Antarctic charts at 80 S). Round
// trips 1.1e-10 deg.
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

Parameters lcc(double lam0, double phi1, double phi2, double phi0, double k0 = 1.0) {
  Parameters p;
  p.deg(2, lam0).deg(3, phi1).deg(4, phi2).deg(6, phi0).set(5, k0);
  return p;
}

// Scale along the parallel phi from a small step in longitude.
double parallel_scale(const Spheroid &s, const Parameters &p, double phi) {
  const double d = 1e-6, lam0 = p.v[2];
  const auto xy = run(kx_lambert_conformal_conic_fwd, s, p, {lam0 - d, phi, lam0 + d, phi});
  const double m = std::cos(phi) / kx_w(s.v[1], phi);
  return std::hypot(xy[2] - xy[0], xy[3] - xy[1]) / (s.v[0] * m * 2 * d);
}

TEST(LambertConformalConic, OneParallelScaleFactorActsThere) {
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    Parameters p = lcc(3, 46.5, 46.5, 46.5, 0.9996);
    EXPECT_NEAR(parallel_scale(*s, p, 46.5 * kDeg), 0.9996, 1e-9);
    const kxtest::Loaded k(kx_lambert_conformal_conic_const, s->get(), p.get());
    EXPECT_EQ(k.result(), s == &kWgs84 ? 11 : 9);
    EXPECT_EQ(k.dvals()[5], std::sin(46.5 * kDeg));
    // Two parallels: unit scale on both.
    p = lcc(-96, 33, 45, 23);
    EXPECT_NEAR(parallel_scale(*s, p, 33 * kDeg), 1.0, 1e-9);
    EXPECT_NEAR(parallel_scale(*s, p, 45 * kDeg), 1.0, 1e-9);
  }
}

TEST(LambertConformalConic, SymmetricParallelsAreTheMercator) {
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    const Parameters p = lcc(-20, 30, -30, 10, 0.9996);
    Parameters m;
    m.deg(2, -20).deg(3, 30);
    const std::vector<double> geo = {-20 * kDeg, 10 * kDeg,  40 * kDeg,
                                     60 * kDeg,  -90 * kDeg, -45 * kDeg};
    int count = 0;
    const auto got = run(kx_lambert_conformal_conic_fwd, *s, p, geo, &count);
    EXPECT_EQ(count, 3);
    const auto merc = run(kx_mercator_fwd, *s, m, geo);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(got[2 * i], merc[2 * i] * 0.9996);
      EXPECT_EQ(got[2 * i + 1], (merc[2 * i + 1] - merc[1]) * 0.9996);
    }
    EXPECT_EQ(got[0], 0.0);
    EXPECT_EQ(got[1], 0.0);
    const auto back = run(kx_lambert_conformal_conic_inv, *s, p, got, &count);
    EXPECT_EQ(count, 3);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(back[i], geo[i], 2e-12);
    const kxtest::Loaded k(kx_lambert_conformal_conic_const, s->get(), p.get());
    ASSERT_EQ(k.result(), 2);  // the Mercator's {K, aK}
    const kxtest::Loaded km(kx_mercator_const, s->get(), p.get());
    EXPECT_EQ(k.dvals()[1], km.dvals()[1]);
  }
}

TEST(LambertConformalConic, BothParallelsAtThePoleAreThePolarStereographic) {
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    Parameters stere;
    stere.deg(2, -30).deg(6, 90).set(5, 0.98);
    const std::vector<double> geo = {-30 * kDeg, 60 * kDeg,  100 * kDeg,
                                     75 * kDeg,  -30 * kDeg, 90 * kDeg};
    const auto polar = run(kx_stereographic_fwd, *s, stere, geo);
    // Origin at the pole: the stereographic itself.
    auto got = run(kx_lambert_conformal_conic_fwd, *s, lcc(-30, 90, 90, 90, 0.98), geo);
    EXPECT_EQ(got, polar);
    // Origin at 60 degrees: y = 0 moves to the 60th parallel on the central meridian.
    const Parameters p = lcc(-30, 90, 90, 60, 0.98);
    int count = 0;
    got = run(kx_lambert_conformal_conic_fwd, *s, p, geo, &count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(got[0], 0.0);
    EXPECT_EQ(got[1], 0.0);
    EXPECT_EQ(got[3], polar[3] - polar[1]);
    EXPECT_EQ(got[5], -polar[1]);
    const auto back = run(kx_lambert_conformal_conic_inv, *s, p, got, &count);
    EXPECT_EQ(count, 3);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(back[i], geo[i], 1e-11);
    EXPECT_NEAR(back[5], geo[5], 1e-11);
    // The south pole likewise; constants are the stereographic's.
    const kxtest::Loaded k(kx_lambert_conformal_conic_const, s->get(),
                           lcc(10, -90, -90, -70).get());
    EXPECT_EQ(k.result(), s == &kWgs84 ? 7 : 3);
    EXPECT_EQ(k.dvals()[0], 2 * s->v[0]);  // D = 2 a k0
  }
}

TEST(LambertConformalConic, ParallelAtOnePoleIsRejected) {
  const Parameters sets[] = {lcc(0, 45, 90, 40), lcc(0, 90, 45, 40), lcc(0, -90, 20, 0),
                             lcc(0, 90, -90, 0)};
  for (const Parameters &p : sets) {
    for (const Spheroid *s : {&kWgs84, &kSphere}) {
      for (kx_projection_fn fn : {kx_lambert_conformal_conic_fwd, kx_lambert_conformal_conic_inv}) {
        int count = -1;
        const std::vector<double> in = {0.1, 0.7, 1000.0, 2000.0};
        EXPECT_EQ(run(fn, *s, p, in, &count), in);  // untouched
        EXPECT_EQ(count, 0);
      }
      kx_pcsconstants pc = kx_pcsconstants_new();
      EXPECT_EQ(kx_lambert_conformal_conic_const(pc, s->get(), p.get()), 0);
      EXPECT_EQ(kx_pcsconstants_dvals(pc), nullptr);
      EXPECT_EQ(kx_pcsconstants_ivals(pc), nullptr);
      kx_pcsconstants_del(pc);
    }
  }
}

TEST(LambertConformalConic, SouthernConesAndTheAntimeridian) {
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    for (const Parameters &p :
         {lcc(145, -36, -38, -37), lcc(0, -20, -50, -35, 0.999), lcc(0, 20, 50, 35)}) {
      const kxtest::Loaded k(kx_lambert_conformal_conic_const, s->get(), p.get());
      std::vector<double> geo;
      for (double lon : {-180.0, -179.0, -90.0, 0.0, 45.0, 179.5, 180.0})
        for (double lat : {-89.0, -60.0, -30.0, 0.0, 30.0, 60.0, 89.0}) {
          geo.push_back(lon * kDeg);
          geo.push_back(lat * kDeg);
        }
      const int n = static_cast<int>(geo.size() / 2);
      std::vector<double> a = geo, b = geo;
      ASSERT_EQ(kx_lambert_conformal_conic_fwd(s->get(), p.get(), n, a.data(), nullptr, nullptr),
                n);
      ASSERT_EQ(
          kx_lambert_conformal_conic_fwd(s->get(), p.get(), n, b.data(), k.ivals(), k.dvals()), n);
      EXPECT_TRUE(kxtest::same_bits(a, b));
      ASSERT_EQ(kx_lambert_conformal_conic_inv(s->get(), p.get(), n, a.data(), nullptr, nullptr),
                n);
      ASSERT_EQ(
          kx_lambert_conformal_conic_inv(s->get(), p.get(), n, b.data(), k.ivals(), k.dvals()), n);
      EXPECT_TRUE(kxtest::same_bits(a, b));
      for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(a[2 * i + 1], geo[2 * i + 1], 1e-9 * kDeg);
        const double dlon = std::fabs(kx_delta(a[2 * i] - geo[2 * i]));
        EXPECT_LE(dlon * std::cos(geo[2 * i + 1]), 1e-9 * kDeg) << i;
        // With lambda0 = 0 the antimeridian keeps its side, except next to
        // the apex, where rho0 - y loses the digits that tell the sides apart
        // (1.8e-15 rad beyond pi at 1 degree from the apex).
        if (p.v[2] == 0.0 && std::fabs(geo[2 * i]) == kx::kPi &&
            std::fabs(geo[2 * i + 1]) <= 60.0 * kDeg) {
          EXPECT_EQ(std::signbit(a[2 * i]), std::signbit(geo[2 * i]));
          EXPECT_NEAR(a[2 * i], geo[2 * i], 1e-15);
        }
      }
    }
  }
}

// theta / n rounds past pi for about one antimeridian point in eight; with
// lambda0 = 0 the inverse keeps such points on their own side (lambda0 =
// 1e-300 shows what the snap prevents).
TEST(LambertConformalConic, AntimeridianSnapWithZeroCentralMeridian) {
  int kept = 0, flipped_without = 0;
  for (double phi1 = 10; phi1 < 80; phi1 += 0.7) {
    Parameters p = lcc(0, phi1, phi1 + 7, phi1 + 3), q = p;
    q.set(2, 1e-300);
    for (double lat = -60; lat < 60; lat += 0.37) {
      for (double lon : {-kx::kPi, kx::kPi}) {
        const auto xy = run(kx_lambert_conformal_conic_fwd, kWgs84, p, {lon, lat * kDeg});
        const auto a = run(kx_lambert_conformal_conic_inv, kWgs84, p, xy);
        const auto b = run(kx_lambert_conformal_conic_inv, kWgs84, q, xy);
        EXPECT_EQ(std::signbit(a[0]), std::signbit(lon)) << phi1 << " " << lat;
        kept += std::signbit(a[0]) == std::signbit(lon);
        flipped_without += std::signbit(b[0]) != std::signbit(lon);
      }
    }
  }
  EXPECT_GT(kept, 0);
  EXPECT_GT(flipped_without, 1000);  // of 65000; about one in eight
}

TEST(LambertConformalConic, PoleRule) {
  const Parameters p = lcc(0, 33, 45, 23);
  for (const Spheroid *s : {&kWgs84, &kSphere}) {
    const auto xy = run(kx_lambert_conformal_conic_fwd, *s, p,
                        {0.3, kx::kHalfPi, 0.3, 2.0, 0.3, 1.570796326794891, 0.3, -kx::kHalfPi});
    EXPECT_EQ(xy[0], xy[2]);
    EXPECT_EQ(xy[1], xy[3]);
    EXPECT_EQ(xy[1], xy[5]);
    EXPECT_EQ(xy[0], 0.0);  // the pole the cone closes on is the apex itself
    EXPECT_TRUE(std::isfinite(xy[6]) && std::isfinite(xy[7]));  // the far pole is finite
  }
}

// Through the registry and the driver: EPSG 2994 (NAD83(HARN) / Oregon GIC
// Lambert (ft)) and its reference point in international feet.
TEST(LambertConformalConic, DriverInFeetWithFalseOrigin) {
  const std::string text =
      "PROJCS[\"Oregon_GIC_Lambert_Ft\",GEOGCS[\"GCS_NAD_1983_HARN\",DATUM[\"D_NAD_1983_HARN\","
      "SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],PRIMEM[\"Greenwich\",0.0],"
      "UNIT[\"Degree\",0.0174532925199433]],PROJECTION[\"Lambert_Conformal_Conic\"],"
      "PARAMETER[\"False_Easting\",1312335.958],PARAMETER[\"False_Northing\",0.0],"
      "PARAMETER[\"Central_Meridian\",-120.5],PARAMETER[\"Standard_Parallel_1\",43.0],"
      "PARAMETER[\"Standard_Parallel_2\",45.5],PARAMETER[\"Latitude_Of_Origin\",41.75],"
      "UNIT[\"Foot\",0.3048]]";
  kx_projcs pcs = kx_projcs_from_string(text.c_str());
  ASSERT_NE(pcs, nullptr);
  double pts[] = {-120.535, 44.12, -120.5, 41.75};
  EXPECT_EQ(kx_geog_to_proj(pcs, 2, pts), 2);
  EXPECT_NEAR(pts[0], 1303146.667392508, 1e-4);
  EXPECT_NEAR(pts[1], 863885.6088985372, 1e-4);
  EXPECT_NEAR(pts[2], 1312335.958, 1e-6);  // the origin on the false easting
  EXPECT_NEAR(pts[3], 0.0, 1e-6);
  EXPECT_EQ(kx_projcs_load_constants(pcs), 11);
  double loaded[] = {-120.535, 44.12, -120.5, 41.75};
  EXPECT_EQ(kx_geog_to_proj(pcs, 2, loaded), 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(loaded[i], pts[i]);
  EXPECT_EQ(kx_proj_to_geog(pcs, 2, loaded), 2);
  EXPECT_NEAR(loaded[0], -120.535, 1e-9);
  EXPECT_NEAR(loaded[1], 44.12, 1e-9);
  EXPECT_NEAR(loaded[2], -120.5, 1e-9);
  EXPECT_NEAR(loaded[3], 41.75, 1e-9);
  kx_projcs_del(pcs);
}

}  // namespace
