// Geographic transformations of the user file, the built-in table, then the deprecated codes.
#include "catalogue/catalogue_tables.h"
#include "catalogue/projcs_families.h"
#include "kx.h"
#include "objects/object_core.h"

namespace cat = kx::catalogue;

namespace {

constexpr int kSlots = 16;

void delete_slots(kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) {
    kx_parameter_del(slots[i]);
    slots[i] = nullptr;
  }
}

// The row's parameters in their slots, the grid dataset as the name of the
// Dataset_ parameter; false (slots emptied) on any failure.
bool make_parameters(const cat::GeogtranRow &row, kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) slots[i] = nullptr;
  if (row.first < 0 || row.count < 0 ||
      static_cast<std::size_t>(row.first) + static_cast<std::size_t>(row.count) >
          cat::kGeogtranParams.count) {
    return false;
  }
  for (int i = 0; i < row.count; ++i) {
    const cat::ProjcsParam &p = cat::kGeogtranParams.rows[row.first + i];
    kx_parameter parameter = kx_factory_parameter(p.parameter);
    bool ok = parameter != nullptr && kx_parameter_value_set(parameter, p.value) != 0;
    if (ok && row.dataset != nullptr) ok = kx_parameter_name_set(parameter, row.dataset) != 0;
    const int slot = ok ? cat::parameter_slot_of(p.parameter, parameter) : -1;
    if (slot < 0 || slot >= kSlots || slots[slot] != nullptr) {
      kx_parameter_del(parameter);
      delete_slots(slots);
      return false;
    }
    slots[slot] = parameter;
  }
  return true;
}

}  // namespace

extern "C" {

KX_API kx_geogtran kx_factory_geogtran_normal(int code) {
  const cat::GeogtranRow *row = cat::find_code(cat::kGeogtran, code);
  if (row == nullptr) return nullptr;
  kx_parameter slots[kSlots];
  if (!make_parameters(*row, slots)) return nullptr;
  kx_method method = kx_factory_method(row->method);
  kx_geogcs geogcs1 = kx_factory_geogcs(row->geogcs1);
  kx_geogcs geogcs2 = kx_factory_geogcs(row->geogcs2);
  kx_geogtran geogtran = nullptr;
  if (method != nullptr && geogcs1 != nullptr && geogcs2 != nullptr) {
    geogtran = kx_geogtran_new(row->name, geogcs1, geogcs2, method, slots);
  }
  if (geogtran == nullptr) {
    delete_slots(slots);
    kx_method_del(method);
    kx_geogcs_del(geogcs1);
    kx_geogcs_del(geogcs2);
  }
  return geogtran;
}

KX_API kx_geogtran kx_factory_geogtran_depracated(int code) {
  const cat::CodeMap *map = cat::find_code(cat::kDeprecatedGeogtran, code);
  if (map == nullptr) return nullptr;
  kx_geogtran geogtran = kx_factory_geogtran_normal(map->current);
  if (geogtran != nullptr) kx_geogtran_status_set(geogtran, kx::kStatusFromDeprecated);
  return geogtran;
}

KX_API kx_geogtran kx_factory_geogtran(int code) {
  kx_geogtran geogtran = kx_factory_geogtran_objedit(code);
  if (geogtran != nullptr) {
    kx_geogtran_status_set(geogtran, kx::kStatusFromUserFile);
    return geogtran;
  }
  geogtran = kx_factory_geogtran_normal(code);
  if (geogtran != nullptr) {
    kx_geogtran_status_set(geogtran, kx::kStatusFromCatalogue);
    return geogtran;
  }
  return kx_factory_geogtran_depracated(code);
}

}  // extern "C"
