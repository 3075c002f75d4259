// Small owners for the handles the keyword-file reader assembles, so that
// every failure path deletes what was made so far.
#ifndef KX_PRJFILE_PRJFILE_OBJECTS_H
#define KX_PRJFILE_PRJFILE_OBJECTS_H

#include "kx.h"

namespace kx::prjfile {

template <typename T, void (*Del)(T)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T p) : p_(p) {}
  ~Owned() {
    if (p_ != nullptr) Del(p_);
  }
  Owned(const Owned &) = delete;
  Owned &operator=(const Owned &) = delete;
  void reset(T p) {
    if (p_ != nullptr) Del(p_);
    p_ = p;
  }
  T get() const { return p_; }
  T release() {
    T p = p_;
    p_ = nullptr;
    return p;
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T p_ = nullptr;
};

using Unit = Owned<kx_unit, kx_unit_del>;
using Spheroid = Owned<kx_spheroid, kx_spheroid_del>;
using Datum = Owned<kx_datum, kx_datum_del>;
using Geogcs = Owned<kx_geogcs, kx_geogcs_del>;
using Projection = Owned<kx_projection, kx_projection_del>;
using Projcs = Owned<kx_projcs, kx_projcs_del>;

// The 16 parameter slots of a projected CS under construction.
class Slots {
 public:
  Slots() = default;
  ~Slots() { clear(); }
  Slots(const Slots &) = delete;
  Slots &operator=(const Slots &) = delete;
  kx_parameter *data() { return p_; }
  const kx_parameter *data() const { return p_; }
  void clear() {
    for (kx_parameter &p : p_) {
      kx_parameter_del(p);
      p = nullptr;
    }
  }
  // Hands the parameters over (to kx_projcs_new).
  void released() {
    for (kx_parameter &p : p_) p = nullptr;
  }

 private:
  kx_parameter p_[16] = {};
};

}  // namespace kx::prjfile

#endif
