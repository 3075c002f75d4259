// Projections, methods and parameters: catalogue codes of the registries and
// of the parameter slot table.
#include <cstring>

#include "kx.h"
#include "objects/object_core.h"
#include "objects/parameter_table.h"
#include "objects/registry.h"

namespace {

bool in_range(int code, int lo, int hi) { return code >= lo && code <= hi; }

}  // namespace

extern "C" {

// A registry row whose functions are not in the library yields null.
KX_API kx_projection kx_factory_projection(int code) {
  if (!in_range(code, 43000, 52999)) return nullptr;
  const kx::ProjectionRow *row = kx::projection_row_by_code(code);
  return row != nullptr ? kx::projection_from_row(*row, row->name, 4) : nullptr;
}

KX_API kx_method kx_factory_method(int code) {
  if (!in_range(code, 9600, 9699) && !in_range(code, 109600, 109699)) return nullptr;
  const kx::MethodRow *row = kx::method_row_by_code(code);
  return row != nullptr ? kx::method_from_row(*row, row->name, 4) : nullptr;
}

// The parameter carries the slot table's default value for its name.
KX_API kx_parameter kx_factory_parameter(int code) {
  for (const kx::ParameterCodeRow &row : kx::kParameterCodeTable) {
    if (row.code != code) continue;
    double value = 0.0;
    for (const kx::ParameterSlotRow &slot : kx::kParameterSlotTable) {
      if (std::strcmp(slot.name, row.name) == 0) {
        value = slot.default_value;
        break;
      }
    }
    kx_parameter parameter = kx_parameter_new(row.name, value);
    if (parameter != nullptr) kx_parameter_status_set(parameter, kx::kStatusFromCatalogue);
    return parameter;
  }
  return nullptr;
}

}  // extern "C"
