// Azimuthal equidistant projection: distances and azimuths from the centre
// are true. Polar aspects through the meridian arc; the oblique and
// equatorial aspects of the ellipsoid through geodesics from the centre
// (kx_geodesic_distance, kx_geodesic_coordinate); the sphere in closed form.
// The aspect is decided from the latitude of origin once per call.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 25-2..25-5, 20-14, 20-15, 25-15 (sphere), 25-16..25-18 (polar
// ellipsoid); the oblique ellipsoid is the geodesic polar map itself.
//
// Measured accuracy against PROJ 9.1 (+proj=aeqd, whose oblique ellipsoid
// also runs on geodesics; tests/scripts/gen_projections.py), points up to
// 60 degrees from the centre: spheres 7.8 nm forward, 2e-13 deg inverse;
// ellipsoids, oblique and equatorial 26 um / 2.5e-10 deg (the library's
// geodesics against PROJ's), polar 4 um / 3.8e-11 deg (the library's
// meridian-arc series; PROJ is exact).
#include "projections/azimuthal_equidistant.h"

#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

using kx::azimuthal_equidistant::build_ellipsoid;
using kx::azimuthal_equidistant::build_sphere;
using kx::azimuthal_equidistant::EllipsoidConstants;
using kx::azimuthal_equidistant::SphereConstants;

enum class Aspect { kNorthPolar, kSouthPolar, kOblique };

Aspect aspect_of(double phi1) {
  if (kx::near_eq(phi1, kx::kHalfPi)) return Aspect::kNorthPolar;
  if (kx::near_eq(phi1, -kx::kHalfPi)) return Aspect::kSouthPolar;
  return Aspect::kOblique;
}

// The double 1.1e-14 below pi: the antipode's angular distance, so that
// c / sin c stays finite there.
constexpr double kBelowPi = 3.141592653589782;

int forward_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0], e2 = sph[1];
  const double lam0 = par[kx::kSlotCentralMeridian], phi1 = par[kx::kSlotLatitudeOfOrigin];
  const Aspect aspect = aspect_of(phi1);
  if (aspect == Aspect::kOblique)
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      double s, alpha;
      kx_geodesic_distance(a, e2, 0.0, phi1, kx_delta(x - lam0), y, &s, &alpha, nullptr);
      x = s * std::sin(alpha);
      y = s * std::cos(alpha);
      return true;
    });
  const double sign = aspect == Aspect::kNorthPolar ? 1.0 : -1.0;
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0);
    const double rho = k.Mp - sign * kx::meridian_arc(a, e2, y);
    x = rho * std::sin(dlam);
    y = -sign * rho * std::cos(dlam);
    return true;
  });
}

int forward_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  switch (aspect_of(par[kx::kSlotLatitudeOfOrigin])) {
    case Aspect::kNorthPolar:
      return kx::polar_forward(lam0, true, n, coords,
                               [&](double phi) { return a * (kx::kHalfPi - phi); });
    case Aspect::kSouthPolar:
      return kx::polar_forward(lam0, false, n, coords,
                               [&](double phi) { return a * (kx::kHalfPi + phi); });
    case Aspect::kOblique:
      break;
  }
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0);
    const double sp = std::sin(y), cp = std::cos(y), cl = std::cos(dlam);
    const double cos_c = k.sin_phi1 * sp + k.cos_phi1 * cp * cl;
    const double c = cos_c <= -1.0 ? kBelowPi : (cos_c >= 1.0 ? kx::kEps : std::acos(cos_c));
    const double ak = a * c / std::sin(c);
    x = ak * cp * std::sin(dlam);
    y = ak * (k.cos_phi1 * sp - k.sin_phi1 * cp * cl);
    return true;
  });
}

int inverse_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0], e2 = sph[1], phi1 = par[kx::kSlotLatitudeOfOrigin];
  switch (aspect_of(phi1)) {
    case Aspect::kNorthPolar:
      return kx::azimuthal_inverse(
          par, n, coords, [&](double x, double y, double rho, double &dlam, double &phi) {
            phi = kx::rectifying_to_geodetic(e2, (1.0 - rho / k.Mp) * kx::kHalfPi);
            dlam = std::atan2(x, -y);
          });
    case Aspect::kSouthPolar:
      return kx::azimuthal_inverse(
          par, n, coords, [&](double x, double y, double rho, double &dlam, double &phi) {
            phi = kx::rectifying_to_geodetic(e2, (rho / k.Mp - 1.0) * kx::kHalfPi);
            dlam = std::atan2(x, y);
          });
    case Aspect::kOblique:
      break;
  }
  return kx::azimuthal_inverse(
      par, n, coords, [&](double x, double y, double rho, double &dlam, double &phi) {
        kx_geodesic_coordinate(a, e2, 0.0, phi1, rho, std::atan2(x, y), &dlam, &phi);
      });
}

int inverse_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const double a = sph[0];
  switch (aspect_of(par[kx::kSlotLatitudeOfOrigin])) {
    case Aspect::kNorthPolar:
      return kx::azimuthal_inverse(par, n, coords,
                                   [&](double x, double y, double rho, double &dlam, double &phi) {
                                     phi = kx::asin_clamped(std::cos(rho / a));
                                     dlam = std::atan2(x, -y);
                                   });
    case Aspect::kSouthPolar:
      return kx::azimuthal_inverse(par, n, coords,
                                   [&](double x, double y, double rho, double &dlam, double &phi) {
                                     phi = -kx::asin_clamped(std::cos(rho / a));
                                     dlam = std::atan2(x, y);
                                   });
    case Aspect::kOblique:
      break;
  }
  return kx::azimuthal_inverse(
      par, n, coords, [&](double x, double y, double rho, double &dlam, double &phi) {
        const double c = rho / a, sc = std::sin(c), cc = std::cos(c);
        phi = kx::asin_clamped(cc * k.sin_phi1 + (y / rho) * sc * k.cos_phi1);
        dlam = std::atan2(x * sc, rho * k.cos_phi1 * cc - y * k.sin_phi1 * sc);
      });
}

EllipsoidConstants ellipsoid_constants(const double *sph, const int *ivals, const double *dvals) {
  return kx::constants_or_build<EllipsoidConstants>(ivals, dvals,
                                                    [&] { return build_ellipsoid(sph); });
}

SphereConstants sphere_constants(const double *par, const int *ivals, const double *dvals) {
  return kx::constants_or_build<SphereConstants>(ivals, dvals, [&] { return build_sphere(par); });
}

}  // namespace

extern "C" {

KX_API int kx_azimuthal_equidistant_fwd(const double *sph, const double *par, int n, double *coords,
                                        const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return forward_ellipsoid(sph, par, n, coords, ellipsoid_constants(sph, ivals, dvals));
  return forward_sphere(sph, par, n, coords, sphere_constants(par, ivals, dvals));
}

KX_API int kx_azimuthal_equidistant_inv(const double *sph, const double *par, int n, double *coords,
                                        const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return inverse_ellipsoid(sph, par, n, coords, ellipsoid_constants(sph, ivals, dvals));
  return inverse_sphere(sph, par, n, coords, sphere_constants(par, ivals, dvals));
}

}  // extern "C"
