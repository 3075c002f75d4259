// Robinson projection and its second variant ("Robinson_VELMAR"): x and y
// read from tables of the parallels' lengths and distances at every 5
// degrees, interpolated by three-point Lagrange polynomials. The first uses
// the sphere of the spheroid's surface area, the second the radius a with
// its own table of lengths.
//
// Method: Robinson's tables (Snyder, "Flattening the Earth", 1993, table
// 5.6) with quadratic interpolation; the inverse latitude from the
// interpolating quadratic in closed form.
//
// Measured accuracy against an independent 40-digit evaluation of the same
// tables and interpolation (tests/scripts/world_formulas.py): forward
// within 4.2 nm, inverse within 5.1e-14 degrees; on the ellipsoid 0.72 um
// (the authalic radius's series). PROJ 9.1 (+proj=robin) interpolates the
// same nodes by cubic splines and differs by up to 6.6 km at the test
// points (9 km between nodes).
#include <cmath>
#include <iterator>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

constexpr int kNodes = 20;
constexpr double kNodeStep = 0.08726646259971647;  // 5 degrees

// Length of the parallel, relative to the equator's (first row mirrors 5 degrees).
constexpr double kXRobinson[kNodes] = {0.9986, 1.0,    0.9986, 0.9954, 0.99,   0.9822, 0.973,
                                       0.96,   0.9427, 0.9216, 0.8962, 0.8679, 0.835,  0.7986,
                                       0.7597, 0.7186, 0.6732, 0.6213, 0.5722, 0.5322};
constexpr double kXVelmar[kNodes] = {0.9844, 0.9858, 0.9844, 0.9813, 0.9759, 0.9682, 0.9591,
                                     0.9463, 0.9293, 0.9085, 0.8835, 0.8556, 0.8231, 0.7872,
                                     0.7489, 0.7084, 0.6636, 0.6125, 0.5641, 0.5246};
// Distance from the equator, relative to the pole's.
constexpr double kY[kNodes] = {-0.062, 0.0,    0.062,  0.124,  0.186,  0.248,  0.31,
                               0.372,  0.434,  0.4958, 0.5571, 0.6176, 0.6769, 0.7346,
                               0.7903, 0.8435, 0.8936, 0.9394, 0.9761, 1.0};

constexpr double node(int k) { return (k - 1) * kNodeStep; }

// Three-point Lagrange interpolation centred on the node below u.
double interpolate(const double *v, double u) {
  int i = 2;
  while (i < kNodes && node(i) < u) ++i;
  if (i == kNodes) return v[kNodes - 1];
  const double s = (u - node(i - 1)) / (node(i) - node(i - 1));
  return 0.5 * s * (s - 1.0) * v[i - 2] + (1.0 - s) * (1.0 + s) * v[i - 1] +
         0.5 * s * (1.0 + s) * v[i];
}

// The u in [0, pi/2] where the interpolated Y equals target (0 below the
// equator's value, pi/2 beyond the pole's): the interpolating quadratic of
// the node interval that holds target, solved in closed form. This is the
// root the bisection of the definition approaches, found without its ~50
// interpolations (the inverse was 8 times slower than PROJ's).
double latitude_of(double target) {
  if (!(target > 0.0)) return 0.0;
  if (target >= kY[kNodes - 1]) return kx::kHalfPi;
  int i = 2;
  while (kY[i] < target) ++i;
  // Y = v1 + B s + A s^2 over node(i-1) + s step, s in [0, 1].
  const double v0 = kY[i - 2], v1 = kY[i - 1], v2 = kY[i];
  const double a = 0.5 * v0 - v1 + 0.5 * v2, b = 0.5 * (v2 - v0), c = target - v1;
  const double s = 2.0 * c / (b + std::sqrt(b * b + 4.0 * a * c));
  return node(i - 1) + s * kNodeStep;
}

struct Constants {
  double r;   // radius of the sphere
  double cx;  // x per radian of longitude at the equator
  double cy;  // y at the pole
};

Constants build_robinson(const double *sph) {
  const double r = kx_auth_r(sph[0], sph[1]);
  return {r, 0.8487 * r, 0.8487 * 0.5072 * kx::kPi * r};
}

Constants build_velmar(const double *sph) { return {sph[0], sph[0], sph[0] * kx::kHalfPi}; }

int forward(const Constants &k, const double *xtab, const double *par, int n, double *coords) {
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double u = std::fabs(y);
    x = interpolate(xtab, u) * k.cx * kx_delta(x - lam0);
    y = y < 0.0 ? -interpolate(kY, u) * k.cy : interpolate(kY, u) * k.cy;
    return true;
  });
}

int inverse(const Constants &k, const double *xtab, const double *par, int n, double *coords) {
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double u = latitude_of(std::fabs(y) / k.cy);
    x = kx::world::longitude(lam0, x / (interpolate(xtab, u) * k.cx));
    y = y < 0.0 ? -u : u;
    return true;
  });
}

}  // namespace

extern "C" {

KX_API int kx_robinson_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  return kx::store_constants(pc, build_robinson(sph));
}

KX_API int kx_robinson_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Constants k =
      kx::constants_or_build<Constants>(ivals, dvals, [&] { return build_robinson(sph); });
  return forward(k, kXRobinson, par, n, coords);
}

KX_API int kx_robinson_inv(const double *sph, const double *par, int n, double *coords,
                           const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Constants k =
      kx::constants_or_build<Constants>(ivals, dvals, [&] { return build_robinson(sph); });
  return inverse(k, kXRobinson, par, n, coords);
}

KX_API int kx_robinson_velmar_fwd(const double *sph, const double *par, int n, double *coords,
                                  const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return forward(build_velmar(sph), kXVelmar, par, n, coords);
}

KX_API int kx_robinson_velmar_inv(const double *sph, const double *par, int n, double *coords,
                                  const int *, const double *) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  return inverse(build_velmar(sph), kXVelmar, par, n, coords);
}

}  // extern "C"
