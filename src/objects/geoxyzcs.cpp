// Geocentric CS: a geographic CS and the linear unit of X, Y, Z.
#include <algorithm>

#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_GEOXYZCS;

kx_geoxyzcs valid(kx_geoxyzcs g) { return kx::is_kind(g, kKind) ? g : nullptr; }

}  // namespace

extern "C" {

KX_API kx_geoxyzcs kx_geoxyzcs_new(const char *name, kx_geogcs geogcs, kx_unit unit) {
  if (name == nullptr || geogcs == nullptr || unit == nullptr) return nullptr;
  kx_geoxyzcs g = kx::new_record<kx_geoxyzcs_rec>(kKind, name);
  if (g == nullptr) return nullptr;
  g->geogcs = geogcs;
  g->unit = unit;
  return g;
}

KX_API void kx_geoxyzcs_del(kx_geoxyzcs geoxyzcs) {
  if (valid(geoxyzcs) == nullptr) return;
  kx_geogcs_del(geoxyzcs->geogcs);
  kx_unit_del(geoxyzcs->unit);
  kx::free_record(geoxyzcs);
}

KX_API void kx_geoxyzcs_name(kx_geoxyzcs geoxyzcs, char *name) {
  kx::name_out(geoxyzcs, kKind, name);
}

KX_API kx_geogcs kx_geoxyzcs_geogcs(kx_geoxyzcs geoxyzcs) {
  return valid(geoxyzcs) != nullptr ? geoxyzcs->geogcs : nullptr;
}

KX_API kx_unit kx_geoxyzcs_unit(kx_geoxyzcs geoxyzcs) {
  return valid(geoxyzcs) != nullptr ? geoxyzcs->unit : nullptr;
}

KX_API uint8_t kx_geoxyzcs_status(kx_geoxyzcs geoxyzcs) { return kx::status_of(geoxyzcs, kKind); }

KX_API int kx_geoxyzcs_status_set(kx_geoxyzcs geoxyzcs, uint8_t status) {
  return kx::status_store(geoxyzcs, kKind, status);
}

KX_API int kx_geoxyzcs_p(kx_geoxyzcs geoxyzcs) { return valid(geoxyzcs) != nullptr ? 1 : 0; }

KX_API int kx_geoxyzcs_eq(kx_geoxyzcs a, kx_geoxyzcs b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx_geogcs_eq(a->geogcs, b->geogcs) &&
                 kx_unit_eq(a->unit, b->unit)
             ? 1
             : 0;
}

KX_API kx_geoxyzcs kx_geoxyzcs_clone(kx_geoxyzcs geoxyzcs) {
  if (valid(geoxyzcs) == nullptr) return nullptr;
  kx_geogcs g = kx_geogcs_clone(geoxyzcs->geogcs);
  kx_unit u = kx_unit_clone(geoxyzcs->unit);
  kx_geoxyzcs x = kx_geoxyzcs_new(geoxyzcs->hdr.name, g, u);
  if (x == nullptr) {
    kx_geogcs_del(g);
    kx_unit_del(u);
  }
  return x;
}

KX_API int kx_geoxyzcs_to_string(kx_geoxyzcs geoxyzcs, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "GEOXYZCS[\"");
  out = kx::append_text(out, valid(geoxyzcs) != nullptr ? geoxyzcs->hdr.name : "");
  out = kx::append_text(out, "\",");
  out += kx_geogcs_to_string(kx_geoxyzcs_geogcs(geoxyzcs), out);
  out = kx::append_text(out, ",");
  out += kx_unit_to_string(kx_geoxyzcs_unit(geoxyzcs), out);
  out = kx::append_text(out, "]");
  return static_cast<int>(out - buffer);
}

// The linear unit is read after the geographic CS when that stands right
// after the name; otherwise from the same place, where the unit then comes.
KX_API kx_geoxyzcs kx_geoxyzcs_from_tokens(char *const *tokens, int count, int start, int *first,
                                           int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "GEOXYZCS", 18);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1])) return nullptr;

  const int pos = k + 2;
  int gf = 0, gl = 0, uf = 0, ul = 0;
  kx_geogcs g = kx_geogcs_from_tokens(tokens, count, pos, &gf, &gl);
  if (g == nullptr) {
    if (last != nullptr) *last = gl;
    return nullptr;
  }
  kx_unit u = kx_unit_from_tokens(tokens, count, gf == pos ? gl + 1 : pos, &uf, &ul);
  if (u == nullptr) {
    kx_geogcs_del(g);
    if (last != nullptr) *last = ul;
    return nullptr;
  }
  if (last != nullptr) *last = std::max(gl, ul);
  kx_geoxyzcs x = kx_geoxyzcs_new(name, g, u);
  if (x == nullptr) {
    kx_geogcs_del(g);
    kx_unit_del(u);
    return nullptr;
  }
  x->hdr.status = kx::kStatusFromText;
  return x;
}

KX_API kx_geoxyzcs kx_geoxyzcs_from_string(const char *text) {
  return kx::read_from_string<kx_geoxyzcs>(text, "GEOXYZCS", kx_geoxyzcs_from_tokens);
}

}  // extern "C"
