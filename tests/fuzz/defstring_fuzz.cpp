// Feeds arbitrary text to the symbolic catalogue name reader. A name is a
// whole text of the form "KX_..." without blanks; a known name followed by
// anything more is no name.
#include <cstring>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text = as_text(data, size);
  if (kx_defstring_to_int(text.c_str()) == 0) return 0;
  check(text.compare(0, 3, "KX_") == 0 && std::strpbrk(text.c_str(), " \t\r\n") == nullptr);
  check(kx_defstring_to_int((text.c_str() + std::string(" ")).c_str()) == 0);
  return 0;
}
