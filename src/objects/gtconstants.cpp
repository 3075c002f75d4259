// Transformation constants record: the integer, float and double arrays a
// grid method's constants function attaches; the record owns and frees them.
#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_GTCONSTANTS;

kx_gtconstants valid(kx_gtconstants gc) { return kx::is_kind(gc, kKind) ? gc : nullptr; }

}  // namespace

extern "C" {

KX_API kx_gtconstants kx_gtconstants_new(void) {
  void *block = kx_allocate(static_cast<int>(sizeof(kx_gtconstants_rec)));
  if (block == nullptr) return nullptr;
  auto *gc = new (block) kx_gtconstants_rec();
  gc->kind = kKind;
  return gc;
}

KX_API void kx_gtconstants_del(kx_gtconstants gc) {
  if (valid(gc) == nullptr) return;
  kx_deallocate(gc->ivals);
  kx_deallocate(gc->fvals);
  kx_deallocate(gc->dvals);
  kx_deallocate(gc);
}

KX_API int kx_gtconstants_p(kx_gtconstants gc) { return valid(gc) != nullptr ? 1 : 0; }

KX_API int *kx_gtconstants_ivals(kx_gtconstants gc) {
  return valid(gc) != nullptr ? gc->ivals : nullptr;
}

KX_API float *kx_gtconstants_fvals(kx_gtconstants gc) {
  return valid(gc) != nullptr ? gc->fvals : nullptr;
}

KX_API double *kx_gtconstants_dvals(kx_gtconstants gc) {
  return valid(gc) != nullptr ? gc->dvals : nullptr;
}

}  // extern "C"
