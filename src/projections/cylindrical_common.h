// Small checks shared by the simple cylindrical, sinusoidal, Bonne and
// polyconic units.
#ifndef KX_PROJECTIONS_CYLINDRICAL_COMMON_H
#define KX_PROJECTIONS_CYLINDRICAL_COMMON_H

#include <cmath>

#include "math/math_common.h"

namespace kx {
namespace cylindrical {

// An inverse latitude past a pole by more than rounding comes from a point
// outside the map: rejected. One within rounding of a pole becomes the pole.
inline bool within_poles(double &phi) {
  if (std::fabs(phi) <= kHalfPi) return true;
  if (!near_eq(std::fabs(phi), kHalfPi)) return false;
  phi = std::copysign(kHalfPi, phi);
  return true;
}

}  // namespace cylindrical
}  // namespace kx

#endif  // KX_PROJECTIONS_CYLINDRICAL_COMMON_H
