// Datum, geographic CS and geocentric CS: real texts read and written back
// byte for byte (values from EPSG v10.076: 4326 WGS 84, 4267 NAD27 on Clarke
// 1866, 4807 NTF (Paris) in grad on Clarke 1880 (IGN), 4314 DHDN on Bessel
// 1841), component order, ownership, failure paths and hostile mutations.
#include "kx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

const char *kWgs84 =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const char *kNad27 =
    "GEOGCS[\"GCS_North_American_1927\",DATUM[\"D_North_American_1927\","
    "SPHEROID[\"Clarke_1866\",6378206.4,294.9786982138982]],PRIMEM[\"Greenwich\",0.0],"
    "UNIT[\"Degree\",0.0174532925199433]]";
const char *kNtfParis =
    "GEOGCS[\"GCS_NTF_Paris\",DATUM[\"D_NTF\",SPHEROID[\"Clarke_1880_IGN\",6378249.2,"
    "293.4660212936269]],PRIMEM[\"Paris\",2.33722917],UNIT[\"Grad\",0.01570796326794895]]";

std::string geogcs_text(kx_geogcs g) {
  char b[1024];
  const int n = kx_geogcs_to_string(g, b);
  EXPECT_EQ(static_cast<size_t>(n), std::strlen(b));
  return b;
}

std::string name_of(kx_datum d) {
  char b[64];
  kx_datum_name(d, b);
  return b;
}

TEST(GeographicCs, RealTextsWriteBackIdentically) {
  for (const char *t : {kWgs84, kNad27, kNtfParis}) {
    kx_geogcs g = kx_geogcs_from_string(t);
    ASSERT_NE(g, nullptr) << t;
    EXPECT_EQ(geogcs_text(g), t);
    EXPECT_EQ(kx_geogcs_status(g), 2);
    EXPECT_EQ(kx_datum_status(kx_geogcs_datum(g)), 2);
    EXPECT_EQ(kx_spheroid_status(kx_datum_spheroid(kx_geogcs_datum(g))), 2);
    kx_geogcs c = kx_geogcs_clone(g);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(kx_geogcs_status(c), 1);
    EXPECT_EQ(kx_datum_status(kx_geogcs_datum(c)), 1);
    EXPECT_NE(kx_geogcs_datum(c), kx_geogcs_datum(g));  // deep copy
    EXPECT_NE(kx_geogcs_unit(c), kx_geogcs_unit(g));
    EXPECT_EQ(kx_geogcs_eq(g, c), 1);
    EXPECT_EQ(geogcs_text(c), t);
    kx_geogcs_del(c);
    kx_geogcs_del(g);
  }

  kx_geogcs ntf = kx_geogcs_from_string(kNtfParis);
  EXPECT_NEAR(kx_primem_longitude(kx_geogcs_primem(ntf)), 2.337229169999998, 1e-14);
  EXPECT_DOUBLE_EQ(kx_unit_factor(kx_geogcs_unit(ntf)), 0.01570796326794895);
  EXPECT_DOUBLE_EQ(kx_spheroid_flattening(kx_datum_spheroid(kx_geogcs_datum(ntf))),
                   0.003407549520015647);
  kx_geogcs_del(ntf);
}

TEST(GeographicCs, BuiltFromPartsMatchesTheText) {
  kx_geogcs g = kx_geogcs_new(
      "GCS_North_American_1927",
      kx_datum_new("D_North_American_1927",
                   kx_spheroid_new("Clarke_1866", 6378206.4, 0.0033900753039287908)),
      kx_primem_new("Greenwich", 0.0), kx_unit_new("Degree", 0.0174532925199433));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(geogcs_text(g), kNad27);
  kx_geogcs r = kx_geogcs_from_string(kNad27);
  EXPECT_EQ(kx_geogcs_eq(g, r), 1);
  kx_geogcs_del(r);
  kx_geogcs_del(g);

  // Null components fail and stay with the caller.
  kx_datum d = kx_datum_new("d", kx_spheroid_new("s", 1.0, 0.0));
  kx_unit u = kx_unit_new("u", 1.0);
  EXPECT_EQ(kx_geogcs_new("g", d, nullptr, u), nullptr);
  EXPECT_EQ(kx_geogcs_new(nullptr, d, kx_geogcs_primem(nullptr), u), nullptr);
  EXPECT_EQ(kx_datum_new("d", nullptr), nullptr);
  EXPECT_EQ(kx_geoxyzcs_new("x", nullptr, u), nullptr);
  kx_datum_del(d);
  kx_unit_del(u);
}

TEST(GeographicCs, ComponentsInAnyOrder) {
  kx_geogcs usual = kx_geogcs_from_string(kWgs84);
  const char *orders[] = {
      "GEOGCS[\"GCS_WGS_1984\",PRIMEM[\"Greenwich\",0.0],DATUM[\"D_WGS_1984\","
      "SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],UNIT[\"Degree\",0.0174532925199433]]",
      "GEOGCS[\"GCS_WGS_1984\",UNIT[\"Degree\",0.0174532925199433],PRIMEM[\"Greenwich\",0.0],"
      "DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]]]",
      "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
      "298.257223563]],UNIT[\"Degree\",0.0174532925199433],PRIMEM[\"Greenwich\",0.0]]",
  };
  for (const char *t : orders) {
    kx_geogcs g = kx_geogcs_from_string(t);
    ASSERT_NE(g, nullptr) << t;
    EXPECT_EQ(kx_geogcs_eq(g, usual), 1) << t;
    EXPECT_EQ(geogcs_text(g), kWgs84);
    kx_geogcs_del(g);
  }
  // First and last token of the element, inside a larger token array.
  char buffer[1024];
  char *tokens[200];
  int count = 0;
  const std::string outer = std::string("X[\"x\",") + orders[0] + "]";
  kx_objstring_tokens(outer.c_str(), "X", buffer, tokens, &count);
  ASSERT_EQ(count, 16);
  int first = 0, last = 0;
  kx_geogcs g = kx_geogcs_from_tokens(tokens, count, 0, &first, &last);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 15);
  kx_geogcs_del(g);
  kx_geogcs_del(usual);
}

TEST(GeographicCs, GermanDatumNamesAreCorrected) {
  const char *t =
      "GEOGCS[\"gcs_deutsche_hauptdreiecksnetz\",DATUM[\"D_Deutsche_Hauptdreiecksnetz\","
      "SPHEROID[\"Bessel_1841\",6377397.155,299.1528128]],PRIMEM[\"Greenwich\",0.0],"
      "UNIT[\"Degree\",0.0174532925199433]]";
  kx_geogcs g = kx_geogcs_from_string(t);
  ASSERT_NE(g, nullptr);
  char b[64];
  kx_geogcs_name(g, b);
  EXPECT_STREQ(b, "GCS_Deutsches_Hauptdreiecksnetz");
  EXPECT_EQ(name_of(kx_geogcs_datum(g)), "D_Deutsches_Hauptdreiecksnetz");
  kx_geogcs_del(g);
  // A name that merely contains the misspelling stays as it is.
  kx_datum d = kx_datum_from_string(
      "DATUM[\"D_Deutsche_Hauptdreiecksnetz,x\",SPHEROID[\"Bessel_1841\",6377397.155,"
      "299.1528128]]");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(name_of(d), "D_Deutsche_Hauptdreiecksnetz,x");
  kx_datum_del(d);
}

TEST(GeographicCs, MissingOrBadComponentsFailWithoutLeaks) {
  const char *bad[] = {
      // no UNIT, though everything else is there
      "GEOGCS[\"g\",DATUM[\"d\",SPHEROID[\"s\",6378137.0,298.257223563]],PRIMEM[\"p\",0.0],"
      "PRIMEM[\"p\",0.0],PRIMEM[\"q\",0.0]]",
      // no PRIMEM
      "GEOGCS[\"g\",DATUM[\"d\",SPHEROID[\"s\",6378137.0,298.257223563]],UNIT[\"u\",1.0],"
      "UNIT[\"v\",1.0],UNIT[\"w\",1.0]]",
      // no DATUM
      "GEOGCS[\"g\",PRIMEM[\"p\",0.0],UNIT[\"u\",1.0],PRIMEM[\"p\",0.0],UNIT[\"u\",1.0],"
      "UNIT[\"v\",1.0]]",
      // a unit factor of 0
      "GEOGCS[\"g\",DATUM[\"d\",SPHEROID[\"s\",6378137.0,298.257223563]],PRIMEM[\"p\",0.0],"
      "UNIT[\"u\",0.0]]",
      // a prime meridian beyond 180
      "GEOGCS[\"g\",DATUM[\"d\",SPHEROID[\"s\",6378137.0,298.257223563]],PRIMEM[\"p\",181],"
      "UNIT[\"u\",1.0]]",
      // a NaN axis
      "GEOGCS[\"g\",DATUM[\"d\",SPHEROID[\"s\",nan,298.257223563]],PRIMEM[\"p\",0],"
      "UNIT[\"u\",1.0]]",
      // too few tokens after the keyword
      "GEOGCS[\"g\",DATUM[\"d\",SPHEROID[\"s\",1,0]],PRIMEM[\"p\",0],UNIT[\"u\"]]",
  };
  for (const char *t : bad) EXPECT_EQ(kx_geogcs_from_string(t), nullptr) << t;

  // The failing search's last index is reported.
  char buffer[1024];
  char *tokens[200];
  int count = 0;
  kx_objstring_tokens(bad[0], "GEOGCS", buffer, tokens, &count);
  int first = -1, last = -1;
  EXPECT_EQ(kx_geogcs_from_tokens(tokens, count, 0, &first, &last), nullptr);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 11);  // the unit search started after the first PRIMEM

  // A text longer than 1023 characters loses its UNIT to the cut.
  std::string padded = kWgs84;
  padded.insert(padded.find("PRIMEM"), std::string(1000, ' '));
  EXPECT_EQ(kx_geogcs_from_string(padded.c_str()), nullptr);
}

TEST(GeographicCs, EqualityComparesEveryComponent) {
  kx_geogcs a = kx_geogcs_from_string(kWgs84);
  std::string t = kWgs84;
  t.replace(t.find("\"Greenwich\",0.0"), 15, "\"Greenwich\",0.000000001");
  kx_geogcs b = kx_geogcs_from_string(t.c_str());
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(kx_geogcs_eq(a, b), 0);  // prime meridians 1e-9 degrees apart
  kx_geogcs_del(b);
  std::string lower = kWgs84;
  for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  b = kx_geogcs_from_string(lower.c_str());
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(kx_geogcs_eq(a, b), 1);  // names ignore case
  kx_geogcs_del(b);
  b = kx_geogcs_from_string(kNad27);
  EXPECT_EQ(kx_datum_eq(kx_geogcs_datum(a), kx_geogcs_datum(b)), 0);
  EXPECT_EQ(kx_geogcs_eq(a, b), 0);
  EXPECT_EQ(kx_geogcs_eq(a, nullptr), 0);
  EXPECT_EQ(kx_geogcs_eq(a, reinterpret_cast<kx_geogcs>(kx_geogcs_datum(b))), 0);
  kx_geogcs_del(b);
  kx_geogcs_del(a);
}

TEST(GeographicCs, InvalidHandlesGetDefaults) {
  kx_unit u = kx_unit_new("Meter", 1.0);
  kx_geogcs g = reinterpret_cast<kx_geogcs>(u);
  EXPECT_EQ(kx_geogcs_datum(g), nullptr);
  EXPECT_EQ(kx_geogcs_primem(g), nullptr);
  EXPECT_EQ(kx_geogcs_unit(g), nullptr);
  EXPECT_EQ(kx_geogcs_p(g), 0);
  EXPECT_EQ(kx_geogcs_clone(g), nullptr);
  kx_geogcs_del(g);
  kx_datum_del(reinterpret_cast<kx_datum>(u));
  kx_geoxyzcs_del(reinterpret_cast<kx_geoxyzcs>(u));
  EXPECT_EQ(kx_datum_spheroid(reinterpret_cast<kx_datum>(u)), nullptr);
  EXPECT_EQ(kx_geoxyzcs_geogcs(reinterpret_cast<kx_geoxyzcs>(u)), nullptr);
  EXPECT_EQ(kx_geoxyzcs_unit(reinterpret_cast<kx_geoxyzcs>(u)), nullptr);
  EXPECT_EQ(geogcs_text(g),
            "GEOGCS[\"\",DATUM[\"\",SPHEROID[\"\",1.0,0.0]],PRIMEM[\"\",0.0],UNIT[\"\",1.0]]");
  char b[1024];
  const char *empty_datum = "DATUM[\"\",SPHEROID[\"\",1.0,0.0]]";
  EXPECT_EQ(kx_datum_to_string(nullptr, b), static_cast<int>(std::strlen(empty_datum)));
  EXPECT_STREQ(b, empty_datum);
  EXPECT_EQ(kx_unit_factor(u), 1.0);  // still alive after the ignored deletes
  kx_unit_del(u);
}

TEST(GeocentricCs, RoundTripAndOrder) {
  const std::string t = std::string("GEOXYZCS[\"WGS_1984_Geocentric\",") + kWgs84 +
                        ",UNIT[\"Meter\",1.0]]";
  kx_geoxyzcs x = kx_geoxyzcs_from_string(t.c_str());
  ASSERT_NE(x, nullptr);
  char b[1024];
  EXPECT_EQ(kx_geoxyzcs_to_string(x, b), static_cast<int>(t.size()));
  EXPECT_EQ(t, b);
  EXPECT_EQ(kx_unit_factor(kx_geoxyzcs_unit(x)), 1.0);
  EXPECT_EQ(kx_unit_factor(kx_geogcs_unit(kx_geoxyzcs_geogcs(x))), 0.0174532925199433);

  // The linear unit before the geographic CS.
  const std::string u_first = std::string("GEOXYZCS[\"WGS_1984_Geocentric\",UNIT[\"Meter\",1.0],") +
                              kWgs84 + "]";
  kx_geoxyzcs y = kx_geoxyzcs_from_string(u_first.c_str());
  ASSERT_NE(y, nullptr);
  EXPECT_EQ(kx_geoxyzcs_eq(x, y), 1);
  kx_geoxyzcs c = kx_geoxyzcs_clone(y);
  EXPECT_EQ(kx_geoxyzcs_eq(c, x), 1);
  EXPECT_EQ(kx_geoxyzcs_status(c), 1);
  EXPECT_EQ(kx_geoxyzcs_status(y), 2);
  kx_geoxyzcs_del(c);
  kx_geoxyzcs_del(y);

  // A missing linear unit fails (the geographic CS's unit is not enough).
  const std::string no_unit = std::string("GEOXYZCS[\"g\",") + kWgs84 + ",PRIMEM[\"x\",0],X]";
  EXPECT_EQ(kx_geoxyzcs_from_string(no_unit.c_str()), nullptr);
  kx_geoxyzcs_del(x);
}

// Every prefix and thousands of random corruptions of a real text: each read
// either fails or gives an object that writes a text which reads back equal.
TEST(GeographicCs, TruncatedAndMutatedTextsAreSafe) {
  const std::string t = kNtfParis;
  // Until the unit factor has a nonzero digit, every prefix fails.
  const size_t factor_at = t.find("0.01570796326794895");
  for (size_t n = 0; n <= t.size(); ++n) {
    const std::string prefix = t.substr(0, n);
    kx_geogcs g = kx_geogcs_from_string(prefix.c_str());
    if (n <= factor_at + 3) {
      EXPECT_EQ(g, nullptr) << n;
    }
    if (n >= t.size() - 2) {
      EXPECT_NE(g, nullptr) << n;
    }
    kx_geogcs_del(g);
  }
  std::mt19937 rng(7u);
  const char pieces[] = "[](),\"_ 0123456789.e-GEOGCSDATUMSPHEROIDPRIMEMUNIT";
  int read = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string m = t;
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < edits; ++e) {
      const size_t at = rng() % m.size();
      switch (rng() % 3) {
        case 0: m[at] = pieces[rng() % (sizeof pieces - 1)]; break;
        case 1: m.erase(at, 1 + rng() % 8); break;
        default: m.insert(at, 1, pieces[rng() % (sizeof pieces - 1)]); break;
      }
      if (m.empty()) m = "G";
    }
    kx_geogcs g = kx_geogcs_from_string(m.c_str());
    if (g != nullptr) {
      ++read;
      char b[1024];
      kx_geogcs_to_string(g, b);
      kx_geogcs r = kx_geogcs_from_string(b);
      // Numbers from 1e16 on are written with 7 digits only, so those
      // objects cannot come back equal; all others must.
      kx_spheroid sph = kx_datum_spheroid(kx_geogcs_datum(g));
      const double f = kx_spheroid_flattening(sph);
      const bool exact = kx_spheroid_axis(sph) < 1e16 && (f == 0.0 || f > 1e-16) &&
                         kx_unit_factor(kx_geogcs_unit(g)) < 1e16;
      if (exact) {
        EXPECT_EQ(kx_geogcs_eq(g, r), 1) << m << "\n" << b;
      }
      kx_geogcs_del(r);
      kx_geogcs_del(g);
    }
  }
  EXPECT_GT(read, 100);  // the mutations exercise the success path as well
}

}  // namespace
