// Constants of the Gall stereographic projection, shared by its projection
// unit and the constants function.
#ifndef KX_PROJECTIONS_GALL_STEREOGRAPHIC_H
#define KX_PROJECTIONS_GALL_STEREOGRAPHIC_H

#include <cmath>

namespace kx {
namespace gall_stereographic {

struct Constants {
  double c1;  // a / sqrt 2
  double c2;  // a + a / sqrt 2
};

// The sphere of radius a, whatever the eccentricity.
inline Constants build(const double *sph) {
  const double c1 = sph[0] / std::sqrt(2.0);
  return {c1, sph[0] + c1};
}

}  // namespace gall_stereographic
}  // namespace kx

#endif  // KX_PROJECTIONS_GALL_STEREOGRAPHIC_H
