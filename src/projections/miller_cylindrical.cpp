// Miller cylindrical: x = a dlambda, y = a ln tan(pi/4 + 0.4 phi) / 0.8
// (sphere of radius a).
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 11-1, 11-2, 11-6. Against PROJ 9 (+proj=mill, tests/scripts/
// gen_cyl_oracle.py) both realise the same formula: agreement to 1 nm.
#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/cylindrical_common.h"
#include "projections/projection_common.h"

namespace {
constexpr double kFiveEighthsPi = 1.9634954084936207;
}

extern "C" {

KX_API int kx_miller_cylindrical_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    x = a * kx_delta(x - lam0);
    y = a * std::log(std::tan(kx::kPi / 4.0 + 0.4 * y)) / 0.8;
    return true;
  });
}

KX_API int kx_miller_cylindrical_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = std::atan(std::exp(0.8 * y / a)) / 0.4 - kFiveEighthsPi;
    x = kx_delta(lam0 + x / a);
    y = phi;
    return kx::cylindrical::within_poles(y);
  });
}

}  // extern "C"
