// Projected CS family: NAD 1983 state-plane zones in US or international feet.
#include "catalogue/projcs_families.h"

extern "C" {

KX_API kx_projcs kx_factory_projcs_spcs83_feet(int code) {
  return kx::catalogue::build_family_member(kx::catalogue::kProjcsFamily_spcs83_feet, code);
}

}  // extern "C"
