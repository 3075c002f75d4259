// Mollweide projection on the sphere of radius a (equal-area, elliptical
// meridians): the auxiliary angle theta solves 2 theta + sin 2 theta =
// pi sin phi; x = (2 sqrt 2 / pi) a dlambda cos theta, y = sqrt 2 a sin theta.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 31-1..31-6. theta by Newton's method rather than the library's
// zeroin, for speed (zeroin made the forward half as fast as PROJ) and
// accuracy: zeroin stops where |f| <= 2^-48, and next to the poles, where
// f' vanishes and pi sin phi has lost its last digits, that left x 15 cm off
// at 89.9999 degrees and 128 m at 89.999999 (180 degrees from the central
// meridian); there the equation is solved for the distances from the pole.
//
// Measured accuracy against PROJ 9.1 (+proj=moll +R=a, tests/scripts/
// gen_projections.py): forward within 28 nm, inverse within 1.9e-13
// degrees, away from the poles. From 1e-3 to 1e-6 degrees off a pole,
// against 40-digit roots (tests/scripts/world_formulas.py), forward within
// 0.3 um and inverse within 8.2e-12 degrees; PROJ's iteration stops up to
// 22 m short there, and at a pole it puts x 62 m off the central meridian.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

struct Constants {
  double c1;  // sqrt 2 a
  double c2;  // 2 sqrt 2 a / pi
};

// u - sin u without cancellation for small u (series to u^11).
double u_minus_sin(double u) {
  if (u > 0.1) return u - std::sin(u);
  const double u2 = u * u;
  return u * u2 *
         (1.0 / 6 - u2 * (1.0 / 120 - u2 * (1.0 / 5040 - u2 * (1.0 / 362880 - u2 / 39916800))));
}

// theta for |phi|. Away from the poles Newton's method on t + sin t =
// pi sin phi with t = 2 theta (Snyder 31-4), from t = phi: four to six
// steps, where the library's zeroin took 1.2 us a point. Within 0.25 rad of
// a pole, where that equation loses the digits that place theta, Newton's
// method on the same equation written for the distances from the pole,
// delta = pi/2 - theta and psi = pi/2 - |phi|: 2 delta - sin 2 delta =
// 2 pi sin^2(psi/2), from its leading term (4/3) delta^3.
double auxiliary_angle(double abs_phi) {
  const double psi = kx::kHalfPi - abs_phi;
  if (psi > 0.25) {
    const double target = kx::kPi * std::sin(abs_phi);
    // t / phi runs from pi/2 at the equator to 2 at the pole; this start is
    // within 2.5 % of the root, and the step after one of 1e-8 leaves
    // |error| < tan(t/2) h^2 / 2 < 1e-16.
    const double q = abs_phi / kx::kHalfPi, q2 = q * q;
    double t = abs_phi * (kx::kHalfPi + (2.0 - kx::kHalfPi) * q2 * q2);
    for (int step = 0; step < 30; ++step) {
      const double h = (t + std::sin(t) - target) / (1.0 + std::cos(t));
      t -= h;
      if (!(std::fabs(h) > 1e-8)) break;
    }
    return t / 2.0;
  }
  const double s = std::sin(psi / 2.0), rhs = 2.0 * kx::kPi * s * s;
  double delta = std::cbrt(0.75 * rhs);
  if (!(delta > 0.0)) return kx::kHalfPi;  // the pole itself
  for (int step = 0; step < 30; ++step) {
    const double sd = std::sin(delta);
    const double h = (u_minus_sin(2.0 * delta) - rhs) / (4.0 * sd * sd);
    delta = std::fmax(delta - h, 0.0);
    // Quadratic convergence: the error after a step h is about h^2 / delta.
    if (!(std::fabs(h) > 1e-9 * delta) || delta == 0.0) break;
  }
  return kx::kHalfPi - delta;
}

Constants build(const double *sph) {
  const double c1 = std::sqrt(2.0) * sph[0];
  return {c1, c1 / kx::kHalfPi};
}

}  // namespace

extern "C" {

KX_API int kx_mollweide_const(kx_pcsconstants pc, const double *sph, const double *par) {
  return kx::world::store(pc, sph, par, build);
}

KX_API int kx_mollweide_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    double theta = auxiliary_angle(std::fabs(y));
    if (y < 0.0) theta = -theta;
    x = k.c2 * kx_delta(x - lam0) * kx::cos_exact(theta);
    y = k.c1 * std::sin(theta);
    return true;
  });
}

KX_API int kx_mollweide_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    double phi, dlam;
    if (std::fabs(y) < 0.9 * k.c1) {
      const double theta = std::asin(y / k.c1);
      phi = std::asin((2.0 * theta + std::sin(2.0 * theta)) / kx::kPi);
      dlam = x / (k.c2 * std::cos(theta));
    } else {
      // Next to the poles, by the distances from them (as in the forward):
      // delta = pi/2 - theta from 1 - |y|/c1, then psi = pi/2 - |phi| from
      // 2 pi sin^2(psi/2) = 2 delta - sin 2 delta. asin of values next to 1
      // would lose half the digits (1e-6 degrees).
      const double rest = std::fmax(0.0, (k.c1 - std::fabs(y)) / k.c1);
      const double delta = 2.0 * std::asin(std::sqrt(rest / 2.0));
      const double psi = 2.0 * std::asin(std::sqrt(u_minus_sin(2.0 * delta) / (2.0 * kx::kPi)));
      phi = y < 0.0 ? psi - kx::kHalfPi : kx::kHalfPi - psi;
      dlam = delta > 0.0 ? x / (k.c2 * std::sin(delta)) : 0.0;
    }
    y = phi;
    x = kx::world::longitude(lam0, dlam);
    return true;
  });
}

}  // extern "C"
