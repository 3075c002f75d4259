// Spheroids, prime meridians and units from their user definition files.
#include "catalogue/objedit_reader.h"
#include "objects/object_core.h"

namespace kx::catalogue {

kx_spheroid user_spheroid(int code) {
  UserDefinition d;
  if (!find_user_definition(UserKind::Spheroid, code, &d)) return nullptr;
  kx_spheroid s = kx_spheroid_new(d.name.c_str(), d.values[0], d.values[1]);
  if (s != nullptr) kx_spheroid_status_set(s, kx::kStatusFromUserFile);
  return s;
}

kx_primem user_primem(int code) {
  UserDefinition d;
  if (!find_user_definition(UserKind::Primem, code, &d)) return nullptr;
  kx_primem p = kx_primem_new(d.name.c_str(), d.values[0]);
  if (p != nullptr) kx_primem_status_set(p, kx::kStatusFromUserFile);
  return p;
}

kx_unit user_unit(int code) {
  UserDefinition d;
  if (!find_user_definition(UserKind::Unit, code, &d)) return nullptr;
  kx_unit u = kx_unit_new(d.name.c_str(), d.values[0]);
  if (u != nullptr) kx_unit_status_set(u, kx::kStatusFromUserFile);
  return u;
}

}  // namespace kx::catalogue
