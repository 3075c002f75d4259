// Code lists: the codes of a kind's macro-name table, in that table's order.
#include "catalogue/catalogue_tables.h"
#include "catalogue/generated/code_ranges.h"
#include "kx.h"

namespace {

namespace cat = kx::catalogue;

bool any(int) { return true; }
// The name table holds built-in codes only, none in the user-file ranges.
bool angular(int code) { return cat::in_ranges(cat::kAngularUnitCodes, code); }
bool linear(int code) { return cat::in_ranges(cat::kLinearUnitCodes, code); }

// A new array of the selected codes; null with *count 0 for a null count,
// an empty selection or no memory.
int *codelist(const cat::Table<cat::NameRow> &table, bool (*select)(int), int *count) {
  if (count == nullptr) return nullptr;
  *count = 0;
  int n = 0;
  for (std::size_t i = 0; i < table.count; ++i) n += select(table.rows[i].code) ? 1 : 0;
  if (n == 0) return nullptr;
  int *list = static_cast<int *>(kx_allocate(n * static_cast<int>(sizeof(int))));
  if (list == nullptr) return nullptr;
  int k = 0;
  for (std::size_t i = 0; i < table.count; ++i) {
    if (select(table.rows[i].code)) list[k++] = table.rows[i].code;
  }
  *count = n;
  return list;
}

}  // namespace

extern "C" {

KX_API int *kx_factory_datum_codelist(int *count) { return codelist(cat::kDatumNames, any, count); }
KX_API int *kx_factory_geogcs_codelist(int *count) {
  return codelist(cat::kGeogcsNames, any, count);
}
KX_API int *kx_factory_method_codelist(int *count) {
  return codelist(cat::kMethodNames, any, count);
}
KX_API int *kx_factory_parameter_codelist(int *count) {
  return codelist(cat::kParameterNames, any, count);
}
KX_API int *kx_factory_primem_codelist(int *count) {
  return codelist(cat::kPrimemNames, any, count);
}
KX_API int *kx_factory_projection_codelist(int *count) {
  return codelist(cat::kProjectionNames, any, count);
}
KX_API int *kx_factory_projcs_codelist(int *count) {
  return codelist(cat::kProjcsNames, any, count);
}
KX_API int *kx_factory_geogtran_codelist(int *count) {
  return codelist(cat::kGeogtranNames, any, count);
}
KX_API int *kx_factory_spheroid_codelist(int *count) {
  return codelist(cat::kSpheroidNames, any, count);
}
KX_API int *kx_factory_angular_unit_codelist(int *count) {
  return codelist(cat::kUnitNames, angular, count);
}
KX_API int *kx_factory_linear_unit_codelist(int *count) {
  return codelist(cat::kUnitNames, linear, count);
}
KX_API void kx_factory_codelist_del(int *list) { kx_deallocate(list); }

}  // extern "C"
