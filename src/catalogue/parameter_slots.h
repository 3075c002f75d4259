// Slots of the parameter codes catalogue entries and user files use: one map
// for the built-in builders and the user-file reader, and no name lookup
// through kx_parameter_index on the factories' path. The map is derived at
// compile time from the object model's code and slot tables, so the two
// cannot drift apart.
#ifndef KX_CATALOGUE_PARAMETER_SLOTS_H
#define KX_CATALOGUE_PARAMETER_SLOTS_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "catalogue/catalogue_tables.h"
#include "objects/parameter_table.h"

namespace kx::catalogue {

struct CodeSlot {
  int32_t code;
  int32_t slot;
};

namespace detail {

constexpr bool same_text(const char *a, const char *b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

// The slot of the first slot-table row with this exact name, -1 without one.
constexpr int32_t slot_of(const char *name) {
  for (const ParameterSlotRow &row : kParameterSlotTable) {
    if (same_text(row.name, name)) return row.slot;
  }
  return -1;
}

constexpr std::array<CodeSlot, kParameterCodeRows> code_slots() {
  std::array<CodeSlot, kParameterCodeRows> out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = {kParameterCodeTable[i].code, slot_of(kParameterCodeTable[i].name)};
  }
  return out;
}

constexpr bool placed_and_sorted(const std::array<CodeSlot, kParameterCodeRows> &map) {
  for (std::size_t i = 0; i < map.size(); ++i) {
    if (map[i].slot < 0 || map[i].slot >= kParameterSlots) return false;
    if (i > 0 && map[i - 1].code >= map[i].code) return false;
  }
  return true;
}

// Every slot-table name has exactly one code, so every parameter a text can
// place has a catalogue code too.
constexpr bool every_name_coded_once() {
  for (const ParameterSlotRow &row : kParameterSlotTable) {
    int found = 0;
    for (const ParameterCodeRow &code : kParameterCodeTable) {
      if (same_text(code.name, row.name)) ++found;
    }
    if (found != 1) return false;
  }
  return true;
}

}  // namespace detail

// Sorted by code.
inline constexpr std::array<CodeSlot, kParameterCodeRows> kCodeSlots = detail::code_slots();
static_assert(detail::placed_and_sorted(kCodeSlots),
              "every parameter code has a slot and the codes ascend");
static_assert(detail::every_name_coded_once(), "every slot-table name has exactly one code");

// The slot of a mapped code, -1 for any other.
inline int mapped_slot(int32_t code) {
  const CodeSlot *row = find_code(kCodeSlots.data(), kCodeSlots.size(), code);
  return row != nullptr ? row->slot : -1;
}

}  // namespace kx::catalogue

#endif  // KX_CATALOGUE_PARAMETER_SLOTS_H
