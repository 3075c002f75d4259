// The oracle tables of the transverse Mercator and Cassini tests
// (tests/data/projections/tm_*.csv, made by tests/scripts/gen_tm_oracle.py)
// and helpers shared by the two test units.
#ifndef KX_TESTS_PROJECTIONS_TM_FIXTURE_H
#define KX_TESTS_PROJECTIONS_TM_FIXTURE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kx.h"
#include "projection_fixture.h"

namespace kxtest {

struct TmCase {
  std::string name, fn, oracle;
  Spheroid sph{1.0, 0.0};
  Parameters par;
  bool sphere = false;
  double lon0 = 0;  // degrees
  std::vector<double> geo, xy;
  std::vector<double> back;  // the oracle's inverse of xy (radians)
  int size() const { return static_cast<int>(geo.size() / 2); }
};

inline std::vector<TmCase> read_tm_cases(const std::string &fn) {
  std::vector<TmCase> cases;
  std::map<std::string, size_t> index;
  for (const auto &r : read_csv("tm_cases.csv")) {
    if (r[1] != fn) continue;
    TmCase c;
    c.name = r[0];
    c.fn = r[1];
    c.oracle = r[7];
    c.sph = Spheroid::from_rf(num(r[2]), num(r[3]));
    c.sphere = num(r[3]) == 0.0;
    c.lon0 = num(r[4]);
    c.par.deg(2, c.lon0).deg(6, num(r[5])).set(5, num(r[6]));
    index[c.name] = cases.size();
    cases.push_back(c);
  }
  for (const auto &r : read_csv("tm_points.csv")) {
    if (index.count(r[0]) == 0) continue;
    TmCase &c = cases.at(index.at(r[0]));
    c.geo.push_back(num(r[1]) * kDeg);
    c.geo.push_back(num(r[2]) * kDeg);
    c.xy.push_back(num(r[3]));
    c.xy.push_back(num(r[4]));
    c.back.push_back(num(r[5]) * kDeg);
    c.back.push_back(num(r[6]) * kDeg);
  }
  return cases;
}

// The difference of two geographic points (radians) as the angle on the
// ground in degrees, so that the pole, where any longitude is right, does
// not dominate.
inline double ground_deg(const double *got, const double *want) {
  const double dlon = std::fabs(kx_delta(got[0] - want[0])) * std::cos(want[1]);
  return std::max(dlon, std::fabs(got[1] - want[1])) / kDeg;
}

// Distance from the central meridian in degrees of longitude.
inline double offset_deg(const TmCase &c, const double *geo) {
  return std::fabs(kx_delta(geo[0] - c.lon0 * kDeg)) / kDeg;
}

inline bool verbose() { return std::getenv("KX_VERBOSE") != nullptr; }

// A projected CS on the spheroid (a, 1/rf; rf 0 = sphere) in degrees, with
// the projection of registry code `projection` (43005 Gauss_Kruger, 43006
// Transverse_Mercator, 43028 Cassini), the given parameters and a linear
// unit of `metres_per_unit`.
inline kx_projcs make_projcs(int projection, double a, double rf,
                             std::initializer_list<std::pair<const char *, double>> params,
                             double metres_per_unit = 1.0) {
  kx_parameter slots[16] = {};
  for (const auto &p : params) {
    kx_parameter v = kx_parameter_new(p.first, p.second);
    slots[kx_parameter_index(v)] = v;
  }
  kx_geogcs g = kx_geogcs_new(
      "GCS_Test", kx_datum_new("D_Test", kx_spheroid_new("S_Test", a, rf == 0.0 ? 0.0 : 1.0 / rf)),
      kx_primem_new("Greenwich", 0.0), kx_unit_new("Degree", 0.017453292519943295));
  return kx_projcs_new("PCS_Test", g, kx_factory_projection(projection), slots,
                       kx_unit_new("Unit", metres_per_unit));
}

// The case's oracle points followed by a grid from pole to pole, `reach`
// degrees either side of the central meridian every `step` degrees.
inline std::vector<double> with_grid(const TmCase &c, double reach, double step) {
  std::vector<double> pts = c.geo;
  for (double lat = -90.0; lat <= 90.0; lat += 1.25)
    for (double d = -reach; d <= reach; d += step) {
      pts.push_back((c.lon0 + d) * kDeg);
      pts.push_back(lat * kDeg);
    }
  return pts;
}

// A projection function's array contract: n points (near `good`) converted
// each as it would be alone, and the argument contract.
inline void expect_array_contract(kx_projection_fn fn, const Spheroid &s, const Parameters &par,
                                  const double *good, int n) {
  std::vector<double> many;
  for (int i = 0; i < n; ++i) {
    many.push_back(good[0] * (1 + i * 1e-4));
    many.push_back(good[1] * (1 - i * 1e-4));
  }
  std::vector<double> alone = many;
  EXPECT_EQ(fn(s.get(), par.get(), n, many.data(), nullptr, nullptr), n);
  for (int i = 0; i < n; i += 100) {
    EXPECT_EQ(fn(s.get(), par.get(), 1, &alone[2 * i], nullptr, nullptr), 1);
    EXPECT_EQ(alone[2 * i], many[2 * i]);
    EXPECT_EQ(alone[2 * i + 1], many[2 * i + 1]);
  }
  expect_argument_contract(fn, s, par, good);
}

}  // namespace kxtest

#endif
