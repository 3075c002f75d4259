// Loading the coordinate systems and transformations kxproj is given.
#ifndef KXPROJ_DEFINITION_H
#define KXPROJ_DEFINITION_H

#include <memory>
#include <string>
#include <type_traits>

#include "kx.h"

namespace kxproj {

struct CoordsysDeleter {
  void operator()(void *cs) const { kx_coordsys_del(cs); }
};
using CoordsysPtr = std::unique_ptr<void, CoordsysDeleter>;

struct GeogtranDeleter {
  void operator()(kx_geogtran gt) const { kx_geogtran_del(gt); }
};
using GeogtranPtr = std::unique_ptr<std::remove_pointer_t<kx_geogtran>, GeogtranDeleter>;

// Definition arguments are catalogue codes ("32633"), macro names
// ("KX_PCS_WGS_1984_UTM_ZONE_33N"), bracketed texts or files holding one.

// Reads a definition argument: bracketed text itself, or the name of a file
// holding it. Returns the text, or an empty string with `error` set.
std::string definition_text(const std::string &arg, std::string &error);

// A coordinate system from an argument; null with `error` set when it cannot be read.
CoordsysPtr load_coordsys(const std::string &arg, std::string &error);

// A GEOGTRAN from an argument; null with `error` set when it cannot be read.
GeogtranPtr load_geogtran(const std::string &arg, std::string &error);

}  // namespace kxproj

#endif
