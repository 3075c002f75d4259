// Spheroid, prime meridian, unit and parameter objects: constructors and
// their range checks, text round trips with real values (EPSG v10.076:
// ellipsoids 7030 WGS 84, 7008 Clarke 1866, 7011 Clarke 1880 (IGN); prime
// meridian 8903 Paris; units 9102 degree, 9105 grad, 9003 US survey foot),
// equality, the parameter slot table and defaults for invalid handles.
#include "kx.h"
#include "objects/parameter_table.h"
#include "objects/records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string name_of(kx_spheroid s) {
  char b[64];
  kx_spheroid_name(s, b);
  return b;
}

template <class H>
std::string text(int (*writer)(H, char *), H h) {
  char b[1024];
  std::memset(b, 'x', sizeof b);
  const int n = writer(h, b);
  EXPECT_EQ(static_cast<size_t>(n), std::strlen(b));
  return b;
}

TEST(Spheroid, ConstructorRangeChecks) {
  kx_spheroid s = kx_spheroid_new("WGS_1984", 6378137.0, 1 / 298.257223563);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(kx_spheroid_axis(s), 6378137.0);
  EXPECT_EQ(kx_spheroid_flattening(s), 1 / 298.257223563);
  EXPECT_EQ(kx_spheroid_status(s), 1);
  EXPECT_EQ(name_of(s), "WGS_1984");
  kx_spheroid_del(s);

  EXPECT_EQ(kx_spheroid_new("x", 6378137.0, 1.0), nullptr);
  EXPECT_EQ(kx_spheroid_new("x", 0.0, 0.0), nullptr);
  EXPECT_EQ(kx_spheroid_new("x", -1.0, 0.0), nullptr);
  EXPECT_EQ(kx_spheroid_new("x", 1.0, -1e-300), nullptr);
  EXPECT_EQ(kx_spheroid_new("x", kNaN, 0.0), nullptr);
  EXPECT_EQ(kx_spheroid_new("x", 1.0, kNaN), nullptr);
  EXPECT_EQ(kx_spheroid_new("x", kInf, 0.0), nullptr);
  EXPECT_EQ(kx_spheroid_new("x", 1.0, kInf), nullptr);
  EXPECT_EQ(kx_spheroid_new(nullptr, 1.0, 0.0), nullptr);

  kx_spheroid sphere = kx_spheroid_new("Sphere", 6371007.0, 0.0);
  ASSERT_NE(sphere, nullptr);
  EXPECT_EQ(text(kx_spheroid_to_string, sphere), "SPHEROID[\"Sphere\",6371007.0,0.0]");
  kx_spheroid_del(sphere);
  // Below 2^-48 the flattening counts as a sphere in text.
  kx_spheroid tiny = kx_spheroid_new("t", 1.0, 3e-15);
  EXPECT_EQ(text(kx_spheroid_to_string, tiny), "SPHEROID[\"t\",1.0,0.0]");
  kx_spheroid_del(tiny);
}

TEST(Spheroid, TextOfRealEllipsoids) {
  kx_spheroid s = kx_spheroid_from_string("SPHEROID[\"WGS_1984\",6378137.0,298.257223563]");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(kx_spheroid_status(s), 2);
  EXPECT_DOUBLE_EQ(kx_spheroid_flattening(s), 0.0033528106647474805);
  EXPECT_EQ(text(kx_spheroid_to_string, s), "SPHEROID[\"WGS_1984\",6378137.0,298.257223563]");
  kx_spheroid c = kx_spheroid_clone(s);
  EXPECT_EQ(kx_spheroid_status(c), 1);
  EXPECT_EQ(kx_spheroid_eq(s, c), 1);
  kx_spheroid_del(c);
  kx_spheroid_del(s);

  // Clarke 1866 is defined by its axes; 1 / f = 294.9786982138982.
  kx_spheroid clarke = kx_spheroid_new("Clarke_1866", 6378206.4, 0.0033900753039287908);
  EXPECT_EQ(text(kx_spheroid_to_string, clarke),
            "SPHEROID[\"Clarke_1866\",6378206.4,294.9786982138982]");
  kx_spheroid back = kx_spheroid_from_string(text(kx_spheroid_to_string, clarke).c_str());
  EXPECT_EQ(kx_spheroid_eq(clarke, back), 1);
  kx_spheroid_del(back);
  kx_spheroid_del(clarke);

  kx_spheroid ign = kx_spheroid_from_string(
      "spheroid [ \"Clarke_1880_IGN\" , 6378249.2 , 293.4660212936269 ]");
  ASSERT_NE(ign, nullptr);
  EXPECT_DOUBLE_EQ(kx_spheroid_flattening(ign), 0.003407549520015647);
  kx_spheroid_del(ign);
}

TEST(Spheroid, EmptyNameAndSphereRoundTrip) {
  const char *t = "SPHEROID[\"\",6378137.0,0.0]";
  kx_spheroid s = kx_spheroid_from_string(t);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(name_of(s), "");
  EXPECT_EQ(kx_spheroid_flattening(s), 0.0);
  EXPECT_EQ(text(kx_spheroid_to_string, s), t);
  kx_spheroid_del(s);
}

TEST(Spheroid, BadNumbersInText) {
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",abc,298.257223563]"), nullptr);
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",nan,298.257223563]"), nullptr);
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",inf,298.257223563]"), nullptr);
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",-6378137,298.257223563]"), nullptr);
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",6378137,1.0]"), nullptr);   // f = 1
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",6378137,0.5]"), nullptr);   // f = 2
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",6378137,-300]"), nullptr);  // f < 0
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",6378137,nan]"), nullptr);
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",6378137]"), nullptr);  // too few tokens
  EXPECT_EQ(kx_spheroid_from_string("SPHEROID[\"a\",6378137,"), nullptr);
  EXPECT_EQ(kx_spheroid_from_string(nullptr), nullptr);
  EXPECT_EQ(kx_spheroid_from_string(""), nullptr);
  // A text inverse flattening that is not a number reads 0: a sphere.
  kx_spheroid s = kx_spheroid_from_string("SPHEROID[\"a\",6378137,xyz]");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(kx_spheroid_flattening(s), 0.0);
  kx_spheroid_del(s);
  // An infinite inverse flattening is a sphere too (1 / inf = 0).
  s = kx_spheroid_from_string("SPHEROID[\"a\",6378137,inf]");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(kx_spheroid_flattening(s), 0.0);
  kx_spheroid_del(s);
}

TEST(PrimeMeridian, RangeAndText) {
  kx_primem a = kx_primem_new("West", -180.0);
  kx_primem b = kx_primem_new("East", 180.0);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  kx_primem_del(a);
  kx_primem_del(b);
  EXPECT_EQ(kx_primem_new("x", 180.000001), nullptr);
  EXPECT_EQ(kx_primem_new("x", -180.000001), nullptr);
  EXPECT_EQ(kx_primem_new("x", kNaN), nullptr);
  EXPECT_EQ(kx_primem_new("x", kInf), nullptr);
  EXPECT_EQ(kx_primem_new("x", -kInf), nullptr);
  EXPECT_EQ(kx_primem_new(nullptr, 0.0), nullptr);

  // EPSG 8903 Paris, 2.5969213 grad = 2.337229169999998 degrees: the 14th
  // and 15th digits are 99, so the text keeps 15 digits.
  kx_primem paris = kx_primem_new("Paris", 2.337229169999998);
  EXPECT_EQ(text(kx_primem_to_string, paris), "PRIMEM[\"Paris\",2.33722917]");
  kx_primem back = kx_primem_from_string("PRIMEM[\"Paris\",2.33722917]");
  EXPECT_EQ(kx_primem_eq(paris, back), 1);
  EXPECT_EQ(kx_primem_status(back), 2);
  kx_primem_del(back);
  kx_primem_del(paris);

  // A longitude that is not a number reads 0 and is accepted.
  kx_primem z = kx_primem_from_string("PRIMEM[\"Greenwich\",abc]");
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(kx_primem_longitude(z), 0.0);
  kx_primem_del(z);
  EXPECT_EQ(kx_primem_from_string("PRIMEM[\"Paris\",200]"), nullptr);
  EXPECT_EQ(kx_primem_from_string("PRIMEM[\"Paris\",nan]"), nullptr);
}

TEST(Unit, FactorsEqualityAndParentheses) {
  EXPECT_EQ(kx_unit_new("x", 0.0), nullptr);
  EXPECT_EQ(kx_unit_new("x", -1.0), nullptr);
  EXPECT_EQ(kx_unit_new("x", kNaN), nullptr);
  EXPECT_EQ(kx_unit_new("x", kInf), nullptr);
  EXPECT_EQ(kx_unit_new(nullptr, 1.0), nullptr);
  EXPECT_EQ(kx_unit_from_string("UNIT[\"Meter\",abc]"), nullptr);
  EXPECT_EQ(kx_unit_from_string("UNIT[\"Meter\",0]"), nullptr);

  kx_unit a = kx_unit_new("Foot_US", 0.30480060960121924);
  kx_unit b = kx_unit_new("FOOT_us", 0.30480060960121924 + 1e-16);
  kx_unit c = kx_unit_new("Foot_US", 0.30480060960121924 + 1e-10);
  EXPECT_EQ(kx_unit_eq(a, b), 1);  // names ignore case, factors within 2^-48
  EXPECT_EQ(kx_unit_eq(a, c), 0);
  EXPECT_EQ(text(kx_unit_to_string, a), "UNIT[\"Foot_US\",0.3048006096012192]");
  kx_unit_del(a);
  kx_unit_del(b);
  kx_unit_del(c);

  kx_unit sq = kx_unit_from_string("UNIT[\"Degree\",0.0174532925199433]");
  kx_unit pa = kx_unit_from_string("UNIT(\"Degree\",0.0174532925199433)");
  ASSERT_NE(sq, nullptr);
  ASSERT_NE(pa, nullptr);
  EXPECT_EQ(kx_unit_eq(sq, pa), 1);
  EXPECT_EQ(kx_unit_factor(pa), 0.0174532925199433);
  kx_unit_del(sq);
  kx_unit_del(pa);

  // EPSG 9105 grad.
  kx_unit grad = kx_unit_new("Grad", 0.01570796326794895);
  EXPECT_EQ(text(kx_unit_to_string, grad), "UNIT[\"Grad\",0.01570796326794895]");
  kx_unit_del(grad);
}

TEST(Parameter, SlotTable) {
  struct Case {
    const char *name;
    int slot;
  } cases[] = {
      {"False_Easting", 0},           {"false easting", 0},
      {"FALSE_NORTHING", 1},          {"Central_Meridian", 2},
      {"Longitude_Of_Origin", 2},     {"Standard_Parallel_1", 3},
      {"Standard Parallel 2", 4},     {"Scale_Factor", 5},
      {"Central_Parallel", 6},        {"Latitude_Of_Origin", 6},
      {"Azimuth", 7},                 {"Height", 15},
      {"Option", 15},                 {"Latitude_Of_1st_Point", 3},
      {"Latitude_Of_2nd_Point", 4},   {"Longitude_Of_1st_Point", 8},
      {"Longitude_Of_2nd_Point", 9},  {"Longitude_Of_Center", 10},
      {"Latitude_Of_Center", 11},     {"Pseudo_Standard_Parallel_1", 3},
      {"XY_Plane_Rotation", 14},      {"X_Scale", 12},
      {"Y_Scale", 13},                {"X_Axis_Translation", 0},
      {"Y_Axis_Translation", 1},      {"Z_Axis_Translation", 2},
      {"X_Axis_Rotation", 3},         {"Y_Axis_Rotation", 4},
      {"Z_Axis_Rotation", 5},         {"Scale_Difference", 6},
      {"X_Coordinate_of_Rotation_Origin", 7}, {"Y_Coordinate_of_Rotation_Origin", 8},
      {"Z_Coordinate_of_Rotation_Origin", 9}, {"Dataset_", 15},
      {"Dataset_conus", 15},          {"dataset ntv2_0", 15},
      {"Foo", -1},                    {"Dataset", -1},
      {"", -1},                       {"False_Easting_", -1},
  };
  for (const Case &c : cases) {
    kx_parameter p = kx_parameter_new(c.name, 1.0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(kx_parameter_index(p), c.slot) << c.name;
    kx_parameter_del(p);
  }
  kx_unit u = kx_unit_new("False_Easting", 1.0);
  EXPECT_EQ(kx_parameter_index(reinterpret_cast<kx_parameter>(u)), -2);
  EXPECT_EQ(kx_parameter_index(nullptr), -2);
  kx_unit_del(u);
}

// That every slot-table name has one code and the codes ascend is checked
// where the catalogue derives its code-to-slot map (parameter_slots.h).
TEST(Parameter, SlotLookupAndDefaults) {
  EXPECT_EQ(kx::parameter_slot("Longitude_Of_Center"), 10);
  EXPECT_EQ(kx::kParameterSlotTable[16].default_value, -75.0);
  EXPECT_EQ(kx::kParameterSlotTable[17].default_value, 40.0);
  EXPECT_EQ(kx::parameter_slot(nullptr), -1);
}

TEST(Parameter, NameAndValueSetters) {
  kx_parameter p = kx_parameter_new("Scale_Factor", 0.9996);
  EXPECT_EQ(kx_parameter_value_set(p, kNaN), 1);  // any value
  EXPECT_TRUE(std::isnan(kx_parameter_value(p)));
  EXPECT_EQ(kx_parameter_eq(p, p), 0);  // a NaN equals nothing
  EXPECT_EQ(kx_parameter_value_set(p, -kInf), 1);
  EXPECT_EQ(kx_parameter_value(p), -kInf);
  EXPECT_EQ(kx_parameter_name_set(p, nullptr), 0);
  EXPECT_EQ(kx_parameter_name_set(p, std::string(70, 'q').c_str()), 1);
  char buf[64];
  std::memset(buf, '#', sizeof buf);
  kx_parameter_name(p, buf);
  EXPECT_EQ(std::string(buf), std::string(63, 'q'));
  // Setting a shorter name leaves no trace of the longer one.
  EXPECT_EQ(kx_parameter_name_set(p, "ab"), 1);
  std::memset(buf, '#', sizeof buf);
  kx_parameter_name(p, buf);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(buf[3], '#');  // no zero-fill
  EXPECT_EQ(reinterpret_cast<kx_parameter_rec *>(p)->hdr.name[3], '\0');
  // Its own name as the new name.
  EXPECT_EQ(kx_parameter_name_set(p, reinterpret_cast<kx_parameter_rec *>(p)->hdr.name), 1);
  kx_parameter_name(p, buf);
  EXPECT_STREQ(buf, "ab");

  // Invalid handle: buffer untouched, setters refuse.
  kx_unit u = kx_unit_new("m", 1.0);
  kx_parameter up = reinterpret_cast<kx_parameter>(u);
  std::memset(buf, '#', sizeof buf);
  kx_parameter_name(up, buf);
  EXPECT_EQ(buf[0], '#');
  EXPECT_EQ(kx_parameter_name_set(up, "x"), 0);
  EXPECT_EQ(kx_parameter_value_set(up, 2.0), 0);
  EXPECT_EQ(kx_unit_factor(u), 1.0);
  kx_unit_del(u);
  kx_parameter_del(p);

  kx_parameter t = kx_parameter_from_string("PARAMETER[\"False_Easting\",500000.0]");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(kx_parameter_value(t), 500000.0);
  EXPECT_EQ(kx_parameter_status(t), 2);
  kx_parameter_del(t);
  kx_parameter z = kx_parameter_from_string("PARAMETER[\"False_Easting\",abc]");
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(kx_parameter_value(z), 0.0);
  kx_parameter_del(z);
}

TEST(LeafKinds, NamesCommasCaseAndLength) {
  // A comma inside a name survives writing and reading.
  kx_unit u = kx_unit_new("Foot, US survey", 0.30480060960121924);
  const std::string t = text(kx_unit_to_string, u);
  EXPECT_EQ(t, "UNIT[\"Foot, US survey\",0.3048006096012192]");
  kx_unit r = kx_unit_from_string(t.c_str());
  ASSERT_NE(r, nullptr);
  char b[64];
  kx_unit_name(r, b);
  EXPECT_STREQ(b, "Foot, US survey");
  EXPECT_EQ(kx_unit_eq(u, r), 1);
  kx_unit_del(r);
  kx_unit_del(u);

  // 70 characters are cut to the first 63, by the constructor and the reader.
  const std::string n70 = "N" + std::string(68, 'a') + "Z";
  kx_spheroid s = kx_spheroid_new(n70.c_str(), 1.0, 0.0);
  EXPECT_EQ(name_of(s), n70.substr(0, 63));
  kx_spheroid_del(s);
  s = kx_spheroid_from_string(("SPHEROID[\"" + n70 + "\",1.0,0.0]").c_str());
  EXPECT_EQ(name_of(s), n70.substr(0, 63));
  // The stored name is zero after its end.
  const char *stored = reinterpret_cast<kx_spheroid_rec *>(s)->hdr.name;
  EXPECT_EQ(stored[63], '\0');
  kx_spheroid_del(s);
  s = kx_spheroid_new("short", 1.0, 0.0);
  stored = reinterpret_cast<kx_spheroid_rec *>(s)->hdr.name;
  for (int i = 5; i < 64; ++i) EXPECT_EQ(stored[i], '\0');
  kx_spheroid_del(s);

  // Lower-case keyword.
  kx_primem p = kx_primem_from_string("primem[\"Greenwich\",0.0]");
  EXPECT_NE(p, nullptr);
  kx_primem_del(p);
}

TEST(LeafKinds, InvalidHandlesGetDefaults) {
  kx_unit u = kx_unit_new("Meter", 1.0);
  kx_spheroid as_sph = reinterpret_cast<kx_spheroid>(u);
  EXPECT_EQ(kx_spheroid_axis(as_sph), 1.0);
  EXPECT_EQ(kx_spheroid_flattening(as_sph), 0.0);
  EXPECT_EQ(kx_spheroid_p(as_sph), 0);
  EXPECT_EQ(kx_spheroid_status(as_sph), 0);
  EXPECT_EQ(kx_spheroid_status_set(as_sph, 9), 0);
  EXPECT_EQ(kx_unit_status(u), 1);
  EXPECT_EQ(kx_spheroid_clone(as_sph), nullptr);
  EXPECT_EQ(kx_spheroid_eq(as_sph, as_sph), 0);
  kx_spheroid_del(as_sph);  // ignored: the unit stays alive
  EXPECT_EQ(kx_unit_p(u), 1);
  char b[64];
  std::memset(b, '#', sizeof b);
  kx_spheroid_name(as_sph, b);
  for (char c : b) EXPECT_EQ(c, '\0');
  EXPECT_EQ(text(kx_spheroid_to_string, as_sph), "SPHEROID[\"\",1.0,0.0]");

  kx_primem as_pm = reinterpret_cast<kx_primem>(u);
  EXPECT_EQ(kx_primem_longitude(as_pm), 0.0);
  EXPECT_EQ(text(kx_primem_to_string, as_pm), "PRIMEM[\"\",0.0]");
  kx_parameter as_par = reinterpret_cast<kx_parameter>(u);
  EXPECT_EQ(kx_parameter_value(as_par), 0.0);
  EXPECT_EQ(text(kx_parameter_to_string, as_par), "PARAMETER[\"\",0.0]");
  kx_spheroid s = kx_spheroid_new("s", 2.0, 0.5);
  EXPECT_EQ(kx_unit_factor(reinterpret_cast<kx_unit>(s)), 1.0);
  EXPECT_EQ(text(kx_unit_to_string, static_cast<kx_unit>(nullptr)), "UNIT[\"\",1.0]");
  EXPECT_EQ(kx_unit_to_string(u, nullptr), 0);
  kx_unit_name(u, nullptr);
  kx_spheroid_del(nullptr);
  kx_unit_del(nullptr);
  kx_primem_del(nullptr);
  kx_parameter_del(nullptr);

  // The odd identifier (kind + 1) is accepted, other bits are not.
  auto *rec = reinterpret_cast<kx_spheroid_rec *>(s);
  rec->hdr.kind = KX_KIND_SPHEROID + 1;
  EXPECT_EQ(kx_spheroid_p(s), 1);
  EXPECT_EQ(kx_spheroid_axis(s), 2.0);
  rec->hdr.kind = KX_KIND_SPHEROID + 2;
  EXPECT_EQ(kx_spheroid_p(s), 0);
  EXPECT_EQ(kx_spheroid_axis(s), 1.0);
  rec->hdr.kind = KX_KIND_SPHEROID;

  EXPECT_EQ(kx_spheroid_status_set(s, 200), 1);
  EXPECT_EQ(kx_spheroid_status(s), 200);
  kx_spheroid c = kx_spheroid_clone(s);
  EXPECT_EQ(kx_spheroid_status(c), 1);
  EXPECT_EQ(kx_spheroid_eq(s, c), 1);  // status is not compared
  kx_spheroid_del(c);
  kx_spheroid_del(s);
  kx_unit_del(u);
}

TEST(LeafKinds, FromTokensReportsTheElementRange) {
  char buffer[1024];
  char *tokens[200];
  int count = 0;
  kx_objstring_tokens("X[UNIT[\"a\",1],UNIT[\"b\",2]]", "X", buffer, tokens, &count);
  ASSERT_EQ(count, 7);
  int first = -9, last = -9;
  kx_unit u = kx_unit_from_tokens(tokens, count, 2, &first, &last);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(first, 4);
  EXPECT_EQ(last, 6);
  EXPECT_EQ(kx_unit_factor(u), 2.0);
  kx_unit_del(u);
  // Keyword too close to the end: not searched there.
  EXPECT_EQ(kx_unit_from_tokens(tokens, 6, 2, &first, &last), nullptr);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 2);
  // Null out-values and bad arguments.
  u = kx_unit_from_tokens(tokens, count, 0, nullptr, nullptr);
  EXPECT_EQ(kx_unit_factor(u), 1.0);
  kx_unit_del(u);
  EXPECT_EQ(kx_unit_from_tokens(nullptr, count, 0, &first, &last), nullptr);
  EXPECT_EQ(kx_unit_from_tokens(tokens, count, -3, &first, &last), nullptr);
  EXPECT_EQ(kx_unit_from_tokens(tokens, -5, 0, &first, &last), nullptr);
  // Null entries inside the counted range are skipped, never dereferenced.
  char *holes[6] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  EXPECT_EQ(kx_spheroid_from_tokens(holes, 6, 0, &first, &last), nullptr);
  char kw[] = "SPHEROID";
  char *partial[5] = {kw, nullptr, nullptr, nullptr, nullptr};
  EXPECT_EQ(kx_spheroid_from_tokens(partial, 5, 0, &first, &last), nullptr);
}

}  // namespace
