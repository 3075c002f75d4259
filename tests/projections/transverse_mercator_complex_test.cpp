// The complex-analytic transverse Mercator against GeographicLib's exact
// transverse Mercator (TransverseMercatorProj; tests/data/projections/
// tm_complex_*.csv made by tests/scripts/gen_tm_complex.py), with loaded
// constants and without, through the bare functions and the driver.
//
// MEASURED
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

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
        kx_tm_complex_fwd(c.sph.get(), c.par.get(), n, fwd_loaded.data(), k.ivals(), k.dvals()),
        n);
    EXPECT_TRUE(kxtest::same_bits(fwd, fwd_loaded));

    std::vector<double> inv = c.xy, inv_loaded = c.xy;
    EXPECT_EQ(kx_tm_complex_inv(c.sph.get(), c.par.get(), n, inv.data(), nullptr, nullptr), n);
    EXPECT_EQ(
        kx_tm_complex_inv(c.sph.get(), c.par.get(), n, inv_loaded.data(), k.ivals(), k.dvals()),
        n);
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
    if (verbose()) std::printf("  %-20s round trip %.3g deg  (sphere at a pole %.3g)\n", c.name.c_str(), w, pole);
    worst = std::max(worst, w);
  }
  EXPECT_GT(worst, 0.0);
}

}  // namespace
