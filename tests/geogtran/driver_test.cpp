// The transformation driver: unpacking of transformation objects, units,
// prime meridians and the longitude-rotation datum check, against the same
// PROJ cct table as the methods (tests/scripts/gen_geogtran.py), including
// NTF (Paris) in grads to WGS 84 and to NTF in degrees.
//
// Measured through the driver: as the methods (5e-13 degrees, 4e-9 m;
// position vector 3.3e-10 degrees, 1.1e-7 m); the Paris-grad cases agree
// within 2e-12 of the target unit (degrees or grads) and 1e-8 m.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "geogtran/geogtran_fixture.h"

namespace {

using kxtest::GtCase;
using kxtest::GtPoint;
using kxtest::kDeg;

struct MethodFns {
  const char *name;
  kx_method_fn fwd, inv;
};

constexpr MethodFns kMethods[] = {
    {"Geocentric_Translation", kx_geocentric_translation_fwd, kx_geocentric_translation_inv},
    {"Coordinate_Frame", kx_coordinate_frame_fwd, kx_coordinate_frame_inv},
    {"Bursa_Wolf", kx_bursa_wolf_fwd, kx_bursa_wolf_inv},
    {"Position_Vector", kx_position_vector_fwd, kx_position_vector_inv},
    {"Molodensky_Badekas", kx_molodensky_badekas_fwd, kx_molodensky_badekas_inv},
    {"Molodensky", kx_molodensky_fwd, kx_molodensky_inv},
    {"Molodensky_Abridged", kx_molodensky_abridged_fwd, kx_molodensky_abridged_inv},
    {"Longitude_Rotation", kx_longitude_rotation_ccw, kx_longitude_rotation_ccw},
};

constexpr const char *kParameterNames[10] = {
    "X_Axis_Translation", "Y_Axis_Translation", "Z_Axis_Translation",
    "X_Axis_Rotation",    "Y_Axis_Rotation",    "Z_Axis_Rotation",
    "Scale_Difference",   "X_Coordinate_of_Rotation_Origin",
    "Y_Coordinate_of_Rotation_Origin", "Z_Coordinate_of_Rotation_Origin"};

kx_method make_method(const std::string &name) {
  for (const auto &m : kMethods)
    if (name == m.name) return kx_method_new(m.name, m.fwd, m.inv);
  return nullptr;
}

// The transformation of an oracle case, parameters in their object units
// (metres, arc-seconds, ppm); zero parameters are left out.
kx_geogtran make_geogtran(const GtCase &c) {
  const bool same_datum = c.method == "Longitude_Rotation";
  kx_geogcs g1 = kxtest::make_gcs("GCS_Source", same_datum ? "D_NTF" : "D_Source", c.a1, c.rf1,
                                  c.pm1, c.unit1);
  kx_geogcs g2 = kxtest::make_gcs("GCS_Target", same_datum ? "D_NTF" : "D_Target", c.a2, c.rf2,
                                  c.pm2, c.unit2);
  kx_parameter par[16] = {};
  for (int i = 0; i < 10; ++i)
    if (c.p[i] != 0.0) par[i] = kx_parameter_new(kParameterNames[i], c.p[i]);
  return kx_geogtran_new(c.name.c_str(), g1, g2, make_method(c.method), par);
}

// Longitude error in the target unit, as ground distance.
double lon_err(double got, double want, double lat, double unit) {
  const double turn = 2.0 * 3.141592653589793 / unit;
  double d = std::fmod(got - want, turn);
  if (d > turn / 2) d -= turn;
  if (d < -turn / 2) d += turn;
  return std::fabs(d) * std::cos(lat * unit);
}

TEST(GeogtranDriver, AgreesWithProjThroughObjects) {
  const auto cases = kxtest::load_cases();
  auto points = kxtest::load_points();
  int checked = 0;
  for (const GtCase &c : cases) {
    kx_geogtran gt = make_geogtran(c);
    ASSERT_NE(gt, nullptr) << c.name;
    const double tol_angle = c.method == "Position_Vector" ? 5e-10 : 2e-12;
    const double tol_h = c.method == "Position_Vector" ? 2e-7 : 1e-8;
    for (const GtPoint &p : points[c.name]) {
      const bool fwd = p.dir == "fwd";
      double xy[2] = {p.in[0], p.in[1]};
      double h = p.in[2];
      const int r = fwd ? kx_geog1_to_geog2(gt, 1, xy, &h) : kx_geog2_to_geog1(gt, 1, xy, &h);
      ASSERT_EQ(r, 1) << c.name;
      const double unit = fwd ? c.unit2 : c.unit1;
      EXPECT_LE(lon_err(xy[0], p.out[0], p.out[1], unit), tol_angle)
          << c.name << " " << p.dir << " " << p.in[0] << " " << p.in[1];
      EXPECT_NEAR(xy[1], p.out[1], tol_angle) << c.name << " " << p.dir;
      EXPECT_NEAR(h, p.out[2], tol_h) << c.name << " " << p.dir;
      ++checked;
    }
    kx_geogtran_del(gt);
  }
  EXPECT_GE(checked, 800);
}

TEST(GeogtranDriver, LongitudeRotationChecksTheDatums) {
  // Greenwich to a meridian 10 degrees east on the same datum.
  auto gcs = [](const char *datum, double pm) {
    return kxtest::make_gcs(pm == 0.0 ? "GCS_G" : "GCS_E10", datum, 6378137.0, 298.257223563,
                            pm, kDeg);
  };
  kx_parameter none[16] = {};
  kx_geogtran same = kx_geogtran_new("Rotation", gcs("D_Same", 0.0), gcs("D_Same", 10.0),
                                     make_method("Longitude_Rotation"), none);
  ASSERT_NE(same, nullptr);
  double xy[4] = {10.0, 45.0, -175.0, -30.0};
  double h[2] = {12.0, 34.0};
  EXPECT_EQ(kx_geog1_to_geog2(same, 2, xy, h), 2);
  EXPECT_NEAR(xy[0], 0.0, 1e-13);
  EXPECT_NEAR(xy[1], 45.0, 1e-13);
  EXPECT_NEAR(xy[2], 175.0, 1e-12);  // -185 reduced into [-180, 180]
  EXPECT_EQ(h[0], 12.0);
  EXPECT_EQ(kx_geog2_to_geog1(same, 2, xy, h), 2);
  EXPECT_NEAR(xy[0], 10.0, 1e-13);
  EXPECT_NEAR(xy[2], -175.0, 1e-12);
  kx_geogtran_del(same);

  // Different datums: refused, nothing touched, not even the units.
  kx_geogtran differ =
      kx_geogtran_new("Rotation", kxtest::make_gcs("GCS_A", "D_A", 6378137.0, 298.257223563, 0.0, kDeg),
                      kxtest::make_gcs("GCS_B", "D_B", 6378137.0, 298.257223563, 2.337229166666667,
                                       0.015707963267948967),
                      make_method("Longitude_Rotation"), none);
  ASSERT_NE(differ, nullptr);
  double keep[4] = {10.0, 45.0, -175.0, -30.0};
  const double orig[4] = {10.0, 45.0, -175.0, -30.0};
  EXPECT_EQ(kx_geog1_to_geog2(differ, 2, keep, nullptr), 0);
  EXPECT_EQ(kx_geog2_to_geog1(differ, 2, keep, nullptr), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(keep[i], orig[i]);
  kx_geogtran_del(differ);
}

TEST(GeogtranDriver, PrimeMeridiansOnBothSides) {
  // NTF to WGS 84 with both CSs on Paris in grads equals the Greenwich
  // degree transformation with the longitudes re-referred on each side.
  const double paris = 2.337229166666667, grad = 0.015707963267948967;
  const double a1 = 6378249.2, rf1 = 1.0 / 0.003407549520015647;
  kx_parameter p1[16] = {kx_parameter_new("X_Axis_Translation", -168.0),
                         kx_parameter_new("Y_Axis_Translation", -60.0),
                         kx_parameter_new("Z_Axis_Translation", 320.0)};
  kx_parameter p2[16] = {kx_parameter_new("X_Axis_Translation", -168.0),
                         kx_parameter_new("Y_Axis_Translation", -60.0),
                         kx_parameter_new("Z_Axis_Translation", 320.0)};
  kx_geogtran paris_gt = kx_geogtran_new(
      "Paris", kxtest::make_gcs("GCS_NTF_Paris", "D_NTF", a1, rf1, paris, grad),
      kxtest::make_gcs("GCS_WGS_Paris", "D_WGS", 6378137.0, 298.257223563, paris, grad),
      make_method("Geocentric_Translation"), p1);
  kx_geogtran green_gt = kx_geogtran_new(
      "Greenwich", kxtest::make_gcs("GCS_NTF", "D_NTF", a1, rf1, 0.0, kDeg),
      kxtest::make_gcs("GCS_WGS", "D_WGS", 6378137.0, 298.257223563, 0.0, kDeg),
      make_method("Geocentric_Translation"), p2);
  ASSERT_NE(paris_gt, nullptr);
  ASSERT_NE(green_gt, nullptr);
  const double lon_grad[3] = {0.0, 197.5, -199.0}, lat_grad[3] = {54.0, -20.0, 80.0};
  for (int i = 0; i < 3; ++i) {
    double pg[2] = {lon_grad[i], lat_grad[i]};
    double gd[2] = {lon_grad[i] * 0.9 + paris, lat_grad[i] * 0.9};
    double h1 = 150.0, h2 = 150.0;
    EXPECT_EQ(kx_geog1_to_geog2(paris_gt, 1, pg, &h1), 1);
    EXPECT_EQ(kx_geog1_to_geog2(green_gt, 1, gd, &h2), 1);
    double want = (gd[0] - paris) / 0.9;
    if (want > 200.0) want -= 400.0;
    if (want < -200.0) want += 400.0;
    EXPECT_LE(lon_err(pg[0], want, pg[1], grad), 1e-11) << i;
    EXPECT_NEAR(pg[1], gd[1] / 0.9, 1e-11) << i;
    EXPECT_NEAR(h1, h2, 1e-8) << i;
    // And back.
    EXPECT_EQ(kx_geog2_to_geog1(paris_gt, 1, pg, &h1), 1);
    EXPECT_LE(lon_err(pg[0], lon_grad[i], lat_grad[i], grad), 1e-11) << i;
    EXPECT_NEAR(pg[1], lat_grad[i], 1e-11) << i;
    EXPECT_NEAR(h1, 150.0, 1e-8) << i;
  }
  kx_geogtran_del(paris_gt);
  kx_geogtran_del(green_gt);
}

TEST(GeogtranDriver, InvalidInputConvertsNothing) {
  const auto cases = kxtest::load_cases();
  kx_geogtran gt = make_geogtran(cases.front());
  ASSERT_NE(gt, nullptr);
  double xy[2] = {12.5, 45.0}, h[1] = {100.0};
  // Not a transformation: null and a handle of another kind.
  kx_unit unit = kx_unit_new("Degree", kDeg);
  EXPECT_EQ(kx_geog1_to_geog2(nullptr, 1, xy, h), 0);
  EXPECT_EQ(kx_geog2_to_geog1(nullptr, 1, xy, h), 0);
  EXPECT_EQ(kx_geog1_to_geog2(reinterpret_cast<kx_geogtran>(unit), 1, xy, h), 0);
  EXPECT_EQ(xy[0], 12.5);
  EXPECT_EQ(xy[1], 45.0);
  EXPECT_EQ(h[0], 100.0);
  kx_unit_del(unit);
  // Null coordinates, zero and negative counts.
  EXPECT_EQ(kx_geog1_to_geog2(gt, 3, nullptr, nullptr), 0);
  EXPECT_EQ(kx_geog1_to_geog2(gt, 0, xy, h), 0);
  EXPECT_EQ(kx_geog2_to_geog1(gt, -4, xy, h), -4);
  EXPECT_EQ(kx_geog2_to_geog1(gt, -4, nullptr, nullptr), -4);
  EXPECT_EQ(xy[0], 12.5);
  EXPECT_EQ(h[0], 100.0);
  // A null height array: heights of 0, same horizontal result as explicit zeros.
  double a[2] = {12.5, 45.0}, b[2] = {12.5, 45.0}, zero[1] = {0.0};
  EXPECT_EQ(kx_geog1_to_geog2(gt, 1, a, nullptr), 1);
  EXPECT_EQ(kx_geog1_to_geog2(gt, 1, b, zero), 1);
  EXPECT_EQ(a[0], b[0]);
  EXPECT_EQ(a[1], b[1]);
  EXPECT_NE(zero[0], 0.0);
  kx_geogtran_del(gt);
}

}  // namespace
