// Feeds arbitrary text to the number reader: it reads what strtod reads in the
// "C" locale, also with the thread under a decimal-comma locale. The writer,
// under that locale too, stays within 25 characters and writes a text that
// reads back as a number of the same kind (NaN, infinite, zero, finite) and sign.
#include <locale.h>

#include <cmath>
#include <cstring>

#include "fuzz_common.h"

static bool same(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// A decimal-comma locale when the system has one, else the "C" locale.
static locale_t comma_locale() {
  for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
    if (locale_t l = newlocale(LC_NUMERIC_MASK, name, nullptr)) return l;
  return newlocale(LC_NUMERIC_MASK, "C", nullptr);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const locale_t comma = comma_locale();
  const std::string text = as_text(data, size);
  const double expected = std::strtod(text.c_str(), nullptr);  // the process keeps "C"
  check(same(kx_atod(text.c_str()), expected));
  const locale_t previous = uselocale(comma);
  const double under_comma = kx_atod(text.c_str());
  char buffer[32];
  kx_dtoa(expected, buffer, 1 + static_cast<int>(size % 17));
  const double back = kx_atod(buffer);
  uselocale(previous);
  check(same(under_comma, expected) && std::strlen(buffer) <= KX_TEXT_MAX_NUMBER);
  check(std::isnan(back) == std::isnan(expected) && std::isinf(back) == std::isinf(expected));
  check((back == 0) == (expected == 0) || std::fpclassify(expected) == FP_SUBNORMAL);
  check(std::signbit(back) == std::signbit(expected) || std::isnan(expected));
  return 0;
}
