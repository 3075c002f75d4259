// Orthographic projection on the sphere of radius a (the eccentricity is not
// used): the view from infinity onto the plane through the centre (lambda1,
// phi1). The far hemisphere is rejected; the horizon itself is shown.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 20-3, 20-4, 5-3 and 20-14..20-16.
//
// Measured accuracy against PROJ 9.1 (+proj=ortho on a sphere,
// tests/scripts/gen_projections.py), equatorial, polar and oblique centres:
// forward 3.3 nm, inverse 1.5e-13 deg, round trips 1.5e-13 deg; at a pole
// seen from an oblique centre the inverse takes asin of a value next to 1 and
// is good to 8.6e-7 deg only.
#include "projections/orthographic.h"

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

using kx::orthographic::build;
using kx::orthographic::Constants;

Constants constants(const double *par, const int *ivals, const double *dvals) {
  return kx::constants_or_build<Constants>(ivals, dvals, [&] { return build(par); });
}

}  // namespace

extern "C" {

KX_API int kx_orthographic_fwd(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Constants k = constants(par, ivals, dvals);
  const double a = sph[0], lam1 = par[kx::kSlotLongitudeOfCenter];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam1);
    const double sp = std::sin(y), cp = std::cos(y), cl = std::cos(dlam);
    const double cos_c = k.sin_phi1 * sp + k.cos_phi1 * cp * cl;
    if (!(cos_c >= 0.0)) return false;  // far side (or NaN)
    x = a * cp * std::sin(dlam);
    y = a * (k.cos_phi1 * sp - k.sin_phi1 * cp * cl);
    return true;
  });
}

KX_API int kx_orthographic_inv(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Constants k = constants(par, ivals, dvals);
  const double a = sph[0], lam1 = par[kx::kSlotLongitudeOfCenter];
  const double phi1 = par[kx::kSlotLatitudeOfCenter];
  const auto run = [&](auto &&longitude) {
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      const double rho = std::sqrt(x * x + y * y);
      double phi = phi1, dlam = 0.0;
      if (!(std::fabs(rho) <= kx::kEps)) {
        if (!(rho <= a)) return false;  // outside the disc (or NaN)
        const double c = std::asin(rho / a), sc = std::sin(c), cc = std::cos(c);
        phi = kx::asin_clamped(cc * k.sin_phi1 + y * sc * k.cos_phi1 / rho);
        dlam = longitude(x, y, rho, sc, cc);
      }
      x = kx_delta(lam1 + dlam);
      y = phi;
      return true;
    });
  };
  // A polar centre sees the meridians as straight rays.
  if (kx::near_eq(phi1, kx::kHalfPi))
    return run([](double x, double y, double, double, double) { return std::atan2(x, -y); });
  if (kx::near_eq(phi1, -kx::kHalfPi))
    return run([](double x, double y, double, double, double) { return std::atan2(x, y); });
  return run([&](double x, double y, double rho, double sc, double cc) {
    return std::atan2(x * sc, rho * k.cos_phi1 * cc - y * k.sin_phi1 * sc);
  });
}

}  // extern "C"
