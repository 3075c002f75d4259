// Attaching computed constants to the constants records: the one way the
// projection and method units store them, so none of them writes a record's
// fields.
#ifndef KX_OBJECTS_CONSTANTS_STORE_H
#define KX_OBJECTS_CONSTANTS_STORE_H

#include "kx.h"

namespace kx {

// Replaces what pc holds by ivals = {2, count} and a copy of the count
// values; returns count. Returns 0 leaving pc as it was for a record that is
// not a projection constants record, count < 1 or null values, and 0 with
// nothing attached when memory is exhausted.
int pcsconstants_store(kx_pcsconstants pc, const double *values, int count);

// Replaces what gc holds by copies of the three arrays (an array with count 0
// stays null); returns 1. Returns 0 leaving gc as it was for a record that is
// not a transformation constants record, a negative count or a null array
// with a positive count, and 0 with nothing attached when memory is
// exhausted.
int gtconstants_store(kx_gtconstants gc, const int *ivals, int icount, const float *fvals,
                      int fcount, const double *dvals, int dcount);

}  // namespace kx

#endif  // KX_OBJECTS_CONSTANTS_STORE_H
