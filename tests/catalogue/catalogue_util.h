// Helpers of the catalogue tests: the EPSG extract (data/epsg) read
// independently of the generator, objects of any kind behind one handle whose
// fields are named as in the case files, and a scratch user definition home.
#ifndef KX_TEST_CATALOGUE_UTIL_H
#define KX_TEST_CATALOGUE_UTIL_H

#include <map>
#include <string>
#include <vector>

#include "kx.h"

namespace cattest {

using Row = std::map<std::string, std::string>;
std::vector<std::string> split_csv(const std::string &line, char sep = ',');  // quotes honoured
std::vector<Row> read_epsg(const std::string &file);                         // rows by header name

enum class Kind { Unit, Spheroid, Primem, Datum, Geogcs, Projcs, Geogtran, Projection, Method, Parameter, None };

// An object of any kind; components (borrowed) are never freed.
class Obj {
 public:
  Obj(Kind k = Kind::None, void *object = nullptr, bool owned = true) : kind(k), p(object), owned_(owned) {}
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

// What the named factory ("datum", "geogcs_normal", "any", ...) builds.
Obj build(const std::string &factory, int code);
std::string number(double v);  // %.17g
// True when got equals want: numbers by value (within 1e-15 relative when
// near), other text exactly.
bool same(const std::string &got, const std::string &want, bool near);
using Listing = kx_predefined *(*)(int *);
Listing listing(const std::string &kind);  // "spheroid", "angular_unit", ...

// A fresh temporary directory named by KXOBJEDITHOME while the object lives.
class ObjeditHome {
 public:
  ObjeditHome();
  ~ObjeditHome();
  ObjeditHome(const ObjeditHome &) = delete;
  ObjeditHome &operator=(const ObjeditHome &) = delete;
  const std::string &dir() const { return dir_; }
  std::string path(const std::string &file) const { return dir_ + "/" + file; }
  void write(const std::string &file, const std::string &content);

 private:
  std::string dir_;
};

// The cases of tests/data/catalogue/cases.txt (only the one titled `only`
// when given): user files and expectations.
struct Case {
  std::string title;
  std::map<std::string, std::string> files;
  std::vector<std::vector<std::string>> expects;  // factory, code, key=value...
};
std::vector<Case> read_cases(const std::string &only = "");

}  // namespace cattest

#endif
