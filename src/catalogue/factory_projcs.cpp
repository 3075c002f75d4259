// Projected CSs of the user file, the built-in table, then the deprecated codes.
#include "catalogue/catalogue_tables.h"
#include "kx.h"
#include "objects/object_core.h"

namespace cat = kx::catalogue;

namespace {

using Family = kx_projcs (*)(int);

// Asked in this order; the families are disjoint, the first result wins.
constexpr Family kFamilies[] = {
    kx_factory_projcs_misc,
    kx_factory_projcs_utm,
    kx_factory_projcs_spcs27,
    kx_factory_projcs_spcs83,
    kx_factory_projcs_spcs83_feet,
    kx_factory_projcs_spcs83_harn,
    kx_factory_projcs_minnesota_counties,
    kx_factory_projcs_wisconsin_counties,
};

}  // namespace

extern "C" {

KX_API kx_projcs kx_factory_projcs_normal(int code) {
  for (Family family : kFamilies) {
    kx_projcs projcs = family(code);
    if (projcs != nullptr) return projcs;
  }
  return nullptr;
}

KX_API kx_projcs kx_factory_projcs_depracated(int code) {
  const cat::CodeMap *map = cat::find_code(cat::kDeprecatedProjcs, code);
  if (map == nullptr) return nullptr;
  kx_projcs projcs = kx_factory_projcs_normal(map->current);
  if (projcs != nullptr) kx_projcs_status_set(projcs, kx::kStatusFromDeprecated);
  return projcs;
}

KX_API kx_projcs kx_factory_projcs(int code) {
  kx_projcs projcs = kx_factory_projcs_objedit(code);
  if (projcs != nullptr) {
    kx_projcs_status_set(projcs, kx::kStatusFromUserFile);
    return projcs;
  }
  projcs = kx_factory_projcs_normal(code);
  if (projcs != nullptr) {
    kx_projcs_status_set(projcs, kx::kStatusFromCatalogue);
    return projcs;
  }
  return kx_factory_projcs_depracated(code);
}

}  // extern "C"
