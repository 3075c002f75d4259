// Feeds arbitrary bytes to the MGRS reader, as one reference in a buffer of
// exactly its length. Whatever reads is written back at every precision and
// lettering, and every reference the writer gives must read again; the
// writer never writes more than 21 characters and the terminator. The same
// bytes taken as a longitude/latitude pair go through the writer too.
#include "kx.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

struct Systems {
  kx_geogcs wgs84 = kx_factory_geogcs(4326);
  kx_geogcs nad27 = kx_factory_geogcs(4267);  // Clarke 1866: lettering by zone
};

const Systems &systems() {
  static const Systems s;
  return s;
}

// Writes the point at each precision into a 22-character heap buffer and
// reads each reference back.
void write_and_read(kx_geogcs g, int scheme, double lon, double lat) {
  const double point[2] = {lon, lat};
  for (int precision = 0; precision <= 8; ++precision) {
    std::unique_ptr<char[]> buffer(new char[22]);
    char *strings[1] = {buffer.get()};
    const int written = kx_geog_to_mgrs_extended(g, 1, point, precision, precision % 2, scheme, strings);
    const std::size_t len = std::strlen(buffer.get());
    check(len <= 21 && (written == 1) == (len > 0));
    if (written == 0) continue;
    const char *refs[1] = {buffer.get()};
    double back[2];
    check(kx_mgrs_to_geog_extended(g, 1, refs, scheme, back) == 1);
    check(std::isfinite(back[0]) && std::isfinite(back[1]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const Systems &s = systems();
  std::unique_ptr<char[]> text(new char[size + 1]);
  std::memcpy(text.get(), data, size);
  text[size] = '\0';
  const char *refs[1] = {text.get()};
  for (kx_geogcs g : {s.wgs84, s.nad27}) {
    for (int scheme = 0; scheme <= 2; ++scheme) {
      double point[2] = {0, 0};
      const int n = kx_mgrs_to_geog_extended(g, 1, refs, scheme, point);
      check(n == 0 || n == 1);
      check((n == 1) == (!std::isnan(point[0]) && !std::isnan(point[1])));
      if (n == 1) write_and_read(g, scheme, point[0], point[1]);
    }
  }
  if (size >= 2 * sizeof(double)) {
    double point[2];
    std::memcpy(point, data, sizeof point);
    write_and_read(s.wgs84, 1, point[0], point[1]);
    // The same bits scaled into the range of real points.
    write_and_read(s.nad27, 0, std::fmod(point[0], 400.0), std::fmod(point[1], 91.0));
  }
  return 0;
}
