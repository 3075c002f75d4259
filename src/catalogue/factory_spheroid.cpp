// Spheroids of the built-in table.
#include "catalogue/catalogue_tables.h"
#include "kx.h"

extern "C" {

// A row whose axis the constructor refuses yields null.
KX_API kx_spheroid kx_factory_spheroid(int code) {
  const auto *row = kx::catalogue::find_code(kx::catalogue::kSpheroids, code);
  if (row == nullptr) return nullptr;
  kx_spheroid spheroid = kx_spheroid_new(row->name, row->axis, row->flattening);
  if (spheroid != nullptr) kx_spheroid_status_set(spheroid, 4);
  return spheroid;
}

}  // extern "C"
