// Transformation driver, forward: from the transformation's first
// geographic CS to its second.
#include "geogtran/geogtran_unpack.h"

extern "C" KX_API int kx_geog1_to_geog2(kx_geogtran geogtran, int n, double *coords,
                                        double *heights) {
  return kx::geogtran::transform(geogtran, kx::geogtran::Direction::kForward, n, coords, heights);
}
