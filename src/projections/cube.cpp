// Cube: the sphere of radius a unfolded onto the six faces of a cube. The
// band within 45 degrees of the equator is the plate carree (four faces side
// by side); each polar cap is a square face, each of its four quadrants
// (90 degrees of longitude) a triangle from the face centre, the pole, to
// the cap's edge, with the distance from the pole kept along the meridian
// through the quadrant's middle. Layouts 0-15 choose which band face each
// cap hangs from (north n div 4, south n mod 4); layouts 901 and 902 spread
// the whole sphere around a single pole.
//
// The inverse undoes the face placement and the quadrant's turn exactly:
// against cct's plate carree on the band and the closed forms of
// tests/scripts/gen_net.py, forward 11 nm (3 ulp), inverse 5.1e-14 deg,
// round trips over a global 1-degree grid 5.1e-14 deg.
#include <cmath>

#include "kx.h"
#include "projections/net_common.h"
#include "projections/projection_common.h"

namespace {

using kx::kHalfPi;
using kx::kPi;
constexpr double kQuarterPi = kPi / 4;
// The single-pole layouts stop short of the far pole, which is their rim.
constexpr double kRimMargin = 2e-7;

struct Layout {
  int n;  // 0-15, 901 or 902
  bool polar() const { return n > 15; }
  double s() const { return n == 902 ? -1.0 : 1.0; }  // single-pole layouts
  double centre() const { return n == 902 ? -kQuarterPi : -3 * kQuarterPi; }
  static double cap_centre(int f) { return f * kHalfPi - 3 * kQuarterPi; }
};

Layout layout_of(const double *par) {
  int n = kx::layout_option(par);
  if (n < 0) n = 0;
  if (n > 15 && n != 901 && n != 902) n = 15;
  return {n};
}

// The quadrant of dlam around a pole: its number and middle longitude.
struct Quadrant {
  int q;
  double m;
};

Quadrant quadrant_of(double dlam) {
  if (dlam >= 0.0 && dlam <= kHalfPi) return {1, kQuarterPi};
  if (dlam >= -kHalfPi && dlam < 0.0) return {3, -kQuarterPi};
  if (dlam > kHalfPi) return {2, 3 * kQuarterPi};
  return {4, -3 * kQuarterPi};
}

double middle_of(int q) {
  static const double m[5] = {0, kQuarterPi, 3 * kQuarterPi, -kQuarterPi, -3 * kQuarterPi};
  return m[q];
}

// A point d from the pole of sign s, dlam from the central meridian, as (p,
// r) on the face around that pole (the quadrant turned into place).
void to_face(double dlam, double d, double s, double *p, double *r) {
  const Quadrant q = quadrant_of(dlam);
  const double u = d / kQuarterPi * (dlam - q.m), v = -s * d;
  switch (q.q) {
    case 1:
      *p = u, *r = v;
      break;
    case 2:
      *p = -s * v, *r = s * u;
      break;
    case 3:
      *p = s * v, *r = -s * u;
      break;
    default:
      *p = -u, *r = -v;
      break;
  }
}

// The inverse of to_face: the distance from the pole and dlam.
void from_face(double p, double r, double s, double *d, double *dlam) {
  int q;
  double u;
  if (std::fabs(p) <= std::fabs(r)) {
    q = s * r <= 0.0 ? 1 : 4;
    u = q == 1 ? p : -p;
    *d = q == 1 ? -s * r : s * r;
  } else {
    q = p > 0.0 ? 2 : 3;
    *d = q == 2 ? p : -p;
    u = q == 2 ? s * r : -s * r;
  }
  *dlam = *d > 0.0 ? middle_of(q) + u * kQuarterPi / *d : 0.0;
}

// |v| within limit, its edge included in the sense of kx_eq.
bool within(double v, double limit) {
  return std::fabs(v) <= limit || kx::near_eq(std::fabs(v), limit);
}

}  // namespace

extern "C" {

KX_API int kx_cube_fwd(const double *sph, const double *par, int n, double *coords,
                       const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const Layout lay = layout_of(par);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double dlam = kx_delta(x - lam0), phi = y;
    double p, r;
    if (lay.polar()) {
      const double s = lay.s();
      to_face(dlam, std::fabs(s * kHalfPi - phi), s, &p, &r);
      const double X = lay.n == 901 ? -p : r, Y = lay.n == 901 ? -r : -p;
      x = a * (lay.centre() + X);
      y = a * (s * kHalfPi + Y);
      return true;
    }
    if (std::fabs(phi) <= kQuarterPi) {
      x = a * dlam;
      y = a * phi;
      return true;
    }
    const double s = phi > 0.0 ? 1.0 : -1.0;
    const int f = s > 0.0 ? lay.n / 4 : lay.n % 4;
    to_face(dlam, kHalfPi - std::fabs(phi), s, &p, &r);
    double X, Y;
    switch (f) {
      case 0:
        X = -p, Y = -r;
        break;
      case 1:
        X = -s * r, Y = s * p;
        break;
      case 2:
        X = p, Y = r;
        break;
      default:
        X = s * r, Y = -s * p;
        break;
    }
    x = a * (Layout::cap_centre(f) + X);
    y = a * (s * kHalfPi + Y);
    return true;
  });
}

KX_API int kx_cube_inv(const double *sph, const double *par, int n, double *coords,
                       const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  const Layout lay = layout_of(par);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double tx = x / a, ty = y / a;
    double s, p, r;
    if (lay.polar()) {
      s = lay.s();
      const double X = tx - lay.centre(), Y = ty - s * kHalfPi;
      const double limit = kPi - kRimMargin;
      if (!within(X, limit) || !within(Y, limit)) return false;
      p = lay.n == 901 ? -X : -Y;
      r = lay.n == 901 ? -Y : X;
    } else if (within(ty, kQuarterPi) && within(tx, kPi)) {
      x = kx_delta(tx + lam0);
      y = ty;
      return true;
    } else {
      s = ty > 0.0 ? 1.0 : -1.0;
      const int f = s > 0.0 ? lay.n / 4 : lay.n % 4;
      const double X = tx - Layout::cap_centre(f), Y = ty - s * kHalfPi;
      if (!within(X, kQuarterPi) || !within(Y, kQuarterPi)) return false;
      switch (f) {
        case 0:
          p = -X, r = -Y;
          break;
        case 1:
          p = s * Y, r = -s * X;
          break;
        case 2:
          p = X, r = Y;
          break;
        default:
          p = -s * Y, r = s * X;
          break;
      }
    }
    double d, dlam;
    from_face(p, r, s, &d, &dlam);
    x = kx_delta(dlam + lam0);
    y = s * (kHalfPi - d);
    return true;
  });
}

}  // extern "C"
