// Portable mutex with optional recursion and try-lock, and the two
// process-wide mutexes that guard the environment and working directory.
#include <pthread.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "kx.h"

struct SES_Mutex_rec {
  unsigned flags;
  pthread_mutex_t mutex;
  pthread_t owner;
  unsigned holds;
  pthread_cond_t cond;
  unsigned taken_by_try;
};

extern "C" {
KX_API SES_Mutex Env_Mutex = nullptr;
KX_API SES_Mutex ChDir_Mutex = nullptr;
}

namespace {

int init_code(int err) { return err == ENOMEM ? SES_ERR_NOMEM : SES_ERR_INIT; }

bool recursive(const SES_Mutex_rec *m) { return (m->flags & SES_MUTEX_RECURSIVE) != 0; }
bool inert(const SES_Mutex_rec *m) { return (m->flags & SES_MUTEX_INERT) != 0; }
bool held_by_other(const SES_Mutex_rec *m) {
  return m->holds != 0 && !pthread_equal(m->owner, pthread_self());
}

// A fork copies only the forking thread. Whatever another thread held at that
// instant (a recursive mutex's inner system mutex, a wait on its condition)
// would stay held in the child with no thread to release it. So the prepare
// handler takes the recursive locks and then their inner mutexes, which leaves
// no other thread inside either record; the child then rebuilds the system
// objects it cannot safely inherit and keeps only its own hold state.
void lock_for_fork(SES_Mutex m) {
  SES_Mutex_Lock(m);
  pthread_mutex_lock(&m->mutex);
}
void unlock_in_parent(SES_Mutex m) {
  pthread_mutex_unlock(&m->mutex);
  SES_Mutex_UnLock(m);
}
void reset_in_child(SES_Mutex m) {
  // Waiters on the condition existed only in the parent; destroying or
  // signalling a condition with phantom waiters can block, so it is rebuilt.
  pthread_mutex_init(&m->mutex, nullptr);
  pthread_cond_init(&m->cond, nullptr);
  // The prepare handler's hold goes; a hold the forking thread had before stays.
  --m->holds;
  if (m->holds == 0) m->taken_by_try = 0;
}

void before_fork() {
  lock_for_fork(Env_Mutex);
  lock_for_fork(ChDir_Mutex);
}
void after_fork_parent() {
  unlock_in_parent(ChDir_Mutex);
  unlock_in_parent(Env_Mutex);
}
void after_fork_child() {
  reset_in_child(Env_Mutex);
  reset_in_child(ChDir_Mutex);
}

void create_process_mutexes() {
  int rc = SES_Mutex_Create(SES_MUTEX_RECURSIVE, nullptr, &Env_Mutex);
  if (rc != 0) {
    std::fprintf(stderr, "Unable to create getenv/putenv mutex, error = %d\n", rc);
    std::exit(1);
  }
  rc = SES_Mutex_Create(SES_MUTEX_RECURSIVE, nullptr, &ChDir_Mutex);
  if (rc != 0) {
    std::fprintf(stderr, "Unable to create getcwd/chdir mutex, error = %d\n", rc);
    std::exit(1);
  }
  pthread_atfork(before_fork, after_fork_parent, after_fork_child);
}

}  // namespace

namespace kx {
void ensure_process_mutexes() {
  static pthread_once_t once = PTHREAD_ONCE_INIT;
  pthread_once(&once, create_process_mutexes);
}
}  // namespace kx

extern "C" {

KX_API int SES_Mutex_Create(unsigned flags, void *reserved, SES_Mutex *out) {
  (void)reserved;
  if (!out) return SES_ERR_NULL;
  *out = nullptr;
  auto *m = static_cast<SES_Mutex_rec *>(kx_allocate(static_cast<int>(sizeof(SES_Mutex_rec))));
  if (!m) return SES_ERR_NOMEM;
  m->flags = flags;
  int err = pthread_mutex_init(&m->mutex, nullptr);
  if (err != 0) {
    kx_deallocate(m);
    return init_code(err);
  }
  if (recursive(m)) {
    err = pthread_cond_init(&m->cond, nullptr);
    if (err != 0) {
      pthread_mutex_destroy(&m->mutex);
      kx_deallocate(m);
      return init_code(err);
    }
  }
  *out = m;
  return SES_OK;
}

KX_API int SES_Mutex_Destroy(SES_Mutex m) {
  if (!m) return SES_ERR_NULL;
  pthread_mutex_destroy(&m->mutex);
  if (recursive(m)) pthread_cond_destroy(&m->cond);
  kx_deallocate(m);
  return SES_OK;
}

KX_API int SES_Mutex_Lock(SES_Mutex m) {
  if (!m) return SES_ERR_NULL;
  if (inert(m)) return SES_OK;
  pthread_mutex_lock(&m->mutex);
  if (!recursive(m)) return SES_OK;
  while (held_by_other(m)) pthread_cond_wait(&m->cond, &m->mutex);
  m->owner = pthread_self();
  ++m->holds;
  m->taken_by_try = 0;
  pthread_mutex_unlock(&m->mutex);
  return SES_OK;
}

KX_API int SES_Mutex_TryLock(SES_Mutex m) {
  if (!m) return SES_ERR_NULL;
  if (!(m->flags & SES_MUTEX_TRYLOCK)) return SES_ERR_NOTRY;
  if (inert(m)) return SES_OK;
  if (!recursive(m)) return pthread_mutex_trylock(&m->mutex) == 0 ? SES_OK : SES_BUSY;
  pthread_mutex_lock(&m->mutex);
  if (held_by_other(m)) {
    pthread_mutex_unlock(&m->mutex);
    return SES_BUSY;
  }
  m->owner = pthread_self();
  ++m->holds;
  m->taken_by_try = 1;
  pthread_mutex_unlock(&m->mutex);
  return SES_OK;
}

KX_API int SES_Mutex_UnLock(SES_Mutex m) {
  if (!m) return SES_ERR_NULL;
  if (inert(m)) return SES_OK;
  if (!recursive(m)) {
    pthread_mutex_unlock(&m->mutex);
    return SES_OK;
  }
  pthread_mutex_lock(&m->mutex);
  // An unlock without a hold would wrap the count and wedge every waiter.
  if (m->holds > 0 && --m->holds == 0) pthread_cond_signal(&m->cond);
  pthread_mutex_unlock(&m->mutex);
  return SES_OK;
}

}  // extern "C"
