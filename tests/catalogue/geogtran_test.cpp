// Geographic transformation entries: the telling row 1170, names with and
// without the trailing number, every row's parameters against
// data/epsg/transformations.csv, the deprecated code 8001, and the objects.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "catalogue/catalogue_tables.h"
#include "catalogue_test_util.h"

using namespace cattest;
namespace cat = kx::catalogue;

namespace {

struct GeogtranDel { void operator()(kx_geogtran_rec *p) const { kx_geogtran_del(p); } };
using Geogtran = std::unique_ptr<kx_geogtran_rec, GeogtranDel>;

std::map<int, double> params(const cat::GeogtranRow &row) {
  std::map<int, double> m;
  for (int i = 0; i < row.count; ++i) {
    const auto &p = cat::kGeogtranParams.rows[row.first + i];
    m[p.parameter] = p.value;
  }
  return m;
}

double num(const Row &r, const char *k) { return r.at(k).empty() ? 0.0 : std::stod(r.at(k)); }

}  // namespace

TEST(CatalogueGeogtran, TellingRowsAndNames) {
  const cat::GeogtranRow *row = cat::find_code(cat::kGeogtran, 1170);
  ASSERT_NE(row, nullptr);
  EXPECT_STREQ(row->name, "NAD_1927_To_WGS_1984_1");
  EXPECT_EQ(row->geogcs1, 4267);
  EXPECT_EQ(row->geogcs2, 4326);
  EXPECT_EQ(row->method, 9603);
  auto p = params(*row);
  EXPECT_EQ(p, (std::map<int, double>{{100040, -3.0}, {100041, 142.0}, {100042, 183.0}}));
  EXPECT_EQ(row->dataset, nullptr);
  EXPECT_STREQ(cat::find_code(cat::kGeogtran, 1470)->name, "Abidjan_1987_To_WGS_1984");
  EXPECT_STREQ(cat::kGeogtranNames.rows[0].name, "KX_GT_ABIDJAN_1987_TO_WGS_1984");
  EXPECT_EQ(kx_defstring_to_int("KX_GT_NAD_1927_TO_WGS_1984_1"), 1170);
  const cat::GeogtranRow *grid = cat::find_code(cat::kGeogtran, 1241);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->method, 9613);
  EXPECT_STREQ(grid->dataset, "Dataset_conus");
  const cat::CodeMap *m = cat::find_code(cat::kDeprecatedGeogtran, 8001);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->current, 1101);
}

// Every entry round-trips its parameters from transformations.csv; the
// position-vector Molodensky-Badekas rows carry negated rotations.
TEST(CatalogueGeogtran, ParametersAgainstEpsg) {
  int rows = 0;
  for (const auto &r : read_epsg("transformations.csv")) {
    const int code = std::stoi(r.at("code"));
    const cat::GeogtranRow *row = cat::find_code(cat::kGeogtran, code);
    if (row == nullptr) continue;
    ++rows;
    EXPECT_EQ(row->geogcs1, std::stoi(r.at("source_crs_code"))) << code;
    EXPECT_EQ(row->geogcs2, std::stoi(r.at("target_crs_code"))) << code;
    auto p = params(*row);
    const int method = std::stoi(r.at("method_code"));
    const double accuracy = r.at("accuracy_m").empty() ? -1.0 : num(r, "accuracy_m");
    EXPECT_EQ(kx_factory_geogtran_accuracy(code), accuracy) << code;
    if (row->method == 9603 || row->method == 9604 || row->method == 9605 || row->method == 9606 ||
        row->method == 9607 || row->method == 9636) {
      EXPECT_EQ(p.at(100040), num(r, "tx_m")) << code;
      EXPECT_EQ(p.at(100041), num(r, "ty_m")) << code;
      EXPECT_EQ(p.at(100042), num(r, "tz_m")) << code;
    }
    if (row->method == 9606 || row->method == 9607 || row->method == 9636) {
      const double s = (method == 1061 || method == 1063) ? -1.0 : 1.0;
      EXPECT_EQ(p.at(100043), s * num(r, "rx_arcsec")) << code;
      EXPECT_EQ(p.at(100044), s * num(r, "ry_arcsec")) << code;
      EXPECT_EQ(p.at(100045), s * num(r, "rz_arcsec")) << code;
      EXPECT_EQ(p.at(100046), num(r, "ds_ppm")) << code;
      EXPECT_EQ(p.size(), row->method == 9636 ? 10u : 7u) << code;
    }
    if (row->method == 9636) {
      EXPECT_EQ(p.at(100048), num(r, "px_m")) << code;
      EXPECT_EQ(p.at(100050), num(r, "pz_m")) << code;
    }
    if (row->method == 9613 || row->method == 9615) {
      ASSERT_NE(row->dataset, nullptr) << code;
      std::string file = r.at("grid_file");
      if (row->method == 9613) file = file.substr(0, file.rfind('.'));
      EXPECT_EQ(std::string(row->dataset), "Dataset_" + file) << code;
    }
    if (row->method == 9601) {
      EXPECT_TRUE(p.empty()) << code;
    }
  }
  EXPECT_EQ(static_cast<std::size_t>(rows), cat::kGeogtran.count);
  EXPECT_GT(rows, 800);
  // A deprecated code answers with its current entry's accuracy.
  EXPECT_EQ(kx_factory_geogtran_accuracy(8001), kx_factory_geogtran_accuracy(1101));
  EXPECT_EQ(kx_factory_geogtran_accuracy(1101), 44.0);
  EXPECT_EQ(kx_factory_geogtran_accuracy(0), -1.0);
  EXPECT_EQ(kx_factory_geogtran_accuracy(32633), -1.0);
}

// Objects of every transformation whose method is in the library.
TEST(CatalogueGeogtran, BuiltObjects) {
  int built = 0;
  for (std::size_t i = 0; i < cat::kGeogtran.count; i += 5) {
    const cat::GeogtranRow &row = cat::kGeogtran.rows[i];
    Geogtran gt(kx_factory_geogtran(row.code));
    kx_method m = kx_factory_method(row.method);
    const bool bound = m != nullptr;
    kx_method_del(m);
    if (!bound) {
      EXPECT_EQ(gt, nullptr) << row.code;
      continue;
    }
    ASSERT_NE(gt, nullptr) << row.code;
    ++built;
    EXPECT_EQ(kx_geogtran_status(gt.get()), 4);
    char name[64];
    kx_geogtran_name(gt.get(), name);
    EXPECT_STREQ(name, row.name);
    kx_parameter slots[16];
    kx_geogtran_parameters(gt.get(), slots);
    int n = 0;
    for (auto *s : slots) n += s != nullptr;
    EXPECT_EQ(n, row.count) << row.code;
    if (row.dataset != nullptr) {
      ASSERT_NE(slots[15], nullptr);
      kx_parameter_name(slots[15], name);
      EXPECT_STREQ(name, row.dataset);
    }
    // Identical entries (EPSG keeps some under two codes) answer with the
    // first of them.
    const int code = kx_factory_code(gt.get());
    EXPECT_LE(code, row.code);
    Geogtran first(kx_factory_geogtran(code));
    EXPECT_EQ(kx_geogtran_eq(first.get(), gt.get()), 1) << row.code << " " << code;
  }
  std::printf("transformations built: %d of %zu sampled\n", built, (cat::kGeogtran.count + 4) / 5);
  Geogtran t(kx_factory_geogtran(1170));
  if (t != nullptr) {
    Geogtran old(static_cast<kx_geogtran>(kx_factory(8001)));
    Geogtran cur(kx_factory_geogtran(1101));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(kx_geogtran_status(old.get()), 16);
    EXPECT_EQ(kx_geogtran_eq(old.get(), cur.get()), 1);
    EXPECT_EQ(kx_factory_code(old.get()), 1101);
  }
}
