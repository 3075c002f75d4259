// Turning a projected CS into the plain numbers the projection functions take.
// The driver, constants loading and horizons all unpack through here so that
// they always hand identical inputs to a projection.
#ifndef KX_OBJECTS_PROJCS_UNPACK_H
#define KX_OBJECTS_PROJCS_UNPACK_H

#include "kx.h"

namespace kx {

struct UnpackedProjcs {
  double sph[2];     // semi-major axis (metres), eccentricity squared
  double par[16];    // parameter slots in radians and metres
  double angular;    // radians per unit of the geographic CS
  double linear;     // metres per unit of the projected CS
  kx_projection projection;  // borrowed, may be invalid
};

enum class SlotDefaults {
  kDriver,   // scale factor 1, slot 4 from slot 3, X and Y scale 1
  kHorizon,  // as the driver but X and Y scale stay 0 when missing
};

// Reads the projected CS's components in the fixed order and converts the
// parameters; an invalid handle yields the accessor defaults.
void unpack_projcs(kx_projcs pcs, UnpackedProjcs &out, SlotDefaults defaults = SlotDefaults::kDriver);

}  // namespace kx

#endif
