// Prime meridians of the built-in table.
#include "catalogue/catalogue_tables.h"
#include "kx.h"

extern "C" {

KX_API kx_primem kx_factory_primem(int code) {
  const auto *row = kx::catalogue::find_code(kx::catalogue::kPrimems, code);
  if (row == nullptr) return nullptr;
  kx_primem primem = kx_primem_new(row->name, row->longitude);
  if (primem != nullptr) kx_primem_status_set(primem, 4);
  return primem;
}

}  // extern "C"
