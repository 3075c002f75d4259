// Spheroid: the reference ellipsoid, given by semi-major axis and flattening.
#include <cmath>

#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_SPHEROID;

// An infinite axis is refused like NaN: no coordinate survives it.
bool in_range(double axis, double flattening) {
  return std::isfinite(axis) && axis > 0.0 && flattening >= 0.0 && flattening < 1.0;
}

kx_spheroid valid(kx_spheroid s) { return kx::is_kind(s, kKind) ? s : nullptr; }

}  // namespace

extern "C" {

KX_API kx_spheroid kx_spheroid_new(const char *name, double axis, double flattening) {
  if (name == nullptr || !in_range(axis, flattening)) return nullptr;
  kx_spheroid s = kx::new_record<kx_spheroid_rec>(kKind, name);
  if (s == nullptr) return nullptr;
  s->axis = axis;
  s->flattening = flattening;
  return s;
}

KX_API void kx_spheroid_del(kx_spheroid spheroid) {
  if (valid(spheroid) != nullptr) kx::free_record(spheroid);
}

KX_API void kx_spheroid_name(kx_spheroid spheroid, char *name) {
  kx::name_out(spheroid, kKind, name);
}

KX_API double kx_spheroid_axis(kx_spheroid spheroid) {
  return valid(spheroid) != nullptr ? spheroid->axis : 1.0;
}

KX_API double kx_spheroid_flattening(kx_spheroid spheroid) {
  return valid(spheroid) != nullptr ? spheroid->flattening : 0.0;
}

KX_API uint8_t kx_spheroid_status(kx_spheroid spheroid) { return kx::status_of(spheroid, kKind); }

KX_API int kx_spheroid_status_set(kx_spheroid spheroid, uint8_t status) {
  return kx::status_store(spheroid, kKind, status);
}

KX_API int kx_spheroid_p(kx_spheroid spheroid) { return valid(spheroid) != nullptr ? 1 : 0; }

KX_API int kx_spheroid_eq(kx_spheroid a, kx_spheroid b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx::num_eq(a->axis, b->axis) &&
                 kx::num_eq(a->flattening, b->flattening)
             ? 1
             : 0;
}

KX_API kx_spheroid kx_spheroid_clone(kx_spheroid spheroid) {
  if (valid(spheroid) == nullptr) return nullptr;
  return kx_spheroid_new(spheroid->hdr.name, spheroid->axis, spheroid->flattening);
}

KX_API int kx_spheroid_to_string(kx_spheroid spheroid, char *buffer) {
  if (buffer == nullptr) return 0;
  const bool ok = valid(spheroid) != nullptr;
  const double f = kx_spheroid_flattening(spheroid);
  char *out = kx::append_text(buffer, "SPHEROID[\"");
  out = kx::append_text(out, ok ? spheroid->hdr.name : "");
  out = kx::append_text(out, "\",");
  out = kx::append_number(out, kx_spheroid_axis(spheroid));
  out = kx::append_text(out, ",");
  out = kx::append_number(out, std::fabs(f) <= kx::kEps ? 0.0 : 1.0 / f);
  out = kx::append_text(out, "]");
  return static_cast<int>(out - buffer);
}

KX_API kx_spheroid kx_spheroid_from_tokens(char *const *tokens, int count, int start, int *first,
                                           int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "SPHEROID", 3);
  if (k < 0) return nullptr;
  kx::set_range(first, last, k);
  if (last != nullptr) *last = k + 3;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1]) || tokens[k + 2] == nullptr ||
      tokens[k + 3] == nullptr)
    return nullptr;
  const double axis = kx_atod(tokens[k + 2]);
  const double inverse = kx_atod(tokens[k + 3]);
  kx_spheroid s = kx_spheroid_new(name, axis, inverse == 0.0 ? 0.0 : 1.0 / inverse);
  if (s != nullptr) s->hdr.status = kx::kStatusFromText;
  return s;
}

KX_API kx_spheroid kx_spheroid_from_string(const char *text) {
  return kx::read_from_string<kx_spheroid>(text, "SPHEROID", kx_spheroid_from_tokens);
}

}  // extern "C"
