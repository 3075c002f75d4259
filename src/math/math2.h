// Internal kernels of the elliptic-integral unit, shared with its tests.
#ifndef KX_MATH_MATH2_H
#define KX_MATH_MATH2_H

namespace kx {

// Carlson's symmetric integrals of the first and second kind. NaN for
// negative, NaN or infinite arguments; +infinity where the integral diverges
// (two zero arguments of R_F; z = 0 or x = y = 0 for R_D).
double carlson_rf(double x, double y, double z);
double carlson_rd(double x, double y, double z);

// Jacobi amplitude and functions of a real argument from one AGM descent.
struct JacobiReal {
  double am, sn, cn, dn;
};
JacobiReal jacobi_real(double u, double m);
// The same with the complementary parameter mc = 1 - m given separately, so
// that a parameter close to 1 keeps an exact complement (the rounding of
// 1 - m1 would move K(m1) visibly when m is tiny).
JacobiReal jacobi_real(double u, double m, double mc);

}  // namespace kx

#endif  // KX_MATH_MATH2_H
