// Krovak oblique conformal conic: the ellipsoid onto the Gaussian conformal
// sphere (latitude U, longitude V from the centre, counted westwards), the
// sphere turned so that the cone's axis passes through the point at
// azimuth alpha, and a conformal cone true on the pseudo standard parallel.
// X_Scale and Y_Scale scale the cone's two axes (southing and westing) and
// XY_Plane_Rotation turns the plane, so that one function serves both the
// south-west and the east-north orientated grids. On a sphere the Gaussian
// step is the identity.
//
// Method: Krovak (1922) as given in EPSG Guidance Note 7-2 (methods 9819,
// 1041); sin U, cos U and cos T from tan(pi/4 + U/2) and sin T directly,
// without the angles.
//
// Measured agreement with the oracle of tests/scripts/gen_projections.py
// (PROJ krovak, which fixes Bessel's e2 at 0.006674372230614, 1.2e-12 below
// the ellipsoid's own, worth 0.9 mm at Prague; the cases use PROJ's value;
// centres and scales drawn at random, points within 6 degrees): forward
// 43 nm (2.4 um for PROJ's built-in centre), inverse 2.2e-11 deg. EPSG
// reference points of 9819: 2 of 2 within 1 mm.
#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

enum Slot : int {
  kPseudoParallel = kx::kSlotStandardParallel1,
  kAzimuth = 7,
  kXScale = 12,
  kYScale = 13,
  kPlaneRotation = 14,
};

// Centres whose cos phi is below this take the pole limit of k.
constexpr double kPoleCos = 1e-5;

// What every point needs, computed once per call.
struct Cone {
  double lamc, e2, e, B, k, ln_k;  // Gaussian sphere: B = 1, k = 1 off the ellipsoid
  bool ellipsoid;
  double sin_alpha, cos_alpha, n;
  double rho_scale;  // k0 R cos phip / n * tan(phip/2 + pi/4)^n
  double sx, sy, sin_w, cos_w;
  bool rotated;
};

Cone cone_of(const double *sph, const double *par) {
  Cone c;
  const double a = sph[0], e2 = sph[1], phic = par[kx::kSlotLatitudeOfCenter];
  const double phip = par[kPseudoParallel], alpha = par[kAzimuth];
  c.lamc = par[kx::kSlotLongitudeOfCenter];
  c.e2 = e2;
  c.ellipsoid = kx::is_ellipsoid(e2);
  c.e = c.ellipsoid ? std::sqrt(e2) : 0.0;
  double R = a;
  c.B = 1.0;
  c.k = 1.0;
  c.ln_k = 0.0;
  if (c.ellipsoid) {
    const double cc = std::cos(phic), sc = std::sin(phic);
    c.B = std::sqrt(1.0 + e2 * cc * cc * cc * cc / (1.0 - e2));
    if (std::fabs(cc) < kPoleCos) {
      // Next to a pole k is 0/0 (at the pole the formula gives k = 0 and
      // every point the same image). Its limit: tan(pi/4 + U0/2) over
      // tan(pi/4 + phic/2) tends to 1 (ln of it 3.4e-13 at the switch,
      // where the formula's ln k is good to 1e-11), leaving e atanh(e sin phic).
      c.ln_k = c.e * std::atanh(c.e * std::copysign(1.0, phic));
    } else {
      const double U0 = std::asin(sc / c.B);
      // k = tan(U0/2 + pi/4) / tan(pi/4 + chi_c/2)^B, and its logarithm.
      c.ln_k =
          std::log(std::tan(U0 / 2.0 + kx::kPi / 4.0)) - c.B * kx::isometric_latitude(c.e, phic);
    }
    c.k = std::exp(c.ln_k);
    R = a * std::sqrt(1.0 - e2) / (1.0 - e2 * sc * sc);
  }
  c.sin_alpha = std::sin(alpha);
  c.cos_alpha = std::cos(alpha);
  c.n = std::sin(phip);
  c.rho_scale = par[kx::kSlotScaleFactor] * R * std::cos(phip) / c.n *
                std::pow(std::tan(phip / 2.0 + kx::kPi / 4.0), c.n);
  c.sx = par[kXScale];
  c.sy = par[kYScale];
  const double w = par[kPlaneRotation];
  c.sin_w = std::sin(w);
  c.cos_w = std::cos(w);
  c.rotated = std::fabs(w) > kx::kEps;
  return c;
}

int forward(const double *sph, const double *par, int n, double *coords) {
  const Cone c = cone_of(sph, par);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(c.lamc - x);
    double su, cu, V = dlam;
    if (c.ellipsoid) {
      // tan(pi/4 + U/2) = k tan(pi/4 + chi/2)^B = exp(L): sin U = tanh L,
      // cos U = sech L, through exp(-|L|) so that the poles stay finite.
      const double L = c.ln_k + c.B * kx::isometric_latitude(c.e, y);
      const double z = std::exp(-std::fabs(L)), z2 = z * z;
      su = std::copysign((1.0 - z2) / (1.0 + z2), L);
      cu = 2.0 * z / (1.0 + z2);
      V = c.B * dlam;
    } else {
      su = std::sin(y);
      cu = std::cos(y);
    }
    const double sin_t = c.cos_alpha * su + c.sin_alpha * cu * std::cos(V);
    double xp = 0.0, yp = 0.0;
    // The cone's apex (sin T = 1) has no direction; it is the origin.
    if (!(sin_t >= 1.0)) {
      const double cos_t = std::sqrt((1.0 - sin_t) * (1.0 + sin_t));
      const double D = kx::asin_clamped(cu * std::sin(V) / cos_t);
      const double theta = c.n * D;
      // tan(T/2 + pi/4) = (1 + sin T) / cos T.
      const double rho = c.rho_scale * std::pow(cos_t / (1.0 + sin_t), c.n);
      xp = rho * std::cos(theta) * c.sx;
      yp = rho * std::sin(theta) * c.sy;
    }
    x = xp * c.cos_w - yp * c.sin_w;
    y = xp * c.sin_w + yp * c.cos_w;
    return std::isfinite(x) && std::isfinite(y);
  });
}

int inverse(const double *sph, const double *par, int n, double *coords) {
  const Cone c = cone_of(sph, par);
  const double phip = par[kPseudoParallel];
  const double rho0 = c.rho_scale / std::pow(std::tan(phip / 2.0 + kx::kPi / 4.0), c.n);
  const double tan_p = std::tan(phip / 2.0 + kx::kPi / 4.0);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    double xr = x, yr = y;
    if (c.rotated) {
      xr = x * c.cos_w + y * c.sin_w;
      yr = y * c.cos_w - x * c.sin_w;
    }
    const double X = xr / c.sx, Y = yr / c.sy;
    // Infinite (or, through a zero scale, infinitely scaled) points would
    // come out as the far limit of the cone.
    if (!(std::isfinite(X) && std::isfinite(Y))) return false;
    const double D = std::atan2(Y, X) / c.n;
    const double rho = std::hypot(X, Y);
    const double T = 2.0 * (std::atan(std::pow(rho0 / rho, 1.0 / c.n) * tan_p) - kx::kPi / 4.0);
    const double ct = std::cos(T), st = std::sin(T);
    const double U = kx::asin_clamped(c.cos_alpha * st - c.sin_alpha * ct * std::cos(D));
    const double V = kx::asin_clamped(ct * std::sin(D) / std::cos(U));
    if (c.ellipsoid) {
      const double chi =
          2.0 * (std::atan(std::pow(std::tan(U / 2.0 + kx::kPi / 4.0) / c.k, 1.0 / c.B)) -
                 kx::kPi / 4.0);
      y = kx::conformal_to_geodetic(c.e2, chi);
      x = kx_delta(c.lamc - V / c.B);
    } else {
      y = U;
      x = kx_delta(c.lamc - V);
    }
    return std::isfinite(x) && std::isfinite(y);
  });
}

}  // namespace

extern "C" {

KX_API int kx_krovak_fwd(const double *sph, const double *par, int n, double *coords,
                         const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return forward(sph, par, n, coords);
}

KX_API int kx_krovak_inv(const double *sph, const double *par, int n, double *coords,
                         const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return inverse(sph, par, n, coords);
}

}  // extern "C"
