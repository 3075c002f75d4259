// Loading the coordinate systems and transformations kxproj is given.
#ifndef KXPROJ_DEFINITION_H
#define KXPROJ_DEFINITION_H

#include <memory>
#include <string>

#include "kx.h"

namespace kxproj {

struct CoordsysDeleter {
  void operator()(void *cs) const { kx_coordsys_del(cs); }
};
using CoordsysPtr = std::unique_ptr<void, CoordsysDeleter>;

// Reads a definition argument: bracketed text itself, or the name of a file
// holding it. Returns the text, or an empty string with `error` set.
std::string definition_text(const std::string &arg, std::string &error);

// A coordinate system from an argument; null with `error` set when it cannot be read.
CoordsysPtr load_coordsys(const std::string &arg, std::string &error);

}  // namespace kxproj

#endif
