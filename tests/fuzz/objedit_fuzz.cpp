// Feeds arbitrary bytes to the user definition files of all seven kinds: the
// input becomes the file of every kind in a private definition home, and
// each code the reader finds there (at most four a kind) is built by that
// kind's user factory. Whatever builds comes from the user file (status 8)
// and writes as text.
#include <memory>

#include "catalogue/objedit_reader.h"
#include "fuzz_common.h"

namespace {

namespace cat = kx::catalogue;

char g_text[KX_TEXT_MAX_GEOGTRAN + 1];

template <class Handle, class Written>
void built(Handle object, uint8_t (*status)(Handle), Written (*write)(Handle, char *),
           void (*del)(Handle), int max_text) {
  if (object == nullptr) return;
  // The writers return the length or the buffer; either way not 0 on success.
  check(status(object) == 8 && write(object, g_text) != Written{});
  check(g_text[0] != '\0' && std::string(g_text).size() <= static_cast<size_t>(max_text));
  del(object);
}

#define BUILT(kind, factory, max) \
  built(factory(code), kx_##kind##_status, kx_##kind##_to_string, kx_##kind##_del, max)

void build(cat::UserKind kind, int code) {
  switch (kind) {
    case cat::UserKind::Spheroid:
      return BUILT(spheroid, cat::user_spheroid, KX_TEXT_MAX_SPHEROID);
    case cat::UserKind::Primem:
      return BUILT(primem, cat::user_primem, KX_TEXT_MAX_PRIMEM);
    case cat::UserKind::Unit:
      return BUILT(unit, cat::user_unit, KX_TEXT_MAX_UNIT);
    case cat::UserKind::Datum:
      return BUILT(datum, kx_factory_datum_objedit, KX_TEXT_MAX_DATUM);
    case cat::UserKind::Geogcs:
      return BUILT(geogcs, kx_factory_geogcs_objedit, KX_TEXT_MAX_GEOGCS);
    case cat::UserKind::Projcs:
      return BUILT(projcs, kx_factory_projcs_objedit, KX_TEXT_MAX_PROJCS);
    case cat::UserKind::Geogtran:
      return BUILT(geogtran, kx_factory_geogtran_objedit, KX_TEXT_MAX_GEOGTRAN);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const ScratchFolder home(
      {"spheroid", "primem", "unit", "datum", "geogcs", "projcs", "geogtran"});
  static const bool in_home = setenv("KXOBJEDITHOME", home.dir().c_str(), 1) == 0;
  check(in_home);
  home.write(data, size);
  // Odd inputs read each file once through a snapshot, as listings do; even
  // ones read it anew for every lookup.
  std::unique_ptr<cat::UserFileSnapshot> snapshot(size % 2 == 1 ? new cat::UserFileSnapshot
                                                                : nullptr);
  for (int k = 0; k < cat::kUserKinds; ++k) {
    const std::vector<int> codes = cat::user_definition_codes(static_cast<cat::UserKind>(k));
    // A few codes per kind keep each run short.
    for (size_t i = 0; i < codes.size() && i < 4; ++i)
      build(static_cast<cat::UserKind>(k), codes[i]);
  }
  return 0;
}
