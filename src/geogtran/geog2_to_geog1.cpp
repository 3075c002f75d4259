// Transformation driver, inverse: from the transformation's second
// geographic CS back to its first.
#include "geogtran/geogtran_unpack.h"

extern "C" KX_API int kx_geog2_to_geog1(kx_geogtran geogtran, int n, double *coords,
                                        double *heights) {
  return kx::geogtran::transform(geogtran, kx::geogtran::Direction::kInverse, n, coords, heights);
}
