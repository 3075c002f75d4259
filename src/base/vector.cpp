// Fixed-length array of fixed-size elements copied by value.
#include <climits>
#include <cstring>

#include "base/vector_rec.h"
#include "kx.h"

extern "C" {

KX_API kx_vector kx_create_vector(int length, int elemsize) {
  if (length < 1 || elemsize < 1) return nullptr;
  // A product beyond the allocator's size argument would give a short block.
  if (length > INT_MAX / elemsize) return nullptr;
  auto *v = static_cast<kx_vector_rec *>(kx_allocate(static_cast<int>(sizeof(kx_vector_rec))));
  if (!v) return nullptr;
  v->data = static_cast<unsigned char *>(kx_allocate(length * elemsize));
  if (!v->data) {
    kx_deallocate(v);
    return nullptr;
  }
  v->length = length;
  v->elemsize = elemsize;
  return v;
}

KX_API void kx_destroy_vector(kx_vector v) {
  if (!v) return;
  kx_deallocate(v->data);
  kx_deallocate(v);
}

KX_API int kx_vector_length(kx_vector v) { return v ? v->length : 0; }
KX_API int kx_vector_elemsize(kx_vector v) { return v ? v->elemsize : 0; }

KX_API int kx_vector_set(kx_vector v, int index, const void *element) {
  if (!v || !element || index < 0 || index >= v->length) return 0;
  std::memcpy(v->data + static_cast<size_t>(index) * static_cast<size_t>(v->elemsize), element,
              static_cast<size_t>(v->elemsize));
  return 1;
}

KX_API int kx_vector_get(kx_vector v, int index, void *destination) {
  if (!v || !destination || index < 0 || index >= v->length) return 0;
  std::memcpy(destination, v->data + static_cast<size_t>(index) * static_cast<size_t>(v->elemsize),
              static_cast<size_t>(v->elemsize));
  return 1;
}

}  // extern "C"
