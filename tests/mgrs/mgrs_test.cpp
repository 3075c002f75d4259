// MGRS references against GeoConvert (tests/scripts/gen_mgrs.py), the grid's
// own rules at its edges, the lettering schemes and the parser's refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "kx.h"

namespace {

constexpr double kDegree = 3.141592653589793 / 180.0;
constexpr double kA = 6378137.0, kE2 = 0.0066943799901413165;  // WGS 84

struct GeogcsDeleter {
  void operator()(kx_geogcs g) const { kx_geogcs_del(g); }
};
using GeogcsPtr = std::unique_ptr<std::remove_pointer<kx_geogcs>::type, GeogcsDeleter>;

GeogcsPtr geogcs(int code) { return GeogcsPtr(kx_factory_geogcs(code)); }

// References of points in heap buffers of exactly 22 characters, so that the
// sanitizer sees any write past the documented size.
std::vector<std::string> to_mgrs(kx_geogcs g, const std::vector<double> &coords, int precision,
                                 int round, int scheme, int *count = nullptr) {
  const int n = static_cast<int>(coords.size() / 2);
  std::vector<std::unique_ptr<char[]>> buffers;
  std::vector<char *> strings;
  for (int i = 0; i < n; ++i) {
    buffers.emplace_back(new char[22]);
    std::memset(buffers.back().get(), 'x', 22);
    strings.push_back(buffers.back().get());
  }
  const int c = kx_geog_to_mgrs_extended(g, n, coords.data(), precision, round, scheme, strings.data());
  if (count) *count = c;
  return std::vector<std::string>(strings.begin(), strings.end());
}

std::string to_mgrs1(kx_geogcs g, double lon, double lat, int precision, int round = 0,
                     int scheme = 1) {
  return to_mgrs(g, {lon, lat}, precision, round, scheme)[0];
}

// Parses each reference from a heap copy of exactly its length, so that a
// read past the terminator is caught.
std::vector<double> from_mgrs(kx_geogcs g, const std::vector<std::string> &refs, int scheme,
                              int *count) {
  std::vector<std::unique_ptr<char[]>> copies;
  std::vector<const char *> strings;
  for (const std::string &r : refs) {
    copies.emplace_back(new char[r.size() + 1]);
    std::memcpy(copies.back().get(), r.c_str(), r.size() + 1);
    strings.push_back(copies.back().get());
  }
  std::vector<double> coords(2 * refs.size(), 0.0);
  *count = kx_mgrs_to_geog_extended(g, static_cast<int>(refs.size()), strings.data(), scheme,
                                    coords.data());
  return coords;
}

bool parses(kx_geogcs g, const std::string &ref) {
  int count = -1;
  std::vector<double> p = from_mgrs(g, {ref}, 1, &count);
  EXPECT_EQ(count == 1, !std::isnan(p[0]) && !std::isnan(p[1])) << ref;
  return count == 1;
}

// Ground distance in metres between two WGS 84 points given in degrees.
double metres(double lon1, double lat1, double lon2, double lat2, double *azimuth = nullptr) {
  double d, az1, az2;
  kx_geodesic_distance(kA, kE2, lon1 * kDegree, lat1 * kDegree, lon2 * kDegree, lat2 * kDegree, &d,
                       &az1, &az2);
  if (azimuth) *azimuth = az1 / kDegree;
  return d;
}

struct Case {
  double lon, lat;
  int precision, round;
  std::string ref;
  double corner_lon, corner_lat;
  int near;
};

std::vector<Case> oracle_cases() {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/mgrs/geoconvert.txt");
  std::vector<Case> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    Case c;
    std::string clon, clat;
    f >> c.lon >> c.lat >> c.precision >> c.round >> c.ref >> clon >> clat >> c.near;
    c.corner_lon = std::strtod(clon.c_str(), nullptr);
    c.corner_lat = std::strtod(clat.c_str(), nullptr);
    if (f) cases.push_back(c);
  }
  return cases;
}

// Strings may differ from GeoConvert's only where its exact easting or
// northing lies within 1 mm of a digit boundary (the series transverse
// Mercator is 0.5 mm from the exact one at 6 degrees). Parsed corners agree
// within 13 mm: the series' error at the corners of 100 km squares of the
// wide Svalbard zones, about 9 degrees from their central meridian.
TEST(Mgrs, AgreesWithGeoConvert) {
  const std::vector<Case> cases = oracle_cases();
  ASSERT_GT(cases.size(), 30000u);
  GeogcsPtr wgs84 = geogcs(4326);
  std::vector<double> coords;
  for (const Case &c : cases) {
    coords.push_back(c.lon);
    coords.push_back(c.lat);
  }
  std::vector<std::string> refs;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    refs.push_back(to_mgrs1(wgs84.get(), cases[i].lon, cases[i].lat, cases[i].precision, cases[i].round));
  }
  int identical = 0, near = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    if (refs[i] == cases[i].ref) {
      ++identical;
    } else if (cases[i].near) {
      ++near;
    } else {
      ADD_FAILURE() << cases[i].lon << " " << cases[i].lat << " p" << cases[i].precision << " r"
                    << cases[i].round << ": " << refs[i] << " != " << cases[i].ref;
    }
  }
  std::printf("MGRS: %d of %zu strings identical to GeoConvert, %d differ at a digit boundary\n",
              identical, cases.size(), near);
  EXPECT_GE(identical, static_cast<int>(cases.size()) - 100);

  std::vector<std::string> oracle_refs;
  for (const Case &c : cases) oracle_refs.push_back(c.ref);
  int count = 0;
  std::vector<double> corners = from_mgrs(wgs84.get(), oracle_refs, 1, &count);
  EXPECT_EQ(count, static_cast<int>(cases.size()));
  double worst = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    if (std::isnan(cases[i].corner_lon)) continue;
    const double d = metres(corners[2 * i], corners[2 * i + 1], cases[i].corner_lon, cases[i].corner_lat);
    worst = std::max(worst, d);
    EXPECT_LT(d, 0.015) << cases[i].ref;
  }
  std::printf("MGRS: parsed corners within %.3g m of GeoConvert's\n", worst);
}

// Each point lies in the 1 m square its precision-5 reference names: north
// east of the corner the reference parses to, within the square's diagonal.
TEST(Mgrs, ForwardThenInverseStaysInTheSquare) {
  GeogcsPtr wgs84 = geogcs(4326);
  std::vector<double> coords;
  for (const Case &c : oracle_cases()) {
    coords.push_back(c.lon);
    coords.push_back(c.lat);
  }
  int written = 0, count = 0;
  std::vector<std::string> refs = to_mgrs(wgs84.get(), coords, 5, 0, 1, &written);
  EXPECT_EQ(written, static_cast<int>(refs.size()));
  std::vector<double> corners = from_mgrs(wgs84.get(), refs, 1, &count);
  EXPECT_EQ(count, written);
  for (std::size_t i = 0; i < refs.size(); ++i) {
    double az;
    const double d = metres(corners[2 * i], corners[2 * i + 1], coords[2 * i], coords[2 * i + 1], &az);
    EXPECT_LT(d, 1.0 * std::sqrt(2.0) * 1.001) << refs[i];
    // In a UTM zone grid north is within 6 degrees of true north.
    if (d > 0.05 && refs[i][0] != 'Y' && refs[i][0] != 'Z' && refs[i][0] != 'A' &&
        refs[i][0] != 'B') {
      EXPECT_TRUE(az > -7 && az < 97) << refs[i] << " azimuth " << az;
    }
  }
}

// Points on a band's southern edge whose square corner lies south of the
// band still read back.
TEST(Mgrs, BandEdgeSquaresReadBack) {
  GeogcsPtr wgs84 = geogcs(4326);
  const std::string ref = to_mgrs1(wgs84.get(), 70.71662090249839, -72, 5);
  EXPECT_EQ(ref, "42DWF5919910223");  // GeoConvert
  EXPECT_TRUE(parses(wgs84.get(), ref));
  std::vector<double> coords;
  for (int band = 0; band < 20; ++band) {
    for (int i = 0; i < 200; ++i) {
      coords.push_back(-180 + i * 1.8 + 0.0123);
      coords.push_back(-80 + 8 * band);
    }
  }
  for (int precision = 0; precision <= 8; ++precision) {
    int count = 0;
    std::vector<std::string> refs = to_mgrs(wgs84.get(), coords, precision, 0, 1);
    from_mgrs(wgs84.get(), refs, 1, &count);
    EXPECT_EQ(count, static_cast<int>(refs.size())) << "precision " << precision;
  }
}

// The Part's grid lines hold for the caller's exact degrees; expected
// references from GeoConvert except at 84 N, which is band X here.
TEST(Mgrs, ExactGridLinesAndZoneExceptions) {
  GeogcsPtr wgs84 = geogcs(4326);
  kx_geogcs g = wgs84.get();
  EXPECT_EQ(to_mgrs1(g, 0, -80.0, 5), "31CDM4186716915");
  EXPECT_EQ(to_mgrs1(g, 0, -80.0000001, 5), "BAZ0000012951");
  EXPECT_EQ(to_mgrs1(g, 0, -72.0, 5), "31DCA9656608491");
  EXPECT_EQ(to_mgrs1(g, -174.0, 10, 5), "02PJS7107106908");
  EXPECT_EQ(to_mgrs1(g, 0, 84.0, 0), "31XDP");
  EXPECT_EQ(to_mgrs1(g, 0, 84.0000001, 0), "ZAA");
  EXPECT_EQ(to_mgrs1(g, 5, 60, 5), "32VKM7697958157");
  EXPECT_EQ(to_mgrs1(g, 10, 78, 5), "33XUG8408563320");
  EXPECT_EQ(to_mgrs1(g, 1, -0.0000000001, 5), "31MBV7740499999");
  // Longitudes of any size are reduced before zone and projection see them.
  EXPECT_EQ(to_mgrs1(g, 360 + 15, 1, 5), "33NWB0000010530");
  EXPECT_TRUE(parses(g, to_mgrs1(g, 3.365114052950046e+130, 0.59, 5)));
  // Zones below 10 keep their leading zero.
  EXPECT_EQ(to_mgrs1(g, -174.0, 10, 0), "02PJS");
  // Precision is clamped to 0..8.
  EXPECT_EQ(to_mgrs1(g, 5, 60, 12), to_mgrs1(g, 5, 60, 8));
  EXPECT_EQ(to_mgrs1(g, 5, 60, 8).size(), 21u);
  EXPECT_EQ(to_mgrs1(g, 5, 60, -3), "32VKM");
  // A point just south of the equator whose northing rounds up to the
  // equator's is band N at northing 0.
  EXPECT_EQ(to_mgrs1(g, 3, -1e-9, 3, 1), "31NEA000000");  // GeoConvert of 31n 500050 49.9999
}

// One call that moves between hemispheres of one zone rebuilds its grid.
TEST(Mgrs, HemispheresOfOneZoneInOneCall) {
  GeogcsPtr wgs84 = geogcs(4326);
  std::vector<std::string> refs = to_mgrs(wgs84.get(), {15, 1, 15, -1, 15, 1}, 5, 0, 1);
  EXPECT_EQ(refs[0], "33NWB0000010530");  // GeoConvert
  EXPECT_EQ(refs[1], "33MWU0000089469");
  EXPECT_EQ(refs[2], refs[0]);
}

TEST(Mgrs, PointsWithoutReferenceAreEmptyAndNotCounted) {
  GeogcsPtr wgs84 = geogcs(4326);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> coords = {nan, 10, 10, nan, inf, 10, 10, -inf, 0, 95, 0, -90.5, 10, 10};
  int count = 0;
  std::vector<std::string> refs = to_mgrs(wgs84.get(), coords, 8, 0, 1, &count);
  EXPECT_EQ(count, 1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(refs[i], "") << i;
  EXPECT_EQ(refs[6].size(), 21u);
  // Rounding at precision 0 next to 84 N stays in the last column.
  EXPECT_EQ(to_mgrs1(wgs84.get(), 90, 84.0000001, 0, 1), "ZJH");
  EXPECT_EQ(to_mgrs1(wgs84.get(), 90, 90, 0), "ZAH");  // GeoConvert: pole
  EXPECT_EQ(kx_geog_to_mgrs(nullptr, 1, coords.data(), 5, 0, nullptr), 0);
}

// Radians and grads give the references of the same point in degrees.
TEST(Mgrs, OtherAngularUnits) {
  GeogcsPtr wgs84 = geogcs(4326);
  const std::string rad = "GEOGCS[\"R\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
                          "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Radian\",1.0]]";
  GeogcsPtr radians(kx_geogcs_from_string(rad.c_str()));
  ASSERT_TRUE(radians);
  const std::vector<double> pts = {15, 1, 5, 60, 10, 78, -100, -89, 100, 89.5, -45.5, -33.25};
  std::vector<double> in_radians;
  for (double v : pts) in_radians.push_back(v * kDegree);
  EXPECT_EQ(to_mgrs(radians.get(), in_radians, 5, 0, 1), to_mgrs(wgs84.get(), pts, 5, 0, 1));
  int count = 0;
  std::vector<double> back = from_mgrs(radians.get(), {"33NWB0000010530"}, 1, &count);
  EXPECT_EQ(count, 1);
  EXPECT_NEAR(back[0], 15 * kDegree, 1e-12);
}

// Scheme 2 shifts each row letter ten places on; the Clarke 1866 grid keeps
// the standard rows in zones 47 to 55.
TEST(Mgrs, LetteringSchemes) {
  const char rows[] = "ABCDEFGHJKLMNPQRSTUV";
  auto shifted = [&](std::string ref) {
    const std::size_t at = ref.size() - 10 - 1;  // precision 5: row before 10 digits
    ref[at] = rows[(std::strchr(rows, ref[at]) - rows + 10) % 20];
    return ref;
  };
  GeogcsPtr nad27 = geogcs(4267), bessel = geogcs(4314), wgs84 = geogcs(4326);
  for (double lon = -177; lon < 180; lon += 6.5) {
    for (kx_geogcs g : {nad27.get(), bessel.get(), wgs84.get()}) {
      const std::string s1 = to_mgrs1(g, lon, 40, 5, 0, 1), s2 = to_mgrs1(g, lon, 40, 5, 0, 2);
      EXPECT_EQ(s2, shifted(s1));
      const int zone = std::atoi(s1.substr(0, 2).c_str());
      const bool standard = g == wgs84.get() || (g == nad27.get() && zone >= 47 && zone <= 55);
      const std::string automatic = to_mgrs1(g, lon, 40, 5, 0, 0);
      EXPECT_EQ(automatic, standard ? s1 : s2) << lon;
      int count = 0;
      std::vector<double> p = from_mgrs(g, {automatic}, 0, &count);
      EXPECT_EQ(count, 1);
      EXPECT_LT(std::fabs(p[1] - 40), 2e-5) << automatic;
    }
  }
}

TEST(Mgrs, ParserReadsBlanksAndLeadingZero) {
  GeogcsPtr wgs84 = geogcs(4326);
  int count = 0;
  std::vector<double> p = from_mgrs(wgs84.get(), {"02PJS7107106908", "  2PJS7107106908", "2PJS71070690"},
                                    1, &count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(p[0], p[2]);
  EXPECT_EQ(p[1], p[3]);
  EXPECT_NEAR(p[0], -174, 1e-4);
  EXPECT_NEAR(p[1], 10, 1e-4);
}

TEST(Mgrs, ParserRefusesMalformedReferences) {
  GeogcsPtr wgs84 = geogcs(4326);
  for (const char *bad :
       {"", " ", "3", "31", "31N", "31NA", "31NAA1", "31NAA123", "31NAA12345678901234567",
        "31NAA123456789012345678", "61NAA1234", "0NAA1234", "00NAA1234", "NAA1234",
        "031NAA1234", "00000031NAA1234", "31IAA1234", "31NAI1234", "31NAW1234", "31NAA12 34",
        "31NAA1234 ", "31naa1234", "31NJA6602100000", "31NAA12a4", "YAA1234", "ZRN1234",
        "ZRN", "AAZ1234", "BSA1234", "31YAA1234", "31AAA1234", "0YAA1234", "Y", "YA", "Y1A1234",
        "31N-A1234", "31NA\xff" "1234"}) {
    EXPECT_FALSE(parses(wgs84.get(), bad)) << "'" << bad << "'";
  }
  const char *null_string = nullptr;
  double p[2] = {0, 0};
  EXPECT_EQ(kx_mgrs_to_geog(wgs84.get(), 1, &null_string, p), 0);
  EXPECT_TRUE(std::isnan(p[0]) && std::isnan(p[1]));
  // Both halves of the UPS tables in their own cap.
  for (const char *good : {"YZA1234", "ZAA1234", "AZZ1234", "BAZ1234", "31NEA00"}) {
    EXPECT_TRUE(parses(wgs84.get(), good)) << good;
  }
}

}  // namespace
