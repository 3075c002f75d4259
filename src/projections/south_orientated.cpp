// Transverse Mercator (south orientated): the transverse Mercator with both
// axes turned, x westing and y southing, so that the false origin is added to
// the negated coordinates; same constants as the transverse Mercator.
//
// Method: EPSG Guidance Note 7-2, method 9808 (W = FE - E, S = FN - N).
#include "kx.h"
#include "projections/projection_common.h"

namespace {

// Both members negated; NaN stays NaN.
void turn(int n, double *coords) {
  for (int i = 0; coords != nullptr && i < 2 * n; ++i) coords[i] = -coords[i];
}

}  // namespace

extern "C" {

KX_API int kx_tm_south_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  const int count = kx_gauss_kruger_fwd(sph, par, n, coords, ivals, dvals);
  turn(n, coords);
  return count;
}

KX_API int kx_tm_south_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  turn(n, coords);
  return kx_gauss_kruger_inv(sph, par, n, coords, ivals, dvals);
}

}  // extern "C"
