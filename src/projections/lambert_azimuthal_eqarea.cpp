// Lambert azimuthal equal-area projection, north and south polar, equatorial
// and oblique aspects, ellipsoid (through the authalic latitude beta) or
// sphere. The aspect is decided from the latitude of origin once per call.
// The antipode of an equatorial or oblique centre has no single image: it is
// a NaN pair, not counted.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 24-2..24-4, 20-14, 20-15 and 24-16..24-18 (sphere), 3-11..3-14,
// 24-11..24-13, 24-19..24-28 (ellipsoid).
//
// Measured accuracy against PROJ 9.1 (+proj=laea, tests/scripts/
// gen_projections.py), every aspect, points up to 40 degrees from the
// centre: spheres 2.8 nm forward, 2e-13 deg inverse; ellipsoids 8.4 nm
// forward (3.2 um within 0.1 degree of a polar centre, where PROJ itself is
// 2.2 um from the exact value: sqrt(qp - q) of a vanishing difference) and
// 1.5e-8 deg inverse, the error of the library's authalic-latitude series
// kx_beta_to_phi (2.6e-10 rad). EPSG 9820 reference points 78 nm /
// 2.1e-9 deg.
#include "projections/lambert_azimuthal_eqarea.h"

#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

using kx::lambert_azimuthal_eqarea::Aspect;
using kx::lambert_azimuthal_eqarea::aspect_of;
using kx::lambert_azimuthal_eqarea::build_ellipsoid;
using kx::lambert_azimuthal_eqarea::build_sphere;
using kx::lambert_azimuthal_eqarea::EllipsoidConstants;
using kx::lambert_azimuthal_eqarea::q_of;
using kx::lambert_azimuthal_eqarea::SphereConstants;

// Per point: dlambda, q and sin/cos beta, q limited to +-qp.
template <class Kernel>
int forward_beta(const double *sph, const double *par, int n, double *coords,
                 const EllipsoidConstants &k, Kernel &&kernel) {
  const double e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0);
    double q = q_of(k.e, e2, y), sb = q / k.qp;
    if (std::fabs(sb) > 1.0) {
      sb = std::copysign(1.0, sb);
      q = std::copysign(k.qp, sb);
    }
    const double cb = std::sqrt(std::fmax(0.0, (1.0 - sb) * (1.0 + sb)));
    return kernel(dlam, q, sb, cb, x, y);
  });
}

int forward_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0];
  switch (aspect_of(par[kx::kSlotLatitudeOfOrigin])) {
    case Aspect::kNorthPolar:
      return forward_beta(sph, par, n, coords, k,
                          [&](double dlam, double q, double, double, double &x, double &y) {
                            const double rho = a * std::sqrt(std::fmax(0.0, k.qp - q));
                            x = rho * std::sin(dlam);
                            y = -rho * std::cos(dlam);
                            return true;
                          });
    case Aspect::kSouthPolar:
      return forward_beta(sph, par, n, coords, k,
                          [&](double dlam, double q, double, double, double &x, double &y) {
                            const double rho = a * std::sqrt(std::fmax(0.0, k.qp + q));
                            x = rho * std::sin(dlam);
                            y = rho * std::cos(dlam);
                            return true;
                          });
    case Aspect::kEquatorial: {
      const double rq2_a = k.Rq * k.Rq / a;
      return forward_beta(sph, par, n, coords, k,
                          [&](double dlam, double, double sb, double cb, double &x, double &y) {
                            const double d = 1.0 + cb * std::cos(dlam);
                            if (!(std::fabs(d) > kx::kEps)) return false;  // the antipode
                            const double B = std::sqrt(2.0 / d);
                            x = a * B * cb * std::sin(dlam);
                            y = rq2_a * B * sb;
                            return true;
                          });
    }
    case Aspect::kOblique:
      break;
  }
  return forward_beta(sph, par, n, coords, k,
                      [&](double dlam, double, double sb, double cb, double &x, double &y) {
                        const double cl = std::cos(dlam);
                        const double d = 1.0 + k.sin_beta1 * sb + k.cos_beta1 * cb * cl;
                        if (!(std::fabs(d) > kx::kEps)) return false;  // the antipode
                        const double B = k.Rq * std::sqrt(2.0 / d);
                        x = B * k.D * cb * std::sin(dlam);
                        y = (B / k.D) * (k.cos_beta1 * sb - k.sin_beta1 * cb * cl);
                        return true;
                      });
}

int forward_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const auto run = [&](auto &&kernel) {
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      return kernel(kx_delta(x - lam0), x, y);
    });
  };
  switch (aspect_of(par[kx::kSlotLatitudeOfOrigin])) {
    case Aspect::kNorthPolar:
      return kx::polar_forward(lam0, true, n, coords, [&](double phi) {
        return k.two_a * std::sin(kx::kPi / 4.0 - phi / 2.0);
      });
    case Aspect::kSouthPolar:
      return kx::polar_forward(lam0, false, n, coords, [&](double phi) {
        return k.two_a * std::cos(kx::kPi / 4.0 - phi / 2.0);
      });
    case Aspect::kEquatorial:
      return run([&](double dlam, double &x, double &y) {
        const double cp = std::cos(y), d = 1.0 + cp * std::cos(dlam);
        if (!(std::fabs(d) > kx::kEps)) return false;  // the antipode
        const double ak = a * std::sqrt(2.0 / d);
        x = ak * cp * std::sin(dlam);
        y = ak * std::sin(y);
        return true;
      });
    case Aspect::kOblique:
      break;
  }
  return run([&](double dlam, double &x, double &y) {
    const double sp = std::sin(y), cp = std::cos(y), cl = std::cos(dlam);
    const double d = 1.0 + k.sin_phi1 * sp + k.cos_phi1 * cp * cl;
    if (!(std::fabs(d) > kx::kEps)) return false;  // the antipode
    const double ak = a * std::sqrt(2.0 / d);
    x = ak * cp * std::sin(dlam);
    y = ak * (k.cos_phi1 * sp - k.sin_phi1 * cp * cl);
    return true;
  });
}

// Inverse kernels see points off the origin only.
template <class Kernel>
int inverse_points(const double *par, int n, double *coords, Kernel &&kernel) {
  return kx::azimuthal_inverse<kx::Origin::kWithinEps>(par, n, coords, kernel);
}

int inverse_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double a = sph[0], e2 = sph[1];
  switch (aspect_of(par[kx::kSlotLatitudeOfOrigin])) {
    case Aspect::kNorthPolar:
      return inverse_points(par, n, coords,
                            [&](double x, double y, double rho, double &dlam, double &phi) {
                              const double s = std::fmin((rho / a) * (rho / a) / k.qp, 2.0);
                              phi = kx::authalic_to_geodetic(e2, std::asin(1.0 - s));
                              dlam = std::atan2(x, -y);
                            });
    case Aspect::kSouthPolar:
      return inverse_points(par, n, coords,
                            [&](double x, double y, double rho, double &dlam, double &phi) {
                              const double s = std::fmin((rho / a) * (rho / a) / k.qp, 2.0);
                              phi = kx::authalic_to_geodetic(e2, -std::asin(1.0 - s));
                              dlam = std::atan2(x, y);
                            });
    case Aspect::kEquatorial:
    case Aspect::kOblique:
      break;
  }
  // The equatorial aspect is the oblique one with beta1 = 0 (the constants
  // hold sin beta1 = 0 and cos beta1 = 1 exactly there).
  return inverse_points(
      par, n, coords, [&](double x, double y, double, double &dlam, double &phi) {
        const double xd = x / k.D, yd = k.D * y;
        const double rho_d = std::sqrt(xd * xd + yd * yd);
        // ce = 2 asin r: sin ce and cos ce from r itself.
        const double r = std::fmin(rho_d / (2.0 * k.Rq), 1.0);
        const double sc = 2.0 * r * std::sqrt((1.0 - r) * (1.0 + r)), cc = 1.0 - 2.0 * r * r;
        const double beta = kx::asin_clamped(cc * k.sin_beta1 + yd * sc * k.cos_beta1 / rho_d);
        dlam = std::atan2(x * sc, k.D * rho_d * k.cos_beta1 * cc - k.D * yd * k.sin_beta1 * sc);
        phi = kx::authalic_to_geodetic(e2, beta);
      });
}

int inverse_sphere(const double *sph, const double *par, int n, double *coords,
                   const SphereConstants &k) {
  const auto run = [&](auto &&kernel) {
    return inverse_points(par, n, coords,
                          [&](double x, double y, double rho, double &dlam, double &phi) {
                            // z = 2 asin r: sin z and cos z from r itself.
                            const double r = std::fmin(rho / k.two_a, 1.0);
                            kernel(x, y, rho, 2.0 * r * std::sqrt((1.0 - r) * (1.0 + r)),
                                   1.0 - 2.0 * r * r, dlam, phi);
                          });
  };
  switch (aspect_of(par[kx::kSlotLatitudeOfOrigin])) {
    case Aspect::kNorthPolar:
      return run([](double x, double y, double, double, double cz, double &dlam, double &phi) {
        phi = kx::asin_clamped(cz);
        dlam = std::atan2(x, -y);
      });
    case Aspect::kSouthPolar:
      return run([](double x, double y, double, double, double cz, double &dlam, double &phi) {
        phi = kx::asin_clamped(-cz);
        dlam = std::atan2(x, y);
      });
    case Aspect::kEquatorial:
      return run([](double x, double y, double rho, double sz, double cz, double &dlam,
                    double &phi) {
        phi = kx::asin_clamped(y * sz / rho);
        dlam = std::atan2(x * sz, rho * cz);
      });
    case Aspect::kOblique:
      break;
  }
  return run([&](double x, double y, double rho, double sz, double cz, double &dlam, double &phi) {
    phi = kx::asin_clamped(cz * k.sin_phi1 + y * sz * k.cos_phi1 / rho);
    dlam = std::atan2(x * sz, rho * k.cos_phi1 * cz - y * k.sin_phi1 * sz);
  });
}

}  // namespace

extern "C" {

KX_API int kx_lambert_azimuthal_eqarea_fwd(const double *sph, const double *par, int n,
                                           double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return forward_ellipsoid(sph, par, n, coords,
                             kx::constants_or_build(ivals, dvals, build_ellipsoid, sph, par));
  return forward_sphere(sph, par, n, coords,
                        kx::constants_or_build(ivals, dvals, build_sphere, sph, par));
}

KX_API int kx_lambert_azimuthal_eqarea_inv(const double *sph, const double *par, int n,
                                           double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return inverse_ellipsoid(sph, par, n, coords,
                             kx::constants_or_build(ivals, dvals, build_ellipsoid, sph, par));
  return inverse_sphere(sph, par, n, coords,
                        kx::constants_or_build(ivals, dvals, build_sphere, sph, par));
}

}  // extern "C"
