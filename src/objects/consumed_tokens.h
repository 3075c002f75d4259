// Which tokens an order-independent reader has already taken, so that the
// next component search can skip them.
#ifndef KX_OBJECTS_CONSUMED_TOKENS_H
#define KX_OBJECTS_CONSUMED_TOKENS_H

#include <algorithm>
#include <memory>
#include <new>

namespace kx {

class ConsumedTokens {
 public:
  // Flags for the tokens start..count-1; ok() is false when memory ran out.
  ConsumedTokens(int start, int count)
      : start_(start),
        size_(count > start ? count - start : 0),
        used_(new (std::nothrow) char[static_cast<std::size_t>(size_) + 1]()) {}
  bool ok() const { return used_ != nullptr; }
  void mark(int first, int last) {
    if (!ok()) return;
    for (int i = std::max(first, start_); i <= last && i - start_ < size_; ++i) used_[i - start_] = 1;
  }
  // The first unconsumed index at or after p (may be one past the end).
  int next_free(int p) const {
    while (ok() && p >= start_ && p - start_ < size_ && used_[p - start_] != 0) ++p;
    return p;
  }

 private:
  int start_;
  int size_;
  std::unique_ptr<char[]> used_;
};

}  // namespace kx

#endif
