// Every object kind behind one table of operations on void pointers, and the
// reader of this folder's text case files (texts hold commas, so lines here
// are split on spaces: "def NAME text" names a text, "{NAME}" inserts it,
// "{N*s}" repeats s N times and "\xHH" is a byte).
#ifndef KX_TESTS_OBJECTS_OBJECT_CASES_H
#define KX_TESTS_OBJECTS_OBJECT_CASES_H

#include "kx.h"
#include "support/cases.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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
  // The constructor with this name over fixed valid parts (leaf kinds take a
  // and b); null when refused, the parts then deleted here.
  std::function<Obj(const char *, double, double)> make;
};

inline int written(int n, const char *) { return n; }
inline int written(const char *r, const char *b) { return r == b ? int(std::strlen(b)) : 0; }

template <class H, class W>
Kind kind(int max, H (*read)(const char *), W (*write)(H, char *), int (*eq)(H, H),
          H (*clone)(H), void (*del)(H), uint8_t (*status)(H),
          H (*tokens)(Tokens, int, int, int *, int *), void (*name)(H, char *)) {
  Kind k;
  k.max_text = max;
  k.read = read;
  k.write = [write](Obj h, char *b) { return written(write(H(h), b), b); };
  k.eq = [eq](Obj a, Obj b) { return eq(H(a), H(b)); };
  k.clone = [clone](Obj h) -> Obj { return clone(H(h)); };
  k.del = [del](Obj h) { del(H(h)); };
  k.status = [status](Obj h) { return int(status(H(h))); };
  k.from_tokens = tokens;
  k.name = [name](Obj h) {
    char b[64] = "";
    name(H(h), b);
    return std::string(b);
  };
  return k;
}
#define KX_KIND(k, MAX)                                                                      \
  kind<kx_##k>(MAX, kx_##k##_from_string, kx_##k##_to_string, kx_##k##_eq, kx_##k##_clone, \
               kx_##k##_del, kx_##k##_status, kx_##k##_from_tokens, kx_##k##_name)

const char kWgs84[] =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

inline void drop(kx_geogcs h) { kx_geogcs_del(h); }
inline void drop(kx_datum h) { kx_datum_del(h); }
inline void drop(kx_primem h) { kx_primem_del(h); }
inline void drop(kx_unit h) { kx_unit_del(h); }
inline void drop(kx_spheroid h) { kx_spheroid_del(h); }
inline void drop(kx_method h) { kx_method_del(h); }
inline void drop(kx_projection h) { kx_projection_del(h); }
inline void drop(kx_parameter h) { kx_parameter_del(h); }
template <class F, class... P>
auto owned(F constructor, const char *name, P... parts) {
  auto made = constructor(name, parts...);
  if (made == nullptr) (drop(parts), ...);
  return made;
}

inline std::map<std::string, Kind> kinds() {
  using D = double;
  std::map<std::string, Kind> k = {
      {"spheroid", KX_KIND(spheroid, KX_TEXT_MAX_SPHEROID)},
      {"primem", KX_KIND(primem, KX_TEXT_MAX_PRIMEM)},
      {"unit", KX_KIND(unit, KX_TEXT_MAX_UNIT)},
      {"parameter", KX_KIND(parameter, KX_TEXT_MAX_PARAMETER)},
      {"datum", KX_KIND(datum, KX_TEXT_MAX_DATUM)},
      {"geogcs", KX_KIND(geogcs, KX_TEXT_MAX_GEOGCS)},
      {"geoxyzcs", KX_KIND(geoxyzcs, KX_TEXT_MAX_GEOXYZCS)},
      {"projection", KX_KIND(projection, KX_TEXT_MAX_PROJECTION)},
      {"method", KX_KIND(method, KX_TEXT_MAX_METHOD)},
      {"projcs", KX_KIND(projcs, KX_TEXT_MAX_PROJCS)},
      {"geogtran", KX_KIND(geogtran, KX_TEXT_MAX_GEOGTRAN)}};
  k["spheroid"].make = [](const char *n, D a, D b) { return kx_spheroid_new(n, a, b); };
  k["primem"].make = [](const char *n, D a, D) { return kx_primem_new(n, a); };
  k["unit"].make = [](const char *n, D a, D) { return kx_unit_new(n, a); };
  k["parameter"].make = [](const char *n, D a, D) { return kx_parameter_new(n, a); };
  k["datum"].make = [](const char *n, D, D) {
    return owned(kx_datum_new, n, kx_spheroid_from_string(kWgs84));
  };
  k["geogcs"].make = [](const char *n, D, D) {
    return owned(kx_geogcs_new, n, kx_datum_from_string(kWgs84), kx_primem_from_string(kWgs84),
                 kx_unit_from_string(kWgs84));
  };
  k["geoxyzcs"].make = [](const char *n, D, D) {
    return owned(kx_geoxyzcs_new, n, kx_geogcs_from_string(kWgs84), kx_unit_new("Meter", 1.0));
  };
  k["projection"].make = [](const char *n, D, D) {
    return kx_projection_new(n, kx_mercator_fwd, kx_mercator_inv, nullptr);
  };
  k["method"].make = [](const char *n, D, D) {
    return kx_method_new(n, kx_geocentric_translation_fwd, kx_geocentric_translation_inv);
  };
  k["projection"].registry_named = k["method"].registry_named = true;
  Kind &c = k["coordsys"];  // a GEOGCS or PROJCS, no status, tokens or name
  c.max_text = KX_TEXT_MAX_PROJCS;
  c.read = kx_coordsys_from_string;
  c.write = kx_coordsys_to_string;
  c.eq = kx_coordsys_eq;
  c.clone = kx_coordsys_clone;
  c.del = kx_coordsys_del;
  // One parameter, first in the slots; deleted with the other parts on refusal.
  k["projcs"].make = [](const char *n, D, D) {
    const auto f = [](const char *m, kx_geogcs g, kx_projection p, kx_unit u, kx_parameter a) {
      kx_parameter s[16] = {a};
      return kx_projcs_new(m, g, p, s, u);
    };
    return owned(f, n, kx_geogcs_from_string(kWgs84),
                 kx_projection_from_string("PROJECTION[\"Transverse_Mercator\"]"),
                 kx_unit_new("Meter", 1.0), kx_parameter_new("False_Easting", 500000.0));
  };
  k["geogtran"].make = [](const char *n, D, D) {
    const auto f = [](const char *m, kx_geogcs g1, kx_geogcs g2, kx_method t, kx_parameter a) {
      kx_parameter s[16] = {a};
      return kx_geogtran_new(m, g1, g2, t, s);
    };
    return owned(f, n, kx_geogcs_from_string(kWgs84), kx_geogcs_from_string(kWgs84),
                 kx_method_from_string("METHOD[\"Geocentric_Translation\"]"),
                 kx_parameter_new("X_Axis_Translation", -3.0));
  };
  return k;
}

// "\xHH" bytes, "{N*s}" repeats and "{NAME}" texts defined earlier.
inline std::string expand(const std::string &in, const std::map<std::string, std::string> &defs) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    const size_t close = in[i] == '{' ? in.find('}', i) : std::string::npos;
    if (in.compare(i, 2, "\\x") == 0 && i + 3 < in.size()) {
      out += char(std::stoi(in.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else if (close != std::string::npos) {
      const std::string inner = in.substr(i + 1, close - i - 1);
      const size_t star = inner.find('*');
      const auto def = defs.find(inner);
      if (star != std::string::npos && star > 0 && std::isdigit(static_cast<unsigned char>(inner[0]))) {
        for (int n = std::stoi(inner.substr(0, star)); n > 0; --n) out += inner.substr(star + 1);
      } else if (def != defs.end()) {
        out += def->second;
      } else {
        out += '{';  // a brace of its own
        continue;
      }
      i = close;
    } else {
      out += in[i];
    }
  }
  return out;
}

inline std::vector<std::string> split(const std::string &s, char by) {
  std::vector<std::string> out;
  std::stringstream ss(s);
  for (std::string item; std::getline(ss, item, by);) out.push_back(item);
  return out;
}

// Lines "a b rest": the first two words and the rest (may hold spaces);
// tail is all after a.
struct Line {
  std::string a, b, rest, tail;
};
struct CaseFile {
  std::vector<Line> lines;
  std::map<std::string, std::string> defs;
};

inline CaseFile read_cases(const std::string &relative) {
  CaseFile f;
  std::ifstream in(kxtest::data_path(relative));
  std::string raw;
  while (std::getline(in, raw)) {
    if (raw.empty() || raw[0] == '#') continue;
    const size_t s1 = raw.find(' '), s2 = raw.find(' ', s1 + 1);
    Line l{raw.substr(0, s1), raw.substr(s1 + 1, s2 - s1 - 1),
           s2 == std::string::npos ? "" : expand(raw.substr(s2 + 1), f.defs),
           expand(raw.substr(s1 + 1), f.defs)};
    l.b = expand(l.b, f.defs);
    if (l.a == "def") {
      f.defs[l.b] = l.rest;
    } else {
      f.lines.push_back(l);
    }
  }
  return f;
}

}  // namespace objcase

#endif
