// Reverse lookup: the catalogue code of an object equal to a given one.
// Codes without an entry build nothing, so visiting the table rows (and the
// deprecated codes) in increasing order gives the same first match as
// visiting every code of the kind's ranges. Codes outside the ranges are
// visited only when none inside is equal, so an object keeps the code it had
// before the registry's newer codes joined.
#include "catalogue/catalogue_tables.h"
#include "catalogue/generated/code_ranges.h"
#include "kx.h"
#include "objects/object_core.h"
#include "objects/parameter_table.h"
#include "objects/registry.h"

namespace {

namespace cat = kx::catalogue;

// The first equal code of a search that builds an object (status below 9),
// and the first equal deprecated code; 0 for none.
struct Found {
  int current = 0;
  int deprecated = 0;
};

// First code of the table (ascending) whose object equals obj.
template <typename Row, typename Obj, typename Make, typename Eq, typename Del, typename Sel>
Found first_equal(const cat::Table<Row> &table, Obj obj, Make make, Eq eq, Del del, Sel select) {
  for (std::size_t i = 0; i < table.count; ++i) {
    const int code = table.rows[i].code;
    if (!select(code)) continue;
    Obj candidate = make(code);
    if (candidate == nullptr) continue;
    const bool equal = eq(candidate, obj) != 0;
    del(candidate);
    if (equal) return {code, 0};
  }
  return {};
}

// Composite kinds with a deprecated map: the first equal code built from the
// table or a user file (status below 9), and the first deprecated code whose
// object is equal.
template <typename Row, typename Obj, typename Make, typename Eq, typename Del, typename Status,
          typename Sel>
Found first_equal_current(const cat::Table<Row> &table, const cat::Table<cat::CodeMap> &deprecated,
                        Obj obj, Make make, Eq eq, Del del, Status status, Sel select) {
  std::size_t i = 0;
  std::size_t j = 0;
  int first_deprecated = 0;
  while (i < table.count || j < deprecated.count) {
    int code;
    if (j >= deprecated.count || (i < table.count && table.rows[i].code < deprecated.rows[j].code)) {
      code = table.rows[i++].code;
    } else {
      code = deprecated.rows[j++].code;
    }
    if (!select(code)) continue;
    Obj candidate = make(code);
    if (candidate == nullptr) continue;
    const bool equal = eq(candidate, obj) != 0;
    const bool current = status(candidate) <= kx::kStatusFromUserFile;
    del(candidate);
    if (equal && current) return {code, first_deprecated};
    if (equal && first_deprecated == 0) first_deprecated = code;
  }
  return {0, first_deprecated};
}

bool angular(int code) { return cat::in_ranges(cat::kAngularUnitCodes, code); }
bool not_angular(int code) { return !angular(code); }

// A search (given which codes to visit) over the codes inside the kind's
// ranges and over those outside: a current code inside, outside, then a
// deprecated one inside, outside.
template <std::size_t N, typename Search>
int inside_first(const cat::CodeRange (&ranges)[N], Search search) {
  const Found inside = search([&ranges](int code) { return cat::in_ranges(ranges, code); });
  if (inside.current != 0) return inside.current;
  const Found outside = search([&ranges](int code) { return !cat::in_ranges(ranges, code); });
  if (outside.current != 0) return outside.current;
  return inside.deprecated != 0 ? inside.deprecated : outside.deprecated;
}

int projection_code(kx_projection p) {
  int count = 0;
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  int best = 0;
  for (int i = 0; i < count; ++i) {
    const int code = rows[i].code;
    if (!cat::in_ranges(cat::kProjectionCodes, code) || (best != 0 && code >= best)) continue;
    kx_projection candidate = kx_factory_projection(code);
    if (candidate == nullptr) continue;
    if (kx_projection_eq(candidate, p) != 0) best = code;
    kx_projection_del(candidate);
  }
  return best;
}

int method_code(kx_method m) {
  int count = 0;
  const kx::MethodRow *rows = kx::method_rows(&count);
  int best = 0;
  for (int i = 0; i < count; ++i) {
    const int code = rows[i].code;
    if (best != 0 && code >= best) continue;
    kx_method candidate = kx_factory_method(code);
    if (candidate == nullptr) continue;
    if (kx_method_eq(candidate, m) != 0) best = code;
    kx_method_del(candidate);
  }
  return best;
}

// Equal projected CSs (and transformations) have equal names, so only rows
// of that name and the deprecated codes mapping to them are built: the same
// first match as the exhaustive visit, without building thousands of objects.
template <typename Row, typename Obj, typename Make, typename Eq, typename Del, typename Status,
          typename Sel>
Found named_code(const cat::Table<Row> &table, const cat::Table<cat::CodeMap> &deprecated,
               Obj obj, const char *name, Make make, Eq eq, Del del, Status status, Sel select) {
  auto same_name = [&](int code) {
    const Row *row = cat::find_code(table, code);
    return row != nullptr && kx_strcmp_ci(row->name, name) == 0;
  };
  std::size_t i = 0;
  std::size_t j = 0;
  int first_deprecated = 0;
  while (i < table.count || j < deprecated.count) {
    int code;
    bool match;
    if (j >= deprecated.count || (i < table.count && table.rows[i].code < deprecated.rows[j].code)) {
      code = table.rows[i].code;
      match = kx_strcmp_ci(table.rows[i].name, name) == 0;
      ++i;
    } else {
      code = deprecated.rows[j].code;
      match = same_name(deprecated.rows[j].current);
      ++j;
    }
    if (!match || !select(code)) continue;
    Obj candidate = make(code);
    if (candidate == nullptr) continue;
    const bool equal = eq(candidate, obj) != 0;
    const bool current = status(candidate) <= kx::kStatusFromUserFile;
    del(candidate);
    if (equal && current) return {code, first_deprecated};
    if (equal && first_deprecated == 0) first_deprecated = code;
  }
  return {0, first_deprecated};
}

int projcs_code(kx_projcs p) {
  char name[64];
  kx_projcs_name(p, name);
  return inside_first(cat::kProjcsCodes, [&](auto select) {
    return named_code(cat::kProjcs, cat::kDeprecatedProjcs, p, name, kx_factory_projcs,
                      kx_projcs_eq, kx_projcs_del, kx_projcs_status, select);
  });
}

int geogtran_code(kx_geogtran g) {
  char name[64];
  kx_geogtran_name(g, name);
  return inside_first(cat::kGeogtranCodes, [&](auto select) {
    return named_code(cat::kGeogtran, cat::kDeprecatedGeogtran, g, name, kx_factory_geogtran,
                      kx_geogtran_eq, kx_geogtran_del, kx_geogtran_status, select);
  });
}

int parameter_code(kx_parameter p) {
  for (const kx::ParameterCodeRow &row : kx::kParameterCodeTable) {
    kx_parameter candidate = kx_factory_parameter(row.code);
    if (candidate == nullptr) continue;
    const bool equal = kx_parameter_eq(candidate, p) != 0;
    kx_parameter_del(candidate);
    if (equal) return row.code;
  }
  return 0;
}

}  // namespace

extern "C" {

KX_API int kx_factory_code(void *object) {
  if (object == nullptr) return 0;
  if (kx_projcs_p(static_cast<kx_projcs>(object))) return projcs_code(static_cast<kx_projcs>(object));
  if (kx_geogcs_p(static_cast<kx_geogcs>(object))) {
    return inside_first(cat::kGeogcsCodes, [&](auto select) {
      return first_equal_current(cat::kGeogcs, cat::kDeprecatedGeogcs,
                                 static_cast<kx_geogcs>(object), kx_factory_geogcs, kx_geogcs_eq,
                                 kx_geogcs_del, kx_geogcs_status, select);
    });
  }
  if (kx_unit_p(static_cast<kx_unit>(object))) {
    auto u = static_cast<kx_unit>(object);
    const int code =
        first_equal(cat::kUnits, u, kx_factory_unit, kx_unit_eq, kx_unit_del, angular).current;
    return code != 0 ? code
                     : first_equal(cat::kUnits, u, kx_factory_unit, kx_unit_eq, kx_unit_del,
                                   not_angular)
                           .current;
  }
  if (kx_spheroid_p(static_cast<kx_spheroid>(object))) {
    return inside_first(cat::kSpheroidCodes, [&](auto select) {
      return first_equal(cat::kSpheroids, static_cast<kx_spheroid>(object), kx_factory_spheroid,
                         kx_spheroid_eq, kx_spheroid_del, select);
    });
  }
  if (kx_datum_p(static_cast<kx_datum>(object))) {
    return inside_first(cat::kDatumCodes, [&](auto select) {
      return first_equal_current(cat::kDatums, cat::kDeprecatedDatums,
                                 static_cast<kx_datum>(object), kx_factory_datum, kx_datum_eq,
                                 kx_datum_del, kx_datum_status, select);
    });
  }
  if (kx_primem_p(static_cast<kx_primem>(object))) {
    return inside_first(cat::kPrimemCodes, [&](auto select) {
      return first_equal(cat::kPrimems, static_cast<kx_primem>(object), kx_factory_primem,
                         kx_primem_eq, kx_primem_del, select);
    });
  }
  if (kx_projection_p(static_cast<kx_projection>(object))) {
    return projection_code(static_cast<kx_projection>(object));
  }
  if (kx_parameter_p(static_cast<kx_parameter>(object))) {
    return parameter_code(static_cast<kx_parameter>(object));
  }
  if (kx_method_p(static_cast<kx_method>(object))) {
    return method_code(static_cast<kx_method>(object));
  }
  if (kx_geogtran_p(static_cast<kx_geogtran>(object))) {
    return geogtran_code(static_cast<kx_geogtran>(object));
  }
  return 0;
}

}  // extern "C"
