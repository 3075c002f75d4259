// The UTM and Gauss-Kruger family: whole code blocks computed from the zone.
#include <cstddef>
#include <cstdio>

#include "catalogue/projcs_families.h"
#include "kx_def.h"

namespace kx::catalogue {

namespace {

// Catalogue codes of the Transverse_Mercator projection and its parameters.
constexpr int32_t kTransverseMercator = KX_PRJ_TRANSVERSE_MERCATOR;
constexpr int32_t kFalseEasting = KX_PAR_FALSE_EASTING;
constexpr int32_t kFalseNorthing = KX_PAR_FALSE_NORTHING;
constexpr int32_t kScaleFactor = KX_PAR_SCALE_FACTOR;
constexpr int32_t kCentralMeridian = KX_PAR_CENTRAL_MERIDIAN;
constexpr int32_t kLatitudeOfOrigin = KX_PAR_LATITUDE_OF_ORIGIN;

int central_meridian(const ZoneBlock &block, int zone) {
  if (block.meridian == ZoneMeridian::kUtm) return 6 * zone - 183;
  const int cm = 6 * zone - 3;
  return cm > 180 ? cm - 360 : cm;
}

int name_argument(const ZoneBlock &block, int zone, int cm) {
  switch (block.name_arg) {
    case ZoneNameArg::kMeridianEast: return cm;
    case ZoneNameArg::kMeridianWest: return -cm;
    case ZoneNameArg::kZone: break;
  }
  return zone;
}

}  // namespace

bool zone_entry(int32_t code, ZoneEntry *entry) {
  const ZoneBlock *block = find_zone_block(code);
  if (block == nullptr || entry == nullptr) return false;
  const int zone = code - block->base;
  const int cm = central_meridian(*block, zone);
  const int length = std::snprintf(entry->name, sizeof entry->name, block->format,
                                   name_argument(*block, zone, cm));
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof entry->name) return false;
  entry->projection = kTransverseMercator;
  entry->geogcs = block->geogcs;
  entry->unit = block->unit;
  const double easting = block->easting == ZoneEasting::kZonePrefix
                             ? zone * 1000000.0 + block->false_easting
                             : block->false_easting;
  entry->params[0] = {kCentralMeridian, static_cast<double>(cm)};
  entry->params[1] = {kLatitudeOfOrigin, 0.0};
  entry->params[2] = {kScaleFactor, block->scale};
  entry->params[3] = {kFalseEasting, easting};
  entry->params[4] = {kFalseNorthing, block->false_northing};
  return true;
}

}  // namespace kx::catalogue

extern "C" {

KX_API kx_projcs kx_factory_projcs_utm(int code) {
  kx::catalogue::ZoneEntry entry;
  if (!kx::catalogue::zone_entry(code, &entry)) return nullptr;
  constexpr int32_t count = sizeof entry.params / sizeof entry.params[0];
  return kx::catalogue::build_projcs(entry.name, entry.projection, entry.geogcs, entry.unit,
                                     entry.params, count);
}

}  // extern "C"
