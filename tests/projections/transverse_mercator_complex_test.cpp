// The complex-analytic transverse Mercator against GeographicLib's exact
// transverse Mercator (TransverseMercatorProj; tests/data/projections/
// tm_complex_*.csv made by tests/scripts/gen_tm_complex.py), with loaded
// constants and without, through the bare functions and the driver.
//
// Measured agreement (largest over each case; forward in metres, inverse as
// the angle on the ground in degrees), points up to 80 degrees from the
// central meridian, pole to pole, and over the pole up to 175 degrees:
//   ellipsoids (WGS 84, GRS 80, Clarke 1866, Airy; origins on the equator,
//   at -35, 24.3, 49 and 89.5 degrees)     forward 8.6 um   inverse 1.1e-10
//     the error of the library's conformal-latitude series (1.4e-12 rad);
//     with the exact conformal latitude     forward 15 nm
//   spheres                                 forward 13 nm    inverse 3.8e-12
//     within 1 m of a pole (asin next to 1)  forward 36 nm    inverse 4.3e-8
// Round trips: 1.2e-10 degrees on the whole globe except the neighbourhood
// of the equatorial singular points (not converted), spheres 3.8e-12
// (4.3e-8 within 1 m of a pole).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "kx_def.h"
#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::num;

constexpr double kPi = 3.141592653589793;

struct Case {
  std::string name;
  double a = 0, rf = 0, lon0 = 0, lat0 = 0, k0 = 1;
  kxtest::Spheroid sph{1.0, 0.0};
  kxtest::Parameters par;
  bool sphere = false;
  std::vector<double> geo, xy;  // radians; metres
};

std::vector<Case> read_cases() {
  std::vector<Case> cases;
  std::map<std::string, size_t> index;
  for (const auto &r : kxtest::read_csv("tm_complex_cases.csv")) {
    Case c;
    c.name = r[0];
    c.a = num(r[1]);
    c.rf = num(r[2]);
    c.lon0 = num(r[3]);
    c.lat0 = num(r[4]);
    c.k0 = num(r[5]);
    c.sph = kxtest::Spheroid::from_rf(c.a, c.rf);
    c.sphere = c.rf == 0.0;
    c.par.deg(2, c.lon0).deg(6, c.lat0).set(5, c.k0);
    index[c.name] = cases.size();
    cases.push_back(c);
  }
  for (const auto &r : kxtest::read_csv("tm_complex_points.csv")) {
    Case &c = cases.at(index.at(r[0]));
    c.geo.push_back(num(r[1]) * kDeg);
    c.geo.push_back(num(r[2]) * kDeg);
    c.xy.push_back(num(r[3]));
    c.xy.push_back(num(r[4]));
  }
  return cases;
}

double angle_diff(double a, double b) {
  double d = std::fabs(a - b);
  if (d > kPi) d = 2 * kPi - d;
  return d;
}

// Difference of two geographic points as the angle on the ground, so that
// the pole (where any longitude is right) does not dominate.
double ground_deg(const double *got, const double *want) {
  const double dlon = angle_diff(got[0], want[0]) * std::cos(want[1]);
  return std::max(dlon, std::fabs(got[1] - want[1])) / kDeg;
}

bool verbose() { return std::getenv("KX_VERBOSE") != nullptr; }

int count_of(const Case &c) { return static_cast<int>(c.geo.size() / 2); }

// Largest allowed differences: forward in metres, inverse in degrees.
struct Bound {
  double forward_m, inverse_deg;
};

Bound bound_for(const Case &c) {
  if (c.sphere) return {2e-8, 1e-11};
  return {1.2e-5, 2e-10};
}

constexpr double kPoleForwardM = 5e-8, kPoleInverseDeg = 6e-8;

// The spherical inverse takes asin of a value next to 1 within a few metres
// of a pole, where it keeps only the square root of the rounding.
bool sphere_near_pole(const Case &c, double lat) {
  return c.sphere && std::fabs(lat) >= 89.99 * kDeg;
}

TEST(TransverseMercatorComplex, OracleForwardAndInverseWithAndWithoutConstants) {
  const auto cases = read_cases();
  ASSERT_GE(cases.size(), 8u);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const int n = count_of(c);
    ASSERT_GE(n, 60);
    const kxtest::Loaded k(kx_tm_complex_const, c.sph.get(), c.par.get());
    ASSERT_EQ(k.result(), c.sphere ? 2 : 7);
    ASSERT_EQ(k.ivals()[0], 2);
    ASSERT_EQ(k.ivals()[1], k.result());

    std::vector<double> fwd = c.geo, fwd_loaded = c.geo;
    EXPECT_EQ(kx_tm_complex_fwd(c.sph.get(), c.par.get(), n, fwd.data(), nullptr, nullptr), n);
    EXPECT_EQ(
        kx_tm_complex_fwd(c.sph.get(), c.par.get(), n, fwd_loaded.data(), k.ivals(), k.dvals()), n);
    EXPECT_TRUE(kxtest::same_bits(fwd, fwd_loaded));

    std::vector<double> inv = c.xy, inv_loaded = c.xy;
    EXPECT_EQ(kx_tm_complex_inv(c.sph.get(), c.par.get(), n, inv.data(), nullptr, nullptr), n);
    EXPECT_EQ(
        kx_tm_complex_inv(c.sph.get(), c.par.get(), n, inv_loaded.data(), k.ivals(), k.dvals()), n);
    EXPECT_TRUE(kxtest::same_bits(inv, inv_loaded));

    const Bound b = bound_for(c);
    double dxy = 0, dgeo = 0, pole = 0;
    for (int i = 0; i < n; ++i) {
      const double d = std::max(std::fabs(fwd[2 * i] - c.xy[2 * i]),
                                std::fabs(fwd[2 * i + 1] - c.xy[2 * i + 1]));
      const double g = ground_deg(&inv[2 * i], &c.geo[2 * i]);
      if (sphere_near_pole(c, c.geo[2 * i + 1])) {
        EXPECT_LE(d, kPoleForwardM);
        EXPECT_LE(g, kPoleInverseDeg);
        pole = std::max(pole, g);
        continue;
      }
      if (d > b.forward_m || g > b.inverse_deg || std::getenv("KX_VERBOSE_POINTS"))
        std::printf("    %.6f %.6f: %.3g m  %.3g deg\n", c.geo[2 * i] / kDeg,
                    c.geo[2 * i + 1] / kDeg, d, g);
      dxy = std::max(dxy, d);
      dgeo = std::max(dgeo, g);
    }
    EXPECT_LE(dxy, b.forward_m);
    EXPECT_LE(dgeo, b.inverse_deg);
    if (verbose())
      std::printf("  %-20s forward %.3g m  inverse %.3g deg  (sphere at a pole %.3g)\n",
                  c.name.c_str(), dxy, dgeo, pole);
  }
}

// Forward then inverse of every oracle point returns it.
TEST(TransverseMercatorComplex, RoundTripsEveryOraclePoint) {
  double worst = 0;
  for (const Case &c : read_cases()) {
    SCOPED_TRACE(c.name);
    const int n = count_of(c);
    std::vector<double> pts = c.geo;
    ASSERT_EQ(kx_tm_complex_fwd(c.sph.get(), c.par.get(), n, pts.data(), nullptr, nullptr), n);
    ASSERT_EQ(kx_tm_complex_inv(c.sph.get(), c.par.get(), n, pts.data(), nullptr, nullptr), n);
    double w = 0, pole = 0;
    for (int i = 0; i < n; ++i) {
      const double g = ground_deg(&pts[2 * i], &c.geo[2 * i]);
      double &worst_here = sphere_near_pole(c, c.geo[2 * i + 1]) ? pole : w;
      worst_here = std::max(worst_here, g);
    }
    EXPECT_LE(pole, kPoleInverseDeg);
    EXPECT_LE(w, c.sphere ? 1e-11 : 2e-10);
    if (verbose())
      std::printf("  %-20s round trip %.3g deg  (sphere at a pole %.3g)\n", c.name.c_str(), w,
                  pole);
    worst = std::max(worst, w);
  }
  EXPECT_GT(worst, 0.0);
}

// The ellipsoidal differences above are those of the library's conformal-
// latitude series (about 1.4e-12 rad). Given the latitude at which that
// series yields the exact conformal latitude, the elliptic-function
// machinery itself agrees with the oracle to nanometres.
TEST(TransverseMercatorComplex, ExactConformalLatitudeAgreesToNanometres) {
  const auto cases = read_cases();
  double worst = 0;
  int checked = 0;
  for (const Case &c : cases) {
    // y0 carries the series' error at phi0: origins on the equator only.
    if (c.sphere || c.lat0 != 0.0) continue;
    SCOPED_TRACE(c.name);
    const double e2 = c.sph.v[1], e = std::sqrt(e2);
    for (int i = 0; i < count_of(c); ++i) {
      const double lon = c.geo[2 * i], phi = c.geo[2 * i + 1];
      if (std::fabs(phi) > 88.5 * kDeg) continue;
      const double chi =
          std::asin(std::tanh(std::atanh(std::sin(phi)) - e * std::atanh(e * std::sin(phi))));
      double p = phi;
      for (int pass = 0; pass < 4; ++pass) {
        const double h = 1e-7;
        const double slope = (kx_phi_to_chi(e2, p + h) - kx_phi_to_chi(e2, p - h)) / (2.0 * h);
        p += (chi - kx_phi_to_chi(e2, p)) / slope;
      }
      double pt[2] = {lon, p};
      ASSERT_EQ(kx_tm_complex_fwd(c.sph.get(), c.par.get(), 1, pt, nullptr, nullptr), 1);
      worst = std::max({worst, std::fabs(pt[0] - c.xy[2 * i]), std::fabs(pt[1] - c.xy[2 * i + 1])});
      ++checked;
    }
  }
  EXPECT_GT(checked, 400);
  EXPECT_LE(worst, 3e-8);
  if (verbose()) std::printf("  exact conformal latitude: forward %.3g m\n", worst);
}

// Through the driver, in US survey feet with a false origin: the oracle
// values moved by the false easting and northing and divided by the foot;
// loaded constants change no bit; the way back returns the degrees.
TEST(TransverseMercatorComplex, DriverFeetFalseOriginAndLoadedConstants) {
  const auto cases = read_cases();
  constexpr double kFoot = 0.30480060960121924, kDegree = 0.0174532925199433;
  for (const char *name : {"clarke66", "wgs84_south", "sphere"}) {
    SCOPED_TRACE(name);
    const Case &c =
        *std::find_if(cases.begin(), cases.end(), [&](const Case &x) { return x.name == name; });
    const double fe = 500000.0, fn = -250000.0;  // feet
    kx_parameter slots[16] = {};
    for (auto p :
         {kx_parameter_new("False_Easting", fe), kx_parameter_new("False_Northing", fn),
          kx_parameter_new("Central_Meridian", c.lon0),
          kx_parameter_new("Latitude_Of_Origin", c.lat0), kx_parameter_new("Scale_Factor", c.k0)})
      slots[kx_parameter_index(p)] = p;
    kx_geogcs g = kx_geogcs_new(
        "GCS_Test", kx_datum_new("D_Test", kx_spheroid_new("S", c.a, c.rf == 0 ? 0 : 1 / c.rf)),
        kx_primem_new("Greenwich", 0.0), kx_unit_new("Degree", kDegree));
    kx_projection prj = kx_factory_projection(KX_PRJ_TRANSVERSE_MERCATOR_COMPLEX);
    ASSERT_NE(prj, nullptr);
    EXPECT_EQ(kx_projection_forward(prj), kx_tm_complex_fwd);
    EXPECT_EQ(kx_projection_inverse(prj), kx_tm_complex_inv);
    EXPECT_EQ(kx_projection_pcsconstfunc(prj), kx_tm_complex_const);
    kx_projcs pcs = kx_projcs_new("PCS_Test", g, prj, slots, kx_unit_new("Foot_US", kFoot));
    ASSERT_NE(pcs, nullptr);

    const int n = count_of(c);
    std::vector<double> deg(c.geo.size());
    for (size_t i = 0; i < deg.size(); ++i) deg[i] = c.geo[i] / kDeg;
    std::vector<double> xy = deg;
    ASSERT_EQ(kx_geog_to_proj(pcs, n, xy.data()), n);
    double worst = 0;
    for (int i = 0; i < n; ++i) {
      // The driver's degree is the catalogue's 0.0174532925199433 rad.
      const double want_x = (c.xy[2 * i] + fe * kFoot) / kFoot;
      const double want_y = (c.xy[2 * i + 1] + fn * kFoot) / kFoot;
      worst = std::max({worst, std::fabs(xy[2 * i] - want_x), std::fabs(xy[2 * i + 1] - want_y)});
    }
    EXPECT_LE(worst * kFoot, c.sphere ? 5e-8 : 1.2e-5);

    ASSERT_EQ(kx_projcs_load_constants(pcs), c.sphere ? 2 : 7);
    std::vector<double> xy_loaded = deg;
    ASSERT_EQ(kx_geog_to_proj(pcs, n, xy_loaded.data()), n);
    EXPECT_TRUE(kxtest::same_bits(xy, xy_loaded));

    std::vector<double> back = xy, back_loaded = xy;
    ASSERT_EQ(kx_proj_to_geog(pcs, n, back_loaded.data()), n);
    kx_projcs_unload_constants(pcs);
    ASSERT_EQ(kx_proj_to_geog(pcs, n, back.data()), n);
    EXPECT_TRUE(kxtest::same_bits(back, back_loaded));
    double trip = 0;
    for (int i = 0; i < n; ++i) {
      if (std::fabs(deg[2 * i + 1]) >= 89.99) continue;  // spherical asin next to 1
      const double got[2] = {back[2 * i] * kDeg, back[2 * i + 1] * kDeg};
      trip = std::max(trip, ground_deg(got, &c.geo[2 * i]));
    }
    EXPECT_LE(trip, 2e-10);

    // The origin lands on the false origin, up to the last place.
    double origin[2] = {c.lon0, c.lat0};
    ASSERT_EQ(kx_geog_to_proj(pcs, 1, origin), 1);
    EXPECT_NEAR(origin[0], fe, 1e-9);
    EXPECT_NEAR(origin[1], fn, 1e-9);
    // Past the pole the driver takes the pole.
    double pole[4] = {c.lon0 + 7, 95.0, c.lon0 + 7, 90.0};
    ASSERT_EQ(kx_geog_to_proj(pcs, 2, pole), 2);
    EXPECT_EQ(pole[0], pole[2]);
    EXPECT_EQ(pole[1], pole[3]);
    kx_projcs_del(pcs);
  }
}

TEST(TransverseMercatorComplex, ConstantsLayout) {
  const kxtest::Spheroid wgs = kxtest::Spheroid::from_rf(6378137.0, 298.257223563);
  kxtest::Parameters par;
  par.deg(2, 12.0).deg(6, 48.5).set(5, 0.9996);
  const kxtest::Loaded k(kx_tm_complex_const, wgs.get(), par.get());
  ASSERT_EQ(k.result(), 7);
  const double *d = k.dvals();
  EXPECT_EQ(d[0], 6378137.0 * 0.9996);
  EXPECT_EQ(d[1], 1.0 - wgs.v[1]);
  EXPECT_EQ(d[2], std::sqrt(wgs.v[1]));
  EXPECT_EQ(d[3], std::ldexp(1.0, -64));
  EXPECT_EQ(d[4], std::ldexp(1.0, -63));
  EXPECT_EQ(d[5], std::ldexp(1.0, -32));
  // y0: the northing of (lambda0, phi0) with the origin on the equator.
  kxtest::Parameters equator = par;
  equator.set(6, 0.0);
  double o[2] = {12.0 * kDeg, 48.5 * kDeg};
  ASSERT_EQ(kx_tm_complex_fwd(wgs.get(), equator.get(), 1, o, nullptr, nullptr), 1);
  EXPECT_EQ(d[6], o[1]);
  // ... so the origin itself projects to (0, 0).
  double origin[2] = {12.0 * kDeg, 48.5 * kDeg};
  ASSERT_EQ(kx_tm_complex_fwd(wgs.get(), par.get(), 1, origin, nullptr, nullptr), 1);
  EXPECT_NEAR(origin[0], 0.0, 1e-9);
  EXPECT_EQ(origin[1], 0.0);

  // Latitude of origin within 2^-48 of the equator: y0 = 0.
  par.set(6, 1e-15);
  const kxtest::Loaded k0(kx_tm_complex_const, wgs.get(), par.get());
  EXPECT_EQ(k0.dvals()[6], 0.0);

  // Spheres (and an e2 below 2^-48) take the spherical formulas.
  for (double e2 : {0.0, 1e-16}) {
    const double sph[2] = {6371000.0, e2};
    const kxtest::Loaded s(kx_tm_complex_const, sph, par.get());
    ASSERT_EQ(s.result(), 2);
    EXPECT_EQ(s.dvals()[0], 6371000.0 * 0.9996);
    EXPECT_EQ(s.dvals()[1], 6371000.0 * 0.9996 / 2.0);
  }
  EXPECT_EQ(kx_tm_complex_const(nullptr, wgs.get(), par.get()), 0);
  const kx_pcsconstants pc = kx_pcsconstants_new();
  EXPECT_EQ(kx_tm_complex_const(pc, nullptr, par.get()), 0);
  EXPECT_EQ(kx_tm_complex_const(pc, wgs.get(), nullptr), 0);
  kx_pcsconstants_del(pc);
}

// The pole moves 25 units in the last place inside it: a finite northing,
// the same for every longitude, and the way back gives the pole.
TEST(TransverseMercatorComplex, PolesAreFinite) {
  const kxtest::Spheroid sphs[] = {kxtest::Spheroid::from_rf(6378137.0, 298.257223563),
                                   kxtest::Spheroid(6371000.0, 0.0)};
  kxtest::Parameters par;
  par.deg(2, -3.0).set(5, 0.9996);
  for (const auto &sph : sphs) {
    SCOPED_TRACE(sph.v[1]);
    const double h = 1.5707963267948966;
    std::vector<double> pts = {0.0, h,  1.0, h,   -2.0, h, 0.5, 2.0, 0.5, 1.570796326794891,
                               0.5, -h, 3.0, -3.0};
    const int n = static_cast<int>(pts.size() / 2);
    ASSERT_EQ(kx_tm_complex_fwd(sph.get(), par.get(), n, pts.data(), nullptr, nullptr), n);
    for (int i = 0; i < 5; ++i) {
      EXPECT_NEAR(pts[2 * i], 0.0, 1e-6) << i;
      EXPECT_NEAR(pts[2 * i + 1], pts[1], 1e-6) << i;
    }
    EXPECT_EQ(pts[7], pts[9]);  // past the pole: exactly the moved pole
    EXPECT_EQ(pts[6], pts[8]);
    EXPECT_NEAR(pts[11], -pts[1], 1e-6);
    if (sph.v[1] != 0.0) {
      // The quarter meridian a k0 E(e2).
      EXPECT_NEAR(pts[1], 6378137.0 * 0.9996 * kx_ellint2(sph.v[1]), 1e-6);
    }
    ASSERT_EQ(kx_tm_complex_inv(sph.get(), par.get(), n, pts.data(), nullptr, nullptr), n);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(pts[2 * i + 1], h, 1e-7) << i;
    EXPECT_NEAR(pts[11], -h, 1e-7);
  }
}

// NaN input gives NaN pairs that are not counted, every other point is still
// converted, and the iteration is not run on them; n <= 0 and null arrays.
TEST(TransverseMercatorComplex, NanCountsAndNullArguments) {
  const kxtest::Spheroid sphs[] = {kxtest::Spheroid::from_rf(6378137.0, 298.257223563),
                                   kxtest::Spheroid(6371000.0, 0.0)};
  kxtest::Parameters par;
  par.deg(2, 10.0).deg(6, 20.0).set(5, 0.9996);
  const double nan = std::nan(""), inf = HUGE_VAL;
  for (const auto &sph : sphs) {
    for (kx_projection_fn fn : {kx_tm_complex_fwd, kx_tm_complex_inv}) {
      SCOPED_TRACE(std::string(sph.v[1] == 0.0 ? "sphere " : "ellipsoid ") +
                   (fn == kx_tm_complex_fwd ? "forward" : "inverse"));
      const bool forward = fn == kx_tm_complex_fwd;
      const double good[2] = {forward ? 0.3 : 1.5e5, forward ? 0.6 : 2.5e5};
      std::vector<double> pts = {good[0], good[1], nan, good[1], good[0], nan,     good[0],
                                 good[1], nan,     nan, inf,     good[1], good[0], good[1]};
      EXPECT_EQ(fn(sph.get(), par.get(), 7, pts.data(), nullptr, nullptr), 3);
      for (int i : {1, 2, 4, 5})
        EXPECT_TRUE(std::isnan(pts[2 * i]) && std::isnan(pts[2 * i + 1])) << i;
      for (int i : {0, 3, 6}) {
        EXPECT_TRUE(std::isfinite(pts[2 * i]) && std::isfinite(pts[2 * i + 1])) << i;
        EXPECT_EQ(pts[2 * i], pts[0]);
        EXPECT_NE(pts[2 * i], good[0]);  // converted
      }
      kxtest::expect_argument_contract(fn, sph, par, good);
    }
  }
  // A large all-NaN array returns promptly (no iteration on NaN).
  std::vector<double> many(2 * 200000, nan);
  EXPECT_EQ(kx_tm_complex_fwd(sphs[0].get(), par.get(), 200000, many.data(), nullptr, nullptr), 0);
  EXPECT_EQ(kx_tm_complex_inv(sphs[0].get(), par.get(), 200000, many.data(), nullptr, nullptr), 0);
}

// Points the exact map cannot reach from its starting values: on and
// beyond the singular point of the equator at (1 - e) 90 degrees, where
// the iterations settle on other sheets of atanh or do not settle, and
// inverse points far outside the map, become NaN and are not counted,
// while the points around them are still converted.
TEST(TransverseMercatorComplex, UnreachablePointsAreNanAndNotCounted) {
  const kxtest::Spheroid wgs = kxtest::Spheroid::from_rf(6378137.0, 298.257223563);
  kxtest::Parameters par;
  par.set(5, 0.9996);
  std::vector<double> fwd = {30 * kDeg, 40 * kDeg,  85 * kDeg,   1 * kDeg, 83 * kDeg,
                             0.0,       -84 * kDeg, -0.5 * kDeg, 3 * kDeg, -10 * kDeg};
  EXPECT_EQ(kx_tm_complex_fwd(wgs.get(), par.get(), 5, fwd.data(), nullptr, nullptr), 2);
  EXPECT_NEAR(fwd[0], 0.9996 * 2577965.736205, 1e-5);  // the oracle's value times k0
  for (int i : {1, 2, 3}) EXPECT_TRUE(std::isnan(fwd[2 * i]) && std::isnan(fwd[2 * i + 1])) << i;
  EXPECT_TRUE(std::isfinite(fwd[8]) && std::isfinite(fwd[9]));

  std::vector<double> inv = {1e5, 5e6, 1e9, 0.0, 3e7, 3e7, -1e5, -5e6};
  EXPECT_EQ(kx_tm_complex_inv(wgs.get(), par.get(), 4, inv.data(), nullptr, nullptr), 2);
  for (int i : {1, 2}) EXPECT_TRUE(std::isnan(inv[2 * i]) && std::isnan(inv[2 * i + 1])) << i;
  EXPECT_TRUE(std::isfinite(inv[0]) && std::isfinite(inv[7]));
}

// The whole globe on a grid, central meridian to antimeridian: every point
// converted both ways closes within 1.2e-10 degrees (the conformal-latitude
// series pair), and the only points left unconverted lie within 2 degrees of
// the equator 83 degrees or more from the central meridian, around the
// singular points at (1 - e) 90 degrees and beyond them.
TEST(TransverseMercatorComplex, WholeGlobeGrid) {
  struct Grid {
    kxtest::Spheroid sph;
    double step;
  };
  const Grid grids[] = {{kxtest::Spheroid::from_rf(6378137.0, 298.257223563), 3.0},
                        {kxtest::Spheroid::from_rf(6378206.4, 294.9786982), 2.5}};
  kxtest::Parameters par;
  par.deg(2, 7.0).deg(6, -12.0).set(5, 0.9996);
  for (const Grid &g : grids) {
    std::vector<double> geo;
    for (double lat = -90; lat <= 90; lat += g.step)
      for (double dlon = -180; dlon <= 180; dlon += g.step) {
        geo.push_back((7.0 + dlon) * kDeg);
        geo.push_back(lat * kDeg);
      }
    const int n = static_cast<int>(geo.size() / 2);
    std::vector<double> pts = geo;
    const int forward = kx_tm_complex_fwd(g.sph.get(), par.get(), n, pts.data(), nullptr, nullptr);
    std::vector<double> xy = pts;
    const int inverse = kx_tm_complex_inv(g.sph.get(), par.get(), n, pts.data(), nullptr, nullptr);
    int failed = 0;
    double worst = 0;
    for (int i = 0; i < n; ++i) {
      const double dlon = kx_delta(geo[2 * i] - 7.0 * kDeg) / kDeg, lat = geo[2 * i + 1] / kDeg;
      if (std::isnan(pts[2 * i])) {
        EXPECT_TRUE(std::isnan(pts[2 * i + 1]));
        EXPECT_TRUE(std::fabs(lat) <= 2.0 && std::fabs(dlon) >= 83.0) << dlon << " " << lat;
        ++failed;
        continue;
      }
      worst = std::max(worst, ground_deg(&pts[2 * i], &geo[2 * i]));
    }
    EXPECT_EQ(inverse, n - failed);
    EXPECT_GE(forward, inverse);
    EXPECT_LT(failed, n / 100);
    EXPECT_LE(worst, 1.2e-10);
    if (verbose())
      std::printf("  grid %g deg: %d points, %d not converted, round trip %.3g deg\n", g.step, n,
                  failed, worst);
  }
}

}  // namespace
