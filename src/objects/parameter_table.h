// The parameter slot table and the parameter catalogue codes. The slot table
// places a parameter by name into the 16-slot parameter array of projected
// CSs and transformations; its defaults also give catalogue parameters their
// values. Row order matters: the first matching name wins.
#ifndef KX_OBJECTS_PARAMETER_TABLE_H
#define KX_OBJECTS_PARAMETER_TABLE_H

namespace kx {

constexpr int kParameterSlots = 16;

struct ParameterSlotRow {
  const char *name;
  double default_value;
  int slot;
};

// Rows 0-21 serve projections, rows 22-32 transformation methods.
inline constexpr ParameterSlotRow kParameterSlotTable[] = {
    {"False_Easting", 0, 0},
    {"False_Northing", 0, 1},
    {"Central_Meridian", 0, 2},
    {"Longitude_Of_Origin", 0, 2},
    {"Standard_Parallel_1", 60, 3},
    {"Standard_Parallel_2", 60, 4},
    {"Scale_Factor", 1, 5},
    {"Central_Parallel", 0, 6},
    {"Latitude_Of_Origin", 0, 6},
    {"Azimuth", 45, 7},
    {"Height", 0, 15},
    {"Option", 0, 15},
    {"Latitude_Of_1st_Point", 0, 3},
    {"Latitude_Of_2nd_Point", 60, 4},
    {"Longitude_Of_1st_Point", 0, 8},
    {"Longitude_Of_2nd_Point", 60, 9},
    {"Longitude_Of_Center", -75, 10},
    {"Latitude_Of_Center", 40, 11},
    {"Pseudo_Standard_Parallel_1", 60, 3},
    {"XY_Plane_Rotation", 0, 14},
    {"X_Scale", 1, 12},
    {"Y_Scale", 1, 13},
    {"X_Axis_Translation", 0, 0},
    {"Y_Axis_Translation", 0, 1},
    {"Z_Axis_Translation", 0, 2},
    {"X_Axis_Rotation", 0, 3},
    {"Y_Axis_Rotation", 0, 4},
    {"Z_Axis_Rotation", 0, 5},
    {"Scale_Difference", 0, 6},
    {"X_Coordinate_of_Rotation_Origin", 0, 7},
    {"Y_Coordinate_of_Rotation_Origin", 0, 8},
    {"Z_Coordinate_of_Rotation_Origin", 0, 9},
    {"Dataset_", 0, 15},
};
constexpr int kParameterSlotRows = sizeof(kParameterSlotTable) / sizeof(kParameterSlotTable[0]);
static_assert(kParameterSlotRows == 33, "the slot table has 33 rows");

struct ParameterCodeRow {
  int code;
  const char *name;
};

// Catalogue codes of the parameters, ascending.
inline constexpr ParameterCodeRow kParameterCodeTable[] = {
    {100001, "False_Easting"},
    {100002, "False_Northing"},
    {100003, "Scale_Factor"},
    {100004, "Azimuth"},
    {100005, "Height"},
    {100010, "Central_Meridian"},
    {100011, "Longitude_Of_Origin"},
    {100012, "Longitude_Of_Center"},
    {100013, "Longitude_Of_1st_Point"},
    {100014, "Longitude_Of_2nd_Point"},
    {100020, "Central_Parallel"},
    {100021, "Latitude_Of_Origin"},
    {100022, "Latitude_Of_Center"},
    {100023, "Latitude_Of_1st_Point"},
    {100024, "Latitude_Of_2nd_Point"},
    {100025, "Standard_Parallel_1"},
    {100026, "Standard_Parallel_2"},
    {100027, "Pseudo_Standard_Parallel_1"},
    {100036, "Option"},
    {100037, "X_Scale"},
    {100038, "Y_Scale"},
    {100039, "XY_Plane_Rotation"},
    {100040, "X_Axis_Translation"},
    {100041, "Y_Axis_Translation"},
    {100042, "Z_Axis_Translation"},
    {100043, "X_Axis_Rotation"},
    {100044, "Y_Axis_Rotation"},
    {100045, "Z_Axis_Rotation"},
    {100046, "Scale_Difference"},
    {100047, "Dataset_"},
    {100048, "X_Coordinate_of_Rotation_Origin"},
    {100049, "Y_Coordinate_of_Rotation_Origin"},
    {100050, "Z_Coordinate_of_Rotation_Origin"},
};
constexpr int kParameterCodeRows = sizeof(kParameterCodeTable) / sizeof(kParameterCodeTable[0]);
static_assert(kParameterCodeRows == 33, "every parameter has a code");

// Slot of a parameter name as kx_parameter_index finds it (spaces count as
// '_'; "Dataset_..." names take slot 15); -1 without a slot. Null gives -1.
int parameter_slot(const char *name);

}  // namespace kx

#endif
