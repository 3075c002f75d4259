// Projected CS and projection texts read through the registry: element
// order, repeated and unknown parameters, the unit rule, name handling.
// Values of EPSG 28992 (Amersfoort / RD New).
#include "kx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string kGeogcs =
    "GEOGCS[\"GCS_Amersfoort\",DATUM[\"D_Amersfoort\",SPHEROID[\"Bessel_1841\",6377397.155,"
    "299.1528128]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const std::string kProjection = "PROJECTION[\"Double_Stereographic\"]";
const std::vector<std::string> kParameters = {
    "PARAMETER[\"False_Easting\",155000.0]", "PARAMETER[\"False_Northing\",463000.0]",
    "PARAMETER[\"Central_Meridian\",5.38763888888889]",
    "PARAMETER[\"Scale_Factor\",0.9999079]",
    "PARAMETER[\"Latitude_Of_Origin\",52.15616055555555]"};
const std::string kUnit = "UNIT[\"Meter\",1.0]";

std::string join(const std::vector<std::string> &parts) {
  std::string text = "PROJCS[\"RD_New\"";
  for (const std::string &p : parts) text += "," + p;
  return text + "]";
}

std::string text_of(kx_projcs p) {
  static char b[KX_TEXT_MAX_PROJCS + 1];
  kx_projcs_to_string(p, b);
  return b;
}

std::vector<std::string> usual_order() {
  std::vector<std::string> parts = {kGeogcs, kProjection};
  parts.insert(parts.end(), kParameters.begin(), kParameters.end());
  parts.push_back(kUnit);
  return parts;
}

TEST(ProjectedCsText, RealTextWritesBackIdentically) {
  const std::string text = join(usual_order());
  kx_projcs p = kx_projcs_from_string(text.c_str());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(kx_projcs_status(p), 2);
  EXPECT_EQ(text_of(p), text);
  int first = -1, last = -1;
  char buffer[1024];
  char *tokens[200];
  int count = 0;
  kx_objstring_tokens(text.c_str(), "PROJCS", buffer, tokens, &count);
  kx_projcs q = kx_projcs_from_tokens(tokens, count, 0, &first, &last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, count - 1);
  EXPECT_EQ(kx_projcs_eq(p, q), 1);
  kx_projcs_del(q);
  kx_projcs_del(p);
}

TEST(ProjectedCsText, AnyElementOrderReadsToTheSameObject) {
  const std::string usual = join(usual_order());
  kx_projcs reference = kx_projcs_from_string(usual.c_str());
  ASSERT_NE(reference, nullptr);
  std::mt19937 rng(28992);
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<std::string> parts = usual_order();
    std::shuffle(parts.begin(), parts.end(), rng);
    const std::string text = join(parts);
    kx_projcs p = kx_projcs_from_string(text.c_str());
    ASSERT_NE(p, nullptr) << text;
    EXPECT_EQ(kx_projcs_eq(p, reference), 1) << text;
    EXPECT_EQ(text_of(p), usual);  // written back in the canonical order
    kx_projcs_del(p);
  }
  kx_projcs_del(reference);
}

TEST(ProjectedCsText, ParametersRepeatedUnknownAndTheUnitRule) {
  std::vector<std::string> parts = usual_order();
  parts.insert(parts.end() - 1, "PARAMETER[\"Central_Meridian\",6.0]");
  parts.insert(parts.begin() + 2, "PARAMETER[\"Foo\",1.0]");
  kx_projcs p = kx_projcs_from_string(join(parts).c_str());
  ASSERT_NE(p, nullptr);
  kx_parameter slots[16];
  kx_projcs_parameters(p, slots);
  EXPECT_EQ(kx_parameter_value(slots[2]), 6.0);  // the later one wins
  EXPECT_EQ(text_of(p).find("Foo"), std::string::npos);
  kx_projcs_del(p);

  // Without its own UNIT the projected CS fails even though GEOGCS has one.
  std::vector<std::string> no_unit = usual_order();
  no_unit.pop_back();
  EXPECT_EQ(kx_projcs_from_string(join(no_unit).c_str()), nullptr);
  // With the GEOGCS last, its angular unit is not taken for the linear one.
  std::vector<std::string> gcs_last = usual_order();
  std::rotate(gcs_last.begin(), gcs_last.begin() + 1, gcs_last.end());
  kx_projcs q = kx_projcs_from_string(join(gcs_last).c_str());
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(kx_unit_factor(kx_projcs_unit(q)), 1.0);
  kx_projcs_del(q);
  gcs_last.erase(gcs_last.end() - 2);  // drop the linear UNIT
  EXPECT_EQ(kx_projcs_from_string(join(gcs_last).c_str()), nullptr);

  // A value that is not a number reads as 0, as kx_atod gives it.
  std::vector<std::string> bad = usual_order();
  bad[2] = "PARAMETER[\"False_Easting\",abc]";
  kx_projcs b = kx_projcs_from_string(join(bad).c_str());
  ASSERT_NE(b, nullptr);
  kx_projcs_parameters(b, slots);
  EXPECT_EQ(kx_parameter_value(slots[0]), 0.0);
  kx_projcs_del(b);
  // An unknown projection name fails it too.
  std::vector<std::string> unknown = usual_order();
  unknown[1] = "PROJECTION[\"Nonesuch\"]";
  EXPECT_EQ(kx_projcs_from_string(join(unknown).c_str()), nullptr);
}

TEST(ProjectionText, NamesMatchIgnoringCaseAndSpaces) {
  kx_projection p = kx_projection_from_string("PROJECTION[\"double stereographic\"]");
  ASSERT_NE(p, nullptr);
  char name[64];
  kx_projection_name(p, name);
  EXPECT_STREQ(name, "double_stereographic");
  EXPECT_EQ(kx_projection_forward(p), kx_double_stereographic_fwd);
  EXPECT_EQ(kx_projection_pcsconstfunc(p), kx_double_stereographic_const);
  EXPECT_EQ(kx_projection_status(p), 2);
  kx_projection q = kx_projection_from_string("PROJECTION[\"Double_Stereographic\"]");
  EXPECT_EQ(kx_projection_eq(p, q), 1);
  // Same functions, different names: different projections.
  kx_projection r = kx_projection_from_string("PROJECTION[\"Stereographic\"]");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(kx_projection_eq(p, r), 0);
  for (kx_projection x : {p, q, r}) kx_projection_del(x);
}

TEST(ProjectedCsText, ConstantsLoadForARegistryProjection) {
  kx_projcs p = kx_projcs_from_string(join(usual_order()).c_str());
  ASSERT_NE(p, nullptr);
  double per_call[] = {5.0, 52.0, 6.0, 53.0};
  double loaded[] = {5.0, 52.0, 6.0, 53.0};
  EXPECT_EQ(kx_geog_to_proj(p, 2, per_call), 2);
  EXPECT_NE(kx_projcs_load_constants(p), 0);
  EXPECT_EQ(kx_projcs_isconstloaded(p), 1);
  EXPECT_EQ(kx_geog_to_proj(p, 2, loaded), 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(per_call[i], loaded[i]);  // bit for bit
  // EPSG guidance note 7-2 example for RD New: 6E 53N (Bessel) ->
  // 196105.283 m E, 557057.739 m N.
  EXPECT_NEAR(loaded[2], 196105.283, 0.0005);
  EXPECT_NEAR(loaded[3], 557057.739, 0.0005);
  kx_projcs_del(p);
}

}  // namespace
