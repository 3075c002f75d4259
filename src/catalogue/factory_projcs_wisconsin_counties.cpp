// Projected CS family: Wisconsin county systems (the generated family is empty until data/ has such rows).
#include "catalogue/projcs_families.h"

extern "C" {

KX_API kx_projcs kx_factory_projcs_wisconsin_counties(int code) {
  return kx::catalogue::build_family_member(kx::catalogue::kProjcsFamily_wisconsin_counties, code);
}

}  // extern "C"
