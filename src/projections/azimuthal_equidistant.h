// Constants of the azimuthal equidistant projection, shared by its
// projection unit and the constants function.
#ifndef KX_PROJECTIONS_AZIMUTHAL_EQUIDISTANT_H
#define KX_PROJECTIONS_AZIMUTHAL_EQUIDISTANT_H

#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"

namespace kx {
namespace azimuthal_equidistant {

struct EllipsoidConstants {
  double Mp;  // meridian arc from the equator to the pole
};

struct SphereConstants {
  double sin_phi1;
  double cos_phi1;
};

inline EllipsoidConstants build_ellipsoid(const double *sph) { return {kx_q90(sph[0], sph[1])}; }

inline SphereConstants build_sphere(const double *par) {
  const double phi1 = par[kSlotLatitudeOfOrigin];
  return {std::sin(phi1), std::cos(phi1)};
}

}  // namespace azimuthal_equidistant
}  // namespace kx

#endif  // KX_PROJECTIONS_AZIMUTHAL_EQUIDISTANT_H
