// Geographic CSs from the user definition file "geogcs".
#include "catalogue/objedit_reader.h"
#include "objects/object_core.h"

namespace cat = kx::catalogue;

extern "C" {

KX_API kx_geogcs kx_factory_geogcs_objedit(int code) {
  cat::UserDefinition d;
  if (!cat::find_user_definition(cat::UserKind::Geogcs, code, &d)) return nullptr;
  kx_datum datum = kx_factory_datum(d.components[0]);
  kx_primem primem = kx_factory_primem(d.components[1]);
  kx_unit unit = kx_factory_unit(d.components[2]);
  kx_geogcs geogcs = nullptr;
  if (datum != nullptr && primem != nullptr && unit != nullptr) {
    geogcs = kx_geogcs_new(d.name.c_str(), datum, primem, unit);
  }
  if (geogcs == nullptr) {
    kx_datum_del(datum);
    kx_primem_del(primem);
    kx_unit_del(unit);
    return nullptr;
  }
  kx_geogcs_status_set(geogcs, kx::kStatusFromUserFile);
  return geogcs;
}

}  // extern "C"
