// Default parameter groups of the projections and transformation methods:
// which catalogue parameters a projection or method expects, and their slots.
#include <iterator>

#include "kx.h"
#include "kx_def.h"
#include "objects/parameter_table.h"

namespace {

// Short names of the parameter catalogue codes, for the groups below.
enum : int {
  FE = KX_PAR_FALSE_EASTING, FN = KX_PAR_FALSE_NORTHING, SF = KX_PAR_SCALE_FACTOR,
  AZ = KX_PAR_AZIMUTH, HEIGHT = KX_PAR_HEIGHT, CM = KX_PAR_CENTRAL_MERIDIAN,
  LON_ORIGIN = KX_PAR_LONGITUDE_OF_ORIGIN, LON_CENTER = KX_PAR_LONGITUDE_OF_CENTER,
  LON_1 = KX_PAR_LONGITUDE_OF_1ST, LON_2 = KX_PAR_LONGITUDE_OF_2ND,
  CENTRAL_PARALLEL = KX_PAR_CENTRAL_PARALLEL, LAT_ORIGIN = KX_PAR_LATITUDE_OF_ORIGIN,
  LAT_CENTER = KX_PAR_LATITUDE_OF_CENTER, LAT_1 = KX_PAR_LATITUDE_OF_1ST,
  LAT_2 = KX_PAR_LATITUDE_OF_2ND, SP1 = KX_PAR_STANDARD_PARALLEL_1,
  SP2 = KX_PAR_STANDARD_PARALLEL_2, PSEUDO_SP1 = KX_PAR_PSEUDO_STANDARD_PARALLEL_1,
  OPTION = KX_PAR_OPTION, X_SCALE = KX_PAR_X_SCALE, Y_SCALE = KX_PAR_Y_SCALE,
  XY_ROTATION = KX_PAR_XY_PLANE_ROTATION, XT = KX_PAR_X_AXIS_TRANSLATION,
  YT = KX_PAR_Y_AXIS_TRANSLATION, ZT = KX_PAR_Z_AXIS_TRANSLATION, XR = KX_PAR_X_AXIS_ROTATION,
  YR = KX_PAR_Y_AXIS_ROTATION, ZR = KX_PAR_Z_AXIS_ROTATION, DS = KX_PAR_SCALE_DIFFERENCE,
  DATASET = KX_PAR_NAME_DATASET, XO = KX_PAR_X_COORD_OF_ROTATION_ORIGIN,
  YO = KX_PAR_Y_COORD_OF_ROTATION_ORIGIN, ZO = KX_PAR_Z_COORD_OF_ROTATION_ORIGIN
};

constexpr int kMaxGroup = 10;

struct Group {
  int parameters[kMaxGroup];  // catalogue codes, 0 ends the list
};

constexpr Group kCm{{CM, FE, FN}};
constexpr Group kCmSp1{{CM, SP1, FE, FN}};
constexpr Group kTransverse{{CM, LAT_ORIGIN, SF, FE, FN}};
constexpr Group kConic2{{CM, LAT_ORIGIN, SP1, SP2, FE, FN}};
constexpr Group kLambert{{CM, LAT_ORIGIN, SP1, SP2, SF, FE, FN}};
constexpr Group kCmLat{{CM, LAT_ORIGIN, FE, FN}};
constexpr Group kLoximuthal{{CM, CENTRAL_PARALLEL, FE, FN}};
constexpr Group kNzmg{{LON_ORIGIN, LAT_ORIGIN, FE, FN}};
constexpr Group kCenter{{LON_CENTER, LAT_CENTER, FE, FN}};
constexpr Group kPerspective{{LON_CENTER, LAT_CENTER, HEIGHT, FE, FN}};
constexpr Group kHotineTwoPoint{{LON_1, LAT_1, LON_2, LAT_2, LAT_CENTER, SF, FE, FN}};
constexpr Group kTwoPoint{{LON_1, LON_2, LAT_1, LAT_2, FE, FN}};
constexpr Group kHotineAzimuth{{LON_CENTER, LAT_CENTER, AZ, SF, FE, FN}};
constexpr Group kRso{{LON_CENTER, LAT_CENTER, AZ, XY_ROTATION, SF, FE, FN}};
constexpr Group kKrovak{
    {LON_CENTER, LAT_CENTER, PSEUDO_SP1, AZ, SF, FE, FN, X_SCALE, Y_SCALE, XY_ROTATION}};
constexpr Group kFuller{{FE, FN, OPTION}};
constexpr Group kCube{{CM, OPTION, FE, FN}};

constexpr Group kNone{{0}};
constexpr Group kThreeShifts{{XT, YT, ZT}};
constexpr Group kSeven{{XT, YT, ZT, XR, YR, ZR, DS}};
constexpr Group kTen{{XT, YT, ZT, XR, YR, ZR, DS, XO, YO, ZO}};
constexpr Group kGrid{{DATASET}};

struct CodeGroup {
  int code;
  const Group *group;
};

constexpr CodeGroup kProjectionGroups[] = {
    {KX_PRJ_PLATE_CARREE, &kCm},
    {KX_PRJ_EQUIDISTANT_CYLINDRICAL, &kCmSp1},
    {KX_PRJ_MILLER_CYLINDRICAL, &kCm},
    {KX_PRJ_MERCATOR, &kCmSp1},
    {KX_PRJ_GAUSS_KRUGER, &kTransverse},
    {KX_PRJ_TRANSVERSE_MERCATOR, &kTransverse},
    {KX_PRJ_ALBERS, &kConic2},
    {KX_PRJ_SINUSOIDAL, &kCm},
    {KX_PRJ_MOLLWEIDE, &kCm},
    {KX_PRJ_ECKERT_VI, &kCm},
    {KX_PRJ_ECKERT_V, &kCm},
    {KX_PRJ_ECKERT_IV, &kCm},
    {KX_PRJ_ECKERT_III, &kCm},
    {KX_PRJ_ECKERT_II, &kCm},
    {KX_PRJ_ECKERT_I, &kCm},
    {KX_PRJ_GALL_STEREOGRAPHIC, &kCm},
    {KX_PRJ_BEHRMANN, &kCm},
    {KX_PRJ_WINKEL_I, &kCmSp1},
    {KX_PRJ_WINKEL_II, &kCmSp1},
    {KX_PRJ_LAMBERT_CONFORMAL_CONIC, &kLambert},
    {KX_PRJ_POLYCONIC, &kCmLat},
    {KX_PRJ_QUARTIC_AUTHALIC, &kCm},
    {KX_PRJ_LOXIMUTHAL, &kLoximuthal},
    {KX_PRJ_BONNE, &kCmSp1},
    {KX_PRJ_HOTINE_TWO_POINT_NATORIGIN, &kHotineTwoPoint},
    {KX_PRJ_STEREOGRAPHIC, &kTransverse},
    {KX_PRJ_EQUIDISTANT_CONIC, &kConic2},
    {KX_PRJ_CASSINI, &kTransverse},
    {KX_PRJ_VAN_DER_GRINTEN_I, &kCm},
    {KX_PRJ_ROBINSON, &kCm},
    {KX_PRJ_TWO_POINT_EQUIDISTANT, &kTwoPoint},
    {KX_PRJ_AZIMUTHAL_EQUIDISTANT, &kCmLat},
    {KX_PRJ_LAMBERT_AZIMUTHAL_EQAREA, &kCmLat},
    {KX_PRJ_CYLINDRICAL_EQAREA, &kCmSp1},
    {KX_PRJ_HOTINE_TWO_POINT_CENTER, &kHotineTwoPoint},
    {KX_PRJ_HOTINE_AZIMUTH_NATORIGIN, &kHotineAzimuth},
    {KX_PRJ_HOTINE_AZIMUTH_CENTER, &kHotineAzimuth},
    {KX_PRJ_DOUBLE_STEREOGRAPHIC, &kTransverse},
    {KX_PRJ_KROVAK, &kKrovak},
    {KX_PRJ_NEW_ZEALAND_MAP_GRID, &kNzmg},
    {KX_PRJ_ORTHOGRAPHIC, &kCenter},
    {KX_PRJ_WINKEL_TRIPEL, &kCmSp1},
    {KX_PRJ_AITOFF, &kCm},
    {KX_PRJ_HAMMER_AITOFF, &kCm},
    {KX_PRJ_FLAT_POLAR_QUARTIC, &kCm},
    {KX_PRJ_CRASTER_PARABOLIC, &kCm},
    {KX_PRJ_GNOMONIC, &kCenter},
    {KX_PRJ_TIMES, &kCm},
    {KX_PRJ_VERTICAL_NEAR_SIDE_PERSPECTIVE, &kPerspective},
    {KX_PRJ_STEREOGRAPHIC_NORTH_POLE, &kCmSp1},
    {KX_PRJ_STEREOGRAPHIC_SOUTH_POLE, &kCmSp1},
    {KX_PRJ_FULLER, &kFuller},
    {KX_PRJ_RSO_NATORIGIN, &kRso},
    {KX_PRJ_RSO_CENTER, &kRso},
    {KX_PRJ_CUBE, &kCube},
    {KX_PRJ_TRANSVERSE_MERCATOR_COMPLEX, &kTransverse},
    {KX_PRJ_ROBINSON_VELMAR, &kCm},
    {KX_PRJ_LOCAL, &kHotineAzimuth},
    {KX_PRJ_PSEUDO_MERCATOR, &kCm},
    {KX_PRJ_EQUAL_EARTH, &kCm},
    {KX_PRJ_TM_SOUTH_ORIENTATED, &kTransverse},
    {KX_PRJ_LCC_WEST_ORIENTATED, &kLambert},
    {KX_PRJ_BONNE_SOUTH_ORIENTATED, &kCmSp1},
    {KX_PRJ_POLAR_STEREOGRAPHIC_VARIANT_C, &kCmSp1},
    {KX_PRJ_CASSINI_SOUTH_ORIENTATED, &kTransverse},
};

constexpr CodeGroup kMethodGroups[] = {
    {KX_MTH_LONGITUDE_ROTATION, &kNone},
    {KX_MTH_GEOCENTRIC_TRANSLATION, &kThreeShifts},
    {KX_MTH_MOLODENSKY, &kThreeShifts},
    {KX_MTH_MOLODENSKY_ABRIDGED, &kThreeShifts},
    {KX_MTH_POSITION_VECTOR, &kSeven},
    {KX_MTH_COORDINATE_FRAME, &kSeven},
    {KX_MTH_BURSA_WOLF, &kSeven},
    {KX_MTH_MOLODENSKY_BADEKAS, &kTen},
    {KX_MTH_NADCON, &kGrid},
    {KX_MTH_NTV2, &kGrid},
    {KX_MTH_HARN, &kGrid},
};

const Group *group_of(const CodeGroup *rows, int count, int code) {
  if (code == 0) return nullptr;
  for (int i = 0; i < count; ++i) {
    if (rows[i].code == code) return rows[i].group;
  }
  return nullptr;
}

// Fills the slots with the group's catalogue parameters; on a failed
// construction everything made is deleted and the slots are null again.
int fill(const Group *group, kx_parameter *slots) {
  if (group == nullptr) return 0;
  int n = 0;
  for (int code : group->parameters) {
    if (code == 0) break;
    kx_parameter p = kx_factory_parameter(code);
    const int slot = p != nullptr ? kx_parameter_index(p) : -1;
    if (slot < 0 || slot >= kx::kParameterSlots) {
      kx_parameter_del(p);
      for (int i = 0; i < kx::kParameterSlots; ++i) {
        kx_parameter_del(slots[i]);
        slots[i] = nullptr;
      }
      return 0;
    }
    slots[slot] = p;
    ++n;
  }
  return n;
}

}  // namespace

extern "C" {

KX_API int kx_parameter_projection_defaults(kx_projection projection, kx_parameter *slots) {
  if (slots == nullptr) return 0;
  for (int i = 0; i < kx::kParameterSlots; ++i) slots[i] = nullptr;
  if (!kx_projection_p(projection)) return 0;
  const int code = kx_factory_code(projection);
  return fill(group_of(kProjectionGroups, static_cast<int>(std::size(kProjectionGroups)), code),
              slots);
}

KX_API int kx_parameter_method_defaults(kx_method method, kx_parameter *slots) {
  if (slots == nullptr) return 0;
  for (int i = 0; i < kx::kParameterSlots; ++i) slots[i] = nullptr;
  if (!kx_method_p(method)) return 0;
  const int code = kx_factory_code(method);
  return fill(group_of(kMethodGroups, static_cast<int>(std::size(kMethodGroups)), code), slots);
}

}  // extern "C"
