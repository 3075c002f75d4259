// Projection constants record: two arrays a projection's constants function
// attaches; the record only owns and frees them.
#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_PCSCONSTANTS;

kx_pcsconstants valid(kx_pcsconstants pc) { return kx::is_kind(pc, kKind) ? pc : nullptr; }

}  // namespace

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
