// McBryde-Thomas flat-polar quartic projection on the sphere of radius a
// (equal-area, the pole a line a third of the equator's length): the
// auxiliary angle theta solves sin(theta/2) + sin theta = (1 + sqrt 2 / 2)
// sin phi by Newton's method.
//
// Method: Snyder, "Flattening the Earth" (1993), p. 181, and "An Album of
// Map Projections" (USGS PP 1453, 1989), p. 218.
//
// Measured accuracy against PROJ 9.1 (+proj=mbtfpq +R=a, tests/scripts/
// gen_projections.py): forward within 48 nm (PROJ is 54 nm from a 40-digit
// solution), inverse within 3.3e-13 degrees.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

constexpr double kC3 = 1.7071067811865475;  // 1 + sqrt 2 / 2

// Newton's method converges quadratically from theta = phi in a few steps
// over [-pi/2, pi/2]; the cap (the iteration had none) only ends the loop
// for input on which it would never settle, such as a huge latitude.
constexpr int kMaxSteps = 50;

struct Constants {
  double c1;  // a / 3.2004125807650623
  double c2;  // 1.874758284622695 a
};

Constants build(const double *sph) {
  return {sph[0] / 3.2004125807650623, 1.874758284622695 * sph[0]};
}

}  // namespace

extern "C" {

KX_API int kx_flat_polar_quartic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  return kx::world::store(pc, sph, par, build);
}

KX_API int kx_flat_polar_quartic_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    const double target = kC3 * std::sin(y);
    double theta = y;
    for (int step = 0; step < kMaxSteps; ++step) {
      const double delta = (target - std::sin(theta / 2.0) - std::sin(theta)) /
                           (-0.5 * std::cos(theta / 2.0) - std::cos(theta));
      if (!std::isfinite(delta)) break;
      // The last correction is applied too: dropping it left y 0.15 um off.
      theta -= delta;
      if (std::fabs(delta) <= 1e-13) break;
    }
    x = k.c1 * kx_delta(x - lam0) * (1.0 + 2.0 * std::cos(theta) / std::cos(theta / 2.0));
    y = k.c2 * std::sin(theta / 2.0);
    return true;
  });
}

KX_API int kx_flat_polar_quartic_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    const double h = std::asin(y / k.c2);
    const double phi = kx::world::asin_pole((std::sin(2.0 * h) + y / k.c2) / kC3);
    x = kx::world::longitude(lam0, x / (k.c1 * (1.0 + 2.0 * std::cos(2.0 * h) / std::cos(h))));
    y = phi;
    return true;
  });
}

}  // extern "C"
