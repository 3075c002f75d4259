// Vertical near-side perspective: the view of the earth from a point of view
// at height h above the centre (lambda1, phi1), projected onto the plane
// tangent at the centre. Ellipsoid or sphere, every aspect by the same
// formulas. Points beyond the horizon are NaN and not counted; so is every
// point when the height is not a finite number above 0.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 23-1..23-5, 23-17..23-19 (sphere) and the ellipsoidal forms of
// chapter 23 (geocentric latitude of the point of view by fixed-point
// iteration; the inverse as the root of the ray's quadratic).
//
// Measured accuracy: sphere against PROJ 9.1 (+proj=nsper, tests/scripts/
// gen_projections.py) 1.6 nm forward, 2e-13 deg inverse; ellipsoid against
// the exact ray construction evaluated in that script, polar, equatorial
// and oblique centres and one 1e-5 degrees from a pole, 3.3 nm forward,
// 5.9e-12 deg inverse (the quadratic's root).
#include "projections/vertical_perspective.h"

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

using kx::vertical_perspective::build_ellipsoid;
using kx::vertical_perspective::build_sphere;
using kx::vertical_perspective::EllipsoidConstants;
using kx::vertical_perspective::kSlotHeight;
using kx::vertical_perspective::SphereConstants;

int forward_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double e2 = sph[1], h = par[kSlotHeight], lam1 = par[kx::kSlotLongitudeOfCenter];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam1);
    const double sp = std::sin(y), cp = std::cos(y), cl = std::cos(dlam);
    if (!(k.cos_phi1 * cp * cl + k.sin_phi1 * sp >= k.inv_P)) return false;  // hidden
    const double w = kx_w(e2, y), C = cp / w, S = (1.0 - e2) * sp / w;
    const double K = h / (k.B - (C * k.cos_phi1 * cl + S * k.sin_phi1));
    x = K * C * std::sin(dlam);
    y = K * (k.D + S * k.cos_phi1 - C * k.sin_phi1 * cl);
    return true;
  });
}

int forward_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const double a = sph[0], lam1 = par[kx::kSlotLongitudeOfCenter];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam1);
    const double sp = std::sin(y), cp = std::cos(y), cl = std::cos(dlam);
    const double cos_c = k.cos_phi1 * cp * cl + k.sin_phi1 * sp;
    if (!(cos_c >= k.inv_P)) return false;  // hidden
    const double K = a * (k.P - 1.0) / (k.P - cos_c);
    x = K * cp * std::sin(dlam);
    y = K * (k.cos_phi1 * sp - k.sin_phi1 * cp * cl);
    return true;
  });
}

// The ray from the point of view through (x, y) meets the ellipsoid where
// the quadratic t K^2 + u K + v = 0 has its nearer root; beyond the horizon
// it has none and the point fails.
int inverse_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double e2 = sph[1], h = par[kSlotHeight], lam1 = par[kx::kSlotLongitudeOfCenter];
  const double m = 1.0 - e2;
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double u = -2.0 * k.B * k.L * h - 2.0 * k.D * k.G * y + k.B * k.J * y + k.D * k.J * h;
    const double v = k.L * h * h + k.G * y * y - h * k.J * y + m * x * x;
    const double K = (std::sqrt(u * u - 4.0 * k.t * v) - u) / (2.0 * k.t);
    const double X = k.B - h / K, Y = y / K - k.D;
    const double Z = Y * k.cos_phi1 + X * k.sin_phi1;
    const double dlam = std::atan2(x / K, k.cos_phi1 * X - k.sin_phi1 * Y);
    y = std::atan2(Z / std::sqrt(m * (m - Z * Z)), 1.0);
    x = kx_delta(lam1 + dlam);
    return true;
  });
}

int inverse_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const double a = sph[0];
  const double lam1 = par[kx::kSlotLongitudeOfCenter], phi1 = par[kx::kSlotLatitudeOfCenter];
  const double ap1 = a * (k.P - 1.0), q = (k.P + 1.0) / (ap1 * a);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double rho = std::sqrt(x * x + y * y);
    double phi = phi1, dlam = 0.0;
    if (!(std::fabs(rho) <= kx::kEps)) {
      if (!(rho <= k.rho_max)) return false;  // beyond the horizon
      // On the horizon itself rounding may take the root's argument below 0.
      const double sc =
          (k.P - std::sqrt(std::fmax(0.0, 1.0 - rho * rho * q))) / (rho / ap1 + ap1 / rho);
      const double cc = std::cos(std::asin(std::fmin(sc, 1.0)));
      phi = kx::asin_clamped(y * sc * k.cos_phi1 / rho + k.sin_phi1 * cc);
      dlam = std::atan2(x * sc, rho * k.cos_phi1 * cc - y * k.sin_phi1 * sc);
    }
    x = kx_delta(lam1 + dlam);
    y = phi;
    return true;
  });
}

}  // namespace

extern "C" {

KX_API int kx_vertical_ns_perspective_fwd(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr || !kx::vertical_perspective::valid_height(par))
    return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return forward_ellipsoid(sph, par, n, coords,
                             kx::constants_or_build(ivals, dvals, build_ellipsoid, sph, par));
  return forward_sphere(sph, par, n, coords,
                        kx::constants_or_build(ivals, dvals, build_sphere, sph, par));
}

KX_API int kx_vertical_ns_perspective_inv(const double *sph, const double *par, int n,
                                          double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr || !kx::vertical_perspective::valid_height(par))
    return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return inverse_ellipsoid(sph, par, n, coords,
                             kx::constants_or_build(ivals, dvals, build_ellipsoid, sph, par));
  return inverse_sphere(sph, par, n, coords,
                        kx::constants_or_build(ivals, dvals, build_sphere, sph, par));
}

}  // extern "C"
