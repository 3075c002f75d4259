// State-plane zones, the named national grids and the RSO grids of the
// keyword files: catalogue systems, rebuilt in another unit or shifted.
#include <cmath>
#include <string>

#include "kx_def.h"
#include "prjfile/prjfile.h"
#include "prjfile/prjfile_objects.h"
#include "prjfile/prjfile_read.h"

namespace kx::prjfile {

namespace {

// A copy of pcs named name, with dx and dy added to its false origin.
int renamed(kx_projcs pcs, const std::string &name, double dx, double dy, Projcs *out) {
  Geogcs geog(kx_geogcs_clone(kx_projcs_geogcs(pcs)));
  Projection projection(kx_projection_clone(kx_projcs_projection(pcs)));
  Unit unit(kx_unit_clone(kx_projcs_unit(pcs)));
  Slots slots;
  kx_parameter source[16];
  kx_projcs_parameters(pcs, source);
  for (int i = 0; i < 16; ++i) {
    if (source[i] != nullptr && (slots.data()[i] = kx_parameter_clone(source[i])) == nullptr) {
      return kNoMemory;
    }
  }
  if (!geog || !projection || !unit) return kNoMemory;
  const double shift[2] = {dx, dy};
  const int code[2] = {KX_PAR_FALSE_EASTING, KX_PAR_FALSE_NORTHING};
  for (int i = 0; i < 2; ++i) {
    if (shift[i] == 0.0) continue;
    kx_parameter &p = slots.data()[i];
    if (p == nullptr && (p = kx_factory_parameter(code[i])) == nullptr) return kNoMemory;
    kx_parameter_value_set(p, kx_parameter_value(p) + shift[i]);
  }
  return assemble(name, &geog, &projection, &slots, &unit, out);
}

// Linear unit choice of the state-plane and RSO systems.
enum class Linear { Metre, UsFoot, IntlFoot, Other };

int linear_choice(const std::string &units, Linear *choice, Unit *unit) {
  int code = 0;
  if (units.empty() || starts_with(units, "ME")) {
    *choice = Linear::Metre;
    code = KX_U_METER;
  } else if (starts_with(units, "FE")) {
    *choice = Linear::UsFoot;
    code = KX_U_FOOT_US;
  } else {
    const int status = unit_from_field(units, false, KX_U_METER, unit);
    if (status != kOk) return status;
    *choice = kx_factory_code(unit->get()) == KX_U_FOOT ? Linear::IntlFoot : Linear::Other;
    return kOk;
  }
  unit->reset(kx_factory_unit(code));
  return *unit ? kOk : kNoMemory;
}

struct RsoGrid {
  const char *name;
  int geogcs;
  int parameters_of;  // the catalogue system whose values it takes
};
constexpr RsoGrid kRsoGrids[] = {
    {"Timbalai_1948_RSO_Borneo", 4298, 29873},
    {"Everest_Modified_1969_RSO_Malaya", 37006, 3168},
};

}  // namespace

// A catalogue system, in another linear unit (suffix added to its name)
// and shifted by (dx, dy) in that unit when they are not zero.
int adjusted(int code, kx_unit unit, const char *suffix, double dx, double dy, int missing,
             Projcs *out) {
  Projcs pcs(kx_factory_projcs(code));
  if (!pcs) return missing;
  if (unit != nullptr) {
    pcs.reset(kx_projcs_clone_alterunits(pcs.get(), unit, nullptr));
    if (!pcs) return kNoMemory;
  }
  if (unit == nullptr && zero(dx) && zero(dy)) {
    out->reset(pcs.release());
    return kOk;
  }
  char name[64];
  kx_projcs_name(pcs.get(), name);
  std::string full = name;
  if (unit != nullptr) full += suffix;
  if (!zero(dx) || !zero(dy)) full += "_Shifted";
  return renamed(pcs.get(), full, dx, dy, out);
}

int state_plane(const Record &r, const Shifts &shift, Projcs *out) {
  int zone = 0;
  if (!read_integer(r.zone, &zone)) zone = 0;
  int fips = 0;
  if (zone >= 1) {
    for (std::size_t i = 0; i < kLegacyZoneCount; ++i) {
      if (kLegacyZones[i].zone == zone) fips = kLegacyZones[i].fips;
    }
  } else if (!read_integer(r.fipszone, &fips)) {
    fips = 0;
  }
  const StatePlaneZone *z = fips >= 1 ? find_state_plane_zone(fips) : nullptr;
  if (z == nullptr) return kBadZone;
  int base = 0;
  if (r.datum == "NAD27") {
    base = z->nad27;
  } else if (r.datum == "NAD83") {
    base = z->nad83;
  } else if (r.datum == "HPGN") {
    base = z->harn;
  } else {
    return kBadDatum;
  }
  Linear choice = Linear::Metre;
  Unit unit;
  int status = linear_choice(r.units, &choice, &unit);
  if (status != kOk) return status;
  int variant = 0;
  if (r.datum == "NAD27" && choice == Linear::UsFoot) variant = z->nad27;
  if (r.datum == "NAD83" && choice == Linear::Metre) variant = z->nad83;
  if (r.datum == "NAD83" && choice == Linear::UsFoot) variant = z->nad83feet;
  if (r.datum == "HPGN" && choice == Linear::Metre) variant = z->harn;
  if (variant != 0) {
    status = adjusted(variant, nullptr, "", shift.x, shift.y, kBadZone, out);
    if (status != kBadZone) return status;
  }
  static const char *const kSuffix[] = {"_Meters", "_Feet", "_Feet_Intl", "_AltUnits"};
  if (base == 0) return kBadDatum;
  return adjusted(base, unit.get(), kSuffix[static_cast<int>(choice)], shift.x, shift.y,
                  kBadDatum, out);
}

int rso(const Record &r, const Shifts &shift, Projcs *out) {
  int which = 0;
  if (!read_integer(r.lines[1], &which) || which < 1 || which > 2) return kBadRso;
  const RsoGrid &grid = kRsoGrids[which - 1];
  Linear choice = Linear::Metre;
  Unit unit;
  int status = linear_choice(r.units, &choice, &unit);
  if (status != kOk) return status;
  Projcs source(kx_factory_projcs(grid.parameters_of));
  Geogcs geog(kx_factory_geogcs(grid.geogcs));
  Projection projection(kx_factory_projection(KX_PRJ_RSO_NATORIGIN));
  Unit metre(kx_factory_unit(KX_U_METER));
  if (!source || !geog || !projection || !metre) return kBadRso;
  Slots slots;
  kx_parameter values[16];
  kx_projcs_parameters(source.get(), values);
  for (int i = 0; i < 16; ++i) {
    if (values[i] != nullptr && (slots.data()[i] = kx_parameter_clone(values[i])) == nullptr) {
      return kNoMemory;
    }
  }
  Projcs pcs;
  status = assemble(grid.name, &geog, &projection, &slots, &metre, &pcs);
  if (status != kOk) return status;
  if (choice != Linear::Metre) {
    pcs.reset(kx_projcs_clone_alterunits(pcs.get(), unit.get(), nullptr));
    if (!pcs) return kNoMemory;
  }
  static const char *const kSuffix[] = {"_Meters", "_US_Feet", "_Feet_Intl", "_AltUnits"};
  std::string name = std::string(grid.name) + kSuffix[static_cast<int>(choice)];
  if (!zero(shift.x) || !zero(shift.y)) name += "_Shifted";
  return renamed(pcs.get(), name, shift.x, shift.y, out);
}

}  // namespace kx::prjfile
