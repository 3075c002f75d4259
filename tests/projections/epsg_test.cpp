// EPSG projected CRSs of the Mercator, stereographic and conic methods against the
// reference points of /work/shared/reference/projected_crs_points.csv,
// joined with their EPSG parameters in tests/data/projections/
// epsg_points.csv (tests/scripts/gen_projections.py). False origin and units
// are applied as the driver applies them.
//
// Measured agreement (forward in metres, inverse as the angle in degrees):
//   9804 Mercator A (k0 as its latitude of true scale) 16 um   6.5e-11
//   9805 Mercator B                                    0.2 um   2.6e-11
//   9809 oblique stereographic (double stereographic)  8.6 nm   8.9e-14
//   9810 polar stereographic A (stereographic)         8.2 um   2.3e-12
//   9829 polar stereographic B (north/south pole)      8.1 um   9e-12
//   9801 Lambert conic 1SP                             0.2 um   1.2e-10
//   9802 Lambert conic 2SP                             18 um    2e-10
//   9822 Albers equal area                             0.5 mm   1.3e-8
// The conformal and authalic latitude series of the library bound the
// Mercator, stereographic, Lambert and Albers figures, as in the PROJ comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::num;

struct Method {
  const char *code;
  const char *fn;      // projection of the fixture table; "" = pole decides
  double forward_m;    // bound on the easting/northing difference, metres
  double inverse_deg;  // bound on the ground angle
};

constexpr Method kMethods[] = {
    {"9804", "mercator", 2.5e-5, 2e-10},  // 16 um at 66 S (3395)
    {"9805", "mercator", 1e-6, 2e-10},
    {"9809", "double_stereographic", 1e-8, 1e-13},
    {"9810", "stereographic", 1e-5, 1e-10},
    {"9829", "", 1e-5, 1e-10},
    {"9801", "lcc", 1.2e-5, 2e-10},
    {"9802", "lcc", 2.5e-5, 3e-10},  // 18 um on the Antarctic charts (80 S)
    {"9822", "albers", 1e-3, 2e-8},
};

const Method *method(const std::string &code) {
  for (const Method &m : kMethods)
    if (code == m.code) return &m;
  return nullptr;
}

TEST(ProjectionEpsg, ReferencePointsForwardAndInverse) {
  std::map<std::string, double> worst_fwd, worst_inv;
  std::map<std::string, int> rows;
  for (const auto &r : kxtest::read_csv("epsg_points.csv")) {
    const Method *m = method(r[1]);
    ASSERT_NE(m, nullptr) << r[1];
    const std::string code = r[0];
    SCOPED_TRACE(code);
    const kxtest::Spheroid sph(num(r[2]), num(r[3]));
    const double lin = num(r[4]), ang = num(r[5]), fe = num(r[6]), fn = num(r[7]);
    kxtest::Parameters par;
    par.deg(2, num(r[8])).deg(3, num(r[9])).deg(4, num(r[10])).set(5, num(r[11]));
    par.deg(6, num(r[12]));
    std::string fn_name = m->fn;
    if (fn_name.empty()) fn_name = num(r[9]) > 0 ? "stereographic_np" : "stereographic_sp";
    ASSERT_EQ(kxtest::projections().count(fn_name), 1u) << fn_name;
    const kxtest::Projection &f = kxtest::projections().at(fn_name);
    const double lon = num(r[13]) * ang, lat = num(r[14]) * ang;
    const double east = num(r[15]), north = num(r[16]);

    double p[2] = {lon, lat};
    ASSERT_EQ(f.fwd(sph.get(), par.get(), 1, p, nullptr, nullptr), 1);
    const double de = std::fabs((p[0] + fe) / lin - east) * lin;
    const double dn = std::fabs((p[1] + fn) / lin - north) * lin;
    EXPECT_LE(std::max(de, dn), m->forward_m);

    double q[2] = {east * lin - fe, north * lin - fn};
    ASSERT_EQ(f.inv(sph.get(), par.get(), 1, q, nullptr, nullptr), 1);
    const double d =
        std::max(std::fabs(kx_delta(q[0] - lon)) * std::cos(lat), std::fabs(q[1] - lat)) / kDeg;
    EXPECT_LE(d, m->inverse_deg);

    worst_fwd[r[1]] = std::max(worst_fwd[r[1]], std::max(de, dn));
    worst_inv[r[1]] = std::max(worst_inv[r[1]], d);
    ++rows[r[1]];
  }
  for (const auto &w : worst_fwd)
    if (std::getenv("KX_VERBOSE"))
      std::printf("  %s: %d points, forward %.3g m, inverse %.3g deg\n", w.first.c_str(),
                  rows[w.first], w.second, worst_inv[w.first]);
  EXPECT_GE(rows["9809"], 30);
  EXPECT_GE(rows["9810"], 4);
  EXPECT_GE(rows["9829"], 40);
  EXPECT_GE(rows["9801"], 90);
  EXPECT_GE(rows["9802"], 1200);
  EXPECT_GE(rows["9804"], 10);
  EXPECT_GE(rows["9805"], 4);
  EXPECT_GE(rows["9822"], 40);
}

}  // namespace
