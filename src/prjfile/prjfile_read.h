// The reading steps shared by the coordinate-system and vertical-unit
// readers and by the readers of the catalogue-based grids.
#ifndef KX_PRJFILE_PRJFILE_READ_H
#define KX_PRJFILE_PRJFILE_READ_H

#include <cstring>
#include <exception>
#include <string>

#include "kx.h"
#include "prjfile/prjfile.h"
#include "prjfile/prjfile_objects.h"

namespace kx::prjfile {

// The whole file at path: kOk, or kFileError for a file that cannot be
// opened, is not a regular file or is larger than KX_PRJFILE_MAX_BYTES.
int read_file(const char *path, std::string *text);

// The C entries of a reader over a text or a file: the input checks, the
// file read whole, and no exception past the boundary (-200). read(text,
// length, status) gives the object or null with the status set.
template <typename Read>
auto from_string(const char *text, int *status, Read read) -> decltype(read(text, 0, status)) {
  if (status == nullptr) return nullptr;
  if (text == nullptr || text[0] == '\0') {
    *status = kNoInput;
    return nullptr;
  }
  try {
    return read(text, std::strlen(text), status);
  } catch (const std::exception &) {
    *status = kNoMemory;
    return nullptr;
  }
}

template <typename Read>
auto from_file(const char *path, int *status, Read read) -> decltype(read(path, 0, status)) {
  if (status == nullptr) return nullptr;
  if (path == nullptr || path[0] == '\0') {
    *status = kNoInput;
    return nullptr;
  }
  try {
    std::string text;
    *status = read_file(path, &text);
    if (*status != kOk) return nullptr;
    if (text.empty()) {
      *status = kNoInput;
      return nullptr;
    }
    return read(text.data(), text.size(), status);
  } catch (const std::exception &) {
    *status = kNoMemory;
    return nullptr;
  }
}

// The coordinate system of a parsed record; kOk or the failure.
int build_coordsys(const Record &record, kx_coordsys *out);

// The x and y shifts of a record, in the projected unit.
struct Shifts {
  double x = 0.0, y = 0.0;
};

// A name cut to the 63 characters an object name holds.
std::string cut_name(std::string name);
// Zero within 2^-48.
bool zero(double v);
// A unit from a field that may be a number of units per metre; the unit
// words apply when words is true, empty_code is the unit of an empty field.
int unit_from_field(const std::string &field, bool words, int empty_code, Unit *out);
// A projected CS of the parts, which it takes only on success.
int assemble(const std::string &name, Geogcs *geog, Projection *projection, Slots *slots,
             Unit *unit, Projcs *out);

// The catalogue system code, in unit (null: its own; suffix then extends
// the name) and shifted; missing is the status when the catalogue lacks it.
int adjusted(int code, kx_unit unit, const char *suffix, double dx, double dy, int missing,
             Projcs *out);
// The state-plane system of the zone, datum and unit of the record.
int state_plane(const Record &r, const Shifts &shift, Projcs *out);
// The RSO grid of Brunei (line 1 is 1) or Malaysia (2).
int rso(const Record &r, const Shifts &shift, Projcs *out);

}  // namespace kx::prjfile

#endif
