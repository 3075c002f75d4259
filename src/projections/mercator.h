// Constants of the normal Mercator projection, shared by its projection unit,
// the constants function and the Lambert conformal conic's cylindrical limit.
#ifndef KX_PROJECTIONS_MERCATOR_H
#define KX_PROJECTIONS_MERCATOR_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/near_pole.h"
#include "projections/projection_common.h"

namespace kx {
namespace mercator {

// x and y are separable, so a NaN member would leave its partner finite:
// the pair becomes NaN as a whole.
inline void nan_pair(double &x, double &y) {
  if (std::isnan(x) || std::isnan(y)) x = y = library_nan();
}

struct Constants {
  double K;   // scale on the equator that makes the latitude of true scale true
  double aK;  // a K
};

// The spherical kernel: the isometric latitude of chi and its inverse.
inline double isometric(double chi) { return std::log(std::tan(kPi / 4.0 + chi / 2.0)); }
inline double from_isometric(double psi) { return kHalfPi - 2.0 * std::atan2(std::exp(-psi), 1.0); }

inline Constants build(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1], phi1 = par[kSlotStandardParallel1];
  const double K = is_ellipsoid(e2) ? std::cos(phi1) / kx_w(e2, phi1) : std::cos(phi1);
  return {K, a * K};
}

}  // namespace mercator
}  // namespace kx

#endif  // KX_PROJECTIONS_MERCATOR_H
