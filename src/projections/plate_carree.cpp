// Plate carree: x = a dlambda, y = a phi (sphere of radius a).
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 12-1, 12-2 with phi1 = 0. Against PROJ 9 (+proj=eqc, tests/scripts/
// gen_cyl_oracle.py) both realise the same formula: agreement to 1 nm.
#include <cmath>

#include "kx.h"
#include "projections/cylindrical_common.h"
#include "projections/projection_common.h"

extern "C" {

KX_API int kx_plate_carree_fwd(const double *sph, const double *par, int n, double *coords,
                               const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    x = a * kx_delta(x - lam0);
    y = a * y;
    return true;
  });
}

KX_API int kx_plate_carree_inv(const double *sph, const double *par, int n, double *coords,
                               const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    double phi = y / a;
    x = kx_delta(lam0 + x / a);
    y = phi;
    return kx::cylindrical::within_poles(y);
  });
}

}  // extern "C"
