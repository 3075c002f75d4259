// Feeds arbitrary bytes to the text readers of every kind. Whatever reads is
// written, read and written again twice: the object read back equals (_eq)
// the one first read but for the rounding of its numbers, and the second and
// third texts agree. (The first may differ in form: "4.00014720739927e-07"
// written from a 17-digit input reads back as one that prints in fixed form.)
#include <cstring>

#include "fuzz_common.h"

namespace {

constexpr int kReaderLimit = 1023;  // longer texts cannot be read back

char g_text[3][KX_TEXT_MAX_GEOGTRAN + 16];

// The text length a writer reports: its result, or for the writers that
// return the buffer, the text's length when that buffer came back.
int written(int n, const char *) { return n; }
int written(const char *result, const char *buffer) {
  return result == buffer ? static_cast<int>(std::strlen(buffer)) : -1;
}

template <class Handle, class Write>
void round_trips(const char *input, Handle (*read)(const char *), Write write,
                 int (*eq)(Handle, Handle), void (*del)(Handle), int max_text) {
  Handle first = read(input);
  if (first == nullptr) return;
  Handle object = first;
  // Unless it equals nothing (a NaN parameter), only its numbers may come
  // back beyond _eq's tolerance: the text has 15-16 digits, 7 from 1e16 on.
  const bool compare = eq(first, first) == 1;
  for (int step = 0; step < 3; ++step) {
    const int n = written(write(object, g_text[step]), g_text[step]);
    check(n > 0 && n <= max_text && std::strlen(g_text[step]) == static_cast<size_t>(n));
    if (step == 1 && compare && eq(first, object) != 1)
      check(without_numbers(g_text[0]) == without_numbers(g_text[1]));
    if (object != first) del(object);
    object = nullptr;
    if (n > kReaderLimit) break;
    if (step == 2) {
      check(std::strcmp(g_text[1], g_text[2]) == 0);
      break;
    }
    object = read(g_text[step]);
    check(object != nullptr);
  }
  del(first);
}

}  // namespace

#define ROUND_TRIPS(kind, max)                                                                  \
  round_trips<kx_##kind>(input, kx_##kind##_from_string, kx_##kind##_to_string, kx_##kind##_eq, \
                         kx_##kind##_del, max)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text = as_text(data, size);
  const char *input = text.c_str();
  ROUND_TRIPS(coordsys, KX_TEXT_MAX_PROJCS);
  ROUND_TRIPS(geogtran, KX_TEXT_MAX_GEOGTRAN);
  ROUND_TRIPS(geoxyzcs, KX_TEXT_MAX_GEOXYZCS);
  // The kinds the three above hold, read on their own.
  ROUND_TRIPS(datum, KX_TEXT_MAX_DATUM);
  ROUND_TRIPS(spheroid, KX_TEXT_MAX_SPHEROID);
  ROUND_TRIPS(primem, KX_TEXT_MAX_PRIMEM);
  ROUND_TRIPS(unit, KX_TEXT_MAX_UNIT);
  ROUND_TRIPS(parameter, KX_TEXT_MAX_PARAMETER);
  return 0;
}
