// Names the text form cannot carry are refused wherever they enter (every
// kind's constructor, the parameter rename, the parenthesised text form);
// names it can carry read back equal. Cases: data/objects/name_cases.txt.
#include "kx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct NameCase {
  bool carry;
  std::string name;
};

std::vector<NameCase> name_cases() {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/objects/name_cases.txt");
  std::vector<NameCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t space = line.find(' ');
    std::string name;
    for (size_t i = space + 1; i < line.size(); ++i) {
      if (line.compare(i, 2, "\\x") == 0 && i + 3 < line.size()) {
        name += static_cast<char>(std::strtol(line.substr(i + 2, 2).c_str(), nullptr, 16));
        i += 3;
      } else {
        name += line[i];
      }
    }
    cases.push_back({line.compare(0, space, "carry") == 0, name});
  }
  return cases;
}

// The components a composite kind is built from, read from text.
const char kSpheroid[] = "SPHEROID[\"WGS_1984\",6378137.0,298.257223563]";
const char kGeogcs[] =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const char kNad27[] =
    "GEOGCS[\"GCS_North_American_1927\",DATUM[\"D_North_American_1927\",SPHEROID[\"Clarke_1866\","
    "6378206.4,294.9786982138982]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

// One object kind seen through void pointers: build with a name (null when
// refused, components then deleted here), write, read, compare, delete, and
// its text with '@' for the name.
struct Kind {
  const char *label;
  std::function<void *(const char *)> make;
  std::function<int(void *, char *)> write;
  std::function<void *(const char *)> read;
  std::function<int(void *, void *)> eq;
  std::function<void(void *)> del;
  std::string text;
};

// The text length a writer gives: its result, or for the writers that return
// the buffer, the length of the text when the buffer came back.
int written(int n, const char *) { return n; }
int written(const char *result, const char *buffer) {
  return result == buffer ? static_cast<int>(std::strlen(buffer)) : 0;
}

template <class H, class W>
Kind kind(const char *label, std::function<H(const char *)> make, W (*write)(H, char *),
          H (*read)(const char *), int (*eq)(H, H), void (*del)(H), std::string text) {
  return {label,
          [make](const char *n) -> void * { return make(n); },
          [write](void *h, char *b) { return written(write(static_cast<H>(h), b), b); },
          [read](const char *t) -> void * { return read(t); },
          [eq](void *a, void *b) { return eq(static_cast<H>(a), static_cast<H>(b)); },
          [del](void *h) { del(static_cast<H>(h)); },
          std::move(text)};
}

// A projected CS or transformation constructor with 16 empty slots but one.
kx_projcs make_projcs(const char *name) {
  kx_parameter slots[16] = {};
  slots[0] = kx_parameter_new("False_Easting", 500000.0);
  kx_geogcs g = kx_geogcs_from_string(kGeogcs);
  kx_projection p = kx_projection_from_string("PROJECTION[\"Transverse_Mercator\"]");
  kx_unit u = kx_unit_new("Meter", 1.0);
  kx_projcs pcs = kx_projcs_new(name, g, p, slots, u);
  if (pcs == nullptr) {
    kx_geogcs_del(g);
    kx_projection_del(p);
    kx_unit_del(u);
    kx_parameter_del(slots[0]);
  }
  return pcs;
}

kx_geogtran make_geogtran(const char *name) {
  kx_parameter slots[16] = {};
  slots[0] = kx_parameter_new("X_Axis_Translation", -3.0);
  kx_geogcs g1 = kx_geogcs_from_string(kNad27);
  kx_geogcs g2 = kx_geogcs_from_string(kGeogcs);
  kx_method m = kx_method_from_string("METHOD[\"Geocentric_Translation\"]");
  kx_geogtran gt = kx_geogtran_new(name, g1, g2, m, slots);
  if (gt == nullptr) {
    kx_geogcs_del(g1);
    kx_geogcs_del(g2);
    kx_method_del(m);
    kx_parameter_del(slots[0]);
  }
  return gt;
}

std::vector<Kind> kinds() {
  const std::string geogcs = kGeogcs;
  const std::string geogcs_at = "GEOGCS[\"@\"" + geogcs.substr(geogcs.find(','));
  return {
      kind<kx_spheroid>(
          "spheroid", [](const char *n) { return kx_spheroid_new(n, 6378137.0, 1 / 298.25); },
          kx_spheroid_to_string, kx_spheroid_from_string, kx_spheroid_eq, kx_spheroid_del,
          "SPHEROID[\"@\",6378137.0,298.25]"),
      kind<kx_primem>(
          "primem", [](const char *n) { return kx_primem_new(n, 2.337229166666667); },
          kx_primem_to_string, kx_primem_from_string, kx_primem_eq, kx_primem_del,
          "PRIMEM[\"@\",2.337229166666667]"),
      kind<kx_unit>(
          "unit", [](const char *n) { return kx_unit_new(n, 0.3048006096012192); },
          kx_unit_to_string, kx_unit_from_string, kx_unit_eq, kx_unit_del,
          "UNIT[\"@\",0.3048006096012192]"),
      kind<kx_parameter>(
          "parameter", [](const char *n) { return kx_parameter_new(n, 12.5); },
          kx_parameter_to_string, kx_parameter_from_string, kx_parameter_eq, kx_parameter_del,
          "PARAMETER[\"@\",12.5]"),
      kind<kx_datum>(
          "datum",
          [](const char *n) {
            kx_spheroid s = kx_spheroid_from_string(kSpheroid);
            kx_datum d = kx_datum_new(n, s);
            if (d == nullptr) kx_spheroid_del(s);
            return d;
          },
          kx_datum_to_string, kx_datum_from_string, kx_datum_eq, kx_datum_del,
          std::string("DATUM[\"@\",") + kSpheroid + "]"),
      kind<kx_geogcs>(
          "geogcs",
          [](const char *n) {
            kx_datum d = kx_datum_from_string(kGeogcs);
            kx_primem p = kx_primem_from_string(kGeogcs);
            kx_unit u = kx_unit_from_string(kGeogcs);
            kx_geogcs g = kx_geogcs_new(n, d, p, u);
            if (g == nullptr) {
              kx_datum_del(d);
              kx_primem_del(p);
              kx_unit_del(u);
            }
            return g;
          },
          kx_geogcs_to_string, kx_geogcs_from_string, kx_geogcs_eq, kx_geogcs_del, geogcs_at),
      kind<kx_geoxyzcs>(
          "geoxyzcs",
          [](const char *n) {
            kx_geogcs g = kx_geogcs_from_string(kGeogcs);
            kx_unit u = kx_unit_new("Meter", 1.0);
            kx_geoxyzcs x = kx_geoxyzcs_new(n, g, u);
            if (x == nullptr) {
              kx_geogcs_del(g);
              kx_unit_del(u);
            }
            return x;
          },
          kx_geoxyzcs_to_string, kx_geoxyzcs_from_string, kx_geoxyzcs_eq, kx_geoxyzcs_del,
          std::string("GEOXYZCS[\"@\",") + kGeogcs + ",UNIT[\"Meter\",1.0]]"),
      kind<kx_projcs>("projcs", make_projcs, kx_projcs_to_string, kx_projcs_from_string,
                      kx_projcs_eq, kx_projcs_del,
                      std::string("PROJCS[\"@\",") + kGeogcs +
                          ",PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"False_Easting\","
                          "500000.0],UNIT[\"Meter\",1.0]]"),
      kind<kx_geogtran>("geogtran", make_geogtran, kx_geogtran_to_string,
                        kx_geogtran_from_string, kx_geogtran_eq, kx_geogtran_del,
                        std::string("GEOGTRAN[\"@\",") + kNad27 + "," + kGeogcs +
                            ",METHOD[\"Geocentric_Translation\"],PARAMETER[\"X_Axis_Translation\","
                            "-3.0]]"),
  };
}

// The text with the name put in and, for the parenthesised form, every
// bracket of the template turned into a parenthesis.
std::string with_name(std::string text, const std::string &name, bool parenthesised) {
  if (parenthesised) {
    for (char &c : text) {
      if (c == '[') c = '(';
      if (c == ']') c = ')';
    }
  }
  return text.replace(text.find('@'), 1, name);
}

TEST(ObjectNames, RefusedWhereTheyEnterOrCarriedBackEqual) {
  const std::vector<NameCase> cases = name_cases();
  ASSERT_GE(cases.size(), 10u);
  static char text[KX_TEXT_MAX_GEOGTRAN + 1];
  for (const NameCase &c : cases) {
    for (const Kind &k : kinds()) {
      SCOPED_TRACE(std::string(k.label) + " named '" + c.name + "'");
      void *made = k.make(c.name.c_str());
      if (!c.carry) {
        EXPECT_EQ(made, nullptr);
        k.del(made);
        // The parenthesised form quotes a name with brackets without cutting it.
        if (c.name.find_first_of("[]") != std::string::npos &&
            c.name.find_first_of("\"\x7f") == std::string::npos) {
          void *read = k.read(with_name(k.text, c.name, true).c_str());
          EXPECT_EQ(read, nullptr);
          k.del(read);
        }
        continue;
      }
      ASSERT_NE(made, nullptr);
      ASSERT_GT(k.write(made, text), 0);
      void *back = k.read(text);
      EXPECT_EQ(k.eq(made, back), 1) << text;
      k.del(back);
      // The bracketed text of the same object reads to an equal one.
      void *read = k.read(with_name(k.text, c.name, false).c_str());
      EXPECT_EQ(k.eq(made, read), 1);
      k.del(read);
      k.del(made);
    }
  }
}

TEST(ObjectNames, ProjectionAndMethodConstructorsRefuseLikeTheOthers) {
  for (const NameCase &c : name_cases()) {
    kx_projection p =
        kx_projection_new(c.name.c_str(), kx_mercator_fwd, kx_mercator_inv, nullptr);
    kx_method m = kx_method_new(c.name.c_str(), kx_geocentric_translation_fwd,
                                kx_geocentric_translation_inv);
    EXPECT_EQ(p != nullptr, c.carry) << c.name;
    EXPECT_EQ(m != nullptr, c.carry) << c.name;
    kx_projection_del(p);
    kx_method_del(m);
  }
}

TEST(ObjectNames, ParameterRenameRefusesAndKeepsTheName) {
  for (const NameCase &c : name_cases()) {
    kx_parameter p = kx_parameter_new("Scale_Factor", 0.9996);
    EXPECT_EQ(kx_parameter_name_set(p, c.name.c_str()), c.carry ? 1 : 0) << c.name;
    char text[KX_TEXT_MAX_PARAMETER + 1];
    kx_parameter_to_string(p, text);
    kx_parameter back = kx_parameter_from_string(text);
    EXPECT_EQ(kx_parameter_eq(p, back), 1) << text;
    if (!c.carry) {
      EXPECT_EQ(kx_parameter_index(p), 5) << "renamed after a refusal";
    }
    kx_parameter_del(back);
    kx_parameter_del(p);
  }
}

}  // namespace
