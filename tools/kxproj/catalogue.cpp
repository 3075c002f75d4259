#include "catalogue.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace kxproj {

namespace {

// Room for the longest text any object kind writes.
constexpr std::size_t kTextRoom = 8192;

// Writes the object's text when the object is of the handle's kind and
// deletes it; false for another kind. The writers return the length or the
// buffer depending on the kind; the text ends at its terminator either way.
template <typename Handle, typename Is, typename Write>
bool text_if(void *object, Is is, Write write, void (*del)(Handle), std::string &text) {
  const auto handle = static_cast<Handle>(object);
  if (!is(handle)) return false;
  write(handle, &text[0]);
  del(handle);
  return true;
}

bool same_datum(kx_geogcs a, kx_geogcs b) {
  return kx_datum_eq(kx_geogcs_datum(a), kx_geogcs_datum(b)) != 0;
}

std::string lower(std::string s) {
  for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The name a dataset gives its file, for messages when there is no data home.
std::string file_part(const char *dataset) {
  const std::string d = dataset;
  return lower(d.substr(0, 8)) == "dataset_" ? d.substr(8) : d;
}

}  // namespace

std::string missing_grid(kx_geogtran gt) {
  char method[80] = "";
  kx_method_name(kx_geogtran_method(gt), method);
  const bool ntv2 = kx_strcmp_ci(method, "NTv2") == 0;
  const bool nadcon = kx_strcmp_ci(method, "NADCON") == 0;
  if (!ntv2 && !nadcon && kx_strcmp_ci(method, "HARN") != 0) return "";
  // The library's own lookup decides: a grid it can load is there.
  if (kx_geogtran_load_constants(gt) > 0) return "";
  kx_parameter slots[16];
  kx_geogtran_parameters(gt, slots);
  char dataset[80] = "";
  if (slots[15] != nullptr) kx_parameter_name(slots[15], dataset);
  const char *subdir = ntv2 ? "ntv2" : nadcon ? "nadcon" : "harn";
  if (kx_get_datahome() == nullptr) return std::string(subdir) + "/" + file_part(dataset) + " (no data home)";
  char first[KX_GRID_PATH_SIZE] = "", second[KX_GRID_PATH_SIZE] = "";
  if (ntv2) {
    kx_ntv2_setpath(dataset, subdir, first);
    return first;
  }
  kx_nadcon_harn_setpath(dataset, subdir, first, second);
  return kx_ntv2_file_exists(first) ? second : first;
}

int catalogue_code(const std::string &arg) {
  // "EPSG:nnnn", in any case, as the other tools of the field write codes.
  const bool prefixed = arg.size() > 5 && strncasecmp(arg.c_str(), "EPSG:", 5) == 0;
  const std::string digits = prefixed ? arg.substr(5) : arg;
  if (digits.empty()) return 0;
  if (digits.find_first_not_of("0123456789") == std::string::npos) {
    errno = 0;
    const long value = std::strtol(digits.c_str(), nullptr, 10);
    return errno == 0 && value > 0 && value <= INT_MAX ? static_cast<int>(value) : 0;
  }
  return prefixed ? 0 : kx_defstring_to_int(arg.c_str());
}

std::vector<Candidate> transformations_between(kx_geogcs from, kx_geogcs to) {
  std::vector<Candidate> found;
  int count = 0;
  int *codes = kx_factory_geogtran_codelist(&count);
  for (int i = 0; codes != nullptr && i < count; ++i) {
    kx_geogtran gt = kx_factory_geogtran(codes[i]);
    if (gt == nullptr) continue;
    kx_geogcs g1 = kx_geogtran_geogcs1(gt), g2 = kx_geogtran_geogcs2(gt);
    const bool forward = same_datum(from, g1) && same_datum(to, g2);
    const bool backward = !forward && same_datum(from, g2) && same_datum(to, g1);
    if (forward || backward) {
      char name[64];
      kx_geogtran_name(gt, name);
      found.push_back({codes[i], kx_factory_geogtran_accuracy(codes[i]), backward,
                       kx_factory_geogtran_epsg_deprecated(codes[i]) != 0, name,
                       missing_grid(gt)});
    }
    kx_geogtran_del(gt);
  }
  kx_factory_codelist_del(codes);
  std::sort(found.begin(), found.end(), [](const Candidate &a, const Candidate &b) {
    if (a.deprecated != b.deprecated) return b.deprecated;
    const bool ka = a.accuracy >= 0, kb = b.accuracy >= 0;
    if (ka != kb) return ka;
    if (ka && a.accuracy != b.accuracy) return a.accuracy < b.accuracy;
    return a.code < b.code;
  });
  return found;
}

std::string describe(int code) {
  // kx_factory's object: a code several kinds share (EPSG numbers some alike)
  // names the kind whose range holds it, as everywhere in the library.
  void *object = kx_factory(code);
  if (object == nullptr) return {};
  std::string text(kTextRoom, '\0');
  const bool written =
      text_if(object, kx_projcs_p, kx_projcs_to_string, kx_projcs_del, text) ||
      text_if(object, kx_geogcs_p, kx_geogcs_to_string, kx_geogcs_del, text) ||
      text_if(object, kx_geogtran_p, kx_geogtran_to_string, kx_geogtran_del, text) ||
      text_if(object, kx_datum_p, kx_datum_to_string, kx_datum_del, text) ||
      text_if(object, kx_spheroid_p, kx_spheroid_to_string, kx_spheroid_del, text) ||
      text_if(object, kx_primem_p, kx_primem_to_string, kx_primem_del, text) ||
      text_if(object, kx_unit_p, kx_unit_to_string, kx_unit_del, text) ||
      text_if(object, kx_projection_p, kx_projection_to_string, kx_projection_del, text) ||
      text_if(object, kx_method_p, kx_method_to_string, kx_method_del, text) ||
      text_if(object, kx_parameter_p, kx_parameter_to_string, kx_parameter_del, text);
  if (!written) return {};
  text.resize(std::min(text.find('\0'), text.size()));
  return text;
}

}  // namespace kxproj
