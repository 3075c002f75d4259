// Attaching computed constants to the constants records: the one way the
// projection and method units store them, so none of them writes a record's
// fields.
#ifndef KX_OBJECTS_CONSTANTS_STORE_H
#define KX_OBJECTS_CONSTANTS_STORE_H

#include "kx.h"

namespace kx {

// Replaces what pc holds by ivals = {2 + extra_count, count, extra...} and a
// copy of the count values; returns count. Returns 0 leaving pc as it was
// for a record that is not a projection constants record, count < 1 or null
// values (or extra), and 0 with nothing attached when memory is exhausted.
int pcsconstants_store(kx_pcsconstants pc, const double *values, int count,
                       const int *extra = nullptr, int extra_count = 0);

// Replaces what gc holds by copies of the three arrays (an array with count 0
// stays null); returns 1. Returns 0 leaving gc as it was for a record that is
// not a transformation constants record, a negative count or a null array
// with a positive count, and 0 with nothing attached when memory is
// exhausted.
int gtconstants_store(kx_gtconstants gc, const int *ivals, int icount, const float *fvals,
                      int fcount, const double *dvals, int dcount);

// Frees what gc holds (nothing for a record of another kind).
void gtconstants_clear(kx_gtconstants gc);

// Empties gc, then gives it zero-filled arrays of the given counts for a
// loader to fill in place (kx_gtconstants_ivals and the others): a grid's
// nodes are read straight into them rather than built apart and copied.
// True when gc is a transformation constants record and every array with a
// positive count exists; otherwise gc is left empty.
bool gtconstants_allocate(kx_gtconstants gc, int icount, int fcount, int dcount);

}  // namespace kx

#endif  // KX_OBJECTS_CONSTANTS_STORE_H
