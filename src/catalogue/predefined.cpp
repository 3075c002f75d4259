// Predefined listings: every code of a kind's ranges built with its factory,
// the built-in and user-defined ones kept, then the kind's built-in, deprecated
// and user codes outside the ranges (the registry's newer objects).
#include <algorithm>
#include <new>
#include <vector>

#include "catalogue/catalogue_tables.h"
#include "catalogue/generated/code_ranges.h"
#include "catalogue/objedit_reader.h"
#include "kx.h"
#include "objects/object_core.h"

namespace {

namespace cat = kx::catalogue;
using cat::CodeRange;

// How a kind is listed. Kinds with a deprecated map also give their
// built-in-only factory: a deprecated code without a user definition yields,
// through the full factory, either the built-in entry (status 4) or an alias
// (status 16, left out), so the built-in factory alone decides it without
// building the alias.
template <typename Obj>
struct Kind {
  Obj (*make)(int);
  void (*name)(Obj, char *);
  uint8_t (*status)(Obj);
  void (*del)(Obj);
  Obj (*normal)(int);
  const cat::Table<cat::CodeMap> *deprecated;
  cat::UserKind user;
  bool has_user_file;
  // Appends the built-in table's codes outside the ranges.
  void (*entry_codes)(const CodeRange *ranges, std::size_t count, std::vector<int> &codes);
};

template <typename Row>
void codes_outside(const cat::Table<Row> &table, const CodeRange *ranges, std::size_t count,
                   std::vector<int> &codes) {
  for (std::size_t i = 0; i < table.count; ++i) {
    if (!cat::in_ranges(ranges, count, table.rows[i].code)) codes.push_back(table.rows[i].code);
  }
}

// The user-defined codes of a kind, for lookups by bisection.
class SortedCodes {
 public:
  SortedCodes() = default;
  explicit SortedCodes(std::vector<int> codes) : codes_(std::move(codes)) {
    std::sort(codes_.begin(), codes_.end());
  }
  bool has(int code) { return std::binary_search(codes_.begin(), codes_.end(), code); }

 private:
  std::vector<int> codes_;
};

template <typename Obj, std::size_t N>
kx_predefined *listing(const CodeRange (&ranges)[N], const Kind<Obj> &kind, int *count) {
  if (count == nullptr) return nullptr;
  *count = 0;
  // One reading of each user file for the whole listing instead of one per code.
  cat::UserFileSnapshot snapshot;
  std::vector<int> outside;  // the kind's codes outside its ranges, ascending
  SortedCodes user;
  try {
    std::vector<int> user_codes;
    if (kind.has_user_file) user_codes = cat::user_definition_codes(kind.user);
    for (int code : user_codes) {
      if (!cat::in_ranges(ranges, code)) outside.push_back(code);
    }
    if (kind.entry_codes != nullptr) kind.entry_codes(ranges, N, outside);
    if (kind.deprecated != nullptr) codes_outside(*kind.deprecated, ranges, N, outside);
    std::sort(outside.begin(), outside.end());
    outside.erase(std::unique(outside.begin(), outside.end()), outside.end());
    if (kind.deprecated != nullptr) user = SortedCodes(std::move(user_codes));
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
  kx_seq seq = kx_create_seq(256, static_cast<int>(sizeof(kx_predefined)));
  if (seq == nullptr) return nullptr;
  // Lists the code's object when it builds; false when memory runs out.
  const auto visit = [&](int code) {
    const bool alias = kind.deprecated != nullptr &&
                       cat::find_code(*kind.deprecated, code) != nullptr && !user.has(code);
    Obj obj = alias ? kind.normal(code) : kind.make(code);
    if (obj == nullptr) return true;
    bool ok = true;
    if (alias || kind.status(obj) <= kx::kStatusFromUserFile) {
      kx_predefined record{};
      record.code = code;
      kind.name(obj, record.name);
      record.name[sizeof record.name - 1] = '\0';
      ok = kx_seq_apptail(seq, &record) != 0;
    }
    kind.del(obj);
    return ok;
  };
  bool ok = true;
  for (const CodeRange &r : ranges) {
    for (int code = r.lo; ok && code <= r.hi; ++code) ok = visit(code);
  }
  for (std::size_t i = 0; ok && i < outside.size(); ++i) ok = visit(outside[i]);
  if (!ok) {
    kx_destroy_seq(seq);
    return nullptr;
  }
  return kx_table_create(seq, count);
}

}  // namespace

extern "C" {

KX_API kx_predefined *kx_predefined_spheroid(int *count) {
  static const Kind<kx_spheroid> kind = {
      kx_factory_spheroid,
      kx_spheroid_name,
      kx_spheroid_status,
      kx_spheroid_del,
      nullptr,
      nullptr,
      cat::UserKind::Spheroid,
      true,
      [](const CodeRange *r, std::size_t n, std::vector<int> &c) {
        codes_outside(cat::kSpheroids, r, n, c);
      }};
  return listing(cat::kSpheroidCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_primem(int *count) {
  static const Kind<kx_primem> kind = {kx_factory_primem,
                                       kx_primem_name,
                                       kx_primem_status,
                                       kx_primem_del,
                                       nullptr,
                                       nullptr,
                                       cat::UserKind::Primem,
                                       true,
                                       [](const CodeRange *r, std::size_t n, std::vector<int> &c) {
                                         codes_outside(cat::kPrimems, r, n, c);
                                       }};
  return listing(cat::kPrimemCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_angular_unit(int *count) {
  static const Kind<kx_unit> kind = {kx_factory_unit,     kx_unit_name, kx_unit_status,
                                     kx_unit_del,         nullptr,      nullptr,
                                     cat::UserKind::Unit, false,        nullptr};
  return listing(cat::kAngularUnitCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_linear_unit(int *count) {
  static const Kind<kx_unit> kind = {kx_factory_unit,     kx_unit_name, kx_unit_status,
                                     kx_unit_del,         nullptr,      nullptr,
                                     cat::UserKind::Unit, false,        nullptr};
  return listing(cat::kLinearUnitCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_datum(int *count) {
  static const Kind<kx_datum> kind = {kx_factory_datum,
                                      kx_datum_name,
                                      kx_datum_status,
                                      kx_datum_del,
                                      kx_factory_datum_normal,
                                      &cat::kDeprecatedDatums,
                                      cat::UserKind::Datum,
                                      true,
                                      [](const CodeRange *r, std::size_t n, std::vector<int> &c) {
                                        codes_outside(cat::kDatums, r, n, c);
                                      }};
  return listing(cat::kDatumCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_projection(int *count) {
  static const Kind<kx_projection> kind = {kx_factory_projection,
                                           kx_projection_name,
                                           kx_projection_status,
                                           kx_projection_del,
                                           nullptr,
                                           nullptr,
                                           cat::UserKind::Unit,
                                           false,
                                           nullptr};
  return listing(cat::kProjectionCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_method(int *count) {
  static const Kind<kx_method> kind = {kx_factory_method,   kx_method_name, kx_method_status,
                                       kx_method_del,       nullptr,        nullptr,
                                       cat::UserKind::Unit, false,          nullptr};
  return listing(cat::kMethodCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_parameter(int *count) {
  static const Kind<kx_parameter> kind = {kx_factory_parameter,
                                          kx_parameter_name,
                                          kx_parameter_status,
                                          kx_parameter_del,
                                          nullptr,
                                          nullptr,
                                          cat::UserKind::Unit,
                                          false,
                                          nullptr};
  return listing(cat::kParameterCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_geogcs(int *count) {
  static const Kind<kx_geogcs> kind = {kx_factory_geogcs,
                                       kx_geogcs_name,
                                       kx_geogcs_status,
                                       kx_geogcs_del,
                                       kx_factory_geogcs_normal,
                                       &cat::kDeprecatedGeogcs,
                                       cat::UserKind::Geogcs,
                                       true,
                                       [](const CodeRange *r, std::size_t n, std::vector<int> &c) {
                                         codes_outside(cat::kGeogcs, r, n, c);
                                       }};
  return listing(cat::kGeogcsCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_projcs(int *count) {
  static const Kind<kx_projcs> kind = {kx_factory_projcs,
                                       kx_projcs_name,
                                       kx_projcs_status,
                                       kx_projcs_del,
                                       kx_factory_projcs_normal,
                                       &cat::kDeprecatedProjcs,
                                       cat::UserKind::Projcs,
                                       true,
                                       [](const CodeRange *r, std::size_t n, std::vector<int> &c) {
                                         codes_outside(cat::kProjcs, r, n, c);
                                       }};
  return listing(cat::kProjcsCodes, kind, count);
}
KX_API kx_predefined *kx_predefined_geogtran(int *count) {
  static const Kind<kx_geogtran> kind = {
      kx_factory_geogtran,
      kx_geogtran_name,
      kx_geogtran_status,
      kx_geogtran_del,
      kx_factory_geogtran_normal,
      &cat::kDeprecatedGeogtran,
      cat::UserKind::Geogtran,
      true,
      [](const CodeRange *r, std::size_t n, std::vector<int> &c) {
        codes_outside(cat::kGeogtran, r, n, c);
      }};
  return listing(cat::kGeogtranCodes, kind, count);
}

}  // extern "C"
