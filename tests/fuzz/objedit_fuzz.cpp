// Feeds arbitrary bytes to the user definition files of all seven kinds: the
// input becomes the file of every kind in a private definition home, and
// each code the reader finds there (at most four a kind) is built by that
// kind's user factory.
// Whatever builds comes from the user file (status 8) and writes as text.
#include "kx.h"

#include "catalogue/objedit_reader.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace cat = kx::catalogue;

const char *const kFiles[] = {"spheroid", "primem", "unit", "datum", "geogcs", "projcs", "geogtran"};

void check(bool ok) {
  if (!ok) std::abort();
}

// One home per process, removed at exit; its seven files are links of one.
class Home {
 public:
  Home() {
    char dir[] = "/tmp/kx_objedit_fuzz_XXXXXX";
    check(mkdtemp(dir) != nullptr);
    dir_ = dir;
    check(setenv("KXOBJEDITHOME", dir, 1) == 0);
    const int fd = open(path(kFiles[0]).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    check(fd >= 0);
    close(fd);
    for (const char *f : kFiles) {
      if (f != kFiles[0]) check(link(path(kFiles[0]).c_str(), path(f).c_str()) == 0);
    }
  }
  ~Home() {
    for (const char *f : kFiles) unlink(path(f).c_str());
    rmdir(dir_.c_str());
  }

  void write(const uint8_t *data, size_t size) const {
    const int fd = open(path(kFiles[0]).c_str(), O_WRONLY | O_TRUNC);
    check(fd >= 0);
    check(size == 0 || ::write(fd, data, size) == static_cast<ssize_t>(size));
    close(fd);
  }

 private:
  std::string path(const char *file) const { return dir_ + "/" + file; }
  std::string dir_;
};

char g_text[KX_TEXT_MAX_GEOGTRAN + 1];

template <class Handle, class Written>
void built(Handle object, uint8_t (*status)(Handle), Written (*write)(Handle, char *),
           void (*del)(Handle), int max_text) {
  if (object == nullptr) return;
  check(status(object) == 8);
  // The writers return the length or the buffer; either way not 0 on success.
  check(write(object, g_text) != Written{});
  const size_t n = std::string(g_text).size();
  check(n > 0 && n <= static_cast<size_t>(max_text));
  del(object);
}

void build(cat::UserKind kind, int code) {
  switch (kind) {
    case cat::UserKind::Spheroid:
      return built(cat::user_spheroid(code), kx_spheroid_status, kx_spheroid_to_string,
                   kx_spheroid_del, KX_TEXT_MAX_SPHEROID);
    case cat::UserKind::Primem:
      return built(cat::user_primem(code), kx_primem_status, kx_primem_to_string, kx_primem_del,
                   KX_TEXT_MAX_PRIMEM);
    case cat::UserKind::Unit:
      return built(cat::user_unit(code), kx_unit_status, kx_unit_to_string, kx_unit_del,
                   KX_TEXT_MAX_UNIT);
    case cat::UserKind::Datum:
      return built(kx_factory_datum_objedit(code), kx_datum_status, kx_datum_to_string,
                   kx_datum_del, KX_TEXT_MAX_DATUM);
    case cat::UserKind::Geogcs:
      return built(kx_factory_geogcs_objedit(code), kx_geogcs_status, kx_geogcs_to_string,
                   kx_geogcs_del, KX_TEXT_MAX_GEOGCS);
    case cat::UserKind::Projcs:
      return built(kx_factory_projcs_objedit(code), kx_projcs_status, kx_projcs_to_string,
                   kx_projcs_del, KX_TEXT_MAX_PROJCS);
    case cat::UserKind::Geogtran:
      return built(kx_factory_geogtran_objedit(code), kx_geogtran_status, kx_geogtran_to_string,
                   kx_geogtran_del, KX_TEXT_MAX_GEOGTRAN);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const Home home;
  home.write(data, size);
  // Odd inputs read each file once through a snapshot, as listings do; even
  // ones read it anew for every lookup.
  std::unique_ptr<cat::UserFileSnapshot> snapshot;
  if (size % 2 == 1) snapshot.reset(new cat::UserFileSnapshot);
  for (int k = 0; k < cat::kUserKinds; ++k) {
    const auto kind = static_cast<cat::UserKind>(k);
    const std::vector<int> codes = cat::user_definition_codes(kind);
    // A few codes per kind keep each run short.
    for (size_t i = 0; i < codes.size() && i < 4; ++i) build(kind, codes[i]);
  }
  return 0;
}
