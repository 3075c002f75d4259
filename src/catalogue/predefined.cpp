// Predefined listings: every code of a kind's ranges built with its factory,
// the built-in and user-defined ones kept.
#include "catalogue/objedit_reader.h"
#include "kx.h"

namespace {

struct Range {
  int lo;
  int hi;
};

template <typename Obj, std::size_t N>
kx_predefined *listing(const Range (&ranges)[N], Obj (*make)(int), void (*name)(Obj, char *),
                       uint8_t (*status)(Obj), void (*del)(Obj), int *count) {
  if (count == nullptr) return nullptr;
  *count = 0;
  // One reading of each user file for the whole listing instead of one per code.
  kx::catalogue::UserFileSnapshot snapshot;
  kx_seq seq = kx_create_seq(256, static_cast<int>(sizeof(kx_predefined)));
  if (seq == nullptr) return nullptr;
  for (const Range &r : ranges) {
    for (int code = r.lo; code <= r.hi; ++code) {
      Obj obj = make(code);
      if (obj == nullptr) continue;
      bool ok = true;
      if (status(obj) < 9) {
        kx_predefined record{};
        record.code = code;
        name(obj, record.name);
        record.name[sizeof record.name - 1] = '\0';
        ok = kx_seq_apptail(seq, &record) != 0;
      }
      del(obj);
      if (!ok) {
        kx_destroy_seq(seq);
        return nullptr;
      }
    }
  }
  return kx_table_create(seq, count);
}

constexpr Range kSpheroid[] = {{7000, 7999}, {107000, 107999}, {207000, 207999}};
constexpr Range kPrimem[] = {{8900, 8999}, {108900, 108999}, {208900, 208999}};
constexpr Range kAngular[] = {{9100, 9199}, {209100, 209199}};
constexpr Range kLinear[] = {{9000, 9099}, {109000, 109099}, {209000, 209099}};
constexpr Range kDatum[] = {{6000, 6999}, {106000, 106999}, {206000, 206999}};
constexpr Range kProjection[] = {{43000, 52999}};
constexpr Range kMethod[] = {{9600, 9699}, {109600, 109699}};
constexpr Range kParameter[] = {{100000, 100099}};
constexpr Range kGeogcs[] = {{4000, 4999}, {37000, 37999}, {104000, 104999}, {204000, 204999}};
constexpr Range kProjcs[] = {
    {2000, 3999}, {20000, 32799}, {53000, 65799}, {102000, 103999}, {202000, 203999}};
constexpr Range kGeogtran[] = {{1000, 1999}, {8000, 8899}, {108000, 108899}, {208000, 208899}};

}  // namespace

extern "C" {

KX_API kx_predefined *kx_predefined_spheroid(int *count) {
  return listing(kSpheroid, kx_factory_spheroid, kx_spheroid_name, kx_spheroid_status,
                 kx_spheroid_del, count);
}
KX_API kx_predefined *kx_predefined_primem(int *count) {
  return listing(kPrimem, kx_factory_primem, kx_primem_name, kx_primem_status, kx_primem_del,
                 count);
}
KX_API kx_predefined *kx_predefined_angular_unit(int *count) {
  return listing(kAngular, kx_factory_unit, kx_unit_name, kx_unit_status, kx_unit_del, count);
}
KX_API kx_predefined *kx_predefined_linear_unit(int *count) {
  return listing(kLinear, kx_factory_unit, kx_unit_name, kx_unit_status, kx_unit_del, count);
}
KX_API kx_predefined *kx_predefined_datum(int *count) {
  return listing(kDatum, kx_factory_datum, kx_datum_name, kx_datum_status, kx_datum_del, count);
}
KX_API kx_predefined *kx_predefined_projection(int *count) {
  return listing(kProjection, kx_factory_projection, kx_projection_name, kx_projection_status,
                 kx_projection_del, count);
}
KX_API kx_predefined *kx_predefined_method(int *count) {
  return listing(kMethod, kx_factory_method, kx_method_name, kx_method_status, kx_method_del,
                 count);
}
KX_API kx_predefined *kx_predefined_parameter(int *count) {
  return listing(kParameter, kx_factory_parameter, kx_parameter_name, kx_parameter_status,
                 kx_parameter_del, count);
}
KX_API kx_predefined *kx_predefined_geogcs(int *count) {
  return listing(kGeogcs, kx_factory_geogcs, kx_geogcs_name, kx_geogcs_status, kx_geogcs_del,
                 count);
}
KX_API kx_predefined *kx_predefined_projcs(int *count) {
  return listing(kProjcs, kx_factory_projcs, kx_projcs_name, kx_projcs_status, kx_projcs_del,
                 count);
}
KX_API kx_predefined *kx_predefined_geogtran(int *count) {
  return listing(kGeogtran, kx_factory_geogtran, kx_geogtran_name, kx_geogtran_status,
                 kx_geogtran_del, count);
}

}  // extern "C"
