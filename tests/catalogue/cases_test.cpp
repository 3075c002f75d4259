// The case file tests/data/catalogue/cases.txt (built-in entries, user
// definition files, listings), and the user-file inputs no text file can
// carry: binary junk, last lines without a newline, odd files, the home from a function.
#include "support/cases.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <regex>

#include "catalogue/objedit_reader.h"
#include "catalogue_util.h"
#include "objects/registry.h"

using namespace cattest;
namespace cat = kx::catalogue;

namespace {

// The name the listing gives the code, "null" when it lists no such code.
std::string listed(const std::string &kind, int code) {
  int count = 0;
  kx_predefined *table = listing(kind)(&count);
  std::string name = "null";
  for (int i = 0; i < count; ++i) name = table[i].code == code ? table[i].name : name;
  kx_table_del(table);
  return name;
}

void check(const std::string &factory, int code, const std::vector<std::string> &e) {
  const bool list = factory.rfind("listed_", 0) == 0;
  const Obj o = list ? Obj() : build(factory, code);
  EXPECT_TRUE(e.size() > 2 || o) << "builds nothing";
  for (std::size_t i = 2; i < e.size(); ++i) {
    const auto op = e[i].find_first_of("=~");
    std::string key = e[i] == "null" ? "name" : e[i].substr(0, op),
                want = e[i] == "null" ? "null" : e[i].substr(op + 1);
    if (key == "eq" || key == "eqnn" || (key.size() > 3 && key.substr(key.size() - 3) == ".eq")) {
      key += "/" + want;
      want = "1";
    }
    const std::string got = list ? listed(factory.substr(7), code) : o.field(key);
    EXPECT_TRUE(same(got, want, op != std::string::npos && e[i][op] == '~'))
        << key << " is " << got << ", not " << want;
  }
}

}  // namespace

// A registry projection without functions stands for $UNBOUND: a user line on
// it builds nothing.
TEST(CatalogueCases, EveryCase) {
  int count = 0;
  std::string unbound = "0";
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  for (int i = count - 1; i >= 0; --i)
    unbound =
        rows[i].code != 0 && rows[i].forward == nullptr ? std::to_string(rows[i].code) : unbound;
  const std::regex repeat("\\{([0-9]+)\\*(.)\\}");  // "{N*c}": N copies of c
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  const auto cases = read_cases();
  ASSERT_GT(cases.size(), 15u);
  for (const Case &c : cases) {
    ObjeditHome home;
    for (const auto &[file, text] : c.files) {
      std::string t = text;
      const auto at = t.find("$UNBOUND");
      if (at != std::string::npos) t.replace(at, 8, unbound);
      for (std::smatch m; std::regex_search(t, m, repeat);)
        t.replace(m.position(), m.length(), std::stoul(m[1]), m[2].str()[0]);
      home.write(file, t);
    }
    for (const auto &e : c.expects) {
      for (const std::string &factory : split_csv(e[0], '|')) {
        for (const std::string &code : split_csv(e[1], '|')) {
          SCOPED_TRACE(c.title + ": " + factory + " " + code);
          check(factory, std::stoi(code), e);
        }
      }
    }
  }
  EXPECT_EQ(locale, std::setlocale(LC_ALL, nullptr));  // numbers read without touching it
}

TEST(CatalogueCases, TokenReaders) {
  for (auto row : kxtest::read_csv(kxtest::data_path("catalogue/tokens.csv"))) {
    for (char &c : row[1]) c = c == ';' ? ',' : c;
    int code = -1;
    double v = -1.0;
    const bool is_code = row[0] == "code", ok = is_code ? cat::read_user_code(row[1].c_str(), &code)
                                                        : cat::read_user_number(row[1].c_str(), &v);
    EXPECT_EQ(ok, row[2] == "1") << row[1];
    EXPECT_TRUE(!ok || (is_code ? code == std::stoi(row[3]) : v == kxtest::num(row[3]))) << row[1];
  }
}

TEST(CatalogueCases, JunkAndLastLines) {
  ObjeditHome home;
  std::string text = std::string("DATUM, 206016, Nul") + '\0' + "Byte, 7030\n";
  std::mt19937 random(12345);
  for (int i = 0; i < 65536; ++i) text += static_cast<char>(random() & 0xFF);
  text +=
      "\nnote, datum , 206020, After_Junk, 7030\r\nDATUM, 206021, Last_Line_Without_Newline, 7030";
  home.write("datum", text);
  EXPECT_EQ(build("datum", 206016).field("name") + build("datum", 206020).field("name") +
                build("datum", 206021).field("name"),
            "nullAfter_JunkLast_Line_Without_Newline");
  // 1023 characters are read, 1024 are not, also at the end without a newline.
  home.write("datum", "DATUM, 206002, Too_Long, 7030" + std::string(995, ' '));
  EXPECT_FALSE(build("datum_objedit", 206002));
  home.write("datum", "DATUM, 206001, Fits, 7030" + std::string(998, ' '));
  EXPECT_EQ(build("datum_objedit", 206001).field("name"), "Fits");
}

// Objects made by hand are found when equal within the tolerance (names
// ignoring case); no object, or no object at all, has no code.
TEST(CatalogueCases, ReverseLookupOfHandMadeObjects) {
  int junk[4] = {};
  const Obj made[] = {
      Obj(Kind::Unit, kx_unit_new("meter", 1.0)),
      Obj(Kind::Unit, kx_unit_new("Foot_US", 1200.0 / 3937.0)),
      Obj(Kind::Unit, kx_unit_new("Meter", 1.001)),
      Obj(Kind::Spheroid, kx_spheroid_new("WGS_1984", 6378137.0, 1 / 298.257223563)),
      Obj(Kind::Primem, kx_primem_new("Paris", 2.337229166666667)),
      Obj(Kind::Primem, kx_primem_new("Paris", 2.33722917)),
      Obj(),
      Obj(Kind::None, junk, false)};
  const int want[] = {9001, 9003, 0, 7030, 8903, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(kx_factory_code(made[i].p), want[i]) << i;
}

namespace {
std::string g_home;
const char *home_func() { return g_home.c_str(); }
int open_descriptors() {
  int n = 0;
  DIR *d = opendir("/proc/self/fd");
  while (d != nullptr && readdir(d) != nullptr) ++n;
  if (d != nullptr) closedir(d);
  return n;
}
}  // namespace

// No home, a home from a function, files that are no text files; every file
// read is closed again.
TEST(CatalogueCases, HomesAndOddFiles) {
  kx_objedithome_setfunc(nullptr);
  for (const char *home : {static_cast<const char *>(nullptr), "", "/nonexistent/kx/home"}) {
    if (home == nullptr)
      unsetenv("KXOBJEDITHOME");
    else
      setenv("KXOBJEDITHOME", home, 1);  // an empty home must not become the root
    for (const auto &[f, code] : {std::pair<std::string, int>{"datum", 6326},
                                  {"geogcs", 4326},
                                  {"projcs", 32633},
                                  {"geogtran", 1170}}) {
      EXPECT_FALSE(build(f + "_objedit", code)) << f;
    }
    EXPECT_EQ(build("geogcs", 4326).field("status"), "4");
  }
  ObjeditHome home;
  for (const char *text : {"", "\n\n\n", "/dir"}) {
    home.write("datum", text);
    EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
    EXPECT_EQ(build("datum", 6326).field("status"), "4");
  }
  home.write("unit", "/fifo");  // it would block a reader: it is not opened
  EXPECT_EQ(build("unit", 9001).field("status"), "4");
  home.write("datum", "DATUM, 206001, From_Function, 7030\nDATUM, 206002, D_Bad, 7999\n");
  home.write("geogcs", "/dir");
  unsetenv("KXOBJEDITHOME");
  EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
  g_home = home.dir() + "/";  // a trailing separator is not doubled
  kx_objedithome_setfunc(home_func);
  EXPECT_EQ(build("datum", 206001).field("name"), "From_Function");
  const int before = open_descriptors();
  for (int i = 0; i < 500; ++i) {
    kx_datum_del(kx_factory_datum(206001));
    kx_datum_del(kx_factory_datum(206002));
    kx_geogcs_del(kx_factory_geogcs(4326));
  }
  EXPECT_EQ(open_descriptors(), before);
  g_home =
      "/" +
      std::string(20000, 'a');  // far longer than any path buffer: nothing found, nothing overrun
  EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
  EXPECT_TRUE(build("datum", 6326));
  kx_objedithome_setfunc(nullptr);
}

// Lines assembled at random from keywords, codes, names, numbers and junk,
// read by every factory and every listing (leaks show under the sanitizers).
TEST(CatalogueCases, RandomLinesNeverCrash) {
  const char *pool[] = {"SPHEROID",
                        "PRIMEM",
                        "UNIT",
                        "DATUM",
                        "GEOGCS",
                        "PROJCS",
                        "GEOGTRAN",
                        "207001",
                        "208901",
                        "209001",
                        "209101",
                        "206001",
                        "204001",
                        "202001",
                        "208001",
                        "7030",
                        "6326",
                        "4326",
                        "8901",
                        "9102",
                        "9001",
                        "43021",
                        "43006",
                        "9603",
                        "9613",
                        "9601",
                        "100001",
                        "100002",
                        "100010",
                        "100040",
                        "100041",
                        "100042",
                        "100047",
                        "KX_GCS_WGS_1984",
                        "KX_U_METER",
                        "Name",
                        "\"Quoted, name\"",
                        "6378137",
                        "298.257",
                        "0",
                        "-1",
                        "1e308",
                        "1e999",
                        "nan",
                        "",
                        " ",
                        "\t",
                        "\"",
                        ",",
                        "\r",
                        "x",
                        "99999999999"};
  std::mt19937 random(2026);
  ObjeditHome home;
  for (const char *file : {"spheroid", "primem", "unit", "datum", "geogcs", "projcs", "geogtran"}) {
    std::string text;
    for (int line = 0; line < 400; ++line) {
      for (int t = static_cast<int>(random() % 24); t > 0; --t) {
        text += pool[random() % (sizeof pool / sizeof pool[0])];
        text += random() % 4 == 0 ? " " : ",";
      }
      text += "\n";
    }
    home.write(file, text);
  }
  for (int code : {207001, 208901, 209001, 209101, 206001, 204001, 202001, 208001, 7030, 6326, 4326,
                   8901, 9102, 9001, 1170}) {
    for (const char *f : {"spheroid", "primem", "unit", "datum", "geogcs", "projcs", "geogtran"})
      build(f, code);
  }
  for (const char *kind : {"spheroid", "primem", "angular_unit", "linear_unit", "datum", "geogcs",
                           "projcs", "geogtran"}) {
    listed(kind, 0);
  }
}
