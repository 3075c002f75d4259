// The keyword tables of the projection files: datum keywords (the legacy
// three-letter datum codes and a few names, tried in this order), spheroid
// keywords, unit keywords and the projection keywords with the parameter
// lines each one reads.
#include <cstring>

#include "kx_def.h"
#include "prjfile/prjfile.h"

namespace kx::prjfile {

// Codes the catalogue cannot build (IND_B, IND_I, ALASKA, and 0 for legacy
// codes whose datum could not be established) fail as an unknown datum.
// SAN names South American 1969, which the catalogue holds as 6618 (6291 is
// withdrawn for its ellipsoid).
const DatumKeyword kDatumKeywords[] = {
    {"IND_B", false, 106202}, {"IND_I", false, 106203}, {"NAS", true, 6267},
    {"NAR", true, 6269},      {"EUR", true, 6230},      {"EUS", true, 6668},
    {"HJO", false, 6658},     {"NAD83", true, 6269},    {"NAD27", false, 6267},
    {"WGS72", false, 6322},   {"WGS84", false, 6326},   {"OLD_HAWAIIAN", false, 6135},
    {"IRL", false, 6299},     {"OGB", true, 6277},      {"MOD", false, 6265},
    {"BOO", false, 6218},     {"CAI", false, 6221},     {"CHU", false, 6224},
    {"COA", false, 6225},     {"PRP", true, 6248},      {"HIT", false, 6254},
    {"SAN", true, 6618},      {"ZAN", false, 6311},     {"AUA", true, 6202},
    {"AUG", true, 6203},      {"AIN", true, 6204},      {"BAT", false, 6211},
    {"HKD", false, 6738},     {"HTN", false, 6236},     {"INF", true, 6239},
    {"INH", true, 6240},      {"KAN", false, 6244},     {"KEA", false, 6245},
    {"NAH", true, 6270},      {"FAH", false, 6232},     {"QAT", false, 6285},
    {"SOA", false, 106004},   {"TIL", false, 6298},     {"TOY", true, 6301},
    {"ADI", true, 6201},      {"AFG", false, 6205},     {"ARF", true, 6209},
    {"ARS", true, 6210},      {"PHA", false, 6713},     {"BID", false, 6165},
    {"CAP", false, 6222},     {"CGE", false, 6223},     {"DAL", false, 6155},
    {"LEH", false, 6250},     {"LIB", false, 6251},     {"MAS", false, 6262},
    {"MER", false, 6261},     {"MIN", true, 6263},      {"MPO", false, 6266},
    {"OEG", false, 6229},     {"PTB", false, 6620},     {"PTN", false, 6282},
    {"SCK", false, 6293},     {"ATF", false, 6709},     {"TRN", false, 6707},
    {"ASQ", false, 6711},     {"IBE", false, 6714},     {"CAO", false, 6716},
    {"CHI", false, 6672},     {"GIZ", false, 6718},     {"EAS", false, 6719},
    {"GEO", false, 6272},     {"GUA", false, 6675},     {"DOB", false, 6718},
    {"JOH", false, 6725},     {"KUS", false, 6735},     {"LUZ", true, 6253},
    {"MID", false, 6727},     {"OHA", true, 6135},      {"PIT", false, 6729},
    {"SAE", false, 6730},     {"MVS", false, 6731},     {"ENW", false, 6732},
    {"WAK", false, 6733},     {"ANO", false, 6708},     {"GAA", false, 6684},
    {"IST", false, 6724},     {"KEG", false, 6698},     {"MIK", false, 6256},
    {"REU", false, 6626},     {"AIA", false, 6601},     {"ASC", false, 6712},
    {"SHB", false, 6710},     {"BER", false, 6216},     {"CAC", false, 6717},
    {"FOT", false, 6605},     {"GRA", false, 6183},     {"ISG", false, 6722},
    {"LCF", false, 6726},     {"ASM", false, 6604},     {"NAP", false, 6271},
    {"FLO", false, 6182},     {"PLN", false, 6728},     {"POS", false, 6615},
    {"PUR", false, 6139},     {"QUO", false, 6194},     {"SAO", false, 6184},
    {"SAP", false, 6292},     {"SGM", false, 6616},     {"TDC", false, 6734},
    {"NWL9D", false, 6276},   {"SAM", false, 6125},     {"BOR", false, 0},
    {"CAZ", false, 6715},     {"DEI", false, 0},        {"GSF", false, 6295},
    {"INV", true, 6238},      {"NOS", false, 6307},     {"PUL", false, 6284},
    {"SHU", false, 0},        {"SJT", false, 6156},     {"TAN", false, 6297},
    {"VOI", false, 6304},     {"YAC", false, 6309},     {"HPGN", false, 6152},
    {"ALASKA", true, 106260}, {"AGD84", false, 6203},   {"GDA94", false, 6283},
    {"AMA", false, 6169},     {"BUR", false, 6219},     {"CCD", false, 6156},
    {"DID", false, 6736},     {"GSE", false, 6613},     {"HEN", false, 6255},
    {"ING", true, 6131},      {"NSD", false, 6307},     {"PUK", false, 6284},
    {"SPK", true, 6284},      {"VOR", false, 0},        {"EST", false, 0},
    {"HER", false, 6312},     {"SRL", false, 0},        {"JGD2000", false, 6612},
};
const std::size_t kDatumKeywordCount = sizeof kDatumKeywords / sizeof kDatumKeywords[0];
static_assert(sizeof kDatumKeywords / sizeof kDatumKeywords[0] == 138, "the datum chain");

// International 1967 is the GRS 1967 ellipsoid (6036); South American 1969
// is the datum on its modified form (6618). 6023 is not in the catalogue.
const SpheroidKeyword kSpheroidKeywords[] = {
    {"AIRY", false, 6001},
    {"AUSTRALIAN", true, 6003},
    {"BESSEL", false, 6004},
    {"CLARKE1866", false, 6008},
    {"NAD27", false, 6008},
    {"CLARKE1880", false, 6012},
    {"EVEREST", false, 6015},
    {"EVEREST1956", false, 6044},
    {"EVEREST1969", false, 106006},
    {"EVEREST_SS", false, 6016},
    {"FISCHER1960", false, 106002},
    {"MERCURY1960", false, 106002},
    {"MERCURY60", false, 106002},
    {"FISCHER1968", false, 106003},
    {"MERCURY1968", false, 106003},
    {"MERCURY68", false, 106003},
    {"GRS1980", false, 6019},
    {"GRS80", false, 6019},
    {"NAD83", false, 6019},
    {"HAYFORD", false, 6022},
    {"INT1909", false, 6022},
    {"INTERNATIONAL1909", false, 6022},
    {"INT1924", false, 6022},
    {"INT1967", false, 6036},
    {"INTERNATIONAL1967", false, 6036},
    {"SAMERICAN1969", false, 6618},
    {"SOUTHAMERICAN1969", false, 6618},
    {"HELMERT1906", false, 6020},
    {"HOUGH", false, 106005},
    {"KRASOVSKY", false, 6024},
    {"KRASSOVSKY", false, 6024},
    {"MODAIRY", false, 6002},
    {"MODIFIEDAIRY", false, 6002},
    {"MODEVEREST", false, 6018},
    {"MODIFIEDEVEREST", false, 6018},
    {"MODFISCHER1960", false, 106004},
    {"MODIFIEDFISCHER1960", false, 106004},
    {"SEASIA", false, 106004},
    {"SOUTHEASTASIA", false, 106004},
    {"SPHERE", false, 106008},
    {"WALBECK", false, 106007},
    {"WGS1966", false, 106001},
    {"WGS66", false, 106001},
    {"WGS72", false, 6322},
    {"WGS1972", false, 6322},
    {"WGS84", false, 6326},
    {"WGS1984", false, 6326},
};
const std::size_t kSpheroidKeywordCount = sizeof kSpheroidKeywords / sizeof kSpheroidKeywords[0];
static_assert(sizeof kSpheroidKeywords / sizeof kSpheroidKeywords[0] == 47, "the spheroid names");

// Units by word; numbers are handled by the reader.
const UnitKeyword kUnitKeywords[] = {
    {"MET", true, 9001}, {"FE", true, 9003},  {"DD", false, 9102},
    {"DM", false, 9103}, {"DS", false, 9104}, {"RA", true, 9101},
};
const std::size_t kUnitKeywordCount = sizeof kUnitKeywords / sizeof kUnitKeywords[0];

namespace {

constexpr const char *kCm = " /* longitude of central meridian";
constexpr const char *kTrueScale = " /* latitude of true scale";
constexpr const char *kFe = " /* false easting (meters)";
constexpr const char *kFn = " /* false northing (meters)";
constexpr const char *kSp1 = " /* 1st standard parallel";
constexpr const char *kSp2 = " /* 2nd standard parallel";
constexpr const char *kCentral = " /* central meridian";
constexpr const char *kOrigin = " /* latitude of projection's origin";
constexpr const char *kScale = " /* scale factor at central meridian";
constexpr const char *kCenterLon = " /* longitude of projection's center";
constexpr const char *kCenterLat = " /* latitude of projection's center";

constexpr Value A = Value::Angle;
constexpr Value N = Value::Number;
constexpr Value E = Value::FalseEasting;
constexpr Value F = Value::FalseNorthing;

#define KX_CM(l) {l, A, KX_PAR_CENTRAL_MERIDIAN, kCm}
#define KX_FE(l) {l, E, 0, kFe}
#define KX_FN(l) {l, F, 0, kFn}

}  // namespace

const char *const kCommentRadius = " /* radius of the sphere of reference";
const char *const kCommentZone = " /* zone";

const ProjectionRow kProjectionRows[] = {
    {"ALBERS", false, false, KX_PRJ_ALBERS, Layout::Plain,
     {{1, A, KX_PAR_STANDARD_PARALLEL_1, kSp1}, {2, A, KX_PAR_STANDARD_PARALLEL_2, kSp2},
      {3, A, KX_PAR_CENTRAL_MERIDIAN, kCentral}, {4, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin},
      KX_FE(5), KX_FN(6)},
     {}},
    // The two-parallel form, which has no scale factor.
    {"LAMBERT", false, false, KX_PRJ_LAMBERT_CONFORMAL_CONIC, Layout::Plain,
     {{1, A, KX_PAR_STANDARD_PARALLEL_1, kSp1}, {2, A, KX_PAR_STANDARD_PARALLEL_2, kSp2},
      {3, A, KX_PAR_CENTRAL_MERIDIAN, kCentral}, {4, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin},
      KX_FE(5), KX_FN(6)},
     {},
     KX_PAR_SCALE_FACTOR},
    {"SIMPLE_CONIC", false, false, KX_PRJ_EQUIDISTANT_CONIC, Layout::Conic, {}, {}},
    {"EQUIDISTANT", true, false, KX_PRJ_EQUIDISTANT_CONIC, Layout::ConicFalseOrigin, {}, {}},
    {"OBLIQUE_MERCATOR", false, false, 0, Layout::Oblique, {}, {}},
    {"OBLIQUE", false, false, 0, Layout::Oblique, {}, {}},
    {"HOTINE", false, false, 0, Layout::Oblique, {}, {}},
    {"ECKERT6", false, false, KX_PRJ_ECKERT_VI, Layout::Plain, {KX_CM(1)}, {}},
    {"ECKERTVI", false, false, KX_PRJ_ECKERT_VI, Layout::Plain, {KX_CM(1)}, {}},
    {"ECKERT4", false, false, KX_PRJ_ECKERT_IV, Layout::Plain, {KX_CM(1)}, {}},
    {"ECKERTIV", false, false, KX_PRJ_ECKERT_IV, Layout::Plain, {KX_CM(1)}, {}},
    {"BONNE", false, false, KX_PRJ_BONNE, Layout::Plain,
     {KX_CM(1), {2, A, KX_PAR_STANDARD_PARALLEL_1, kSp1}, KX_FE(3), KX_FN(4)}, {}},
    {"CASSINI", false, false, KX_PRJ_CASSINI, Layout::Plain,
     {KX_CM(1), {2, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin}, KX_FE(3), KX_FN(4)},
     {{KX_PAR_SCALE_FACTOR, 1.0}}},
    {"EQUIRECTANGULAR", false, true, KX_PRJ_EQUIDISTANT_CYLINDRICAL, Layout::Plain,
     {KX_CM(2), {3, A, KX_PAR_STANDARD_PARALLEL_1, kTrueScale}, KX_FE(4), KX_FN(5)}, {}},
    {"GALL_STEREOGRAPHIC", false, false, KX_PRJ_GALL_STEREOGRAPHIC, Layout::Plain, {KX_CM(1)}, {}},
    {"GALLS_STEREOGRAPHIC", false, false, KX_PRJ_GALL_STEREOGRAPHIC, Layout::Plain, {KX_CM(1)},
     {}},
    {"GRINTEN", false, false, KX_PRJ_VAN_DER_GRINTEN_I, Layout::Plain,
     {KX_CM(2), KX_FE(3), KX_FN(4)}, {}},
    {"LOCAL", false, false, KX_PRJ_LOCAL, Layout::Plain,
     {{1, A, KX_PAR_LONGITUDE_OF_CENTER, kCenterLon}, {2, A, KX_PAR_LATITUDE_OF_CENTER, kCenterLat}},
     {{KX_PAR_AZIMUTH, 0.0}, {KX_PAR_SCALE_FACTOR, 1.0}}},
    {"MERCATOR", false, false, KX_PRJ_MERCATOR, Layout::Plain,
     {KX_CM(1), {2, A, KX_PAR_STANDARD_PARALLEL_1, kTrueScale}, KX_FE(3), KX_FN(4)}, {}},
    {"MILLER", false, true, KX_PRJ_MILLER_CYLINDRICAL, Layout::Plain,
     {KX_CM(2), KX_FE(3), KX_FN(4)}, {}},
    {"MOLLWEIDE", false, false, KX_PRJ_MOLLWEIDE, Layout::Plain, {KX_CM(1)}, {}},
    {"POLYCONIC", false, false, KX_PRJ_POLYCONIC, Layout::Plain,
     {KX_CM(1), {2, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin}, KX_FE(3), KX_FN(4)}, {}},
    {"ROBINSON", false, false, KX_PRJ_ROBINSON_VELMAR, Layout::Plain,
     {KX_CM(1), KX_FE(2), KX_FN(3)}, {}},
    {"SINUSOIDAL", false, true, KX_PRJ_SINUSOIDAL, Layout::Plain,
     {KX_CM(2), KX_FE(3), KX_FN(4)}, {}},
    {"TRANSVERSE", false, false, KX_PRJ_TRANSVERSE_MERCATOR, Layout::Plain,
     {{1, N, KX_PAR_SCALE_FACTOR, kScale}, KX_CM(2), {3, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin},
      KX_FE(4), KX_FN(5)},
     {}},
    {"UTM", false, false, KX_PRJ_TRANSVERSE_MERCATOR, Layout::Utm, {}, {}},
    {"TWO_POINT", true, false, KX_PRJ_TWO_POINT_EQUIDISTANT, Layout::Plain,
     {{1, A, KX_PAR_LONGITUDE_OF_1ST, " /* longitude of 1st point"},
      {2, A, KX_PAR_LATITUDE_OF_1ST, " /* latitude of 1st point"},
      {3, A, KX_PAR_LONGITUDE_OF_2ND, " /* longitude of 2nd point"},
      {4, A, KX_PAR_LATITUDE_OF_2ND, " /* latitude of 2nd point"}},
     {}},
    {"STEREOGRAPHIC", true, false, 0, Layout::Stereographic, {}, {}},
    {"POLAR", true, false, 0, Layout::Polar,
     {KX_CM(1), {2, A, KX_PAR_STANDARD_PARALLEL_1, kTrueScale}, KX_FE(3), KX_FN(4)}, {}},
    {"UNIVERSAL", true, false, 0, Layout::Ups, {}, {}},
    {"UPS", true, false, 0, Layout::Ups, {}, {}},
    {"LAMBERT_AZIMUTH", true, true, KX_PRJ_LAMBERT_AZIMUTHAL_EQAREA, Layout::Plain,
     {KX_CM(2), {3, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin}, KX_FE(4), KX_FN(5)}, {}},
    {"AZIMUTHAL", true, true, KX_PRJ_AZIMUTHAL_EQUIDISTANT, Layout::Plain,
     {KX_CM(2), {3, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin}, KX_FE(4), KX_FN(5)}, {}},
    {"CYLINDRICAL", true, false, KX_PRJ_CYLINDRICAL_EQAREA, Layout::Cylindrical,
     {KX_CM(2), {3, A, KX_PAR_STANDARD_PARALLEL_1, kTrueScale}}, {}},
    // The origin latitude of the grid is -41 degrees; 0 would move every point.
    {"NEWZEALAND", true, false, KX_PRJ_NEW_ZEALAND_MAP_GRID, Layout::Plain, {},
     {{KX_PAR_LONGITUDE_OF_ORIGIN, 173.0}, {KX_PAR_LATITUDE_OF_ORIGIN, -41.0},
      {KX_PAR_FALSE_EASTING, 2510000.0}, {KX_PAR_FALSE_NORTHING, 6023150.0}}},
    {"AITOFF", false, true, KX_PRJ_AITOFF, Layout::Plain, {KX_CM(2), KX_FE(3), KX_FN(4)}, {}},
    {"HAMMER", true, false, KX_PRJ_HAMMER_AITOFF, Layout::Plain, {KX_CM(1)}, {}},
    {"ORTHOGRAPHIC", false, true, KX_PRJ_ORTHOGRAPHIC, Layout::Plain,
     {{2, A, KX_PAR_LONGITUDE_OF_CENTER, kCenterLon}, {3, A, KX_PAR_LATITUDE_OF_CENTER, kCenterLat},
      KX_FE(4), KX_FN(5)},
     {}},
    {"WINKEL", true, true, KX_PRJ_WINKEL_TRIPEL, Layout::Plain,
     {KX_CM(2), {3, A, KX_PAR_STANDARD_PARALLEL_1, kSp1}, KX_FE(4), KX_FN(5)}, {}},
    {"FLAT", true, false, KX_PRJ_FLAT_POLAR_QUARTIC, Layout::Plain, {KX_CM(1)}, {}},
    {"CRASTER", true, false, KX_PRJ_CRASTER_PARABOLIC, Layout::Plain, {KX_CM(1)}, {}},
    {"GNOMONIC", false, true, KX_PRJ_GNOMONIC, Layout::Plain,
     {{2, A, KX_PAR_LONGITUDE_OF_CENTER, kCenterLon}, {3, A, KX_PAR_LATITUDE_OF_CENTER, kCenterLat},
      KX_FE(4), KX_FN(5)},
     {}},
    {"PERSPECTIVE", false, true, KX_PRJ_VERTICAL_NEAR_SIDE_PERSPECTIVE, Layout::Plain,
     {{2, Value::Length, KX_PAR_HEIGHT, " /* height of perspective point (meters)"},
      {3, A, KX_PAR_LONGITUDE_OF_CENTER, kCenterLon}, {4, A, KX_PAR_LATITUDE_OF_CENTER, kCenterLat},
      KX_FE(5), KX_FN(6)},
     {}},
    {"TIMES", false, true, KX_PRJ_TIMES, Layout::Plain, {KX_CM(2), KX_FE(3), KX_FN(4)}, {}},
};
const std::size_t kProjectionRowCount = sizeof kProjectionRows / sizeof kProjectionRows[0];

// Line 3 is the latitude of the centre line's origin; the two-point form
// keeps it as its Latitude_Of_Center.
const LineRead kObliqueTwoPoint[] = {
    {2, N, KX_PAR_SCALE_FACTOR, " /* scale factor at center of projection"},
    {3, A, KX_PAR_LATITUDE_OF_CENTER, kOrigin},
    {4, A, KX_PAR_LONGITUDE_OF_1ST, " /* longitude of 1st point"},
    {5, A, KX_PAR_LATITUDE_OF_1ST, " /* latitude of 1st point"},
    {6, A, KX_PAR_LONGITUDE_OF_2ND, " /* longitude of 2nd point"},
    {7, A, KX_PAR_LATITUDE_OF_2ND, " /* latitude of 2nd point"},
    KX_FE(8),
    KX_FN(9)};
const LineRead kObliqueAzimuth[] = {
    {2, N, KX_PAR_SCALE_FACTOR, " /* scale factor at center of projection"},
    {3, A, KX_PAR_LONGITUDE_OF_CENTER, kCenterLon},
    {4, A, KX_PAR_LATITUDE_OF_CENTER, kCenterLat},
    {5, N, KX_PAR_AZIMUTH, " /* azimuth of centerline"},
    KX_FE(6),
    KX_FN(7),
    {0, N, 0, nullptr}};
const LineRead kStereoOblique[] = {{3, A, KX_PAR_CENTRAL_MERIDIAN, kCm},
                                   {4, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin},
                                   KX_FE(5),
                                   KX_FN(6),
                                   {0, N, 0, nullptr}};
const LineRead kStereoEquatorial[] = {{2, A, KX_PAR_CENTRAL_MERIDIAN, kCm},
                                      {3, A, KX_PAR_LATITUDE_OF_ORIGIN, kOrigin},
                                      {5, N, KX_PAR_SCALE_FACTOR, kScale},
                                      {0, N, 0, nullptr}};
const LineRead kStereoNorth[] = {{2, A, KX_PAR_CENTRAL_MERIDIAN, kCm}, {0, N, 0, nullptr}};
const LineRead kStereoSouth[] = {{2, A, KX_PAR_CENTRAL_MERIDIAN, kCm},
                                 {5, A, KX_PAR_STANDARD_PARALLEL_1, kTrueScale},
                                 {0, N, 0, nullptr}};

#undef KX_CM
#undef KX_FE
#undef KX_FN

// Legacy state-plane zone numbers whose FIPS zone is established.
const LegacyZone kLegacyZones[] = {{4726, 3001}};
const std::size_t kLegacyZoneCount = sizeof kLegacyZones / sizeof kLegacyZones[0];

bool starts_with(const std::string &text, const char *prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

namespace {

template <typename Row>
const Row *find_row(const Row *rows, std::size_t n, const std::string &field) {
  for (std::size_t i = 0; i < n; ++i) {
    if (rows[i].prefix ? starts_with(field, rows[i].keyword) : field == rows[i].keyword) {
      return &rows[i];
    }
  }
  return nullptr;
}

}  // namespace

int datum_code_of_keyword(const std::string &field) {
  const DatumKeyword *row = find_row(kDatumKeywords, kDatumKeywordCount, field);
  return row != nullptr ? row->datum : 0;
}

int datum_code_of_spheroid(const std::string &field) {
  const SpheroidKeyword *row = find_row(kSpheroidKeywords, kSpheroidKeywordCount, field);
  return row != nullptr ? row->datum : 0;
}

const ProjectionRow *find_projection_row(const std::string &field) {
  return find_row(kProjectionRows, kProjectionRowCount, field);
}

const StatePlaneZone *find_state_plane_zone(int fips) {
  for (std::size_t i = 0; i < kStatePlaneZoneCount; ++i) {
    if (kStatePlaneZones[i].fips == fips) return &kStatePlaneZones[i];
  }
  return nullptr;
}

}  // namespace kx::prjfile
