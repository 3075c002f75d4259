// Feeds arbitrary text to the symbolic catalogue name reader. A name is a
// whole text of the form "KX_..." without blanks; a known name followed by
// anything more is no name.
#include "kx.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  const int code = kx_defstring_to_int(text.c_str());
  if (code == 0) return 0;
  const char *c = text.c_str();
  if (std::strncmp(c, "KX_", 3) != 0 || std::strpbrk(c, " \t\r\n") != nullptr) std::abort();
  if (kx_defstring_to_int((std::string(c) + " ").c_str()) != 0) std::abort();
  return 0;
}
