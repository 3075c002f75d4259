// Default parameter groups of the projections and transformation methods:
// which catalogue parameters a projection or method expects, and their slots.
#include <iterator>

#include "kx.h"
#include "objects/parameter_table.h"

namespace {

// Parameter catalogue codes.
enum : int {
  FE = 100001, FN = 100002, SF = 100003, AZ = 100004, HEIGHT = 100005, CM = 100010,
  LON_ORIGIN = 100011, LON_CENTER = 100012, LON_1 = 100013, LON_2 = 100014,
  CENTRAL_PARALLEL = 100020, LAT_ORIGIN = 100021, LAT_CENTER = 100022, LAT_1 = 100023,
  LAT_2 = 100024, SP1 = 100025, SP2 = 100026, PSEUDO_SP1 = 100027, OPTION = 100036,
  X_SCALE = 100037, Y_SCALE = 100038, XY_ROTATION = 100039, XT = 100040, YT = 100041,
  ZT = 100042, XR = 100043, YR = 100044, ZR = 100045, DS = 100046, DATASET = 100047,
  XO = 100048, YO = 100049, ZO = 100050
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
    {43001, &kCm},          {43002, &kCmSp1},        {43003, &kCm},
    {43004, &kCmSp1},       {43005, &kTransverse},   {43006, &kTransverse},
    {43007, &kConic2},      {43008, &kCm},           {43009, &kCm},
    {43010, &kCm},          {43011, &kCm},           {43012, &kCm},
    {43013, &kCm},          {43014, &kCm},           {43015, &kCm},
    {43016, &kCm},          {43017, &kCm},           {43018, &kCmSp1},
    {43019, &kCmSp1},       {43020, &kLambert},      {43021, &kCmLat},
    {43022, &kCm},          {43023, &kLoximuthal},   {43024, &kCmSp1},
    {43025, &kHotineTwoPoint}, {43026, &kTransverse}, {43027, &kConic2},
    {43028, &kTransverse},  {43029, &kCm},           {43030, &kCm},
    {43031, &kTwoPoint},    {43032, &kCmLat},        {43033, &kCmLat},
    {43034, &kCmSp1},       {43035, &kHotineTwoPoint}, {43036, &kHotineAzimuth},
    {43037, &kHotineAzimuth}, {43038, &kTransverse}, {43039, &kKrovak},
    {43040, &kNzmg},        {43041, &kCenter},       {43042, &kCmSp1},
    {43043, &kCm},          {43044, &kCm},           {43045, &kCm},
    {43046, &kCm},          {43047, &kCenter},       {43048, &kCm},
    {43049, &kPerspective}, {43050, &kCmSp1},        {43051, &kCmSp1},
    {43052, &kFuller},      {43053, &kRso},          {43054, &kRso},
    {43055, &kCube},        {43056, &kTransverse},   {43057, &kCm},
    {43058, &kHotineAzimuth},
};

constexpr CodeGroup kMethodGroups[] = {
    {9601, &kNone},  {9603, &kThreeShifts}, {9604, &kThreeShifts}, {9605, &kThreeShifts},
    {9606, &kSeven}, {9607, &kSeven},       {109607, &kSeven},     {9636, &kTen},
    {9613, &kGrid},  {9615, &kGrid},        {109613, &kGrid},
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
