// Abridged Molodensky transformation (EPSG method 9605): the Molodensky
// shifts without the height and the smaller terms of the flattening change.
//
// Source: EPSG Guidance Note 7-2, section 4.4.5; DMA TR 8350.2 (1987).
// Measured against PROJ 9 cct (+proj=molodensky +abridged, tests/scripts/
// gen_geogtran.py): agreement within 5e-13 degrees and 7e-11 m. Against the
// exact geocentric translation the abridged formulas are off by up to
// 7.5e-6 degrees (0.8 m) and 0.21 m in height for the NAD27 set at heights
// to 10 km; forward then inverse closes within 7e-7 degrees and 0.034 m.
#include "geogtran/molodensky_shift.h"

extern "C" {

KX_API int kx_molodensky_abridged_fwd(const double *sph1, const double *sph2, const double *val,
                                      const char *, int n, double *coords, double *heights,
                                      const int *, const float *, const double *) {
  using namespace kx::geogtran;
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  const MolodenskyConstants c = molodensky_constants(sph1, sph2, val);
  const double cc = c.a1 * c.df + c.f1 * c.da;
  return shift_points(n, coords, heights, [&](double *p, double *hp) {
    const double h = hp != nullptr ? *hp : 0.0;
    const double lambda = p[0], phi = p[1];
    const double sphi = std::sin(phi), cphi = std::cos(phi);
    const double slam = std::sin(lambda), clam = std::cos(lambda);
    const double m = kx_m(c.a1, c.e2, phi);
    const double nu = kx_n(c.a1, c.e2, phi);
    const double dphi =
        (-sphi * clam * c.dx - sphi * slam * c.dy + cphi * c.dz + 2.0 * cc * sphi * cphi) / m;
    const double dlam = kx::near_eq(cphi, 0.0) ? 0.0 : (-slam * c.dx + clam * c.dy) / (nu * cphi);
    const double dh =
        cphi * clam * c.dx + cphi * slam * c.dy + sphi * c.dz + cc * sphi * sphi - c.da;
    store_point(p, hp, phi + dphi, lambda + dlam, h + dh);
  });
}

KX_API int kx_molodensky_abridged_inv(const double *sph1, const double *sph2, const double *val,
                                      const char *, int n, double *coords, double *heights,
                                      const int *, const float *, const double *) {
  using namespace kx::geogtran;
  if (!usable(sph1, sph2, val, n, coords)) return unusable_result(n);
  return molodensky_reversed(kx_molodensky_abridged_fwd, sph1, sph2, val, n, coords, heights);
}

}  // extern "C"
