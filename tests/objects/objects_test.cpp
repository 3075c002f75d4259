// The object kinds: every kind against its case files (texts that read, and
// what to, are refused or write back as given; names refused where they
// enter; tokenizer cases; null handles and handles of other kinds), then what
// cases cannot reach: objects around test functions (constants loading),
// setters, argument checks, random corruptions, the documented text limits and
// the README's lists of the registry rows. Cases: data/objects/*.txt (texts
// hold commas, so lines are split on spaces: "def NAME text" names a text,
// "{NAME}" inserts it, "{N*s}" repeats s N times and "\xHH" is a byte).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "objects/object_core.h"
#include "objects/parameter_table.h"
#include "objects/records.h"
#include "objects/registry.h"
#include "support/cases.h"

namespace {
// Every object kind behind one table of operations on void pointers.
using Obj = void *;
struct Kind {
  int max_text = 0;
  bool registry_named = false;  // reads only names the registry knows
  std::function<Obj(const char *)> read;
  std::function<int(Obj, char *)> write;  // the text's length, 0 on failure
  std::function<int(Obj, Obj)> eq;
  std::function<Obj(Obj)> clone;
  std::function<void(Obj)> del;
  std::function<int(Obj)> status;
  std::function<Obj(char *const *, int, int, int *, int *)> from_tokens;
  std::function<std::string(Obj)> name;
  std::function<Obj(const char *, double, double)> make;  // over fixed parts, deleted on refusal
};
int written(int n, const char *) { return n; }
int written(const char *r, const char *b) { return r == b ? int(std::strlen(b)) : 0; }
#define KX_KIND(K, MAX)                                                                \
  {                                                                                    \
#K, Kind {                                                                         \
      MAX, false, [](const char *t) -> Obj { return kx_##K##_from_string(t); },        \
          [](Obj h, char *b) { return written(kx_##K##_to_string(kx_##K(h), b), b); }, \
          [](Obj a, Obj b) { return kx_##K##_eq(kx_##K(a), kx_##K(b)); },              \
          [](Obj h) -> Obj { return kx_##K##_clone(kx_##K(h)); },                      \
          [](Obj h) { kx_##K##_del(kx_##K(h)); },                                      \
          [](Obj h) { return int(kx_##K##_status(kx_##K(h))); },                       \
          [](char *const *t, int n, int s, int *f, int *l) -> Obj {                    \
            return kx_##K##_from_tokens(t, n, s, f, l);                                \
          },                                                                           \
          [](Obj h) {                                                                  \
            char b[64] = "";                                                           \
            return kx_##K##_name(kx_##K(h), b), std::string(b);                        \
          },                                                                           \
      {}                                                                               \
    }                                                                                  \
  }
// Parts made for one constructor call: deleted here when it refuses them.
#define KX_DROP(k) \
  inline void drop(kx_##k h) { kx_##k##_del(h); }
KX_DROP(geogcs)
KX_DROP(datum) KX_DROP(primem) KX_DROP(unit) KX_DROP(spheroid) KX_DROP(method) KX_DROP(projection)
    KX_DROP(parameter) std::vector<std::function<void()>> g_parts;
template <class H>
H part(H h) {
  return g_parts.push_back([h] { drop(h); }), h;
}
template <class H>
H owned(H made) {
  for (auto &drop_part : g_parts) made == nullptr ? drop_part() : void();
  return g_parts.clear(), made;
}
const auto kFwd = kx_mercator_fwd, kInv = kx_mercator_inv;
const auto kMFwd = kx_geocentric_translation_fwd, kMInv = kx_geocentric_translation_inv;
const char kWgs84[] =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
std::map<std::string, Kind> kinds() {
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
  k["datum"].make = [](const char *n, D, D) {
    return owned(kx_datum_new(n, part(kx_spheroid_from_string(kWgs84))));
  };
  k["geogcs"].make = [](const char *n, D, D) {
    return owned(kx_geogcs_new(n, part(kx_datum_from_string(kWgs84)),
                               part(kx_primem_from_string(kWgs84)),
                               part(kx_unit_from_string(kWgs84))));
  };
  k["geoxyzcs"].make = [](const char *n, D, D) {
    return owned(
        kx_geoxyzcs_new(n, part(kx_geogcs_from_string(kWgs84)), part(kx_unit_new("Meter", 1.0))));
  };
  k["projection"].make = [](const char *n, D, D) {
    return kx_projection_new(n, kFwd, kInv, nullptr);
  };
  k["method"].make = [](const char *n, D, D) { return kx_method_new(n, kMFwd, kMInv); };
  k["projection"].registry_named = k["method"].registry_named = true;
  k["projcs"].make = [](const char *n, D, D) {
    kx_parameter s[16] = {part(kx_parameter_new("False_Easting", 500000.0))};
    return owned(
        kx_projcs_new(n, part(kx_geogcs_from_string(kWgs84)),
                      part(kx_projection_from_string("PROJECTION[\"Transverse_Mercator\"]")), s,
                      part(kx_unit_new("Meter", 1.0))));
  };
  k["geogtran"].make = [](const char *n, D, D) {
    kx_parameter s[16] = {part(kx_parameter_new("X_Axis_Translation", -3.0))};
    return owned(
        kx_geogtran_new(n, part(kx_geogcs_from_string(kWgs84)), part(kx_geogcs_from_string(kWgs84)),
                        part(kx_method_from_string("METHOD[\"Geocentric_Translation\"]")), s));
  };
  k["coordsys"] = Kind{KX_TEXT_MAX_PROJCS,
                       false,
                       kx_coordsys_from_string,
                       kx_coordsys_to_string,  // no status
                       kx_coordsys_eq,
                       kx_coordsys_clone,
                       kx_coordsys_del,
                       {},
                       {},
                       {},
                       {}};
  return k;
}
std::vector<std::string> split(const std::string &s, char by) {
  std::vector<std::string> out;
  std::stringstream ss(s);
  for (std::string item; std::getline(ss, item, by);) out.push_back(item);
  return out;
}
// "\xHH" bytes, "{N*s}" repeats and "{NAME}" texts defined earlier.
std::string expand(const std::string &in, const std::map<std::string, std::string> &defs) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    const size_t close = in[i] == '{' ? in.find('}', i) : std::string::npos;
    const std::string inner = close == std::string::npos ? "" : in.substr(i + 1, close - i - 1);
    const size_t star = inner.find('*');
    if (in.compare(i, 2, "\\x") == 0 && i + 3 < in.size()) {
      out += char(std::stoi(in.substr(i + 2, 2), nullptr, 16)), i += 3;
    } else if (star != std::string::npos && star > 0 &&
               std::isdigit(static_cast<unsigned char>(inner[0]))) {
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
struct Line {
  std::string a, b, rest, tail;
};  // "a b rest", rest may hold spaces; tail: b rest
struct CaseFile {
  std::vector<Line> lines;
  std::map<std::string, std::string> defs;
};
CaseFile read_cases(const std::string &relative) {
  CaseFile f;
  std::ifstream in(kxtest::data_path(relative));
  for (std::string raw; std::getline(in, raw);) {
    if (raw.empty() || raw[0] == '#') continue;
    const size_t s1 = raw.find(' '), s2 = raw.find(' ', s1 + 1);
    const Line l{raw.substr(0, s1), expand(raw.substr(s1 + 1, s2 - s1 - 1), f.defs),
                 s2 == std::string::npos ? "" : expand(raw.substr(s2 + 1), f.defs),
                 expand(raw.substr(s1 + 1), f.defs)};
    l.a == "def" ? void(f.defs[l.b] = l.rest) : f.lines.push_back(l);
  }
  return f;
}
std::string num(double v) {
  char b[40];
  return std::snprintf(b, sizeof b, "%.17g", v), b;
}
// A field of an object, as text ("none" for an empty parameter slot).
std::string field(const std::string &kind, const Kind &k, Obj o, const std::string &key) {
  if (key == "name") return k.name(o);
  if (key[0] == 'p' && std::isdigit(static_cast<unsigned char>(key[1]))) {
    kx_parameter s[16];
    kind == "projcs" ? kx_projcs_parameters(kx_projcs(o), s)
                     : kx_geogtran_parameters(kx_geogtran(o), s);
    const kx_parameter p = s[std::stoi(key.substr(1))];
    return p == nullptr ? "none" : num(kx_parameter_value(p));
  }
  const auto gcs = [](Obj h) { return kx_projcs_geogcs(kx_projcs(h)); };
  static const std::map<std::string, std::function<std::string(Obj)>> f = {
      {"spheroid.a", [](Obj h) { return num(kx_spheroid_axis(kx_spheroid(h))); }},
      {"spheroid.f", [](Obj h) { return num(kx_spheroid_flattening(kx_spheroid(h))); }},
      {"primem.lon", [](Obj h) { return num(kx_primem_longitude(kx_primem(h))); }},
      {"unit.factor", [](Obj h) { return num(kx_unit_factor(kx_unit(h))); }},
      {"parameter.value", [](Obj h) { return num(kx_parameter_value(kx_parameter(h))); }},
      {"parameter.slot", [](Obj h) { return num(kx_parameter_index(kx_parameter(h))); }},
      {"geogcs.parts",
       [](Obj h) {  // statuses: datum, spheroid, the clone's datum
         kx_geogcs g = kx_geogcs(h), c = kx_geogcs_clone(g);
         const int d = kx_datum_status(kx_geogcs_datum(g)),
                   cd = kx_datum_status(kx_geogcs_datum(c));
         kx_geogcs_del(c);
         return num(100 * d + 10 * kx_spheroid_status(kx_datum_spheroid(kx_geogcs_datum(g))) + cd);
       }},
      {"projcs.unit", [](Obj h) { return num(kx_unit_factor(kx_projcs_unit(kx_projcs(h)))); }},
      {"projcs.gunit", [gcs](Obj h) { return num(kx_unit_factor(kx_geogcs_unit(gcs(h)))); }},
      {"projcs.gname", [gcs](Obj h) { return kinds().at("geogcs").name(gcs(h)); }}};
  return f.at(kind + "." + key)(o);
}
// What every built object must satisfy; returns its text.
std::string check_object(const Kind &k, Obj o, int status) {
  static char text[4096], again[4096];
  std::memset(text, 'x', sizeof text);
  const int n = k.write(o, text);
  EXPECT_TRUE(n == static_cast<int>(std::strlen(text)) && n <= k.max_text) << n;
  const bool reads =
      !(k.registry_named && status == 1);  // a built projection need not be registered
  Obj c = k.clone(o), back = reads ? k.read(text) : nullptr;
  EXPECT_EQ(k.eq(o, nullptr) * 100 + k.eq(o, c) * 10 + k.eq(o, back), reads ? 11 : 10) << text;
  if (k.status) {
    EXPECT_EQ(k.status(o) * 10 + k.status(c), status * 10 + 1);
    const char *stored = static_cast<const kx::ObjectHeader *>(o)->name;  // zero after its end
    for (size_t i = strnlen(stored, kx::kNameSize); i < kx::kNameSize; ++i) EXPECT_EQ(stored[i], 0);
  }
  EXPECT_STREQ((k.write(c, again), again), text);
  return k.del(c), k.del(back), text;
}
// The object a case line names: built, read from tokens or from text.
Obj build(const Kind &k, const std::string &how, const std::string &text, int *status) {
  const std::vector<std::string> v = split(how.substr(how.find('=') + 1) + ":0", ':');
  *status = how.rfind("new=", 0) == 0 || how.rfind("alter=", 0) == 0 ? 1 : 2;
  if (how.rfind("new=", 0) == 0) return k.make(text.c_str(), kxtest::num(v[0]), kxtest::num(v[1]));
  if (how.rfind("tok=", 0) == 0) {
    char buffer[1024], *tokens[200];
    int count = 0, first = -9, last = -9;
    kx_objstring_tokens(text.c_str(), text.substr(0, text.find_first_of("[(")).c_str(), buffer,
                        tokens, &count);
    Obj o = k.from_tokens(tokens, v.size() > 4 ? std::stoi(v[3]) : count, std::stoi(v[0]), &first,
                          &last);
    EXPECT_EQ(first * 1000 + last, std::stoi(v[1]) * 1000 + std::stoi(v[2]));
    return o;
  }
  Obj o = k.read(text.c_str());
  if (*status == 2) return o;  // else a copy in other units
  kx_unit linear = v[0] == "0" ? nullptr : kx_unit_new("Foot", kxtest::num(v[0])),
          angular = v[1] == "0" ? nullptr : kx_unit_new("Grad", kxtest::num(v[1]));
  Obj copy = kx_projcs_clone_alterunits(kx_projcs(o), linear, angular);
  kx_projcs_del(kx_projcs(o));
  return kx_unit_del(linear), kx_unit_del(angular), copy;
}

TEST(ObjectTexts, CaseFile) {
  const CaseFile file = read_cases("objects/texts.txt");
  const std::map<std::string, Kind> all = kinds();
  ASSERT_GT(file.lines.size(), 150u);
  kx_pcsconstants foreign = kx_pcsconstants_new();  // a handle of no object kind, and two of others
  kx_unit unit = kx_unit_new("u", 1.0);
  kx_spheroid sph = kx_spheroid_new("s", 1.0, 0.0);
  for (const Line &c : file.lines) {
    SCOPED_TRACE(c.a + " " + c.b + " " + c.rest);
    const Kind &k = all.at(c.a);
    const auto text_of = [&](const std::string &t) {
      return file.defs.count(t) ? file.defs.at(t) : t;
    };
    const std::vector<std::string> checks = split(c.b, ';');
    const auto verify = [&](Obj o, const std::string &written) {
      for (const std::string &x : checks) {
        const size_t at = x.find('=');
        const std::string key = x.substr(0, at),
                          want = at == std::string::npos ? "" : x.substr(at + 1);
        if (std::string(" new tok alter nil ").find(" " + key + " ") != std::string::npos) continue;
        char *end = nullptr;
        const double w = std::strtod(want.c_str(), &end);
        if (key == "same" || key == "canon") {
          EXPECT_EQ(written, key == "same" ? c.rest : text_of(want));
        } else if (key == "eq" || key == "ne") {
          Obj other = k.read(text_of(want).c_str());
          EXPECT_EQ((other != nullptr) * 100 + k.eq(o, other) * 10 + k.eq(other, o),
                    key == "eq" ? 111 : 100)
              << x;
          k.del(other);
        } else if (const std::string got = field(c.a, k, o, key);
                   !want.empty() && *end == '\0' && got != "none") {
          EXPECT_DOUBLE_EQ(kxtest::num(got), w) << key;
        } else {
          EXPECT_EQ(got, want) << key;
        }
      }
    };
    if (checks[0] == "nil") {  // null and foreign handles get defaults; deletes ignore them
      for (Obj h : {Obj(nullptr), Obj(foreign), c.a == "unit" ? Obj(sph) : Obj(unit)}) {
        EXPECT_TRUE(k.read(nullptr) == nullptr && k.clone(h) == nullptr);
        EXPECT_EQ(k.eq(h, h) + (k.status ? k.status(h) : 0), 0);
        k.del(h);
        static char text[4096];
        EXPECT_EQ(k.write(h, text), int((k.write(h, text), std::strlen(text))));  // either order
        verify(h, text);
      }
      continue;
    }
    int status = 0;
    Obj o = build(k, checks[0], c.rest, &status);
    const bool null = std::find(checks.begin(), checks.end(), "null") != checks.end();
    EXPECT_EQ(o == nullptr, null);
    if (!null && o != nullptr) verify(o, check_object(k, o, status));
    k.del(o);
  }
  EXPECT_EQ(kx_pcsconstants_p(foreign) + kx_unit_p(unit) + kx_spheroid_p(sph), 3);
  kx_pcsconstants_del(foreign), kx_unit_del(unit), kx_spheroid_del(sph);
}

// A name with a bracket or quote would end the quoted name early: refused by
// every constructor, the rename and the parenthesised text; all others carry.
TEST(ObjectTexts, NamesRefusedWhereTheyEnterOrCarriedBackEqual) {
  const CaseFile file = read_cases("objects/name_cases.txt");
  ASSERT_GE(file.lines.size(), 10u);
  static char text[4096];
  for (auto &[label, k] : kinds()) {
    if (!k.make) continue;
    EXPECT_EQ(k.make(nullptr, 1, 0), nullptr) << label;
    Obj templ = k.make("@", 1, 0);
    ASSERT_GT(k.write(templ, text), 0) << label;
    k.del(templ);
    for (const Line &c : file.lines) {
      const std::string &n = c.tail;
      const bool carry = c.a == "carry", bracket = n.find_first_of("[]") != std::string::npos;
      SCOPED_TRACE(label + " named '" + n + "'");
      std::string t = text;  // refused names in the parenthesised form
      for (char &ch : t) ch = carry ? ch : ch == '[' ? '(' : ch == ']' ? ')' : ch;
      Obj made = k.make(n.c_str(), 1, 0), read = nullptr;
      EXPECT_EQ(made != nullptr, carry);
      if (carry && made != nullptr) check_object(k, made, 1);
      if (!k.registry_named &&
          (carry || (bracket && n.find_first_of("\"\x7f") == std::string::npos))) {
        read = k.read(t.replace(t.find('@'), 1, n).c_str());
        EXPECT_EQ(carry ? k.eq(made, read) : read == nullptr, 1);
      }
      k.del(read), k.del(made);
    }
  }
  for (const Line &c : file.lines) {  // the old name stays on refusal
    kx_parameter p = kx_parameter_new("Scale_Factor", 0.9996);
    EXPECT_EQ(kx_parameter_name_set(p, c.tail.c_str()), c.a == "carry" ? 1 : 0) << c.tail;
    EXPECT_EQ(kx_parameter_index(p), c.a == "carry" ? -1 : 5) << c.tail;
    check_object(kinds().at("parameter"), p, 1);
    kx_parameter_del(p);
  }
}
// Buffer and token array with guard zones behind them: overruns show even in
// the release build.
constexpr int kBuf = 1024, kTok = 200, kGuard = 64;
constexpr char kCanary = char(0xA5);
struct Tokenized {
  char raw[kBuf + kGuard];
  char *tokens[kTok + kGuard];
  int count = -1;
  Tokenized(const char *text, const char *keyword) {
    std::fill(std::begin(tokens), std::end(tokens), raw + 1);  // sentinel
    kx_objstring_tokens(text, keyword, (std::memset(raw, kCanary, sizeof raw), raw), tokens,
                        &count);
  }
  bool sound() {  // guards intact, tokens non-empty and ended in the buffer, a null after them
    bool ok = count >= 0 && count < kTok && tokens[count] == nullptr;
    for (int i = kBuf; i < kBuf + kGuard; ++i) ok = ok && raw[i] == kCanary;
    for (int i = kTok; i < kTok + kGuard; ++i) ok = ok && tokens[i] == raw + 1;
    for (int i = 0; ok && i < count; ++i) {
      ok = tokens[i] >= raw && tokens[i] < raw + kBuf && tokens[i][0] != '\0' &&
           std::memchr(tokens[i], '\0', size_t(raw + kBuf - tokens[i])) != nullptr;
    }
    return ok;
  }
};

TEST(Tokenizer, CasesAndHostileInput) {
  const CaseFile file = read_cases("objects/tokens.txt");
  ASSERT_GT(file.lines.size(), 20u);
  for (const Line &c : file.lines) {
    SCOPED_TRACE(c.a + " " + c.rest.substr(0, 80));
    Tokenized t(c.rest.c_str(), c.a == "-" ? "" : c.a.c_str());
    EXPECT_TRUE(t.sound());
    EXPECT_TRUE(c.b[0] != '#' || t.count == std::stoi(c.b.substr(1))) << t.count;
    if (c.b[0] == '#' || c.b == "*") continue;
    const std::vector<std::string> want = c.b == "-" ? std::vector<std::string>{} : split(c.b, '|');
    EXPECT_EQ(std::vector<std::string>(t.tokens, t.tokens + std::max(t.count, 0)), want);
    EXPECT_TRUE(t.count <= 0 || t.tokens[0] == t.raw);  // cut in place from the keyword on
  }
  // Null arguments leave the count zero; random bytes never escape the buffers.
  char buffer[kBuf], *tokens[kTok] = {buffer};
  const char *text = "UNIT[\"m\",1]";
  for (int arg = 0; arg < 4; ++arg) {
    int count = 7;
    kx_objstring_tokens(arg == 0 ? nullptr : text, arg == 1 ? nullptr : "UNIT",
                        arg == 2 ? nullptr : buffer, arg == 3 ? nullptr : tokens, &count);
    EXPECT_TRUE(count == 0 && (arg > 0 || tokens[0] == buffer))
        << arg;  // a null text: nothing else
  }
  kx_objstring_tokens(text, "UNIT", buffer, tokens, nullptr);  // no crash
  std::mt19937 rng(20240611u);
  const char alphabet[] = "[](),\" \t\r\n\bUNITunit_.0123456789e-+\x7f";
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = round % 2 == 0 ? "UNIT[" : "";
    for (size_t i = 0, len = rng() % 3000; i < len; ++i) {
      bytes += round % 3 == 0 ? char(1 + rng() % 255) : alphabet[rng() % (sizeof alphabet - 1)];
    }
    ASSERT_TRUE(Tokenized(bytes.c_str(), round % 5 == 0 ? "u" : "UNIT").sound()) << round;
  }
}

// The README lists exactly the registry rows whose functions are in the
// library (the rows that read).
template <class Row>
void check_readme_list(const std::string &label, const Row *rows, int count, const char *kind) {
  std::set<std::string> listed, readable;
  std::ifstream in(kxtest::data_path("../../README.md"));
  for (std::string line; std::getline(in, line);) {
    for (const std::string &item :
         split(line.rfind(label, 0) ? "" : line.substr(label.size()), ',')) {
      const auto b = item.find_first_not_of(" `."), e = item.find_last_not_of(" `.");
      if (b != std::string::npos) listed.insert(item.substr(b, e - b + 1));
    }
  }
  const Kind k = kinds().at(kind);
  for (int i = 0; i < count; ++i) {
    Obj o = k.read((kind + std::string("[\"") + rows[i].name + "\"]").c_str());
    if (o != nullptr) readable.insert(rows[i].name), k.del(o);
  }
  EXPECT_EQ(listed, readable) << label;
  EXPECT_GT(readable.size(), 3u) << label;
}
TEST(Registry, ReadmeListsTheAvailableRows) {
  int np = 0, nm = 0;
  const kx::ProjectionRow *p = kx::projection_rows(&np);
  check_readme_list("Projections available:", p, np, "projection");
  const kx::MethodRow *m = kx::method_rows(&nm);
  check_readme_list("Methods available:", m, nm, "method");
}

// The constants functions record their input; one attaches a double.
double g_sph[2], g_par[16];
std::string g_dataset;
int recording_const(kx_pcsconstants, const double *sph, const double *par) {
  std::memcpy(g_sph, sph, sizeof g_sph);
  std::memcpy(g_par, par, sizeof g_par);
  return 0;  // accepts nothing: nothing may stay attached
}
int storing_const(kx_pcsconstants pc, const double *sph, const double *) {
  auto *rec = reinterpret_cast<kx_pcsconstants_rec *>(pc);
  rec->ivals = static_cast<int *>(kx_allocate(2 * sizeof(int)));
  rec->dvals = static_cast<double *>(kx_allocate(sizeof(double)));
  return rec->ivals[1] = 1, rec->dvals[0] = sph[0], 1;
}
int method_const(kx_gtconstants, const char *dataset) { return g_dataset = dataset, 0; }
kx_horizon *test_horizon(const double *, const double *) { return nullptr; }
kx_geogcs wgs84() { return kx_geogcs_from_string(kWgs84); }
// Checks as rows, evaluated in order: pointers that must be null, results and their values.
void expect_null(std::initializer_list<const void *> all) {
  for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all.begin()[i], nullptr) << "item " << i;
}
void expect_rows(std::initializer_list<std::pair<double, double>> all) {
  for (size_t i = 0; i < all.size(); ++i)
    EXPECT_EQ(all.begin()[i].first, all.begin()[i].second) << "item " << i;
}
// A projected CS in feet with the named parameters.
kx_projcs test_pcs(std::initializer_list<std::pair<const char *, double>> params,
                   kx_pcsconst_fn fn = recording_const, const char *pcs_name = "PCS") {
  kx_parameter slots[16] = {}, p;
  for (const auto &[name, v] : params)
    p = kx_parameter_new(name, v), slots[kx_parameter_index(p)] = p;
  kx_projection pr = kx_projection_new_withconstfunc("T", kFwd, kInv, nullptr, fn);
  return kx_projcs_new(pcs_name, wgs84(), pr, slots, kx_unit_new("Foot", 0.3048));
}

TEST(Parts, ProjectionAndMethodFunctions) {
  expect_null({kx_projection_new("P", nullptr, kInv, nullptr),
               kx_projection_new("P", kFwd, nullptr, nullptr), kx_method_new("M", nullptr, kMInv)});
  kx_projection p = kx_projection_new("P", kFwd, kInv, nullptr);  // the default horizon
  EXPECT_TRUE(kx_projection_forward(p) == kFwd && kx_projection_inverse(p) == kInv &&
              kx_projection_horizon(p) == kx_horizon_normal_cylindrical &&
              !kx_projection_horizon_pcs(p));
  kx_projection e = kx_projection_new_extended("X", kFwd, kInv, test_horizon, test_horizon,
                                               test_horizon, test_horizon, recording_const);
  kx_projection c = kx_projection_clone(e), same = kx_projection_new("x", kFwd, kInv, test_horizon);
  EXPECT_TRUE(kx_projection_horizon_gcs_raster(c) == test_horizon &&
              kx_projection_horizon_pcs(c) == test_horizon &&
              kx_projection_horizon_pcs_raster(c) == test_horizon &&
              kx_projection_pcsconstfunc(c) == recording_const);
  kx_method m = kx_method_new_withconstfunc("M", kMFwd, kMInv, method_const);
  kx_method mc = kx_method_clone(m), swapped = kx_method_new("m", kMInv, kMFwd);
  EXPECT_TRUE(kx_method_gtconstfunc(mc) == method_const && kx_method_forward(mc) == kMFwd);
  // The horizon counts in equality; invalid handles give identity functions that count the points.
  double xy[3] = {1.5, -2.0, 7.0};
  expect_rows({{kx_projection_eq(e, same), 1},
               {kx_projection_eq(p, same), 0},
               {kx_method_eq(m, swapped), 0},
               {kx_projection_forward(nullptr)(nullptr, nullptr, 1, xy, nullptr, nullptr), 1},
               {kx_projection_inverse(nullptr)(nullptr, nullptr, -3, xy, nullptr, nullptr), 0},
               {kx_method_forward(nullptr)(nullptr, nullptr, nullptr, "", 1, xy, xy + 2, nullptr,
                                           nullptr, nullptr),
                1},
               {xy[0] + xy[1] + xy[2], 6.5}});
  EXPECT_TRUE(kx_projection_horizon(nullptr) == kx_horizon_normal_cylindrical &&
              !kx_projection_pcsconstfunc(nullptr) && !kx_method_gtconstfunc(nullptr));
  for (kx_projection q : {p, e, c, same}) kx_projection_del(q);
  for (kx_method q : {m, mc, swapped}) kx_method_del(q);
}

TEST(Parts, ConstantsLoading) {
  // A "Height" in slot 15, no Standard_Parallel_2, no scale factor.
  kx_projcs p = test_pcs(
      {{"False_Easting", 1000}, {"Standard_Parallel_1", 30}, {"HEIGHT", 10}, {"X_Scale", 0}});
  expect_rows({{kx_projcs_load_constants(p), 0},
               {kx_projcs_isconstloaded(p), 0},
               {g_sph[0], 6378137.0},
               {g_sph[1], (2.0 - 1 / 298.257223563) / 298.257223563}});  // e^2
  const double deg = 0.0174532925199433;
  const double want[16] = {1000 * 0.3048, 0, 0, 30 * deg, 30 * deg, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0,
                           3.048};
  for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(g_par[i], want[i]) << i;
  kx_projcs q = test_pcs({{"Option", 2}}), named = test_pcs({{"Option", 2}}, recording_const, "B");
  kx_projcs none = test_pcs({}, nullptr), s = test_pcs({}, storing_const), sc = nullptr;
  // An option is no length; a successful load attaches, reload replaces, a clone carries none.
  expect_rows({{kx_projcs_load_constants(q), 0},
               {g_par[15], 2.0},
               {kx_projcs_eqnn(named, q), 1},
               {kx_projcs_eq(named, q), 0},
               {kx_projcs_eqnn(p, q), 0},
               {kx_projcs_load_constants(none), 0},
               {kx_projcs_load_constants(s), 1},
               {kx_projcs_load_constants(s), 1},
               {kx_projcs_isconstloaded(s), 1},
               {kx_pcsconstants_dvals(kx_projcs_pcsconstants(s))[0], 6378137.0},
               {kx_pcsconstants_ivals(kx_projcs_pcsconstants(s))[1], 1},
               {kx_projcs_isconstloaded(sc = kx_projcs_clone(s)), 0},
               {(kx_projcs_unload_constants(s), kx_projcs_isconstloaded(s)), 0},
               {kx_projcs_load_constants(nullptr), 0}});
  kx_projcs_load_constants(s);  // deleted loaded: LeakSanitizer watches
  for (kx_projcs x : {p, q, named, none, s, sc}) kx_projcs_del(x);
  kx_parameter slots[16] = {}, none_set[16] = {};
  slots[15] = kx_parameter_new("Dataset_conus", 0);
  kx_method gm = kx_method_new_withconstfunc("G", kMFwd, kMInv, method_const);
  kx_geogtran t = kx_geogtran_new("T", wgs84(), wgs84(), gm, slots);
  kx_geogtran a =
      kx_geogtran_new("T", wgs84(), wgs84(), kx_method_new("M", kMFwd, kMInv), none_set);
  kx_pcsconstants pc = kx_pcsconstants_new();
  kx_gtconstants gc = kx_gtconstants_new();
  expect_rows({{kx_geogtran_load_constants(t), 0},
               {kx_geogtran_isconstloaded(t), 0},
               {kx_geogtran_load_constants(a), 0},
               {kx_pcsconstants_p(pc), 1}});  // a: no constants function
  EXPECT_EQ(g_dataset, "Dataset_conus");
  expect_null(
      {kx_pcsconstants_dvals(pc), kx_gtconstants_fvals(gc), kx_geogtran_gtconstants(nullptr)});
  for (kx_geogtran x : {t, a}) kx_geogtran_del(x);
  kx_pcsconstants_del(pc), kx_gtconstants_del(gc);
}

// Setters; handles of another kind: setters refuse, names as documented; the
// caller keeps the parts a constructor refuses; token reader arguments.
TEST(Parts, SettersInvalidHandlesAndArguments) {
  kx_parameter p = kx_parameter_new("Scale_Factor", 0.9996);  // any value; a NaN equals nothing
  expect_rows({{kx_parameter_value_set(p, NAN), 1},
               {kx_parameter_eq(p, p), 0},
               {kx_parameter_value_set(p, -INFINITY), 1},
               {kx_parameter_value(p), -INFINITY},
               {kx_parameter_name_set(p, nullptr), 0},
               {kx_parameter_name_set(p, std::string(70, 'q').c_str()), 1},
               {kx::parameter_slot(nullptr), -1},
               {kx::kParameterSlotTable[16].default_value, -75.0},
               {kx::kParameterSlotTable[17].default_value, 40.0}});
  char buf[64], *stored = reinterpret_cast<kx_parameter_rec *>(p)->hdr.name;
  EXPECT_EQ((kx_parameter_name(p, buf), std::string(buf)), std::string(63, 'q'));
  // A shorter name leaves no trace of the longer one, the name no zero-fill; a name from the record
  // itself.
  EXPECT_EQ(kx_parameter_name_set(p, "ab"), 1);
  kx_parameter_name(p, (std::memset(buf, '#', 64), buf));
  EXPECT_TRUE(std::string(buf, 4) == std::string("ab\0#", 4) && stored[3] == '\0');
  EXPECT_EQ(kx_parameter_name_set(p, stored), 1);
  EXPECT_STREQ((kx_parameter_name(p, buf), buf), "ab");
  kx_parameter_del(p);
  kx_unit u = kx_unit_new("Meter", 1.0);
  const auto as = [u](auto h) { return reinterpret_cast<decltype(h)>(u); };
  char b[64];  // zero-filled for a spheroid, left alone for a parameter
  kx_spheroid_name(as(kx_spheroid()), (std::memset(b, '#', 64), b));
  kx_parameter_name(as(kx_parameter()), (std::memset(buf, '#', 64), buf));
  EXPECT_TRUE(std::string(b, 64) == std::string(64, '\0') && buf[0] == '#');
  EXPECT_EQ(kx_parameter_name_set(as(kx_parameter()), "x") +
                kx_spheroid_status_set(as(kx_spheroid()), 9) +
                kx_parameter_value_set(as(kx_parameter()), 2.0) + kx_unit_to_string(u, nullptr),
            0);
  kx_geogcs w = wgs84();
  kx_parameter got[16], empty[16] = {};
  kx_projcs_parameters(nullptr, got);
  expect_null({kx_projcs_clone_alterunits(nullptr, u, u), kx_projcs_to_string(nullptr, nullptr),
               kx_projcs_new("X", w, nullptr, empty, u),
               kx_geogcs_new("X", kx_geogcs_datum(w), nullptr, u), kx_datum_new("X", nullptr),
               kx_geoxyzcs_new("X", nullptr, u)});
  for (kx_parameter q : got) EXPECT_EQ(q, nullptr);
  kx_geogcs_del(w);
  // The odd identifier (kind + 1) is accepted, other bits are not; status is not compared.
  kx_spheroid sph = kx_spheroid_new("s", 2.0, 0.5), copy = nullptr;
  auto *rec = reinterpret_cast<kx_spheroid_rec *>(sph);
  expect_rows({{kx_coordsys_p(sph), 0},
               {(rec->hdr.kind = KX_KIND_SPHEROID + 1, kx_spheroid_axis(sph)), 2.0},
               {(rec->hdr.kind = KX_KIND_SPHEROID + 2, kx_spheroid_axis(sph)), 1.0},
               {(rec->hdr.kind = KX_KIND_SPHEROID, kx_spheroid_status_set(sph, 200)), 1},
               {kx_spheroid_status(sph), 200},
               {kx_spheroid_eq(sph, copy = kx_spheroid_clone(sph)), 1}});
  for (kx_spheroid x : {sph, copy}) kx_spheroid_del(x);
  // Token readers: no range wanted, bad arguments, null entries skipped and never dereferenced.
  char buffer[1024], *tokens[200], kw[] = "SPHEROID", *holes[6] = {kw};
  int count = 0, first = -9, last = -9;
  kx_objstring_tokens("X[UNIT[\"a\",1],UNIT[\"b\",2]]", "X", buffer, tokens, &count);
  kx_unit_del(u);
  EXPECT_EQ(kx_unit_factor(u = kx_unit_from_tokens(tokens, count, 0, nullptr, nullptr)), 1.0);
  kx_unit_del(u);
  expect_null({kx_unit_from_tokens(nullptr, count, 0, &first, &last),
               kx_unit_from_tokens(tokens, count, -3, &first, &last),
               kx_unit_from_tokens(tokens, -5, 0, &first, &last),
               kx_spheroid_from_tokens(holes, 6, 0, &first, &last),
               kx_spheroid_from_tokens(holes + 1, 5, 0, &first, &last)});
}

// Every prefix and thousands of random corruptions of a real text: each read
// either fails or gives an object whose text reads back equal; until the unit
// factor has a nonzero digit every prefix fails.
TEST(Parts, TruncatedAndMutatedTextsAreSafe) {
  const std::string t = read_cases("objects/texts.txt").defs.at("NTF");
  const size_t factor_at = t.find("0.01570796326794895");
  for (size_t n = 0; n <= t.size(); ++n) {
    kx_geogcs g = kx_geogcs_from_string(t.substr(0, n).c_str());
    EXPECT_TRUE(n <= factor_at + 3 ? g == nullptr : n < t.size() - 2 || g != nullptr) << n;
    kx_geogcs_del(g);
  }
  std::mt19937 rng(7u);
  const char pieces[] = "[](),\"_ 0123456789.e-GEOGCSDATUMSPHEROIDPRIMEMUNIT";
  int read = 0;
  char b[KX_TEXT_MAX_GEOGCS + 1];
  for (int round = 0; round < 4000; ++round) {
    std::string m = t;
    for (int e = 0, edits = 1 + int(rng() % 6); e < edits; ++e) {
      const size_t at = rng() % m.size(), how = rng() % 3;
      const char piece = pieces[rng() % (sizeof pieces - 1)];
      if (how == 0) m[at] = piece;
      if (how == 1) m.erase(at, 1 + rng() % 8);
      if (how == 2) m.insert(at, 1, piece);
      if (m.empty()) m = "G";
    }
    kx_geogcs g = kx_geogcs_from_string(m.c_str());
    if (g == nullptr) continue;
    kx_geogcs r = kx_geogcs_from_string((++read, kx_geogcs_to_string(g, b), b));
    // From 1e16 on numbers keep 7 digits only: those cannot come back equal.
    kx_spheroid sph = kx_datum_spheroid(kx_geogcs_datum(g));
    const double f = kx_spheroid_flattening(sph);
    const bool exact = kx_spheroid_axis(sph) < 1e16 && (f == 0.0 || f > 1e-16) &&
                       kx_unit_factor(kx_geogcs_unit(g)) < 1e16;
    EXPECT_TRUE(!exact || kx_geogcs_eq(g, r) == 1) << m << "\n" << b;
    for (kx_geogcs x : {g, r}) kx_geogcs_del(x);
  }
  EXPECT_GT(read, 100);  // the success path is exercised as well
}

// The longest kx_dtoa text in [lo, hi] among 16 significant digits of every
// decimal exponent, both signs: its value and slack, KX_TEXT_MAX_NUMBER less its length.
struct Longest {
  double value = 0;
  int slack = KX_TEXT_MAX_NUMBER;
};
Longest longest(double lo, double hi) {
  Longest best;
  char text[64];
  for (int e = -330; e <= 310; ++e) {
    for (double m : {1.234567890123457, 9.876543210987654, 1.000000000000001, 3.333333333333333,
                     1.2345678901234568}) {
      for (double v : {m * std::pow(10.0, e), -m * std::pow(10.0, e)}) {
        const int slack = KX_TEXT_MAX_NUMBER - int(std::strlen((kx_dtoa(v, text, 16), text)));
        if (v >= lo && v <= hi && slack < best.slack) best = {v, slack};
      }
    }
  }
  return best;
}
template <class H, class W>
int length(W (*writer)(H, char *), H h) {
  static char b[4096];
  return written(writer(h, b), b);
}

// The limits KX_TEXT_MAX_* assume KX_TEXT_MAX_NUMBER characters per number:
// texts of 63-character names and, for every number, the longest kx_dtoa text
// the kind accepts there fall short by exactly the measured number slack.
TEST(TextBounds, LongestTextsReachTheLimitsLessTheNumberSlack) {
  const char *const name = "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN";
  ASSERT_EQ(std::strlen(name), 63u);
  const Longest pos = longest(1e-300, INFINITY), inv = longest(1.0, INFINITY),
                lon = longest(-180.0, 180.0), any = longest(-INFINITY, INFINITY);
  EXPECT_TRUE(any.slack >= 0 &&
              any.slack <= KX_TEXT_MAX_NUMBER - 22);  // the search finds long texts
  kx_spheroid s = kx_spheroid_new(name, pos.value, 1.0 / inv.value);
  const int sph = length(kx_spheroid_to_string, s);  // 1/(1/x) may round off x: measure it
  EXPECT_TRUE(sph <= KX_TEXT_MAX_SPHEROID &&
              sph >= KX_TEXT_MAX_SPHEROID - pos.slack - inv.slack - 1);
  kx_datum d = kx_datum_new(name, s);
  const int datum = length(kx_datum_to_string, d);
  kx_geogcs g =
      kx_geogcs_new(name, d, kx_primem_new(name, lon.value), kx_unit_new(name, pos.value));
  kx_parameter par = kx_parameter_new(name, any.value), slots[16],
               slots2[16];  // any names fit the slots
  kx_projection pr = kx_projection_new(name, kFwd, kInv, nullptr);
  kx_method m = kx_method_new(name, kMFwd, kMInv);
  for (int i = 0; i < 16; ++i)
    slots[i] = kx_parameter_new(name, any.value), slots2[i] = kx_parameter_clone(slots[i]);
  kx_geoxyzcs x = kx_geoxyzcs_new(name, kx_geogcs_clone(g), kx_unit_new(name, pos.value));
  kx_projcs pcs = kx_projcs_new(name, kx_geogcs_clone(g), pr, slots, kx_unit_new(name, pos.value));
  kx_geogtran t = kx_geogtran_new(name, kx_geogcs_clone(g), kx_geogcs_clone(g), m, slots2);
  const int gcs = length(kx_geogcs_to_string, g), gcs_short = KX_TEXT_MAX_GEOGCS - gcs;
  const int n = length(kx_projcs_to_string, pcs);
  expect_rows(
      {{datum, KX_TEXT_MAX_DATUM - (KX_TEXT_MAX_SPHEROID - sph)},
       {length(kx_primem_to_string, kx_geogcs_primem(g)), KX_TEXT_MAX_PRIMEM - lon.slack},
       {length(kx_unit_to_string, kx_geogcs_unit(g)), KX_TEXT_MAX_UNIT - pos.slack},
       {length(kx_parameter_to_string, par), KX_TEXT_MAX_PARAMETER - any.slack},
       {gcs, KX_TEXT_MAX_GEOGCS - (KX_TEXT_MAX_DATUM - datum) - lon.slack - pos.slack},
       {length(kx_geoxyzcs_to_string, x), KX_TEXT_MAX_GEOXYZCS - gcs_short - pos.slack},
       {length(kx_projection_to_string, pr), KX_TEXT_MAX_PROJECTION},
       {length(kx_method_to_string, m), KX_TEXT_MAX_METHOD},
       {n, KX_TEXT_MAX_PROJCS - gcs_short - 16 * any.slack - pos.slack},
       {length(kx_coordsys_to_string, static_cast<kx_coordsys>(pcs)), n},
       {length(kx_geogtran_to_string, t), KX_TEXT_MAX_GEOGTRAN - 2 * gcs_short - 16 * any.slack}});
  static char text[KX_TEXT_MAX_GEOGCS + 1];  // the longest still fits the tokenizer
  kx_geogcs r = kx_geogcs_from_string((kx_geogcs_to_string(g, text), text));
  EXPECT_EQ(kx_geogcs_eq(g, r), 1);
  kx_parameter_del(par), kx_geoxyzcs_del(x), kx_projcs_del(pcs), kx_geogtran_del(t);
  for (kx_geogcs y : {g, r}) kx_geogcs_del(y);
}
}  // namespace