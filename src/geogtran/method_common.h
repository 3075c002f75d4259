// Pieces the equation-based datum shifts share: the value-array slots, the
// closing step that stores a shifted point, the exact rotation matrix of the
// seven-parameter family, the point loop with heights and the geocentric
// point loop.
#ifndef KX_GEOGTRAN_METHOD_COMMON_H
#define KX_GEOGTRAN_METHOD_COMMON_H

#include <cmath>
#include <cstddef>

#include "kx.h"
#include "math/math_common.h"

namespace kx {
namespace geogtran {

// Slots of the 16-double value array (translations metres, rotations
// radians, scale difference as a ratio, rotation origin metres).
enum ValueSlot : int {
  kDx = 0,
  kDy = 1,
  kDz = 2,
  kRx = 3,
  kRy = 4,
  kRz = 5,
  kDs = 6,
  kX0 = 7,
  kY0 = 8,
  kZ0 = 9,
  kDataset = 15,
  kValueCount = 16,
};

// Every method checks its pointers once: a call it cannot serve converts
// nothing and reports 0 (n <= 0 is reported back unchanged).
inline bool usable(const double *sph1, const double *sph2, const double *val, int n,
                   const double *coords) {
  return n > 0 && sph1 != nullptr && sph2 != nullptr && val != nullptr && coords != nullptr;
}

inline int unusable_result(int n) { return n > 0 ? 0 : n; }

// The closing step: latitude clamped to the poles, longitude reduced to
// [-pi, pi], height written back when there is a height array.
inline void store_point(double *p, double *height, double phi, double lambda, double h) {
  if (phi > kHalfPi) phi = kHalfPi;
  if (phi < -kHalfPi) phi = -kHalfPi;
  p[0] = reduce_angle(lambda);
  p[1] = phi;
  if (height != nullptr) *height = h;
}

// A point a method can take: finite, with a latitude no further from the
// equator than the poles (a rounding's worth past them, as 90 degrees in a
// unit with a truncated factor gives, is the pole). The shifts have no
// clamp for their input, unlike the projection driver.
inline bool shiftable(double lambda, double phi) {
  return std::isfinite(lambda) && std::fabs(phi) <= kHalfPi + kEps;
}

// The point loop every method runs: shift(p, height) converts the pair at p
// (longitude, latitude) and the height at height (null without heights) in
// place. A point that is not shiftable, or whose result is not finite,
// becomes a NaN pair (and a NaN height) and is not counted. Returns the
// count of converted points.
template <class Shift>
int shift_points(int n, double *coords, double *heights, Shift &&shift) {
  double nan;
  kx_double_nan(&nan);
  int count = 0;
  for (int i = 0; i < n; ++i) {
    double *p = coords + 2 * static_cast<std::size_t>(i);
    double *hp = heights != nullptr ? heights + i : nullptr;
    if (shiftable(p[0], p[1])) {
      shift(p, hp);
      // x - x is 0 exactly for a finite x and NaN otherwise.
      if ((p[0] - p[0]) + (p[1] - p[1]) + (hp != nullptr ? *hp - *hp : 0.0) == 0.0) {
        ++count;
        continue;
      }
    }
    p[0] = nan;
    p[1] = nan;
    if (hp != nullptr) *hp = nan;
  }
  return count;
}

struct Matrix3 {
  double m[3][3];
};

// Rotation by rx, ry, rz (radians) in the exact trigonometric form of the
// coordinate-frame convention; for small angles [[1, rz, -ry], [-rz, 1, rx],
// [ry, -rx, 1]].
inline Matrix3 rotation_matrix(double rx, double ry, double rz) {
  const double sx = std::sin(rx), cx = std::cos(rx);
  const double sy = std::sin(ry), cy = std::cos(ry);
  const double sz = std::sin(rz), cz = std::cos(rz);
  return Matrix3{{{cy * cz, cx * sz + sx * sy * cz, sx * sz - cx * sy * cz},
                  {-cy * sz, cx * cz - sx * sy * sz, sx * cz + cx * sy * sz},
                  {sy, -sx * cy, cx * cy}}};
}

inline Matrix3 scaled(const Matrix3 &r, double k) {
  Matrix3 s;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) s.m[i][j] = k * r.m[i][j];
  return s;
}

// The general inverse (adjugate over determinant), not the transpose, so
// that the inverse undoes exactly what the forward matrix did.
inline Matrix3 inverse(const Matrix3 &a) {
  const auto &m = a.m;
  Matrix3 adj{{{m[1][1] * m[2][2] - m[1][2] * m[2][1], m[0][2] * m[2][1] - m[0][1] * m[2][2],
                m[0][1] * m[1][2] - m[0][2] * m[1][1]},
               {m[1][2] * m[2][0] - m[1][0] * m[2][2], m[0][0] * m[2][2] - m[0][2] * m[2][0],
                m[0][2] * m[1][0] - m[0][0] * m[1][2]},
               {m[1][0] * m[2][1] - m[1][1] * m[2][0], m[0][1] * m[2][0] - m[0][0] * m[2][1],
                m[0][0] * m[1][1] - m[0][1] * m[1][0]}}};
  const double det = m[0][0] * adj.m[0][0] + m[0][1] * adj.m[1][0] + m[0][2] * adj.m[2][0];
  return scaled(adj, 1.0 / det);
}

struct Vector3 {
  double x, y, z;
};

inline Vector3 apply(const Matrix3 &a, const Vector3 &v) {
  const auto &m = a.m;
  return Vector3{m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
                 m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                 m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

// An affine map of geocentric coordinates: X' = A (X - before) + after.
struct Affine {
  Matrix3 a;
  Vector3 before;
  Vector3 after;
};

// Geodetic on the first spheroid, through the affine map, geodetic on the
// second spheroid, point by point; returns the count of shift_points.
inline int shift_geocentric(const double *from, const double *to, const Affine &t, int n,
                            double *coords, double *heights) {
  return shift_points(n, coords, heights, [&](double *p, double *hp) {
    const double h = hp != nullptr ? *hp : 0.0;
    Vector3 v;
    kx_curv_to_cart(from[0], from[1], p[1], p[0], h, &v.x, &v.y, &v.z);
    const Vector3 w = apply(t.a, Vector3{v.x - t.before.x, v.y - t.before.y, v.z - t.before.z});
    double phi, lambda, h2;
    kx_cart_to_curv(to[0], to[1], w.x + t.after.x, w.y + t.after.y, w.z + t.after.z, &phi,
                    &lambda, &h2);
    store_point(p, hp, phi, lambda, h2);
  });
}

// The forward and inverse maps of the seven-parameter family about the
// rotation origin p0: forward X' = S X + T' with S = (1 + ds) R and
// T' = T + p0 - S p0; inverse X = R^-1 (X' - T') / (1 + ds).
inline Affine helmert_forward(const double *val, const Vector3 &p0) {
  const Matrix3 s = scaled(rotation_matrix(val[kRx], val[kRy], val[kRz]), 1.0 + val[kDs]);
  const Vector3 sp = apply(s, p0);
  return Affine{s, Vector3{0.0, 0.0, 0.0},
                Vector3{val[kDx] + p0.x - sp.x, val[kDy] + p0.y - sp.y, val[kDz] + p0.z - sp.z}};
}

inline Affine helmert_inverse(const double *val, const Vector3 &p0) {
  const Affine fwd = helmert_forward(val, p0);
  Matrix3 ri = inverse(rotation_matrix(val[kRx], val[kRy], val[kRz]));
  for (auto &row : ri.m)
    for (double &e : row) e /= 1.0 + val[kDs];
  return Affine{ri, fwd.after, Vector3{0.0, 0.0, 0.0}};
}

}  // namespace geogtran
}  // namespace kx

#endif  // KX_GEOGTRAN_METHOD_COMMON_H
