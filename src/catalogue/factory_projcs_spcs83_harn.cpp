// Projected CS family: NAD 1983 HARN state-plane zones, metres and feet.
#include "catalogue/projcs_families.h"

extern "C" {

KX_API kx_projcs kx_factory_projcs_spcs83_harn(int code) {
  return kx::catalogue::build_family_member(kx::catalogue::kProjcsFamily_spcs83_harn, code);
}

}  // extern "C"
