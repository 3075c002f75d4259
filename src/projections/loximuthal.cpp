// Loximuthal projection on the sphere of radius a: straight loxodromes
// from the central point (lambda0, phi1), phi1 the Central_Parallel (slot
// 6), at their true length and azimuth. y = a (phi - phi1), x = a dlambda
// (phi - phi1) / (psi(phi) - psi(phi1)) with psi the isometric latitude.
//
// Method: Snyder, "An Album of Map Projections" (USGS PP 1453, 1989), p. 212.
// The difference psi(phi) - psi(phi1) = ln(tan(pi/4 + phi/2) / tan(pi/4 +
// phi1/2)) is taken as log1p of tan A / tan B - 1 = sin(A - B) / (cos A
// sin B) when the ratio is near 1: the quotient of two nearly equal
// logarithms would lose all digits next to phi1 (x off by 3.6 m at 1e-9 rad
// from it, by 2.2 km at 1e-13).
//
// Measured accuracy against PROJ 9.1 (+proj=loxim +lat_1=phi1 +R=a,
// tests/scripts/gen_projections.py): forward within 0.12 um, which is
// PROJ's own distance from 40-digit values (its difference of logarithms),
// inverse within 1.1e-12 degrees; from 1e-7 to 1e-13 rad off phi1, against
// 40-digit values (tests/scripts/world_formulas.py), within 5.6 nm.
// The poles are points (0, a (+-pi/2 - phi1)).
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

// psi(phi) - psi(phi1).
double isometric_difference(double phi, double phi1) {
  const double qa = kx::kPi / 4.0 + phi / 2.0, qb = kx::kPi / 4.0 + phi1 / 2.0;
  const double r = std::sin((phi - phi1) / 2.0) / (std::cos(qa) * std::sin(qb));
  if (std::fabs(r) < 0.5) return std::log1p(r);
  return std::log(std::tan(qa) / std::tan(qb));
}

}  // namespace

extern "C" {

KX_API int kx_loximuthal_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double phi1 = par[kx::kSlotLatitudeOfOrigin], cos_phi1 = std::cos(phi1);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0);
    const double phi = y;
    if (kx::near_eq(phi, phi1)) {
      x = a * dlam * cos_phi1;
      y = 0.0;
      return true;
    }
    // The isometric latitude is infinite at a pole, which is a point on the
    // central meridian; a pole nudged to where it is finite put x up to
    // 1100 km off that meridian.
    x = kx::is_pole(phi) ? 0.0 : a * dlam * (phi - phi1) / isometric_difference(phi, phi1);
    y = a * (phi - phi1);
    return true;
  });
}

KX_API int kx_loximuthal_inv(const double *sph, const double *par, int n, double *coords,
                             const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double phi1 = par[kx::kSlotLatitudeOfOrigin], cos_phi1 = std::cos(phi1);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (kx::near_eq(y, 0.0)) {
      x = kx::world::longitude(lam0, x / (a * cos_phi1));
      y = phi1;
      return true;
    }
    const double phi = y / a + phi1;
    if (kx::is_pole(phi)) {  // a point: its longitude is free, the central one
      x = kx::world::longitude(lam0, 0.0);
      y = std::copysign(kx::kHalfPi, phi);
      return true;
    }
    x = kx::world::longitude(lam0, x * isometric_difference(phi, phi1) / ((phi - phi1) * a));
    y = phi;
    return true;
  });
}

}  // extern "C"
