// Shared pieces of the projection tests: spheroids and parameter arrays as
// the driver builds them, registry rows by name, loaded constants.
#ifndef KX_TESTS_PROJECTIONS_PROJECTION_FIXTURE_H
#define KX_TESTS_PROJECTIONS_PROJECTION_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "kx.h"
#include "objects/registry.h"
#include "support/cases.h"

namespace kxtest {

constexpr double kDeg = 3.141592653589793 / 180.0;

// The spheroid pair {a, e2}; rf 0 is the sphere.
struct Spheroid {
  double v[2];
  Spheroid(double a, double f) : v{a, (2.0 - f) * f} {}
  static Spheroid from_rf(double a, double rf) { return Spheroid(a, rf == 0.0 ? 0.0 : 1.0 / rf); }
  const double *get() const { return v; }
};

// A parameter array with the driver's defaults (slots 5, 12, 13 = 1).
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

// "slot:value ..." with angular slots in degrees (radians with a trailing
// r); slot 4 defaults to slot 3 as the driver's does.
inline Parameters parse_parameters(const std::string &text) {
  static const std::set<int> angular = {2, 3, 4, 6, 7, 8, 9, 10, 11, 14};
  Parameters p;
  bool has4 = false;
  std::stringstream ss(text);
  std::string item;
  while (ss >> item) {
    const auto colon = item.find(':');
    const int slot = std::stoi(item.substr(0, colon));
    const double v = num(item.substr(colon + 1));
    if (angular.count(slot) && item.back() != 'r')
      p.deg(slot, v);
    else
      p.set(slot, v);
    has4 = has4 || slot == 4;
  }
  if (!has4) p.set(4, p.v[3]);
  return p;
}

inline const kx::ProjectionRow &row(const std::string &name) {
  static const kx::ProjectionRow none{};
  const kx::ProjectionRow *r = kx::find_projection_row(name.c_str());
  return r != nullptr ? *r : none;
}

// The points after fn converts them without loaded constants; the count
// fn returned goes to *count.
inline std::vector<double> run(kx_projection_fn fn, const Spheroid &s, const Parameters &p,
                               std::vector<double> pts, int *count = nullptr) {
  const int c =
      fn(s.get(), p.get(), static_cast<int>(pts.size() / 2), pts.data(), nullptr, nullptr);
  if (count) *count = c;
  return pts;
}

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

// Both bit-identical (NaN equal to NaN of the same pattern).
inline bool same_bits(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Two geographic points (radians) apart as the angle on the ground in
// degrees, so that at a pole, where any longitude is right, the longitude
// does not count.
inline double ground_deg(const double *got, const double *want) {
  const double dlon = std::fabs(std::remainder(got[0] - want[0], 2 * M_PI)) * std::cos(want[1]);
  const double d = std::max(dlon, std::fabs(got[1] - want[1])) / kDeg;
  return std::isnan(d) ? INFINITY : d;
}

// The argument contract: n <= 0 and null coordinates convert nothing and
// touch nothing; a null spheroid or parameter array gives a NaN pair, 0.
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
