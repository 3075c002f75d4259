// The vertical unit of a keyword projection file (its "ZUNITS" line).
#include <cstring>
#include <exception>
#include <string>

#include "kx_def.h"
#include "prjfile/prjfile.h"
#include "prjfile/prjfile_read.h"

namespace {

using namespace kx::prjfile;

kx_unit zunit_of(const char *text, std::size_t length, int *status) {
  Record r;
  *status = parse_text(text, length, &r);
  if (*status != kOk) return nullptr;
  if (r.zunits.empty() || starts_with(r.zunits, "NO")) {
    *status = kNoZunit;
    return nullptr;
  }
  kx_unit unit = nullptr;
  if (starts_with(r.zunits, "MET")) {
    unit = kx_factory_unit(KX_U_METER);
  } else if (starts_with(r.zunits, "FE")) {
    unit = kx_factory_unit(KX_U_FOOT_US);
  } else {
    double v = 0.0;
    if (!read_number(r.zunits, &v) || !(v > 0.0)) {
      *status = kBadUnit;
      return nullptr;
    }
    unit = kx_unit_new("User_Defined_Unit", 1.0 / v);
  }
  if (unit == nullptr) *status = kBadUnit;
  return unit;
}

}  // namespace

extern "C" {

KX_API kx_unit kx_zunit_from_prjstring(const char *text, int *status) {
  return from_string(text, status, zunit_of);
}

KX_API kx_unit kx_zunit_from_prjfile(const char *path, int *status) {
  return from_file(path, status, zunit_of);
}

}  // extern "C"
