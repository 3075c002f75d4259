// Hammer-Aitoff projection on the sphere of radius a (equal-area, the
// world in an ellipse of semi-axes 2 sqrt 2 a and sqrt 2 a): the Lambert
// azimuthal equal-area of the hemisphere with longitudes halved, stretched
// twice in x.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395,
// 1987), p. 232. The inverse longitude is taken as
// 2 atan2(z x, 2 a (2 z^2 - 1)) with z = sqrt(1 - (x/4a)^2 - (y/2a)^2)
// rather than 2 asin(tan phi x / 2y), whose argument passes 1 by rounding
// next to +-180 degrees from the central meridian (a quarter of the points
// of that meridian came back NaN). The map is the ellipse z^2 >= 1/2
// (semi-axes 2 sqrt 2 a and sqrt 2 a); a point outside it comes back NaN
// and, like every failed point, is not counted; one on its rim by rounding only (z^2 >= 1/2 - 2^-46) is
// taken on the rim. Testing z^2 >= 0 instead would let points up to twice
// as far out through as false longitudes beyond 180 degrees.
//
// Measured accuracy against PROJ 9.1 (+proj=hammer +R=a, tests/scripts/
// gen_projections.py): forward within 7.5 nm, inverse within 2.9e-13 degrees.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

extern "C" {

KX_API int kx_hammer_aitoff_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double half = kx_delta(x - lam0) / 2.0, cos_phi = kx::cos_exact(y);
    const double k = a * std::sqrt(2.0 / (1.0 + cos_phi * std::cos(half)));
    x = 2.0 * k * cos_phi * std::sin(half);
    y = k * std::sin(y);
    return true;
  });
}

KX_API int kx_hammer_aitoff_inv(const double *sph, const double *par, int n, double *coords,
                                const int *, const double *) {
  return kx::world::run(sph, par, n, coords, [&](double a, double lam0, double &x, double &y) {
    const double u = x / (4.0 * a), v = y / (2.0 * a);
    // The map fills the ellipse where z^2 >= 1/2 (its rim is the
    // antimeridian); z^2 < 0 would only catch points twice as far out.
    double z2 = 1.0 - u * u - v * v;
    if (z2 < 0.5 && z2 >= 0.5 - 4.0 * kx::kEps) z2 = 0.5;  // on the rim by rounding
    const double z = z2 >= 0.5 ? std::sqrt(z2) : kx::library_nan();
    const double phi = kx::world::asin_pole(z * y / a);
    const double dlam =
        kx::is_pole(phi) ? 0.0 : 2.0 * std::atan2(z * x, 2.0 * a * (2.0 * z2 - 1.0));
    x = kx::world::longitude(lam0, dlam);
    y = phi;
    return true;
  });
}

}  // extern "C"
