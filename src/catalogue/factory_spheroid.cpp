// Spheroids of the user file, then of the built-in table.
#include "catalogue/catalogue_tables.h"
#include "catalogue/objedit_reader.h"
#include "kx.h"
#include "objects/object_core.h"

extern "C" {

// A row whose axis the constructor refuses yields null.
KX_API kx_spheroid kx_factory_spheroid(int code) {
  kx_spheroid user = kx::catalogue::user_spheroid(code);
  if (user != nullptr) return user;
  const auto *row = kx::catalogue::find_code(kx::catalogue::kSpheroids, code);
  if (row == nullptr) return nullptr;
  kx_spheroid spheroid = kx_spheroid_new(row->name, row->axis, row->flattening);
  if (spheroid != nullptr) kx_spheroid_status_set(spheroid, kx::kStatusFromCatalogue);
  return spheroid;
}

}  // extern "C"
