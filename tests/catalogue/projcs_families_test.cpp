// Projected CS families: every code of every zone block against the EPSG
// extract and the generated table, the families as a partition of the table,
// and kx_factory_projcs_normal against the table for every code of the
// projected CS ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "catalogue/catalogue_tables.h"
#include "catalogue/projcs_families.h"
#include "catalogue_test_util.h"

using namespace cattest;
namespace cat = kx::catalogue;

namespace {

struct ProjcsDel { void operator()(kx_projcs_rec *p) const { kx_projcs_del(p); } };
using Projcs = std::unique_ptr<kx_projcs_rec, ProjcsDel>;

constexpr int kCm = 100010, kLat0 = 100021, kScale = 100003, kFe = 100001, kFn = 100002;

std::map<int, double> row_params(const cat::ProjcsRow &row) {
  std::map<int, double> m;
  for (int i = 0; i < row.count; ++i) {
    const auto &p = cat::kProjcsParams.rows[row.first + i];
    m[p.parameter] = p.value;
  }
  return m;
}

std::map<int, double> entry_params(const cat::ZoneEntry &e) {
  std::map<int, double> m;
  for (const auto &p : e.params) m[p.parameter] = p.value;
  return m;
}

struct Family {
  const char *name;
  kx_projcs (*factory)(int);
  const cat::Table<cat::FamilyRow> *table;  // null for the computed zone blocks
};

const Family kFamilies[] = {
    {"misc", kx_factory_projcs_misc, &cat::kProjcsFamily_misc},
    {"utm", kx_factory_projcs_utm, nullptr},
    {"spcs27", kx_factory_projcs_spcs27, &cat::kProjcsFamily_spcs27},
    {"spcs83", kx_factory_projcs_spcs83, &cat::kProjcsFamily_spcs83},
    {"spcs83_feet", kx_factory_projcs_spcs83_feet, &cat::kProjcsFamily_spcs83_feet},
    {"spcs83_harn", kx_factory_projcs_spcs83_harn, &cat::kProjcsFamily_spcs83_harn},
    {"minnesota_counties", kx_factory_projcs_minnesota_counties,
     &cat::kProjcsFamily_minnesota_counties},
    {"wisconsin_counties", kx_factory_projcs_wisconsin_counties,
     &cat::kProjcsFamily_wisconsin_counties},
};

bool owns(const Family &f, int code) {
  cat::ZoneEntry e;
  return f.table == nullptr ? cat::zone_entry(code, &e) : cat::find_code(*f.table, code) != nullptr;
}

// The table's own entry built directly, the reference for every family.
kx_projcs build_row(const cat::ProjcsRow &row) {
  return cat::build_projcs(row.name, row.projection, row.geogcs, row.unit,
                           cat::kProjcsParams.rows + row.first, row.count);
}

bool in_projcs_ranges(int code) {
  const int ranges[][2] = {{2000, 3999}, {20000, 32799}, {53000, 65799}, {102000, 103999},
                           {202000, 203999}};
  for (const auto &r : ranges) {
    if (code >= r[0] && code <= r[1]) return true;
  }
  return false;
}

}  // namespace

// Every code of every block: the formula equals the generator's entry (built
// per row from EPSG) and the EPSG extract itself, and its name the format.
TEST(ProjcsFamilies, ZoneBlocksAgainstTableAndEpsg) {
  std::map<int, Row> epsg;
  for (const auto &r : read_epsg("projected_crs.csv")) epsg[std::stoi(r.at("code"))] = r;
  ASSERT_GT(cat::kZoneBlocks.count, 0u);
  int codes = 0;
  for (std::size_t b = 0; b < cat::kZoneBlocks.count; ++b) {
    const cat::ZoneBlock &block = cat::kZoneBlocks.rows[b];
    ASSERT_LE(block.first, block.last);
    ASSERT_TRUE(in_projcs_ranges(block.first) && in_projcs_ranges(block.last)) << block.first;
    if (b > 0) {
      ASSERT_LT(cat::kZoneBlocks.rows[b - 1].last, block.first);
    }
    for (int code = block.first; code <= block.last; ++code, ++codes) {
      cat::ZoneEntry e;
      ASSERT_TRUE(cat::zone_entry(code, &e)) << code;
      const cat::ProjcsRow *row = cat::find_code(cat::kProjcs, code);
      ASSERT_NE(row, nullptr) << code;
      EXPECT_STREQ(e.name, row->name) << code;
      EXPECT_EQ(e.projection, 43006) << code;
      EXPECT_EQ(e.projection, row->projection) << code;
      EXPECT_EQ(e.geogcs, row->geogcs) << code;
      EXPECT_EQ(e.unit, row->unit) << code;
      EXPECT_EQ(entry_params(e), row_params(*row)) << code;

      // The name from the format with the test's own zone arithmetic.
      const int zone = code - block.base;
      const double cm = entry_params(e)[kCm];
      const int arg = block.name_arg == cat::ZoneNameArg::kZone ? zone
                      : block.name_arg == cat::ZoneNameArg::kMeridianEast ? static_cast<int>(cm)
                                                                           : -static_cast<int>(cm);
      char name[64];
      std::snprintf(name, sizeof name, block.format, arg);
      EXPECT_STREQ(e.name, name) << code;

      // The EPSG row: Transverse Mercator, same base CRS and unit, the values.
      ASSERT_EQ(epsg.count(code), 1u) << code;
      const Row &r = epsg.at(code);
      EXPECT_EQ(r.at("method_code"), "9807") << code;
      EXPECT_EQ(std::stoi(r.at("geographic_crs_code")), e.geogcs) << code;
      EXPECT_EQ(std::stoi(r.at("linear_unit_code")), e.unit) << code;
      std::map<int, double> want;
      for (int i = 1; i <= 7; ++i) {
        const std::string p = "p" + std::to_string(i);
        if (r.at(p + "_code").empty()) continue;
        // Raw values: degrees, unity, or lengths in the CRS's own unit here.
        want[std::stoi(r.at(p + "_code"))] = std::stod(r.at(p + "_value"));
        EXPECT_TRUE(r.at(p + "_unit_code") == "9102" || r.at(p + "_unit_code") == "9201" ||
                    std::stoi(r.at(p + "_unit_code")) == e.unit)
            << code;
      }
      auto got = entry_params(e);
      EXPECT_EQ(got[kCm], want[8802]) << code;
      EXPECT_EQ(got[kLat0], want[8801]) << code;
      EXPECT_EQ(got[kScale], want[8805]) << code;
      EXPECT_EQ(got[kFe], want[8806]) << code;
      EXPECT_EQ(got[kFn], want[8807]) << code;
    }
  }
  std::printf("zone blocks: %zu, codes computed: %d\n", cat::kZoneBlocks.count, codes);
}

// The blocks the family must hold, with values stated independently here.
TEST(ProjcsFamilies, NamedZoneBlocks) {
  struct Expect {
    int first, last, base;
    const char *format;
    int geogcs, unit;
    bool gauss_kruger, zone_easting;
    double fe, fn, scale;
  };
  const Expect blocks[] = {
      {32601, 32660, 32600, "WGS_1984_UTM_Zone_%dN", 4326, 9001, false, false, 500000, 0, 0.9996},
      {32701, 32760, 32700, "WGS_1984_UTM_Zone_%dS", 4326, 9001, false, false, 500000, 1e7, 0.9996},
      {32201, 32260, 32200, "WGS_1972_UTM_Zone_%dN", 4322, 9001, false, false, 500000, 0, 0.9996},
      {32301, 32360, 32300, "WGS_1972_UTM_Zone_%dS", 4322, 9001, false, false, 500000, 1e7, 0.9996},
      {26701, 26722, 26700, "NAD_1927_UTM_Zone_%dN", 4267, 9001, false, false, 500000, 0, 0.9996},
      {26901, 26923, 26900, "NAD_1983_UTM_Zone_%dN", 4269, 9001, false, false, 500000, 0, 0.9996},
      {25828, 25838, 25800, "ETRS_1989_UTM_Zone_%dN", 4258, 9001, false, false, 500000, 0, 0.9996},
      {23028, 23038, 23000, "ED_1950_UTM_Zone_%dN", 4230, 9001, false, false, 500000, 0, 0.9996},
      {32064, 32067, 32050, "NAD_1927_BLM_Zone_%dN", 4267, 9003, false, false, 1640416.67, 0,
       0.9996},
      {28404, 28432, 28400, "Pulkovo_1942_GK_Zone_%d", 4284, 9001, true, true, 500000, 0, 1.0},
      {21413, 21423, 21400, "Beijing_1954_GK_Zone_%d", 4214, 9001, true, true, 500000, 0, 1.0},
  };
  for (const Expect &x : blocks) {
    for (int code = x.first; code <= x.last; ++code) {
      cat::ZoneEntry e;
      ASSERT_TRUE(cat::zone_entry(code, &e)) << code;
      const int zone = code - x.base;
      int cm = x.gauss_kruger ? 6 * zone - 3 : 6 * zone - 183;
      if (cm > 180) cm -= 360;
      char name[64];
      std::snprintf(name, sizeof name, x.format, zone);
      EXPECT_STREQ(e.name, name);
      EXPECT_EQ(e.projection, 43006);
      EXPECT_EQ(e.geogcs, x.geogcs);
      EXPECT_EQ(e.unit, x.unit);
      auto p = entry_params(e);
      EXPECT_EQ(p.size(), 5u);
      EXPECT_EQ(p[kCm], cm) << code;
      EXPECT_EQ(p[kLat0], 0.0);
      EXPECT_EQ(p[kScale], x.scale);
      EXPECT_EQ(p[kFe], x.fe + (x.zone_easting ? zone * 1e6 : 0.0)) << code;
      EXPECT_EQ(p[kFn], x.fn);
    }
    // The block ends where stated: its neighbours are no zone of it.
    EXPECT_NE(cat::find_zone_block(x.first - 1), cat::find_zone_block(x.first)) << x.first;
    EXPECT_NE(cat::find_zone_block(x.last + 1), cat::find_zone_block(x.last)) << x.last;
  }
  cat::ZoneEntry e;
  ASSERT_TRUE(cat::zone_entry(32633, &e));
  EXPECT_STREQ(e.name, "WGS_1984_UTM_Zone_33N");
  EXPECT_EQ(entry_params(e)[kCm], 15.0);
  ASSERT_TRUE(cat::zone_entry(32733, &e));
  EXPECT_STREQ(e.name, "WGS_1984_UTM_Zone_33S");
  EXPECT_EQ(entry_params(e)[kFn], 10000000.0);
  ASSERT_TRUE(cat::zone_entry(28431, &e));  // past 180 degrees east
  EXPECT_EQ(entry_params(e)[kCm], -177.0);
  EXPECT_EQ(entry_params(e)[kFe], 31500000.0);
  ASSERT_TRUE(cat::zone_entry(2521, &e));
  EXPECT_STREQ(e.name, "Pulkovo_1942_GK_CM_177W");
  // The polar stereographic neighbours and the codes between blocks are not zones.
  for (int code : {32600, 32661, 32700, 32761, 26723, 28403, 28433, 5000, 0, -1}) {
    EXPECT_FALSE(cat::zone_entry(code, &e)) << code;
    EXPECT_EQ(kx_factory_projcs_utm(code), nullptr) << code;
  }
}

// Each table entry belongs to exactly one family; family tables are sorted
// and point at their own rows; names follow each family's rule.
TEST(ProjcsFamilies, FamiliesPartitionTheTable) {
  std::map<std::string, int> sizes;
  for (std::size_t i = 0; i < cat::kProjcs.count; ++i) {
    const int code = cat::kProjcs.rows[i].code;
    int owners = 0;
    for (const Family &f : kFamilies) {
      if (!owns(f, code)) continue;
      ++owners;
      ++sizes[f.name];
      if (f.table != nullptr) {
        const cat::FamilyRow *m = cat::find_code(*f.table, code);
        EXPECT_EQ(m->row, static_cast<int>(i)) << code;
      }
      const std::string name = cat::kProjcs.rows[i].name;
      const std::string family = f.name;
      const bool spcs27 = name.rfind("NAD_1927_StatePlane_", 0) == 0;
      const bool harn = name.rfind("NAD_1983_HARN_StatePlane_", 0) == 0;
      const bool spcs83 = name.rfind("NAD_1983_StatePlane_", 0) == 0;
      const bool feet = name.find("_Feet") != std::string::npos;
      EXPECT_EQ(family == "spcs27", spcs27) << code << " " << name;
      EXPECT_EQ(family == "spcs83_harn", harn) << code << " " << name;
      EXPECT_EQ(family == "spcs83", spcs83 && !feet) << code << " " << name;
      EXPECT_EQ(family == "spcs83_feet", spcs83 && feet) << code << " " << name;
    }
    EXPECT_EQ(owners, 1) << code;
  }
  std::size_t total = 0;
  for (const Family &f : kFamilies) {
    if (f.table == nullptr) continue;
    total += f.table->count;
    EXPECT_EQ(static_cast<std::size_t>(sizes[f.name]), f.table->count) << f.name;
    for (std::size_t i = 1; i < f.table->count; ++i) {
      EXPECT_LT(f.table->rows[i - 1].code, f.table->rows[i].code) << f.name;
    }
  }
  EXPECT_EQ(total + static_cast<std::size_t>(sizes["utm"]), cat::kProjcs.count);
  EXPECT_GT(sizes["utm"], 600);
  EXPECT_GT(sizes["spcs27"], 100);
  EXPECT_GT(sizes["spcs83"], 100);
  EXPECT_GT(sizes["spcs83_feet"], 100);
  EXPECT_GT(sizes["spcs83_harn"], 200);
  EXPECT_EQ(sizes["minnesota_counties"], 0);  // no county systems in data/ yet
  EXPECT_EQ(sizes["wisconsin_counties"], 0);
  std::printf("families:");
  for (const Family &f : kFamilies) std::printf(" %s %d", f.name, sizes[f.name]);
  std::printf("\n");

  // The telling NAD 1983 state-plane row is served by its family.
  ASSERT_NE(cat::find_code(cat::kProjcsFamily_spcs83, 26971), nullptr);
  const cat::ProjcsRow &row = cat::kProjcs.rows[cat::find_code(cat::kProjcsFamily_spcs83, 26971)->row];
  EXPECT_STREQ(row.name, "NAD_1983_StatePlane_Illinois_East_FIPS_1201");
  EXPECT_EQ(row.projection, 43006);
  EXPECT_EQ(row.geogcs, 4269);
  EXPECT_EQ(row.unit, 9001);
  auto p = row_params(row);
  EXPECT_EQ(p[kCm], -88.33333333333333);
  EXPECT_EQ(p[kLat0], 36.666666666666664);
  EXPECT_EQ(p[kScale], 0.999975);
  EXPECT_EQ(p[kFe], 300000.0);
  EXPECT_EQ(p[kFn], 0.0);
  EXPECT_NE(cat::find_code(cat::kProjcsFamily_spcs27, 26771), nullptr);
  EXPECT_NE(cat::find_code(cat::kProjcsFamily_spcs83_feet, 2257), nullptr);
  EXPECT_NE(cat::find_code(cat::kProjcsFamily_spcs83_harn, 2830), nullptr);
  EXPECT_NE(cat::find_code(cat::kProjcsFamily_misc, 27700), nullptr);
}

// For every code of the projected CS ranges, kx_factory_projcs_normal and the
// owning family give the table's entry (or both nothing), no other family
// answers, and kx_factory_projcs keeps its statuses.
TEST(ProjcsFamilies, NormalEqualsTableForEveryCode) {
  const int ranges[][2] = {{2000, 3999}, {20000, 32799}, {53000, 65799}, {102000, 103999},
                           {202000, 203999}};
  int built = 0, rows = 0;
  for (const auto &range : ranges) {
    for (int code = range[0]; code <= range[1]; ++code) {
      const cat::ProjcsRow *row = cat::find_code(cat::kProjcs, code);
      Projcs got(kx_factory_projcs_normal(code));
      if (row == nullptr) {
        EXPECT_EQ(got, nullptr) << code;
        for (const Family &f : kFamilies) EXPECT_FALSE(owns(f, code)) << code;
        continue;
      }
      ++rows;
      Projcs want(build_row(*row));
      ASSERT_EQ(got == nullptr, want == nullptr) << code;
      for (const Family &f : kFamilies) {
        Projcs one(f.factory(code));
        if (!owns(f, code)) {
          EXPECT_EQ(one, nullptr) << code << " " << f.name;
        } else if (want != nullptr) {
          ASSERT_NE(one, nullptr) << code << " " << f.name;
          EXPECT_EQ(kx_projcs_eq(one.get(), want.get()), 1) << code;
        }
      }
      if (got == nullptr) continue;
      ++built;
      char a[64], b[64];
      kx_projcs_name(got.get(), a);
      kx_projcs_name(want.get(), b);
      EXPECT_STREQ(a, b) << code;
      EXPECT_EQ(kx_projcs_eq(got.get(), want.get()), 1) << code;
      EXPECT_EQ(kx_projcs_status(got.get()), 1) << code;
      Projcs full(kx_factory_projcs(code));
      ASSERT_NE(full, nullptr) << code;
      EXPECT_EQ(kx_projcs_status(full.get()), 4) << code;
    }
  }
  EXPECT_EQ(static_cast<std::size_t>(rows), cat::kProjcs.count);
  std::printf("projected CS codes with an entry: %d, built (projection in the library): %d\n",
              rows, built);
}

// The builder's code-to-slot map agrees with the parameter objects' slots.
TEST(ProjcsFamilies, ParameterSlotsAgree) {
  for (int code = 100000; code <= 100099; ++code) {
    kx_parameter p = kx_factory_parameter(code);
    if (p == nullptr) continue;
    EXPECT_EQ(cat::parameter_slot_of(code, p), kx_parameter_index(p)) << code;
    kx_parameter_del(p);
  }
}
