// The constants functions of all projections. Each block builds its
// projection's constants struct with the builder the projection unit itself
// uses when no constants are loaded, so both paths give identical values.
#include "kx.h"
#include "projections/albers.h"
#include "projections/azimuthal_equidistant.h"
#include "projections/cylindrical_eqarea.h"
#include "projections/double_stereographic.h"
#include "projections/equidistant_conic.h"
#include "projections/gall_stereographic.h"
#include "projections/gauss_kruger.h"
#include "projections/gnomonic.h"
#include "projections/hotine.h"
#include "projections/lambert_azimuthal_eqarea.h"
#include "projections/lambert_conformal_conic.h"
#include "projections/local.h"
#include "projections/mercator.h"
#include "projections/orthographic.h"
#include "projections/polyconic.h"
#include "projections/projection_common.h"
#include "projections/stereographic.h"
#include "projections/stereographic_polar.h"
#include "projections/tm_complex.h"
#include "projections/vertical_perspective.h"

extern "C" {

/* ---- Transverse Mercator (Gauss-Kruger) ---- */
KX_API int kx_gauss_kruger_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  if (kx::is_ellipsoid(sph[1]))
    return kx::store_constants(pc, kx::gauss_kruger::build_ellipsoid(sph, par));
  return kx::store_constants(pc, kx::gauss_kruger::build_sphere(sph, par));
}

/* ---- Mercator ---- */
KX_API int kx_mercator_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::store_constants(pc, kx::mercator::build(sph, par));
}

/* ---- Stereographic ---- */
KX_API int kx_stereographic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  if (kx::is_ellipsoid(sph[1]))
    return kx::store_constants(pc, kx::stereographic::build_ellipsoid(sph, par));
  return kx::store_constants(pc, kx::stereographic::build_sphere(sph, par));
}

/* ---- Stereographic north and south pole ---- */
KX_API int kx_stereographic_np_const(kx_pcsconstants pc, const double *sph, const double *par) {
  return kx::stereographic_polar::store(kx::stereographic_polar::kNorth, pc, sph, par);
}

KX_API int kx_stereographic_sp_const(kx_pcsconstants pc, const double *sph, const double *par) {
  return kx::stereographic_polar::store(kx::stereographic_polar::kSouth, pc, sph, par);
}

/* ---- Double stereographic ---- */
KX_API int kx_double_stereographic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  if (!kx::is_ellipsoid(sph[1])) return kx_stereographic_const(pc, sph, par);
  return kx::store_constants(pc, kx::double_stereographic::build(sph, par));
}

/* ---- Orthographic ---- */
KX_API int kx_orthographic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::store_constants(pc, kx::orthographic::build(par));
}

/* ---- Gnomonic ---- */
KX_API int kx_gnomonic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::store_constants(pc, kx::gnomonic::build(par));
}

/* ---- Hotine oblique Mercator family ---- */
KX_API int kx_hotine_azimuth_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::store_constants(pc, kx::hotine::build_azimuth(sph, par));
}

KX_API int kx_hotine_two_point_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  kx::hotine::Constants k;
  if (!kx::hotine::build_two_point(sph, par, &k)) return 0;
  return kx::store_constants(pc, k);
}

/* ---- Equidistant conic ---- */
KX_API int kx_equidistant_conic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  namespace edc = kx::equidistant_conic;
  if (sph == nullptr || par == nullptr) return 0;
  if (!edc::is_cylinder(par)) return kx::store_constants(pc, edc::build_cone(sph, par));
  if (kx::is_ellipsoid(sph[1])) return kx::store_constants(pc, edc::build_cylinder(sph, par));
  return kx::store_constants(pc, edc::build_sphere_cylinder(sph, par));
}

/* ---- Lambert conformal conic ---- */
KX_API int kx_lambert_conformal_conic_const(kx_pcsconstants pc, const double *sph,
                                            const double *par) {
  namespace lcc = kx::lambert_conformal_conic;
  if (sph == nullptr || par == nullptr) return 0;
  double derived[kx::kParameterCount];
  switch (lcc::case_of(par)) {
    case lcc::Case::kInvalid:
      return 0;
    case lcc::Case::kPolar:
      lcc::polar_parameters(par, derived);
      return kx_stereographic_const(pc, sph, derived);
    case lcc::Case::kMercator:
      return kx_mercator_const(pc, sph, par);
    case lcc::Case::kCone:
      break;
  }
  const lcc::EllipsoidCone k = lcc::build(sph, par);
  if (kx::is_ellipsoid(sph[1])) return kx::store_constants(pc, k);
  return kx::store_constants(pc, k.cone);
}

/* ---- Albers ---- */
KX_API int kx_albers_const(kx_pcsconstants pc, const double *sph, const double *par) {
  namespace aea = kx::albers;
  if (sph == nullptr || par == nullptr) return 0;
  if (aea::is_cylinder(par)) return kx_cylindrical_eqarea_const(pc, sph, par);
  if (kx::is_ellipsoid(sph[1])) return kx::store_constants(pc, aea::build_ellipsoid(sph, par));
  return kx::store_constants(pc, aea::build_sphere(sph, par));
}

/* ---- Cylindrical equal-area and Behrmann ---- */
KX_API int kx_cylindrical_eqarea_const(kx_pcsconstants pc, const double *sph, const double *par) {
  namespace cea = kx::cylindrical_eqarea;
  if (sph == nullptr || par == nullptr) return 0;
  return cea::store(pc, sph, cea::standard_parallel(par));
}

KX_API int kx_behrmann_const(kx_pcsconstants pc, const double *sph, const double *par) {
  namespace cea = kx::cylindrical_eqarea;
  if (sph == nullptr || par == nullptr) return 0;
  return cea::store(pc, sph, cea::behrmann_parallel());
}

/* ---- Gall stereographic ---- */
KX_API int kx_gall_stereographic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::store_constants(pc, kx::gall_stereographic::build(sph));
}

/* ---- Polyconic ---- */
KX_API int kx_polyconic_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  if (kx::is_ellipsoid(sph[1]))
    return kx::store_constants(pc, kx::polyconic::build_ellipsoid(sph, par));
  return kx::store_constants(pc, kx::polyconic::build_sphere(sph, par));
}

/* ---- Transverse Mercator, complex-analytic ---- */
KX_API int kx_tm_complex_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  if (kx::is_ellipsoid(sph[1]))
    return kx::store_constants(pc, kx::tm_complex::build_ellipsoid(sph, par));
  return kx::store_constants(pc, kx::tm_complex::build_sphere(sph, par));
}

/* ---- Lambert azimuthal equal-area ---- */
KX_API int kx_lambert_azimuthal_eqarea_const(kx_pcsconstants pc, const double *sph,
                                             const double *par) {
  namespace laea = kx::lambert_azimuthal_eqarea;
  if (sph == nullptr || par == nullptr) return 0;
  if (kx::is_ellipsoid(sph[1])) return kx::store_constants(pc, laea::build_ellipsoid(sph, par));
  return kx::store_constants(pc, laea::build_sphere(sph, par));
}

/* ---- Azimuthal equidistant ---- */
KX_API int kx_azimuthal_equidistant_const(kx_pcsconstants pc, const double *sph,
                                          const double *par) {
  namespace aeqd = kx::azimuthal_equidistant;
  if (sph == nullptr || par == nullptr) return 0;
  if (kx::is_ellipsoid(sph[1])) return kx::store_constants(pc, aeqd::build_ellipsoid(sph));
  return kx::store_constants(pc, aeqd::build_sphere(par));
}

/* ---- Vertical near-side perspective ---- */
KX_API int kx_vertical_ns_perspective_const(kx_pcsconstants pc, const double *sph,
                                            const double *par) {
  namespace nsper = kx::vertical_perspective;
  if (sph == nullptr || par == nullptr || !nsper::valid_height(par)) return 0;
  if (kx::is_ellipsoid(sph[1])) return kx::store_constants(pc, nsper::build_ellipsoid(sph, par));
  return kx::store_constants(pc, nsper::build_sphere(sph, par));
}

/* ---- Local tangent plane ---- */
KX_API int kx_local_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  if (kx::is_ellipsoid(sph[1]))
    return kx::store_constants(pc, kx::local::build_ellipsoid(sph, par));
  return kx::store_constants(pc, kx::local::build_sphere(sph, par));
}

}  // extern "C"
