// Projected CS family: NAD 1927 state-plane zones.
#include "catalogue/projcs_families.h"

extern "C" {

KX_API kx_projcs kx_factory_projcs_spcs27(int code) {
  return kx::catalogue::build_family_member(kx::catalogue::kProjcsFamily_spcs27, code);
}

}  // extern "C"
