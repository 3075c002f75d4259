// Constants of the polar stereographic projections with a latitude of true
// scale, shared by their projection unit and the constants functions. The
// hemisphere sign h is +1 for the north form, -1 for the south form.
#ifndef KX_PROJECTIONS_STEREOGRAPHIC_POLAR_H
#define KX_PROJECTIONS_STEREOGRAPHIC_POLAR_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace stereographic_polar {

constexpr double kNorth = 1.0, kSouth = -1.0;

struct EllipsoidConstants {
  double D;    // scaled so that rho = a m_c t / t_c
  double c_e;  // sqrt((1 + e)^(1 + e) (1 - e)^(1 - e))
};

struct SphereConstants {
  double D;  // a (1 + sin |phi_c|)
};

inline EllipsoidConstants build_ellipsoid(double h, const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1], e = std::sqrt(e2);
  const double s = std::sin(par[kSlotStandardParallel1]);
  const double c_e = std::sqrt(std::pow(1.0 + e, 1.0 + e) * std::pow(1.0 - e, 1.0 - e));
  const double ratio = std::pow((1.0 - h * e * s) / (1.0 + h * e * s), e) / (1.0 - e2 * s * s);
  return {2.0 * a * std::sqrt(ratio) * ((1.0 + h * s) / 2.0) * c_e, c_e};
}

inline SphereConstants build_sphere(double h, const double *sph, const double *par) {
  return {sph[0] * (1.0 + std::cos(std::fabs(h * kHalfPi - par[kSlotStandardParallel1])))};
}

inline int store(double h, kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  if (is_ellipsoid(sph[1])) return store_constants(pc, build_ellipsoid(h, sph, par));
  return store_constants(pc, build_sphere(h, sph, par));
}

}  // namespace stereographic_polar
}  // namespace kx

#endif  // KX_PROJECTIONS_STEREOGRAPHIC_POLAR_H
