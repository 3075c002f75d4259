// Units of the built-in table.
#include "catalogue/catalogue_tables.h"
#include "kx.h"

using kx::catalogue::find_code;

extern "C" {

KX_API kx_unit kx_factory_unit(int code) {
  const auto *row = find_code(kx::catalogue::kUnits, code);
  if (row == nullptr) return nullptr;
  kx_unit unit = kx_unit_new(row->name, row->factor);
  if (unit != nullptr) kx_unit_status_set(unit, 4);
  return unit;
}

}  // extern "C"
