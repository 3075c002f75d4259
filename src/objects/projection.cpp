// Projection objects and the projection registry. A row whose functions are
// not in the library yet keeps null functions, so its name cannot be read.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "kx_def.h"
#include "objects/object_text.h"
#include "objects/records.h"
#include "objects/registry.h"

namespace kx {

namespace {

// Rows in registry order; the synonyms at the end share their row's
// functions, and the first name that matches wins.
const ProjectionRow kProjectionRegistry[] = {
    {KX_PRJ_PLATE_CARREE, "Plate_Carree", kx_plate_carree_fwd, kx_plate_carree_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_EQUIDISTANT_CYLINDRICAL, "Equidistant_Cylindrical", kx_equidistant_cylindrical_fwd, kx_equidistant_cylindrical_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_MILLER_CYLINDRICAL, "Miller_Cylindrical", kx_miller_cylindrical_fwd, kx_miller_cylindrical_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_MERCATOR, "Mercator", kx_mercator_fwd, kx_mercator_inv, nullptr, nullptr, nullptr, nullptr, kx_mercator_const},
    {KX_PRJ_GAUSS_KRUGER, "Gauss_Kruger", kx_gauss_kruger_fwd, kx_gauss_kruger_inv, nullptr, nullptr, nullptr, nullptr, kx_gauss_kruger_const},
    {KX_PRJ_TRANSVERSE_MERCATOR, "Transverse_Mercator", kx_gauss_kruger_fwd, kx_gauss_kruger_inv, nullptr, nullptr, nullptr, nullptr, kx_gauss_kruger_const},
    {KX_PRJ_TRANSVERSE_MERCATOR_COMPLEX, "Transverse_Mercator_Complex", kx_tm_complex_fwd, kx_tm_complex_inv, nullptr, nullptr, nullptr, nullptr, kx_tm_complex_const},
    {KX_PRJ_ALBERS, "Albers", kx_albers_fwd, kx_albers_inv, nullptr, nullptr, nullptr, nullptr, kx_albers_const},
    {KX_PRJ_SINUSOIDAL, "Sinusoidal", kx_sinusoidal_fwd, kx_sinusoidal_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_MOLLWEIDE, "Mollweide", kx_mollweide_fwd, kx_mollweide_inv, nullptr, nullptr, nullptr, nullptr, kx_mollweide_const},
    {KX_PRJ_ECKERT_VI, "Eckert_VI", kx_eckert_vi_fwd, kx_eckert_vi_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_ECKERT_V, "Eckert_V", kx_eckert_v_fwd, kx_eckert_v_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_ECKERT_IV, "Eckert_IV", kx_eckert_iv_fwd, kx_eckert_iv_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_ECKERT_III, "Eckert_III", kx_eckert_iii_fwd, kx_eckert_iii_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_ECKERT_II, "Eckert_II", kx_eckert_ii_fwd, kx_eckert_ii_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_ECKERT_I, "Eckert_I", kx_eckert_i_fwd, kx_eckert_i_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_GALL_STEREOGRAPHIC, "Gall_Stereographic", kx_gall_stereographic_fwd, kx_gall_stereographic_inv, nullptr, nullptr, nullptr, nullptr, kx_gall_stereographic_const},
    {KX_PRJ_BEHRMANN, "Behrmann", kx_behrmann_fwd, kx_behrmann_inv, nullptr, nullptr, nullptr, nullptr, kx_behrmann_const},
    {KX_PRJ_WINKEL_I, "Winkel_I", kx_winkel_i_fwd, kx_winkel_i_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_WINKEL_II, "Winkel_II", kx_winkel_ii_fwd, kx_winkel_ii_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_LAMBERT_CONFORMAL_CONIC, "Lambert_Conformal_Conic", kx_lambert_conformal_conic_fwd, kx_lambert_conformal_conic_inv, nullptr, nullptr, nullptr, nullptr, kx_lambert_conformal_conic_const},
    {KX_PRJ_POLYCONIC, "Polyconic", kx_polyconic_fwd, kx_polyconic_inv, nullptr, nullptr, nullptr, nullptr, kx_polyconic_const},
    {KX_PRJ_QUARTIC_AUTHALIC, "Quartic_Authalic", kx_quartic_authalic_fwd, kx_quartic_authalic_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_LOXIMUTHAL, "Loximuthal", kx_loximuthal_fwd, kx_loximuthal_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_BONNE, "Bonne", kx_bonne_fwd, kx_bonne_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_HOTINE_AZIMUTH_NATORIGIN, "Hotine_Oblique_Mercator_Azimuth_Natural_Origin", kx_hotine_azimuth_natorigin_fwd, kx_hotine_azimuth_natorigin_inv, nullptr, nullptr, nullptr, nullptr, kx_hotine_azimuth_const},
    {KX_PRJ_HOTINE_AZIMUTH_CENTER, "Hotine_Oblique_Mercator_Azimuth_Center", kx_hotine_azimuth_center_fwd, kx_hotine_azimuth_center_inv, nullptr, nullptr, nullptr, nullptr, kx_hotine_azimuth_const},
    {KX_PRJ_HOTINE_TWO_POINT_NATORIGIN, "Hotine_Oblique_Mercator_Two_Point_Natural_Origin", kx_hotine_two_point_natorigin_fwd, kx_hotine_two_point_natorigin_inv, nullptr, nullptr, nullptr, nullptr, kx_hotine_two_point_const},
    {KX_PRJ_HOTINE_TWO_POINT_CENTER, "Hotine_Oblique_Mercator_Two_Point_Center", kx_hotine_two_point_center_fwd, kx_hotine_two_point_center_inv, nullptr, nullptr, nullptr, nullptr, kx_hotine_two_point_const},
    {KX_PRJ_STEREOGRAPHIC, "Stereographic", kx_stereographic_fwd, kx_stereographic_inv, nullptr, nullptr, nullptr, nullptr, kx_stereographic_const},
    {KX_PRJ_STEREOGRAPHIC_NORTH_POLE, "Stereographic_North_Pole", kx_stereographic_np_fwd, kx_stereographic_np_inv, nullptr, nullptr, nullptr, nullptr, kx_stereographic_np_const},
    {KX_PRJ_STEREOGRAPHIC_SOUTH_POLE, "Stereographic_South_Pole", kx_stereographic_sp_fwd, kx_stereographic_sp_inv, nullptr, nullptr, nullptr, nullptr, kx_stereographic_sp_const},
    {KX_PRJ_EQUIDISTANT_CONIC, "Equidistant_Conic", kx_equidistant_conic_fwd, kx_equidistant_conic_inv, nullptr, nullptr, nullptr, nullptr, kx_equidistant_conic_const},
    {KX_PRJ_CASSINI, "Cassini", kx_cassini_fwd, kx_cassini_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_VAN_DER_GRINTEN_I, "Van_der_Grinten_I", kx_van_der_grinten_i_fwd, kx_van_der_grinten_i_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_ROBINSON, "Robinson", kx_robinson_fwd, kx_robinson_inv, nullptr, nullptr, nullptr, nullptr, kx_robinson_const},
    {KX_PRJ_ROBINSON_VELMAR, "Robinson_VELMAR", kx_robinson_velmar_fwd, kx_robinson_velmar_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_TWO_POINT_EQUIDISTANT, "Two_Point_Equidistant", kx_two_point_equidistant_fwd, kx_two_point_equidistant_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_AZIMUTHAL_EQUIDISTANT, "Azimuthal_Equidistant", kx_azimuthal_equidistant_fwd, kx_azimuthal_equidistant_inv, nullptr, nullptr, nullptr, nullptr, kx_azimuthal_equidistant_const},
    {KX_PRJ_LAMBERT_AZIMUTHAL_EQAREA, "Lambert_Azimuthal_Equal_Area", kx_lambert_azimuthal_eqarea_fwd, kx_lambert_azimuthal_eqarea_inv, nullptr, nullptr, nullptr, nullptr, kx_lambert_azimuthal_eqarea_const},
    {KX_PRJ_CYLINDRICAL_EQAREA, "Cylindrical_Equal_Area", kx_cylindrical_eqarea_fwd, kx_cylindrical_eqarea_inv, nullptr, nullptr, nullptr, nullptr, kx_cylindrical_eqarea_const},
    {KX_PRJ_DOUBLE_STEREOGRAPHIC, "Double_Stereographic", kx_double_stereographic_fwd, kx_double_stereographic_inv, nullptr, nullptr, nullptr, nullptr, kx_double_stereographic_const},
    {KX_PRJ_KROVAK, "Krovak", kx_krovak_fwd, kx_krovak_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_NEW_ZEALAND_MAP_GRID, "New_Zealand_Map_Grid", kx_new_zealand_map_grid_fwd, kx_new_zealand_map_grid_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_ORTHOGRAPHIC, "Orthographic", kx_orthographic_fwd, kx_orthographic_inv, nullptr, nullptr, nullptr, nullptr, kx_orthographic_const},
    {KX_PRJ_WINKEL_TRIPEL, "Winkel_Tripel", kx_winkel_tripel_fwd, kx_winkel_tripel_inv, nullptr, nullptr, nullptr, nullptr, kx_winkel_tripel_const},
    {KX_PRJ_AITOFF, "Aitoff", kx_aitoff_fwd, kx_aitoff_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_HAMMER_AITOFF, "Hammer_Aitoff", kx_hammer_aitoff_fwd, kx_hammer_aitoff_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_FLAT_POLAR_QUARTIC, "Flat_Polar_Quartic", kx_flat_polar_quartic_fwd, kx_flat_polar_quartic_inv, nullptr, nullptr, nullptr, nullptr, kx_flat_polar_quartic_const},
    {KX_PRJ_CRASTER_PARABOLIC, "Craster_Parabolic", kx_craster_parabolic_fwd, kx_craster_parabolic_inv, nullptr, nullptr, nullptr, nullptr, kx_craster_parabolic_const},
    {KX_PRJ_GNOMONIC, "Gnomonic", kx_gnomonic_fwd, kx_gnomonic_inv, nullptr, nullptr, nullptr, nullptr, kx_gnomonic_const},
    {KX_PRJ_TIMES, "Times", kx_times_fwd, kx_times_inv, nullptr, nullptr, nullptr, nullptr, kx_times_const},
    {KX_PRJ_VERTICAL_NEAR_SIDE_PERSPECTIVE, "Vertical_Near_Side_Perspective", kx_vertical_ns_perspective_fwd, kx_vertical_ns_perspective_inv, nullptr, nullptr, nullptr, nullptr, kx_vertical_ns_perspective_const},
    {KX_PRJ_FULLER, "Fuller", kx_fuller_fwd, kx_fuller_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_RSO_NATORIGIN, "Rectified_Skew_Orthomorphic_Natural_Origin", kx_rso_natorigin_fwd, kx_rso_natorigin_inv, nullptr, nullptr, nullptr, nullptr, kx_hotine_azimuth_const},
    {KX_PRJ_RSO_CENTER, "Rectified_Skew_Orthomorphic_Center", kx_rso_center_fwd, kx_rso_center_inv, nullptr, nullptr, nullptr, nullptr, kx_hotine_azimuth_const},
    {KX_PRJ_CUBE, "Cube", kx_cube_fwd, kx_cube_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_LOCAL, "Local", kx_local_fwd, kx_local_inv, nullptr, nullptr, nullptr, nullptr, kx_local_const},
    {KX_PRJ_PSEUDO_MERCATOR, "Popular_Visualisation_Pseudo_Mercator", kx_pseudo_mercator_fwd, kx_pseudo_mercator_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_EQUAL_EARTH, "Equal_Earth", kx_equal_earth_fwd, kx_equal_earth_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_TM_SOUTH_ORIENTATED, "Transverse_Mercator_South_Orientated", kx_tm_south_fwd, kx_tm_south_inv, nullptr, nullptr, nullptr, nullptr, kx_gauss_kruger_const},
    {KX_PRJ_LCC_WEST_ORIENTATED, "Lambert_Conformal_Conic_West_Orientated", kx_lcc_west_fwd, kx_lcc_west_inv, nullptr, nullptr, nullptr, nullptr, kx_lambert_conformal_conic_const},
    {KX_PRJ_BONNE_SOUTH_ORIENTATED, "Bonne_South_Orientated", kx_bonne_south_fwd, kx_bonne_south_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {KX_PRJ_POLAR_STEREOGRAPHIC_VARIANT_C, "Polar_Stereographic_Variant_C", kx_stereographic_polar_c_fwd, kx_stereographic_polar_c_inv, nullptr, nullptr, nullptr, nullptr, kx_stereographic_polar_c_const},
    {KX_PRJ_CASSINI_SOUTH_ORIENTATED, "Cassini_South_Orientated", kx_cassini_south_fwd, kx_cassini_south_inv, nullptr, nullptr, nullptr, nullptr, nullptr},
    {0, "Albers_Equal_Area_Conic", kx_albers_fwd, kx_albers_inv, nullptr, nullptr, nullptr, nullptr, kx_albers_const},
    {0, "Albers_Conical_Equal_Area", kx_albers_fwd, kx_albers_inv, nullptr, nullptr, nullptr, nullptr, kx_albers_const},
    {0, "Gall", kx_gall_stereographic_fwd, kx_gall_stereographic_inv, nullptr, nullptr, nullptr, nullptr, kx_gall_stereographic_const},
    {0, "Hotine_Oblique_Mercator", kx_hotine_azimuth_natorigin_fwd, kx_hotine_azimuth_natorigin_inv, nullptr, nullptr, nullptr, nullptr, kx_hotine_azimuth_const},
};

int identity_forward(const double *, const double *, int n, double *coords, const int *,
                     const double *) {
  if (n <= 0) return 0;
  for (int i = 0; coords != nullptr && i < 2 * n; ++i) coords[i] *= 1.0;
  return n;
}

int identity_inverse(const double *, const double *, int n, double *coords, const int *,
                     const double *) {
  if (n <= 0) return 0;
  for (int i = 0; coords != nullptr && i < 2 * n; ++i) coords[i] /= 1.0;
  return n;
}

}  // namespace

const ProjectionRow *projection_rows(int *count) {
  if (count != nullptr) *count = static_cast<int>(std::size(kProjectionRegistry));
  return kProjectionRegistry;
}

const ProjectionRow *find_projection_row(const char *name) {
  if (name == nullptr) return nullptr;
  for (const ProjectionRow &row : kProjectionRegistry) {
    if (kx_strcmp_ci(row.name, name) == 0) return &row;
  }
  return nullptr;
}

const ProjectionRow *projection_row_by_code(int code) {
  if (code == 0) return nullptr;
  for (const ProjectionRow &row : kProjectionRegistry) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

kx_projection projection_from_row(const ProjectionRow &row, const char *name, uint8_t status) {
  kx_projection p = kx_projection_new_extended(name, row.forward, row.inverse, row.horizon,
                                               row.horizon_pcs, row.horizon_gcs_raster,
                                               row.horizon_pcs_raster, row.pcsconstfunc);
  if (p != nullptr) p->hdr.status = status;
  return p;
}

}  // namespace kx

namespace {

constexpr uint32_t kKind = KX_KIND_PROJECTION;

kx_projection valid(kx_projection p) { return kx::is_kind(p, kKind) ? p : nullptr; }

}  // namespace

extern "C" {

KX_API kx_projection kx_projection_new_extended(const char *name, kx_projection_fn forward,
                                                kx_projection_fn inverse, kx_horizon_fn horizon,
                                                kx_horizon_fn horizon_pcs,
                                                kx_horizon_fn horizon_gcs_raster,
                                                kx_horizon_fn horizon_pcs_raster,
                                                kx_pcsconst_fn pcsconstfunc) {
  if (name == nullptr || forward == nullptr || inverse == nullptr) return nullptr;
  kx_projection p = kx::new_record<kx_projection_rec>(kKind, name);
  if (p == nullptr) return nullptr;
  p->forward = forward;
  p->inverse = inverse;
  p->horizon = horizon != nullptr ? horizon : kx_horizon_normal_cylindrical;
  p->horizon_pcs = horizon_pcs;
  p->horizon_gcs_raster = horizon_gcs_raster;
  p->horizon_pcs_raster = horizon_pcs_raster;
  p->pcsconstfunc = pcsconstfunc;
  return p;
}

KX_API kx_projection kx_projection_new(const char *name, kx_projection_fn forward,
                                       kx_projection_fn inverse, kx_horizon_fn horizon) {
  return kx_projection_new_extended(name, forward, inverse, horizon, nullptr, nullptr, nullptr,
                                    nullptr);
}

KX_API kx_projection kx_projection_new_withconstfunc(const char *name, kx_projection_fn forward,
                                                     kx_projection_fn inverse,
                                                     kx_horizon_fn horizon,
                                                     kx_pcsconst_fn pcsconstfunc) {
  return kx_projection_new_extended(name, forward, inverse, horizon, nullptr, nullptr, nullptr,
                                    pcsconstfunc);
}

KX_API void kx_projection_del(kx_projection projection) {
  if (valid(projection) != nullptr) kx::free_record(projection);
}

KX_API void kx_projection_name(kx_projection projection, char *name) {
  kx::name_out(projection, kKind, name);
}

KX_API kx_projection_fn kx_projection_forward(kx_projection projection) {
  return valid(projection) != nullptr ? projection->forward : kx::identity_forward;
}

KX_API kx_projection_fn kx_projection_inverse(kx_projection projection) {
  return valid(projection) != nullptr ? projection->inverse : kx::identity_inverse;
}

KX_API kx_horizon_fn kx_projection_horizon(kx_projection projection) {
  return valid(projection) != nullptr ? projection->horizon : kx_horizon_normal_cylindrical;
}

KX_API kx_horizon_fn kx_projection_horizon_pcs(kx_projection projection) {
  return valid(projection) != nullptr ? projection->horizon_pcs : nullptr;
}

KX_API kx_horizon_fn kx_projection_horizon_gcs_raster(kx_projection projection) {
  return valid(projection) != nullptr ? projection->horizon_gcs_raster : nullptr;
}

KX_API kx_horizon_fn kx_projection_horizon_pcs_raster(kx_projection projection) {
  return valid(projection) != nullptr ? projection->horizon_pcs_raster : nullptr;
}

KX_API kx_pcsconst_fn kx_projection_pcsconstfunc(kx_projection projection) {
  return valid(projection) != nullptr ? projection->pcsconstfunc : nullptr;
}

KX_API uint8_t kx_projection_status(kx_projection projection) {
  return kx::status_of(projection, kKind);
}

KX_API int kx_projection_status_set(kx_projection projection, uint8_t status) {
  return kx::status_store(projection, kKind, status);
}

KX_API int kx_projection_p(kx_projection projection) {
  return valid(projection) != nullptr ? 1 : 0;
}

KX_API int kx_projection_eq(kx_projection a, kx_projection b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && a->forward == b->forward &&
                 a->inverse == b->inverse && a->horizon == b->horizon
             ? 1
             : 0;
}

KX_API kx_projection kx_projection_clone(kx_projection projection) {
  if (valid(projection) == nullptr) return nullptr;
  return kx_projection_new_extended(projection->hdr.name, projection->forward,
                                    projection->inverse, projection->horizon,
                                    projection->horizon_pcs, projection->horizon_gcs_raster,
                                    projection->horizon_pcs_raster, projection->pcsconstfunc);
}

KX_API int kx_projection_to_string(kx_projection projection, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "PROJECTION[\"");
  out = kx::append_text(out, valid(projection) != nullptr ? projection->hdr.name : "");
  out = kx::append_text(out, "\"]");
  return static_cast<int>(out - buffer);
}

KX_API kx_projection kx_projection_from_tokens(char *const *tokens, int count, int start,
                                               int *first, int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "PROJECTION", 1);
  if (k < 0) return nullptr;
  kx::set_range(first, last, k);
  if (last != nullptr) *last = k + 1;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1])) return nullptr;
  std::replace(name, name + std::strlen(name), ' ', '_');
  const kx::ProjectionRow *row = kx::find_projection_row(name);
  if (row == nullptr) return nullptr;
  return kx::projection_from_row(*row, name, kx::kStatusFromText);
}

KX_API kx_projection kx_projection_from_string(const char *text) {
  return kx::read_from_string<kx_projection>(text, "PROJECTION", kx_projection_from_tokens);
}

}  // extern "C"
