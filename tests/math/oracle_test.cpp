// The math functions against the committed oracle tables, one loop per table:
// auxiliary latitudes and arcs (mpmath 40 digits, gen_auxiliary.py), cct's
// geocentric coordinates (gen_cartesian.sh), GeodSolve -E geodesics by class
// (gen_geodesics.py), elliptic integrals and functions (mpmath 30 digits,
// gen_elliptic.py). The bounds are the figures the units' headers state,
// rounded up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "kx.h"
#include "math/math2.h"
#include "support/cases.h"

namespace {

using kxtest::num;
using cplx = std::complex<double>;
constexpr double kPi = 3.141592653589793, kDeg = kPi / 180;
constexpr double kWgsA = 6378137.0, kWgsE2 = 0.0066943799901413165, kSphereR = 6371000.0;

// Largest error per quantity, checked against tests/data/math/bounds.csv
// (the measured maxima the units' headers state, rounded up); a key
// "<class> <quantity>" takes the bound of its quantity unless it has its own.
struct Worst {
  std::map<std::string, double> at;
  void add(const std::string &key, double e) { at[key] = std::max(at[key], std::isnan(e) ? 1e300 : std::fabs(e)); }
  void check(const std::string &table) const {
    std::map<std::string, double> bound;
    std::set<std::string> used;
    for (const auto &r : kxtest::read_csv(kxtest::data_path("math/bounds.csv")))
      if (r[0] == table) bound[r[1]] = num(r[2]);
    for (const auto &w : at) {
      auto b = bound.count(w.first) ? bound.find(w.first) : bound.find(w.first.substr(w.first.find(' ') + 1));
      ASSERT_NE(b, bound.end()) << table << " " << w.first;
      used.insert(b->first);
      std::printf("  %s %-22s max %.2e\n", table.c_str(), w.first.c_str(), w.second);
      EXPECT_LE(w.second, b->second) << table << " " << w.first;
    }
    EXPECT_EQ(used.size(), bound.size()) << table << ": a class of the table is missing";
  }
};

TEST(MathOracle, AuxiliaryLatitudesArcsAndRadii) {
  const auto rows = kxtest::read_csv(kxtest::data_path("math/auxiliary.csv"));
  ASSERT_GT(rows.size(), 900u);
  Worst w;
  for (const auto &r : rows) {
    const std::string &ell = r[0];
    const double a = num(r[1]), e2 = num(r[2]), phi = num(r[3]), chi = num(r[4]), beta = num(r[5]);
    const double mu = num(r[6]), eta = num(r[7]), phig = num(r[8]);
    w.add(ell + " chi", kx_phi_to_chi(e2, phi) - chi);
    w.add(ell + " phi(chi)", kx_chi_to_phi(e2, chi) - phi);
    w.add(ell + " beta", kx_phi_to_beta(e2, phi) - beta);
    w.add(ell + " phi(beta)", kx_beta_to_phi(e2, beta) - phi);
    w.add(ell + " mu", kx_phi_to_mu(e2, phi) - mu);
    w.add(ell + " phi(mu)", kx_mu_to_phi(e2, mu) - phi);
    w.add(ell + " eta", kx_phi_to_eta(e2, phi) - eta);
    w.add(ell + " phi(eta)", kx_eta_to_phi(e2, eta) - phi);
    w.add(ell + " phig", kx_phi_to_phig(e2, phi) - phig);
    w.add(ell + " phi(phig)", kx_phig_to_phi(e2, phig) - phi);
    w.add(ell + " eta(phig)", kx_phig_to_eta(e2, phig) - eta);
    w.add(ell + " arc", kx_q(a, e2, phi) - num(r[9]));
  }
  for (const auto &r : kxtest::read_csv(kxtest::data_path("math/auxiliary_radius.csv"))) {
    w.add(r[0] + " authalic", kx_auth_r(num(r[1]), num(r[2])) - num(r[3]));
    w.add(r[0] + " quarter", kx_q90(num(r[1]), num(r[2])) - num(r[4]));
  }
  w.check("auxiliary");
}

TEST(MathOracle, CartesianAgainstCct) {
  const auto rows = kxtest::read_csv(kxtest::data_path("math/cartesian.csv"));
  ASSERT_EQ(rows.size(), 12u);
  for (const auto &r : rows) {
    const double lam = num(r[0]) * kDeg, phi = num(r[1]) * kDeg, h = num(r[2]);
    const double want[3] = {num(r[3]), num(r[4]), num(r[5])};
    double xyz[3], back[3];
    kx_curv_to_cart(kWgsA, kWgsE2, phi, lam, h, &xyz[0], &xyz[1], &xyz[2]);
    // cct prints nanometres; at 1e8 m a double resolves 15 nm.
    const double tol = std::max(2e-9, 4 * std::fabs(h) * 2.2e-16);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(xyz[i], want[i], tol) << r[0] << " " << r[1] << " " << i;
    kx_cart_to_curv(kWgsA, kWgsE2, want[0], want[1], want[2], &back[0], &back[1], &back[2]);
    EXPECT_NEAR(back[0], phi, 1e-12);
    EXPECT_NEAR(back[2], h, tol);
    const double lam_tol = std::fabs(num(r[1])) < 90 ? std::max(1e-12, 1e-9 / std::hypot(want[0], want[1])) : 9;
    EXPECT_NEAR(kx_delta(back[1] - lam), 0.0, lam_tol);
  }
}

TEST(MathOracle, GeodesicsAgainstGeodSolveByClass) {
  auto spheroid = [](const std::string &ell, double *e2) { *e2 = ell == "W" ? kWgsE2 : 0.0; return ell == "W" ? kWgsA : kSphereR; };
  Worst inv, dir;
  for (const auto &r : kxtest::read_csv(kxtest::data_path("math/geodesic_inverse.csv"))) {
    double e2, s, a12, a21;
    const double a = spheroid(r[0], &e2), s12 = num(r[8]);
    kx_geodesic_distance(a, e2, num(r[3]) * kDeg, num(r[2]) * kDeg, num(r[5]) * kDeg, num(r[4]) * kDeg, &s, &a12, &a21);
    const double az = std::max(std::fabs(kx_delta(a12 - num(r[6]) * kDeg)),
                               std::fabs(kx_delta(a21 - kx_delta(num(r[7]) * kDeg + kPi))));
    const std::string key = r[0] + "-" + r[1];
    inv.add(key + " distance", s - s12);
    inv.add(key + " azimuth", az);
    inv.add(key + " across", az * s12);  // azimuth error times distance (m)
  }
  for (const auto &r : kxtest::read_csv(kxtest::data_path("math/geodesic_direct.csv"))) {
    double e2, lam, phi;
    const double a = spheroid(r[0], &e2), lat2 = num(r[6]) * kDeg;
    kx_geodesic_coordinate(a, e2, num(r[3]) * kDeg, num(r[2]) * kDeg, num(r[5]), num(r[4]) * kDeg, &lam, &phi);
    // Ground distance; longitude differences vanish at a pole.
    dir.add(r[0] + "-" + r[1] + " position",
            std::hypot((phi - lat2) * a, kx_delta(lam - num(r[7]) * kDeg) * a * std::cos(lat2)));
  }
  inv.check("inverse");
  dir.check("direct");
}

// The elliptic tables are space-separated.
std::vector<std::vector<double>> table(const char *name) {
  std::vector<std::vector<double>> rows;
  std::ifstream in(kxtest::data_path(std::string("math/") + name));
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    rows.emplace_back();
    for (std::string f; ls >> f;) rows.back().push_back(num(f));
  }
  EXPECT_GT(rows.size(), 10u) << name;
  return rows;
}

double rel(double got, double want) { return got == want ? 0.0 : std::fabs(got - want) / std::fabs(want); }
// Relative for large values, absolute near 0.
double scaled(cplx got, cplx want) { return got == want ? 0.0 : std::abs(got - want) / std::max(1.0, std::abs(want)); }

TEST(MathOracle, EllipticAgainstMpmath) {
  Worst w;
  for (const auto &r : table("elliptic_carlson.txt")) {
    w.add("R_F rel", rel(kx::carlson_rf(r[0], r[1], r[2]), r[3]));
    w.add("R_D rel", rel(kx::carlson_rd(r[0], r[1], r[2]), r[4]));
  }
  // E = R_F - m/3 R_D cancels as m -> 1, where both terms grow like log(1/m1).
  for (const auto &r : table("elliptic_complete.txt")) {
    w.add("K rel", rel(kx_ellint1(r[0]), r[1]));
    w.add(r[0] < 0.999 ? "E rel" : "E(m~1) rel", rel(kx_ellint2(r[0]), r[2]));
  }
  for (const auto &r : table("elliptic_incomplete.txt"))
    w.add(r[1] < 0.9 ? "E(phi|m)" : "E(phi|m~1)", scaled(kx_iellint2amp(r[0], r[1]), r[2]));
  for (const auto &r : table("elliptic_jacobi_real.txt")) {
    const double u = r[0], m = r[1];
    for (int k = 0; k < 3; ++k) w.add("sn/cn/dn", std::fabs((k == 0 ? kx_sn : k == 1 ? kx_cn : kx_dn)(u, m) - r[2 + k]));
    w.add(m <= 0.999 ? "E(am|m)" : "E(am|m~1)", scaled(kx_iellint2(u, m), r[5]));
  }
  for (const auto &r : table("elliptic_jacobi_complex.txt")) {
    const double m = r[2];
    auto z = [&](void (*fn)(double, double, double, double *, double *)) {
      double re, im;
      fn(r[0], r[1], m, &re, &im);
      return cplx(re, im);
    };
    const cplx f[4] = {z(kx_zsn), z(kx_zcn), z(kx_zdn), z(kx_ziellint2)};
    // Near Im u = K' the functions of y with m1 close to 1 are only as good
    // as the angle resolution near pi/2 allows: 1e-15/sqrt(m).
    const double tol = 3e-14 + (m > 0 && m < 0.5 ? 1e-15 / std::sqrt(m) : 0.0);
    for (int k = 0; k < 4; ++k) EXPECT_LE(scaled(f[k], cplx(r[3 + 2 * k], r[4 + 2 * k])), tol) << r[0] << " " << r[1] << " " << m;
    // The record forms give the same bits.
    kx_dcomp u{r[0], r[1]}, o{NAN, NAN}, e{NAN, NAN};
    ASSERT_EQ(kx_dcomp_sn(&o, u, m), &o);
    ASSERT_EQ(kx_dcomp_iellint2(&e, u, m), &e);
    EXPECT_TRUE(cplx(o.re, o.im) == f[0] && cplx(e.re, e.im) == f[3]);
  }
  w.check("elliptic");
}

}  // namespace
