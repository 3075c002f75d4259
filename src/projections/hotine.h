// Constants of the Hotine oblique Mercator family, shared by its projection
// unit and the two constants functions.
#ifndef KX_PROJECTIONS_HOTINE_H
#define KX_PROJECTIONS_HOTINE_H

namespace kx {
namespace hotine {

// The dvals layout of both constants functions, in order.
struct Constants {
  double B;
  double lnE;
  double lam0;     // longitude of the natural origin
  double sin_g0;   // gamma0: azimuth of the central line on the aposphere
  double cos_g0;
  double sin_rot;  // grid rotation: alpha, or alpha_c of the two-point form
  double cos_rot;
  double uc;       // u of the centre
  double half_g0;
  double AkB;      // A k0 / B
  double BAk;      // B / (A k0)
};

// Latitude a pole centre or control point is moved to (pi/2 - 2e-7).
constexpr double kNudgedPole = 1.5707961267948967;

// Azimuth form: always succeeds.
Constants build_azimuth(const double *sph, const double *par);
// Two-point form: false when the control points coincide, lie on one pole
// or on one parallel, or their line never reaches the centre's latitude.
bool build_two_point(const double *sph, const double *par, Constants *k);

}  // namespace hotine
}  // namespace kx

#endif  // KX_PROJECTIONS_HOTINE_H
