// Exact transverse Mercator on the ellipsoid through Jacobi elliptic
// functions of parameter m = e2, and the spherical transverse Mercator.
//
// Method: after L. P. Lee, "Conformal Projections Based on Elliptic
// Functions" (Cartographica monograph 16, 1976). With the complex isometric
// latitude w = psi + i dlambda, the point solves
//   atanh(sn u) - e atanh(e sn u) = w
// for u, found by Newton's method from the spherical solution
// u = asin(tanh w); the projected point is
//   Z(u) = E(am u | m) - e2 sn u cn u / dn u
// (real part north, imaginary part east). The inverse solves Z(u) = target
// by Newton's method with Z'(u) = (1 - e2)/dn^2 u. Complex values run
// through the library's kx_dcomp_* and kx_z* functions.
// The sphere uses the series transverse Mercator's closed spherical forms.
//
// Sound behaviour where the direct iterations fail (each measured):
//  - atanh by its log form (kx_zatanh): the atan form of kx_dcomp_atanh
//    cancels next to +-1 and costs up to 2 um near the poles;
//  - a polar form in v = K - u (below) within about 2.5 degrees of a pole,
//    within 1e-3 rad of the meridians 90 degrees out and over the pole: the
//    direct forward diverged from about 89.95 degrees of latitude on (the
//    pole itself, after the pole rule, was NaN), the direct inverse lost
//    0.1 m of latitude 0.1 m from the pole, and both picked the wrong side
//    on and past the 90-degree meridians;
//  - solutions outside the quarter periods are rejected: beyond the
//    singular points on the equator at (1 - e) 90 degrees from the central
//    meridian the direct forward settled on other sheets of atanh and
//    counted points 1e8 m away (85 degrees out, 1 degree north);
//  - NaN or infinite input and non-finite results are NaN pairs, not
//    counted, without running the iteration.
//
// Measured against an independent exact transverse Mercator (tests/
// projections/oracle_test.cpp, tm_complex_*.csv): 8.6 um forward and
// 1.1e-10 degrees inverse up to 80 degrees from the central meridian,
// pole to pole and over the pole, all of it the error of the library's
// conformal-latitude series (1.4e-12 rad); given the exact conformal
// latitude the forward agrees to 15 nm. Spheres 13 nm and 4e-12 degrees
// (4.3e-8 degrees within 1 m of a pole, where the inverse takes asin next
// to 1). Unconverted: points within 2 degrees of the equator 83 degrees or
// more from the central meridian.
#include "projections/tm_complex.h"

#include <cmath>

#include "kx.h"
#include "math/latitude_series.h"
#include "math/math_common.h"
#include "projections/near_pole.h"
#include "projections/projection_common.h"

namespace {

using kx::kHalfPi;
using kx::tm_complex::EllipsoidConstants;
using kx::tm_complex::SphereConstants;

constexpr int kMaxPasses = 50;
// 1 - 2^-48: keeps the spherical x finite on the equator 90 degrees out.
constexpr double kNearOne = 0.9999999999999964;

// Thin value-returning forms of the library's complex operations.
kx_dcomp cx(double re, double im) { return kx_dcomp{re, im}; }
kx_dcomp add(kx_dcomp a, kx_dcomp b) {
  kx_dcomp r;
  return *kx_dcomp_add(&r, a, b);
}
kx_dcomp sub(kx_dcomp a, kx_dcomp b) {
  kx_dcomp r;
  return *kx_dcomp_sub(&r, a, b);
}
kx_dcomp mul(kx_dcomp a, kx_dcomp b) {
  kx_dcomp r;
  return *kx_dcomp_mult(&r, a, b);
}
kx_dcomp div(kx_dcomp a, kx_dcomp b) {
  kx_dcomp r;
  return *kx_dcomp_div(&r, a, b);
}
kx_dcomp scale(double k, kx_dcomp z) { return cx(k * z.re, k * z.im); }
kx_dcomp over(kx_dcomp z, double d) { return cx(z.re / d, z.im / d); }
kx_dcomp csqrt(kx_dcomp z) {
  kx_dcomp r;
  return *kx_dcomp_sqrt(&r, z);
}
// atanh z = (log(1 + z) - log(1 - z))/2, the log form: the closed atan form
// of kx_dcomp_atanh forms 1 + |z|^2 - 2 Re z, which cancels next to z = 1
// and leaves the Newton residual noisy near the poles.
kx_dcomp catanh(kx_dcomp z) {
  kx_dcomp r;
  kx_zatanh(z.re, z.im, &r.re, &r.im);
  return r;
}
kx_dcomp sn(kx_dcomp u, double m) {
  kx_dcomp r;
  return *kx_dcomp_sn(&r, u, m);
}

bool finite(double v) { return std::isfinite(v); }
bool finite(kx_dcomp z) { return std::isfinite(z.re) && std::isfinite(z.im); }

// The terms of sn u shared by both directions: s, (1 + s)(1 - s) = cn^2 and
// (1 + e s)(1 - e s) = dn^2.
struct Sn {
  kx_dcomp s, cn2, dn2;
};

Sn sn_terms(kx_dcomp u, double e2, double e) {
  const kx_dcomp one = cx(1.0, 0.0);
  Sn t;
  t.s = sn(u, e2);
  const kx_dcomp es = scale(e, t.s);
  t.cn2 = mul(add(one, t.s), sub(one, t.s));
  t.dn2 = mul(add(one, es), sub(one, es));
  return t;
}

// atanh(s) - e atanh(e s): the complex isometric latitude of sn u = s.
kx_dcomp isometric(kx_dcomp s, double e) { return sub(catanh(s), scale(e, catanh(scale(e, s)))); }

// E(am u) - e2 s cn/dn: the projected point over a k0.
kx_dcomp meridian_z(kx_dcomp u, const Sn &t, double e2) {
  kx_dcomp E;
  kx_dcomp_iellint2(&E, u, e2);
  return sub(E, scale(e2, mul(t.s, csqrt(div(t.cn2, t.dn2)))));
}

// Newton's stopping rule on the change of u.
bool settled(kx_dcomp u, kx_dcomp u_new, const EllipsoidConstants &k) {
  return kx_dcomp_abs(sub(u_new, u)) / 2.0 < kx_dcomp_abs(u_new) * k.two_eps_m + k.sqrt_eps_m;
}

// Runs step(u) -> u_new until the stopping rule holds; false after
// kMaxPasses passes or as soon as an iterate is not finite (it cannot
// recover, and NaN would otherwise ride out all the passes).
template <class Step>
bool newton(kx_dcomp &u, const EllipsoidConstants &k, Step &&step) {
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const kx_dcomp u_new = step(u);
    if (!finite(u_new)) return false;
    const bool done = settled(u, u_new, k);
    u = u_new;
    if (done) return true;
  }
  return false;
}

// Quarter periods K(m), K'(m) = K(1 - m) and E(m), once per call: the
// bounds of the solutions and the image of the pole.
struct Periods {
  double K, Kp, E;
};

Periods periods_of(double e2) { return {kx_ellint1(e2), kx_ellint1(1.0 - e2), kx_ellint2(e2)}; }

// Past the quarter period the principal square roots of cn^2 and dn^2 give
// cn and dn the wrong sign, and farther out the iterations settle on other
// sheets of the multivalued atanh; such solutions are not the point.
constexpr double kPeriodSlack = 1e-12;
bool in_quarter(kx_dcomp u, const Periods &p) {
  return std::fabs(u.re) <= p.K * (1.0 + kPeriodSlack) &&
         std::fabs(u.im) <= p.Kp * (1.0 + kPeriodSlack);
}

// Near a pole the iteration above fails: its spherical start lies below K
// while the root lies just under K, where atanh(sn u) has a logarithmic
// pole, so the first step overshoots past K, and closer still 1 - sn u is
// below double resolution. Measured from the pole by v = K - u instead, with
// sn(K - v) = cd v, the equation reads
//   ln((dn v + cn v)/(sqrt(1 - e2) sn v)) - e atanh(e cd v) = w,
// of derivative -dn^2 v / sn v, and the point is Z = E(m) - E(am v). The
// map is odd, so southern points are solved as their northern mirror
// images. The polar form is taken within these reaches of the pole (about
// 2.5 degrees) and over the pole, and wherever the iteration above fails.
constexpr double kPolarSn = 1e-3;     // |sn -+ 1| of the forward start
constexpr double kPolarReach = 0.05;  // |Z -+ E(m)| of the inverse target
// The meridians 90 degrees out map onto the lines Re Z = +-E(m), the image
// of Re u = +-K, where the principal roots of the direct form pick either
// side: points within this many radians of those meridians, and inverse
// targets this close to those lines (some 6 km) or beyond them, take the
// polar form.
constexpr double kPolarBand = 1e-3;

struct PolarTerms {
  kx_dcomp s, c, d;  // sn, cn, dn of v
};

PolarTerms polar_terms(kx_dcomp v, double e2) {
  PolarTerms t;
  kx_zsn(v.re, v.im, e2, &t.s.re, &t.s.im);
  kx_zcn(v.re, v.im, e2, &t.c.re, &t.c.im);
  kx_zdn(v.re, v.im, e2, &t.d.re, &t.d.im);
  return t;
}

kx_dcomp polar_isometric(const PolarTerms &t, const EllipsoidConstants &k) {
  kx_dcomp l;
  kx_dcomp_log(&l, div(add(t.d, t.c), scale(std::sqrt(k.one_minus_e2), t.s)));
  return sub(l, scale(k.e, catanh(scale(k.e, div(t.c, t.d)))));
}

bool polar_in_range(kx_dcomp v, const Periods &p) {
  return in_quarter(cx(v.re - p.K, v.im), p) || in_quarter(cx(v.re + p.K, v.im), p);
}

bool polar_forward(kx_dcomp w, double e2, const EllipsoidConstants &k, const Periods &p,
                   kx_dcomp &Z) {
  const bool south = w.re < 0.0;
  if (south) w = cx(-w.re, -w.im);
  // The spherical solution, tan v = csch w, as the start.
  kx_dcomp v, t;
  kx_dcomp_atan(&v, *kx_dcomp_inv(&t, *kx_dcomp_sinh(&t, w)));
  const bool ok = newton(v, k, [&](kx_dcomp r) {
    const PolarTerms pt = polar_terms(r, e2);
    kx_dcomp G = sub(polar_isometric(pt, k), w);
    // The logarithm fixes the longitude only up to whole turns; on the
    // far half of the central meridian its branch cut would flip it.
    G.im = std::remainder(G.im, kx::kTwoPi);
    return add(r, div(mul(G, pt.s), mul(pt.d, pt.d)));
  });
  if (!ok || !polar_in_range(v, p)) return false;
  kx_dcomp Ev;
  kx_dcomp_iellint2(&Ev, v, e2);
  Z = sub(cx(p.E, 0.0), Ev);
  if (south) Z = cx(-Z.re, -Z.im);
  return true;
}

bool polar_inverse(kx_dcomp T, double e2, const EllipsoidConstants &k, const Periods &p,
                   kx_dcomp &q) {
  const bool south = T.re < 0.0;
  if (south) T = cx(-T.re, -T.im);
  const kx_dcomp rest = sub(cx(p.E, 0.0), T);  // E(am v) sought
  kx_dcomp v = rest;
  const bool ok = newton(v, k, [&](kx_dcomp r) {
    kx_dcomp Ev, d;
    kx_dcomp_iellint2(&Ev, r, e2);
    kx_zdn(r.re, r.im, e2, &d.re, &d.im);
    return sub(r, div(sub(Ev, rest), mul(d, d)));
  });
  if (!ok || !polar_in_range(v, p)) return false;
  if (v.re == 0.0 && v.im == 0.0) {
    q = cx(HUGE_VAL, 0.0);  // the pole itself
  } else {
    q = polar_isometric(polar_terms(v, e2), k);
  }
  if (south) q = cx(-q.re, -q.im);
  return true;
}

int forward_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const Periods p = periods_of(e2);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (!finite(x) || !finite(y)) return false;
    const double phi = kx::inside_poles(y), dlam = kx_delta(x - lam0);
    const double chi = kx::geodetic_to_conformal(e2, phi);
    const double psi = chi == 0.0 ? 0.0 : std::log(std::tan(kx::kPi / 4.0 + chi / 2.0));
    const kx_dcomp w = cx(psi, dlam);
    kx_dcomp u, t;
    kx_dcomp_asin(&u, *kx_dcomp_tanh(&t, w));
    kx_dcomp Z;
    const bool polar = kx_dcomp_abs(sub(cx(std::fabs(t.re), t.im), cx(1.0, 0.0))) < kPolarSn ||
                       std::fabs(dlam) > kHalfPi - kPolarBand;
    const bool ok = !polar && newton(u, k, [&](kx_dcomp v) {
      const Sn s = sn_terms(v, e2, k.e);
      const kx_dcomp F = sub(isometric(s.s, k.e), w);
      const kx_dcomp cndn = mul(csqrt(s.cn2), csqrt(s.dn2));
      return sub(v, over(mul(F, cndn), k.one_minus_e2));
    }) && in_quarter(u, p);
    if (ok) {
      Z = meridian_z(u, sn_terms(u, e2, k.e), e2);
    } else if (!polar_forward(w, e2, k, p, Z)) {
      return false;
    }
    x = k.ak0 * Z.im;
    y = k.ak0 * Z.re - k.y0;
    return finite(x) && finite(y);
  });
}

int inverse_ellipsoid(const double *sph, const double *par, int n, double *coords,
                      const EllipsoidConstants &k) {
  const double e2 = sph[1], lam0 = par[kx::kSlotCentralMeridian];
  const Periods p = periods_of(e2);
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (!finite(x) || !finite(y)) return false;
    const kx_dcomp target = cx((y + k.y0) / k.ak0, x / k.ak0);
    const kx_dcomp mirror = cx(std::fabs(target.re), target.im);
    const bool polar =
        mirror.re > p.E - kPolarBand || kx_dcomp_abs(sub(mirror, cx(p.E, 0.0))) < kPolarReach;
    kx_dcomp u = target, q;
    const bool ok = !polar && newton(u, k, [&](kx_dcomp v) {
      const Sn s = sn_terms(v, e2, k.e);
      const kx_dcomp dZ = sub(meridian_z(v, s, e2), target);
      return sub(v, over(mul(dZ, s.dn2), k.one_minus_e2));
    }) && in_quarter(u, p);
    if (ok) {
      q = isometric(sn(u, e2), k.e);
    } else if (!polar_inverse(target, e2, k, p, q)) {
      return false;
    }
    const double chi = 2.0 * std::atan(std::exp(q.re)) - kHalfPi;
    x = kx_delta(lam0 + q.im);
    y = kx::conformal_to_geodetic(e2, chi);
    return finite(x) && finite(y);
  });
}

int forward_sphere(const double *par, int n, double *coords, const SphereConstants &k) {
  const double lam0 = par[kx::kSlotCentralMeridian], phi0 = par[kx::kSlotLatitudeOfOrigin];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (!finite(x) || !finite(y)) return false;
    const double phi = kx::inside_poles(y), dlam = kx_delta(x - lam0);
    double B = std::cos(phi) * std::sin(dlam);
    if (kx::near_eq(std::fabs(B), 1.0)) B = std::copysign(kNearOne, B);
    x = k.half_rk0 * std::log((1.0 + B) / (1.0 - B));
    y = k.rk0 * (std::atan2(std::tan(phi), std::cos(dlam)) - phi0);
    return true;
  });
}

int inverse_sphere(const double *par, int n, double *coords, const SphereConstants &k) {
  const double lam0 = par[kx::kSlotCentralMeridian], phi0 = par[kx::kSlotLatitudeOfOrigin];
  return kx::convert_points(n, coords, [&](double &x, double &y) {
    if (!finite(x) || !finite(y)) return false;
    const double D = y / k.rk0 + phi0;
    const double ep = std::exp(x / k.rk0), em = std::exp(-x / k.rk0);
    double g = 2.0 * std::sin(D) / (ep + em);
    if (g > 1.0 || g < -1.0) g = g > 0.0 ? 1.0 : -1.0;
    const double dlam = std::atan2(ep - em, 2.0 * std::cos(D));
    x = kx_delta(lam0 + dlam);
    y = std::asin(g);
    return finite(x);
  });
}

}  // namespace

extern "C" {

KX_API int kx_tm_complex_fwd(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return forward_ellipsoid(
        sph, par, n, coords,
        kx::constants_or_build(ivals, dvals, kx::tm_complex::build_ellipsoid, sph, par));
  return forward_sphere(
      par, n, coords, kx::constants_or_build(ivals, dvals, kx::tm_complex::build_sphere, sph, par));
}

KX_API int kx_tm_complex_inv(const double *sph, const double *par, int n, double *coords,
                             const int *ivals, const double *dvals) {
  if (sph == nullptr || par == nullptr) return kx::fail_points(n, coords);
  if (kx::is_ellipsoid(sph[1]))
    return inverse_ellipsoid(
        sph, par, n, coords,
        kx::constants_or_build(ivals, dvals, kx::tm_complex::build_ellipsoid, sph, par));
  return inverse_sphere(
      par, n, coords, kx::constants_or_build(ivals, dvals, kx::tm_complex::build_sphere, sph, par));
}

}  // extern "C"
