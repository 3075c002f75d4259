// Environment and working-directory wrappers serialized by the process mutexes.
#include <unistd.h>

#include <cstdlib>

#include "kx.h"

namespace kx {
void ensure_process_mutexes();
}

namespace {
// Buffer size SES_getcwd callers provide.
constexpr size_t kCwdBuffer = 512;

// The wrapper result, unless locking or unlocking failed, whose code wins.
template <typename F>
int locked(SES_Mutex m, F body) {
  int rc = SES_Mutex_Lock(m);
  if (rc != SES_OK) return rc;
  int result = body();
  rc = SES_Mutex_UnLock(m);
  return rc != SES_OK ? rc : result;
}
}  // namespace

extern "C" {

KX_API char *SES_getenv(const char *name) {
  kx::ensure_process_mutexes();
  if (!name) return nullptr;
  char *value = nullptr;
  int rc = locked(Env_Mutex, [&] {
    value = std::getenv(name);
    return SES_OK;
  });
  return rc == SES_OK ? value : nullptr;
}

KX_API int SES_putenv(char *text) {
  kx::ensure_process_mutexes();
  if (!text) return -1;
  return locked(Env_Mutex, [&] { return putenv(text); });
}

KX_API int SES_chdir(const char *path) {
  kx::ensure_process_mutexes();
  return locked(ChDir_Mutex, [&] { return path && chdir(path) == 0 ? SES_OK : SES_ERR_CHDIR; });
}

KX_API char *SES_getcwd(char *buffer) {
  kx::ensure_process_mutexes();
  if (!buffer) return nullptr;
  char *result = nullptr;
  int rc = locked(ChDir_Mutex, [&] {
    result = getcwd(buffer, kCwdBuffer);
    return SES_OK;
  });
  return rc == SES_OK ? result : nullptr;
}

}  // extern "C"
