// Parameter: one named number of a projection or transformation, and the
// placement of parameters into the 16 slots by name.
#include <cstring>

#include "objects/object_text.h"
#include "objects/parameter_table.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_PARAMETER;

kx_parameter valid(kx_parameter p) { return kx::is_kind(p, kKind) ? p : nullptr; }

}  // namespace

namespace kx {

int parameter_slot(const char *name) {
  if (name == nullptr) return -1;
  char key[kNameSize];
  copy_name(key, name);
  for (char &c : key) {
    if (c == ' ') c = '_';
  }
  for (const ParameterSlotRow &row : kParameterSlotTable) {
    if (kx_strcmp_ci(key, row.name) == 0) return row.slot;
  }
  char prefix[9];
  std::memcpy(prefix, key, 8);
  prefix[8] = '\0';
  return kx_strcmp_ci(prefix, "DATASET_") == 0 ? 15 : -1;
}

}  // namespace kx

extern "C" {

KX_API kx_parameter kx_parameter_new(const char *name, double value) {
  if (name == nullptr) return nullptr;
  kx_parameter p = kx::new_record<kx_parameter_rec>(kKind, name);
  if (p == nullptr) return nullptr;
  p->value = value;
  return p;
}

KX_API void kx_parameter_del(kx_parameter parameter) {
  if (valid(parameter) != nullptr) kx::free_record(parameter);
}

// Copies without zero-filling and leaves the buffer alone when invalid.
KX_API void kx_parameter_name(kx_parameter parameter, char *name) {
  if (name == nullptr || valid(parameter) == nullptr) return;
  std::memcpy(name, parameter->hdr.name, std::strlen(parameter->hdr.name) + 1);
}

KX_API double kx_parameter_value(kx_parameter parameter) {
  return valid(parameter) != nullptr ? parameter->value : 0.0;
}

KX_API uint8_t kx_parameter_status(kx_parameter parameter) {
  return kx::status_of(parameter, kKind);
}

KX_API int kx_parameter_status_set(kx_parameter parameter, uint8_t status) {
  return kx::status_store(parameter, kKind, status);
}

KX_API int kx_parameter_p(kx_parameter parameter) { return valid(parameter) != nullptr ? 1 : 0; }

KX_API int kx_parameter_eq(kx_parameter a, kx_parameter b) {
  if (valid(a) == nullptr || valid(b) == nullptr) return 0;
  return kx::name_eq(a->hdr.name, b->hdr.name) && kx::num_eq(a->value, b->value) ? 1 : 0;
}

KX_API kx_parameter kx_parameter_clone(kx_parameter parameter) {
  if (valid(parameter) == nullptr) return nullptr;
  return kx_parameter_new(parameter->hdr.name, parameter->value);
}

KX_API int kx_parameter_name_set(kx_parameter parameter, const char *name) {
  if (name == nullptr || valid(parameter) == nullptr || !kx::name_fits_text(name)) return 0;
  char copy[kx::kNameSize];  // name may point into the record itself
  kx::copy_name(copy, name);
  std::memcpy(parameter->hdr.name, copy, kx::kNameSize);
  return 1;
}

KX_API int kx_parameter_value_set(kx_parameter parameter, double value) {
  if (valid(parameter) == nullptr) return 0;
  parameter->value = value;
  return 1;
}

KX_API int kx_parameter_index(kx_parameter parameter) {
  if (valid(parameter) == nullptr) return -2;
  return kx::parameter_slot(parameter->hdr.name);
}

KX_API int kx_parameter_to_string(kx_parameter parameter, char *buffer) {
  if (buffer == nullptr) return 0;
  char *out = kx::append_text(buffer, "PARAMETER[\"");
  out = kx::append_text(out, valid(parameter) != nullptr ? parameter->hdr.name : "");
  out = kx::append_text(out, "\",");
  out = kx::append_number(out, kx_parameter_value(parameter));
  out = kx::append_text(out, "]");
  return static_cast<int>(out - buffer);
}

KX_API kx_parameter kx_parameter_from_tokens(char *const *tokens, int count, int start,
                                             int *first, int *last) {
  kx::set_range(first, last, start);
  const int k = kx::find_keyword(tokens, count, start, "PARAMETER", 2);
  if (k < 0) return nullptr;
  if (first != nullptr) *first = k;
  if (last != nullptr) *last = k + 2;
  char name[kx::kNameSize];
  if (!kx::read_name_token(name, tokens[k + 1]) || tokens[k + 2] == nullptr) return nullptr;
  kx_parameter p = kx_parameter_new(name, kx_atod(tokens[k + 2]));
  if (p != nullptr) p->hdr.status = kx::kStatusFromText;
  return p;
}

KX_API kx_parameter kx_parameter_from_string(const char *text) {
  return kx::read_from_string<kx_parameter>(text, "PARAMETER", kx_parameter_from_tokens);
}

}  // extern "C"
