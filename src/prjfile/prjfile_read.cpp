// Reading keyword projection files and strings into coordinate systems:
// units, datum (sphere, keyword chain or spheroid), geographic CS, and the
// projected CS of a state-plane zone, a named national grid, an RSO grid or
// the projection keyword table.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <exception>
#include <string>

#include "kx_def.h"
#include "prjfile/prjfile.h"
#include "prjfile/prjfile_objects.h"
#include "prjfile/prjfile_read.h"

namespace kx::prjfile {

namespace {
constexpr std::size_t kMaxName = 63;
}  // namespace

std::string cut_name(std::string name) {
  if (name.size() > kMaxName) name.resize(kMaxName);
  return name;
}

bool zero(double v) { return std::fabs(v) <= 3.552713678800501e-15; }

int unit_from_field(const std::string &field, bool words, int empty_code, Unit *out) {
  if (field.empty()) {
    out->reset(kx_factory_unit(empty_code));
    return *out ? kOk : kNoMemory;
  }
  if (words) {
    for (std::size_t i = 0; i < kUnitKeywordCount; ++i) {
      const UnitKeyword &k = kUnitKeywords[i];
      if (k.prefix ? starts_with(field, k.keyword) : field == k.keyword) {
        out->reset(kx_factory_unit(k.unit));
        return *out ? kOk : kNoMemory;
      }
    }
  }
  double v = 0.0;
  if (!read_number(field, &v) || !(v > 0.0)) return kBadUnit;
  if (kx_eq(v, kIntlFeetPerMetre) || kx_eq(v, kIntlFeetPerMetreShort)) {
    out->reset(kx_factory_unit(KX_U_FOOT));
    return *out ? kOk : kNoMemory;
  }
  out->reset(kx_unit_new("User_Defined_Unit", 1.0 / v));
  return *out ? kOk : kBadUnit;
}

int assemble(const std::string &name, Geogcs *geog, Projection *projection, Slots *slots,
             Unit *unit, Projcs *out) {
  out->reset(kx_projcs_new(cut_name(name).c_str(), geog->get(), projection->get(), slots->data(),
                           unit->get()));
  if (!*out) return kNoMemory;
  geog->release();
  projection->release();
  slots->released();
  unit->release();
  return kOk;
}

namespace {

constexpr double kUtmScale = 0.9996;
constexpr double kUtmFalseEasting = 500000.0;
constexpr double kUtmSouthFalseNorthing = 10000000.0;
constexpr double kUpsStandardParallel = 81.11452777777778;
constexpr double kUpsFalseOrigin = 2000000.0;
constexpr double kDefaultSphereRadius = 6370997.0;
constexpr double kAuthalicSphereRadius = 6371000.0;
constexpr int kDefaultSphereDatum = 106008;
constexpr int kAuthalicSphereDatum = 6035;
constexpr int kClarke1866Datum = 6008;

int user_datum(double axis, double flattening, Datum *out) {
  Spheroid s(kx_spheroid_new("User_Defined_Spheroid", axis, flattening));
  if (!s) return kBadSpheroid;
  out->reset(kx_datum_new("D_User_Defined", s.get()));
  if (!*out) return kNoMemory;
  s.release();
  return kOk;
}

int catalogue_datum(int code, int failure, Datum *out) {
  out->reset(code != 0 ? kx_factory_datum(code) : nullptr);
  return *out ? kOk : failure;
}

int datum_from_spheroid(const Record &r, Datum *out) {
  if (!r.spheroid.empty()) {
    return catalogue_datum(datum_code_of_spheroid(r.spheroid), kBadSpheroid, out);
  }
  if (r.lines[0].empty()) return catalogue_datum(kClarke1866Datum, kBadSpheroid, out);
  // Two numbers: the axis, then the eccentricity squared (below 1) or the
  // semi-minor axis.
  const std::string &line = r.lines[0];
  std::size_t at = 0;
  while (at < line.size() && line[at] == ' ') ++at;
  std::size_t next = line.find_first_of(" \t", at);
  double a = 0.0, s = 1.0;
  if (!read_number(line.substr(at, next - at), &a)) return kBadSpheroid;
  if (next != std::string::npos) {
    const std::string rest = line.substr(next);
    if (rest.find_first_not_of(" \t") != std::string::npos && !read_number(rest, &s)) {
      return kBadSpheroid;
    }
  }
  if (!(a > 0.0) || !(s > 0.0)) return kBadSpheroid;
  const double b = s < 1.0 ? a * std::sqrt(1.0 - s) : s;
  if (!(b <= a)) return kBadSpheroid;
  return user_datum(a, (a - b) / a, out);
}

bool sphere_based(const Record &r, const ProjectionRow *row, int *radius_line) {
  if (row == nullptr) return false;
  if (row->layout == Layout::Stereographic) {
    *radius_line = 2;
    return r.lines[1] == "1";
  }
  *radius_line = 1;
  return row->sphere;
}

int make_datum(const Record &r, const ProjectionRow *row, Datum *out) {
  int radius_line = 1;
  if (sphere_based(r, row, &radius_line)) {
    double radius = 0.0;
    if (!read_number(r.lines[radius_line], &radius)) return kBadSpheroid;
    if (kx_eq(radius, kDefaultSphereRadius) || kx_eq(radius, 0.0)) {
      return catalogue_datum(kDefaultSphereDatum, kBadDatum, out);
    }
    if (kx_eq(radius, kAuthalicSphereRadius)) {
      return catalogue_datum(kAuthalicSphereDatum, kBadDatum, out);
    }
    return user_datum(radius, 0.0, out);
  }
  if (r.datum.empty() || r.datum == "NONE" || starts_with(r.datum, "USER_DEFINED")) {
    return datum_from_spheroid(r, out);
  }
  return catalogue_datum(datum_code_of_keyword(r.datum), kBadDatum, out);
}

int make_geogcs(const Record &r, const ProjectionRow *row, const std::string &units,
                Geogcs *out) {
  Datum datum;
  int status = make_datum(r, row, &datum);
  if (status != kOk) return status;
  Unit unit;
  status = unit_from_field(units, true, KX_U_DEGREE, &unit);
  if (status != kOk) return status;
  kx_primem primem = kx_factory_primem(KX_PM_GREENWICH);
  if (primem == nullptr) return kNoMemory;
  char name[64];
  kx_datum_name(datum.get(), name);
  const std::string gcs = cut_name(std::string("GCS") + (name[0] != '\0' ? name + 1 : ""));
  out->reset(kx_geogcs_new(gcs.c_str(), datum.get(), primem, unit.get()));
  if (!*out) {
    kx_primem_del(primem);
    return kNoMemory;
  }
  datum.release();
  unit.release();
  return kOk;
}

// Builds the parameters of a keyword-table projection.
class ParameterReader {
 public:
  ParameterReader(const Record &r, const Shifts &shift, double unit_factor)
      : r_(r), shift_(shift), factor_(unit_factor) {}

  int start(int projection_code, Projection *projection) {
    projection->reset(kx_factory_projection(projection_code));
    if (!*projection) return kBadProjection;
    slots_.clear();
    kx_parameter_projection_defaults(projection->get(), slots_.data());
    int status = set(KX_PAR_FALSE_EASTING, shift_.x);
    if (status == kOk) status = set(KX_PAR_FALSE_NORTHING, shift_.y);
    return status;
  }

  int set(int code, double value) {
    kx_parameter p = kx_factory_parameter(code);
    if (p == nullptr) return kNoMemory;
    kx_parameter_value_set(p, value);
    const int slot = kx_parameter_index(p);
    if (slot < 0 || slot >= 16) {
      kx_parameter_del(p);
      return kBadProjection;
    }
    kx_parameter_del(slots_.data()[slot]);
    slots_.data()[slot] = p;
    return kOk;
  }

  void omit(int code) {
    kx_parameter p = kx_factory_parameter(code);
    const int slot = kx_parameter_index(p);
    kx_parameter_del(p);
    if (slot >= 0 && slot < 16) {
      kx_parameter_del(slots_.data()[slot]);
      slots_.data()[slot] = nullptr;
    }
  }

  // Metres on the file to the projected unit.
  double length(double metres) const { return metres / factor_; }

  int read(const LineRead *lines, int count) {
    for (int i = 0; i < count && lines[i].line != 0; ++i) {
      const LineRead &l = lines[i];
      const std::string &text = r_.lines[l.line];
      double v = 0.0;
      const bool ok = l.value == Value::Angle ? read_angle(text, &v) : read_number(text, &v);
      if (!ok) return kBadProjection;
      int status = kOk;
      switch (l.value) {
        case Value::Angle:
        case Value::Number: status = set(l.parameter, v); break;
        case Value::FalseEasting: status = set(KX_PAR_FALSE_EASTING, length(v) + shift_.x); break;
        case Value::FalseNorthing: status = set(KX_PAR_FALSE_NORTHING, length(v) + shift_.y); break;
        case Value::Length: status = set(l.parameter, length(v)); break;
      }
      if (status != kOk) return status;
    }
    return kOk;
  }

  int fixed(const FixedValue *values) {
    for (int i = 0; i < 4 && values[i].parameter != 0; ++i) {
      double v = values[i].value;
      if (values[i].parameter == KX_PAR_FALSE_EASTING) v = length(v) + shift_.x;
      if (values[i].parameter == KX_PAR_FALSE_NORTHING) v = length(v) + shift_.y;
      const int status = set(values[i].parameter, v);
      if (status != kOk) return status;
    }
    return kOk;
  }

  double value(int code) const {
    kx_parameter p = kx_factory_parameter(code);
    const int slot = kx_parameter_index(p);
    kx_parameter_del(p);
    return slot >= 0 && slot < 16 && slots_.data()[slot] != nullptr
               ? kx_parameter_value(slots_.data()[slot])
               : 0.0;
  }

  Slots &slots() { return slots_; }

 private:
  const Record &r_;
  Shifts shift_;
  double factor_;
  Slots slots_;
};

int conic(const Record &r, bool false_origin, ParameterReader *pr) {
  int parallels = 0;
  if (!read_integer(r.lines[1], &parallels) || (parallels != 1 && parallels != 2)) {
    return kBadProjection;
  }
  static const char *const c = nullptr;
  const LineRead one[] = {{2, Value::Angle, KX_PAR_STANDARD_PARALLEL_1, c},
                          {2, Value::Angle, KX_PAR_STANDARD_PARALLEL_2, c},
                          {3, Value::Angle, KX_PAR_CENTRAL_MERIDIAN, c},
                          {4, Value::Angle, KX_PAR_LATITUDE_OF_ORIGIN, c},
                          {5, Value::FalseEasting, 0, c},
                          {6, Value::FalseNorthing, 0, c}};
  const LineRead two[] = {{2, Value::Angle, KX_PAR_STANDARD_PARALLEL_1, c},
                          {3, Value::Angle, KX_PAR_STANDARD_PARALLEL_2, c},
                          {4, Value::Angle, KX_PAR_CENTRAL_MERIDIAN, c},
                          {5, Value::Angle, KX_PAR_LATITUDE_OF_ORIGIN, c},
                          {6, Value::FalseEasting, 0, c},
                          {7, Value::FalseNorthing, 0, c}};
  // One standard parallel is the cone touching there: both parallels equal.
  return pr->read(parallels == 1 ? one : two, false_origin ? 6 : 4);
}

int utm(const Record &r, ParameterReader *pr, std::string *zone_text) {
  int zone = 0;
  double false_northing = 0.0;
  if (r.zone.empty()) {
    double lon = 0.0, lat = 0.0;
    if (!read_angle(r.lines[1], &lon) || !read_angle(r.lines[2], &lat)) return kBadProjection;
    if (lat < 0.0) false_northing = kUtmSouthFalseNorthing;
    const double z = std::floor((lon - 3.0) / 6.0 + 0.5) + 31.0;
    if (!(z >= 1.0)) return kBadProjection;
    zone = z > 60.0 ? 60 : static_cast<int>(z);
  } else {
    // A negative zone is the zone's southern half.
    if (!read_integer(r.zone, &zone)) return kBadProjection;
    if (zone < 0) {
      zone = -zone;
      false_northing = kUtmSouthFalseNorthing;
    }
    if (zone < 1 || zone > 60) return kBadProjection;
  }
  *zone_text = std::to_string(zone);
  int status = pr->set(KX_PAR_CENTRAL_MERIDIAN, 6.0 * zone - 183.0);
  if (status == kOk) status = pr->set(KX_PAR_SCALE_FACTOR, kUtmScale);
  if (status == kOk) status = pr->set(KX_PAR_LATITUDE_OF_ORIGIN, 0.0);
  const FixedValue origin[] = {{KX_PAR_FALSE_EASTING, kUtmFalseEasting},
                               {KX_PAR_FALSE_NORTHING, false_northing},
                               {0, 0.0},
                               {0, 0.0}};
  if (status == kOk) status = pr->fixed(origin);
  return status;
}

// Chooses the form of the rows that have several and reads their lines.
int read_row(const Record &r, const ProjectionRow &row, ParameterReader *pr, Projection *prj,
             std::string *zone_text) {
  int code = row.projection;
  const LineRead *lines = row.lines;
  int count = kMaxLineReads;
  switch (row.layout) {
    case Layout::Oblique: {
      int type = 0;
      if (!read_integer(r.lines[1], &type)) return kBadProjection;
      code = type == 1 ? KX_PRJ_HOTINE_TWO_POINT_NATORIGIN : KX_PRJ_HOTINE_AZIMUTH_NATORIGIN;
      lines = type == 1 ? kObliqueTwoPoint : kObliqueAzimuth;
      break;
    }
    case Layout::Stereographic: {
      if (r.lines[1] == "1") {
        code = KX_PRJ_STEREOGRAPHIC;
        lines = kStereoOblique;
      } else if (r.lines[1] == "2") {
        const std::string &view = r.lines[4];
        if (starts_with(view, "EQUA")) {
          code = KX_PRJ_STEREOGRAPHIC;
          lines = kStereoEquatorial;
        } else if (starts_with(view, "NO")) {
          code = KX_PRJ_STEREOGRAPHIC_NORTH_POLE;
          lines = kStereoNorth;
        } else if (starts_with(view, "SO")) {
          code = KX_PRJ_STEREOGRAPHIC_SOUTH_POLE;
          lines = kStereoSouth;
        } else {
          return kBadProjection;
        }
      } else {
        return kBadProjection;
      }
      break;
    }
    case Layout::Polar: {
      double parallel = 0.0;
      if (!read_angle(r.lines[2], &parallel)) return kBadProjection;
      code = parallel < 0.0 ? KX_PRJ_STEREOGRAPHIC_SOUTH_POLE : KX_PRJ_STEREOGRAPHIC_NORTH_POLE;
      break;
    }
    case Layout::Ups:
      code = r.lines[1] == "SOUTHPOLE" ? KX_PRJ_STEREOGRAPHIC_SOUTH_POLE
                                       : KX_PRJ_STEREOGRAPHIC_NORTH_POLE;
      break;
    case Layout::Cylindrical: {
      int one = 0;
      if (!read_integer(r.lines[1], &one) || one != 1) return kBadProjection;
      break;
    }
    default: break;
  }
  int status = pr->start(code, prj);
  if (status != kOk) return status;
  switch (row.layout) {
    case Layout::Conic: return conic(r, false, pr);
    case Layout::ConicFalseOrigin: return conic(r, true, pr);
    case Layout::Utm: return utm(r, pr, zone_text);
    case Layout::Ups: {
      const double sign = code == KX_PRJ_STEREOGRAPHIC_SOUTH_POLE ? -1.0 : 1.0;
      const FixedValue ups[] = {{KX_PAR_STANDARD_PARALLEL_1, sign * kUpsStandardParallel},
                                {KX_PAR_CENTRAL_MERIDIAN, 0.0},
                                {KX_PAR_FALSE_EASTING, kUpsFalseOrigin},
                                {KX_PAR_FALSE_NORTHING, kUpsFalseOrigin}};
      return pr->fixed(ups);
    }
    default: break;
  }
  if (row.layout == Layout::Stereographic) {
    count = 8;
    if (code == KX_PRJ_STEREOGRAPHIC && lines == kStereoOblique) {
      status = pr->set(KX_PAR_SCALE_FACTOR, 1.0);
      if (status != kOk) return status;
    }
    if (code == KX_PRJ_STEREOGRAPHIC_NORTH_POLE || code == KX_PRJ_STEREOGRAPHIC_SOUTH_POLE) {
      // True scale at the pole unless line 5 names a standard parallel.
      double parallel = 0.0;
      if (!read_angle(r.lines[5], &parallel)) return kBadProjection;
      if (r.lines[5].empty()) parallel = code == KX_PRJ_STEREOGRAPHIC_NORTH_POLE ? 90.0 : -90.0;
      status = pr->set(KX_PAR_STANDARD_PARALLEL_1, parallel);
      if (status != kOk) return status;
    }
  }
  status = pr->read(lines, count);
  if (status == kOk) status = pr->fixed(row.fixed);
  if (status == kOk && row.omitted != 0) pr->omit(row.omitted);
  return status;
}

std::string name_prefix(const std::string &datum, kx_geogcs geog) {
  if (starts_with(datum, "NAD83") || datum == "NAR") return "NAD_1983";
  if (datum == "NAD27" || datum == "NAS") return "NAD_1927";
  if (datum == "HPGN") return "NAD_1983_HARN";
  if (starts_with(datum, "AUA")) return "AGD_1966";
  if (starts_with(datum, "AUG") || datum == "AGD84") return "AGD_1984";
  if (starts_with(datum, "EUR")) return "ED_1950";
  if (starts_with(datum, "PRP")) return "PSAD_1956";
  if (starts_with(datum, "SAN")) return "SAD_1969";
  char name[64];
  kx_geogcs_name(geog, name);
  return std::strlen(name) > 4 ? std::string(name + 4) : std::string();
}

int keyword_projection(const Record &r, const ProjectionRow &row, const Shifts &shift,
                       Projcs *out) {
  Geogcs geog;
  int status = make_geogcs(r, &row, "DD", &geog);
  if (status != kOk) return status;
  Unit unit;
  status = unit_from_field(r.units, true, KX_U_METER, &unit);
  if (status != kOk) return status;
  ParameterReader pr(r, shift, kx_unit_factor(unit.get()));
  Projection projection;
  std::string zone;
  status = read_row(r, row, &pr, &projection, &zone);
  if (status != kOk) return status;
  std::string name = name_prefix(r.datum, geog.get());
  if (row.layout == Layout::Utm) {
    const double fn = pr.value(KX_PAR_FALSE_NORTHING);
    name += "_UTM_Zone_" + zone;
    if (zero(fn)) name += "N";
    else if (kx_eq(fn, kUtmSouthFalseNorthing)) name += "S";
  } else {
    char prj[64];
    kx_projection_name(projection.get(), prj);
    name += std::string("_") + prj;
  }
  return assemble(name, &geog, &projection, &pr.slots(), &unit, out);
}

}  // namespace

int build_coordsys(const Record &r, kx_coordsys *out) {
  *out = nullptr;
  if (starts_with(r.projection, "GEOG")) {
    Geogcs geog;
    const int status = make_geogcs(r, nullptr, r.units, &geog);
    if (status == kOk) *out = geog.release();
    return status;
  }
  Shifts shift;
  if (!read_number(r.xshift, &shift.x) || !read_number(r.yshift, &shift.y)) return kBadProjection;
  Projcs pcs;
  int status = kOk;
  if (starts_with(r.projection, "STATE")) {
    status = state_plane(r, shift, &pcs);
  } else if (starts_with(r.projection, "GREATBRITAIN")) {
    status = adjusted(27700, nullptr, "", shift.x, shift.y, kBadProjection, &pcs);
  } else if (starts_with(r.projection, "NEWZEALAND") && zero(shift.x) && zero(shift.y) &&
             starts_with(r.units, "MET")) {
    status = adjusted(27200, nullptr, "", 0.0, 0.0, kBadProjection, &pcs);
  } else if (starts_with(r.projection, "RSO")) {
    status = rso(r, shift, &pcs);
  } else {
    const ProjectionRow *row = find_projection_row(r.projection);
    status = row != nullptr ? keyword_projection(r, *row, shift, &pcs) : kBadProjection;
  }
  if (status == kOk) *out = pcs.release();
  return status;
}

int read_file(const char *path, std::string *text) {
  // Opened without blocking and checked on the descriptor, so a FIFO or a
  // directory is refused without being read.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kFileError;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
      static_cast<unsigned long long>(st.st_size) > KX_PRJFILE_MAX_BYTES) {
    close(fd);
    return kFileError;
  }
  text->clear();
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      close(fd);
      return kFileError;
    }
    if (n == 0) break;
    // The file may have grown since it was measured.
    if (text->size() + static_cast<std::size_t>(n) > KX_PRJFILE_MAX_BYTES) {
      close(fd);
      return kFileError;
    }
    text->append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return kOk;
}

}  // namespace kx::prjfile

namespace {

kx_coordsys from_text(const char *text, std::size_t length, int *status) {
  kx::prjfile::Record record;
  int s = kx::prjfile::parse_text(text, length, &record);
  kx_coordsys cs = nullptr;
  if (s == kx::prjfile::kOk) s = kx::prjfile::build_coordsys(record, &cs);
  *status = s;
  return cs;
}

}  // namespace

extern "C" {

KX_API kx_coordsys kx_coordsys_from_prjstring(const char *text, int *status) {
  return kx::prjfile::from_string(text, status, from_text);
}

KX_API kx_coordsys kx_coordsys_from_prjfile(const char *path, int *status) {
  return kx::prjfile::from_file(path, status, from_text);
}

}  // extern "C"
