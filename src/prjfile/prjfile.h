// Keyword projection files: the parsed record, the number readers of its
// fields, and the keyword tables that turn it into catalogue objects and
// back. Shared by the reader, the vertical-unit reader and the writer.
#ifndef KX_PRJFILE_PRJFILE_H
#define KX_PRJFILE_PRJFILE_H

#include <cstddef>
#include <string>

#include "kx.h"

namespace kx::prjfile {

// Status codes, as kx.h documents them.
enum Status {
  kOk = 0,
  kNoInput = -100,
  kFileError = -101,
  kUnknownKeyword = -102,
  kTooManyParameters = -103,
  kBadUnit = -104,
  kBadSpheroid = -105,
  kBadDatum = -106,
  kBadProjection = -107,
  kBadRso = -108,
  kBadZone = -109,
  kNoZunit = -110,
  kNoMemory = -200
};

constexpr int kParameterLines = 16;

// One file: the keyword fields (upper case, comment and outer blanks
// removed) and the parameter lines.
struct Record {
  std::string datum, fipszone, projection, spheroid, units, xshift, yshift, zone, zunits;
  std::string lines[kParameterLines];
  int nlines = 0;
};

// Splits and files the text (length bytes, NULs included) into record.
// kOk or the first failure.
int parse_text(const char *text, std::size_t length, Record *record);

// Field readers. A plain number is the first number of the text (0 when the
// text holds none); false when it is not finite. An integer is a whole
// number in int range at the start of the text, 0 when absent; false for one
// out of range. An angle is one to three numbers (degrees, minutes,
// seconds), negative when a '-' appears anywhere; false for any other text.
bool read_number(const std::string &text, double *value);
bool read_integer(const std::string &text, int *value);
bool read_angle(const std::string &text, double *degrees);

bool starts_with(const std::string &text, const char *prefix);

// ---- Datum and spheroid keywords --------------------------------------

struct DatumKeyword {
  const char *keyword;
  bool prefix;  // the field begins with the keyword (else equals it)
  int datum;    // catalogue datum code
};
extern const DatumKeyword kDatumKeywords[];
extern const std::size_t kDatumKeywordCount;

struct SpheroidKeyword {
  const char *keyword;
  bool prefix;
  int datum;  // catalogue datum built on the spheroid
};
extern const SpheroidKeyword kSpheroidKeywords[];
extern const std::size_t kSpheroidKeywordCount;

// The catalogue datum code of a datum or spheroid field, 0 when unknown.
int datum_code_of_keyword(const std::string &field);
int datum_code_of_spheroid(const std::string &field);

// ---- Units --------------------------------------------------------------

struct UnitKeyword {
  const char *keyword;
  bool prefix;
  int unit;
};
extern const UnitKeyword kUnitKeywords[];
extern const std::size_t kUnitKeywordCount;

constexpr double kIntlFeetPerMetre = 3.280839895013123;
constexpr double kIntlFeetPerMetreShort = 3.280839895;

// ---- Projections --------------------------------------------------------

// What a parameter line holds.
enum class Value : char {
  Angle,          // degrees, minutes, seconds -> the parameter
  Number,         // a plain number -> the parameter
  FalseEasting,   // metres, to the unit, plus the x shift
  FalseNorthing,  // metres, to the unit, plus the y shift
  Length          // metres, to the unit (a height)
};

struct LineRead {
  int line;  // 0 ends the list
  Value value;
  int parameter;  // catalogue parameter code (0 for the false origin)
  const char *comment;
};

// How a row reads beyond its fixed lines.
enum class Layout {
  Plain,            // the lines of the row
  Conic,            // line 1: 1 or 2 standard parallels, then angles
  ConicFalseOrigin, // as Conic, followed by false easting and northing
  Oblique,          // line 1 type: 1 two-point form, else azimuth form
  Utm,              // zone field or central meridian and latitude
  Stereographic,    // line 1 type: 1 oblique, 2 by the view text of line 4
  Polar,            // north or south form by the standard parallel's sign
  Ups,              // line 1 "SOUTHPOLE" or not
  Cylindrical       // line 1 must be 1
};

struct FixedValue {
  int parameter;  // 0 ends the list
  double value;
};

constexpr int kMaxLineReads = 8;

struct ProjectionRow {
  const char *keyword;
  bool prefix;
  bool sphere;  // the datum is a sphere of the radius on line 1
  int projection;
  Layout layout;
  LineRead lines[kMaxLineReads];
  FixedValue fixed[4];
  int omitted = 0;  // a parameter of the default group the keyword's form lacks
};
extern const ProjectionRow kProjectionRows[];
extern const std::size_t kProjectionRowCount;

// Extra line layouts of the rows that choose between forms.
extern const LineRead kObliqueTwoPoint[];  // projection 43025
extern const LineRead kObliqueAzimuth[];   // projection 43036
extern const LineRead kStereoOblique[];    // type 1, projection 43026
extern const LineRead kStereoEquatorial[]; // type 2 "EQUA...", 43026
extern const LineRead kStereoNorth[];      // type 2 "NO...", 43050
extern const LineRead kStereoSouth[];      // type 2 "SO...", 43051

// The first row whose keyword the projection field matches, or null.
const ProjectionRow *find_projection_row(const std::string &field);

// Comments the writer puts after parameter lines.
extern const char *const kCommentRadius;
extern const char *const kCommentZone;

// ---- State-plane zones (generated from the EPSG extract) ---------------

struct StatePlaneZone {
  int fips;       // FIPS zone, SSZZ
  int nad27;      // NAD 1927, US feet
  int nad83;      // NAD 1983, metres
  int nad83feet;  // NAD 1983, US feet
  int harn;       // NAD 1983 HARN, metres
};
extern const StatePlaneZone kStatePlaneZones[];
extern const std::size_t kStatePlaneZoneCount;

struct LegacyZone {
  int zone;
  int fips;
};
extern const LegacyZone kLegacyZones[];
extern const std::size_t kLegacyZoneCount;

// The zone of a FIPS number, or null.
const StatePlaneZone *find_state_plane_zone(int fips);

// ---- Writing ------------------------------------------------------------

// Degrees as "%4d %2d %s" with the seconds carried at 59.9999995.
std::string format_angle(double degrees);
// A length or plain number in the library's 16-digit form.
std::string format_number(double value);

}  // namespace kx::prjfile

#endif
