// Ellipsoid auxiliary functions against closed forms and high-precision
// references (tests/scripts/gen_auxiliary.py: mpmath, 40 digits;
// tests/scripts/gen_cartesian.sh: PROJ cct).
//
// Measured maximum errors (WGS 84 / Clarke 1866), series truncation included:
//   chi 1.3e-12 / 1.4e-12 rad, phi(chi) 2.0e-12 / 2.1e-12 rad,
//   beta 2.1e-10 / 2.2e-10 rad, phi(beta) 2.5e-10 / 2.6e-10 rad,
//   mu 7.3e-15 / 7.8e-15 rad, phi(mu) 9.2e-14 / 9.8e-14 rad,
//   reduced and geocentric 2.2e-16 rad, meridian arc 63 / 69 nm,
//   authalic radius 0.27 / 0.29 um;
//   geodetic -> geocentric -> geodetic: latitude 3.3e-16 rad, height 2.3e-9 m
//   per Earth radius of geocentric distance (2.9e-9 m at the surface, 4.5e-8 m
//   at 1e8 m: the rounding of the coordinates, not the method).
#include "kx.h"
#include "support/cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kWgsA = 6378137.0;
constexpr double kWgsE2 = 0.0066943799901413165;
constexpr double kTol = 3.552713678800501e-15;

double num(const std::string &s) { return std::strtod(s.c_str(), nullptr); }

TEST(Auxiliary, DeltaAndEqualityEdgeCases) {
  EXPECT_EQ(kx_delta(kPi), kPi);
  EXPECT_EQ(kx_delta(-kPi), -kPi);
  EXPECT_DOUBLE_EQ(kx_delta(3 * kPi / 2), -kPi / 2);
  EXPECT_DOUBLE_EQ(kx_delta(7.0), 7.0 - 2 * kPi);
  EXPECT_DOUBLE_EQ(kx_delta(-7.0), 2 * kPi - 7.0);
  EXPECT_EQ(kx_delta(0.5), 0.5);
  EXPECT_EQ(kx_delta(2 * kPi + 0.25), std::fmod(2 * kPi + 0.25, 6.283185307179586));
  EXPECT_TRUE(std::isnan(kx_delta(NAN)));
  EXPECT_TRUE(std::isnan(kx_delta(INFINITY)));

  EXPECT_TRUE(kx_eq(1e6, 1e6 + 1e-9));
  EXPECT_FALSE(kx_eq(0, 1e-14));
  EXPECT_TRUE(kx_eq(0, 3e-15));
  EXPECT_FALSE(kx_eq(1e6, 1e6 + 1e-8));
  EXPECT_FALSE(kx_eq(NAN, NAN));
  EXPECT_FALSE(kx_eq(1.0, NAN));
}

TEST(Auxiliary, RadiiOfCurvatureClosedForms) {
  const double a = kWgsA, e2 = kWgsE2;
  EXPECT_DOUBLE_EQ(kx_w(e2, 0.0), 1.0);
  EXPECT_DOUBLE_EQ(kx_w(e2, kPi / 2), std::sqrt(1 - e2));
  EXPECT_DOUBLE_EQ(kx_n(a, e2, 0.0), a);
  EXPECT_DOUBLE_EQ(kx_m(a, e2, 0.0), a * (1 - e2));
  // At the pole both radii equal a^2/b.
  EXPECT_DOUBLE_EQ(kx_n(a, e2, kPi / 2), a / std::sqrt(1 - e2));
  EXPECT_DOUBLE_EQ(kx_m(a, e2, kPi / 2), a / std::sqrt(1 - e2));
  // Known WGS 84 values at 45 degrees (N = 6388838.290 m, M = 6367381.816 m).
  EXPECT_NEAR(kx_n(a, e2, kPi / 4), 6388838.2901, 1e-3);
  EXPECT_NEAR(kx_m(a, e2, kPi / 4), 6367381.8156, 1e-3);
}

TEST(Auxiliary, SphereGivesIdentities) {
  const double a = 6371000.0;
  for (double phi = -1.57; phi <= 1.57; phi += 0.01) {
    EXPECT_NEAR(kx_phi_to_chi(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_chi_to_phi(0, phi), phi, 1e-15);
    EXPECT_EQ(kx_phi_to_beta(0, phi), phi);
    EXPECT_EQ(kx_beta_to_phi(0, phi), phi);
    EXPECT_NEAR(kx_phi_to_mu(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_mu_to_phi(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_phi_to_eta(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_eta_to_phi(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_phi_to_phig(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_phig_to_phi(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_phig_to_eta(0, phi), phi, 1e-15);
    EXPECT_NEAR(kx_q(a, 0, phi), a * phi, 1e-8);
  }
  EXPECT_DOUBLE_EQ(kx_q90(a, 0), a * kPi / 2);
  EXPECT_EQ(kx_auth_r(a, 0), a);
}

TEST(Auxiliary, OddSymmetryIsExact) {
  for (double phi = 0.001; phi < 1.5707; phi += 0.0123) {
    EXPECT_EQ(kx_phi_to_beta(kWgsE2, -phi), -kx_phi_to_beta(kWgsE2, phi));
    EXPECT_EQ(kx_beta_to_phi(kWgsE2, -phi), -kx_beta_to_phi(kWgsE2, phi));
    EXPECT_EQ(kx_phi_to_mu(kWgsE2, -phi), -kx_phi_to_mu(kWgsE2, phi));
  }
}

// Series truncation against the exact functions; the bounds are the measured
// maxima rounded up (the worst latitudes lie near 45 and 60 degrees).
TEST(Auxiliary, LatitudesAndArcAgainstExactFunctions) {
  const auto rows = kxtest::read_csv(kxtest::data_path("math/auxiliary.csv"));
  ASSERT_GT(rows.size(), 900u);
  std::map<std::string, double> worst;
  auto track = [&](const std::string &key, double err) { worst[key] = std::max(worst[key], std::fabs(err)); };
  for (const auto &r : rows) {
    ASSERT_EQ(r.size(), 10u);
    const std::string &ell = r[0];
    const double a = num(r[1]), e2 = num(r[2]), phi = num(r[3]);
    const double chi = num(r[4]), beta = num(r[5]), mu = num(r[6]), eta = num(r[7]), phig = num(r[8]);
    const double arc = num(r[9]);
    track(ell + " chi", kx_phi_to_chi(e2, phi) - chi);
    track(ell + " phi(chi)", kx_chi_to_phi(e2, chi) - phi);
    track(ell + " beta", kx_phi_to_beta(e2, phi) - beta);
    track(ell + " phi(beta)", kx_beta_to_phi(e2, beta) - phi);
    track(ell + " mu", kx_phi_to_mu(e2, phi) - mu);
    track(ell + " phi(mu)", kx_mu_to_phi(e2, mu) - phi);
    track(ell + " eta", kx_phi_to_eta(e2, phi) - eta);
    track(ell + " phi(eta)", kx_eta_to_phi(e2, eta) - phi);
    track(ell + " phig", kx_phi_to_phig(e2, phi) - phig);
    track(ell + " phi(phig)", kx_phig_to_phi(e2, phig) - phi);
    track(ell + " eta(phig)", kx_phig_to_eta(e2, phig) - eta);
    track(ell + " arc", kx_q(a, e2, phi) - arc);
  }
  const std::map<std::string, double> bound = {
      {"chi", 1.5e-12},         {"phi(chi)", 2.5e-12}, {"beta", 2.5e-10},
      {"phi(beta)", 3e-10}, {"mu", 1e-14},          {"phi(mu)", 1.5e-13},
      {"eta", 1e-15},             {"phi(eta)", 1e-15},         {"phig", 1e-15},
      {"phi(phig)", 1e-15},       {"eta(phig)", 1e-15},        {"arc", 8e-8}};
  for (const auto &w : worst) {
    std::printf("  %-22s max error %.2e\n", w.first.c_str(), w.second);
    const std::string fn = w.first.substr(w.first.find(' ') + 1);
    EXPECT_LE(w.second, bound.at(fn)) << w.first;
  }

  const auto radii = kxtest::read_csv(kxtest::data_path("math/auxiliary_radius.csv"));
  ASSERT_EQ(radii.size(), 2u);
  for (const auto &r : radii) {
    const double a = num(r[1]), e2 = num(r[2]);
    EXPECT_NEAR(kx_auth_r(a, e2), num(r[3]), 3.5e-7) << r[0];
    EXPECT_NEAR(kx_q90(a, e2), num(r[4]), 8e-8) << r[0];
  }
  EXPECT_NEAR(kx_auth_r(kWgsA, kWgsE2), 6371007.18, 0.005);
}

TEST(Auxiliary, InversePairsRoundTrip) {
  struct Pair {
    const char *name;
    double (*to)(double, double);
    double (*back)(double, double);
  };
  const Pair pairs[] = {{"chi", kx_phi_to_chi, kx_chi_to_phi},
                        {"beta", kx_phi_to_beta, kx_beta_to_phi},
                        {"mu", kx_phi_to_mu, kx_mu_to_phi},
                        {"eta", kx_phi_to_eta, kx_eta_to_phi},
                        {"phig", kx_phi_to_phig, kx_phig_to_phi}};
  // Round trips of the truncated series are limited by the truncation itself:
  // 2.0e-12 rad for chi (e^8 series), 2.2e-10 rad for beta (e^6 series).
  const double limit[] = {2.5e-12, 2.5e-10, 1e-12, 1e-12, 1e-12};
  int index = 0;
  for (const Pair &p : pairs) {
    double worst = 0;
    for (int k = -9000; k <= 9000; ++k) {
      const double phi = k * (kPi / 18000.0);
      worst = std::max(worst, std::fabs(p.back(kWgsE2, p.to(kWgsE2, phi)) - phi));
    }
    std::printf("  round trip %-5s max %.2e rad\n", p.name, worst);
    EXPECT_LE(worst, limit[index++]) << p.name;
  }
  // Geocentric -> reduced agrees with geodetic -> reduced through phig.
  for (double phi = -1.5; phi <= 1.5; phi += 0.1)
    EXPECT_NEAR(kx_phig_to_eta(kWgsE2, kx_phi_to_phig(kWgsE2, phi)), kx_phi_to_eta(kWgsE2, phi), 1e-15);
}

TEST(Auxiliary, ReducedLatitudeFoldingAndPoles) {
  EXPECT_EQ(kx_phi_to_eta(kWgsE2, kPi / 2), kPi / 2);
  EXPECT_EQ(kx_phi_to_eta(kWgsE2, -kPi / 2), -kPi / 2);
  EXPECT_EQ(kx_eta_to_phi(kWgsE2, kPi / 2), kPi / 2);
  EXPECT_EQ(kx_phi_to_eta(kWgsE2, 0.0), 0.0);
  // Beyond the pole the angle folds back: eta(pi - x) = eta(x).
  EXPECT_DOUBLE_EQ(kx_phi_to_eta(kWgsE2, kPi - 0.5), kx_phi_to_eta(kWgsE2, 0.5));
  EXPECT_DOUBLE_EQ(kx_phi_to_eta(kWgsE2, 0.5 + kPi), -kx_phi_to_eta(kWgsE2, 0.5));
}

TEST(Auxiliary, CartesianAgainstCct) {
  const auto rows = kxtest::read_csv(kxtest::data_path("math/cartesian.csv"));
  ASSERT_EQ(rows.size(), 12u);
  for (const auto &r : rows) {
    const double lam = num(r[0]) * kPi / 180, phi = num(r[1]) * kPi / 180, h = num(r[2]);
    double x, y, z;
    kx_curv_to_cart(kWgsA, kWgsE2, phi, lam, h, &x, &y, &z);
    // cct prints nanometres; at 1e8 m a double resolves 15 nm.
    const double tol = std::max(2e-9, 4 * std::fabs(h) * 2.2e-16);
    EXPECT_NEAR(x, num(r[3]), tol) << r[0] << " " << r[1];
    EXPECT_NEAR(y, num(r[4]), tol) << r[0] << " " << r[1];
    EXPECT_NEAR(z, num(r[5]), tol) << r[0] << " " << r[1];
    double phi2, lam2, h2;
    kx_cart_to_curv(kWgsA, kWgsE2, num(r[3]), num(r[4]), num(r[5]), &phi2, &lam2, &h2);
    EXPECT_NEAR(phi2, phi, 1e-12);
    EXPECT_NEAR(h2, h, tol);
    const double p = std::hypot(num(r[3]), num(r[4]));
    if (std::fabs(num(r[1])) < 90) {
      EXPECT_NEAR(kx_delta(lam2 - lam), 0.0, std::max(1e-12, 1e-9 / p));
    }
  }
}

TEST(Auxiliary, CartesianRoundTripAllHeights) {
  const double heights[] = {-10000, -1000, -1, 0, 1, 100, 8848, 1e5, 1e6, 35786000, 1e7, 1e8};
  double worst_phi = 0, worst_lam = 0, worst_h = 0;
  for (double h : heights) {
    for (int i = -90; i <= 90; ++i) {
      // Latitudes include the poles and every degree; longitudes sweep around.
      const double phi = i * kPi / 180 * (std::abs(i) == 90 ? 1.0 : 0.9999);
      const double lam = kx_delta(i * 4.1 * kPi / 180);
      double x, y, z, p2, l2, h2;
      kx_curv_to_cart(kWgsA, kWgsE2, phi, lam, h, &x, &y, &z);
      kx_cart_to_curv(kWgsA, kWgsE2, x, y, z, &p2, &l2, &h2);
      worst_phi = std::max(worst_phi, std::fabs(p2 - phi));
      if (std::abs(i) != 90) worst_lam = std::max(worst_lam, std::fabs(kx_delta(l2 - lam)));
      // Doubles resolve 0.93 nm at the Earth's radius and 15 nm at 1e8 m, so
      // the height error is scaled to the geocentric distance (a + h)/a.
      worst_h = std::max(worst_h, std::fabs(h2 - h) / ((kWgsA + std::fabs(h)) / kWgsA));
    }
  }
  std::printf("  cart round trip: phi %.2e rad, lambda %.2e rad, h %.2e m per Earth radius\n", worst_phi,
              worst_lam, worst_h);
  EXPECT_LE(worst_phi, 1e-12);
  EXPECT_LE(worst_lam, 1e-12);
  EXPECT_LE(worst_h, 3.5e-9);
}

TEST(Auxiliary, CartesianPolarAxis) {
  const double b = kWgsA * std::sqrt(1 - kWgsE2);
  double phi, lam, h;
  kx_cart_to_curv(kWgsA, kWgsE2, 0, 0, 7000000, &phi, &lam, &h);
  EXPECT_EQ(lam, 0.0);
  EXPECT_EQ(phi, kPi / 2);
  EXPECT_DOUBLE_EQ(h, 7000000 - b);
  kx_cart_to_curv(kWgsA, kWgsE2, 0, 0, -100, &phi, &lam, &h);
  EXPECT_EQ(phi, -kPi / 2);
  EXPECT_DOUBLE_EQ(h, 100 - b);
  kx_cart_to_curv(kWgsA, kWgsE2, 0, 0, 0, &phi, &lam, &h);
  EXPECT_EQ(phi, kPi / 2);
  EXPECT_EQ(lam, 0.0);
  EXPECT_DOUBLE_EQ(h, -b);
  // Null outputs are skipped.
  kx_cart_to_curv(kWgsA, kWgsE2, 1e6, 2e6, 3e6, nullptr, nullptr, nullptr);
  kx_curv_to_cart(kWgsA, kWgsE2, 0.5, 0.5, 0, nullptr, nullptr, nullptr);
  kx_cart_to_curv(kWgsA, kWgsE2, NAN, 0, 0, &phi, &lam, &h);
  EXPECT_TRUE(std::isnan(phi));
  EXPECT_TRUE(std::isnan(h));
}

double linear(double x, void *) { return x - 1.0; }
double cosine_fixed_point(double x, void *) { return std::cos(x) - x; }
double scaled(double x, void *data) { return *static_cast<double *>(data) * (x - 0.3); }
double always_nan(double, void *) { return NAN; }
double nan_inside(double x, void *) { return x > 0.7 ? NAN : x - 1.2; }
double no_sign_change(double x, void *) { return x * x + 1.0; }
double infinite(double x, void *) { return x < 1.0 ? -INFINITY : INFINITY; }
int calls = 0;
double counted(double x, void *) {
  ++calls;
  return std::pow(x - 0.123456789, 3);
}

TEST(Auxiliary, ZeroinRootsAndFailures) {
  const double tol = 1.5707963267948966 * kTol;
  EXPECT_NEAR(kx_zeroin(nullptr, linear), 1.0, tol);
  EXPECT_NEAR(kx_zeroin(nullptr, cosine_fixed_point), 0.7390851332151607, 4 * tol);
  double k = 1e-9;  // tiny slope: stops on the step, not on |f| <= eps
  EXPECT_NEAR(kx_zeroin(&k, scaled), 0.3, 1e-6);
  k = -5.0;
  EXPECT_NEAR(kx_zeroin(&k, scaled), 0.3, 2 * tol);
  calls = 0;
  EXPECT_NEAR(kx_zeroin(nullptr, counted), 0.123456789, 2e-5);  // stops on |f| <= eps
  EXPECT_LT(calls, 2500);
  // Functions without a usable sign change end instead of looping.
  EXPECT_TRUE(std::isnan(kx_zeroin(nullptr, always_nan)));
  EXPECT_TRUE(std::isnan(kx_zeroin(nullptr, nan_inside)));
  const double r = kx_zeroin(nullptr, no_sign_change);
  EXPECT_TRUE(std::isnan(r) || (r >= 0 && r <= kPi / 2));
  const double s = kx_zeroin(nullptr, infinite);
  EXPECT_TRUE(std::isnan(s) || std::fabs(s - 1.0) < 1e-12);
  EXPECT_TRUE(std::isnan(kx_zeroin(nullptr, nullptr)));
}

}  // namespace
