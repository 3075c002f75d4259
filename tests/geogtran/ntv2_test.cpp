// NTv2: real grids against PROJ cct +proj=hgridshift
// (tests/scripts/gen_ntv2_oracle.py), a synthetic sub-grid tree in every
// layout, byte order and unit against an independent reference
// (tests/scripts/gen_ntv2_synthetic.py), hostile headers, paths and the
// catalogue's dataset names.
//
// Measured: forward and inverse within 1e-10 degrees of PROJ inside
// nzgd2kgrid0005, BETA2007, ntf_r93 and CHENYX06, edge points included;
// the synthetic tree within 1e-12 degrees in seconds, minutes and degrees
// and 1e-9 in radians.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "geogtran/geogtran_fixture.h"
#include "geogtran/grid_files.h"

namespace {

using gridtest::DataHome;
using gridtest::SynGrid;
using kxtest::kDeg;

struct Loaded {
  kx_gtconstants gc = kx_gtconstants_new();
  int floats = 0;
  explicit Loaded(const std::string &path) { floats = kx_ntv2_constants_get(gc, path.c_str()); }
  ~Loaded() { kx_gtconstants_del(gc); }
  int fwd(double *p, int n = 1) const {
    return kx_ntv2_const_fwd(kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc),
                             kx_gtconstants_dvals(gc), n, p);
  }
  int inv(double *p, int n = 1) const {
    return kx_ntv2_const_inv(kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc),
                             kx_gtconstants_dvals(gc), n, p);
  }
};

// The inverse stops within 2^-48 degrees of the target in forward space;
// the conversions to and from radians add an ulp or two.
double round_trip_tol(double v) {
  return std::ldexp(1.0, -48) + 2 * std::fabs(std::nextafter(v, 1e300) - v);
}

TEST(Ntv2Real, AgreesWithProjForwardAndInverse) {
  auto rows = kxtest::read_csv(kxtest::geogtran_data("ntv2_real.csv"));
  ASSERT_GT(rows.size(), 400u);
  std::map<std::string, double> worst;
  int checked = 0;
  std::map<std::string, std::unique_ptr<Loaded>> cache;
  for (const auto &f : rows) {
    const std::string path = gridtest::real_grid(f[0]);
    if (path.empty()) continue;
    std::unique_ptr<Loaded> &g = cache[f[0]];
    if (g == nullptr) g = std::make_unique<Loaded>(path);
    ASSERT_GT(g->floats, 0) << f[0];
    double v[7];
    for (int i = 1; i < 7; ++i) v[i] = std::strtod(f[i].c_str(), nullptr);
    const bool edge = f[7] == "1";
    double p[2] = {v[1] * kDeg, v[2] * kDeg};
    ASSERT_EQ(g->fwd(p), 1) << f[0] << " " << v[1] << " " << v[2];
    double e = std::max(std::fabs(p[0] / kDeg - v[3]), std::fabs(p[1] / kDeg - v[4]));
    if (!edge) {
      // Forward then inverse comes back to the start (an edge point's
      // forward result may lie outside the grid).
      ASSERT_EQ(g->inv(p), 1) << f[0] << " " << f[1] << " " << f[2];
      EXPECT_LE(std::fabs(p[0] / kDeg - v[1]), round_trip_tol(v[1])) << f[0] << " " << v[1];
      EXPECT_LE(std::fabs(p[1] / kDeg - v[2]), round_trip_tol(v[2])) << f[0] << " " << v[2];
      double q[2] = {v[1] * kDeg, v[2] * kDeg};
      ASSERT_EQ(g->inv(q), 1);
      e = std::max({e, std::fabs(q[0] / kDeg - v[5]), std::fabs(q[1] / kDeg - v[6])});
    }
    worst[f[0]] = std::max(worst[f[0]], e);
    ++checked;
  }
  if (checked == 0) GTEST_SKIP() << "proj-data grids not installed in /usr/share/proj";
  for (const auto &w : worst) {
    EXPECT_LT(w.second, 1e-10) << w.first;
    std::printf("%s: worst difference from PROJ %.2e degrees\n", w.first.c_str(), w.second);
  }
}

TEST(Ntv2Real, FileFormEqualsLoadedFormAndDriverUsesDataHome) {
  const std::string path = gridtest::real_grid("nzgd2kgrid0005.gsb");
  if (path.empty()) GTEST_SKIP() << "proj-data's nzgd2kgrid0005.gsb not installed";
  DataHome home;
  home.write("ntv2/nzgd2kgrid0005.gsb", gridtest::read_file(path));
  std::vector<double> a = {174.0 * kDeg, -41.0 * kDeg, 170.5 * kDeg, -45.25 * kDeg,
                           10.0 * kDeg, 10.0 * kDeg};
  std::vector<double> b = a, c = a;
  Loaded g(path);
  EXPECT_EQ(g.fwd(a.data(), 3), 2);
  EXPECT_EQ(kx_ntv2_file_fwd(path.c_str(), 3, b.data()), 2);
  EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(double)));
  // Catalogue transformation NZGD49 to NZGD2000 (3), in degrees.
  kx_geogtran gt = kx_factory_geogtran(1568);
  ASSERT_NE(gt, nullptr);
  for (double &x : c) x /= kDeg;
  std::vector<double> d = c;
  EXPECT_EQ(kx_geog1_to_geog2(gt, 3, c.data(), nullptr), 2);  // grid read for the call
  ASSERT_NE(kx_geogtran_load_constants(gt), 0);
  EXPECT_EQ(kx_geog1_to_geog2(gt, 3, d.data(), nullptr), 2);
  for (std::size_t i = 0; i < c.size(); ++i) {
    EXPECT_EQ(c[i], d[i]);
    EXPECT_NEAR(c[i], a[i] / kDeg, 1e-12);
  }
  EXPECT_EQ(kx_geog2_to_geog1(gt, 3, d.data(), nullptr), 2);
  EXPECT_NEAR(d[0], 174.0, 1e-12);
  EXPECT_NEAR(d[1], -41.0, 1e-12);
  kx_geogtran_del(gt);
}

// ---- synthetic tree ----

struct SynPoint {
  double lam, phi, fwd[2], inv[2];
  bool has_fwd, has_inv;
};

struct Synthetic {
  std::vector<SynGrid> grids;
  std::vector<SynPoint> points;
};

Synthetic read_synthetic() {
  Synthetic s;
  std::ifstream in(kxtest::geogtran_data("ntv2_synthetic.txt"));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string kind;
    ls >> kind;
    if (kind == "grid") {
      SynGrid g;
      ls >> g.name >> g.parent >> g.s >> g.n >> g.w >> g.e >> g.inc;
      s.grids.push_back(g);
    } else if (kind == "node") {
      double la, lo;
      ls >> la >> lo;
      s.grids.back().nodes.emplace_back(la, lo);
    } else if (kind == "point") {
      SynPoint p;
      std::string v[4];
      ls >> p.lam >> p.phi >> v[0] >> v[1] >> v[2] >> v[3];
      p.has_fwd = v[0] != "-";
      p.has_inv = v[2] != "-";
      for (int i = 0; i < 2; ++i) {
        p.fwd[i] = p.has_fwd ? std::stod(v[i]) : 0.0;
        p.inv[i] = p.has_inv ? std::stod(v[2 + i]) : 0.0;
      }
      s.points.push_back(p);
    }
  }
  return s;
}

TEST(Ntv2Synthetic, EveryLayoutByteOrderAndUnitMatchesReference) {
  const Synthetic syn = read_synthetic();
  ASSERT_EQ(syn.grids.size(), 6u);
  ASSERT_GT(syn.points.size(), 10u);
  DataHome home;
  std::vector<double> first;  // results of the first variant of each unit
  for (int unit = 1; unit <= 4; ++unit) {
    std::vector<double> unit_first;
    for (int variant = 0; variant < 4; ++variant) {
      const bool padded = variant & 1, big = variant & 2;
      const std::string path =
          home.write("v.gsb", gridtest::ntv2_bytes(syn.grids, padded, big, unit));
      std::FILE *fp = std::fopen(path.c_str(), "rb");
      int nf = 0, code = 0, pad = -1, swapped = -1;
      EXPECT_EQ(kx_read_ntv2_ovrvw_header(fp, &nf, &code, &pad, &swapped), 11);
      std::fclose(fp);
      EXPECT_EQ(nf, 6);
      EXPECT_EQ(code, unit);
      EXPECT_EQ(pad, padded ? 1 : 0);
      EXPECT_EQ(swapped, big ? 1 : 0);
      Loaded g(path);
      ASSERT_EQ(g.floats, 2 * (25 + 25 + 9 + 9 + 9 + 9));
      const int *iv = kx_gtconstants_ivals(g.gc);
      EXPECT_EQ(iv[2], 2);  // PARENT and the second CHILD_A say NONE
      // Shifts stored as float32 in a coarser unit keep ~7 digits of the shift.
      const double tol = unit == 1 ? 1e-12 : 1e-10;
      std::vector<double> results;
      for (const SynPoint &p : syn.points) {
        double f[2] = {p.lam * kDeg, p.phi * kDeg}, v[2] = {f[0], f[1]};
        EXPECT_EQ(g.fwd(f), p.has_fwd ? 1 : 0) << p.lam << " " << p.phi;
        EXPECT_EQ(g.inv(v), p.has_inv ? 1 : 0) << p.lam << " " << p.phi;
        if (p.has_fwd) {
          EXPECT_NEAR(f[0] / kDeg, p.fwd[0], tol) << p.lam << " " << p.phi << " unit " << unit;
          EXPECT_NEAR(f[1] / kDeg, p.fwd[1], tol) << p.lam << " " << p.phi << " unit " << unit;
        } else {
          EXPECT_EQ(f[0], p.lam * kDeg);
          EXPECT_EQ(f[1], p.phi * kDeg);
        }
        if (p.has_inv) {
          EXPECT_NEAR(v[0] / kDeg, p.inv[0], tol) << p.lam << " " << p.phi;
          EXPECT_NEAR(v[1] / kDeg, p.inv[1], tol) << p.lam << " " << p.phi;
        } else {
          EXPECT_EQ(v[0], p.lam * kDeg);  // not shifted: left as given
          EXPECT_EQ(v[1], p.phi * kDeg);
        }
        results.insert(results.end(), {f[0], f[1], v[0], v[1]});
      }
      // Layout and byte order never change a bit.
      if (variant == 0)
        unit_first = results;
      else
        EXPECT_EQ(results, unit_first) << "unit " << unit << " variant " << variant;
    }
    if (unit == 1) first = unit_first;
    for (std::size_t i = 0; i < first.size(); ++i)
      EXPECT_NEAR(unit_first[i], first[i], 1e-9 * kDeg);
  }
}

// ---- hostile and malformed files ----

// Offsets in an unpadded little-endian file of the synthetic tree.
constexpr std::size_t kNumOrec = 8, kNumFile = 32, kGsType = 44;
constexpr std::size_t kSub0 = 164;  // first sub-file header
constexpr std::size_t kSLat = 72, kNLat = 88, kLatInc = 136, kLongInc = 152, kGsCount = 168;
constexpr std::size_t kParent = 24;

template <class T>
void put(std::string &s, std::size_t at, T v) {
  std::memcpy(&s[at], &v, sizeof v);
}

TEST(Ntv2Hostile, RefusedWithoutCrashOrGiantAllocation) {
  const Synthetic syn = read_synthetic();
  const std::string good = gridtest::ntv2_bytes(syn.grids, false, false, 1);
  DataHome home;
  ASSERT_GT(Loaded(home.write("good.gsb", good)).floats, 0);
  std::vector<std::pair<const char *, std::string>> bad;
  auto variant = [&](const char *what, auto edit) {
    std::string s = good;
    edit(s);
    bad.emplace_back(what, s);
  };
  variant("NUM_OREC not 11", [](std::string &s) { put<int32_t>(s, kNumOrec, 12); });
  variant("NUM_FILE huge", [](std::string &s) { put<int32_t>(s, kNumFile, 0x7fffffff); });
  variant("NUM_FILE past the file", [](std::string &s) { put<int32_t>(s, kNumFile, 7); });
  variant("NUM_FILE zero", [](std::string &s) { put<int32_t>(s, kNumFile, 0); });
  variant("NUM_FILE negative", [](std::string &s) { put<int32_t>(s, kNumFile, -3); });
  variant("GS_TYPE unknown", [](std::string &s) { std::memcpy(&s[kGsType], "FATHOMS ", 8); });
  variant("GS_COUNT huge", [](std::string &s) { put<int32_t>(s, kSub0 + kGsCount, 0x7ffffff0); });
  variant("GS_COUNT not rows x columns", [](std::string &s) { put<int32_t>(s, kSub0 + kGsCount, 24); });
  variant("GS_COUNT negative", [](std::string &s) { put<int32_t>(s, kSub0 + kGsCount, -25); });
  variant("LAT_INC zero", [](std::string &s) { put<double>(s, kSub0 + kLatInc, 0.0); });
  variant("LONG_INC negative", [](std::string &s) { put<double>(s, kSub0 + kLongInc, -3600.0); });
  variant("LAT_INC NaN", [](std::string &s) { put<double>(s, kSub0 + kLatInc, std::nan("")); });
  variant("LAT_INC tiny", [](std::string &s) { put<double>(s, kSub0 + kLatInc, 1e-300); });
  variant("S_LAT infinite", [](std::string &s) { put<double>(s, kSub0 + kSLat, -HUGE_VAL); });
  variant("bounds out of order", [](std::string &s) {
    put<double>(s, kSub0 + kSLat, 4 * 3600.0);
    put<double>(s, kSub0 + kNLat, 0.0);
  });
  variant("one row", [](std::string &s) { put<double>(s, kSub0 + kNLat, 0.0); });
  variant("parent cycle", [&](std::string &s) { std::memcpy(&s[kSub0 + kParent], "CHILD_A ", 8); });
  variant("cut short", [](std::string &s) { s.resize(s.size() - 5); });
  for (const auto &b : bad) {
    kx_gtconstants gc = kx_gtconstants_new();
    EXPECT_EQ(kx_ntv2_constants_get(gc, home.write("bad.gsb", b.second).c_str()), 0) << b.first;
    EXPECT_EQ(kx_gtconstants_ivals(gc), nullptr) << b.first;
    EXPECT_EQ(kx_gtconstants_fvals(gc), nullptr) << b.first;
    EXPECT_EQ(kx_gtconstants_dvals(gc), nullptr) << b.first;
    kx_gtconstants_del(gc);
  }
  // Every shorter prefix of a valid file is refused.
  for (std::size_t len = 0; len < good.size(); len += 13)
    EXPECT_EQ(Loaded(home.write("cut.gsb", good.substr(0, len))).floats, 0) << len;
  EXPECT_EQ(Loaded(home.dir()).floats, 0);  // a directory is not a grid
}

// ---- paths and the catalogue's dataset names ----

std::string setpath(const char *dataset) {
  char p[KX_GRID_PATH_SIZE] = "";
  kx_ntv2_setpath(dataset, "ntv2", p);
  return p;
}

TEST(Ntv2Paths, DatasetNamesBecomeFilesUnderTheDataHome) {
  DataHome home;
  const std::string h = home.dir() + "/ntv2/";
  EXPECT_EQ(setpath("Dataset_canada/Ntv2_0.gsb"), h + "canada/Ntv2_0.gsb");
  EXPECT_EQ(setpath("Dataset_australia\\Vic_0799.gsb"), h + "australia/Vic_0799.gsb");
  EXPECT_EQ(setpath("DATASET_vic_0799"), h + "vic_0799.gsb");
  EXPECT_EQ(setpath("vic_0799"), h + "vic_0799.gsb");
  EXPECT_EQ(setpath("Dataset_NA27NA83.GSB"), h + "NA27NA83.GSB");
  EXPECT_EQ(setpath("Dataset_A66 National (13.09.01).gsb"), h + "A66 National (13.09.01).gsb");
  // The four tries: as named, ".GSB", lower case, lower case with ".GSB".
  const Synthetic syn = read_synthetic();
  const std::string bytes = gridtest::ntv2_bytes(syn.grids, true, false, 1);
  home.write("ntv2/upper.GSB", bytes);
  home.write("ntv2/lower.gsb", bytes);
  home.write("ntv2/both.GSB", bytes);
  home.write("ntv2/NA27NA83.GSB", bytes);
  for (const char *ds : {"Dataset_upper.gsb", "Dataset_LOWER.gsb", "Dataset_BOTH", "Dataset_NA27NA83.GSB"}) {
    kx_gtconstants gc = kx_gtconstants_new();
    EXPECT_GT(kx_ntv2_constants(gc, ds), 0) << ds;
    kx_gtconstants_del(gc);
  }
  kx_gtconstants gc = kx_gtconstants_new();
  EXPECT_EQ(kx_ntv2_constants(gc, "Dataset_absent.gsb"), 0);
  kx_gtconstants_del(gc);
  double p[2] = {0.5 * kDeg, 0.5 * kDeg};
  EXPECT_EQ(kx_ntv2_fwd(nullptr, nullptr, nullptr, "Dataset_absent", 1, p, nullptr, nullptr,
                        nullptr, nullptr), 0);
  EXPECT_EQ(kx_ntv2_fwd(nullptr, nullptr, nullptr, "Dataset_lower", 1, p, nullptr, nullptr,
                        nullptr, nullptr), 1);
}

TEST(Ntv2Paths, WithoutDataHomeNothingIsBuilt) {
  unsetenv("KXDATAHOME");
  kx_datahome_setfunc(nullptr);
  char p[KX_GRID_PATH_SIZE] = "untouched";
  kx_ntv2_setpath("Dataset_x.gsb", "ntv2", p);
  EXPECT_STREQ(p, "untouched");
  char los[KX_GRID_PATH_SIZE] = "", las[KX_GRID_PATH_SIZE] = "";
  kx_nadcon_harn_setpath("Dataset_conus", "nadcon", los, las);
  EXPECT_STREQ(los, "");
}

// Every grid transformation of the catalogue names the files EPSG gives.
TEST(GridCatalogue, DatasetNamesResolveToEpsgFileNames) {
  std::map<int, std::pair<std::string, std::string>> epsg;
  for (const auto &f : kxtest::read_csv(std::string(KX_TEST_DATA_DIR) + "/../../data/epsg/transformations.csv"))
    if (f.size() > 21 && !f[20].empty()) epsg[std::atoi(f[0].c_str())] = {f[20], f[21]};
  ASSERT_GT(epsg.size(), 100u);
  DataHome home;
  int count = 0, ntv2 = 0, nadcon = 0;
  int *codes = kx_factory_geogtran_codelist(&count);
  for (int i = 0; i < count; ++i) {
    kx_geogtran gt = kx_factory_geogtran(codes[i]);
    char method[80] = "";
    kx_method_name(kx_geogtran_method(gt), method);
    kx_parameter par[16];
    kx_geogtran_parameters(gt, par);
    char dataset[80] = "";
    if (par[15] != nullptr) kx_parameter_name(par[15], dataset);
    const std::string m = method;
    auto base = [](const std::string &p) { return p.substr(p.find_last_of('/') + 1); };
    if (m == "NTv2") {
      ++ntv2;
      ASSERT_TRUE(epsg.count(codes[i])) << codes[i];
      EXPECT_EQ(base(setpath(dataset)), epsg[codes[i]].first) << codes[i] << " " << dataset;
    } else if (m == "NADCON" || m == "HARN") {
      char los[KX_GRID_PATH_SIZE] = "", las[KX_GRID_PATH_SIZE] = "";
      kx_nadcon_harn_setpath(dataset, m == "NADCON" ? "nadcon" : "harn", los, las);
      if (codes[i] < 100000 && epsg.count(codes[i])) {
        ++nadcon;
        const auto &e = epsg[codes[i]];
        EXPECT_TRUE(base(las) == e.first || base(las) == e.second) << codes[i] << " " << dataset;
        EXPECT_TRUE(base(los) == e.first || base(los) == e.second) << codes[i] << " " << dataset;
      }
    }
    kx_geogtran_del(gt);
  }
  kx_factory_codelist_del(codes);
  EXPECT_GT(ntv2, 40);
  EXPECT_GT(nadcon, 40);
}

}  // namespace
