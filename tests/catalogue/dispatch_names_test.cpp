// kx_factory dispatch by code range, projections/methods/parameters by code,
// the reverse lookup kx_factory_code, code lists, kx_defstring_to_int and the
// generated header kx_def.h (read back as text and checked name by name).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "catalogue/catalogue_tables.h"
#include "catalogue_test_util.h"
#include "kx_def.h"
#include "objects/registry.h"

using namespace cattest;
namespace cat = kx::catalogue;

TEST(CatalogueDispatch, KindByRange) {
  void *g = kx_factory(4326);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(kx_geogcs_p(static_cast<kx_geogcs>(g)), 1);
  EXPECT_EQ(name(static_cast<kx_geogcs>(g)), "GCS_WGS_1984");
  EXPECT_EQ(kx_geogcs_status(static_cast<kx_geogcs>(g)), 4);
  kx_geogcs_del(static_cast<kx_geogcs>(g));

  Datum d(static_cast<kx_datum>(kx_factory(6326)));
  ASSERT_EQ(kx_datum_p(d.get()), 1);
  Spheroid s(static_cast<kx_spheroid>(kx_factory(7030)));
  ASSERT_EQ(kx_spheroid_p(s.get()), 1);
  Primem p(static_cast<kx_primem>(kx_factory(8901)));
  ASSERT_EQ(kx_primem_p(p.get()), 1);
  Unit m(static_cast<kx_unit>(kx_factory(9001)));
  ASSERT_EQ(kx_unit_p(m.get()), 1);
  Unit deg(static_cast<kx_unit>(kx_factory(9102)));
  ASSERT_EQ(kx_unit_p(deg.get()), 1);
  Unit yard(static_cast<kx_unit>(kx_factory(109001)));
  ASSERT_EQ(kx_unit_p(yard.get()), 1);
  Datum sphere(static_cast<kx_datum>(kx_factory(106008)));
  ASSERT_EQ(kx_datum_p(sphere.get()), 1);
  Geogcs everest(static_cast<kx_geogcs>(kx_factory(37006)));
  ASSERT_EQ(kx_geogcs_p(everest.get()), 1);

  Geogcs hk(static_cast<kx_geogcs>(kx_factory(104104)));
  ASSERT_EQ(kx_geogcs_p(hk.get()), 1);
  EXPECT_EQ(kx_geogcs_status(hk.get()), 16);
  EXPECT_EQ(kx_geogcs_eq(hk.get(), Geogcs(kx_factory_geogcs(4611)).get()), 1);
  Datum dep(static_cast<kx_datum>(kx_factory(106201)));
  ASSERT_EQ(kx_datum_p(dep.get()), 1);
  EXPECT_EQ(kx_datum_status(dep.get()), 16);

  for (int code : {5000, 0, -1, 99999, 100099, 300000, 4000, 1000, 8002, 9000, 43000}) {
    EXPECT_EQ(kx_factory(code), nullptr) << code;
  }
}

TEST(CatalogueDispatch, ParametersCarryTheirDefaults) {
  const struct { int code; const char *name; double value; } rows[] = {
      {100001, "False_Easting", 0},        {100003, "Scale_Factor", 1},
      {100004, "Azimuth", 45},             {100012, "Longitude_Of_Center", -75},
      {100022, "Latitude_Of_Center", 40},  {100025, "Standard_Parallel_1", 60},
      {100026, "Standard_Parallel_2", 60}, {100014, "Longitude_Of_2nd_Point", 60},
      {100037, "X_Scale", 1},              {100047, "Dataset_", 0},
      {100050, "Z_Coordinate_of_Rotation_Origin", 0},
  };
  for (const auto &r : rows) {
    kx_parameter p = static_cast<kx_parameter>(kx_factory(r.code));
    ASSERT_EQ(kx_parameter_p(p), 1) << r.code;
    char buffer[64] = {0};
    kx_parameter_name(p, buffer);
    EXPECT_STREQ(buffer, r.name);
    EXPECT_EQ(kx_parameter_value(p), r.value) << r.code;
    EXPECT_EQ(kx_parameter_status(p), 4);
    EXPECT_EQ(kx_factory_code(p), r.code);
    kx_parameter_del(p);
  }
  int built = 0;
  for (int code = 100000; code <= 100099; ++code) {
    kx_parameter p = kx_factory_parameter(code);
    built += p != nullptr;
    kx_parameter_del(p);
  }
  EXPECT_EQ(built, 33);
}

// Registry rows with their functions in the library build under the row's
// name with status 4 and find their code again; the others give null.
TEST(CatalogueDispatch, ProjectionsAndMethodsFromTheRegistry) {
  int count = 0;
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  for (int i = 0; i < count; ++i) {
    if (rows[i].code == 0) continue;
    kx_projection p = static_cast<kx_projection>(kx_factory(rows[i].code));
    if (rows[i].forward == nullptr) {
      EXPECT_EQ(p, nullptr) << rows[i].code;
      continue;
    }
    ASSERT_EQ(kx_projection_p(p), 1) << rows[i].code;
    EXPECT_EQ(kx_projection_status(p), 4);
    EXPECT_EQ(kx_factory_code(p), rows[i].code);
    kx_projection_del(p);
  }
  const kx::MethodRow *methods = kx::method_rows(&count);
  for (int i = 0; i < count; ++i) {
    kx_method m = static_cast<kx_method>(kx_factory(methods[i].code));
    if (methods[i].forward == nullptr) {
      EXPECT_EQ(m, nullptr) << methods[i].code;
      continue;
    }
    ASSERT_EQ(kx_method_p(m), 1) << methods[i].code;
    EXPECT_EQ(kx_method_status(m), 4);
    EXPECT_EQ(kx_factory_code(m), methods[i].code);
    kx_method_del(m);
  }
}

TEST(CatalogueDispatch, ReverseLookup) {
  Geogcs g(kx_factory_geogcs(4326));
  EXPECT_EQ(kx_factory_code(g.get()), 4326);
  EXPECT_EQ(kx_factory_code(kx_geogcs_datum(g.get())), 6326);
  EXPECT_EQ(kx_factory_code(kx_datum_spheroid(kx_geogcs_datum(g.get()))), 7030);
  EXPECT_EQ(kx_factory_code(kx_geogcs_primem(g.get())), 8901);
  EXPECT_EQ(kx_factory_code(kx_geogcs_unit(g.get())), 9102);
  // A deprecated code's object is equal to its current entry: the current code.
  EXPECT_EQ(kx_factory_code(Geogcs(kx_factory_geogcs(104104)).get()), 4611);
  EXPECT_EQ(kx_factory_code(Datum(kx_factory_datum(106201)).get()), 6668);
  // Objects made by hand are found when equal within the tolerance.
  EXPECT_EQ(kx_factory_code(Unit(kx_unit_new("meter", 1.0)).get()), 9001);
  EXPECT_EQ(kx_factory_code(Unit(kx_unit_new("Foot_US", 1200.0 / 3937.0)).get()), 9003);
  EXPECT_EQ(kx_factory_code(Unit(kx_unit_new("Meter", 1.001)).get()), 0);
  EXPECT_EQ(kx_factory_code(Spheroid(kx_spheroid_new("WGS_1984", 6378137.0, 1 / 298.257223563)).get()),
            7030);
  EXPECT_EQ(kx_factory_code(Primem(kx_primem_new("Paris", 2.337229166666667)).get()), 8903);
  EXPECT_EQ(kx_factory_code(Primem(kx_primem_new("Paris", 2.33722917)).get()), 0);
  EXPECT_EQ(kx_factory_code(nullptr), 0);
  int junk[4] = {0, 0, 0, 0};
  EXPECT_EQ(kx_factory_code(junk), 0);

  // Every entry finds itself, or an earlier code with an equal object.
  auto check = [](const auto &table, auto make, auto eq, auto del) {
    for (std::size_t i = 0; i < table.count; i += 3) {
      const int code = table.rows[i].code;
      auto obj = make(code);
      ASSERT_NE(obj, nullptr) << code;
      const int found = kx_factory_code(obj);
      EXPECT_GT(found, 0) << code;
      EXPECT_LE(found, code) << code;
      if (found != code) {
        auto other = make(found);
        EXPECT_EQ(eq(obj, other), 1) << code << " " << found;
        del(other);
      }
      del(obj);
    }
  };
  check(cat::kSpheroids, kx_factory_spheroid, kx_spheroid_eq, kx_spheroid_del);
  check(cat::kPrimems, kx_factory_primem, kx_primem_eq, kx_primem_del);
  check(cat::kDatums, kx_factory_datum, kx_datum_eq, kx_datum_del);
  check(cat::kGeogcs, kx_factory_geogcs, kx_geogcs_eq, kx_geogcs_del);
  // Units: angular codes are visited first, so an angular entry finds itself.
  for (std::size_t i = 0; i < cat::kUnits.count; ++i) {
    Unit u(kx_factory_unit(cat::kUnits.rows[i].code));
    EXPECT_EQ(kx_factory_code(u.get()), cat::kUnits.rows[i].code);
  }
}

TEST(CatalogueNames, CodeLists) {
  struct L { int *(*fn)(int *); const cat::Table<cat::NameRow> *table; } lists[] = {
      {kx_factory_datum_codelist, &cat::kDatumNames},
      {kx_factory_geogcs_codelist, &cat::kGeogcsNames},
      {kx_factory_method_codelist, &cat::kMethodNames},
      {kx_factory_parameter_codelist, &cat::kParameterNames},
      {kx_factory_primem_codelist, &cat::kPrimemNames},
      {kx_factory_projection_codelist, &cat::kProjectionNames},
      {kx_factory_spheroid_codelist, &cat::kSpheroidNames},
      {kx_factory_projcs_codelist, &cat::kProjcsNames},
      {kx_factory_geogtran_codelist, &cat::kGeogtranNames},
  };
  for (const auto &l : lists) {
    int n = -1;
    int *codes = l.fn(&n);
    ASSERT_NE(codes, nullptr);
    ASSERT_EQ(static_cast<std::size_t>(n), l.table->count);
    for (int i = 0; i < n; ++i) EXPECT_EQ(codes[i], l.table->rows[i].code);
    kx_factory_codelist_del(codes);
    EXPECT_EQ(l.fn(nullptr), nullptr);
  }
  int n = 0;
  int *pm = kx_factory_primem_codelist(&n);
  ASSERT_NE(pm, nullptr);
  EXPECT_EQ(n, 15);  // the 14 of EPSG and the library's Reference 108900
  EXPECT_EQ(pm[0], 8912);  // Athens sorts first
  kx_factory_codelist_del(pm);
  int *methods = kx_factory_method_codelist(&n);
  EXPECT_EQ(n, 11);
  EXPECT_EQ(methods[0], 109607);
  kx_factory_codelist_del(methods);
  int *projections = kx_factory_projection_codelist(&n);
  EXPECT_EQ(n, 58);
  EXPECT_EQ(projections[0], 43043);
  kx_factory_codelist_del(projections);

  int *ang = kx_factory_angular_unit_codelist(&n);
  ASSERT_NE(ang, nullptr);
  std::set<int> angular(ang, ang + n);
  EXPECT_EQ(angular, (std::set<int>{9101, 9102, 9103, 9104, 9105, 9106, 9109, 9112, 9113, 9114}));
  kx_factory_codelist_del(ang);
  int *lin = kx_factory_linear_unit_codelist(&n);
  ASSERT_NE(lin, nullptr);
  EXPECT_EQ(n, 45);
  for (int i = 0; i < n; ++i) {
    EXPECT_TRUE((lin[i] >= 9000 && lin[i] <= 9099) || (lin[i] >= 109000 && lin[i] <= 109099));
    Unit u(kx_factory_unit(lin[i]));
    EXPECT_NE(u, nullptr);
  }
  kx_factory_codelist_del(lin);
  kx_factory_codelist_del(nullptr);
}

TEST(CatalogueNames, DefstringToInt) {
  EXPECT_EQ(kx_defstring_to_int("KX_GCS_WGS_1984"), 4326);
  EXPECT_EQ(kx_defstring_to_int("kx_gcs_wgs_1984"), 0);
  EXPECT_EQ(kx_defstring_to_int("WGS_1984"), 0);
  EXPECT_EQ(kx_defstring_to_int("KX_GCS_WGS_1984 "), 0);
  EXPECT_EQ(kx_defstring_to_int("KX_GCS_"), 0);
  EXPECT_EQ(kx_defstring_to_int(""), 0);
  EXPECT_EQ(kx_defstring_to_int(nullptr), 0);
  EXPECT_EQ(kx_defstring_to_int("KX_S_WGS_1984"), 7030);
  EXPECT_EQ(kx_defstring_to_int("KX_D_WGS_1984"), 6326);
  EXPECT_EQ(kx_defstring_to_int("KX_PM_PARIS"), 8903);
  EXPECT_EQ(kx_defstring_to_int("KX_U_FOOT_US"), 9003);
  EXPECT_EQ(kx_defstring_to_int("KX_PAR_NAME_DATASET"), 100047);
  EXPECT_EQ(kx_defstring_to_int("KX_PRJ_TRANSVERSE_MERCATOR"), 43006);
  EXPECT_EQ(kx_defstring_to_int("KX_MTH_BURSA_WOLF"), 109607);
  // A name of one table under another prefix is unknown.
  EXPECT_EQ(kx_defstring_to_int("KX_S_GCS_WGS_1984"), 0);
  EXPECT_EQ(kx_defstring_to_int("KX_D_WGS_1984_106001"), 0);
  EXPECT_EQ(kx_defstring_to_int("KX_D_WGS_1966_106001"), 106001);
  EXPECT_EQ(kx_defstring_to_int("KX_D_WGS_1966"), 6760);
  std::string longname(5000, 'A');
  EXPECT_EQ(kx_defstring_to_int(("KX_GCS_" + longname).c_str()), 0);

  // The macros of the public header are the codes.
  EXPECT_EQ(KX_GCS_WGS_1984, 4326);
  EXPECT_EQ(KX_D_WGS_1984, 6326);
  EXPECT_EQ(KX_S_GRS_1980, 7019);
  EXPECT_EQ(KX_U_DEGREE, 9102);
  EXPECT_EQ(KX_PM_GREENWICH, 8901);
  EXPECT_EQ(KX_MTH_NTV2, 9615);
  EXPECT_EQ(KX_PAR_X_SCALE, 100037);
  EXPECT_EQ(KX_GCS_EVEREST_MODIFIED_1969, 37006);
}

// Every macro kx_def.h defines is found by kx_defstring_to_int with the same
// code, and every table row is in the header: header and tables agree.
TEST(CatalogueNames, HeaderMatchesTables) {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/../../include/kx_def.h");
  ASSERT_TRUE(in.good());
  const std::regex define("^#define (KX_[A-Z0-9_]+) (-?[0-9]+)$");
  std::string line;
  std::set<std::string> names;
  int defines = 0;
  while (std::getline(in, line)) {
    std::smatch m;
    if (!std::regex_match(line, m, define)) continue;
    EXPECT_EQ(kx_defstring_to_int(m[1].str().c_str()), std::stoi(m[2].str())) << m[1];
    EXPECT_TRUE(names.insert(m[1].str()).second) << m[1];
    ++defines;
  }
  std::size_t rows = 0;
  for (const auto *t : {&cat::kGeogtranNames, &cat::kProjcsNames, &cat::kSpheroidNames, &cat::kGeogcsNames, &cat::kDatumNames,
                        &cat::kPrimemNames, &cat::kUnitNames, &cat::kProjectionNames,
                        &cat::kMethodNames, &cat::kParameterNames}) {
    rows += t->count;
    for (std::size_t i = 0; i < t->count; ++i) EXPECT_TRUE(names.count(t->rows[i].name)) << t->rows[i].name;
  }
  EXPECT_EQ(static_cast<std::size_t>(defines), rows);
}
