// Position vector transformation (EPSG method 9606): the seven-parameter
// transformation with the rotations taken in the opposite sense, i.e. the
// coordinate-frame functions with the three rotations negated.
//
// Source: EPSG Guidance Note 7-2, section 4.4.3.
// Measured against PROJ 9 cct +proj=helmert +exact
// +convention=position_vector (tests/scripts/gen_geogtran.py), which
// transposes the exact matrix instead of negating its angles: the two differ
// in second order of the rotations, 3.3e-10 degrees and 1.1e-7 m for the
// OSGB 1936 set (rotations below 1 arc-second). With the rotations negated
// it is the coordinate frame bit for bit.
#include "geogtran/method_common.h"

namespace {

using namespace kx::geogtran;

struct Negated {
  double val[kValueCount];
  explicit Negated(const double *v) {
    for (int i = 0; i < kValueCount; ++i) val[i] = v[i];
    val[kRx] = -val[kRx];
    val[kRy] = -val[kRy];
    val[kRz] = -val[kRz];
  }
};

}  // namespace

extern "C" {

KX_API int kx_position_vector_fwd(const double *sph1, const double *sph2, const double *val,
                                  const char *dataset, int n, double *coords, double *heights,
                                  const int *ivals, const float *fvals, const double *dvals) {
  if (val == nullptr) return kx_bursa_wolf_fwd(sph1, sph2, val, dataset, n, coords, heights,
                                               ivals, fvals, dvals);
  const Negated v(val);
  return kx_bursa_wolf_fwd(sph1, sph2, v.val, dataset, n, coords, heights, ivals, fvals, dvals);
}

KX_API int kx_position_vector_inv(const double *sph1, const double *sph2, const double *val,
                                  const char *dataset, int n, double *coords, double *heights,
                                  const int *ivals, const float *fvals, const double *dvals) {
  if (val == nullptr) return kx_bursa_wolf_inv(sph1, sph2, val, dataset, n, coords, heights,
                                               ivals, fvals, dvals);
  const Negated v(val);
  return kx_bursa_wolf_inv(sph1, sph2, v.val, dataset, n, coords, heights, ivals, fvals, dvals);
}

}  // extern "C"
