// Constants of the series transverse Mercator (Gauss-Kruger), shared by its
// projection unit and the constants function.
#ifndef KX_PROJECTIONS_GAUSS_KRUGER_H
#define KX_PROJECTIONS_GAUSS_KRUGER_H

#include "kx.h"
#include "projections/projection_common.h"

namespace kx {
namespace gauss_kruger {

struct EllipsoidConstants {
  double ep2;  // second eccentricity squared e2 / (1 - e2)
  double M0;   // meridian arc to phi0
  double Mp;   // meridian arc to the pole
};

struct SphereConstants {
  double ak0;       // a k0
  double half_ak0;  // a k0 / 2
};

inline EllipsoidConstants build_ellipsoid(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1];
  return {e2 / (1.0 - e2), kx_q(a, e2, par[kSlotLatitudeOfOrigin]), kx_q90(a, e2)};
}

inline SphereConstants build_sphere(const double *sph, const double *par) {
  const double ak0 = sph[0] * par[kSlotScaleFactor];
  return {ak0, ak0 / 2.0};
}

}  // namespace gauss_kruger
}  // namespace kx

#endif  // KX_PROJECTIONS_GAUSS_KRUGER_H
