// Predefined listings: every kind against its code list and factory, the
// sort order, user definitions listed and deprecated aliases left out, the
// table functions on their own, and the time each listing takes (printed).
#include <gtest/gtest.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue_test_util.h"
#include "objedit_home.h"

using namespace cattest;

namespace {

using Listing = kx_predefined *(*)(int *);
using Codelist = int *(*)(int *);

struct Kind {
  const char *what;
  Listing listing;
  Codelist codelist;
  // Name and status of the factory's object, false when it builds nothing.
  std::function<bool(int, std::string *, int *)> build;
};

template <typename Obj>
std::function<bool(int, std::string *, int *)> builder(Obj (*make)(int), void (*name)(Obj, char *),
                                                       uint8_t (*status)(Obj), void (*del)(Obj)) {
  return [=](int code, std::string *out, int *st) {
    Obj obj = make(code);
    if (obj == nullptr) return false;
    char buffer[64] = {0};
    name(obj, buffer);
    *out = buffer;
    *st = status(obj);
    del(obj);
    return true;
  };
}

const std::vector<Kind> &kinds() {
  static const std::vector<Kind> k = {
      {"spheroid", kx_predefined_spheroid, kx_factory_spheroid_codelist,
       builder(kx_factory_spheroid, kx_spheroid_name, kx_spheroid_status, kx_spheroid_del)},
      {"primem", kx_predefined_primem, kx_factory_primem_codelist,
       builder(kx_factory_primem, kx_primem_name, kx_primem_status, kx_primem_del)},
      {"angular unit", kx_predefined_angular_unit, kx_factory_angular_unit_codelist,
       builder(kx_factory_unit, kx_unit_name, kx_unit_status, kx_unit_del)},
      {"linear unit", kx_predefined_linear_unit, kx_factory_linear_unit_codelist,
       builder(kx_factory_unit, kx_unit_name, kx_unit_status, kx_unit_del)},
      {"datum", kx_predefined_datum, kx_factory_datum_codelist,
       builder(kx_factory_datum, kx_datum_name, kx_datum_status, kx_datum_del)},
      {"projection", kx_predefined_projection, kx_factory_projection_codelist,
       builder(kx_factory_projection, kx_projection_name, kx_projection_status, kx_projection_del)},
      {"method", kx_predefined_method, kx_factory_method_codelist,
       builder(kx_factory_method, kx_method_name, kx_method_status, kx_method_del)},
      {"parameter", kx_predefined_parameter, kx_factory_parameter_codelist,
       builder(kx_factory_parameter, kx_parameter_name, kx_parameter_status, kx_parameter_del)},
      {"geogcs", kx_predefined_geogcs, kx_factory_geogcs_codelist,
       builder(kx_factory_geogcs, kx_geogcs_name, kx_geogcs_status, kx_geogcs_del)},
      {"projcs", kx_predefined_projcs, kx_factory_projcs_codelist,
       builder(kx_factory_projcs, kx_projcs_name, kx_projcs_status, kx_projcs_del)},
      {"geogtran", kx_predefined_geogtran, kx_factory_geogtran_codelist,
       builder(kx_factory_geogtran, kx_geogtran_name, kx_geogtran_status, kx_geogtran_del)},
  };
  return k;
}

std::vector<kx_predefined> timed(const Kind &kind, const char *label) {
  int count = -1;
  // Wall time and the thread's CPU time: the second is steadier on a loaded machine.
  timespec c0{}, c1{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
  const auto t0 = std::chrono::steady_clock::now();
  kx_predefined *table = kind.listing(&count);
  const auto t1 = std::chrono::steady_clock::now();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
  const double cpu = (c1.tv_sec - c0.tv_sec) * 1e3 + (c1.tv_nsec - c0.tv_nsec) / 1e6;
  std::printf("[ timing   ] %-12s listing %s: %5d records in %8.2f ms (%8.2f ms CPU)\n",
              kind.what, label, count, std::chrono::duration<double, std::milli>(t1 - t0).count(),
              cpu);
  std::vector<kx_predefined> out;
  if (table != nullptr) out.assign(table, table + count);
  kx_table_del(table);
  return out;
}

std::set<int> codelist(const Kind &kind) {
  int n = 0;
  int *list = kind.codelist(&n);
  std::set<int> codes(list, list + n);
  kx_factory_codelist_del(list);
  return codes;
}

void expect_sorted(const std::vector<kx_predefined> &t, const char *what) {
  for (std::size_t i = 1; i < t.size(); ++i) {
    const int c = kx_strcmp_ci(t[i - 1].name, t[i].name);
    EXPECT_TRUE(c < 0 || (c == 0 && t[i - 1].code < t[i].code))
        << what << ": " << t[i - 1].name << " before " << t[i].name;
  }
}

// Each record names what the factory builds for its code, with a status below 9.
void expect_factory_agrees(const Kind &kind, const std::vector<kx_predefined> &t) {
  for (const kx_predefined &r : t) {
    std::string name;
    int status = 0;
    ASSERT_TRUE(kind.build(r.code, &name, &status)) << kind.what << " " << r.code;
    EXPECT_EQ(name, r.name) << kind.what << " " << r.code;
    EXPECT_LT(status, 9) << kind.what << " " << r.code;
  }
}

}  // namespace

TEST(Predefined, EveryKindAgainstItsCodeList) {
  unsetenv("KXOBJEDITHOME");
  kx_objedithome_setfunc(nullptr);
  for (const Kind &kind : kinds()) {
    const std::vector<kx_predefined> t = timed(kind, "built-in only");
    ASSERT_FALSE(t.empty()) << kind.what;
    expect_sorted(t, kind.what);
    expect_factory_agrees(kind, t);
    // The listing holds exactly the code-list codes that build as current entries.
    std::set<int> listed;
    for (const kx_predefined &r : t) EXPECT_TRUE(listed.insert(r.code).second) << r.code;
    std::set<int> expected;
    for (int code : codelist(kind)) {
      std::string name;
      int status = 0;
      if (kind.build(code, &name, &status) && status < 9) expected.insert(code);
    }
    EXPECT_EQ(listed, expected) << kind.what;
    std::printf("[ counts   ] %-12s %zu listed of %zu code-list codes\n", kind.what, listed.size(),
                codelist(kind).size());
  }
}

TEST(Predefined, EdgeCases) {
  unsetenv("KXOBJEDITHOME");
  int count = -1;
  kx_predefined *pm = kx_predefined_primem(&count);
  ASSERT_NE(pm, nullptr);
  // Every prime meridian of the catalogue; that is 15 with Paris_RGS (8914),
  // which the generated tables carry beyond the 14 documented names.
  int names = 0;
  kx_factory_codelist_del(kx_factory_primem_codelist(&names));
  EXPECT_EQ(count, names);
  EXPECT_GE(count, 14);
  EXPECT_STREQ(pm[0].name, "Athens");
  EXPECT_EQ(pm[0].code, 8912);
  kx_table_del(pm);

  EXPECT_EQ(kx_predefined_datum(nullptr), nullptr);
  EXPECT_EQ(kx_predefined_projcs(nullptr), nullptr);

  ObjeditHome home;
  home.write("datum", "DATUM, 206001, D_User_Listed, 7030\n");
  kx_predefined *datums = kx_predefined_datum(&count);
  ASSERT_NE(datums, nullptr);
  bool user = false;
  bool deprecated = false;
  for (int i = 0; i < count; ++i) {
    if (datums[i].code == 206001) {
      user = true;
      EXPECT_STREQ(datums[i].name, "D_User_Listed");
    }
    if (datums[i].code == 106201) deprecated = true;
  }
  EXPECT_TRUE(user);
  EXPECT_FALSE(deprecated);
  kx_table_del(datums);
}

TEST(Predefined, UserDefinitionsOfEveryKind) {
  ObjeditHome home;
  home.write("spheroid", "SPHEROID, 207001, User_Spheroid, 6378000, 299\n");
  home.write("primem", "PRIMEM, 208901, AAA_User_Meridian, 10\n");
  home.write("unit", "UNIT, 209001, User_Rod, 5.0292\nUNIT, 209101, User_Half_Degree, 0.0087\n");
  home.write("datum",
             "DATUM, 206001, D_User, 207001\n"
             // A user line for a deprecated code is a user definition (status 8).
             "DATUM, 106201, D_User_Over_Deprecated, 7030\n"
             "DATUM, KX_D_WGS_1984, D_User_WGS, 7030\n");
  home.write("geogcs", "GEOGCS, 204001, GCS_User, 206001, 208901, 209101\n");
  home.write("projcs",
             "PROJCS, 202001, User_Projcs, 204001, 43021, 100001, 1, 209001\n"
             "PROJCS, 202002, User_Broken, 204001, 43021, 100001, 1\n");
  home.write("geogtran",
             "GEOGTRAN, 208001, User_Geogtran, 204001, 4326, 9603,"
             " 100040, 1, 100041, 2, 100042, 3\n");
  struct Want {
    const char *what;
    int code;
    const char *name;
  };
  const Want wants[] = {
      {"spheroid", 207001, "User_Spheroid"}, {"primem", 208901, "AAA_User_Meridian"},
      {"linear unit", 209001, "User_Rod"},   {"angular unit", 209101, "User_Half_Degree"},
      {"datum", 206001, "D_User"},           {"datum", 106201, "D_User_Over_Deprecated"},
      {"datum", 6326, "D_User_WGS"},         {"geogcs", 204001, "GCS_User"},
      {"projcs", 202001, "User_Projcs"},     {"geogtran", 208001, "User_Geogtran"},
  };
  for (const Kind &kind : kinds()) {
    const std::vector<kx_predefined> t = timed(kind, "with user files");
    expect_sorted(t, kind.what);
    expect_factory_agrees(kind, t);
    for (const Want &w : wants) {
      if (std::strcmp(w.what, kind.what) != 0) continue;
      bool found = false;
      for (const kx_predefined &r : t) {
        if (r.code != w.code) continue;
        found = true;
        EXPECT_STREQ(r.name, w.name);
      }
      EXPECT_TRUE(found) << w.what << " " << w.code;
    }
    for (const kx_predefined &r : t) EXPECT_NE(r.code, 202002);
    if (std::strcmp(kind.what, "primem") == 0) {
      int names = 0;
      kx_factory_codelist_del(kx_factory_primem_codelist(&names));
      ASSERT_EQ(t.size(), static_cast<std::size_t>(names) + 1);
      EXPECT_STREQ(t[0].name, "AAA_User_Meridian");
    }
  }
}

TEST(Predefined, TableCreate) {
  int count = -1;
  EXPECT_EQ(kx_table_create(nullptr, &count), nullptr);
  EXPECT_EQ(count, 0);
  kx_table_del(nullptr);

  kx_seq empty = kx_create_seq(4, static_cast<int>(sizeof(kx_predefined)));
  count = -1;
  EXPECT_EQ(kx_table_create(empty, &count), nullptr);
  EXPECT_EQ(count, 0);

  kx_seq wrong = kx_create_seq(4, 8);
  const double element = 1.0;
  kx_seq_apptail(wrong, &element);
  EXPECT_EQ(kx_table_create(wrong, &count), nullptr);

  kx_seq no_count = kx_create_seq(4, static_cast<int>(sizeof(kx_predefined)));
  kx_predefined r{};
  r.code = 1;
  kx_seq_apptail(no_count, &r);
  EXPECT_EQ(kx_table_create(no_count, nullptr), nullptr);

  // Sorted by name ignoring case, equal names by code; grows past the capacity.
  kx_seq seq = kx_create_seq(2, static_cast<int>(sizeof(kx_predefined)));
  const struct {
    int code;
    const char *name;
  } rows[] = {{5, "beta"}, {3, "Alpha"}, {9, "ALPHA"}, {1, "alpha"}, {2, "Gamma"}, {4, "a"}};
  for (const auto &row : rows) {
    kx_predefined rec{};
    rec.code = row.code;
    std::strcpy(rec.name, row.name);
    ASSERT_EQ(kx_seq_apptail(seq, &rec), 1);
  }
  kx_predefined *table = kx_table_create(seq, &count);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(count, 6);
  const int order[] = {4, 1, 3, 9, 5, 2};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(table[i].code, order[i]) << i;
  kx_table_del(table);
}

namespace {

struct RangeSet {
  const char *what;
  std::vector<std::pair<int, int>> ranges;
};

}  // namespace

TEST(Predefined, SameAsBuildingEveryCode) {
  // The listings pass deprecated codes to the built-in factory alone; the
  // result must equal building every code with the full factory. A user line
  // for a deprecated code and a failing user line for a built-in code included.
  ObjeditHome home;
  home.write("datum",
             "DATUM, 106204, D_User_Over_Alias, 7030\n"
             "DATUM, 106211, D_Failing_User_Line, 7999\n"
             "DATUM, 6326, D_Failing_Over_Built_In, 7999\n");
  home.write("geogcs", "GEOGCS, 104104, GCS_User_Over_Alias, 6326, 8901, 9102\n");
  const RangeSet sets[] = {
      {"datum", {{6000, 6999}, {106000, 106999}, {206000, 206999}}},
      {"geogcs", {{4000, 4999}, {37000, 37999}, {104000, 104999}, {204000, 204999}}},
      {"projcs",
       {{2000, 3999}, {20000, 32799}, {53000, 65799}, {102000, 103999}, {202000, 203999}}},
      {"geogtran", {{1000, 1999}, {8000, 8899}, {108000, 108899}, {208000, 208899}}},
  };
  for (const RangeSet &set : sets) {
    const Kind *kind = nullptr;
    for (const Kind &k : kinds()) {
      if (std::strcmp(k.what, set.what) == 0) kind = &k;
    }
    ASSERT_NE(kind, nullptr);
    std::map<int, std::string> expected;
    for (const auto &r : set.ranges) {
      for (int code = r.first; code <= r.second; ++code) {
        std::string name;
        int status = 0;
        if (kind->build(code, &name, &status) && status < 9) expected[code] = name;
      }
    }
    int count = 0;
    kx_predefined *table = kind->listing(&count);
    std::map<int, std::string> listed;
    for (int i = 0; i < count; ++i) listed[table[i].code] = table[i].name;
    kx_table_del(table);
    EXPECT_EQ(listed, expected) << set.what;
    if (std::strcmp(set.what, "datum") == 0) {
      EXPECT_EQ(listed[106204], "D_User_Over_Alias");
      EXPECT_EQ(listed.count(106211), 0u);
      EXPECT_EQ(listed[6326], "D_WGS_1984");
    }
    if (std::strcmp(set.what, "geogcs") == 0) {
      EXPECT_EQ(listed[104104], "GCS_User_Over_Alias");
    }
  }
}
