// Row layouts of the built-in catalogue tables and their lookups. The rows
// themselves are generated (generated/table_*.cpp, tools/gen_catalogue.py) and sorted:
// by code for the entry tables and code maps, byte-wise by name for the
// macro-name tables, so every lookup is a bisection.
#ifndef KX_CATALOGUE_TABLES_H
#define KX_CATALOGUE_TABLES_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kx::catalogue {

template <typename Row>
struct Table {
  const Row *rows;
  std::size_t count;
};

struct UnitRow {
  int32_t code;
  const char *name;
  double factor;  // metres or radians
};

struct SpheroidRow {
  int32_t code;
  const char *name;
  double axis;        // metres
  double flattening;  // f, not 1/f
};

struct PrimemRow {
  int32_t code;
  const char *name;
  double longitude;  // degrees east of Greenwich
};

struct DatumRow {
  int32_t code;
  const char *name;
  int32_t spheroid;
};

struct GeogcsRow {
  int32_t code;
  const char *name;
  int32_t datum;
  int32_t primem;
  int32_t unit;
};

// Projected CS: its parameters are kProjcsParams rows first .. first+count-1,
// each a parameter catalogue code and its value (angles in the geographic
// CS's unit, lengths in the projected CS's unit).
struct ProjcsRow {
  int32_t code;
  const char *name;
  int32_t projection;
  int32_t geogcs;
  int32_t unit;
  int32_t first;
  int32_t count;
};

struct ProjcsParam {
  int32_t parameter;
  double value;
};

// Geographic transformation: parameters as for projected CSs, from
// kGeogtranParams; a grid method's dataset names its Dataset_ parameter.
struct GeogtranRow {
  int32_t code;
  const char *name;
  int32_t geogcs1;
  int32_t geogcs2;
  int32_t method;
  int32_t first;
  int32_t count;
  const char *dataset;  // null for the equation methods
  double accuracy;      // metres, as EPSG states it; negative when unknown
  bool epsg_deprecated;
};

// A deprecated code and the current code it builds.
struct CodeMap {
  int32_t code;
  int32_t current;
};

struct NameRow {
  const char *name;
  int32_t code;
};

extern const Table<UnitRow> kUnits;
extern const Table<SpheroidRow> kSpheroids;
extern const Table<PrimemRow> kPrimems;
extern const Table<DatumRow> kDatums;
extern const Table<GeogcsRow> kGeogcs;
extern const Table<ProjcsRow> kProjcs;
extern const Table<ProjcsParam> kProjcsParams;
extern const Table<GeogtranRow> kGeogtran;
extern const Table<ProjcsParam> kGeogtranParams;

extern const Table<CodeMap> kDeprecatedDatums;
extern const Table<CodeMap> kDeprecatedGeogcs;
extern const Table<CodeMap> kDeprecatedProjcs;
extern const Table<CodeMap> kDeprecatedGeogtran;

extern const Table<NameRow> kProjcsNames;
extern const Table<NameRow> kGeogtranNames;
extern const Table<NameRow> kSpheroidNames;
extern const Table<NameRow> kGeogcsNames;
extern const Table<NameRow> kDatumNames;
extern const Table<NameRow> kPrimemNames;
extern const Table<NameRow> kUnitNames;
extern const Table<NameRow> kProjectionNames;
extern const Table<NameRow> kMethodNames;
extern const Table<NameRow> kParameterNames;

// The library's one search of sorted rows: the row with the given code in
// rows sorted by code, or null.
template <typename Row>
const Row *find_code(const Row *rows, std::size_t count, int32_t code) {
  const Row *end = rows + count;
  const Row *it =
      std::lower_bound(rows, end, code, [](const Row &row, int32_t c) { return row.code < c; });
  return it != end && it->code == code ? it : nullptr;
}

template <typename Row>
const Row *find_code(const Table<Row> &table, int32_t code) {
  return find_code(table.rows, table.count, code);
}

// The row with exactly this name (byte-wise) in a name table, or null.
inline const NameRow *find_name(const Table<NameRow> &table, const char *name) {
  const NameRow *end = table.rows + table.count;
  const NameRow *it = std::lower_bound(
      table.rows, end, name,
      [](const NameRow &row, const char *n) { return std::strcmp(row.name, n) < 0; });
  return it != end && std::strcmp(it->name, name) == 0 ? it : nullptr;
}

}  // namespace kx::catalogue

#endif
