// Lambert conformal conic projection with one or two standard parallels,
// ellipsoid (through the conformal latitude chi) or sphere, with a scale
// factor. Parallels on one pole hand over to the polar stereographic,
// parallels symmetric about the equator to the Mercator; both are shifted so
// that the latitude of origin maps to y = 0.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 15-1..15-11 (sphere) and 15-7..15-11 with t written through the
// conformal latitude of 3-1 (ellipsoid); the inverse 15-18, 7-13.
//
// Measured accuracy against the oracle of tests/scripts/gen_projections.py
// (the conformal conic, and the Mercator and polar stereographic for the
// hand-overs): spheres 3.7 nm forward and 4e-14 deg inverse; ellipsoids
// 7.9 um forward and 1.1e-10 deg inverse, the error of the library's
// conformal-latitude series (1.4e-12 rad); polar hand-over 12 um, Mercator
// hand-over to 70 degrees 20 um. EPSG 9801 reference points 0.2 um, 9802
// 18 um. Round trips 1.1e-10 deg. The pole the cone closes on is the apex
// exactly, for cone constants from 0.02 to 0.99 of either sign
// (tests/scripts/gen_poles.py). Cones next to the cylinder (n to 2e-11)
// against 40-digit values (tests/scripts/gen_near_cylinder.py): spheres
// 5.6 nm, ellipsoids 39 um at 80 degrees (the conformal-latitude series as in
// the Mercator), inverse 2e-11 deg.
#include "projections/lambert_conformal_conic.h"

#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/mercator.h"
#include "projections/near_pole.h"
#include "projections/projection_common.h"

namespace {

namespace lcc = kx::lambert_conformal_conic;

using lcc::Case;
using lcc::Cone;
using lcc::EllipsoidCone;

Cone cone_constants(const double *sph, const double *par, const int *ivals, const double *dvals) {
  if (kx::is_ellipsoid(sph[1]))
    return kx::constants_or_build<EllipsoidCone>(ivals, dvals, [&] { return lcc::build(sph, par); })
        .cone;
  return kx::constants_or_build<Cone>(ivals, dvals, [&] { return lcc::build(sph, par).cone; });
}

int forward_cone(const double *sph, const double *par, int n, double *coords, const Cone &k) {
  const double e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian], k0 = par[kx::kSlotScaleFactor];
  const bool ellipsoid = kx::is_ellipsoid(e2);
  const bool near_cylinder = lcc::near_cylinder(k);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double theta = k.n * kx_delta(x - lam0);
    // The pole the cone closes on is its apex. Moved just inside instead,
    // it would keep rho = aF t^n far from 0 when n is small (t^n tends to 0
    // only as fast as n allows); the opposite pole stays moved inside.
    const double t = lcc::t_of(e2, ellipsoid, kx::inside_poles(y));
    const bool apex = lcc::closes_on(k.n, y);
    const double rho = apex ? 0.0 : k.aF * std::pow(t, k.n);
    x = k0 * rho * std::sin(theta);
    if (!near_cylinder) {
      y = k0 * (k.rho0 - rho * std::cos(theta));
      return true;
    }
    // (rho0 - rho) + 2 rho sin^2(theta/2) with rho0 - rho = -rho0 expm1(n
    // ln(t/t0)): the same value without the difference of two radii.
    const double drop = apex ? k.rho0 : -k.rho0 * std::expm1(k.n * std::log(t / k.t0));
    const double s = std::sin(theta / 2.0);
    y = k0 * (drop + 2.0 * rho * s * s);
    return true;
  });
}

// hypot without overflow, 0 at the apex.
double radius(double x, double y) {
  const double ax = std::fabs(x), ay = std::fabs(y);
  if (ax + ay == 0.0) return 0.0;
  const double big = ax > ay ? ax : ay, small = ax > ay ? ay : ax;
  const double r = small / big;
  return big * std::sqrt(1.0 + r * r);
}

int inverse_cone(const double *sph, const double *par, int n, double *coords, const Cone &k) {
  const double e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian], k0 = par[kx::kSlotScaleFactor];
  const bool ellipsoid = kx::is_ellipsoid(e2);
  const bool positive = k.n > 0.0;
  const double sign = positive ? 1.0 : -1.0;
  const bool near_cylinder = lcc::near_cylinder(k);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double xp = x / k0, yp = y / k0, dy = k.rho0 - yp;
    const double h = radius(xp, dy), rho = std::copysign(h, k.n);
    const double theta = positive ? std::atan2(xp, dy) : std::atan2(-xp, -dy);
    // t = t0 (rho/rho0)^(1/n), rho/rho0 - 1 = (rho - rho0)/rho0 taken as
    // ((rho - dy) - y')/rho0 without the difference of two radii: 1/n would
    // magnify its rounding when the cone is next to the cylinder.
    double t;
    if (near_cylinder) {
      const double ady = std::fabs(dy);
      const double excess =
          h + ady == 0.0 ? 0.0 : sign * (sign * dy >= 0.0 ? xp * (xp / (h + ady)) : h + ady);
      t = k.t0 * std::exp(std::log1p((excess - yp) / k.rho0) / k.n);
    } else {
      t = std::pow(rho / k.aF, 1.0 / k.n);
    }
    const double chi = kx::kHalfPi - 2.0 * std::atan2(t, 1.0);
    double dlam = theta / k.n;
    // Rounding in theta / n must not move the antimeridian to the other side.
    if (lam0 == 0.0 && std::fabs(dlam) > kx::kPi && std::fabs(dlam) - kx::kPi < 1e-15)
      dlam = std::copysign(kx::kPi, dlam);
    x = kx_delta(lam0 + dlam);
    y = ellipsoid ? kx::conformal_to_geodetic(e2, chi) : chi;
    return true;
  });
}

double phi0_of(const double *par) { return par[kx::kSlotLatitudeOfOrigin]; }

int forward(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  const double lam0 = par[kx::kSlotCentralMeridian], phi0 = phi0_of(par);
  double derived[kx::kParameterCount];
  switch (lcc::case_of(par)) {
    case Case::kInvalid:
      return 0;
    case Case::kPolar: {
      lcc::polar_parameters(par, derived);
      const int count = kx_stereographic_fwd(sph, derived, n, coords, ivals, dvals);
      if (!kx::near_eq(phi0, par[kx::kSlotStandardParallel1]))
        kx::shift_then_scale(
            n, coords,
            -kx::northing_of(kx_stereographic_fwd, sph, derived, lam0, phi0, ivals, dvals), 1.0);
      return count;
    }
    case Case::kMercator: {
      lcc::mercator_parameters(par, derived);
      const int count = kx_mercator_fwd(sph, derived, n, coords, ivals, dvals);
      const double y0 =
          phi0 != 0.0 ? kx::northing_of(kx_mercator_fwd, sph, derived, lam0, phi0, ivals, dvals)
                      : 0.0;
      kx::shift_then_scale(n, coords, -y0, par[kx::kSlotScaleFactor]);
      return count;
    }
    case Case::kCone:
      break;
  }
  return forward_cone(sph, par, n, coords, cone_constants(sph, par, ivals, dvals));
}

int inverse(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  const double lam0 = par[kx::kSlotCentralMeridian], phi0 = phi0_of(par);
  double derived[kx::kParameterCount];
  switch (lcc::case_of(par)) {
    case Case::kInvalid:
      return 0;
    case Case::kPolar:
      lcc::polar_parameters(par, derived);
      if (!kx::near_eq(phi0, par[kx::kSlotStandardParallel1]))
        kx::unscale_then_shift(
            n, coords, 1.0,
            kx::northing_of(kx_stereographic_fwd, sph, derived, lam0, phi0, ivals, dvals));
      return kx_stereographic_inv(sph, derived, n, coords, ivals, dvals);
    case Case::kMercator: {
      lcc::mercator_parameters(par, derived);
      const double y0 =
          phi0 != 0.0 ? kx::northing_of(kx_mercator_fwd, sph, derived, lam0, phi0, ivals, dvals)
                      : 0.0;
      kx::unscale_then_shift(n, coords, par[kx::kSlotScaleFactor], y0);
      return kx_mercator_inv(sph, derived, n, coords, ivals, dvals);
    }
    case Case::kCone:
      break;
  }
  return inverse_cone(sph, par, n, coords, cone_constants(sph, par, ivals, dvals));
}

}  // namespace

extern "C" {

KX_API int kx_lambert_conformal_conic_fwd(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return forward(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_lambert_conformal_conic_inv(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return inverse(sph, par, n, coords, ivals, dvals);
}

}  // extern "C"
