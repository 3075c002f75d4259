// Writing a coordinate system in the keyword form: the record is filled from
// the objects (keywords found by looking the catalogue objects up in the
// reader's own tables, so that what is written reads back), then emitted.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "kx_def.h"
#include "prjfile/prjfile.h"
#include "prjfile/prjfile_objects.h"
#include "prjfile/prjfile_read.h"

namespace kx::prjfile {

namespace {

// Largest angle the formatter writes, in degrees; larger ones are refused.
constexpr double kMaxAngle = 1.0e6;
constexpr double kUtmSouth = 10000000.0;

bool same_unit(kx_unit unit, int code) {
  Unit u(kx_factory_unit(code));
  return u && kx_unit_eq(unit, u.get()) != 0;
}

std::string units_text(kx_unit unit, bool angular) {
  struct Word {
    int code;
    const char *text;
  };
  static const Word kLinear[] = {{KX_U_METER, "METERS"}, {KX_U_FOOT_US, "FEET"}};
  static const Word kAngular[] = {{KX_U_DEGREE, "DD"}, {9103, "DM"}, {9104, "DS"}, {9101, "RADIANS"}};
  const Word *words = angular ? kAngular : kLinear;
  const int n = angular ? 4 : 2;
  for (int i = 0; i < n; ++i) {
    if (same_unit(unit, words[i].code)) return words[i].text;
  }
  if (!angular && same_unit(unit, KX_U_FOOT)) return format_number(kIntlFeetPerMetre);
  return format_number(1.0 / kx_unit_factor(unit));
}

// Of the keyword rows naming one catalogue datum, the longest keyword is the
// most telling ("NAD27" rather than "NAS").
template <typename Row>
const char *longest_keyword(const Row *rows, std::size_t n, int code) {
  const char *best = nullptr;
  for (std::size_t i = 0; i < n; ++i) {
    if (rows[i].datum == code && (best == nullptr || std::strlen(rows[i].keyword) > std::strlen(best))) {
      best = rows[i].keyword;
    }
  }
  return best;
}

// False for a spheroid the Parameters line cannot carry.
bool fill_datum(kx_datum datum, Record *r) {
  const int code = kx_factory_code(datum);
  if (const char *k = code != 0 ? longest_keyword(kDatumKeywords, kDatumKeywordCount, code) : nullptr) {
    r->datum = k;
    return true;
  }
  kx_spheroid sph = kx_datum_spheroid(datum);
  for (std::size_t i = 0; i < kSpheroidKeywordCount; ++i) {
    Datum d(kx_factory_datum(kSpheroidKeywords[i].datum));
    if (d && kx_spheroid_eq(kx_datum_spheroid(d.get()), sph) != 0) {
      r->spheroid = longest_keyword(kSpheroidKeywords, kSpheroidKeywordCount, kSpheroidKeywords[i].datum);
      return true;
    }
  }
  // The reader takes user axes from the Parameters line itself, the second
  // number as the semi-minor axis when it is at least 1, else as the
  // eccentricity squared.
  const double a = kx_spheroid_axis(sph);
  const double f = kx_spheroid_flattening(sph);
  const double b = a * (1.0 - f);
  const double e2 = f * (2.0 - f);
  if (b < 1.0 && !(e2 > 0.0)) return false;
  r->lines[0] = format_number(a) + " " + format_number(b >= 1.0 ? b : e2);
  if (r->nlines < 1) r->nlines = 1;
  return true;
}

struct Params {
  kx_parameter slot[16] = {};
  double get(int code) const {
    Owned<kx_parameter, kx_parameter_del> p(kx_factory_parameter(code));
    const int i = kx_parameter_index(p.get());
    return i >= 0 && i < 16 && slot[i] != nullptr ? kx_parameter_value(slot[i]) : 0.0;
  }
  bool has(int code) const {
    Owned<kx_parameter, kx_parameter_del> p(kx_factory_parameter(code));
    const int i = kx_parameter_index(p.get());
    return i >= 0 && i < 16 && slot[i] != nullptr;
  }
};

void put_line(Record *r, int line, const std::string &text) {
  r->lines[line] = text;
  if (r->nlines <= line) r->nlines = line + 1;
}

// Writes the lines of a layout; false when a value cannot be written.
bool write_lines(const LineRead *lines, int count, const Params &p, double factor, Record *r) {
  for (int i = 0; i < count && lines[i].line != 0; ++i) {
    const LineRead &l = lines[i];
    double v = 0.0;
    switch (l.value) {
      case Value::Angle:
      case Value::Number: v = p.get(l.parameter); break;
      case Value::FalseEasting: v = p.get(KX_PAR_FALSE_EASTING) * factor; break;
      case Value::FalseNorthing: v = p.get(KX_PAR_FALSE_NORTHING) * factor; break;
      case Value::Length: v = p.get(l.parameter) * factor; break;
    }
    if (!std::isfinite(v)) return false;
    if (l.value == Value::Angle && std::fabs(v) > kMaxAngle) return false;
    const std::string text = l.value == Value::Angle ? format_angle(v) : format_number(v);
    put_line(r, l.line, text + (l.comment != nullptr ? l.comment : ""));
  }
  return true;
}

const ProjectionRow *row_of(const char *keyword) {
  for (std::size_t i = 0; i < kProjectionRowCount; ++i) {
    if (std::strcmp(kProjectionRows[i].keyword, keyword) == 0) return &kProjectionRows[i];
  }
  return nullptr;
}

bool utm_zone(const Params &p, double factor, int *zone) {
  const double cm = p.get(KX_PAR_CENTRAL_MERIDIAN);
  const double z = (cm + 183.0) / 6.0;
  const double fn = p.get(KX_PAR_FALSE_NORTHING) * factor;
  if (!(z >= 1.0 && z <= 60.0) || z != std::floor(z)) return false;
  if (!kx_eq(p.get(KX_PAR_SCALE_FACTOR), 0.9996) || p.get(KX_PAR_LATITUDE_OF_ORIGIN) != 0.0) return false;
  if (!kx_eq(p.get(KX_PAR_FALSE_EASTING) * factor, 500000.0)) return false;
  if (fn != 0.0 && !kx_eq(fn, kUtmSouth)) return false;
  *zone = fn != 0.0 ? -static_cast<int>(z) : static_cast<int>(z);
  return true;
}

// Whether the record reads back as pcs (names aside), once a difference in
// the false origin alone is moved into the shifts, which the reader adds to
// the zone's or grid's own origin.
bool reads_back_as(kx_projcs pcs, Record *r) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    kx_coordsys cs = nullptr;
    if (build_coordsys(*r, &cs) != kOk) return false;
    Projcs back(static_cast<kx_projcs>(cs));
    if (kx_projcs_eqnn(back.get(), pcs) != 0) return true;
    Params a, b;
    kx_projcs_parameters(pcs, a.slot);
    kx_projcs_parameters(back.get(), b.slot);
    const double dx = a.get(KX_PAR_FALSE_EASTING) - b.get(KX_PAR_FALSE_EASTING);
    const double dy = a.get(KX_PAR_FALSE_NORTHING) - b.get(KX_PAR_FALSE_NORTHING);
    if (attempt == 1 || !std::isfinite(dx) || !std::isfinite(dy) || (dx == 0.0 && dy == 0.0)) {
      return false;
    }
    r->xshift = dx != 0.0 ? format_number(dx) : std::string();
    r->yshift = dy != 0.0 ? format_number(dy) : std::string();
  }
  return false;
}

bool state_plane(kx_projcs pcs, Record *r) {
  char name[64];
  kx_projcs_name(pcs, name);
  const char *fips = std::strstr(name, "_FIPS_");
  if (std::strstr(name, "_StatePlane_") == nullptr || fips == nullptr) return false;
  if (r->datum != "NAD27" && r->datum != "NAD83" && r->datum != "HPGN") return false;
  std::string zone(fips + 6);
  if (zone.size() < 4) return false;
  zone.resize(4);
  for (char c : zone) {
    if (c < '0' || c > '9') return false;
  }
  if (zone[0] == '0') zone.erase(0, 1);
  // The zone as the table gives it, shifted if need be; a system the zone
  // does not read back as (other parameters, a zone the table lacks) is
  // written by its projection instead.
  Record s = *r;
  s.projection = "STATEPLANE";
  s.fipszone = zone;
  if (!reads_back_as(pcs, &s)) return false;
  *r = s;
  return true;
}

// The projection keyword and parameter lines of a projected CS.
int fill_projection(kx_projcs pcs, Record *r) {
  const double factor = kx_unit_factor(kx_projcs_unit(pcs));
  Params p;
  kx_projcs_parameters(pcs, p.slot);
  const int code = kx_factory_code(kx_projcs_projection(pcs));
  if (state_plane(pcs, r)) return kOk;
  if (code == KX_PRJ_TRANSVERSE_MERCATOR) {
    int zone = 0;
    if (utm_zone(p, factor, &zone)) {
      r->projection = "UTM";
      r->zone = std::to_string(zone);
      return kOk;
    }
  }
  const ProjectionRow *row = nullptr;
  const LineRead *lines = nullptr;
  int count = kMaxLineReads;
  switch (code) {
    case KX_PRJ_EQUIDISTANT_CONIC: {
      row = row_of("EQUIDISTANT");
      const bool one = p.get(KX_PAR_STANDARD_PARALLEL_1) == p.get(KX_PAR_STANDARD_PARALLEL_2);
      static const LineRead kOne[] = {{2, Value::Angle, KX_PAR_STANDARD_PARALLEL_1, " /* standard parallel"},
                                      {3, Value::Angle, KX_PAR_CENTRAL_MERIDIAN, " /* central meridian"},
                                      {4, Value::Angle, KX_PAR_LATITUDE_OF_ORIGIN, " /* latitude of projection's origin"},
                                      {5, Value::FalseEasting, 0, " /* false easting (meters)"},
                                      {6, Value::FalseNorthing, 0, " /* false northing (meters)"}};
      static const LineRead kTwo[] = {{2, Value::Angle, KX_PAR_STANDARD_PARALLEL_1, " /* 1st standard parallel"},
                                      {3, Value::Angle, KX_PAR_STANDARD_PARALLEL_2, " /* 2nd standard parallel"},
                                      {4, Value::Angle, KX_PAR_CENTRAL_MERIDIAN, " /* central meridian"},
                                      {5, Value::Angle, KX_PAR_LATITUDE_OF_ORIGIN, " /* latitude of projection's origin"},
                                      {6, Value::FalseEasting, 0, " /* false easting (meters)"},
                                      {7, Value::FalseNorthing, 0, " /* false northing (meters)"}};
      put_line(r, 1, std::string(one ? "1" : "2") + " /* number of standard parallels");
      lines = one ? kOne : kTwo;
      count = one ? 5 : 6;
      break;
    }
    case KX_PRJ_HOTINE_TWO_POINT_NATORIGIN:
    case KX_PRJ_HOTINE_AZIMUTH_NATORIGIN: {
      const bool two_point = code == KX_PRJ_HOTINE_TWO_POINT_NATORIGIN;
      row = row_of("HOTINE");
      put_line(r, 1, std::string(two_point ? "1" : "2") + " /* oblique mercator type");
      lines = two_point ? kObliqueTwoPoint : kObliqueAzimuth;
      break;
    }
    case KX_PRJ_STEREOGRAPHIC: {
      row = row_of("STEREOGRAPHIC");
      if (p.get(KX_PAR_FALSE_EASTING) == 0.0 && p.get(KX_PAR_FALSE_NORTHING) == 0.0) {
        put_line(r, 1, "2 /* stereographic type");
        put_line(r, 4, "EQUATORIAL /* view");
        lines = kStereoEquatorial;
      } else if (p.get(KX_PAR_SCALE_FACTOR) == 1.0) {
        put_line(r, 1, "1 /* stereographic type");
        put_line(r, 2, format_number(kx_spheroid_axis(kx_datum_spheroid(kx_geogcs_datum(kx_projcs_geogcs(pcs))))) +
                           kCommentRadius);
        lines = kStereoOblique;
      } else {
        return kBadProjection;
      }
      break;
    }
    case KX_PRJ_STEREOGRAPHIC_NORTH_POLE:
    case KX_PRJ_STEREOGRAPHIC_SOUTH_POLE: {
      const double sp = p.get(KX_PAR_STANDARD_PARALLEL_1);
      if ((sp < 0.0) != (code == KX_PRJ_STEREOGRAPHIC_SOUTH_POLE)) return kBadProjection;
      row = row_of("POLAR");
      break;
    }
    case KX_PRJ_LAMBERT_CONFORMAL_CONIC: {
      // The one-parallel form is the cone through its parallel, when it
      // keeps the scale there.
      if (p.has(KX_PAR_SCALE_FACTOR) && p.get(KX_PAR_SCALE_FACTOR) != 1.0) return kBadProjection;
      row = row_of("LAMBERT");
      if (!p.has(KX_PAR_STANDARD_PARALLEL_2)) {
        static const LineRead kOne[] = {{1, Value::Angle, KX_PAR_STANDARD_PARALLEL_1, " /* 1st standard parallel"},
                                        {2, Value::Angle, KX_PAR_STANDARD_PARALLEL_1, " /* 2nd standard parallel"},
                                        {3, Value::Angle, KX_PAR_CENTRAL_MERIDIAN, " /* central meridian"},
                                        {4, Value::Angle, KX_PAR_LATITUDE_OF_ORIGIN, " /* latitude of projection's origin"},
                                        {5, Value::FalseEasting, 0, " /* false easting (meters)"},
                                        {6, Value::FalseNorthing, 0, " /* false northing (meters)"}};
        lines = kOne;
        count = 6;
      }
      break;
    }
    case KX_PRJ_CYLINDRICAL_EQAREA:
      row = row_of("CYLINDRICAL");
      put_line(r, 1, "1 /* cylindrical type");
      break;
    default:
      for (std::size_t i = 0; i < kProjectionRowCount && row == nullptr; ++i) {
        const ProjectionRow &c = kProjectionRows[i];
        if (c.projection == code && c.layout == Layout::Plain) row = &c;
      }
      break;
  }
  if (row == nullptr) return kBadProjection;
  // Fixed values the keyword implies must be the system's own.
  for (int i = 0; i < 4 && row->fixed[i].parameter != 0; ++i) {
    const FixedValue &f = row->fixed[i];
    double v = p.get(f.parameter);
    if (f.parameter == KX_PAR_FALSE_EASTING || f.parameter == KX_PAR_FALSE_NORTHING) v *= factor;
    if (!kx_eq(v, f.value)) return kBadProjection;
  }
  // The sphere-based keywords read their datum as a sphere: an ellipsoid
  // cannot be written with them.
  const bool sphere_form = row->sphere || (row->layout == Layout::Stereographic && lines == kStereoOblique);
  if (sphere_form && kx_spheroid_flattening(kx_datum_spheroid(kx_geogcs_datum(kx_projcs_geogcs(pcs)))) != 0.0) {
    return kBadProjection;
  }
  r->projection = row->keyword;
  if (row->sphere) {
    put_line(r, 1, format_number(kx_spheroid_axis(kx_datum_spheroid(kx_geogcs_datum(kx_projcs_geogcs(pcs))))) +
                       kCommentRadius);
  }
  const LineRead *used = lines != nullptr ? lines : row->lines;
  if (!write_lines(used, count, p, factor, r)) return kBadProjection;
  // A false origin no line or fixed value carries goes in the shifts, which
  // the reader adds to it (already in the projected unit).
  const int origin[2] = {KX_PAR_FALSE_EASTING, KX_PAR_FALSE_NORTHING};
  const Value kind[2] = {Value::FalseEasting, Value::FalseNorthing};
  std::string *shift[2] = {&r->xshift, &r->yshift};
  for (int k = 0; k < 2; ++k) {
    bool carried = false;
    for (int i = 0; i < count && used[i].line != 0; ++i) carried = carried || used[i].value == kind[k];
    for (int i = 0; i < 4 && row->fixed[i].parameter != 0; ++i) carried = carried || row->fixed[i].parameter == origin[k];
    const double v = p.get(origin[k]);
    if (!std::isfinite(v)) return kBadProjection;
    if (!carried && v != 0.0) *shift[k] = format_number(v);
  }
  return kOk;
}

int fill_record(kx_coordsys cs, kx_unit zunit, Record *r) {
  kx_geogcs geog = nullptr;
  kx_projcs pcs = nullptr;
  if (kx_projcs_p(static_cast<kx_projcs>(cs)) != 0) {
    pcs = static_cast<kx_projcs>(cs);
    geog = kx_projcs_geogcs(pcs);
  } else if (kx_geogcs_p(static_cast<kx_geogcs>(cs)) != 0) {
    geog = static_cast<kx_geogcs>(cs);
  } else {
    return kNoInput;
  }
  // The keyword form has no prime meridian but Greenwich's.
  if (kx_primem_longitude(kx_geogcs_primem(geog)) != 0.0) return kBadProjection;
  if (!fill_datum(kx_geogcs_datum(geog), r)) return kBadProjection;
  if (zunit != nullptr && kx_unit_p(zunit) != 0) {
    r->zunits = same_unit(zunit, KX_U_METER)     ? "METERS"
                : same_unit(zunit, KX_U_FOOT_US) ? "FEET"
                                                 : format_number(1.0 / kx_unit_factor(zunit));
  }
  if (pcs == nullptr) {
    r->projection = "GEOGRAPHIC";
    r->units = units_text(kx_geogcs_unit(geog), true);
    return kOk;
  }
  r->units = units_text(kx_projcs_unit(pcs), false);
  // Angle lines are in degrees, the unit the reader gives a projected
  // system's geographic CS: other angular units are converted first.
  Projcs in_degrees;
  Unit degree(kx_factory_unit(KX_U_DEGREE));
  if (!degree) return kNoMemory;
  if (kx_unit_eq(kx_geogcs_unit(geog), degree.get()) == 0) {
    in_degrees.reset(kx_projcs_clone_alterunits(pcs, nullptr, degree.get()));
    if (!in_degrees) return kNoMemory;
    pcs = in_degrees.get();
  }
  char name[64];
  kx_projcs_name(pcs, name);
  // The named grids are written by name only when they are what that
  // name reads back as.
  static const struct {
    const char *prefix;
    int code;        // the catalogue system it must equal, or 0
    int projection;  // else the projection it must have
    const char *keyword;
    const char *line1;
  } kNamed[] = {{"OSGB_1936_British_National_Grid", 27700, 0, "GREATBRITAIN", nullptr},
                {"NZGD_1949_New_Zealand_Map_Grid", 27200, 0, "NEWZEALAND", nullptr},
                {"Timbalai_1948_RSO_Borneo", 0, KX_PRJ_RSO_NATORIGIN, "RSO", "1 /* Brunei"},
                {"Everest_Modified_1969_RSO_Malaya", 0, KX_PRJ_RSO_NATORIGIN, "RSO", "2 /* Malaysia"}};
  for (const auto &n : kNamed) {
    if (std::strncmp(name, n.prefix, std::strlen(n.prefix)) != 0) continue;
    if (n.code != 0) {
      Projcs named(kx_factory_projcs(n.code));
      if (!named || kx_projcs_eq(named.get(), pcs) == 0) continue;
    } else if (kx_factory_code(kx_projcs_projection(pcs)) != n.projection) {
      continue;
    }
    Record s = *r;
    s.projection = n.keyword;
    if (n.line1 != nullptr) put_line(&s, 1, n.line1);
    // An RSO grid reads back as the catalogue's, shifted if need be: any
    // other change of it cannot be written with the keyword.
    if (n.code == 0 && !reads_back_as(pcs, &s)) continue;
    *r = s;
    return kOk;
  }
  return fill_projection(pcs, r);
}

void emit(std::string *out, const char *keyword, const std::string &value) {
  if (value.empty()) return;
  char key[16];
  std::snprintf(key, sizeof key, "%-14s", keyword);
  *out += key;
  *out += value;
  *out += '\n';
}

int render(kx_coordsys cs, kx_unit zunit, std::string *out) {
  Record r;
  const int status = fill_record(cs, zunit, &r);
  if (status != kOk) return status;
  emit(out, "Projection", r.projection);
  emit(out, "Fipszone", r.fipszone);
  emit(out, "Zone", r.zone);
  emit(out, "Datum", r.datum);
  emit(out, "Spheroid", r.spheroid);
  emit(out, "Units", r.units);
  emit(out, "Zunits", r.zunits);
  emit(out, "Xshift", r.xshift);
  emit(out, "Yshift", r.yshift);
  if (r.lines[0].empty()) {
    *out += "Parameters\n";
  } else {
    emit(out, "Parameters", r.lines[0]);
  }
  // Every line up to the last one is written: a line left out would move
  // the ones after it.
  for (int i = 1; i < r.nlines; ++i) {
    *out += r.lines[i].empty() ? std::string(" /* not used") : r.lines[i];
    *out += '\n';
  }
  return out->size() <= KX_PRJSTRING_MAX ? kOk : kBadProjection;
}

int write_all(int fd, const std::string &text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return kFileError;
    done += static_cast<std::size_t>(n);
  }
  return kOk;
}

}  // namespace

std::string format_angle(double degrees) {
  const double a = std::fabs(degrees);
  long long d = static_cast<long long>(a);
  long long m = static_cast<long long>((3600.0 * a - 3600.0 * static_cast<double>(d)) / 60.0);
  double s = 3600.0 * a - 3600.0 * static_cast<double>(d) - 60.0 * static_cast<double>(m);
  // Rounding can leave a whole degree in the minutes.
  if (m >= 60) {
    m -= 60;
    ++d;
  }
  // Seconds that would print as 60 (also just below the limit, once
  // rounded to microseconds) carry into the minute.
  if (s >= 59.9999995 || std::llround(s * 1.0e6) >= 60000000) {
    s = 0.0;
    if (++m == 60) {
      m = 0;
      ++d;
    }
  }
  // Seconds as "%9.6f" would write them (two integer places, six decimals),
  // in integers so that no locale is involved.
  long long micro = std::llround(s * 1.0e6);
  if (micro < 0) micro = 0;
  char sec[32];
  std::snprintf(sec, sizeof sec, "%2lld.%06lld", micro / 1000000, micro % 1000000);
  std::size_t len = std::strlen(sec);
  while (len > 0 && sec[len - 1] == '0') sec[--len] = '\0';
  if (len > 0 && sec[len - 1] == '.') std::strcat(sec, "0");
  char text[96];
  if (degrees < 0.0 && d == 0) {
    std::snprintf(text, sizeof text, "%4s %2lld %s", "  -0", m, sec);
  } else {
    std::snprintf(text, sizeof text, "%4lld %2lld %s", degrees < 0.0 ? -d : d, m, sec);
  }
  return text;
}

std::string format_number(double value) {
  char text[64];
  kx_dtoa(value, text, 16);
  return text;
}

}  // namespace kx::prjfile

namespace {

using namespace kx::prjfile;

int finish(int code, int *status) {
  if (status != nullptr) *status = code;
  return code;
}

}  // namespace

extern "C" {

KX_API int kx_coordsys_to_prjstring(kx_coordsys cs, kx_unit zunit, char *text, int *status) {
  if (text == nullptr) return finish(kNoInput, status);
  text[0] = '\0';
  try {
    std::string out;
    const int code = render(cs, zunit, &out);
    if (code == kOk) std::memcpy(text, out.c_str(), out.size() + 1);
    return finish(code, status);
  } catch (const std::exception &) {
    return finish(kNoMemory, status);
  }
}

KX_API int kx_coordsys_to_prjfile(kx_coordsys cs, kx_unit zunit, const char *path, int *status) {
  if (path == nullptr || path[0] == '\0') return finish(kNoInput, status);
  try {
    std::string out;
    const int code = render(cs, zunit, &out);
    if (code != kOk) return finish(code, status);
    // Not blocking, and only onto a regular file: a FIFO without a reader
    // or a device is refused rather than waited on.
    const int fd = open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return finish(kFileError, status);
    struct stat st;
    int result = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ftruncate(fd, 0) == 0
                     ? write_all(fd, out)
                     : kFileError;
    // A failed close can mean lost data (deferred write errors).
    if (close(fd) != 0) result = kFileError;
    return finish(result, status);
  } catch (const std::exception &) {
    return finish(kNoMemory, status);
  }
}

}  // extern "C"
