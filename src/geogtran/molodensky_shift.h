// The once-per-call constants and the common inverse of the two Molodensky
// methods, which differ only in their per-point formulas.
#ifndef KX_GEOGTRAN_MOLODENSKY_SHIFT_H
#define KX_GEOGTRAN_MOLODENSKY_SHIFT_H

#include <cmath>

#include "geogtran/method_common.h"

namespace kx {
namespace geogtran {

struct MolodenskyConstants {
  double a1, e2, f1, da, df, dx, dy, dz;
};

inline MolodenskyConstants molodensky_constants(const double *sph1, const double *sph2,
                                                const double *val) {
  const double f1 = 1.0 - std::sqrt(1.0 - sph1[1]);
  const double f2 = 1.0 - std::sqrt(1.0 - sph2[1]);
  return MolodenskyConstants{sph1[0], sph1[1], f1, sph2[0] - sph1[0], f2 - f1,
                             val[kDx], val[kDy], val[kDz]};
}

// The inverse is the forward with the spheroids exchanged and the
// translations negated (an approximation, not an iteration).
inline int molodensky_reversed(kx_method_fn forward, const double *sph1, const double *sph2,
                               const double *val, int n, double *coords, double *heights) {
  double reversed[kValueCount] = {};
  reversed[kDx] = -val[kDx];
  reversed[kDy] = -val[kDy];
  reversed[kDz] = -val[kDz];
  return forward(sph2, sph1, reversed, nullptr, n, coords, heights, nullptr, nullptr, nullptr);
}

}  // namespace geogtran
}  // namespace kx

#endif  // KX_GEOGTRAN_MOLODENSKY_SHIFT_H
