#include "converter.h"

#include <cmath>
#include <cstddef>

namespace kxproj {

namespace {

constexpr double kDegree = 0.017453292519943295;

double unit_factor(kx_geogcs g) { return kx_unit_factor(kx_geogcs_unit(g)); }
double meridian(kx_geogcs g) { return kx_primem_longitude(kx_geogcs_primem(g)) * kDegree; }

std::string name_of(kx_geogcs g) {
  char name[64];
  kx_geogcs_name(g, name);
  return name;
}

bool same_datum(kx_geogcs a, kx_geogcs b) {
  return kx_datum_eq(kx_geogcs_datum(a), kx_geogcs_datum(b)) != 0;
}

}  // namespace

kx_geogcs geogcs_of(kx_coordsys cs) {
  if (kx_projcs_p(static_cast<kx_projcs>(cs))) return kx_projcs_geogcs(static_cast<kx_projcs>(cs));
  return static_cast<kx_geogcs>(cs);
}

std::string format_number(double value) {
  char text[32];
  return kx_dtoa(value, text, 15);
}

void GeogAdapter::init(kx_geogcs from, kx_geogcs to) {
  identity_ = kx_geogcs_eq(from, to) != 0;
  src_unit_ = unit_factor(from);
  src_pm_ = meridian(from);
  dst_unit_ = unit_factor(to);
  dst_pm_ = meridian(to);
}

void GeogAdapter::apply(int n, double *coords) const {
  if (identity_) return;
  for (int i = 0; i < n; ++i) {
    double &lon = coords[2 * static_cast<std::size_t>(i)];
    double &lat = coords[2 * static_cast<std::size_t>(i) + 1];
    lon = kx_delta(lon * src_unit_ + src_pm_ - dst_pm_) / dst_unit_;
    lat = lat * src_unit_ / dst_unit_;
  }
}

bool Converter::init(kx_coordsys source, kx_coordsys target, kx_geogtran via, bool inverse,
                     std::string &error) {
  if (kx_projcs_p(static_cast<kx_projcs>(source))) source_pcs_ = static_cast<kx_projcs>(source);
  if (kx_projcs_p(static_cast<kx_projcs>(target))) target_pcs_ = static_cast<kx_projcs>(target);
  kx_geogcs g1 = geogcs_of(source), g2 = geogcs_of(target);
  if (via == nullptr) {
    if (!same_datum(g1, g2)) {
      error = "source and target are on different datums (" + name_of(g1) + " and " + name_of(g2) +
              ") and the catalogue has no transformation between them: give one with --via";
      return false;
    }
    before_.init(g1, g2);
    return true;
  }
  kx_geogcs from = inverse ? kx_geogtran_geogcs2(via) : kx_geogtran_geogcs1(via);
  kx_geogcs to = inverse ? kx_geogtran_geogcs1(via) : kx_geogtran_geogcs2(via);
  const char *option = inverse ? "--inverse-via" : "--via";
  if (!same_datum(g1, from)) {
    error = std::string("the transformation of ") + option + " starts from " + name_of(from) +
            ", not from the datum of the source (" + name_of(g1) + ")";
    return false;
  }
  if (!same_datum(to, g2)) {
    error = std::string("the transformation of ") + option + " ends at " + name_of(to) +
            ", not at the datum of the target (" + name_of(g2) + ")";
    return false;
  }
  via_ = via;
  inverse_ = inverse;
  before_.init(g1, from);
  after_.init(to, g2);
  return true;
}

void Converter::convert(int n, double *coords) const {
  if (source_pcs_) kx_proj_to_geog(source_pcs_, n, coords);
  before_.apply(n, coords);
  if (via_) {
    if (inverse_) {
      kx_geog2_to_geog1(via_, n, coords, nullptr);
    } else {
      kx_geog1_to_geog2(via_, n, coords, nullptr);
    }
    after_.apply(n, coords);
  }
  if (target_pcs_) kx_geog_to_proj(target_pcs_, n, coords);
}

}  // namespace kxproj
