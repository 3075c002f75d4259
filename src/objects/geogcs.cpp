// Geographic CS: datum, prime meridian and angular unit.
#include <algorithm>

#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_GEOGCS;

kx_geogcs valid(kx_geogcs g) { return kx::is_kind(g, kKind) ? g : nullptr; }

}  // namespace

extern "C" {

KX_API kx_geogcs kx_geogcs_new(const char *name, kx_datum datum, kx_primem primem, kx_unit unit) {
  if (name == nullptr || datum == nullptr || primem == nullptr || unit == nullptr) return nullptr;
  kx_geogcs g = kx::new_record<kx_geogcs_rec>(kKind, name);
  if (g == nullptr) return nullptr;
  g->datum = datum;
  g->primem = primem;
  g->unit = unit;
  return g;
}

KX_API void kx_geogcs_del(kx_geogcs geogcs) {
  if (valid(geogcs) == nullptr) return;
  kx_datum_del(geogcs->datum);
  kx_primem_del(geogcs->primem);
  kx_unit_del(geogcs->unit);
  kx::free_record(geogcs);
}

KX_API void kx_geogcs_name(kx_geogcs geogcs, char *name) { kx::name_out(geogcs, kKind, name); }

KX_API kx_datum kx_geogcs_datum(kx_geogcs geogcs) {
  return valid(geogcs) != nullptr ? geogcs->datum : nullptr;
}

KX_API kx_primem kx_geogcs_primem(kx_geogcs geogcs) {
  return valid(geogcs) != nullptr ? geogcs->primem : nullptr;
}

KX_API kx_unit kx_geogcs_unit(kx_geogcs geogcs) {
  return valid(geogcs) != nullptr ? geogcs->unit : nullptr;
}

KX_API uint8_t kx_geogcs_status(kx_geogcs geogcs) { return kx::status_of(geogcs, kKind); }

KX_API int kx_geogcs_status_set(kx_geogcs geogcs, uint8_t status) {
  return kx::status_store(geogcs, kKind, status);
}

KX_API int kx_geogcs_p(kx_geogcs geogcs) { return valid(geogcs) != nullptr ? 1 : 0; }

KX_API int kx_geogcs_eq(kx_geogcs a, kx_geogcs b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx_datum_eq(a->datum, b->datum) &&
                 kx_primem_eq(a->primem, b->primem) && kx_unit_eq(a->unit, b->unit)
             ? 1
             : 0;
}

KX_API kx_geogcs kx_geogcs_clone(kx_geogcs geogcs) {
  if (valid(geogcs) == nullptr) return nullptr;
  kx_datum d = kx_datum_clone(geogcs->datum);
  kx_primem p = kx_primem_clone(geogcs->primem);
  kx_unit u = kx_unit_clone(geogcs->unit);
  kx_geogcs g = kx_geogcs_new(geogcs->hdr.name, d, p, u);
  if (g == nullptr) {
    kx_datum_del(d);
    kx_primem_del(p);
    kx_unit_del(u);
  }
  return g;
}

KX_API int kx_geogcs_to_string(kx_geogcs geogcs, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "GEOGCS[\"");
  out = kx::append_text(out, valid(geogcs) != nullptr ? geogcs->hdr.name : "");
  out = kx::append_text(out, "\",");
  out += kx_datum_to_string(kx_geogcs_datum(geogcs), out);
  out = kx::append_text(out, ",");
  out += kx_primem_to_string(kx_geogcs_primem(geogcs), out);
  out = kx::append_text(out, ",");
  out += kx_unit_to_string(kx_geogcs_unit(geogcs), out);
  out = kx::append_text(out, "]");
  return static_cast<int>(out - buffer);
}

// Components are searched in the order datum, prime meridian, unit, each from
// the current position; one found right there moves the position past it, so
// the usual order reads straight through and other orders are still found.
KX_API kx_geogcs kx_geogcs_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "GEOGCS", 13);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1])) return nullptr;
  kx::correct_dhdn_name(name, "GCS_Deutsche_Hauptdreiecksnetz", "GCS_Deutsches_Hauptdreiecksnetz");

  int pos = k + 2;
  int df = 0, dl = 0, pf = 0, pl = 0, uf = 0, ul = 0;
  kx_datum d = kx_datum_from_tokens(tokens, count, pos, &df, &dl);
  if (d == nullptr) {
    if (last != nullptr) *last = dl;
    return nullptr;
  }
  const bool datum_in_place = df == pos;
  if (datum_in_place) pos = dl + 1;

  kx_primem p = kx_primem_from_tokens(tokens, count, pos, &pf, &pl);
  if (p == nullptr) {
    kx_datum_del(d);
    if (last != nullptr) *last = pl;
    return nullptr;
  }
  if (pf == pos) {
    pos = pl + 1;
    if (!datum_in_place && df == pos) pos = dl + 1;
  }

  kx_unit u = kx_unit_from_tokens(tokens, count, pos, &uf, &ul);
  if (u == nullptr) {
    kx_datum_del(d);
    kx_primem_del(p);
    if (last != nullptr) *last = ul;
    return nullptr;
  }

  if (last != nullptr) *last = std::max({dl, pl, ul});
  kx_geogcs g = kx_geogcs_new(name, d, p, u);
  if (g == nullptr) {
    kx_datum_del(d);
    kx_primem_del(p);
    kx_unit_del(u);
    return nullptr;
  }
  g->hdr.status = kx::kStatusFromText;
  return g;
}

KX_API kx_geogcs kx_geogcs_from_string(const char *text) {
  return kx::read_from_string<kx_geogcs>(text, "GEOGCS", kx_geogcs_from_tokens);
}

}  // extern "C"
