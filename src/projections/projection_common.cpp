// Storage of projection constants, through the object model's own function.
#include "projections/projection_common.h"

#include "objects/constants_store.h"

namespace kx {

int store_constants(kx_pcsconstants pc, const double *values, int count, const int *extra,
                    int extra_count) {
  return pcsconstants_store(pc, values, count, extra, extra_count);
}

}  // namespace kx
