// Data homes, the SES mutexes and the environment wrappers, with real threads and fork.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <future>
#include <thread>

#include "kx.h"

namespace {

using namespace std::chrono_literals;

const char *fixed_home() { return "/from/function"; }

// Null handles give -65, trylock -66 without its flag and 101 when busy; an
// inert mutex never blocks.
TEST(SesMutex, ResultCodes) {
  SES_Mutex m = nullptr;
  EXPECT_EQ(SES_Mutex_Create(0, nullptr, nullptr), SES_ERR_NULL);
  for (auto op : {SES_Mutex_Lock, SES_Mutex_UnLock, SES_Mutex_TryLock, SES_Mutex_Destroy})
    EXPECT_EQ(op(nullptr), -65);
  for (int flags : {0, SES_MUTEX_INERT | SES_MUTEX_TRYLOCK, int{SES_MUTEX_TRYLOCK}}) {
    ASSERT_EQ(SES_Mutex_Create(flags, nullptr, &m), 0);
    EXPECT_EQ(SES_Mutex_TryLock(m), flags == 0 ? -66 : 0);
    if (flags & SES_MUTEX_INERT) {
      EXPECT_TRUE(SES_Mutex_Lock(m) == 0 && SES_Mutex_Lock(m) == 0);
    }
    if (flags == SES_MUTEX_TRYLOCK) {
      EXPECT_EQ(std::async(std::launch::async, [m] { return SES_Mutex_TryLock(m); }).get(), 101);
    }
    if (flags == 0) {
      EXPECT_EQ(SES_Mutex_Lock(m), 0);
    }
    EXPECT_EQ(SES_Mutex_UnLock(m), 0);
    EXPECT_EQ(SES_Mutex_Destroy(m), 0);
  }
}

// The other thread may only get the mutex after the owner's last unlock; the
// sleeps only give it the chance to be wrong, so they bound the test's length.
TEST(SesMutex, RecursiveNeedsAsManyUnlocks) {
  SES_Mutex m = nullptr;
  ASSERT_EQ(SES_Mutex_Create(SES_MUTEX_RECURSIVE | SES_MUTEX_TRYLOCK, nullptr, &m), 0);
  ASSERT_TRUE(SES_Mutex_Lock(m) == 0 && SES_Mutex_Lock(m) == 0);
  EXPECT_EQ(SES_Mutex_TryLock(m), 0);  // the owner may take it again
  std::atomic<bool> tried{false}, acquired{false};
  std::thread t([&] {
    EXPECT_EQ(SES_Mutex_TryLock(m), 101);
    tried = true;
    acquired = SES_Mutex_Lock(m) == 0 && SES_Mutex_UnLock(m) == 0;
  });
  while (!tried) std::this_thread::yield();
  for (int held = 3; held > 0; --held) {
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(acquired) << "still held " << held << " times";
    SES_Mutex_UnLock(m);
  }
  t.join();
  EXPECT_TRUE(acquired);
  EXPECT_EQ(SES_Mutex_Destroy(m), 0);
}

// A home comes from the caller's function, else the environment, else none.
TEST(SesWrappers, DataHomesEnvironmentAndDirectory) {
  auto set = [](kx_home_func f) { kx_datahome_setfunc(f), kx_objedithome_setfunc(f); };
  set(nullptr);
  for (const char *name : {"KXDATAHOME", "KXOBJEDITHOME"}) unsetenv(name);
  EXPECT_TRUE(kx_get_datahome() == nullptr && kx_get_objedithome() == nullptr);
  setenv("KXDATAHOME", "/from/env", 1);
  EXPECT_STREQ(kx_get_datahome(), "/from/env");
  set(fixed_home);
  EXPECT_STREQ(kx_get_datahome(), "/from/function");
  EXPECT_STREQ(kx_get_objedithome(), "/from/function");
  set(nullptr);
  EXPECT_STREQ(kx_get_datahome(), "/from/env");
  unsetenv("KXDATAHOME");
  static char entry[] = "KX_SES_TEST=value";
  EXPECT_EQ(SES_putenv(entry), 0);
  EXPECT_STREQ(SES_getenv("KX_SES_TEST"), "value");
  EXPECT_EQ(SES_getenv("KX_SES_SURELY_UNSET"), nullptr);
  EXPECT_TRUE(Env_Mutex != nullptr && ChDir_Mutex != nullptr);
  char start[512], now[512];
  ASSERT_NE(SES_getcwd(start), nullptr);
  EXPECT_EQ(SES_chdir("/nonexistent/kx/dir"), -269);
  // The failed change released the mutex: another thread gets the directory at once.
  auto f = std::async(std::launch::async,
                      [] { return SES_getcwd(std::make_unique<char[]>(512).get()) != nullptr; });
  ASSERT_EQ(f.wait_for(5s), std::future_status::ready);
  EXPECT_TRUE(f.get());
  EXPECT_EQ(SES_chdir("/"), 0);
  EXPECT_STREQ(SES_getcwd(now), "/");
  EXPECT_EQ(SES_chdir(start), 0);
}

// Threads keep entering the wrappers while the main thread forks; each child
// must be able to use them and exit. A child not done within the bound is
// killed and counted as hung, so the test cannot hang itself. Under qemu-user
// fork in a threaded process fails on its own (the emulator's locks are
// copied mid-use), so only the native builds run it.
TEST(SesWrappers, ChildrenForkedUnderLoadUseTheWrappers) {
#ifdef KX_EMULATED
  GTEST_SKIP() << "fork in a threaded process is unreliable under the user-mode emulator";
#endif
  constexpr int kForks = 1000;
  constexpr auto kChildBound = 10s;
  ASSERT_NE(SES_getenv("PATH"), nullptr);  // the mutexes exist before the first fork
  std::atomic<bool> stop{false};
  std::vector<std::thread> busy;
  for (int t = 0; t < 3; ++t)
    busy.emplace_back([&stop, t] {
      for (char buf[512]; !stop;) t % 2 ? (void)SES_getcwd(buf) : (void)SES_getenv("PATH");
    });
  int hung = 0, failed = 0;
  for (int i = 0; i < kForks && hung == 0; ++i) {
    const pid_t pid = fork();
    if (pid == 0) {
      static char e[] = "KX_CHILD=1";
      char buf[512];
      _exit(SES_putenv(e) == 0 && SES_getenv("KX_CHILD") != nullptr && SES_getcwd(buf) != nullptr
                ? 0
                : 1);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + kChildBound;
    pid_t done = pid < 0 ? -1 : 0;  // a failed fork counts as a failed child
    while (done == 0 && (done = waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(100us);
    if (done == 0) kill(pid, SIGKILL), waitpid(pid, &status, 0);
    hung += done == 0;
    failed += done != 0 && (done < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0);
  }
  stop = true;
  for (auto &t : busy) t.join();
  EXPECT_EQ(hung, 0);
  EXPECT_EQ(failed, 0);
}

}  // namespace
