// The poles of every registered projection: wherever a pole has a finite
// image in closed form (a cone's apex or pole arc, a polar aspect's centre, a
// cylinder's pole line, the pole point of the pseudocylinders and transverse
// cylinders), the forward function puts it there within 1 mm (4 mm for the
// ellipsoidal Albers' pole arcs, where its authalic-latitude series is
// magnified: 3.3 mm measured), with and
// without loaded constants, and the inverse of that image is the pole.
// Expected values: tests/data/projections/pole_cases.csv, closed forms made
// by tests/scripts/gen_poles.py and checked there against PROJ's cct (2.6 um).
// A registry row with functions and no case fails the sweep, so each new
// projection brings its poles.
//
// Also the double stereographic with its origin on either pole against cct
// (pole_points.csv): the south pole's K is the reciprocal of the north's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "objects/registry.h"
#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::num;

constexpr double kHalfPi = 1.5707963267948966;

struct PoleCase {
  std::string name;
  kxtest::Spheroid sph{1.0, 0.0};
  kxtest::Parameters par;
  double lon = 0, lat = 0, x = 0, y = 0;
  double bound = 1e-3;  // metres
};

// Angular slots take degrees; slot 4 defaults to slot 3 as the driver does.
kxtest::Parameters parse_parameters(const std::string &text) {
  static const std::set<int> angular = {2, 3, 4, 6, 7, 8, 9, 10, 11, 14};
  kxtest::Parameters p;
  bool has_slot4 = false;
  std::stringstream ss(text);
  std::string item;
  while (ss >> item) {
    const auto colon = item.find(':');
    const int slot = std::stoi(item.substr(0, colon));
    const double v = num(item.substr(colon + 1));
    if (angular.count(slot)) p.deg(slot, v);
    else p.set(slot, v);
    has_slot4 = has_slot4 || slot == 4;
  }
  if (!has_slot4) p.set(4, p.v[3]);
  return p;
}

struct Cases {
  std::vector<PoleCase> finite;
  std::set<std::string> named;  // every name with a row, "none" rows too
};

Cases read_cases() {
  Cases c;
  for (const auto &r : kxtest::read_csv("pole_cases.csv")) {
    c.named.insert(r.at(0));
    if (r.at(1) == "none") continue;
    PoleCase pc;
    pc.name = r.at(0);
    pc.sph = kxtest::Spheroid::from_rf(num(r.at(1)), num(r.at(2)));
    pc.par = parse_parameters(r.at(3));
    pc.lat = r.at(4) == "N" ? kHalfPi : -kHalfPi;
    pc.lon = num(r.at(5)) * kDeg;
    pc.x = num(r.at(6));
    pc.y = num(r.at(7));
    pc.bound = num(r.at(8));
    c.finite.push_back(pc);
  }
  return c;
}

TEST(PoleSweep, EveryProjectionWithFunctionsHasPoleCases) {
  const Cases cases = read_cases();
  int count = 0;
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  int with_functions = 0;
  for (int i = 0; i < count; ++i) {
    if (rows[i].forward == nullptr) continue;
    ++with_functions;
    EXPECT_EQ(cases.named.count(rows[i].name), 1u) << rows[i].name << " has no pole case";
  }
  EXPECT_GE(with_functions, 20);
  for (const std::string &name : cases.named)
    EXPECT_NE(kx::find_projection_row(name.c_str()), nullptr) << name << " is not registered";
}

TEST(PoleSweep, PolesMapToTheirClosedFormImage) {
  const Cases cases = read_cases();
  ASSERT_GE(cases.finite.size(), 150u);
  double worst = 0, worst_arc = 0, worst_lat = 0;  // worst_arc: cases with a wider bound
  for (const PoleCase &c : cases.finite) {
    const kx::ProjectionRow *row = kx::find_projection_row(c.name.c_str());
    ASSERT_NE(row, nullptr) << c.name;
    if (row->forward == nullptr) continue;  // cases may come before the projection
    std::ostringstream where;
    where << c.name << " at " << (c.lat > 0 ? "N" : "S") << " lon " << c.lon / kDeg;
    SCOPED_TRACE(where.str());

    const std::vector<double> pole = {c.lon, c.lat};
    std::vector<std::vector<double>> images = {kxtest::run(row->forward, c.sph, c.par, pole)};
    if (row->pcsconstfunc != nullptr) {
      const kxtest::Loaded k(row->pcsconstfunc, c.sph.get(), c.par.get());
      ASSERT_GT(k.result(), 0);
      std::vector<double> p = pole;
      EXPECT_EQ(row->forward(c.sph.get(), c.par.get(), 1, p.data(), k.ivals(), k.dvals()), 1);
      images.push_back(p);
    }
    for (const auto &xy : images) {
      const double d = std::max(std::fabs(xy[0] - c.x), std::fabs(xy[1] - c.y));
      EXPECT_LE(d, c.bound) << "image " << xy[0] << " " << xy[1];
      double &w = c.bound > 1e-3 ? worst_arc : worst;
      if (!(d <= w)) w = d;
    }
    // The inverse takes the image back to the pole (the longitude is free
    // there). Next to the pole the latitude is asin of a value next to 1 or
    // alike: a rounding error in the image gives sqrt(2 ulp) = 2.1e-8 rad.
    int count = 0;
    const auto geo = kxtest::run(row->inverse, c.sph, c.par, images[0], &count);
    EXPECT_EQ(count, 1);
    const double dlat = std::fabs(geo[1] - c.lat);
    EXPECT_LE(dlat, 1e-7) << "inverse latitude " << geo[1] / kDeg;
    if (!(dlat <= worst_lat)) worst_lat = dlat;
  }
  if (std::getenv("KX_VERBOSE"))
    std::printf("  pole images within %.3g m (wider-bound cases %.3g m), inverse latitudes within "
                "%.3g rad\n",
                worst, worst_arc, worst_lat);
}

// The polar constants are the oblique ones' limits: K, C, chi0 and R at
// +-89.99 degrees (the oblique formula loses digits in tan next to the pole,
// 1e-8 relative there) against the pole's own.
TEST(DoubleStereographic, PolarConstantsAreTheObliqueLimits) {
  const kxtest::Spheroid grs80(6378137.0, 1 / 298.257222101);
  for (double sign : {1.0, -1.0}) {
    kxtest::Parameters pole, near;
    pole.deg(6, sign * 90.0);
    near.deg(6, sign * 89.99);
    const kxtest::Loaded kp(kx_double_stereographic_const, grs80.get(), pole.get());
    const kxtest::Loaded kn(kx_double_stereographic_const, grs80.get(), near.get());
    ASSERT_EQ(kp.result(), 8);
    ASSERT_EQ(kn.result(), 8);
    const double *p = kp.dvals(), *q = kn.dvals();
    EXPECT_NEAR(p[7] / q[7], 1.0, 1e-7) << "K at " << sign * 90;
    EXPECT_NEAR(p[6], q[6], 1e-9) << "C";
    EXPECT_NEAR(p[4], q[4], 0.011 * kDeg) << "chi0";
    EXPECT_NEAR(p[3] / q[3], 1.0, 1e-9) << "R";
  }
}

// Origins on either pole against cct +proj=sterea, both directions, with
// and without loaded constants. Measured: forward 0.9 nm, inverse 7e-14 deg.
TEST(DoubleStereographic, PolarOriginsAgreeWithOracle) {
  const auto rows = kxtest::read_csv("pole_points.csv");
  ASSERT_GE(rows.size(), 40u);
  double worst_xy = 0, worst_geo = 0;
  for (const auto &r : rows) {
    const kxtest::Spheroid sph = kxtest::Spheroid::from_rf(num(r.at(0)), num(r.at(1)));
    kxtest::Parameters par;
    par.deg(2, num(r.at(2))).deg(6, num(r.at(3))).set(5, num(r.at(4)));
    const double lon = num(r.at(5)) * kDeg, lat = num(r.at(6)) * kDeg;
    const double x = num(r.at(7)), y = num(r.at(8));
    SCOPED_TRACE(r.at(3) + " " + r.at(5) + " " + r.at(6));
    const kxtest::Loaded k(kx_double_stereographic_const, sph.get(), par.get());
    for (const double *dvals : {static_cast<const double *>(nullptr), k.dvals()}) {
      double xy[2] = {lon, lat};
      kx_double_stereographic_fwd(sph.get(), par.get(), 1, xy, k.ivals(), dvals);
      const double dxy = std::max(std::fabs(xy[0] - x), std::fabs(xy[1] - y));
      EXPECT_LE(dxy, 1e-8) << xy[0] << " " << xy[1];
      worst_xy = std::max(worst_xy, dxy);
      double geo[2] = {x, y};
      kx_double_stereographic_inv(sph.get(), par.get(), 1, geo, k.ivals(), dvals);
      double dlon = std::remainder(geo[0] - lon, 2 * 3.141592653589793) * std::cos(lat);
      const double dgeo = std::max(std::fabs(dlon), std::fabs(geo[1] - lat)) / kDeg;
      EXPECT_LE(dgeo, 1e-12) << geo[0] / kDeg << " " << geo[1] / kDeg;
      worst_geo = std::max(worst_geo, dgeo);
    }
  }
  if (std::getenv("KX_VERBOSE"))
    std::printf("  polar origins: forward %.3g m, inverse %.3g deg\n", worst_xy, worst_geo);
}

}  // namespace
