// American polyconic projection, ellipsoid and sphere: every parallel is the
// arc of its own tangent cone, true scale along the central meridian.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 18-1..18-3 and 18-9..18-10 (sphere), 18-12..18-13 and the
// Newton-Raphson inverse 18-17..18-21 (ellipsoid), with the library's
// meridian-arc series for M and Snyder's series for its derivative.
//
// Measured accuracy against PROJ 9 (+proj=poly, tests/scripts/gen_cyl_oracle.py):
// the sphere agrees to 3.7 nm (inverse 2.2e-12 degrees). On the ellipsoid
// the agreement, 9.7 um forward and 8.7e-11 degrees inverse, is the error of
// PROJ 9.1's meridian-arc series (the library's arc agrees with GeodSolve to
// 0.07 um); the EPSG reference points of SAD69 / Brazil Polyconic agree to
// 0.05 um. Round trips close within 2.4e-12 degrees, except at the poles
// themselves, where the iteration converges only linearly and ends on its
// 3e-8 rad step rule (7.7e-7 degrees).
#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/cylindrical_common.h"
#include "projections/polyconic.h"
#include "projections/near_pole.h"
#include "projections/projection_common.h"

namespace {

using kx::kHalfPi;
using kx::polyconic::EllipsoidConstants;
using kx::polyconic::SphereConstants;

// Iteration limits of the inverse: past kLooseAfter passes a step of
// kLooseStep ends it; past kMaxPasses the point is given up.
constexpr int kLooseAfter = 470;
constexpr int kMaxPasses = 500;
constexpr double kLooseStep = 3e-8;

// A Newton iterate brought back into [-pi/2, pi/2].
double fold(double phi) {
  phi = std::fmod(phi, kx::kTwoPi);
  while (std::fabs(phi) > kHalfPi) phi = std::copysign(kx::kPi, phi) - phi;
  return phi;
}

// Runs the inverse iteration for the Newton step `next`; false when it does
// not settle within kMaxPasses passes.
template <class Step>
bool iterate(double start, double sign, double &phi_out, Step &&next) {
  double phi = start;
  for (int pass = 1;; ++pass) {
    if (kx::is_pole(phi)) phi = std::copysign(kx::kInsidePole, phi);
    const double phi_next = fold(next(phi));
    if (kx::near_eq(phi, phi_next) ||
        (pass > kLooseAfter && std::fabs(phi - phi_next) <= kLooseStep)) {
      phi_out = phi_next;
      return true;
    }
    if (pass > kMaxPasses || !std::isfinite(phi_next)) return false;
    phi = std::copysign(phi_next, sign);
  }
}

int forward_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = y, dlam = kx_delta(x - lam0);
    if (kx::near_eq(phi, 0.0)) {
      x = a * dlam;
      y = -k.M0;
    } else {
      const double E = dlam * std::sin(phi), Ncot = kx_n(a, e2, phi) / std::tan(phi);
      x = Ncot * std::sin(E);
      y = kx_q(a, e2, phi) - k.M0 + Ncot * (1.0 - std::cos(E));
    }
    return true;
  });
}

int forward_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = y, dlam = kx_delta(x - lam0);
    if (kx::near_eq(phi, 0.0)) {
      x = a * dlam;
      y = -k.M0;
    } else {
      const double E = dlam * std::sin(phi), Ncot = a / std::tan(phi);
      x = Ncot * std::sin(E);
      y = a * phi - k.M0 + Ncot * (1.0 - std::cos(E));
    }
    return true;
  });
}

int inverse_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double xa = x / a, A = (k.M0 + y) / a, B = xa * xa + A * A;
    double phi = 0.0, dlam = xa;
    if (!kx::near_eq(std::fabs(y + k.M0), 0.0)) {
      const bool settled = iterate(A / (xa * xa + 1.0), y + k.M0, phi, [&](double p) {
        const double C = kx_w(e2, p) * std::tan(p), Ma = kx_q(a, e2, p) / a;
        const double Mp = k.c1 - k.c2 * std::cos(2.0 * p) + k.c3 * std::cos(4.0 * p) -
                          k.c4 * std::cos(6.0 * p);
        const double s2 = std::sin(2.0 * p);
        return p - (A * (C * Ma + 1.0) - Ma - 0.5 * (Ma * Ma + B) * C) /
                       (e2 * s2 * (Ma * Ma + B - 2.0 * A * Ma) / (4.0 * C) +
                        (A - Ma) * (C * Mp - 2.0 / s2) - Mp);
      });
      if (!settled) return false;
      dlam = 0.0;
      if (!kx::is_pole(phi)) {
        const double t = std::tan(phi) / kx_n(a, e2, phi);
        dlam = std::atan2(x * t, 1.0 - (y - kx_q(a, e2, phi) + k.M0) * t) / std::sin(phi);
      }
    }
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

int inverse_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double phi0 = par[kx::kSlotLatitudeOfOrigin];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double xa = x / a, A = y / a + phi0, B = xa * xa + A * A;
    double phi = 0.0, dlam = xa;
    if (!kx::near_eq(std::fabs(y + k.M0), 0.0)) {
      const bool settled = iterate(A / (xa * xa + 1.0), y + k.M0, phi, [&](double p) {
        const double t = std::tan(p);
        return p - (A * (p * t + 1.0) - p - 0.5 * (p * p + B) * t) / ((p - A) / t - 1.0);
      });
      if (!settled) return false;
      dlam = 0.0;
      if (!kx::is_pole(phi)) {
        const double t = std::tan(phi);
        dlam = std::atan2(xa * t, 1.0 - (y / a + phi0 - phi) * t) / std::sin(phi);
      }
    }
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

}  // namespace

extern "C" {

KX_API int kx_polyconic_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return forward_ellipsoid(
        sph, par, n, coords,
        kx::constants_or_build(ivals, dvals, kx::polyconic::build_ellipsoid, sph, par));
  return forward_sphere(
      sph, par, n, coords,
      kx::constants_or_build(ivals, dvals, kx::polyconic::build_sphere, sph, par));
}

KX_API int kx_polyconic_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return inverse_ellipsoid(
        sph, par, n, coords,
        kx::constants_or_build(ivals, dvals, kx::polyconic::build_ellipsoid, sph, par));
  return inverse_sphere(
      sph, par, n, coords,
      kx::constants_or_build(ivals, dvals, kx::polyconic::build_sphere, sph, par));
}

}  // extern "C"
