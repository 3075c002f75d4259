// Oracle cases of the datum-shift tests (tests/scripts/gen_geogtran.py) and
// the objects built from them.
#ifndef KX_TESTS_GEOGTRAN_GEOGTRAN_FIXTURE_H
#define KX_TESTS_GEOGTRAN_GEOGTRAN_FIXTURE_H

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "kx.h"
#include "support/cases.h"

namespace kxtest {

constexpr double kDeg = 0.017453292519943295;
constexpr double kArcSec = 4.84813681109536e-6;

struct GtCase {
  std::string name, method;
  double a1, rf1, pm1, unit1, a2, rf2, pm2, unit2;
  double p[10];  // dx dy dz (m), rx ry rz (arc-seconds), ds (ppm), px py pz (m)
};

struct GtPoint {
  std::string dir;
  double in[3], out[3];
};

inline std::string geogtran_data(const char *name) {
  return std::string(KX_TEST_DATA_DIR) + "/geogtran/" + name;
}

inline std::vector<GtCase> load_cases() {
  std::vector<GtCase> cases;
  auto rows = read_csv(geogtran_data("cases.csv"));
  for (size_t r = 1; r < rows.size(); ++r) {
    const auto &f = rows[r];
    GtCase c;
    c.name = f[0];
    c.method = f[1];
    double *dst[] = {&c.a1, &c.rf1, &c.pm1, &c.unit1, &c.a2, &c.rf2, &c.pm2, &c.unit2};
    for (int i = 0; i < 8; ++i) *dst[i] = std::strtod(f[2 + i].c_str(), nullptr);
    for (int i = 0; i < 10; ++i) c.p[i] = std::strtod(f[10 + i].c_str(), nullptr);
    cases.push_back(c);
  }
  return cases;
}

inline std::map<std::string, std::vector<GtPoint>> load_points() {
  std::map<std::string, std::vector<GtPoint>> pts;
  auto rows = read_csv(geogtran_data("points.csv"));
  for (size_t r = 1; r < rows.size(); ++r) {
    const auto &f = rows[r];
    GtPoint p;
    p.dir = f[1];
    for (int i = 0; i < 3; ++i) {
      p.in[i] = std::strtod(f[2 + i].c_str(), nullptr);
      p.out[i] = std::strtod(f[5 + i].c_str(), nullptr);
    }
    pts[f[0]].push_back(p);
  }
  return pts;
}

inline void spheroid_pair(double a, double rf, double *pair) {
  const double f = rf == 0.0 ? 0.0 : 1.0 / rf;
  pair[0] = a;
  pair[1] = (2.0 - f) * f;
}

// The value array the driver builds from the EPSG-style parameters.
inline void value_array(const GtCase &c, double *val) {
  for (int i = 0; i < 16; ++i) val[i] = 0.0;
  for (int i = 0; i < 10; ++i) val[i] = c.p[i];
  for (int i = 3; i < 6; ++i) val[i] *= kArcSec;
  val[6] *= 1e-6;
}

// Longitude difference in degrees, as ground distance (times the cosine of
// the latitude), across the antimeridian.
inline double lon_error(double lon, double lon_ref, double lat_ref_deg) {
  double d = std::fmod(lon - lon_ref, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d < -180.0) d += 360.0;
  return std::fabs(d) * std::cos(lat_ref_deg * kDeg);
}

inline kx_geogcs make_gcs(const char *name, const char *datum, double a, double rf, double pm,
                          double unit) {
  kx_spheroid s = kx_spheroid_new("Spheroid", a, rf == 0.0 ? 0.0 : 1.0 / rf);
  kx_datum d = kx_datum_new(datum, s);
  return kx_geogcs_new(name, d, kx_primem_new(pm == 0.0 ? "Greenwich" : "Paris", pm),
                       kx_unit_new(unit == kDeg ? "Degree" : "Grad", unit));
}

}  // namespace kxtest

#endif
