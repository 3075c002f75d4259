// The stated accuracy of a catalogue transformation, so that callers can
// choose among the transformations between two datums.
#include "catalogue/catalogue_tables.h"
#include "kx.h"

namespace cat = kx::catalogue;

extern "C" KX_API double kx_factory_geogtran_accuracy(int code) {
  const cat::GeogtranRow *row = cat::find_code(cat::kGeogtran, code);
  if (row == nullptr) {
    const cat::CodeMap *map = cat::find_code(cat::kDeprecatedGeogtran, code);
    if (map != nullptr) row = cat::find_code(cat::kGeogtran, map->current);
  }
  return row != nullptr && row->accuracy >= 0 ? row->accuracy : -1.0;
}
