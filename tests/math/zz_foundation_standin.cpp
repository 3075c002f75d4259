// TEMPORARY stand-in, to be deleted as soon as the foundation unit
// (src/base/memory) is in the tree: a weak copy of kx_double_nan following its
// documented contract, so the mathematics suite links meanwhile. The real
// definition in the library overrides it once it is linked in.
#include "kx.h"

#include <cstring>

extern "C" __attribute__((weak)) void kx_double_nan(double *out) {
  const uint64_t bits = 0x7FF8000000000001ULL;
  std::memcpy(out, &bits, sizeof bits);
}
