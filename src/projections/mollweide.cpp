// Mollweide projection on the sphere of radius a (equal-area, elliptical
// meridians): the auxiliary angle theta solves 2 theta + sin 2 theta =
// pi sin phi; x = (2 sqrt 2 / pi) a dlambda cos theta, y = sqrt 2 a sin theta.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 31-1..31-6; theta by the library's zeroin, then up to eight Newton
// steps: zeroin stops where |f| <= 2^-48, and next to the poles, where f'
// vanishes, that left x up to 140 m off.
//
// Measured accuracy against PROJ 9.1 (+proj=moll +R=a, tests/scripts/
// gen_projections.py): forward within 21 nm, inverse within 1.5e-13
// degrees, away from the poles; at a pole PROJ puts x 62 m off the central
// meridian, the library at 0 (tests/projections/world_test.cpp).
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

struct Constants {
  double c1;  // sqrt 2 a
  double c2;  // 2 sqrt 2 a / pi
};

Constants build(const double *sph) {
  const double c1 = std::sqrt(2.0) * sph[0];
  return {c1, c1 / kx::kHalfPi};
}

}  // namespace

extern "C" {

KX_API int kx_mollweide_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::store_constants(pc, build(sph));
}

KX_API int kx_mollweide_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Constants k = kx::constants_or_build<Constants>(ivals, dvals, [&] { return build(sph); });
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (!kx::world::finite_pair(x, y)) return false;
    const double target = kx::kPi * std::sin(std::fabs(y));
    const auto f = [target](double t) { return 2.0 * t + std::sin(2.0 * t) - target; };
    double theta = kx::world::polish(kx::world::root_in_quadrant(f), f, [](double t) {
      const double c = std::cos(t);
      return 4.0 * c * c;
    });
    if (y < 0.0) theta = -theta;
    x = k.c2 * kx_delta(x - lam0) * kx::cos_exact(theta);
    y = k.c1 * std::sin(theta);
    return true;
  });
}

KX_API int kx_mollweide_inv(const double *sph, const double *par, int n, double *coords,
                            const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Constants k = kx::constants_or_build<Constants>(ivals, dvals, [&] { return build(sph); });
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (!kx::world::finite_pair(x, y)) return false;
    const double theta = std::asin(kx::world::clamp_unit(y / k.c1));
    const double phi = kx::world::asin_pole((2.0 * theta + std::sin(2.0 * theta)) / kx::kPi);
    const double dlam = kx::is_pole(theta) ? 0.0 : x / (k.c2 * std::cos(theta));
    x = kx::world::longitude(lam0, dlam);
    y = phi;
    return true;
  });
}

}  // extern "C"
