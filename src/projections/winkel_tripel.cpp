// Winkel Tripel projection on the sphere of radius a: the average of the
// Aitoff and of an equirectangular projection with true scale on the
// parallel phi1 (slot 3). The inverse takes a first guess from an 11 x 11
// grid of projected nodes (every 20 degrees of longitude and 10 of
// latitude, kept in the loaded constants) and refines it by alternating
// Newton solves for latitude and longitude.
//
// Method: Snyder, "Flattening the Earth" (1993), p. 206 (forward); the
// inverse as the library defines it, with two faults mended: the scale S of
// the Aitoff part is taken from the current, averaged (lambda, phi), not
// from the previous pass's latitude, which stalled between 86.8 and 89.6
// degrees (about 1 % of the map came back NaN); and x, y that are not
// finite or are beyond any node (|x|, |y| > 10^4 a) are refused before the
// grid lookup truncates them to integers.
//
// Two more departures: the Newton step that reaches |f| <= 1e-12 is still
// applied (the passes otherwise settled 1.7e-10 degrees off), and an
// inverse longitude beyond 180 degrees (by more than 2e-7 rad) is refused
// instead of being wrapped round to a false meridian.
//
// Measured accuracy against PROJ 9.1 (+proj=wintri +lat_1=phi1 +R=a,
// tests/scripts/gen_projections.py): forward within 6.5 nm, inverse within
// 7.4e-14 degrees. Forward then inverse every 0.25 degrees over the globe
// (phi1 = 0, 50.467, -20 degrees): no point fails, worst 1.0e-13 degrees.
// With |phi1| above about 65 degrees the grid's first guess no longer
// leads every point next to the rim in the polar regions to its solution:
// those points are refused (NaN): 0.6 % of the map at phi1 = 70 degrees,
// 5 % at 80.
#include <cmath>
#include <cstring>

#include "kx.h"
#include "objects/object_core.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

using kx::kEps;
using kx::kPi;

constexpr int kSide = 11;                          // nodes per row and per column
constexpr int kIntCount = 2 + 2 * kSide * kSide;   // 244: the counts, then (X, Y) per node
constexpr double kLonStep = 0.3490658503988659;    // 20 degrees
constexpr double kLatStep = 0.17453292519943295;   // 10 degrees
constexpr double kGridScale = 100000.0;            // grid units per a/2
constexpr int kMaxPasses = 100, kMaxNewtonSteps = 100;

struct Constants {
  double c;       // cos phi1
  double half_a;  // a / 2
};

Constants build(const double *sph, const double *par) {
  return {std::cos(par[kx::kSlotStandardParallel1]), sph[0] / 2.0};
}

// Node coordinates in grid units, row after row.
struct Grid {
  int v[2 * kSide * kSide];
  int x(int r, int k) const { return v[2 * (r * kSide + k)]; }
  int y(int r, int k) const { return v[2 * (r * kSide + k) + 1]; }
  int &x(int r, int k) { return v[2 * (r * kSide + k)]; }
  int &y(int r, int k) { return v[2 * (r * kSide + k) + 1]; }
};

void project(const Constants &k, double dlam, double phi, double &x, double &y) {
  const double half = dlam / 2.0, cos_phi = kx::cos_exact(phi);
  const double alpha = std::acos(kx::world::clamp_unit(cos_phi * std::cos(half)));
  const double s = std::fabs(alpha) <= kEps ? 1.0 : alpha / std::sin(alpha);
  const double a = 2.0 * k.half_a, ka = a * s;
  x = 0.5 * (2.0 * ka * cos_phi * std::sin(half) + a * dlam * k.c);
  y = 0.5 * (a * phi + ka * std::sin(phi));
}

Grid build_grid(const Constants &k, double lam0) {
  Grid g{};
  for (int r = 0; r < kSide - 1; ++r) {
    for (int c = 0; c < kSide - 1; ++c) {
      double x, y;
      project(k, kx_delta(kx_delta(lam0 + c * kLonStep) - lam0), r * kLatStep, x, y);
      g.x(r, c) = static_cast<int>(std::fabs(x) / k.half_a * kGridScale + 0.5);
      g.y(r, c) = static_cast<int>(std::fabs(y) / k.half_a * kGridScale + 0.5);
    }
  }
  // A row just beyond the pole and a column beyond 180 degrees close the
  // cells along the map's edge.
  for (int c = 0; c < kSide - 1; ++c) {
    g.x(kSide - 1, c) = g.x(kSide - 2, c);
    g.y(kSide - 1, c) = g.y(kSide - 2, c) + 1;
  }
  g.y(kSide - 1, kSide - 1) = g.y(kSide - 1, kSide - 2);
  for (int r = 0; r < kSide - 1; ++r) {
    g.x(r, kSide - 1) = g.x(r, kSide - 2) + g.x(r, kSide - 2) / 36;
    g.y(r, kSide - 1) = g.y(r, kSide - 2);
  }
  g.x(kSide - 1, kSide - 1) = g.x(kSide - 2, kSide - 1);
  return g;
}

// The first guess for (|x|, |y|) in grid units: barycentric interpolation of
// the nodes' (longitude, latitude) over the grid triangle that holds it.
bool first_guess(const Grid &g, double px, double py, double &lam, double &phi) {
  const int xi = static_cast<int>(px + 0.5), yi = static_cast<int>(py + 0.5);
  for (int r = 0; r < kSide - 1; ++r) {
    for (int c = 0; c < kSide - 1; ++c) {
      if (!(g.x(r + 1, c) <= xi && xi <= g.x(r, c + 1) && g.y(r, c) <= yi &&
            yi <= g.y(r + 1, c + 1)))
        continue;
      const int tri[2][3][2] = {{{r, c}, {r, c + 1}, {r + 1, c + 1}},
                                {{r, c}, {r + 1, c + 1}, {r + 1, c}}};
      for (const auto &t : tri) {
        double vx[3], vy[3];
        for (int i = 0; i < 3; ++i) {
          vx[i] = g.x(t[i][0], t[i][1]);
          vy[i] = g.y(t[i][0], t[i][1]);
        }
        if (!kx_intriangle(vx[0], vy[0], vx[1], vy[1], vx[2], vy[2], px, py)) continue;
        double w[3], sum = 0.0;
        for (int i = 0; i < 3; ++i) {
          const int j = (i + 1) % 3, l = (i + 2) % 3;
          w[i] = (vx[j] - px) * (vy[l] - py) - (vx[l] - px) * (vy[j] - py);
          sum += w[i];
        }
        lam = t[0][1] * kLonStep;
        phi = t[0][0] * kLatStep;
        if (std::fabs(sum) > kEps) {
          lam = phi = 0.0;
          for (int i = 0; i < 3; ++i) {
            lam += w[i] / sum * t[i][1] * kLonStep;
            phi += w[i] / sum * t[i][0] * kLatStep;
          }
        }
        return std::fabs(lam) < 1e10 && std::fabs(phi) < 1e10;
      }
    }
  }
  return false;
}

// Newton's method for T = p v + q sin(r v) from v; false when it diverges
// or does not settle. The step that brings |f| within 1e-12 is still
// taken: stopping before it would leave v 1e-12 off and the passes below
// would settle there (1.7e-10 degrees round trip instead of 1e-14).
bool newton(double t, double p, double q, double r, double &v) {
  if (std::fabs(t) > 1.0) {
    p /= t;
    q /= t;
    t = 1.0;
  }
  for (int step = 0; step < kMaxNewtonSteps; ++step) {
    const double f = t - p * v - q * std::sin(r * v);
    if (f == 0.0) return true;
    const double h = f / (-p - q * r * std::cos(r * v));
    if (!(std::fabs(h) < 1e12)) return false;
    v -= h;
    if (std::fabs(f) <= 1e-12) return true;
  }
  return false;
}

// Refines (lam, phi) for the grid-free coordinates (X', Y') = (|x|, |y|) / (a/2).
bool refine(double c, double xs, double ys, double &lam, double &phi) {
  double d = 1.0;
  for (int pass = 0; pass < kMaxPasses && d > 1e-16; ++pass) {
    const double dd = std::cos(phi) * std::cos(lam / 2.0);
    const double alpha = std::atan2(std::sqrt(std::fmax(0.0, 1.0 - dd * dd)), dd);
    const double s = alpha < 1e-10 ? 1.0 : alpha / std::sin(alpha);
    double phi_n = phi, lam_n = lam;
    if (!newton(ys, 1.0, s, 1.0, phi_n)) return false;
    if (!newton(xs, c, 2.0 * s * std::cos(phi_n), 0.5, lam_n)) return false;
    d = c * std::hypot(phi_n - phi, std::cos(phi_n / 2.0) * (lam_n - lam));
    if (pass < 2) {
      lam = lam_n;
      phi = phi_n;
    } else {
      lam = (lam + lam_n) / 2.0;
      phi = (phi + phi_n) / 2.0;
    }
  }
  return std::fabs(d) <= kEps;
}

// Grid from the loaded integers when they are a Winkel Tripel grid.
bool loaded_grid(const int *ivals, const double *dvals, Grid &g) {
  if (ivals == nullptr || dvals == nullptr || ivals[0] != kIntCount || ivals[1] < 2) return false;
  std::memcpy(g.v, ivals + 2, sizeof g.v);
  return true;
}

}  // namespace

extern "C" {

KX_API int kx_winkel_tripel_const(kx_pcsconstants pc, const double *sph, const double *par) {
  if (sph == nullptr || par == nullptr) return 0;
  const Constants k = build(sph, par);
  // The inverse's starting grid travels after the two counts.
  const Grid g = build_grid(k, par[kx::kSlotCentralMeridian]);
  return kx::store_constants(pc, k, g.v, kIntCount - 2);
}

KX_API int kx_winkel_tripel_fwd(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const Constants k =
      kx::constants_or_build<Constants>(ivals, dvals, [&] { return build(sph, par); });
  const double lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    project(k, kx_delta(x - lam0), y, x, y);
    return true;
  });
}

KX_API int kx_winkel_tripel_inv(const double *sph, const double *par, int n, double *coords,
                                const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double lam0 = par[kx::kSlotCentralMeridian];
  Grid g;
  Constants k;
  if (loaded_grid(ivals, dvals, g)) {
    k = kx::unpack_constants<Constants>(dvals);
  } else {
    k = build(sph, par);
    g = build_grid(k, lam0);
  }
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    const double xs = std::fabs(x) / k.half_a, ys = std::fabs(y) / k.half_a;
    // Beyond 10^4 a no node is near; the test also refuses NaN and infinities.
    if (!(xs <= 2e4 && ys <= 2e4)) return false;
    double lam, phi;
    if (!first_guess(g, xs * kGridScale, ys * kGridScale, lam, phi)) return false;
    if (!refine(k.c, xs, ys, lam, phi)) return false;
    if (x < 0.0) lam = -lam;
    if (y < 0.0) phi = -phi;
    // Past 180 degrees by more than the rounding of the rim, the passes have
    // found the equations' periodic continuation beyond the map's edge
    // (x beyond the rim, or, with |phi1| above about 65 degrees, points
    // next to the rim in the polar regions): no point of the map.
    const double beyond = std::fabs(lam) - kPi;
    if (beyond >= 2e-7) return false;
    x = beyond > 0.0 ? kx_delta(lam0 + std::copysign(kPi, lam)) : kx_delta(lam0 + lam);
    y = phi;
    return true;
  });
}

}  // extern "C"
