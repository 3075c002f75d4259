// Constants of the Albers equal-area conic projection, shared by its
// projection unit and the constants function.
#ifndef KX_PROJECTIONS_ALBERS_H
#define KX_PROJECTIONS_ALBERS_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace albers {

// Parallels symmetric about the equator: the cylindrical equal-area.
inline bool is_cylinder(const double *par) {
  return near_eq(par[kSlotStandardParallel1], -par[kSlotStandardParallel2]);
}

// The sphere's constants, and the first three of the ellipsoid's.
struct Cone {
  double rho0;
  double C;
  double n;
};

struct EllipsoidCone {
  Cone cone;
  double Q;  // (R_q / a)^2, R_q the radius of the sphere of equal area
};

// q(phi) = 2 Q sin beta(phi), beta the authalic latitude.
inline double q_of(double e2, double Q, double phi) {
  return 2.0 * Q * std::sin(kx_phi_to_beta(e2, phi));
}

inline EllipsoidCone build_ellipsoid(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1];
  const double phi1 = par[kSlotStandardParallel1], phi2 = par[kSlotStandardParallel2];
  const double r = kx_auth_r(a, e2) / a;
  EllipsoidCone k;
  k.Q = r * r;
  const double q0 = q_of(e2, k.Q, par[kSlotLatitudeOfOrigin]);
  const double q1 = q_of(e2, k.Q, phi1), q2 = q_of(e2, k.Q, phi2);
  const double m1 = std::cos(phi1) / kx_w(e2, phi1), m2 = std::cos(phi2) / kx_w(e2, phi2);
  Cone &c = k.cone;
  c.n = near_eq(q1, q2) ? std::sin(phi1) : (m1 * m1 - m2 * m2) / (q2 - q1);
  c.C = m1 * m1 + c.n * q1;
  c.rho0 = a * std::sqrt(c.C - c.n * q0) / c.n;
  return k;
}

inline Cone build_sphere(const double *sph, const double *par) {
  const double phi1 = par[kSlotStandardParallel1], phi2 = par[kSlotStandardParallel2];
  Cone c;
  c.n = (std::sin(phi1) + std::sin(phi2)) / 2.0;
  c.C = std::cos(phi1) * std::cos(phi1) + 2.0 * c.n * std::sin(phi1);
  c.rho0 = sph[0] * std::sqrt(c.C - 2.0 * c.n * std::sin(par[kSlotLatitudeOfOrigin])) / c.n;
  return c;
}

}  // namespace albers
}  // namespace kx

#endif  // KX_PROJECTIONS_ALBERS_H
