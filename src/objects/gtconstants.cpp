// Transformation constants record: the integer, float and double arrays a
// grid method's constants function attaches; the record owns and frees them.
#include <climits>
#include <cstring>

#include "objects/constants_store.h"
#include "objects/object_text.h"
#include "objects/records.h"

namespace {

constexpr uint32_t kKind = KX_KIND_GTCONSTANTS;

kx_gtconstants valid(kx_gtconstants gc) { return kx::is_kind(gc, kKind) ? gc : nullptr; }

// A kx_allocate'd copy of count elements; null for count 0. *ok turns false
// when the copy cannot be made.
// A zero-filled block of count elements; null for count 0. *ok turns false
// when it cannot be had.
template <typename T>
T *block_of(int count, bool *ok) {
  if (count == 0) return nullptr;
  const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(T);
  T *to = bytes <= static_cast<std::size_t>(INT_MAX)
              ? static_cast<T *>(kx_allocate(static_cast<int>(bytes)))
              : nullptr;
  if (to == nullptr) *ok = false;
  return to;
}

template <typename T>
T *copy_of(const T *from, int count, bool *ok) {
  T *to = block_of<T>(count, ok);
  if (to != nullptr) std::memcpy(to, from, static_cast<std::size_t>(count) * sizeof(T));
  return to;
}

}  // namespace

namespace kx {

void gtconstants_clear(kx_gtconstants gc) {
  if (valid(gc) == nullptr) return;
  kx_deallocate(gc->ivals);
  kx_deallocate(gc->fvals);
  kx_deallocate(gc->dvals);
  gc->ivals = nullptr;
  gc->fvals = nullptr;
  gc->dvals = nullptr;
}

bool gtconstants_allocate(kx_gtconstants gc, int icount, int fcount, int dcount) {
  gtconstants_clear(gc);
  if (valid(gc) == nullptr || icount < 0 || fcount < 0 || dcount < 0) return false;
  bool ok = true;
  gc->ivals = block_of<int>(icount, &ok);
  gc->fvals = block_of<float>(fcount, &ok);
  gc->dvals = block_of<double>(dcount, &ok);
  if (!ok) gtconstants_clear(gc);
  return ok;
}

int gtconstants_store(kx_gtconstants gc, const int *ivals, int icount, const float *fvals,
                      int fcount, const double *dvals, int dcount) {
  if (valid(gc) == nullptr || icount < 0 || fcount < 0 || dcount < 0) return 0;
  if ((icount > 0 && ivals == nullptr) || (fcount > 0 && fvals == nullptr) ||
      (dcount > 0 && dvals == nullptr))
    return 0;
  gtconstants_clear(gc);
  bool ok = true;
  int *i = copy_of(ivals, icount, &ok);
  float *f = copy_of(fvals, fcount, &ok);
  double *d = copy_of(dvals, dcount, &ok);
  if (!ok) {
    kx_deallocate(i);
    kx_deallocate(f);
    kx_deallocate(d);
    return 0;
  }
  gc->ivals = i;
  gc->fvals = f;
  gc->dvals = d;
  return 1;
}

}  // namespace kx

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
