#include "converter.h"

#include <cmath>

namespace kxproj {

namespace {

constexpr double kDegree = 0.017453292519943295;

kx_geogcs geogcs_of(kx_coordsys cs) {
  if (kx_projcs_p(static_cast<kx_projcs>(cs))) return kx_projcs_geogcs(static_cast<kx_projcs>(cs));
  return static_cast<kx_geogcs>(cs);
}

double unit_factor(kx_geogcs g) { return kx_unit_factor(kx_geogcs_unit(g)); }
double meridian(kx_geogcs g) { return kx_primem_longitude(kx_geogcs_primem(g)) * kDegree; }

}  // namespace

bool Converter::init(kx_coordsys source, kx_coordsys target, std::string &error) {
  if (kx_projcs_p(static_cast<kx_projcs>(source))) source_pcs_ = static_cast<kx_projcs>(source);
  if (kx_projcs_p(static_cast<kx_projcs>(target))) target_pcs_ = static_cast<kx_projcs>(target);
  kx_geogcs g1 = geogcs_of(source), g2 = geogcs_of(target);
  if (kx_geogcs_eq(g1, g2)) return true;
  if (!kx_datum_eq(kx_geogcs_datum(g1), kx_geogcs_datum(g2))) {
    char n1[64], n2[64];
    kx_geogcs_name(g1, n1);
    kx_geogcs_name(g2, n2);
    error = std::string("source and target are on different datums (") + n1 + " and " + n2 +
            "): a datum transformation is needed";
    return false;
  }
  geog_identity_ = false;
  src_unit_ = unit_factor(g1);
  src_pm_ = meridian(g1);
  dst_unit_ = unit_factor(g2);
  dst_pm_ = meridian(g2);
  return true;
}

void Converter::convert(int n, double *coords) const {
  if (source_pcs_) kx_proj_to_geog(source_pcs_, n, coords);
  if (!geog_identity_) {
    for (int i = 0; i < n; ++i) {
      double &lon = coords[2 * i], &lat = coords[2 * i + 1];
      lon = kx_delta(lon * src_unit_ + src_pm_ - dst_pm_) / dst_unit_;
      lat = lat * src_unit_ / dst_unit_;
    }
  }
  if (target_pcs_) kx_geog_to_proj(target_pcs_, n, coords);
}

}  // namespace kxproj
