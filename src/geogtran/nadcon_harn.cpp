// NADCON and HARN grid shifts (EPSG method 9613 and the HARN variant):
// bilinear interpolation of longitude and latitude shifts (arc-seconds) in a
// .los/.las file pair, from the files themselves or from the whole grid
// loaded into a transformation's constants.
//
// Source: the NADCON file format of the U.S. National Geodetic Survey
// (Dewhurst 1990): a header record, then one record per row, south to
// north, each a skipped word and the row's float32 values west to east.
// Measured: a pair built from the nodes of nzgd2kgrid0005.gsb reproduces
// PROJ 9 cct +proj=hgridshift on that grid within 1e-10 degrees
// (tests/geogtran/grid_test.cpp); file and loaded forms give equal bits.
//
// Beyond the letter of the format, for sound results on every file: a
// header with fewer than 23 columns (records shorter than the header), fewer
// than 2 rows, spacings not positive and finite, or a size the files cannot
// hold is refused; the inverse checks its guess is inside the grid before it
// reads; a point whose inverse never settles is not counted.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "geogtran/grid_common.h"
#include "math/math_common.h"
#include "objects/constants_store.h"

namespace {

using namespace kx::geogtran;

constexpr int kHeaderBytes = 96;
constexpr int kMinColumns = 23;     // (23 + 1) * 4 = 96: a record holds the header
constexpr int kFileFormWords = 1027;  // one block of NC + 3 values per read
constexpr int kSwappedAbove = 999999;

struct Header {
  int nc, nr;
  float xmin, dx, ymin, dy;
  int record;  // L = 4 NC + 4
  bool swapped;
};

bool read_header(std::FILE *fp, Header &h) {
  unsigned char b[kHeaderBytes];
  if (std::fseek(fp, 0, SEEK_SET) != 0 || std::fread(b, 1, sizeof b, fp) != sizeof b) return false;
  const std::int32_t nc_le = get_i32(b + 64, false);
  h.swapped = nc_le > kSwappedAbove || nc_le < -kSwappedAbove;
  h.nc = get_i32(b + 64, h.swapped);
  h.nr = get_i32(b + 68, h.swapped);
  h.xmin = get_f32(b + 76, h.swapped);
  h.dx = get_f32(b + 80, h.swapped);
  h.ymin = get_f32(b + 84, h.swapped);
  h.dy = get_f32(b + 88, h.swapped);
  if (h.nc < kMinColumns || h.nc > kSwappedAbove || h.nr < 2 || h.nr > kSwappedAbove ||
      !std::isfinite(h.xmin) || !std::isfinite(h.ymin) || !(h.dx > 0.0f) || !(h.dy > 0.0f) ||
      !std::isfinite(h.dx) || !std::isfinite(h.dy))
    return false;
  h.record = 4 * h.nc + 4;
  return true;
}

// The rows the header announces must be in the file.
bool holds(const Header &h, std::int64_t size) {
  return size >= static_cast<std::int64_t>(h.record) * (h.nr + 1);
}

struct Extent {
  double xmin, ymin, xmax, ymax, dx, dy;
  int nc, nr;
};

Extent extent(const Header &h) {
  return Extent{h.xmin, h.ymin, h.xmin + (h.nc - 1) * static_cast<double>(h.dx),
                h.ymin + (h.nr - 1) * static_cast<double>(h.dy), h.dx, h.dy, h.nc, h.nr};
}

// Shift values of the cell's four nodes, from the files or from memory.
struct FileNodes {
  std::FILE *los, *las;
  int record;
  bool swapped;
  bool get(int i, int j, float lon[4], float lat[4]) const {
    return kx_read_harn_shifts(los, i, j, record, swapped, lon) == 4 &&
           kx_read_harn_shifts(las, i, j, record, swapped, lat) == 4;
  }
};

struct MemoryNodes {
  const float *lon, *lat;
  int nc;
  bool get(int i, int j, float lo[4], float la[4]) const {
    const std::size_t p = static_cast<std::size_t>(j) * nc + i;
    const std::size_t q[4] = {p, p + 1, p + nc, p + nc + 1};
    for (int k = 0; k < 4; ++k) {
      lo[k] = lon[q[k]];
      la[k] = lat[q[k]];
    }
    return true;
  }
};

inline double bilinear(const float t[4], double fx, double fy) {
  const double t1 = t[0], t2 = t[1], t3 = t[2], t4 = t[3];
  return t1 + (t2 - t1) * fx + (t3 - t1) * fy + (t4 - t3 - t2 + t1) * fx * fy;
}

// Shifts at (lam, phi) degrees; false when the cell is not wholly inside
// the grid (checked before anything is read) or a read fails.
template <class Nodes>
bool shift_at(const Extent &e, const Nodes &nodes, double lam, double phi, double *slon,
              double *slat) {
  const double cx = (lam - e.xmin) / e.dx, cy = (phi - e.ymin) / e.dy;
  if (!(cx >= 0.0 && cx <= e.nc - 1 && cy >= 0.0 && cy <= e.nr - 1)) return false;
  // A point on the last column or row takes the last full cell.
  const int i = cx < e.nc - 2 ? static_cast<int>(cx) : e.nc - 2;
  const int j = cy < e.nr - 2 ? static_cast<int>(cy) : e.nr - 2;
  float lon[4], lat[4];
  if (!nodes.get(i, j, lon, lat)) return false;
  *slon = bilinear(lon, cx - i, cy - j);
  *slat = bilinear(lat, cx - i, cy - j);
  return true;
}

// Steps shared by both directions: degrees, longitudes above 140 east
// taken west, southern points west of 164 west looked up mirrored.
inline bool prepare(const Extent &e, const double *p, double *lam, double *phi, double *sign) {
  *lam = p[0] * kRadToDeg;
  *phi = p[1] * kRadToDeg;
  if (*lam > 140.0) *lam -= 360.0;
  *sign = 1.0;
  if (*phi < 0.0 && *lam < -164.0) {
    *phi = -*phi;
    *sign = -1.0;
  }
  return e.xmin < *lam && *lam < e.xmax && e.ymin < *phi && *phi < e.ymax;
}

template <class Nodes>
int forward(const Extent &e, const Nodes &nodes, int n, double *coords) {
  int count = 0;
  for (int k = 0; k < n; ++k) {
    double *p = coords + 2 * static_cast<std::size_t>(k);
    double lam, phi, sign, slon, slat;
    if (!prepare(e, p, &lam, &phi, &sign) || !shift_at(e, nodes, lam, phi, &slon, &slat)) continue;
    p[0] = kx::reduce_angle((lam - slon / 3600.0) * kDegToRad);
    p[1] = (phi + slat / 3600.0) * kDegToRad * sign;
    ++count;
  }
  return count;
}

template <class Nodes>
int inverse(const Extent &e, const Nodes &nodes, int n, double *coords) {
  int count = 0;
  for (int k = 0; k < n; ++k) {
    double *p = coords + 2 * static_cast<std::size_t>(k);
    double lt, pt, sign;
    if (!prepare(e, p, &lt, &pt, &sign)) continue;
    // The guess is checked against the grid before every shift is read.
    double lg, pg;
    auto shift = [&](double l, double f, double *slon, double *slat) {
      return shift_at(e, nodes, l, f, slon, slat);
    };
    if (!invert_shift(lt, pt, shift, &lg, &pg)) continue;
    p[0] = kx::reduce_angle(lg * kDegToRad);
    p[1] = pg * kDegToRad * sign;
    ++count;
  }
  return count;
}

int file_shift(const char *los_path, const char *las_path, int n, double *coords, bool fwd) {
  if (n <= 0 || coords == nullptr) return 0;
  std::int64_t los_size = 0, las_size = 0;
  std::FILE *los = open_grid(los_path, &los_size);
  std::FILE *las = los != nullptr ? open_grid(las_path, &las_size) : nullptr;
  int count = 0;
  Header h;
  if (las != nullptr && read_header(los, h)) {
    const FileNodes nodes{los, las, h.record, h.swapped};
    count = fwd ? forward(extent(h), nodes, n, coords) : inverse(extent(h), nodes, n, coords);
  }
  if (las != nullptr) std::fclose(las);
  if (los != nullptr) std::fclose(los);
  return count;
}

bool const_extent(const int *iv, const double *dv, Extent &e) {
  if (iv[0] < 2 || iv[1] < 2) return false;
  e = Extent{dv[0], dv[1], dv[2], dv[3], dv[4], dv[5], iv[1], iv[0]};
  return true;
}

bool read_values(std::FILE *fp, const Header &h, float *out) {
  std::vector<unsigned char> row(static_cast<std::size_t>(h.record));
  if (std::fseek(fp, h.record, SEEK_SET) != 0) return false;
  for (int j = 0; j < h.nr; ++j) {
    if (std::fread(row.data(), 1, row.size(), fp) != row.size()) return false;
    for (int i = 0; i < h.nc; ++i)
      out[static_cast<std::size_t>(j) * h.nc + i] = get_f32(row.data() + 4 + 4 * i, h.swapped);
  }
  return true;
}

int method(const char *subdir, const char *dataset, int n, double *coords, const int *iv,
           const float *fv, const double *dv, bool fwd) {
  if (n <= 0 || coords == nullptr) return 0;
  if (iv != nullptr && fv != nullptr && dv != nullptr)
    return fwd ? kx_nadcon_harn_const_fwd(iv, fv, dv, n, coords)
               : kx_nadcon_harn_const_inv(iv, fv, dv, n, coords);
  char los[KX_GRID_PATH_SIZE] = "", las[KX_GRID_PATH_SIZE] = "";
  kx_nadcon_harn_setpath(dataset, subdir, los, las);
  if (los[0] == '\0' || las[0] == '\0') return 0;
  return file_shift(los, las, n, coords, fwd);
}

int load(kx_gtconstants gc, const char *subdir, const char *dataset) {
  if (kx_gtconstants_p(gc) == 0) return 0;
  char los[KX_GRID_PATH_SIZE] = "", las[KX_GRID_PATH_SIZE] = "";
  kx_nadcon_harn_setpath(dataset, subdir, los, las);
  return kx_nadcon_harn_constants(gc, los, las);
}

// Either direction on loaded constants: the nodes as the loader laid them
// out, longitude shifts first.
int loaded_shift(const int *ivals, const float *fvals, const double *dvals, int n,
                 double *coords, bool fwd) {
  Extent e;
  if (ivals == nullptr || fvals == nullptr || dvals == nullptr || coords == nullptr || n <= 0 ||
      !const_extent(ivals, dvals, e))
    return 0;
  const MemoryNodes nodes{fvals, fvals + static_cast<std::size_t>(e.nr) * e.nc, e.nc};
  return fwd ? forward(e, nodes, n, coords) : inverse(e, nodes, n, coords);
}

}  // namespace

extern "C" {

KX_API void kx_nadcon_harn_setpath(const char *dataset, const char *subdir, char *los_path,
                                   char *las_path) {
  if (dataset == nullptr || subdir == nullptr || los_path == nullptr || las_path == nullptr)
    return;
  const std::string base = dataset_file_part(dataset);
  char los[KX_GRID_PATH_SIZE], las[KX_GRID_PATH_SIZE];
  if (!data_home_path(subdir, (base + ".los").c_str(), los) ||
      !data_home_path(subdir, (base + ".las").c_str(), las))
    return;
  std::strcpy(los_path, los);
  std::strcpy(las_path, las);
}

KX_API int kx_read_harn_header(FILE *fp, int *nc, int *nr, float *xmin, float *dx, float *ymin,
                               float *dy, int *record_length, int *swapped) {
  Header h;
  if (fp == nullptr || !read_header(fp, h)) return 0;
  if (nc != nullptr) *nc = h.nc;
  if (nr != nullptr) *nr = h.nr;
  if (xmin != nullptr) *xmin = h.xmin;
  if (dx != nullptr) *dx = h.dx;
  if (ymin != nullptr) *ymin = h.ymin;
  if (dy != nullptr) *dy = h.dy;
  if (record_length != nullptr) *record_length = h.record;
  if (swapped != nullptr) *swapped = h.swapped ? 1 : 0;
  return 1;
}

KX_API int kx_read_harn_shifts(FILE *fp, int i, int j, int record_length, int swapped,
                               float *values) {
  if (fp == nullptr || values == nullptr || i < 0 || j < 0 || record_length < 8) return 0;
  const int words = record_length / 4 + 2;
  // One block holds both rows of the cell; wider grids do not fit it.
  if (words > kFileFormWords) return 0;
  unsigned char b[4 * kFileFormWords];
  const long at = static_cast<long>((j + 1) * static_cast<std::int64_t>(record_length) +
                                    (i + 1) * 4);
  if (std::fseek(fp, at, SEEK_SET) != 0) return 0;
  const std::size_t bytes = 4 * static_cast<std::size_t>(words);
  if (std::fread(b, 1, bytes, fp) != bytes) return 0;
  const int at_word[4] = {0, 1, words - 2, words - 1};
  for (int k = 0; k < 4; ++k) values[k] = get_f32(b + 4 * at_word[k], swapped != 0);
  return 4;
}

KX_API int kx_nadcon_harn_fwd(const char *los_path, const char *las_path, int n, double *coords) {
  return file_shift(los_path, las_path, n, coords, true);
}

KX_API int kx_nadcon_harn_inv(const char *los_path, const char *las_path, int n, double *coords) {
  return file_shift(los_path, las_path, n, coords, false);
}

KX_API int kx_nadcon_harn_const_fwd(const int *ivals, const float *fvals, const double *dvals,
                                    int n, double *coords) {
  return loaded_shift(ivals, fvals, dvals, n, coords, true);
}

KX_API int kx_nadcon_harn_const_inv(const int *ivals, const float *fvals, const double *dvals,
                                    int n, double *coords) {
  return loaded_shift(ivals, fvals, dvals, n, coords, false);
}

KX_API int kx_nadcon_harn_constants(kx_gtconstants gc, const char *los_path,
                                    const char *las_path) {
  if (kx_gtconstants_p(gc) == 0) return 0;
  kx::gtconstants_clear(gc);
  std::int64_t los_size = 0, las_size = 0;
  std::FILE *los = open_grid(los_path, &los_size);
  std::FILE *las = los != nullptr ? open_grid(las_path, &las_size) : nullptr;
  Header h;
  bool ok = las != nullptr && read_header(los, h) && holds(h, los_size) && holds(h, las_size) &&
            8 * static_cast<std::int64_t>(h.nc) * h.nr <= INT32_MAX;
  if (ok) {
    const int half = h.nc * h.nr;
    ok = kx::gtconstants_allocate(gc, 2, 2 * half, 6);
    float *nodes = kx_gtconstants_fvals(gc);
    ok = ok && read_values(los, h, nodes) && read_values(las, h, nodes + half);
    if (ok) {
      const Extent e = extent(h);
      int *iv = kx_gtconstants_ivals(gc);
      iv[0] = h.nr;
      iv[1] = h.nc;
      const double d[6] = {e.xmin, e.ymin, e.xmax, e.ymax, e.dx, e.dy};
      std::memcpy(kx_gtconstants_dvals(gc), d, sizeof d);
    }
  }
  if (las != nullptr) std::fclose(las);
  if (los != nullptr) std::fclose(los);
  if (!ok) {
    kx::gtconstants_clear(gc);
    return 0;
  }
  return 2 * h.nc * h.nr;
}

KX_API int kx_nadcon_constants(kx_gtconstants gc, const char *dataset) {
  return load(gc, "nadcon", dataset);
}

KX_API int kx_harn_constants(kx_gtconstants gc, const char *dataset) {
  return load(gc, "harn", dataset);
}

KX_API int kx_nadcon_fwd(const double *, const double *, const double *, const char *dataset,
                         int n, double *coords, double *, const int *ivals, const float *fvals,
                         const double *dvals) {
  return method("nadcon", dataset, n, coords, ivals, fvals, dvals, true);
}

KX_API int kx_nadcon_inv(const double *, const double *, const double *, const char *dataset,
                         int n, double *coords, double *, const int *ivals, const float *fvals,
                         const double *dvals) {
  return method("nadcon", dataset, n, coords, ivals, fvals, dvals, false);
}

KX_API int kx_harn_fwd(const double *, const double *, const double *, const char *dataset, int n,
                       double *coords, double *, const int *ivals, const float *fvals,
                       const double *dvals) {
  return method("harn", dataset, n, coords, ivals, fvals, dvals, true);
}

KX_API int kx_harn_inv(const double *, const double *, const double *, const char *dataset, int n,
                       double *coords, double *, const int *ivals, const float *fvals,
                       const double *dvals) {
  return method("harn", dataset, n, coords, ivals, fvals, dvals, false);
}

}  // extern "C"
