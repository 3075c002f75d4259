// Winkel I and Winkel II on the sphere of radius a: the average of an
// equirectangular projection with true scale on the parallel phi1 (slot 3)
// and the sinusoidal (I) or an elliptical-meridian projection (II); y = a phi.
//
// Method: Snyder, "Flattening the Earth" (1993), p. 203; Winkel II as the
// library defines it (x from sqrt(1 - (2 phi / pi)^2), y = a phi).
//
// Measured accuracy: Winkel I against PROJ 9.1 (+proj=wink1 +lat_ts=phi1
// +R=a) forward within 5.6 nm, inverse within 5.1e-14 degrees; Winkel II
// against a 40-digit evaluation (tests/scripts/world_formulas.py) within
// 3.7 nm and 4.5e-14 degrees. PROJ's +proj=wink2 is another projection
// (Mollweide's auxiliary angle in y), up to 1350 km away.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {


// Half the width of the parallel phi per radian of longitude, over a.
double width_i(double cos_phi1, double phi) { return (cos_phi1 + std::cos(phi)) / 2.0; }

double width_ii(double cos_phi1, double phi) {
  const double s = kx::world::clamp_unit(2.0 * phi / kx::kPi);
  return (cos_phi1 + std::sqrt(1.0 - s * s)) / 2.0;
}

template <class Width>
int forward(const double *sph, const double *par, int n, double *coords, Width width) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double c = std::cos(par[kx::kSlotStandardParallel1]);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    x = a * kx_delta(x - lam0) * width(c, y);
    y = a * y;
    return true;
  });
}

template <class Width>
int inverse(const double *sph, const double *par, int n, double *coords, Width width) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const double c = std::cos(par[kx::kSlotStandardParallel1]);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double phi = y / a;
    x = kx::world::longitude(lam0, x / (a * width(c, phi)));
    y = phi;
    return true;
  });
}

}  // namespace

extern "C" {

KX_API int kx_winkel_i_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *, const double *) {
  return forward(sph, par, n, coords, width_i);
}

KX_API int kx_winkel_i_inv(const double *sph, const double *par, int n, double *coords,
                           const int *, const double *) {
  return inverse(sph, par, n, coords, width_i);
}

KX_API int kx_winkel_ii_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return forward(sph, par, n, coords, width_ii);
}

KX_API int kx_winkel_ii_inv(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return inverse(sph, par, n, coords, width_ii);
}

}  // extern "C"
