// Keyword projection files: the case files under tests/data/prjfile/ (files
// and what they read as, every datum and spheroid keyword, units, angles,
// the angle formatter), the reader's and writer's refusals of bad input and
// odd files, and the write-and-read-back sweep over the catalogue.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "kx.h"
#include "support/cases.h"
#include "support/scratch.h"

namespace {

using kxtest::data_path;
using kxtest::num;
using kxtest::read_csv;

struct CsDeleter {
  void operator()(void *cs) const { kx_coordsys_del(cs); }
};
using Cs = std::unique_ptr<void, CsDeleter>;

Cs read_text(const std::string &text, int *status) {
  return Cs(kx_coordsys_from_prjstring(text.c_str(), status));
}

std::string trim(const std::string &s) {
  const auto a = s.find_first_not_of(' ');
  const auto b = s.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> split(const std::string &s, const std::string &sep) {
  std::vector<std::string> out;
  std::size_t at = 0;
  for (;;) {
    const auto next = s.find(sep, at);
    out.push_back(trim(s.substr(at, next == std::string::npos ? std::string::npos : next - at)));
    if (next == std::string::npos) return out;
    at = next + sep.size();
  }
}

bool near_rel(double a, double b, double rel) { return std::fabs(a - b) <= rel * std::fabs(b) + 1e-300; }

// The PROJCS text of a "pcs" expectation.
std::string projcs_text(const std::vector<std::string> &f) {
  std::string gcs = f[1];
  if (gcs.rfind("gcs:", 0) == 0) {
    kx_geogcs g = kx_factory_geogcs(std::stoi(gcs.substr(4)));
    static char buffer[KX_TEXT_MAX_GEOGCS + 1];
    kx_geogcs_to_string(g, buffer);
    kx_geogcs_del(g);
    gcs = buffer;
  }
  std::string text = "PROJCS[\"" + f[0] + "\"," + gcs + ",PROJECTION[\"" + f[2] + "\"]";
  for (const std::string &p : split(f[4], ";")) {
    const auto eq = p.find('=');
    text += ",PARAMETER[\"" + p.substr(0, eq) + "\"," + p.substr(eq + 1) + "]";
  }
  const auto comma = f[3].find(',');
  return text + ",UNIT[\"" + f[3].substr(0, comma) + "\"," + f[3].substr(comma + 1) + "]]";
}

// Projects a 3 x 3 grid of points 1.5 degrees apart around lon, lat.
std::vector<double> grid(kx_projcs pcs, double lon, double lat) {
  std::vector<double> xy;
  for (int i = -1; i <= 1; ++i) {
    for (int j = -1; j <= 1; ++j) {
      xy.push_back(lon + 1.5 * i);
      xy.push_back(std::fmax(-89.9, std::fmin(89.9, lat + 1.5 * j)));
    }
  }
  kx_geog_to_proj(pcs, static_cast<int>(xy.size() / 2), xy.data());
  return xy;
}

struct FileCase {
  std::string label, expectation;
  std::vector<std::string> flags;
  std::string text;
};

std::vector<FileCase> file_cases() {
  std::ifstream in(data_path("prjfile/files.txt"));
  std::vector<FileCase> cases;
  std::string line;
  bool in_case = false;
  while (std::getline(in, line)) {
    if (line.rfind("== ", 0) == 0) {
      const auto parts = split(line.substr(3), " :: ");
      cases.push_back({parts[0], parts.size() > 1 ? parts[1] : "", {}, ""});
      cases.back().flags.assign(parts.begin() + std::min<std::size_t>(2, parts.size()), parts.end());
      in_case = true;
    } else if (in_case) {
      cases.back().text += line + "\n";
    }
  }
  // Blank and comment lines between cases belong to no file.
  for (FileCase &c : cases) {
    while (c.text.size() >= 2 && c.text.compare(c.text.size() - 2, 2, "\n\n") == 0) c.text.pop_back();
    const auto hash = c.text.find("\n# ");
    if (hash != std::string::npos) c.text.resize(hash + 1);
  }
  return cases;
}

void check_file_case(const FileCase &c) {
  std::string text = c.text;
  for (const std::string &f : c.flags) {
    if (f == "nolf" && !text.empty() && text.back() == '\n') text.pop_back();
    if (f == "crlf") {
      std::string crlf;
      for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
      text = crlf;
    }
  }
  int status = 1;
  Cs cs = read_text(text, &status);
  const auto space = c.expectation.find(' ');
  const std::string kind = c.expectation.substr(0, space);
  const std::string args = c.expectation.substr(space + 1);
  if (kind == "status") {
    EXPECT_EQ(cs, nullptr);
    EXPECT_EQ(status, std::stoi(args));
    return;
  }
  ASSERT_NE(cs, nullptr) << "status " << status;
  EXPECT_EQ(status, 0);
  if (kind == "code") {
    // The catalogue's coordinate system of that code (EPSG gives some codes
    // to a datum as well, which kx_factory would answer with).
    kx_coordsys pcs = kx_factory_projcs(std::stoi(args));
    Cs want(pcs != nullptr ? pcs : kx_factory_geogcs(std::stoi(args)));
    EXPECT_EQ(kx_coordsys_eq(cs.get(), want.get()), 1);
  } else if (kind == "gcs") {
    std::istringstream in(args);
    int datum = 0, unit = 0;
    in >> datum >> unit;
    auto g = static_cast<kx_geogcs>(cs.get());
    ASSERT_EQ(kx_geogcs_p(g), 1);
    kx_datum d = kx_factory_datum(datum);
    kx_unit u = kx_factory_unit(unit);
    EXPECT_EQ(kx_datum_eq(kx_geogcs_datum(g), d), 1);
    EXPECT_EQ(kx_unit_eq(kx_geogcs_unit(g), u), 1);
    kx_datum_del(d);
    kx_unit_del(u);
  } else if (kind == "user") {
    std::istringstream in(args);
    double a = 0.0, b = 0.0;
    in >> a >> b;
    auto g = static_cast<kx_geogcs>(cs.get());
    char name[64];
    kx_datum_name(kx_geogcs_datum(g), name);
    EXPECT_STREQ(name, "D_User_Defined");
    kx_spheroid s = kx_datum_spheroid(kx_geogcs_datum(g));
    EXPECT_DOUBLE_EQ(kx_spheroid_axis(s), a);
    EXPECT_NEAR(kx_spheroid_axis(s) * (1.0 - kx_spheroid_flattening(s)), b, 1e-6);
  } else if (kind == "pcs") {
    const std::string want_text = projcs_text(split(args, " | "));
    kx_projcs want = kx_projcs_from_string(want_text.c_str());
    ASSERT_NE(want, nullptr) << want_text;
    auto got = static_cast<kx_projcs>(cs.get());
    char buffer[KX_TEXT_MAX_PROJCS + 1];
    EXPECT_EQ(kx_projcs_eq(got, want), 1) << kx_projcs_to_string(got, buffer);
    for (const std::string &f : c.flags) {
      if (f.rfind("at=", 0) != 0) continue;
      const auto comma = f.find(',');
      const double lon = std::stod(f.substr(3, comma - 3)), lat = std::stod(f.substr(comma + 1));
      const std::vector<double> a = grid(got, lon, lat), b = grid(want, lon, lat);
      int finite = 0;
      for (std::size_t i = 0; i < a.size(); ++i) {
        finite += std::isfinite(a[i]) ? 1 : 0;
        // The text's degree is written to 16 digits: the same up to rounding.
        EXPECT_TRUE(std::fabs(a[i] - b[i]) <= 1e-6 || (std::isnan(a[i]) && std::isnan(b[i])))
            << i << ": " << a[i] << " " << b[i];
      }
      EXPECT_GT(finite, 0) << "no point projects";
    }
    kx_projcs_del(want);
  } else {
    ADD_FAILURE() << "unknown expectation " << kind;
  }
}

}  // namespace

TEST(PrjfileCases, EveryFile) {
  const std::vector<FileCase> cases = file_cases();
  ASSERT_GT(cases.size(), 90u);
  for (const FileCase &c : cases) {
    SCOPED_TRACE(c.label);
    check_file_case(c);
  }
}

// Every row of the datum chain, against the ellipsoid the registry gives
// the datum; prefix rows also with a longer field.
TEST(PrjfileCases, DatumKeywords) {
  int rows = 0;
  for (const auto &r : read_csv(data_path("prjfile/datums.csv"))) {
    SCOPED_TRACE(r[0]);
    ++rows;
    int status = 1;
    Cs cs = read_text("Projection GEOGRAPHIC\nDatum " + r[0] + "\n", &status);
    const int want = std::stoi(r[1]);
    if (want < 0) {
      EXPECT_EQ(cs, nullptr);
      EXPECT_EQ(status, want);
      continue;
    }
    ASSERT_NE(cs, nullptr) << status;
    kx_datum d = kx_geogcs_datum(static_cast<kx_geogcs>(cs.get()));
    kx_datum expected = kx_factory_datum(want);
    EXPECT_EQ(kx_datum_eq(d, expected), 1);
    kx_datum_del(expected);
    EXPECT_DOUBLE_EQ(kx_spheroid_axis(kx_datum_spheroid(d)), num(r[3]));
    EXPECT_TRUE(near_rel(kx_spheroid_flattening(kx_datum_spheroid(d)), num(r[4]), 1e-9));
  }
  EXPECT_GE(rows, 138);
}

TEST(PrjfileCases, SpheroidKeywords) {
  int rows = 0;
  for (const auto &r : read_csv(data_path("prjfile/spheroids.csv"))) {
    SCOPED_TRACE(r[0]);
    ++rows;
    int status = 1;
    Cs cs = read_text("Projection GEOGRAPHIC\nSpheroid " + r[0] + "\n", &status);
    ASSERT_NE(cs, nullptr) << status;
    kx_spheroid s = kx_datum_spheroid(kx_geogcs_datum(static_cast<kx_geogcs>(cs.get())));
    EXPECT_DOUBLE_EQ(kx_spheroid_axis(s), num(r[1]));
    EXPECT_TRUE(near_rel(kx_spheroid_flattening(s), num(r[2]), 1e-9)) << kx_spheroid_flattening(s);
  }
  EXPECT_EQ(rows, 48);
}

TEST(PrjfileCases, Units) {
  auto rows = read_csv(data_path("prjfile/units.csv"));
  rows.erase(rows.begin());
  for (const auto &r : rows) {
    SCOPED_TRACE(r[0] + " " + r[1]);
    const double want = num(r[2]);
    int status = 1;
    kx_unit unit = nullptr;
    Cs cs;
    if (r[0] == "z") {
      unit = kx_zunit_from_prjstring(("Projection GEOGRAPHIC\nZunits " + r[1] + "\n").c_str(), &status);
    } else if (r[0] == "geog") {
      cs = read_text("Projection GEOGRAPHIC\nUnits " + r[1] + "\n", &status);
      if (cs) unit = kx_unit_clone(kx_geogcs_unit(static_cast<kx_geogcs>(cs.get())));
    } else {
      cs = read_text("Projection UTM\nZone 33\nDatum WGS84\nUnits " + r[1] + "\n", &status);
      if (cs) unit = kx_unit_clone(kx_projcs_unit(static_cast<kx_projcs>(cs.get())));
    }
    if (want <= 0.0) {
      EXPECT_EQ(unit, nullptr);
      EXPECT_EQ(status, static_cast<int>(want));
      continue;
    }
    ASSERT_NE(unit, nullptr) << status;
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(near_rel(kx_unit_factor(unit), want, 1e-14)) << kx_unit_factor(unit);
    char name[64];
    kx_unit_name(unit, name);
    EXPECT_EQ(name, r.size() > 3 ? r[3] : "");
    kx_unit_del(unit);
  }
}

// Angle lines, read as the central meridian of a Mollweide file.
TEST(PrjfileCases, Angles) {
  auto rows = read_csv(data_path("prjfile/angles.csv"));
  rows.erase(rows.begin());
  for (const auto &r : rows) {
    SCOPED_TRACE("\"" + r[0] + "\"");
    int status = 1;
    Cs cs = read_text("Projection MOLLWEIDE\nDatum WGS84\nParameters\n" + r[0] + "\n", &status);
    if (r[1] == "refused") {
      EXPECT_EQ(cs, nullptr);
      EXPECT_EQ(status, -107);
      continue;
    }
    ASSERT_NE(cs, nullptr) << status;
    kx_parameter p[16];
    kx_projcs_parameters(static_cast<kx_projcs>(cs.get()), p);
    ASSERT_NE(p[2], nullptr);
    EXPECT_NEAR(kx_parameter_value(p[2]), num(r[1]), 1e-13);
  }
}

// The writer's angle formatter, seen on the central meridian line of a
// Mollweide system.
TEST(PrjfileCases, AngleFormatter) {
  auto rows = read_csv(data_path("prjfile/formats.csv"));
  rows.erase(rows.begin());
  for (const auto &r : rows) {
    SCOPED_TRACE(r[0]);
    const std::string want = r[1].substr(1, r[1].size() - 2);
    const std::string text =
        "PROJCS[\"M\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
        "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],PROJECTION["
        "\"Mollweide\"],PARAMETER[\"Central_Meridian\"," + r[0] + "],UNIT[\"Meter\",1.0]]";
    kx_projcs pcs = kx_projcs_from_string(text.c_str());
    ASSERT_NE(pcs, nullptr);
    char out[KX_PRJSTRING_MAX + 1];
    int status = 1;
    EXPECT_EQ(kx_coordsys_to_prjstring(pcs, nullptr, out, &status), 0);
    kx_projcs_del(pcs);
    const std::string written = out;
    const auto at = written.find("Parameters\n");
    ASSERT_NE(at, std::string::npos) << written;
    const std::string line = written.substr(at + 11, written.find(" /*", at) - at - 11);
    EXPECT_EQ(line, want);
  }
}
