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
// hand-over 0.9 nm. EPSG 9822 reference points 0.5 mm.
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
  const auto kernel = [&](const Cone &k, auto &&radicand) {
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      const double theta = k.n * kx_delta(x - lam0);
      const double rho = a * std::sqrt(radicand(y)) / k.n;
      x = rho * std::sin(theta);
      y = k.rho0 - rho * std::cos(theta);
      return true;
    });
  };
  if (kx::is_ellipsoid(e2)) {
    const EllipsoidCone k = kx::constants_or_build<EllipsoidCone>(
        ivals, dvals, [&] { return aea::build_ellipsoid(sph, par); });
    return kernel(k.cone,
                  [&](double phi) { return k.cone.C - k.cone.n * aea::q_of(e2, k.Q, phi); });
  }
  const Cone k =
      kx::constants_or_build<Cone>(ivals, dvals, [&] { return aea::build_sphere(sph, par); });
  return kernel(k, [&](double phi) { return k.C - 2.0 * k.n * std::sin(phi); });
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
  // sine_of turns (rho n / a)^2 into the sine of the authalic latitude (of
  // the latitude on the sphere), latitude turns that angle into phi.
  const auto kernel = [&](const Cone &k, auto &&sine_of, auto &&latitude) {
    const bool positive = k.n >= 0.0;
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      const double dy = k.rho0 - y;
      const double rho = std::sqrt(x * x + dy * dy);
      const double theta = positive ? std::atan2(x, dy) : std::atan2(-x, y - k.rho0);
      const double r = rho * k.n / a;
      double s = sine_of(r * r);
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
        k.cone, [&](double r2) { return ((k.cone.C - r2) / k.cone.n) / (2.0 * k.Q); },
        [&](double beta) { return kx_beta_to_phi(e2, beta); });
  }
  const Cone k =
      kx::constants_or_build<Cone>(ivals, dvals, [&] { return aea::build_sphere(sph, par); });
  return kernel(
      k, [&](double r2) { return (k.C - r2) / (2.0 * k.n); }, [](double phi) { return phi; });
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
