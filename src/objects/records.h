// Layout of the object records behind the public handles. Composite kinds and
// the drivers reach component fields through these; outside code sees only
// the opaque handles of kx.h. Every record starts with kx::ObjectHeader and is
// plain data allocated zero-filled (kx::new_record).
#ifndef KX_OBJECTS_RECORDS_H
#define KX_OBJECTS_RECORDS_H

#include "kx.h"
#include "objects/object_core.h"

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

#endif
