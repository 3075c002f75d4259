// Constants of the polyconic projection, shared by its projection unit and
// the constants function.
#ifndef KX_PROJECTIONS_POLYCONIC_H
#define KX_PROJECTIONS_POLYCONIC_H

#include "kx.h"
#include "projections/projection_common.h"

namespace kx {
namespace polyconic {

struct EllipsoidConstants {
  double M0;  // meridian arc to phi0
  // M'(phi)/a = c1 - c2 cos 2phi + c3 cos 4phi - c4 cos 6phi
  double c1, c2, c3, c4;
};

struct SphereConstants {
  double M0;  // a phi0
};

inline EllipsoidConstants build_ellipsoid(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1], e4 = e2 * e2, e6 = e4 * e2;
  EllipsoidConstants c;
  c.M0 = kx_q(a, e2, par[kSlotLatitudeOfOrigin]);
  c.c1 = 1.0 - 0.25 * e2 - 0.046875 * e4 - 0.01953125 * e6;
  c.c2 = 0.75 * e2 + 0.1875 * e4 + 0.087890625 * e6;
  c.c3 = 0.234375 * e4 + 0.17578125 * e6;
  c.c4 = 0.068359375 * e6;
  return c;
}

inline SphereConstants build_sphere(const double *sph, const double *par) {
  return {sph[0] * par[kSlotLatitudeOfOrigin]};
}

}  // namespace polyconic
}  // namespace kx

#endif  // KX_PROJECTIONS_POLYCONIC_H
