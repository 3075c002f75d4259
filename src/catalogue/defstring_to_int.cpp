// Symbolic catalogue names ("KX_GCS_WGS_1984") to codes.
#include <cstring>

#include "catalogue/catalogue_tables.h"
#include "kx.h"

namespace {

namespace cat = kx::catalogue;

struct Prefix {
  const char *prefix;
  const cat::Table<cat::NameRow> *table;  // null: no entries of the kind yet
};

// Compared in this order; the first prefix the text starts with selects the table.
const Prefix kPrefixes[] = {
    {"KX_PCS_", &cat::kProjcsNames},
    {"KX_S_", &cat::kSpheroidNames},
    {"KX_PAR_", &cat::kParameterNames},
    {"KX_GCS_", &cat::kGeogcsNames},
    {"KX_GT_", &cat::kGeogtranNames},
    {"KX_D_", &cat::kDatumNames},
    {"KX_PM_", &cat::kPrimemNames},
    {"KX_U_", &cat::kUnitNames},
    {"KX_MTH_", &cat::kMethodNames},
    {"KX_PRJ_", &cat::kProjectionNames},
};

}  // namespace

extern "C" {

KX_API int kx_defstring_to_int(const char *text) {
  if (text == nullptr) return 0;
  for (const Prefix &p : kPrefixes) {
    if (std::strncmp(text, p.prefix, std::strlen(p.prefix)) != 0) continue;
    if (p.table == nullptr) return 0;
    const cat::NameRow *row = cat::find_name(*p.table, text);
    return row != nullptr ? row->code : 0;
  }
  return 0;
}

}  // extern "C"
