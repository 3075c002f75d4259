// The conversion kxproj applies to each batch of points.
#ifndef KXPROJ_CONVERTER_H
#define KXPROJ_CONVERTER_H

#include <string>

#include "kx.h"

namespace kxproj {

// The geographic CS of a geographic or projected CS (borrowed).
kx_geogcs geogcs_of(kx_coordsys cs);

// A number as short decimal text ("16", "0.5").
std::string format_number(double value);

// Longitudes and latitudes from one geographic CS to another on the same
// datum: other angular unit or prime meridian.
class GeogAdapter {
 public:
  void init(kx_geogcs from, kx_geogcs to);
  void apply(int n, double *coords) const;

 private:
  bool identity_ = true;
  double src_unit_ = 1, src_pm_ = 0, dst_unit_ = 1, dst_pm_ = 0;
};

// Converts from a source to a target coordinate system (each a geographic or a
// projected CS) through their geographic CSs, which share a datum, or through
// a geographic transformation between the two datums. Borrowed handles; they
// must outlive the converter.
class Converter {
 public:
  // `via` may be null; with `inverse` it is applied from its second
  // geographic CS to its first. False with `error` set when the systems do
  // not fit together (other datums and no transformation, or a
  // transformation whose datums are not those of the systems).
  bool init(kx_coordsys source, kx_coordsys target, kx_geogtran via, bool inverse,
            std::string &error);

  // Converts n points in place; failed points become NaN pairs.
  void convert(int n, double *coords) const;

  bool target_is_geographic() const { return target_pcs_ == nullptr; }

 private:
  kx_projcs source_pcs_ = nullptr;  // null when the source is geographic
  kx_projcs target_pcs_ = nullptr;
  kx_geogtran via_ = nullptr;
  bool inverse_ = false;
  GeogAdapter before_, after_;  // around the transformation, or the only step
};

}  // namespace kxproj

#endif
