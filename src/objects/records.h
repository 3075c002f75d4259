// Layout of the object records behind the public handles. Composite kinds and
// the drivers reach component fields through these; outside code sees only
// the opaque handles of kx.h. Every record starts with kx::ObjectHeader and is
// plain data allocated zero-filled (kx::new_record).
#ifndef KX_OBJECTS_RECORDS_H
#define KX_OBJECTS_RECORDS_H

#include "kx.h"
#include "objects/object_core.h"
#include "objects/parameter_table.h"

struct kx_spheroid_rec {
  kx::ObjectHeader hdr;
  double axis;        // semi-major axis, > 0 and finite
  double flattening;  // 0 <= f < 1, 0 for a sphere
};

struct kx_primem_rec {
  kx::ObjectHeader hdr;
  double longitude;  // degrees east of Greenwich, -180..180
};

struct kx_unit_rec {
  kx::ObjectHeader hdr;
  double factor;  // metres or radians per unit, > 0 and finite
};

struct kx_parameter_rec {
  kx::ObjectHeader hdr;
  double value;
};

struct kx_datum_rec {
  kx::ObjectHeader hdr;
  kx_spheroid spheroid;  // owned
};

struct kx_geogcs_rec {
  kx::ObjectHeader hdr;
  kx_datum datum;    // owned
  kx_primem primem;  // owned
  kx_unit unit;      // owned, angular
};

struct kx_geoxyzcs_rec {
  kx::ObjectHeader hdr;
  kx_geogcs geogcs;  // owned
  kx_unit unit;      // owned, linear
};

struct kx_projection_rec {
  kx::ObjectHeader hdr;
  kx_projection_fn forward;
  kx_projection_fn inverse;
  kx_horizon_fn horizon;  // never null: kx_horizon_normal_cylindrical instead
  kx_horizon_fn horizon_pcs;
  kx_horizon_fn horizon_gcs_raster;
  kx_horizon_fn horizon_pcs_raster;
  kx_pcsconst_fn pcsconstfunc;
};

struct kx_method_rec {
  kx::ObjectHeader hdr;
  kx_method_fn forward;
  kx_method_fn inverse;
  kx_gtconst_fn gtconstfunc;
};

// Constants records carry only the kind word, no name or status.
struct kx_pcsconstants_rec {
  uint32_t kind;
  int *ivals;     // kx_allocate'd by the projection's constants function
  double *dvals;  // likewise
};

struct kx_gtconstants_rec {
  uint32_t kind;
  int *ivals;
  float *fvals;
  double *dvals;
};

struct kx_projcs_rec {
  kx::ObjectHeader hdr;
  kx_geogcs geogcs;                              // owned
  kx_projection projection;                      // owned
  kx_parameter parameters[kx::kParameterSlots];  // owned, null when empty
  kx_unit unit;                                  // owned, linear
  kx_pcsconstants constants;                     // owned, null until loaded
};

struct kx_geogtran_rec {
  kx::ObjectHeader hdr;
  kx_geogcs geogcs1;  // owned, source of the forward direction
  kx_geogcs geogcs2;  // owned
  kx_method method;   // owned
  kx_parameter parameters[kx::kParameterSlots];
  kx_gtconstants constants;  // owned, null until loaded
};

#endif
