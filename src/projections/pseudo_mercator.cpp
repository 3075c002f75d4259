// Popular visualisation pseudo-Mercator: the spherical Mercator formulas with
// radius a applied to the geodetic latitude and longitude of the ellipsoid
// (e2 is not used), true scale on the equator. Not conformal on an
// ellipsoid; the web-map grid on WGS 84.
//
// Method: EPSG Guidance Note 7-2, method 1024 (Snyder's eqs. 7-1, 7-2 and
// 7-4 with R = a).
//
// Measured against the oracle of tests/scripts/gen_projections.py (the
// Mercator on the sphere of radius a), latitudes to 85.06 degrees: forward
// within 19 nm (5 ulp of 2e7 m), inverse within 2.6e-14 deg.
#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/mercator.h"
#include "projections/projection_common.h"

extern "C" {

KX_API int kx_pseudo_mercator_fwd(const double *sph, const double *par, int n, double *coords,
                                  const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    x = a * kx_delta(x - lam0);
    y = a * kx::mercator::isometric(kx::inside_poles(y));
    kx::mercator::nan_pair(x, y);
    return true;
  });
}

KX_API int kx_pseudo_mercator_inv(const double *sph, const double *par, int n, double *coords,
                                  const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    x = kx_delta(lam0 + x / a);
    y = kx::mercator::from_isometric(y / a);
    kx::mercator::nan_pair(x, y);
    return true;
  });
}

}  // extern "C"
