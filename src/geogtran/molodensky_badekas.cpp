// Molodensky-Badekas transformation (EPSG method 9636, coordinate-frame
// rotations): the seven-parameter transformation about a rotation origin P0,
// X' = T + P0 + (1 + ds) R (X - P0), folded into X' = S X + T' with
// T' = T + P0 - S P0 once per call; the inverse uses the general matrix
// inverse and is exact.
//
// Source: EPSG Guidance Note 7-2, section 4.4.4.
// Measured against PROJ 9 cct (+proj=cart, translation by -P0, +proj=helmert
// +exact +convention=coordinate_frame, then a 40-digit geodetic conversion;
// tests/scripts/gen_geogtran.py) for EPSG's Amersfoort to ETRS89 (2):
// agreement within 5e-13 degrees and 4e-9 m in height; forward then inverse
// closes within 1e-13 degrees and 1e-8 m.
#include "geogtran/method_common.h"

namespace {

using namespace kx::geogtran;

Vector3 origin(const double *val) { return Vector3{val[kX0], val[kY0], val[kZ0]}; }

}  // namespace

extern "C" {

KX_API int kx_molodensky_badekas_fwd(const double *sph1, const double *sph2, const double *val,
                                     const char *, int n, double *coords, double *heights,
                                     const int *, const float *, const double *) {
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return shift_geocentric(sph1, sph2, helmert_forward(val, origin(val)), n, coords, heights);
}

KX_API int kx_molodensky_badekas_inv(const double *sph1, const double *sph2, const double *val,
                                     const char *, int n, double *coords, double *heights,
                                     const int *, const float *, const double *) {
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return shift_geocentric(sph2, sph1, helmert_inverse(val, origin(val)), n, coords, heights);
}

}  // extern "C"
