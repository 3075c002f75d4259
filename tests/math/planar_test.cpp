// Planar predicates against the documented cases, orientation invariants and
// an exact integer oracle on a half-integer grid (all products exact in
// double, so the predicates must agree with the oracle everywhere, including
// points on edges and vertices and degenerate triangles).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "kx.h"

namespace {

struct Ccw {
  int orientation, position;
};

Ccw ccw(double x1, double y1, double x2, double y2, double x3, double y3) {
  int8_t o = 99;
  uint8_t p = 99;
  kx_isccw(x1, y1, x2, y2, x3, y3, &o, &p);
  return {o, p};
}

TEST(Planar, OrientationAndCollinearPositions) {
  EXPECT_EQ(ccw(0, 0, 1, 0, 0, 1).orientation, 1);
  EXPECT_EQ(ccw(0, 0, 1, 0, 0, 1).position, 0);
  EXPECT_EQ(ccw(0, 0, 0, 1, 1, 0).orientation, -1);
  EXPECT_EQ(ccw(0, 0, 0, 1, 1, 0).position, 0);
  // p3 on the other side of p1, beyond p2, between p1 and p2.
  EXPECT_EQ(ccw(0, 0, 1, 0, -1, 0).orientation, 0);
  EXPECT_EQ(ccw(0, 0, 1, 0, -1, 0).position, 5);
  EXPECT_EQ(ccw(0, 0, 1, 0, 2, 0).position, 4);
  EXPECT_EQ(ccw(0, 0, 2, 0, 1, 0).position, 3);
  EXPECT_EQ(ccw(0, 0, 2, 0, 2, 0).position, 3);  // p3 at p2
  EXPECT_EQ(ccw(1, 1, 3, 3, -2, -2).position, 5);
  EXPECT_EQ(ccw(1, 1, 1, 3, 1, 7).position, 4);
  // Coincidence within 2^-48 on the squared length.
  EXPECT_EQ(ccw(0, 0, 1, 0, 0, 0).position, 6);
  EXPECT_EQ(ccw(5, 5, 5, 5, 5, 5).position, 6);
  EXPECT_EQ(ccw(0, 0, 1, 0, 1e-8, 0).position, 6);
  EXPECT_EQ(ccw(0, 0, 1, 0, 1e-7, 0).position, 3);
  EXPECT_EQ(ccw(0, 0, 0, 0, 1, 1).position, 4);  // p2 at p1
  // Exact comparison: a turn of one unit in 2^30 is still a turn.
  EXPECT_EQ(ccw(0, 0, 1 << 30, 0, 1 << 29, 1).orientation, 1);
  EXPECT_EQ(ccw(0, 0, 1 << 30, 0, 1 << 29, -1).orientation, -1);
  // Both results are written; null pointers are skipped.
  int8_t o = 7;
  kx_isccw(0, 0, 1, 0, 0, 1, &o, nullptr);
  EXPECT_EQ(o, 1);
  kx_isccw(0, 0, 1, 0, 0, 1, nullptr, nullptr);
  // NaN classifies as collinear and degenerate, without a crash.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ccw(0, 0, nan, 0, 1, 1).orientation, 0);
  EXPECT_EQ(ccw(0, 0, nan, 0, 1, 1).position, 6);
}

TEST(Planar, OrientationInvariants) {
  std::mt19937_64 gen(3);
  std::uniform_int_distribution<int> coord(-4, 4);
  std::uniform_real_distribution<double> real(-1e3, 1e3);
  for (int k = 0; k < 20000; ++k) {
    double x[3], y[3];
    for (int j = 0; j < 3; ++j) {
      x[j] = k % 2 ? coord(gen) : real(gen);
      y[j] = k % 2 ? coord(gen) : real(gen);
    }
    const int o = ccw(x[0], y[0], x[1], y[1], x[2], y[2]).orientation;
    // Exact sign of the cross product (the grid case is exact in double; the
    // real case is checked only where the sign is far above rounding).
    const double cross = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (k % 2 || std::fabs(cross) > 1e-6) {
      EXPECT_EQ(o, cross > 0 ? 1 : cross < 0 ? -1 : 0);
    }
    if (k % 2 == 0 && std::fabs(cross) <= 1e-6) continue;
    // Cyclic permutations keep the orientation, reversal negates it.
    EXPECT_EQ(ccw(x[1], y[1], x[2], y[2], x[0], y[0]).orientation, o);
    EXPECT_EQ(ccw(x[2], y[2], x[0], y[0], x[1], y[1]).orientation, o);
    EXPECT_EQ(ccw(x[0], y[0], x[2], y[2], x[1], y[1]).orientation, -o);
    EXPECT_EQ(ccw(x[2], y[2], x[1], y[1], x[0], y[0]).orientation, -o);
    // Translation by an exact offset does not change anything.
    EXPECT_EQ(ccw(x[0] + 64, y[0] - 32, x[1] + 64, y[1] - 32, x[2] + 64, y[2] - 32).orientation, o);
  }
}

// Exact oracle on integers (the test points are doubled to integers).
long long cross(long long ax, long long ay, long long bx, long long by, long long px, long long py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

bool oracle_segment(long long ax, long long ay, long long bx, long long by, long long px,
                    long long py) {
  return cross(ax, ay, bx, by, px, py) == 0 && px >= std::min(ax, bx) && px <= std::max(ax, bx) &&
         py >= std::min(ay, by) && py <= std::max(ay, by);
}

bool oracle(const long long *x, const long long *y, long long px, long long py) {
  const long long o = cross(x[0], y[0], x[1], y[1], x[2], y[2]);
  if (o != 0) {
    const long long s = o > 0 ? 1 : -1;
    return s * cross(x[0], y[0], x[1], y[1], px, py) >= 0 &&
           s * cross(x[1], y[1], x[2], y[2], px, py) >= 0 &&
           s * cross(x[2], y[2], x[0], y[0], px, py) >= 0;
  }
  // Collinear: the triangle is the segment between its two farthest vertices.
  int ia = 0, ib = 1;
  long long best = -1;
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j) {
      const long long d = (x[i] - x[j]) * (x[i] - x[j]) + (y[i] - y[j]) * (y[i] - y[j]);
      if (d > best) best = d, ia = i, ib = j;
    }
  return oracle_segment(x[ia], y[ia], x[ib], y[ib], px, py);
}

TEST(Planar, PointInTriangleAgainstExactOracle) {
  std::mt19937_64 gen(17);
  std::uniform_int_distribution<int> coord(-3, 3);
  long long mismatches = 0, inside = 0, checked = 0;
  for (int k = 0; k < 3000; ++k) {
    long long x[3], y[3];
    for (int j = 0; j < 3; ++j) x[j] = 2 * coord(gen), y[j] = 2 * coord(gen);
    // Every permutation of the vertices must give the same answer.
    static const int perms[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};
    for (long long px = -7; px <= 7; ++px)
      for (long long py = -7; py <= 7; ++py) {
        const bool want = oracle(x, y, px, py);
        inside += want;
        for (const auto &p : perms) {
          const int got = kx_intriangle(x[p[0]] / 2.0, y[p[0]] / 2.0, x[p[1]] / 2.0, y[p[1]] / 2.0,
                                        x[p[2]] / 2.0, y[p[2]] / 2.0, px / 2.0, py / 2.0);
          ++checked;
          if (got != (want ? 1 : 0)) {
            if (++mismatches < 10)
              ADD_FAILURE() << "triangle (" << x[p[0]] << "," << y[p[0]] << ") (" << x[p[1]] << ","
                            << y[p[1]] << ") (" << x[p[2]] << "," << y[p[2]] << ") point (" << px
                            << "," << py << ") in halves: got " << got;
          }
        }
      }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(inside * 6, checked / 20);  // the grid does cover the interiors
}

TEST(Planar, PointInTriangleDocumentedCases) {
  // Vertices and edge points are inside for either orientation.
  const double t[6] = {0, 0, 4, 0, 0, 4};
  for (int rev = 0; rev < 2; ++rev) {
    const double *a = t, *b = rev ? t + 4 : t + 2, *c = rev ? t + 2 : t + 4;
    for (const double *v : {a, b, c}) EXPECT_EQ(kx_intriangle(a[0], a[1], b[0], b[1], c[0], c[1], v[0], v[1]), 1);
    EXPECT_EQ(kx_intriangle(a[0], a[1], b[0], b[1], c[0], c[1], 2, 2), 1);      // hypotenuse
    EXPECT_EQ(kx_intriangle(a[0], a[1], b[0], b[1], c[0], c[1], 2, 0), 1);      // base
    EXPECT_EQ(kx_intriangle(a[0], a[1], b[0], b[1], c[0], c[1], 1, 1), 1);      // interior
    EXPECT_EQ(kx_intriangle(a[0], a[1], b[0], b[1], c[0], c[1], 2, 2.001), 0);  // just beyond
    EXPECT_EQ(kx_intriangle(a[0], a[1], b[0], b[1], c[0], c[1], -1e-9, 1), 0);
    EXPECT_EQ(kx_intriangle(a[0], a[1], b[0], b[1], c[0], c[1], 5, 5), 0);
  }
  // A degenerate triangle is its segment.
  EXPECT_EQ(kx_intriangle(0, 0, 1, 0, 2, 0, 1.5, 0), 1);
  EXPECT_EQ(kx_intriangle(0, 0, 1, 0, 2, 0, 3, 0), 0);
  EXPECT_EQ(kx_intriangle(0, 0, 1, 0, 2, 0, 1, 1e-9), 0);
  EXPECT_EQ(kx_intriangle(0, 0, 1, 0, 2, 0, 0, 0), 1);    // an end of the segment
  EXPECT_EQ(kx_intriangle(0, 0, 2, 0, 1, 0, 0.5, 0), 1);  // position 3
  EXPECT_EQ(kx_intriangle(0, 0, 1, 0, -1, 0, -0.5, 0), 1);  // position 5
  EXPECT_EQ(kx_intriangle(0, 0, 2, 0, 0, 0, 1, 0), 1);    // position 6, p3 at p1
  EXPECT_EQ(kx_intriangle(3, 3, 3, 3, 3, 3, 3, 3), 1);    // a point
  EXPECT_EQ(kx_intriangle(3, 3, 3, 3, 3, 3, 3, 3.5), 0);
  // Non-finite input is never inside.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(kx_intriangle(0, 0, 4, 0, 0, 4, nan, 1), 0);
  EXPECT_EQ(kx_intriangle(0, 0, 4, 0, 0, 4, 1, inf), 0);
  EXPECT_EQ(kx_intriangle(nan, 0, 4, 0, 0, 4, 1, 1), 0);
  EXPECT_EQ(kx_intriangle(nan, nan, nan, nan, nan, nan, nan, nan), 0);
  EXPECT_EQ(kx_intriangle(0, 0, inf, 0, 0, 4, 1, 1), 0);
  // Products that overflow do not make a far point inside.
  EXPECT_EQ(kx_intriangle(0, 0, 1e300, 0, 0, 1e300, -1e300, -1e300), 0);
}

}  // namespace
