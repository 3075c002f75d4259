// Elliptic integrals and Jacobi functions against mpmath at 30 digits
// (tests/scripts/gen_elliptic.py, data in tests/data/math/elliptic_*.txt) and
// against identities. Measured worst errors (x86-64 and -m32): R_F 4.8e-16,
// R_D 5.4e-16, K 4.3e-16, E 6.4e-16 relative (5.1e-15 as m -> 1); E(phi | m)
// 1e-15 of max(1, |E|) (3.1e-15 for m near 1); real sn, cn, dn 4e-15
// absolute for |u| <= 12; E(am u | m) 4e-15 (1.2e-14 near m = 1); complex
// sn, cn, dn, E(am u | m) 2.3e-14 of max(1, |f|) over three periods each way
// for m >= 1e-3, growing like 1e-15/sqrt(m) for smaller m (2.8e-10 at 1e-12).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "kx.h"
#include "math/math2.h"

namespace {

using Rows = std::vector<std::vector<double>>;
using cplx = std::complex<double>;
constexpr double kPi = 3.141592653589793;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

Rows read_rows(const char *name, size_t columns) {
  Rows rows;
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/math/" + name);
  EXPECT_TRUE(in.good()) << name;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::vector<double> row;
    std::string field;
    while (ls >> field) row.push_back(std::strtod(field.c_str(), nullptr));
    EXPECT_EQ(row.size(), columns) << line;
    if (row.size() == columns) rows.push_back(row);
  }
  EXPECT_GT(rows.size(), 10u) << name;
  return rows;
}

double rel(double got, double want) {
  if (got == want) return 0.0;
  return std::fabs(got - want) / std::fabs(want);
}

// Error relative to max(1, |want|): relative for large values, absolute near 0.
double scaled(double got, double want) {
  if (got == want) return 0.0;
  return std::fabs(got - want) / std::fmax(1.0, std::fabs(want));
}

double scaled(cplx got, cplx want) { return std::abs(got - want) / std::fmax(1.0, std::abs(want)); }

cplx zsn(cplx u, double m) {
  double re, im;
  kx_zsn(u.real(), u.imag(), m, &re, &im);
  return {re, im};
}
cplx zcn(cplx u, double m) {
  double re, im;
  kx_zcn(u.real(), u.imag(), m, &re, &im);
  return {re, im};
}
cplx zdn(cplx u, double m) {
  double re, im;
  kx_zdn(u.real(), u.imag(), m, &re, &im);
  return {re, im};
}
cplx zE(cplx u, double m) {
  double re, im;
  kx_ziellint2(u.real(), u.imag(), m, &re, &im);
  return {re, im};
}

TEST(Elliptic, CarlsonIntegralsAgainstMpmath) {
  double worst_f = 0, worst_d = 0;
  for (const auto &r : read_rows("elliptic_carlson.txt", 5)) {
    const double f = kx::carlson_rf(r[0], r[1], r[2]);
    const double d = kx::carlson_rd(r[0], r[1], r[2]);
    EXPECT_LE(rel(f, r[3]), 6e-16) << r[0] << " " << r[1] << " " << r[2];
    EXPECT_LE(rel(d, r[4]), 6e-16) << r[0] << " " << r[1] << " " << r[2];
    worst_f = std::fmax(worst_f, rel(f, r[3]));
    worst_d = std::fmax(worst_d, rel(d, r[4]));
  }
  std::printf("R_F worst relative error %.2e, R_D %.2e\n", worst_f, worst_d);

  // Homogeneity R_F(tx, ty, tz) = R_F(x, y, z)/sqrt(t), R_D of degree -3/2.
  EXPECT_NEAR(kx::carlson_rf(4, 8, 12), kx::carlson_rf(1, 2, 3) / 2.0, 1e-16);
  EXPECT_NEAR(kx::carlson_rd(4, 8, 12), kx::carlson_rd(1, 2, 3) / 8.0, 1e-16);
  // Closed forms: R_F(x, x, x) = 1/sqrt(x), R_D(x, x, x) = x^-3/2,
  // R_F(0, 1, 1) = pi/2.
  EXPECT_NEAR(kx::carlson_rf(0.25, 0.25, 0.25), 2.0, 4e-16);
  EXPECT_NEAR(kx::carlson_rd(4, 4, 4), 0.125, 1e-17);
  EXPECT_NEAR(kx::carlson_rf(0, 1, 1), kPi / 2, 4e-16);

  // Divergent, negative, NaN and infinite arguments end the duplication.
  EXPECT_EQ(kx::carlson_rf(0, 0, 1), kInf);
  EXPECT_EQ(kx::carlson_rd(0, 0, 1), kInf);
  EXPECT_EQ(kx::carlson_rd(1, 2, 0), kInf);
  EXPECT_TRUE(std::isnan(kx::carlson_rf(-1, 1, 1)));
  EXPECT_TRUE(std::isnan(kx::carlson_rd(1, -1, 1)));
  EXPECT_TRUE(std::isnan(kx::carlson_rf(kNaN, 1, 1)));
  EXPECT_TRUE(std::isnan(kx::carlson_rd(1, 1, kNaN)));
  EXPECT_TRUE(std::isnan(kx::carlson_rf(kInf, 1, 1)));
  EXPECT_TRUE(std::isnan(kx::carlson_rd(1, kInf, 1)));
}

TEST(Elliptic, CompleteIntegrals) {
  double worst_k = 0, worst_e = 0;
  for (const auto &r : read_rows("elliptic_complete.txt", 3)) {
    // E = R_F - m/3 R_D cancels as m -> 1, where both terms grow like log(1/m1).
    EXPECT_LE(rel(kx_ellint1(r[0]), r[1]), 5e-16) << "m " << r[0];
    EXPECT_LE(rel(kx_ellint2(r[0]), r[2]), r[0] < 0.999 ? 7e-16 : 6e-15) << "m " << r[0];
    worst_k = std::fmax(worst_k, rel(kx_ellint1(r[0]), r[1]));
    worst_e = std::fmax(worst_e, rel(kx_ellint2(r[0]), r[2]));
  }
  std::printf("K worst relative error %.2e, E %.2e\n", worst_k, worst_e);

  EXPECT_DOUBLE_EQ(kx_ellint1(0), kPi / 2);
  EXPECT_DOUBLE_EQ(kx_ellint2(0), kPi / 2);
  EXPECT_EQ(kx_ellint2(1), 1.0);
  EXPECT_EQ(kx_ellint1(1), kInf);
  // Legendre's relation E K' + E' K - K K' = pi/2.
  for (double m : {0.1, 0.35, 0.5, 0.9, 0.9999}) {
    const double k = kx_ellint1(m), e = kx_ellint2(m);
    const double kp = kx_ellint1(1 - m), ep = kx_ellint2(1 - m);
    EXPECT_NEAR(e * kp + ep * k - k * kp, kPi / 2, 2e-15) << m;
  }
  for (double m : {kNaN, kInf, -kInf, 1.5}) {
    EXPECT_TRUE(std::isnan(kx_ellint1(m))) << m;
    EXPECT_TRUE(std::isnan(kx_ellint2(m))) << m;
  }
}

TEST(Elliptic, IncompleteIntegralOfTheSecondKind) {
  double worst = 0;
  for (const auto &r : read_rows("elliptic_incomplete.txt", 3)) {
    const double e = kx_iellint2amp(r[0], r[1]);
    EXPECT_LE(scaled(e, r[2]), r[1] < 0.9 ? 1e-15 : 5e-15) << "phi " << r[0] << " m " << r[1];
    worst = std::fmax(worst, scaled(e, r[2]));
  }
  std::printf("E(phi|m) worst error %.2e\n", worst);
  // Odd, E(pi/2 | m) = E(m), and E(phi | 0) = phi.
  EXPECT_EQ(kx_iellint2amp(-0.8, 0.4), -kx_iellint2amp(0.8, 0.4));
  EXPECT_NEAR(kx_iellint2amp(kPi / 2, 0.7), kx_ellint2(0.7), 4e-16);
  EXPECT_NEAR(kx_iellint2amp(2.5, 0), 2.5, 1e-15);
  EXPECT_TRUE(std::isnan(kx_iellint2amp(kNaN, 0.3)));
  EXPECT_TRUE(std::isnan(kx_iellint2amp(kInf, 0.3)));
  EXPECT_TRUE(std::isnan(kx_iellint2amp(0.3, kNaN)));
  EXPECT_TRUE(std::isnan(kx_iellint2(kInf, 0.3)));
  EXPECT_TRUE(std::isnan(kx_iellint2(0.4, kNaN)));
  // Huge amplitudes end (the half-turn reduction shrinks them) with a finite value.
  EXPECT_TRUE(std::isfinite(kx_iellint2amp(1e300, 0.5)));
  EXPECT_TRUE(std::isfinite(kx_iellint2(1e300, 0.5)));
}

TEST(Elliptic, RealJacobiFunctionsAgainstMpmath) {
  double worst = 0, worst_e = 0;
  for (const auto &r : read_rows("elliptic_jacobi_real.txt", 6)) {
    const double u = r[0], m = r[1];
    const double sn = kx_sn(u, m), cn = kx_cn(u, m), dn = kx_dn(u, m);
    const double e = kx_iellint2(u, m);
    const double err = std::fmax(std::fabs(sn - r[2]), std::fmax(std::fabs(cn - r[3]), std::fabs(dn - r[4])));
    EXPECT_LE(err, 5e-15) << "u " << u << " m " << m;
    EXPECT_LE(scaled(e, r[5]), m <= 0.999 ? 4e-15 : 2e-14) << "u " << u << " m " << m;
    worst = std::fmax(worst, err);
    worst_e = std::fmax(worst_e, scaled(e, r[5]));
  }
  std::printf("real sn/cn/dn worst abs error %.2e, E(am u|m) %.2e\n", worst, worst_e);
}

TEST(Elliptic, RealJacobiEdgeCasesAndIdentities) {
  // m = 0: the AGM stops at once and the functions are circular.
  for (double u : {0.0, 0.3, kPi / 2, -2.0, 10.0}) {
    EXPECT_EQ(kx_sn(u, 0), std::sin(u));
    EXPECT_EQ(kx_cn(u, 0), std::cos(u));
    EXPECT_EQ(kx_dn(u, 0), 1.0);
  }
  // m = 1: hyperbolic limits (the Landen descent does not converge there).
  for (double u : {0.0, 0.4, -1.7, 3.0, 30.0, 800.0}) {
    EXPECT_NEAR(kx_sn(u, 1), std::tanh(u), 1e-16) << u;
    EXPECT_NEAR(kx_cn(u, 1), 1 / std::cosh(u), 1e-16) << u;
    EXPECT_NEAR(kx_dn(u, 1), 1 / std::cosh(u), 1e-16) << u;
    EXPECT_NEAR(kx_iellint2(u, 1), std::tanh(u), 1e-16) << u;
  }
  // dn(K) = sqrt(m1), sn(K) = 1 exactly where cos(phi1 - phi0) vanishes.
  for (double m : {0.00669438, 0.3, 0.8, 0.999}) {
    const double k = kx_ellint1(m);
    EXPECT_NEAR(kx_dn(k, m), std::sqrt(1 - m), 1e-15) << m;
    EXPECT_NEAR(kx_dn(3 * k, m), std::sqrt(1 - m), 1e-15) << m;
    EXPECT_NEAR(kx_sn(k, m), 1.0, 1e-15) << m;
    EXPECT_NEAR(kx_cn(k, m), 0.0, 1e-15) << m;
    EXPECT_NEAR(kx_iellint2(k, m), kx_ellint2(m), 1e-15) << m;
    // E(am(u + 2K)) = E(am u) + 2E: the amplitude keeps its half turns.
    EXPECT_NEAR(kx_iellint2(0.4 + 2 * k, m), kx_iellint2(0.4, m) + 2 * kx_ellint2(m), 2e-15);
  }
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> du(-20, 20), dm(0, 1);
  for (int i = 0; i < 2000; ++i) {
    const double u = du(gen), m = dm(gen);
    const double s = kx_sn(u, m), c = kx_cn(u, m), d = kx_dn(u, m);
    EXPECT_NEAR(s * s + c * c, 1.0, 4e-16);
    // dn = cos(phi0)/cos(phi1 - phi0) carries a few 1e-15, growing with |u|.
    EXPECT_NEAR(d * d + m * s * s, 1.0, 1.2e-14);
    EXPECT_EQ(kx_sn(-u, m), -s);
    EXPECT_EQ(kx_cn(-u, m), c);
  }
  // Bad input terminates with NaN (the AGM table is bounded).
  for (double m : {kNaN, kInf, -kInf, 2.0}) {
    EXPECT_TRUE(std::isnan(kx_sn(0.5, m))) << m;
    EXPECT_TRUE(std::isnan(kx_dn(0.5, m))) << m;
  }
  EXPECT_TRUE(std::isnan(kx_sn(kNaN, 0.5)));
  EXPECT_TRUE(std::isnan(kx_cn(kInf, 0.5)));
}

TEST(Elliptic, ComplexJacobiFunctionsAgainstMpmath) {
  double worst = 0, worst_e = 0;
  for (const auto &r : read_rows("elliptic_jacobi_complex.txt", 11)) {
    const cplx u(r[0], r[1]);
    const double m = r[2];
    const double err = std::fmax(scaled(zsn(u, m), cplx(r[3], r[4])),
                                 std::fmax(scaled(zcn(u, m), cplx(r[5], r[6])),
                                           scaled(zdn(u, m), cplx(r[7], r[8]))));
    const double err_e = scaled(zE(u, m), cplx(r[9], r[10]));
    // Near Im u = K' the functions of y with m1 = 1 - m close to 1 are only
    // as good as the angle resolution near pi/2 allows: 1e-15/sqrt(m).
    const double tol = 3e-14 + (m > 0 && m < 0.5 ? 1e-15 / std::sqrt(m) : 0.0);
    EXPECT_LE(err, tol) << "u " << r[0] << " " << r[1] << " m " << m;
    EXPECT_LE(err_e, tol) << "u " << r[0] << " " << r[1] << " m " << m;
    worst = std::fmax(worst, err);
    worst_e = std::fmax(worst_e, err_e);
    kx_dcomp z{r[0], r[1]}, out{kNaN, kNaN};
    EXPECT_EQ(kx_dcomp_sn(&out, z, m), &out);
    EXPECT_EQ(out.re, zsn(u, m).real());
    EXPECT_EQ(out.im, zsn(u, m).imag());
    EXPECT_EQ(kx_dcomp_iellint2(&out, z, m), &out);
    EXPECT_EQ(out.re, zE(u, m).real());
    EXPECT_EQ(out.im, zE(u, m).imag());
  }
  std::printf("complex sn/cn/dn worst error %.2e, E(am u|m) %.2e\n", worst, worst_e);
}

TEST(Elliptic, ComplexJacobiIdentities) {
  std::mt19937_64 gen(11);
  std::uniform_real_distribution<double> dx(-6, 6), dm(0, 1);
  for (int i = 0; i < 2000; ++i) {
    const double m = dm(gen);
    const cplx u(dx(gen), dx(gen)), v(dx(gen) / 4, dx(gen) / 4);
    const cplx s = zsn(u, m), c = zcn(u, m), d = zdn(u, m);
    const double size = std::fmax(1.0, std::norm(s));
    if (size > 1e6) continue;  // close to a pole
    EXPECT_LE(std::abs(s * s + c * c - 1.0) / size, 1e-14) << u << " " << m;
    EXPECT_LE(std::abs(d * d + m * s * s - 1.0) / size, 1e-14) << u << " " << m;
    // Addition theorem sn(u + v) = (sn u cn v dn v + sn v cn u dn u)/(1 - m sn^2 u sn^2 v).
    const cplx sv = zsn(v, m), cv = zcn(v, m), dv = zdn(v, m);
    const cplx den = 1.0 - m * s * s * sv * sv;
    if (std::abs(den) < 1e-3) continue;
    const cplx sum = (s * cv * dv + sv * c * d) / den;
    EXPECT_LE(scaled(zsn(u + v, m), sum), 1e-13) << u << " " << v << " " << m;
    // Epsilon addition: E(u + v) = E(u) + E(v) - m sn u sn v sn(u + v).
    const cplx esum = zE(u, m) + zE(v, m) - m * s * sv * zsn(u + v, m);
    EXPECT_LE(scaled(zE(u + v, m), esum), 1e-13) << u << " " << v << " " << m;
  }
  // On the real axis the complex functions are the real ones; sn(iy | m) = i sc(y | m1).
  for (double m : {0.0, 0.2, 0.9, 1.0}) {
    EXPECT_NEAR(zsn({0.7, 0}, m).real(), kx_sn(0.7, m), 1e-16);
    EXPECT_NEAR(zsn({0.7, 0}, m).imag(), 0.0, 1e-16);
    EXPECT_NEAR(zE({0.7, 0}, m).real(), kx_iellint2(0.7, m), 1e-16);
    EXPECT_NEAR(zsn({0, 0.5}, m).imag(), kx_sn(0.5, 1 - m) / kx_cn(0.5, 1 - m), 1e-15);
    EXPECT_NEAR(zdn({0, 0.5}, m).real(), kx_dn(0.5, 1 - m) / kx_cn(0.5, 1 - m), 1e-15);
  }
  // m = 0: circular functions of the complex argument; E(am u | 0) = u.
  const cplx u(0.8, -1.3);
  EXPECT_LE(std::abs(zsn(u, 0) - std::sin(u)), 1e-15);
  EXPECT_LE(std::abs(zcn(u, 0) - std::cos(u)), 1e-15);
  EXPECT_LE(std::abs(zE(u, 0) - u), 1e-15);
  // m = 1: hyperbolic ones.
  EXPECT_LE(std::abs(zsn(u, 1) - std::tanh(u)), 1e-15);
  EXPECT_LE(std::abs(zcn(u, 1) - 1.0 / std::cosh(u)), 1e-15);
  // The regular line Im u = K': sn(x + iK') = 1/(k sn x), E finite there.
  for (double m : {0.00669438, 0.5}) {
    const double kp = kx_ellint1(1 - m);
    const cplx w(0.6, kp);
    EXPECT_LE(scaled(zsn(w, m), 1.0 / (std::sqrt(m) * kx_sn(0.6, m))), 1e-14);
    EXPECT_TRUE(std::isfinite(zE(w, m).real()) && std::isfinite(zE(w, m).imag()));
  }
  // Null outputs are skipped, null result records returned as null.
  double re = 0;
  kx_zsn(0.3, 0.2, 0.5, &re, nullptr);
  EXPECT_EQ(re, zsn({0.3, 0.2}, 0.5).real());
  kx_ziellint2(0.3, 0.2, 0.5, nullptr, nullptr);
  EXPECT_EQ(kx_dcomp_sn(nullptr, kx_dcomp{0.3, 0.2}, 0.5), nullptr);
  EXPECT_EQ(kx_dcomp_iellint2(nullptr, kx_dcomp{0.3, 0.2}, 0.5), nullptr);
  // NaN input terminates.
  double im = 0;
  kx_zcn(kNaN, 0.1, 0.5, &re, &im);
  EXPECT_TRUE(std::isnan(re));
  kx_ziellint2(0.1, 0.2, kNaN, &re, &im);
  EXPECT_TRUE(std::isnan(re) && std::isnan(im));
}

}  // namespace
