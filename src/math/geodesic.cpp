// Geodesics on the ellipsoid: inverse problem, direct problem, densification.
//
// Method: Vincenty's nested equations (T. Vincenty, "Direct and inverse
// solutions of geodesics on the ellipsoid with application of nested
// equations", Survey Review 23(176), 1975), with his iteration on sin(alpha)
// for nearly antipodal points (Vincenty, "Geodetic inverse solution between
// antipodal points", 1975); closed spherical formulae when e2 <= 2^-48.
//
// Measured maximum errors against GeodSolve -E (distance; azimuth):
//   WGS 84 inverse: random global pairs 7.0e-5 m, 4.1e-11 rad; short lines
//     (0.1 m - 10 km) 2.8e-8 m, 2.8e-9 rad (3e-10 m across the line);
//     meridians 4.9e-6 m; equator 1.8e-6 m, 7.2e-12 rad; poles 2.6e-6 m;
//     nearly antipodal 3.8e-4 m, 3.2e-5 rad (the sin(alpha) iteration stops at
//     70 passes before it converges for some pairs; azimuths there are also
//     ill-conditioned in the input).
//   WGS 84 direct (ground position): random 8.5e-5 m, beyond the antipode up
//     to two circuits 3.3e-4 m, close to the antipode 8.9e-5 m, meridians
//     7.0e-6 m, from the poles 4.5e-6 m, equator 8.5e-9 m, short 5.8e-8 m.
//   Sphere: inverse 1.9e-8 m and 2.7e-15 rad for random pairs, but 0.135 m
//     and 7.1e-9 rad for nearly antipodal pairs (the haversine loses half the
//     digits near the antipode); direct 1.2e-7 m.
// (tests/math/math_test.cpp, data from tests/scripts/gen_geodesics.py.)
//
// Beyond the plain formulae: cos^2(alpha) is 1 - sin^2(alpha), and
// cos(2 sigma_m) is 0 where cos^2(alpha) = 0 (lines along the equator, which
// would otherwise divide 0 by 0); mirror images across the equator, exact
// antipodes on the auxiliary sphere, take their azimuths from sin(alpha);
// lines through a pole are meridians; the direct problem from a pole on the
// sphere continues past the opposite pole; non-finite input gives NaN and
// every iteration is bounded.
#include "kx.h"
#include "math/math_common.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace {

using kx::cos_exact;
using kx::kEps;
using kx::kHalfPi;
using kx::kPi;
using kx::near_eq;
using kx::reduce_angle;
using kx::sin_exact;

// Bounds of the longitude iteration and of the antipodal iteration; the
// direct iteration contracts by the factor B < 0.002 per pass and converges
// in a handful, so its bound only stops non-finite arithmetic.
constexpr int kLambdaAntipodalAfter = 30;
constexpr int kLambdaMaxSteps = 5000;
constexpr int kAntipodalMaxSteps = 70;
constexpr int kDirectMaxSteps = 200;

double nan_value() {
  double v;
  kx_double_nan(&v);
  return v;
}

double clamp_unit(double x) { return x > 1.0 ? 1.0 : (x < -1.0 ? -1.0 : x); }

bool at_pole(double phi) { return near_eq(std::fabs(phi), kHalfPi); }

// Azimuth at a pole toward a point of longitude lambda (the pole's own
// longitude counts as 0).
double pole_azimuth(double phi, double lambda) { return phi > 0.0 ? reduce_angle(kPi - lambda) : lambda; }

void store(double *out, double v) {
  if (out) *out = v;
}

struct Ellipsoid {
  double f, b, ep2;
};

Ellipsoid ellipsoid(double a, double e2) {
  const double f = 1.0 - std::sqrt(1.0 - e2);
  return {f, (1.0 - f) * a, e2 / (1.0 - e2)};
}

// The series of sigma - distance/(bA) in 2 sigma_m.
double delta_sigma(double bb, double sin_s, double cos_s, double c2sm) {
  const double c2sm2 = c2sm * c2sm;
  return bb * sin_s *
         (c2sm + bb / 4.0 *
                     (cos_s * (2.0 * c2sm2 - 1.0) -
                      bb / 6.0 * c2sm * (4.0 * sin_s * sin_s - 3.0) * (4.0 * c2sm2 - 3.0)));
}

void coefficients(double u2, double *aa, double *bb) {
  *aa = 1.0 + u2 / 16384.0 * (4096.0 + u2 * (-768.0 + u2 * (320.0 - 175.0 * u2)));
  *bb = u2 / 1024.0 * (256.0 + u2 * (-128.0 + u2 * (74.0 - 47.0 * u2)));
}

void sphere_inverse(double a, double lam1, double phi1, double lam2, double phi2, double l, double *dist,
                    double *az12, double *az21) {
  const double s1 = std::sin(phi1), c1 = cos_exact(phi1);
  const double s2 = std::sin(phi2), c2 = cos_exact(phi2);
  const double sl = sin_exact(l), cl = std::cos(l);
  if (dist) {
    const double sd = std::sin((phi2 - phi1) / 2.0), sh = std::sin(l / 2.0);
    // Rounding may lift the haversine of an antipode a hair above 1.
    *dist = 2.0 * a * std::asin(std::fmin(1.0, std::sqrt(sd * sd + c1 * c2 * sh * sh)));
  }
  if (az12) *az12 = at_pole(phi1) ? pole_azimuth(phi1, lam2) : std::atan2(sl * c2, c1 * s2 - s1 * c2 * cl);
  if (az21) *az21 = at_pole(phi2) ? pole_azimuth(phi2, lam1) : std::atan2(-sl * c1, c2 * s1 - s2 * c1 * cl);
}

// State shared by the longitude iteration and the antipodal method.
struct Aux {
  double lambda, sin_s, cos_s, sigma, c2a, c2sm, sin_a;
};

// Nearly antipodal points: iterate on sin(alpha) instead of the longitude on
// the auxiliary sphere.
Aux antipodal(double f, double l, bool mirrored, double su1, double cu1, double su2, double cu2) {
  Aux s;
  const double f2 = f * f, f3 = f2 * f;
  const double su1su2 = su1 * su2, cu1cu2 = cu1 * cu2;
  s.lambda = l < 0.0 ? -kPi : kPi;
  s.cos_s = su1su2 - cu1cu2;
  s.sigma = std::acos(clamp_unit(s.cos_s));
  s.sin_s = sin_exact(s.sigma);
  s.c2a = 1.0;
  s.c2sm = 0.0;
  s.sin_a = 0.0;
  if (cu1cu2 == 0.0) {
    // A pole on the line: every geodesic through a pole is a meridian
    // (sin alpha = cos U1 sin alpha1 = 0), here the full one from pole to pole.
    s.c2sm = s.cos_s - 2.0 * su1su2;
    return s;
  }
  double prev_sin_a = 0.0;
  for (int k = 0; k < kAntipodalMaxSteps; ++k) {
    const double c2 = s.c2a, c4 = c2 * c2, c6 = c2 * c4;
    const double t1 = c2 * f * (1.0 + f + f2) / 4.0;
    const double t2 = c4 * f2 * (1.0 + 9.0 * f / 4.0);
    const double t3 = c6 * f3;
    const double ap = 1.0 - t1 + (3.0 / 16.0) * t2 - (25.0 / 128.0) * t3;
    const double bp = t1 - t2 / 4.0 + (75.0 / 256.0) * t3;
    const double cp = t2 / 32.0 - (15.0 / 256.0) * t3;
    const double dp = (5.0 / 768.0) * t3;
    s.c2sm = c2 != 0.0 ? s.cos_s - 2.0 * su1su2 / c2 : 0.0;
    const double w = std::acos(clamp_unit(s.c2sm));
    double sin_a;
    if (mirrored) {
      sin_a = reduce_angle(kPi - l) / (f * kPi * ap);
    } else {
      sin_a = reduce_angle(s.lambda - l) /
              (f * (ap * s.sigma + bp * s.sin_s * s.c2sm + cp * std::sin(2.0 * s.sigma) * std::cos(2.0 * w) +
                    dp * std::sin(3.0 * s.sigma) * std::cos(3.0 * w)));
    }
    // Beyond the limit of the antipodal region the series overshoots |sin a| = 1
    // (the geodesic runs along the equator there).
    sin_a = clamp_unit(sin_a);
    const double sin_l = clamp_unit(sin_a * s.sin_s / cu1cu2);
    if (l >= -kHalfPi && l <= kHalfPi)
      s.lambda = std::asin(sin_l);
    else
      s.lambda = sin_l < 0.0 ? -kPi - std::asin(sin_l) : kPi - std::asin(sin_l);
    const double cos_l = std::cos(s.lambda);
    const double x = cu2 * sin_l, y = cu1 * su2 - su1 * cu2 * cos_l;
    s.sin_s = std::fmin(1.0, std::sqrt(x * x + y * y));
    s.sigma = kPi - std::asin(s.sin_s);
    s.cos_s = std::cos(s.sigma);
    s.c2a = 1.0 - sin_a * sin_a;
    s.sin_a = sin_a;
    if (near_eq(sin_a, prev_sin_a)) break;
    prev_sin_a = sin_a;
  }
  return s;
}

void ellipsoid_inverse(double a, double e2, double lam1, double phi1, double lam2, double phi2, double l,
                       double *dist, double *az12, double *az21) {
  const Ellipsoid el = ellipsoid(a, e2);
  const double f = el.f;
  const double u1 = kx_phi_to_eta(e2, phi1), u2 = kx_phi_to_eta(e2, phi2);
  const double su1 = std::sin(u1), cu1 = cos_exact(u1);
  const double su2 = std::sin(u2), cu2 = cos_exact(u2);
  const double su1su2 = su1 * su2, cu1cu2 = cu1 * cu2;
  const double cu1su2 = cu1 * su2, su1cu2 = su1 * cu2;

  Aux s{l, 0, 0, 0, 0, 0, 0};
  bool use_antipodal = false;
  bool coincident = false;
  double lambda = l;
  for (int k = 0;;) {
    const double sl = sin_exact(lambda), cl = std::cos(lambda);
    const double x = cu2 * sl, y = cu1su2 - su1cu2 * cl;
    const double sin_s = std::sqrt(x * x + y * y);
    const double cos_s = su1su2 + cu1cu2 * cl;
    if (sin_s == 0.0) {
      // Same point of the auxiliary sphere (both at one pole) or exact antipodes.
      if (cos_s > 0.0)
        coincident = true;
      else
        use_antipodal = true;
      break;
    }
    const double sigma = std::atan2(sin_s, cos_s);
    const double sin_a = cu1cu2 * sl / sin_s;
    const double c2a = 1.0 - sin_a * sin_a;
    // Along the equator cos^2 alpha vanishes with sinU1 sinU2 and the term is 0.
    const double c2sm = c2a != 0.0 ? cos_s - 2.0 * su1su2 / c2a : 0.0;
    const double c = f / 16.0 * c2a * (4.0 + f * (4.0 - 3.0 * c2a));
    const double lambda_new =
        l + (1.0 - c) * f * sin_a * (sigma + c * sin_s * (c2sm + c * cos_s * (2.0 * c2sm * c2sm - 1.0)));
    ++k;
    s = {lambda_new, sin_s, cos_s, sigma, c2a, c2sm, sin_a};
    if ((lambda_new < -kPi || lambda_new > kPi) && k > kLambdaAntipodalAfter) {
      use_antipodal = true;
      break;
    }
    if (k > kLambdaMaxSteps || near_eq(lambda_new, lambda)) break;
    lambda = lambda_new;
  }
  if (coincident) {
    store(dist, 0.0);
    store(az12, at_pole(phi1) ? pole_azimuth(phi1, lam2) : 0.0);
    store(az21, at_pole(phi2) ? pole_azimuth(phi2, lam1) : 0.0);
    return;
  }
  const bool mirrored = near_eq(phi1, -phi2);
  if (use_antipodal) s = antipodal(f, l, mirrored, su1, cu1, su2, cu2);

  if (dist) {
    double aa, bb;
    coefficients(s.c2a * el.ep2, &aa, &bb);
    *dist = el.b * aa * (s.sigma - delta_sigma(bb, s.sin_s, s.cos_s, s.c2sm));
  }
  if (use_antipodal && mirrored) {
    // Mirror images are exact antipodes on the auxiliary sphere (lambda = pi,
    // sigma = pi), where the azimuth formulas below are 0/0. The azimuth
    // follows from sin(alpha) = cos U1 sin(alpha1); the geodesic crosses the
    // pole nearer to point 1 (north for points on the equator), and by the
    // symmetry of the pair the azimuth at point 2 is -alpha1.
    const double sa1 = clamp_unit(s.sin_a / cu1);
    const double ca1 = std::sqrt(1.0 - sa1 * sa1);
    const double alpha1 = std::atan2(sa1, phi1 < 0.0 ? -ca1 : ca1);
    store(az12, at_pole(phi1) ? pole_azimuth(phi1, lam2) : alpha1);
    store(az21, at_pole(phi2) ? pole_azimuth(phi2, lam1) : -alpha1);
  } else if (az12 || az21) {
    const double sl = sin_exact(s.lambda), cl = std::cos(s.lambda);
    if (az12) *az12 = at_pole(phi1) ? pole_azimuth(phi1, lam2) : std::atan2(cu2 * sl, cu1su2 - su1cu2 * cl);
    if (az21) {
      *az21 = at_pole(phi2) ? pole_azimuth(phi2, lam1)
                            : reduce_angle(std::atan2(cu1 * sl, -su1cu2 + cu1su2 * cl) + kPi);
    }
  }
}

bool all_finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

extern "C" {

KX_API void kx_geodesic_distance(double a, double e2, double lambda1, double phi1, double lambda2,
                                 double phi2, double *distance, double *azimuth12, double *azimuth21) {
  if (!all_finite({a, e2, lambda1, phi1, lambda2, phi2}) || !(e2 < 1.0)) {
    const double nan = nan_value();
    store(distance, nan);
    store(azimuth12, nan);
    store(azimuth21, nan);
    return;
  }
  const double l = reduce_angle(lambda2 - lambda1);
  if (near_eq(l, 0.0) && near_eq(phi1, phi2)) {
    store(distance, 0.0);
    store(azimuth12, 0.0);
    store(azimuth21, 0.0);
    return;
  }
  if (e2 <= kEps)
    sphere_inverse(a, lambda1, phi1, lambda2, phi2, l, distance, azimuth12, azimuth21);
  else
    ellipsoid_inverse(a, e2, lambda1, phi1, lambda2, phi2, l, distance, azimuth12, azimuth21);
}

KX_API void kx_geodesic_coordinate(double a, double e2, double lambda1, double phi1, double distance,
                                   double azimuth, double *lambda2, double *phi2) {
  if (!all_finite({a, e2, lambda1, phi1, distance, azimuth}) || !(e2 < 1.0)) {
    const double nan = nan_value();
    store(lambda2, nan);
    store(phi2, nan);
    return;
  }
  const double alpha1 = reduce_angle(azimuth);
  if (at_pole(phi1)) lambda1 = 0.0;
  const double sa1 = sin_exact(alpha1), ca1 = cos_exact(alpha1);

  if (e2 <= kEps) {
    const double d = distance / a;
    const double sd = std::sin(d), cd = std::cos(d);
    const double sp1 = std::sin(phi1), cp1 = cos_exact(phi1);
    const double p2 = std::asin(clamp_unit(sp1 * cd + cp1 * sd * ca1));
    store(phi2, p2);
    if (lambda2) {
      if (at_pole(phi1))
        // Past the opposite pole (sin d < 0) the path continues on the
        // opposite meridian.
        *lambda2 = sd < 0.0 ? reduce_angle(pole_azimuth(phi1, alpha1) + kPi) : pole_azimuth(phi1, alpha1);
      else
        *lambda2 = reduce_angle(lambda1 + std::atan2(sa1 * sd * cp1, cd - sp1 * std::sin(p2)));
    }
    return;
  }

  const Ellipsoid el = ellipsoid(a, e2);
  const double f = el.f;
  const double u1 = kx_phi_to_eta(e2, phi1);
  const double su1 = std::sin(u1), cu1 = cos_exact(u1);
  const double sigma1 = std::atan2(std::tan(u1), ca1);
  const double sin_a = cu1 * sa1;
  const double c2a = 1.0 - sin_a * sin_a;
  double aa, bb;
  coefficients(c2a * el.ep2, &aa, &bb);

  // cos(2 sigma1 + sigma) by the addition theorem saves a cosine per pass.
  const double s2s1 = std::sin(2.0 * sigma1), c2s1 = std::cos(2.0 * sigma1);
  const double s0 = distance / (el.b * aa);
  double sigma = s0;
  for (int k = 0; k < kDirectMaxSteps; ++k) {
    const double ss = std::sin(sigma), cs = std::cos(sigma);
    const double sigma_new = s0 + delta_sigma(bb, ss, cs, c2s1 * cs - s2s1 * ss);
    const bool done = near_eq(sigma_new, sigma);
    sigma = sigma_new;
    if (done) break;
  }
  const double sin_s = std::sin(sigma), cos_s = std::cos(sigma);
  const double c2sm = c2s1 * cos_s - s2s1 * sin_s;

  if (phi2) {
    const double t = su1 * sin_s - cu1 * cos_s * ca1;
    *phi2 = std::atan2(su1 * cos_s + cu1 * sin_s * ca1, (1.0 - f) * std::sqrt(sin_a * sin_a + t * t));
  }
  if (lambda2) {
    const double lam = std::atan2(sin_s * sa1, cu1 * cos_s - su1 * sin_s * ca1);
    const double c = f / 16.0 * c2a * (4.0 + f * (4.0 - 3.0 * c2a));
    *lambda2 = reduce_angle(
        lam - (1.0 - c) * f * sin_a * (sigma + c * sin_s * (c2sm + c * cos_s * (2.0 * c2sm * c2sm - 1.0))) +
        lambda1);
  }
}

KX_API void kx_geodesic_coordarray(double a, double e2, double lambda1, double phi1, double lambda2,
                                   double phi2, double *points, int n) {
  if (!points || n < 2) return;
  double dist = 0.0, az = 0.0;
  kx_geodesic_distance(a, e2, lambda1, phi1, lambda2, phi2, &dist, &az, nullptr);
  points[0] = lambda1;
  points[1] = phi1;
  const size_t last = static_cast<size_t>(n) - 1;  // index arithmetic beyond int range
  for (size_t k = 1; k < last; ++k) {
    const double d = static_cast<double>(k) * dist / static_cast<double>(last);
    kx_geodesic_coordinate(a, e2, lambda1, phi1, d, az, &points[2 * k], &points[2 * k + 1]);
  }
  points[2 * last] = lambda2;
  points[2 * last + 1] = phi2;
}

}  // extern "C"
