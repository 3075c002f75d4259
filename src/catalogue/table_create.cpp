// Listings: a sequence of (code, name) records to a sorted array.
#include <algorithm>

#include "kx.h"

namespace {

// Equal names are ordered by code so the order never depends on the sort.
bool before(const kx_predefined &a, const kx_predefined &b) {
  const int c = kx_strcmp_ci(a.name, b.name);
  return c != 0 ? c < 0 : a.code < b.code;
}

}  // namespace

extern "C" {

KX_API kx_predefined *kx_table_create(kx_seq seq, int *count) {
  if (count != nullptr) *count = 0;
  const int n = kx_seq_length(seq);
  kx_predefined *table = nullptr;
  if (count != nullptr && n > 0 &&
      kx_seq_elemsize(seq) == static_cast<int>(sizeof(kx_predefined)) &&
      n <= static_cast<int>(0x7fffffff / sizeof(kx_predefined))) {
    table = static_cast<kx_predefined *>(kx_allocate(n * static_cast<int>(sizeof(kx_predefined))));
  }
  if (table != nullptr) {
    for (int i = 0; i < n; ++i) kx_seq_get(seq, i, &table[i]);
    std::sort(table, table + n, before);
    *count = n;
  }
  kx_destroy_seq(seq);
  return table;
}

KX_API void kx_table_del(kx_predefined *table) { kx_deallocate(table); }

}  // extern "C"
