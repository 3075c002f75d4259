// The generic coordinate system: a geographic or a projected CS, told apart
// by the kind word.
#include <cstring>

#include "objects/object_core.h"

namespace {

kx_geogcs as_geogcs(kx_coordsys cs) {
  return kx::is_kind(cs, KX_KIND_GEOGCS) ? static_cast<kx_geogcs>(cs) : nullptr;
}

kx_projcs as_projcs(kx_coordsys cs) {
  return kx::is_kind(cs, KX_KIND_PROJCS) ? static_cast<kx_projcs>(cs) : nullptr;
}

}  // namespace

extern "C" {

KX_API int kx_coordsys_p(kx_coordsys cs) {
  return as_geogcs(cs) != nullptr || as_projcs(cs) != nullptr ? 1 : 0;
}

KX_API void kx_coordsys_del(kx_coordsys cs) {
  if (kx_geogcs g = as_geogcs(cs)) {
    kx_geogcs_del(g);
  } else if (kx_projcs p = as_projcs(cs)) {
    kx_projcs_del(p);
  }
}

KX_API kx_coordsys kx_coordsys_clone(kx_coordsys cs) {
  if (kx_geogcs g = as_geogcs(cs)) return kx_geogcs_clone(g);
  if (kx_projcs p = as_projcs(cs)) return kx_projcs_clone(p);
  return nullptr;
}

KX_API int kx_coordsys_eq(kx_coordsys a, kx_coordsys b) {
  if (as_geogcs(a) != nullptr && as_geogcs(b) != nullptr &&
      kx_geogcs_eq(as_geogcs(a), as_geogcs(b)) == 1) {
    return 1;
  }
  return as_projcs(a) != nullptr && as_projcs(b) != nullptr &&
                 kx_projcs_eq(as_projcs(a), as_projcs(b)) == 1
             ? 1
             : 0;
}

KX_API int kx_coordsys_to_string(kx_coordsys cs, char *buffer) {
  if (buffer == nullptr) return 0;
  buffer[0] = '\0';
  if (kx_geogcs g = as_geogcs(cs)) return kx_geogcs_to_string(g, buffer);
  // The projected CS writer returns the buffer, this one the length.
  if (kx_projcs p = as_projcs(cs)) {
    return static_cast<int>(std::strlen(kx_projcs_to_string(p, buffer)));
  }
  return 0;
}

KX_API kx_coordsys kx_coordsys_from_string(const char *text) {
  if (text == nullptr) return nullptr;
  if (kx_strstr_ci(text, "PROJCS") != nullptr) return kx_projcs_from_string(text);
  return kx_geogcs_from_string(text);
}

}  // extern "C"
