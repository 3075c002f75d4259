// Version string and build identification line.
#include "kx.h"

#include <cstdio>

namespace {
constexpr const char kVersion[] = "Ortelan Version 9.0 (Mar  3 2005)";
constexpr const char kBuildId[] = "@(#)Quorvex Solvane-91 Build";
}  // namespace

extern "C" {

KX_API const char *kx_version(void) { return kVersion; }

KX_API int quorvex_qfeid(void) { return std::puts(kBuildId); }

}  // extern "C"
