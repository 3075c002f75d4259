// What kxproj takes from the library's catalogue: objects named by code or
// macro name, the transformations between two datums, object texts.
#ifndef KXPROJ_CATALOGUE_H
#define KXPROJ_CATALOGUE_H

#include <string>
#include <vector>

#include "kx.h"

namespace kxproj {

// The catalogue code an argument names ("4326", "EPSG:4326", "KX_GCS_WGS_1984"), or 0
// when it is neither a positive number nor a known macro name.
int catalogue_code(const std::string &arg);

// A catalogue transformation joining two datums and the direction to use it.
struct Candidate {
  int code;
  double accuracy;  // metres; negative when unknown
  bool inverse;     // applied from its second geographic CS to its first
  bool deprecated;  // by EPSG: taken only when no current one serves
  std::string name;
  std::string missing;  // the grid file it needs and the data home lacks, else ""
};

// For a grid transformation (NADCON, HARN, NTv2) whose grid the library
// cannot load from the data home, the path it looks for first (or, without a
// data home, the file's name); "" when the grid loads or the method needs
// none. Loading leaves the grid in gt.
std::string missing_grid(kx_geogtran gt);

// Every catalogue transformation whose methods the library has, from the
// datum of `from` to that of `to` in either direction, best first: the
// smallest stated accuracy, then those of unknown accuracy; ties by code.
// Each notes the grid file it lacks.
std::vector<Candidate> transformations_between(kx_geogcs from, kx_geogcs to);

// The text of the catalogue object of any kind with that code, or "".
std::string describe(int code);

}  // namespace kxproj

#endif
