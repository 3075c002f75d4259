// Grid methods: NTv2 on the real proj-data grids against PROJ cct
// +proj=hgridshift (tests/scripts/gen_ntv2_oracle.py) and on a synthetic
// sub-grid tree in every layout, byte order and unit against an independent
// reference (tests/scripts/gen_ntv2_synthetic.py); NADCON/HARN pairs built
// from nzgd2kgrid0005's lattice against the same PROJ values; hostile headers
// (tests/data/geogtran/ntv2_hostile.csv) and data-home paths
// (grid_paths.csv).
//
// Measured: NTv2 forward and inverse within 1e-10 degrees of PROJ in
// nzgd2kgrid0005, BETA2007, ntf_r93 and CHENYX06, edge points included; the
// synthetic tree within 1e-12 degrees (seconds), 1e-10 (minutes, degrees,
// radians: float32 shifts); NADCON within 1.1e-10 degrees of PROJ (the
// header's float32 spacing moves the far nodes by ~1e-8 degrees).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "kx.h"
#include "support/cases.h"
#include "support/scratch.h"

namespace {

using kxtest::num;
constexpr double kDeg = 0.017453292519943295;

// A scratch data home, named by KXDATAHOME while it lives.
struct DataHome : kxtest::ScratchDir {
  DataHome() : ScratchDir("KXDATAHOME") { kx_datahome_setfunc(nullptr); }
};

// Debian's proj-data grid, or "" when absent.
std::string real_grid(const std::string &name) {
  struct stat st;
  return stat(("/usr/share/proj/" + name).c_str(), &st) == 0 ? "/usr/share/proj/" + name : "";
}

// Bytes in either order; names padded to 8.
struct Bytes {
  bool big;
  std::string s;
  template <class T>
  Bytes &put(T v) {
    char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    for (std::size_t i = 0; i < sizeof v; ++i) s += b[big ? sizeof v - 1 - i : i];
    return *this;
  }
  Bytes &name(std::string t) { return t.resize(8, ' '), s += t, *this; }
};

struct SynGrid {
  std::string name, parent;
  double s, n, w, e, inc;                        // degrees, east positive
  std::vector<std::pair<double, double>> nodes;  // (lat, lon west) shifts in arc-seconds
};

// An NTv2 file; units 1 seconds, 2 minutes, 3 degrees, 4 radians; padded
// integer records carry 4 more bytes.
std::string ntv2_bytes(const std::vector<SynGrid> &grids, bool padded, bool big, int unit) {
  static const char *kUnits[] = {"SECONDS", "MINUTES", "DEGREES", "RADIANS"};
  const double k = std::vector<double>{3600.0, 60.0, 1.0, kDeg}[unit - 1],
               ks = unit == 4 ? 1 / 206264.8125 : k / 3600;
  Bytes b{big, ""};
  auto count = [&](const char *name, int32_t v) {
    b.name(name).put(v), padded ? b.put(int32_t(0)) : b;
  };
  count("NUM_OREC", 11), count("NUM_SREC", 11), count("NUM_FILE", int32_t(grids.size()));
  b.name("GS_TYPE").name(kUnits[unit - 1]);
  for (const char *r : {"VERSION", "SYSTEM_F", "SYSTEM_T"}) b.name(r).name("TEST");
  for (const char *r : {"MAJOR_F", "MINOR_F", "MAJOR_T", "MINOR_T"}) b.name(r).put(6378137.0);
  for (const SynGrid &g : grids) {
    b.name("SUB_NAME")
        .name(g.name)
        .name("PARENT")
        .name(g.parent)
        .name("CREATED")
        .name("2026")
        .name("UPDATED")
        .name("2026");
    b.name("S_LAT")
        .put(g.s * k)
        .name("N_LAT")
        .put(g.n * k)
        .name("E_LONG")
        .put(-g.e * k)
        .name("W_LONG")
        .put(-g.w * k);
    b.name("LAT_INC").put(g.inc * k).name("LONG_INC").put(g.inc * k);
    count("GS_COUNT", int32_t(g.nodes.size()));
    for (const auto &nd : g.nodes)
      b.put(float(nd.first * ks)).put(float(nd.second * ks)).put(0.01f).put(0.01f);
  }
  return b.s;
}

struct Loaded {
  kx_gtconstants gc = kx_gtconstants_new();
  int floats;
  explicit Loaded(const std::string &path) : floats(kx_ntv2_constants_get(gc, path.c_str())) {}
  ~Loaded() { kx_gtconstants_del(gc); }
  int run(bool fwd, double *p, int n = 1) const {
    return (fwd ? kx_ntv2_const_fwd : kx_ntv2_const_inv)(
        kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc), kx_gtconstants_dvals(gc), n, p);
  }
};

TEST(Ntv2, RealGridsAgreeWithProj) {
  std::map<std::string, std::unique_ptr<Loaded>> grids;
  std::map<std::string, double> worst;
  for (const auto &f : kxtest::read_csv(kxtest::data_path("geogtran/ntv2_real.csv"))) {
    if (real_grid(f[0]).empty()) continue;
    auto &g = grids[f[0]];
    if (g == nullptr) g.reset(new Loaded(real_grid(f[0])));
    ASSERT_GT(g->floats, 0) << f[0];
    const double in[2] = {num(f[1]), num(f[2])};
    double p[2] = {in[0] * kDeg, in[1] * kDeg}, q[2] = {p[0], p[1]};
    ASSERT_EQ(g->run(true, p), 1) << f[0] << " " << f[1] << " " << f[2];
    double &w = worst[f[0]];
    w = std::max({w, std::fabs(p[0] / kDeg - num(f[3])), std::fabs(p[1] / kDeg - num(f[4]))});
    if (f[7] == "1") continue;  // an edge point's forward result may lie outside the grid
    // Forward then inverse returns within 2^-48 degrees plus an ulp or two of the radians.
    ASSERT_EQ(g->run(false, p), 1) << f[0] << " " << f[1] << " " << f[2];
    for (int i = 0; i < 2; ++i)
      EXPECT_LE(std::fabs(p[i] / kDeg - in[i]),
                std::ldexp(1.0, -48) + 2 * std::fabs(std::nextafter(in[i], 1e300) - in[i]));
    ASSERT_EQ(g->run(false, q), 1);
    w = std::max({w, std::fabs(q[0] / kDeg - num(f[5])), std::fabs(q[1] / kDeg - num(f[6]))});
  }
  if (grids.empty()) GTEST_SKIP() << "proj-data grids not installed in /usr/share/proj";
  for (const auto &w : worst) {
    std::printf("  %s: worst difference from PROJ %.2e degrees\n", w.first.c_str(), w.second);
    EXPECT_LT(w.second, 1e-10) << w.first;
  }
}

// The file form gives the loaded form's bits; the catalogue's NZGD49 to
// NZGD2000 (3) finds the grid under the data home, loaded or per call.
TEST(Ntv2, FileFormLoadedFormAndDriver) {
  const std::string path = real_grid("nzgd2kgrid0005.gsb");
  if (path.empty()) GTEST_SKIP() << "proj-data's nzgd2kgrid0005.gsb not installed";
  DataHome home;
  std::stringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  home.write("ntv2/nzgd2kgrid0005.gsb", bytes.str());
  std::vector<double> a = {174.0 * kDeg,  -41.0 * kDeg, 170.5 * kDeg,
                           -45.25 * kDeg, 10.0 * kDeg,  10.0 * kDeg},
                      b = a, c = a;
  EXPECT_EQ(Loaded(path).run(true, a.data(), 3), 2);
  EXPECT_EQ(kx_ntv2_file_fwd(path.c_str(), 3, b.data()), 2);
  EXPECT_EQ(a, b);
  kx_geogtran gt = kx_factory_geogtran(1568);
  ASSERT_NE(gt, nullptr);
  for (double &x : c) x /= kDeg;
  std::vector<double> d = c;
  EXPECT_EQ(kx_geog1_to_geog2(gt, 3, c.data(), nullptr), 2);
  ASSERT_NE(kx_geogtran_load_constants(gt), 0);
  EXPECT_EQ(kx_geog1_to_geog2(gt, 3, d.data(), nullptr), 2);
  EXPECT_EQ(c, d);
  for (std::size_t i = 0; i < c.size(); ++i) EXPECT_NEAR(c[i], a[i] / kDeg, 1e-12);
  EXPECT_EQ(kx_geog2_to_geog1(gt, 3, d.data(), nullptr), 2);
  EXPECT_NEAR(d[0], 174.0, 1e-12);
  EXPECT_NEAR(d[1], -41.0, 1e-12);
  kx_geogtran_del(gt);
}

// tests/data/geogtran/ntv2_synthetic.txt: grids, their nodes, and points
// with their shifted positions ('-': not shifted).
std::vector<SynGrid> synthetic(std::vector<std::vector<std::string>> *points = nullptr) {
  std::vector<SynGrid> grids;
  std::ifstream in(kxtest::data_path("geogtran/ntv2_synthetic.txt"));
  for (std::string line; std::getline(in, line);) {
    std::istringstream ls(line);
    std::string kind;
    ls >> kind;
    if (kind == "grid") {
      grids.emplace_back();
      SynGrid &g = grids.back();
      ls >> g.name >> g.parent >> g.s >> g.n >> g.w >> g.e >> g.inc;
    } else if (kind == "node") {
      double la, lo;
      ls >> la >> lo;
      grids.back().nodes.emplace_back(la, lo);
    } else if (kind == "point" && points != nullptr) {
      points->emplace_back();
      for (std::string f; ls >> f;) points->back().push_back(f);
    }
  }
  return grids;
}

TEST(Ntv2, SyntheticTreeInEveryLayoutByteOrderAndUnit) {
  std::vector<std::vector<std::string>> points;
  const auto grids = synthetic(&points);
  ASSERT_EQ(grids.size(), 6u);
  ASSERT_GT(points.size(), 10u);
  DataHome home;
  std::vector<double> first;  // the results in seconds
  for (int unit = 1; unit <= 4; ++unit) {
    std::vector<double> unit_first;
    for (int variant = 0; variant < 4; ++variant) {
      const bool padded = variant & 1, big = variant & 2;
      const std::string path = home.write("v.gsb", ntv2_bytes(grids, padded, big, unit));
      std::FILE *fp = std::fopen(path.c_str(), "rb");
      int header[4] = {0, 0, -1, -1};  // NUM_FILE, unit, padded, swapped
      EXPECT_EQ(kx_read_ntv2_ovrvw_header(fp, &header[0], &header[1], &header[2], &header[3]), 11);
      std::fclose(fp);
      EXPECT_TRUE(header[0] == 6 && header[1] == unit && header[2] == padded && header[3] == big)
          << unit << variant;
      Loaded g(path);
      ASSERT_EQ(g.floats, 2 * (25 + 25 + 9 + 9 + 9 + 9));
      EXPECT_EQ(kx_gtconstants_ivals(g.gc)[2], 2);  // PARENT and the second CHILD_A say NONE
      std::vector<double> results;
      for (const auto &p : points) {
        for (int dir = 0; dir < 2; ++dir) {
          const double start[2] = {num(p[0]) * kDeg, num(p[1]) * kDeg};
          double v[2] = {start[0], start[1]};
          const bool shifted = p[2 + 2 * dir] != "-";
          EXPECT_EQ(g.run(dir == 0, v), shifted ? 1 : 0) << p[0] << " " << p[1] << " dir " << dir;
          for (int i = 0; i < 2; ++i)  // float32 shifts in a coarser unit keep ~7 digits
            EXPECT_NEAR(v[i] / kDeg, shifted ? num(p[2 + 2 * dir + i]) : start[i] / kDeg,
                        unit == 1 ? 1e-12 : 1e-10)
                << p[0] << " " << p[1] << " dir " << dir << " unit " << unit;
          EXPECT_TRUE(shifted || (v[0] == start[0] && v[1] == start[1]));  // left as given
          results.insert(results.end(), v, v + 2);
        }
      }
      if (variant == 0) unit_first = results;
      EXPECT_EQ(results, unit_first)
          << "layout and byte order change no bit: unit " << unit << " variant " << variant;
    }
    if (unit == 1) first = unit_first;
    for (std::size_t i = 0; i < first.size(); ++i)
      EXPECT_NEAR(unit_first[i], first[i], 1e-9 * kDeg);
  }
}

// Each row of ntv2_hostile.csv overrides fields of a valid file (the n-th
// occurrence of a record name: "PARENT:2"), or cuts it; all are refused
// without a crash or a giant allocation. So is every prefix and a directory.
TEST(Ntv2, HostileHeadersAreRefused) {
  const std::string good = ntv2_bytes(synthetic(), false, false, 1);
  DataHome home;
  ASSERT_GT(Loaded(home.write("good.gsb", good)).floats, 0);
  const auto rows = kxtest::read_csv(kxtest::data_path("geogtran/ntv2_hostile.csv"));
  ASSERT_GT(rows.size(), 15u);
  for (const auto &r : rows) {
    std::string s = good;
    for (std::size_t k = 1; k + 2 < r.size(); k += 3) {
      if (r[k + 1] == "cut") {
        s.resize(s.size() - std::stoul(r[k + 2]));
        continue;
      }
      const std::string field = r[k].substr(0, r[k].find(':'));
      std::size_t at = std::string::npos;
      for (int n = r[k].find(':') == std::string::npos ? 1
                                                       : std::stoi(r[k].substr(r[k].find(':') + 1));
           n > 0; --n)
        at = s.find(field, at + 1);
      ASSERT_NE(at, std::string::npos) << r[0];
      Bytes b{false, ""};
      if (r[k + 1] == "i32") b.put(int32_t(std::stol(r[k + 2])));
      if (r[k + 1] == "f64") b.put(num(r[k + 2]));
      if (r[k + 1] == "name") b.name(r[k + 2]);
      s.replace(at + 8, b.s.size(), b.s);
    }
    kx_gtconstants gc = kx_gtconstants_new();
    EXPECT_EQ(kx_ntv2_constants_get(gc, home.write("bad.gsb", s).c_str()), 0) << r[0];
    EXPECT_TRUE(kx_gtconstants_ivals(gc) == nullptr && kx_gtconstants_fvals(gc) == nullptr &&
                kx_gtconstants_dvals(gc) == nullptr)
        << r[0];
    kx_gtconstants_del(gc);
  }
  for (std::size_t len = 0; len < good.size(); len += 13)
    EXPECT_EQ(Loaded(home.write("cut.gsb", good.substr(0, len))).floats, 0) << len;
  EXPECT_EQ(Loaded(home.dir()).floats, 0);
}

// grid_paths.csv: dataset names as paths under the data home, the files
// found (as named, ".GSB", lower case, lower case with ".GSB") or not.
TEST(GridPaths, DatasetNamesBecomeFilesUnderTheDataHome) {
  DataHome home;
  const std::string bytes = ntv2_bytes(synthetic(), true, false, 1);
  for (const auto &r : kxtest::read_csv(kxtest::data_path("geogtran/grid_paths.csv"))) {
    char p1[KX_GRID_PATH_SIZE] = "", p2[KX_GRID_PATH_SIZE] = "";
    if (r[0] == "ntv2") {
      kx_ntv2_setpath(r[1].c_str(), "ntv2", p1);
      EXPECT_EQ(p1, home.dir() + "/" + r[2]) << r[1];
    } else if (r[0] == "los/las") {
      kx_nadcon_harn_setpath(r[1].c_str(), r[2].c_str(), p1, p2);
      EXPECT_EQ(p1 + std::string(" ") + p2, home.dir() + "/" + r[3] + " " + home.dir() + "/" + r[4])
          << r[1];
    } else {
      if (r[2] != "-") home.write(r[2], bytes);
      kx_gtconstants gc = kx_gtconstants_new();
      EXPECT_EQ(kx_ntv2_constants(gc, r[1].c_str()) > 0, r[2] != "-") << r[1];
      kx_gtconstants_del(gc);
      double p[2] = {0.5 * kDeg, 0.5 * kDeg};
      EXPECT_EQ(kx_ntv2_fwd(nullptr, nullptr, nullptr, r[1].c_str(), 1, p, nullptr, nullptr,
                            nullptr, nullptr),
                r[2] != "-" ? 1 : 0)
          << r[1];
    }
  }
  // Without a data home nothing is built.
  unsetenv("KXDATAHOME");
  char p[KX_GRID_PATH_SIZE] = "untouched", los[KX_GRID_PATH_SIZE] = "", las[KX_GRID_PATH_SIZE] = "";
  kx_ntv2_setpath("Dataset_x.gsb", "ntv2", p);
  kx_nadcon_harn_setpath("Dataset_conus", "nadcon", los, las);
  EXPECT_TRUE(std::string(p) == "untouched" && std::string(los).empty());
}

// A NADCON file: a header record of NC + 1 words (64 bytes of text, NC, NR,
// NZ, XMIN, DX, YMIN, DY, ANGLE), then rows south to north, each a skipped
// word and NC values west to east.
std::string nadcon_bytes(bool big, int nc, int nr, const std::vector<float> &header,
                         const std::function<float(int, int)> &value) {
  Bytes b{big, std::string(64, 'H')};
  b.put(int32_t(nc)).put(int32_t(nr)).put(int32_t(1));
  for (float v : header) b.put(v);
  b.s.resize(std::size_t(4 * (nc + 1)), '\0');
  for (int j = 0; j < nr; ++j) {
    b.put(int32_t(0));
    for (int i = 0; i < nc; ++i) b.put(value(i, j));
  }
  return b.s;
}

// nzgd2kgrid0005's lattice as a pair: latitudes mirrored (stored positive),
// longitudes taken west of -180, latitude shifts negated so that the
// mirrored result comes back right.
std::pair<std::string, std::string> nz_pair(kx_gtconstants gc, bool big, int nc = 0) {
  const int *iv = kx_gtconstants_ivals(gc);
  const float *fv = kx_gtconstants_fvals(gc);
  const double *dv = kx_gtconstants_dvals(gc);
  const int rows = iv[7], cols = iv[8], first = iv[10], count = iv[6];
  auto half = [&](int h) {
    return nadcon_bytes(
        big, nc > 0 ? nc : cols, rows,
        {float(dv[3] - 360), float(dv[5]), float(-dv[1]), float(dv[4]), 0}, [&](int i, int j) {
          const float v =
              fv[first + h * count + (rows - 1 - j) * cols + cols - 1 - std::min(i, cols - 1)];
          return h == 0 ? v : -v;
        });
  };
  return {half(0), half(1)};
}

struct Nz : Loaded {
  Nz()
      : Loaded(real_grid("nzgd2kgrid0005.gsb").empty() ? "/nonexistent"
                                                       : real_grid("nzgd2kgrid0005.gsb")) {}
};

// Loaded, from the files and as HARN, in both byte orders; then borders,
// malformed headers and a missing file.
TEST(Nadcon, ReproducesProjOnTheSameLatticeAndRefusesBadFiles) {
  Nz nz;
  if (nz.floats <= 0) GTEST_SKIP() << "proj-data's nzgd2kgrid0005.gsb not installed";
  DataHome home;
  std::vector<double> pts, want[2];
  for (const auto &f : kxtest::read_csv(kxtest::data_path("geogtran/ntv2_real.csv")))
    if (f[0] == "nzgd2kgrid0005.gsb" && f[7] == "0")
      pts.insert(pts.end(), {num(f[1]) * kDeg, num(f[2]) * kDeg}),
          want[0].insert(want[0].end(), {num(f[3]), num(f[4])}),
          want[1].insert(want[1].end(), {num(f[5]), num(f[6])});
  const int n = int(pts.size() / 2);
  ASSERT_GT(n, 100);
  std::vector<std::vector<double>> results;
  for (bool big : {false, true}) {
    const auto pair = nz_pair(nz.gc, big);
    for (std::string dir : {"nadcon/nz", "harn/nz"})
      home.write(dir + ".los", pair.first), home.write(dir + ".las", pair.second);
    kx_gtconstants gc = kx_gtconstants_new();
    ASSERT_GT(kx_nadcon_constants(gc, "Dataset_nz"), 0);
    const int *iv = kx_gtconstants_ivals(gc);
    const float *fv = kx_gtconstants_fvals(gc);
    const double *dv = kx_gtconstants_dvals(gc);
    for (int fwd = 1; fwd >= 0; --fwd) {
      std::vector<double> loaded = pts, file = pts, harn = pts, back;
      EXPECT_EQ((fwd ? kx_nadcon_fwd : kx_nadcon_inv)(nullptr, nullptr, nullptr, "Dataset_nz", n,
                                                      loaded.data(), nullptr, iv, fv, dv),
                n);
      EXPECT_EQ(
          (fwd ? kx_nadcon_fwd : kx_nadcon_inv)(nullptr, nullptr, nullptr, "Dataset_nz", n,
                                                file.data(), nullptr, nullptr, nullptr, nullptr),
          n);
      EXPECT_EQ((fwd ? kx_harn_fwd : kx_harn_inv)(nullptr, nullptr, nullptr, "nz", n, harn.data(),
                                                  nullptr, nullptr, nullptr, nullptr),
                n);
      EXPECT_TRUE(loaded == file && loaded == harn);
      double worst = 0;
      for (std::size_t i = 0; i < pts.size(); ++i)
        worst = std::max(worst, std::fabs(loaded[i] / kDeg - want[1 - fwd][i]));
      EXPECT_LT(worst, 2e-10) << (fwd ? "forward" : "inverse");
      results.push_back(loaded);
      if (!fwd) continue;
      // Back within 2^-48 degrees and the ulps of the longitude taken 360 degrees west.
      back = loaded;
      EXPECT_EQ(kx_nadcon_harn_const_inv(iv, fv, dv, n, back.data()), n);
      for (std::size_t i = 0; i < pts.size(); ++i)
        EXPECT_NEAR(back[i] / kDeg, pts[i] / kDeg, 1e-13);
    }
    kx_gtconstants_del(gc);
  }
  EXPECT_TRUE(results[0] == results[2] && results[1] == results[3]);  // byte order changes no bit
  const auto pair = nz_pair(nz.gc, false);
  const std::string los = home.write("nadcon/nz.los", pair.first),
                    las = home.write("nadcon/nz.las", pair.second);
  const double *dv = kx_gtconstants_dvals(nz.gc);
  // On XMIN (the west edge), on YMIN (the northern edge, mirrored), outside.
  const std::vector<double> given = {dv[3] * kDeg, -40.0 * kDeg, 174.0 * kDeg,  dv[1] * kDeg,
                                     150.0 * kDeg, -40.0 * kDeg, -100.0 * kDeg, 40.0 * kDeg};
  std::vector<double> border = given;
  EXPECT_EQ(kx_nadcon_harn_fwd(los.c_str(), las.c_str(), 4, border.data()), 0);
  EXPECT_EQ(border, given);
  // Inverse guesses that leave the grid at its west and east ends are not
  // counted and read nothing outside it, from the files or loaded.
  kx_gtconstants loaded = kx_gtconstants_new();
  ASSERT_GT(kx_nadcon_harn_constants(loaded, los.c_str(), las.c_str()), 0);
  for (double lam : {dv[3] + 1e-7, dv[2] - 1e-7}) {
    double a[] = {lam * kDeg, -40.0 * kDeg}, b[] = {a[0], a[1]};
    EXPECT_EQ(kx_nadcon_harn_inv(los.c_str(), las.c_str(), 1, a),
              kx_nadcon_harn_const_inv(kx_gtconstants_ivals(loaded), kx_gtconstants_fvals(loaded),
                                       kx_gtconstants_dvals(loaded), 1, b));
    EXPECT_EQ(a[0], b[0]);
  }
  kx_gtconstants_del(loaded);
  // Headers no grid can have: fewer than 23 columns (records shorter than
  // the header), rows the files do not hold, a zero spacing, a cut header.
  std::string tall = pair.first, zero_dx = pair.first;
  tall.replace(68, 4, Bytes{false, ""}.put(int32_t(0x7fffffff)).s);
  zero_dx.replace(80, 4, Bytes{false, ""}.put(0.0f).s);
  kx_gtconstants gc = kx_gtconstants_new();
  for (const std::string &bad :
       {nz_pair(nz.gc, false, 22).first, tall, zero_dx, pair.first.substr(0, 90)}) {
    const std::string bl = home.write("nadcon/bad.los", bad),
                      ba = home.write("nadcon/bad.las", bad);
    EXPECT_EQ(kx_nadcon_harn_constants(gc, bl.c_str(), ba.c_str()), 0);
    EXPECT_EQ(kx_gtconstants_fvals(gc), nullptr);
    double q[] = {174.0 * kDeg, -41.0 * kDeg};
    EXPECT_EQ(kx_nadcon_harn_fwd(bl.c_str(), ba.c_str(), 1, q), 0);
  }
  // One file of the pair missing.
  std::remove(las.c_str());
  double q[] = {174.0 * kDeg, -41.0 * kDeg};
  EXPECT_EQ(kx_nadcon_fwd(nullptr, nullptr, nullptr, "Dataset_nz", 1, q, nullptr, nullptr, nullptr,
                          nullptr),
            0);
  EXPECT_EQ(q[0], 174.0 * kDeg);
  EXPECT_EQ(kx_nadcon_constants(gc, "Dataset_nz"), 0);
  EXPECT_EQ(kx_gtconstants_fvals(gc), nullptr);
  kx_gtconstants_del(gc);
}

// The file form reads one block of NC + 3 values, so it serves at most 1024
// columns; the loaded form has no limit.
TEST(Nadcon, FileFormStopsAt1024Columns) {
  DataHome home;
  const int nc = 1100;
  for (int las = 0; las < 2; ++las)
    home.write(las ? "nadcon/wide.las" : "nadcon/wide.los",
               nadcon_bytes(false, nc, 2, {-100.0f, 0.01f, 30.0f, 0.01f, 0.0f},
                            [las](int, int) { return las ? 1.0f : 2.0f; }));
  const std::string los = home.dir() + "/nadcon/wide.los", las = home.dir() + "/nadcon/wide.las";
  double p[] = {-99.0 * kDeg, 30.005 * kDeg}, q[] = {p[0], p[1]};
  EXPECT_EQ(kx_nadcon_harn_fwd(los.c_str(), las.c_str(), 1, p), 0);
  kx_gtconstants gc = kx_gtconstants_new();
  ASSERT_EQ(kx_nadcon_harn_constants(gc, los.c_str(), las.c_str()), 2 * nc * 2);
  EXPECT_EQ(kx_nadcon_harn_const_fwd(kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc),
                                     kx_gtconstants_dvals(gc), 1, q),
            1);
  EXPECT_NEAR(q[0] / kDeg, -99.0 - 2.0 / 3600, 1e-12);
  EXPECT_NEAR(q[1] / kDeg, 30.005 + 1.0 / 3600, 1e-12);
  kx_gtconstants_del(gc);
}

}  // namespace
