// Double-ended sequence of fixed-size elements in a ring buffer that doubles when full.
#include <climits>
#include <cstring>

#include "base/vector_rec.h"
#include "kx.h"

struct kx_seq_rec {
  int count;
  int head;
  kx_vector ring;
};

namespace {

unsigned char *slot(const kx_seq_rec *s, int i) {
  const int at = static_cast<int>((static_cast<long long>(s->head) + i) % s->ring->length);
  return s->ring->data + static_cast<size_t>(at) * static_cast<size_t>(s->ring->elemsize);
}

// Doubles the ring, moving the elements to slots 0..count-1; false leaves it as it was.
bool grow(kx_seq_rec *s) {
  if (s->ring->length > INT_MAX / 2) return false;
  kx_vector bigger = kx_create_vector(s->ring->length * 2, s->ring->elemsize);
  if (!bigger) return false;
  const size_t size = static_cast<size_t>(s->ring->elemsize);
  for (int i = 0; i < s->count; ++i) std::memcpy(bigger->data + static_cast<size_t>(i) * size, slot(s, i), size);
  kx_destroy_vector(s->ring);
  s->ring = bigger;
  s->head = 0;
  return true;
}

}  // namespace

extern "C" {

KX_API kx_seq kx_create_seq(int capacity, int elemsize) {
  if (capacity < 1 || elemsize < 1) return nullptr;
  auto *s = static_cast<kx_seq_rec *>(kx_allocate(static_cast<int>(sizeof(kx_seq_rec))));
  if (!s) return nullptr;
  s->ring = kx_create_vector(capacity, elemsize);
  if (!s->ring) {
    kx_deallocate(s);
    return nullptr;
  }
  return s;
}

KX_API void kx_destroy_seq(kx_seq s) {
  if (!s) return;
  kx_destroy_vector(s->ring);
  kx_deallocate(s);
}

KX_API int kx_seq_length(kx_seq s) { return s ? s->count : 0; }
KX_API int kx_seq_elemsize(kx_seq s) { return s ? s->ring->elemsize : 0; }

KX_API int kx_seq_set(kx_seq s, int position, const void *element) {
  if (!s || !element || position < 0 || position >= s->count) return 0;
  std::memcpy(slot(s, position), element, static_cast<size_t>(s->ring->elemsize));
  return 1;
}

KX_API int kx_seq_get(kx_seq s, int position, void *destination) {
  if (!s || !destination || position < 0 || position >= s->count) return 0;
  std::memcpy(destination, slot(s, position), static_cast<size_t>(s->ring->elemsize));
  return 1;
}

KX_API int kx_seq_apptail(kx_seq s, const void *element) {
  if (!s || !element) return 0;
  if (s->count == s->ring->length && !grow(s)) return 0;
  std::memcpy(slot(s, s->count), element, static_cast<size_t>(s->ring->elemsize));
  ++s->count;
  return 1;
}

KX_API int kx_seq_apphead(kx_seq s, const void *element) {
  if (!s || !element) return 0;
  if (s->count == s->ring->length && !grow(s)) return 0;
  s->head = s->head == 0 ? s->ring->length - 1 : s->head - 1;
  std::memcpy(slot(s, 0), element, static_cast<size_t>(s->ring->elemsize));
  ++s->count;
  return 1;
}

KX_API int kx_seq_remtail(kx_seq s, void *destination) {
  if (!s || !destination || s->count == 0) return 0;
  std::memcpy(destination, slot(s, s->count - 1), static_cast<size_t>(s->ring->elemsize));
  --s->count;
  return 1;
}

KX_API int kx_seq_remhead(kx_seq s, void *destination) {
  if (!s || !destination || s->count == 0) return 0;
  std::memcpy(destination, slot(s, 0), static_cast<size_t>(s->ring->elemsize));
  --s->count;
  s->head = s->head + 1 == s->ring->length ? 0 : s->head + 1;
  return 1;
}

}  // extern "C"
