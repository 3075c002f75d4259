// Pieces every projection unit shares: the point loop of the calling
// convention, the packing of a constants struct into the dvals array and the
// tests that pick a branch once per call.
#ifndef KX_PROJECTIONS_PROJECTION_COMMON_H
#define KX_PROJECTIONS_PROJECTION_COMMON_H

#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "kx.h"
#include "math/math_common.h"

namespace kx {

// Parameter slots of the 16-double parameter array.
enum ParameterSlot : int {
  kSlotFalseEasting = 0,
  kSlotFalseNorthing = 1,
  kSlotCentralMeridian = 2,
  kSlotStandardParallel1 = 3,
  kSlotStandardParallel2 = 4,
  kSlotScaleFactor = 5,
  kSlotLatitudeOfOrigin = 6,
  kSlotLongitudeOfCenter = 10,
  kSlotLatitudeOfCenter = 11,
  kParameterCount = 16,
};

// Ellipsoidal formulas from this eccentricity squared on, spherical below.
inline bool is_ellipsoid(double e2) { return e2 >= kEps; }
inline bool is_pole(double phi) { return near_eq(std::fabs(phi), kHalfPi); }

inline double library_nan() {
  double v;
  kx_double_nan(&v);
  return v;
}

// asin of a value that rounding may have pushed just past +-1 (a point at
// the pole, say): the nearest latitude instead of NaN. NaN stays NaN.
inline double asin_clamped(double v) { return std::asin(v > 1.0 ? 1.0 : (v < -1.0 ? -1.0 : v)); }

// Both members finite (neither NaN nor infinite): x - x is 0 exactly for a
// finite x and NaN otherwise, one branch for the pair.
inline bool finite_pair(double u, double v) { return (u - u) + (v - v) == 0.0; }

// The calling convention's loop: kernel(u, v) converts one pair in place and
// tells whether it succeeded; a failed pair becomes NaN and is not counted.
// A pair with a non-finite member never reaches the kernel, and a result
// that is not finite counts as failed, so no formula can pass off a NaN or
// an infinity (or a finite point made from one) as converted. Every point
// is visited.
template <class Kernel>
int convert_points(int n, double *coords, Kernel &&kernel) {
  if (n <= 0 || coords == nullptr) return 0;
  const double nan = library_nan();
  int count = 0;
  for (int i = 0; i < n; ++i) {
    double *p = coords + 2 * static_cast<std::size_t>(i);
    if (finite_pair(p[0], p[1]) && kernel(p[0], p[1]) && finite_pair(p[0], p[1])) {
      ++count;
    } else {
      p[0] = nan;
      p[1] = nan;
    }
  }
  return count;
}

// The forward loop of a polar azimuthal aspect: rho from the latitude, the
// meridians straight lines from the pole at their longitude from lam0; on
// the north aspect the central meridian runs down from the pole, on the
// south aspect up.
template <class Rho>
int polar_forward(double lam0, bool north, int n, double *coords, Rho &&rho_of) {
  return convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0), rho = rho_of(y);
    x = rho * std::sin(dlam);
    y = north ? -rho * std::cos(dlam) : rho * std::cos(dlam);
    return true;
  });
}

// How an azimuthal inverse recognises its origin: rho within 2^-48 of 0,
// relatively (near_eq) or absolutely.
enum class Origin { kNearZero, kWithinEps };

// The inverse loop of the azimuthal projections centred at (lambda0, phi0)
// in slots 2 and 6: the origin is the centre; elsewhere the kernel gives
// dlambda and phi from (x, y, rho).
template <Origin kOrigin = Origin::kNearZero, class Kernel>
int azimuthal_inverse(const double *par, int n, double *coords, Kernel &&kernel) {
  const double lam0 = par[kSlotCentralMeridian], phi0 = par[kSlotLatitudeOfOrigin];
  return convert_points(n, coords, [&](double &x, double &y) {
    const double rho = std::sqrt(x * x + y * y);
    const bool origin = kOrigin == Origin::kNearZero ? near_eq(rho, 0.0) : std::fabs(rho) <= kEps;
    double dlam = 0.0, phi = phi0;
    if (!origin) kernel(x, y, rho, dlam, phi);
    x = kx_delta(lam0 + dlam);
    y = phi;
    return true;
  });
}

// Sets every point to NaN (arguments the projection cannot use); returns 0.
inline int fail_points(int n, double *coords) {
  return convert_points(n, coords, [](double &, double &) { return false; });
}

// The y that fn gives the single point (lambda, phi): the offset by which a
// hand-over to another projection moves its origin.
inline double northing_of(kx_projection_fn fn, const double *sph, const double *par, double lambda,
                          double phi, const int *ivals, const double *dvals) {
  double p[2] = {lambda, phi};
  fn(sph, par, 1, p, ivals, dvals);
  return p[1];
}

// Adds dy to every y, then multiplies x and y by scale (forward hand-overs).
inline void shift_then_scale(int n, double *coords, double dy, double scale) {
  for (int i = 0; i < n && coords != nullptr; ++i) {
    double *p = coords + 2 * static_cast<std::size_t>(i);
    p[0] = p[0] * scale;
    p[1] = (p[1] + dy) * scale;
  }
}

// Divides x and y by divisor, then adds dy to every y (inverse hand-overs).
inline void unscale_then_shift(int n, double *coords, double divisor, double dy) {
  for (int i = 0; i < n && coords != nullptr; ++i) {
    double *p = coords + 2 * static_cast<std::size_t>(i);
    p[0] = p[0] / divisor;
    p[1] = p[1] / divisor + dy;
  }
}

// A constants struct holds only doubles, in the order of its dvals layout.
template <class S>
constexpr int double_count() {
  static_assert(std::is_trivially_copyable<S>::value, "constants are plain doubles");
  static_assert(sizeof(S) % sizeof(double) == 0, "constants are plain doubles");
  return static_cast<int>(sizeof(S) / sizeof(double));
}

template <class S>
S unpack_constants(const double *dvals) {
  S s;
  std::memcpy(&s, dvals, sizeof(S));
  return s;
}

// Loaded constants usable for a layout of count doubles: the caller's dvals
// when present and (if the counts are there to say so) long enough.
inline const double *loaded_constants(const int *ivals, const double *dvals, int count) {
  if (dvals == nullptr) return nullptr;
  if (ivals != nullptr && ivals[1] < count) return nullptr;
  return dvals;
}

// The constants struct from dvals when loaded, else from the builder, so that
// both paths give bit-identical values.
template <class S, class Builder>
S constants_or_build(const int *ivals, const double *dvals, Builder &&build) {
  const double *loaded = loaded_constants(ivals, dvals, double_count<S>());
  return loaded ? unpack_constants<S>(loaded) : build();
}

// The same for a builder of (sph, par), whose result is the struct.
template <class S>
S constants_or_build(const int *ivals, const double *dvals,
                     S (*build)(const double *, const double *), const double *sph,
                     const double *par) {
  return constants_or_build<S>(ivals, dvals, [&] { return build(sph, par); });
}

// Allocates the two count integers and count doubles in pc, copies values in;
// returns count, or 0 (both arrays null) when pc is not a constants record or
// memory is exhausted.
// A projection with more to keep (the Winkel Tripel's starting grid) passes
// it as extra integers, stored after the two counts.
int store_constants(kx_pcsconstants pc, const double *values, int count,
                    const int *extra = nullptr, int extra_count = 0);

template <class S>
int store_constants(kx_pcsconstants pc, const S &s, const int *extra = nullptr,
                    int extra_count = 0) {
  double values[double_count<S>()];
  std::memcpy(values, &s, sizeof(S));
  return store_constants(pc, values, double_count<S>(), extra, extra_count);
}

}  // namespace kx

#endif  // KX_PROJECTIONS_PROJECTION_COMMON_H
