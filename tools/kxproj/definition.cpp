#include "definition.h"

#include "catalogue.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace kxproj {

namespace {

// Definitions are short; anything longer than this is not a definition file.
constexpr std::streamsize kMaxDefinitionFile = 1 << 20;

bool looks_like_text(const std::string &arg) {
  return arg.find('[') != std::string::npos || arg.find('(') != std::string::npos;
}

// A keyword projection file: no brackets, and a line that starts (after
// blanks, in any case) with the keyword "Projection".
bool looks_like_keyword_file(const std::string &text) {
  if (text.find('[') != std::string::npos) return false;
  for (size_t at = 0; at < text.size();) {
    size_t start = text.find_first_not_of(" \t", at);
    if (start == std::string::npos) break;
    if (kx_strcmp_ci(text.substr(start, 10).c_str(), "PROJECTION") == 0) return true;
    const size_t eol = text.find('\n', start);
    if (eol == std::string::npos) break;
    at = eol + 1;
  }
  return false;
}

}  // namespace

std::string definition_text(const std::string &arg, std::string &error) {
  if (looks_like_text(arg)) return arg;
  std::ifstream in(arg, std::ios::binary);
  if (!in) {
    error = "cannot read definition '" + arg + "': not a definition text and not a readable file";
    return {};
  }
  // One byte more than the limit tells a file at the limit from a longer one.
  std::string text(static_cast<size_t>(kMaxDefinitionFile) + 1, '\0');
  in.read(&text[0], kMaxDefinitionFile + 1);
  text.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    error = "cannot read definition file '" + arg + "'";
    return {};
  }
  if (text.size() > static_cast<size_t>(kMaxDefinitionFile)) {
    error = "definition file '" + arg + "' is longer than the limit of 1 MiB (" +
            std::to_string(kMaxDefinitionFile) + " bytes)";
    return {};
  }
  if (text.empty()) error = "definition file '" + arg + "' is empty";
  return text;
}

CoordsysPtr load_coordsys(const std::string &arg, std::string &error) {
  if (const int code = catalogue_code(arg)) {
    CoordsysPtr cs(kx_factory_projcs(code));
    if (!cs) cs.reset(kx_factory_geogcs(code));
    if (!cs) error = "no geographic or projected CS with catalogue code " + std::to_string(code);
    return cs;
  }
  std::string text = definition_text(arg, error);
  if (text.empty()) return nullptr;
  if (looks_like_keyword_file(text)) {
    int status = 0;
    CoordsysPtr cs(kx_coordsys_from_prjstring(text.c_str(), &status));
    if (!cs) {
      error = "cannot read the keyword projection file '" + arg.substr(0, 60) + "' (status " +
              std::to_string(status) + ")";
    }
    return cs;
  }
  CoordsysPtr cs(kx_coordsys_from_string(text.c_str()));
  if (!cs) error = "cannot read a GEOGCS or PROJCS definition from '" + arg.substr(0, 60) + "'";
  return cs;
}

GeogtranPtr load_geogtran(const std::string &arg, std::string &error) {
  if (const int code = catalogue_code(arg)) {
    GeogtranPtr gt(kx_factory_geogtran(code));
    if (!gt) error = "no available transformation with catalogue code " + std::to_string(code);
    return gt;
  }
  std::string text = definition_text(arg, error);
  if (text.empty()) return nullptr;
  GeogtranPtr gt(kx_geogtran_from_string(text.c_str()));
  if (!gt) {
    error = "cannot read a GEOGTRAN definition with an available method from '" +
            arg.substr(0, 60) + "'";
  }
  return gt;
}

}  // namespace kxproj
