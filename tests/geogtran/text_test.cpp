// Transformations read from GEOGTRAN text, through the method registry, on
// the PROJ cct table (tests/scripts/gen_geogtran.py): the same agreement as
// the objects built piece by piece (5e-13 degrees or grads, 4e-9 m).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geogtran/geogtran_fixture.h"

namespace {

const char kNad27[] =
    "GEOGCS[\"GCS_North_American_1927\",DATUM[\"D_North_American_1927\","
    "SPHEROID[\"Clarke_1866\",6378206.4,294.9786982138982]],PRIMEM[\"Greenwich\",0.0],"
    "UNIT[\"Degree\",0.0174532925199433]]";
const char kWgs84[] =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const char kNtfParis[] =
    "GEOGCS[\"GCS_NTF_Paris\",DATUM[\"D_NTF\",SPHEROID[\"Clarke_1880_IGN\",6378249.2,"
    "293.4660212936269]],PRIMEM[\"Paris\",2.337229166666667],UNIT[\"Grad\",0.01570796326794897]]";
const char kNtf[] =
    "GEOGCS[\"GCS_NTF\",DATUM[\"D_NTF\",SPHEROID[\"Clarke_1880_IGN\",6378249.2,"
    "293.4660212936269]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

bool registry_bound(const char *method) {
  kx_method m = kx_method_from_string((std::string("METHOD[\"") + method + "\"]").c_str());
  const bool bound = m != nullptr;
  kx_method_del(m);
  return bound;
}

void check_case(const std::string &text, const char *name, double unit1, double unit2) {
  kx_geogtran gt = kx_geogtran_from_string(text.c_str());
  ASSERT_NE(gt, nullptr) << text;
  auto points = kxtest::load_points();
  ASSERT_FALSE(points[name].empty());
  for (const kxtest::GtPoint &p : points[name]) {
    const bool fwd = p.dir == "fwd";
    double xy[2] = {p.in[0], p.in[1]}, h = p.in[2];
    ASSERT_EQ(fwd ? kx_geog1_to_geog2(gt, 1, xy, &h) : kx_geog2_to_geog1(gt, 1, xy, &h), 1);
    const double unit = fwd ? unit2 : unit1;
    double d = std::remainder(xy[0] - p.out[0], 2 * 3.141592653589793 / unit);
    EXPECT_LE(std::fabs(d) * std::cos(p.out[1] * unit), 2e-12) << name << " " << p.dir;
    EXPECT_NEAR(xy[1], p.out[1], 2e-12) << name << " " << p.dir;
    EXPECT_NEAR(h, p.out[2], 1e-8) << name << " " << p.dir;
  }
  kx_geogtran_del(gt);
}

TEST(GeogtranText, TransformsAsReadFromText) {
  if (!registry_bound("Geocentric_Translation") || !registry_bound("Longitude_Rotation"))
    GTEST_SKIP() << "method registry rows not bound in this build";
  // EPSG 1170; the method before the two CSs still reads them in text order.
  check_case(std::string("GEOGTRAN[\"NAD_1927_To_WGS_1984_1\",METHOD[\"Geocentric_Translation\"],") +
                 kNad27 + "," + kWgs84 +
                 ",PARAMETER[\"X_Axis_Translation\",-3.0],PARAMETER[\"Y_Axis_Translation\",142.0],"
                 "PARAMETER[\"Z_Axis_Translation\",183.0]]",
             "nad27_wgs84", kxtest::kDeg, kxtest::kDeg);
  // EPSG 1763: grads on Paris to degrees on Greenwich, same datum.
  check_case(std::string("GEOGTRAN[\"NTF_Paris_To_NTF\",") + kNtfParis + "," + kNtf +
                 ",METHOD[\"Longitude_Rotation\"]]",
             "ntf_paris_ntf", 0.01570796326794897, 0.0174532925199433);
}

}  // namespace
