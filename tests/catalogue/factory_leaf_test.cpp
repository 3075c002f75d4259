// Factories of units, spheroids, prime meridians, datums and geographic CSs:
// the fixed rows of the library, every entry against the EPSG extract read
// independently here (data/epsg, v10.076), deprecated codes, unknown codes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <string>

#include "catalogue/catalogue_tables.h"
#include "catalogue_test_util.h"

using namespace cattest;
namespace cat = kx::catalogue;

namespace {

bool in(int code, int lo, int hi) { return code >= lo && code <= hi; }

double rel(double a, double b) { return std::fabs(a - b) / std::fmax(std::fabs(b), 1e-300); }

}  // namespace

TEST(CatalogueLeaf, FixedRows) {
  struct U { int code; const char *name; double factor; } units[] = {
      {9001, "Meter", 1.0},
      {9002, "Foot", 0.3048},
      {9003, "Foot_US", 0.30480060960121924},
      {9102, "Degree", 0.017453292519943295},
  };
  for (const auto &u : units) {
    Unit unit(kx_factory_unit(u.code));
    ASSERT_NE(unit, nullptr) << u.code;
    EXPECT_EQ(name(unit.get()), u.name);
    EXPECT_EQ(kx_unit_factor(unit.get()), u.factor) << u.code;
    EXPECT_EQ(kx_unit_status(unit.get()), 4);
  }
  EXPECT_EQ(kx_unit_factor(Unit(kx_factory_unit(9102)).get()), M_PI / 180.0);

  struct S { int code; const char *name; double axis, f; } spheroids[] = {
      {7030, "WGS_1984", 6378137.0, 0.0033528106647474805},
      {7019, "GRS_1980", 6378137.0, 0.003352810681182319},
      {7008, "Clarke_1866", 6378206.4, 0.0033900753040885176},
  };
  for (const auto &s : spheroids) {
    Spheroid sph(kx_factory_spheroid(s.code));
    ASSERT_NE(sph, nullptr) << s.code;
    EXPECT_EQ(name(sph.get()), s.name);
    EXPECT_EQ(kx_spheroid_axis(sph.get()), s.axis);
    EXPECT_EQ(kx_spheroid_flattening(sph.get()), s.f) << s.code;
    EXPECT_EQ(kx_spheroid_status(sph.get()), 4);
  }

  Primem greenwich(kx_factory_primem(8901));
  ASSERT_NE(greenwich, nullptr);
  EXPECT_EQ(name(greenwich.get()), "Greenwich");
  EXPECT_EQ(kx_primem_longitude(greenwich.get()), 0.0);
  Primem paris(kx_factory_primem(8903));
  ASSERT_NE(paris, nullptr);
  EXPECT_EQ(name(paris.get()), "Paris");
  EXPECT_EQ(kx_primem_longitude(paris.get()), 2.337229166666667);
  EXPECT_EQ(kx_primem_status(paris.get()), 4);

  Datum wgs(kx_factory_datum(6326));
  ASSERT_NE(wgs, nullptr);
  EXPECT_EQ(name(wgs.get()), "D_WGS_1984");
  EXPECT_EQ(kx_datum_status(wgs.get()), 4);
  EXPECT_EQ(name(kx_datum_spheroid(wgs.get())), "WGS_1984");
  EXPECT_EQ(kx_spheroid_status(kx_datum_spheroid(wgs.get())), 4);

  Geogcs gcs(kx_factory_geogcs(4326));
  ASSERT_NE(gcs, nullptr);
  EXPECT_EQ(name(gcs.get()), "GCS_WGS_1984");
  EXPECT_EQ(kx_geogcs_status(gcs.get()), 4);
  kx_datum d = kx_geogcs_datum(gcs.get());
  EXPECT_EQ(name(d), "D_WGS_1984");
  EXPECT_EQ(kx_datum_status(d), 4);
  EXPECT_EQ(kx_spheroid_status(kx_datum_spheroid(d)), 4);
  EXPECT_EQ(name(kx_geogcs_primem(gcs.get())), "Greenwich");
  EXPECT_EQ(kx_primem_status(kx_geogcs_primem(gcs.get())), 4);
  EXPECT_EQ(name(kx_geogcs_unit(gcs.get())), "Degree");
  EXPECT_EQ(kx_unit_status(kx_geogcs_unit(gcs.get())), 4);
  EXPECT_EQ(kx_spheroid_eq(kx_datum_spheroid(d), Spheroid(kx_factory_spheroid(7030)).get()), 1);

  // The _normal variants leave the constructor's status; components keep 4.
  Datum dn(kx_factory_datum_normal(6326));
  ASSERT_NE(dn, nullptr);
  EXPECT_EQ(kx_datum_status(dn.get()), 1);
  EXPECT_EQ(kx_spheroid_status(kx_datum_spheroid(dn.get())), 4);
  Geogcs gn(kx_factory_geogcs_normal(4326));
  ASSERT_NE(gn, nullptr);
  EXPECT_EQ(kx_geogcs_status(gn.get()), 1);
  EXPECT_EQ(kx_datum_status(kx_geogcs_datum(gn.get())), 4);
  EXPECT_EQ(kx_geogcs_eq(gn.get(), gcs.get()), 1);
}

TEST(CatalogueLeaf, NamesFollowTheAbbreviationRule) {
  struct G { int code; const char *name; } rows[] = {
      {4267, "GCS_NAD_1927"},     {4269, "GCS_NAD_1983"},     {4230, "GCS_ED_1950"},
      {4258, "GCS_ETRS_1989"},    {4283, "GCS_GDA_1994"},     {4202, "GCS_AGD_1966"},
      {4272, "GCS_NZGD_1949"},    {4322, "GCS_WGS_1972"},     {4152, "GCS_NAD_1983_HARN"},
      {4154, "GCS_ED_1950_ED_1977"}, {4807, "GCS_NTF_Paris"}, {4143, "GCS_Abidjan_1987"},
      {4001, "GCS_Unknown_Airy_1830_ellipsoid"},
  };
  for (const auto &r : rows) {
    Geogcs g(kx_factory_geogcs(r.code));
    ASSERT_NE(g, nullptr) << r.code;
    EXPECT_EQ(name(g.get()), r.name);
  }
  // A datum is named after its lowest-coded geographic CS.
  EXPECT_EQ(name(Datum(kx_factory_datum(6267)).get()), "D_NAD_1927");
  EXPECT_EQ(name(Datum(kx_factory_datum(6269)).get()), "D_NAD_1983");
  EXPECT_EQ(name(Datum(kx_factory_datum(6143)).get()), "D_Abidjan_1987");
  EXPECT_EQ(name(Spheroid(kx_factory_spheroid(7043)).get()), "WGS_1972");
  EXPECT_EQ(name(Spheroid(kx_factory_spheroid(7012)).get()), "Clarke_1880_RGS");
  // Grads stay grads; the sexagesimal representation is plain degrees.
  EXPECT_EQ(name(kx_geogcs_unit(Geogcs(kx_factory_geogcs(4807)).get())), "Grad");
}

TEST(CatalogueLeaf, DeprecatedMapsInFull) {
  const int datums[][2] = {{106201, 6668}, {106204, 6658}, {106211, 6620}, {106247, 6615},
                           {106255, 6613}, {106261, 6611}, {106264, 6171}, {106265, 6167},
                           {106267, 6189}, {106268, 6612}};
  for (const auto &m : datums) {
    Datum old(kx_factory_datum(m[0]));
    Datum cur(kx_factory_datum(m[1]));
    ASSERT_NE(old, nullptr) << m[0];
    ASSERT_NE(cur, nullptr) << m[1];
    EXPECT_EQ(kx_datum_status(old.get()), 16);
    EXPECT_EQ(kx_datum_status(cur.get()), 4);
    EXPECT_EQ(kx_datum_eq(old.get(), cur.get()), 1) << m[0];
    EXPECT_EQ(kx_factory_datum_normal(m[0]), nullptr);
    Datum dep(kx_factory_datum_depracated(m[0]));
    ASSERT_NE(dep, nullptr);
    EXPECT_EQ(kx_datum_status(dep.get()), 16);
    EXPECT_EQ(kx_factory_datum_depracated(m[1]), nullptr);
  }
  EXPECT_EQ(cat::kDeprecatedDatums.count, 10u);

  const int geogcs[][2] = {{4126, 4669},   {37201, 4668},  {37204, 4658},  {37211, 4620},
                           {37247, 4615},  {37255, 4613},  {104104, 4611}, {104107, 4171},
                           {104108, 4167}, {104110, 4189}, {104111, 4612}};
  for (const auto &m : geogcs) {
    Geogcs old(kx_factory_geogcs(m[0]));
    Geogcs cur(kx_factory_geogcs(m[1]));
    ASSERT_NE(old, nullptr) << m[0];
    ASSERT_NE(cur, nullptr) << m[1];
    EXPECT_EQ(kx_geogcs_status(old.get()), 16);
    EXPECT_EQ(kx_geogcs_status(cur.get()), 4);
    EXPECT_EQ(kx_geogcs_eq(old.get(), cur.get()), 1) << m[0];
    EXPECT_EQ(kx_factory_geogcs_normal(m[0]), nullptr);
    EXPECT_EQ(kx_factory_geogcs_depracated(m[1]), nullptr);
  }
  EXPECT_EQ(cat::kDeprecatedGeogcs.count, 11u);
  EXPECT_EQ(name(Geogcs(kx_factory_geogcs(104104)).get()), "GCS_Hong_Kong_1980");
}

TEST(CatalogueLeaf, UnknownCodesGiveNull) {
  const int codes[] = {0, -1, -4326, 1, 5000, 7000, 7017, 7999, 8900, 8999, 6000, 9000, 9004,
                       9199, 4000, 4999, 106000, 106999, 37000, 104000, INT_MAX, INT_MIN};
  for (int c : codes) {
    EXPECT_EQ(kx_factory_unit(c), nullptr) << c;
    EXPECT_EQ(kx_factory_spheroid(c), nullptr) << c;
    EXPECT_EQ(kx_factory_primem(c), nullptr) << c;
    EXPECT_EQ(kx_factory_datum(c), nullptr) << c;
    EXPECT_EQ(kx_factory_geogcs(c), nullptr) << c;
    EXPECT_EQ(kx_factory_datum_depracated(c), nullptr) << c;
    EXPECT_EQ(kx_factory_geogcs_depracated(c), nullptr) << c;
  }
  // Codes of one kind are nothing to another kind's factory.
  EXPECT_EQ(kx_factory_spheroid(4326), nullptr);
  EXPECT_EQ(kx_factory_geogcs(6326), nullptr);
  EXPECT_EQ(kx_factory_datum(7030), nullptr);
  EXPECT_EQ(kx_factory_unit(8901), nullptr);
}

// Every spheroid of the EPSG extract in 7000-7999 is an entry with EPSG's
// axis exactly and EPSG's flattening (its inverse flattening round-trips),
// except the Clarke 1866 flattening the library fixes at 1/294.9786982.
TEST(CatalogueLeaf, SpheroidsAgainstEpsg) {
  int checked = 0;
  for (const auto &r : read_epsg("ellipsoids.csv")) {
    const int code = std::stoi(r.at("code"));
    if (!in(code, 7000, 7999)) {
      EXPECT_EQ(kx_factory_spheroid(code), nullptr);
      continue;
    }
    Spheroid s(kx_factory_spheroid(code));
    ASSERT_NE(s, nullptr) << code;
    EXPECT_EQ(kx_spheroid_axis(s.get()), std::stod(r.at("semi_major_axis_m"))) << code;
    const double f = kx_spheroid_flattening(s.get());
    if (code == 7008) {
      EXPECT_LT(rel(f, std::stod(r.at("flattening"))), 1e-10);
      EXPECT_LT(rel(1.0 / f, 294.9786982), 1e-15);
    } else {
      EXPECT_EQ(f, std::stod(r.at("flattening"))) << code;
    }
    if (!r.at("inverse_flattening").empty()) {
      EXPECT_LT(rel(1.0 / f, std::stod(r.at("inverse_flattening"))), 1e-14) << code;
    } else if (f > 0) {
      const double b = std::stod(r.at("semi_minor_axis_m"));
      const double a = std::stod(r.at("semi_major_axis_m"));
      EXPECT_LT(std::fabs(a * (1 - f) - b), code == 7008 ? 1e-3 : 1e-6) << code;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 52);
}

TEST(CatalogueLeaf, UnitsAndPrimeMeridiansAgainstEpsg) {
  std::map<int, double> epsg;
  for (const auto &r : read_epsg("units.csv")) {
    if (!r.at("factor_to_si").empty()) epsg[std::stoi(r.at("code"))] = std::stod(r.at("factor_to_si"));
  }
  int checked = 0;
  for (size_t i = 0; i < cat::kUnits.count; ++i) {
    const auto &row = cat::kUnits.rows[i];
    if (row.code > 100000 || row.code == 9102) continue;
    ASSERT_TRUE(epsg.count(row.code)) << row.code;
    EXPECT_EQ(Unit(kx_factory_unit(row.code)) ? kx_unit_factor(Unit(kx_factory_unit(row.code)).get()) : 0.0,
              epsg[row.code])
        << row.code;
    ++checked;
  }
  EXPECT_EQ(checked, 48);
  // Library units: international yard, 3 US feet, chain, link and kilometre blocks.
  EXPECT_EQ(kx_unit_factor(Unit(kx_factory_unit(109001)).get()), 0.9144);
  EXPECT_LT(rel(kx_unit_factor(Unit(kx_factory_unit(109002)).get()), 3 * 1200.0 / 3937.0), 1e-16);
  EXPECT_EQ(kx_unit_factor(Unit(kx_factory_unit(109003)).get()), 66 * 0.3048);
  EXPECT_EQ(kx_unit_factor(Unit(kx_factory_unit(109004)).get()), 0.66 * 0.3048);
  EXPECT_EQ(kx_unit_factor(Unit(kx_factory_unit(109030)).get()), 50000.0);
  EXPECT_EQ(kx_unit_factor(Unit(kx_factory_unit(109031)).get()), 150000.0);
  EXPECT_LT(rel(kx_unit_factor(Unit(kx_factory_unit(9003)).get()), 1200.0 / 3937.0), 2e-16);

  int pms = 0;
  for (const auto &r : read_epsg("prime_meridians.csv")) {
    const int code = std::stoi(r.at("code"));
    Primem p(kx_factory_primem(code));
    ASSERT_NE(p, nullptr) << code;
    const double lon = std::stod(r.at("longitude_deg"));
    if (code == 8903) {
      EXPECT_LT(std::fabs(kx_primem_longitude(p.get()) - lon), 1e-8);
    } else {
      EXPECT_EQ(kx_primem_longitude(p.get()), lon) << code;
    }
    ++pms;
  }
  EXPECT_EQ(pms, 14);
  Primem ref(kx_factory_primem(108900));
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(name(ref.get()), "Reference");
}

// Every datum and geographic CS of the extract in range is an entry on the
// EPSG ellipsoid, prime meridian and unit, unless its datum lies outside the
// datum range (then it is left out) or its code is a library deprecated code.
TEST(CatalogueLeaf, DatumsAndGeographicCsAgainstEpsg) {
  std::map<int, Row> ell, pm, dat;
  for (const auto &r : read_epsg("ellipsoids.csv")) ell[std::stoi(r.at("code"))] = r;
  for (const auto &r : read_epsg("prime_meridians.csv")) pm[std::stoi(r.at("code"))] = r;
  int datums = 0;
  for (const auto &r : read_epsg("datums.csv")) {
    const int code = std::stoi(r.at("code"));
    dat[code] = r;
    if (!in(code, 6000, 6999)) continue;
    Datum d(kx_factory_datum(code));
    ASSERT_NE(d, nullptr) << code;
    EXPECT_EQ(kx_datum_status(d.get()), 4);
    const Row &e = ell.at(std::stoi(r.at("ellipsoid_code")));
    EXPECT_EQ(kx_spheroid_axis(kx_datum_spheroid(d.get())), std::stod(e.at("semi_major_axis_m")))
        << code;
    ++datums;
  }
  EXPECT_EQ(datums, 428);

  int geog = 0, left = 0;
  for (const auto &r : read_epsg("geographic_crs.csv")) {
    const int code = std::stoi(r.at("code"));
    if (!in(code, 4000, 4999) || code == 4126) continue;
    const int datum = std::stoi(r.at("datum_code"));
    Geogcs g(kx_factory_geogcs(code));
    if (!in(datum, 6000, 6999)) {
      EXPECT_EQ(g, nullptr) << code;
      ++left;
      continue;
    }
    ASSERT_NE(g, nullptr) << code;
    EXPECT_EQ(kx_geogcs_status(g.get()), 4);
    const Row &d = dat.at(datum);
    const Row &e = ell.at(std::stoi(d.at("ellipsoid_code")));
    kx_spheroid s = kx_datum_spheroid(kx_geogcs_datum(g.get()));
    EXPECT_EQ(kx_spheroid_axis(s), std::stod(e.at("semi_major_axis_m"))) << code;
    const int pmc = std::stoi(d.at("prime_meridian_code"));
    const double lon = std::stod(pm.at(pmc).at("longitude_deg"));
    EXPECT_LT(std::fabs(kx_primem_longitude(kx_geogcs_primem(g.get())) - lon), 1e-8) << code;
    const double unit = kx_unit_factor(kx_geogcs_unit(g.get()));
    if (r.at("angular_unit_code") == "9105") {
      EXPECT_LT(rel(unit, M_PI / 200), 3.6e-15) << code;  // 2^-48, the equality tolerance
    } else {
      EXPECT_EQ(unit, M_PI / 180) << code;
    }
    ++geog;
  }
  EXPECT_EQ(geog, 419);
  EXPECT_EQ(left, 13);
}

// Every row of every table builds, under its own name, and every macro name
// table is sorted byte-wise and names only codes that build.
TEST(CatalogueLeaf, EveryTableRowBuilds) {
  for (size_t i = 0; i < cat::kUnits.count; ++i) {
    Unit u(kx_factory_unit(cat::kUnits.rows[i].code));
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(name(u.get()), cat::kUnits.rows[i].name);
  }
  for (size_t i = 0; i < cat::kSpheroids.count; ++i) {
    Spheroid s(kx_factory_spheroid(cat::kSpheroids.rows[i].code));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(name(s.get()), cat::kSpheroids.rows[i].name);
  }
  for (size_t i = 0; i < cat::kPrimems.count; ++i) {
    Primem p(kx_factory_primem(cat::kPrimems.rows[i].code));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(name(p.get()), cat::kPrimems.rows[i].name);
  }
  for (size_t i = 0; i < cat::kDatums.count; ++i) {
    Datum d(kx_factory_datum(cat::kDatums.rows[i].code));
    ASSERT_NE(d, nullptr) << cat::kDatums.rows[i].code;
    EXPECT_EQ(name(d.get()), cat::kDatums.rows[i].name);
    EXPECT_EQ(kx_datum_status(d.get()), 4);
  }
  for (size_t i = 0; i < cat::kGeogcs.count; ++i) {
    Geogcs g(kx_factory_geogcs(cat::kGeogcs.rows[i].code));
    ASSERT_NE(g, nullptr) << cat::kGeogcs.rows[i].code;
    EXPECT_EQ(name(g.get()), cat::kGeogcs.rows[i].name);
    EXPECT_LT(std::string(cat::kGeogcs.rows[i].name).size(), 64u);
  }
  struct T { const cat::Table<cat::NameRow> *t; const char *prefix; bool (*builds)(int); } tables[] = {
      {&cat::kSpheroidNames, "KX_S_", [](int c) { return Spheroid(kx_factory_spheroid(c)) != nullptr; }},
      {&cat::kGeogcsNames, "KX_GCS_", [](int c) { return Geogcs(kx_factory_geogcs(c)) != nullptr; }},
      {&cat::kDatumNames, "KX_D_", [](int c) { return Datum(kx_factory_datum(c)) != nullptr; }},
      {&cat::kPrimemNames, "KX_PM_", [](int c) { return Primem(kx_factory_primem(c)) != nullptr; }},
      {&cat::kUnitNames, "KX_U_", [](int c) { return Unit(kx_factory_unit(c)) != nullptr; }},
  };
  for (const auto &t : tables) {
    std::set<int> codes;
    for (size_t i = 0; i < t.t->count; ++i) {
      const auto &row = t.t->rows[i];
      EXPECT_EQ(std::string(row.name).rfind(t.prefix, 0), 0u) << row.name;
      if (i > 0) {
        EXPECT_LT(std::strcmp(t.t->rows[i - 1].name, row.name), 0) << row.name;
      }
      EXPECT_TRUE(t.builds(row.code)) << row.name;
      EXPECT_EQ(cat::find_name(*t.t, row.name), &row);
      codes.insert(row.code);
    }
    EXPECT_EQ(codes.size(), t.t->count) << t.prefix;
  }
  EXPECT_EQ(cat::kPrimemNames.rows[0].code, 8912);  // KX_PM_ATHENS
  EXPECT_STREQ(cat::kSpheroidNames.rows[0].name, "KX_S_AIRY_1830");
  EXPECT_STREQ(cat::kGeogcsNames.rows[0].name, "KX_GCS_ABIDJAN_1987");
  EXPECT_STREQ(cat::kDatumNames.rows[0].name, "KX_D_ABIDJAN_1987");
  EXPECT_STREQ(cat::kUnitNames.rows[0].name, "KX_U_CHAIN");
}

// Library entries: the sphere datum and the Everest modified 1969 system.
TEST(CatalogueLeaf, LibraryEntries) {
  Datum sphere(kx_factory_datum(106008));
  ASSERT_NE(sphere, nullptr);
  EXPECT_EQ(kx_spheroid_axis(kx_datum_spheroid(sphere.get())), 6370997.0);
  EXPECT_EQ(kx_spheroid_flattening(kx_datum_spheroid(sphere.get())), 0.0);
  const struct { int code; double a, invf; } rows[] = {
      {106001, 6378145.0, 298.25}, {106002, 6378166.0, 298.3}, {106003, 6378150.0, 298.3},
      {106004, 6378155.0, 298.3},  {106005, 6378270.0, 297.0}, {106006, 6377295.664, 300.8017},
      {106007, 6376896.0, 302.78},
  };
  for (const auto &r : rows) {
    Datum d(kx_factory_datum(r.code));
    ASSERT_NE(d, nullptr) << r.code;
    EXPECT_EQ(kx_spheroid_axis(kx_datum_spheroid(d.get())), r.a);
    EXPECT_LT(rel(1.0 / kx_spheroid_flattening(kx_datum_spheroid(d.get())), r.invf), 1e-14);
  }
  Geogcs everest(kx_factory_geogcs(37006));
  ASSERT_NE(everest, nullptr);
  EXPECT_EQ(name(everest.get()), "GCS_Everest_Modified_1969");
  EXPECT_EQ(name(kx_geogcs_datum(everest.get())), "D_Everest_Modified_1969");
  // The popular visualisation system on the sphere of 6378137 m.
  Geogcs pv(kx_factory_geogcs(4055));
  ASSERT_NE(pv, nullptr);
  EXPECT_EQ(kx_spheroid_axis(kx_datum_spheroid(kx_geogcs_datum(pv.get()))), 6378137.0);
  EXPECT_EQ(kx_spheroid_flattening(kx_datum_spheroid(kx_geogcs_datum(pv.get()))), 0.0);
}
