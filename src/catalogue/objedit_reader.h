// User definition files of the catalogue: reading a kind's file of the user
// definition home into checked definitions, and the leaf kinds built from
// them. The per-kind factories build composites from these definitions.
#ifndef KX_CATALOGUE_OBJEDIT_READER_H
#define KX_CATALOGUE_OBJEDIT_READER_H

#include <string>
#include <vector>

#include "kx.h"

namespace kx::catalogue {

enum class UserKind { Spheroid, Primem, Unit, Datum, Geogcs, Projcs, Geogtran };
constexpr int kUserKinds = 7;

// A parameter of a projected CS or transformation line, already placed.
struct UserParameter {
  int code;
  int slot;
  double value;
};

// One well-formed definition line. Which fields are used depends on the kind:
//  spheroid  values = {axis, flattening (f, inverse flattening converted)}
//  primem    values[0] = longitude (degrees);  unit  values[0] = factor
//  datum     components[0] = spheroid
//  geogcs    components = {datum, prime meridian, unit}
//  projcs    components = {geographic CS, projection, unit or 0}, parameters
//  geogtran  components = {source CS, target CS, method}, parameters and,
//            for a grid method, the Dataset_ parameter's name in dataset.
struct UserDefinition {
  int code = 0;
  std::string name;
  double values[2] = {0.0, 0.0};
  int components[3] = {0, 0, 0};
  std::vector<UserParameter> parameters;
  std::string dataset;
};

// The first well-formed definition of code in the kind's user file. Malformed
// lines are passed over; a missing home, file or definition gives false.
bool find_user_definition(UserKind kind, int code, UserDefinition *out);

// The codes of every well-formed definition of the kind's user file, in file
// order (repeats included).
std::vector<int> user_definition_codes(UserKind kind);

// While one exists in a thread, each user file is read at most once there and
// its definitions reused; nested scopes share the outermost one. Listings,
// which build thousands of objects in one call, hold one.
class UserFileSnapshot {
 public:
  UserFileSnapshot();
  ~UserFileSnapshot();
  UserFileSnapshot(const UserFileSnapshot &) = delete;
  UserFileSnapshot &operator=(const UserFileSnapshot &) = delete;

 private:
  bool owner_;
};

// Token readers of the files, exposed for the tests. A code is a whole
// decimal integer in int range, or else a symbolic catalogue name; 0 is no
// code. A number is a whole finite decimal number in the "C" notation.
bool read_user_code(const std::string &token, int *code);
bool read_user_number(const std::string &token, double *value);

// Leaf kinds from the user files "spheroid", "primem" and "unit" (status 8),
// null when the file defines no such code or the values are refused.
kx_spheroid user_spheroid(int code);
kx_primem user_primem(int code);
kx_unit user_unit(int code);

}  // namespace kx::catalogue

#endif
