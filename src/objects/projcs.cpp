// Projected CS: geographic CS, projection, 16 parameter slots, linear unit
// and the projection constants loaded for it.
#include <algorithm>

#include "objects/consumed_tokens.h"
#include "objects/object_text.h"
#include "objects/projcs_unpack.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_PROJCS;
constexpr int kSlots = kx::kParameterSlots;

// Slots holding angles, rescaled when the angular unit changes.
constexpr int kAngularSlots[] = {2, 6, 8, 3, 9, 4, 10, 11, 7, 14};

kx_projcs valid(kx_projcs p) { return kx::is_kind(p, kKind) ? p : nullptr; }

void delete_slots(kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) {
    kx_parameter_del(slots[i]);
    slots[i] = nullptr;
  }
}

bool slots_eq(const kx_parameter *a, const kx_parameter *b) {
  for (int i = 0; i < kSlots; ++i) {
    if ((a[i] == nullptr) != (b[i] == nullptr)) return false;
    if (a[i] != nullptr && kx_parameter_eq(a[i], b[i]) == 0) return false;
  }
  return true;
}

// Clones every slot into out; false (out emptied) when a clone fails.
bool clone_slots(const kx_parameter *in, kx_parameter *out) {
  for (int i = 0; i < kSlots; ++i) {
    out[i] = nullptr;
    if (in[i] == nullptr) continue;
    out[i] = kx_parameter_clone(in[i]);
    if (out[i] == nullptr) {
      delete_slots(out);
      return false;
    }
  }
  return true;
}

// Builds from owned parts, deleting them all when the record cannot be made.
kx_projcs assemble(const char *name, kx_geogcs g, kx_projection p, kx_parameter *slots, kx_unit u) {
  kx_projcs pcs = (g != nullptr && p != nullptr && u != nullptr)
                      ? kx_projcs_new(name, g, p, slots, u)
                      : nullptr;
  if (pcs == nullptr) {
    kx_geogcs_del(g);
    kx_projection_del(p);
    delete_slots(slots);
    kx_unit_del(u);
  }
  return pcs;
}

kx_projcs read_projcs(char *const *tokens, int count, int start, int *first, int *last) {
  const int k = kx::find_keyword(tokens, count, start, "PROJCS", 20);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1])) return nullptr;

  kx::ConsumedTokens consumed(start, count);
  if (!consumed.ok()) return nullptr;
  int pos = k + 2;
  bool gcs_in_order = false;
  bool all_in_order = false;

  int gf = 0, gl = 0;
  kx_geogcs g = kx_geogcs_from_tokens(tokens, count, pos, &gf, &gl);
  if (g == nullptr) return nullptr;
  if (gf == pos) {
    gcs_in_order = all_in_order = true;
    pos = gl + 1;
  } else {
    consumed.mark(gf, gl);
    pos = consumed.next_free(pos);
  }

  kx_parameter slots[kSlots] = {};
  int pf = 0, pl = 0;
  kx_projection p = kx_projection_from_tokens(tokens, count, pos, &pf, &pl);
  if (p == nullptr) return assemble(name, g, nullptr, slots, nullptr);
  if (gcs_in_order && pf == pos) {
    pos = pl + 1;
  } else {
    all_in_order = false;
    consumed.mark(pf, pl);
    pos = consumed.next_free(pos);
  }

  int param_last = pos;
  for (int i = pos; i < count - 2;) {
    if (tokens[i] == nullptr || kx_strcmp_ci(tokens[i], "PARAMETER") != 0) {
      ++i;
      continue;
    }
    int af = 0, al = 0;
    kx_parameter a = kx_parameter_from_tokens(tokens, count, i, &af, &al);
    if (a == nullptr) return assemble(name, g, p, slots, nullptr);
    if (all_in_order && af == pos) {
      pos = al + 1;
    } else {
      all_in_order = false;
      consumed.mark(af, al);
    }
    param_last = std::max(param_last, al);
    const int slot = kx_parameter_index(a);
    if (slot >= 0 && slot < kSlots) {
      kx_parameter_del(slots[slot]);
      slots[slot] = a;
    } else {
      kx_parameter_del(a);
    }
    i = std::max(al + 1, i + 1);
  }

  if (!all_in_order) pos = consumed.next_free(pos);
  int uf = 0, ul = 0;
  kx_unit u = kx_unit_from_tokens(tokens, count, pos, &uf, &ul);
  if (u != nullptr && !gcs_in_order && uf >= gf && ul <= gl) {
    // That was the geographic CS's angular unit.
    kx_unit_del(u);
    u = kx_unit_from_tokens(tokens, count, gl + 1, &uf, &ul);
  }
  if (u == nullptr) return assemble(name, g, p, slots, nullptr);

  if (last != nullptr) *last = all_in_order ? ul : std::max({gl, pl, param_last, ul});
  kx_projcs pcs = assemble(name, g, p, slots, u);
  if (pcs != nullptr) pcs->hdr.status = kx::kStatusFromText;
  return pcs;
}

}  // namespace

extern "C" {

KX_API kx_projcs kx_projcs_new(const char *name, kx_geogcs geogcs, kx_projection projection,
                               kx_parameter *parameters, kx_unit unit) {
  if (name == nullptr || geogcs == nullptr || projection == nullptr || parameters == nullptr ||
      unit == nullptr) {
    return nullptr;
  }
  kx_projcs pcs = kx::new_record<kx_projcs_rec>(kKind, name);
  if (pcs == nullptr) return nullptr;
  pcs->geogcs = geogcs;
  pcs->projection = projection;
  std::copy(parameters, parameters + kSlots, pcs->parameters);
  pcs->unit = unit;
  return pcs;
}

KX_API void kx_projcs_del(kx_projcs projcs) {
  if (valid(projcs) == nullptr) return;
  kx_geogcs_del(projcs->geogcs);
  kx_projection_del(projcs->projection);
  delete_slots(projcs->parameters);
  kx_unit_del(projcs->unit);
  kx_pcsconstants_del(projcs->constants);
  kx::free_record(projcs);
}

KX_API void kx_projcs_name(kx_projcs projcs, char *name) { kx::name_out(projcs, kKind, name); }

KX_API kx_geogcs kx_projcs_geogcs(kx_projcs projcs) {
  return valid(projcs) != nullptr ? projcs->geogcs : nullptr;
}

KX_API kx_projection kx_projcs_projection(kx_projcs projcs) {
  return valid(projcs) != nullptr ? projcs->projection : nullptr;
}

KX_API kx_unit kx_projcs_unit(kx_projcs projcs) {
  return valid(projcs) != nullptr ? projcs->unit : nullptr;
}

KX_API void kx_projcs_parameters(kx_projcs projcs, kx_parameter *parameters) {
  if (parameters == nullptr) return;
  std::fill(parameters, parameters + kSlots, nullptr);
  if (valid(projcs) != nullptr) std::copy(projcs->parameters, projcs->parameters + kSlots, parameters);
}

KX_API uint8_t kx_projcs_status(kx_projcs projcs) { return kx::status_of(projcs, kKind); }

KX_API int kx_projcs_status_set(kx_projcs projcs, uint8_t status) {
  return kx::status_store(projcs, kKind, status);
}

KX_API int kx_projcs_p(kx_projcs projcs) { return valid(projcs) != nullptr ? 1 : 0; }

KX_API int kx_projcs_eqnn(kx_projcs a, kx_projcs b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx_geogcs_eq(a->geogcs, b->geogcs) && kx_projection_eq(a->projection, b->projection) &&
                 slots_eq(a->parameters, b->parameters) && kx_unit_eq(a->unit, b->unit)
             ? 1
             : 0;
}

KX_API int kx_projcs_eq(kx_projcs a, kx_projcs b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx_projcs_eqnn(a, b) ? 1 : 0;
}

KX_API kx_projcs kx_projcs_clone(kx_projcs projcs) {
  if (valid(projcs) == nullptr) return nullptr;
  kx_parameter slots[kSlots] = {};
  if (!clone_slots(projcs->parameters, slots)) return nullptr;
  return assemble(projcs->hdr.name, kx_geogcs_clone(projcs->geogcs),
                  kx_projection_clone(projcs->projection), slots, kx_unit_clone(projcs->unit));
}

KX_API kx_projcs kx_projcs_clone_alterunits(kx_projcs projcs, kx_unit linear, kx_unit angular) {
  if (valid(projcs) == nullptr) return nullptr;
  const double old_lin = kx_unit_factor(projcs->unit);
  const double old_ang = kx_unit_factor(kx_geogcs_unit(projcs->geogcs));
  const bool lin_change =
      kx_unit_p(linear) != 0 && kx_eq(kx_unit_factor(linear), old_lin) == 0;
  const bool ang_change =
      kx_unit_p(angular) != 0 && kx_eq(kx_unit_factor(angular), old_ang) == 0;
  if (!lin_change && !ang_change) return kx_projcs_clone(projcs);

  kx_parameter slots[kSlots] = {};
  if (!clone_slots(projcs->parameters, slots)) return nullptr;
  kx_geogcs g = nullptr;
  if (ang_change) {
    const double ratio = old_ang / kx_unit_factor(angular);
    for (int s : kAngularSlots) {
      if (slots[s] != nullptr) kx_parameter_value_set(slots[s], kx_parameter_value(slots[s]) * ratio);
    }
    char gname[kx::kNameSize];
    kx_geogcs_name(projcs->geogcs, gname);
    kx_datum d = kx_datum_clone(kx_geogcs_datum(projcs->geogcs));
    kx_primem pm = kx_primem_clone(kx_geogcs_primem(projcs->geogcs));
    kx_unit au = kx_unit_clone(angular);
    g = kx_geogcs_new(gname, d, pm, au);
    if (g == nullptr) {
      kx_datum_del(d);
      kx_primem_del(pm);
      kx_unit_del(au);
    }
  } else {
    g = kx_geogcs_clone(projcs->geogcs);
  }
  kx_unit u = nullptr;
  if (lin_change) {
    const double ratio = old_lin / kx_unit_factor(linear);
    for (int s : {0, 1}) {
      if (slots[s] != nullptr) kx_parameter_value_set(slots[s], kx_parameter_value(slots[s]) * ratio);
    }
    u = kx_unit_clone(linear);
  } else {
    u = kx_unit_clone(projcs->unit);
  }
  return assemble(projcs->hdr.name, g, kx_projection_clone(projcs->projection), slots, u);
}

KX_API char *kx_projcs_to_string(kx_projcs projcs, char *buffer) {
  if (buffer == nullptr) return nullptr;
  char *out = kx::append_text(buffer, "PROJCS[\"");
  out = kx::append_text(out, valid(projcs) != nullptr ? projcs->hdr.name : "");
  out = kx::append_text(out, "\",");
  out += kx_geogcs_to_string(kx_projcs_geogcs(projcs), out);
  out = kx::append_text(out, ",");
  out += kx_projection_to_string(kx_projcs_projection(projcs), out);
  if (valid(projcs) != nullptr) {
    for (kx_parameter a : projcs->parameters) {
      if (a == nullptr) continue;
      out = kx::append_text(out, ",");
      out += kx_parameter_to_string(a, out);
    }
  }
  out = kx::append_text(out, ",");
  out += kx_unit_to_string(kx_projcs_unit(projcs), out);
  kx::append_text(out, "]");
  return buffer;
}

KX_API kx_projcs kx_projcs_from_tokens(char *const *tokens, int count, int start, int *first,
                                       int *last) {
  kx::set_range(first, last, start);
  return read_projcs(tokens, count, start, first, last);
}

KX_API kx_projcs kx_projcs_from_string(const char *text) {
  return kx::read_from_string<kx_projcs>(text, "PROJCS", kx_projcs_from_tokens);
}

KX_API void kx_projcs_unload_constants(kx_projcs projcs) {
  if (valid(projcs) == nullptr) return;
  kx_pcsconstants_del(projcs->constants);
  projcs->constants = nullptr;
}

KX_API int kx_projcs_load_constants(kx_projcs projcs) {
  if (valid(projcs) == nullptr) return 0;
  kx_projcs_unload_constants(projcs);
  kx_pcsconst_fn fn = kx_projection_pcsconstfunc(projcs->projection);
  if (fn == nullptr) return 0;
  kx_pcsconstants pc = kx_pcsconstants_new();
  if (pc == nullptr) return 0;
  kx::UnpackedProjcs u;
  kx::unpack_projcs(projcs, u);
  const int result = fn(pc, u.sph, u.par);
  if (result != 0) {
    projcs->constants = pc;
  } else {
    kx_pcsconstants_del(pc);
  }
  return result;
}

KX_API int kx_projcs_isconstloaded(kx_projcs projcs) {
  return valid(projcs) != nullptr && projcs->constants != nullptr ? 1 : 0;
}

KX_API kx_pcsconstants kx_projcs_pcsconstants(kx_projcs projcs) {
  return valid(projcs) != nullptr ? projcs->constants : nullptr;
}

}  // extern "C"
