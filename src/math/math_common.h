// Inline forms of the library tolerance, equality and longitude reduction, so
// that the geodetic kernels can use them in their inner loops without a call.
#ifndef KX_MATH_MATH_COMMON_H
#define KX_MATH_MATH_COMMON_H

#include <cmath>

namespace kx {

constexpr double kEps = 3.552713678800501e-15;  // 2^-48
constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kDegToRad = kPi / 180.0;
static_assert(kRadToDeg == 57.29577951308232 && kDegToRad == 0.017453292519943295,
              "degree factors are the nearest doubles");

inline bool near_eq(double x, double y) {
  const double t = ((std::fabs(x) + std::fabs(y)) / 2.0 + 1.0) * kEps;
  return std::fabs(x - y) <= t;  // false for NaN
}

inline double reduce_angle(double x) {
  // Inside [-pi, pi] the remainder is x itself; most angles are.
  if (x >= -kPi && x <= kPi) return x;
  const double r = std::fmod(x, kTwoPi);
  if (r < -kPi) return r + kTwoPi;
  if (r > kPi) return r - kTwoPi;
  return r;
}

// Cosine and sine that are exactly zero at the representable +-pi/2 and +-pi,
// so that meridian and pole cases keep exact zeros.
inline double cos_exact(double x) { return (x == kHalfPi || x == -kHalfPi) ? 0.0 : std::cos(x); }
inline double sin_exact(double x) { return (x == kPi || x == -kPi) ? 0.0 : std::sin(x); }

}  // namespace kx

#endif  // KX_MATH_MATH_COMMON_H
