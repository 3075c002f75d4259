// Single calls of the math functions against tests/data/math/cases.csv
// (closed forms, mpmath, GeodSolve; tests/scripts/gen_math_cases.py): edge
// cases, limits, bad input and the documented codes of the predicates.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "kx.h"
#include "math/math2.h"
#include "support/cases.h"

namespace {

using V = std::vector<double>;
// Outputs through pointers are requested by the bits of a mask; the others
// are passed as null and come back NaN.
using Fn = std::function<V(const V &, unsigned)>;
using kxtest::num;

double *out(V &r, unsigned mask, std::size_t k) { return mask >> k & 1 ? &r[k] : nullptr; }
// f(N doubles) returning a number, or f(N doubles, M output pointers).
template <class F, std::size_t... I>
Fn value(F f, std::index_sequence<I...>) {
  return [f](const V &a, unsigned) { return V{double(f(a[I]...))}; };
}
template <std::size_t N, class F>
Fn value(F f) { return value(f, std::make_index_sequence<N>()); }
template <class F, std::size_t... I, std::size_t... J>
Fn outputs(F f, std::index_sequence<I...>, std::index_sequence<J...>) {
  return [f](const V &a, unsigned k) { V r(sizeof...(J), NAN); f(a[I]..., out(r, k, J)...); return r; };
}
template <std::size_t N, std::size_t M, class F>
Fn outputs(F f) { return outputs(f, std::make_index_sequence<N>(), std::make_index_sequence<M>()); }
Fn modulus(double (*f)(kx_dcomp)) { return [f](const V &a, unsigned) { return V{f({a[0], a[1]})}; }; }
// The record forms return their result pointer, null for a null record.
template <class F, class... Z>
V record(F f, unsigned k, Z... z) {
  kx_dcomp o{NAN, NAN}, *p = k != 0 ? &o : nullptr;
  EXPECT_EQ(f(p, z...), p);
  return V{o.re, o.im};
}
Fn w(kx_dcomp *(*f)(kx_dcomp *, kx_dcomp)) {
  return [f](const V &a, unsigned k) { return record(f, k, kx_dcomp{a[0], a[1]}); };
}
Fn w(kx_dcomp *(*f)(kx_dcomp *, kx_dcomp, kx_dcomp)) {
  return [f](const V &a, unsigned k) { return record(f, k, kx_dcomp{a[0], a[1]}, kx_dcomp{a[2], a[3]}); };
}

double linear(double x, void *) { return x - 1.0; }
double cosine(double x, void *) { return std::cos(x) - x; }
double scaled(double x, void *k) { return *static_cast<double *>(k) * (x - 0.3); }
double cubed(double x, void *) { return std::pow(x - 0.123456789, 3); }
double always_nan(double, void *) { return NAN; }
double nan_inside(double x, void *) { return x > 0.7 ? NAN : x - 1.2; }
double no_sign_change(double x, void *) { return x * x + 1.0; }
double infinite(double x, void *) { return x < 1.0 ? -INFINITY : INFINITY; }
Fn root(double (*f)(double, void *)) {
  return [f](const V &a, unsigned) { double k = a.empty() ? 0.0 : a[0]; return V{kx_zeroin(&k, f)}; };
}

const std::map<std::string, Fn> &functions() {
#define KX_V(n, f) {#f, value<n>(kx_##f)}
#define KX_O(n, m, f) {#f, outputs<n, m>(kx_##f)}
#define KX_R(f) {#f, w(kx_##f)}
  static const std::map<std::string, Fn> fns = {
      KX_V(1, delta), KX_V(2, eq), KX_V(2, w), KX_V(3, n), KX_V(3, m), KX_V(2, phi_to_chi), KX_V(2, chi_to_phi),
      KX_V(2, phi_to_beta), KX_V(2, beta_to_phi), KX_V(2, phi_to_mu), KX_V(2, mu_to_phi), KX_V(2, phi_to_eta),
      KX_V(2, eta_to_phi), KX_V(2, phi_to_phig), KX_V(2, phig_to_phi), KX_V(2, phig_to_eta), KX_V(3, q),
      KX_V(2, q90), KX_V(2, auth_r), KX_O(5, 3, cart_to_curv), KX_O(5, 3, curv_to_cart),
      KX_V(2, zabs), KX_V(2, zarg), {"dcomp_abs", modulus(kx_dcomp_abs)}, {"dcomp_arg", modulus(kx_dcomp_arg)},
      KX_O(4, 2, zdiv), KX_O(2, 2, zinv), KX_O(2, 2, zlog), KX_O(2, 2, zsqrt), KX_O(2, 2, zexp),
      KX_O(2, 2, ztanh), KX_O(2, 2, zasin), KX_O(2, 2, zatan), KX_R(dcomp_div), KX_R(dcomp_inv),
      KX_R(dcomp_conjg), KX_R(dcomp_tanh), KX_R(dcomp_tan), KX_R(dcomp_asin), KX_R(dcomp_atanh), KX_R(dcomp_add),
      {"carlson_rf", value<3>(kx::carlson_rf)}, {"carlson_rd", value<3>(kx::carlson_rd)}, KX_V(1, ellint1),
      KX_V(1, ellint2), KX_V(2, iellint2amp), KX_V(2, iellint2), KX_V(2, sn), KX_V(2, cn), KX_V(2, dn),
      KX_O(3, 2, zsn), KX_O(3, 2, zcn), KX_O(3, 2, zdn), KX_O(3, 2, ziellint2), KX_V(8, intriangle),
      KX_O(6, 3, geodesic_distance), KX_O(6, 2, geodesic_coordinate),
      {"zeroin_linear", root(linear)}, {"zeroin_cosine", root(cosine)}, {"zeroin_scaled", root(scaled)},
      {"zeroin_cubed", root(cubed)}, {"zeroin_nan", root(always_nan)}, {"zeroin_nan_inside", root(nan_inside)},
      {"zeroin_no_sign_change", root(no_sign_change)}, {"zeroin_infinite", root(infinite)},
      {"zeroin_null", root(nullptr)},
      {"dcomp_sn", [](const V &a, unsigned k) { return record(kx_dcomp_sn, k, kx_dcomp{a[0], a[1]}, a[2]); }},
      {"dcomp_iellint2", [](const V &a, unsigned k) { return record(kx_dcomp_iellint2, k, kx_dcomp{a[0], a[1]}, a[2]); }},
      {"isccw", [](const V &a, unsigned k) {
         int8_t o = 99;
         uint8_t p = 99;
         kx_isccw(a[0], a[1], a[2], a[3], a[4], a[5], k & 1 ? &o : nullptr, k & 2 ? &p : nullptr);
         return V{k & 1 ? double(o) : NAN, k & 2 ? double(p) : NAN};
       }},
      // n points; a buffer of at least two points starts as 7s.
      {"geodesic_coordarray", [](const V &a, unsigned k) {
         V r(2 * std::max(2, int(a[6])), 7.0);
         kx_geodesic_coordarray(a[0], a[1], a[2], a[3], a[4], a[5], k != 0 ? r.data() : nullptr, int(a[6]));
         return r;
       }},
  };
#undef KX_V
#undef KX_O
#undef KX_R
  return fns;
}

bool matches(const std::string &want, double got, double tol) {
  if (want == "*") return true;
  if (want == "nan") return std::isnan(got);
  if (want == "finite") return std::isfinite(got);
  if (want == "nonfinite") return !std::isfinite(got);
  const double x = num(want);
  return tol == 0 || std::isinf(x) ? got == x : std::fabs(got - x) <= tol;
}

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// Also: each output requested alone equals the full call's, and a call
// without outputs writes nothing and returns.
TEST(MathCases, SingleCallsMatchTheirSource) {
  const auto rows = kxtest::read_csv(kxtest::data_path("math/cases.csv"));
  ASSERT_GT(rows.size(), 300u);
  for (const auto &r : rows) {
    std::size_t eq = 1;
    while (eq < r.size() && r[eq] != "=") ++eq;
    ASSERT_LT(eq + 2, r.size()) << r[0];
    const auto fn = functions().find(r[0]);
    ASSERT_NE(fn, functions().end()) << r[0];
    V args;
    std::string call = r[0];
    for (std::size_t i = 1; i < eq; ++i) args.push_back(num(r[i])), call += " " + r[i];
    const double tol = num(r[r.size() - 2]);
    const V got = fn->second(args, ~0u);
    ASSERT_EQ(got.size(), r.size() - eq - 3) << call;
    for (std::size_t k = 0; k < got.size(); ++k) {
      EXPECT_TRUE(matches(r[eq + 1 + k], got[k], tol))
          << call << ": output " << k << " " << got[k] << ", want " << r[eq + 1 + k] << " (" << r.back() << ")";
      if (k < 3) {
        EXPECT_TRUE(same(fn->second(args, 1u << k)[k], got[k])) << call << ": output " << k << " alone";
      }
    }
    fn->second(args, 0);
  }
}

}  // namespace
