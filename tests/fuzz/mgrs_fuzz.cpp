// Feeds arbitrary bytes to the MGRS reader, as one reference in a buffer of
// exactly its length. Whatever reads is written back at every precision and
// lettering, and every reference the writer gives must read again; the
// writer never writes more than 21 characters and the terminator. The same
// bytes taken as a longitude/latitude pair go through the writer too.
#include <cmath>
#include <cstring>
#include <memory>

#include "fuzz_common.h"

// Writes the point at each precision into a 22-character heap buffer, reads it back.
static void write_and_read(kx_geogcs g, int scheme, double lon, double lat) {
  const double point[2] = {lon, lat};
  for (int precision = 0; precision <= 8; ++precision) {
    std::unique_ptr<char[]> buffer(new char[22]);
    char *strings[1] = {buffer.get()};
    const int written =
        kx_geog_to_mgrs_extended(g, 1, point, precision, precision % 2, scheme, strings);
    const std::size_t len = std::strlen(buffer.get());
    const char *refs[1] = {buffer.get()};
    double back[2];
    check(len <= 21 && (written == 1) == (len > 0));
    check(written == 0 || (kx_mgrs_to_geog_extended(g, 1, refs, scheme, back) == 1 &&
                           std::isfinite(back[0]) && std::isfinite(back[1])));
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // WGS 84, and Clarke 1866 whose lettering depends on the zone.
  static const kx_geogcs wgs84 = kx_factory_geogcs(4326), nad27 = kx_factory_geogcs(4267);
  std::unique_ptr<char[]> text(new char[size + 1]());
  const char *refs[1] = {static_cast<const char *>(std::memcpy(text.get(), data, size))};
  for (kx_geogcs g : {wgs84, nad27}) {
    for (int scheme = 0; scheme <= 2; ++scheme) {
      double point[2] = {0, 0};
      const int n = kx_mgrs_to_geog_extended(g, 1, refs, scheme, point);
      check((n == 0 || n == 1) && (n == 1) == (!std::isnan(point[0]) && !std::isnan(point[1])));
      if (n == 1) write_and_read(g, scheme, point[0], point[1]);
    }
  }
  if (size >= 2 * sizeof(double)) {
    double point[2];
    std::memcpy(point, data, sizeof point);
    write_and_read(wgs84, 1, point[0], point[1]);
    // The same bits scaled into the range of real points.
    write_and_read(nad27, 0, std::fmod(point[0], 400.0), std::fmod(point[1], 91.0));
  }
  return 0;
}
