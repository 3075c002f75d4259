// Ellipsoid auxiliary functions: radii of curvature, auxiliary latitudes,
// meridian arc, authalic radius, geodetic <-> geocentric conversion and a
// bracketing root finder.
//
// Methods and sources:
//  - conformal, authalic and rectifying latitudes and the meridian arc:
//    truncated trigonometric series in the multiple angles (Snyder, "Map
//    Projections - A Working Manual", USGS PP 1395, eqs. 3-5, 3-18, 3-24 and
//    3-26; meridian arc in the third flattening n after Helmert);
//  - authalic radius: series in e'^2 of the area of the ellipsoid;
//  - reduced and geocentric latitudes: closed forms;
//  - geocentric to geodetic: Bowring (1976) with one refinement;
//  - root finder: Brent's zeroin (Forsythe, Malcolm, Moler, "Computer Methods
//    for Mathematical Computations", 1977).
//
// Measured accuracy (WGS 84 and Clarke 1866, against the exact functions
// evaluated with mpmath at 40 digits, tests/scripts/gen_auxiliary.py); the
// series errors are their truncation:
//  - conformal chi(phi) 1.4e-12 rad, phi(chi) 2.1e-12 rad;
//  - authalic beta(phi) 2.2e-10 rad, phi(beta) 2.6e-10 rad (e^6 series);
//  - rectifying mu(phi) 7.8e-15 rad, phi(mu) 9.8e-14 rad;
//  - reduced and geocentric latitudes 2.2e-16 rad;
//  - meridian arc 69 nm, quarter meridian 2 nm, authalic radius 0.29 um;
//  - geodetic -> geocentric -> geodetic, h from -10 km to 100 000 km:
//    latitude 3.3e-16 rad, height 2.9e-9 m at the surface and 4.5e-8 m at
//    1e8 m, i.e. 3 ulp of the coordinates (a double resolves 0.93 nm at the
//    Earth's radius), so 1e-9 m is below what the input can carry;
//  - zeroin: within (pi/2) 2^-48 of the root, or where |f| <= 2^-48.
// The figures are asserted in tests/math/math_test.cpp.
#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"

#include <cmath>

namespace {

using kx::kEps;
using kx::kHalfPi;

using kx::multiples;
using kx::Multiples;
using kx::third_flattening;

double copy_sign_of(double value, double phi) { return phi < 0.0 ? -value : value; }

// Folds an angle into [0, pi/2] by its remainder modulo pi, as the reduced
// latitude functions require.
double fold_latitude(double x) {
  double t = std::fabs(std::fmod(x, kx::kPi));
  if (t > kHalfPi) t = kx::kPi - t;
  return t;
}

double nan_value() {
  double v;
  kx_double_nan(&v);
  return v;
}

// Generous bound on zeroin passes: a sign-changing function converges within
// about 48^2 evaluations; more means f gives no usable sign change.
constexpr int kZeroinMaxPasses = 10000;

}  // namespace

extern "C" {

KX_API double kx_delta(double angle) { return kx::reduce_angle(angle); }

KX_API int kx_eq(double x, double y) { return kx::near_eq(x, y) ? 1 : 0; }

KX_API double kx_w(double e2, double phi) {
  const double s = std::sin(phi);
  return std::sqrt(1.0 - e2 * s * s);
}

KX_API double kx_m(double a, double e2, double phi) {
  const double w = kx_w(e2, phi);
  return a * (1.0 - e2) / (w * w * w);
}

KX_API double kx_n(double a, double e2, double phi) { return a / kx_w(e2, phi); }

KX_API double kx_phi_to_chi(double e2, double phi) { return kx::geodetic_to_conformal(e2, phi); }

KX_API double kx_chi_to_phi(double e2, double chi) { return kx::conformal_to_geodetic(e2, chi); }

KX_API double kx_phi_to_beta(double e2, double phi) {
  const double x = std::fabs(phi);
  const double p2 = ((59.0 / 560.0 * e2 + 31.0 / 180.0) * e2 + 1.0 / 3.0) * e2;
  const double p4 = ((61.0 / 1260.0 * e2 + 17.0 / 360.0) * e2) * e2;
  const double p6 = ((383.0 / 45360.0 * e2) * e2) * e2;
  const double beta = x - p2 * std::sin(2.0 * x) + p4 * std::sin(4.0 * x) - p6 * std::sin(6.0 * x);
  return copy_sign_of(beta, phi);
}

KX_API double kx_beta_to_phi(double e2, double beta) {
  return kx::authalic_to_geodetic(e2, beta);
}

KX_API double kx_phi_to_mu(double e2, double phi) {
  const double n = third_flattening(e2);
  const double n2 = n * n, n3 = n2 * n, n4 = n2 * n2, n5 = n4 * n;
  const double x = std::fabs(phi);
  const double mu = x - (3.0 * n / 2.0 - 9.0 * n3 / 16.0 + 3.0 * n5 / 32.0) * std::sin(2.0 * x) +
                    (15.0 * n2 / 16.0 - 15.0 * n4 / 32.0) * std::sin(4.0 * x) -
                    (35.0 * n3 / 48.0 - 105.0 * n5 / 256.0) * std::sin(6.0 * x) +
                    (315.0 * n4 / 512.0) * std::sin(8.0 * x);
  return copy_sign_of(mu, phi);
}

KX_API double kx_mu_to_phi(double e2, double mu) { return kx::rectifying_to_geodetic(e2, mu); }

KX_API double kx_q(double a, double e2, double phi) { return kx::meridian_arc(a, e2, phi); }

KX_API double kx_q90(double a, double e2) {
  const double n = third_flattening(e2);
  const double n2 = n * n, n4 = n2 * n2;
  return a / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0) * kHalfPi;
}

KX_API double kx_auth_r(double a, double e2) {
  const double ep2 = e2 / (1.0 - e2);
  const double c = a / std::sqrt(1.0 - e2);
  const double s =
      1.0 + ep2 * (-2.0 / 3.0 +
                   ep2 * (26.0 / 45.0 +
                          ep2 * (-100.0 / 189.0 + ep2 * (7034.0 / 14175.0 + ep2 * (-220652.0 / 467775.0)))));
  return c * s;
}

KX_API double kx_phi_to_eta(double e2, double phi) {
  const double t = fold_latitude(phi);
  const double eta = kx::near_eq(t, kHalfPi) ? t : std::atan2(std::sqrt(1.0 - e2) * std::tan(t), 1.0);
  return std::sin(phi) >= 0.0 ? eta : -eta;
}

KX_API double kx_eta_to_phi(double e2, double eta) {
  const double t = fold_latitude(eta);
  const double phi = kx::near_eq(t, kHalfPi) ? t : std::atan2(std::tan(t) / std::sqrt(1.0 - e2), 1.0);
  return std::sin(eta) >= 0.0 ? phi : -phi;
}

KX_API double kx_phi_to_phig(double e2, double phi) {
  return std::atan2((1.0 - e2) * std::sin(phi), std::cos(phi));
}

KX_API double kx_phig_to_phi(double e2, double phig) {
  return std::atan2(std::sin(phig), (1.0 - e2) * std::cos(phig));
}

KX_API double kx_phig_to_eta(double e2, double phig) {
  return std::atan2(std::sin(phig), std::sqrt(1.0 - e2) * std::cos(phig));
}

KX_API void kx_curv_to_cart(double a, double e2, double phi, double lambda, double h, double *x,
                            double *y, double *z) {
  const double n = kx_n(a, e2, phi);
  const double cphi = std::cos(phi), sphi = std::sin(phi);
  if (x) *x = (n + h) * cphi * std::cos(lambda);
  if (y) *y = (n + h) * cphi * std::sin(lambda);
  if (z) *z = ((1.0 - e2) * n + h) * sphi;
}

KX_API void kx_cart_to_curv(double a, double e2, double x, double y, double z, double *phi,
                            double *lambda, double *h) {
  const double p = std::sqrt(x * x + y * y);
  const double b = a * std::sqrt(1.0 - e2);
  const double ep2b = b * e2 / (1.0 - e2);
  double ph, lam, hh;
  if (kx::near_eq(p, 0.0)) {
    lam = 0.0;
    ph = z >= 0.0 ? kHalfPi : -kHalfPi;
    hh = std::fabs(z) - b;
  } else {
    lam = std::atan2(y, x);
    // Each angle enters only through its sine and cosine, so theta is kept as
    // the direction (cos, sin) and phi as the numerator and (folded)
    // denominator of its atan2: the same values as the trigonometric
    // formulation, with two square roots in place of each sin/cos/tan.
    auto latitude = [&](double ct, double st, double &num, double &den) {
      num = z + ep2b * st * st * st;
      // Folding phi back into [-pi/2, pi/2] is taking |den|.
      den = std::fabs(p - e2 * a * ct * ct * ct);
    };
    // Direction of theta = atan2((b/a) tan phi, 1) from phi's atan2 pair.
    auto reduced = [&](double num, double den, double &ct, double &st) {
      const double u = a * den, v = b * num;
      const double r = std::sqrt(u * u + v * v);
      ct = u / r;
      st = v / r;
    };
    double ct, st, num, den;
    {
      const double u = b * p, v = a * z;
      const double r = std::sqrt(u * u + v * v);
      ct = u / r;
      st = v / r;
    }
    latitude(ct, st, num, den);
    reduced(num, den, ct, st);
    latitude(ct, st, num, den);
    ph = std::atan2(num, den);
    reduced(num, den, ct, st);
    const double r = std::sqrt(num * num + den * den);
    hh = num / r * (z - b * st) + den / r * (p - a * ct);
  }
  if (phi) *phi = ph;
  if (lambda) *lambda = lam;
  if (h) *h = hh;
}

KX_API double kx_zeroin(void *data, double (*f)(double x, void *data)) {
  if (!f) return nan_value();
  const double tol = kHalfPi * kEps;
  double a = 0.0, b = kHalfPi;
  double fa = f(a, data), fb = f(b, data);
  double c = a, fc = fa;
  for (int pass = 0; pass < kZeroinMaxPasses; ++pass) {
    // A NaN value carries no sign: no bracket can be kept, so the search fails.
    if (std::isnan(fa) || std::isnan(fb) || std::isnan(fc)) return nan_value();
    const double prev = b - a;
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    double step = (c - b) / 2.0;
    if (std::fabs(step) <= tol || std::fabs(fb) <= kEps) return b;
    if (std::fabs(prev) >= tol && std::fabs(fa) > std::fabs(fb)) {
      const double cb = c - b;
      double p, q;
      if (kx::near_eq(a, c)) {
        const double t1 = fb / fa;
        p = cb * t1;
        q = 1.0 - t1;
      } else {
        const double qq = fa / fc, t1 = fb / fc, t2 = fb / fa;
        p = t2 * (cb * qq * (qq - t1) - (b - a) * (t1 - 1.0));
        q = (qq - 1.0) * (t1 - 1.0) * (t2 - 1.0);
      }
      if (p > 0.0)
        q = -q;
      else
        p = -p;
      if (2.0 * p < 1.5 * cb * q - std::fabs(tol * q) && 2.0 * p < std::fabs(prev * q)) step = p / q;
    }
    if (std::fabs(step) < tol) step = step >= 0.0 ? tol : -tol;
    a = b;
    fa = fb;
    b = b + step;
    fb = f(b, data);
    if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
      c = a;
      fc = fa;
    }
  }
  return nan_value();
}

}  // extern "C"
