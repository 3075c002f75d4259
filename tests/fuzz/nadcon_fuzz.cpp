// Feeds arbitrary bytes to the NADCON/HARN readers, as both files of a
// .los/.las pair: the header reader, the loader, and shifts of a few points
// inside the announced extent both ways, from the files and loaded. A
// refused pair leaves the record empty; the two forms agree bit for bit.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "grid_file.h"
#include "kx.h"

using fuzzgrid::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const fuzzgrid::Folder folder({"g.los", "g.las"});
  folder.write(data, size);
  const std::string los = folder.path("g.los"), las = folder.path("g.las");
  std::FILE *fp = std::fopen(los.c_str(), "rb");
  check(fp != nullptr);
  int nc = 0, nr = 0, record = 0, swapped = 0;
  float xmin = 0, dx = 0, ymin = 0, dy = 0;
  const int header = kx_read_harn_header(fp, &nc, &nr, &xmin, &dx, &ymin, &dy, &record, &swapped);
  float four[4];
  if (header == 1) kx_read_harn_shifts(fp, nc / 2, nr / 2, record, swapped, four);
  std::fclose(fp);

  kx_gtconstants gc = kx_gtconstants_new();
  const int floats = kx_nadcon_harn_constants(gc, los.c_str(), las.c_str());
  const int *iv = kx_gtconstants_ivals(gc);
  const float *fv = kx_gtconstants_fvals(gc);
  const double *dv = kx_gtconstants_dvals(gc);
  check(floats > 0 || (iv == nullptr && fv == nullptr && dv == nullptr));
  if (floats > 0) {
    check(header == 1 && iv[0] == nr && iv[1] == nc && floats == 2 * nr * nc);
    double pts[8] = {
        (dv[0] * 0.75 + dv[2] * 0.25), (dv[1] * 0.75 + dv[3] * 0.25), (dv[0] + dv[2]) / 2,
        (dv[1] + dv[3]) / 2, dv[0], dv[1], dv[2] * 0.999 + dv[0] * 0.001, dv[3] * 0.999 + dv[1] * 0.001};
    for (double &p : pts) p *= 0.017453292519943295;
    for (bool forward : {true, false}) {
      double a[8], b[8];
      std::memcpy(a, pts, sizeof pts);
      std::memcpy(b, pts, sizeof pts);
      const int na = forward ? kx_nadcon_harn_const_fwd(iv, fv, dv, 4, a)
                             : kx_nadcon_harn_const_inv(iv, fv, dv, 4, a);
      const int nb = forward ? kx_nadcon_harn_fwd(los.c_str(), las.c_str(), 4, b)
                             : kx_nadcon_harn_inv(los.c_str(), las.c_str(), 4, b);
      check(na >= 0 && na <= 4);
      // The file form serves at most 1024 columns.
      if (nc <= 1024) check(na == nb && std::memcmp(a, b, sizeof a) == 0);
    }
  }
  kx_gtconstants_del(gc);
  return 0;
}
