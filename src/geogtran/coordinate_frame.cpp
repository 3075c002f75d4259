// Coordinate frame rotation (EPSG method 9607): the seven-parameter
// transformation of kx_bursa_wolf_fwd / _inv under its EPSG name; accuracy
// as stated there.
#include "kx.h"

extern "C" {

KX_API int kx_coordinate_frame_fwd(const double *sph1, const double *sph2, const double *val,
                                   const char *dataset, int n, double *coords, double *heights,
                                   const int *ivals, const float *fvals, const double *dvals) {
  return kx_bursa_wolf_fwd(sph1, sph2, val, dataset, n, coords, heights, ivals, fvals, dvals);
}

KX_API int kx_coordinate_frame_inv(const double *sph1, const double *sph2, const double *val,
                                   const char *dataset, int n, double *coords, double *heights,
                                   const int *ivals, const float *fvals, const double *dvals) {
  return kx_bursa_wolf_inv(sph1, sph2, val, dataset, n, coords, heights, ivals, fvals, dvals);
}

}  // extern "C"
