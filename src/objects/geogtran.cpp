// Geographic transformation: source and target geographic CSs, a method,
// 16 parameter slots and the grid constants loaded for it.
#include <algorithm>

#include "objects/consumed_tokens.h"
#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_GEOGTRAN;
constexpr int kSlots = kx::kParameterSlots;
constexpr int kDatasetSlot = 15;

kx_geogtran valid(kx_geogtran t) { return kx::is_kind(t, kKind) ? t : nullptr; }

void delete_slots(kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) {
    kx_parameter_del(slots[i]);
    slots[i] = nullptr;
  }
}

// Builds from owned parts, deleting them all when the record cannot be made.
kx_geogtran assemble(const char *name, kx_geogcs g1, kx_geogcs g2, kx_method m,
                     kx_parameter *slots) {
  kx_geogtran t = (g1 != nullptr && g2 != nullptr && m != nullptr)
                      ? kx_geogtran_new(name, g1, g2, m, slots)
                      : nullptr;
  if (t == nullptr) {
    kx_geogcs_del(g1);
    kx_geogcs_del(g2);
    kx_method_del(m);
    delete_slots(slots);
  }
  return t;
}

kx_geogtran read_geogtran(char *const *tokens, int count, int start, int *first, int *last) {
  const int k = kx::find_keyword(tokens, count, start, "GEOGTRAN", 31);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1])) return nullptr;
  kx::ConsumedTokens consumed(start, count);
  if (!consumed.ok()) return nullptr;

  kx_parameter slots[kSlots] = {};
  int pos = k + 2;
  int f1 = 0, l1 = 0;
  kx_geogcs g1 = kx_geogcs_from_tokens(tokens, count, pos, &f1, &l1);
  if (g1 == nullptr) return nullptr;
  bool in_order = f1 == pos;
  consumed.mark(f1, l1);

  int f2 = 0, l2 = 0;
  kx_geogcs g2 = kx_geogcs_from_tokens(tokens, count, l1 + 1, &f2, &l2);
  if (g2 == nullptr) return assemble(name, g1, nullptr, nullptr, slots);
  if (!in_order || f2 != l1 + 1) {
    in_order = false;
    consumed.mark(f2, l2);
    pos = consumed.next_free(k + 2);
  } else {
    pos = l2 + 1;
  }

  int mf = 0, ml = 0;
  kx_method m = kx_method_from_tokens(tokens, count, pos, &mf, &ml);
  if (m == nullptr) return assemble(name, g1, g2, nullptr, slots);
  if (!in_order || mf != pos) {
    consumed.mark(mf, ml);
    pos = consumed.next_free(pos);
  } else {
    pos = ml + 1;
  }

  int end = std::max({l1, l2, ml});
  for (int i = pos; i < count - 2;) {
    if (tokens[i] == nullptr || kx_strcmp_ci(tokens[i], "PARAMETER") != 0) {
      ++i;
      continue;
    }
    int af = 0, al = 0;
    kx_parameter a = kx_parameter_from_tokens(tokens, count, i, &af, &al);
    if (a == nullptr) {
      kx_method_del(m);
      return assemble(name, g1, g2, nullptr, slots);
    }
    end = std::max(end, al);
    const int slot = kx_parameter_index(a);
    if (slot >= 0 && slot < kSlots) {
      kx_parameter_del(slots[slot]);
      slots[slot] = a;
    } else {
      kx_parameter_del(a);
    }
    i = std::max(al + 1, i + 1);
  }

  if (last != nullptr) *last = end;
  kx_geogtran t = assemble(name, g1, g2, m, slots);
  if (t != nullptr) t->hdr.status = kx::kStatusFromText;
  return t;
}

}  // namespace

extern "C" {

KX_API kx_geogtran kx_geogtran_new(const char *name, kx_geogcs geogcs1, kx_geogcs geogcs2,
                                   kx_method method, kx_parameter *parameters) {
  if (name == nullptr || geogcs1 == nullptr || geogcs2 == nullptr || method == nullptr ||
      parameters == nullptr) {
    return nullptr;
  }
  kx_geogtran t = kx::new_record<kx_geogtran_rec>(kKind, name);
  if (t == nullptr) return nullptr;
  t->geogcs1 = geogcs1;
  t->geogcs2 = geogcs2;
  t->method = method;
  std::copy(parameters, parameters + kSlots, t->parameters);
  return t;
}

KX_API void kx_geogtran_del(kx_geogtran geogtran) {
  if (valid(geogtran) == nullptr) return;
  kx_geogcs_del(geogtran->geogcs1);
  kx_geogcs_del(geogtran->geogcs2);
  kx_method_del(geogtran->method);
  delete_slots(geogtran->parameters);
  kx_gtconstants_del(geogtran->constants);
  kx::free_record(geogtran);
}

KX_API void kx_geogtran_name(kx_geogtran geogtran, char *name) {
  kx::name_out(geogtran, kKind, name);
}

KX_API kx_geogcs kx_geogtran_geogcs1(kx_geogtran geogtran) {
  return valid(geogtran) != nullptr ? geogtran->geogcs1 : nullptr;
}

KX_API kx_geogcs kx_geogtran_geogcs2(kx_geogtran geogtran) {
  return valid(geogtran) != nullptr ? geogtran->geogcs2 : nullptr;
}

KX_API kx_method kx_geogtran_method(kx_geogtran geogtran) {
  return valid(geogtran) != nullptr ? geogtran->method : nullptr;
}

KX_API void kx_geogtran_parameters(kx_geogtran geogtran, kx_parameter *parameters) {
  if (parameters == nullptr) return;
  std::fill(parameters, parameters + kSlots, nullptr);
  if (valid(geogtran) != nullptr) {
    std::copy(geogtran->parameters, geogtran->parameters + kSlots, parameters);
  }
}

KX_API uint8_t kx_geogtran_status(kx_geogtran geogtran) { return kx::status_of(geogtran, kKind); }

KX_API int kx_geogtran_status_set(kx_geogtran geogtran, uint8_t status) {
  return kx::status_store(geogtran, kKind, status);
}

KX_API int kx_geogtran_p(kx_geogtran geogtran) { return valid(geogtran) != nullptr ? 1 : 0; }

KX_API int kx_geogtran_eq(kx_geogtran a, kx_geogtran b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  if (!kx::name_eq(a->hdr.name, b->hdr.name) || kx_geogcs_eq(a->geogcs1, b->geogcs1) == 0 ||
      kx_geogcs_eq(a->geogcs2, b->geogcs2) == 0 || kx_method_eq(a->method, b->method) == 0) {
    return 0;
  }
  for (int i = 0; i < kSlots; ++i) {
    if ((a->parameters[i] == nullptr) != (b->parameters[i] == nullptr)) return 0;
    if (a->parameters[i] != nullptr && kx_parameter_eq(a->parameters[i], b->parameters[i]) == 0) {
      return 0;
    }
  }
  return 1;
}

KX_API kx_geogtran kx_geogtran_clone(kx_geogtran geogtran) {
  if (valid(geogtran) == nullptr) return nullptr;
  kx_parameter slots[kSlots] = {};
  for (int i = 0; i < kSlots; ++i) {
    if (geogtran->parameters[i] == nullptr) continue;
    slots[i] = kx_parameter_clone(geogtran->parameters[i]);
    if (slots[i] == nullptr) {
      delete_slots(slots);
      return nullptr;
    }
  }
  return assemble(geogtran->hdr.name, kx_geogcs_clone(geogtran->geogcs1),
                  kx_geogcs_clone(geogtran->geogcs2), kx_method_clone(geogtran->method), slots);
}

KX_API char *kx_geogtran_to_string(kx_geogtran geogtran, char *buffer) {
  if (buffer == nullptr) return nullptr;
  char *out = kx::append_text(buffer, "GEOGTRAN[\"");
  out = kx::append_text(out, valid(geogtran) != nullptr ? geogtran->hdr.name : "");
  out = kx::append_text(out, "\",");
  out += kx_geogcs_to_string(kx_geogtran_geogcs1(geogtran), out);
  out = kx::append_text(out, ",");
  out += kx_geogcs_to_string(kx_geogtran_geogcs2(geogtran), out);
  out = kx::append_text(out, ",");
  out += kx_method_to_string(kx_geogtran_method(geogtran), out);
  if (valid(geogtran) != nullptr) {
    for (kx_parameter a : geogtran->parameters) {
      if (a == nullptr) continue;
      out = kx::append_text(out, ",");
      out += kx_parameter_to_string(a, out);
    }
  }
  kx::append_text(out, "]");
  return buffer;
}

KX_API kx_geogtran kx_geogtran_from_tokens(char *const *tokens, int count, int start,
                                           int *first, int *last) {
  kx::set_range(first, last, start);
  return read_geogtran(tokens, count, start, first, last);
}

KX_API kx_geogtran kx_geogtran_from_string(const char *text) {
  return kx::read_from_string<kx_geogtran>(text, "GEOGTRAN", kx_geogtran_from_tokens);
}

KX_API void kx_geogtran_unload_constants(kx_geogtran geogtran) {
  if (valid(geogtran) == nullptr) return;
  kx_gtconstants_del(geogtran->constants);
  geogtran->constants = nullptr;
}

KX_API int kx_geogtran_load_constants(kx_geogtran geogtran) {
  if (valid(geogtran) == nullptr) return 0;
  kx_geogtran_unload_constants(geogtran);
  kx_gtconst_fn fn = kx_method_gtconstfunc(geogtran->method);
  if (fn == nullptr) return 0;
  char dataset[kx::kNameSize] = "";
  kx_parameter_name(geogtran->parameters[kDatasetSlot], dataset);
  kx_gtconstants gc = kx_gtconstants_new();
  if (gc == nullptr) return 0;
  const int result = fn(gc, dataset);
  if (result != 0) {
    geogtran->constants = gc;
  } else {
    kx_gtconstants_del(gc);
  }
  return result;
}

KX_API int kx_geogtran_isconstloaded(kx_geogtran geogtran) {
  return valid(geogtran) != nullptr && geogtran->constants != nullptr ? 1 : 0;
}

KX_API kx_gtconstants kx_geogtran_gtconstants(kx_geogtran geogtran) {
  return valid(geogtran) != nullptr ? geogtran->constants : nullptr;
}

}  // extern "C"
