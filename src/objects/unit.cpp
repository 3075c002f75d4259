// Unit: the size of one linear unit in metres or one angular unit in radians.
#include <cmath>

#include "objects/object_text.h"
#include "objects/records.h"

namespace {

// An infinite factor is refused like NaN: every conversion through it fails.
constexpr uint32_t kKind = KX_KIND_UNIT;

kx_unit valid(kx_unit p) { return kx::is_kind(p, kKind) ? p : nullptr; }

}  // namespace

extern "C" {

KX_API kx_unit kx_unit_new(const char *name, double factor) {
  if (name == nullptr || !(std::isfinite(factor) && factor > 0.0)) return nullptr;
  kx_unit p = kx::new_record<kx_unit_rec>(kKind, name);
  if (p == nullptr) return nullptr;
  p->factor = factor;
  return p;
}

KX_API void kx_unit_del(kx_unit unit) {
  if (valid(unit) != nullptr) kx::free_record(unit);
}

KX_API void kx_unit_name(kx_unit unit, char *name) { kx::name_out(unit, kKind, name); }

KX_API double kx_unit_factor(kx_unit unit) {
  return valid(unit) != nullptr ? unit->factor : 1.0;
}

KX_API uint8_t kx_unit_status(kx_unit unit) { return kx::status_of(unit, kKind); }

KX_API int kx_unit_status_set(kx_unit unit, uint8_t status) {
  return kx::status_store(unit, kKind, status);
}

KX_API int kx_unit_p(kx_unit unit) { return valid(unit) != nullptr ? 1 : 0; }

KX_API int kx_unit_eq(kx_unit a, kx_unit b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx::num_eq(a->factor, b->factor) ? 1 : 0;
}

KX_API kx_unit kx_unit_clone(kx_unit unit) {
  if (valid(unit) == nullptr) return nullptr;
  return kx_unit_new(unit->hdr.name, unit->factor);
}

KX_API int kx_unit_to_string(kx_unit unit, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "UNIT[\"");
  out = kx::append_text(out, valid(unit) != nullptr ? unit->hdr.name : "");
  out = kx::append_text(out, "\",");
  out = kx::append_number(out, kx_unit_factor(unit));
  out = kx::append_text(out, "]");
  return static_cast<int>(out - buffer);
}

KX_API kx_unit kx_unit_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "UNIT", 2);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  if (last != nullptr) *last = k + 2;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1]) || tokens[k + 2] == nullptr) return nullptr;
  kx_unit p = kx_unit_new(name, kx_atod(tokens[k + 2]));
  if (p != nullptr) p->hdr.status = kx::kStatusFromText;
  return p;
}

KX_API kx_unit kx_unit_from_string(const char *text) {
  return kx::read_from_string<kx_unit>(text, "UNIT", kx_unit_from_tokens);
}

}  // extern "C"
