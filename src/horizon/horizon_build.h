// Building blocks of horizon records shared by the horizon functions.
#ifndef KX_HORIZON_HORIZON_BUILD_H
#define KX_HORIZON_HORIZON_BUILD_H

#include "kx.h"

namespace kx {

// Seam codes of a part.
enum HorizonSeam : int32_t {
  kSeamAll = 0,
  kSeamEast = 1,
  kSeamWest = 2,
  kSeamInside = 3,
};

// Zero-filled array of parts whose count fields hold parts; null when parts
// is not positive or memory is exhausted.
kx_horizon *horizon_alloc(int parts);

// Gives part its shape, inclusion, seam and npoints zero-filled vertices;
// false on allocation failure (the caller then deletes the horizon).
bool horizon_part(kx_horizon *part, int32_t shape, int32_t inclusion, int32_t seam, int npoints);

// One-part envelope with corners (west, south) and (east, north); null on
// allocation failure.
kx_horizon *horizon_envelope(double west, double south, double east, double north, int32_t seam);

// The normal-cylindrical envelope about central meridian lambda0 between
// the latitudes -max_lat and max_lat.
kx_horizon *horizon_cylindrical(double lambda0, double max_lat);

}  // namespace kx

#endif
