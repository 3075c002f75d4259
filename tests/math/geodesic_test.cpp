// Geodesics against GeographicLib's GeodSolve in exact mode
// (tests/scripts/gen_geodesics.py): 2000 inverse and 2000 direct cases on
// WGS 84 and as many on a sphere of radius 6371000 m, by class.
//
// Measured maximum errors, asserted below per class with a margin against GeodSolve -E (distance; azimuth):
//   WGS 84 inverse: random global pairs 7.0e-5 m, 4.1e-11 rad; short lines
//     (0.1 m - 10 km) 2.8e-8 m, 2.8e-9 rad (3e-10 m across the line);
//     meridians 4.9e-6 m; equator 1.8e-6 m, 7.2e-12 rad; poles 2.6e-6 m;
//     nearly antipodal 3.8e-4 m, 3.2e-5 rad (the sin(alpha) iteration stops at
//     70 passes before it converges for some pairs; azimuths there are also
//     ill-conditioned in the input).
//   WGS 84 direct (ground position): random 8.5e-5 m, beyond the antipode up
//     to two circuits 3.3e-4 m, close to the antipode 8.9e-5 m, meridians
//     7.0e-6 m, from the poles 4.5e-6 m, equator 8.5e-9 m, short 5.8e-8 m.
//   Sphere: inverse 1.9e-8 m and 2.7e-15 rad for random pairs, but 0.135 m
//     and 7.1e-9 rad for nearly antipodal pairs (the haversine loses half the
//     digits near the antipode); direct 1.2e-7 m.
#include "kx.h"
#include "support/cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDeg = kPi / 180.0;
constexpr double kWgsA = 6378137.0;
constexpr double kWgsE2 = 0.0066943799901413165;  // (2 - f) f, f = 1/298.257223563
constexpr double kSphereR = 6371000.0;

double num(const std::string &s) { return std::strtod(s.c_str(), nullptr); }

struct Spheroid {
  double a, e2;
};
Spheroid spheroid_of(const std::string &ell) { return ell == "W" ? Spheroid{kWgsA, kWgsE2} : Spheroid{kSphereR, 0.0}; }

// Largest errors of one class.
struct Worst {
  double dist = 0, az = 0, az_transverse = 0, pos = 0;  // pos: direct problem only
  int count = 0;
};

// Inverse bounds per class: distance (m), azimuth (rad), azimuth times distance (m).
struct Bound {
  double dist, az, az_transverse;
};

TEST(Geodesic, InverseAgainstGeodSolve) {
  const auto rows = kxtest::read_csv(kxtest::data_path("math/geodesic_inverse.csv"));
  ASSERT_EQ(rows.size(), 4000u);
  std::map<std::string, Worst> worst;
  for (const auto &r : rows) {
    ASSERT_EQ(r.size(), 9u);
    const Spheroid sp = spheroid_of(r[0]);
    const double lat1 = num(r[2]) * kDeg, lon1 = num(r[3]) * kDeg, lat2 = num(r[4]) * kDeg, lon2 = num(r[5]) * kDeg;
    const double azi1 = num(r[6]) * kDeg, back2 = kx_delta(num(r[7]) * kDeg + kPi), s12 = num(r[8]);
    double s, a12, a21;
    kx_geodesic_distance(sp.a, sp.e2, lon1, lat1, lon2, lat2, &s, &a12, &a21);
    Worst &w = worst[r[0] + " " + r[1]];
    ++w.count;
    w.dist = std::max(w.dist, std::fabs(s - s12));
    const double e1 = std::fabs(kx_delta(a12 - azi1)), e2 = std::fabs(kx_delta(a21 - back2));
    w.az = std::max({w.az, e1, e2});
    w.az_transverse = std::max(w.az_transverse, std::max(e1, e2) * s12);
  }
  // Measured maxima with a margin; distance m, azimuth rad, azimuth x s12 m.
  const std::map<std::string, Bound> bound = {
      {"W random", {1e-4, 1e-10, 1e-3}},    {"W short", {5e-8, 5e-9, 5e-8}},
      {"W meridian", {1e-5, 1e-14, 1e-7}},  {"W equator", {5e-6, 2e-11, 5e-4}},
      {"W pole", {5e-6, 1e-14, 1e-7}},      {"W antipodal", {5e-4, 5e-5, 1e3}},
      {"S random", {5e-8, 1e-14, 1e-7}},    {"S short", {2e-8, 5e-9, 1e-8}},
      {"S meridian", {1e-7, 1e-14, 1e-7}},  {"S equator", {1e-5, 1e-14, 1e-7}},
      {"S pole", {3e-7, 1e-14, 1e-7}},      {"S antipodal", {0.2, 2e-8, 0.3}}};
  for (const auto &kv : worst) {
    const Worst &w = kv.second;
    std::printf("  inverse %-12s n=%4d  distance %.2e m  azimuth %.2e rad  (x s12: %.2e m)\n", kv.first.c_str(),
                w.count, w.dist, w.az, w.az_transverse);
    const Bound &b = bound.at(kv.first);
    EXPECT_LE(w.dist, b.dist) << kv.first;
    EXPECT_LE(w.az, b.az) << kv.first;
    EXPECT_LE(w.az_transverse, b.az_transverse) << kv.first;
  }
}

TEST(Geodesic, DirectAgainstGeodSolve) {
  const auto rows = kxtest::read_csv(kxtest::data_path("math/geodesic_direct.csv"));
  ASSERT_EQ(rows.size(), 4000u);
  std::map<std::string, Worst> worst;
  for (const auto &r : rows) {
    ASSERT_EQ(r.size(), 8u);
    const Spheroid sp = spheroid_of(r[0]);
    const double lat1 = num(r[2]) * kDeg, lon1 = num(r[3]) * kDeg, azi1 = num(r[4]) * kDeg, s12 = num(r[5]);
    const double lat2 = num(r[6]) * kDeg, lon2 = num(r[7]) * kDeg;
    double lam, phi;
    kx_geodesic_coordinate(sp.a, sp.e2, lon1, lat1, s12, azi1, &lam, &phi);
    Worst &w = worst[r[0] + " " + r[1]];
    ++w.count;
    // Position error on the ground; longitude differences vanish at a pole.
    const double dn = (phi - lat2) * sp.a, de = kx_delta(lam - lon2) * sp.a * std::cos(lat2);
    w.pos = std::max(w.pos, std::hypot(dn, de));
  }
  const std::map<std::string, double> bound = {
      {"W random", 1.5e-4}, {"W long", 5e-4},    {"W halfway", 1.5e-4}, {"W meridian", 1.5e-5},
      {"W pole", 1e-5},     {"W equator", 5e-8}, {"W short", 1e-7},     {"S random", 1e-7},
      {"S long", 5e-8},     {"S halfway", 5e-8}, {"S meridian", 2e-7},  {"S pole", 5e-8},
      {"S equator", 2e-8},  {"S short", 5e-8}};
  for (const auto &kv : worst) {
    std::printf("  direct  %-12s n=%4d  position %.2e m\n", kv.first.c_str(), kv.second.count, kv.second.pos);
    EXPECT_LE(kv.second.pos, bound.at(kv.first)) << kv.first;
  }
}

TEST(Geodesic, SpecialLines) {
  double s, a12, a21;
  // Coincident points, also the same pole under two longitudes.
  for (double e2 : {kWgsE2, 0.0}) {
    kx_geodesic_distance(kWgsA, e2, 0.3, 0.7, 0.3, 0.7, &s, &a12, &a21);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(a12, 0.0);
    EXPECT_EQ(a21, 0.0);
    kx_geodesic_distance(kWgsA, e2, 0.0, kPi / 2, 0.8, kPi / 2, &s, &a12, &a21);
    EXPECT_NEAR(s, 0.0, 1e-6);
    EXPECT_FALSE(std::isnan(a12));
    EXPECT_FALSE(std::isnan(a21));
  }
  // Sphere: a quarter of the equator.
  kx_geodesic_distance(kSphereR, 0.0, 0.0, 0.0, kPi / 2, 0.0, &s, &a12, &a21);
  EXPECT_NEAR(s, kSphereR * kPi / 2, 1e-8);
  EXPECT_NEAR(a12, kPi / 2, 1e-15);
  EXPECT_NEAR(a21, -kPi / 2, 1e-15);
  // Exact antipodes reach the antipodal method through sin(sigma) = 0; pole to
  // pole and equator to equator are half meridians (GeodSolve: 20003931.4586254 m).
  const double half_meridian = 20003931.4586254;
  const double antipodes[][4] = {{0, 0, kPi, 0},           {0, kPi / 2, 0, -kPi / 2},
                                 {0.5, -kPi / 2, 2.0, kPi / 2}, {0, 20 * kDeg, kPi, -20 * kDeg},
                                 {0.1, -0.3, 0.1 - kPi, 0.3}};
  for (const auto &p : antipodes) {
    kx_geodesic_distance(kWgsA, kWgsE2, p[0], p[1], p[2], p[3], &s, &a12, &a21);
    EXPECT_NEAR(s, half_meridian, 5e-6) << p[0] << " " << p[1];
    EXPECT_TRUE(std::isfinite(a12) && std::isfinite(a21));
  }
  // Azimuths at the poles follow from the other point's longitude.
  kx_geodesic_distance(kWgsA, kWgsE2, 0.0, kPi / 2, 0.5, 0.2, &s, &a12, &a21);
  EXPECT_DOUBLE_EQ(a12, kPi - 0.5);
  kx_geodesic_distance(kWgsA, kWgsE2, 0.0, -kPi / 2, 0.5, 0.2, &s, &a12, &a21);
  EXPECT_DOUBLE_EQ(a12, 0.5);
  kx_geodesic_distance(kWgsA, kWgsE2, 0.5, 0.2, 1.0, kPi / 2, &s, &a12, &a21);
  EXPECT_DOUBLE_EQ(a21, kPi - 0.5);
  kx_geodesic_distance(kSphereR, 0.0, -0.7, 0.2, 1.0, -kPi / 2, &s, &a12, &a21);
  EXPECT_DOUBLE_EQ(a21, -0.7);
}

TEST(Geodesic, DirectFromAPoleIgnoresItsLongitude) {
  for (double e2 : {kWgsE2, 0.0}) {
    for (double pole : {kPi / 2, -kPi / 2}) {
      double l0, p0, l1, p1;
      kx_geodesic_coordinate(kWgsA, e2, 0.0, pole, 3e6, 0.6, &l0, &p0);
      kx_geodesic_coordinate(kWgsA, e2, 1.3, pole, 3e6, 0.6, &l1, &p1);
      EXPECT_EQ(l0, l1);
      EXPECT_EQ(p0, p1);
      // The longitude follows from the azimuth: pi - azimuth from the north pole.
      EXPECT_NEAR(l0, pole > 0 ? kPi - 0.6 : 0.6, 1e-12);
    }
  }
  // Past the opposite pole the path continues on the opposite meridian
  // (GeodSolve -e 6371000 0: 90 0 30 25000000 -> lat -45.1695985 lon -30).
  double lam, phi;
  kx_geodesic_coordinate(kSphereR, 0.0, 0.0, kPi / 2, 25e6, 30 * kDeg, &lam, &phi);
  EXPECT_NEAR(lam, -30 * kDeg, 1e-12);
  EXPECT_NEAR(phi, -45.169598520317386 * kDeg, 1e-12);
}

TEST(Geodesic, Densification) {
  // GeodSolve -E: 10 20 -30 100 -> s12 9616889.1321279779, azi1 121.165627098047565;
  // GeodSolve -E: 10 20 121.165627098047565 4808444.56606398895
  //   -> lat -12.981734021208823, lon 56.930588557768772.
  double pts[6] = {0};
  kx_geodesic_coordarray(kWgsA, kWgsE2, 20 * kDeg, 10 * kDeg, 100 * kDeg, -30 * kDeg, pts, 3);
  EXPECT_EQ(pts[0], 20 * kDeg);
  EXPECT_EQ(pts[1], 10 * kDeg);
  EXPECT_NEAR(pts[2], 56.930588557768772 * kDeg, 1e-10);
  EXPECT_NEAR(pts[3], -12.981734021208823 * kDeg, 1e-10);
  EXPECT_EQ(pts[4], 100 * kDeg);
  EXPECT_EQ(pts[5], -30 * kDeg);

  double two[4] = {9, 9, 9, 9};
  kx_geodesic_coordarray(kWgsA, kWgsE2, 0.1, 0.2, 0.3, 0.4, two, 2);
  EXPECT_EQ(two[0], 0.1);
  EXPECT_EQ(two[1], 0.2);
  EXPECT_EQ(two[2], 0.3);
  EXPECT_EQ(two[3], 0.4);

  // Equal spacing along the line.
  std::vector<double> many(2 * 11);
  kx_geodesic_coordarray(kWgsA, kWgsE2, -1.0, 0.5, 2.0, -0.6, many.data(), 11);
  double total;
  kx_geodesic_distance(kWgsA, kWgsE2, -1.0, 0.5, 2.0, -0.6, &total, nullptr, nullptr);
  for (int k = 1; k < 11; ++k) {
    double step;
    kx_geodesic_distance(kWgsA, kWgsE2, many[2 * k - 2], many[2 * k - 1], many[2 * k], many[2 * k + 1], &step, nullptr,
                         nullptr);
    EXPECT_NEAR(step, total / 10, 2e-4) << k;
  }

  // Fewer than two points or no buffer: nothing is written.
  double one[2] = {7, 7};
  kx_geodesic_coordarray(kWgsA, kWgsE2, 0.1, 0.2, 0.3, 0.4, one, 1);
  kx_geodesic_coordarray(kWgsA, kWgsE2, 0.1, 0.2, 0.3, 0.4, one, -5);
  kx_geodesic_coordarray(kWgsA, kWgsE2, 0.1, 0.2, 0.3, 0.4, nullptr, 10);
  EXPECT_EQ(one[0], 7);
  EXPECT_EQ(one[1], 7);
}

TEST(Geodesic, NullOutputsOnEveryPath) {
  // sphere, ellipsoid, nearly antipodal, mirror images, exact antipodes,
  // coincident, pole, and non-finite input.
  const double cases[][6] = {{kSphereR, 0, 0.1, 0.2, 1.0, -0.3},    {kWgsA, kWgsE2, 0.1, 0.2, 1.0, -0.3},
                             {kWgsA, kWgsE2, 0, 0.5, 3.14, -0.5001}, {kWgsA, kWgsE2, 0, 0.5, 3.14, -0.5},
                             {kWgsA, kWgsE2, 0, 0, kPi, 0},          {kWgsA, kWgsE2, 0.3, 0.3, 0.3, 0.3},
                             {kWgsA, kWgsE2, 0, kPi / 2, 1.0, 0.1},  {kWgsA, kWgsE2, NAN, 0, 1, 1}};
  for (const auto &c : cases) {
    double s, a12, a21;
    kx_geodesic_distance(c[0], c[1], c[2], c[3], c[4], c[5], &s, &a12, &a21);
    double s1, a1, b1;
    kx_geodesic_distance(c[0], c[1], c[2], c[3], c[4], c[5], nullptr, nullptr, nullptr);
    kx_geodesic_distance(c[0], c[1], c[2], c[3], c[4], c[5], &s1, nullptr, nullptr);
    kx_geodesic_distance(c[0], c[1], c[2], c[3], c[4], c[5], nullptr, &a1, nullptr);
    kx_geodesic_distance(c[0], c[1], c[2], c[3], c[4], c[5], nullptr, nullptr, &b1);
    EXPECT_TRUE(s1 == s || (std::isnan(s1) && std::isnan(s)));
    EXPECT_TRUE(a1 == a12 || (std::isnan(a1) && std::isnan(a12)));
    EXPECT_TRUE(b1 == a21 || (std::isnan(b1) && std::isnan(a21)));
    double lam, phi, lam1, phi1;
    kx_geodesic_coordinate(c[0], c[1], c[2], c[3], 5e6, c[4], &lam, &phi);
    kx_geodesic_coordinate(c[0], c[1], c[2], c[3], 5e6, c[4], nullptr, nullptr);
    kx_geodesic_coordinate(c[0], c[1], c[2], c[3], 5e6, c[4], &lam1, nullptr);
    kx_geodesic_coordinate(c[0], c[1], c[2], c[3], 5e6, c[4], nullptr, &phi1);
    EXPECT_TRUE(lam1 == lam || (std::isnan(lam1) && std::isnan(lam)));
    EXPECT_TRUE(phi1 == phi || (std::isnan(phi1) && std::isnan(phi)));
  }
}

TEST(Geodesic, NonFiniteInputEndsWithNaN) {
  const auto start = std::chrono::steady_clock::now();
  const double bad[] = {NAN, INFINITY, -INFINITY};
  for (double b : bad) {
    for (int slot = 0; slot < 6; ++slot) {
      double v[6] = {kWgsA, kWgsE2, 0.1, 0.2, 0.5, -0.4};
      v[slot] = b;
      double s = 0, a12 = 0, a21 = 0;
      kx_geodesic_distance(v[0], v[1], v[2], v[3], v[4], v[5], &s, &a12, &a21);
      EXPECT_TRUE(std::isnan(s) && std::isnan(a12) && std::isnan(a21)) << slot;
      double lam = 0, phi = 0;
      kx_geodesic_coordinate(v[0], v[1], v[2], v[3], v[4] * 1e7, v[5], &lam, &phi);
      EXPECT_TRUE(std::isnan(lam) && std::isnan(phi)) << slot;
    }
  }
  double s, lam, phi;
  kx_geodesic_distance(kWgsA, 1.5, 0.1, 0.2, 0.5, -0.4, &s, nullptr, nullptr);
  EXPECT_TRUE(std::isnan(s));
  kx_geodesic_coordinate(kWgsA, kWgsE2, 0.1, 0.2, 1e300, 0.3, &lam, &phi);  // finite, absurd
  std::vector<double> pts(8, 0.0);
  kx_geodesic_coordarray(kWgsA, kWgsE2, NAN, 0.2, 0.5, -0.4, pts.data(), 4);
  EXPECT_TRUE(std::isnan(pts[2]) && std::isnan(pts[5]));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 1.0);
}

}  // namespace
