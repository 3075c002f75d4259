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

struct Cases {
  std::vector<PoleCase> finite;
  std::set<std::string> named;  // every name with a row, "none" rows too
};

Cases read_cases() {
  Cases c;
  for (const auto &r : kxtest::read_csv(kxtest::data_path("projections/pole_cases.csv"))) {
    c.named.insert(r.at(0));
    if (r.at(1) == "none") continue;
    PoleCase pc;
    pc.name = r.at(0);
    pc.sph = kxtest::Spheroid::from_rf(num(r.at(1)), num(r.at(2)));
    pc.par = kxtest::parse_parameters(r.at(3));
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
    std::printf(
        "  pole images within %.3g m (wider-bound cases %.3g m), inverse latitudes within "
        "%.3g rad\n",
        worst, worst_arc, worst_lat);
}

}  // namespace
