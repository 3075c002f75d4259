// Helpers of the catalogue tests: the EPSG extract (data/epsg) read
// independently of the generator, objects of any kind behind one handle whose
// fields are named as in the case files, and a scratch user definition home.
#ifndef KX_TEST_CATALOGUE_UTIL_H
#define KX_TEST_CATALOGUE_UTIL_H

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "kx.h"
#include "support/scratch.h"

namespace cattest {

using Row = std::map<std::string, std::string>;  // an EPSG row by header name
enum class Kind {
  Unit,
  Spheroid,
  Primem,
  Datum,
  Geogcs,
  Projcs,
  Geogtran,
  Projection,
  Method,
  Parameter,
  None
};

// An object of any kind; components (borrowed) are never freed.
class Obj {
 public:
  Obj(Kind k = Kind::None, void *object = nullptr, bool owned = true)
      : kind(k), p(object), owned_(owned) {}
  Obj(Obj &&o) noexcept : kind(o.kind), p(o.p), owned_(o.owned_) { o.p = nullptr; }
  Obj &operator=(Obj &&) = delete;
  ~Obj();
  explicit operator bool() const { return p != nullptr; }
  // A field as the case files name it: "name", "status", "code", "axis",
  // "datum.spheroid.name", "p2.value", "slots", "eq/4326" ("1" when equal to
  // the built-in entry 4326 of the kind), ...; "null" for no object.
  std::string field(const std::string &key) const;
  Kind kind;
  void *p;

 private:
  bool owned_;
};

// A scratch user-definition home, named by KXOBJEDITHOME while it lives.
class ObjeditHome : public kxtest::ScratchDir {
 public:
  ObjeditHome() : ScratchDir("KXOBJEDITHOME") { kx_objedithome_setfunc(nullptr); }
  void write(const std::string &file, const std::string &content);
};

// A case of tests/data/catalogue/cases.txt: user files and expectations.
struct Case {
  std::string title;
  std::map<std::string, std::string> files;
  std::vector<std::vector<std::string>> expects;  // factory, code, key=value...
};
using Listing = kx_predefined *(*)(int *);

inline std::vector<std::string> split_csv(const std::string &line,
                                          char sep = ',') {  // quotes honoured
  std::vector<std::string> out(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"')
      quoted = !quoted;
    else if (c == sep && !quoted)
      out.emplace_back();
    else if (c != '\r')
      out.back() += c;
  }
  return out;
}

inline std::vector<Row> read_epsg(const std::string &file) {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/../../data/epsg/" + file);
  std::vector<Row> rows;
  std::string line;
  std::getline(in, line);
  const auto header = split_csv(line);
  while (std::getline(in, line)) {
    const auto fields = split_csv(line);
    Row &row = rows.emplace_back();
    for (size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
  }
  return rows;
}

inline Listing listing(const std::string &kind) {
  static const std::map<std::string, Listing> listings = {
      {"spheroid", kx_predefined_spheroid},
      {"primem", kx_predefined_primem},
      {"angular_unit", kx_predefined_angular_unit},
      {"linear_unit", kx_predefined_linear_unit},
      {"datum", kx_predefined_datum},
      {"projection", kx_predefined_projection},
      {"method", kx_predefined_method},
      {"parameter", kx_predefined_parameter},
      {"geogcs", kx_predefined_geogcs},
      {"projcs", kx_predefined_projcs},
      {"geogtran", kx_predefined_geogtran}};
  return listings.at(kind);
}

namespace detail {

// The functions every kind has, in the order of Kind.
struct Ops {
  const char *name;
  int (*is)(void *);
  void (*get_name)(void *, char *);
  int (*status)(void *);
  int (*eq)(void *, void *);
  void (*del)(void *);
  void *(*reference)(int);  // the built-in entry an "eq" compares with
};
template <typename H, int (*P)(H), void (*N)(H, char *), uint8_t (*S)(H), int (*E)(H, H),
          void (*D)(H), H (*R)(int)>
constexpr Ops ops(const char *name) {
  return {name,
          [](void *o) { return P(static_cast<H>(o)); },
          [](void *o, char *b) { N(static_cast<H>(o), b); },
          [](void *o) { return static_cast<int>(S(static_cast<H>(o))); },
          [](void *a, void *b) { return E(static_cast<H>(a), static_cast<H>(b)); },
          [](void *o) { D(static_cast<H>(o)); },
          [](int c) -> void * { return R(c); }};
}
#define KX_OPS(k, ref) \
  ops<kx_##k, kx_##k##_p, kx_##k##_name, kx_##k##_status, kx_##k##_eq, kx_##k##_del, ref>(#k)
inline const Ops kOps[] = {KX_OPS(unit, kx_factory_unit),
                           KX_OPS(spheroid, kx_factory_spheroid),
                           KX_OPS(primem, kx_factory_primem),
                           KX_OPS(datum, kx_factory_datum_normal),
                           KX_OPS(geogcs, kx_factory_geogcs_normal),
                           KX_OPS(projcs, kx_factory_projcs_normal),
                           KX_OPS(geogtran, kx_factory_geogtran_normal),
                           KX_OPS(projection, kx_factory_projection),
                           KX_OPS(method, kx_factory_method),
                           KX_OPS(parameter, kx_factory_parameter)};
#undef KX_OPS

#define KX_F(n)                                           \
  {                                                       \
#n, [](int c) -> void * { return kx_factory_##n(c); } \
  }
inline const std::map<std::string, void *(*)(int)> kFactories = {KX_F(unit),
                                                                 KX_F(spheroid),
                                                                 KX_F(primem),
                                                                 KX_F(datum),
                                                                 KX_F(datum_normal),
                                                                 KX_F(datum_depracated),
                                                                 KX_F(datum_objedit),
                                                                 KX_F(geogcs),
                                                                 KX_F(geogcs_normal),
                                                                 KX_F(geogcs_depracated),
                                                                 KX_F(geogcs_objedit),
                                                                 KX_F(projcs),
                                                                 KX_F(projcs_normal),
                                                                 KX_F(projcs_depracated),
                                                                 KX_F(projcs_objedit),
                                                                 KX_F(projcs_utm),
                                                                 KX_F(geogtran),
                                                                 KX_F(geogtran_normal),
                                                                 KX_F(geogtran_depracated),
                                                                 KX_F(geogtran_objedit),
                                                                 KX_F(projection),
                                                                 KX_F(method),
                                                                 KX_F(parameter),
                                                                 {"any", kx_factory}};
#undef KX_F

// Components by field name, and the numeric fields of each kind.
template <typename H, typename C, C (*G)(H)>
void *part(void *o) {
  return G(static_cast<H>(o));
}
struct Part {
  Kind of;
  const char *head;
  Kind kind;
  void *(*get)(void *);
};
inline const Part kParts[] = {
    {Kind::Datum, "spheroid", Kind::Spheroid, part<kx_datum, kx_spheroid, kx_datum_spheroid>},
    {Kind::Geogcs, "datum", Kind::Datum, part<kx_geogcs, kx_datum, kx_geogcs_datum>},
    {Kind::Geogcs, "primem", Kind::Primem, part<kx_geogcs, kx_primem, kx_geogcs_primem>},
    {Kind::Geogcs, "unit", Kind::Unit, part<kx_geogcs, kx_unit, kx_geogcs_unit>},
    {Kind::Projcs, "geogcs", Kind::Geogcs, part<kx_projcs, kx_geogcs, kx_projcs_geogcs>},
    {Kind::Projcs, "projection", Kind::Projection,
     part<kx_projcs, kx_projection, kx_projcs_projection>},
    {Kind::Projcs, "unit", Kind::Unit, part<kx_projcs, kx_unit, kx_projcs_unit>},
    {Kind::Geogtran, "source", Kind::Geogcs, part<kx_geogtran, kx_geogcs, kx_geogtran_geogcs1>},
    {Kind::Geogtran, "target", Kind::Geogcs, part<kx_geogtran, kx_geogcs, kx_geogtran_geogcs2>},
    {Kind::Geogtran, "method", Kind::Method, part<kx_geogtran, kx_method, kx_geogtran_method>}};
struct Number {
  Kind of;
  const char *key;
  double (*get)(void *);
};
inline const Number kNumbers[] = {
    {Kind::Unit, "factor", [](void *o) { return kx_unit_factor(static_cast<kx_unit>(o)); }},
    {Kind::Spheroid, "axis", [](void *o) { return kx_spheroid_axis(static_cast<kx_spheroid>(o)); }},
    {Kind::Spheroid, "f",
     [](void *o) { return kx_spheroid_flattening(static_cast<kx_spheroid>(o)); }},
    {Kind::Spheroid, "invf",
     [](void *o) { return 1.0 / kx_spheroid_flattening(static_cast<kx_spheroid>(o)); }},
    {Kind::Primem, "lon", [](void *o) { return kx_primem_longitude(static_cast<kx_primem>(o)); }},
    {Kind::Parameter, "value",
     [](void *o) { return kx_parameter_value(static_cast<kx_parameter>(o)); }},
    {Kind::Parameter, "index",
     [](void *o) { return 1.0 * kx_parameter_index(static_cast<kx_parameter>(o)); }}};

inline void parameters(const Obj &o, kx_parameter *slots) {
  if (o.kind == Kind::Projcs) kx_projcs_parameters(static_cast<kx_projcs>(o.p), slots);
  if (o.kind == Kind::Geogtran) kx_geogtran_parameters(static_cast<kx_geogtran>(o.p), slots);
}

// The component a field name stands for; Kind::None when it names none.
inline Obj component(const Obj &o, const std::string &head) {
  kx_parameter slots[16] = {};
  if (head.size() > 1 && head[0] == 'p' && std::isdigit(static_cast<unsigned char>(head[1]))) {
    parameters(o, slots);
    return Obj(Kind::Parameter, slots[std::stoi(head.substr(1)) & 15], false);
  }
  for (const auto &c : kParts) {
    if (c.of == o.kind && head == c.head) return Obj(c.kind, c.get(o.p), false);
  }
  return Obj();
}

}  // namespace detail
using namespace detail;

inline Obj::~Obj() {
  if (owned_ && p != nullptr) kOps[static_cast<int>(kind)].del(p);
}

// %.17g, the shortest text that reads back the same double.
inline std::string number(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

// Numbers by value (within 1e-15 relative when near), other text exactly.
inline bool same(const std::string &got, const std::string &want, bool near) {
  char *e1 = nullptr, *e2 = nullptr;
  const double a = std::strtod(got.c_str(), &e1), b = std::strtod(want.c_str(), &e2);
  if (got.empty() || want.empty() || *e1 != '\0' || *e2 != '\0') return got == want;
  return near ? std::fabs(a - b) <= 1e-15 * std::fabs(b) : a == b;
}

// What the named factory ("datum", "geogcs_normal", "any", ...) builds.
inline Obj build(const std::string &factory, int code) {
  const auto f = kFactories.find(factory);
  if (f == kFactories.end()) throw std::invalid_argument("no factory " + factory);
  void *p = f->second(code);
  int k = 0;
  while (p != nullptr && k < 10 && !kOps[k].is(p)) ++k;
  return Obj(static_cast<Kind>(k), p);
}

inline std::string Obj::field(const std::string &key) const {
  if (p == nullptr) return "null";
  const auto dot = key.find('.');
  const Obj c = component(*this, key.substr(0, dot));
  if (c.kind != Kind::None) return c.field(dot == std::string::npos ? "name" : key.substr(dot + 1));
  const Ops &o = kOps[static_cast<int>(kind)];
  char name[64] = {0};
  if (key == "name") o.get_name(p, name);
  if (key == "name") return name;
  if (key == "status") return std::to_string(o.status(p));
  if (key == "kind") return o.name;
  if (key == "code") return std::to_string(kx_factory_code(p));
  if (key.rfind("eq/", 0) == 0 || key.rfind("eqnn/", 0) == 0) {
    const Obj ref(kind, o.reference(std::stoi(key.substr(key.find('/') + 1))));
    if (!ref) return "no reference";
    if (key[2] == 'n')
      return std::to_string(
          kx_projcs_eqnn(static_cast<kx_projcs>(p), static_cast<kx_projcs>(ref.p)));
    return std::to_string(o.eq(p, ref.p));
  }
  if (key == "slots") {
    kx_parameter slots[16] = {};
    parameters(*this, slots);
    std::string s;
    for (int i = 0; i < 16; ++i)
      s += slots[i] == nullptr ? "" : (s.empty() ? "" : " ") + std::to_string(i);
    return s;
  }
  for (const auto &n : kNumbers) {
    if (n.of == kind && key == n.key) return number(n.get(p));
  }
  return "no field " + key;
}

// Replaces any entry; "/dir" and "/fifo" as content make that kind of file.
inline void ObjeditHome::write(const std::string &file, const std::string &content) {
  if (std::remove(path(file).c_str()) != 0) rmdir(path(file).c_str());
  if (content == "/dir") mkdir(path(file).c_str(), 0700);
  if (content == "/fifo") mkfifo(path(file).c_str(), 0600);
  const bool special = content == "/dir" || content == "/fifo";
  std::FILE *f = special ? nullptr : std::fopen(path(file).c_str(), "wb");
  if (f != nullptr) std::fwrite(content.data(), 1, content.size(), f);
  if (f != nullptr) std::fclose(f);
}

// "case <title>" starts a case; "<file>> <text>" is a line of a user file;
// any other line is an expectation "<factory>,<code>,<key>=<value>,...".
inline std::vector<Case> read_cases(const std::string &only = "") {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/catalogue/cases.txt");
  std::vector<Case> cases;
  for (std::string line; std::getline(in, line);) {
    const auto gt = line.find('>');
    if (line.rfind("case ", 0) == 0) cases.emplace_back().title = line.substr(5);
    if (line.empty() || line[0] == '#' || line.rfind("case ", 0) == 0 || cases.empty()) continue;
    if (gt != std::string::npos && gt < line.find(',')) {
      cases.back().files[line.substr(0, gt)] += line.substr(std::min(line.size(), gt + 2)) + "\n";
    } else {
      cases.back().expects.push_back(split_csv(line));
    }
  }
  cases.erase(std::remove_if(cases.begin(), cases.end(),
                             [&](const Case &c) { return !only.empty() && c.title != only; }),
              cases.end());
  return cases;
}

}  // namespace cattest

#endif
