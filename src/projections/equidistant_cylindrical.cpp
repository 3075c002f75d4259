// Equidistant cylindrical: x = a cos(phi1) dlambda, y = a phi (sphere of
// radius a, true scale on the standard parallel phi1).
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 12-1..12-3. Against PROJ 9 (+proj=eqc +lat_ts, tests/scripts/
// gen_cyl_oracle.py) both realise the same formula: agreement to 1 nm.
#include <cmath>

#include "kx.h"
#include "projections/cylindrical_common.h"
#include "projections/projection_common.h"

extern "C" {

KX_API int kx_equidistant_cylindrical_fwd(const double *sph, const double *par, int n,
                                          double *coords, const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double cos_phi1 = std::cos(par[kx::kSlotStandardParallel1]);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    x = a * cos_phi1 * kx_delta(x - lam0);
    y = a * y;
    return true;
  });
}

KX_API int kx_equidistant_cylindrical_inv(const double *sph, const double *par, int n,
                                          double *coords, const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double cos_phi1 = std::cos(par[kx::kSlotStandardParallel1]);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = y / a;
    x = kx_delta(lam0 + x / (a * cos_phi1));
    y = phi;
    return kx::cylindrical::within_poles(y);
  });
}

}  // extern "C"
