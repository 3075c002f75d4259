// Feeds arbitrary bytes to the top-level text readers and the leaf kinds'
// readers. Whatever reads is written, read and written again twice: the
// object read back equals (_eq) the one first read but for the rounding of
// its numbers, and the second and third texts agree. (The first text may
// differ from them in form: a number's text form depends on its digits, so
// "4.00014720739927e-07" written from a 17-digit input reads back as one
// that prints in fixed form.)
#include "kx.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kReaderLimit = 1023;  // longer texts cannot be read back

char g_text[3][KX_TEXT_MAX_GEOGTRAN + 16];

void check(bool ok) {
  if (!ok) std::abort();
}

// The text with each number (a run of digits, signs, points and exponent
// letters that starts with a digit, sign or point) as one '#'.
std::string without_numbers(const char *text) {
  std::string out;
  for (const char *c = text; *c != '\0';) {
    if (std::strchr("0123456789+-.", *c) == nullptr) {
      out += *c++;
      continue;
    }
    out += '#';
    while (*c != '\0' && std::strchr("0123456789+-.eE", *c) != nullptr) ++c;
  }
  return out;
}

// The text length a writer reports: its result, or for the writers that
// return the buffer, the text's length when that buffer came back.
int written(int n, const char *) { return n; }
int written(const char *result, const char *buffer) {
  return result == buffer ? static_cast<int>(std::string(buffer).size()) : -1;
}

template <class Handle, class Write>
void round_trips(const char *input, Handle (*read)(const char *), Write write,
                 int (*eq)(Handle, Handle), void (*del)(Handle), int max_text) {
  Handle first = read(input);
  if (first == nullptr) return;
  Handle object = first;
  // Whatever the library holds writes text that reads back equal to it
  // (unless it equals nothing, as a NaN parameter does). Only numbers may
  // come back different beyond the tolerance of _eq: the text form writes
  // 15 or 16 digits, and 7 from 1e16 on.
  const bool compare = eq(first, first) == 1;
  for (int step = 0; step < 3; ++step) {
    const int n = written(write(object, g_text[step]), g_text[step]);
    check(n > 0 && n <= max_text && std::string(g_text[step]).size() == static_cast<size_t>(n));
    if (step == 1 && compare && eq(first, object) != 1) {
      check(without_numbers(g_text[0]) == without_numbers(g_text[1]));
    }
    if (object != first) del(object);
    object = nullptr;
    if (n > kReaderLimit) break;
    if (step == 2) {
      check(std::string(g_text[1]) == g_text[2]);
      break;
    }
    object = read(g_text[step]);
    check(object != nullptr);
  }
  del(first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  const char *input = text.c_str();
  round_trips<kx_coordsys>(input, kx_coordsys_from_string, kx_coordsys_to_string, kx_coordsys_eq,
                           kx_coordsys_del, KX_TEXT_MAX_PROJCS);
  round_trips<kx_geogtran>(input, kx_geogtran_from_string, kx_geogtran_to_string, kx_geogtran_eq,
                           kx_geogtran_del, KX_TEXT_MAX_GEOGTRAN);
  round_trips<kx_geoxyzcs>(input, kx_geoxyzcs_from_string, kx_geoxyzcs_to_string, kx_geoxyzcs_eq,
                           kx_geoxyzcs_del, KX_TEXT_MAX_GEOXYZCS);
  // The kinds the three above hold, read on their own.
  round_trips<kx_datum>(input, kx_datum_from_string, kx_datum_to_string, kx_datum_eq,
                        kx_datum_del, KX_TEXT_MAX_DATUM);
  round_trips<kx_spheroid>(input, kx_spheroid_from_string, kx_spheroid_to_string, kx_spheroid_eq,
                           kx_spheroid_del, KX_TEXT_MAX_SPHEROID);
  round_trips<kx_primem>(input, kx_primem_from_string, kx_primem_to_string, kx_primem_eq,
                         kx_primem_del, KX_TEXT_MAX_PRIMEM);
  round_trips<kx_unit>(input, kx_unit_from_string, kx_unit_to_string, kx_unit_eq, kx_unit_del,
                       KX_TEXT_MAX_UNIT);
  round_trips<kx_parameter>(input, kx_parameter_from_string, kx_parameter_to_string,
                            kx_parameter_eq, kx_parameter_del, KX_TEXT_MAX_PARAMETER);
  return 0;
}
