// Method objects and the method registry. A row whose functions are not in
// the library yet keeps null functions, so its name cannot be read.
#include <iterator>

#include "kx_def.h"
#include "objects/object_text.h"
#include "objects/records.h"
#include "objects/registry.h"

namespace kx {

namespace {

constexpr MethodKind kEquation = MethodKind::kEquation;
constexpr MethodKind kGrid = MethodKind::kGrid;

const MethodRow kMethodRegistry[] = {
    {KX_MTH_LONGITUDE_ROTATION, "Longitude_Rotation", kEquation, kx_longitude_rotation_ccw,
     kx_longitude_rotation_ccw, nullptr},
    {KX_MTH_BURSA_WOLF, "Bursa_Wolf", kEquation, kx_bursa_wolf_fwd, kx_bursa_wolf_inv, nullptr},
    {KX_MTH_POSITION_VECTOR, "Position_Vector", kEquation, kx_position_vector_fwd,
     kx_position_vector_inv, nullptr},
    {KX_MTH_COORDINATE_FRAME, "Coordinate_Frame", kEquation, kx_coordinate_frame_fwd,
     kx_coordinate_frame_inv, nullptr},
    {KX_MTH_GEOCENTRIC_TRANSLATION, "Geocentric_Translation", kEquation,
     kx_geocentric_translation_fwd, kx_geocentric_translation_inv, nullptr},
    {KX_MTH_MOLODENSKY, "Molodensky", kEquation, kx_molodensky_fwd, kx_molodensky_inv, nullptr},
    {KX_MTH_MOLODENSKY_ABRIDGED, "Molodensky_Abridged", kEquation, kx_molodensky_abridged_fwd,
     kx_molodensky_abridged_inv, nullptr},
    {KX_MTH_MOLODENSKY_BADEKAS, "Molodensky_Badekas", kEquation, kx_molodensky_badekas_fwd,
     kx_molodensky_badekas_inv, nullptr},
    {KX_MTH_NADCON, "NADCON", kGrid, kx_nadcon_fwd, kx_nadcon_inv, kx_nadcon_constants},
    {KX_MTH_HARN, "HARN", kGrid, kx_harn_fwd, kx_harn_inv, kx_harn_constants},
    {KX_MTH_NTV2, "NTv2", kGrid, kx_ntv2_fwd, kx_ntv2_inv, kx_ntv2_constants},
};

// Leaves the coordinates as they are: what an invalid method does.
int identity_method(const double *, const double *, const double *, const char *, int n,
                    double *, double *, const int *, const float *, const double *) {
  return n > 0 ? n : 0;
}

}  // namespace

const MethodRow *method_rows(int *count) {
  if (count != nullptr) *count = static_cast<int>(std::size(kMethodRegistry));
  return kMethodRegistry;
}

const MethodRow *find_method_row(const char *name) {
  if (name == nullptr) return nullptr;
  for (const MethodRow &row : kMethodRegistry) {
    if (kx_strcmp_ci(row.name, name) == 0) return &row;
  }
  return nullptr;
}

const MethodRow *method_row_by_code(int code) {
  for (const MethodRow &row : kMethodRegistry) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

kx_method method_from_row(const MethodRow &row, const char *name, uint8_t status) {
  kx_method m = kx_method_new_withconstfunc(name, row.forward, row.inverse, row.gtconstfunc);
  if (m != nullptr) m->hdr.status = status;
  return m;
}

}  // namespace kx

namespace {

constexpr uint32_t kKind = KX_KIND_METHOD;

kx_method valid(kx_method m) { return kx::is_kind(m, kKind) ? m : nullptr; }

}  // namespace

extern "C" {

KX_API kx_method kx_method_new_withconstfunc(const char *name, kx_method_fn forward,
                                             kx_method_fn inverse, kx_gtconst_fn gtconstfunc) {
  if (name == nullptr || forward == nullptr || inverse == nullptr) return nullptr;
  kx_method m = kx::new_record<kx_method_rec>(kKind, name);
  if (m == nullptr) return nullptr;
  m->forward = forward;
  m->inverse = inverse;
  m->gtconstfunc = gtconstfunc;
  return m;
}

KX_API kx_method kx_method_new(const char *name, kx_method_fn forward, kx_method_fn inverse) {
  return kx_method_new_withconstfunc(name, forward, inverse, nullptr);
}

KX_API void kx_method_del(kx_method method) {
  if (valid(method) != nullptr) kx::free_record(method);
}

KX_API void kx_method_name(kx_method method, char *name) { kx::name_out(method, kKind, name); }

KX_API kx_method_fn kx_method_forward(kx_method method) {
  return valid(method) != nullptr ? method->forward : kx::identity_method;
}

KX_API kx_method_fn kx_method_inverse(kx_method method) {
  return valid(method) != nullptr ? method->inverse : kx::identity_method;
}

KX_API kx_gtconst_fn kx_method_gtconstfunc(kx_method method) {
  return valid(method) != nullptr ? method->gtconstfunc : nullptr;
}

KX_API uint8_t kx_method_status(kx_method method) { return kx::status_of(method, kKind); }

KX_API int kx_method_status_set(kx_method method, uint8_t status) {
  return kx::status_store(method, kKind, status);
}

KX_API int kx_method_p(kx_method method) { return valid(method) != nullptr ? 1 : 0; }

KX_API int kx_method_eq(kx_method a, kx_method b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && a->forward == b->forward &&
                 a->inverse == b->inverse
             ? 1
             : 0;
}

KX_API kx_method kx_method_clone(kx_method method) {
  if (valid(method) == nullptr) return nullptr;
  return kx_method_new_withconstfunc(method->hdr.name, method->forward, method->inverse,
                                     method->gtconstfunc);
}

KX_API int kx_method_to_string(kx_method method, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "METHOD[\"");
  out = kx::append_text(out, valid(method) != nullptr ? method->hdr.name : "");
  out = kx::append_text(out, "\"]");
  return static_cast<int>(out - buffer);
}

KX_API kx_method kx_method_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "METHOD", 1);
  if (k < 0) return nullptr;
  kx::set_range(first, last, k);
  if (last != nullptr) *last = k + 1;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1])) return nullptr;
  const kx::MethodRow *row = kx::find_method_row(name);
  if (row == nullptr) return nullptr;
  return kx::method_from_row(*row, name, kx::kStatusFromText);
}

KX_API kx_method kx_method_from_string(const char *text) {
  return kx::read_from_string<kx_method>(text, "METHOD", kx_method_from_tokens);
}

}  // extern "C"
