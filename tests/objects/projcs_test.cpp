// Projection, method, projected CS and transformation objects built from
// parts: registry-free behaviour, ownership, equality, copies in other
// units, constants loading and the accessor defaults of invalid handles.
#include "kx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr double kDegree = 0.0174532925199433;

// A test projection: x = a * lambda * k0, y = a * phi; its constants
// function records what the loader handed it.
double g_seen_sph[2];
double g_seen_par[16];
int g_const_calls = 0;

int test_fwd(const double *sph, const double *par, int n, double *xy, const int *, const double *) {
  for (int i = 0; i < n; ++i) {
    xy[2 * i] = sph[0] * (xy[2 * i] - par[2]) * par[5];
    xy[2 * i + 1] = sph[0] * xy[2 * i + 1];
  }
  return n > 0 ? n : 0;
}

int test_inv(const double *sph, const double *par, int n, double *xy, const int *, const double *) {
  for (int i = 0; i < n; ++i) {
    xy[2 * i] = xy[2 * i] / (sph[0] * par[5]) + par[2];
    xy[2 * i + 1] = xy[2 * i + 1] / sph[0];
  }
  return n > 0 ? n : 0;
}

int test_const(kx_pcsconstants pc, const double *sph, const double *par) {
  ++g_const_calls;
  std::memcpy(g_seen_sph, sph, sizeof g_seen_sph);
  std::memcpy(g_seen_par, par, sizeof g_seen_par);
  (void)pc;
  return 0;  // accepts nothing: nothing may stay attached
}

// Attaches one double, as a projection's constants function does.
int storing_const(kx_pcsconstants pc, const double *sph, const double *) {
  int *iv = static_cast<int *>(kx_allocate(2 * sizeof(int)));
  double *dv = static_cast<double *>(kx_allocate(sizeof(double)));
  iv[0] = 2;
  iv[1] = 1;
  dv[0] = sph[0];
  // The record exposes its arrays for the function to fill.
  int **ivp = reinterpret_cast<int **>(reinterpret_cast<char *>(pc) + sizeof(void *));
  double **dvp = reinterpret_cast<double **>(reinterpret_cast<char *>(pc) + 2 * sizeof(void *));
  *ivp = iv;
  *dvp = dv;
  return 1;
}

kx_horizon *test_horizon(const double *, const double *) { return nullptr; }

int method_fwd(const double *, const double *, const double *, const char *, int n, double *,
               double *, const int *, const float *, const double *) {
  return n;
}
int method_inv(const double *, const double *, const double *, const char *, int n, double *,
               double *, const int *, const float *, const double *) {
  return n;
}
std::string g_dataset;
int method_const(kx_gtconstants, const char *dataset) {
  g_dataset = dataset;
  return 0;
}

kx_geogcs wgs84(kx_unit angular = nullptr) {
  return kx_geogcs_new("GCS_WGS_1984",
                       kx_datum_new("D_WGS_1984", kx_spheroid_new("WGS_1984", 6378137.0, 1 / 298.257223563)),
                       kx_primem_new("Greenwich", 0.0),
                       angular != nullptr ? angular : kx_unit_new("Degree", kDegree));
}

struct Slots {
  kx_parameter p[16] = {};
  Slots &set(const char *name, double v) {
    kx_parameter a = kx_parameter_new(name, v);
    p[kx_parameter_index(a)] = a;
    return *this;
  }
};

kx_projcs test_pcs(const char *name, Slots slots, kx_unit linear = nullptr,
                   kx_pcsconst_fn fn = test_const) {
  return kx_projcs_new(name, wgs84(),
                       kx_projection_new_withconstfunc("Test", test_fwd, test_inv, nullptr, fn),
                       slots.p, linear != nullptr ? linear : kx_unit_new("Meter", 1.0));
}

std::string text_of(kx_projcs p) {
  static char b[KX_TEXT_MAX_PROJCS + 1];
  EXPECT_EQ(kx_projcs_to_string(p, b), b);
  return b;
}

TEST(ProjectionObject, ConstructorsAccessorsAndDefaults) {
  EXPECT_EQ(kx_projection_new(nullptr, test_fwd, test_inv, nullptr), nullptr);
  EXPECT_EQ(kx_projection_new("P", nullptr, test_inv, nullptr), nullptr);
  EXPECT_EQ(kx_projection_new("P", test_fwd, nullptr, nullptr), nullptr);

  kx_projection p = kx_projection_new("My_Projection", test_fwd, test_inv, nullptr);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(kx_projection_status(p), 1);
  EXPECT_EQ(kx_projection_forward(p), test_fwd);
  EXPECT_EQ(kx_projection_inverse(p), test_inv);
  // A missing horizon becomes the normal cylindrical one.
  EXPECT_EQ(kx_projection_horizon(p), kx_horizon_normal_cylindrical);
  EXPECT_EQ(kx_projection_horizon_pcs(p), nullptr);
  EXPECT_EQ(kx_projection_pcsconstfunc(p), nullptr);
  char b[KX_TEXT_MAX_PROJECTION + 1];
  EXPECT_EQ(kx_projection_to_string(p, b), 27);
  EXPECT_STREQ(b, "PROJECTION[\"My_Projection\"]");

  kx_projection e = kx_projection_new_extended("X", test_fwd, test_inv, test_horizon, test_horizon,
                                               test_horizon, test_horizon, test_const);
  kx_projection c = kx_projection_clone(e);
  EXPECT_EQ(kx_projection_horizon_gcs_raster(c), test_horizon);
  EXPECT_EQ(kx_projection_horizon_pcs_raster(c), test_horizon);
  EXPECT_EQ(kx_projection_pcsconstfunc(c), test_const);
  EXPECT_EQ(kx_projection_eq(e, c), 1);
  // Names differ: not equal even with identical functions; the horizon counts.
  kx_projection other = kx_projection_new("Y", test_fwd, test_inv, test_horizon);
  EXPECT_EQ(kx_projection_eq(e, other), 0);
  kx_projection nohz = kx_projection_new("x", test_fwd, test_inv, nullptr);
  EXPECT_EQ(kx_projection_eq(e, nohz), 0);
  kx_projection lower = kx_projection_new("x", test_fwd, test_inv, test_horizon);
  EXPECT_EQ(kx_projection_eq(e, lower), 1);

  // Invalid handles: identity functions that still count the points.
  kx_projection_fn fwd = kx_projection_forward(nullptr);
  kx_projection_fn inv = kx_projection_inverse(reinterpret_cast<kx_projection>(b));
  double xy[4] = {1.5, -2.0, 3.0, 4.0};
  EXPECT_EQ(fwd(nullptr, nullptr, 2, xy, nullptr, nullptr), 2);
  EXPECT_EQ(inv(nullptr, nullptr, 2, xy, nullptr, nullptr), 2);
  EXPECT_EQ(fwd(nullptr, nullptr, -3, xy, nullptr, nullptr), 0);
  EXPECT_EQ(xy[0], 1.5);
  EXPECT_EQ(xy[3], 4.0);
  EXPECT_EQ(kx_projection_horizon(nullptr), kx_horizon_normal_cylindrical);
  EXPECT_EQ(kx_projection_horizon_pcs(nullptr), nullptr);
  EXPECT_EQ(kx_projection_pcsconstfunc(nullptr), nullptr);
  EXPECT_EQ(kx_projection_p(nullptr), 0);
  EXPECT_EQ(kx_projection_clone(nullptr), nullptr);
  EXPECT_EQ(kx_projection_to_string(nullptr, b), 14);
  EXPECT_STREQ(b, "PROJECTION[\"\"]");
  // The composite writers return the buffer, null without one.
  EXPECT_EQ(kx_projcs_to_string(nullptr, nullptr), nullptr);
  EXPECT_EQ(kx_geogtran_to_string(nullptr, nullptr), nullptr);
  char big[KX_TEXT_MAX_GEOGTRAN + 1];
  EXPECT_EQ(kx_geogtran_to_string(nullptr, big), big);
  EXPECT_EQ(std::strncmp(big, "GEOGTRAN[\"\",GEOGCS[\"\",", 22), 0) << big;

  for (kx_projection q : {p, e, c, other, nohz, lower}) kx_projection_del(q);
}

TEST(ProjectionObject, UnknownNamesDoNotRead) {
  EXPECT_EQ(kx_projection_from_string("PROJECTION[\"No_Such_Projection\"]"), nullptr);
  EXPECT_EQ(kx_projection_from_string("PROJECTION[]"), nullptr);
  EXPECT_EQ(kx_projection_from_string(nullptr), nullptr);
  EXPECT_EQ(kx_method_from_string("METHOD[\"Nothing\"]"), nullptr);
}

TEST(MethodObject, ConstructorsAccessorsAndDefaults) {
  EXPECT_EQ(kx_method_new("M", nullptr, method_inv), nullptr);
  EXPECT_EQ(kx_method_new(nullptr, method_fwd, method_inv), nullptr);
  kx_method m = kx_method_new_withconstfunc("My_Method", method_fwd, method_inv, method_const);
  ASSERT_NE(m, nullptr);
  kx_method c = kx_method_clone(m);
  EXPECT_EQ(kx_method_gtconstfunc(c), method_const);
  EXPECT_EQ(kx_method_eq(m, c), 1);
  kx_method swapped = kx_method_new("my_method", method_inv, method_fwd);
  EXPECT_EQ(kx_method_eq(m, swapped), 0);
  char b[KX_TEXT_MAX_METHOD + 1];
  kx_method_to_string(m, b);
  EXPECT_STREQ(b, "METHOD[\"My_Method\"]");
  // The default of an invalid method leaves coordinates alone.
  double xy[2] = {0.25, 0.5};
  double h = 7.0;
  EXPECT_EQ(kx_method_forward(nullptr)(nullptr, nullptr, nullptr, "", 1, xy, &h, nullptr, nullptr,
                                       nullptr),
            1);
  EXPECT_EQ(xy[0], 0.25);
  EXPECT_EQ(h, 7.0);
  EXPECT_EQ(kx_method_gtconstfunc(nullptr), nullptr);
  for (kx_method q : {m, c, swapped}) kx_method_del(q);
}

TEST(ProjectedCs, TextAndEquality) {
  kx_projcs a = test_pcs("PCS_A", Slots().set("False_Easting", 500000).set("Central_Meridian", 9));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(text_of(a),
            "PROJCS[\"PCS_A\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\","
            "6378137.0,298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\","
            "0.0174532925199433]],PROJECTION[\"Test\"],PARAMETER[\"False_Easting\",500000.0],"
            "PARAMETER[\"Central_Meridian\",9.0],UNIT[\"Meter\",1.0]]");
  kx_projcs b = test_pcs("PCS_B", Slots().set("False_Easting", 500000).set("Central_Meridian", 9));
  EXPECT_EQ(kx_projcs_eq(a, b), 0);
  EXPECT_EQ(kx_projcs_eqnn(a, b), 1);
  // An empty slot equals only an empty slot: 0 is not "absent".
  kx_projcs c = test_pcs("PCS_A", Slots()
                                      .set("False_Easting", 500000)
                                      .set("Central_Meridian", 9)
                                      .set("False_Northing", 0));
  EXPECT_EQ(kx_projcs_eqnn(a, c), 0);
  kx_projcs d = kx_projcs_clone(a);
  EXPECT_EQ(kx_projcs_eq(a, d), 1);
  EXPECT_EQ(kx_projcs_status(d), 1);
  EXPECT_EQ(text_of(d), text_of(a));

  kx_parameter got[16];
  kx_projcs_parameters(a, got);
  EXPECT_NE(got[0], nullptr);
  EXPECT_EQ(got[1], nullptr);
  EXPECT_EQ(kx_parameter_value(got[2]), 9.0);
  kx_projcs_parameters(nullptr, got);
  for (kx_parameter q : got) EXPECT_EQ(q, nullptr);

  // Null pieces: nothing built (the caller keeps them).
  kx_parameter none[16] = {};
  kx_geogcs g = wgs84();
  kx_unit u = kx_unit_new("Meter", 1.0);
  EXPECT_EQ(kx_projcs_new("X", g, nullptr, none, u), nullptr);
  EXPECT_EQ(kx_projcs_new("X", g, nullptr, nullptr, u), nullptr);
  kx_geogcs_del(g);
  kx_unit_del(u);

  for (kx_projcs q : {a, b, c, d}) kx_projcs_del(q);
  EXPECT_EQ(kx_projcs_geogcs(nullptr), nullptr);
  EXPECT_EQ(kx_projcs_eq(nullptr, nullptr), 0);
  EXPECT_EQ(kx_projcs_isconstloaded(nullptr), 0);
  EXPECT_EQ(kx_projcs_load_constants(nullptr), 0);
}

TEST(ProjectedCs, ConstantsLoadingUnpacksLikeTheDriver) {
  g_const_calls = 0;
  // Feet, a "Height" parameter in slot 15, no Standard_Parallel_2, no scale.
  kx_projcs p = test_pcs("PCS_Feet",
                         Slots()
                             .set("False_Easting", 1000)
                             .set("Standard_Parallel_1", 30)
                             .set("HEIGHT", 10)
                             .set("X_Scale", 0),
                         kx_unit_new("Foot", 0.3048));
  EXPECT_EQ(kx_projcs_load_constants(p), 0);
  EXPECT_EQ(g_const_calls, 1);
  EXPECT_EQ(kx_projcs_isconstloaded(p), 0);
  EXPECT_EQ(kx_projcs_pcsconstants(p), nullptr);
  EXPECT_EQ(g_seen_sph[0], 6378137.0);
  const double f = 1.0 / 298.257223563;
  EXPECT_EQ(g_seen_sph[1], (2.0 - f) * f);
  EXPECT_EQ(g_seen_par[0], 1000 * 0.3048);
  EXPECT_EQ(g_seen_par[3], 30 * kDegree);
  EXPECT_EQ(g_seen_par[4], 30 * kDegree);  // slot 4 from slot 3
  EXPECT_EQ(g_seen_par[5], 1.0);           // missing scale factor
  EXPECT_EQ(g_seen_par[12], 0.0);          // explicit 0 stays
  EXPECT_EQ(g_seen_par[13], 1.0);
  EXPECT_EQ(g_seen_par[15], 10 * 0.3048);
  kx_projcs_del(p);

  // "Option" in slot 15 is not a length.
  kx_projcs q = test_pcs("PCS_Option", Slots().set("Option", 2), kx_unit_new("Foot", 0.3048));
  kx_projcs_load_constants(q);
  EXPECT_EQ(g_seen_par[15], 2.0);
  kx_projcs_del(q);

  // Without a constants function nothing is called or attached.
  kx_projcs none = test_pcs("PCS_None", Slots(), nullptr, nullptr);
  EXPECT_EQ(kx_projcs_load_constants(none), 0);
  EXPECT_EQ(kx_projcs_isconstloaded(none), 0);
  kx_projcs_del(none);

  // A successful load attaches; reload replaces; a clone carries none.
  kx_projcs s = test_pcs("PCS_Store", Slots(), nullptr, storing_const);
  EXPECT_EQ(kx_projcs_load_constants(s), 1);
  EXPECT_EQ(kx_projcs_isconstloaded(s), 1);
  EXPECT_EQ(kx_pcsconstants_dvals(kx_projcs_pcsconstants(s))[0], 6378137.0);
  EXPECT_EQ(kx_pcsconstants_ivals(kx_projcs_pcsconstants(s))[1], 1);
  EXPECT_EQ(kx_projcs_load_constants(s), 1);
  kx_projcs sc = kx_projcs_clone(s);
  EXPECT_EQ(kx_projcs_isconstloaded(sc), 0);
  kx_projcs_unload_constants(s);
  EXPECT_EQ(kx_projcs_isconstloaded(s), 0);
  kx_projcs_load_constants(s);
  kx_projcs_del(s);  // frees the constants too (LeakSanitizer)
  kx_projcs_del(sc);
}

TEST(ProjectedCs, CloneInOtherUnits) {
  kx_projcs p = test_pcs("PCS_Units", Slots()
                                          .set("False_Easting", 500000)
                                          .set("False_Northing", 100)
                                          .set("Central_Meridian", 9)
                                          .set("Scale_Factor", 0.9996)
                                          .set("Height", 50));
  kx_unit grad = kx_unit_new("Grad", 3.141592653589793 / 200);
  kx_unit foot = kx_unit_new("Foot", 0.3048);
  kx_parameter s[16];

  kx_projcs g = kx_projcs_clone_alterunits(p, nullptr, grad);
  ASSERT_NE(g, nullptr);
  kx_projcs_parameters(g, s);
  EXPECT_NEAR(kx_parameter_value(s[2]), 10.0, 1e-13);
  EXPECT_EQ(kx_parameter_value(s[0]), 500000.0);
  EXPECT_EQ(kx_parameter_value(s[5]), 0.9996);
  EXPECT_EQ(kx_unit_factor(kx_geogcs_unit(kx_projcs_geogcs(g))), kx_unit_factor(grad));
  char name[64];
  kx_geogcs_name(kx_projcs_geogcs(g), name);
  EXPECT_STREQ(name, "GCS_WGS_1984");

  kx_projcs f = kx_projcs_clone_alterunits(p, foot, nullptr);
  kx_projcs_parameters(f, s);
  EXPECT_DOUBLE_EQ(kx_parameter_value(s[0]), 500000 / 0.3048);
  EXPECT_DOUBLE_EQ(kx_parameter_value(s[1]), 100 / 0.3048);
  EXPECT_EQ(kx_parameter_value(s[2]), 9.0);
  EXPECT_EQ(kx_parameter_value(s[15]), 50.0);  // never rescaled
  EXPECT_EQ(kx_unit_factor(kx_projcs_unit(f)), 0.3048);

  // Same units or no valid unit: a plain clone.
  kx_unit metre = kx_unit_new("Metre", 1.0);
  kx_projcs same = kx_projcs_clone_alterunits(p, metre, nullptr);
  EXPECT_EQ(kx_projcs_eq(same, p), 1);
  kx_projcs plain = kx_projcs_clone_alterunits(p, nullptr, nullptr);
  EXPECT_EQ(kx_projcs_eq(plain, p), 1);
  EXPECT_EQ(kx_projcs_clone_alterunits(nullptr, foot, grad), nullptr);

  for (kx_projcs q : {p, g, f, same, plain}) kx_projcs_del(q);
  for (kx_unit u : {grad, foot, metre}) kx_unit_del(u);
}

TEST(GeographicTransformation, PartsEqualityAndConstants) {
  kx_parameter slots[16] = {};
  slots[15] = kx_parameter_new("Dataset_conus", 0);
  kx_geogtran t = kx_geogtran_new(
      "Test_Tran", wgs84(), wgs84(),
      kx_method_new_withconstfunc("Grid", method_fwd, method_inv, method_const), slots);
  ASSERT_NE(t, nullptr);
  g_dataset.clear();
  EXPECT_EQ(kx_geogtran_load_constants(t), 0);
  EXPECT_EQ(g_dataset, "Dataset_conus");
  EXPECT_EQ(kx_geogtran_isconstloaded(t), 0);

  kx_geogtran c = kx_geogtran_clone(t);
  EXPECT_EQ(kx_geogtran_eq(t, c), 1);
  char b[KX_TEXT_MAX_GEOGTRAN + 1];
  char d[KX_TEXT_MAX_GEOGTRAN + 1];
  kx_geogtran_to_string(t, b);
  kx_geogtran_to_string(c, d);
  EXPECT_STREQ(b, d);
  EXPECT_NE(std::strstr(b, ",METHOD[\"Grid\"],PARAMETER[\"Dataset_conus\",0.0]]"), nullptr);

  // A zero translation is not an absent one.
  kx_parameter none[16] = {};
  kx_parameter zero[16] = {};
  zero[0] = kx_parameter_new("X_Axis_Translation", 0);
  kx_geogtran a = kx_geogtran_new("T", wgs84(), wgs84(), kx_method_new("M", method_fwd, method_inv),
                                  none);
  kx_geogtran z = kx_geogtran_new("T", wgs84(), wgs84(), kx_method_new("M", method_fwd, method_inv),
                                  zero);
  EXPECT_EQ(kx_geogtran_eq(a, z), 0);
  // Without a constants function nothing is loaded.
  EXPECT_EQ(kx_geogtran_load_constants(a), 0);
  EXPECT_EQ(kx_geogtran_isconstloaded(a), 0);

  kx_parameter got[16];
  kx_geogtran_parameters(z, got);
  EXPECT_NE(got[0], nullptr);
  EXPECT_EQ(kx_geogtran_method(nullptr), nullptr);
  EXPECT_EQ(kx_geogtran_gtconstants(nullptr), nullptr);
  for (kx_geogtran q : {t, c, a, z}) kx_geogtran_del(q);
}

TEST(ConstantsRecords, NewAccessorsAndInvalidHandles) {
  kx_pcsconstants pc = kx_pcsconstants_new();
  EXPECT_EQ(kx_pcsconstants_p(pc), 1);
  EXPECT_EQ(kx_pcsconstants_ivals(pc), nullptr);
  EXPECT_EQ(kx_pcsconstants_dvals(pc), nullptr);
  kx_pcsconstants_del(pc);
  kx_gtconstants gc = kx_gtconstants_new();
  EXPECT_EQ(kx_gtconstants_p(gc), 1);
  EXPECT_EQ(kx_gtconstants_fvals(gc), nullptr);
  kx_gtconstants_del(gc);
  EXPECT_EQ(kx_pcsconstants_p(reinterpret_cast<kx_pcsconstants>(gc == nullptr ? nullptr : &pc)), 0);
  EXPECT_EQ(kx_gtconstants_ivals(nullptr), nullptr);
  kx_gtconstants_del(nullptr);
  kx_pcsconstants_del(nullptr);
}

TEST(CoordinateSystem, DispatchOnKind) {
  kx_geogcs g = wgs84();
  kx_projcs p = test_pcs("PCS_On_WGS", Slots());
  EXPECT_EQ(kx_coordsys_p(g), 1);
  EXPECT_EQ(kx_coordsys_p(p), 1);
  kx_datum d = kx_datum_new("D", kx_spheroid_new("S", 6378137.0, 1 / 300.0));
  EXPECT_EQ(kx_coordsys_p(d), 0);
  EXPECT_EQ(kx_coordsys_eq(g, g), 1);
  EXPECT_EQ(kx_coordsys_eq(g, p), 0);
  EXPECT_EQ(kx_coordsys_eq(p, p), 1);
  EXPECT_EQ(kx_coordsys_eq(kx_projcs_geogcs(p), g), 1);

  char b[KX_TEXT_MAX_PROJCS + 1] = "junk";
  EXPECT_EQ(kx_coordsys_to_string(d, b), 0);
  EXPECT_STREQ(b, "");
  EXPECT_GT(kx_coordsys_to_string(g, b), 0);
  kx_coordsys back = kx_coordsys_from_string(b);
  EXPECT_EQ(kx_coordsys_eq(back, g), 1);
  kx_coordsys_del(back);
  // The PROJCS search ignores case and position, even inside a name.
  std::string odd = b;
  odd.replace(odd.find("GCS_WGS_1984"), 12, "My_ProjCS");
  EXPECT_EQ(kx_coordsys_from_string(odd.c_str()), nullptr);
  EXPECT_EQ(kx_coordsys_from_string(nullptr), nullptr);

  kx_coordsys gc = kx_coordsys_clone(g);
  kx_coordsys pcopy = kx_coordsys_clone(p);
  EXPECT_EQ(kx_coordsys_eq(pcopy, p), 1);
  EXPECT_EQ(kx_coordsys_clone(d), nullptr);
  kx_coordsys_del(d);  // ignored: not a coordinate system
  kx_datum_del(d);
  for (kx_coordsys q : {static_cast<kx_coordsys>(g), static_cast<kx_coordsys>(p), gc, pcopy}) {
    kx_coordsys_del(q);
  }
}

}  // namespace
