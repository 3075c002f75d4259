// Cylindrical equal-area projection on a normal cylinder, ellipsoid and sphere,
// with the standard parallel of true scale phi1; Behrmann is its case with
// phi1 = 30 degrees.
//
// Method: Snyder, "Map Projections - A Working Manual" (USGS PP 1395, 1987),
// eqs. 10-1, 10-2, 10-5 (sphere), 10-15..10-17 with q of 3-12 and the
// Newton iteration 3-16 for the inverse (ellipsoid).
//
// Measured accuracy against PROJ 9 (+proj=cea, tests/scripts/gen_cyl_oracle.py):
// both realise the same formulas. Forward agrees to 7.5 nm (ellipsoid and
// sphere); the inverse to 1.4e-11 degrees (PROJ inverts through its
// authalic-latitude series, the Newton iteration here is exact), round
// trips close within 1.2e-11 degrees.
#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/cylindrical_eqarea.h"
#include "projections/projection_common.h"

namespace kx {
namespace cylindrical_eqarea {

namespace {

// log((1 - e sin phi) / (1 + e sin phi)) / (2e), the logarithmic term of q.
double log_term(const EllipsoidConstants &k, double sin_phi) {
  return std::log((1.0 - k.e * sin_phi) / (1.0 + k.e * sin_phi)) / k.two_e;
}

// The latitude whose q / qp is s, |s| < 1, by Newton from the authalic guess.
double latitude_of(const EllipsoidConstants &k, double e2, double s, int max_iterations) {
  const double q = k.qp * s;
  double phi = std::asin(q / 2.0);
  for (int i = 0; i < max_iterations; ++i) {
    const double sp = std::sin(phi), w2 = 1.0 - e2 * sp * sp;
    const double step = (w2 * w2 / (2.0 * std::cos(phi))) *
                        (q / k.one_minus_e2 - sp / w2 + log_term(k, sp));
    phi += step;
    if (!(std::fabs(step) > 1e-16)) break;
  }
  return phi;
}

}  // namespace

int forward(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals, const Parallel &p) {
  if (rejects(p.phi1)) return fail_points(n, coords);
  const double e2 = sph[1], lam0 = par[kSlotCentralMeridian];
  if (is_ellipsoid(e2)) {
    const EllipsoidConstants k = constants_or_build<EllipsoidConstants>(
        ivals, dvals, [&] { return build_ellipsoid(sph[0], e2, p.phi1, p.cos_phi1); });
    return convert_points(n, coords, [&](double &x, double &y) {
      const double dlam = kx_delta(x - lam0), sp = std::sin(y);
      x = k.a_k0 * dlam;
      y = k.a_over_2k0 * k.one_minus_e2 * (sp / (1.0 - e2 * sp * sp) - log_term(k, sp));
      return true;
    });
  }
  const SphereConstants k = constants_or_build<SphereConstants>(
      ivals, dvals, [&] { return build_sphere(sph[0], p.cos_phi1); });
  return convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0);
    x = k.a_cos * dlam;
    y = k.a_over_cos * std::sin(y);
    return true;
  });
}

int inverse(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals, const Parallel &p, int max_iterations) {
  if (rejects(p.phi1)) return fail_points(n, coords);
  const double e2 = sph[1], lam0 = par[kSlotCentralMeridian];
  if (is_ellipsoid(e2)) {
    const EllipsoidConstants k = constants_or_build<EllipsoidConstants>(
        ivals, dvals, [&] { return build_ellipsoid(sph[0], e2, p.phi1, p.cos_phi1); });
    return convert_points(n, coords, [&](double &x, double &y) {
      const double s = k.two_k0 * y / k.a_qp;
      double phi;
      if (std::fabs(s) <= kEps) {
        phi = 0.0;
      } else if (near_eq(std::fabs(s), 1.0) || std::fabs(s) > 1.0) {
        // Beyond the pole's parallel Newton has no root: the pole, as the
        // spherical inverse clamps.
        phi = std::copysign(kHalfPi, s);
      } else {
        phi = latitude_of(k, e2, s, max_iterations);
      }
      x = kx_delta(lam0 + x / k.a_k0);
      y = phi;
      return true;
    });
  }
  const SphereConstants k = constants_or_build<SphereConstants>(
      ivals, dvals, [&] { return build_sphere(sph[0], p.cos_phi1); });
  return convert_points(n, coords, [&](double &x, double &y) {
    x = kx_delta(lam0 + x / k.a_cos);
    y = asin_clamped(y * p.cos_phi1 / sph[0]);
    return true;
  });
}

}  // namespace cylindrical_eqarea
}  // namespace kx

extern "C" {

KX_API int kx_cylindrical_eqarea_fwd(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals) {
  namespace cea = kx::cylindrical_eqarea;
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return cea::forward(sph, par, n, coords, ivals, dvals, cea::standard_parallel(par));
}

KX_API int kx_cylindrical_eqarea_inv(const double *sph, const double *par, int n, double *coords,
                                     const int *ivals, const double *dvals) {
  namespace cea = kx::cylindrical_eqarea;
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return cea::inverse(sph, par, n, coords, ivals, dvals, cea::standard_parallel(par),
                      cea::kMaxIterations);
}

}  // extern "C"
