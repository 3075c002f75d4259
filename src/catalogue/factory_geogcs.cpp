// Geographic CSs: the user file, the built-in table, then the deprecated codes.
#include "catalogue/catalogue_tables.h"
#include "kx.h"
#include "objects/object_core.h"

using kx::catalogue::find_code;

extern "C" {

// Components come from the full factories, so each carries its own status.
KX_API kx_geogcs kx_factory_geogcs_normal(int code) {
  const auto *row = find_code(kx::catalogue::kGeogcs, code);
  if (row == nullptr || row->datum == 0 || row->primem == 0 || row->unit == 0) return nullptr;
  kx_datum datum = kx_factory_datum(row->datum);
  kx_primem primem = kx_factory_primem(row->primem);
  kx_unit unit = kx_factory_unit(row->unit);
  kx_geogcs geogcs = nullptr;
  if (datum != nullptr && primem != nullptr && unit != nullptr) {
    geogcs = kx_geogcs_new(row->name, datum, primem, unit);
  }
  if (geogcs == nullptr) {
    kx_datum_del(datum);
    kx_primem_del(primem);
    kx_unit_del(unit);
  }
  return geogcs;
}

KX_API kx_geogcs kx_factory_geogcs_depracated(int code) {
  const auto *map = find_code(kx::catalogue::kDeprecatedGeogcs, code);
  if (map == nullptr) return nullptr;
  kx_geogcs geogcs = kx_factory_geogcs_normal(map->current);
  if (geogcs != nullptr) kx_geogcs_status_set(geogcs, kx::kStatusFromDeprecated);
  return geogcs;
}

KX_API kx_geogcs kx_factory_geogcs(int code) {
  kx_geogcs geogcs = kx_factory_geogcs_objedit(code);
  if (geogcs != nullptr) {
    kx_geogcs_status_set(geogcs, kx::kStatusFromUserFile);
    return geogcs;
  }
  geogcs = kx_factory_geogcs_normal(code);
  if (geogcs != nullptr) {
    kx_geogcs_status_set(geogcs, kx::kStatusFromCatalogue);
    return geogcs;
  }
  return kx_factory_geogcs_depracated(code);
}

}  // extern "C"
