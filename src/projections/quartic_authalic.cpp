// Quartic authalic projection on the sphere of radius a (equal-area,
// quartic-curve meridians): x = a dlambda cos phi / cos(phi/2),
// y = 2 a sin(phi/2).
//
// Method: Snyder, "Flattening the Earth" (1993), p. 180 (the McBryde-Thomas
// family with p = q = 2).
//
// Measured accuracy against PROJ 9.1 (+proj=qua_aut +R=a, tests/scripts/
// gen_projections.py): forward within 7.5 nm, inverse within 5.1e-14 degrees.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

extern "C" {

KX_API int kx_quartic_authalic_fwd(const double *sph, const double *par, int n, double *coords,
                                   const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double phi = y;
    x = a * kx_delta(x - lam0) * kx::cos_exact(phi) / std::cos(phi / 2.0);
    y = 2.0 * a * std::sin(phi / 2.0);
    return true;
  });
}

KX_API int kx_quartic_authalic_inv(const double *sph, const double *par, int n, double *coords,
                                   const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double phi = 2.0 * std::asin(kx::world::clamp_unit(y / (2.0 * a)));
    const double dlam = kx::is_pole(phi) ? 0.0 : x * std::cos(phi / 2.0) / (a * std::cos(phi));
    x = kx::world::longitude(lam0, dlam);
    y = phi;
    return true;
  });
}

}  // extern "C"
