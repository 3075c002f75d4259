// Transverse Mercator by series (Gauss-Kruger): the ellipsoid by the
// Thomas/Redfearn expansions in the longitude difference (to A^8) and in x
// from the footpoint latitude (to x^8); the sphere in closed form.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 8-1..8-10, extended by the eta^4..eta^8 and eighth-order terms of
// Thomas, "Conformal projections in geodesy and cartography" (1952), with the
// library's meridian arc and rectifying-latitude series.
//
// Accuracy: the bounds stated with kx_gauss_kruger_fwd in kx.h, measured
// against the exact transverse Mercator (GeographicLib TransverseMercatorProj
// -t) by tests/projections/oracle_test.cpp (bounds in oracle_bounds.csv).
#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/cylindrical_common.h"
#include "projections/gauss_kruger.h"
#include "projections/near_pole.h"
#include "projections/projection_common.h"

namespace {

using kx::gauss_kruger::EllipsoidConstants;
using kx::gauss_kruger::SphereConstants;

// Closest to +-1 that the spherical forward lets cos phi sin dlambda be.
constexpr double kMaxB = 1.0 - kx::kEps;

int forward_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const double k0 = par[kx::kSlotScaleFactor];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = kx::inside_poles(y), A = kx_delta(x - lam0);
    // N and the arc inline (the same operations as kx_n and kx_q), tan phi
    // from the sine and cosine already at hand.
    const double s = std::sin(phi), c = std::cos(phi), t = s / c;
    const double T = t * t, T2 = T * T, T3 = T2 * T;
    const double h2 = k.ep2 * c * c, h4 = h2 * h2, h6 = h4 * h2, h8 = h4 * h4;
    const double kN = k0 * (a / std::sqrt(1.0 - e2 * s * s));
    const double c2 = c * c, c3 = c2 * c, c5 = c3 * c2, c7 = c5 * c2;
    const double A2 = A * A, A3 = A2 * A, A4 = A2 * A2, A5 = A4 * A, A6 = A4 * A2;
    const double A7 = A6 * A, A8 = A4 * A4;
    y = k0 * (kx::meridian_arc(a, e2, phi) - k.M0) + kN * s * c * A2 / 2.0 +
        (kN / 24.0) * s * c3 * (5.0 - T + 9.0 * h2 + 4.0 * h4) * A4 +
        (kN / 720.0) * s * c5 *
            (61.0 - 58.0 * T + T2 + 270.0 * h2 - 330.0 * T * h2 + 445.0 * h4 + 324.0 * h6 +
             88.0 * h8 - 680.0 * T * h4 - 600.0 * T * h6 - 192.0 * T * h8) *
            A6 +
        (kN / 40320.0) * s * c7 * (1385.0 - 3111.0 * T + 543.0 * T2 - T3) * A8;
    x = kN * c * A + (kN / 6.0) * c3 * (1.0 - T + h2) * A3 +
        (kN / 120.0) * c5 *
            (5.0 - 18.0 * T + T2 + 14.0 * h2 - 58.0 * T * h2 + 13.0 * h4 + 4.0 * h6 -
             64.0 * T * h4 - 24.0 * T * h6) *
            A5 +
        (kN / 5040.0) * c7 * (61.0 - 479.0 * T + 179.0 * T2 - T3) * A7;
    return true;
  });
}

int inverse_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const double k0 = par[kx::kSlotScaleFactor];
  const double k02 = k0 * k0, k03 = k02 * k0, k04 = k02 * k02, k05 = k04 * k0;
  const double k06 = k04 * k02, k07 = k06 * k0, k08 = k04 * k04;
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double mu = (y / k0 + k.M0) * kx::kHalfPi / k.Mp;
    const double phi1 = kx::rectifying_to_geodetic(e2, mu);
    // M and N inline (the same operations as kx_m and kx_n), tan from sin/cos.
    const double s1 = std::sin(phi1), c1 = std::cos(phi1);
    const double w = std::sqrt(1.0 - e2 * s1 * s1);
    const double M1 = a * (1.0 - e2) / (w * w * w), N1 = a / w;
    const double t = s1 / c1, T = t * t, T2 = T * T, T3 = T2 * T;
    const double h2 = k.ep2 * c1 * c1, h4 = h2 * h2, h6 = h4 * h2, h8 = h4 * h4;
    const double N2 = N1 * N1, N3 = N2 * N1, N5 = N3 * N2, N7 = N5 * N2;
    const double x2 = x * x, x3 = x2 * x, x4 = x2 * x2, x5 = x4 * x, x6 = x4 * x2;
    const double x7 = x6 * x, x8 = x4 * x4;
    double phi = phi1 - t / (2.0 * M1 * N1 * k02) * x2 +
                 t / (24.0 * M1 * N3 * k04) *
                     (5.0 + 3.0 * T + h2 - 4.0 * h4 - 9.0 * T * h2) * x4 -
                 t / (720.0 * M1 * N5 * k06) *
                     (61.0 + 90.0 * T + 45.0 * T2 + 46.0 * h2 - 3.0 * h4 + 100.0 * h6 +
                      88.0 * h8 - 252.0 * T * h2 - 66.0 * T * h4 + 84.0 * T * h6 -
                      192.0 * T * h8 - 90.0 * T2 * h2 + 225.0 * T2 * h4) *
                     x6 +
                 t / (40320.0 * M1 * N7 * k08) * (1385.0 + 3633.0 * T + 4095.0 * T2 + 1575.0 * T3) *
                     x8;
    const double dlam =
        (x / (k0 * N1) - (1.0 + 2.0 * T + h2) * x3 / (6.0 * k03 * N3) +
         (5.0 + 28.0 * T + 24.0 * T2 + 6.0 * h2 - 3.0 * h4 - 4.0 * h6 + 8.0 * T * h2 +
          4.0 * T * h4 + 24.0 * T * h6) *
             x5 / (120.0 * k05 * N5) -
         (61.0 + 662.0 * T + 1320.0 * T2 + 720.0 * T3) * x7 / (5040.0 * k07 * N7)) /
        c1;
    // A latitude past a pole is a point beyond the map's pole line: rejected.
    if (!kx::finite_pair(dlam, phi) || !kx::cylindrical::within_poles(phi))
      return false;
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

int forward_sphere(const double *par, int n, double *coords, const SphereConstants &k) {
  const double lam0 = par[kx::kSlotCentralMeridian], phi0 = par[kx::kSlotLatitudeOfOrigin];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = kx::inside_poles(y), dlam = kx_delta(x - lam0);
    double B = std::cos(phi) * std::sin(dlam);
    if (kx::near_eq(std::fabs(B), 1.0)) B = std::copysign(kMaxB, B);
    x = k.half_ak0 * std::log((1.0 + B) / (1.0 - B));
    y = k.ak0 * (std::atan2(std::tan(phi), std::cos(dlam)) - phi0);
    return true;
  });
}

int inverse_sphere(const double *par, int n, double *coords, const SphereConstants &k) {
  const double lam0 = par[kx::kSlotCentralMeridian], phi0 = par[kx::kSlotLatitudeOfOrigin];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double D = y / k.ak0 + phi0, ex = std::exp(x / k.ak0), emx = std::exp(-x / k.ak0);
    double g = 2.0 * std::sin(D) / (ex + emx);
    if (g > 1.0 || g < -1.0) g = g > 0.0 ? 1.0 : -1.0;
    const double phi = std::asin(g), dlam = std::atan2(ex - emx, 2.0 * std::cos(D));
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

}  // namespace

extern "C" {

KX_API int kx_gauss_kruger_fwd(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return forward_ellipsoid(
        sph, par, n, coords,
        kx::constants_or_build(ivals, dvals, kx::gauss_kruger::build_ellipsoid, sph, par));
  return forward_sphere(
      par, n, coords,
      kx::constants_or_build(ivals, dvals, kx::gauss_kruger::build_sphere, sph, par));
}

KX_API int kx_gauss_kruger_inv(const double *sph, const double *par, int n, double *coords,
                               const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return inverse_ellipsoid(
        sph, par, n, coords,
        kx::constants_or_build(ivals, dvals, kx::gauss_kruger::build_ellipsoid, sph, par));
  return inverse_sphere(
      par, n, coords,
      kx::constants_or_build(ivals, dvals, kx::gauss_kruger::build_sphere, sph, par));
}

}  // extern "C"
