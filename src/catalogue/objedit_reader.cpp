// Reading the user definition files: lines, tokens, the checked fields of
// each kind, and the per-thread snapshot that listings use.
#include "catalogue/objedit_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

#include "catalogue/generated/code_ranges.h"
#include "catalogue/parameter_slots.h"
#include "kx_def.h"

namespace kx::catalogue {

namespace {

// Longer lines are dropped whole: reading them in pieces would turn the rest
// of a line into lines of its own.
constexpr std::size_t kMaxLine = 1023;

struct KindFile {
  const char *file;
  const char *keyword;
};

constexpr KindFile kFiles[kUserKinds] = {
    {"spheroid", "SPHEROID"}, {"primem", "PRIMEM"}, {"unit", "UNIT"},         {"datum", "DATUM"},
    {"geogcs", "GEOGCS"},     {"projcs", "PROJCS"}, {"geogtran", "GEOGTRAN"},
};

bool in(int code, int lo, int hi) { return code >= lo && code <= hi; }

bool unit_code(int code) {
  return in_ranges(kLinearUnitCodes, code) || in_ranges(kAngularUnitCodes, code);
}

// Slot of a projected CS parameter code (up to the XY plane rotation), -1
// outside the map.
int projcs_slot(int code) { return code <= KX_PAR_XY_PLANE_ROTATION ? mapped_slot(code) : -1; }

// Slot of a transformation parameter code (the translations to the rotation
// origin, but the dataset).
int geogtran_slot(int code) {
  return in(code, KX_PAR_X_AXIS_TRANSLATION, KX_PAR_Z_COORD_OF_ROTATION_ORIGIN) &&
                 code != KX_PAR_NAME_DATASET
             ? mapped_slot(code)
             : -1;
}

constexpr int kGridMethod = -1;
constexpr int kUnknownMethod = -2;

// Parameter pairs a method's line carries; kGridMethod for the grid methods.
int method_pairs(int method) {
  switch (method) {
    case KX_MTH_LONGITUDE_ROTATION: return 0;
    case KX_MTH_GEOCENTRIC_TRANSLATION:
    case KX_MTH_MOLODENSKY:
    case KX_MTH_MOLODENSKY_ABRIDGED: return 3;
    case KX_MTH_POSITION_VECTOR:
    case KX_MTH_COORDINATE_FRAME:
    case KX_MTH_BURSA_WOLF: return 7;
    case KX_MTH_MOLODENSKY_BADEKAS: return 10;
    case KX_MTH_NADCON:
    case KX_MTH_NTV2:
    case KX_MTH_HARN: return kGridMethod;
    default: return kUnknownMethod;
  }
}

// Tokens of one line. A type of this unit, so the library exports no
// instantiation of the standard containers.
struct Token {
  std::string text;
};

class Tokens {
 public:
  void add(std::string text) { items_.push_back(Token{std::move(text)}); }
  std::size_t size() const { return items_.size() - first_; }
  const std::string &operator[](std::size_t i) const { return items_[first_ + i].text; }
  // Drops the first n tokens (n at most size()).
  void drop(std::size_t n) { first_ += n; }

 private:
  std::vector<Token> items_;
  std::size_t first_ = 0;
};

bool read_codes(const Tokens &t, std::size_t from, int n, int *codes) {
  for (int i = 0; i < n; ++i) {
    if (!read_user_code(t[from + i], &codes[i])) return false;
  }
  return true;
}

bool parse_projcs_items(const Tokens &t, UserDefinition *d) {
  std::size_t i = 4;
  while (i < t.size()) {
    int code = 0;
    if (!read_user_code(t[i], &code)) return false;
    const int slot = projcs_slot(code);
    if (slot >= 0) {
      double value = 0.0;
      if (i + 1 >= t.size() || !read_user_number(t[i + 1], &value)) return false;
      d->parameters.push_back({code, slot, value});
      i += 2;
    } else if (unit_code(code)) {
      d->components[2] = code;
      ++i;
    } else if (in_ranges(kParameterCodes, code)) {
      i += 2;  // a parameter the map does not place: its value goes with it
    } else {
      ++i;
    }
  }
  return true;
}

bool parse_geogtran_pairs(const Tokens &t, UserDefinition *d) {
  const int pairs = method_pairs(d->components[2]);
  if (pairs == kUnknownMethod) return false;
  if (pairs == kGridMethod) {
    int code = 0;
    if (t.size() < 7 || !read_user_code(t[5], &code) || code != KX_PAR_NAME_DATASET) return false;
    d->dataset = t[6];
    // The prefix gives the parameter its slot, as in the built-in entries.
    if (d->dataset.size() < 8 || kx_strcmp_ci(d->dataset.substr(0, 8).c_str(), "Dataset_") != 0) {
      d->dataset.insert(0, "Dataset_");
    }
    d->parameters.push_back({KX_PAR_NAME_DATASET, mapped_slot(KX_PAR_NAME_DATASET), 0.0});
    return true;
  }
  if (t.size() < 5 + 2 * static_cast<std::size_t>(pairs)) return false;
  for (int k = 0; k < pairs; ++k) {
    int code = 0;
    double value = 0.0;
    if (!read_user_code(t[5 + 2 * k], &code) || !read_user_number(t[6 + 2 * k], &value)) {
      return false;
    }
    const int slot = geogtran_slot(code);
    if (slot < 0) return false;
    d->parameters.push_back({code, slot, value});
  }
  return true;
}

// The fields after the keyword; false for a malformed line.
bool parse_definition(UserKind kind, const Tokens &t, UserDefinition *d) {
  static constexpr std::size_t kMinTokens[kUserKinds] = {4, 3, 3, 3, 5, 4, 5};
  if (t.size() < kMinTokens[static_cast<int>(kind)]) return false;
  if (!read_user_code(t[0], &d->code)) return false;
  d->name = t[1];
  switch (kind) {
    case UserKind::Spheroid: {
      if (!read_user_number(t[2], &d->values[0]) || !read_user_number(t[3], &d->values[1])) {
        return false;
      }
      if (d->values[1] > 1.0) d->values[1] = 1.0 / d->values[1];
      return true;
    }
    case UserKind::Primem:
    case UserKind::Unit: return read_user_number(t[2], &d->values[0]);
    case UserKind::Datum: return read_codes(t, 2, 1, d->components);
    case UserKind::Geogcs: return read_codes(t, 2, 3, d->components);
    case UserKind::Projcs: return read_codes(t, 2, 2, d->components) && parse_projcs_items(t, d);
    case UserKind::Geogtran:
      return read_codes(t, 2, 3, d->components) && parse_geogtran_pairs(t, d);
  }
  return false;
}

// Splits at commas and double quotes; blank pieces are dropped, the others trimmed.
Tokens tokenize(const char *line, std::size_t length) {
  Tokens tokens;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= length; ++i) {
    if (i < length && line[i] != ',' && line[i] != '"') continue;
    std::string piece(line + start, i - start);
    kx_trimstring(&piece[0]);
    piece.resize(std::strlen(piece.c_str()));
    if (!piece.empty()) tokens.add(std::move(piece));
    start = i + 1;
  }
  return tokens;
}

// The next line without its newline; false at the end of the file. A line
// that is too long, holds a NUL byte or was cut by a read error is unusable.
bool next_line(std::FILE *f, char (&buffer)[kMaxLine + 1], std::size_t *length, bool *usable) {
  std::size_t n = 0;
  bool ok = true;
  bool any = false;
  int c;
  while ((c = std::getc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (c == '\0' || n == kMaxLine) {
      ok = false;
    } else {
      buffer[n++] = static_cast<char>(c);
    }
  }
  if (!any) return false;
  if (c == EOF && std::ferror(f)) ok = false;
  buffer[n] = '\0';
  *length = n;
  *usable = ok;
  return true;
}

// Visits the well-formed definitions of the kind's file in order until visit
// returns true. Only regular files are read.
void read_user_file(UserKind kind, const std::function<bool(UserDefinition &)> &visit) {
  const char *home = kx_get_objedithome();
  if (home == nullptr || home[0] == '\0') return;
  const KindFile &kf = kFiles[static_cast<int>(kind)];
  // Sized for this home, so no directory name can overrun it.
  std::string path(std::strlen(home) + 1 + std::strlen(kf.file) + 1, '\0');
  std::memcpy(&path[0], home, std::strlen(home));
  kx_pathcat(&path[0], kf.file);
  path.resize(std::strlen(path.c_str()));

  // Opened without blocking and checked on the open descriptor, so a FIFO
  // or a directory put in the file's place is never read.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st;
  std::FILE *f = nullptr;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) f = fdopen(fd, "r");
  if (f == nullptr) {
    close(fd);
    return;
  }
  // Closed also when a reading runs out of memory (std::bad_alloc).
  const std::unique_ptr<std::FILE, int (*)(std::FILE *)> closer(f, std::fclose);
  char buffer[kMaxLine + 1];
  std::size_t length = 0;
  bool usable = false;
  while (next_line(f, buffer, &length, &usable)) {
    if (!usable) continue;
    Tokens tokens = tokenize(buffer, length);
    std::size_t k = 0;
    while (k < tokens.size() && kx_strcmp_ci(tokens[k].c_str(), kf.keyword) != 0) ++k;
    if (k == tokens.size()) continue;
    tokens.drop(k + 1);
    UserDefinition d;
    if (!parse_definition(kind, tokens, &d)) continue;
    if (visit(d)) break;
  }
}

struct Snapshot {
  bool loaded[kUserKinds] = {};
  std::vector<UserDefinition> definitions[kUserKinds];

  const std::vector<UserDefinition> &of(UserKind kind) {
    const int k = static_cast<int>(kind);
    if (!loaded[k]) {
      definitions[k].clear();  // a reading cut short by lack of memory starts over
      read_user_file(kind, [&](UserDefinition &d) {
        definitions[k].push_back(std::move(d));
        return false;
      });
      loaded[k] = true;
    }
    return definitions[k];
  }
};

thread_local Snapshot *t_snapshot = nullptr;

bool all_digits(const std::string &s, std::size_t from, std::size_t to) {
  if (from >= to) return false;
  for (std::size_t i = from; i < to; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
  }
  return true;
}

}  // namespace

bool read_user_code(const std::string &token, int *code) {
  *code = 0;
  std::size_t i = token.empty() || (token[0] != '+' && token[0] != '-') ? 0 : 1;
  if (all_digits(token, i, token.size())) {
    long long v = 0;
    for (; i < token.size(); ++i) {
      v = v * 10 + (token[i] - '0');
      if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (token[0] == '-') v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    *code = static_cast<int>(v);
    if (*code != 0) return true;
  }
  *code = kx_defstring_to_int(token.c_str());
  return *code != 0;
}

bool read_user_number(const std::string &token, double *value) {
  // The whole token must be a number; kx_atod alone would accept "12abc".
  std::size_t i = 0;
  const std::size_t n = token.size();
  if (i < n && (token[i] == '+' || token[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && token[i] >= '0' && token[i] <= '9') ++i, ++digits;
  if (i < n && token[i] == '.') {
    ++i;
    while (i < n && token[i] >= '0' && token[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (token[i] == 'e' || token[i] == 'E')) {
    ++i;
    if (i < n && (token[i] == '+' || token[i] == '-')) ++i;
    const std::size_t from = i;
    while (i < n && token[i] >= '0' && token[i] <= '9') ++i;
    if (i == from) return false;
  }
  if (i != n) return false;
  *value = kx_atod(token.c_str());
  return std::isfinite(*value);
}

bool find_user_definition(UserKind kind, int code, UserDefinition *out) {
  if (code == 0) return false;
  try {
    if (t_snapshot != nullptr) {
      for (const UserDefinition &d : t_snapshot->of(kind)) {
        if (d.code == code) {
          *out = d;
          return true;
        }
      }
      return false;
    }
    bool found = false;
    read_user_file(kind, [&](UserDefinition &d) {
      if (d.code != code) return false;
      *out = std::move(d);
      found = true;
      return true;
    });
    return found;
  } catch (const std::bad_alloc &) {
    return false;
  }
}

std::vector<int> user_definition_codes(UserKind kind) {
  std::vector<int> codes;
  try {
    if (t_snapshot != nullptr) {
      for (const UserDefinition &d : t_snapshot->of(kind)) codes.push_back(d.code);
    } else {
      read_user_file(kind, [&](UserDefinition &d) {
        codes.push_back(d.code);
        return false;
      });
    }
  } catch (const std::bad_alloc &) {
    codes.clear();
  }
  return codes;
}

UserFileSnapshot::UserFileSnapshot() : owner_(false) {
  if (t_snapshot != nullptr) return;
  t_snapshot = new (std::nothrow) Snapshot;
  owner_ = t_snapshot != nullptr;
}

UserFileSnapshot::~UserFileSnapshot() {
  if (!owner_) return;
  delete t_snapshot;
  t_snapshot = nullptr;
}

}  // namespace kx::catalogue
