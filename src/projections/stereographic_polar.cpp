// Polar stereographic projections with a latitude of true scale phi_c
// ("Stereographic_North_Pole", "Stereographic_South_Pole"): the polar aspect
// of the stereographic, scaled so that the parallel phi_c is true to scale.
// "Polar_Stereographic_Variant_C" is the same projection with its false
// origin where phi_c meets the central meridian (EPSG 9830): the northing
// moves by h rho_c, rho_c = a m_c, the pole taken from the sign of phi_c.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 21-33..21-40 (ellipsoid) and 21-5..21-8 (sphere). Both poles share one
// set of kernels; the hemisphere sign h (+1 north, -1 south) is fixed per
// function and enters only through exact negations.
//
// Measured accuracy against PROJ 9.1 (+proj=stere +lat_0=+-90 +lat_ts,
// tests/scripts/gen_projections.py), latitudes 60 to 90 degrees: spheres
// 1.9 nm forward, 2e-13 deg inverse; ellipsoids 8 um forward and 9e-12 deg
// inverse (the conformal-latitude series). EPSG 9829 reference points 8.1 um.
// Round trips 7e-11 deg (spheres 2e-13).
#include "projections/stereographic_polar.h"

#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

using kx::kHalfPi;

using kx::stereographic_polar::build_ellipsoid;
using kx::stereographic_polar::build_sphere;
using kx::stereographic_polar::EllipsoidConstants;
using kx::stereographic_polar::kNorth;
using kx::stereographic_polar::kSouth;
using kx::stereographic_polar::SphereConstants;

int forward(double h, const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  if (kx::is_ellipsoid(e2)) {
    const auto k = kx::constants_or_build<EllipsoidConstants>(
        ivals, dvals, [&] { return build_ellipsoid(h, sph, par); });
    return kx::convert_points(n, coords, [&](double &x, double &y) {
      const double dlam = kx_delta(x - lam0), chi = kx::geodetic_to_conformal(e2, y);
      const double rho = k.D * std::tan(kx::kPi / 4.0 - h * chi / 2.0) / k.c_e;
      x = rho * std::sin(dlam);
      y = -h * rho * std::cos(dlam);
      return true;
    });
  }
  const auto k = kx::constants_or_build<SphereConstants>(ivals, dvals,
                                                         [&] { return build_sphere(h, sph, par); });
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0);
    const double rho = k.D * std::tan(kx::kPi / 4.0 - h * y / 2.0);
    x = rho * std::sin(dlam);
    y = -h * rho * std::cos(dlam);
    return true;
  });
}

// latitude(rho) gives phi' of the north form; h turns it into either pole.
template <class Colatitude>
int inverse_points(double h, const double *par, int n, double *coords, Colatitude &&latitude) {
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double rho = std::sqrt(x * x + y * y);
    double dlam = 0.0, phi = h * kHalfPi;
    if (!kx::near_eq(rho, 0.0)) {
      phi = h * latitude(rho);
      dlam = std::atan2(x, -h * y);
    }
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

int inverse(double h, const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double e2 = sph[1];
  if (kx::is_ellipsoid(e2)) {
    const auto k = kx::constants_or_build<EllipsoidConstants>(
        ivals, dvals, [&] { return build_ellipsoid(h, sph, par); });
    return inverse_points(h, par, n, coords, [&](double rho) {
      return kx::conformal_to_geodetic(e2, kHalfPi - 2.0 * std::atan2(rho / k.D * k.c_e, 1.0));
    });
  }
  const auto k = kx::constants_or_build<SphereConstants>(ivals, dvals,
                                                         [&] { return build_sphere(h, sph, par); });
  return inverse_points(h, par, n, coords, [&](double rho) {
    return std::asin(std::cos(2.0 * std::atan2(rho / k.D, 1.0)));
  });
}

double hemisphere(const double *par) {
  return par[kx::kSlotStandardParallel1] < 0.0 ? kSouth : kNorth;
}

// h rho_c, the northing of the standard parallel on the central meridian.
double origin_shift(double h, const double *sph, const double *par) {
  const double phi_c = par[kx::kSlotStandardParallel1];
  return h * sph[0] * std::cos(phi_c) / kx_w(sph[1], phi_c);
}

void shift_y(int n, double *coords, double dy) {
  for (int i = 0; coords != nullptr && i < n; ++i) coords[2 * i + 1] += dy;
}

}  // namespace

extern "C" {

KX_API int kx_stereographic_np_fwd(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals) {
  return forward(kNorth, sph, par, n, coords, ivals, dvals);
}

KX_API int kx_stereographic_np_inv(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals) {
  return inverse(kNorth, sph, par, n, coords, ivals, dvals);
}

KX_API int kx_stereographic_sp_fwd(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals) {
  return forward(kSouth, sph, par, n, coords, ivals, dvals);
}

KX_API int kx_stereographic_sp_inv(const double *sph, const double *par, int n, double *coords,
                                   const int *ivals, const double *dvals) {
  return inverse(kSouth, sph, par, n, coords, ivals, dvals);
}

KX_API int kx_stereographic_polar_c_fwd(const double *sph, const double *par, int n,
                                        double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double h = hemisphere(par);
  const int count = forward(h, sph, par, n, coords, ivals, dvals);
  if (count > 0) shift_y(n, coords, origin_shift(h, sph, par));
  return count;
}

KX_API int kx_stereographic_polar_c_inv(const double *sph, const double *par, int n,
                                        double *coords, const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double h = hemisphere(par), dy = origin_shift(h, sph, par);
  shift_y(n, coords, -dy);
  const int count = inverse(h, sph, par, n, coords, ivals, dvals);
  if (count <= 0) shift_y(n, coords, dy);  // nothing converted: the points as given
  return count;
}

KX_API int kx_stereographic_polar_c_const(kx_pcsconstants pc, const double *sph,
                                          const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::stereographic_polar::store(hemisphere(par), pc, sph, par);
}

}  // extern "C"
