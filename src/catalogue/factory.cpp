// kx_factory: the object of any catalogue code, dispatched by code range.
#include "catalogue/generated/code_ranges.h"
#include "kx.h"

namespace {

namespace cat = kx::catalogue;

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

// The first kind whose ranges hold the code decides.
KX_API void *kx_factory(int code) {
  for (const cat::KindRanges &k : cat::kFactoryOrder) {
    if (cat::in_ranges(k.ranges, k.count, code)) return make(k.kind, code);
  }
  return nullptr;
}

}  // extern "C"
