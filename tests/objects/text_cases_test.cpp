// Every object kind against its case file: texts that read (and what to), are
// refused, or write back as given; names refused where they enter; the
// tokenizer's cases and hostile input; the README's lists of the registry
// rows. Cases: data/objects/texts.txt, name_cases.txt and tokens.txt.
#include "objects/object_cases.h"
#include "objects/object_core.h"
#include "objects/registry.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <set>

namespace {
using objcase::Kind, objcase::Obj;
std::string num(double v) {
  char b[40];
  return std::snprintf(b, sizeof b, "%.17g", v), b;
}
// A field of an object, as text ("none" for an empty parameter slot).
std::string field(const std::string &kind, const Kind &k, Obj o, const std::string &key) {
  if (key == "name") return k.name(o);
  if (key[0] == 'p' && std::isdigit(static_cast<unsigned char>(key[1]))) {
    kx_parameter s[16];
    if (kind == "projcs") kx_projcs_parameters(kx_projcs(o), s);
    if (kind == "geogtran") kx_geogtran_parameters(kx_geogtran(o), s);
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
      {"geogcs.parts", [](Obj h) {  // statuses: datum, spheroid, the clone's datum
         kx_geogcs g = kx_geogcs(h), c = kx_geogcs_clone(g);
         const int d = kx_datum_status(kx_geogcs_datum(g)), cd = kx_datum_status(kx_geogcs_datum(c));
         kx_geogcs_del(c);
         return num(100 * d + 10 * kx_spheroid_status(kx_datum_spheroid(kx_geogcs_datum(g))) + cd);
       }},
      {"projcs.unit", [](Obj h) { return num(kx_unit_factor(kx_projcs_unit(kx_projcs(h)))); }},
      {"projcs.gunit", [gcs](Obj h) { return num(kx_unit_factor(kx_geogcs_unit(gcs(h)))); }},
      {"projcs.gname", [gcs](Obj h) { return objcase::kinds().at("geogcs").name(gcs(h)); }}};
  return f.at(kind + "." + key)(o);
}
// What every built object must satisfy; returns its text.
std::string check_object(const Kind &k, Obj o, int status) {
  static char text[4096], again[4096];
  std::memset(text, 'x', sizeof text);
  const int n = k.write(o, text);
  EXPECT_TRUE(n == static_cast<int>(std::strlen(text)) && n <= k.max_text) << n;
  const bool reads = !(k.registry_named && status == 1);  // a built projection need not be registered
  Obj c = k.clone(o), back = reads ? k.read(text) : nullptr;
  EXPECT_EQ(k.eq(o, nullptr) * 100 + k.eq(o, c) * 10 + k.eq(o, back), reads ? 11 : 10) << text;
  if (k.status) {
    EXPECT_EQ(k.status(o) * 10 + k.status(c), status * 10 + 1);
    const char *stored = static_cast<const kx::ObjectHeader *>(o)->name;  // zero after its end
    for (size_t i = strnlen(stored, kx::kNameSize); i < kx::kNameSize; ++i) EXPECT_EQ(stored[i], 0);
  }
  EXPECT_STREQ((k.write(c, again), again), text);
  k.del(c);
  k.del(back);
  return text;
}
// The object a case line names: built, read from tokens or from text.
Obj build(const Kind &k, const std::string &how, const std::string &text, int *status) {
  const std::vector<std::string> v = objcase::split(how.substr(how.find('=') + 1) + ":0", ':');
  *status = how.rfind("new=", 0) == 0 || how.rfind("alter=", 0) == 0 ? 1 : 2;
  if (how.rfind("new=", 0) == 0) return k.make(text.c_str(), kxtest::num(v[0]), kxtest::num(v[1]));
  if (how.rfind("tok=", 0) == 0) {
    char buffer[1024], *tokens[200];
    int count = 0, first = -9, last = -9;
    kx_objstring_tokens(text.c_str(), text.substr(0, text.find_first_of("[(")).c_str(), buffer, tokens, &count);
    Obj o = k.from_tokens(tokens, v.size() > 4 ? std::stoi(v[3]) : count, std::stoi(v[0]), &first, &last);
    EXPECT_EQ(first * 1000 + last, std::stoi(v[1]) * 1000 + std::stoi(v[2]));
    return o;
  }
  Obj o = k.read(text.c_str());
  if (*status == 2) return o;  // else a copy in other units
  kx_unit linear = v[0] == "0" ? nullptr : kx_unit_new("Foot", kxtest::num(v[0]));
  kx_unit angular = v[1] == "0" ? nullptr : kx_unit_new("Grad", kxtest::num(v[1]));
  Obj copy = kx_projcs_clone_alterunits(kx_projcs(o), linear, angular);
  kx_projcs_del(kx_projcs(o));
  return kx_unit_del(linear), kx_unit_del(angular), copy;
}

TEST(ObjectTexts, CaseFile) {
  const objcase::CaseFile file = objcase::read_cases("objects/texts.txt");
  const std::map<std::string, Kind> kinds = objcase::kinds();
  ASSERT_GT(file.lines.size(), 150u);
  kx_pcsconstants foreign = kx_pcsconstants_new();  // a handle of no object kind, and two of others
  kx_unit unit = kx_unit_new("u", 1.0);
  kx_spheroid sph = kx_spheroid_new("s", 1.0, 0.0);
  for (const objcase::Line &c : file.lines) {
    SCOPED_TRACE(c.a + " " + c.b + " " + c.rest);
    const Kind &k = kinds.at(c.a);
    const auto text_of = [&](const std::string &t) { return file.defs.count(t) ? file.defs.at(t) : t; };
    const std::vector<std::string> checks = objcase::split(c.b, ';');
    const auto verify = [&](Obj o, const std::string &written) {
      for (const std::string &x : checks) {
        const size_t at = x.find('=');
        const std::string key = x.substr(0, at), want = at == std::string::npos ? "" : x.substr(at + 1);
        if (std::string(" new tok alter nil ").find(" " + key + " ") != std::string::npos) continue;
        char *end = nullptr;
        const double w = std::strtod(want.c_str(), &end);
        if (key == "same" || key == "canon") {
          EXPECT_EQ(written, key == "same" ? c.rest : text_of(want));
        } else if (key == "eq" || key == "ne") {
          Obj other = k.read(text_of(want).c_str());
          EXPECT_NE(other, nullptr);
          EXPECT_EQ(k.eq(o, other), key == "eq" ? 1 : 0) << x;
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
  kx_pcsconstants_del((kx_unit_del(unit), kx_spheroid_del(sph), foreign));
}

// A name with a bracket or quote would end the quoted name early: refused by
// every constructor, the rename and the parenthesised text; all others carry.
TEST(ObjectTexts, NamesRefusedWhereTheyEnterOrCarriedBackEqual) {
  const objcase::CaseFile file = objcase::read_cases("objects/name_cases.txt");
  ASSERT_GE(file.lines.size(), 10u);
  static char text[4096];
  for (auto &[label, k] : objcase::kinds()) {
    if (!k.make) continue;
    EXPECT_EQ(k.make(nullptr, 1, 0), nullptr) << label;
    Obj templ = k.make("@", 1, 0);
    ASSERT_GT(k.write(templ, text), 0) << label;
    k.del(templ);
    for (const objcase::Line &c : file.lines) {
      const std::string &n = c.tail;
      const bool carry = c.a == "carry", bracket = n.find_first_of("[]") != std::string::npos;
      SCOPED_TRACE(label + " named '" + n + "'");
      std::string t = text;  // refused names in the parenthesised form
      for (char &ch : t) ch = carry ? ch : ch == '[' ? '(' : ch == ']' ? ')' : ch;
      Obj made = k.make(n.c_str(), 1, 0), read = nullptr;
      EXPECT_EQ(made != nullptr, carry);
      if (carry && made != nullptr) check_object(k, made, 1);
      if (!k.registry_named && (carry || (bracket && n.find_first_of("\"\x7f") == std::string::npos))) {
        read = k.read(t.replace(t.find('@'), 1, n).c_str());
        EXPECT_EQ(carry ? k.eq(made, read) : read == nullptr, 1);
      }
      k.del(read);
      k.del(made);
    }
  }
  for (const objcase::Line &c : file.lines) {  // the old name stays on refusal
    kx_parameter p = kx_parameter_new("Scale_Factor", 0.9996);
    EXPECT_EQ(kx_parameter_name_set(p, c.tail.c_str()), c.a == "carry" ? 1 : 0) << c.tail;
    EXPECT_EQ(kx_parameter_index(p), c.a == "carry" ? -1 : 5) << c.tail;
    check_object(objcase::kinds().at("parameter"), p, 1);
    kx_parameter_del(p);
  }
}

// Buffer and token array with guard zones behind them: overruns show even in
// the release build.
constexpr int kBuf = 1024, kTok = 200, kGuard = 64;
constexpr unsigned char kCanary = 0xA5;
struct Tokenized {
  unsigned char raw[kBuf + kGuard];
  char *tokens[kTok + kGuard];
  int count = -1;
  Tokenized(const char *text, const char *keyword) {
    std::memset(raw, kCanary, sizeof raw);
    std::fill(std::begin(tokens), std::end(tokens), buffer() + 1);  // sentinel
    kx_objstring_tokens(text, keyword, buffer(), tokens, &count);
  }
  char *buffer() { return reinterpret_cast<char *>(raw); }
  bool sound() {  // guards intact, tokens non-empty and ended in the buffer, a null after them
    bool ok = count >= 0 && count < kTok && tokens[count] == nullptr;
    for (int i = kBuf; i < kBuf + kGuard; ++i) ok = ok && raw[i] == kCanary;
    for (int i = kTok; i < kTok + kGuard; ++i) ok = ok && tokens[i] == buffer() + 1;
    for (int i = 0; ok && i < count; ++i) {
      ok = tokens[i] >= buffer() && tokens[i] < buffer() + kBuf && tokens[i][0] != '\0' &&
           std::memchr(tokens[i], '\0', size_t(buffer() + kBuf - tokens[i])) != nullptr;
    }
    return ok;
  }
};

TEST(Tokenizer, CaseFile) {
  const objcase::CaseFile file = objcase::read_cases("objects/tokens.txt");
  ASSERT_GT(file.lines.size(), 20u);
  for (const objcase::Line &c : file.lines) {
    SCOPED_TRACE(c.a + " " + c.rest.substr(0, 80));
    Tokenized t(c.rest.c_str(), c.a == "-" ? "" : c.a.c_str());
    EXPECT_TRUE(t.sound());
    EXPECT_TRUE(c.b[0] != '#' || t.count == std::stoi(c.b.substr(1))) << t.count;
    if (c.b[0] == '#' || c.b == "*") continue;
    const std::vector<std::string> want = c.b == "-" ? std::vector<std::string>{} : objcase::split(c.b, '|');
    EXPECT_EQ(std::vector<std::string>(t.tokens, t.tokens + std::max(t.count, 0)), want);
    EXPECT_TRUE(t.count <= 0 || t.tokens[0] == t.buffer());  // cut in place from the keyword on
  }
}

// Null arguments leave the count zero; random bytes never escape the buffers.
TEST(Tokenizer, HostileArgumentsAndBytes) {
  char buffer[kBuf], *tokens[kTok] = {buffer};
  const char *text = "UNIT[\"m\",1]";
  for (int arg = 0; arg < 4; ++arg) {
    int count = 7;
    kx_objstring_tokens(arg == 0 ? nullptr : text, arg == 1 ? nullptr : "UNIT",
                        arg == 2 ? nullptr : buffer, arg == 3 ? nullptr : tokens, &count);
    EXPECT_TRUE(count == 0 && (arg > 0 || tokens[0] == buffer)) << arg;  // a null text: nothing else
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
    for (const std::string &item : objcase::split(line.rfind(label, 0) ? "" : line.substr(label.size()), ',')) {
      const auto b = item.find_first_not_of(" `."), e = item.find_last_not_of(" `.");
      if (b != std::string::npos) listed.insert(item.substr(b, e - b + 1));
    }
  }
  const Kind k = objcase::kinds().at(kind);
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
}  // namespace
