// Craster parabolic (Putnins P4) projection on the sphere of radius a
// (equal-area, parabolic meridians): x = sqrt(3/pi) a dlambda
// (2 cos(2 phi / 3) - 1), y = sqrt(3 pi) a sin(phi / 3).
//
// Method: Snyder, "An Album of Map Projections" (USGS PP 1453, 1989), p. 220.
//
// Measured accuracy against PROJ 9.1 (+proj=crast +R=a, tests/scripts/
// gen_projections.py): forward within 5.6 nm, inverse within 6.9e-14 degrees.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

struct Constants {
  double c1;  // sqrt(3 / pi) a
  double c2;  // sqrt(3 pi) a
};

Constants build(const double *sph) {
  return {0.9772050238058398 * sph[0], 3.0699801238394655 * sph[0]};
}

}  // namespace

extern "C" {

KX_API int kx_craster_parabolic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  return kx::world::store(pc, sph, par, build);
}

KX_API int kx_craster_parabolic_fwd(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    x = k.c1 * kx_delta(x - lam0) * (2.0 * std::cos(2.0 * y / 3.0) - 1.0);
    y = k.c2 * std::sin(y / 3.0);
    return true;
  });
}

KX_API int kx_craster_parabolic_inv(const double *sph, const double *par, int n, double *coords,
                                    const int *ivals, const double *dvals) {
  return kx::world::run<Constants>(sph, par, n, coords, ivals, dvals, build,
                                   [](const Constants &k, double lam0, double &x, double &y) {
    const double phi = 3.0 * std::asin(y / k.c2);
    x = kx::world::longitude(lam0, x / (k.c1 * (2.0 * std::cos(2.0 * phi / 3.0) - 1.0)));
    y = phi;
    return true;
  });
}

}  // extern "C"
