// Datums from the user definition file "datum".
#include "catalogue/objedit_reader.h"
#include "objects/object_core.h"

namespace cat = kx::catalogue;

extern "C" {

// The spheroid comes from the full factory, so it may be a user spheroid too.
KX_API kx_datum kx_factory_datum_objedit(int code) {
  cat::UserDefinition d;
  if (!cat::find_user_definition(cat::UserKind::Datum, code, &d)) return nullptr;
  kx_spheroid spheroid = kx_factory_spheroid(d.components[0]);
  if (spheroid == nullptr) return nullptr;
  kx_datum datum = kx_datum_new(d.name.c_str(), spheroid);
  if (datum == nullptr) {
    kx_spheroid_del(spheroid);
    return nullptr;
  }
  kx_datum_status_set(datum, kx::kStatusFromUserFile);
  return datum;
}

}  // extern "C"
