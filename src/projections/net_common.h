// What the unfolded-solid projections (cube and Fuller) share: the layout
// option read from the Option slot.
#ifndef KX_PROJECTIONS_NET_COMMON_H
#define KX_PROJECTIONS_NET_COMMON_H

#include <cmath>

namespace kx {

constexpr int kSlotOption = 15;

// The integer part of Option + 0.001 (an option stored as 5.9999999 is 6).
// NaN reads as -1 and values beyond +-1e6 as +-1e6, both outside every
// layout, so that no conversion to int overflows.
inline int layout_option(const double *par) {
  const double v = par[kSlotOption] + 0.001;
  if (!(v == v)) return -1;
  return static_cast<int>(std::trunc(v > 1e6 ? 1e6 : (v < -1e6 ? -1e6 : v)));
}

}  // namespace kx

#endif  // KX_PROJECTIONS_NET_COMMON_H
