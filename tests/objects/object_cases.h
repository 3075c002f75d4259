// Every object kind behind one table of operations on void pointers, and the
// reader of this folder's case files (texts hold commas, so lines are split on
// spaces: "def NAME text" names a text, "{NAME}" inserts it, "{N*s}" repeats s
// N times and "\xHH" is a byte).
#ifndef KX_TESTS_OBJECTS_OBJECT_CASES_H
#define KX_TESTS_OBJECTS_OBJECT_CASES_H

#include "kx.h"
#include "support/cases.h"
#include <cctype>
#include <cstring>
#include <functional>
#include <map>

namespace objcase {
using Obj = void *;
using Tokens = char *const *;

struct Kind {
  int max_text = 0;
  bool registry_named = false;  // reads only names the registry knows
  std::function<Obj(const char *)> read;
  std::function<int(Obj, char *)> write;  // the text's length, 0 on failure
  std::function<int(Obj, Obj)> eq;
  std::function<Obj(Obj)> clone;
  std::function<void(Obj)> del;
  std::function<int(Obj)> status;
  std::function<Obj(Tokens, int, int, int *, int *)> from_tokens;
  std::function<std::string(Obj)> name;
  std::function<Obj(const char *, double, double)> make;  // over fixed parts, deleted on refusal
};

inline int written(int n, const char *) { return n; }
inline int written(const char *r, const char *b) { return r == b ? int(std::strlen(b)) : 0; }
#define KX_KIND(K, MAX)                                                                                        \
  {#K, Kind{MAX, false, [](const char *t) -> Obj { return kx_##K##_from_string(t); },                          \
            [](Obj h, char *b) { return written(kx_##K##_to_string(kx_##K(h), b), b); },                       \
            [](Obj a, Obj b) { return kx_##K##_eq(kx_##K(a), kx_##K(b)); },                                    \
            [](Obj h) -> Obj { return kx_##K##_clone(kx_##K(h)); }, [](Obj h) { kx_##K##_del(kx_##K(h)); },    \
            [](Obj h) { return int(kx_##K##_status(kx_##K(h))); },                                             \
            [](Tokens t, int n, int s, int *f, int *l) -> Obj { return kx_##K##_from_tokens(t, n, s, f, l); }, \
            [](Obj h) { char b[64] = ""; return kx_##K##_name(kx_##K(h), b), std::string(b); }, {}}}
// Parts made for one constructor call: deleted here when it refuses them.
#define KX_DROP(k) inline void drop(kx_##k h) { kx_##k##_del(h); }
KX_DROP(geogcs) KX_DROP(datum) KX_DROP(primem) KX_DROP(unit) KX_DROP(spheroid) KX_DROP(method)
KX_DROP(projection) KX_DROP(parameter)
inline std::vector<std::function<void()>> g_parts;
template <class H> H part(H h) { return g_parts.push_back([h] { drop(h); }), h; }
template <class H> H owned(H made) {
  for (auto &drop_part : g_parts) made == nullptr ? drop_part() : void();
  return g_parts.clear(), made;
}
const auto kFwd = kx_mercator_fwd, kInv = kx_mercator_inv;
const auto kMFwd = kx_geocentric_translation_fwd, kMInv = kx_geocentric_translation_inv;
const char kWgs84[] =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

inline std::map<std::string, Kind> kinds() {
  using D = double;
  std::map<std::string, Kind> k = {
      KX_KIND(spheroid, KX_TEXT_MAX_SPHEROID), KX_KIND(primem, KX_TEXT_MAX_PRIMEM),
      KX_KIND(unit, KX_TEXT_MAX_UNIT),         KX_KIND(parameter, KX_TEXT_MAX_PARAMETER),
      KX_KIND(datum, KX_TEXT_MAX_DATUM),       KX_KIND(geogcs, KX_TEXT_MAX_GEOGCS),
      KX_KIND(geoxyzcs, KX_TEXT_MAX_GEOXYZCS), KX_KIND(projection, KX_TEXT_MAX_PROJECTION),
      KX_KIND(method, KX_TEXT_MAX_METHOD),     KX_KIND(projcs, KX_TEXT_MAX_PROJCS),
      KX_KIND(geogtran, KX_TEXT_MAX_GEOGTRAN)};
  k["spheroid"].make = [](const char *n, D a, D b) { return kx_spheroid_new(n, a, b); };
  k["primem"].make = [](const char *n, D a, D) { return kx_primem_new(n, a); };
  k["unit"].make = [](const char *n, D a, D) { return kx_unit_new(n, a); };
  k["parameter"].make = [](const char *n, D a, D) { return kx_parameter_new(n, a); };
  k["datum"].make = [](const char *n, D, D) { return owned(kx_datum_new(n, part(kx_spheroid_from_string(kWgs84)))); };
  k["geogcs"].make = [](const char *n, D, D) {
    return owned(kx_geogcs_new(n, part(kx_datum_from_string(kWgs84)), part(kx_primem_from_string(kWgs84)),
                               part(kx_unit_from_string(kWgs84))));
  };
  k["geoxyzcs"].make = [](const char *n, D, D) {
    return owned(kx_geoxyzcs_new(n, part(kx_geogcs_from_string(kWgs84)), part(kx_unit_new("Meter", 1.0))));
  };
  k["projection"].make = [](const char *n, D, D) { return kx_projection_new(n, kFwd, kInv, nullptr); };
  k["method"].make = [](const char *n, D, D) { return kx_method_new(n, kMFwd, kMInv); };
  k["projection"].registry_named = k["method"].registry_named = true;
  k["projcs"].make = [](const char *n, D, D) {
    kx_parameter s[16] = {part(kx_parameter_new("False_Easting", 500000.0))};
    return owned(kx_projcs_new(n, part(kx_geogcs_from_string(kWgs84)),
                               part(kx_projection_from_string("PROJECTION[\"Transverse_Mercator\"]")), s,
                               part(kx_unit_new("Meter", 1.0))));
  };
  k["geogtran"].make = [](const char *n, D, D) {
    kx_parameter s[16] = {part(kx_parameter_new("X_Axis_Translation", -3.0))};
    return owned(kx_geogtran_new(n, part(kx_geogcs_from_string(kWgs84)), part(kx_geogcs_from_string(kWgs84)),
                                 part(kx_method_from_string("METHOD[\"Geocentric_Translation\"]")), s));
  };
  k["coordsys"] = Kind{KX_TEXT_MAX_PROJCS, false, kx_coordsys_from_string, kx_coordsys_to_string,  // no status
                       kx_coordsys_eq, kx_coordsys_clone, kx_coordsys_del, {}, {}, {}, {}};
  return k;
}

inline std::vector<std::string> split(const std::string &s, char by) {
  std::vector<std::string> out;
  std::stringstream ss(s);
  for (std::string item; std::getline(ss, item, by);) out.push_back(item);
  return out;
}
// "\xHH" bytes, "{N*s}" repeats and "{NAME}" texts defined earlier.
inline std::string expand(const std::string &in, const std::map<std::string, std::string> &defs) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    const size_t close = in[i] == '{' ? in.find('}', i) : std::string::npos;
    const std::string inner = close == std::string::npos ? "" : in.substr(i + 1, close - i - 1);
    const size_t star = inner.find('*');
    if (in.compare(i, 2, "\\x") == 0 && i + 3 < in.size()) {
      out += char(std::stoi(in.substr(i + 2, 2), nullptr, 16)), i += 3;
    } else if (star != std::string::npos && star > 0 && std::isdigit(static_cast<unsigned char>(inner[0]))) {
      for (int n = std::stoi(inner); n > 0; --n) out += inner.substr(star + 1);
      i = close;
    } else if (defs.count(inner) != 0) {
      out += defs.at(inner), i = close;
    } else {
      out += in[i];
    }
  }
  return out;
}

struct Line { std::string a, b, rest, tail; };  // "a b rest", rest may hold spaces; tail: b rest
struct CaseFile { std::vector<Line> lines; std::map<std::string, std::string> defs; };
inline CaseFile read_cases(const std::string &relative) {
  CaseFile f;
  std::ifstream in(kxtest::data_path(relative));
  for (std::string raw; std::getline(in, raw);) {
    if (raw.empty() || raw[0] == '#') continue;
    const size_t s1 = raw.find(' '), s2 = raw.find(' ', s1 + 1);
    const Line l{raw.substr(0, s1), expand(raw.substr(s1 + 1, s2 - s1 - 1), f.defs),
                 s2 == std::string::npos ? "" : expand(raw.substr(s2 + 1), f.defs),
                 expand(raw.substr(s1 + 1), f.defs)};
    if (l.a == "def") f.defs[l.b] = l.rest;
    else f.lines.push_back(l);
  }
  return f;
}

}  // namespace objcase
#endif
