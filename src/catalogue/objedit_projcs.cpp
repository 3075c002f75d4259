// Projected CSs from the user definition file "projcs".
#include "catalogue/objedit_params.h"
#include "objects/object_core.h"

namespace cat = kx::catalogue;

extern "C" {

// A line without a unit code builds nothing: the projected CS needs one.
KX_API kx_projcs kx_factory_projcs_objedit(int code) {
  cat::UserDefinition d;
  if (!cat::find_user_definition(cat::UserKind::Projcs, code, &d)) return nullptr;
  kx_parameter slots[cat::kUserSlots];
  if (!cat::make_user_slots(d, slots)) return nullptr;
  kx_geogcs geogcs = kx_factory_geogcs(d.components[0]);
  kx_projection projection = kx_factory_projection(d.components[1]);
  kx_unit unit = d.components[2] != 0 ? kx_factory_unit(d.components[2]) : nullptr;
  kx_projcs projcs = nullptr;
  if (geogcs != nullptr && projection != nullptr && unit != nullptr) {
    projcs = kx_projcs_new(d.name.c_str(), geogcs, projection, slots, unit);
  }
  if (projcs == nullptr) {
    cat::delete_user_slots(slots);
    kx_geogcs_del(geogcs);
    kx_projection_del(projection);
    kx_unit_del(unit);
    return nullptr;
  }
  kx_projcs_status_set(projcs, kx::kStatusFromUserFile);
  return projcs;
}

}  // extern "C"
