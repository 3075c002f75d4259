// Times projection on the sphere of the spheroid's mean radius
// Rt = (a + b)/2: y = (1 + sqrt 2 / 2) Rt tan(phi/2), the parallels'
// lengths shrinking with sin^2(pi tan(phi/2) / 4).
//
// Method: Snyder, "Flattening the Earth" (1993), p. 213, with the library's
// constants 2.33246 and 1.086778, which give true scale on +-45 degrees.
//
// Measured accuracy against a 40-digit evaluation of the same formulas
// (tests/scripts/world_formulas.py): forward within 3.7 nm, inverse within
// 5.1e-14 degrees. PROJ 9.1's +proj=times takes 0.74482 for the first
// constant and differs by up to 48 km.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

struct Constants {
  double rt;  // (a + b) / 2, or a on a sphere
  double c1;  // 2.33246 Rt / pi
  double c2;  // 1.086778 Rt / pi
  double c3;  // (1 + sqrt 2 / 2) Rt
};

Constants build(const double *sph) {
  const double a = sph[0], e2 = sph[1];
  const double rt = kx::is_ellipsoid(e2) ? (a + a * std::sqrt(1.0 - e2)) / 2.0 : a;
  return {rt, 2.33246 * rt / kx::kPi, 1.086778 * rt / kx::kPi, 1.7071067811865475 * rt};
}

}  // namespace

extern "C" {

KX_API int kx_times_const(kx_pcsconstants pc, const double *sph, const double *par) {
  return kx::world::store(pc, sph, par, build);
}

KX_API int kx_times_fwd(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    const double t = std::tan(y / 2.0);
    const double s = std::sin(kx::kPi * t / 4.0);
    x = (k.c1 - k.c2 * s * s) * kx_delta(x - lam0);
    y = k.c3 * t;
    return true;
  });
}

KX_API int kx_times_inv(const double *sph, const double *par, int n, double *coords,
                        const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    double t = y / k.c3;
    if (std::fabs(t) > 1.0) {
      if (!kx::near_eq(std::fabs(t), 1.0)) return false;
      t = std::copysign(1.0, t);
    }
    const double s = std::sin(kx::kPi * t / 4.0);
    double dlam = x / (k.c1 - k.c2 * s * s);
    if (std::fabs(dlam) > kx::kPi) {
      if (!kx::near_eq(std::fabs(dlam), kx::kPi)) return false;
      dlam = std::copysign(kx::kPi, dlam);
    }
    x = kx::world::longitude(lam0, dlam);
    y = 2.0 * std::atan(t);
    return true;
  });
}

}  // extern "C"
