// Pieces the spherical world projections share: the root finders of their
// auxiliary angles, clamps and the inverse longitude. Non-finite input never
// reaches their kernels (the point loop refuses it).
#ifndef KX_PROJECTIONS_WORLD_COMMON_H
#define KX_PROJECTIONS_WORLD_COMMON_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace world {

inline double clamp_unit(double v) { return v > 1.0 ? 1.0 : (v < -1.0 ? -1.0 : v); }

// asin of a value within the library tolerance of +-1 is the pole itself:
// next to 1, asin turns a rounding of 1e-16 into 1e-8 radians.
inline double asin_pole(double v) {
  if (near_eq(std::fabs(v), 1.0)) return std::copysign(kHalfPi, v);
  return std::asin(clamp_unit(v));
}

// Newton steps on f from a zeroin root. zeroin stops where |f| <= 2^-48,
// which next to the pole, where f' vanishes, leaves theta short by up to
// sqrt(2^-48 / f'') (Eckert IV: 6e-8 rad): a few steps restore the
// digits. A step that would leave the neighbourhood (f' ~ 0 at the pole
// itself) is not taken.
template <class F, class D>
double polish(double theta, F &&f, D &&fprime) {
  for (int step = 0; step < 8; ++step) {
    const double h = f(theta) / fprime(theta);
    if (!(std::fabs(h) < 1e-4)) break;
    theta = std::fmin(std::fmax(theta - h, 0.0), kHalfPi);
    if (std::fabs(h) <= 1e-16) break;
  }
  return theta;
}

// The root in [0, pi/2] of f (increasing there) by the library's zeroin.
template <class F>
double root_in_quadrant(F f) {
  return kx_zeroin(&f, [](double t, void *data) { return (*static_cast<F *>(data))(t); });
}

// Bisection on [0, pi/2] for an increasing f: stops when f(m) equals 0 or
// the bracket closes, both within the library tolerance. A bracket halves
// each pass, so 200 passes are reached only when f gives no sign (NaN).
template <class F>
double bisect_quadrant(F &&f) {
  double lo = 0.0, hi = kHalfPi, m = 0.0;
  for (int pass = 0; pass < 200; ++pass) {
    m = (lo + hi) / 2.0;
    const double v = f(m);
    if (near_eq(v, 0.0) || near_eq(lo, hi)) break;
    if (v < 0.0)
      lo = m;
    else
      hi = m;
  }
  return m;
}

// The forward or inverse of a world projection with constants: refuses
// missing arguments, takes the constants from dvals or builds them from the
// spheroid, and runs kernel(k, lambda0, x, y) over the points.
template <class Constants, class Build, class Kernel>
int run(const double *sph, const double *par, int n, double *coords, const int *ivals,
        const double *dvals, Build &&build, Kernel &&kernel) {
  if (sph == nullptr || par == nullptr) return fail_points(n, coords);
  const Constants k = constants_or_build<Constants>(ivals, dvals, [&] { return build(sph); });
  const double lam0 = par[kSlotCentralMeridian];
  return convert_points(n, coords, [&](double &x, double &y) { return kernel(k, lam0, x, y); });
}

// The forward or inverse of a world projection without constants:
// kernel(a, lambda0, x, y) over the points.
template <class Kernel>
int run(const double *sph, const double *par, int n, double *coords, Kernel &&kernel) {
  if (sph == nullptr || par == nullptr) return fail_points(n, coords);
  const double a = sph[0], lam0 = par[kSlotCentralMeridian];
  return convert_points(n, coords, [&](double &x, double &y) { return kernel(a, lam0, x, y); });
}

// Their constants function: the built constants stored in pc.
template <class Build>
int store(kx_pcsconstants pc, const double *sph, const double *par, Build &&build) {
  return sph == nullptr || par == nullptr ? 0 : store_constants(pc, build(sph));
}

// Longitude of an inverse result: the central meridian plus the offset.
inline double longitude(double lam0, double dlam) { return kx_delta(lam0 + dlam); }

}  // namespace world
}  // namespace kx

#endif  // KX_PROJECTIONS_WORLD_COMMON_H
