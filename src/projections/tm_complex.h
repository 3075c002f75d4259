// Constants of the complex-analytic transverse Mercator, shared by its
// projection unit and the constants function.
#ifndef KX_PROJECTIONS_TM_COMPLEX_H
#define KX_PROJECTIONS_TM_COMPLEX_H

#include <cmath>
#include <cstring>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace tm_complex {

// The Newton tolerances derive from the machine epsilon of 64-bit-mantissa
// extended arithmetic, fixed here so that every platform stops alike.
constexpr double kEpsM = 5.421010862427522e-20;       // 2^-64
constexpr double kTwoEpsM = 1.0842021724855044e-19;   // 2^-63
constexpr double kSqrtEpsM = 2.3283064365386963e-10;  // 2^-32

struct EllipsoidConstants {
  double ak0;
  double one_minus_e2;
  double e;
  double eps_m;
  double two_eps_m;
  double sqrt_eps_m;
  double y0;  // northing of (lambda0, phi0) from the equator
};

struct SphereConstants {
  double rk0;       // a k0
  double half_rk0;  // a k0 / 2
};

inline EllipsoidConstants build_ellipsoid(const double *sph, const double *par) {
  EllipsoidConstants c;
  c.ak0 = sph[0] * par[kSlotScaleFactor];
  c.one_minus_e2 = 1.0 - sph[1];
  c.e = std::sqrt(sph[1]);
  c.eps_m = kEpsM;
  c.two_eps_m = kTwoEpsM;
  c.sqrt_eps_m = kSqrtEpsM;
  c.y0 = 0.0;
  const double phi0 = par[kSlotLatitudeOfOrigin];
  if (std::fabs(phi0) > kEps) {
    double equator[kParameterCount];
    std::memcpy(equator, par, sizeof equator);
    equator[kSlotLatitudeOfOrigin] = 0.0;
    c.y0 = northing_of(kx_tm_complex_fwd, sph, equator, par[kSlotCentralMeridian], phi0, nullptr,
                       nullptr);
  }
  return c;
}

inline SphereConstants build_sphere(const double *sph, const double *par) {
  const double rk0 = sph[0] * par[kSlotScaleFactor];
  return {rk0, rk0 / 2.0};
}

}  // namespace tm_complex
}  // namespace kx

#endif  // KX_PROJECTIONS_TM_COMPLEX_H
