// Latitude series used per point by the projections, as inline functions:
// the meridian arc (kx_q) and its inverse, the conformal latitude and its
// inverse. Loops calling them get the work that depends on e2 only hoisted
// out, with the same bits as the exported functions.
#ifndef KX_MATH_LATITUDE_SERIES_H
#define KX_MATH_LATITUDE_SERIES_H

#include <cmath>

namespace kx {

// sin 2x, sin 4x, sin 6x, sin 8x from s = sin 2x and c = cos 2x.
struct Multiples {
  double s2, s4, s6, s8;
};

inline Multiples multiples(double x) {
  const double s = std::sin(2.0 * x);
  const double c = std::cos(2.0 * x);
  return {s, 2.0 * s * c, s * (4.0 * c * c - 1.0), s * (8.0 * c * c * c - 4.0 * c)};
}

inline double third_flattening(double e2) {
  const double r = std::sqrt(1.0 - e2);
  return (1.0 - r) / (1.0 + r);
}

inline double meridian_arc(double a, double e2, double phi) {
  const double n = third_flattening(e2);
  const double n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
  const Multiples m = multiples(phi);
  const double series = (1.0 + n2 / 4.0 + n4 / 64.0) * phi - 1.5 * (n - n3 / 8.0) * m.s2 +
                        (15.0 / 16.0) * (n2 - n4 / 4.0) * m.s4 - (35.0 / 48.0) * n3 * m.s6 +
                        (315.0 / 512.0) * n4 * m.s8;
  return a / (1.0 + n) * series;
}

// The latitude of rectifying latitude mu (kx_mu_to_phi), inline for the
// same reason.
inline double rectifying_to_geodetic(double e2, double mu) {
  const double n = third_flattening(e2);
  const double n2 = n * n, n3 = n2 * n, n4 = n2 * n2;
  const Multiples m = multiples(mu);
  return mu + (3.0 * n / 2.0 - 27.0 * n3 / 32.0) * m.s2 + (21.0 * n2 / 16.0 - 55.0 * n4 / 32.0) * m.s4 +
         (151.0 * n3 / 96.0) * m.s6 + (1097.0 * n4 / 512.0) * m.s8;
}

// Conformal latitude of phi (kx_phi_to_chi) and its inverse (kx_chi_to_phi),
// inline so that the coefficients, which depend on e2 only, leave the loops.
inline double geodetic_to_conformal(double e2, double phi) {
  const double e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
  const double a2 = e2 / 2.0 + 5.0 * e4 / 24.0 + 3.0 * e6 / 32.0 + 281.0 * e8 / 5760.0;
  const double a4 = 5.0 * e4 / 48.0 + 7.0 * e6 / 80.0 + 697.0 * e8 / 11520.0;
  const double a6 = 13.0 * e6 / 480.0 + 461.0 * e8 / 13440.0;
  const double a8 = 1237.0 * e8 / 161280.0;
  const Multiples m = multiples(phi);
  return phi - a2 * m.s2 + a4 * m.s4 - a6 * m.s6 + a8 * m.s8;
}

inline double conformal_to_geodetic(double e2, double chi) {
  const double e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
  const double b2 = e2 / 2.0 + 5.0 * e4 / 24.0 + e6 / 12.0 + 13.0 * e8 / 360.0;
  const double b4 = 7.0 * e4 / 48.0 + 29.0 * e6 / 240.0 + 811.0 * e8 / 11520.0;
  const double b6 = 7.0 * e6 / 120.0 + 81.0 * e8 / 1120.0;
  const double b8 = 4279.0 * e8 / 161280.0;
  const Multiples m = multiples(chi);
  return chi + b2 * m.s2 + b4 * m.s4 + b6 * m.s6 + b8 * m.s8;
}

// The latitude of authalic latitude beta (kx_beta_to_phi), Snyder 3-18,
// inline for the same reason.
inline double authalic_to_geodetic(double e2, double beta) {
  const double x = std::fabs(beta);
  const double q2 = ((517.0 / 5040.0 * e2 + 31.0 / 180.0) * e2 + 1.0 / 3.0) * e2;
  const double q4 = ((251.0 / 3780.0 * e2 + 23.0 / 360.0) * e2) * e2;
  const double q6 = ((761.0 / 45360.0 * e2) * e2) * e2;
  const Multiples m = multiples(x);
  const double phi = x + q2 * m.s2 + q4 * m.s4 + q6 * m.s6;
  return beta < 0.0 ? -phi : phi;
}

// atanh(x) for |x| <= 0.1 (e sin phi of every terrestrial ellipsoid) by
// its series to x^19, within an ulp; std::atanh beyond.
inline double atanh_small(double x) {
  const double x2 = x * x;
  if (x2 > 0.01) return std::atanh(x);
  double sum = 1.0 / 19.0;
  for (int k = 17; k >= 1; k -= 2) sum = sum * x2 + 1.0 / k;
  return x * sum;
}

// q / (1 - e2) of the authalic latitude (Snyder 3-12) from s = sin phi, in
// closed form: s / (1 - e2 s^2) + atanh(e s) / e (e > 0).
inline double authalic_q_over(double e, double e2, double s) {
  return s / (1.0 - e2 * s * s) + atanh_small(e * s) / e;
}

// Isometric latitude psi = ln tan(pi/4 + chi/2) = ln((1 + sin phi) / cos phi)
// - e atanh(e sin phi), exact (e the eccentricity, 0 on a sphere), odd in
// phi. The quotient form, taken on the side where 1 + |sin phi| does not
// cancel, keeps the conditioning of tan next to the poles, where
// atanh(sin phi) would lose 1 - |sin phi| to rounding.
inline double isometric_latitude(double e, double phi) {
  const double s = std::sin(phi), c = std::cos(phi);
  return std::copysign(std::log((1.0 + std::fabs(s)) / c), s) - e * atanh_small(e * s);
}

}  // namespace kx

#endif  // KX_MATH_LATITUDE_SERIES_H
