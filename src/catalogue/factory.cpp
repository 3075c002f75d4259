// kx_factory: the object of any catalogue code, dispatched by code range.
#include "kx.h"

namespace {

using Factory = void *(*)(int);

struct Range {
  int lo;
  int hi;
  Factory factory;
};

void *unit(int code) { return kx_factory_unit(code); }
void *spheroid(int code) { return kx_factory_spheroid(code); }
void *primem(int code) { return kx_factory_primem(code); }
void *datum(int code) { return kx_factory_datum(code); }
void *projection(int code) { return kx_factory_projection(code); }
void *method(int code) { return kx_factory_method(code); }
void *parameter(int code) { return kx_factory_parameter(code); }
void *geogcs(int code) { return kx_factory_geogcs(code); }
void *projcs(int code) { return kx_factory_projcs(code); }
void *geogtran(int code) { return kx_factory_geogtran(code); }

// Tried in this order; the first range holding the code decides the kind.
constexpr Range kRanges[] = {
    {9000, 9099, unit},           {109000, 109099, unit},       {209000, 209099, unit},
    {9100, 9199, unit},           {209100, 209199, unit},       {7000, 7999, spheroid},
    {107000, 107999, spheroid},   {207000, 207999, spheroid},   {8900, 8999, primem},
    {108900, 108999, primem},     {208900, 208999, primem},     {6000, 6999, datum},
    {106000, 106999, datum},      {206000, 206999, datum},      {43000, 52999, projection},
    {9600, 9699, method},         {109600, 109699, method},     {100000, 100099, parameter},
    {4000, 4999, geogcs},         {37000, 37999, geogcs},       {104000, 104999, geogcs},
    {204000, 204999, geogcs},     {2000, 3999, projcs},        {20000, 32799, projcs},
    {53000, 65799, projcs},      {102000, 103999, projcs},    {202000, 203999, projcs},
    {1000, 1999, geogtran},        {8000, 8899, geogtran},        {108000, 108899, geogtran},
    {208000, 208899, geogtran},
};

}  // namespace

extern "C" {

KX_API void *kx_factory(int code) {
  for (const Range &r : kRanges) {
    if (code >= r.lo && code <= r.hi) return r.factory != nullptr ? r.factory(code) : nullptr;
  }
  return nullptr;
}

}  // extern "C"
