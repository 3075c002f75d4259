// Projected CS family: NAD 1983 state-plane zones in metres.
#include "catalogue/projcs_families.h"

extern "C" {

KX_API kx_projcs kx_factory_projcs_spcs83(int code) {
  return kx::catalogue::build_family_member(kx::catalogue::kProjcsFamily_spcs83, code);
}

}  // extern "C"
