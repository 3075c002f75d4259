#include "objects/projcs_unpack.h"

namespace kx {

namespace {
constexpr int kAngularSlots[] = {2, 3, 4, 6, 7, 8, 9, 10, 11, 14};
constexpr int kHeightSlot = 15;
}  // namespace

void unpack_projcs(kx_projcs pcs, UnpackedProjcs &out, SlotDefaults defaults) {
  kx_geogcs gcs = kx_projcs_geogcs(pcs);
  kx_spheroid sph = kx_datum_spheroid(kx_geogcs_datum(gcs));
  kx_unit ang_unit = kx_geogcs_unit(gcs);
  out.projection = kx_projcs_projection(pcs);
  kx_parameter slots[16];
  kx_projcs_parameters(pcs, slots);
  kx_unit lin_unit = kx_projcs_unit(pcs);
  out.angular = kx_unit_factor(ang_unit);
  out.linear = kx_unit_factor(lin_unit);
  const double f = kx_spheroid_flattening(sph);
  out.sph[0] = kx_spheroid_axis(sph);
  out.sph[1] = (2.0 - f) * f;

  for (int i = 0; i < 16; ++i) out.par[i] = kx_parameter_value(slots[i]);
  for (int i : kAngularSlots) out.par[i] *= out.angular;
  out.par[0] *= out.linear;
  out.par[1] *= out.linear;
  if (slots[kHeightSlot]) {
    char name[64] = "";
    kx_parameter_name(slots[kHeightSlot], name);
    if (kx_strcmp_ci(name, "Height") == 0) out.par[kHeightSlot] *= out.linear;
  }
  if (!slots[5]) out.par[5] = 1.0;
  if (!slots[4]) out.par[4] = out.par[3];
  if (defaults == SlotDefaults::kDriver) {
    if (!slots[12]) out.par[12] = 1.0;
    if (!slots[13]) out.par[13] = 1.0;
  }
}

}  // namespace kx
