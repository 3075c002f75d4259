// Geographic transformations from the user definition file "geogtran".
#include "catalogue/objedit_params.h"
#include "objects/object_core.h"

namespace cat = kx::catalogue;

extern "C" {

KX_API kx_geogtran kx_factory_geogtran_objedit(int code) {
  cat::UserDefinition d;
  if (!cat::find_user_definition(cat::UserKind::Geogtran, code, &d)) return nullptr;
  kx_parameter slots[cat::kUserSlots];
  if (!cat::make_user_slots(d, slots)) return nullptr;
  kx_geogcs geogcs1 = kx_factory_geogcs(d.components[0]);
  kx_geogcs geogcs2 = kx_factory_geogcs(d.components[1]);
  kx_method method = kx_factory_method(d.components[2]);
  kx_geogtran geogtran = nullptr;
  if (geogcs1 != nullptr && geogcs2 != nullptr && method != nullptr) {
    geogtran = kx_geogtran_new(d.name.c_str(), geogcs1, geogcs2, method, slots);
  }
  if (geogtran == nullptr) {
    cat::delete_user_slots(slots);
    kx_geogcs_del(geogcs1);
    kx_geogcs_del(geogcs2);
    kx_method_del(method);
    return nullptr;
  }
  kx_geogtran_status_set(geogtran, kx::kStatusFromUserFile);
  return geogtran;
}

}  // extern "C"
