// Constants of the orthographic projection, shared by its projection unit and the
// constants function.
#ifndef KX_PROJECTIONS_ORTHOGRAPHIC_H
#define KX_PROJECTIONS_ORTHOGRAPHIC_H

#include <cmath>

#include "projections/projection_common.h"

namespace kx {
namespace orthographic {

struct Constants {
  double cos_phi1;
  double sin_phi1;
};

inline Constants build(const double *par) {
  const double phi1 = par[kSlotLatitudeOfCenter];
  return {std::cos(phi1), std::sin(phi1)};
}

}  // namespace orthographic
}  // namespace kx

#endif  // KX_PROJECTIONS_ORTHOGRAPHIC_H
