// The contract every projection keeps, swept over the registry rows that
// have functions: n <= 0 and null arguments, NaN members, every point of a
// long array visited, and the constants function (bad arguments, loading
// twice, loaded constants giving the per-call results bit for bit). A new
// projection is covered by its registry row.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "objects/registry.h"
#include "projection_fixture.h"

namespace {

using kxtest::Parameters;
using kxtest::Spheroid;

const Spheroid kWgs84(6378137.0, 1 / 298.257223563);
const Spheroid kSphere(6371000.0, 0.0);

// One row per set of functions (synonyms share their row's functions).
std::vector<const kx::ProjectionRow *> implemented() {
  int count = 0;
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  std::vector<const kx::ProjectionRow *> out;
  std::set<kx_projection_fn> seen;
  for (int i = 0; i < count; ++i) {
    if (rows[i].forward != nullptr && seen.insert(rows[i].forward).second) out.push_back(&rows[i]);
  }
  return out;
}

// Central meridian 10, parallels 30 and 50, origin and centre at 40 N, a
// point of view 3000 km up.
Parameters usual() {
  Parameters p;
  p.deg(2, 10).deg(3, 30).deg(4, 50).deg(6, 40).deg(10, 10).deg(11, 40).set(15, 3e6);
  return p;
}

TEST(ProjectionRegistry, ArgumentAndNanContract) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const auto rows = implemented();
  EXPECT_GE(rows.size(), 20u);
  const Parameters p = usual();
  for (const kx::ProjectionRow *row : rows) {
    SCOPED_TRACE(row->name);
    for (const Spheroid *s : {&kWgs84, &kSphere}) {
      // A point near the origin, and its projection for the inverse.
      std::vector<double> xy = {10.5 * kxtest::kDeg, 40.5 * kxtest::kDeg};
      ASSERT_EQ(row->forward(s->get(), p.get(), 1, xy.data(), nullptr, nullptr), 1);
      const double geo[2] = {10.5 * kxtest::kDeg, 40.5 * kxtest::kDeg};
      for (kx_projection_fn fn : {row->forward, row->inverse}) {
        const double *good = fn == row->forward ? geo : xy.data();
        kxtest::expect_argument_contract(fn, *s, p, good);
        // A NaN member makes a NaN pair, not counted; the neighbours still convert.
        std::vector<double> pts = {nan, good[1], good[0], nan, good[0], good[1]};
        EXPECT_EQ(fn(s->get(), p.get(), 3, pts.data(), nullptr, nullptr), 1);
        for (int i = 0; i < 4; ++i) EXPECT_TRUE(std::isnan(pts[i])) << i;
        EXPECT_TRUE(std::isfinite(pts[4]) && std::isfinite(pts[5]));
        // Every point of a long array is visited, whatever its neighbours hold.
        const int n = 1001;
        std::vector<double> many(2 * n);
        for (int i = 0; i < n; ++i) {
          many[2 * i] = i % 7 == 3 ? nan : good[0];
          many[2 * i + 1] = good[1];
        }
        fn(s->get(), p.get(), n, many.data(), nullptr, nullptr);
        for (int i = 0; i < n; ++i) {
          if (i % 7 == 3) continue;
          EXPECT_EQ(many[2 * i], pts[4]) << i;
          EXPECT_EQ(many[2 * i + 1], pts[5]) << i;
        }
      }
    }
  }
}

// A point 2 degrees east of the central meridian across the antimeridian
// comes back with its own longitude, not one a turn away.
TEST(ProjectionRegistry, InverseLongitudesAcrossTheAntimeridian) {
  Parameters p = usual();
  p.deg(2, 179).deg(10, 179);
  for (const kx::ProjectionRow *row : implemented()) {
    SCOPED_TRACE(row->name);
    for (const Spheroid *s : {&kWgs84, &kSphere}) {
      const std::vector<double> geo = {-179 * kxtest::kDeg, 40.5 * kxtest::kDeg};
      std::vector<double> pts = geo;
      ASSERT_EQ(row->forward(s->get(), p.get(), 1, pts.data(), nullptr, nullptr), 1);
      ASSERT_EQ(row->inverse(s->get(), p.get(), 1, pts.data(), nullptr, nullptr), 1);
      EXPECT_NEAR(pts[0], geo[0], 1e-6);
      EXPECT_NEAR(pts[1], geo[1], 1e-6);
    }
  }
}

TEST(ProjectionRegistry, ConstantsContract) {
  const Parameters p = usual();
  int with_constants = 0;
  for (const kx::ProjectionRow *row : implemented()) {
    if (row->pcsconstfunc == nullptr) continue;
    SCOPED_TRACE(row->name);
    ++with_constants;
    const kx_pcsconst_fn fn = row->pcsconstfunc;
    EXPECT_EQ(fn(nullptr, kWgs84.get(), p.get()), 0);
    kx_pcsconstants pc = kx_pcsconstants_new();
    ASSERT_NE(pc, nullptr);
    EXPECT_EQ(fn(pc, nullptr, p.get()), 0);
    EXPECT_EQ(fn(pc, kWgs84.get(), nullptr), 0);
    EXPECT_EQ(kx_pcsconstants_ivals(pc), nullptr);
    EXPECT_EQ(kx_pcsconstants_dvals(pc), nullptr);
    // Loading twice replaces the arrays (nothing leaks under the sanitizer).
    const int first = fn(pc, kWgs84.get(), p.get());
    EXPECT_GT(first, 0);
    EXPECT_EQ(fn(pc, kWgs84.get(), p.get()), first);
    kx_pcsconstants_del(pc);
    // A record of another kind is refused.
    alignas(8) uint32_t other[16] = {KX_KIND_PCSCONSTANTS << 1};
    EXPECT_EQ(fn(reinterpret_cast<kx_pcsconstants>(other), kWgs84.get(), p.get()), 0);

    // Loaded constants: layout {integer count, double count, ...} and the
    // per-call results bit for bit.
    for (const Spheroid *s : {&kWgs84, &kSphere}) {
      const kxtest::Loaded k(fn, s->get(), p.get());
      ASSERT_GT(k.result(), 0);
      EXPECT_GE(k.ivals()[0], 2);
      EXPECT_EQ(k.ivals()[1], k.result());
      std::vector<double> geo = {10.5 * kxtest::kDeg, 40.5 * kxtest::kDeg, 12 * kxtest::kDeg,
                                 35 * kxtest::kDeg,   8 * kxtest::kDeg,    44 * kxtest::kDeg};
      std::vector<double> a = geo, b = geo;
      const int na = row->forward(s->get(), p.get(), 3, a.data(), nullptr, nullptr);
      EXPECT_EQ(row->forward(s->get(), p.get(), 3, b.data(), k.ivals(), k.dvals()), na);
      EXPECT_TRUE(kxtest::same_bits(a, b));
      std::vector<double> c = a, d = a;
      const int nc = row->inverse(s->get(), p.get(), 3, c.data(), nullptr, nullptr);
      EXPECT_EQ(row->inverse(s->get(), p.get(), 3, d.data(), k.ivals(), k.dvals()), nc);
      EXPECT_TRUE(kxtest::same_bits(c, d));
    }
  }
  EXPECT_GE(with_constants, 15);
}

}  // namespace
