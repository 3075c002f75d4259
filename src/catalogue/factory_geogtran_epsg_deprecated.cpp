// Whether EPSG has deprecated a catalogue transformation: such entries stay
// for the data that names them, but callers choosing a transformation
// between two datums should prefer the others.
#include "catalogue/catalogue_tables.h"
#include "kx.h"

namespace cat = kx::catalogue;

extern "C" KX_API int kx_factory_geogtran_epsg_deprecated(int code) {
  const cat::GeogtranRow *row = cat::find_code(cat::kGeogtran, code);
  return row != nullptr && row->epsg_deprecated ? 1 : 0;
}
