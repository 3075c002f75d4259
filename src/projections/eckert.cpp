// Eckert I to VI on the sphere of radius a: I (rectilinear), III and V
// (equally spaced parallels) are closed forms; II, IV and VI are equal-area,
// IV and VI with an auxiliary angle theta found numerically.
//
// Method: Snyder, "Flattening the Earth" (1993) and "An Album of Map
// Projections" (USGS PP 1453, 1989), pp. 226-227; theta of IV by the
// library's zeroin, theta of VI by bisection.
//
// Measured accuracy against PROJ 9.1 (+proj=eck1 ... eck6 +R=a,
// tests/scripts/gen_projections.py): forward within 7.5 nm (IV 35 nm, VI
// 19 nm: PROJ's iterations stop earlier), inverse within 3.4e-13 degrees.
#include <cmath>

#include "kx.h"
#include "projections/projection_common.h"
#include "projections/world_common.h"

namespace {

using kx::kPi;
using kx::world::clamp_unit;
using kx::world::longitude;

constexpr double kEckert1 = 0.9213177319235613;   // 2 sqrt(2 / (3 pi))
constexpr double kEckert2K1 = 4.3416075273496055;  // sqrt(6 pi)
constexpr double kEckert2K2 = 1.4472025091165353;  // sqrt(2 pi / 3)
constexpr double kEckert34 = 4.736662856426298;    // sqrt(pi (4 + pi))
constexpr double kEckert4M = 0.6632502140885012;   // sqrt(pi / (4 + pi))
constexpr double kEckert4S = 2.6723758443732786;   // sqrt(4 + pi)
constexpr double kSqrtPi = 1.772453850905516;
constexpr double kEckert4P = 3.5707963267948966;  // 2 + pi/2
constexpr double kEckert56 = 2.267508027238226;   // sqrt(2 + pi)
constexpr double kEckert6P = 2.5707963267948966;  // 1 + pi/2

// The loop every Eckert function shares: checks, central meridian, and a
// kernel(dlambda or x, phi or y) per finite point.
template <class Kernel>
int run(const double *sph, const double *par, int n, double *coords, Kernel &&kernel) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  const double a = sph[0], lam0 = par[kx::kSlotCentralMeridian];
  return kx::convert_points(n, coords, [&](double &u, double &v) {
    kernel(a, lam0, u, v);
    return true;
  });
}

double signed_like(double value, double sign_of) { return sign_of < 0.0 ? -value : value; }

}  // namespace

extern "C" {

KX_API int kx_eckert_i_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double phi = y;
    x = kEckert1 * a * (1.0 - std::fabs(phi) / kPi) * kx_delta(x - lam0);
    y = kEckert1 * a * phi;
  });
}

KX_API int kx_eckert_i_inv(const double *sph, const double *par, int n, double *coords,
                           const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double phi = y / (kEckert1 * a);
    x = longitude(lam0, x / ((1.0 - std::fabs(phi) / kPi) * kEckert1 * a));
    y = phi;
  });
}

KX_API int kx_eckert_ii_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double w = std::sqrt(4.0 - 3.0 * std::sin(std::fabs(y)));
    x = 2.0 * a * w * kx_delta(x - lam0) / kEckert2K1;
    y = signed_like(a * kEckert2K2 * (2.0 - w), y);
  });
}

KX_API int kx_eckert_ii_inv(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double t = 2.0 - std::fabs(y) / (a * kEckert2K2);
    const double phi = signed_like(kx::world::asin_pole((4.0 - t * t) / 3.0), y);
    x = longitude(lam0, x * kEckert2K1 / (2.0 * a * t));
    y = phi;
  });
}

KX_API int kx_eckert_iii_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double q = 2.0 * y / kPi;
    x = (2.0 * a / kEckert34) * kx_delta(x - lam0) * (1.0 + std::sqrt(1.0 - q * q));
    y = 4.0 * a * y / kEckert34;
  });
}

KX_API int kx_eckert_iii_inv(const double *sph, const double *par, int n, double *coords,
                             const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double phi = y * kEckert34 / (4.0 * a);
    // At the pole rounding may put |q| just past 1.
    const double q = clamp_unit(2.0 * phi / kPi);
    x = longitude(lam0, x / ((2.0 * a / kEckert34) * (1.0 + std::sqrt(1.0 - q * q))));
    y = phi;
  });
}

KX_API int kx_eckert_iv_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double target = kEckert4P * std::sin(std::fabs(y));
    const auto f = [target](double t) {
      return t + std::sin(t) * std::cos(t) + 2.0 * std::sin(t) - target;
    };
    const auto fprime = [](double t) { return 1.0 + std::cos(2.0 * t) + 2.0 * std::cos(t); };
    const double theta =
        signed_like(kx::world::polish(kx::world::root_in_quadrant(f), f, fprime), y);
    x = 2.0 * a * kx_delta(x - lam0) * (1.0 + kx::cos_exact(theta)) / kEckert34;
    y = 2.0 * a * kEckert4M * std::sin(theta);
  });
}

KX_API int kx_eckert_iv_inv(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double s = clamp_unit(y * kEckert4S / (2.0 * a * kSqrtPi));
    const double theta = std::asin(s);
    const double c = std::cos(theta);
    const double phi = kx::world::asin_pole((theta + s * c + 2.0 * s) / kEckert4P);
    x = longitude(lam0, x * kEckert34 / ((1.0 + c) * 2.0 * a));
    y = phi;
  });
}

KX_API int kx_eckert_v_fwd(const double *sph, const double *par, int n, double *coords,
                           const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    x = a * (1.0 + std::cos(y)) * kx_delta(x - lam0) / kEckert56;
    y = 2.0 * a * y / kEckert56;
  });
}

KX_API int kx_eckert_v_inv(const double *sph, const double *par, int n, double *coords,
                           const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double phi = y * kEckert56 / (2.0 * a);
    x = longitude(lam0, x * kEckert56 / ((1.0 + std::cos(phi)) * a));
    y = phi;
  });
}

KX_API int kx_eckert_vi_fwd(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double target = kEckert6P * std::sin(std::fabs(y));
    const double theta = signed_like(
        kx::world::bisect_quadrant([target](double t) { return t + std::sin(t) - target; }), y);
    x = a * (1.0 + std::cos(theta)) * kx_delta(x - lam0) / kEckert56;
    y = 2.0 * a * theta / kEckert56;
  });
}

KX_API int kx_eckert_vi_inv(const double *sph, const double *par, int n, double *coords,
                            const int *, const double *) {
  return run(sph, par, n, coords, [](double a, double lam0, double &x, double &y) {
    const double theta = y * kEckert56 / (2.0 * a);
    const double phi = kx::world::asin_pole((theta + std::sin(theta)) / kEckert6P);
    x = longitude(lam0, x * kEckert56 / ((1.0 + std::cos(theta)) * a));
    y = phi;
  });
}

}  // extern "C"
