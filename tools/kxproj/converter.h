// The conversion kxproj applies to each batch of points.
#ifndef KXPROJ_CONVERTER_H
#define KXPROJ_CONVERTER_H

#include <string>

#include "kx.h"

namespace kxproj {

// Converts from a source to a target coordinate system (each a geographic or a
// projected CS) through their geographic CSs, which must share a datum.
// Borrowed handles; they must outlive the converter.
class Converter {
 public:
  // False with `error` set when the two systems need a datum transformation.
  bool init(kx_coordsys source, kx_coordsys target, std::string &error);

  // Converts n points in place; failed points become NaN pairs.
  void convert(int n, double *coords) const;

  bool target_is_geographic() const { return target_pcs_ == nullptr; }

 private:
  kx_projcs source_pcs_ = nullptr;  // null when the source is geographic
  kx_projcs target_pcs_ = nullptr;
  // Between the two geographic CSs: same datum, possibly other unit or meridian.
  bool geog_identity_ = true;
  double src_unit_ = 1, src_pm_ = 0, dst_unit_ = 1, dst_pm_ = 0;
};

}  // namespace kxproj

#endif
