// Equidistant conic projection with one or two standard parallels, ellipsoid
// (through the meridian arc and the rectifying latitude) or sphere; the
// meridians are true to scale. Parallels symmetric about the equator give the
// equidistant cylindrical limit.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 16-1..16-11 and 3-21..3-26 (meridian arc M and its inverse by the
// rectifying latitude mu).
//
// Measured accuracy against PROJ 9.1 (+proj=eqdc, +proj=eqc on spheres) and
// exact GeodSolve meridian arcs on the ellipsoid (tests/scripts/
// gen_projections.py), latitudes -85 to 85: spheres 2.8 nm forward and
// 2.5e-14 deg inverse; ellipsoids 0.10 um forward and 5.5e-12 deg inverse,
// the library's meridian-arc series. Round trips 4.7e-12 deg. Cones next to
// the cylinder (n to 2e-11) against 40-digit values (tests/scripts/
// gen_near_cylinder.py): 64 nm and 5.3e-12 deg.
#include "projections/equidistant_conic.h"

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

using kx::equidistant_conic::build_cone;
using kx::equidistant_conic::build_cylinder;
using kx::equidistant_conic::build_sphere_cylinder;
using kx::equidistant_conic::Cone;
using kx::equidistant_conic::Cylinder;
using kx::equidistant_conic::is_cylinder;
using kx::equidistant_conic::SphereCylinder;

// The cylinder's x and y are separable: a NaN member makes the whole pair
// NaN rather than leaving its partner finite. The point still counts.
bool nan_pair(double &x, double &y) {
  if (std::isnan(x) || std::isnan(y)) x = y = kx::library_nan();
  return true;
}

// arc(phi) is the meridian arc from the latitude of origin, M(phi) - M0
// (a (phi - phi0) on the sphere); rho = rho0 - arc(phi). y = rho0 - rho cos
// theta is taken as arc + 2 rho sin^2(theta/2): the same value without the
// difference of two radii, which a nearly cylindrical cone (n next to 0,
// rho0 about a/n) would round to metres.
template <class Arc>
int forward_cone(const double *par, int n, double *coords, const Cone &k, Arc &&arc) {
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0);
    const double along = arc(y), rho = k.rho0 - along, theta = k.n * dlam;
    const double s = std::sin(theta / 2.0);
    x = rho * std::sin(theta);
    y = along + 2.0 * rho * s * s;
    return true;
  });
}

// latitude(arc) inverts the arc from the latitude of origin. The arc is
// rho0 - rho = y - (rho - (rho0 - y)), the bracket taken without cancelling
// when rho and rho0 - y are close (x small against rho).
template <class Latitude>
int inverse_cone(const double *par, int n, double *coords, const Cone &k, Latitude &&latitude) {
  const double lam0 = par[kx::kSlotCentralMeridian];
  const bool negative = k.n < 0.0;
  const double sign = negative ? -1.0 : 1.0;
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dy = k.rho0 - y;
    const double h = std::sqrt(x * x + dy * dy), rho = sign * h;
    const double ady = std::fabs(dy);
    // rho - dy; 0 at the apex, NaN with a NaN member.
    const double excess =
        h + ady == 0.0 ? 0.0 : sign * (sign * dy >= 0.0 ? x * (x / (h + ady)) : h + ady);
    double theta = 0.0;
    if (!kx::near_eq(rho, 0.0)) theta = negative ? std::atan2(-x, y - k.rho0) : std::atan2(x, dy);
    x = kx_delta(lam0 + theta / k.n);
    y = latitude(y - excess);
    return true;
  });
}

int forward(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const bool ellipsoid = kx::is_ellipsoid(e2);
  if (is_cylinder(par)) {
    if (ellipsoid) {
      const auto k =
          kx::constants_or_build<Cylinder>(ivals, dvals, [&] { return build_cylinder(sph, par); });
      return kx::convert_points(n, coords, [&](double &x, double &y) {
        x = k.a_m1 * kx_delta(x - lam0);
        y = kx_q(a, e2, y) - k.M0;
        return nan_pair(x, y);
      });
    }
    const auto k = kx::constants_or_build<SphereCylinder>(
        ivals, dvals, [&] { return build_sphere_cylinder(sph, par); });
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      x = k.a_cos_phi1 * kx_delta(x - lam0);
      y = a * y;
      return nan_pair(x, y);
    });
  }
  const Cone k = kx::constants_or_build<Cone>(ivals, dvals, [&] { return build_cone(sph, par); });
  const double phi0 = par[kx::kSlotLatitudeOfOrigin];
  if (ellipsoid) {
    const double M0 = kx_q(a, e2, phi0);
    return forward_cone(par, n, coords, k, [&](double phi) { return kx_q(a, e2, phi) - M0; });
  }
  return forward_cone(par, n, coords, k, [&](double phi) { return a * (phi - phi0); });
}

int inverse(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const bool ellipsoid = kx::is_ellipsoid(e2);
  const double q90 = ellipsoid ? kx_q90(a, e2) : 0.0;
  if (is_cylinder(par)) {
    if (ellipsoid) {
      const auto k =
          kx::constants_or_build<Cylinder>(ivals, dvals, [&] { return build_cylinder(sph, par); });
      return kx::convert_points(n, coords, [&](double &x, double &y) {
        const double dlam = x / k.a_m1;
        x = kx_delta(lam0 + dlam);
        y = kx_mu_to_phi(e2, (y + k.M0) * kx::kHalfPi / q90);
        return nan_pair(x, y);
      });
    }
    const auto k = kx::constants_or_build<SphereCylinder>(
        ivals, dvals, [&] { return build_sphere_cylinder(sph, par); });
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      const double dlam = x / k.a_cos_phi1;
      x = kx_delta(lam0 + dlam);
      y = y / a;
      return nan_pair(x, y);
    });
  }
  const Cone k = kx::constants_or_build<Cone>(ivals, dvals, [&] { return build_cone(sph, par); });
  const double phi0 = par[kx::kSlotLatitudeOfOrigin];
  if (ellipsoid) {
    const double M0 = kx_q(a, e2, phi0);
    return inverse_cone(par, n, coords, k, [&](double arc) {
      return kx_mu_to_phi(e2, (M0 + arc) * kx::kHalfPi / q90);
    });
  }
  return inverse_cone(par, n, coords, k, [&](double arc) { return phi0 + arc / a; });
}

}  // namespace

extern "C" {

KX_API int kx_equidistant_conic_fwd(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return forward(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_equidistant_conic_inv(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return inverse(sph, par, n, coords, ivals, dvals);
}

}  // extern "C"
