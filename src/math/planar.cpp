// Planar predicates: orientation of three points and point-in-triangle.
//
// Method: the sign of the cross product of p2 - p1 and p3 - p1, compared
// without tolerance; collinear points are classified by the signs of the
// coordinate differences and the squared lengths (tolerance 2^-48 on the
// squared length for coincidence). A point is in a proper triangle when the
// three oriented areas it forms with the edges are all >= 0.
//
// The predicates are exact for coordinates whose differences and products are
// exact in double (integers below 2^26 and the like); the tests compare them
// with an exact integer oracle on such grids.
//
// Sound behaviour where the bare rules fail:
//  - in a degenerate triangle (a segment) the point is inside when it lies on
//    the segment including both ends: kx_isccw(a, b, p) gives position 3
//    between the ends and at b, but 6 at a, so both 3 and 6 count; otherwise
//    a vertex of the degenerate triangle could be outside it, and the answer
//    would depend on the order in which the vertices are given;
//  - any NaN or infinite coordinate makes kx_intriangle answer 0 (NaN areas
//    would pass every ">= 0 or stop" test the wrong way).
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "kx.h"
#include "math/math_common.h"

namespace kx {
namespace {

struct Ccw {
  int8_t orientation;
  uint8_t position;
};

Ccw isccw(double x1, double y1, double x2, double y2, double x3, double y3) {
  const double dx1 = x2 - x1, dy1 = y2 - y1, dx2 = x3 - x1, dy2 = y3 - y1;
  if (dx2 * dy1 < dx1 * dy2) return {1, 0};
  if (dx1 * dy2 < dx2 * dy1) return {-1, 0};
  if (dx1 * dx2 < 0.0 || dy1 * dy2 < 0.0) return {0, 5};
  const double l12 = dx1 * dx1 + dy1 * dy1, l13 = dx2 * dx2 + dy2 * dy2;
  if (l12 < l13) return {0, 4};
  if (l12 > kEps && l13 > kEps) return {0, 3};
  return {0, 6};
}

// p on the closed segment a-b (or at a when b coincides with a).
bool on_segment(double ax, double ay, double bx, double by, double px, double py) {
  const Ccw r = isccw(ax, ay, bx, by, px, py);
  return r.orientation == 0 && (r.position == 3 || r.position == 6);
}

}  // namespace
}  // namespace kx

extern "C" {

KX_API void kx_isccw(double x1, double y1, double x2, double y2, double x3, double y3,
                     int8_t *orientation, uint8_t *position) {
  const kx::Ccw r = kx::isccw(x1, y1, x2, y2, x3, y3);
  if (orientation) *orientation = r.orientation;
  if (position) *position = r.position;
}

KX_API uint8_t kx_intriangle(double x1, double y1, double x2, double y2, double x3, double y3,
                             double px, double py) {
  for (double v : {x1, y1, x2, y2, x3, y3, px, py})
    if (!std::isfinite(v)) return 0;
  const kx::Ccw r = kx::isccw(x1, y1, x2, y2, x3, y3);
  if (r.orientation != 0) {
    const double o = r.orientation;
    const double a = ((x1 - px) * (y2 - py) - (y1 - py) * (x2 - px)) * 0.5 * o;
    if (!(a >= 0.0)) return 0;  // also NaN from overflowing products
    const double b = ((x2 - px) * (y3 - py) - (y2 - py) * (x3 - px)) * 0.5 * o;
    if (!(b >= 0.0)) return 0;
    const double c = ((x3 - px) * (y1 - py) - (x1 - px) * (y3 - py)) * 0.5 * o;
    if (!(c >= 0.0)) return 0;
    return 1;
  }
  switch (r.position) {
    case 4:  // p3 beyond p2: the segment p1-p3
      return kx::on_segment(x1, y1, x3, y3, px, py) ? 1 : 0;
    case 5:  // p1 between p2 and p3
      return kx::on_segment(x2, y2, x3, y3, px, py) ? 1 : 0;
    default:  // 3: p3 between p1 and p2; 6: p3 at p1
      return kx::on_segment(x1, y1, x2, y2, px, py) ? 1 : 0;
  }
}

}  // extern "C"
