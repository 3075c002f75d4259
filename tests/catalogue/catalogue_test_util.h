// Small helpers of the catalogue tests: reading the committed EPSG extract
// (data/epsg) independently of the generator, and RAII for objects.
#ifndef KX_TEST_CATALOGUE_UTIL_H
#define KX_TEST_CATALOGUE_UTIL_H

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kx.h"

namespace cattest {

using Row = std::map<std::string, std::string>;

// Splits one CSV line with double-quoted fields.
inline std::vector<std::string> split_csv(const std::string &line) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      out.emplace_back();
    } else if (c != '\r') {
      out.back() += c;
    }
  }
  return out;
}

// Rows of data/epsg/<file> keyed by the header's column names.
inline std::vector<Row> read_epsg(const std::string &file) {
  std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/../../data/epsg/" + file);
  std::vector<Row> rows;
  std::string line;
  if (!std::getline(in, line)) return rows;
  const auto header = split_csv(line);
  while (std::getline(in, line)) {
    const auto fields = split_csv(line);
    Row row;
    for (size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
    rows.push_back(row);
  }
  return rows;
}

struct UnitDel { void operator()(kx_unit_rec *p) const { kx_unit_del(p); } };
struct SpheroidDel { void operator()(kx_spheroid_rec *p) const { kx_spheroid_del(p); } };
struct PrimemDel { void operator()(kx_primem_rec *p) const { kx_primem_del(p); } };
struct DatumDel { void operator()(kx_datum_rec *p) const { kx_datum_del(p); } };
struct GeogcsDel { void operator()(kx_geogcs_rec *p) const { kx_geogcs_del(p); } };
struct ProjectionDel { void operator()(kx_projection_rec *p) const { kx_projection_del(p); } };

using Unit = std::unique_ptr<kx_unit_rec, UnitDel>;
using Spheroid = std::unique_ptr<kx_spheroid_rec, SpheroidDel>;
using Primem = std::unique_ptr<kx_primem_rec, PrimemDel>;
using Datum = std::unique_ptr<kx_datum_rec, DatumDel>;
using Geogcs = std::unique_ptr<kx_geogcs_rec, GeogcsDel>;
using Projection = std::unique_ptr<kx_projection_rec, ProjectionDel>;

template <typename H, typename F>
std::string name(H handle, F getter) {
  char buffer[64];
  getter(handle, buffer);
  return buffer;
}

inline std::string name(kx_unit h) { return name(h, kx_unit_name); }
inline std::string name(kx_spheroid h) { return name(h, kx_spheroid_name); }
inline std::string name(kx_primem h) { return name(h, kx_primem_name); }
inline std::string name(kx_datum h) { return name(h, kx_datum_name); }
inline std::string name(kx_geogcs h) { return name(h, kx_geogcs_name); }

}  // namespace cattest

#endif
