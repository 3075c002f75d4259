// Equidistant conics whose cone constant n is next to 0 (parallels 1e-9 to
// 1e-5 degrees, or symmetric about the equator to 1e-7 degrees), against
// 40-digit values of the cone formulas (tests/scripts/gen_near_cylinder.py,
// tests/data/projections/near_cylinder.csv). The radii are about a/n there:
// taken as differences of two such radii, y lost up to 22 m and the inverse
// latitude 3.4e-6 degrees. Measured: forward 64 nm (the library's meridian-arc
// series), inverse 5.3e-12 deg.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::num;

TEST(EquidistantConic, NearlyCylindricalCones) {
  const auto rows = kxtest::read_csv("near_cylinder.csv");
  ASSERT_GE(rows.size(), 40u);
  double worst_xy = 0, worst_geo = 0;
  for (const auto &r : rows) {
    const kxtest::Spheroid sph = kxtest::Spheroid::from_rf(num(r.at(0)), num(r.at(1)));
    kxtest::Parameters par;
    par.deg(2, num(r.at(2))).deg(3, num(r.at(3))).deg(4, num(r.at(4))).deg(6, num(r.at(5)));
    const double lon = num(r.at(6)) * kDeg, lat = num(r.at(7)) * kDeg;
    const double x = num(r.at(8)), y = num(r.at(9));
    SCOPED_TRACE(r.at(1) + " " + r.at(3) + " " + r.at(4) + " at " + r.at(6) + " " + r.at(7));
    int count = 0;
    const auto xy = kxtest::run(kx_equidistant_conic_fwd, sph, par, {lon, lat}, &count);
    EXPECT_EQ(count, 1);
    const double dxy = std::max(std::fabs(xy[0] - x), std::fabs(xy[1] - y));
    EXPECT_LE(dxy, 2e-7) << xy[0] << " " << xy[1];
    worst_xy = std::max(worst_xy, dxy);
    const auto geo = kxtest::run(kx_equidistant_conic_inv, sph, par, {x, y}, &count);
    EXPECT_EQ(count, 1);
    const double dgeo =
        std::max(std::fabs(std::remainder(geo[0] - lon, 2 * M_PI)) * std::cos(lat),
                 std::fabs(geo[1] - lat)) /
        kDeg;
    EXPECT_LE(dgeo, 1e-10) << geo[0] / kDeg << " " << geo[1] / kDeg;
    worst_geo = std::max(worst_geo, dgeo);
  }
  if (std::getenv("KX_VERBOSE"))
    std::printf("  near-cylindrical cones: forward %.3g m, inverse %.3g deg\n", worst_xy,
                worst_geo);
}

}  // namespace
