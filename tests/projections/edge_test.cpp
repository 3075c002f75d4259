// What is particular to single projections: hand-overs between them,
// rejected parameter sets, poles, horizons and points off the map, one row
// of tests/data/projections/edge_cases.csv each (the layout is described
// there); and the conformal conic's antimeridian rule, swept.
#include <gtest/gtest.h>

#include <map>

#include "projection_fixture.h"

namespace {

using namespace kxtest;

// "u v" as a point: degrees to radians unless `metres` or a trailing r.
std::vector<double> point(const std::string &text, bool metres) {
  std::stringstream ss(text);
  std::vector<double> p;
  std::string t;
  while (ss >> t) p.push_back(num(t) * (metres || t.back() == 'r' ? 1.0 : kDeg));
  return p;
}

std::vector<std::string> split(const std::string &text, char sep) {
  std::vector<std::string> out;
  std::stringstream ss(text);
  std::string t;
  while (std::getline(ss, t, sep)) out.push_back(t);
  return out;
}

struct Call {
  std::string projection, direction;
  Spheroid sph{1.0, 0.0};
  Parameters par;
  std::vector<double> in;
  // The converted point (inv and trip in degrees) and the count.
  std::vector<double> run(int *count) const {
    const kx::ProjectionRow &f = row(projection);
    std::vector<double> p = in;
    *count = (direction == "inv" ? f.inverse : f.forward)(sph.get(), par.get(), 1, p.data(),
                                                          nullptr, nullptr);
    if (direction == "trip")
      *count = std::min(*count, f.inverse(sph.get(), par.get(), 1, p.data(), nullptr, nullptr));
    if (direction != "fwd")
      for (double &v : p) v /= kDeg;
    return p;
  }
};

TEST(ProjectionEdges, EveryRow) {
  const auto rows = read_csv(data_path("projections/edge_cases.csv"));
  ASSERT_GE(rows.size(), 180u);
  for (const Row &r : rows) {
    SCOPED_TRACE(r.at(0) + " " + r.at(3) + " " + r.at(4) + " " + r.at(5));
    ASSERT_NE(row(r[0]).forward, nullptr) << r[0];
    const Call call{r[0], r[4], Spheroid::from_rf(num(r[1]), num(r[2])), parse_parameters(r[3]),
                    point(r[5], r[4] == "inv")};
    ASSERT_EQ(call.in.size(), 2u);
    int count = -1;
    const std::vector<double> got = call.run(&count);
    const std::string &want = r[6];
    const double tol = num(r[7]);
    if (want == "keep" || want == "nan" || want == "nan!") {
      EXPECT_EQ(count, 0);
      std::vector<double> in = call.in;  // left alone, in the output's units
      if (call.direction != "fwd")
        for (double &v : in) v /= kDeg;
      const bool as_wanted =
          want == "keep" ? same_bits(got, in) : std::isnan(got[0]) && std::isnan(got[1]);
      EXPECT_TRUE(as_wanted) << got[0] << " " << got[1];
      const kx_pcsconst_fn constants = row(r[0]).pcsconstfunc;
      if (want != "nan" && constants != nullptr) {
        const Loaded k(constants, call.sph.get(), call.par.get());
        EXPECT_EQ(k.result(), 0);
        EXPECT_EQ(k.dvals(), nullptr);
      }
      continue;
    }
    EXPECT_EQ(count, 1);
    std::vector<double> expect(2, NAN), scale = {1.0, 1.0};
    if (want[0] == '@') {
      // Another call: its projection, parameters, point, spheroid, factors.
      auto f = split(want.substr(1), ';');
      f.resize(5);
      Call other = call;
      if (!f[0].empty()) other.projection = f[0];
      if (!f[1].empty()) other.par = parse_parameters(f[1]);
      if (!f[2].empty()) other.in = point(f[2], r[4] == "inv");
      if (!f[3].empty()) {
        const auto sph = split(f[3], ' ');
        other.sph = Spheroid::from_rf(num(sph.at(0)), num(sph.at(1)));
      }
      if (!f[4].empty()) scale = point(f[4], true);
      int other_count = -1;
      expect = other.run(&other_count);
      EXPECT_EQ(other_count, 1);
    } else {
      const auto w = split(want, ' ');
      for (int i = 0; i < 2; ++i) expect[i] = w.at(i) == "*" ? NAN : num(w.at(i));
    }
    for (int i = 0; i < 2; ++i) {
      EXPECT_TRUE(std::isfinite(got[i])) << i;
      if (std::isnan(expect[i])) continue;
      // Longitudes in degrees compare modulo a turn.
      const double d = got[i] - scale[i] * expect[i];
      const double diff = i == 0 && call.direction != "fwd" ? std::remainder(d, 360.0) : d;
      EXPECT_LE(std::fabs(diff), tol) << i << ": " << got[i] << " against " << scale[i] * expect[i];
    }
  }
}

// theta / n rounds past pi for about one antimeridian point in eight; with
// lambda0 = 0 the inverse keeps such points on their own side (lambda0 =
// 1e-300 shows what the snap prevents).
TEST(ProjectionEdges, ConformalConicKeepsTheAntimeridianSide) {
  const Spheroid wgs84 = Spheroid::from_rf(6378137.0, 298.257223563);
  const kx::ProjectionRow &f = row("Lambert_Conformal_Conic");
  int flipped_without = 0;
  for (double phi1 = 10; phi1 < 80; phi1 += 2.1) {
    Parameters p = Parameters().deg(3, phi1).deg(4, phi1 + 7).deg(6, phi1 + 3), q = p;
    q.set(2, 1e-300);
    for (double lat = -60; lat < 60; lat += 0.37) {
      for (double lon : {-kDeg * 180, kDeg * 180}) {
        const auto xy = run(f.forward, wgs84, p, {lon, lat * kDeg});
        const auto a = run(f.inverse, wgs84, p, xy), b = run(f.inverse, wgs84, q, xy);
        EXPECT_EQ(std::signbit(a[0]), std::signbit(lon)) << phi1 << " " << lat;
        EXPECT_NEAR(a[0], lon, 1e-15);
        flipped_without += std::signbit(b[0]) != std::signbit(lon);
      }
    }
  }
  EXPECT_GT(flipped_without, 300);
}

// Constants without the Winkel Tripel's grid integers rebuild the grid.
TEST(ProjectionEdges, WinkelTripelRebuildsItsGrid) {
  const Spheroid wgs84 = Spheroid::from_rf(6378137.0, 298.257223563);
  const Parameters par = Parameters().deg(2, 10.0);
  const Loaded k(kx_winkel_tripel_const, wgs84.get(), par.get());
  ASSERT_EQ(k.ivals()[0], 244);
  std::vector<double> with = {1e6, 2e6, -3e6, -9e6}, without = with;
  const int counts_only[2] = {2, 2};
  kx_winkel_tripel_inv(wgs84.get(), par.get(), 2, with.data(), counts_only, k.dvals());
  kx_winkel_tripel_inv(wgs84.get(), par.get(), 2, without.data(), k.ivals(), k.dvals());
  EXPECT_TRUE(same_bits(with, without));
}

// Fuller's exported face tables hold the definition's numbers
// (tests/data/projections/fuller_tables.csv), every entry.
TEST(ProjectionEdges, FullerTablesAreTheDefinitions) {
  const std::map<std::string, std::pair<const double *, size_t>> tables = {
      {"gcentroid", {&gcentroid[0][0], 2}},
      {"rotation", {&rotation[0][0], 3}},
      {"plane_rotation", {plane_rotation, 1}},
      {"xy_shift", {&xy_shift[0][0], 2}}};
  std::map<std::string, int> entries;
  for (const Row &r : read_csv(data_path("projections/fuller_tables.csv"))) {
    const auto &t = tables.at(r.at(0));
    const size_t i = std::stoul(r.at(1));
    ASSERT_EQ(r.size(), 2 + t.second);
    for (size_t j = 0; j < t.second; ++j)
      EXPECT_EQ(t.first[i * t.second + j], num(r[2 + j])) << r[0] << " " << i;
    ++entries[r[0]];
  }
  EXPECT_EQ(entries,
            (std::map<std::string, int>{
                {"gcentroid", 21}, {"rotation", 21}, {"plane_rotation", 24}, {"xy_shift", 24}}));
}

}  // namespace
