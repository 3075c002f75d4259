// Constants of the stereographic projection, shared by its projection unit
// and the constants function.
#ifndef KX_PROJECTIONS_STEREOGRAPHIC_H
#define KX_PROJECTIONS_STEREOGRAPHIC_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace stereographic {

struct EllipsoidConstants {
  double D;  // 2 a k0
  double e;
  double m0;    // cos phi0 / w(phi0)
  double c_e;   // sqrt((1 + e)^(1 + e) (1 - e)^(1 - e))
  double chi0;  // conformal latitude of origin
  double sin_chi0;
  double cos_chi0;
};

struct SphereConstants {
  double D;  // 2 a k0
  double sin_phi0;
  double cos_phi0;
};

inline EllipsoidConstants build_ellipsoid(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1];
  const double phi0 = par[kSlotLatitudeOfOrigin];
  EllipsoidConstants c;
  c.D = 2.0 * a * par[kSlotScaleFactor];
  c.e = std::sqrt(e2);
  c.m0 = std::cos(phi0) / kx_w(e2, phi0);
  c.c_e = std::sqrt(std::pow(1.0 + c.e, 1.0 + c.e) * std::pow(1.0 - c.e, 1.0 - c.e));
  c.chi0 = kx_phi_to_chi(e2, phi0);
  c.sin_chi0 = std::sin(c.chi0);
  c.cos_chi0 = std::cos(c.chi0);
  return c;
}

inline SphereConstants build_sphere(const double *sph, const double *par) {
  const double phi0 = par[kSlotLatitudeOfOrigin];
  return {2.0 * sph[0] * par[kSlotScaleFactor], std::sin(phi0), std::cos(phi0)};
}

}  // namespace stereographic
}  // namespace kx

#endif  // KX_PROJECTIONS_STEREOGRAPHIC_H
