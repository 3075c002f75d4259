// Constants of the vertical near-side perspective projection, shared by its
// projection unit and the constants function.
#ifndef KX_PROJECTIONS_VERTICAL_PERSPECTIVE_H
#define KX_PROJECTIONS_VERTICAL_PERSPECTIVE_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace vertical_perspective {

constexpr int kSlotHeight = 15;

// A point of view strictly above the surface at a finite height; a NaN
// height is refused with the rest.
inline bool valid_height(const double *par) {
  const double h = par[kSlotHeight];
  return std::isfinite(h) && h > kEps;
}

struct EllipsoidConstants {
  double cos_phi1;
  double sin_phi1;
  double P;  // distance of the point of view from the centre of the earth, over a
  double inv_P;
  double unused;  // where the sphere keeps rho_max
  double B;       // P cos(phi1 - phig)
  double D;       // P sin(phi1 - phig)
  double L;       // 1 - e2 cos^2 phi1
  double G;       // 1 - e2 sin^2 phi1
  double J;       // 2 e2 sin phi1 cos phi1
  double t;       // (1 - e2 cos^2 phig) P^2 - (1 - e2)
};

struct SphereConstants {
  double cos_phi1;
  double sin_phi1;
  double P;  // 1 + h / a
  double inv_P;
  double rho_max;  // radius of the visible disc
};

// The geocentric latitude phig of the point of view solves
// sin(phi1 - phig) = N1 e2 sin phi1 cos phi1 / (P a) (Snyder ch. 23), with
// P a its distance from the centre, usually found by fixed-point iteration
// through P a = (N1 + h) cos phi1 / cos phig. Taking P a as the length of
// the point's geocentric vector ((N1 + h) cos phi1, ((1 - e2) N1 + h)
// sin phi1) instead gives the fixed point in one step, so no loop is left
// to stall, and keeps the digits the quotient loses as the centre nears a
// pole (5 mm 1e-5 degrees from it; 0/0 on it, where the distance is
// (1 - e2) N1 + h).
inline EllipsoidConstants build_ellipsoid(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1];
  const double phi1 = par[kSlotLatitudeOfCenter], h = par[kSlotHeight];
  const double s1 = std::sin(phi1), c1 = std::cos(phi1);
  const double N1 = a / kx_w(e2, phi1);
  const double dist = std::hypot((N1 + h) * c1, ((1.0 - e2) * N1 + h) * s1);
  const double delta = std::asin(N1 * e2 * s1 * c1 / dist);  // phi1 - phig
  const double cg = std::cos(phi1 - delta);
  EllipsoidConstants k;
  k.cos_phi1 = c1;
  k.sin_phi1 = s1;
  k.P = dist / a;
  k.inv_P = 1.0 / k.P;
  k.unused = 0.0;
  k.B = k.P * std::cos(delta);
  k.D = k.P * std::sin(delta);
  k.L = 1.0 - e2 * c1 * c1;
  k.G = 1.0 - e2 * s1 * s1;
  k.J = 2.0 * e2 * s1 * c1;
  k.t = (1.0 - e2 * cg * cg) * k.P * k.P - (1.0 - e2);
  return k;
}

inline SphereConstants build_sphere(const double *sph, const double *par) {
  const double a = sph[0], phi1 = par[kSlotLatitudeOfCenter];
  const double P = 1.0 + par[kSlotHeight] / a;
  return {std::cos(phi1), std::sin(phi1), P, 1.0 / P, a * std::sqrt((P - 1.0) / (P + 1.0))};
}

}  // namespace vertical_perspective
}  // namespace kx

#endif  // KX_PROJECTIONS_VERTICAL_PERSPECTIVE_H
