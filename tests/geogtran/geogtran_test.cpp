// The equation methods and the driver against PROJ cct (gen_geogtran.py:
// cases.csv, points.csv) on four paths: objects built piece by piece, read
// from GEOGTRAN text, rebuilt with both CSs on Paris in grads, and the method
// called in radians. Measured: within 5e-13 degrees and 4e-9 m of PROJ (the
// table's resolution), position vector 3.3e-10 degrees and 1.1e-7 m (PROJ's
// exact matrix differs in second order); Paris-grad cases 2e-12 of the unit.
// Round trips: exact methods 1e-13 degrees and 1e-8 m, Molodensky 6e-7
// degrees and 0.03 m, abridged 7e-7 degrees and 0.034 m.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

#include "catalogue/catalogue_tables.h"
#include "kx.h"
#include "objects/constants_store.h"
#include "objects/registry.h"
#include "support/cases.h"

namespace {

using kxtest::num;
constexpr double kPi = 3.141592653589793, kDeg = kPi / 180, kArcSec = kDeg / 3600;
constexpr double kParis = 2.337229166666667, kGrad = 0.015707963267948967;
const double kClarke66[2] = {6378206.4, 0.006768657997291},
             kWgs84[2] = {6378137.0, 0.0066943799901413165};
const double kShift[16] = {-3.0, 142.0, 183.0};  // NAD 1927 to WGS 1984

struct Method {
  const char *name;
  kx_method_fn fwd, inv;
};
constexpr Method kMethods[] = {
    {"Geocentric_Translation", kx_geocentric_translation_fwd, kx_geocentric_translation_inv},
    {"Coordinate_Frame", kx_coordinate_frame_fwd, kx_coordinate_frame_inv},
    {"Bursa_Wolf", kx_bursa_wolf_fwd, kx_bursa_wolf_inv},
    {"Position_Vector", kx_position_vector_fwd, kx_position_vector_inv},
    {"Molodensky_Badekas", kx_molodensky_badekas_fwd, kx_molodensky_badekas_inv},
    {"Molodensky", kx_molodensky_fwd, kx_molodensky_inv},
    {"Molodensky_Abridged", kx_molodensky_abridged_fwd, kx_molodensky_abridged_inv},
    {"Longitude_Rotation", kx_longitude_rotation_ccw, kx_longitude_rotation_ccw}};
constexpr const char *kParameters[10] = {"X_Axis_Translation",
                                         "Y_Axis_Translation",
                                         "Z_Axis_Translation",
                                         "X_Axis_Rotation",
                                         "Y_Axis_Rotation",
                                         "Z_Axis_Rotation",
                                         "Scale_Difference",
                                         "X_Coordinate_of_Rotation_Origin",
                                         "Y_Coordinate_of_Rotation_Origin",
                                         "Z_Coordinate_of_Rotation_Origin"};

const Method &method(const std::string &name) {
  for (const auto &m : kMethods)
    if (name == m.name) return m;
  throw std::runtime_error(name);
}

// One side of a case: a, rf, prime meridian (degrees), unit (radians).
using Cs = std::array<double, 4>;

std::string text_of(const Cs &cs, const char *datum) {
  char t[300];
  std::snprintf(t, sizeof t,
                "GEOGCS[\"GCS\",DATUM[\"%s\",SPHEROID[\"S\",%.17g,%.17g]],PRIMEM[\"%s\",%.17g],"
                "UNIT[\"%s\",%.17g]]",
                datum, cs[0], cs[1], cs[2] == 0 ? "Greenwich" : "Paris", cs[2],
                cs[3] == kDeg ? "Degree" : "Grad", cs[3]);
  return t;
}
kx_geogcs make_gcs(const char *datum, const Cs &cs) {
  return kx_geogcs_new("GCS",
                       kx_datum_new(datum, kx_spheroid_new("S", cs[0], cs[1] == 0 ? 0 : 1 / cs[1])),
                       kx_primem_new(cs[2] == 0 ? "Greenwich" : "Paris", cs[2]),
                       kx_unit_new(cs[3] == kDeg ? "Degree" : "Grad", cs[3]));
}
// Parameters in their object units (metres, arc-seconds, ppm); zeros are left out.
kx_geogtran make(const std::string &m, kx_geogcs g1, kx_geogcs g2, const double *p) {
  kx_parameter par[16] = {};
  for (int i = 0; i < 10; ++i)
    if (p[i] != 0.0) par[i] = kx_parameter_new(kParameters[i], p[i]);
  return kx_geogtran_new("T", g1, g2, kx_method_new(m.c_str(), method(m).fwd, method(m).inv), par);
}
// The method first or last: the reader takes the CSs in text order either way.
kx_geogtran from_text(const std::string &m, const std::string &g1, const std::string &g2,
                      const double *p, bool first) {
  std::string text = "GEOGTRAN[\"T\"," + (first ? "METHOD[\"" + m + "\"]," + g1 + "," + g2
                                                : g1 + "," + g2 + ",METHOD[\"" + m + "\"]");
  char par[120];
  for (int i = 0; i < 10; ++i)
    if (p[i] != 0)
      text +=
          (std::snprintf(par, sizeof par, ",PARAMETER[\"%s\",%.17g]", kParameters[i], p[i]), par);
  return kx_geogtran_from_string((text + "]").c_str());
}

// Longitude difference in the unit, as ground distance, across the antimeridian.
double lon_err(double got, double want, double lat, double unit) {
  return std::fabs(std::remainder(got - want, 2 * kPi / unit)) * std::cos(lat * unit);
}
void note(std::array<double, 2> &w, const double *got, double h, const double *want,
          double want_h) {
  w[0] = std::max(
      {w[0], lon_err(got[0], want[0], want[1], 1) / kDeg, std::fabs(got[1] - want[1]) / kDeg});
  w[1] = std::max(w[1], std::fabs(h - want_h));
}
// A point of a CS re-referred to Paris in grads.
void to_paris(const Cs &cs, double *ll) {
  ll[0] = (ll[0] * cs[3] / kDeg + cs[2] - kParis) / 0.9, ll[1] = ll[1] * cs[3] / kDeg / 0.9;
}

TEST(Geogtran, AgreesWithProjOnEveryPath) {
  struct Case {
    std::string method;
    Cs cs[2];
    double p[10], sph[2][2], val[16];
    std::array<kx_geogtran, 3> gt;
  };
  std::map<std::string, Case> cases;
  for (const auto &r : kxtest::read_csv(kxtest::data_path("geogtran/cases.csv"))) {
    if (r[0] == "case") continue;
    Case &c = cases[r[0]];
    c.method = r[1];
    for (int i = 0; i < 8; ++i) c.cs[i / 4][i % 4] = num(r[2 + i]);
    for (int i = 0; i < 10; ++i) c.p[i] = num(r[10 + i]);
    // The value array the driver builds: rotations in radians, scale as a ratio.
    std::fill(c.val, c.val + 16, 0.0);
    for (int i = 0; i < 10; ++i)
      c.val[i] = c.p[i] * (i >= 3 && i < 6 ? kArcSec : i == 6 ? 1e-6 : 1);
    for (int i = 0; i < 2; ++i)
      c.sph[i][0] = c.cs[i][0], c.sph[i][1] = (2 - 1 / c.cs[i][1]) / c.cs[i][1];
    const bool rotation = c.method == "Longitude_Rotation";
    const char *d[2] = {rotation ? "D_Same" : "D_1", rotation ? "D_Same" : "D_2"};
    const Cs paris[2] = {{c.cs[0][0], c.cs[0][1], kParis, kGrad},
                         {c.cs[1][0], c.cs[1][1], kParis, kGrad}};
    c.gt = {make(c.method, make_gcs(d[0], c.cs[0]), make_gcs(d[1], c.cs[1]), c.p),
            from_text(c.method, text_of(c.cs[0], d[0]), text_of(c.cs[1], d[1]), c.p,
                      cases.size() % 2 == 0),
            rotation ? nullptr
                     : make(c.method, make_gcs(d[0], paris[0]), make_gcs(d[1], paris[1]), c.p)};
  }
  ASSERT_EQ(cases.size(), 10u);
  std::map<std::string, std::array<double, 2>> worst;  // degrees, metres
  int checked = 0;
  for (const auto &r : kxtest::read_csv(kxtest::data_path("geogtran/points.csv"))) {
    if (r[0] == "case") continue;
    Case &c = cases.at(r[0]);
    const bool fwd = r[1] == "fwd";
    const Cs &from = c.cs[fwd ? 0 : 1], &to = c.cs[fwd ? 1 : 0];
    const double in[3] = {num(r[2]), num(r[3]), num(r[4])};
    const double tol = c.method == "Position_Vector" ? 5e-10 : 2e-12,
                 tol_h = c.method == "Position_Vector" ? 2e-7 : 1e-8;
    for (int path = 0; path < 4; ++path) {
      double xy[2] = {in[0], in[1]}, h = in[2], want[3] = {num(r[5]), num(r[6]), num(r[7])},
             unit = to[3];
      if (path == 2) {
        if (c.gt[2] == nullptr) continue;
        to_paris(from, xy), to_paris(to, want), unit = kGrad;
      }
      if (path < 3) {
        ASSERT_NE(c.gt[path], nullptr) << r[0] << " path " << path;
        ASSERT_EQ((fwd ? kx_geog1_to_geog2 : kx_geog2_to_geog1)(c.gt[path], 1, xy, &h), 1) << r[0];
      } else {
        if (c.cs[0][2] != 0 || c.cs[0][3] != kDeg)
          continue;  // methods work in radians on Greenwich
        const Method &m = method(c.method);
        double rad[2] = {xy[0] * kDeg, xy[1] * kDeg}, back[2], hb;
        ASSERT_EQ((fwd ? m.fwd : m.inv)(c.sph[0], c.sph[1], c.val, nullptr, 1, rad, &h, nullptr,
                                        nullptr, nullptr),
                  1);
        xy[0] = rad[0] / kDeg, xy[1] = rad[1] / kDeg;
        if (c.method ==
            "Position_Vector") {  // the coordinate frame with negated rotations, to the bit
          double cf[16], q[2] = {in[0] * kDeg, in[1] * kDeg}, hq = in[2];
          std::copy(c.val, c.val + 16, cf);
          for (int i = 3; i < 6; ++i) cf[i] = -cf[i];
          (fwd ? kx_coordinate_frame_fwd : kx_coordinate_frame_inv)(
              c.sph[0], c.sph[1], cf, nullptr, 1, q, &hq, nullptr, nullptr, nullptr);
          EXPECT_TRUE(q[0] == rad[0] && q[1] == rad[1] && hq == h && c.val[3] == c.p[3] * kArcSec)
              << r[0];
        }
        const bool approximate = c.method == "Molodensky" || c.method == "Molodensky_Abridged";
        double e[2] = {in[0] * kDeg, in[1] * kDeg}, he = in[2];
        std::copy(rad, rad + 2, back), hb = h;  // and back again
        m.inv(c.sph[0], c.sph[1], c.val, nullptr, 1, back, &hb, nullptr, nullptr, nullptr);
        if (fwd)
          note(worst["round trip " + (approximate ? c.method : "exact")], back, hb, e, in[2]);
        if (fwd && approximate) {  // the exact translation with the same parameters
          kx_geocentric_translation_fwd(c.sph[0], c.sph[1], c.val, nullptr, 1, e, &he, nullptr,
                                        nullptr, nullptr);
          note(worst["truncation " + c.method], rad, h, e, he);
        }
      }
      const double t = path == 2 ? tol / 0.9 + 1e-11 : tol;
      EXPECT_LE(lon_err(xy[0], want[0], want[1], unit), t)
          << r[0] << " " << r[1] << " path " << path;
      EXPECT_NEAR(xy[1], want[1], t) << r[0] << " " << r[1] << " path " << path;
      EXPECT_NEAR(h, want[2], tol_h) << r[0] << " " << r[1] << " path " << path;
      ++checked;
    }
  }
  for (auto &c : cases)
    for (kx_geogtran g : c.second.gt) kx_geogtran_del(g);
  EXPECT_EQ(checked, 3296);
  // The Molodensky inverses are the forward formulas from the other side,
  // not an iteration: they cannot close exactly. Their truncation against
  // the exact translation: measured 3.0e-7 degrees and 0.015 m, abridged
  // 7.5e-6 degrees and 0.21 m (it also drops the height and part of the
  // flattening terms); heights to 10 km, latitudes to 89.
  const std::map<std::string, std::array<double, 3>> bound = {
      // degrees, metres, least degrees
      {"round trip exact", {1e-13, 1e-8, 0}},
      {"round trip Molodensky", {1e-6, 0.05, 1e-10}},
      {"round trip Molodensky_Abridged", {1e-6, 0.05, 1e-10}},
      {"truncation Molodensky", {4e-7, 0.02, 0}},
      {"truncation Molodensky_Abridged", {1e-5, 0.3, 0}}};
  ASSERT_EQ(worst.size(), bound.size());
  for (const auto &w : worst) {
    const auto &b = bound.at(w.first);
    std::printf("  %-30s %.2e degrees %.2e m\n", w.first.c_str(), w.second[0], w.second[1]);
    EXPECT_TRUE(w.second[0] <= b[0] && w.second[1] <= b[1] && w.second[0] >= b[2]) << w.first;
  }
}

// Counts, null arguments and a null height array (heights of 0, nothing
// written) for every method; the longitude rotation adds slot 5 and reduces.
TEST(Geogtran, MethodContracts) {
  const double val[16] = {-3.0, 142.0, 183.0, 2e-6, -1e-6, 3e-6, 5e-6, 1e5, 2e5, 3e5};
  const struct {
    bool sph1, sph2, val, xy;
    int n, want;
  } calls[] = {{1, 1, 1, 1, 0, 0}, {1, 1, 1, 1, -3, -3}, {0, 1, 1, 1, 2, 0},
               {1, 0, 1, 1, 2, 0}, {1, 1, 0, 1, 2, 0},   {1, 1, 1, 0, 2, 0}};
  for (const Method &m : kMethods) {
    if (m.fwd == kx_longitude_rotation_ccw) continue;
    const double orig[4] = {0.5, 0.7, -2.0, -0.3};
    double xy[4] = {0.5, 0.7, -2.0, -0.3}, with_h[4] = {0.5, 0.7, -2.0, -0.3}, h[2] = {0, 0};
    for (const auto &c : calls)
      for (kx_method_fn f : {m.fwd, m.inv})
        EXPECT_EQ(f(c.sph1 ? kClarke66 : nullptr, c.sph2 ? kWgs84 : nullptr, c.val ? val : nullptr,
                    nullptr, c.n, c.xy ? xy : nullptr, nullptr, nullptr, nullptr, nullptr),
                  c.want)
            << m.name << " " << c.n;
    EXPECT_TRUE(std::equal(xy, xy + 4, orig)) << m.name;
    EXPECT_EQ(m.fwd(kClarke66, kWgs84, val, nullptr, 2, xy, nullptr, nullptr, nullptr, nullptr), 2)
        << m.name;
    EXPECT_EQ(m.fwd(kClarke66, kWgs84, val, nullptr, 2, with_h, h, nullptr, nullptr, nullptr), 2)
        << m.name;
    EXPECT_TRUE(std::equal(xy, xy + 4, with_h) && h[0] != 0.0) << m.name;
  }
  double rot[16] = {}, xy[6] = {0.0, 0.5, 175.0 * kDeg, -0.2, -10.0 * kDeg, 1.5},
         h[3] = {1.0, 2.0, 3.0};
  rot[5] = 10.0 * kDeg;
  EXPECT_EQ(kx_longitude_rotation_ccw(nullptr, nullptr, rot, nullptr, 3, xy, h, nullptr, nullptr,
                                      nullptr),
            3);
  const double want[6] = {10.0 * kDeg, 0.5, -175.0 * kDeg, -0.2, 0.0, 1.5};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(xy[i], want[i], 1e-15) << i;
  EXPECT_EQ(h[0] + h[1] + h[2], 6.0);
  EXPECT_EQ(kx_longitude_rotation_ccw(nullptr, nullptr, rot, nullptr, -2, xy, h, nullptr, nullptr,
                                      nullptr),
            -2);
  EXPECT_EQ(kx_longitude_rotation_ccw(nullptr, nullptr, nullptr, nullptr, 3, xy, h, nullptr,
                                      nullptr, nullptr),
            0);
  // Molodensky at a pole (cos(pi/2) = 6e-17 counts as 0: the longitude
  // stays) and pushed past it (clamped).
  for (kx_method_fn f : {kx_molodensky_fwd, kx_molodensky_abridged_fwd}) {
    double pole[4] = {1.25, kPi / 2, -0.5, -kPi / 2}, near[2] = {0.0, 89.9999 * kDeg};
    const double push[16] = {-2000.0};
    EXPECT_EQ(f(kClarke66, kWgs84, kShift, nullptr, 2, pole, nullptr, nullptr, nullptr, nullptr),
              2);
    EXPECT_TRUE(pole[0] == 1.25 && pole[2] == -0.5 && std::isfinite(pole[1]) &&
                std::isfinite(pole[3]));
    f(kClarke66, kWgs84, push, nullptr, 1, near, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(near[1], kPi / 2);
  }
}

// Not a transformation, no coordinates, counts of zero or below, or a
// rotation between two datums: nothing converted, not even the units. A
// null height array means heights of 0.
TEST(GeogtranDriver, InvalidInputConvertsNothing) {
  kx_geogtran gt =
      make("Geocentric_Translation", make_gcs("D_1", {6378206.4, 294.9786982138982, 0, kDeg}),
           make_gcs("D_2", {6378137.0, 298.257223563, 0, kDeg}), kShift);
  const double none[10] = {};
  kx_geogtran two_datums =
      make("Longitude_Rotation", make_gcs("D_A", {6378137.0, 298.257223563, 0.0, kDeg}),
           make_gcs("D_B", {6378137.0, 298.257223563, kParis, kGrad}), none);
  kx_unit unit = kx_unit_new("Degree", kDeg);
  double xy[4] = {12.5, 45.0, -175.0, -30.0}, h[2] = {100.0, 0.0};
  for (kx_geogtran t : {kx_geogtran(nullptr), reinterpret_cast<kx_geogtran>(unit), two_datums})
    EXPECT_EQ(kx_geog1_to_geog2(t, 2, xy, h) + kx_geog2_to_geog1(t, 2, xy, h), 0);
  EXPECT_EQ(kx_geog1_to_geog2(gt, 3, nullptr, nullptr) + kx_geog1_to_geog2(gt, 0, xy, h), 0);
  EXPECT_EQ(kx_geog2_to_geog1(gt, -4, xy, h), -4);
  EXPECT_EQ(kx_geog2_to_geog1(gt, -4, nullptr, nullptr), -4);
  EXPECT_TRUE(xy[0] == 12.5 && xy[1] == 45.0 && xy[2] == -175.0 && xy[3] == -30.0 && h[0] == 100.0);
  double a[2] = {12.5, 45.0}, b[2] = {12.5, 45.0}, zero[1] = {0.0};
  EXPECT_EQ(kx_geog1_to_geog2(gt, 1, a, nullptr) + kx_geog1_to_geog2(gt, 1, b, zero), 2);
  EXPECT_TRUE(a[0] == b[0] && a[1] == b[1] && zero[0] != 0.0);
  kx_unit_del(unit);
  kx_geogtran_del(gt);
  kx_geogtran_del(two_datums);
}

// The catalogue's transformations name a dataset exactly when their method
// interpolates a grid.
TEST(GeogtranLayer, RegistryKindsAgreeWithTheCatalogueDatasets) {
  const auto &table = kx::catalogue::kGeogtran;
  int kinds[2] = {0, 0};
  for (std::size_t i = 0; i < table.count; ++i) {
    const kx::MethodRow *m = kx::method_row_by_code(table.rows[i].method);
    ASSERT_NE(m, nullptr) << table.rows[i].code;
    EXPECT_EQ(m->kind == kx::MethodKind::kGrid, table.rows[i].dataset != nullptr)
        << table.rows[i].code;
    ++kinds[table.rows[i].dataset != nullptr];
  }
  EXPECT_TRUE(kinds[0] > 0 && kinds[1] > 0);
}

// Constants are stored as copies; a second store replaces the first, an
// empty array stays null, bad arguments change nothing.
TEST(GeogtranLayer, ConstantsAreStoredAsCopies) {
  kx_gtconstants gc = kx_gtconstants_new();
  int iv[2] = {3, 4};
  float fv[3] = {1.5f, 2.5f, 3.5f};
  double dv[1] = {7.25};
  ASSERT_EQ(kx::gtconstants_store(gc, iv, 2, fv, 3, dv, 1), 1);
  iv[0] = 0, fv[2] = 0.0f, dv[0] = 0;
  EXPECT_TRUE(kx_gtconstants_ivals(gc)[0] == 3 && kx_gtconstants_fvals(gc)[2] == 3.5f &&
              kx_gtconstants_dvals(gc)[0] == 7.25);
  ASSERT_EQ(kx::gtconstants_store(gc, iv, 1, nullptr, 0, nullptr, 0), 1);
  EXPECT_TRUE(kx_gtconstants_ivals(gc)[0] == 0 && kx_gtconstants_fvals(gc) == nullptr &&
              kx_gtconstants_dvals(gc) == nullptr);
  EXPECT_EQ(kx::gtconstants_store(gc, nullptr, 1, nullptr, 0, nullptr, 0) +
                kx::gtconstants_store(gc, iv, -1, nullptr, 0, nullptr, 0) +
                kx::gtconstants_store(nullptr, iv, 1, nullptr, 0, nullptr, 0),
            0);
  EXPECT_NE(kx_gtconstants_ivals(gc), nullptr);
  kx_gtconstants_del(gc);
  kx_pcsconstants pc = kx_pcsconstants_new();
  const double values[2] = {1.0, 2.0};
  EXPECT_EQ(kx::pcsconstants_store(pc, values, 2), 2);
  EXPECT_TRUE(kx_pcsconstants_ivals(pc)[1] == 2 && kx_pcsconstants_dvals(pc)[1] == 2.0);
  EXPECT_EQ(kx::pcsconstants_store(pc, values, 0), 0);
  kx_pcsconstants_del(pc);
}

}  // namespace
