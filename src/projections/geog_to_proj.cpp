// Projection driver, forward: geographic coordinates in the geographic CS's
// angular unit to projected coordinates in the projected CS's linear unit.
#include <cstddef>

#include "math/math_common.h"
#include "objects/projcs_unpack.h"
#include "projections/projection_common.h"

namespace {
using kx::kHalfPi;
}

extern "C" KX_API int kx_geog_to_proj(kx_projcs projcs, int n, double *coords) {
  if (n > 0 && coords == nullptr) return 0;
  kx::UnpackedProjcs u;
  kx::unpack_projcs(projcs, u);
  kx_pcsconstants pc = kx_projcs_pcsconstants(projcs);
  const int *ivals = kx_pcsconstants_ivals(pc);
  const double *dvals = kx_pcsconstants_dvals(pc);

  const std::size_t values = n > 0 ? 2 * static_cast<std::size_t>(n) : 0;
  for (std::size_t i = 0; i < values; i += 2) {
    coords[i] *= u.angular;
    double &lat = coords[i + 1];
    lat *= u.angular;
    // Latitudes past a pole are taken as the pole; NaN stays NaN.
    if (lat < -kHalfPi || lat > kHalfPi) lat = lat < 0 ? -kHalfPi : kHalfPi;
  }
  const int converted = kx_projection_forward(u.projection)(u.sph, u.par, n, coords, ivals, dvals);
  // A projection that rejects its parameters converts nothing and leaves the
  // points as they were: they fail like any other point.
  if (converted == 0 && kx_projection_p(u.projection)) kx::fail_points(n, coords);
  for (std::size_t i = 0; i < values; i += 2) {
    coords[i] = (coords[i] + u.par[0]) / u.linear;
    coords[i + 1] = (coords[i + 1] + u.par[1]) / u.linear;
  }
  return converted;
}
