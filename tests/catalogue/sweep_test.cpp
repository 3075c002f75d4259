// Sweeps of the whole catalogue: every entry, deprecated code, name table,
// code list, registry row, projected CS code and listing; user lines that
// rebuild every built-in entry.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "catalogue/catalogue_tables.h"
#include "catalogue/objedit_reader.h"
#include "catalogue/projcs_families.h"
#include "catalogue_util.h"
#include "objects/registry.h"
#include "support/cases.h"

using namespace cattest;
namespace cat = kx::catalogue;

namespace {

// Every row builds under its name with status 4; the reverse lookup finds
// its code, or (not for units) an earlier code of an equal entry.
template <typename R>
void every_row(const cat::Table<R> &t, const char *factory, bool exact) {
  for (std::size_t i = 0; i < t.count; ++i) {
    const int code = t.rows[i].code;
    const Obj o = build(factory, code);
    ASSERT_TRUE(o) << code;
    EXPECT_EQ(o.field("name") + o.field("status"), t.rows[i].name + std::string("4"));
    const int found = std::stoi(o.field("code"));
    EXPECT_TRUE(found == code || (!exact && found > 0 && found < code && o.field("eq/" + std::to_string(found)) == "1"))
        << code << " found as " << found;
  }
}

std::size_t words(const std::string &s) {
  std::istringstream in(s);
  return std::distance(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>());
}

std::map<std::string, std::vector<std::pair<int, int>>> code_ranges() {
  std::map<std::string, std::vector<std::pair<int, int>>> r;
  for (const auto &row : kxtest::read_csv(kxtest::data_path("catalogue/code_ranges.csv"))) {
    r[row[0]].emplace_back(std::stoi(row[1]), std::stoi(row[2]));
  }
  return r;
}

}  // namespace

TEST(CatalogueSweep, EveryEntryAndDeprecatedCode) {
  every_row(cat::kUnits, "unit", true);
  every_row(cat::kSpheroids, "spheroid", false);
  every_row(cat::kPrimems, "primem", false);
  every_row(cat::kDatums, "datum", false);
  every_row(cat::kGeogcs, "geogcs", false);
  EXPECT_EQ(cat::kDeprecatedDatums.count + 100 * cat::kDeprecatedGeogcs.count, 10u + 1100u);
  const std::pair<const cat::Table<cat::CodeMap> *, std::string> maps[] = {
      {&cat::kDeprecatedDatums, "datum"}, {&cat::kDeprecatedGeogcs, "geogcs"},
      {&cat::kDeprecatedProjcs, "projcs"}, {&cat::kDeprecatedGeogtran, "geogtran"}};
  for (const auto &[t, kind] : maps) {
    for (const cat::CodeMap &d : std::vector<cat::CodeMap>(t->rows, t->rows + t->count)) {
      if (!build(kind, d.current)) continue;  // projection not in the library
      const Obj old = build(kind, d.code);
      EXPECT_EQ(old.field("status") + old.field("eq/" + std::to_string(d.current)) + " " + old.field("code"),
                "161 " + std::to_string(d.current)) << d.code;
      EXPECT_FALSE(build(kind + "_normal", d.code) || !build(kind + "_depracated", d.code) ||
                   build(kind + "_depracated", d.current)) << d.code;
    }
  }
}

// Name tables, code lists, kx_defstring_to_int and the header kx_def.h agree.
TEST(CatalogueSweep, NameTablesCodeListsAndHeader) {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/../../include/kx_def.h");
  const std::regex define("^#define (KX_[A-Z0-9_]+) (-?[0-9]+)$");
  std::map<std::string, int> header;
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (!std::regex_match(line, m, define)) continue;
    EXPECT_TRUE(header.emplace(m[1].str(), std::stoi(m[2].str())).second) << m[1];
    EXPECT_EQ(kx_defstring_to_int(m[1].str().c_str()), std::stoi(m[2].str())) << m[1];
  }
  const struct { const cat::Table<cat::NameRow> *t; const char *prefix; int *(*list)(int *); const char *factory; } tables[] = {
      {&cat::kSpheroidNames, "KX_S_", kx_factory_spheroid_codelist, "spheroid"},
      {&cat::kGeogcsNames, "KX_GCS_", kx_factory_geogcs_codelist, "geogcs"},
      {&cat::kDatumNames, "KX_D_", kx_factory_datum_codelist, "datum"},
      {&cat::kPrimemNames, "KX_PM_", kx_factory_primem_codelist, "primem"},
      {&cat::kUnitNames, "KX_U_", nullptr, "unit"},
      {&cat::kMethodNames, "KX_MTH_", kx_factory_method_codelist, "method"},
      {&cat::kParameterNames, "KX_PAR_", kx_factory_parameter_codelist, "parameter"},
      {&cat::kProjectionNames, "KX_PRJ_", kx_factory_projection_codelist, nullptr},
      {&cat::kProjcsNames, "KX_PCS_", kx_factory_projcs_codelist, nullptr},
      {&cat::kGeogtranNames, "KX_GT_", kx_factory_geogtran_codelist, nullptr}};
  std::size_t rows = 0;
  for (const auto &t : tables) {
    int n = -1;
    int *list = t.list != nullptr ? t.list(&n) : nullptr;
    EXPECT_TRUE(t.list == nullptr || (static_cast<std::size_t>(n) == t.t->count && t.list(nullptr) == nullptr)) << t.prefix;
    std::set<int> codes;
    for (std::size_t i = 0; i < t.t->count; ++i) {
      const cat::NameRow &row = t.t->rows[i];
      EXPECT_EQ(std::string(row.name).rfind(t.prefix, 0), 0u) << row.name;
      EXPECT_TRUE(i == 0 || std::strcmp(t.t->rows[i - 1].name, row.name) < 0) << row.name;
      EXPECT_EQ(cat::find_name(*t.t, row.name), &row);
      EXPECT_EQ(header[row.name], row.code) << row.name;
      EXPECT_TRUE(list == nullptr || static_cast<std::size_t>(n) != t.t->count || list[i] == row.code) << row.name;
      EXPECT_TRUE(t.factory == nullptr || build(t.factory, row.code)) << row.name;
      codes.insert(row.code);
    }
    EXPECT_EQ(codes.size(), t.t->count) << t.prefix;
    rows += t.t->count;
    kx_factory_codelist_del(list);
  }
  EXPECT_EQ(header.size(), rows);
  kx_factory_codelist_del(nullptr);
  // The documented lists: counts, first code, units by range.
  const struct { int *(*list)(int *); int count, first, lo, hi; } counts[] = {
      {kx_factory_primem_codelist, 15, 8912, 0, 0}, {kx_factory_method_codelist, 11, 109607, 0, 0},
      {kx_factory_projection_codelist, 58, 43043, 0, 0}, {kx_factory_linear_unit_codelist, 45, 0, 9000, 9099},
      {kx_factory_angular_unit_codelist, 10, 0, 9100, 9199}};
  for (const auto &c : counts) {
    int n = 0;
    int *list = c.list(&n);
    EXPECT_TRUE(n == c.count && (c.first == 0 || list[0] == c.first)) << c.count;
    for (int i = 0; i < n && c.lo != 0; ++i) {
      EXPECT_TRUE(list[i] % 100000 >= c.lo && list[i] % 100000 <= c.hi && build("unit", list[i])) << list[i];
    }
    kx_factory_codelist_del(list);
  }
  for (const auto &row : kxtest::read_csv(kxtest::data_path("catalogue/defstrings.csv"))) {
    EXPECT_EQ(kx_defstring_to_int(row[0].c_str()), std::stoi(row[1])) << row[0];
  }
  EXPECT_EQ(kx_defstring_to_int(nullptr), 0);
  EXPECT_EQ(kx_defstring_to_int(("KX_GCS_" + std::string(5000, 'A')).c_str()), 0);
}

// Registry rows with functions build with status 4, find their code again and
// fill the documented default slots; the others give null.
TEST(CatalogueSweep, RegistryRowsAndDefaultGroups) {
  std::map<int, std::string> want;
  for (const auto &row : kxtest::read_csv(kxtest::data_path("catalogue/default_slots.csv"))) {
    want[std::stoi(row[1])] = row.size() > 2 ? row[2] : "";
  }
  ASSERT_EQ(want.size(), 58u + 11u);
  int count = 0;
  std::vector<std::pair<int, bool>> codes;  // code, has functions
  const kx::ProjectionRow *prj = kx::projection_rows(&count);
  for (int i = 0; i < count; ++i) {
    if (prj[i].code != 0) codes.emplace_back(prj[i].code, prj[i].forward != nullptr);
  }
  const kx::MethodRow *mth = kx::method_rows(&count);
  for (int i = 0; i < count; ++i) codes.emplace_back(mth[i].code, mth[i].forward != nullptr);
  kx_parameter slots[16];
  for (const auto &[code, bound] : codes) {
    const Obj o = build("any", code);
    ASSERT_EQ(static_cast<bool>(o), bound) << code;
    if (!o) continue;
    EXPECT_EQ(o.field("kind") + o.field("status") + o.field("code"),
              (code > 43000 && code < 53000 ? "projection4" : "method4") + std::to_string(code));
    for (auto &s : slots) s = reinterpret_cast<kx_parameter>(&count);
    const int n = o.kind == Kind::Projection ? kx_parameter_projection_defaults(static_cast<kx_projection>(o.p), slots)
                                             : kx_parameter_method_defaults(static_cast<kx_method>(o.p), slots);
    std::string filled;
    for (int s = 0; s < 16; ++s) {
      if (slots[s] == nullptr) continue;
      filled += (filled.empty() ? "" : " ") + std::to_string(s);
      const Obj p(Kind::Parameter, slots[s]);
      EXPECT_EQ(p.field("index") + p.field("status"), std::to_string(s) + "4");
      EXPECT_TRUE(code != 9613 || p.field("name") == "Dataset_");
    }
    EXPECT_EQ(filled, want.at(code)) << code;
    EXPECT_EQ(static_cast<std::size_t>(n), words(filled)) << code;
  }
  const Obj u = build("unit", 9001);  // a handle of another kind is none
  EXPECT_EQ(kx_parameter_projection_defaults(nullptr, slots) + kx_parameter_method_defaults(nullptr, slots) +
                kx_parameter_projection_defaults(nullptr, nullptr) +
                kx_parameter_method_defaults(static_cast<kx_method>(u.p), slots) +
                kx_parameter_projection_defaults(static_cast<kx_projection>(u.p), slots), 0);
  for (auto *s : slots) EXPECT_EQ(s, nullptr);
  int parameters = 0;
  for (int code = 100000; code <= 100099; ++code) {
    const Obj p = build("parameter", code);
    if (!p) continue;
    ++parameters;  // the builder's code-to-slot map agrees with the objects
    EXPECT_EQ(cat::parameter_slot_of(code, static_cast<kx_parameter>(p.p)), std::stoi(p.field("index")));
  }
  EXPECT_EQ(parameters, 33);
}

// Every code of the projected CS ranges: exactly one family owns each entry
// (by its name's rule), every family agrees with the entry built from its
// table row, kx_factory_projcs_normal gives it with status 1 and
// kx_factory_projcs with 4 when its projection is in the library.
TEST(CatalogueSweep, EveryProjectedCsCode) {
  const struct { std::string name; kx_projcs (*factory)(int); const cat::Table<cat::FamilyRow> *table; } families[] = {
      {"misc", kx_factory_projcs_misc, &cat::kProjcsFamily_misc},
      {"utm", kx_factory_projcs_utm, nullptr},  // the computed zone blocks
      {"spcs27", kx_factory_projcs_spcs27, &cat::kProjcsFamily_spcs27},
      {"spcs83", kx_factory_projcs_spcs83, &cat::kProjcsFamily_spcs83},
      {"spcs83_feet", kx_factory_projcs_spcs83_feet, &cat::kProjcsFamily_spcs83_feet},
      {"spcs83_harn", kx_factory_projcs_spcs83_harn, &cat::kProjcsFamily_spcs83_harn},
      {"minnesota_counties", kx_factory_projcs_minnesota_counties, &cat::kProjcsFamily_minnesota_counties},
      {"wisconsin_counties", kx_factory_projcs_wisconsin_counties, &cat::kProjcsFamily_wisconsin_counties}};
  std::map<std::string, std::size_t> sizes;
  std::size_t rows = 0;
  const auto ranges = code_ranges();
  for (const auto &[lo, hi] : ranges.at("projcs")) {
    for (int code = lo; code <= hi; ++code) {
      const cat::ProjcsRow *row = cat::find_code(cat::kProjcs, code);
      cat::ZoneEntry zone;
      int owners = 0;
      const Obj want(Kind::Projcs, row == nullptr ? nullptr : cat::build_projcs(row->name, row->projection, row->geogcs, row->unit, cat::kProjcsParams.rows + row->first, row->count));
      for (const auto &f : families) {
        const cat::FamilyRow *member = f.table != nullptr ? cat::find_code(*f.table, code) : nullptr;
        const bool owns = f.table == nullptr ? cat::zone_entry(code, &zone) : member != nullptr;
        const Obj one(Kind::Projcs, f.factory(code));
        EXPECT_TRUE(owns ? (!want || kx_projcs_eq(static_cast<kx_projcs>(one.p), static_cast<kx_projcs>(want.p)) == 1) : !one) << code << " " << f.name;
        if (!owns) continue;
        ++owners;
        ++sizes[f.name];
        EXPECT_TRUE(member == nullptr || member->row == row - cat::kProjcs.rows) << code;
        const std::string name = row->name;
        const bool nad83 = name.rfind("NAD_1983_StatePlane_", 0) == 0, feet = name.find("_Feet") != std::string::npos;
        EXPECT_EQ(f.name == "spcs27", name.rfind("NAD_1927_StatePlane_", 0) == 0) << name;
        EXPECT_EQ(f.name == "spcs83_harn", name.rfind("NAD_1983_HARN_StatePlane_", 0) == 0) << name;
        EXPECT_EQ(f.name == "spcs83" || f.name == "spcs83_feet", nad83) << name;
        EXPECT_TRUE(!nad83 || (f.name == "spcs83_feet") == feet) << name;
      }
      EXPECT_EQ(owners, row == nullptr ? 0 : 1) << code;
      const Obj got = build("projcs_normal", code);
      if (row == nullptr || !got) {
        EXPECT_EQ(static_cast<bool>(got), row != nullptr && build("projection", row->projection)) << code;
        rows += row != nullptr;
        continue;
      }
      ++rows;
      EXPECT_EQ(got.field("name") + got.field("eq/" + std::to_string(code)) + got.field("status"), row->name + std::string("11"));
      EXPECT_EQ(words(got.field("slots")), static_cast<std::size_t>(row->count)) << code;
      const Obj full = build("projcs", code);
      EXPECT_EQ(full.field("status") + full.field("geogcs.status"), "44") << code;
      EXPECT_TRUE(rows % 7 != 0 || full.field("code") == std::to_string(code)) << code;
    }
  }
  EXPECT_EQ(rows, cat::kProjcs.count);
  std::size_t in_tables = 0;
  for (const auto &f : families) {
    if (f.table == nullptr) continue;
    in_tables += f.table->count;
    EXPECT_EQ(sizes[f.name], f.table->count) << f.name;
    for (std::size_t i = 1; i < f.table->count; ++i) EXPECT_LT(f.table->rows[i - 1].code, f.table->rows[i].code);
  }
  EXPECT_EQ(in_tables + sizes["utm"], cat::kProjcs.count);
  EXPECT_TRUE(sizes["utm"] > 600 && sizes["spcs27"] > 100 && sizes["spcs83"] > 100 && sizes["spcs83_feet"] > 100 &&
              sizes["spcs83_harn"] > 200);
  EXPECT_EQ(sizes["minnesota_counties"] + sizes["wisconsin_counties"], 0u);  // none in data/ yet
}

// A listing is what building every code of the kind's ranges gives (status
// below 9), sorted by name ignoring case, then by code: with no user files,
// and with user lines of every kind (also over deprecated and built-in codes).
TEST(CatalogueSweep, Listings) {
  const std::pair<const char *, const char *> kinds[] = {
      {"spheroid", "spheroid"}, {"primem", "primem"}, {"angular_unit", "unit"}, {"linear_unit", "unit"},
      {"datum", "datum"}, {"projection", "projection"}, {"method", "method"}, {"parameter", "parameter"},
      {"geogcs", "geogcs"}, {"projcs", "projcs"}, {"geogtran", "geogtran"}};
  const auto ranges = code_ranges();
  const auto with_user_files = read_cases("listings with user files");
  for (const bool user : {false, true}) {
    ObjeditHome home;
    for (const auto &[file, text] : with_user_files.at(0).files) {
      if (user) home.write(file, text);
    }
    for (const auto &[kind, factory] : kinds) {
      std::map<int, std::string> expected, listed;
      for (const auto &[lo, hi] : ranges.at(kind)) {
        for (int code = lo; code <= hi; ++code) {
          const Obj o = build(factory, code);
          if (o && std::stoi(o.field("status")) < 9) expected[code] = o.field("name");
        }
      }
      int count = -1;
      kx_predefined *t = listing(kind)(&count);
      for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(listed.emplace(t[i].code, t[i].name).second) << kind << " " << t[i].code;
        const int c = i == 0 ? -1 : kx_strcmp_ci(t[i - 1].name, t[i].name);
        EXPECT_TRUE(c < 0 || (c == 0 && t[i - 1].code < t[i].code)) << kind << " " << t[i].name;
      }
      kx_table_del(t);
      EXPECT_EQ(listed, expected) << kind << (user ? " with user files" : "");
      EXPECT_EQ(listing(kind)(nullptr), nullptr);
    }
  }
  // kx_table_create: refusals (no sequence, empty, wrong element size, no
  // count), and the order on its own, growing past the capacity.
  int count = -1, refused = 0;
  kx_seq empty = kx_create_seq(4, sizeof(kx_predefined)), wrong = kx_create_seq(4, 8);
  kx_seq no_count = kx_create_seq(4, sizeof(kx_predefined)), seq = kx_create_seq(2, sizeof(kx_predefined));
  const double element = 1.0;
  const kx_predefined one{};
  kx_seq_apptail(wrong, &element);
  kx_seq_apptail(no_count, &one);
  for (kx_seq s : {static_cast<kx_seq>(nullptr), empty, wrong}) {
    count = -1;
    refused += kx_table_create(s, &count) == nullptr && count == 0;
  }
  EXPECT_EQ(refused + (kx_table_create(no_count, nullptr) == nullptr), 4);
  kx_table_del(nullptr);
  for (const char *r : {"5 beta", "3 Alpha", "9 ALPHA", "1 alpha", "2 Gamma", "4 a"}) {
    kx_predefined rec{};
    rec.code = r[0] - '0';
    std::strcpy(rec.name, r + 2);
    ASSERT_EQ(kx_seq_apptail(seq, &rec), 1);
  }
  kx_predefined *table = kx_table_create(seq, &count);
  std::string order;
  for (int i = 0; i < count; ++i) order += std::to_string(table[i].code);
  EXPECT_EQ(order, "413952");
  kx_table_del(table);
}

namespace {

// The user line that rebuilds a built-in entry under another code: parameters
// by their macro names ("KX_PAR_" and the upper-case name), transformation
// slots 0-6 as 100040-100046 and 7-9 as the rotation origin 100048-100050,
// a grid's data set as (100047, name without "Dataset_").
std::string user_line(const char *keyword, int code, const Obj &o, const std::vector<int> &parts, int unit) {
  std::string line = std::string(keyword) + ", " + std::to_string(code) + ", " + o.field("name");
  for (int part : parts) line += ", " + std::to_string(part);
  std::istringstream slots(o.field("slots"));
  for (int s; slots >> s;) {
    std::string name = o.field("p" + std::to_string(s));
    if (s == 15 && name.rfind("Dataset_", 0) == 0) {
      line += ", 100047, " + name.substr(8);
      continue;
    }
    for (char &c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const int c = o.kind == Kind::Geogtran ? 100040 + s + (s > 6) : kx_defstring_to_int(("KX_PAR_" + name).c_str());
    line += ", " + std::to_string(c) + ", " + o.field("p" + std::to_string(s) + ".value");
  }
  return line + (unit != 0 ? ", " + std::to_string(unit) : "") + "\n";
}

}  // namespace

// Every buildable projected CS and transformation, written as a user line,
// builds an equal object with status 8. The built-in transformations on the
// way: name, parameter count, data set, reverse lookup.
TEST(CatalogueSweep, UserLinesRebuildEveryEntry) {
  ObjeditHome home;
  std::vector<int> codes;
  std::string text;
  for (std::size_t i = 0; i < cat::kProjcs.count; ++i) {
    const cat::ProjcsRow &row = cat::kProjcs.rows[i];
    const Obj pcs = build("projcs_normal", row.code);
    if (!pcs) continue;
    text += user_line("PROJCS", 202001 + static_cast<int>(codes.size()), pcs, {row.geogcs, row.projection}, row.unit);
    codes.push_back(row.code);
  }
  home.write("projcs", text);
  text.clear();
  const std::size_t projcs = codes.size();
  for (std::size_t i = 0; i < cat::kGeogtran.count; ++i) {
    const cat::GeogtranRow &row = cat::kGeogtran.rows[i];
    const Obj gt = build("geogtran", row.code);
    ASSERT_TRUE(gt) << row.code;
    EXPECT_EQ(gt.field("status") + gt.field("name"), "4" + std::string(row.name));
    EXPECT_EQ(words(gt.field("slots")), static_cast<std::size_t>(row.count)) << row.code;
    EXPECT_EQ(gt.field("p15"), row.dataset != nullptr ? row.dataset : "null") << row.code;
    const int found = i % 5 == 0 ? std::stoi(gt.field("code")) : row.code;  // identical entries answer with the first
    EXPECT_TRUE(found == row.code || (found < row.code && gt.field("eq/" + std::to_string(found)) == "1")) << row.code;
    text += user_line("GEOGTRAN", 208001 + static_cast<int>(codes.size() - projcs), gt, {row.geogcs1, row.geogcs2, row.method}, 0);
    codes.push_back(row.code);
  }
  home.write("geogtran", text);
  ASSERT_GT(projcs, 3000u);
  cat::UserFileSnapshot snapshot;  // one reading of each file for the whole loop
  for (std::size_t k = 0; k < codes.size(); ++k) {
    const bool p = k < projcs;
    const Obj user = build(p ? "projcs" : "geogtran", p ? 202001 + static_cast<int>(k) : 208001 + static_cast<int>(k - projcs));
    EXPECT_EQ(user.field("status") + user.field("eq/" + std::to_string(codes[k])), "81") << codes[k];
  }
}
