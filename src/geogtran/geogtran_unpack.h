// Turning a geographic transformation into the plain numbers the method
// functions take, and the driver loop both directions share.
#ifndef KX_GEOGTRAN_GEOGTRAN_UNPACK_H
#define KX_GEOGTRAN_GEOGTRAN_UNPACK_H

#include "kx.h"

namespace kx {
namespace geogtran {

enum class Direction { kForward, kInverse };

// What a method function is, as far as the driver's preparation goes.
enum class MethodKind { kEquation, kLongitudeRotation, kGrid };

struct UnpackedGeogtran {
  bool valid;          // a transformation whose method has a function for the direction
  MethodKind kind;
  kx_method_fn function;
  double sph1[2];      // {a, e2} of GCS1's datum spheroid
  double sph2[2];      // {a, e2} of GCS2's datum spheroid
  double val[16];      // value array, rotations radians, scale difference a ratio
  char dataset[64];    // slot-15 parameter name (grid methods), else empty
  bool datums_equal;   // by the datum equality; longitude rotation needs it
  double pm_source;    // prime meridians, radians east of Greenwich
  double pm_target;
  double unit_source;  // radians per angular unit
  double unit_target;
  const int *ivals;    // loaded grid constants, null without them
  const float *fvals;
  const double *dvals;
};

// Reads the transformation for one direction; out.valid is false for an
// invalid handle or a method without a function.
void unpack_geogtran(kx_geogtran gt, Direction dir, UnpackedGeogtran &out);

// The whole driver: unit and prime-meridian steps around the method call.
int transform(kx_geogtran gt, Direction dir, int n, double *coords, double *heights);

}  // namespace geogtran
}  // namespace kx

#endif  // KX_GEOGTRAN_GEOGTRAN_UNPACK_H
