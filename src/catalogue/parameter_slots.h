// Slots of the parameter codes catalogue entries and user files use: one map
// for the built-in builders and the user-file reader, and no name lookup
// through kx_parameter_index on the factories' path.
#ifndef KX_CATALOGUE_PARAMETER_SLOTS_H
#define KX_CATALOGUE_PARAMETER_SLOTS_H

#include <cstddef>
#include <cstdint>

namespace kx::catalogue {

struct CodeSlot {
  int32_t code;
  int32_t slot;
};

// Sorted by code.
constexpr CodeSlot kCodeSlots[] = {
    {100001, 0},  {100002, 1},  {100003, 5},  {100004, 7},  {100005, 15}, {100010, 2},
    {100011, 2},  {100012, 10}, {100013, 8},  {100014, 9},  {100020, 6},  {100021, 6},
    {100022, 11}, {100023, 3},  {100024, 4},  {100025, 3},  {100026, 4},  {100027, 3},
    {100036, 15}, {100037, 12}, {100038, 13}, {100039, 14}, {100040, 0},  {100041, 1},
    {100042, 2},  {100043, 3},  {100044, 4},  {100045, 5},  {100046, 6},  {100047, 15},
    {100048, 7},  {100049, 8},  {100050, 9},
};

// The slot of a mapped code, -1 for any other.
inline int mapped_slot(int32_t code) {
  std::size_t lo = 0;
  std::size_t hi = sizeof kCodeSlots / sizeof kCodeSlots[0];
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (kCodeSlots[mid].code < code) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo < sizeof kCodeSlots / sizeof kCodeSlots[0] && kCodeSlots[lo].code == code
             ? kCodeSlots[lo].slot
             : -1;
}

}  // namespace kx::catalogue

#endif  // KX_CATALOGUE_PARAMETER_SLOTS_H
