// The projection driver with a recording test projection: unit factors,
// false origin, latitude clamping, parameter defaults and the fallbacks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "kx.h"

namespace {

constexpr double kDegree = 0.0174532925199433;
constexpr double kFoot = 0.3048;

double g_par[16];
const double *g_dvals = nullptr;
std::vector<double> g_input;

// x = a * lambda, y = a * phi; remembers what the driver handed over.
int linear_fwd(const double *sph, const double *par, int n, double *xy, const int *,
               const double *dvals) {
  std::memcpy(g_par, par, sizeof g_par);
  g_dvals = dvals;
  if (n <= 0) return 0;
  g_input.assign(xy, xy + 2 * n);
  for (int i = 0; i < 2 * n; ++i) xy[i] *= sph[0];
  return n;
}

int linear_inv(const double *sph, const double *par, int n, double *xy, const int *,
               const double *dvals) {
  std::memcpy(g_par, par, sizeof g_par);
  g_dvals = dvals;
  if (n <= 0) return 0;
  g_input.assign(xy, xy + 2 * n);
  for (int i = 0; i < 2 * n; ++i) xy[i] /= sph[0];
  return n;
}

int one_constant(kx_pcsconstants pc, const double *, const double *) {
  (void)pc;
  return 0;
}

kx_projcs make(kx_unit linear, std::initializer_list<std::pair<const char *, double>> params,
               double axis = 1000.0) {
  kx_parameter slots[16] = {};
  for (const auto &p : params) {
    kx_parameter a = kx_parameter_new(p.first, p.second);
    slots[kx_parameter_index(a)] = a;
  }
  kx_geogcs g = kx_geogcs_new("GCS_Test", kx_datum_new("D_Test", kx_spheroid_new("S", axis, 0.0)),
                              kx_primem_new("Greenwich", 0.0), kx_unit_new("Degree", kDegree));
  return kx_projcs_new(
      "PCS_Test", g,
      kx_projection_new_withconstfunc("Linear", linear_fwd, linear_inv, nullptr, one_constant),
      slots, linear);
}

TEST(ProjectionDriver, UnitsFalseOriginAndClamping) {
  kx_projcs p = make(kx_unit_new("Foot", kFoot),
                     {{"False_Easting", 1000}, {"False_Northing", -50}, {"Central_Meridian", 9}});
  double pts[] = {0.0, 0.0, 10.0, 95.0, -20.0, -100.0, 30.0, NAN};
  EXPECT_EQ(kx_geog_to_proj(p, 4, pts), 4);
  // Radians go in, clamped to the poles; NaN is left to the projection.
  EXPECT_EQ(g_input[3], 1.5707963267948966);
  EXPECT_EQ(g_input[5], -1.5707963267948966);
  EXPECT_TRUE(std::isnan(g_input[7]));
  EXPECT_EQ(g_input[2], 10.0 * kDegree);
  EXPECT_EQ(g_par[0], 1000 * kFoot);
  EXPECT_EQ(g_par[2], 9 * kDegree);
  EXPECT_EQ(g_par[5], 1.0);
  EXPECT_EQ(g_par[12], 1.0);
  EXPECT_EQ(g_dvals, nullptr);
  // The origin lands on the false easting, up to the last place.
  EXPECT_NEAR(pts[0], 1000.0, 1e-12);
  EXPECT_NEAR(pts[1], -50.0, 1e-12);
  EXPECT_DOUBLE_EQ(pts[2], (1000.0 * 10 * kDegree + 1000 * kFoot) / kFoot);

  // Back again: no clamping on the way in, units and origin undone.
  double back[] = {pts[0], pts[1], pts[2], pts[3]};
  EXPECT_EQ(kx_proj_to_geog(p, 2, back), 2);
  EXPECT_NEAR(back[0], 0.0, 1e-12);
  EXPECT_NEAR(back[2], 10.0, 1e-12);
  EXPECT_NEAR(back[3], 90.0, 1e-12);
  double past[] = {1000.0, (1000.0 * 2.0 - 50 * kFoot) / kFoot};
  kx_proj_to_geog(p, 1, past);
  EXPECT_GT(past[1], 90.0);  // 2 rad is past the pole and stays so

  EXPECT_EQ(kx_geog_to_proj(p, 0, pts), 0);
  EXPECT_EQ(kx_geog_to_proj(p, -5, pts), 0);
  EXPECT_EQ(kx_geog_to_proj(p, 3, nullptr), 0);
  kx_projcs_del(p);
}

TEST(ProjectionDriver, SlotDefaultsAndHeight) {
  kx_projcs p = make(kx_unit_new("Foot", kFoot),
                     {{"Standard_Parallel_1", 30}, {"hEiGhT", 100}, {"Scale_Factor", 0}});
  double pt[] = {1.0, 1.0};
  kx_geog_to_proj(p, 1, pt);
  EXPECT_EQ(g_par[4], 30 * kDegree);
  EXPECT_EQ(g_par[5], 0.0);  // explicit zero is kept
  EXPECT_EQ(g_par[15], 100 * kFoot);
  kx_projcs_del(p);

  kx_projcs q = make(kx_unit_new("Foot", kFoot), {{"Option", 3}});
  kx_geog_to_proj(q, 1, pt);
  EXPECT_EQ(g_par[15], 3.0);
  kx_projcs_del(q);
}

TEST(ProjectionDriver, InvalidProjectedCsConvertsNothingButCounts) {
  // Without a projected CS every factor is 1: only the clamping acts.
  double pts[] = {12.5, 0.5, -3.0, 91.0};
  EXPECT_EQ(kx_geog_to_proj(nullptr, 2, pts), 2);
  EXPECT_DOUBLE_EQ(pts[0], 12.5);
  EXPECT_DOUBLE_EQ(pts[1], 0.5);
  EXPECT_DOUBLE_EQ(pts[3], 1.5707963267948966);
  EXPECT_EQ(kx_proj_to_geog(nullptr, 2, pts), 2);
  EXPECT_DOUBLE_EQ(pts[0], 12.5);
}

}  // namespace
