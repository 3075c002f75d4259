// kx_factory: the object of any catalogue code, dispatched by code range.
// EPSG numbers its newer objects outside the ranges (datums from 1024 among
// the transformations, CRSs above 5000), but its codes are unique across
// kinds, so a code the range's kind does not hold is asked of every kind.
#include "catalogue/catalogue_tables.h"
#include "catalogue/generated/code_ranges.h"
#include "kx.h"

namespace {

namespace cat = kx::catalogue;

// Whether the kind could have an entry for the code. Without a user
// definition home only the built-in tables and deprecated maps hold codes,
// and a bisection answers without building or reading anything.
bool may_hold(cat::CodeKind kind, int code, bool user_files) {
  if (user_files) return true;
  switch (kind) {
    case cat::CodeKind::LinearUnit:
    case cat::CodeKind::AngularUnit: return cat::find_code(cat::kUnits, code) != nullptr;
    case cat::CodeKind::Spheroid: return cat::find_code(cat::kSpheroids, code) != nullptr;
    case cat::CodeKind::Primem: return cat::find_code(cat::kPrimems, code) != nullptr;
    case cat::CodeKind::Datum:
      return cat::find_code(cat::kDatums, code) || cat::find_code(cat::kDeprecatedDatums, code);
    case cat::CodeKind::Geogcs:
      return cat::find_code(cat::kGeogcs, code) || cat::find_code(cat::kDeprecatedGeogcs, code);
    case cat::CodeKind::Projcs:
      return cat::find_code(cat::kProjcs, code) || cat::find_code(cat::kDeprecatedProjcs, code);
    case cat::CodeKind::Geogtran:
      return cat::find_code(cat::kGeogtran, code) ||
             cat::find_code(cat::kDeprecatedGeogtran, code);
    default: return true;  // the registries answer by code at once
  }
}

// The kind's factory for a code inside its ranges.
void *make(cat::CodeKind kind, int code) {
  switch (kind) {
    case cat::CodeKind::LinearUnit:
    case cat::CodeKind::AngularUnit: return kx_factory_unit(code);
    case cat::CodeKind::Spheroid: return kx_factory_spheroid(code);
    case cat::CodeKind::Primem: return kx_factory_primem(code);
    case cat::CodeKind::Datum: return kx_factory_datum(code);
    case cat::CodeKind::Projection: return kx_factory_projection(code);
    case cat::CodeKind::Method: return kx_factory_method(code);
    case cat::CodeKind::Parameter: return kx_factory_parameter(code);
    case cat::CodeKind::Geogcs: return kx_factory_geogcs(code);
    case cat::CodeKind::Projcs: return kx_factory_projcs(code);
    case cat::CodeKind::Geogtran: return kx_factory_geogtran(code);
  }
  return nullptr;
}

}  // namespace

extern "C" {

// The first kind whose ranges hold the code is asked first; failing that,
// each other kind in the same order (the two unit kinds share one factory).
KX_API void *kx_factory(int code) {
  const cat::KindRanges *asked = nullptr;
  for (const cat::KindRanges &k : cat::kFactoryOrder) {
    if (cat::in_ranges(k.ranges, k.count, code)) {
      if (void *object = make(k.kind, code)) return object;
      asked = &k;
      break;
    }
  }
  const bool user_files = kx_get_objedithome() != nullptr;
  for (const cat::KindRanges &k : cat::kFactoryOrder) {
    if (&k == asked || k.kind == cat::CodeKind::AngularUnit) continue;
    if (!may_hold(k.kind, code, user_files)) continue;
    if (void *object = make(k.kind, code)) return object;
  }
  return nullptr;
}

}  // extern "C"
