// The EPSG reference points (projected_crs_points.csv joined with the EPSG
// parameters by tests/scripts/gen_*.py into epsg_points.csv, tm_epsg.csv and
// cyl_epsg.csv) through the bare functions, the false origin and units
// applied as the driver applies them; bounds by method in epsg_bounds.csv.
// Some catalogue CRSs go through the driver as well.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "projection_fixture.h"

namespace {

using namespace kxtest;

const char *const kFiles[] = {"epsg_points.csv", "tm_epsg.csv", "cyl_epsg.csv"};

std::vector<Row> reference_rows() {
  std::vector<Row> rows;
  for (const char *f : kFiles) {
    const auto more = read_csv(data_path(std::string("projections/") + f));
    rows.insert(rows.end(), more.begin(), more.end());
  }
  return rows;
}

// Row layout: code,method,a,f,lin,ang,fe,fn,lam0,phi1,phi2,k0,phi0,lon,lat,easting,northing.
TEST(ProjectionEpsg, ReferencePointsForwardAndInverse) {
  std::multimap<std::string, Row> bounds;
  for (const Row &b : read_csv(data_path("projections/epsg_bounds.csv"))) bounds.insert({b[0], b});
  std::map<std::string, int> rows, least;
  std::map<std::string, double> worst_fwd, worst_inv;
  for (const Row &r : reference_rows()) {
    SCOPED_TRACE(r[0] + " " + r[13] + " " + r[14]);
    ASSERT_EQ(bounds.count(r[1]), 1u + (r[1] == "9807")) << r[1];
    const Spheroid sph(num(r[2]), num(r[3]));
    const double lin = num(r[4]), ang = num(r[5]), fe = num(r[6]), fn = num(r[7]);
    const Parameters par = parse_parameters("2:" + r[8] + " 3:" + r[9] + " 4:" + r[10] +
                                            " 5:" + r[11] + " 6:" + r[12]);
    const double geo[2] = {num(r[13]) * ang, num(r[14]) * ang};
    const double off = std::fabs(kx_delta(geo[0] - par.v[2])) / kDeg;
    const Row *b = nullptr;
    for (auto it = bounds.lower_bound(r[1]); it != bounds.upper_bound(r[1]); ++it) {
      least[r[1]] = std::max(least[r[1]], std::stoi(it->second[5]));
      if (b == nullptr && off <= num(it->second[2])) b = &it->second;
    }
    if (b == nullptr) continue;  // beyond the reach the method's rows cover
    std::string name = (*b)[1];
    if (r[1] == "9829" && par.v[3] < 0) name = "Stereographic_South_Pole";
    const kx::ProjectionRow &f = row(name);
    double p[2] = {geo[0], geo[1]};
    ASSERT_EQ(f.forward(sph.get(), par.get(), 1, p, nullptr, nullptr), 1);
    const double de = std::max(std::fabs((p[0] + fe) / lin - num(r[15])),
                               std::fabs((p[1] + fn) / lin - num(r[16]))) *
                      lin;
    double q[2] = {num(r[15]) * lin - fe, num(r[16]) * lin - fn};
    ASSERT_EQ(f.inverse(sph.get(), par.get(), 1, q, nullptr, nullptr), 1);
    const double dg = ground_deg(q, geo);
    EXPECT_LE(de, num((*b)[3]));
    EXPECT_LE(dg, num((*b)[4]));
    ++rows[r[1]];
    worst_fwd[r[1]] = std::max(worst_fwd[r[1]], de);
    worst_inv[r[1]] = std::max(worst_inv[r[1]], dg);
  }
  for (const auto &m : least) {
    EXPECT_GE(rows[m.first], m.second) << m.first;
    if (std::getenv("KX_VERBOSE"))
      std::printf("  %s: %d points, forward %.3g m, inverse %.3g deg\n", m.first.c_str(),
                  rows[m.first], worst_fwd[m.first], worst_inv[m.first]);
  }
}

// Catalogue CRSs through the driver (degrees in, the CRS's unit out):
// British National Grid, UTM 33 N and S, a Pulkovo Gauss-Kruger zone, a
// state plane zone in feet, DHDN 3-degree GK, Soldner Berlin, Trinidad Grid
// in Clarke's feet, BC Albers and Oregon Lambert in feet, LAEA Europe, the
// six North Pole LAEA grids, the spherical equal-area grids 2163, 3408,
// 3409 and Yap's azimuthal equidistant. Loaded constants change no bit; the
// way back returns the degrees.
TEST(ProjectionEpsg, CatalogueCrsThroughTheDriver) {
  const std::pair<int, double> codes[] = {
      {27700, 1e-4}, {32633, 1e-4}, {32733, 1e-4}, {28404, 1e-4}, {2222, 1e-4}, {31467, 1e-4},
      {3068, 1e-3},  {2314, 1e-3},  {3005, 1e-3},  {2994, 1e-4},  {3035, 1e-4}, {3571, 1e-4},
      {3572, 1e-4},  {3573, 1e-4},  {3574, 1e-4},  {3575, 1e-4},  {3576, 1e-4}, {2163, 1e-4},
      {3408, 1e-4},  {3409, 1e-4},  {3295, 1e-4}};
  std::map<int, std::vector<Row>> want;
  for (const Row &r : reference_rows()) want[std::stoi(r[0])].push_back(r);
  for (const auto &code : codes) {
    SCOPED_TRACE(code.first);
    kx_projcs pcs = kx_factory_projcs(code.first);
    ASSERT_NE(pcs, nullptr);
    const auto &rs = want[code.first];
    ASSERT_GE(rs.size(), 1u);
    std::vector<double> geo, ref;
    for (const Row &r : rs) geo.insert(geo.end(), {num(r[13]), num(r[14])});
    for (const Row &r : rs) ref.insert(ref.end(), {num(r[15]), num(r[16])});
    const int n = static_cast<int>(rs.size());
    std::vector<double> xy = geo;
    ASSERT_EQ(kx_geog_to_proj(pcs, n, xy.data()), n);
    for (int i = 0; i < 2 * n; ++i) EXPECT_NEAR(xy[i], ref[i], code.second / num(rs[0][4])) << i;
    std::vector<double> back = xy;
    ASSERT_EQ(kx_proj_to_geog(pcs, n, back.data()), n);
    for (int i = 0; i < 2 * n; ++i) EXPECT_NEAR(back[i], geo[i], 2e-8) << i;
    kx_projcs_load_constants(pcs);
    std::vector<double> loaded = geo;
    ASSERT_EQ(kx_geog_to_proj(pcs, n, loaded.data()), n);
    EXPECT_TRUE(same_bits(loaded, xy));
    ASSERT_EQ(kx_proj_to_geog(pcs, n, loaded.data()), n);
    EXPECT_TRUE(same_bits(loaded, back));
    kx_projcs_del(pcs);
  }
}

}  // namespace
