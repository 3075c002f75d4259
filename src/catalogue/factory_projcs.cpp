// Projected CSs of the user file, the built-in table, then the deprecated codes.
#include "catalogue/catalogue_tables.h"
#include "kx.h"

namespace cat = kx::catalogue;

namespace {

constexpr int kSlots = 16;

void delete_slots(kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) {
    kx_parameter_del(slots[i]);
    slots[i] = nullptr;
  }
}

// The row's parameters in their slots; false (slots emptied) on any failure.
bool make_parameters(const cat::ProjcsRow &row, kx_parameter *slots) {
  for (int i = 0; i < kSlots; ++i) slots[i] = nullptr;
  if (row.first < 0 || row.count < 0 ||
      static_cast<std::size_t>(row.first) + static_cast<std::size_t>(row.count) >
          cat::kProjcsParams.count) {
    return false;
  }
  for (int i = 0; i < row.count; ++i) {
    const cat::ProjcsParam &p = cat::kProjcsParams.rows[row.first + i];
    kx_parameter parameter = kx_factory_parameter(p.parameter);
    const int slot = parameter != nullptr ? kx_parameter_index(parameter) : -1;
    if (slot < 0 || slot >= kSlots || slots[slot] != nullptr) {
      kx_parameter_del(parameter);
      delete_slots(slots);
      return false;
    }
    kx_parameter_value_set(parameter, p.value);
    slots[slot] = parameter;
  }
  return true;
}

}  // namespace

extern "C" {

KX_API kx_projcs kx_factory_projcs_normal(int code) {
  const cat::ProjcsRow *row = cat::find_code(cat::kProjcs, code);
  if (row == nullptr) return nullptr;
  kx_parameter slots[kSlots];
  if (!make_parameters(*row, slots)) return nullptr;
  kx_projection projection = kx_factory_projection(row->projection);
  kx_geogcs geogcs = kx_factory_geogcs(row->geogcs);
  kx_unit unit = kx_factory_unit(row->unit);
  kx_projcs projcs = nullptr;
  if (projection != nullptr && geogcs != nullptr && unit != nullptr) {
    projcs = kx_projcs_new(row->name, geogcs, projection, slots, unit);
  }
  if (projcs == nullptr) {
    delete_slots(slots);
    kx_projection_del(projection);
    kx_geogcs_del(geogcs);
    kx_unit_del(unit);
  }
  return projcs;
}

KX_API kx_projcs kx_factory_projcs_depracated(int code) {
  const cat::CodeMap *map = cat::find_code(cat::kDeprecatedProjcs, code);
  if (map == nullptr) return nullptr;
  kx_projcs projcs = kx_factory_projcs_normal(map->current);
  if (projcs != nullptr) kx_projcs_status_set(projcs, 16);
  return projcs;
}

KX_API kx_projcs kx_factory_projcs(int code) {
  kx_projcs projcs = kx_factory_projcs_objedit(code);
  if (projcs != nullptr) {
    kx_projcs_status_set(projcs, 8);
    return projcs;
  }
  projcs = kx_factory_projcs_normal(code);
  if (projcs != nullptr) {
    kx_projcs_status_set(projcs, 4);
    return projcs;
  }
  return kx_factory_projcs_depracated(code);
}

}  // extern "C"
