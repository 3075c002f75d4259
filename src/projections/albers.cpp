// Albers equal-area conic projection with one or two standard parallels,
// ellipsoid (through the authalic latitude beta) or sphere. Parallels
// symmetric about the equator hand over to the cylindrical equal-area,
// shifted so that the latitude of origin maps to y = 0.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 14-1..14-6, 14-8..14-10 (sphere) and 14-12..14-19 with q through the
// authalic latitude of 3-11..3-12 (ellipsoid); the inverse 14-21, 3-18.
//
// Measured accuracy against the oracle of tests/scripts/gen_projections.py
// (exact authalic latitude; the cylindrical equal-area for the hand-over):
// spheres 3.3 nm forward and 3.3e-14 deg inverse; ellipsoids 0.65 mm forward
// and 1.4e-8 deg inverse, round trips 1.25e-8 deg: the error of the
// library's authalic-latitude series pair (2.2e-10 rad). Cylindrical
// hand-over 0.9 nm. EPSG 9822 reference points 0.5 mm. Cones next to the
// cylinder (n to 2e-11) against 40-digit values (tests/scripts/
// gen_near_cylinder.py): spheres 3.7 nm, ellipsoids 0.71 mm and 9.4e-9 deg;
// pole arcs 3.3 mm (tests/scripts/gen_poles.py), the series magnified where
// C - n q is smallest.
#include "projections/albers.h"

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

namespace aea = kx::albers;

using aea::Cone;
using aea::EllipsoidCone;

int forward(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const double phi0 = par[kx::kSlotLatitudeOfOrigin];
  if (aea::is_cylinder(par)) {
    const int count = kx_cylindrical_eqarea_fwd(sph, par, n, coords, ivals, dvals);
    if (phi0 != 0.0)
      kx::shift_then_scale(
          n, coords,
          -kx::northing_of(kx_cylindrical_eqarea_fwd, sph, par, lam0, phi0, ivals, dvals), 1.0);
    return count;
  }
  // q(phi) is 2Q sin beta (2 sin phi on the sphere). y = rho0 - rho cos theta
  // is taken as (rho0 - rho) + 2 rho sin^2(theta/2) with rho0 - rho =
  // a (q - q0)/(sqrt(C - n q0) + sqrt(C - n q)): the same value without the
  // difference of two radii, which a cone next to the cylinder (n next to 0,
  // radii about a/n) would round to metres.
  const auto kernel = [&](const Cone &k, auto &&q) {
    const double q0 = q(phi0), root0 = std::sqrt(k.C - k.n * q0);
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      const double theta = k.n * kx_delta(x - lam0);
      const double qy = q(y), root = std::sqrt(k.C - k.n * qy);
      const double rho = a * root / k.n;
      const double den = root0 + root;
      const double drop = den > 0.0 ? a * (qy - q0) / den : k.rho0 - rho;
      const double s = std::sin(theta / 2.0);
      x = rho * std::sin(theta);
      y = drop + 2.0 * rho * s * s;
      return true;
    });
  };
  if (kx::is_ellipsoid(e2)) {
    const EllipsoidCone k = kx::constants_or_build<EllipsoidCone>(
        ivals, dvals, [&] { return aea::build_ellipsoid(sph, par); });
    return kernel(k.cone, [&](double phi) { return aea::q_of(e2, k.Q, phi); });
  }
  const Cone k =
      kx::constants_or_build<Cone>(ivals, dvals, [&] { return aea::build_sphere(sph, par); });
  return kernel(k, [&](double phi) { return 2.0 * std::sin(phi); });
}

int inverse(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const double phi0 = par[kx::kSlotLatitudeOfOrigin];
  if (aea::is_cylinder(par)) {
    if (phi0 != 0.0)
      kx::unscale_then_shift(
          n, coords, 1.0,
          kx::northing_of(kx_cylindrical_eqarea_fwd, sph, par, lam0, phi0, ivals, dvals));
    return kx_cylindrical_eqarea_inv(sph, par, n, coords, ivals, dvals);
  }
  // q = q0 + n (|rho0| - rho)(|rho0| + rho)/a^2, the same as (C - (rho n/a)^2)/n
  // without its cancellation when n is next to 0; |rho0| - rho is taken
  // without the difference of two radii, as y - (rho - (rho0 - y)) with the
  // signs of n. sine_of turns q into the sine of the authalic latitude (of
  // the latitude on the sphere), latitude turns that angle into phi.
  const auto kernel = [&](const Cone &k, double q0, auto &&sine_of, auto &&latitude) {
    const bool positive = k.n >= 0.0;
    const double sign = positive ? 1.0 : -1.0, abs_rho0 = std::fabs(k.rho0);
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      const double dy = k.rho0 - y;
      const double rho = std::sqrt(x * x + dy * dy), ady = std::fabs(dy);
      const double excess =
          rho + ady == 0.0 ? 0.0 : sign * (sign * dy >= 0.0 ? x * (x / (rho + ady)) : rho + ady);
      const double closer = sign * (y - excess);  // |rho0| - rho
      const double theta = positive ? std::atan2(x, dy) : std::atan2(-x, y - k.rho0);
      double s = sine_of(q0 + k.n * closer * (abs_rho0 + rho) / (a * a));
      if (s > 1.0 || s < -1.0) s = s > 0.0 ? 1.0 : -1.0;
      x = kx_delta(lam0 + theta / k.n);
      y = latitude(std::asin(s));
      return true;
    });
  };
  if (kx::is_ellipsoid(e2)) {
    const EllipsoidCone k = kx::constants_or_build<EllipsoidCone>(
        ivals, dvals, [&] { return aea::build_ellipsoid(sph, par); });
    return kernel(
        k.cone, aea::q_of(e2, k.Q, phi0), [&](double q) { return q / (2.0 * k.Q); },
        [&](double beta) { return kx_beta_to_phi(e2, beta); });
  }
  const Cone k =
      kx::constants_or_build<Cone>(ivals, dvals, [&] { return aea::build_sphere(sph, par); });
  return kernel(
      k, 2.0 * std::sin(phi0), [](double q) { return q / 2.0; }, [](double phi) { return phi; });
}

}  // namespace

extern "C" {

KX_API int kx_albers_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return forward(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_albers_inv(const double *sph, const double *par, int n, double *coords,
                         const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return inverse(sph, par, n, coords, ivals, dvals);
}

}  // extern "C"
