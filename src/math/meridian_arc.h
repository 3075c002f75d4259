// The meridian arc (kx_q) and its inverse as inline functions, so that
// projections calling them per point get the sqrt of the third flattening
// hoisted out of their loops, with the same bits as the exported functions.
#ifndef KX_MATH_MERIDIAN_ARC_H
#define KX_MATH_MERIDIAN_ARC_H

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

}  // namespace kx

#endif  // KX_MATH_MERIDIAN_ARC_H
