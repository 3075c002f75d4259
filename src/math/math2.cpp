// Elliptic integrals and Jacobi elliptic functions.
//
// Method: Carlson's duplication algorithm for R_F and R_D with the fifth-order
// closing series (B. C. Carlson, "Numerical computation of real or complex
// elliptic integrals", Numer. Algorithms 10, 1995; coefficients as in
// Numerical Recipes), K and E through R_F and R_D; the Jacobi functions by the
// descending Landen transformation over an AGM table (Abramowitz and Stegun
// 16.4); complex arguments by the addition theorems (A&S 16.21, and the
// addition theorem of Jacobi's epsilon function with the imaginary
// transformation for E(am iy | m)).
//
// Measured against mpmath at 30 digits (tests/scripts/gen_elliptic.py):
// R_F 4.8e-16 and R_D 5.4e-16 relative; K 4.3e-16; E 6.4e-16 (5.1e-15 as
// m -> 1, where R_F and m/3 R_D both grow like log(1/m1) and cancel);
// E(phi | m) 1e-15 of max(1, |E|) for m < 0.9, 3.1e-15 up to m = 1 - 1e-6;
// real sn, cn, dn 4e-15 absolute for |u| <= 12 and -3 <= m <= 1 (the error
// grows like |u| * 2^-53 with the argument) and E(am u | m) 4e-15 of
// max(1, |E|) (1.2e-14 within 1e-3 of m = 1); complex sn, cn, dn and
// E(am u | m) 2.3e-14 of max(1, |f|) over |Re u| <= 3K, |Im u| <= 3K' for
// 1e-3 <= m <= 1 and m = 0, growing like 1e-15/sqrt(m) below (4.9e-13 at
// m = 1e-6, 2.8e-10 at m = 1e-12: near Im u = K' the functions of y with
// m1 close to 1 are only as good as the angle resolution near pi/2).
//
// Sound behaviour where the bare formulas fail:
//  - the functions of y take the parameter m1 with its exact complement m
//    (b0 = sqrt(m)), since 1 - (1 - m) differs from a tiny m by up to
//    2e-5 relative at m = 1e-12 and moves K(m1), hence the poles;
//  - the Landen step forms asin(k sin phi) from 1 - k = b_{n-1}/a_n when the
//    argument is near 1 (m near 1), where asin magnifies its rounding;
//  - every duplication loop is bounded, so NaN or infinite input ends in NaN;
//    divergent integrals (K(1)) give +infinity and E(1) = 1;
//  - m = 1 (AGM(1, 0) = 0, where the Landen descent does not converge) uses
//    sn = tanh, cn = dn = sech; N = 0 gives dn = 1 without an undefined phi_1;
//  - dn comes from sqrt(m1 + m cn^2) where cos(phi_1 - phi_0) is small, since
//    the ratio cos(phi_0)/cos(phi_1 - phi_0) is 0/0 at u = K (odd multiples);
//  - E(am u | m) keeps the sign of cn and the half turns of the amplitude
//    (E(phi + n pi) = E(phi) + 2 n E), and takes c^2 = cn^2 rather than
//    1 - sn^2, which loses half the digits near u = K (5e-10 at K - 1e-9),
//    and 1 - m s^2 as m1 + m c^2;
//  - the imaginary part of the complex E takes d1 s1 c1 d^2 / delta, the same
//    quantity as d1 s1 / c1 (1 - m s^2 / delta) without the division by
//    c1 = cn(y | m1), which vanishes at Im u = K' on the regular line
//    u = x + iK'.
#include "math/math2.h"

#include <cmath>
#include <limits>

#include "kx.h"
#include "math/math_common.h"

namespace kx {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The duplication shrinks the deltas by about 4 per step once the arguments
// are of one size; 100 steps cover every finite input with room to spare.
constexpr int kMaxDuplications = 100;
constexpr double kCarlsonTol = 0.001;
constexpr int kAgmTable = 50;

bool valid_carlson_args(double x, double y, double z) {
  return x >= 0.0 && y >= 0.0 && z >= 0.0 && std::isfinite(x) && std::isfinite(y) &&
         std::isfinite(z);
}

}  // namespace

double carlson_rf(double x, double y, double z) {
  if (!valid_carlson_args(x, y, z)) return kNaN;
  if ((x == 0.0) + (y == 0.0) + (z == 0.0) >= 2) return kInf;
  double mu = 0.0, dx = 0.0, dy = 0.0, dz = 0.0;
  for (int i = 0;; ++i) {
    mu = (x + y + z) / 3.0;
    dx = (mu - x) / mu;
    dy = (mu - y) / mu;
    dz = (mu - z) / mu;
    if (std::fabs(dx) <= kCarlsonTol && std::fabs(dy) <= kCarlsonTol &&
        std::fabs(dz) <= kCarlsonTol)
      break;
    if (i == kMaxDuplications) return kNaN;
    const double sx = std::sqrt(x), sy = std::sqrt(y), sz = std::sqrt(z);
    const double lambda = sx * (sy + sz) + sy * sz;
    x = (x + lambda) / 4.0;
    y = (y + lambda) / 4.0;
    z = (z + lambda) / 4.0;
  }
  const double e2 = dx * dy - dz * dz;
  const double e3 = dx * dy * dz;
  return (1.0 + (0.041666666666666664 * e2 - 0.1 - 0.06818181818181818 * e3) * e2 +
          0.07142857142857142 * e3) /
         std::sqrt(mu);
}

double carlson_rd(double x, double y, double z) {
  if (!valid_carlson_args(x, y, z)) return kNaN;
  if (z == 0.0 || (x == 0.0 && y == 0.0)) return kInf;
  constexpr double c1 = 0.21428571428571427;  // 3/14
  constexpr double c2 = 0.16666666666666666;  // 1/6
  constexpr double c3 = 0.4090909090909091;   // 9/22
  constexpr double c4 = 0.11538461538461539;  // 3/26
  constexpr double c5 = 0.25 * c3;
  constexpr double c6 = 1.5 * c4;
  double sum = 0.0, fac = 1.0;
  double mu = 0.0, dx = 0.0, dy = 0.0, dz = 0.0;
  for (int i = 0;; ++i) {
    mu = 0.2 * (x + y + 3.0 * z);
    dx = (mu - x) / mu;
    dy = (mu - y) / mu;
    dz = (mu - z) / mu;
    if (std::fabs(dx) <= kCarlsonTol && std::fabs(dy) <= kCarlsonTol &&
        std::fabs(dz) <= kCarlsonTol)
      break;
    if (i == kMaxDuplications) return kNaN;
    const double sx = std::sqrt(x), sy = std::sqrt(y), sz = std::sqrt(z);
    const double lambda = sx * (sy + sz) + sy * sz;
    sum += fac / (sz * (z + lambda));
    fac *= 0.25;
    x = (x + lambda) / 4.0;
    y = (y + lambda) / 4.0;
    z = (z + lambda) / 4.0;
  }
  const double ea = dx * dy;
  const double eb = dz * dz;
  const double ec = ea - eb;
  const double ed = ea - 6.0 * eb;
  const double ee = ed + ec + ec;
  return 3.0 * sum + fac *
                         (1.0 + ed * (-c1 + c5 * ed - c6 * dz * ee) +
                          dz * (c2 * ee + dz * (-c3 * ec + dz * c4 * ea))) /
                         (mu * std::sqrt(mu));
}

namespace {

// asin(k sin phi) of one Landen step, with q = 1 - k known without
// cancellation (1 - c_n/a_n = b_{n-1}/a_n). Near m = 1 the first steps have k
// close to 1 and the argument close to 1, where asin magnifies the rounding of
// the argument; there the distance 1 - k |sin phi| is formed from q and the
// distance of phi to the nearest odd multiple of pi/2 instead.
double landen_asin(double k, double q, double phi) {
  const double s = std::sin(phi);
  const double x = k * s;
  if (!(std::fabs(x) > 0.5)) return std::asin(x);
  const double t = kHalfPi - std::fabs(std::remainder(phi, kPi));  // |sin phi| = cos t
  const double h = std::sin(t / 2.0);
  const double gap = q + k * 2.0 * h * h;                            // 1 - k |sin phi|
  const double r = kHalfPi - 2.0 * std::asin(std::sqrt(gap / 2.0));
  return x < 0.0 ? -r : r;
}

}  // namespace

JacobiReal jacobi_real(double u, double m) { return jacobi_real(u, m, 1.0 - m); }

JacobiReal jacobi_real(double u, double m, double mc) {
  if (mc == 0.0) {
    // AGM(1, 0) = 0: the limit functions in closed form.
    const double ch = std::cosh(u);
    return {std::atan(std::sinh(u)), std::tanh(u), 1.0 / ch, 1.0 / ch};
  }
  double a[kAgmTable], b[kAgmTable], c[kAgmTable];
  a[0] = 1.0;
  b[0] = std::sqrt(mc);
  c[0] = std::sqrt(m);
  int n = 0;
  if (!(std::fabs(c[0]) <= kEps)) {
    for (n = 1; n < kAgmTable; ++n) {
      a[n] = (a[n - 1] + b[n - 1]) / 2.0;
      b[n] = std::sqrt(a[n - 1] * b[n - 1]);
      c[n] = (a[n - 1] - b[n - 1]) / 2.0;
      if (std::fabs(c[n]) <= kEps) break;
    }
    if (n == kAgmTable) n = kAgmTable - 1;
  }
  const double *bprev = b;
  if (n == 0) return {u, std::sin(u), std::cos(u), 1.0};
  double phi = std::ldexp(a[n] * u, n);
  double phi1 = phi;
  for (int i = n; i >= 1; --i) {
    phi1 = phi;
    phi = (landen_asin(c[i] / a[i], bprev[i - 1] / a[i], phi) + phi) / 2.0;
  }
  const double sn = std::sin(phi), cn = std::cos(phi);
  const double den = std::cos(phi1 - phi);
  // Near u = K both cosines vanish together and their ratio is rounding noise.
  const double dn = std::fabs(den) >= 0.5 ? cn / den : std::sqrt(mc + m * cn * cn);
  return {phi, sn, cn, dn};
}

namespace {

double ellint2_complete(double m, double mc) {
  if (mc == 0.0) return 1.0;  // R_F and R_D both diverge; their difference does not
  return carlson_rf(0.0, mc, 1.0) - (m / 3.0) * carlson_rd(0.0, mc, 1.0);
}

// E(phi | m) through Carlson's integrals, with the half turns of the amplitude
// counted separately; s = sin phi, c = cos phi.
double ellint2_amp(double phi, double m, double mc) {
  if (!std::isfinite(phi) || std::isnan(m)) return kNaN;
  const double turns = std::nearbyint(phi / kPi);
  if (turns != 0.0) {
    const double rest = ellint2_amp(phi - turns * kPi, m, mc);
    return 2.0 * turns * ellint2_complete(m, mc) + rest;
  }
  const double s = std::sin(phi);
  if (mc == 0.0) return s;
  const double c = std::cos(phi);
  const double x = c * c, y = mc + m * c * c;  // 1 - m s^2 without cancellation
  return s * carlson_rf(x, y, 1.0) - (m / 3.0) * s * s * s * carlson_rd(x, y, 1.0);
}

struct Parts {
  JacobiReal r, i;  // functions of x with m, of y with m1
  double delta;
};

Parts complex_parts(double x, double y, double m) {
  Parts p{jacobi_real(x, m, 1.0 - m), jacobi_real(y, 1.0 - m, m), 0.0};
  const double s = p.r.sn, s1 = p.i.sn, c1 = p.i.cn;
  p.delta = c1 * c1 + m * s * s * s1 * s1;
  return p;
}

void put(double re, double im, double *out_re, double *out_im) {
  if (out_re) *out_re = re;
  if (out_im) *out_im = im;
}

}  // namespace
}  // namespace kx

using kx::JacobiReal;

extern "C" {

KX_API double kx_ellint1(double m) { return kx::carlson_rf(0.0, 1.0 - m, 1.0); }

KX_API double kx_ellint2(double m) {
  return kx::ellint2_complete(m, 1.0 - m);
}

KX_API double kx_iellint2(double u, double m) {
  if (!std::isfinite(u)) return kx::kNaN;
  return kx::ellint2_amp(kx::jacobi_real(u, m).am, m, 1.0 - m);
}

KX_API double kx_iellint2amp(double phi, double m) { return kx::ellint2_amp(phi, m, 1.0 - m); }

KX_API double kx_sn(double u, double m) { return kx::jacobi_real(u, m).sn; }
KX_API double kx_cn(double u, double m) { return kx::jacobi_real(u, m).cn; }
KX_API double kx_dn(double u, double m) { return kx::jacobi_real(u, m).dn; }

KX_API void kx_zsn(double x, double y, double m, double *re, double *im) {
  const kx::Parts p = kx::complex_parts(x, y, m);
  kx::put(p.r.sn * p.i.dn / p.delta, p.r.cn * p.r.dn * p.i.sn * p.i.cn / p.delta, re, im);
}

KX_API void kx_zcn(double x, double y, double m, double *re, double *im) {
  const kx::Parts p = kx::complex_parts(x, y, m);
  kx::put(p.r.cn * p.i.cn / p.delta, -p.r.sn * p.r.dn * p.i.sn * p.i.dn / p.delta, re, im);
}

KX_API void kx_zdn(double x, double y, double m, double *re, double *im) {
  const kx::Parts p = kx::complex_parts(x, y, m);
  kx::put(p.r.dn * p.i.cn * p.i.dn / p.delta, -m * p.r.sn * p.r.cn * p.i.sn / p.delta, re, im);
}

KX_API void kx_ziellint2(double x, double y, double m, double *re, double *im) {
  const kx::Parts p = kx::complex_parts(x, y, m);
  const double s = p.r.sn, c = p.r.cn, d = p.r.dn;
  const double s1 = p.i.sn, c1 = p.i.cn, d1 = p.i.dn;
  // E(am y | m1) with the exact complement m of m1 (see jacobi_real).
  const double ex = std::isfinite(x) ? kx::ellint2_amp(p.r.am, m, 1.0 - m) : kx::kNaN;
  const double ey = std::isfinite(y) ? kx::ellint2_amp(p.i.am, 1.0 - m, m) : kx::kNaN;
  kx::put(ex + m * s * c * d * s1 * s1 / p.delta, y - ey + d1 * s1 * c1 * d * d / p.delta, re,
          im);
}

KX_API kx_dcomp *kx_dcomp_sn(kx_dcomp *result, kx_dcomp z, double m) {
  if (result) kx_zsn(z.re, z.im, m, &result->re, &result->im);
  return result;
}

KX_API kx_dcomp *kx_dcomp_iellint2(kx_dcomp *result, kx_dcomp z, double m) {
  if (result) kx_ziellint2(z.re, z.im, m, &result->re, &result->im);
  return result;
}

}  // extern "C"
