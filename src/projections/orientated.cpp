// Projections with turned axes over their ordinary kernels and constants, the
// false origin added to the negated coordinates: the transverse Mercator,
// Bonne and Cassini (south orientated), x westing and y southing, and the
// Lambert conformal conic (west orientated), x westing.
//
// Method: EPSG Guidance Note 7-2, methods 9808 and 9828 (W = FE - E,
// S = FN - N) and 9826 (W = FE - E); Cassini on south and west axes.
#include "kx.h"
#include "projections/projection_common.h"

namespace {

// Both members negated; NaN stays NaN.
void turn(int n, double *coords) {
  for (int i = 0; coords != nullptr && i < 2 * n; ++i) coords[i] = -coords[i];
}

// x negated.
void turn_x(int n, double *coords) {
  for (int i = 0; coords != nullptr && i < n; ++i) coords[2 * i] = -coords[2 * i];
}

// The base projection with turned axes. A base that converts nothing has
// left the points as given (its parameters refused) or NaN, so they are
// turned only when something was converted, and turned back after an
// inverse that converted nothing: refused points come back as given.
template <kx_projection_fn kBase, void (*kTurn)(int, double *)>
int turned_fwd(const double *sph, const double *par, int n, double *coords, const int *ivals,
               const double *dvals) {
  const int count = kBase(sph, par, n, coords, ivals, dvals);
  if (count > 0) kTurn(n, coords);
  return count;
}

template <kx_projection_fn kBase, void (*kTurn)(int, double *)>
int turned_inv(const double *sph, const double *par, int n, double *coords, const int *ivals,
               const double *dvals) {
  kTurn(n, coords);
  const int count = kBase(sph, par, n, coords, ivals, dvals);
  if (count <= 0) kTurn(n, coords);
  return count;
}

}  // namespace

extern "C" {

KX_API int kx_tm_south_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  return turned_fwd<kx_gauss_kruger_fwd, turn>(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_tm_south_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  return turned_inv<kx_gauss_kruger_inv, turn>(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_lcc_west_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  return turned_fwd<kx_lambert_conformal_conic_fwd, turn_x>(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_lcc_west_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  return turned_inv<kx_lambert_conformal_conic_inv, turn_x>(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_bonne_south_fwd(const double *sph, const double *par, int n, double *coords,
                              const int *ivals, const double *dvals) {
  return turned_fwd<kx_bonne_fwd, turn>(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_bonne_south_inv(const double *sph, const double *par, int n, double *coords,
                              const int *ivals, const double *dvals) {
  return turned_inv<kx_bonne_inv, turn>(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_cassini_south_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals) {
  return turned_fwd<kx_cassini_fwd, turn>(sph, par, n, coords, ivals, dvals);
}

KX_API int kx_cassini_south_inv(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals) {
  return turned_inv<kx_cassini_inv, turn>(sph, par, n, coords, ivals, dvals);
}

}  // extern "C"
