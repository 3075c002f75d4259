// Datums: the user file, the built-in table, then the deprecated codes.
#include "catalogue/catalogue_tables.h"
#include "kx.h"
#include "objects/object_core.h"

using kx::catalogue::find_code;

extern "C" {

KX_API kx_datum kx_factory_datum_normal(int code) {
  const auto *row = find_code(kx::catalogue::kDatums, code);
  if (row == nullptr) return nullptr;
  kx_spheroid spheroid = kx_factory_spheroid(row->spheroid);
  if (spheroid == nullptr) return nullptr;
  kx_datum datum = kx_datum_new(row->name, spheroid);
  if (datum == nullptr) kx_spheroid_del(spheroid);
  return datum;
}

KX_API kx_datum kx_factory_datum_depracated(int code) {
  const auto *map = find_code(kx::catalogue::kDeprecatedDatums, code);
  if (map == nullptr) return nullptr;
  kx_datum datum = kx_factory_datum_normal(map->current);
  if (datum != nullptr) kx_datum_status_set(datum, kx::kStatusFromDeprecated);
  return datum;
}

KX_API kx_datum kx_factory_datum(int code) {
  kx_datum datum = kx_factory_datum_objedit(code);
  if (datum != nullptr) {
    kx_datum_status_set(datum, kx::kStatusFromUserFile);
    return datum;
  }
  datum = kx_factory_datum_normal(code);
  if (datum != nullptr) {
    kx_datum_status_set(datum, kx::kStatusFromCatalogue);
    return datum;
  }
  return kx_factory_datum_depracated(code);
}

}  // extern "C"
