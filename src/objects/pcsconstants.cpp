// Projection constants record: two arrays a projection's constants function
// attaches; the record only owns and frees them.
#include <cstring>

#include "objects/constants_store.h"
#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_PCSCONSTANTS;

kx_pcsconstants valid(kx_pcsconstants pc) { return kx::is_kind(pc, kKind) ? pc : nullptr; }

}  // namespace

namespace kx {

int pcsconstants_store(kx_pcsconstants pc, const double *values, int count, const int *extra,
                       int extra_count) {
  if (valid(pc) == nullptr || count < 1 || values == nullptr || extra_count < 0 ||
      (extra_count > 0 && extra == nullptr))
    return 0;
  // Arrays already attached would otherwise leak.
  kx_deallocate(pc->ivals);
  kx_deallocate(pc->dvals);
  pc->ivals = nullptr;
  pc->dvals = nullptr;
  const int icount = 2 + extra_count;
  int *ivals = static_cast<int *>(kx_allocate(icount * static_cast<int>(sizeof(int))));
  double *dvals = static_cast<double *>(kx_allocate(count * static_cast<int>(sizeof(double))));
  if (ivals == nullptr || dvals == nullptr) {
    kx_deallocate(ivals);
    kx_deallocate(dvals);
    return 0;
  }
  ivals[0] = icount;
  ivals[1] = count;
  if (extra_count > 0) {
    std::memcpy(ivals + 2, extra, static_cast<std::size_t>(extra_count) * sizeof(int));
  }
  std::memcpy(dvals, values, static_cast<std::size_t>(count) * sizeof(double));
  pc->ivals = ivals;
  pc->dvals = dvals;
  return count;
}

}  // namespace kx

extern "C" {

KX_API kx_pcsconstants kx_pcsconstants_new(void) {
  void *block = kx_allocate(static_cast<int>(sizeof(kx_pcsconstants_rec)));
  if (block == nullptr) return nullptr;
  auto *pc = new (block) kx_pcsconstants_rec();
  pc->kind = kKind;
  return pc;
}

KX_API void kx_pcsconstants_del(kx_pcsconstants pc) {
  if (valid(pc) == nullptr) return;
  kx_deallocate(pc->ivals);
  kx_deallocate(pc->dvals);
  kx_deallocate(pc);
}

KX_API int kx_pcsconstants_p(kx_pcsconstants pc) { return valid(pc) != nullptr ? 1 : 0; }

KX_API int *kx_pcsconstants_ivals(kx_pcsconstants pc) {
  return valid(pc) != nullptr ? pc->ivals : nullptr;
}

KX_API double *kx_pcsconstants_dvals(kx_pcsconstants pc) {
  return valid(pc) != nullptr ? pc->dvals : nullptr;
}

}  // extern "C"
