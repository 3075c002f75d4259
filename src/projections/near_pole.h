// The pole rule of the cylinders and cones: a latitude at a pole (within the
// library tolerance) or past it is moved just inside, keeping its sign, where
// tan phi is still finite, the series stay finite and the pole projects to a
// finite point.
#ifndef KX_PROJECTIONS_NEAR_POLE_H
#define KX_PROJECTIONS_NEAR_POLE_H

#include <cmath>

#include "math/math_common.h"

namespace kx {

// The double pi/2 less 25 units in the last place, written exactly.
constexpr double kInsidePole = 1.570796326794891;
static_assert(kHalfPi - kInsidePole == 25.0 * 2.220446049250313e-16, "25 ulp below pi/2");

inline double inside_poles(double phi) {
  if (std::fabs(phi) > kHalfPi || near_eq(std::fabs(phi), kHalfPi))
    return std::copysign(kInsidePole, phi);
  return phi;
}

}  // namespace kx

#endif  // KX_PROJECTIONS_NEAR_POLE_H
