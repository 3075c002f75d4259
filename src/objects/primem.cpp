// Prime meridian: the zero of longitude, in degrees east of Greenwich.
#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_PRIMEM;

kx_primem valid(kx_primem p) { return kx::is_kind(p, kKind) ? p : nullptr; }

}  // namespace

extern "C" {

KX_API kx_primem kx_primem_new(const char *name, double longitude) {
  if (name == nullptr || !(longitude >= -180.0 && longitude <= 180.0)) return nullptr;
  kx_primem p = kx::new_record<kx_primem_rec>(kKind, name);
  if (p == nullptr) return nullptr;
  p->longitude = longitude;
  return p;
}

KX_API void kx_primem_del(kx_primem primem) {
  if (valid(primem) != nullptr) kx::free_record(primem);
}

KX_API void kx_primem_name(kx_primem primem, char *name) { kx::name_out(primem, kKind, name); }

KX_API double kx_primem_longitude(kx_primem primem) {
  return valid(primem) != nullptr ? primem->longitude : 0.0;
}

KX_API uint8_t kx_primem_status(kx_primem primem) { return kx::status_of(primem, kKind); }

KX_API int kx_primem_status_set(kx_primem primem, uint8_t status) {
  return kx::status_store(primem, kKind, status);
}

KX_API int kx_primem_p(kx_primem primem) { return valid(primem) != nullptr ? 1 : 0; }

KX_API int kx_primem_eq(kx_primem a, kx_primem b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx::num_eq(a->longitude, b->longitude) ? 1 : 0;
}

KX_API kx_primem kx_primem_clone(kx_primem primem) {
  if (valid(primem) == nullptr) return nullptr;
  return kx_primem_new(primem->hdr.name, primem->longitude);
}

KX_API int kx_primem_to_string(kx_primem primem, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "PRIMEM[\"");
  out = kx::append_text(out, valid(primem) != nullptr ? primem->hdr.name : "");
  out = kx::append_text(out, "\",");
  out = kx::append_number(out, kx_primem_longitude(primem));
  out = kx::append_text(out, "]");
  return static_cast<int>(out - buffer);
}

KX_API kx_primem kx_primem_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "PRIMEM", 2);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  if (last != nullptr) *last = k + 2;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1]) || tokens[k + 2] == nullptr) return nullptr;
  kx_primem p = kx_primem_new(name, kx_atod(tokens[k + 2]));
  if (p != nullptr) p->hdr.status = kx::kStatusFromText;
  return p;
}

KX_API kx_primem kx_primem_from_string(const char *text) {
  return kx::read_from_string<kx_primem>(text, "PRIMEM", kx_primem_from_tokens);
}

}  // extern "C"
