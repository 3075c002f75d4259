// Units of the user file, then of the built-in table.
#include "catalogue/catalogue_tables.h"
#include "catalogue/objedit_reader.h"
#include "kx.h"
#include "objects/object_core.h"

using kx::catalogue::find_code;

extern "C" {

KX_API kx_unit kx_factory_unit(int code) {
  kx_unit user = kx::catalogue::user_unit(code);
  if (user != nullptr) return user;
  const auto *row = find_code(kx::catalogue::kUnits, code);
  if (row == nullptr) return nullptr;
  kx_unit unit = kx_unit_new(row->name, row->factor);
  if (unit != nullptr) kx_unit_status_set(unit, kx::kStatusFromCatalogue);
  return unit;
}

}  // extern "C"
