// Conics whose cone constant n is next to 0 (parallels 1e-9 to 1e-5 degrees,
// or symmetric about the equator to 1e-7 degrees) against 40-digit values of
// their cone formulas (tests/scripts/gen_near_cylinder.py, tests/data/
// projections/near_cylinder.csv). The radii are about a/n there: taken as
// differences of two such radii, y lost up to 22 m (equidistant), 47 m
// (Albers) and 0.9 m (Lambert) and the inverse latitude 3.4e-6 degrees.
// Measured, forward and inverse: spheres 5.6 nm and 5.1e-14 deg; ellipsoids,
// each the error of its latitude series: equidistant 64 nm and 5.3e-12 deg,
// Lambert 39 um (at 80 degrees) and 2e-11 deg, Albers 0.71 mm and 9.4e-9 deg.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::num;

// Bounds: forward in metres, inverse in degrees; on the ellipsoid the
// latitude series of each projection (meridian arc, conformal, authalic).
struct Bound {
  double forward_m, inverse_deg;
};

Bound bound_for(const std::string &fn, bool sphere) {
  if (sphere) return {1e-8, 1e-12};
  if (fn == "equidistant_conic") return {2e-7, 1e-10};
  // Lambert: the conformal-latitude series magnified by 1/cos phi as in the
  // Mercator it approaches (80 degrees here).
  if (fn == "lcc") return {5e-5, 2e-10};
  return {1e-3, 2e-8};  // albers
}

TEST(Conics, NearlyCylindricalCones) {
  const auto rows = kxtest::read_csv("near_cylinder.csv");
  ASSERT_GE(rows.size(), 120u);
  std::map<std::string, std::pair<double, double>> worst;
  for (const auto &r : rows) {
    ASSERT_EQ(kxtest::projections().count(r.at(0)), 1u) << r.at(0);
    const kxtest::Projection &f = kxtest::projections().at(r.at(0));
    const kxtest::Spheroid sph = kxtest::Spheroid::from_rf(num(r.at(1)), num(r.at(2)));
    kxtest::Parameters par;
    par.deg(2, num(r.at(3))).deg(3, num(r.at(4))).deg(4, num(r.at(5))).deg(6, num(r.at(6)));
    const double lon = num(r.at(7)) * kDeg, lat = num(r.at(8)) * kDeg;
    const double x = num(r.at(9)), y = num(r.at(10));
    const bool sphere = num(r.at(2)) == 0.0;
    SCOPED_TRACE(r.at(0) + " " + r.at(2) + " " + r.at(4) + " " + r.at(5) + " at " + r.at(7) +
                 " " + r.at(8));
    const Bound b = bound_for(r.at(0), sphere);
    int count = 0;
    const auto xy = kxtest::run(f.fwd, sph, par, {lon, lat}, &count);
    EXPECT_EQ(count, 1);
    const double dxy = std::max(std::fabs(xy[0] - x), std::fabs(xy[1] - y));
    EXPECT_LE(dxy, b.forward_m) << xy[0] << " " << xy[1];
    const auto geo = kxtest::run(f.inv, sph, par, {x, y}, &count);
    EXPECT_EQ(count, 1);
    const double dgeo =
        std::max(std::fabs(std::remainder(geo[0] - lon, 2 * M_PI)) * std::cos(lat),
                 std::fabs(geo[1] - lat)) /
        kDeg;
    EXPECT_LE(dgeo, b.inverse_deg) << geo[0] / kDeg << " " << geo[1] / kDeg;
    auto &w = worst[r.at(0) + (sphere ? " sphere" : " ellipsoid")];
    w.first = std::max(w.first, dxy);
    w.second = std::max(w.second, dgeo);
  }
  if (std::getenv("KX_VERBOSE"))
    for (const auto &w : worst)
      std::printf("  %-28s forward %.3g m, inverse %.3g deg\n", w.first.c_str(), w.second.first,
                  w.second.second);
}

}  // namespace
