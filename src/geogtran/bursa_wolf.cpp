// Seven-parameter (Bursa-Wolf) transformation in the coordinate-frame sign
// convention (EPSG method 1032/9607): X' = (1 + ds) R X + T with the exact
// trigonometric rotation matrix; the inverse applies the general matrix
// inverse, so the pair is an exact algebraic inverse.
//
// Source: EPSG Guidance Note 7-2, section 4.4.3 (Helmert 7-parameter).
// Measured against PROJ 9 cct (+proj=helmert +exact
// +convention=coordinate_frame after +proj=cart, then a 40-digit geodetic
// conversion; tests/scripts/gen_geogtran.py): agreement within 5e-13
// degrees and 4e-9 m in height, also for rotations of 250 arc-seconds;
// forward then inverse closes within 1e-13 degrees and 1e-8 m.
#include "geogtran/method_common.h"

namespace {

using namespace kx::geogtran;

const Vector3 kOrigin{0.0, 0.0, 0.0};

}  // namespace

extern "C" {

KX_API int kx_bursa_wolf_fwd(const double *sph1, const double *sph2, const double *val,
                             const char *, int n, double *coords, double *heights, const int *,
                             const float *, const double *) {
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return shift_geocentric(sph1, sph2, helmert_forward(val, kOrigin), n, coords, heights);
}

KX_API int kx_bursa_wolf_inv(const double *sph1, const double *sph2, const double *val,
                             const char *, int n, double *coords, double *heights, const int *,
                             const float *, const double *) {
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return shift_geocentric(sph2, sph1, helmert_inverse(val, kOrigin), n, coords, heights);
}

}  // extern "C"
