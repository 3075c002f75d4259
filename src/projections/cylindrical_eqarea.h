// Constants of the cylindrical equal-area projection and of Behrmann (its
// case with the standard parallel at 30 degrees), shared by the projection
// unit and the constants functions.
#ifndef KX_PROJECTIONS_CYLINDRICAL_EQAREA_H
#define KX_PROJECTIONS_CYLINDRICAL_EQAREA_H

#include <cmath>

#include "kx.h"
#include "math/math_common.h"
#include "projections/projection_common.h"

namespace kx {
namespace cylindrical_eqarea {

struct EllipsoidConstants {
  double e;
  double two_e;
  double a_k0;        // a k0, k0 = cos phi1 / w(phi1)
  double a_over_2k0;  // a / (2 k0)
  double one_minus_e2;
  double two_k0;
  double qp;    // q at the pole
  double a_qp;  // a qp
};

struct SphereConstants {
  double a_cos;       // a cos phi1
  double a_over_cos;  // a / cos phi1
};

// Behrmann's standard parallel and its cosine, as exact doubles.
constexpr double kBehrmannPhi1 = 0.5235987755982988;
constexpr double kBehrmannCosPhi1 = 0.8660254037844386;

// Newton passes of the ellipsoidal inverse.
constexpr int kMaxIterations = 15;
constexpr int kBehrmannMaxIterations = 10;

// A standard parallel at a pole leaves no cylinder to project on.
inline bool rejects(double phi1) { return is_pole(phi1); }

inline EllipsoidConstants build_ellipsoid(double a, double e2, double phi1, double cos_phi1) {
  EllipsoidConstants c;
  const double k0 = cos_phi1 / kx_w(e2, phi1);
  c.e = std::sqrt(e2);
  c.two_e = 2.0 * c.e;
  c.a_k0 = a * k0;
  c.a_over_2k0 = a / (2.0 * k0);
  c.one_minus_e2 = 1.0 - e2;
  c.two_k0 = 2.0 * k0;
  c.qp = 1.0 - ((1.0 - e2) / (2.0 * c.e)) * std::log((1.0 - c.e) / (1.0 + c.e));
  c.a_qp = a * c.qp;
  return c;
}

inline SphereConstants build_sphere(double a, double cos_phi1) {
  return {a * cos_phi1, a / cos_phi1};
}

// The standard parallel and its cosine of either projection.
struct Parallel {
  double phi1, cos_phi1;
};

inline Parallel standard_parallel(const double *par) {
  const double phi1 = par[kSlotStandardParallel1];
  return {phi1, std::cos(phi1)};
}

inline Parallel behrmann_parallel() { return {kBehrmannPhi1, kBehrmannCosPhi1}; }

// Forward and inverse of either projection on its standard parallel; the
// inverse makes at most max_iterations Newton passes. Every point NaN and 0
// when the parallel is rejected.
int forward(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals, const Parallel &p);
int inverse(const double *sph, const double *par, int n, double *coords, const int *ivals,
            const double *dvals, const Parallel &p, int max_iterations);

// The dvals of either projection, or 0 when the parallel is rejected.
inline int store(kx_pcsconstants pc, const double *sph, const Parallel &p) {
  if (rejects(p.phi1)) return 0;
  if (is_ellipsoid(sph[1]))
    return store_constants(pc, build_ellipsoid(sph[0], sph[1], p.phi1, p.cos_phi1));
  return store_constants(pc, build_sphere(sph[0], p.cos_phi1));
}

}  // namespace cylindrical_eqarea
}  // namespace kx

#endif  // KX_PROJECTIONS_CYLINDRICAL_EQAREA_H
