// Behrmann projection: the cylindrical equal-area projection with its
// standard parallel fixed at 30 degrees (ellipsoid and sphere), see
// cylindrical_eqarea.cpp for the method and the measured accuracy.
#include "kx.h"
#include "projections/cylindrical_eqarea.h"
#include "projections/projection_common.h"

extern "C" {

KX_API int kx_behrmann_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  namespace cea = kx::cylindrical_eqarea;
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return cea::forward(sph, par, n, coords, ivals, dvals, cea::behrmann_parallel());
}

KX_API int kx_behrmann_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  namespace cea = kx::cylindrical_eqarea;
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return cea::inverse(sph, par, n, coords, ivals, dvals, cea::behrmann_parallel(),
                      cea::kBehrmannMaxIterations);
}

}  // extern "C"
