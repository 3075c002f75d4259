// Storage of projection constants in a kx_pcsconstants record.
#include "projections/projection_common.h"

#include "objects/object_core.h"
#include "objects/records.h"

namespace kx {

int store_constants(kx_pcsconstants pc, const double *values, int count) {
  if (!is_kind(pc, KX_KIND_PCSCONSTANTS) || count < 1) return 0;
  // Arrays already attached would otherwise leak.
  kx_deallocate(pc->ivals);
  kx_deallocate(pc->dvals);
  pc->ivals = nullptr;
  pc->dvals = nullptr;
  int *ivals = static_cast<int *>(kx_allocate(2 * static_cast<int>(sizeof(int))));
  double *dvals = static_cast<double *>(kx_allocate(count * static_cast<int>(sizeof(double))));
  if (ivals == nullptr || dvals == nullptr) {
    kx_deallocate(ivals);
    kx_deallocate(dvals);
    return 0;
  }
  ivals[0] = 2;
  ivals[1] = count;
  std::memcpy(dvals, values, static_cast<std::size_t>(count) * sizeof(double));
  pc->ivals = ivals;
  pc->dvals = dvals;
  return count;
}

}  // namespace kx
