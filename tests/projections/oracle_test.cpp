// Forward and inverse against PROJ 9.1 (cct) and GeodSolve values for every
// Mercator, stereographic, orthographic, gnomonic and conic case of
// tests/data/projections/oracle_cases.csv (made by tests/scripts/
// gen_projections.py), with loaded constants and without.
//
// Measured agreement (largest over each group; forward in metres, inverse
// as the angle on the ground in degrees):
//   spheres, every projection          forward 3.7 nm   inverse 2e-13
//   orthographic, gnomonic             forward 11 nm    inverse 1.4e-13
//   Mercator, sphere                   forward 7.5 nm (4 ulp)
//   Mercator, ellipsoid, to 85 degrees forward 44 um    inverse 1.1e-10
//     (0.15 um to 30 degrees, 8 um at 60, 23 um at 70)
//     (orthographic at a pole 8.6e-7: asin next to 1, sqrt(2 ulp))
//   stereographic, ellipsoid           forward 8.2 um   inverse 1.1e-10
//   polar stereographic, ellipsoid     forward 8 um     inverse 9e-12
//   double stereographic, ellipsoid    forward 4.8 nm   inverse 5.7e-14
//   equidistant conic, ellipsoid       forward 0.10 um  inverse 5.5e-12
//   Lambert conformal conic, ellipsoid forward 7.9 um   inverse 1.1e-10
//     polar hand-over 12 um, Mercator hand-over to 70 degrees 20 um
//   Albers, ellipsoid                  forward 0.65 mm  inverse 1.4e-8
//   oblique Mercator, six forms, ellipsoid forward 72 nm  inverse 1.8e-10
//     (4.9 um against PROJ's somerc at an azimuth of 90 degrees)
//   oblique Mercator, sphere           forward 20 nm    inverse 1.6e-13
//   Krovak (PROJ's Bessel e2)          forward 43 nm    inverse 2.2e-11
//     (2.4 um for PROJ's built-in centre)
//   two-point equidistant              forward 0.49 um  inverse 2.5e-12
//     (PROJ's acos distances; away from the control points' line)
//   New Zealand Map Grid               forward 2.6 nm   inverse 1.9e-9
//     (two Newton steps, 7 degrees out)
// The ellipsoidal Mercator, stereographic and conformal conic carry the error of the
// library's conformal-latitude series (1.4e-12 rad), Albers that of its
// authalic-latitude series (2.2e-10 rad), the equidistant conic that of its
// meridian-arc series; PROJ evaluates all three exactly. The double
// stereographic and the spheres realise PROJ's own formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "projection_fixture.h"

namespace {

using kxtest::kDeg;
using kxtest::num;

struct Case {
  std::string name, fn;
  kxtest::Spheroid sph{1.0, 0.0};
  kxtest::Parameters par;
  bool sphere = false;
};

std::vector<Case> read_cases() {
  std::vector<Case> cases;
  for (const auto &r : kxtest::read_csv("oracle_cases.csv")) {
    Case c;
    c.name = r[0];
    c.fn = r[1];
    c.sph = kxtest::Spheroid::from_rf(num(r[2]), num(r[3]));
    c.sphere = num(r[3]) == 0.0;
    c.par.deg(2, num(r[4])).deg(3, num(r[5])).deg(4, num(r[6])).set(5, num(r[7]));
    c.par.deg(6, num(r[8])).deg(10, num(r[9])).deg(11, num(r[10]));
    // Further slots as slot:value, angles in degrees (12, 13 are scales).
    std::stringstream extra(r.size() > 12 ? r[12] : "");
    std::string item;
    while (extra >> item) {
      const int slot = std::stoi(item.substr(0, item.find(':')));
      const double v = num(item.substr(item.find(':') + 1));
      if (slot == 12 || slot == 13)
        c.par.set(slot, v);
      else
        c.par.deg(slot, v);
    }
    cases.push_back(c);
  }
  return cases;
}

struct Points {
  std::vector<double> geo, xy;
};

std::map<std::string, Points> read_points() {
  std::map<std::string, Points> pts;
  for (const auto &r : kxtest::read_csv("oracle_points.csv")) {
    Points &p = pts[r[0]];
    p.geo.push_back(num(r[1]) * kDeg);
    p.geo.push_back(num(r[2]) * kDeg);
    p.xy.push_back(num(r[3]));
    p.xy.push_back(num(r[4]));
  }
  return pts;
}

// Largest allowed differences: forward in metres, inverse in degrees.
struct Bound {
  double forward_m, inverse_deg;
};

// The world projections (spheres of radius a, the Robinson's authalic,
// the Times' mean radius) against PROJ or, where PROJ's formula differs or
// loses digits, against the library's formula at 40 digits (recipe
// "formula"; PROJ's distance from those values is in gen_projections.py's
// output). Measured, forward / inverse:
//   closed forms (Eckert I-III, V, Winkel I, II, quartic authalic, Craster,
//     Times, Hammer-Aitoff, Aitoff)          7.5 nm / 2.9e-13 deg
//   Mollweide 28 nm, Eckert IV 35 nm, Eckert VI 19 nm (PROJ's iterations
//     stop earlier than ours), flat-polar quartic 48 nm   / 3.4e-13 deg
//   Mollweide 1e-3 to 1e-6 degrees from the poles, against 40-digit roots,
//     0.3 um / 8.2e-12 deg (PROJ is up to 22 m off there)
//   Robinson, both variants, sphere           4.2 nm / 5.1e-14 deg
//   Robinson on the ellipsoid 0.72 um / 7.6e-12 deg (the authalic radius's series)
//   Winkel Tripel                             6.5 nm / 7.4e-14 deg
//   loximuthal 0.12 um / 1.1e-12 deg (PROJ's difference of logarithms is
//     0.12 um from the 40-digit value; ours 5.6 nm next to phi1)
//   Van der Grinten I 0.49 um / 3.6e-7 deg (the cubic's trigonometric root
//     loses half the digits next to the equator and the rim)
const std::map<std::string, Bound> &world_bounds() {
  static const std::map<std::string, Bound> b = {
      {"mollweide", {5e-8, 5e-13}},        {"eckert_i", {1e-8, 5e-13}},
      {"eckert_ii", {1e-8, 5e-13}},        {"eckert_iii", {1e-8, 5e-13}},
      {"eckert_iv", {5e-8, 5e-13}},        {"eckert_v", {1e-8, 5e-13}},
      {"eckert_vi", {5e-8, 5e-13}},        {"robinson", {1e-6, 1e-11}},
      {"robinson_velmar", {1e-8, 1e-12}},  {"winkel_i", {1e-8, 5e-13}},
      {"winkel_ii", {1e-8, 5e-13}},        {"winkel_tripel", {1e-8, 5e-13}},
      {"quartic_authalic", {1e-8, 5e-13}}, {"flat_polar_quartic", {1e-7, 5e-13}},
      {"craster_parabolic", {1e-8, 5e-13}}, {"loximuthal", {2e-7, 2e-12}},
      {"times", {1e-8, 5e-13}},            {"hammer_aitoff", {1e-8, 5e-13}},
      {"aitoff", {1e-8, 5e-13}},           {"van_der_grinten_i", {1e-6, 1e-6}},
  };
  return b;
}

Bound bound_for(const Case &c) {
  // Within 1e-6 degrees of the poles the double next to pi/2 (6e-17 short)
  // moves the Mollweide's x by 0.3 um.
  if (c.name == "moll_near_pole") return {5e-7, 5e-11};
  if (world_bounds().count(c.fn)) return world_bounds().at(c.fn);
  if (c.fn == "orthographic" || c.fn == "gnomonic") return {2e-8, 3e-13};
  // Two-point equidistant: sqrt of a vanishing product next to the line
  // through the control points.
  if (c.fn == "two_point_equidistant") return {1e-6, 1e-11};
  // Two Newton steps of the inverse polynomial, 10 degrees out.
  if (c.fn == "new_zealand_map_grid") return {5e-9, 5e-9};
  // Mercator sphere: PROJ's asinh(tan phi) and ln tan(pi/4 + phi/2) differ
  // by 4 ulp at 2e7 m. Ellipsoid to 85 degrees: the conformal-latitude error
  // magnified by 1/cos phi.
  if (c.fn == "mercator") return c.sphere ? Bound{1e-8, 3e-13} : Bound{5e-5, 2e-10};
  // Oblique Mercator: coordinates up to 1e7 m from the natural origin.
  const bool oblique = c.fn.find("hotine") == 0 || c.fn.find("rso") == 0;
  if (oblique) return c.sphere ? Bound{3e-8, 3e-13} : Bound{1e-5, 2e-10};
  if (c.sphere) return {5e-9, 3e-13};
  if (c.fn == "double_stereographic") return {1e-8, 1e-13};
  if (c.fn == "equidistant_conic") return {2e-7, 1e-11};
  if (c.fn == "albers") return {1e-3, 2e-8};
  // Mercator hand-over up to 70 degrees: ln tan(pi/4 + chi/2) magnifies the
  // conformal-latitude error by 1/cos.
  if (c.name == "lcc_mercator") return {3e-5, 2e-10};
  return {1.5e-5, 2e-10};  // conformal latitude: stereographic family, Lambert
}

double angle_diff(double a, double b) {
  double d = std::fabs(a - b);
  if (d > 3.141592653589793) d = 2 * 3.141592653589793 - d;
  return d;
}

TEST(ProjectionOracle, EveryCaseForwardAndInverse) {
  const auto cases = read_cases();
  const auto points = read_points();
  ASSERT_GE(cases.size(), 90u);
  int checked = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const auto it = points.find(c.name);
    ASSERT_NE(it, points.end());
    const Points &p = it->second;
    const int n = static_cast<int>(p.geo.size() / 2);
    ASSERT_GE(n, 20);
    ASSERT_EQ(kxtest::projections().count(c.fn), 1u) << c.fn;
    const kxtest::Projection &f = kxtest::projections().at(c.fn);
    std::vector<double> fwd = p.geo, inv = p.xy;
    EXPECT_EQ(f.fwd(c.sph.get(), c.par.get(), n, fwd.data(), nullptr, nullptr), n);
    EXPECT_EQ(f.inv(c.sph.get(), c.par.get(), n, inv.data(), nullptr, nullptr), n);
    if (f.constants != nullptr) {
      const kxtest::Loaded k(f.constants, c.sph.get(), c.par.get());
      ASSERT_GT(k.result(), 0);
      // The Winkel Tripel keeps its inverse's 11 x 11 grid after the two counts.
      ASSERT_EQ(k.ivals()[0], c.fn == "winkel_tripel" ? 244 : 2);
      ASSERT_EQ(k.ivals()[1], k.result());
      std::vector<double> fwd_loaded = p.geo, inv_loaded = p.xy;
      EXPECT_EQ(f.fwd(c.sph.get(), c.par.get(), n, fwd_loaded.data(), k.ivals(), k.dvals()), n);
      EXPECT_TRUE(kxtest::same_bits(fwd, fwd_loaded));
      EXPECT_EQ(f.inv(c.sph.get(), c.par.get(), n, inv_loaded.data(), k.ivals(), k.dvals()), n);
      EXPECT_TRUE(kxtest::same_bits(inv, inv_loaded));
    }

    const Bound b = bound_for(c);
    double dxy = 0, dgeo = 0;
    for (int i = 0; i < n; ++i) {
      dxy = std::max(
          {dxy, std::fabs(fwd[2 * i] - p.xy[2 * i]), std::fabs(fwd[2 * i + 1] - p.xy[2 * i + 1])});
      // Longitude differences as arcs of the parallel, so that the pole
      // (where a nanometre turns the longitude) does not dominate.
      const double lat = p.geo[2 * i + 1];
      const double dlon = angle_diff(inv[2 * i], p.geo[2 * i]) * std::cos(lat);
      const double d = std::max(dlon, std::fabs(inv[2 * i + 1] - lat)) / kDeg;
      // The orthographic inverse takes asin of a value next to 1 at a pole.
      const bool ortho_pole = c.fn == "orthographic" && std::fabs(lat) == 90 * kDeg;
      if (ortho_pole) {
        EXPECT_LE(d, 1e-6);
        continue;
      }
      if (d > b.inverse_deg || std::getenv("KX_VERBOSE"))
        std::printf("    %g %g: %.3g deg\n", p.geo[2 * i] / kDeg, lat / kDeg, d);
      dgeo = std::max(dgeo, d);
    }
    EXPECT_LE(dxy, b.forward_m);
    EXPECT_LE(dgeo, b.inverse_deg);
    if (std::getenv("KX_VERBOSE"))
      std::printf("  %-26s forward %.3g m  inverse %.3g deg\n", c.name.c_str(), dxy, dgeo);
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(cases.size()));
}

// Forward then inverse of every oracle point returns it within 1e-9 deg.
// Measured: spheres 2e-13, ellipsoidal Mercator, stereographic and Lambert 1.1e-10
// (the conformal-latitude pair of series), double stereographic 4.4e-14,
// equidistant conic 4.7e-12; Albers on the ellipsoid 1.2e-8 (the authalic
// pair of series, bound 2e-8); the orthographic at a pole 8.6e-7 (asin next
// to 1, bound 1e-6).
TEST(ProjectionOracle, RoundTripsEveryCase) {
  const auto cases = read_cases();
  const auto points = read_points();
  double worst = 0;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(kxtest::projections().count(c.fn), 1u) << c.fn;
    const kxtest::Projection &f = kxtest::projections().at(c.fn);
    const Points &p = points.at(c.name);
    const int n = static_cast<int>(p.geo.size() / 2);
    std::vector<double> pts = p.geo;
    ASSERT_EQ(f.fwd(c.sph.get(), c.par.get(), n, pts.data(), nullptr, nullptr), n);
    ASSERT_EQ(f.inv(c.sph.get(), c.par.get(), n, pts.data(), nullptr, nullptr), n);
    double w = 0;
    for (int i = 0; i < n; ++i) {
      const double lat = p.geo[2 * i + 1];
      const double d = std::max(angle_diff(pts[2 * i], p.geo[2 * i]) * std::cos(lat),
                                std::fabs(pts[2 * i + 1] - lat)) /
                       kDeg;
      if (c.fn == "orthographic" && std::fabs(lat) == 90 * kDeg) {
        EXPECT_LE(d, 1e-6);
        continue;
      }
      w = std::max(w, d);
    }
    // Albers: the authalic-latitude series pair closes to 2.2e-10 rad only.
    // New Zealand Map Grid: two Newton steps leave 2e-9 deg 7 degrees out.
    // Van der Grinten I: the cubic's root closes to 4e-7 degrees.
    const double bound = c.fn == "van_der_grinten_i"                ? 1e-6
                         : c.fn == "albers" && !c.sphere            ? 2e-8
                         : c.fn == "new_zealand_map_grid"           ? 5e-9
                                                                    : 1e-9;
    EXPECT_LE(w, bound);
    if (std::getenv("KX_VERBOSE")) std::printf("  %-26s round trip %.3g deg\n", c.name.c_str(), w);
    worst = std::max(worst, w);
  }
  EXPECT_GT(worst, 0.0);
}

}  // namespace
