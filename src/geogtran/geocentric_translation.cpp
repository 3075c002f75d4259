// Geocentric translation (EPSG method 9603): geodetic to geocentric on the
// first spheroid, shift by (dX, dY, dZ), back to geodetic on the second.
//
// Source: EPSG Guidance Note 7-2, section 4.4.2 (Geocentric translations),
// with the geodetic-geocentric conversions of the math library.
// Measured against PROJ 9 cct (+proj=cart, +proj=helmert translations, then
// a 40-digit geodetic conversion; tests/scripts/gen_geogtran.py): agreement
// within 5e-13 degrees and 4e-9 m in height (the resolution of the table)
// worldwide with heights up to 10 km; forward then inverse closes within
// 1e-13 degrees and 1e-8 m.
#include "geogtran/method_common.h"

namespace {

using namespace kx::geogtran;

int translate(const double *from, const double *to, double dx, double dy, double dz, int n,
              double *coords, double *heights) {
  return shift_points(n, coords, heights, [&](double *p, double *hp) {
    double x, y, z;
    kx_curv_to_cart(from[0], from[1], p[1], p[0], hp != nullptr ? *hp : 0.0, &x, &y, &z);
    double phi, lambda, h;
    kx_cart_to_curv(to[0], to[1], x + dx, y + dy, z + dz, &phi, &lambda, &h);
    store_point(p, hp, phi, lambda, h);
  });
}

}  // namespace

extern "C" {

KX_API int kx_geocentric_translation_fwd(const double *sph1, const double *sph2,
                                         const double *val, const char *, int n, double *coords,
                                         double *heights, const int *, const float *,
                                         const double *) {
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return translate(sph1, sph2, val[kDx], val[kDy], val[kDz], n, coords, heights);
}

KX_API int kx_geocentric_translation_inv(const double *sph1, const double *sph2,
                                         const double *val, const char *, int n, double *coords,
                                         double *heights, const int *, const float *,
                                         const double *) {
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return translate(sph2, sph1, -val[kDx], -val[kDy], -val[kDz], n, coords, heights);
}

}  // extern "C"
