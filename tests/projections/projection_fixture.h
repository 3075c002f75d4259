// Shared pieces of the projection tests: the function table by name, the
// parameter array of a case, loaded constants and the oracle tables.
#ifndef KX_TESTS_PROJECTIONS_PROJECTION_FIXTURE_H
#define KX_TESTS_PROJECTIONS_PROJECTION_FIXTURE_H

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kx.h"

namespace kxtest {

constexpr double kDeg = 3.141592653589793 / 180.0;

struct Projection {
  kx_projection_fn fwd;
  kx_projection_fn inv;
  kx_pcsconst_fn constants;
};

inline const std::map<std::string, Projection> &projections() {
  static const std::map<std::string, Projection> table = {
      {"mercator", {kx_mercator_fwd, kx_mercator_inv, kx_mercator_const}},
      {"stereographic", {kx_stereographic_fwd, kx_stereographic_inv, kx_stereographic_const}},
      {"stereographic_np",
       {kx_stereographic_np_fwd, kx_stereographic_np_inv, kx_stereographic_np_const}},
      {"stereographic_sp",
       {kx_stereographic_sp_fwd, kx_stereographic_sp_inv, kx_stereographic_sp_const}},
      {"double_stereographic",
       {kx_double_stereographic_fwd, kx_double_stereographic_inv, kx_double_stereographic_const}},
      {"orthographic", {kx_orthographic_fwd, kx_orthographic_inv, kx_orthographic_const}},
      {"gnomonic", {kx_gnomonic_fwd, kx_gnomonic_inv, kx_gnomonic_const}},
      {"lcc",
       {kx_lambert_conformal_conic_fwd, kx_lambert_conformal_conic_inv,
        kx_lambert_conformal_conic_const}},
      {"albers", {kx_albers_fwd, kx_albers_inv, kx_albers_const}},
      {"equidistant_conic",
       {kx_equidistant_conic_fwd, kx_equidistant_conic_inv, kx_equidistant_conic_const}},
      {"hotine_azimuth_natorigin",
       {kx_hotine_azimuth_natorigin_fwd, kx_hotine_azimuth_natorigin_inv, kx_hotine_azimuth_const}},
      {"hotine_azimuth_center",
       {kx_hotine_azimuth_center_fwd, kx_hotine_azimuth_center_inv, kx_hotine_azimuth_const}},
      {"hotine_two_point_natorigin",
       {kx_hotine_two_point_natorigin_fwd, kx_hotine_two_point_natorigin_inv,
        kx_hotine_two_point_const}},
      {"hotine_two_point_center",
       {kx_hotine_two_point_center_fwd, kx_hotine_two_point_center_inv,
        kx_hotine_two_point_const}},
      {"rso_natorigin", {kx_rso_natorigin_fwd, kx_rso_natorigin_inv, kx_hotine_azimuth_const}},
      {"rso_center", {kx_rso_center_fwd, kx_rso_center_inv, kx_hotine_azimuth_const}},
      {"krovak", {kx_krovak_fwd, kx_krovak_inv, nullptr}},
      {"two_point_equidistant",
       {kx_two_point_equidistant_fwd, kx_two_point_equidistant_inv, nullptr}},
      {"new_zealand_map_grid",
       {kx_new_zealand_map_grid_fwd, kx_new_zealand_map_grid_inv, nullptr}},
      // World projections (those without constants have a null constants function).
      {"mollweide", {kx_mollweide_fwd, kx_mollweide_inv, kx_mollweide_const}},
      {"eckert_i", {kx_eckert_i_fwd, kx_eckert_i_inv, nullptr}},
      {"eckert_ii", {kx_eckert_ii_fwd, kx_eckert_ii_inv, nullptr}},
      {"eckert_iii", {kx_eckert_iii_fwd, kx_eckert_iii_inv, nullptr}},
      {"eckert_iv", {kx_eckert_iv_fwd, kx_eckert_iv_inv, nullptr}},
      {"eckert_v", {kx_eckert_v_fwd, kx_eckert_v_inv, nullptr}},
      {"eckert_vi", {kx_eckert_vi_fwd, kx_eckert_vi_inv, nullptr}},
      {"robinson", {kx_robinson_fwd, kx_robinson_inv, kx_robinson_const}},
      {"robinson_velmar", {kx_robinson_velmar_fwd, kx_robinson_velmar_inv, nullptr}},
      {"winkel_i", {kx_winkel_i_fwd, kx_winkel_i_inv, nullptr}},
      {"winkel_ii", {kx_winkel_ii_fwd, kx_winkel_ii_inv, nullptr}},
      {"winkel_tripel", {kx_winkel_tripel_fwd, kx_winkel_tripel_inv, kx_winkel_tripel_const}},
      {"quartic_authalic", {kx_quartic_authalic_fwd, kx_quartic_authalic_inv, nullptr}},
      {"flat_polar_quartic",
       {kx_flat_polar_quartic_fwd, kx_flat_polar_quartic_inv, kx_flat_polar_quartic_const}},
      {"craster_parabolic",
       {kx_craster_parabolic_fwd, kx_craster_parabolic_inv, kx_craster_parabolic_const}},
      {"loximuthal", {kx_loximuthal_fwd, kx_loximuthal_inv, nullptr}},
      {"times", {kx_times_fwd, kx_times_inv, kx_times_const}},
      {"hammer_aitoff", {kx_hammer_aitoff_fwd, kx_hammer_aitoff_inv, nullptr}},
      {"aitoff", {kx_aitoff_fwd, kx_aitoff_inv, nullptr}},
      {"van_der_grinten_i", {kx_van_der_grinten_i_fwd, kx_van_der_grinten_i_inv, nullptr}},
  };
  return table;
}

// The spheroid pair as the driver builds it.
struct Spheroid {
  double v[2];
  Spheroid(double a, double f) : v{a, (2.0 - f) * f} {}
  static Spheroid from_rf(double a, double rf) { return Spheroid(a, rf == 0.0 ? 0.0 : 1.0 / rf); }
  const double *get() const { return v; }
};

// A parameter array with the driver's defaults (slots 5, 12, 13 = 1, slot 4 = slot 3).
struct Parameters {
  double v[16] = {0, 0, 0, 0, 0, 1.0, 0, 0, 0, 0, 0, 0, 1.0, 1.0, 0, 0};
  Parameters &deg(int slot, double degrees) {
    v[slot] = degrees * kDeg;
    return *this;
  }
  Parameters &set(int slot, double value) {
    v[slot] = value;
    return *this;
  }
  const double *get() const { return v; }
};

// The points after fn converts them without loaded constants; the count
// fn returned goes to *count.
inline std::vector<double> run(kx_projection_fn fn, const Spheroid &s, const Parameters &p,
                               std::vector<double> pts, int *count = nullptr) {
  const int c =
      fn(s.get(), p.get(), static_cast<int>(pts.size() / 2), pts.data(), nullptr, nullptr);
  if (count) *count = c;
  return pts;
}

// The constants function of a projection that has none: loads nothing.
inline int no_constants(kx_pcsconstants, const double *, const double *) { return 0; }

// Constants loaded by a projection's constants function into a fresh record.
class Loaded {
 public:
  Loaded(kx_pcsconst_fn fn, const double *sph, const double *par)
      : pc_(kx_pcsconstants_new()), result_(fn(pc_, sph, par)) {}
  ~Loaded() { kx_pcsconstants_del(pc_); }
  Loaded(const Loaded &) = delete;
  Loaded &operator=(const Loaded &) = delete;
  int result() const { return result_; }
  const int *ivals() const { return kx_pcsconstants_ivals(pc_); }
  const double *dvals() const { return kx_pcsconstants_dvals(pc_); }

 private:
  kx_pcsconstants pc_;
  int result_;
};

inline std::vector<std::vector<std::string>> read_csv(const std::string &name) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/projections/" + name);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, ',')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

inline double num(const std::string &s) { return std::stod(s); }

// Both members bit-identical (NaN equal to NaN of the same pattern).
inline bool same_bits(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// The argument contract every projection function keeps: n <= 0 and null
// coordinates convert nothing and touch nothing; a null spheroid or
// parameter array turns the point into a NaN pair and counts 0.
inline void expect_argument_contract(kx_projection_fn fn, const Spheroid &sph,
                                     const Parameters &par, const double *good) {
  double keep[2] = {good[0], good[1]};
  EXPECT_EQ(fn(sph.get(), par.get(), 0, keep, nullptr, nullptr), 0);
  EXPECT_EQ(fn(sph.get(), par.get(), -5, keep, nullptr, nullptr), 0);
  EXPECT_EQ(keep[0], good[0]);
  EXPECT_EQ(fn(sph.get(), par.get(), 1, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(fn(nullptr, par.get(), 1, keep, nullptr, nullptr), 0);
  EXPECT_TRUE(std::isnan(keep[0]) && std::isnan(keep[1]));
  keep[0] = good[0];
  keep[1] = good[1];
  EXPECT_EQ(fn(sph.get(), nullptr, 1, keep, nullptr, nullptr), 0);
  EXPECT_TRUE(std::isnan(keep[0]) && std::isnan(keep[1]));
}

}  // namespace kxtest

#endif
