// Constants of the local tangent-plane system, shared by its projection unit
// and the constants function.
#ifndef KX_PROJECTIONS_LOCAL_H
#define KX_PROJECTIONS_LOCAL_H

#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"

namespace kx {
namespace local {

constexpr int kSlotAzimuth = 7;

// The centre's latitude and the grid's azimuth, and the centre in geocentric
// coordinates with the frame turned so that its meridian is the X-Z plane.
struct Sphere {
  double cos_phic, sin_phic;
  double cos_alpha, sin_alpha;
  double x0, y0, z0;
};

// The ellipsoid seen along the centre's normal: a plane point (E, N) lies
// over the surface point at height U on that normal, where
//   qa U^2 + 2 (qb0 + qbn N) U + qcn N + qcnn N^2 + qcee E^2 = 0,
// the ellipsoid's equation (X^2 + Y^2)/a^2 + Z^2/b^2 = 1 along the normal
// through the plane point (the centre itself lies on the surface, so the
// constant term is 0).
struct Ellipsoid {
  Sphere s;
  double qa, qb0, qbn, qcn, qcnn, qcee;
};

inline Sphere build_sphere(const double *sph, const double *par) {
  const double phic = par[kSlotLatitudeOfCenter], alpha = par[kSlotAzimuth];
  Sphere k{std::cos(phic), std::sin(phic), std::cos(alpha), std::sin(alpha), 0, 0, 0};
  kx_curv_to_cart(sph[0], sph[1], phic, 0.0, 0.0, &k.x0, &k.y0, &k.z0);
  return k;
}

inline Ellipsoid build_ellipsoid(const double *sph, const double *par) {
  const Sphere s = build_sphere(sph, par);
  const double ia = 1.0 / (sph[0] * sph[0]), ib = ia / (1.0 - sph[1]);
  const double c = s.cos_phic, n = s.sin_phic;
  return {s,
          c * c * ia + n * n * ib,
          s.x0 * c * ia + s.z0 * n * ib,
          n * c * (ib - ia),
          2.0 * (s.z0 * c * ib - s.x0 * n * ia),
          n * n * ia + c * c * ib,
          ia};
}

}  // namespace local
}  // namespace kx

#endif  // KX_PROJECTIONS_LOCAL_H
