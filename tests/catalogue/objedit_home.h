// A scratch user definition home for the tests: a fresh temporary directory
// named by KXOBJEDITHOME while the object lives, removed afterwards.
#ifndef KX_TEST_OBJEDIT_HOME_H
#define KX_TEST_OBJEDIT_HOME_H

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "kx.h"

namespace cattest {

class ObjeditHome {
 public:
  ObjeditHome() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/kx_objedit_XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) != nullptr) dir_ = buffer.data();
    kx_objedithome_setfunc(nullptr);
    setenv("KXOBJEDITHOME", dir_.c_str(), 1);
  }
  ~ObjeditHome() {
    unsetenv("KXOBJEDITHOME");
    for (const std::string &f : files_) {
      if (std::remove(f.c_str()) != 0) rmdir(f.c_str());
    }
    rmdir(dir_.c_str());
  }
  ObjeditHome(const ObjeditHome &) = delete;
  ObjeditHome &operator=(const ObjeditHome &) = delete;

  const std::string &dir() const { return dir_; }
  std::string path(const std::string &file) const { return dir_ + "/" + file; }

  // Replaces the file's content with exactly these bytes.
  void write(const std::string &file, const std::string &content) {
    const std::string p = path(file);
    std::FILE *f = std::fopen(p.c_str(), "wb");
    if (f != nullptr) {
      std::fwrite(content.data(), 1, content.size(), f);
      std::fclose(f);
    }
    note(p);
  }
  void make_dir(const std::string &file) {
    const std::string p = path(file);
    mkdir(p.c_str(), 0700);
    note(p);
  }
  void make_fifo(const std::string &file) {
    const std::string p = path(file);
    mkfifo(p.c_str(), 0600);
    note(p);
  }
  void remove(const std::string &file) {
    const std::string p = path(file);
    if (std::remove(p.c_str()) != 0) rmdir(p.c_str());
  }

 private:
  void note(const std::string &p) {
    for (const std::string &f : files_) {
      if (f == p) return;
    }
    files_.push_back(p);
  }
  std::string dir_;
  std::vector<std::string> files_;
};

}  // namespace cattest

#endif
