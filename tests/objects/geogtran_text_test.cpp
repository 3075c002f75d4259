// Transformations read from text through the method registry: element order,
// absent parameters, case of the method name, and texts that must not read.
#include "kx.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kNad27 =
    "GEOGCS[\"GCS_North_American_1927\",DATUM[\"D_North_American_1927\",SPHEROID[\"Clarke_1866\","
    "6378206.4,294.9786982138982]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const std::string kWgs84 =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const std::string kShift =
    ",PARAMETER[\"X_Axis_Translation\",-3.0],PARAMETER[\"Y_Axis_Translation\",142.0],"
    "PARAMETER[\"Z_Axis_Translation\",183.0]";

std::string name_of(kx_geogcs g) {
  char name[64];
  kx_geogcs_name(g, name);
  return name;
}

std::string text_of(kx_geogtran gt) {
  char text[KX_TEXT_MAX_GEOGTRAN + 1];
  return kx_geogtran_to_string(gt, text);
}

TEST(GeographicTransformationText, OrderAbsentParametersAndMethodCase) {
  const std::string canonical = "GEOGTRAN[\"NAD_1927_To_WGS_1984_1\"," + kNad27 + "," + kWgs84 +
                                ",METHOD[\"Geocentric_Translation\"]" + kShift + "]";
  kx_geogtran gt = kx_geogtran_from_string(canonical.c_str());
  ASSERT_NE(gt, nullptr);
  EXPECT_EQ(text_of(gt), canonical);
  EXPECT_EQ(kx_geogtran_status(gt), 2);
  // No constants function for an equation method.
  EXPECT_EQ(kx_geogtran_load_constants(gt), 0);
  EXPECT_EQ(kx_geogtran_isconstloaded(gt), 0);

  // The method first; the CSs are still taken in text order.
  const std::string method_first = "GEOGTRAN[\"NAD_1927_To_WGS_1984_1\",METHOD[\"Geocentric_Translation\"]," +
                                   kWgs84 + "," + kNad27 + kShift + "]";
  kx_geogtran swapped = kx_geogtran_from_string(method_first.c_str());
  ASSERT_NE(swapped, nullptr);
  EXPECT_EQ(name_of(kx_geogtran_geogcs1(swapped)), "GCS_WGS_1984");
  EXPECT_EQ(name_of(kx_geogtran_geogcs2(swapped)), "GCS_North_American_1927");
  EXPECT_EQ(kx_geogtran_eq(gt, swapped), 0);

  // A method name in other case reads as the registry's method.
  std::string lower = canonical;
  lower.replace(lower.find("Geocentric_Translation"), 22, "geocentric_translation");
  kx_geogtran cased = kx_geogtran_from_string(lower.c_str());
  ASSERT_NE(cased, nullptr);
  double a[2] = {-100 * 0.0174532925199433, 40 * 0.0174532925199433}, b[2] = {a[0], a[1]};
  EXPECT_EQ(kx_geog1_to_geog2(gt, 1, a, nullptr), 1);
  EXPECT_EQ(kx_geog1_to_geog2(cased, 1, b, nullptr), 1);
  EXPECT_EQ(a[0], b[0]);
  EXPECT_EQ(a[1], b[1]);

  // Without parameters: reads and writes back without them.
  const std::string bare = "GEOGTRAN[\"Same\"," + kWgs84 + "," + kWgs84 + ",METHOD[\"Longitude_Rotation\"]]";
  kx_geogtran rotation = kx_geogtran_from_string(bare.c_str());
  ASSERT_NE(rotation, nullptr);
  EXPECT_EQ(text_of(rotation), bare);

  for (kx_geogtran t : {gt, swapped, cased, rotation}) kx_geogtran_del(t);
}

TEST(GeographicTransformationText, TextsThatDoNotRead) {
  for (const std::string &text :
       {"GEOGTRAN[\"T\"," + kNad27 + "," + kWgs84 + ",METHOD[\"No_Such_Method\"]]",
        "GEOGTRAN[\"T\"," + kNad27 + ",METHOD[\"Geocentric_Translation\"]]",
        "GEOGTRAN[\"T\"," + kNad27 + "," + kWgs84 + "]", std::string("GEOGTRAN[\"T\"]"), std::string("GEOGTRAN[]")}) {
    kx_geogtran gt = kx_geogtran_from_string(text.c_str());
    EXPECT_EQ(gt, nullptr) << text;
    kx_geogtran_del(gt);
  }
  // A parameter value that is not a number reads as 0.
  const std::string junk = "GEOGTRAN[\"T\"," + kNad27 + "," + kWgs84 +
                           ",METHOD[\"Geocentric_Translation\"],PARAMETER[\"X_Axis_Translation\",abc]]";
  kx_geogtran gt = kx_geogtran_from_string(junk.c_str());
  ASSERT_NE(gt, nullptr);
  kx_parameter slots[16];
  kx_geogtran_parameters(gt, slots);
  ASSERT_NE(slots[0], nullptr);
  EXPECT_EQ(kx_parameter_value(slots[0]), 0.0);
  kx_geogtran_del(gt);
}

}  // namespace
