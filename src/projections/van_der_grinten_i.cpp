// Van der Grinten I projection on the sphere of radius a: the world in a
// circle of radius pi a, meridians and parallels circular arcs.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395,
// 1987), eqs. 29-1..29-6 (forward) and 29-7..29-15 (inverse, the roots of
// a cubic in trigonometric form).
//
// The inverse on the central meridian is taken directly from the forward's
// y = pi a tan(theta/2): the cubic's acos next to 1 put the poles 7e-7
// degrees off.
//
// Measured accuracy against a 40-digit evaluation of the same formulas
// (tests/scripts/world_formulas.py): forward within 0.49 um, inverse within
// 3.6e-7 degrees (4 cm), round trips within 6.2e-7 degrees: the cubic's
// trigonometric root loses half the digits next to the equator and the rim.
// PROJ 9.1 (+proj=vandg) is up to 60 m away next to the equator and 69 um
// next to the central meridian, so the expected values are the formula's.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

using kx::kPi;

double signed_like(double value, double sign_of) { return sign_of < 0.0 ? -value : value; }

}  // namespace

extern "C" {

KX_API int kx_van_der_grinten_i_fwd(const double *sph, const double *par, int n, double *coords,
                                    const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double phi = y, dlam = kx_delta(x - lam0);
    if (kx::near_eq(phi, 0.0)) {
      x = a * dlam;
      y = 0.0;
      return true;
    }
    const double sin_t = std::fmin(std::fabs(2.0 * phi / kPi), 1.0);
    const double theta = std::asin(sin_t);
    if (kx::near_eq(dlam, 0.0) || kx::is_pole(phi)) {
      x = 0.0;
      y = signed_like(kPi * a * std::tan(theta / 2.0), phi);
      return true;
    }
    const double cos_t = std::cos(theta);
    const double A = 0.5 * std::fabs(kPi / dlam - dlam / kPi);
    const double G = cos_t / (sin_t + cos_t - 1.0);
    const double P = G * (2.0 / sin_t - 1.0);
    const double Q = A * A + G;
    const double P2 = P * P, A2 = A * A, GP = G - P2, den = P2 + A2;
    x = signed_like(kPi * a * (A * GP + std::sqrt(A2 * GP * GP - den * (G * G - P2))) / den, dlam);
    y = signed_like(kPi * a * (P * Q - A * std::sqrt((A2 + 1.0) * den - Q * Q)) / den, phi);
    return true;
  });
}

KX_API int kx_van_der_grinten_i_inv(const double *sph, const double *par, int n, double *coords,
                                    const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double X = x / (kPi * a), Y = y / (kPi * a);
    const double X2 = X * X, Y2 = Y * Y, r2 = X2 + Y2;
    // The map is the circle of radius pi a; beyond it (and rounding) no
    // point projects, and the central meridian's direct form would fold
    // such a point back onto the map.
    if (r2 > 1.0 + 1e-12) return false;
    const double c1 = -std::fabs(Y) * (1.0 + r2);
    const double c2 = c1 - 2.0 * Y2 + X2;
    const double c3 = -2.0 * c1 + 1.0 + 2.0 * Y2 + r2 * r2;
    const double d =
        Y2 / c3 + (2.0 * c2 * c2 * c2 / (c3 * c3 * c3) - 9.0 * c1 * c2 / (c3 * c3)) / 27.0;
    const double a1 = (c1 - c2 * c2 / (3.0 * c3)) / c3;
    const double m1 = 2.0 * std::sqrt(std::fabs(a1) / 3.0);
    double phi = 0.0;
    if (kx::near_eq(X, 0.0)) {
      // The central meridian, where the forward's y = pi a tan(theta/2) with
      // sin theta = |2 phi / pi| inverts directly: the cubic's acos next to
      // 1 would put the pole 1e-7 degrees off.
      phi = signed_like(kx::kHalfPi * std::sin(2.0 * std::atan(std::fabs(Y))), y);
    } else if (!kx::near_eq(m1, 0.0)) {
      const double theta1 = std::acos(kx::world::clamp_unit(3.0 * d / (a1 * m1))) / 3.0;
      phi = signed_like(kPi * (-m1 * std::cos(theta1 + kPi / 3.0) - c2 / (3.0 * c3)), y);
    }
    const double dlam =
        kx::near_eq(X, 0.0)
            ? 0.0
            : kPi * (r2 - 1.0 + std::sqrt(1.0 + 2.0 * (X2 - Y2) + r2 * r2)) / (2.0 * X);
    x = kx::world::longitude(lam0, dlam);
    y = phi;
    return true;
  });
}

}  // extern "C"
