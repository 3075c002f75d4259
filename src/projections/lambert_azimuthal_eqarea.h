// Constants of the Lambert azimuthal equal-area projection, shared by its
// projection unit and the constants function.
#ifndef KX_PROJECTIONS_LAMBERT_AZIMUTHAL_EQAREA_H
#define KX_PROJECTIONS_LAMBERT_AZIMUTHAL_EQAREA_H

#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace lambert_azimuthal_eqarea {

enum class Aspect { kNorthPolar, kSouthPolar, kEquatorial, kOblique };

inline Aspect aspect_of(double phi1) {
  if (near_eq(phi1, kHalfPi)) return Aspect::kNorthPolar;
  if (near_eq(phi1, -kHalfPi)) return Aspect::kSouthPolar;
  if (std::fabs(phi1) <= kEps) return Aspect::kEquatorial;
  return Aspect::kOblique;
}

struct EllipsoidConstants {
  double qp;  // q at the pole
  double Rq;  // radius of the sphere of equal area
  double sin_beta1;
  double cos_beta1;
  double D;  // stretch that keeps the scale true along the centre's parallel
  double e;
};

struct SphereConstants {
  double two_a;
  double cos_phi1;
  double sin_phi1;
};

// q(phi) of the authalic latitude, Snyder 3-12; atanh keeps the digits the
// logarithm of a ratio next to 1 would lose (its series for e sin phi up to
// 0.1, which is every terrestrial ellipsoid).
inline double q_of(double e, double e2, double phi) {
  return (1.0 - e2) * authalic_q_over(e, e2, std::sin(phi));
}

inline EllipsoidConstants build_ellipsoid(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1], phi1 = par[kSlotLatitudeOfOrigin];
  EllipsoidConstants c;
  c.e = std::sqrt(e2);
  c.qp = 1.0 + (1.0 - e2) * std::atanh(c.e) / c.e;
  const double sb = q_of(c.e, e2, phi1) / c.qp;
  c.sin_beta1 = std::fabs(sb) > 1.0 ? std::copysign(1.0, sb) : sb;
  c.cos_beta1 = std::cos(std::asin(c.sin_beta1));
  c.Rq = a * std::sqrt(c.qp / 2.0);
  switch (aspect_of(phi1)) {
    case Aspect::kNorthPolar:
    case Aspect::kSouthPolar:
      c.D = 0.0;
      break;
    case Aspect::kEquatorial:
      c.D = a / c.Rq;
      break;
    case Aspect::kOblique:
      c.D = a * (std::cos(phi1) / kx_w(e2, phi1)) / (c.Rq * c.cos_beta1);
      break;
  }
  return c;
}

inline SphereConstants build_sphere(const double *sph, const double *par) {
  const double phi1 = par[kSlotLatitudeOfOrigin];
  return {2.0 * sph[0], std::cos(phi1), std::sin(phi1)};
}

}  // namespace lambert_azimuthal_eqarea
}  // namespace kx

#endif  // KX_PROJECTIONS_LAMBERT_AZIMUTHAL_EQAREA_H
