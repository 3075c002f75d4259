// Parameter slots of a user projected CS or transformation line.
#ifndef KX_CATALOGUE_OBJEDIT_PARAMS_H
#define KX_CATALOGUE_OBJEDIT_PARAMS_H

#include "catalogue/objedit_reader.h"

namespace kx::catalogue {

constexpr int kUserSlots = 16;
constexpr int kUserDatasetCode = 100047;

inline void delete_user_slots(kx_parameter *slots) {
  for (int i = 0; i < kUserSlots; ++i) {
    kx_parameter_del(slots[i]);
    slots[i] = nullptr;
  }
}

// Catalogue parameters with the line's values in the line's slots (a later
// parameter of the same slot replaces an earlier one) and the dataset name,
// when given, as the name; false (slots emptied) when one cannot be made.
inline bool make_user_slots(const UserDefinition &d, kx_parameter *slots) {
  for (int i = 0; i < kUserSlots; ++i) slots[i] = nullptr;
  for (const UserParameter &p : d.parameters) {
    kx_parameter parameter = kx_factory_parameter(p.code);
    const bool named = p.code == kUserDatasetCode && !d.dataset.empty();
    bool ok = parameter != nullptr && p.slot >= 0 && p.slot < kUserSlots;
    if (ok) {
      ok = named ? kx_parameter_name_set(parameter, d.dataset.c_str()) != 0
                 : kx_parameter_value_set(parameter, p.value) != 0;
    }
    if (!ok) {
      kx_parameter_del(parameter);
      delete_user_slots(slots);
      return false;
    }
    kx_parameter_del(slots[p.slot]);
    slots[p.slot] = parameter;
  }
  return true;
}

}  // namespace kx::catalogue

#endif
