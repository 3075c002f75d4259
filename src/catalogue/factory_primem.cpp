// Prime meridians of the user file, then of the built-in table.
#include "catalogue/catalogue_tables.h"
#include "catalogue/objedit_reader.h"
#include "kx.h"
#include "objects/object_core.h"

extern "C" {

KX_API kx_primem kx_factory_primem(int code) {
  kx_primem user = kx::catalogue::user_primem(code);
  if (user != nullptr) return user;
  const auto *row = kx::catalogue::find_code(kx::catalogue::kPrimems, code);
  if (row == nullptr) return nullptr;
  kx_primem primem = kx_primem_new(row->name, row->longitude);
  if (primem != nullptr) kx_primem_status_set(primem, kx::kStatusFromCatalogue);
  return primem;
}

}  // extern "C"
