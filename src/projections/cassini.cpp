// Cassini(-Soldner) projection, ellipsoid by series in A = dlambda cos phi
// and in D = x / N1 from the footpoint latitude, sphere in closed form; the
// scale factor multiplies both coordinates. No constants function: the two
// meridian arcs it needs are computed once per call.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 13-1..13-12, with the library's meridian arc and rectifying-latitude
// series.
//
// Accuracy: how well the inverse series undoes the forward one is stated with
// kx_cassini_fwd in kx.h. Measured by tests/projections/epsg_test.cpp: the
// EPSG reference points of the Cassini-Soldner CRSs (exact formulas) agree
// to 0.05 um forward and 2.2e-7 degrees inverse; the sphere agrees with
// PROJ 9 to the last place.
#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/cylindrical_common.h"
#include "projections/near_pole.h"
#include "projections/projection_common.h"

namespace {

int forward_ellipsoid(const double *sph, const double *par, int n, double *coords) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const double k = par[kx::kSlotScaleFactor];
  const double M0 = kx_q(a, e2, par[kx::kSlotLatitudeOfOrigin]);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = kx::inside_poles(y), dlam = kx_delta(x - lam0);
    const double N = kx_n(a, e2, phi), t = std::tan(phi), T = t * t, c = std::cos(phi);
    const double C = e2 * c * c / (1.0 - e2), A = dlam * c;
    const double A2 = A * A, A3 = A2 * A, A4 = A2 * A2, A5 = A4 * A;
    x = k * (N * (A - T * A3 / 6.0 - (8.0 - T + 8.0 * C) * T * A5 / 120.0));
    y = k * (kx_q(a, e2, phi) - M0 + N * t * (A2 / 2.0 + (5.0 - T + 6.0 * C) * A4 / 24.0));
    return true;
  });
}

int forward_sphere(const double *sph, const double *par, int n, double *coords) {
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double k = par[kx::kSlotScaleFactor], phi0 = par[kx::kSlotLatitudeOfOrigin];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = kx::inside_poles(y), dlam = kx_delta(x - lam0);
    x = k * (a * kx::asin_clamped(std::cos(phi) * std::sin(dlam)));
    y = k * (a * (std::atan2(std::tan(phi), std::cos(dlam)) - phi0));
    return true;
  });
}

int inverse_ellipsoid(const double *sph, const double *par, int n, double *coords) {
  const double a = sph[0], e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const double k = par[kx::kSlotScaleFactor];
  const double M0 = kx_q(a, e2, par[kx::kSlotLatitudeOfOrigin]);
  const double Mp = kx_q(a, e2, kx::kHalfPi);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double xp = x / k, yp = y / k;
    const double phi1 = kx_mu_to_phi(e2, (M0 + yp) * kx::kHalfPi / Mp);
    const double t1 = std::tan(phi1), T1 = t1 * t1;
    const double N1 = kx_n(a, e2, phi1), M1 = kx_m(a, e2, phi1);
    const double D = xp / N1, D2 = D * D, D3 = D2 * D, D4 = D2 * D2, D5 = D4 * D;
    double phi = phi1 - (N1 * t1 / M1) * (D2 / 2.0 - (1.0 + 3.0 * T1) * D4 / 24.0);
    const double dlam = (D - T1 * D3 / 3.0 + (1.0 + 3.0 * T1) * T1 * D5 / 15.0) / std::cos(phi1);
    // A latitude past a pole is a point beyond the map's pole line: rejected.
    if (!kx::finite_pair(dlam, phi) || !kx::cylindrical::within_poles(phi))
      return false;
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

int inverse_sphere(const double *sph, const double *par, int n, double *coords) {
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double k = par[kx::kSlotScaleFactor], phi0 = par[kx::kSlotLatitudeOfOrigin];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double xa = x / k / a, D = y / k / a + phi0;
    const double phi = kx::asin_clamped(std::sin(D) * std::cos(xa));
    const double dlam = std::atan2(std::tan(xa), std::cos(D));
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

}  // namespace

extern "C" {

KX_API int kx_cassini_fwd(const double *sph, const double *par, int n, double *coords,
                          const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1])) return forward_ellipsoid(sph, par, n, coords);
  return forward_sphere(sph, par, n, coords);
}

KX_API int kx_cassini_inv(const double *sph, const double *par, int n, double *coords,
                          const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1])) return inverse_ellipsoid(sph, par, n, coords);
  return inverse_sphere(sph, par, n, coords);
}

}  // extern "C"
