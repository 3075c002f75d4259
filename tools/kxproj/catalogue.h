// What kxproj takes from the library's catalogue: objects named by code or
// macro name, the transformations between two datums, object texts.
#ifndef KXPROJ_CATALOGUE_H
#define KXPROJ_CATALOGUE_H

#include <string>
#include <vector>

#include "kx.h"

namespace kxproj {

// The catalogue code an argument names ("4326", "KX_GCS_WGS_1984"), or 0
// when it is neither a positive number nor a known macro name.
int catalogue_code(const std::string &arg);

// A catalogue transformation joining two datums and the direction to use it.
struct Candidate {
  int code;
  double accuracy;  // metres; negative when unknown
  bool inverse;     // applied from its second geographic CS to its first
  std::string name;
};

// Every catalogue transformation whose methods the library has, from the
// datum of `from` to that of `to` in either direction, best first: the
// smallest stated accuracy, then those of unknown accuracy; ties by code.
std::vector<Candidate> transformations_between(kx_geogcs from, kx_geogcs to);

// The text of the catalogue object of any kind with that code, or "".
std::string describe(int code);

}  // namespace kxproj

#endif
