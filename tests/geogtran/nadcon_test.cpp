// NADCON and HARN: .los/.las pairs built from the nodes of a real NTv2 grid
// (nzgd2kgrid0005.gsb: southern hemisphere, longitudes past 140 east),
// checked against PROJ cct +proj=hgridshift on that grid
// (tests/data/geogtran/ntv2_real.csv); both byte orders, file form equal to
// loaded form, borders, missing files and malformed headers.
//
// Measured: forward and inverse within 1.1e-10 degrees of PROJ (the
// header's float32 spacing moves the far nodes by ~1e-8 degrees).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "geogtran/geogtran_fixture.h"
#include "geogtran/grid_files.h"

namespace {

using gridtest::Bytes;
using gridtest::DataHome;
using kxtest::kDeg;

struct Pair {
  std::string los, las;
};

// The NTv2 grid's lattice as a NADCON pair: latitudes mirrored (stored
// positive), longitudes taken west of -180, latitude shifts negated so
// that the mirrored result comes back right.
Pair nadcon_from_ntv2(kx_gtconstants gc, bool big, int columns_override = 0) {
  const int *iv = kx_gtconstants_ivals(gc);
  const float *fv = kx_gtconstants_fvals(gc);
  const double *dv = kx_gtconstants_dvals(gc);
  const int rows = iv[3 + 4], cols = iv[3 + 5], first = iv[3 + 7], count = iv[3 + 3];
  const int nc = columns_override > 0 ? columns_override : cols;
  Pair out;
  for (int half = 0; half < 2; ++half) {
    Bytes b(big);
    b.str().append(64, 'H');
    b.i32(nc);
    b.i32(rows);
    b.i32(1);
    b.f32(static_cast<float>(dv[3] - 360.0));
    b.f32(static_cast<float>(dv[5]));
    b.f32(static_cast<float>(-dv[1]));
    b.f32(static_cast<float>(dv[4]));
    b.f32(0.0f);
    b.str().resize(static_cast<std::size_t>(4 * (nc + 1)), '\0');
    for (int j = 0; j < rows; ++j) {
      b.i32(0);
      for (int i = 0; i < nc; ++i) {
        const int r = rows - 1 - j, c = cols - 1 - (i < cols ? i : cols - 1);
        const float v = fv[first + half * count + r * cols + c];
        b.f32(half == 0 ? v : -v);
      }
    }
    (half == 0 ? out.los : out.las) = b.str();
  }
  return out;
}

struct Nz {
  kx_gtconstants gc = kx_gtconstants_new();
  bool ok = false;
  Nz() {
    const std::string path = gridtest::real_grid("nzgd2kgrid0005.gsb");
    ok = !path.empty() && kx_ntv2_constants_get(gc, path.c_str()) > 0;
  }
  ~Nz() { kx_gtconstants_del(gc); }
};

TEST(Nadcon, ReproducesProjOnTheSameLatticeInEveryForm) {
  Nz nz;
  if (!nz.ok) GTEST_SKIP() << "proj-data's nzgd2kgrid0005.gsb not installed";
  DataHome home;
  std::vector<double> pts, fwd, inv;
  for (const auto &f : kxtest::read_csv(kxtest::geogtran_data("ntv2_real.csv")))
    if (f[0] == "nzgd2kgrid0005.gsb" && f[7] == "0") {
      for (int i = 1; i < 3; ++i) pts.push_back(std::stod(f[i]) * kDeg);
      for (int i = 3; i < 5; ++i) fwd.push_back(std::stod(f[i]));
      for (int i = 5; i < 7; ++i) inv.push_back(std::stod(f[i]));
    }
  const int n = static_cast<int>(pts.size() / 2);
  ASSERT_GT(n, 100);
  std::vector<std::vector<double>> results;
  for (bool big : {false, true}) {
    const Pair pair = nadcon_from_ntv2(nz.gc, big);
    home.write("nadcon/nz.los", pair.los);
    home.write("nadcon/nz.las", pair.las);
    home.write("harn/nz.los", pair.los);
    home.write("harn/nz.las", pair.las);
    kx_gtconstants gc = kx_gtconstants_new();
    ASSERT_GT(kx_nadcon_constants(gc, "Dataset_nz"), 0);
    for (bool forward : {true, false}) {
      std::vector<double> loaded = pts, file = pts, harn = pts;
      const auto fn = forward ? kx_nadcon_fwd : kx_nadcon_inv;
      EXPECT_EQ(fn(nullptr, nullptr, nullptr, "Dataset_nz", n, loaded.data(), nullptr,
                   kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc), kx_gtconstants_dvals(gc)), n);
      EXPECT_EQ(fn(nullptr, nullptr, nullptr, "Dataset_nz", n, file.data(), nullptr, nullptr,
                   nullptr, nullptr), n);
      EXPECT_EQ((forward ? kx_harn_fwd : kx_harn_inv)(nullptr, nullptr, nullptr, "nz", n,
                                                     harn.data(), nullptr, nullptr, nullptr,
                                                     nullptr), n);
      EXPECT_EQ(0, std::memcmp(loaded.data(), file.data(), pts.size() * sizeof(double)));
      EXPECT_EQ(0, std::memcmp(loaded.data(), harn.data(), pts.size() * sizeof(double)));
      const std::vector<double> &want = forward ? fwd : inv;
      double worst = 0;
      for (std::size_t i = 0; i < pts.size(); ++i)
        worst = std::max(worst, std::fabs(loaded[i] / kDeg - want[i]));
      EXPECT_LT(worst, 2e-10) << (forward ? "forward" : "inverse");
      results.push_back(loaded);
      if (forward) {
        // Forward then inverse returns the start within 2^-48 degrees and
        // the ulps of the longitude taken 360 degrees west.
        std::vector<double> back = loaded;
        EXPECT_EQ(kx_nadcon_harn_const_inv(kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc),
                                           kx_gtconstants_dvals(gc), n, back.data()), n);
        for (std::size_t i = 0; i < pts.size(); ++i)
          EXPECT_NEAR(back[i] / kDeg, pts[i] / kDeg, 1e-13);
      }
    }
    kx_gtconstants_del(gc);
  }
  EXPECT_EQ(results[0], results[2]);  // byte order changes no bit
  EXPECT_EQ(results[1], results[3]);
}

TEST(Nadcon, BordersMissingFilesAndMalformedHeaders) {
  Nz nz;
  if (!nz.ok) GTEST_SKIP() << "proj-data's nzgd2kgrid0005.gsb not installed";
  DataHome home;
  const Pair pair = nadcon_from_ntv2(nz.gc, false);
  const std::string los = home.write("nadcon/nz.los", pair.los);
  const std::string las = home.write("nadcon/nz.las", pair.las);
  const double *dv = kx_gtconstants_dvals(nz.gc);
  // On XMIN (the grid's west edge), on YMIN (its northern edge, mirrored),
  // and outside; then a point whose inverse guess leaves the grid.
  const double lmin = dv[3], north = dv[1];
  double border[] = {lmin * kDeg, -40.0 * kDeg, 174.0 * kDeg, north * kDeg,
                     150.0 * kDeg, -40.0 * kDeg, -100.0 * kDeg, 40.0 * kDeg};
  const std::vector<double> given(std::begin(border), std::end(border));
  EXPECT_EQ(kx_nadcon_harn_fwd(los.c_str(), las.c_str(), 4, border), 0);
  EXPECT_EQ(std::vector<double>(std::begin(border), std::end(border)), given);
  // Inverse guesses that leave the grid at its west and east ends are not
  // counted and read nothing outside it, from the files or loaded.
  kx_gtconstants loaded = kx_gtconstants_new();
  ASSERT_GT(kx_nadcon_harn_constants(loaded, los.c_str(), las.c_str()), 0);
  for (double lam : {lmin + 1e-7, dv[2] - 1e-7}) {
    double a[] = {lam * kDeg, -40.0 * kDeg}, b[] = {a[0], a[1]};
    const int na = kx_nadcon_harn_inv(los.c_str(), las.c_str(), 1, a);
    const int nb = kx_nadcon_harn_const_inv(kx_gtconstants_ivals(loaded), kx_gtconstants_fvals(loaded),
                                            kx_gtconstants_dvals(loaded), 1, b);
    EXPECT_EQ(na, nb);
    EXPECT_EQ(a[0], b[0]);
  }
  kx_gtconstants_del(loaded);
  // One file of the pair missing.
  std::remove(las.c_str());
  double p[] = {174.0 * kDeg, -41.0 * kDeg};
  EXPECT_EQ(kx_nadcon_fwd(nullptr, nullptr, nullptr, "Dataset_nz", 1, p, nullptr, nullptr, nullptr,
                          nullptr), 0);
  EXPECT_EQ(p[0], 174.0 * kDeg);
  kx_gtconstants gc = kx_gtconstants_new();
  EXPECT_EQ(kx_nadcon_constants(gc, "Dataset_nz"), 0);
  EXPECT_EQ(kx_gtconstants_fvals(gc), nullptr);
  // Headers no grid can have: records shorter than the header (fewer than
  // 23 columns), rows the files do not hold, NC beyond the file-form block.
  std::string narrow = nadcon_from_ntv2(nz.gc, false, 22).los;
  std::string tall = pair.los;
  int32_t rows = 0x7fffffff;
  std::memcpy(&tall[68], &rows, 4);
  std::string zero_dx = pair.los;
  float zero = 0.0f;
  std::memcpy(&zero_dx[80], &zero, 4);
  for (const std::string &bad : {narrow, tall, zero_dx, pair.los.substr(0, 90)}) {
    const std::string bl = home.write("nadcon/bad.los", bad);
    const std::string ba = home.write("nadcon/bad.las", bad);
    EXPECT_EQ(kx_nadcon_harn_constants(gc, bl.c_str(), ba.c_str()), 0);
    EXPECT_EQ(kx_gtconstants_ivals(gc), nullptr);
    double q[] = {174.0 * kDeg, -41.0 * kDeg};
    EXPECT_EQ(kx_nadcon_harn_fwd(bl.c_str(), ba.c_str(), 1, q), 0);
  }
  kx_gtconstants_del(gc);
  // Paths: the "Dataset_" prefix in any case, or none.
  char l1[KX_GRID_PATH_SIZE] = "", a1[KX_GRID_PATH_SIZE] = "";
  kx_nadcon_harn_setpath("DATASET_conus", "nadcon", l1, a1);
  EXPECT_EQ(std::string(l1), home.dir() + "/nadcon/conus.los");
  EXPECT_EQ(std::string(a1), home.dir() + "/nadcon/conus.las");
  kx_nadcon_harn_setpath("conus", "harn", l1, a1);
  EXPECT_EQ(std::string(l1), home.dir() + "/harn/conus.los");
}

// The file form reads one block of NC + 3 values, so it serves at most
// 1024 columns; the loaded form has no limit.
TEST(Nadcon, FileFormStopsAt1024Columns) {
  DataHome home;
  const int nc = 1100, nr = 2;
  std::string f;
  for (bool las : {false, true}) {
    Bytes b(false);
    b.str().append(64, 'H');
    b.i32(nc);
    b.i32(nr);
    b.i32(1);
    for (float v : {-100.0f, 0.01f, 30.0f, 0.01f, 0.0f}) b.f32(v);
    b.str().resize(static_cast<std::size_t>(4 * (nc + 1)), '\0');
    for (int j = 0; j < nr; ++j) {
      b.i32(0);
      for (int i = 0; i < nc; ++i) b.f32(las ? 1.0f : 2.0f);
    }
    f = home.write(las ? "nadcon/wide.las" : "nadcon/wide.los", b.str());
  }
  const std::string los = home.dir() + "/nadcon/wide.los";
  double p[] = {-99.0 * kDeg, 30.005 * kDeg}, q[] = {p[0], p[1]};
  EXPECT_EQ(kx_nadcon_harn_fwd(los.c_str(), f.c_str(), 1, p), 0);
  kx_gtconstants gc = kx_gtconstants_new();
  ASSERT_EQ(kx_nadcon_harn_constants(gc, los.c_str(), f.c_str()), 2 * nc * nr);
  EXPECT_EQ(kx_nadcon_harn_const_fwd(kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc),
                                     kx_gtconstants_dvals(gc), 1, q), 1);
  EXPECT_NEAR(q[0] / kDeg, -99.0 - 2.0 / 3600, 1e-12);
  EXPECT_NEAR(q[1] / kDeg, 30.005 + 1.0 / 3600, 1e-12);
  kx_gtconstants_del(gc);
}

}  // namespace
