// Feeds arbitrary bytes to the NADCON/HARN readers, as both files of a
// .los/.las pair: the header reader, the loader, and shifts of a few points
// inside the announced extent both ways, from the files and loaded. A
// refused pair leaves the record empty; the two forms agree bit for bit.
#include <cstdio>
#include <cstring>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const ScratchFolder folder({"g.los", "g.las"});
  folder.write(data, size);
  const std::string los = folder.path("g.los"), las = folder.path("g.las");
  std::FILE *fp = std::fopen(los.c_str(), "rb");
  check(fp != nullptr);
  int nc = 0, nr = 0, record = 0, swapped = 0;
  float xmin = 0, dx = 0, ymin = 0, dy = 0, four[4];
  const int header = kx_read_harn_header(fp, &nc, &nr, &xmin, &dx, &ymin, &dy, &record, &swapped);
  if (header == 1) kx_read_harn_shifts(fp, nc / 2, nr / 2, record, swapped, four);
  std::fclose(fp);

  kx_gtconstants gc = kx_gtconstants_new();
  const int floats = kx_nadcon_harn_constants(gc, los.c_str(), las.c_str());
  const Grid g = grid_arrays(gc, floats);
  if (floats > 0) {
    check(header == 1 && g.iv[0] == nr && g.iv[1] == nc && floats == 2 * nr * nc);
    const double *dv = g.dv;  // the extent in degrees: west, south, east, north
    double pts[8] = {dv[0] * 0.75 + dv[2] * 0.25,
                     dv[1] * 0.75 + dv[3] * 0.25,
                     (dv[0] + dv[2]) / 2,
                     (dv[1] + dv[3]) / 2,
                     dv[0],
                     dv[1],
                     dv[2] * 0.999 + dv[0] * 0.001,
                     dv[3] * 0.999 + dv[1] * 0.001};
    for (double &p : pts) p *= kDegree;
    for (bool forward : {true, false}) {
      double a[8], b[8];
      std::memcpy(b, std::memcpy(a, pts, sizeof pts), sizeof pts);
      const int na = forward ? kx_nadcon_harn_const_fwd(g.iv, g.fv, dv, 4, a)
                             : kx_nadcon_harn_const_inv(g.iv, g.fv, dv, 4, a);
      const int nb = forward ? kx_nadcon_harn_fwd(los.c_str(), las.c_str(), 4, b)
                             : kx_nadcon_harn_inv(los.c_str(), las.c_str(), 4, b);
      // The file form serves at most 1024 columns.
      check(na >= 0 && na <= 4 && (nc > 1024 || (na == nb && std::memcmp(a, b, sizeof a) == 0)));
    }
  }
  kx_gtconstants_del(gc);
  return 0;
}
