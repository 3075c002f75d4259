// MGRS references against GeoConvert (tests/scripts/gen_mgrs.py), the grid's
// own rules at its edges (tests/data/mgrs/edges.csv), the lettering schemes
// and the parser's refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "kx.h"
#include "support/cases.h"

namespace {

constexpr double kDegree = 3.141592653589793 / 180.0;

// Held for the whole run; Clarke 1866 is lettered by zone.
const kx_geogcs kWgs84 = kx_factory_geogcs(4326), kNad27 = kx_factory_geogcs(4267),
                kBessel = kx_factory_geogcs(4314);

// Each reference is written into a heap buffer of exactly 22 characters and
// read from a heap copy of exactly its length, so that the sanitizer sees
// any access past either.
std::vector<std::string> to_mgrs(kx_geogcs g, const std::vector<double> &xy, int precision,
                                 int round = 0, int scheme = 1, int *count = nullptr) {
  std::vector<std::unique_ptr<char[]>> bufs;
  std::vector<char *> s;
  for (size_t i = 0; i < xy.size() / 2; ++i) {
    bufs.emplace_back(new char[22]);
    std::memset(bufs.back().get(), 'x', 22);
    s.push_back(bufs.back().get());
  }
  const int c = kx_geog_to_mgrs_extended(g, static_cast<int>(s.size()), xy.data(), precision, round,
                                         scheme, s.data());
  if (count) *count = c;
  return std::vector<std::string>(s.begin(), s.end());
}

std::vector<double> from_mgrs(kx_geogcs g, const std::vector<std::string> &refs, int scheme,
                              int *count) {
  std::vector<std::unique_ptr<char[]>> copies;
  std::vector<const char *> s;
  for (const std::string &r : refs) {
    copies.emplace_back(new char[r.size() + 1]);
    std::memcpy(copies.back().get(), r.c_str(), r.size() + 1);
    s.push_back(copies.back().get());
  }
  std::vector<double> xy(2 * refs.size(), 0.0);
  *count = kx_mgrs_to_geog_extended(g, static_cast<int>(refs.size()), s.data(), scheme, xy.data());
  return xy;
}

// WGS 84 ground distance in metres and azimuth in degrees.
double metres(const double *a, const double *b, double *azimuth) {
  double d, az1, az2;
  kx_geodesic_distance(6378137.0, 0.0066943799901413165, a[0] * kDegree, a[1] * kDegree,
                       b[0] * kDegree, b[1] * kDegree, &d, &az1, &az2);
  *azimuth = az1 / kDegree;
  return d;
}

// Strings may differ from GeoConvert's only where its exact easting or
// northing lies within 1 mm of a digit boundary (the series transverse
// Mercator is 0.5 mm from the exact one at 6 degrees). Parsed corners agree
// within 13 mm: the series' error at the corners of 100 km squares of the
// wide Svalbard zones, about 9 degrees from their central meridian. Each
// point also lies in the 1 m square its precision-5 reference names.
TEST(Mgrs, AgreesWithGeoConvert) {
  std::ifstream in(kxtest::data_path("mgrs/geoconvert.txt"));
  std::vector<double> pts, corners;
  std::vector<std::string> oracle;
  int identical = 0, count = 0, written = 0, squares = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream f(line);
    double lon, lat;
    int precision, round, near;
    std::string ref, clon, clat;
    if (line[0] == '#' || !(f >> lon >> lat >> precision >> round >> ref >> clon >> clat >> near))
      continue;
    pts.insert(pts.end(), {lon, lat});
    corners.insert(corners.end(), {kxtest::num(clon), kxtest::num(clat)});
    oracle.push_back(ref);
    const std::string mine = to_mgrs(kWgs84, {lon, lat}, precision, round)[0];
    identical += mine == ref;
    if (mine != ref && !near) {
      ADD_FAILURE() << line << ": " << mine;
    }
  }
  const int n = static_cast<int>(oracle.size());
  ASSERT_GT(n, 30000);
  EXPECT_GE(identical, n - 100);
  const std::vector<double> parsed = from_mgrs(kWgs84, oracle, 1, &count);
  EXPECT_EQ(count, n);
  const std::vector<std::string> p5 = to_mgrs(kWgs84, pts, 5, 0, 1, &written);
  EXPECT_EQ(written, n);
  const std::vector<double> back = from_mgrs(kWgs84, p5, 1, &squares);
  EXPECT_EQ(squares, n);
  double worst = 0, az;
  for (int i = 0; i < n; ++i) {
    if (!std::isnan(corners[2 * i]))
      worst = std::max(worst, metres(&parsed[2 * i], &corners[2 * i], &az));
    const double d = metres(&back[2 * i], &pts[2 * i], &az);
    EXPECT_LT(d, std::sqrt(2.0) * 1.001) << p5[i];
    // In a UTM zone grid north is within 6 degrees of true north.
    if (d > 0.05 && !std::strchr("ABYZ", p5[i][0])) {
      EXPECT_TRUE(az > -7 && az < 97) << p5[i] << " " << az;
    }
  }
  EXPECT_LT(worst, 0.015);
  std::printf("MGRS: %d of %d identical to GeoConvert; corners within %.3g m\n", identical, n,
              worst);
}

TEST(Mgrs, EdgePointsUnitsAndPointsWithoutReference) {
  for (const kxtest::Row &r : kxtest::read_csv(kxtest::data_path("mgrs/edges.csv"))) {
    const std::string expected = r.size() > 4 ? r[4] : "";
    int count = -1;
    const std::string got = to_mgrs(kWgs84, {kxtest::num(r[0]), kxtest::num(r[1])}, std::stoi(r[2]),
                                    std::stoi(r[3]), 1, &count)[0];
    EXPECT_EQ(got, expected) << r[0] << " " << r[1] << " p" << r[2];
    EXPECT_EQ(count, expected.empty() ? 0 : 1);
    from_mgrs(kWgs84, {got}, 1, &count);
    EXPECT_EQ(count, expected.empty() ? 0 : 1) << got;
  }
  // One call that moves between hemispheres of one zone rebuilds its grid.
  EXPECT_EQ(to_mgrs(kWgs84, {15, 1, 15, -1, 15, 1}, 5),
            (std::vector<std::string>{"33NWB0000010530", "33MWU0000089469", "33NWB0000010530"}));
  EXPECT_EQ(kx_geog_to_mgrs(nullptr, 1, std::vector<double>{10, 10}.data(), 5, 0, nullptr), 0);
  // Points on a band's southern edge whose square corner lies south of the band read back.
  std::vector<double> edges;
  for (int band = 0; band < 20; ++band)
    for (int i = 0; i < 200; ++i)
      edges.insert(edges.end(), {-180 + i * 1.8 + 0.0123, -80.0 + 8 * band});
  for (int precision = 0; precision <= 8; ++precision) {
    int count = 0;
    from_mgrs(kWgs84, to_mgrs(kWgs84, edges, precision), 1, &count);
    EXPECT_EQ(count, 4000) << "precision " << precision;
  }
  // Radians give the references of the same point in degrees.
  const kx_geogcs radians = kx_geogcs_from_string(
      "GEOGCS[\"R\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
      "PRIMEM[\"Greenwich\",0.0],UNIT[\"Radian\",1.0]]");
  ASSERT_NE(radians, nullptr);
  const std::vector<double> pts = {15, 1, 5, 60, 10, 78, -100, -89, 100, 89.5, -45.5, -33.25};
  std::vector<double> rad;
  for (double v : pts) rad.push_back(v * kDegree);
  EXPECT_EQ(to_mgrs(radians, rad, 5), to_mgrs(kWgs84, pts, 5));
  int count = 0;
  EXPECT_NEAR(from_mgrs(radians, {"33NWB0000010530"}, 1, &count)[0], 15 * kDegree, 1e-12);
  EXPECT_EQ(count, 1);
  kx_geogcs_del(radians);
}

// Scheme 2 shifts each row letter ten places on; the Clarke 1866 grid keeps
// the standard rows in zones 47 to 55.
TEST(Mgrs, LetteringSchemes) {
  const char rows[] = "ABCDEFGHJKLMNPQRSTUV";
  for (double lon = -177; lon < 180; lon += 6.5) {
    for (kx_geogcs g : {kNad27, kBessel, kWgs84}) {
      const std::string s1 = to_mgrs(g, {lon, 40}, 5, 0, 1)[0],
                        s2 = to_mgrs(g, {lon, 40}, 5, 0, 2)[0];
      std::string shifted = s1;
      char &row = shifted[shifted.size() - 11];
      row = rows[(std::strchr(rows, row) - rows + 10) % 20];
      EXPECT_EQ(s2, shifted);
      const int zone = std::stoi(s1.substr(0, 2));
      const bool standard = g == kWgs84 || (g == kNad27 && zone >= 47 && zone <= 55);
      const std::string automatic = to_mgrs(g, {lon, 40}, 5, 0, 0)[0];
      EXPECT_EQ(automatic, standard ? s1 : s2) << lon;
      int count = 0;
      EXPECT_LT(std::fabs(from_mgrs(g, {automatic}, 0, &count)[1] - 40), 2e-5) << automatic;
      EXPECT_EQ(count, 1);
    }
  }
}

TEST(Mgrs, ParserAcceptsAndRefuses) {
  for (const kxtest::Row &r : kxtest::read_csv(kxtest::data_path("mgrs/parse.csv"))) {
    int count = -1;
    const std::vector<double> p = from_mgrs(kWgs84, {r[0]}, 1, &count);
    EXPECT_EQ(count, std::stoi(r[1])) << "'" << r[0] << "'";
    EXPECT_EQ(count == 1, !std::isnan(p[0]) && !std::isnan(p[1])) << r[0];
    if (r.size() > 3) {
      EXPECT_TRUE(std::fabs(p[0] - kxtest::num(r[2])) < 1e-4 &&
                  std::fabs(p[1] - kxtest::num(r[3])) < 1e-4)
          << r[0];
    }
  }
  const char *null_string = nullptr;
  double q[2] = {0, 0};
  EXPECT_EQ(kx_mgrs_to_geog(kWgs84, 1, &null_string, q), 0);
  EXPECT_TRUE(std::isnan(q[0]) && std::isnan(q[1]));
}

}  // namespace
