// User definition files: every kind, symbolic codes, user objects built on
// other user objects, status 8 and precedence over the built-in entries, and
// malformed input of every sort (which must build nothing and never crash).
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "catalogue/catalogue_tables.h"
#include "catalogue/objedit_reader.h"
#include "catalogue_test_util.h"
#include "objedit_home.h"
#include "objects/registry.h"

using namespace cattest;
namespace cat = kx::catalogue;

namespace {

struct ProjcsDel {
  void operator()(kx_projcs_rec *p) const { kx_projcs_del(p); }
};
struct GeogtranDel {
  void operator()(kx_geogtran_rec *p) const { kx_geogtran_del(p); }
};
using Projcs = std::unique_ptr<kx_projcs_rec, ProjcsDel>;
using Geogtran = std::unique_ptr<kx_geogtran_rec, GeogtranDel>;

std::string name(kx_projcs h) { return cattest::name(h, kx_projcs_name); }
std::string name(kx_geogtran h) { return cattest::name(h, kx_geogtran_name); }

std::string parameter_name(kx_parameter p) {
  char buffer[64] = {0};
  kx_parameter_name(p, buffer);
  return buffer;
}

}  // namespace

TEST(Objedit, NothingWithoutHome) {
  unsetenv("KXOBJEDITHOME");
  kx_objedithome_setfunc(nullptr);
  EXPECT_EQ(kx_factory_datum_objedit(6326), nullptr);
  EXPECT_EQ(kx_factory_geogcs_objedit(4326), nullptr);
  EXPECT_EQ(kx_factory_projcs_objedit(32633), nullptr);
  EXPECT_EQ(kx_factory_geogtran_objedit(1170), nullptr);
  Geogcs built_in(kx_factory_geogcs(4326));
  ASSERT_NE(built_in, nullptr);
  EXPECT_EQ(kx_geogcs_status(built_in.get()), 4);

  // An empty home names no directory (it must not become the root).
  setenv("KXOBJEDITHOME", "", 1);
  EXPECT_EQ(kx_factory_datum_objedit(6326), nullptr);
  setenv("KXOBJEDITHOME", "/nonexistent/kx/home", 1);
  EXPECT_EQ(kx_factory_datum_objedit(6326), nullptr);
  unsetenv("KXOBJEDITHOME");
}

TEST(Objedit, TokenReaders) {
  int code = -1;
  EXPECT_TRUE(cat::read_user_code("4326", &code));
  EXPECT_EQ(code, 4326);
  EXPECT_TRUE(cat::read_user_code("KX_GCS_WGS_1984", &code));
  EXPECT_EQ(code, 4326);
  EXPECT_TRUE(cat::read_user_code("+206001", &code));
  EXPECT_EQ(code, 206001);
  EXPECT_FALSE(cat::read_user_code("kx_gcs_wgs_1984", &code));
  EXPECT_FALSE(cat::read_user_code("0", &code));
  EXPECT_FALSE(cat::read_user_code("4326abc", &code));
  EXPECT_FALSE(cat::read_user_code("43.26", &code));
  EXPECT_FALSE(cat::read_user_code("99999999999", &code));
  EXPECT_FALSE(cat::read_user_code("-99999999999999999999999", &code));
  EXPECT_FALSE(cat::read_user_code("", &code));
  EXPECT_FALSE(cat::read_user_code("-", &code));

  double v = -1.0;
  EXPECT_TRUE(cat::read_user_number("6378137.5", &v));
  EXPECT_EQ(v, 6378137.5);
  EXPECT_TRUE(cat::read_user_number("-.5e1", &v));
  EXPECT_EQ(v, -5.0);
  EXPECT_TRUE(cat::read_user_number("298.", &v));
  EXPECT_EQ(v, 298.0);
  for (const char *bad :
       {"", ".", "1,5", "12abc", "1e", "1e+", "0x10", "nan", "inf", "1e999", "--1", "1 2", "e5"}) {
    EXPECT_FALSE(cat::read_user_number(bad, &v)) << bad;
  }
}

TEST(Objedit, Spheroid) {
  ObjeditHome home;
  home.write("spheroid",
             "SPHEROID, 207001, My_Sphere, 6371000, 0\n"
             "SPHEROID,207002,\"Inverse flattening\",6378137,298.257223563\n"
             "spheroid , 207003 , Direct , 6378000.5 , 0.003\n"
             "SPHEROID, KX_S_WGS_1984, Custom_WGS, 6378100, 300\n"
             "SPHEROID, 207004, Negative_Axis, -1, 300\n");
  Spheroid s1(kx_factory_spheroid(207001));
  ASSERT_NE(s1, nullptr);
  EXPECT_EQ(name(s1.get()), "My_Sphere");
  EXPECT_EQ(kx_spheroid_axis(s1.get()), 6371000.0);
  EXPECT_EQ(kx_spheroid_flattening(s1.get()), 0.0);
  EXPECT_EQ(kx_spheroid_status(s1.get()), 8);
  Spheroid s2(kx_factory_spheroid(207002));
  ASSERT_NE(s2, nullptr);
  EXPECT_EQ(name(s2.get()), "Inverse flattening");
  EXPECT_EQ(kx_spheroid_flattening(s2.get()), 1.0 / 298.257223563);
  Spheroid s3(kx_factory_spheroid(207003));
  ASSERT_NE(s3, nullptr);
  EXPECT_EQ(kx_spheroid_axis(s3.get()), 6378000.5);
  EXPECT_EQ(kx_spheroid_flattening(s3.get()), 0.003);
  // A user line overrides the built-in entry of its code.
  Spheroid wgs(kx_factory_spheroid(7030));
  ASSERT_NE(wgs, nullptr);
  EXPECT_EQ(name(wgs.get()), "Custom_WGS");
  EXPECT_EQ(kx_spheroid_status(wgs.get()), 8);
  // A value the constructor refuses builds nothing.
  EXPECT_EQ(kx_factory_spheroid(207004), nullptr);
  EXPECT_EQ(kx_factory_spheroid(207005), nullptr);
  // Other built-in entries are untouched.
  Spheroid grs(kx_factory_spheroid(7019));
  ASSERT_NE(grs, nullptr);
  EXPECT_EQ(kx_spheroid_status(grs.get()), 4);
}

TEST(Objedit, PrimemAndUnit) {
  ObjeditHome home;
  home.write("primem", "PRIMEM, 208901, My_Meridian, 12.5\nPRIMEM, 208902, Too_Far, 200\n");
  home.write("unit",
             "UNIT, 209001, Rod, 5.0292\nUNIT, 209101, Half_Degree, 0.008726646259971648\n"
             "UNIT, KX_U_FOOT, Not_A_Foot, 0.5\nUNIT, 209002, Zero, 0\n");
  Primem pm(kx_factory_primem(208901));
  ASSERT_NE(pm, nullptr);
  EXPECT_EQ(name(pm.get()), "My_Meridian");
  EXPECT_EQ(kx_primem_longitude(pm.get()), 12.5);
  EXPECT_EQ(kx_primem_status(pm.get()), 8);
  EXPECT_EQ(kx_factory_primem(208902), nullptr);
  Unit rod(kx_factory_unit(209001));
  ASSERT_NE(rod, nullptr);
  EXPECT_EQ(name(rod.get()), "Rod");
  EXPECT_EQ(kx_unit_factor(rod.get()), 5.0292);
  EXPECT_EQ(kx_unit_status(rod.get()), 8);
  Unit half(kx_factory_unit(209101));
  ASSERT_NE(half, nullptr);
  EXPECT_EQ(kx_unit_factor(half.get()), 0.008726646259971648);
  Unit foot(kx_factory_unit(9002));
  ASSERT_NE(foot, nullptr);
  EXPECT_EQ(name(foot.get()), "Not_A_Foot");
  EXPECT_EQ(kx_factory_unit(209002), nullptr);
  Unit meter(kx_factory_unit(9001));
  ASSERT_NE(meter, nullptr);
  EXPECT_EQ(kx_unit_status(meter.get()), 4);
}

TEST(Objedit, DatumAndGeogcsOnUserObjects) {
  ObjeditHome home;
  home.write("spheroid", "SPHEROID, 207001, My_Spheroid, 6378000, 299\n");
  home.write("datum",
             "DATUM, 206001, D_My_Datum, 207001\n"
             "DATUM, 206002, D_Symbolic, KX_S_GRS_1980\n"
             "DATUM, 206003, D_No_Spheroid, 7999\n");
  home.write("geogcs",
             "GEOGCS, 204001, GCS_Edge, 6326, 8901, 9102\n"
             "GEOGCS, 204002, GCS_On_User_Datum, 206001, KX_PM_GREENWICH, KX_U_DEGREE\n"
             "GEOGCS, KX_GCS_WGS_1984, GCS_User_WGS, 6326, 8901, 9102\n"
             "GEOGCS, 204003, GCS_Bad_Datum, 206003, 8901, 9102\n");

  Datum d1(kx_factory_datum(206001));
  ASSERT_NE(d1, nullptr);
  EXPECT_EQ(name(d1.get()), "D_My_Datum");
  EXPECT_EQ(kx_datum_status(d1.get()), 8);
  kx_spheroid s1 = kx_datum_spheroid(d1.get());
  EXPECT_EQ(name(s1), "My_Spheroid");
  EXPECT_EQ(kx_spheroid_status(s1), 8);
  EXPECT_EQ(kx_spheroid_flattening(s1), 1.0 / 299.0);

  Datum objedit(kx_factory_datum_objedit(206002));
  ASSERT_NE(objedit, nullptr);
  EXPECT_EQ(kx_datum_status(objedit.get()), 8);
  EXPECT_EQ(name(kx_datum_spheroid(objedit.get())), "GRS_1980");
  EXPECT_EQ(kx_spheroid_status(kx_datum_spheroid(objedit.get())), 4);
  EXPECT_EQ(kx_factory_datum(206003), nullptr);
  EXPECT_EQ(kx_factory_datum_objedit(6326), nullptr);

  // The edge case: a user geographic CS of built-in components, status 8.
  Geogcs g1(static_cast<kx_geogcs>(kx_factory(204001)));
  ASSERT_NE(g1, nullptr);
  ASSERT_TRUE(kx_geogcs_p(g1.get()));
  EXPECT_EQ(name(g1.get()), "GCS_Edge");
  EXPECT_EQ(kx_geogcs_status(g1.get()), 8);
  EXPECT_EQ(kx_datum_status(kx_geogcs_datum(g1.get())), 4);
  EXPECT_EQ(kx_primem_status(kx_geogcs_primem(g1.get())), 4);
  EXPECT_EQ(kx_unit_status(kx_geogcs_unit(g1.get())), 4);

  // A user geographic CS on a user datum on a user spheroid.
  Geogcs g2(kx_factory_geogcs(204002));
  ASSERT_NE(g2, nullptr);
  EXPECT_EQ(name(kx_geogcs_datum(g2.get())), "D_My_Datum");
  EXPECT_EQ(kx_datum_status(kx_geogcs_datum(g2.get())), 8);
  EXPECT_EQ(kx_spheroid_status(kx_datum_spheroid(kx_geogcs_datum(g2.get()))), 8);
  EXPECT_EQ(name(kx_geogcs_primem(g2.get())), "Greenwich");

  // Precedence: the user line for 4326 wins over the built-in entry.
  Geogcs wgs(static_cast<kx_geogcs>(kx_factory(4326)));
  ASSERT_NE(wgs, nullptr);
  EXPECT_EQ(name(wgs.get()), "GCS_User_WGS");
  EXPECT_EQ(kx_geogcs_status(wgs.get()), 8);
  Geogcs normal(kx_factory_geogcs_normal(4326));
  ASSERT_NE(normal, nullptr);
  EXPECT_EQ(name(normal.get()), "GCS_WGS_1984");

  // A user line whose datum builds nothing yields nothing.
  EXPECT_EQ(kx_factory_geogcs(204003), nullptr);
}

TEST(Objedit, FirstWellFormedLineWins) {
  ObjeditHome home;
  home.write("geogcs",
             "GEOGCS, 4326, Too_Few, 6326\n"
             "GEOGCS, 204001, First, 6326, 8901, 9102\n"
             "GEOGCS, 204001, Second, 6326, 8901, 9102\n"
             "GEOGCS, 4326, Unknown_Datum, 6999, 8901, 9102\n"
             "GEOGCS, 4326, Later, 6326, 8901, 9102\n");
  Geogcs g(kx_factory_geogcs(204001));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(name(g.get()), "First");
  // The first well-formed 4326 line fails to build: the built-in entry takes over.
  Geogcs wgs(kx_factory_geogcs(4326));
  ASSERT_NE(wgs, nullptr);
  EXPECT_EQ(name(wgs.get()), "GCS_WGS_1984");
  EXPECT_EQ(kx_geogcs_status(wgs.get()), 4);
}

namespace {

std::string number(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

// The catalogue code of a parameter of this name ("KX_PAR_" and its upper case).
int parameter_code(kx_parameter p) {
  std::string macro = "KX_PAR_" + parameter_name(p);
  for (char &c : macro) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return kx_defstring_to_int(macro.c_str());
}

// The user line that rebuilds a built-in projected CS under another code.
// The user line of the built-in entry `builtin`, under another code. Its
// component codes come from the entry's table row: asking kx_factory_code
// for each would build every geographic CS per line.
std::string projcs_line(int code, int builtin, kx_projcs pcs) {
  const kx::catalogue::ProjcsRow *row = kx::catalogue::find_code(kx::catalogue::kProjcs, builtin);
  if (row == nullptr) return "";
  std::string line = "PROJCS, " + std::to_string(code) + ", " + name(pcs) + ", " +
                     std::to_string(row->geogcs) + ", " + std::to_string(row->projection);
  kx_parameter slots[16];
  kx_projcs_parameters(pcs, slots);
  for (kx_parameter p : slots) {
    if (p != nullptr)
      line += ", " + std::to_string(parameter_code(p)) + ", " + number(kx_parameter_value(p));
  }
  return line + ", " + std::to_string(row->unit) + "\n";
}

}  // namespace

TEST(Objedit, ProjcsRebuildsEveryBuiltInEntry) {
  // Every buildable built-in projected CS, written as a user line, builds an
  // equal object. Each lookup reads the file afresh, so the lines go in
  // files of a few hundred.
  constexpr std::size_t kPerFile = 200;
  std::vector<int> codes;
  int n = 0;
  int *list = kx_factory_projcs_codelist(&n);
  for (int i = 0; i < n; ++i) {
    Projcs pcs(kx_factory_projcs_normal(list[i]));
    if (pcs != nullptr) codes.push_back(list[i]);
  }
  kx_factory_codelist_del(list);
  ASSERT_FALSE(codes.empty());
  ObjeditHome home;
  for (std::size_t first = 0; first < codes.size(); first += kPerFile) {
    const std::size_t last = std::min(codes.size(), first + kPerFile);
    std::string text;
    for (std::size_t k = first; k < last; ++k) {
      Projcs pcs(kx_factory_projcs_normal(codes[k]));
      text += projcs_line(202001 + static_cast<int>(k), codes[k], pcs.get());
    }
    home.write("projcs", text);
    for (std::size_t k = first; k < last; ++k) {
      Projcs builtin(kx_factory_projcs_normal(codes[k]));
      Projcs user(kx_factory_projcs(202001 + static_cast<int>(k)));
      ASSERT_NE(user, nullptr) << codes[k];
      EXPECT_EQ(kx_projcs_status(user.get()), 8);
      EXPECT_EQ(kx_projcs_eq(user.get(), builtin.get()), 1) << codes[k];
    }
  }
}

// A registry code whose row has no functions yet (0, equally unbuildable,
// once every row is bound).
static int unbound_projection() {
  int count = 0;
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  for (int i = 0; i < count; ++i) {
    if (rows[i].code != 0 && rows[i].forward == nullptr) return rows[i].code;
  }
  return 0;
}

TEST(Objedit, Projcs) {
  ObjeditHome home;
  // SAD_1969_Brazil_Polyconic (29101) as user lines: symbolic codes, the
  // slot map (Longitude_Of_Origin shares Central_Meridian's slot), and items
  // passed over (an unmapped parameter pair, a stray code).
  Projcs builtin(kx_factory_projcs_normal(29101));
  ASSERT_NE(builtin, nullptr);
  kx_parameter b[16];
  kx_projcs_parameters(builtin.get(), b);
  ASSERT_NE(b[2], nullptr);
  ASSERT_NE(b[6], nullptr);
  const std::string cm = number(kx_parameter_value(b[2]));
  const std::string lat = number(kx_parameter_value(b[6]));
  const std::string fe = number(kx_parameter_value(b[0]));
  const std::string fn = number(kx_parameter_value(b[1]));
  home.write(
      "projcs",
      "PROJCS, 202001, SAD_1969_Brazil_Polyconic, KX_GCS_SAD_1969, KX_PRJ_POLYCONIC,"
      " KX_PAR_FALSE_EASTING, " +
          fe + ", 100002, " + fn + ", 100010, " + cm + ", 100021, " + lat +
          ", KX_U_METER\n"
          "PROJCS, 202002, Skips, 4618, 43021, 100030, 7, 100001, " +
          fe + ", 100002, " + fn + ", 12345, 100010, 99, 100010, " + cm + ", 100021, " + lat +
          ", 9001\n"
          "PROJCS, 202003, No_Unit, 4618, 43021, 100001, 500000\n"
          "PROJCS, 202004, Bad_Value, 4618, 43021, 100001, 5OOOOO, 9001\n"
          "PROJCS, 202005, Missing_Value, 4618, 43021, 9001, 100001\n"
          "PROJCS, 202006, On_User_Gcs, 204001, 43021, 100001, 1, 100002, 2, 100011, 3, 9002\n"
          "PROJCS, 202007, Unbound_Projection, 4618, " + std::to_string(unbound_projection()) +
          ", 100001, 1, 9001\n"
          "PROJCS, 202008, Unknown_Gcs, 4999, 43021, 100001, 1, 9001\n"
          "PROJCS, 29101, User_Polyconic, 4618, 43021, 100001, 1, 100002, 2, 9001\n");
  home.write("geogcs", "GEOGCS, 204001, GCS_User, 6326, 8901, 9102\n");

  Projcs user(kx_factory_projcs(202001));
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(kx_projcs_status(user.get()), 8);
  EXPECT_EQ(kx_projcs_eq(user.get(), builtin.get()), 1);
  Projcs skips(kx_factory_projcs_objedit(202002));
  ASSERT_NE(skips, nullptr);
  EXPECT_EQ(kx_projcs_eqnn(skips.get(), builtin.get()), 1);
  EXPECT_EQ(kx_projcs_status(skips.get()), 8);

  for (int code : {202003, 202004, 202005, 202007, 202008}) {
    EXPECT_EQ(kx_factory_projcs(code), nullptr) << code;
  }

  Projcs on_user(kx_factory_projcs(202006));
  ASSERT_NE(on_user, nullptr);
  EXPECT_EQ(name(kx_projcs_geogcs(on_user.get())), "GCS_User");
  EXPECT_EQ(kx_geogcs_status(kx_projcs_geogcs(on_user.get())), 8);
  EXPECT_EQ(name(kx_projcs_unit(on_user.get())), "Foot");
  kx_parameter slots[16];
  kx_projcs_parameters(on_user.get(), slots);
  ASSERT_NE(slots[0], nullptr);
  ASSERT_NE(slots[1], nullptr);
  ASSERT_NE(slots[2], nullptr);
  EXPECT_EQ(kx_parameter_value(slots[0]), 1.0);
  EXPECT_EQ(kx_parameter_value(slots[1]), 2.0);
  EXPECT_EQ(kx_parameter_value(slots[2]), 3.0);
  EXPECT_EQ(parameter_name(slots[2]), "Longitude_Of_Origin");
  for (int i = 3; i < 16; ++i) EXPECT_EQ(slots[i], nullptr) << i;

  // Precedence over the built-in entry of the same code.
  Projcs over(static_cast<kx_projcs>(kx_factory(29101)));
  ASSERT_NE(over, nullptr);
  EXPECT_EQ(name(over.get()), "User_Polyconic");
  EXPECT_EQ(kx_projcs_status(over.get()), 8);
  Projcs other(kx_factory_projcs(28992));
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(kx_projcs_status(other.get()), 4);
}

TEST(Objedit, GeogtranRebuildsEveryBuiltInEntry) {
  // Every buildable built-in transformation, written as a user line, builds an equal object.
  std::vector<int> codes;
  std::string text;
  for (std::size_t i = 0; i < cat::kGeogtran.count; ++i) {
    const cat::GeogtranRow &row = cat::kGeogtran.rows[i];
    Geogtran gt(kx_factory_geogtran_normal(row.code));
    if (gt == nullptr) continue;
    codes.push_back(row.code);
    std::string line = "GEOGTRAN, " + std::to_string(208000 + static_cast<int>(codes.size())) +
                       ", " + name(gt.get()) + ", " + std::to_string(row.geogcs1) + ", " +
                       std::to_string(row.geogcs2) + ", " + std::to_string(row.method);
    kx_parameter slots[16];
    kx_geogtran_parameters(gt.get(), slots);
    for (int s = 0; s < 10; ++s) {
      if (slots[s] == nullptr) continue;
      const int code = s < 7 ? 100040 + s : 100048 + s - 7;
      line += ", " + std::to_string(code) + ", " + number(kx_parameter_value(slots[s]));
    }
    // A grid method's dataset, as the pair (100047, name without "Dataset_").
    if (slots[15] != nullptr) line += ", 100047, " + parameter_name(slots[15]).substr(8);
    text += line + "\n";
  }
  ASSERT_GT(codes.size(), 100u);
  ObjeditHome home;
  home.write("geogtran", text);
  cat::UserFileSnapshot snapshot;  // one reading of the file for the whole loop
  for (std::size_t k = 0; k < codes.size(); ++k) {
    Geogtran builtin(kx_factory_geogtran_normal(codes[k]));
    Geogtran user(kx_factory_geogtran(208001 + static_cast<int>(k)));
    ASSERT_NE(user, nullptr) << codes[k];
    EXPECT_EQ(kx_geogtran_status(user.get()), 8);
    EXPECT_EQ(kx_geogtran_eq(user.get(), builtin.get()), 1) << codes[k];
  }
}

TEST(Objedit, Geogtran) {
  ObjeditHome home;
  home.write(
      "geogtran",
      "GEOGTRAN, 208001, NAD_1927_To_WGS_1984_1, 4267, 4326, 9603,"
      " 100040, -3, 100041, 142, 100042, 183\n"
      "GEOGTRAN, 208002, NAD_1927_To_NAD_1983_1, KX_GCS_NAD_1927, KX_GCS_NAD_1983, 9613,"
      " KX_PAR_NAME_DATASET, conus\n"
      "GEOGTRAN, 208003, Prefixed, 4267, 4269, 9613, 100047, Dataset_alaska\n"
      "GEOGTRAN, 208004, Seven, 4326, 4326, KX_MTH_BURSA_WOLF, 100040, 1, 100041, 2,"
      " 100042, 3, 100043, 4, 100044, 5, 100045, 6, 100046, 7\n"
      "GEOGTRAN, 208005, Too_Few_Pairs, 4267, 4326, 9603, 100040, -3, 100041, 142\n"
      "GEOGTRAN, 208006, Wrong_Pair, 4267, 4326, 9603, 100040, -3, 100041, 142, 100001, 1\n"
      "GEOGTRAN, 208007, Grid_Without_Dataset, 4267, 4269, 9613, 100040, conus\n"
      "GEOGTRAN, 208008, Unknown_Method, 4267, 4326, 9699\n"
      "GEOGTRAN, 208009, Rotation, 4807, 4275, 9601\n"
      "GEOGTRAN, 208010, Unknown_Source, 4999, 4326, 9603, 100040, 0, 100041, 0, 100042, 0\n"
      "GEOGTRAN, 1170, User_Over_Built_In, 4267, 4326, 9603, 100040, 0, 100041, 0, 100042, 0\n");

  Geogtran builtin(kx_factory_geogtran_normal(1170));
  ASSERT_NE(builtin, nullptr);
  Geogtran user(kx_factory_geogtran(208001));
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(kx_geogtran_status(user.get()), 8);
  EXPECT_EQ(name(user.get()), "NAD_1927_To_WGS_1984_1");
  EXPECT_EQ(kx_geogtran_eq(user.get(), builtin.get()), 1);

  // Grid lines: the data set names the Dataset_ parameter of slot 15 (with
  // the prefix put in front when missing). The grid methods are not in the
  // library yet, so the lines are read but build nothing.
  cat::UserDefinition d;
  ASSERT_TRUE(cat::find_user_definition(cat::UserKind::Geogtran, 208002, &d));
  EXPECT_EQ(d.dataset, "Dataset_conus");
  ASSERT_EQ(d.parameters.size(), 1u);
  EXPECT_EQ(d.parameters[0].code, 100047);
  EXPECT_EQ(d.parameters[0].slot, 15);
  EXPECT_EQ(d.components[0], 4267);
  EXPECT_EQ(d.components[1], 4269);
  EXPECT_EQ(d.components[2], 9613);
  ASSERT_TRUE(cat::find_user_definition(cat::UserKind::Geogtran, 208003, &d));
  EXPECT_EQ(d.dataset, "Dataset_alaska");
  kx_method grid = kx_factory_method(9613);
  if (grid == nullptr) {
    EXPECT_EQ(kx_factory_geogtran(208002), nullptr);
  } else {
    kx_method_del(grid);
    Geogtran g(kx_factory_geogtran(208002));
    ASSERT_NE(g, nullptr);
    kx_parameter gs[16];
    kx_geogtran_parameters(g.get(), gs);
    ASSERT_NE(gs[15], nullptr);
    EXPECT_EQ(parameter_name(gs[15]), "Dataset_conus");
  }

  Geogtran seven(kx_factory_geogtran(208004));
  ASSERT_NE(seven, nullptr);
  kx_parameter slots[16];
  kx_geogtran_parameters(seven.get(), slots);
  for (int i = 0; i < 7; ++i) {
    ASSERT_NE(slots[i], nullptr) << i;
    EXPECT_EQ(kx_parameter_value(slots[i]), i + 1.0);
  }
  for (int i = 7; i < 16; ++i) EXPECT_EQ(slots[i], nullptr) << i;

  for (int code : {208005, 208006, 208007, 208008, 208010}) {
    EXPECT_EQ(kx_factory_geogtran(code), nullptr) << code;
    EXPECT_FALSE(cat::find_user_definition(cat::UserKind::Geogtran, code, &d) && code != 208010)
        << code;
  }
  Geogtran rotation(kx_factory_geogtran(208009));
  ASSERT_NE(rotation, nullptr);
  kx_geogtran_parameters(rotation.get(), slots);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(slots[i], nullptr) << i;

  Geogtran over(static_cast<kx_geogtran>(kx_factory(1170)));
  ASSERT_NE(over, nullptr);
  EXPECT_EQ(name(over.get()), "User_Over_Built_In");
  EXPECT_EQ(kx_geogtran_status(over.get()), 8);
}

TEST(Objedit, MalformedLinesBuildNothing) {
  ObjeditHome home;
  std::string text;
  text += "DATUM, 206010, Too_Few\n";
  text += "DATUM, 206011, Unknown_Spheroid, 7999\n";
  text += "DATUM, 206012, Unknown_Name, KX_S_NO_SUCH_SPHEROID\n";
  text += "DATUM, 99999999999999, Overflowing_Code, 7030\n";
  text += "DATUM, 206013, Overflowing_Component, 70300000000000000000\n";
  text += "DATUM, 206014, Long_Line, 7030, " + std::string(100000, 'x') + "\n";
  // The rest of an overlong line is no line of its own.
  text += std::string(2000, ' ') + ", DATUM, 206015, Tail_Of_Long_Line, 7030\n";
  text += std::string("DATUM, 206016, Nul") + '\0' + "Byte, 7030\n";
  text += "DATUM, DATUM, 206017, Second_Keyword, 7030\n";
  text += ", , \"\" ,\n\n\n";
  text += "DATUM 206018 No_Commas 7030\n";
  text += "DATUM, 206019, Bad_Spheroid_Code, 7030x\n";
  // Binary junk, NUL bytes and line breaks included.
  std::mt19937 random(12345);
  for (int i = 0; i < 65536; ++i) text += static_cast<char>(random() & 0xFF);
  text += "\n";
  text += "note, datum , 206020, Keyword_Later_In_Line, 7030\r\n";
  text += "DATUM, 206021, Last_Line_Without_Newline, 7030";
  home.write("datum", text);

  for (int code = 206010; code <= 206019; ++code) {
    EXPECT_EQ(kx_factory_datum_objedit(code), nullptr) << code;
  }
  Datum later(kx_factory_datum_objedit(206020));
  ASSERT_NE(later, nullptr);
  EXPECT_EQ(name(later.get()), "Keyword_Later_In_Line");
  Datum last(kx_factory_datum_objedit(206021));
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(name(last.get()), "Last_Line_Without_Newline");
}

TEST(Objedit, LineLengthLimit) {
  ObjeditHome home;
  // 1023 characters are read, 1024 are not.
  const std::string head = "DATUM, 206001, Fits, 7030";
  const std::string fits = head + std::string(1023 - head.size(), ' ');
  const std::string head2 = "DATUM, 206002, Too_Long, 7030";
  const std::string too_long = head2 + std::string(1024 - head2.size(), ' ');
  ASSERT_EQ(fits.size(), 1023u);
  home.write("datum", fits + "\n" + too_long + "\n");
  Datum d(kx_factory_datum_objedit(206001));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(name(d.get()), "Fits");
  EXPECT_EQ(kx_factory_datum_objedit(206002), nullptr);
  // The same at the end of the file without a newline.
  home.write("datum", too_long);
  EXPECT_EQ(kx_factory_datum_objedit(206002), nullptr);
  home.write("datum", fits);
  Datum d2(kx_factory_datum_objedit(206001));
  EXPECT_NE(d2, nullptr);

  // Names are cut to 63 characters by the constructor.
  home.write("datum", "DATUM, 206003, " + std::string(200, 'N') + ", 7030\n");
  Datum d3(kx_factory_datum_objedit(206003));
  ASSERT_NE(d3, nullptr);
  EXPECT_EQ(name(d3.get()), std::string(63, 'N'));
}

TEST(Objedit, FilesThatAreNotTextFiles) {
  ObjeditHome home;
  home.write("datum", "");
  EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
  home.write("datum", "\n\n\n");
  EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
  home.remove("datum");
  home.make_dir("datum");
  EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
  Datum wgs(kx_factory_datum(6326));
  ASSERT_NE(wgs, nullptr);
  EXPECT_EQ(kx_datum_status(wgs.get()), 4);
  // A FIFO would block a reader: it is not opened.
  home.make_fifo("unit");
  Unit meter(kx_factory_unit(9001));
  ASSERT_NE(meter, nullptr);
  EXPECT_EQ(kx_unit_status(meter.get()), 4);
}

namespace {
std::string g_long_home;
const char *long_home() { return g_long_home.c_str(); }
std::string g_func_home;
const char *func_home() { return g_func_home.c_str(); }
}  // namespace

TEST(Objedit, HomeFromFunctionAndOverlongHome) {
  ObjeditHome home;
  home.write("datum", "DATUM, 206001, From_Function, 7030\n");
  unsetenv("KXOBJEDITHOME");
  EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
  g_func_home = home.dir() + "/";  // a trailing separator is not doubled
  kx_objedithome_setfunc(func_home);
  Datum d(kx_factory_datum(206001));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(name(d.get()), "From_Function");
  // A home far longer than any path buffer: nothing found, nothing overrun.
  g_long_home = "/" + std::string(20000, 'a');
  kx_objedithome_setfunc(long_home);
  EXPECT_EQ(kx_factory_datum_objedit(206001), nullptr);
  Datum builtin(kx_factory_datum(6326));
  EXPECT_NE(builtin, nullptr);
  kx_objedithome_setfunc(nullptr);
}

TEST(Objedit, ProcessLocaleUntouched) {
  ObjeditHome home;
  home.write("spheroid", "SPHEROID, 207001, Locale, 6378137.25, 298.5\n");
  const std::string before = std::setlocale(LC_ALL, nullptr);
  Spheroid s(kx_factory_spheroid(207001));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(kx_spheroid_axis(s.get()), 6378137.25);
  EXPECT_EQ(kx_spheroid_flattening(s.get()), 1.0 / 298.5);
  EXPECT_EQ(before, std::setlocale(LC_ALL, nullptr));
}

TEST(Objedit, EveryFileReadAnew) {
  ObjeditHome home;
  home.write("primem", "PRIMEM, 208901, Before, 1\n");
  Primem a(kx_factory_primem(208901));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(name(a.get()), "Before");
  home.write("primem", "PRIMEM, 208901, After, 2\n");
  Primem b(kx_factory_primem(208901));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(name(b.get()), "After");
}

TEST(Objedit, RandomLinesNeverCrash) {
  // Lines assembled at random from keywords, codes, names, numbers and junk,
  // read by every factory and every listing (leaks show under the sanitizers).
  const char *pool[] = {"SPHEROID", "PRIMEM", "UNIT", "DATUM", "GEOGCS", "PROJCS", "GEOGTRAN",
                        "207001", "208901", "209001", "209101", "206001", "204001", "202001",
                        "208001", "7030", "6326", "4326", "8901", "9102", "9001", "43021",
                        "43006", "9603", "9613", "9601", "100001", "100002", "100010", "100040",
                        "100041", "100042", "100047", "KX_GCS_WGS_1984", "KX_U_METER", "Name",
                        "\"Quoted, name\"", "6378137", "298.257", "0", "-1", "1e308", "1e999",
                        "nan", "", " ", "\t", "\"", ",", "\r", "x", "99999999999"};
  const int n = static_cast<int>(sizeof pool / sizeof pool[0]);
  std::mt19937 random(2026);
  ObjeditHome home;
  for (const char *file : {"spheroid", "primem", "unit", "datum", "geogcs", "projcs", "geogtran"}) {
    std::string text;
    for (int line = 0; line < 400; ++line) {
      const int tokens = static_cast<int>(random() % 24);
      for (int t = 0; t < tokens; ++t) {
        text += pool[random() % n];
        text += random() % 4 == 0 ? " " : ",";
      }
      text += "\n";
    }
    home.write(file, text);
  }
  const int codes[] = {207001, 208901, 209001, 209101, 206001, 204001, 202001, 208001,
                       7030,   6326,   4326,   8901,   9102,   9001,   1170};
  for (int code : codes) {
    kx_spheroid_del(kx_factory_spheroid(code));
    kx_primem_del(kx_factory_primem(code));
    kx_unit_del(kx_factory_unit(code));
    kx_datum_del(kx_factory_datum(code));
    kx_geogcs_del(kx_factory_geogcs(code));
    kx_projcs_del(kx_factory_projcs(code));
    kx_geogtran_del(kx_factory_geogtran(code));
  }
  using Listing = kx_predefined *(*)(int *);
  for (Listing listing : {kx_predefined_spheroid, kx_predefined_primem, kx_predefined_angular_unit,
                          kx_predefined_linear_unit, kx_predefined_datum, kx_predefined_geogcs,
                          kx_predefined_projcs, kx_predefined_geogtran}) {
    int count = 0;
    kx_predefined *table = listing(&count);
    EXPECT_GT(count, 0);
    kx_table_del(table);
  }
}

namespace {
int open_descriptors() {
  int n = 0;
  if (DIR *d = opendir("/proc/self/fd")) {
    while (readdir(d) != nullptr) ++n;
    closedir(d);
  }
  return n;
}
}  // namespace

TEST(Objedit, EveryFileClosed) {
  ObjeditHome home;
  home.write("datum", "DATUM, 206001, D_Closed, 7030\nDATUM, 206002, D_Bad, 7999\n");
  home.make_dir("geogcs");
  const int before = open_descriptors();
  for (int i = 0; i < 500; ++i) {
    kx_datum_del(kx_factory_datum(206001));
    kx_datum_del(kx_factory_datum(206002));
    kx_datum_del(kx_factory_datum(206003));
    kx_geogcs_del(kx_factory_geogcs(4326));
  }
  EXPECT_EQ(open_descriptors(), before);
}
