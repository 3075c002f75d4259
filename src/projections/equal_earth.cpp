// Equal Earth projection (equal-area pseudocylindrical world map, straight
// parallels, meridians of a polynomial in the parametric angle theta,
// sin theta = (sqrt 3 / 2) sin beta). On an ellipsoid beta is the authalic
// latitude and the radius the authalic radius a sqrt(qp / 2); on a sphere
// beta = phi and the radius is a.
//
// Method: Savric, Patterson and Jenny, "The Equal Earth map projection"
// (IJGIS 33, 2019), eqs. 1-2 with Newton's method for the inverse; EPSG
// Guidance Note 7-2, method 1078, for the authalic latitude on the
// ellipsoid.
//
// Measured against the oracle of tests/scripts/gen_projections.py: forward
// within 15 nm, inverse within 1e-13 deg (ellipsoid and sphere); at a pole
// the inverse is 1.5e-6 deg off, asin next to 1 magnifying a rounding of y.
#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace {

constexpr double kA1 = 1.340264, kA2 = -0.081106, kA3 = 0.000893, kA4 = 0.003796;
constexpr double kM = 0.8660254037844386;  // sqrt 3 / 2
constexpr int kMaxSteps = 12;

struct Shape {
  double e, one_minus_e2, qp, r;  // r: the authalic radius (a on a sphere)
  bool ellipsoid;
};

Shape shape(const double *sph) {
  const double a = sph[0], e2 = sph[1];
  if (!kx::is_ellipsoid(e2)) return {0.0, 1.0, 2.0, a, false};
  const double e = std::sqrt(e2), qp = (1.0 - e2) * kx::authalic_q_over(e, e2, 1.0);
  return {e, 1.0 - e2, qp, a * std::sqrt(qp / 2.0), true};
}

double poly_y(double t) {
  const double t2 = t * t, t6 = t2 * t2 * t2;
  return t * (kA1 + kA2 * t2 + t6 * (kA3 + kA4 * t2));
}

double poly_dy(double t) {
  const double t2 = t * t, t6 = t2 * t2 * t2;
  return kA1 + 3.0 * kA2 * t2 + t6 * (7.0 * kA3 + 9.0 * kA4 * t2);
}

// The latitude of authalic latitude beta: the series, then Newton's method
// on q (Snyder 3-16), which the series (2e-10 rad) leaves a step or two
// short. At a pole the series is exact and q's derivative vanishes.
double geodetic_of(const Shape &k, double e2, double beta) {
  double phi = kx::authalic_to_geodetic(e2, beta);
  const double target = std::sin(beta) * k.qp / k.one_minus_e2;
  for (int step = 0; step < 3; ++step) {
    const double s = std::sin(phi), c = std::cos(phi);
    if (!(c > 1e-9)) break;
    const double w = 1.0 - e2 * s * s;
    const double d = (target - kx::authalic_q_over(k.e, e2, s)) * w * w / (2.0 * c);
    phi += d;
    if (!(std::fabs(d) > 1e-16)) break;
  }
  return phi;
}

}  // namespace

extern "C" {

KX_API int kx_equal_earth_fwd(const double *sph, const double *par, int n, double *coords,
                              const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Shape k = shape(sph);
  const double lam0 = par[kx::kSlotCentralMeridian], e2 = sph[1];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (std::fabs(y) > kx::kHalfPi && !kx::is_pole(y)) return false;
    const double s = std::sin(y);
    double sin_beta = k.ellipsoid ? k.one_minus_e2 * kx::authalic_q_over(k.e, e2, s) / k.qp : s;
    sin_beta = std::fmin(std::fmax(sin_beta, -1.0), 1.0);
    const double theta = std::asin(kM * sin_beta);
    x = k.r * kx_delta(x - lam0) * std::cos(theta) / (kM * poly_dy(theta));
    y = k.r * poly_y(theta);
    return true;
  });
}

KX_API int kx_equal_earth_inv(const double *sph, const double *par, int n, double *coords,
                              const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Shape k = shape(sph);
  const double lam0 = par[kx::kSlotCentralMeridian], e2 = sph[1];
  const double theta_max = std::asin(kM), y_max = poly_y(theta_max);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double v = y / k.r;
    if (std::fabs(v) > y_max && !kx::near_eq(std::fabs(v), y_max)) return false;
    double theta = std::fmin(std::fmax(v, -theta_max), theta_max);
    for (int step = 0; step < kMaxSteps; ++step) {
      const double d = (poly_y(theta) - v) / poly_dy(theta);
      theta = std::fmin(std::fmax(theta - d, -theta_max), theta_max);
      if (!(std::fabs(d) > 1e-15)) break;
    }
    const double dlam = kM * (x / k.r) * poly_dy(theta) / std::cos(theta);
    // Beyond the outline the formula would wrap onto another meridian.
    if (std::fabs(dlam) > kx::kPi && !kx::near_eq(std::fabs(dlam), kx::kPi)) return false;
    const double beta = kx::asin_clamped(std::sin(theta) / kM);
    x = kx_delta(lam0 + dlam);
    y = k.ellipsoid ? geodetic_of(k, e2, beta) : beta;
    return true;
  });
}

}  // extern "C"
