// Datum: a named spheroid.
#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_DATUM;

kx_datum valid(kx_datum d) { return kx::is_kind(d, kKind) ? d : nullptr; }

}  // namespace

extern "C" {

KX_API kx_datum kx_datum_new(const char *name, kx_spheroid spheroid) {
  if (name == nullptr || spheroid == nullptr) return nullptr;
  kx_datum d = kx::new_record<kx_datum_rec>(kKind, name);
  if (d == nullptr) return nullptr;
  d->spheroid = spheroid;
  return d;
}

KX_API void kx_datum_del(kx_datum datum) {
  if (valid(datum) == nullptr) return;
  kx_spheroid_del(datum->spheroid);
  kx::free_record(datum);
}

KX_API void kx_datum_name(kx_datum datum, char *name) { kx::name_out(datum, kKind, name); }

KX_API kx_spheroid kx_datum_spheroid(kx_datum datum) {
  return valid(datum) != nullptr ? datum->spheroid : nullptr;
}

KX_API uint8_t kx_datum_status(kx_datum datum) { return kx::status_of(datum, kKind); }

KX_API int kx_datum_status_set(kx_datum datum, uint8_t status) {
  return kx::status_store(datum, kKind, status);
}

KX_API int kx_datum_p(kx_datum datum) { return valid(datum) != nullptr ? 1 : 0; }

KX_API int kx_datum_eq(kx_datum a, kx_datum b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx_spheroid_eq(a->spheroid, b->spheroid) ? 1
                                                                                           : 0;
}

KX_API kx_datum kx_datum_clone(kx_datum datum) {
  if (valid(datum) == nullptr) return nullptr;
  kx_spheroid s = kx_spheroid_clone(datum->spheroid);
  kx_datum d = kx_datum_new(datum->hdr.name, s);
  if (d == nullptr) kx_spheroid_del(s);
  return d;
}

KX_API int kx_datum_to_string(kx_datum datum, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "DATUM[\"");
  out = kx::append_text(out, valid(datum) != nullptr ? datum->hdr.name : "");
  out = kx::append_text(out, "\",");
  out += kx_spheroid_to_string(kx_datum_spheroid(datum), out);
  out = kx::append_text(out, "]");
  return static_cast<int>(out - buffer);
}

KX_API kx_datum kx_datum_from_tokens(char *const *tokens, int count, int start, int *first,
                                     int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "DATUM", 5);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1])) return nullptr;
  kx::correct_dhdn_name(name, "D_Deutsche_Hauptdreiecksnetz", "D_Deutsches_Hauptdreiecksnetz");
  int sf = 0;
  int sl = 0;
  kx_spheroid s = kx_spheroid_from_tokens(tokens, count, k + 2, &sf, &sl);
  if (last != nullptr) *last = sl;
  if (s == nullptr) return nullptr;
  kx_datum d = kx_datum_new(name, s);
  if (d == nullptr) {
    kx_spheroid_del(s);
    return nullptr;
  }
  d->hdr.status = kx::kStatusFromText;
  return d;
}

KX_API kx_datum kx_datum_from_string(const char *text) {
  return kx::read_from_string<kx_datum>(text, "DATUM", kx_datum_from_tokens);
}

}  // extern "C"
