// Aitoff projection on the sphere of radius a: the azimuthal equidistant
// of the hemisphere with longitudes halved, stretched twice in x.
//
// Method: Snyder, "Flattening the Earth" (1993), p. 131. The inverse undoes
// the azimuthal equidistant in closed form; the origin is recognised by
// rho <= 2^-48 m, not by |rho cos(rho/a)| <= 2^-48, which on a small sphere
// would also send the whole ring rho = a pi / 2 to the centre.
//
// Measured accuracy against PROJ 9.1 (+proj=aitoff +R=a, tests/scripts/
// gen_projections.py): forward within 7.5 nm, inverse within 1.2e-13 degrees.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

extern "C" {

KX_API int kx_aitoff_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double half = kx_delta(x - lam0) / 2.0, cos_phi = kx::cos_exact(y);
    const double alpha = std::acos(kx::world::clamp_unit(cos_phi * std::cos(half)));
    const double k = std::fabs(alpha) <= kx::kEps ? a : a * alpha / std::sin(alpha);
    x = 2.0 * k * cos_phi * std::sin(half);
    y = k * std::sin(y);
    return true;
  });
}

KX_API int kx_aitoff_inv(const double *sph, const double *par, int n, double *coords,
                         const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double half_x = x / 2.0, rho = std::hypot(half_x, y);
    if (rho <= kx::kEps) {
      x = kx::world::longitude(lam0, 0.0);
      y = 0.0;
      return true;
    }
    const double c = rho / a, sin_c = std::sin(c);
    x = kx::world::longitude(lam0, 2.0 * std::atan2(sin_c * half_x, rho * std::cos(c)));
    y = kx::world::asin_pole(sin_c * y / rho);
    return true;
  });
}

}  // extern "C"
