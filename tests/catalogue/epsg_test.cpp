// The catalogue against the EPSG extract (data/epsg, v10.076) read here
// independently of the generator, and the reference points of
// tests/data/catalogue/projected_crs_points.csv (two points per EPSG
// projected CRS, projected by PROJ from the EPSG definition) reproduced
// through kx_factory_projcs + kx_geog_to_proj.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>

#include "catalogue/catalogue_tables.h"
#include "catalogue/projcs_families.h"
#include "catalogue_util.h"
#include "support/cases.h"

using namespace cattest;
namespace cat = kx::catalogue;

namespace {

double num(const Row &r, const std::string &k) { return r.at(k).empty() ? 0.0 : std::stod(r.at(k)); }
double rel(double a, double b) { return std::fabs(a - b) / std::fmax(std::fabs(b), 1e-300); }
std::map<int, Row> by_code(const std::string &file, const char *column = "code") {
  std::map<int, Row> m;
  for (const auto &r : read_epsg(file)) m[std::stoi(r.at(column))] = r;
  return m;
}

// Parameter code -> value of a table row's parameters.
template <typename R>
std::map<int, double> params(const R &row, const cat::Table<cat::ProjcsParam> &t) {
  std::map<int, double> m;
  for (int i = 0; i < row.count; ++i) m[t.rows[row.first + i].parameter] = t.rows[row.first + i].value;
  return m;
}

// EPSG parameter code -> the extract's value, raw or normalised (degrees, metres).
std::map<int, double> epsg_params(const Row &r, const char *column) {
  std::map<int, double> m;
  for (int i = 1; i <= 7; ++i) {
    const std::string p = "p" + std::to_string(i);
    if (!r.at(p + "_code").empty()) m[std::stoi(r.at(p + "_code"))] = std::stod(r.at(p + column));
  }
  return m;
}

}  // namespace

// Spheroids 7000-7999, units, prime meridians, datums 6000-6999 and
// geographic CSs 4000-4999 on EPSG's values; a geographic CS whose datum lies
// outside the datum range is left out.
TEST(CatalogueEpsg, LeafEntriesDatumsAndGeographicCs) {
  const auto ell = by_code("ellipsoids.csv"), pm = by_code("prime_meridians.csv"), dat = by_code("datums.csv");
  int spheroids = 0, units = 0, datums = 0, geog = 0, left = 0;
  const auto axis_of = [&](const Row &datum) { return number(num(ell.at(std::stoi(datum.at("ellipsoid_code"))), "semi_major_axis_m")); };
  for (const auto &[code, r] : ell) {
    const Obj s = build("spheroid", code);
    if (code < 7000 || code > 7999 || !s) {
      EXPECT_FALSE((code >= 7000 && code <= 7999) || s) << code;
      continue;
    }
    ++spheroids;
    EXPECT_EQ(s.field("axis"), number(num(r, "semi_major_axis_m"))) << code;
    const double f = std::stod(s.field("f"));
    // Clarke 1866 is fixed at 1/294.9786982 (a cases.txt row), EPSG's b within 1 mm
    EXPECT_TRUE(code == 7008 ? rel(f, num(r, "flattening")) < 1e-10 : f == num(r, "flattening")) << code;
    const bool inverse = !r.at("inverse_flattening").empty();
    EXPECT_LT(inverse ? rel(1.0 / f, num(r, "inverse_flattening"))
                      : std::fabs(num(r, "semi_major_axis_m") * (1 - f) - num(r, "semi_minor_axis_m")),
              inverse ? 1e-14 : code == 7008 ? 1e-3 : 1e-6) << code;
  }
  for (const auto &r : read_epsg("units.csv")) {
    const int code = std::stoi(r.at("code"));
    if (r.at("factor_to_si").empty() || code == 9102 || !cat::find_code(cat::kUnits, code)) continue;
    ++units;
    EXPECT_EQ(build("unit", code).field("factor"), number(num(r, "factor_to_si"))) << code;
  }
  for (const auto &[code, r] : pm) {
    EXPECT_LE(std::fabs(std::stod(build("primem", code).field("lon")) - num(r, "longitude_deg")), code == 8903 ? 1e-8 : 0) << code;
  }
  for (const auto &[code, r] : dat) {
    if (code < 6000 || code > 6999) continue;
    ++datums;
    const Obj d = build("datum", code);
    EXPECT_EQ(d.field("status") + " " + d.field("spheroid.axis"), "4 " + axis_of(r)) << code;
  }
  for (const auto &r : read_epsg("geographic_crs.csv")) {
    const int code = std::stoi(r.at("code")), datum = std::stoi(r.at("datum_code"));
    if (code < 4000 || code > 4999 || code == 4126) continue;  // 4126: a library deprecated code
    const Obj g = build("geogcs", code);
    if (datum < 6000 || datum > 6999) {
      EXPECT_FALSE(g) << code;
      ++left;
      continue;
    }
    ++geog;
    ASSERT_TRUE(g) << code;
    const Row &d = dat.at(datum);
    EXPECT_EQ(g.field("status") + " " + g.field("datum.spheroid.axis"), "4 " + axis_of(d)) << code;
    EXPECT_LT(std::fabs(std::stod(g.field("primem.lon")) - num(pm.at(std::stoi(d.at("prime_meridian_code"))), "longitude_deg")), 1e-8) << code;
    const double unit = std::stod(g.field("unit.factor"));  // grads within 2^-48, the equality tolerance
    EXPECT_TRUE(r.at("angular_unit_code") == "9105" ? rel(unit, M_PI / 200) < 3.6e-15 : unit == M_PI / 180) << code;
  }
  EXPECT_EQ(std::vector<int>({spheroids, units, static_cast<int>(pm.size()), datums, geog, left}),
            std::vector<int>({52, 48, 14, 428, 419, 13}));
}

// Every transformation entry carries transformations.csv's values; the
// position-vector Molodensky-Badekas rows carry negated rotations.
TEST(CatalogueEpsg, Transformations) {
  std::size_t rows = 0;
  for (const auto &r : read_epsg("transformations.csv")) {
    const int code = std::stoi(r.at("code")), method = std::stoi(r.at("method_code"));
    const cat::GeogtranRow *row = cat::find_code(cat::kGeogtran, code);
    if (row == nullptr) continue;
    ++rows;
    EXPECT_EQ(std::make_pair(row->geogcs1, row->geogcs2), std::make_pair(std::stoi(r.at("source_crs_code")), std::stoi(r.at("target_crs_code")))) << code;
    EXPECT_EQ(kx_factory_geogtran_accuracy(code), r.at("accuracy_m").empty() ? -1.0 : num(r, "accuracy_m")) << code;
    auto p = params(*row, cat::kGeogtranParams);
    const int m = row->method;
    const bool seven = m == 9606 || m == 9607 || m == 9636, three = seven || m == 9603 || m == 9604 || m == 9605;
    const double s = (method == 1061 || method == 1063) ? -1.0 : 1.0;
    const struct { int ours; const char *theirs; double sign; bool used; } cols[] = {
        {100040, "tx_m", 1, three}, {100041, "ty_m", 1, three}, {100042, "tz_m", 1, three},
        {100043, "rx_arcsec", s, seven}, {100044, "ry_arcsec", s, seven}, {100045, "rz_arcsec", s, seven},
        {100046, "ds_ppm", 1, seven}, {100048, "px_m", 1, m == 9636}, {100050, "pz_m", 1, m == 9636}};
    for (const auto &c : cols) EXPECT_TRUE(!c.used || p.at(c.ours) == c.sign * num(r, c.theirs)) << code << " " << c.theirs;
    EXPECT_TRUE(!seven || p.size() == (m == 9636 ? 10u : 7u)) << code;
    EXPECT_TRUE(m != 9601 || p.empty()) << code;
    if (m == 9613 || m == 9615) {
      std::string file = r.at("grid_file");
      if (m == 9613) file = file.substr(0, file.rfind('.'));
      EXPECT_EQ(row->dataset != nullptr ? row->dataset : "", "Dataset_" + file) << code;
    }
  }
  EXPECT_EQ(rows, cat::kGeogtran.count);
  EXPECT_GT(rows, 800u);
  // A deprecated code answers with its current entry's accuracy.
  EXPECT_EQ(kx_factory_geogtran_accuracy(8001) + kx_factory_geogtran_accuracy(1101), 88.0);
  EXPECT_EQ(kx_factory_geogtran_accuracy(0) + kx_factory_geogtran_accuracy(32633), -2.0);
}

// Transverse Mercator and Lambert rows of the table against the extract's
// normalised values; EPSG's deprecations are served by their current entry.
TEST(CatalogueEpsg, ProjectedCsTable) {
  int tm = 0, lcc = 0, deprecated = 0;
  for (const auto &r : read_epsg("projected_crs.csv")) {
    const int code = std::stoi(r.at("code"));
    const cat::ProjcsRow *row = cat::find_code(cat::kProjcs, code);
    if (row == nullptr) continue;
    EXPECT_EQ(row->unit, std::stoi(r.at("linear_unit_code"))) << code;
    const auto e = epsg_params(r, "_value_normalised");
    auto p = params(*row, cat::kProjcsParams);
    const double to_deg = std::stod(build("geogcs", row->geogcs).field("unit.factor")) * 180.0 / M_PI;
    const double to_m = std::stod(build("unit", row->unit).field("factor"));
    // ours, EPSG's, kind (d: degrees, m: metres, 1: unity)
    std::vector<std::tuple<int, int, char>> pairs;
    if (r.at("method_code") == "9807") {
      ++tm;
      EXPECT_EQ(row->projection, 43006);
      pairs = {{100010, 8802, 'd'}, {100021, 8801, 'd'}, {100003, 8805, '1'}, {100001, 8806, 'm'}, {100002, 8807, 'm'}};
    } else if (r.at("method_code") == "9802") {
      ++lcc;
      EXPECT_EQ(row->projection * 10 + p.count(100003), 430200);
      pairs = {{100010, 8822, 'd'}, {100021, 8821, 'd'}, {100025, 8823, 'd'}, {100026, 8824, 'd'}, {100001, 8826, 'm'}, {100002, 8827, 'm'}};
    }
    for (const auto &[ours, theirs, k] : pairs) {
      const double got = p.at(ours) * (k == 'd' ? to_deg : k == 'm' ? to_m : 1.0);
      EXPECT_NEAR(got, e.at(theirs), k == 'd' ? 1e-9 : k == 'm' ? 1e-6 : 0) << code << " " << ours;
    }
  }
  for (const auto &r : read_epsg("deprecations.csv")) {
    const cat::CodeMap *map = cat::find_code(cat::kDeprecatedProjcs, std::stoi(r.at("deprecated_code")));
    if (r.at("table") != "projected_crs" || map == nullptr) continue;
    ++deprecated;
    EXPECT_TRUE(!cat::find_code(cat::kProjcs, map->code) && cat::find_code(cat::kProjcs, map->current)) << map->code;
  }
  EXPECT_TRUE(tm > 2000 && lcc > 300 && deprecated > 200) << tm << " " << lcc << " " << deprecated;
}

// Every code of every zone block: the formula gives the generator's name and
// the EPSG row's raw values (degrees, unity, lengths in the CRS's unit); the
// blocks stated in zone_blocks.csv hold exactly their codes, with their names
// and values.
TEST(CatalogueEpsg, ZoneBlocks) {
  const auto epsg = by_code("projected_crs.csv");
  std::map<int, std::vector<std::string>> stated;  // code -> its zone_blocks.csv row
  for (const auto &b : kxtest::read_csv(kxtest::data_path("catalogue/zone_blocks.csv"))) {
    for (int code = std::stoi(b[0]); code <= std::stoi(b[1]); ++code) stated[code] = b;
    EXPECT_NE(cat::find_zone_block(std::stoi(b[0]) - 1), cat::find_zone_block(std::stoi(b[0]))) << b[0];
    EXPECT_NE(cat::find_zone_block(std::stoi(b[1]) + 1), cat::find_zone_block(std::stoi(b[1]))) << b[1];
  }
  int codes = 0;
  for (std::size_t b = 0; b < cat::kZoneBlocks.count; ++b) {
    const cat::ZoneBlock &block = cat::kZoneBlocks.rows[b];
    ASSERT_TRUE(b == 0 || cat::kZoneBlocks.rows[b - 1].last < block.first);
    for (int code = block.first; code <= block.last; ++code, ++codes) {
      cat::ZoneEntry e;
      ASSERT_TRUE(cat::zone_entry(code, &e)) << code;
      std::map<int, double> got;
      for (const auto &p : e.params) got[p.parameter] = p.value;
      EXPECT_STREQ(e.name, cat::find_code(cat::kProjcs, code)->name);
      const Row &r = epsg.at(code);
      EXPECT_EQ(std::make_tuple(e.projection, e.geogcs, e.unit, r.at("method_code")),
                std::make_tuple(43006, std::stoi(r.at("geographic_crs_code")), std::stoi(r.at("linear_unit_code")), std::string("9807"))) << code;
      auto want = epsg_params(r, "_value");
      EXPECT_EQ(got, (std::map<int, double>{{100010, want[8802]}, {100021, want[8801]}, {100003, want[8805]}, {100001, want[8806]}, {100002, want[8807]}})) << code;
      if (stated.count(code) == 0) continue;
      const auto &s = stated.at(code);
      const int zone = code - block.base, meridian = s[6] == "1" ? 6 * zone - 3 : 6 * zone - 183;
      char name[64];
      std::snprintf(name, sizeof name, s[3].c_str(), zone);
      EXPECT_EQ(std::make_tuple(std::string(e.name), e.geogcs, e.unit), std::make_tuple(std::string(name), std::stoi(s[4]), std::stoi(s[5]))) << code;
      EXPECT_EQ(got, (std::map<int, double>{{100010, meridian - (meridian > 180 ? 360 : 0)}, {100021, 0.0}, {100003, kxtest::num(s[9])}, {100001, kxtest::num(s[7]) + (s[6] == "1" ? zone * 1e6 : 0)}, {100002, kxtest::num(s[8])}})) << code;
      stated.erase(code);
    }
  }
  EXPECT_TRUE(stated.empty()) << stated.begin()->first << " is no zone";
  EXPECT_EQ(codes, 736);
}

// Every projected CS that builds reproduces PROJ's numbers within 1 mm, the
// transverse Mercator within 2.5 mm: the library's series is 0.12 mm up to
// 3.5 degrees from the central meridian, 1.6 mm at 8 (3177, Libya TM), see
// tests/projections/transverse_mercator_test.cpp.
TEST(CatalogueEpsg, ReferencePoints) {
  // Polar axes given along meridians ("South along 180°E,South along 90°E"):
  // the first is the northing unless it is the meridian 90° east of the centre.
  static const std::regex polar("^(North|South) along ([0-9.]+)\xC2\xB0([EW])");
  std::ifstream in(kxtest::data_path("catalogue/projected_crs_points.csv"));
  std::string line;
  std::getline(in, line);
  int points = 0, built = 0, within = 0, worst_code = 0;
  double worst = 0;
  for (std::smatch m; std::getline(in, line); ++points) {
    const auto f = split_csv(line);
    const int code = std::stoi(f[0]);
    const Obj pcs = build("projcs", code);
    if (!pcs) continue;
    ++built;
    double xy[2] = {std::stod(f[2]), std::stod(f[3])}, e = std::stod(f[5]), n = std::stod(f[6]);
    ASSERT_EQ(kx_geog_to_proj(static_cast<kx_projcs>(pcs.p), 1, xy), 1) << code;
    if (f[7] == "south,west") std::tie(e, n) = std::make_pair(-n, -e);  // classic Krovak: -northing, -easting
    if (std::regex_search(f[7], m, polar)) {
      const double lon = std::stod(m[2].str()) * (m[3].str() == "E" ? 1 : -1);
      const double lon0 = params(*cat::find_code(cat::kProjcs, code), cat::kProjcsParams)[100010];
      if (std::fabs(std::fmod(lon - lon0 + 720.0, 360.0) - 90.0) > 1e-6) std::swap(e, n);  // listed as (N,E)
    }
    const double err = std::hypot(xy[0] - e, xy[1] - n) * std::stod(pcs.field("unit.factor"));
    within += err <= 1e-3;
    if (err > worst) std::tie(worst, worst_code) = std::make_pair(err, code);
    EXPECT_LT(err, f[1] == "9807" ? 2.5e-3 : 1e-3) << code << " method " << f[1];
  }
  std::printf("reference points: %d, of codes that build: %d, within 1 mm: %d; worst %.3g m (%d)\n", points, built,
              within, worst, worst_code);
  EXPECT_GT(built, 5900);
}
