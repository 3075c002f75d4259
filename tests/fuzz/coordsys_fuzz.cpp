// Feeds arbitrary bytes to the three top-level text readers. Whatever reads
// is written, read and written again twice: the second and third texts must
// agree. (The first may differ in form but not in value: a number's text
// form depends on its digits, so "4.00014720739927e-07" written from a
// 17-digit input reads back as one that prints in fixed form.)
#include "kx.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr int kReaderLimit = 1023;  // longer texts cannot be read back

char g_text[3][KX_TEXT_MAX_GEOGTRAN + 16];

void check(bool ok) {
  if (!ok) std::abort();
}

// The text length a writer reports: its result, or for the writers that
// return the buffer, the text's length when that buffer came back.
int written(int n, const char *) { return n; }
int written(const char *result, const char *buffer) {
  return result == buffer ? static_cast<int>(std::string(buffer).size()) : -1;
}

template <class Handle, class Write>
void round_trips(const char *input, Handle (*read)(const char *), Write write,
                 void (*del)(Handle), int max_text) {
  Handle object = read(input);
  for (int step = 0; step < 3 && object != nullptr; ++step) {
    const int n = written(write(object, g_text[step]), g_text[step]);
    check(n > 0 && n <= max_text && std::string(g_text[step]).size() == static_cast<size_t>(n));
    del(object);
    object = nullptr;
    if (n > kReaderLimit) return;
    if (step < 2) {
      object = read(g_text[step]);
      check(object != nullptr);
    }
  }
  del(object);
  check(std::string(g_text[1]) == g_text[2]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  round_trips<kx_coordsys>(text.c_str(), kx_coordsys_from_string, kx_coordsys_to_string,
                           kx_coordsys_del, KX_TEXT_MAX_PROJCS);
  round_trips<kx_geogtran>(text.c_str(), kx_geogtran_from_string, kx_geogtran_to_string,
                           kx_geogtran_del, KX_TEXT_MAX_GEOGTRAN);
  round_trips<kx_geoxyzcs>(text.c_str(), kx_geoxyzcs_from_string, kx_geoxyzcs_to_string,
                           kx_geoxyzcs_del, KX_TEXT_MAX_GEOXYZCS);
  return 0;
}
