// A fresh folder under $TMPDIR (or /tmp) for one test, removed with all it
// holds when the object goes. Given a variable name, that variable names the
// folder while it lives (the library's data and user-definition homes).
#ifndef KX_TESTS_SUPPORT_SCRATCH_H
#define KX_TESTS_SUPPORT_SCRATCH_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kxtest {

class ScratchDir {
 public:
  explicit ScratchDir(const char *variable = nullptr) : variable_(variable) {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kx_XXXXXX";
    dir_ = mkdtemp(pattern.data()) != nullptr ? pattern : "/nonexistent";
    if (variable_ != nullptr) setenv(variable_, dir_.c_str(), 1);
  }
  ~ScratchDir() {
    if (variable_ != nullptr) unsetenv(variable_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchDir(const ScratchDir &) = delete;
  ScratchDir &operator=(const ScratchDir &) = delete;

  const std::string &dir() const { return dir_; }
  std::string path(const std::string &relative) const { return dir_ + "/" + relative; }
  // Writes the bytes to a file below the folder, making its folders.
  std::string write(const std::string &relative, const std::string &bytes) const {
    const std::string p = path(relative);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(p).parent_path(), ignored);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

 private:
  const char *variable_;
  std::string dir_;
};

}  // namespace kxtest

#endif
