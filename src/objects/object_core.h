// The header every object record starts with, and the validity test.
#ifndef KX_OBJECTS_OBJECT_CORE_H
#define KX_OBJECTS_OBJECT_CORE_H

#include <cstdint>

#include "kx.h"

namespace kx {

constexpr int kNameSize = 64;  // 63 characters and the terminator

struct ObjectHeader {
  uint32_t kind;
  uint8_t status;
  char name[kNameSize];
};

enum Status : uint8_t {
  kStatusConstructed = 1,
  kStatusFromText = 2,
  kStatusFromCatalogue = 4,
  kStatusFromUserFile = 8,
  kStatusFromDeprecated = 16,
};

// A handle is an object of kind K when its identifier is K or K + 1.
inline bool is_kind(const void *handle, uint32_t kind) {
  return handle != nullptr && ((*static_cast<const uint32_t *>(handle) ^ kind) & ~1u) == 0;
}

}  // namespace kx

#endif
