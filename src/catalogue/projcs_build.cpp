// Building a projected CS from catalogue parts, shared by the families.
#include <cstddef>

#include "catalogue/projcs_families.h"

namespace kx::catalogue {

namespace {

constexpr int kSlots = 16;

// Slots of the parameter codes catalogue entries use, sorted by code: the
// name-based kx_parameter_index is most of a factory call's time otherwise.
struct CodeSlot {
  int32_t code;
  int32_t slot;
};
constexpr CodeSlot kCodeSlots[] = {
    {100001, 0},  {100002, 1},  {100003, 5},  {100004, 7},  {100005, 15}, {100010, 2},
    {100011, 2},  {100012, 10}, {100013, 8},  {100014, 9},  {100020, 6},  {100021, 6},
    {100022, 11}, {100023, 3},  {100024, 4},  {100025, 3},  {100026, 4},  {100027, 3},
    {100036, 15}, {100037, 12}, {100038, 13}, {100039, 14}, {100040, 0},  {100041, 1},
    {100042, 2},  {100043, 3},  {100044, 4},  {100045, 5},  {100046, 6},  {100047, 15},
    {100048, 7},  {100049, 8},  {100050, 9},
};

int slot_of(int32_t code, kx_parameter parameter) {
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
  if (lo < sizeof kCodeSlots / sizeof kCodeSlots[0] && kCodeSlots[lo].code == code) {
    return kCodeSlots[lo].slot;
  }
  return kx_parameter_index(parameter);
}

void delete_slots(kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) {
    kx_parameter_del(slots[i]);
    slots[i] = nullptr;
  }
}

// The parameters in their slots; false (slots emptied) on any failure.
bool make_parameters(const ProjcsParam *params, int32_t count, kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) slots[i] = nullptr;
  if (count < 0 || (count > 0 && params == nullptr)) return false;
  for (int32_t i = 0; i < count; ++i) {
    kx_parameter parameter = kx_factory_parameter(params[i].parameter);
    const int slot = parameter != nullptr ? slot_of(params[i].parameter, parameter) : -1;
    if (slot < 0 || slot >= kSlots || slots[slot] != nullptr) {
      kx_parameter_del(parameter);
      delete_slots(slots);
      return false;
    }
    kx_parameter_value_set(parameter, params[i].value);
    slots[slot] = parameter;
  }
  return true;
}

}  // namespace

int parameter_slot_of(int32_t code, kx_parameter parameter) { return slot_of(code, parameter); }

kx_projcs build_projcs(const char *name, int32_t projection_code, int32_t geogcs_code,
                       int32_t unit_code, const ProjcsParam *params, int32_t count) {
  kx_parameter slots[kSlots];
  if (!make_parameters(params, count, slots)) return nullptr;
  kx_projection projection = kx_factory_projection(projection_code);
  kx_geogcs geogcs = kx_factory_geogcs(geogcs_code);
  kx_unit unit = kx_factory_unit(unit_code);
  kx_projcs projcs = nullptr;
  if (projection != nullptr && geogcs != nullptr && unit != nullptr) {
    projcs = kx_projcs_new(name, geogcs, projection, slots, unit);
  }
  if (projcs == nullptr) {
    delete_slots(slots);
    kx_projection_del(projection);
    kx_geogcs_del(geogcs);
    kx_unit_del(unit);
  }
  return projcs;
}

kx_projcs build_family_member(const Table<FamilyRow> &family, int32_t code) {
  const FamilyRow *member = find_code(family, code);
  if (member == nullptr || member->row < 0 ||
      static_cast<std::size_t>(member->row) >= kProjcs.count) {
    return nullptr;
  }
  const ProjcsRow &row = kProjcs.rows[member->row];
  if (row.first < 0 || row.count < 0 ||
      static_cast<std::size_t>(row.first) + static_cast<std::size_t>(row.count) >
          kProjcsParams.count) {
    return nullptr;
  }
  return build_projcs(row.name, row.projection, row.geogcs, row.unit,
                      kProjcsParams.rows + row.first, row.count);
}

const ZoneBlock *find_zone_block(int32_t code) {
  // First block whose last code is not below the code.
  std::size_t lo = 0;
  std::size_t hi = kZoneBlocks.count;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (kZoneBlocks.rows[mid].last < code) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  if (lo == kZoneBlocks.count || kZoneBlocks.rows[lo].first > code) return nullptr;
  return &kZoneBlocks.rows[lo];
}

}  // namespace kx::catalogue
