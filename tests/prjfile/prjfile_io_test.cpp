// Keyword projection files as files and against hostile input: null
// arguments, over-long lines, odd and huge files, the process locale, the
// writer's failures and its size bound, and the write-and-read-back sweep
// over every catalogue projected CS.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <cmath>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "kx.h"
#include "support/scratch.h"

namespace {

struct CsDeleter {
  void operator()(void *cs) const { kx_coordsys_del(cs); }
};
using Cs = std::unique_ptr<void, CsDeleter>;

const char kUtm[] = "Projection UTM\nZone 33\nDatum WGS84\nUnits METERS\nZunits FEET\nParameters\n";

}  // namespace

TEST(PrjfileInput, NullAndEmpty) {
  int status = 1;
  EXPECT_EQ(kx_coordsys_from_prjstring(nullptr, &status), nullptr);
  EXPECT_EQ(status, -100);
  status = 1;
  EXPECT_EQ(kx_coordsys_from_prjstring("", &status), nullptr);
  EXPECT_EQ(status, -100);
  EXPECT_EQ(kx_coordsys_from_prjstring(kUtm, nullptr), nullptr);
  EXPECT_EQ(kx_zunit_from_prjstring(kUtm, nullptr), nullptr);
  status = 1;
  EXPECT_EQ(kx_coordsys_from_prjfile(nullptr, &status), nullptr);
  EXPECT_EQ(status, -100);
  status = 1;
  EXPECT_EQ(kx_zunit_from_prjfile("", &status), nullptr);
  EXPECT_EQ(status, -100);
  char text[KX_PRJSTRING_MAX + 1] = "old";
  EXPECT_EQ(kx_coordsys_to_prjstring(nullptr, nullptr, text, &status), -100);
  EXPECT_EQ(status, -100);
  EXPECT_STREQ(text, "");
  kx_unit metre = kx_factory_unit(9001);
  EXPECT_EQ(kx_coordsys_to_prjstring(metre, nullptr, text, nullptr), -100);
  kx_unit_del(metre);
}

// A line or value longer than 255 characters is refused, not cut; a long
// comment goes with the comment.
TEST(PrjfileInput, LongLines) {
  int status = 1;
  const std::string ok = "Projection MOLLWEIDE\nDatum WGS84\nParameters\n";
  // 255 characters of leading zeros and "10": read whole; one more is refused.
  const std::string value = std::string(KX_PRJFILE_MAX_LINE - 2, '0') + "10";
  Cs cs(kx_coordsys_from_prjstring((ok + value + "\n").c_str(), &status));
  ASSERT_NE(cs, nullptr);
  kx_parameter p[16];
  kx_projcs_parameters(static_cast<kx_projcs>(cs.get()), p);
  EXPECT_EQ(kx_parameter_value(p[2]), 10.0);
  cs.reset(kx_coordsys_from_prjstring((ok + "0" + value + "\n").c_str(), &status));
  EXPECT_EQ(cs, nullptr);
  EXPECT_EQ(status, -102);
  cs.reset(kx_coordsys_from_prjstring(("Projection GEOGRAPHIC\nDatum WGS84" + std::string(300, 'X') + "\n").c_str(), &status));
  EXPECT_EQ(status, -102);
  cs.reset(kx_coordsys_from_prjstring(
      (ok + "10 0 0 /* " + std::string(5000, 'c') + "\n").c_str(), &status));
  EXPECT_NE(cs, nullptr);
  EXPECT_EQ(status, 0);
}

TEST(PrjfileInput, Files) {
  kxtest::ScratchDir dir;
  int status = 1;
  Cs cs(kx_coordsys_from_prjfile(dir.write("utm.prj", kUtm).c_str(), &status));
  ASSERT_NE(cs, nullptr);
  Cs want(kx_factory(32633));
  EXPECT_EQ(kx_coordsys_eq(cs.get(), want.get()), 1);
  kx_unit z = kx_zunit_from_prjfile(dir.path("utm.prj").c_str(), &status);
  ASSERT_NE(z, nullptr);
  EXPECT_DOUBLE_EQ(kx_unit_factor(z), 1200.0 / 3937.0);
  kx_unit_del(z);

  const std::string refused[] = {dir.dir(), dir.path("missing.prj")};
  for (const std::string &path : refused) {
    status = 1;
    EXPECT_EQ(kx_coordsys_from_prjfile(path.c_str(), &status), nullptr) << path;
    EXPECT_EQ(status, -101) << path;
  }
  // A FIFO is refused without waiting for a writer.
  ASSERT_EQ(mkfifo(dir.path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(kx_coordsys_from_prjfile(dir.path("fifo").c_str(), &status), nullptr);
  EXPECT_EQ(status, -101);
  EXPECT_EQ(kx_zunit_from_prjfile(dir.path("fifo").c_str(), &status), nullptr);
  EXPECT_EQ(status, -101);
  // Over the size limit (sparse, so nothing is written): refused unread.
  const std::string big = dir.write("big.prj", kUtm);
  ASSERT_EQ(truncate(big.c_str(), KX_PRJFILE_MAX_BYTES + 1), 0);
  EXPECT_EQ(kx_coordsys_from_prjfile(big.c_str(), &status), nullptr);
  EXPECT_EQ(status, -101);
  EXPECT_EQ(kx_coordsys_from_prjfile(dir.write("empty.prj", "").c_str(), &status), nullptr);
  EXPECT_EQ(status, -100);
}

// Numbers are read and written in the "C" notation under a locale whose
// decimal mark is a comma, and the process locale is left as it was.
TEST(PrjfileInput, CommaLocale) {
  if (std::setlocale(LC_ALL, "de_DE.utf8") == nullptr &&
      std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "no German locale";
  }
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  int status = 1;
  Cs cs(kx_coordsys_from_prjstring(
      "Projection TRANSVERSE\nDatum WGS84\nParameters\n0.9996\n15 30.5 0\n0\n500000.25\n0\n", &status));
  ASSERT_NE(cs, nullptr) << status;
  kx_parameter p[16];
  kx_projcs_parameters(static_cast<kx_projcs>(cs.get()), p);
  EXPECT_EQ(kx_parameter_value(p[5]), 0.9996);
  EXPECT_EQ(kx_parameter_value(p[2]), 15.508333333333333);
  EXPECT_EQ(kx_parameter_value(p[0]), 500000.25);
  char text[KX_PRJSTRING_MAX + 1];
  EXPECT_EQ(kx_coordsys_to_prjstring(cs.get(), nullptr, text, &status), 0);
  EXPECT_NE(std::strstr(text, "\n0.9996 /*"), nullptr) << text;
  EXPECT_NE(std::strstr(text, "500000.25 /*"), nullptr) << text;
  EXPECT_EQ(before, std::setlocale(LC_NUMERIC, nullptr));
  std::setlocale(LC_ALL, "C");
}

TEST(PrjfileWriter, FilesAndFailures) {
  kxtest::ScratchDir dir;
  Cs pcs(kx_factory(2257));
  kx_unit feet = kx_factory_unit(9003);
  int status = 1;
  const std::string path = dir.path("out.prj");
  EXPECT_EQ(kx_coordsys_to_prjfile(pcs.get(), feet, path.c_str(), &status), 0);
  EXPECT_EQ(status, 0);
  // The state-plane zone is written as a FIPS zone, which reads back.
  char text[KX_PRJSTRING_MAX + 1];
  EXPECT_EQ(kx_coordsys_to_prjstring(pcs.get(), feet, text, &status), 0);
  EXPECT_NE(std::strstr(text, "Fipszone      3001\n"), nullptr) << text;
  EXPECT_NE(std::strstr(text, "Zunits        FEET\n"), nullptr) << text;
  Cs back(kx_coordsys_from_prjfile(path.c_str(), &status));
  EXPECT_EQ(kx_coordsys_eq(pcs.get(), back.get()), 1);
  kx_unit z = kx_zunit_from_prjfile(path.c_str(), &status);
  EXPECT_EQ(kx_unit_eq(z, feet), 1);
  kx_unit_del(z);
  kx_unit_del(feet);

  ASSERT_EQ(mkfifo(dir.path("fifo").c_str(), 0600), 0);
  const std::string refused[] = {dir.dir(), dir.path("no/such/dir/x.prj"), dir.path("fifo"),
                                 "/dev/full", ""};
  for (const std::string &p : refused) {
    status = 1;
    const int want = p.empty() ? -100 : -101;
    EXPECT_EQ(kx_coordsys_to_prjfile(pcs.get(), nullptr, p.c_str(), &status), want) << p;
    EXPECT_EQ(status, want) << p;
  }
}

// A write that fails on a regular file (here at the file size limit) is
// -101, not success with a cut file.
TEST(PrjfileWriter, WriteErrorIsReported) {
#ifdef KX_EMULATED
  GTEST_SKIP() << "the emulator's file size limit is not the process's";
#endif
  kxtest::ScratchDir dir;
  Cs pcs(kx_factory(32633));
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 16;
  void (*saved)(int) = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  int status = 1;
  const int result = kx_coordsys_to_prjfile(pcs.get(), nullptr, dir.path("cut.prj").c_str(), &status);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, saved);
  EXPECT_EQ(result, -101);
  EXPECT_EQ(status, -101);
}

// A false origin that no parameter line carries is written as the shifts,
// user axes on the Parameters line; both read back.
TEST(PrjfileWriter, ShiftsAndUserAxes) {
  const char *texts[] = {
      "PROJCS[\"WGS_1984_Mollweide\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\","
      "6378137.0,298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],"
      "PROJECTION[\"Mollweide\"],PARAMETER[\"False_Easting\",1000.5],PARAMETER[\"False_Northing\",-20.0],"
      "PARAMETER[\"Central_Meridian\",10.0],UNIT[\"Foot_US\",0.3048006096012192]]",
      "GEOGCS[\"GCS_User_Defined\",DATUM[\"D_User_Defined\",SPHEROID[\"User_Defined_Spheroid\",6378000.0,"
      "300.0]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]",
  };
  for (const char *t : texts) {
    Cs cs(kx_coordsys_from_string(t));
    ASSERT_NE(cs, nullptr) << t;
    char text[KX_PRJSTRING_MAX + 1];
    int status = 1;
    ASSERT_EQ(kx_coordsys_to_prjstring(cs.get(), nullptr, text, &status), 0);
    Cs back(kx_coordsys_from_prjstring(text, &status));
    EXPECT_EQ(kx_coordsys_eq(cs.get(), back.get()), 1) << text;
  }
}

// Keyword files whose systems the writer writes by a zone or grid keyword:
// a shift of the false origin must be written too, and each must read back
// as it was read (the keyword expected in the text).
TEST(PrjfileWriter, ShiftedZonesAndGrids) {
  const struct {
    const char *text, *keyword;
  } cases[] = {
      {"Projection STATEPLANE\nFipszone 3001\nDatum NAD83\nUnits METERS\nXshift 1000\nYshift -500\n",
       "STATEPLANE"},
      {"Projection STATEPLANE\nFipszone 3001\nDatum NAD27\nUnits 2\nXshift -250.5\n", "STATEPLANE"},
      // A conic zone is a state-plane zone as well.
      {"Projection STATEPLANE\nFipszone 0401\nDatum NAD83\nUnits FEET\n", "STATEPLANE"},
      {"Projection RSO\nUnits METERS\nYshift 3000\nParameters\n1\n", "RSO"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    int status = 1;
    Cs cs(kx_coordsys_from_prjstring(c.text, &status));
    ASSERT_NE(cs, nullptr) << status;
    char text[KX_PRJSTRING_MAX + 1];
    ASSERT_EQ(kx_coordsys_to_prjstring(cs.get(), nullptr, text, &status), 0);
    EXPECT_NE(std::strstr(text, c.keyword), nullptr) << text;
    Cs back(kx_coordsys_from_prjstring(text, &status));
    ASSERT_NE(back, nullptr) << text << status;
    EXPECT_EQ(kx_coordsys_eq(cs.get(), back.get()), 1) << text;
  }
}

// Angles are written in degrees whatever the geographic CS's angular unit:
// a central meridian of 0.2 radians is 11.459... degrees.
TEST(PrjfileWriter, AnglesInDegrees) {
  kx_projcs pcs = kx_projcs_from_string(
      "PROJCS[\"M\",GEOGCS[\"G\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
      "PRIMEM[\"Greenwich\",0.0],UNIT[\"Radian\",1.0]],PROJECTION[\"Mollweide\"],"
      "PARAMETER[\"Central_Meridian\",0.2],UNIT[\"Meter\",1.0]]");
  ASSERT_NE(pcs, nullptr);
  char text[KX_PRJSTRING_MAX + 1];
  int status = 1;
  ASSERT_EQ(kx_coordsys_to_prjstring(pcs, nullptr, text, &status), 0);
  EXPECT_NE(std::strstr(text, "  11 27 32.96"), nullptr) << text;
  Cs back(kx_coordsys_from_prjstring(text, &status));
  ASSERT_NE(back, nullptr) << text << status;
  // The same point: 0.3 rad east, 0.1 rad north, or the same in degrees.
  double a[2] = {0.3, 0.1};
  double b[2] = {0.3 * 180.0 / M_PI, 0.1 * 180.0 / M_PI};
  kx_geog_to_proj(pcs, 1, a);
  kx_geog_to_proj(static_cast<kx_projcs>(back.get()), 1, b);
  EXPECT_NEAR(a[0], b[0], 1e-3);
  EXPECT_NEAR(a[1], b[1], 1e-3);
  kx_projcs_del(pcs);
}

// What the keywords cannot say is refused rather than written wrongly.
TEST(PrjfileWriter, Inexpressible) {
  const char *texts[] = {
      // A rectified skew grid of the "centre" form has no keyword.
      "PROJCS[\"R\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
      "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],PROJECTION["
      "\"Rectified_Skew_Orthomorphic_Center\"],UNIT[\"Meter\",1.0]]",
      // Gnomonic is a sphere keyword: an ellipsoid would come back a sphere.
      "PROJCS[\"G\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
      "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],PROJECTION["
      "\"Gnomonic\"],UNIT[\"Meter\",1.0]]",
      // An angle beyond what the formatter writes.
      "PROJCS[\"M\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
      "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],PROJECTION["
      "\"Mollweide\"],PARAMETER[\"Central_Meridian\",1e300],UNIT[\"Meter\",1.0]]",
  };
  for (const char *t : texts) {
    kx_projcs pcs = kx_projcs_from_string(t);
    ASSERT_NE(pcs, nullptr) << t;
    char text[KX_PRJSTRING_MAX + 1];
    int status = 1;
    EXPECT_EQ(kx_coordsys_to_prjstring(pcs, nullptr, text, &status), -107) << t;
    EXPECT_STREQ(text, "");
    kx_projcs_del(pcs);
  }
}

// Every catalogue projected CS is written; what is written reads back and
// projects as the original (angles are written to a microsecond of arc,
// datums the keywords do not name become their ellipsoid); the counts of
// equal objects are printed for the record.
TEST(PrjfileWriter, CatalogueRoundTrip) {
  int n = 0;
  int *codes = kx_factory_projcs_codelist(&n);
  ASSERT_GT(n, 3000);
  int written = 0, equal = 0, equal_but_name = 0;
  std::size_t longest = 0;
  std::map<int, int> refused;
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(codes[i]);
    Cs pcs(kx_factory_projcs(codes[i]));
    if (!pcs) continue;
    char text[KX_PRJSTRING_MAX + 64];
    std::memset(text, 'x', sizeof text);
    int status = 1;
    if (kx_coordsys_to_prjstring(pcs.get(), nullptr, text, &status) != 0) {
      ++refused[status];
      continue;
    }
    ++written;
    longest = std::max(longest, std::strlen(text));
    EXPECT_LE(std::strlen(text), static_cast<std::size_t>(KX_PRJSTRING_MAX));
    Cs back(kx_coordsys_from_prjstring(text, &status));
    ASSERT_NE(back, nullptr) << text << status;
    auto a = static_cast<kx_projcs>(pcs.get()), b = static_cast<kx_projcs>(back.get());
    equal += kx_projcs_eq(a, b);
    equal_but_name += kx_projcs_eq(a, b) == 0 && kx_projcs_eqnn(a, b) != 0 ? 1 : 0;
    // A point near the system's origin projects alike.
    kx_parameter p[16];
    kx_projcs_parameters(a, p);
    double lon = 0.0, lat = 0.0;
    for (int s : {2, 10, 8}) lon = p[s] != nullptr && lon == 0.0 ? kx_parameter_value(p[s]) : lon;
    for (int s : {6, 11, 3}) lat = p[s] != nullptr && lat == 0.0 ? kx_parameter_value(p[s]) : lat;
    double xa[2] = {lon + 0.3, std::fmax(-89.0, std::fmin(89.0, lat + 0.2))};
    double xb[2] = {xa[0], xa[1]};
    kx_geog_to_proj(a, 1, xa);
    kx_geog_to_proj(b, 1, xb);
    EXPECT_TRUE((std::isnan(xa[0]) && std::isnan(xb[0])) ||
                (std::fabs(xa[0] - xb[0]) < 1e-3 && std::fabs(xa[1] - xb[1]) < 1e-3))
        << text << xa[0] << " " << xb[0] << " " << xa[1] << " " << xb[1];
  }
  kx_factory_codelist_del(codes);
  std::cout << "catalogue projected CSs " << n << ", written " << written << ", read back equal "
            << equal << ", equal but for the name " << equal_but_name << ", longest text "
            << longest << "; refused:";
  for (const auto &r : refused) std::cout << " " << r.first << " x" << r.second;
  std::cout << "\n";
  EXPECT_GT(equal, 600);
}
