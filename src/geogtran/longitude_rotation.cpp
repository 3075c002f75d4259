// Longitude rotation (EPSG method 9601): re-refers longitudes from one prime
// meridian to another on the same datum by adding value slot 5 (radians),
// the difference of the two prime meridians the driver puts there. One
// function serves both directions. Exact up to the rounding of one addition
// and the reduction to [-pi, pi].
#include "geogtran/method_common.h"

extern "C" KX_API int kx_longitude_rotation_ccw(const double *, const double *, const double *val,
                                                const char *, int n, double *coords, double *,
                                                const int *, const float *, const double *) {
  using namespace kx::geogtran;
  if (n <= 0) return n;
  if (val == nullptr || coords == nullptr) return 0;
  const double turn = val[kRz];
  return shift_points(n, coords, nullptr,
                      [turn](double *p, double *) { p[0] = kx::reduce_angle(p[0] + turn); });
}
