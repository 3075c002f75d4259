// Constants and case selection of the Lambert conformal conic projection,
// shared by its projection unit and the constants function.
#ifndef KX_PROJECTIONS_LAMBERT_CONFORMAL_CONIC_H
#define KX_PROJECTIONS_LAMBERT_CONFORMAL_CONIC_H

#include <cmath>
#include <initializer_list>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace lambert_conformal_conic {

// Both parallels on one pole: polar stereographic; symmetric parallels:
// Mercator; one parallel on a pole otherwise leaves no cone. Parallels on
// opposite poles are two different parallels at a pole, not a Mercator
// (whose scale would vanish on the equator): rejected too.
enum class Case { kPolar, kMercator, kInvalid, kCone };

inline Case case_of(const double *par) {
  const double phi1 = par[kSlotStandardParallel1], phi2 = par[kSlotStandardParallel2];
  if (near_eq(phi1, phi2) && is_pole(phi1)) return Case::kPolar;
  if (near_eq(phi1, -phi2) && !is_pole(phi1)) return Case::kMercator;
  if (is_pole(phi1) || is_pole(phi2)) return Case::kInvalid;
  return Case::kCone;
}

// The sphere's constants, and the first nine of the ellipsoid's.
struct Cone {
  double cos_phi1;
  double cos_phi2;
  double t0;  // |t(phi0)|
  double t1;
  double t2;
  double n;
  double F;
  double aF;
  double rho0;
};

struct EllipsoidCone {
  Cone cone;
  double m1;
  double m2;
};

// t(phi) = tan(pi/4 - chi/2) with chi the conformal latitude (phi on the
// sphere).
inline double t_of(double e2, bool ellipsoid, double phi) {
  const double chi = ellipsoid ? kx_phi_to_chi(e2, phi) : phi;
  return std::tan(kPi / 4.0 - chi / 2.0);
}

inline EllipsoidCone build(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1];
  const bool ellipsoid = is_ellipsoid(e2);
  const double phi1 = par[kSlotStandardParallel1], phi2 = par[kSlotStandardParallel2];
  EllipsoidCone k;
  Cone &c = k.cone;
  c.cos_phi1 = std::cos(phi1);
  c.cos_phi2 = std::cos(phi2);
  c.t0 = std::fabs(t_of(e2, ellipsoid, par[kSlotLatitudeOfOrigin]));
  c.t1 = t_of(e2, ellipsoid, phi1);
  c.t2 = t_of(e2, ellipsoid, phi2);
  k.m1 = ellipsoid ? c.cos_phi1 / kx_w(e2, phi1) : c.cos_phi1;
  k.m2 = ellipsoid ? c.cos_phi2 / kx_w(e2, phi2) : c.cos_phi2;
  c.n = near_eq(phi1, phi2) ? std::sin(phi1)
                            : (std::log(k.m1) - std::log(k.m2)) / (std::log(c.t1) - std::log(c.t2));
  c.F = k.m1 / (c.n * std::pow(c.t1, c.n));
  c.aF = a * c.F;
  c.rho0 = c.aF * std::pow(c.t0, c.n);
  return k;
}

// A latitude at or past the pole on the side of the cone constant n: the
// pole the cone closes on, mapped to the apex (rho = 0).
inline bool closes_on(double n, double phi) {
  return (is_pole(phi) || std::fabs(phi) > kHalfPi) && (phi > 0.0) == (n > 0.0);
}

// A cone next to the cylinder: its radii, about a/n, are too long to be
// subtracted from one another (n = 1e-3 would leave micrometres, 2e-11 a
// metre), so y and the inverse take rho0 - rho in closed form instead. Other
// cones keep the plain differences, whose rounding tells the two sides of
// the antimeridian apart.
inline bool near_cylinder(const Cone &k) {
  return std::fabs(k.n) < 1e-3 && k.t0 > 0.0 && std::isfinite(k.rho0) && k.rho0 != 0.0;
}

// The parameter arrays of the two hand-overs.
inline void polar_parameters(const double *par, double *derived) {
  for (int i = 0; i < kParameterCount; ++i) derived[i] = 0.0;
  for (int slot : {kSlotFalseEasting, kSlotFalseNorthing, kSlotCentralMeridian, kSlotScaleFactor})
    derived[slot] = par[slot];
  derived[kSlotLatitudeOfOrigin] = par[kSlotStandardParallel1];
}

inline void mercator_parameters(const double *par, double *derived) {
  for (int i = 0; i < kParameterCount; ++i) derived[i] = i <= kSlotStandardParallel1 ? par[i] : 0.0;
}

}  // namespace lambert_conformal_conic
}  // namespace kx

#endif  // KX_PROJECTIONS_LAMBERT_CONFORMAL_CONIC_H
