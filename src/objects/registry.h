// The projection and method registries: the only names the text readers
// and the catalogue can turn into projection and method objects.
#ifndef KX_OBJECTS_REGISTRY_H
#define KX_OBJECTS_REGISTRY_H

#include "kx.h"

namespace kx {

struct ProjectionRow {
  int code;  // catalogue code, 0 for the synonyms
  const char *name;
  kx_projection_fn forward;  // null while the projection is not in the library
  kx_projection_fn inverse;
  kx_horizon_fn horizon;
  kx_horizon_fn horizon_pcs;
  kx_horizon_fn horizon_gcs_raster;
  kx_horizon_fn horizon_pcs_raster;
  kx_pcsconst_fn pcsconstfunc;
};

// How a method computes: by its equations alone, or by interpolating a grid
// dataset its constants function loads.
enum class MethodKind { kEquation, kGrid };

struct MethodRow {
  int code;
  const char *name;
  MethodKind kind;
  kx_method_fn forward;  // null while the method is not in the library
  kx_method_fn inverse;
  kx_gtconst_fn gtconstfunc;
};

// The first row whose name equals name ignoring case, or null.
const ProjectionRow *find_projection_row(const char *name);
const MethodRow *find_method_row(const char *name);
// The row of a catalogue code, or null.
const ProjectionRow *projection_row_by_code(int code);
const MethodRow *method_row_by_code(int code);

// An object of the row's functions under the given name with the given
// status; null for a row whose functions are not in the library.
kx_projection projection_from_row(const ProjectionRow &row, const char *name, uint8_t status);
kx_method method_from_row(const MethodRow &row, const char *name, uint8_t status);

// All rows, in registry order.
const ProjectionRow *projection_rows(int *count);
const MethodRow *method_rows(int *count);

}  // namespace kx

#endif
