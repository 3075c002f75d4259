// Constants of the double stereographic projection (the Gaussian conformal
// sphere), shared by its projection unit and the constants function.
#ifndef KX_PROJECTIONS_DOUBLE_STEREOGRAPHIC_H
#define KX_PROJECTIONS_DOUBLE_STEREOGRAPHIC_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace double_stereographic {

// The first three double as the spherical constants of the general
// stereographic that runs the second stage on (R, 0).
struct Constants {
  double D;  // 2 R k0
  double sin_chi0;
  double cos_chi0;
  double R;
  double chi0;
  double C_lambda0;
  double C;
  double K;
};

// tan(pi/4 + phi/2) ((1 - e sin phi)/(1 + e sin phi))^(e/2), and the factor.
struct Isometric {
  double tangent, factor;
  double g() const { return tangent * factor; }
};

inline Isometric isometric(double e, double phi) {
  const double es = e * std::sin(phi);
  return {std::tan(kPi / 4.0 + phi / 2.0), std::pow((1.0 - es) / (1.0 + es), e / 2.0)};
}

inline Constants build(const double *sph, const double *par) {
  const double a = sph[0], e2 = sph[1], e = std::sqrt(e2);
  const double phi0 = par[kSlotLatitudeOfOrigin];
  Constants k{};
  double sin_phi0;
  if (is_pole(phi0)) {
    // The limits of the oblique constants as phi0 tends to the pole; K is
    // ((1 + e sin phi0)/(1 - e sin phi0))^(e/2), so the south pole's is the
    // reciprocal of the north pole's.
    sin_phi0 = phi0 < 0.0 ? -1.0 : 1.0;
    k.C = 1.0;
    k.chi0 = std::copysign(kHalfPi, sin_phi0);
    k.K = std::pow((1.0 + e * sin_phi0) / (1.0 - e * sin_phi0), e / 2.0);
  } else {
    const double c0 = std::cos(phi0);
    sin_phi0 = std::sin(phi0);
    k.C = std::sqrt(1.0 + e2 * c0 * c0 * c0 * c0 / (1.0 - e2));
    k.chi0 = std::asin(sin_phi0 / k.C);
    k.K = std::tan(kPi / 4.0 + k.chi0 / 2.0) * std::pow(isometric(e, phi0).g(), -k.C);
  }
  const double w2 = 1.0 - e2 * sin_phi0 * sin_phi0;
  const double N0 = a / std::sqrt(w2), M0 = a * (1.0 - e2) / std::pow(w2, 1.5);
  k.R = std::sqrt(M0 * N0);
  k.D = 2.0 * k.R * par[kSlotScaleFactor];
  k.sin_chi0 = std::sin(k.chi0);
  k.cos_chi0 = std::cos(k.chi0);
  k.C_lambda0 = k.C * par[kSlotCentralMeridian];
  return k;
}

}  // namespace double_stereographic
}  // namespace kx

#endif  // KX_PROJECTIONS_DOUBLE_STEREOGRAPHIC_H
