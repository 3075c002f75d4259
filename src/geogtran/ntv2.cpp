// NTv2 grid shift (EPSG method 9615): bilinear interpolation of latitude and
// longitude shifts in a tree of sub-grids read from one NTv2 file.
//
// Source: the NTv2 file format description (Natural Resources Canada, 1995):
// overview and sub-file headers, nodes south to north, east to west, shifts
// in the GS_TYPE unit with longitudes positive west.
// Measured against PROJ 9 cct (+proj=hgridshift) at random points inside
// nzgd2kgrid0005.gsb, BETA2007.gsb, ntf_r93.gsb and CHENYX06.gsb: forward and
// inverse agree within 1e-10 degrees (tests/geogtran/ntv2_test.cpp).
//
// Beyond the letter of the format, for sound results on every file:
// - the descent through the tree compares children with one another only,
//   level by level, so a grandchild takes over from its parent;
// - children are listed from parent indices, so duplicate names cannot make
//   the lists disagree with their counts;
// - the interpolation cell is clamped to the last full cell, so a bound that
//   is not an exact multiple of the increment still uses the right nodes and
//   never reads past a sub-grid;
// - every count, increment and bound is checked against the file's size and
//   order before anything is allocated.
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

constexpr int kOverviewPadded = 176;
constexpr int kOverviewUnpadded = 164;
constexpr int kSubPadded = 176;
constexpr int kSubUnpadded = 172;
constexpr int kNodeBytes = 16;
constexpr int kSubInts = 8;  // own index, parent, children, count, rows, columns, offset, first
constexpr int kSubDoubles = 6;
constexpr int kOverviewRecords = 11;
constexpr int kSwappedAbove = 999999;

struct GridUnit {
  const char *name;
  double to_degrees;
  double to_seconds;
};

// Unit code i + 1 is row i.
constexpr GridUnit kUnits[] = {
    {"SECONDS", 0.0002777777777777778, 1.0},
    {"MINUTES", 0.016666666666666666, 60.0},
    {"DEGREES", 1.0, 3600.0},
    {"RADIANS", 57.29577951308232, 206264.8125},
};

struct Overview {
  int num_file = 0;
  int unit = 0;
  bool padded = false;
  bool swapped = false;
};

// Reads the overview header; returns the number of value fields read when
// it equals NUM_OREC, else 0.
int read_overview(std::FILE *fp, Overview &ov) {
  unsigned char b[kOverviewPadded];
  const std::size_t got = std::fread(b, 1, sizeof b, fp);
  if (got < 16) return 0;
  const std::int32_t orec_le = get_i32(b + 8, false);
  ov.swapped = orec_le > kSwappedAbove;
  ov.padded = b[12] == 0 && b[13] == 0 && b[14] == 0 && b[15] == 0;
  const std::int32_t orec = get_i32(b + 8, ov.swapped);
  int fields = 0;
  std::size_t value_at[kOverviewRecords];
  for (int i = 0; i < kOverviewRecords; ++i) {
    const std::size_t record = ov.padded ? 16u * i : (i < 3 ? 12u * i : 36u + 16u * (i - 3));
    value_at[i] = record + 8;
    if (value_at[i] + (i < 3 ? 4 : 8) <= got) ++fields;
  }
  // NUM_OREC must be 11; another count that happens to match a cut-short
  // header is no NTv2 file either.
  if (orec != kOverviewRecords || fields != orec) return 0;
  ov.num_file = get_i32(b + value_at[2], ov.swapped);
  ov.unit = 0;
  for (int u = 0; u < 4; ++u)
    if (std::strncmp(reinterpret_cast<const char *>(b + value_at[3]), kUnits[u].name, 7) == 0)
      ov.unit = u + 1;
  // Leave the stream just past the header of the recognised layout.
  std::fseek(fp, ov.padded ? kOverviewPadded : kOverviewUnpadded, SEEK_SET);
  return fields;
}

struct SubGrid {
  char name[8];
  char parent_name[8];
  double s, n, e, w, dlat, dlon;  // file units, longitudes positive west
  int count, rows, cols;
  std::int64_t offset;  // of the first node record
  int parent;
  int first;  // first index in fvals
};

bool finite_all(const SubGrid &g) {
  return std::isfinite(g.s) && std::isfinite(g.n) && std::isfinite(g.e) && std::isfinite(g.w) &&
         std::isfinite(g.dlat) && std::isfinite(g.dlon);
}

// Node lattice size along one axis, or 0 when it is not a sane count.
int lattice(double extent, double inc, std::int64_t limit) {
  const double k = std::trunc(extent / inc + 1.5);
  if (!(k >= 2.0) || k > static_cast<double>(limit)) return 0;
  return static_cast<int>(k);
}

bool is_none(const char *parent) { return std::memcmp(parent, "NONE    ", 8) == 0; }

// Reads and checks every sub-file header; nodes are skipped.
bool read_sub_headers(std::FILE *fp, const Overview &ov, std::int64_t size,
                      std::vector<SubGrid> &subs) {
  const int hsize = ov.padded ? kSubPadded : kSubUnpadded;
  std::int64_t pos = ov.padded ? kOverviewPadded : kOverviewUnpadded;
  std::int64_t fval_total = 0;
  subs.resize(static_cast<std::size_t>(ov.num_file));
  for (int k = 0; k < ov.num_file; ++k) {
    unsigned char b[kSubPadded];
    if (std::fseek(fp, static_cast<long>(pos), SEEK_SET) != 0) return false;
    if (std::fread(b, 1, static_cast<std::size_t>(hsize), fp) != static_cast<std::size_t>(hsize))
      return false;
    SubGrid &g = subs[static_cast<std::size_t>(k)];
    std::memcpy(g.name, b + 8, 8);
    std::memcpy(g.parent_name, b + 24, 8);
    g.s = get_f64(b + 72, ov.swapped);
    g.n = get_f64(b + 88, ov.swapped);
    g.e = get_f64(b + 104, ov.swapped);
    g.w = get_f64(b + 120, ov.swapped);
    g.dlat = get_f64(b + 136, ov.swapped);
    g.dlon = get_f64(b + 152, ov.swapped);
    g.count = get_i32(b + 168, ov.swapped);
    pos += hsize;
    g.offset = pos;
    const std::int64_t room = (size - pos) / kNodeBytes;
    if (!finite_all(g) || !(g.s < g.n) || !(g.e < g.w) || !(g.dlat > 0.0) || !(g.dlon > 0.0) ||
        g.count <= 0 || g.count > room)
      return false;
    g.rows = lattice(g.n - g.s, g.dlat, room);
    g.cols = lattice(g.w - g.e, g.dlon, room);
    if (g.rows == 0 || g.cols == 0 ||
        static_cast<std::int64_t>(g.rows) * g.cols != static_cast<std::int64_t>(g.count))
      return false;
    g.first = static_cast<int>(fval_total);
    fval_total += 2 * static_cast<std::int64_t>(g.count);
    if (fval_total * 4 > INT32_MAX) return false;
    pos += static_cast<std::int64_t>(kNodeBytes) * g.count;
  }
  return true;
}

// Parent indices by name; false when the parent links form a cycle.
bool link_parents(std::vector<SubGrid> &subs) {
  const std::size_t nf = subs.size();
  for (std::size_t k = 0; k < nf; ++k) {
    subs[k].parent = -1;
    if (is_none(subs[k].parent_name)) continue;
    for (std::size_t j = 0; j < nf; ++j)
      if (j != k && std::memcmp(subs[j].name, subs[k].parent_name, 8) == 0) {
        subs[k].parent = static_cast<int>(j);
        break;
      }
  }
  for (std::size_t k = 0; k < nf; ++k) {
    int p = subs[k].parent;
    for (std::size_t steps = 0; p >= 0; ++steps) {
      if (steps >= nf) return false;
      p = subs[static_cast<std::size_t>(p)].parent;
    }
  }
  return true;
}

bool fill_arrays(kx_gtconstants gc, const Overview &ov, const std::vector<SubGrid> &subs) {
  const int nf = ov.num_file;
  int links = 0, top_none = 0;
  std::int64_t fvals = 0;
  for (const SubGrid &g : subs) {
    if (g.parent >= 0) ++links;
    if (is_none(g.parent_name)) ++top_none;
    fvals += 2 * static_cast<std::int64_t>(g.count);
  }
  const int ivals = 3 + kSubInts * nf + links;
  if (fvals > INT32_MAX ||
      !kx::gtconstants_allocate(gc, ivals, static_cast<int>(fvals), kSubDoubles * nf)) {
    return false;
  }
  const GridUnit &u = kUnits[ov.unit - 1];
  int *iv = kx_gtconstants_ivals(gc);
  iv[0] = nf;
  iv[1] = ov.unit;
  iv[2] = top_none;
  int at = 3;
  for (int k = 0; k < nf; ++k) {
    const SubGrid &g = subs[static_cast<std::size_t>(k)];
    int children = 0;
    for (const SubGrid &c : subs) children += c.parent == k ? 1 : 0;
    const int block[kSubInts] = {k, g.parent, children, g.count, g.rows, g.cols,
                                 static_cast<int>(g.offset), g.first};
    std::memcpy(iv + at, block, sizeof block);
    at += kSubInts;
    for (int j = 0; j < nf; ++j)
      if (subs[static_cast<std::size_t>(j)].parent == k) iv[at++] = j;
    double *dv = kx_gtconstants_dvals(gc) + kSubDoubles * k;
    dv[0] = g.s * u.to_degrees;
    dv[1] = g.n * u.to_degrees;
    dv[2] = -g.e * u.to_degrees;
    dv[3] = -g.w * u.to_degrees;
    dv[4] = g.dlat * u.to_degrees;
    dv[5] = g.dlon * u.to_degrees;
  }
  return true;
}

bool read_nodes(std::FILE *fp, const Overview &ov, const std::vector<SubGrid> &subs,
                float *fvals) {
  const double factor = kUnits[ov.unit - 1].to_seconds;
  int widest = 0;
  for (const SubGrid &g : subs) widest = g.cols > widest ? g.cols : widest;
  std::vector<unsigned char> row(static_cast<std::size_t>(widest) * kNodeBytes);
  for (const SubGrid &g : subs) {
    if (std::fseek(fp, static_cast<long>(g.offset), SEEK_SET) != 0) return false;
    float *lon = fvals + g.first;
    float *lat = lon + g.count;
    const std::size_t bytes = static_cast<std::size_t>(g.cols) * kNodeBytes;
    for (int r = 0; r < g.rows; ++r) {
      if (std::fread(row.data(), 1, bytes, fp) != bytes) return false;
      for (int c = 0; c < g.cols; ++c) {
        const unsigned char *node = row.data() + static_cast<std::size_t>(c) * kNodeBytes;
        const std::size_t p = static_cast<std::size_t>(r) * g.cols + c;
        lat[p] = static_cast<float>(get_f32(node, ov.swapped) * factor);
        lon[p] = static_cast<float>(get_f32(node + 4, ov.swapped) * factor);
      }
    }
  }
  return true;
}

// ---- shifting from loaded constants ----

struct Grid {
  double s, n, lmax, lmin, dlat, dlon;  // degrees, east positive
  int rows, cols, count, first;
  int parent, nchild;
  const int *children;
};

struct Tree {
  std::vector<Grid> grids;  // top-level ones: parent < 0 (none in the file)
};

bool build_tree(const int *iv, const double *dv, Tree &t) {
  const int nf = iv[0];
  if (nf <= 0) return false;
  t.grids.resize(static_cast<std::size_t>(nf));
  int at = 3;
  for (int k = 0; k < nf; ++k) {
    const int *b = iv + at;
    Grid &g = t.grids[static_cast<std::size_t>(k)];
    const double *d = dv + kSubDoubles * k;
    g = Grid{d[0], d[1], d[2], d[3], d[4], d[5], b[4], b[5], b[3], b[7], b[1], b[2], b + kSubInts};
    at += kSubInts + (g.nchild > 0 ? g.nchild : 0);
  }
  return true;
}

// 1 inside (eastern and southern edges included), 2 northern edge, 3
// western edge, 4 north-western corner, 0 outside.
inline int category(const Grid &g, double lam, double phi) {
  const bool in_lon = g.lmin < lam && lam <= g.lmax;
  const bool in_lat = g.s <= phi && phi < g.n;
  if (in_lon) return in_lat ? 1 : (phi == g.n ? 2 : 0);
  if (lam != g.lmin) return 0;
  return in_lat ? 3 : (phi == g.n ? 4 : 0);
}

// The sub-grid that shifts the point, or -1: the best top-level sub-grid,
// then at each level the best of the current one's children.
int select_grid(const Tree &t, double lam, double phi) {
  int best = -1, best_cat = 5;
  // Sub-grids without a parent in the file, in file order.
  for (int k = 0; k < static_cast<int>(t.grids.size()); ++k) {
    if (t.grids[static_cast<std::size_t>(k)].parent >= 0) continue;
    const int c = category(t.grids[static_cast<std::size_t>(k)], lam, phi);
    if (c != 0 && c < best_cat) {
      best = k;
      best_cat = c;
      if (c == 1) break;
    }
  }
  for (std::size_t depth = 0; best >= 0 && depth < t.grids.size(); ++depth) {
    const Grid &g = t.grids[static_cast<std::size_t>(best)];
    int chosen = -1, chosen_cat = 5;
    for (int i = 0; i < g.nchild; ++i) {
      const int k = g.children[i];
      const int c = category(t.grids[static_cast<std::size_t>(k)], lam, phi);
      if (c != 0 && c < chosen_cat) {
        chosen = k;
        chosen_cat = c;
        if (c == 1) break;
      }
    }
    if (chosen < 0) break;
    best = chosen;
  }
  return best;
}

// Bilinear shifts (arc-seconds, longitude positive west) in the last full
// cell that holds the point; on the western or northern edge the fraction
// is exactly 1 against that cell, which is the interpolation along the edge.
inline void interpolate(const Grid &g, const float *fvals, double lam, double phi, double *slon,
                        double *slat) {
  const double x = (g.lmax - lam) / g.dlon;
  const double y = (phi - g.s) / g.dlat;
  const int c = x <= 0.0 ? 0 : (x < g.cols - 2 ? static_cast<int>(x) : g.cols - 2);
  const int r = y <= 0.0 ? 0 : (y < g.rows - 2 ? static_cast<int>(y) : g.rows - 2);
  const double fx = x - c, fy = y - r;
  const std::size_t p = static_cast<std::size_t>(r) * g.cols + c;
  const float *half[2] = {fvals + g.first, fvals + g.first + g.count};
  double out[2];
  for (int h = 0; h < 2; ++h) {
    const float *v = half[h];
    const double a = v[p], b = v[p + 1], e = v[p + g.cols], d = v[p + g.cols + 1];
    out[h] = a + (b - a) * fx + (e - a) * fy + (d - e - b + a) * fx * fy;
  }
  *slon = out[0];
  *slat = out[1];
}

bool usable_constants(const int *iv, const float *fv, const double *dv, int n,
                      const double *coords) {
  return iv != nullptr && fv != nullptr && dv != nullptr && coords != nullptr && n > 0;
}

// Both directions through loaded constants. A point outside every grid, or
// whose inverse guess left the grid or never settled, stays as given and is
// not counted.
int loaded_shift(const int *ivals, const float *fvals, const double *dvals, int n,
                 double *coords, bool fwd) {
  if (!usable_constants(ivals, fvals, dvals, n, coords)) return 0;
  Tree t;
  if (!build_tree(ivals, dvals, t)) return 0;
  auto shift = [&](double lam, double phi, double *slon, double *slat) {
    const int k = select_grid(t, lam, phi);
    if (k < 0) return false;
    interpolate(t.grids[static_cast<std::size_t>(k)], fvals, lam, phi, slon, slat);
    return true;
  };
  int count = 0;
  for (int i = 0; i < n; ++i) {
    double *p = coords + 2 * static_cast<std::size_t>(i);
    const double lam = p[0] * kRadToDeg, phi = p[1] * kRadToDeg;
    double l, f;
    if (fwd) {
      double slon, slat;
      if (!shift(lam, phi, &slon, &slat)) continue;
      l = lam - slon / 3600.0;
      f = phi + slat / 3600.0;
    } else if (!invert_shift(lam, phi, shift, &l, &f)) {
      continue;
    }
    p[0] = kx::reduce_angle(l * kDegToRad);
    p[1] = f * kDegToRad;
    ++count;
  }
  return count;
}

// The file named by a dataset under the "ntv2" subdirectory, trying the
// name as given, then with ".GSB", then in lower case, then lower case
// with ".GSB".
bool resolve(const char *dataset, char *path) {
  if (dataset == nullptr) return false;
  std::string lower(dataset);
  for (char &ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const char *names[2] = {dataset, lower.c_str()};
  for (const char *name : names) {
    char p[KX_GRID_PATH_SIZE] = "";
    kx_ntv2_setpath(name, "ntv2", p);
    const std::size_t len = std::strlen(p);
    if (len == 0) return false;
    if (kx_ntv2_file_exists(p)) {
      std::strcpy(path, p);
      return true;
    }
    if (len >= 4) {
      std::memcpy(p + len - 4, ".GSB", 4);
      if (kx_ntv2_file_exists(p)) {
        std::strcpy(path, p);
        return true;
      }
    }
  }
  return false;
}

// A file part keeps its own extension (".gsb" in any case, or another
// three-letter one such as ".DAC"); otherwise ".gsb" is appended.
bool has_extension(const std::string &name) {
  const std::size_t slash = name.find_last_of('/');
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string ext = name.substr(dot + 1);
  if (ext.size() != 3) return false;
  for (char ch : ext)
    if (!std::isalnum(static_cast<unsigned char>(ch))) return false;
  return true;
}

int shift_file(const char *path, int n, double *coords, bool forward) {
  if (n <= 0 || coords == nullptr) return 0;
  kx_gtconstants gc = kx_gtconstants_new();
  if (gc == nullptr) return 0;
  int result = 0;
  if (kx_ntv2_constants_get(gc, path) > 0)
    result = forward ? kx_ntv2_const_fwd(kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc),
                                         kx_gtconstants_dvals(gc), n, coords)
                     : kx_ntv2_const_inv(kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc),
                                         kx_gtconstants_dvals(gc), n, coords);
  kx_gtconstants_del(gc);
  return result;
}

int method(const char *dataset, int n, double *coords, const int *iv, const float *fv,
           const double *dv, bool forward) {
  if (n <= 0 || coords == nullptr) return 0;
  if (iv != nullptr && fv != nullptr && dv != nullptr)
    return forward ? kx_ntv2_const_fwd(iv, fv, dv, n, coords)
                   : kx_ntv2_const_inv(iv, fv, dv, n, coords);
  char path[KX_GRID_PATH_SIZE];
  if (!resolve(dataset, path)) return 0;
  return shift_file(path, n, coords, forward);
}

}  // namespace

extern "C" {

KX_API int kx_read_ntv2_ovrvw_header(FILE *fp, int *num_file, int *unit, int *padded,
                                     int *swapped) {
  if (fp == nullptr) return 0;
  Overview ov;
  const int fields = read_overview(fp, ov);
  if (fields == 0) return 0;
  if (num_file != nullptr) *num_file = ov.num_file;
  if (unit != nullptr) *unit = ov.unit;
  if (padded != nullptr) *padded = ov.padded ? 1 : 0;
  if (swapped != nullptr) *swapped = ov.swapped ? 1 : 0;
  return fields;
}

KX_API int kx_ntv2_constants_get(kx_gtconstants gc, const char *path) {
  if (kx_gtconstants_p(gc) == 0) return 0;
  kx::gtconstants_clear(gc);
  std::int64_t size = 0;
  std::FILE *fp = open_grid(path, &size);
  if (fp == nullptr) return 0;
  Overview ov;
  std::vector<SubGrid> subs;
  // Every sub-grid needs a header and at least four nodes, so the file's
  // size bounds NUM_FILE before anything is sized by it.
  bool ok = size <= INT32_MAX && read_overview(fp, ov) != 0 && ov.unit != 0 && ov.num_file > 0 &&
            ov.num_file <= (size - kOverviewUnpadded) / (kSubUnpadded + 4 * kNodeBytes) &&
            read_sub_headers(fp, ov, size, subs) && link_parents(subs) &&
            fill_arrays(gc, ov, subs) && read_nodes(fp, ov, subs, kx_gtconstants_fvals(gc));
  std::fclose(fp);
  if (!ok) {
    kx::gtconstants_clear(gc);
    return 0;
  }
  int total = 0;
  for (const SubGrid &g : subs) total += 2 * g.count;
  return total;
}

KX_API void kx_ntv2_setpath(const char *dataset, const char *subdir, char *path) {
  if (dataset == nullptr || subdir == nullptr || path == nullptr) return;
  std::string name = dataset_file_part(dataset);
  std::size_t sep = name.find('/');
  if (sep == std::string::npos) sep = name.find('\\');
  if (sep != std::string::npos) {
    char joined[KX_GRID_PATH_SIZE];
    const std::string head = name.substr(0, sep);
    const std::string tail = name.substr(sep + 1);
    if (head.size() + tail.size() + 2 >= sizeof joined) return;
    std::strcpy(joined, head.c_str());
    kx_pathcat(joined, tail.c_str());
    name = joined;
  }
  if (!has_extension(name)) name += ".gsb";
  data_home_path(subdir, name.c_str(), path);
}

KX_API int kx_ntv2_file_exists(const char *path) {
  struct stat st;
  return path != nullptr && stat(path, &st) == 0 ? 1 : 0;
}

KX_API int kx_ntv2_constants(kx_gtconstants gc, const char *dataset) {
  if (kx_gtconstants_p(gc) == 0) return 0;
  char path[KX_GRID_PATH_SIZE];
  if (!resolve(dataset, path)) return 0;
  return kx_ntv2_constants_get(gc, path);
}

KX_API int kx_ntv2_const_fwd(const int *ivals, const float *fvals, const double *dvals, int n,
                             double *coords) {
  return loaded_shift(ivals, fvals, dvals, n, coords, true);
}

KX_API int kx_ntv2_const_inv(const int *ivals, const float *fvals, const double *dvals, int n,
                             double *coords) {
  return loaded_shift(ivals, fvals, dvals, n, coords, false);
}

KX_API int kx_ntv2_file_fwd(const char *path, int n, double *coords) {
  return shift_file(path, n, coords, true);
}

KX_API int kx_ntv2_file_inv(const char *path, int n, double *coords) {
  return shift_file(path, n, coords, false);
}

KX_API int kx_ntv2_fwd(const double *, const double *, const double *, const char *dataset, int n,
                       double *coords, double *, const int *ivals, const float *fvals,
                       const double *dvals) {
  return method(dataset, n, coords, ivals, fvals, dvals, true);
}

KX_API int kx_ntv2_inv(const double *, const double *, const double *, const char *dataset, int n,
                       double *coords, double *, const int *ivals, const float *fvals,
                       const double *dvals) {
  return method(dataset, n, coords, ivals, fvals, dvals, false);
}

}  // extern "C"
