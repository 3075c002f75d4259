// Points no projection or transformation method can convert, swept over both
// registries: every row with functions, both directions, on a sphere and an
// ellipsoid. A NaN or infinite coordinate (and, for a datum shift, a
// latitude beyond the poles) gives a NaN pair that is not counted, while the
// good points of the same array convert exactly as they do alone. A huge
// finite coordinate may convert or fail, but never half: a counted point is
// finite, a failed one a NaN pair.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "kx.h"
#include "objects/registry.h"

namespace {

constexpr double kDeg = 3.141592653589793 / 180.0;
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Point {
  double u, v;
};

// Non-finite pairs, failed in every direction.
const std::vector<Point> kNonFinite = {{kNaN, 0.0},   {0.0, kNaN},   {kNaN, kNaN},   {kInf, 0.0},
                                       {-kInf, 0.0},  {0.0, kInf},   {0.0, -kInf},   {kInf, kInf},
                                       {-kInf, kInf}, {kInf, -kInf}, {-kInf, -kInf}, {kInf, kNaN},
                                       {kNaN, -kInf}};
// Huge finite pairs: converted to a finite pair or failed as a NaN pair.
const std::vector<Point> kHuge = {
    {1e308, 1e308}, {-1e308, -1e308}, {1e308, 0.1}, {0.1, -1e308}, {1.7e306, 1.7e306}};
// Latitudes no datum shift takes.
const std::vector<Point> kBeyondPole = {
    {0.1, 1.570796326795}, {0.1, -1.6}, {0.1, 3.0}, {0.1, 1e308}, {1e308, -1e308}};

struct Run {
  std::vector<Point> points;
  int count;
};

// One call of a point function over an array (heights alongside for the
// methods; the projections take none).
using Convert = std::function<int(int n, double *coords)>;

Run convert(const Convert &fn, std::vector<Point> points) {
  const int count = fn(static_cast<int>(points.size()), &points[0].u);
  return {points, count};
}

// The first candidate that converts alone (and whose result, handed to back,
// converts too): a good point of the direction, or none.
bool good_point(const Convert &fn, const Convert &back, const std::vector<Point> &candidates,
                Point *good) {
  for (const Point &c : candidates) {
    const Run there = convert(fn, {c});
    if (there.count != 1) continue;
    if (convert(back, there.points).count != 1) continue;
    *good = c;
    return true;
  }
  return false;
}

bool nan_pair(const Point &p) { return std::isnan(p.u) && std::isnan(p.v); }
bool finite_pair(const Point &p) { return std::isfinite(p.u) && std::isfinite(p.v); }

// Good points between the bad ones: each bad one a NaN pair, the good ones
// as alone, the count theirs. Huge points, one at a time, convert whole or
// fail whole.
void expect_bad_points_fail(const std::string &what, const Convert &fn, const Point &good,
                            const std::vector<Point> &bad, const std::vector<Point> &huge) {
  SCOPED_TRACE(what);
  const Point alone = convert(fn, {good}).points[0];
  std::vector<Point> mixed = {good};
  for (const Point &b : bad) {
    mixed.push_back(b);
    mixed.push_back(good);
  }
  const Run run = convert(fn, mixed);
  EXPECT_EQ(run.count, static_cast<int>(bad.size()) + 1);
  for (size_t i = 0; i < mixed.size(); ++i) {
    const Point &p = run.points[i];
    if (i % 2 == 0) {
      EXPECT_EQ(p.u, alone.u) << "good point " << i;
      EXPECT_EQ(p.v, alone.v) << "good point " << i;
    } else {
      EXPECT_TRUE(nan_pair(p)) << "(" << mixed[i].u << ", " << mixed[i].v << ") gave (" << p.u
                               << ", " << p.v << ")";
    }
  }
  for (const Point &h : huge) {
    const Run one = convert(fn, {h});
    const Point &p = one.points[0];
    EXPECT_TRUE(one.count == 1 ? finite_pair(p) : one.count == 0 && nan_pair(p))
        << "(" << h.u << ", " << h.v << ") gave (" << p.u << ", " << p.v << ") counted "
        << one.count;
  }
}

struct Spheroid {
  const char *label;
  double sph[2];
};

const Spheroid kSpheroids[] = {{"sphere", {6371000.0, 0.0}},
                               {"ellipsoid", {6378137.0, 0.0066943799901413165}}};

// Plausible parameters for every projection: central meridian 10, standard
// parallels 30 and 60 (or those given: symmetric ones and ones at a pole
// make the conics hand over to other projections), origin and centre at 40
// north, scale 1, a point of view 3000 km up.
std::vector<double> projection_parameters(double phi1 = 30, double phi2 = 60) {
  std::vector<double> par(16, 0.0);
  par[0] = 500000.0;
  par[1] = 100000.0;
  par[2] = 10 * kDeg;
  par[3] = phi1 * kDeg;
  par[4] = phi2 * kDeg;
  par[5] = 1.0;
  par[6] = 40 * kDeg;
  par[7] = 45 * kDeg;
  par[9] = 60 * kDeg;
  par[10] = 10 * kDeg;
  par[11] = 40 * kDeg;
  par[12] = 1.0;
  par[13] = 1.0;
  par[15] = 3e6;
  return par;
}

TEST(BadPoints, EveryProjectionBothDirections) {
  int rows = 0;
  const kx::ProjectionRow *row = kx::projection_rows(&rows);
  std::set<std::pair<kx_projection_fn, kx_projection_fn>> seen;
  const std::vector<std::vector<double>> sets = {
      projection_parameters(), projection_parameters(-30, 30), projection_parameters(90, 90)};
  const std::vector<Point> candidates = {{12 * kDeg, 40 * kDeg}, {12 * kDeg, 60 * kDeg},
                                         {12 * kDeg, 0.0},       {12 * kDeg, -40 * kDeg},
                                         {12 * kDeg, 85 * kDeg}, {12 * kDeg, -85 * kDeg}};
  for (int r = 0; r < rows; ++r) {
    const kx::ProjectionRow &p = row[r];
    if (p.forward == nullptr || p.inverse == nullptr) continue;
    if (!seen.insert({p.forward, p.inverse}).second) continue;
    for (const Spheroid &s : kSpheroids) {
      for (size_t k = 0; k < sets.size(); ++k) {
        const std::vector<double> &par = sets[k];
        const std::string what =
            std::string(p.name) + " on the " + s.label + ", parameter set " + std::to_string(k);
        const Convert fwd = [&](int n, double *c) {
          return p.forward(s.sph, par.data(), n, c, nullptr, nullptr);
        };
        const Convert inv = [&](int n, double *c) {
          return p.inverse(s.sph, par.data(), n, c, nullptr, nullptr);
        };
        // The first set suits every projection; the others only some.
        Point geo{};
        const bool usable = good_point(fwd, inv, candidates, &geo);
        ASSERT_TRUE(usable || k > 0) << what;
        if (!usable) continue;
        const Point map = convert(fwd, {geo}).points[0];
        expect_bad_points_fail(what + ", forward", fwd, geo, kNonFinite, kHuge);
        expect_bad_points_fail(what + ", inverse", inv, map, kNonFinite, kHuge);
      }
    }
  }
  EXPECT_GE(seen.size(), 20u);
}

// The values a catalogue transformation would carry: translations, small
// rotations (radians), a scale difference and a rotation origin.
std::vector<double> method_values() {
  return {-8.0,        160.0,     176.0, 2.4e-6, -1.5e-6, 4.8e-6, 2.5e-6, 2464351.59,
          -5783466.61, 974809.81, 0.0,   0.0,    0.0,     0.0,    0.0,    0.0};
}

TEST(BadPoints, EveryMethodBothDirectionsAndLatitudesBeyondThePoles) {
  int rows = 0;
  const kx::MethodRow *row = kx::method_rows(&rows);
  std::set<std::pair<kx_method_fn, kx_method_fn>> seen;
  const std::vector<double> val = method_values();
  const double clarke[2] = {6378206.4, 0.006768657997291094};
  const double sphere2[2] = {6371007.0, 0.0};
  std::vector<Point> bad = kNonFinite;
  bad.insert(bad.end(), kBeyondPole.begin(), kBeyondPole.end());
  const std::vector<Point> candidates = {{-100 * kDeg, 40 * kDeg}, {10 * kDeg, -30 * kDeg}};
  for (int r = 0; r < rows; ++r) {
    const kx::MethodRow &m = row[r];
    if (m.forward == nullptr || m.inverse == nullptr || m.gtconstfunc != nullptr) continue;
    if (!seen.insert({m.forward, m.inverse}).second) continue;
    for (const Spheroid &s : kSpheroids) {
      const double *other = s.sph[1] == 0.0 ? sphere2 : clarke;
      const std::string what = std::string(m.name) + " on the " + s.label;
      std::vector<double> heights;
      const auto with_heights = [&](kx_method_fn f, const double *a, const double *b) {
        return Convert([&, f, a, b](int n, double *c) {
          heights.assign(static_cast<size_t>(n), 100.0);
          return f(a, b, val.data(), nullptr, n, c, heights.data(), nullptr, nullptr, nullptr);
        });
      };
      const Convert fwd = with_heights(m.forward, other, s.sph);
      const Convert inv = with_heights(m.inverse, other, s.sph);
      Point good{};
      ASSERT_TRUE(good_point(fwd, inv, candidates, &good)) << what;
      expect_bad_points_fail(what + ", forward", fwd, good, bad, kHuge);
      expect_bad_points_fail(what + ", inverse", inv, good, bad, kHuge);
      // A failed point's height fails with it (heights the method leaves
      // alone stay).
      std::vector<Point> one = {{0.1, 2.0}};
      fwd(1, &one[0].u);
      EXPECT_TRUE(std::isnan(heights[0]) || m.forward == kx_longitude_rotation_ccw) << what;
    }
  }
  EXPECT_GE(seen.size(), 6u);
}

// The transformations of the catalogue through the driver: a point beyond
// the poles in degrees (1e308 1e308, NAD 1927 to WGS 1984) fails, the pole
// itself (90 degrees in the catalogue's degree unit) converts.
TEST(BadPoints, CatalogueTransformationThroughTheDriver) {
  kx_geogtran gt = kx_factory_geogtran(1173);
  ASSERT_NE(gt, nullptr);
  double pts[] = {1e308, 1e308, -100.0, 40.0, kInf, 40.0, -100.0, 90.0, -100.0, -90.0000001};
  EXPECT_EQ(kx_geog1_to_geog2(gt, 5, pts, nullptr), 2);
  EXPECT_TRUE(std::isnan(pts[0]) && std::isnan(pts[1]));
  EXPECT_NEAR(pts[2], -100.0, 0.01);
  EXPECT_NEAR(pts[3], 40.0, 0.01);
  EXPECT_TRUE(std::isnan(pts[4]) && std::isnan(pts[5]));
  EXPECT_NEAR(pts[7], 90.0, 0.01);
  EXPECT_TRUE(std::isnan(pts[8]) && std::isnan(pts[9]));
  double back[] = {1e308, 1e308, 10.0, 95.0};
  EXPECT_EQ(kx_geog2_to_geog1(gt, 2, back, nullptr), 0);
  kx_geogtran_del(gt);
}

// The cases the conformal conic once passed off as converted.
TEST(BadPoints, LambertConformalConicInverse) {
  const std::vector<double> par = projection_parameters();
  const double sph[2] = {6378137.0, 0.0066943799901413165};
  double pts[] = {kInf, kInf, -kInf, -kInf, kInf, 0.0, 0.0, kNaN, 1000.0, 2000.0};
  EXPECT_EQ(kx_lambert_conformal_conic_inv(sph, par.data(), 5, pts, nullptr, nullptr), 1);
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(std::isnan(pts[i])) << i;
  EXPECT_TRUE(std::isfinite(pts[8]) && std::isfinite(pts[9]));
}

}  // namespace
