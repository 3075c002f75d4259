// Building a projected CS from catalogue parts, shared by the families.
#include <algorithm>
#include <cstddef>

#include "catalogue/parameter_slots.h"
#include "catalogue/projcs_families.h"

namespace kx::catalogue {

namespace {

constexpr int kSlots = 16;

int slot_of(int32_t code, kx_parameter parameter) {
  const int slot = mapped_slot(code);
  return slot >= 0 ? slot : kx_parameter_index(parameter);
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
  const ZoneBlock *end = kZoneBlocks.rows + kZoneBlocks.count;
  const ZoneBlock *it = std::partition_point(
      kZoneBlocks.rows, end, [code](const ZoneBlock &block) { return block.last < code; });
  return it != end && it->first <= code ? it : nullptr;
}

}  // namespace kx::catalogue
