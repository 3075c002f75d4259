// The two directory settings: grid files (data home) and user definition files.
#include <cstdlib>

#include "kx.h"

namespace {
kx_home_func g_datahome = nullptr;
kx_home_func g_objedithome = nullptr;

const char *home(kx_home_func f, const char *variable) { return f ? f() : std::getenv(variable); }
}  // namespace

extern "C" {

KX_API void kx_datahome_setfunc(kx_home_func f) { g_datahome = f; }
KX_API void kx_objedithome_setfunc(kx_home_func f) { g_objedithome = f; }
KX_API const char *kx_get_datahome(void) { return home(g_datahome, "KXDATAHOME"); }
KX_API const char *kx_get_objedithome(void) { return home(g_objedithome, "KXOBJEDITHOME"); }

}  // extern "C"
