// kxproj: converts points between two coordinate systems.
//
//   kxproj -s SOURCE -t TARGET [options] [FILE...]
//
// SOURCE and TARGET are catalogue codes or macro names, GEOGCS or PROJCS
// texts, or files holding one. Points are read from the files (or standard
// input) one per line and written to standard output.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue.h"
#include "converter.h"
#include "definition.h"
#include "mgrs_lines.h"
#include "kx.h"
#include "stream.h"

namespace {

constexpr int kExitUsage = 2;
// Lines that are not two numbers, or with --strict points not converted.
constexpr int kExitBadPoints = 1;

const char kUsage[] =
    "usage: kxproj -s SOURCE -t TARGET [--via|--inverse-via GEOGTRAN] [-d DECIMALS]\n"
    "              [--strict] [--data-home DIR] [--mgrs-precision N] [FILE...]\n"
    "       kxproj -s SOURCE -t TARGET --list-via\n"
    "       kxproj --describe CODE|FILE\n"
    "       kxproj --to-keyword CODE|TEXT|FILE\n"
    "  SOURCE, TARGET  a catalogue code (4326, EPSG:32633) or macro name\n"
    "                  (KX_GCS_WGS_1984), a GEOGCS[...] or PROJCS[...] text, or a\n"
    "                  file holding one or a keyword projection file\n"
    "  --via           a transformation (code, name, GEOGTRAN[...] text or file)\n"
    "                  from the source's datum to the target's; without it the\n"
    "                  catalogue's most accurate one between the datums is used\n"
    "                  (those EPSG has deprecated only when no other serves)\n"
    "  --inverse-via   the same, applied from its second CS to its first\n"
    "                  (one whose grid file is missing is passed over, with a\n"
    "                  line on standard error)\n"
    "  --list-via      list the catalogue transformations between the datums,\n"
    "                  best first, marking those EPSG has deprecated and those\n"
    "                  whose grid file is missing\n"
    "  --data-home     the folder of the grid files (nadcon/, harn/, ntv2/);\n"
    "                  default: the environment variable KXDATAHOME\n"
    "  --describe      print the text of a catalogue object or of the coordinate\n"
    "                  system of a definition file\n"
    "  --to-keyword    print a coordinate system as a keyword projection file\n"
    "  MGRS            as SOURCE: the first field of each line is an MGRS\n"
    "                  reference; as TARGET: each point is written as one. They\n"
    "                  are on the other side's geographic CS (WGS 84 when the\n"
    "                  other side is left out)\n"
    "  --mgrs-precision  digits of MGRS easting and northing, 0 to 8 (default 5)\n"
    "  -d, --decimals  digits after the point in the output (default 4 for\n"
    "                  projected, 9 for geographic coordinates)\n"
    "  --strict        exit with status 1 when any point cannot be converted\n"
    "  --version       print the library version\n"
    "Each input line holds x y (or longitude latitude) and any further columns,\n"
    "which are kept; lines starting with '#' and blank lines pass through.\n"
    "A point that cannot be converted prints as 'nan nan', as does a line whose\n"
    "first two fields are not numbers; such a line is also named on standard\n"
    "error, and kxproj then exits with status 1. A line longer than\n"
    "1 MiB (1048576 bytes), a definition file longer than 1 MiB, an input that\n"
    "cannot be read and output that cannot be written stop kxproj with a\n"
    "message and exit status 2.\n";

struct Options {
  std::string source, target, via, data_home;
  bool inverse_via = false;
  bool list_via = false;
  int decimals = -1;
  bool strict = false;
  int mgrs_precision = 5;
  std::vector<std::string> files;
};

int fail(const std::string &message) {
  std::fprintf(stderr, "kxproj: %s\n", message.c_str());
  return kExitUsage;
}

bool is_mgrs(const std::string &cs) { return kx_strcmp_ci(cs.c_str(), "MGRS") == 0; }

// Returns -1 when the options are good, else the exit status.
int parse_options(int argc, char **argv, Options &o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
    if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--version") {
      std::printf("%s\n", kx_version());
      return 0;
    } else if (a == "-s" || a == "--source" || a == "-t" || a == "--target") {
      const char *v = value();
      if (!v) return fail("option " + a + " needs a value");
      (a == "-s" || a == "--source" ? o.source : o.target) = v;
    } else if (a == "--via" || a == "--inverse-via") {
      const char *v = value();
      if (!v) return fail("option " + a + " needs a value");
      if (!o.via.empty()) return fail("only one of --via and --inverse-via may be given");
      o.via = v;
      o.inverse_via = a == "--inverse-via";
    } else if (a == "-d" || a == "--decimals") {
      const char *v = value();
      char *end = nullptr;
      long d = v ? std::strtol(v, &end, 10) : -1;
      if (!v || *end != '\0' || d < 0 || d > 17) return fail("option " + a + " needs a number from 0 to 17");
      o.decimals = static_cast<int>(d);
    } else if (a == "--describe") {
      const char *v = value();
      if (v == nullptr) return fail("option --describe needs a catalogue code, macro name or file");
      const int code = kxproj::catalogue_code(v);
      if (code == 0) {
        std::string error;
        kxproj::CoordsysPtr cs = kxproj::load_coordsys(v, error);
        if (!cs) return fail(error);
        static char text[KX_TEXT_MAX_PROJCS + 1];
        kx_coordsys_to_string(cs.get(), text);
        std::printf("%s\n", text);
        return 0;
      }
      const std::string text = kxproj::describe(code);
      if (text.empty()) return fail("no catalogue object with code " + std::to_string(code));
      std::printf("%s\n", text.c_str());
      return 0;
    } else if (a == "--to-keyword") {
      const char *v = value();
      if (v == nullptr) return fail("option --to-keyword needs a coordinate system");
      std::string error;
      kxproj::CoordsysPtr cs = kxproj::load_coordsys(v, error);
      if (!cs) return fail(error);
      static char text[KX_PRJSTRING_MAX + 1];
      int status = 0;
      if (kx_coordsys_to_prjstring(cs.get(), nullptr, text, &status) != 0) {
        return fail("the keyword form cannot express this coordinate system (status " +
                    std::to_string(status) + ")");
      }
      std::fputs(text, stdout);
      return 0;
    } else if (a == "--mgrs-precision") {
      const char *v = value();
      char *end = nullptr;
      long d = v ? std::strtol(v, &end, 10) : -1;
      if (!v || *end != '\0' || d < 0 || d > 8) return fail("option " + a + " needs a number from 0 to 8");
      o.mgrs_precision = static_cast<int>(d);
    } else if (a == "--data-home") {
      const char *v = value();
      if (!v || !*v) return fail("option --data-home needs a folder");
      o.data_home = v;
    } else if (a == "--list-via") {
      o.list_via = true;
    } else if (a == "--strict") {
      o.strict = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return fail("unknown option '" + a + "' (see kxproj --help)");
    } else {
      o.files.push_back(a);
    }
  }
  if ((o.source.empty() || o.target.empty()) && !is_mgrs(o.source) && !is_mgrs(o.target)) {
    return fail("both -s SOURCE and -t TARGET are needed (see kxproj --help)");
  }
  return -1;
}

// Runs `stream` over standard input or each file in turn; the exit status.
template <class Stream>
int stream_inputs(const Options &o, const kxproj::StreamCounts &counts, Stream &&stream) {
  std::string error;
  if (o.files.empty()) {
    if (!stream(stdin, std::string("standard input"), error)) return fail(error);
  } else {
    for (const std::string &f : o.files) {
      std::FILE *in = std::fopen(f.c_str(), "r");
      if (!in) return fail("cannot open '" + f + "': " + std::strerror(errno));
      const bool ok = stream(in, "'" + f + "'", error);
      std::fclose(in);
      if (!ok) return fail(error);
    }
  }
  if (counts.unreadable > kxproj::kUnreadableMessages)
    std::fprintf(stderr, "kxproj: %ld lines in all were not two numbers\n", counts.unreadable);
  if (o.strict && counts.failed > 0)
    std::fprintf(stderr, "kxproj: %ld of %ld points could not be converted\n", counts.failed, counts.points);
  return counts.unreadable > 0 || (o.strict && counts.failed > 0) ? kExitBadPoints : 0;
}

// MGRS on one side: references read or written on the other side's
// geographic CS (WGS 84 when that side is left out), converted from or to
// the other side through it.
int run_mgrs(const Options &o) {
  const bool from = is_mgrs(o.source);
  if (from && is_mgrs(o.target)) return fail("MGRS can be the source or the target, not both");
  const std::string &other = from ? o.target : o.source;
  std::string error;
  kxproj::CoordsysPtr cs;
  if (!other.empty()) {
    cs = kxproj::load_coordsys(other, error);
    if (!cs) return fail(std::string(from ? "target: " : "source: ") + error);
  } else {
    cs.reset(kx_factory_geogcs(4326));
  }
  kx_geogcs geogcs = kxproj::geogcs_of(cs.get());
  kxproj::Converter converter;
  if (!(from ? converter.init(geogcs, cs.get(), nullptr, false, error)
             : converter.init(cs.get(), geogcs, nullptr, false, error))) {
    return fail(error);
  }
  if (kx_projcs_p(static_cast<kx_projcs>(cs.get()))) kx_projcs_load_constants(static_cast<kx_projcs>(cs.get()));
  const int decimals = o.decimals >= 0 ? o.decimals : (converter.target_is_geographic() ? 9 : 4);
  kxproj::StreamCounts counts;
  auto convert = [&converter](int n, double *coords) { converter.convert(n, coords); };
  return stream_inputs(o, counts, [&](std::FILE *in, const std::string &name, std::string &e) {
    return from ? kxproj::stream_from_mgrs(in, name, stdout, geogcs, decimals, convert, counts, e)
                : kxproj::stream_to_mgrs(in, name, stdout, geogcs, o.mgrs_precision, convert, counts, e);
  });
}
std::string g_data_home;

const char *data_home() { return g_data_home.c_str(); }

int run(int argc, char **argv) {
  Options o;
  int status = parse_options(argc, argv, o);
  if (status >= 0) return status;
  if (!o.data_home.empty()) {
    g_data_home = o.data_home;
    kx_datahome_setfunc(data_home);
  }
  if (is_mgrs(o.source) || is_mgrs(o.target)) return run_mgrs(o);

  std::string error;
  kxproj::CoordsysPtr source = kxproj::load_coordsys(o.source, error);
  if (!source) return fail("source: " + error);
  kxproj::CoordsysPtr target = kxproj::load_coordsys(o.target, error);
  if (!target) return fail("target: " + error);

  kx_geogcs g1 = kxproj::geogcs_of(source.get()), g2 = kxproj::geogcs_of(target.get());
  const bool same_datum = kx_datum_eq(kx_geogcs_datum(g1), kx_geogcs_datum(g2)) != 0;
  if (o.list_via) {
    if (same_datum) return 0;
    for (const kxproj::Candidate &c : kxproj::transformations_between(g1, g2)) {
      std::string accuracy = c.accuracy >= 0 ? kxproj::format_number(c.accuracy) + " m" : "unknown";
      std::printf("%d %s accuracy %s%s%s%s%s\n", c.code, c.name.c_str(), accuracy.c_str(),
                  c.inverse ? " (inverse)" : "", c.deprecated ? " deprecated by EPSG" : "",
                  c.missing.empty() ? "" : " grid missing: ", c.missing.c_str());
    }
    return 0;
  }

  kxproj::GeogtranPtr via;
  if (!o.via.empty()) {
    via = kxproj::load_geogtran(o.via, error);
    if (!via) return fail("transformation: " + error);
  } else if (!same_datum) {
    // The most accurate one whose grid file, if it needs one, is there.
    for (const kxproj::Candidate &c : kxproj::transformations_between(g1, g2)) {
      if (!c.missing.empty()) {
        std::fprintf(stderr, "kxproj: passing over transformation %d %s: grid file %s not found\n",
                     c.code, c.name.c_str(), c.missing.c_str());
        continue;
      }
      via.reset(kx_factory_geogtran(c.code));
      o.inverse_via = c.inverse;
      break;
    }
  }

  kxproj::Converter converter;
  if (!converter.init(source.get(), target.get(), via.get(), o.inverse_via, error)) return fail(error);
  // Constants loaded once serve every batch; a projection without them still works.
  for (kx_coordsys cs : {source.get(), target.get()}) {
    if (kx_projcs_p(static_cast<kx_projcs>(cs))) kx_projcs_load_constants(static_cast<kx_projcs>(cs));
  }
  if (via) kx_geogtran_load_constants(via.get());

  kxproj::StreamOptions so;
  so.decimals = o.decimals >= 0 ? o.decimals : (converter.target_is_geographic() ? 9 : 4);
  kxproj::StreamCounts counts;
  auto convert = [&converter](int n, double *coords) { converter.convert(n, coords); };

  return stream_inputs(o, counts, [&](std::FILE *in, const std::string &name, std::string &e) {
    return kxproj::stream_points(in, name, stdout, so, convert, counts, e);
  });
}

}  // namespace

int main(int argc, char **argv) {
  int status = run(argc, argv);
  // Output lost on the way (a full disk, a closed standard output) is an
  // error, whatever the conversion itself achieved.
  errno = 0;
  const bool lost = std::ferror(stdout) != 0;
  if (std::fclose(stdout) != 0 || lost) {
    const int err = errno;
    if (status == 0 || status == kExitBadPoints) {
      fail(std::string("cannot write the output: ") + (err ? std::strerror(err) : "unknown error"));
    }
    status = kExitUsage;
  }
  return status;
}
