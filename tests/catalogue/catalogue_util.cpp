#include "catalogue_util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <stdexcept>

namespace cattest {

std::vector<std::string> split_csv(const std::string &line, char sep) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    else if (c == sep && !quoted) out.emplace_back();
    else if (c != '\r') out.back() += c;
  }
  return out;
}

std::vector<Row> read_epsg(const std::string &file) {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/../../data/epsg/" + file);
  std::vector<Row> rows;
  std::string line;
  if (!std::getline(in, line)) return rows;
  const auto header = split_csv(line);
  while (std::getline(in, line)) {
    const auto fields = split_csv(line);
    Row &row = rows.emplace_back();
    for (size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
  }
  return rows;
}

namespace {

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
const Ops kOps[] = {
    KX_OPS(unit, kx_factory_unit),         KX_OPS(spheroid, kx_factory_spheroid),
    KX_OPS(primem, kx_factory_primem),     KX_OPS(datum, kx_factory_datum_normal),
    KX_OPS(geogcs, kx_factory_geogcs_normal), KX_OPS(projcs, kx_factory_projcs_normal),
    KX_OPS(geogtran, kx_factory_geogtran_normal), KX_OPS(projection, kx_factory_projection),
    KX_OPS(method, kx_factory_method),     KX_OPS(parameter, kx_factory_parameter),
};
#undef KX_OPS

struct Factory {
  const char *name;
  Kind kind;
  void *(*make)(int);
};
#define KX_FACTORY(n, k) {#n, Kind::k, [](int c) -> void * { return kx_factory_##n(c); }}
const Factory kFactories[] = {
    KX_FACTORY(unit, Unit), KX_FACTORY(spheroid, Spheroid), KX_FACTORY(primem, Primem),
    KX_FACTORY(datum, Datum), KX_FACTORY(datum_normal, Datum),
    KX_FACTORY(datum_depracated, Datum), KX_FACTORY(datum_objedit, Datum),
    KX_FACTORY(geogcs, Geogcs), KX_FACTORY(geogcs_normal, Geogcs),
    KX_FACTORY(geogcs_depracated, Geogcs), KX_FACTORY(geogcs_objedit, Geogcs),
    KX_FACTORY(projcs, Projcs), KX_FACTORY(projcs_normal, Projcs),
    KX_FACTORY(projcs_depracated, Projcs), KX_FACTORY(projcs_objedit, Projcs),
    KX_FACTORY(projcs_utm, Projcs), KX_FACTORY(geogtran, Geogtran),
    KX_FACTORY(geogtran_normal, Geogtran), KX_FACTORY(geogtran_depracated, Geogtran),
    KX_FACTORY(geogtran_objedit, Geogtran), KX_FACTORY(projection, Projection),
    KX_FACTORY(method, Method), KX_FACTORY(parameter, Parameter),
    {"any", Kind::None, kx_factory},
};
#undef KX_FACTORY

// The component a field name stands for; Kind::None when it names none.
Obj component(const Obj &o, const std::string &head) {
  auto borrowed = [](Kind k, void *p) { return Obj(k, p, false); };
  kx_parameter slots[16] = {};
  if (head.size() > 1 && head[0] == 'p' && std::isdigit(static_cast<unsigned char>(head[1]))) {
    if (o.kind == Kind::Projcs) kx_projcs_parameters(static_cast<kx_projcs>(o.p), slots);
    if (o.kind == Kind::Geogtran) kx_geogtran_parameters(static_cast<kx_geogtran>(o.p), slots);
    return borrowed(Kind::Parameter, slots[std::stoi(head.substr(1)) & 15]);
  }
  switch (o.kind) {
    case Kind::Datum:
      if (head == "spheroid") return borrowed(Kind::Spheroid, kx_datum_spheroid(static_cast<kx_datum>(o.p)));
      break;
    case Kind::Geogcs: {
      auto g = static_cast<kx_geogcs>(o.p);
      if (head == "datum") return borrowed(Kind::Datum, kx_geogcs_datum(g));
      if (head == "primem") return borrowed(Kind::Primem, kx_geogcs_primem(g));
      if (head == "unit") return borrowed(Kind::Unit, kx_geogcs_unit(g));
      break;
    }
    case Kind::Projcs: {
      auto g = static_cast<kx_projcs>(o.p);
      if (head == "geogcs") return borrowed(Kind::Geogcs, kx_projcs_geogcs(g));
      if (head == "projection") return borrowed(Kind::Projection, kx_projcs_projection(g));
      if (head == "unit") return borrowed(Kind::Unit, kx_projcs_unit(g));
      break;
    }
    case Kind::Geogtran: {
      auto g = static_cast<kx_geogtran>(o.p);
      if (head == "source") return borrowed(Kind::Geogcs, kx_geogtran_geogcs1(g));
      if (head == "target") return borrowed(Kind::Geogcs, kx_geogtran_geogcs2(g));
      if (head == "method") return borrowed(Kind::Method, kx_geogtran_method(g));
      break;
    }
    default:
      break;
  }
  return Obj();
}

}  // namespace

Obj::~Obj() {
  if (owned_ && p != nullptr) kOps[static_cast<int>(kind)].del(p);
}

Listing listing(const std::string &kind) {
  static const std::map<std::string, Listing> listings = {
      {"spheroid", kx_predefined_spheroid}, {"primem", kx_predefined_primem},
      {"angular_unit", kx_predefined_angular_unit}, {"linear_unit", kx_predefined_linear_unit},
      {"datum", kx_predefined_datum}, {"projection", kx_predefined_projection},
      {"method", kx_predefined_method}, {"parameter", kx_predefined_parameter},
      {"geogcs", kx_predefined_geogcs}, {"projcs", kx_predefined_projcs}, {"geogtran", kx_predefined_geogtran}};
  return listings.at(kind);
}

std::string number(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

bool same(const std::string &got, const std::string &want, bool near) {
  char *e1 = nullptr, *e2 = nullptr;
  const double a = std::strtod(got.c_str(), &e1), b = std::strtod(want.c_str(), &e2);
  if (got.empty() || want.empty() || *e1 != '\0' || *e2 != '\0') return got == want;
  return near ? std::fabs(a - b) <= 1e-15 * std::fabs(b) : a == b;
}

Obj build(const std::string &factory, int code) {
  for (const Factory &f : kFactories) {
    if (factory != f.name) continue;
    void *p = f.make(code);
    Kind kind = f.kind;
    for (int k = 0; kind == Kind::None && p != nullptr && k < 10; ++k) {
      if (kOps[k].is(p)) kind = static_cast<Kind>(k);
    }
    return Obj(kind, p);
  }
  throw std::invalid_argument("no factory " + factory);
}

std::string Obj::field(const std::string &key) const {
  if (p == nullptr) return "null";
  const auto dot = key.find('.');
  const Obj c = component(*this, key.substr(0, dot));
  if (c.kind != Kind::None) return c.field(dot == std::string::npos ? "name" : key.substr(dot + 1));
  const Ops &o = kOps[static_cast<int>(kind)];
  if (key == "name") {
    char buffer[64] = {0};
    o.get_name(p, buffer);
    return buffer;
  }
  if (key == "status") return std::to_string(o.status(p));
  if (key == "kind") return o.name;
  if (key == "code") return std::to_string(kx_factory_code(p));
  if (key.rfind("eq/", 0) == 0 || key.rfind("eqnn/", 0) == 0) {
    const Obj ref(kind, o.reference(std::stoi(key.substr(key.find('/') + 1))));
    if (!ref) return "no reference";
    if (key[2] == 'n') return std::to_string(kx_projcs_eqnn(static_cast<kx_projcs>(p), static_cast<kx_projcs>(ref.p)));
    return std::to_string(o.eq(p, ref.p));
  }
  if (key == "slots") {
    kx_parameter slots[16] = {};
    if (kind == Kind::Projcs) kx_projcs_parameters(static_cast<kx_projcs>(p), slots);
    if (kind == Kind::Geogtran) kx_geogtran_parameters(static_cast<kx_geogtran>(p), slots);
    std::string s;
    for (int i = 0; i < 16; ++i) {
      if (slots[i] != nullptr) s += (s.empty() ? "" : " ") + std::to_string(i);
    }
    return s;
  }
  switch (kind) {
    case Kind::Unit:
      if (key == "factor") return number(kx_unit_factor(static_cast<kx_unit>(p)));
      break;
    case Kind::Spheroid:
      if (key == "axis") return number(kx_spheroid_axis(static_cast<kx_spheroid>(p)));
      if (key == "f") return number(kx_spheroid_flattening(static_cast<kx_spheroid>(p)));
      if (key == "invf") return number(1.0 / kx_spheroid_flattening(static_cast<kx_spheroid>(p)));
      break;
    case Kind::Primem:
      if (key == "lon") return number(kx_primem_longitude(static_cast<kx_primem>(p)));
      break;
    case Kind::Parameter:
      if (key == "value") return number(kx_parameter_value(static_cast<kx_parameter>(p)));
      if (key == "index") return std::to_string(kx_parameter_index(static_cast<kx_parameter>(p)));
      break;
    default:
      break;
  }
  return "no field " + key;
}

ObjeditHome::ObjeditHome() {
  const char *tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/kx_objedit_XXXXXX";
  if (mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
  kx_objedithome_setfunc(nullptr);
  setenv("KXOBJEDITHOME", dir_.c_str(), 1);
}

ObjeditHome::~ObjeditHome() {
  unsetenv("KXOBJEDITHOME");
  if (DIR *d = opendir(dir_.c_str())) {
    while (dirent *e = readdir(d)) {
      const std::string p = path(e->d_name);
      if (e->d_name[0] != '.' && std::remove(p.c_str()) != 0) rmdir(p.c_str());
    }
    closedir(d);
  }
  rmdir(dir_.c_str());
}

void ObjeditHome::write(const std::string &file, const std::string &content) {
  if (std::remove(path(file).c_str()) != 0) rmdir(path(file).c_str());
  if (std::FILE *f = std::fopen(path(file).c_str(), "wb")) {
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
}

void ObjeditHome::make_dir(const std::string &file) {
  std::remove(path(file).c_str());
  mkdir(path(file).c_str(), 0700);
}

void ObjeditHome::make_fifo(const std::string &file) {
  std::remove(path(file).c_str());
  mkfifo(path(file).c_str(), 0600);
}

// "case <title>" starts a case; "<file>> <text>" is a line of a user file;
// any other line is an expectation "<factory>,<code>,<key>=<value>,...".
std::vector<Case> read_cases() {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/catalogue/cases.txt");
  std::vector<Case> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto gt = line.find('>');
    const auto comma = line.find(',');
    if (line.rfind("case ", 0) == 0) {
      cases.emplace_back().title = line.substr(5);
    } else if (!cases.empty() && gt != std::string::npos && gt < comma) {
      cases.back().files[line.substr(0, gt)] += line.substr(std::min(line.size(), gt + 2)) + "\n";
    } else if (!cases.empty()) {
      cases.back().expects.push_back(split_csv(line));
    }
  }
  return cases;
}

const Case &find_case(const std::string &title) {
  static const std::vector<Case> cases = read_cases();
  for (const Case &c : cases) {
    if (c.title == title) return c;
  }
  throw std::invalid_argument("no case " + title);
}

}  // namespace cattest
