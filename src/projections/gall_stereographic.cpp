// Gall stereographic: x = a dlambda / sqrt 2, y = a (1 + 1/sqrt 2) tan(phi/2)
// (sphere of radius a, whatever the eccentricity).
//
// Method: Snyder, "Flattening the Earth" (1993), p. 109; projection of the
// sphere from the equator's antipode onto a cylinder secant at 45 degrees.
// Against PROJ 9 (+proj=gall, tests/scripts/gen_cyl_oracle.py) both realise
// the same formula: agreement to 1 nm.
#include <cmath>

#include "kx.h"
#include "projections/cylindrical_common.h"
#include "projections/gall_stereographic.h"
#include "projections/projection_common.h"

namespace {

kx::gall_stereographic::Constants constants(const double *sph, const int *ivals,
                                            const double *dvals) {
  return kx::constants_or_build<kx::gall_stereographic::Constants>(
      ivals, dvals, [&] { return kx::gall_stereographic::build(sph); });
}

}  // namespace

extern "C" {

KX_API int kx_gall_stereographic_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const auto k = constants(sph, ivals, dvals);
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    x = k.c1 * kx_delta(x - lam0);
    y = k.c2 * std::tan(y / 2.0);
    return true;
  });
}

KX_API int kx_gall_stereographic_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const auto k = constants(sph, ivals, dvals);
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = 2.0 * std::atan2(y, k.c2);
    x = kx_delta(lam0 + x / k.c1);
    y = phi;
    return kx::cylindrical::within_poles(y);
  });
}

}  // extern "C"
