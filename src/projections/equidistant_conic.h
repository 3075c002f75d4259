// Constants of the equidistant conic projection and of its cylindrical
// limit, shared by its projection unit and the constants function.
#ifndef KX_PROJECTIONS_EQUIDISTANT_CONIC_H
#define KX_PROJECTIONS_EQUIDISTANT_CONIC_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace equidistant_conic {

struct Cone {
  double n;
  double G;
  double rho0;
};

struct Cylinder {
  double a_m1;  // a m1: the parallel radius of the standard parallel
  double M0;    // meridian arc to the latitude of origin
};

struct SphereCylinder {
  double a_cos_phi1;
};

inline bool is_cylinder(const double *par) {
  return near_eq(par[kSlotStandardParallel1], -par[kSlotStandardParallel2]);
}

inline double m_of(double e2, double phi) { return std::cos(phi) / kx_w(e2, phi); }

inline Cone build_cone(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1];
  const double phi1 = par[kSlotStandardParallel1], phi2 = par[kSlotStandardParallel2];
  const double phi0 = par[kSlotLatitudeOfOrigin];
  Cone c;
  if (is_ellipsoid(e2)) {
    const double M0 = kx_q(a, e2, phi0), M1 = kx_q(a, e2, phi1), M2 = kx_q(a, e2, phi2);
    const double m1 = m_of(e2, phi1), m2 = m_of(e2, phi2);
    c.n = near_eq(M1, M2) ? std::sin(phi1) : a * (m1 - m2) / (M2 - M1);
    c.G = M1 / a + m1 / c.n;
    c.rho0 = a * c.G - M0;
  } else {
    c.n = near_eq(phi1, phi2) ? std::sin(phi1) : (std::cos(phi1) - std::cos(phi2)) / (phi2 - phi1);
    c.G = std::cos(phi1) / c.n + phi1;
    c.rho0 = a * (c.G - phi0);
  }
  return c;
}

inline Cylinder build_cylinder(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1];
  return {a * m_of(e2, par[kSlotStandardParallel1]), kx_q(a, e2, par[kSlotLatitudeOfOrigin])};
}

inline SphereCylinder build_sphere_cylinder(const double *sph, const double *par) {
  return {sph[0] * std::cos(par[kSlotStandardParallel1])};
}

}  // namespace equidistant_conic
}  // namespace kx

#endif  // KX_PROJECTIONS_EQUIDISTANT_CONIC_H
