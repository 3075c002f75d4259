// Feeds arbitrary text to the keyword projection-file readers. Every result
// carries a documented status (null exactly on failure); whatever reads is
// written within KX_PRJSTRING_MAX, the text written reads back, and writing
// that again gives the same text but for the last digits of its numbers (a
// user spheroid's axes are recomputed from its flattening).
#include <cstring>

#include "fuzz_common.h"

namespace {

bool documented(int status) {
  return status == 0 || (status <= -100 && status >= -110) || status == -200;
}

// Writes into a buffer larger than the limit, so an overrun is seen.
int write_checked(kx_coordsys cs, char (&text)[KX_PRJSTRING_MAX + 256]) {
  std::memset(text, 'x', sizeof text);
  int status = 1;
  const int result = kx_coordsys_to_prjstring(cs, nullptr, text, &status);
  check(result == status && documented(status));
  check(std::memchr(text, '\0', KX_PRJSTRING_MAX + 1) != nullptr);
  return result;
}

char g_first[KX_PRJSTRING_MAX + 256];
char g_second[KX_PRJSTRING_MAX + 256];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text = as_text(data, size);
  int status = 1;
  kx_unit z = kx_zunit_from_prjstring(text.c_str(), &status);
  check(documented(status) && (z == nullptr) == (status != 0));
  kx_unit_del(z);
  status = 1;
  kx_coordsys cs = kx_coordsys_from_prjstring(text.c_str(), &status);
  check(documented(status) && (cs == nullptr) == (status != 0));
  if (cs == nullptr) return 0;
  check(kx_coordsys_p(cs) == 1);
  if (write_checked(cs, g_first) == 0) {
    kx_coordsys back = kx_coordsys_from_prjstring(g_first, &status);
    check(back != nullptr && status == 0);
    if (write_checked(back, g_second) == 0) {
      kx_coordsys again = kx_coordsys_from_prjstring(g_second, &status);
      check(again != nullptr);
      char third[KX_PRJSTRING_MAX + 256];
      check(write_checked(again, third) == 0 && without_numbers(third) == without_numbers(g_second));
      kx_coordsys_del(again);
    }
    kx_coordsys_del(back);
  }
  kx_coordsys_del(cs);
  return 0;
}
