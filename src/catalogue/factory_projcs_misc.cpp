// Projected CS family: everything the other families do not serve.
#include "catalogue/projcs_families.h"

extern "C" {

KX_API kx_projcs kx_factory_projcs_misc(int code) {
  return kx::catalogue::build_family_member(kx::catalogue::kProjcsFamily_misc, code);
}

}  // extern "C"
