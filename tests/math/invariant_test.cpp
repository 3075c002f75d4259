// Sweeps of the math functions against invariants and independent
// references: std::complex<double> on 20000 operands (|z| log-uniform in
// [1e-3, 1e3]), inverse functions and round trips, identities of the
// elliptic functions, planar predicates against an exact integer oracle,
// equal spacing of densified geodesics; null outputs are skipped everywhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "kx.h"

namespace {

using cplx = std::complex<double>;
constexpr double kPi = 3.141592653589793;
constexpr double kWgsA = 6378137.0, kWgsE2 = 0.0066943799901413165;

cplx call(void (*f)(double, double, double *, double *), cplx z) {
  double re = NAN, im = NAN;
  f(z.real(), z.imag(), &re, &im);
  return {re, im};
}
cplx call(kx_dcomp *(*f)(kx_dcomp *, kx_dcomp), cplx z) {
  kx_dcomp o{NAN, NAN};
  f(&o, {z.real(), z.imag()});
  return {o.re, o.im};
}
cplx zfn(void (*f)(double, double, double, double *, double *), cplx u, double m) {
  double re = NAN, im = NAN;
  f(u.real(), u.imag(), m, &re, &im);
  return {re, im};
}
cplx reciprocal(cplx z) { return 1.0 / z; }
// Relative to |want|, or to max(1, |want|).
double err(cplx got, cplx want, bool relative) {
  return std::abs(got - want) / (relative ? std::abs(want) : std::max(1.0, std::abs(want)));
}

cplx call(void (*f)(double, double, double, double, double *, double *), cplx a, cplx b) {
  double re = NAN, im = NAN;
  f(a.real(), a.imag(), b.real(), b.imag(), &re, &im);
  return {re, im};
}
cplx call(kx_dcomp *(*f)(kx_dcomp *, kx_dcomp, kx_dcomp), cplx a, cplx b) {
  kx_dcomp o{NAN, NAN};
  f(&o, {a.real(), a.imag()}, {b.real(), b.imag()});
  return {o.re, o.im};
}

TEST(MathSweep, ComplexAgainstStdComplex) {
  struct Case {
    const char *name;
    std::function<cplx(cplx, cplx)> got, want;
    double bound;
    bool relative;
  };
  // exp and the circular and hyperbolic functions on z/100, where they stay finite.
#define KX_Z(f, std_f, scale, bound, rel) \
  {#f, [](cplx z, cplx) { return call(kx_##f, z / (scale)); }, [](cplx z, cplx) { return std_f(z / (scale)); }, bound, rel}
#define KX_B(f, op, bound) {#f, [](cplx a, cplx b) { return call(kx_##f, a, b); }, [](cplx a, cplx b) { return a op b; }, bound, true}
  const std::vector<Case> cases = {
      KX_Z(zinv, reciprocal, 1.0, 4e-16, true),   KX_Z(dcomp_inv, reciprocal, 1.0, 4e-16, true),
      KX_Z(zexp, std::exp, 100.0, 4e-16, true),   KX_Z(dcomp_exp, std::exp, 100.0, 4e-16, true),
      KX_Z(zlog, std::log, 1.0, 4e-16, false),    KX_Z(dcomp_log, std::log, 1.0, 4e-16, false),
      KX_Z(zsqrt, std::sqrt, 1.0, 1e-15, true),   KX_Z(dcomp_sqrt, std::sqrt, 1.0, 1e-15, true),
      KX_Z(dcomp_sin, std::sin, 100.0, 4e-16, true), KX_Z(dcomp_cos, std::cos, 100.0, 4e-16, true),
      KX_Z(dcomp_sinh, std::sinh, 100.0, 4e-16, true), KX_Z(dcomp_cosh, std::cosh, 100.0, 4e-16, true),
      KX_Z(dcomp_tan, std::tan, 1.0, 1e-13, false), KX_Z(dcomp_tanh, std::tanh, 1.0, 1e-13, false),
      KX_Z(ztanh, std::tanh, 1.0, 1e-13, false),  KX_Z(zasin, std::asin, 1.0, 1e-13, false),
      KX_Z(dcomp_asin, std::asin, 1.0, 1e-13, false), KX_Z(zatan, std::atan, 1.0, 1e-13, false),
      KX_Z(dcomp_atan, std::atan, 1.0, 1e-13, false), KX_Z(zatanh, std::atanh, 1.0, 1e-13, false),
      KX_Z(dcomp_atanh, std::atanh, 1.0, 1e-13, false), KX_B(zmul, *, 4e-16), KX_B(dcomp_mult, *, 4e-16),
      KX_B(dcomp_div, /, 4e-16), KX_B(zdiv, /, 6e-16), KX_B(dcomp_add, +, 0.0), KX_B(dcomp_sub, -, 0.0)};
#undef KX_Z
#undef KX_B
  std::mt19937_64 gen(20240611);
  std::uniform_real_distribution<double> lg(-3, 3), ang(-kPi, kPi);
  std::vector<cplx> zs;
  for (int k = 0; k < 20001; ++k) zs.push_back(std::polar(std::pow(10.0, lg(gen)), ang(gen)));
  for (const Case &c : cases) {
    double worst = 0;
    for (int k = 0; k < 20000; ++k) worst = std::max(worst, err(c.got(zs[k], zs[k + 1]), c.want(zs[k], zs[k + 1]), c.relative));
    std::printf("  %-12s worst %.2e\n", c.name, worst);
    EXPECT_LE(worst, c.bound) << c.name;
  }
}

// sn^2 + cn^2 = 1, dn^2 + m sn^2 = 1 and the addition theorems of sn and E
// off the table's points.
TEST(MathSweep, ComplexEllipticIdentities) {
  std::mt19937_64 gen(11);
  std::uniform_real_distribution<double> dm(0, 1), dx(-6, 6);
  for (int i = 0; i < 2000; ++i) {
    const double m = dm(gen);
    const cplx u(dx(gen), dx(gen)), v(dx(gen) / 4, dx(gen) / 4);
    const cplx su = zfn(kx_zsn, u, m), cu = zfn(kx_zcn, u, m), du = zfn(kx_zdn, u, m);
    const double size = std::max(1.0, std::norm(su));
    if (size > 1e6) continue;  // close to a pole
    EXPECT_LE(std::abs(su * su + cu * cu - 1.0) / size, 1e-14) << u << " " << m;
    EXPECT_LE(std::abs(du * du + m * su * su - 1.0) / size, 1e-14) << u << " " << m;
    const cplx sv = zfn(kx_zsn, v, m), cv = zfn(kx_zcn, v, m), dv = zfn(kx_zdn, v, m);
    const cplx den = 1.0 - m * su * su * sv * sv, suv = zfn(kx_zsn, u + v, m);
    if (std::abs(den) < 1e-3) continue;
    EXPECT_LE(err(suv, (su * cv * dv + sv * cu * du) / den, false), 1e-13) << u << " " << v << " " << m;
    const cplx esum = zfn(kx_ziellint2, u, m) + zfn(kx_ziellint2, v, m) - m * su * sv * suv;
    EXPECT_LE(err(zfn(kx_ziellint2, u + v, m), esum, false), 1e-13) << u << " " << v << " " << m;
  }
}

TEST(MathSweep, AuxiliaryRoundTripsSymmetryAndGeocentric) {
  struct Pair {
    double (*to)(double, double), (*back)(double, double);
    double limit;  // the series truncation: e^8 for chi, e^6 for beta
    int odd;       // exactly odd: 1 the forward function, 2 both
  };
  const Pair pairs[] = {{kx_phi_to_chi, kx_chi_to_phi, 2.5e-12, 0}, {kx_phi_to_beta, kx_beta_to_phi, 2.5e-10, 2},
                        {kx_phi_to_mu, kx_mu_to_phi, 1e-12, 1},     {kx_phi_to_eta, kx_eta_to_phi, 1e-12, 0},
                        {kx_phi_to_phig, kx_phig_to_phi, 1e-12, 0}};
  for (const Pair &p : pairs) {
    double worst = 0;
    for (int k = -9000; k <= 9000; ++k) {
      const double phi = k * (kPi / 18000.0);
      worst = std::max(worst, std::fabs(p.back(kWgsE2, p.to(kWgsE2, phi)) - phi));
      if (k <= 0 || k >= 9000) continue;
      EXPECT_TRUE(p.odd < 1 || p.to(kWgsE2, -phi) == -p.to(kWgsE2, phi)) << phi;
      EXPECT_TRUE(p.odd < 2 || p.back(kWgsE2, -phi) == -p.back(kWgsE2, phi)) << phi;
    }
    EXPECT_LE(worst, p.limit);
  }
  for (double phi = -1.5; phi <= 1.5; phi += 0.1)
    EXPECT_NEAR(kx_phig_to_eta(kWgsE2, kx_phi_to_phig(kWgsE2, phi)), kx_phi_to_eta(kWgsE2, phi), 1e-15);
  // Geodetic -> geocentric -> geodetic; doubles resolve 0.93 nm at the
  // Earth's radius and 15 nm at 1e8 m, so the height error is per (a + h)/a.
  double worst_phi = 0, worst_lam = 0, worst_h = 0;
  for (double h : {-10000.0, -1000.0, -1.0, 0.0, 1.0, 100.0, 8848.0, 1e5, 1e6, 35786000.0, 1e7, 1e8}) {
    for (int i = -90; i <= 90; ++i) {
      const double phi = i * kPi / 180 * (std::abs(i) == 90 ? 1.0 : 0.9999), lam = kx_delta(i * 4.1 * kPi / 180);
      double x, y, z, p2, l2, h2;
      kx_curv_to_cart(kWgsA, kWgsE2, phi, lam, h, &x, &y, &z);
      kx_cart_to_curv(kWgsA, kWgsE2, x, y, z, &p2, &l2, &h2);
      worst_phi = std::max(worst_phi, std::fabs(p2 - phi));
      if (std::abs(i) != 90) worst_lam = std::max(worst_lam, std::fabs(kx_delta(l2 - lam)));
      worst_h = std::max(worst_h, std::fabs(h2 - h) / ((kWgsA + std::fabs(h)) / kWgsA));
    }
  }
  std::printf("  geocentric round trip: %.2e rad, %.2e rad, %.2e m per Earth radius\n", worst_phi, worst_lam, worst_h);
  EXPECT_LE(worst_phi, 1e-12);
  EXPECT_LE(worst_lam, 1e-12);
  EXPECT_LE(worst_h, 3.5e-9);
}

// Exact oracle on doubled integer points: inside a proper triangle, or on
// one of the sides of a degenerate one.
long long cross(const long long *x, const long long *y, int a, int b, long long px, long long py) {
  return (x[b] - x[a]) * (py - y[a]) - (y[b] - y[a]) * (px - x[a]);
}
bool on_side(const long long *x, const long long *y, int a, int b, long long px, long long py) {
  return cross(x, y, a, b, px, py) == 0 && px >= std::min(x[a], x[b]) && px <= std::max(x[a], x[b]) &&
         py >= std::min(y[a], y[b]) && py <= std::max(y[a], y[b]);
}
bool inside(const long long *x, const long long *y, long long px, long long py) {
  const long long s = cross(x, y, 0, 1, x[2], y[2]);
  if (s == 0) return on_side(x, y, 0, 1, px, py) || on_side(x, y, 1, 2, px, py) || on_side(x, y, 2, 0, px, py);
  return s * cross(x, y, 0, 1, px, py) >= 0 && s * cross(x, y, 1, 2, px, py) >= 0 && s * cross(x, y, 2, 0, px, py) >= 0;
}

TEST(MathSweep, PlanarPredicatesAgainstExactOracle) {
  std::mt19937_64 gen(17);
  std::uniform_int_distribution<int> small(-3, 3);
  static const int perms[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};
  long long mismatches = 0, in = 0, checked = 0;
  for (int k = 0; k < 3000; ++k) {
    long long x[3], y[3];
    for (int j = 0; j < 3; ++j) x[j] = 2 * small(gen), y[j] = 2 * small(gen);
    int8_t o = 99;
    kx_isccw(x[0], y[0], x[1], y[1], x[2], y[2], &o, nullptr);
    const long long c = cross(x, y, 0, 1, x[2], y[2]);
    EXPECT_EQ(o, c > 0 ? 1 : c < 0 ? -1 : 0);
    for (long long px = -7; px <= 7; ++px)
      for (long long py = -7; py <= 7; ++py) {
        const bool want = inside(x, y, px, py);
        in += want;
        for (const auto &p : perms) {  // every vertex order gives the same answer
          const int got = kx_intriangle(x[p[0]] / 2.0, y[p[0]] / 2.0, x[p[1]] / 2.0, y[p[1]] / 2.0, x[p[2]] / 2.0,
                                        y[p[2]] / 2.0, px / 2.0, py / 2.0);
          ++checked;
          if (got != (want ? 1 : 0) && ++mismatches < 5)
            ADD_FAILURE() << "(" << x[p[0]] << "," << y[p[0]] << ") (" << x[p[1]] << "," << y[p[1]] << ") ("
                          << x[p[2]] << "," << y[p[2]] << ") point (" << px << "," << py << ") halves: " << got;
        }
      }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(in * 6, checked / 20);  // the grid does cover the interiors
}

// Densified points are equally spaced along the line.
TEST(MathSweep, GeodesicDensification) {
  std::vector<double> pts(2 * 11);
  kx_geodesic_coordarray(kWgsA, kWgsE2, -1.0, 0.5, 2.0, -0.6, pts.data(), 11);
  double total, step;
  kx_geodesic_distance(kWgsA, kWgsE2, -1.0, 0.5, 2.0, -0.6, &total, nullptr, nullptr);
  for (int k = 1; k < 11; ++k) {
    kx_geodesic_distance(kWgsA, kWgsE2, pts[2 * k - 2], pts[2 * k - 1], pts[2 * k], pts[2 * k + 1], &step, nullptr,
                         nullptr);
    EXPECT_NEAR(step, total / 10, 2e-4) << k;
  }
}

}  // namespace
