// Parsing a keyword projection file into its record, and reading the
// numbers of its fields. Numbers are read character by character and
// converted by kx_atod, which uses a thread-local "C" locale: the process
// locale is never switched.
#include <cmath>
#include <climits>
#include <cstring>

#include "prjfile/prjfile.h"

namespace kx::prjfile {

namespace {

// Longest field or parameter line kept; a longer one is refused, not cut,
// since a cut number would be another number.
constexpr std::size_t kMaxField = 255;

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Skips blanks; then, when a number in the "C" notation starts at *p, sets
// *end after it and returns true.
bool scan_number(const char *p, const char **start, const char **end) {
  while (is_space(*p)) ++p;
  *start = p;
  const char *q = p;
  if (*q == '+' || *q == '-') ++q;
  int digits = 0;
  while (is_digit(*q)) ++q, ++digits;
  if (*q == '.') {
    ++q;
    while (is_digit(*q)) ++q, ++digits;
  }
  if (digits == 0) return false;
  if (*q == 'e' || *q == 'E') {
    const char *r = q + 1;
    if (*r == '+' || *r == '-') ++r;
    if (is_digit(*r)) {
      while (is_digit(*r)) ++r;
      q = r;
    }
  }
  *end = q;
  return true;
}

struct KeywordField {
  const char *keyword;
  std::string Record::*field;  // null: the line is ignored
};

// In the order lines are matched by prefix.
const KeywordField kKeywords[] = {
    {"DATUM", &Record::datum},       {"DENSIFY", nullptr},
    {"FIPSZONE", &Record::fipszone}, {"FLIP", nullptr},
    {"FORMAT", nullptr},             {"GENERALIZE", nullptr},
    {"PARAMETERS", nullptr},         {"PROJECTION", &Record::projection},
    {"QUADRANT", nullptr},           {"SPHEROID", &Record::spheroid},
    {"SWITCH", nullptr},             {"UNITS", &Record::units},
    {"XSHIFT", &Record::xshift},     {"YSHIFT", &Record::yshift},
    {"ZONE", &Record::zone},         {"ZUNITS", &Record::zunits},
};

// Cuts the comment, trims and upper-cases one line.
std::string clean_line(const char *begin, const char *end) {
  for (const char *p = begin; p + 1 < end; ++p) {
    if (p[0] == '/' && p[1] == '*') {
      end = p;
      break;
    }
  }
  while (begin < end && is_space(*begin)) ++begin;
  while (end > begin && is_space(end[-1])) --end;
  std::string line(begin, end);
  for (char &c : line) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return line;
}

int file_line(const std::string &line, bool *in_parameters, Record *r) {
  if (line.size() > kMaxField) return kUnknownKeyword;
  if (*in_parameters) {
    if (r->nlines == kParameterLines) return kTooManyParameters;
    r->lines[r->nlines++] = line;
    return kOk;
  }
  if (line.empty()) return kOk;
  for (const KeywordField &k : kKeywords) {
    if (!starts_with(line, k.keyword)) continue;
    std::size_t at = std::strlen(k.keyword);
    while (at < line.size() && is_space(line[at])) ++at;
    std::string rest = line.substr(at);
    if (std::strcmp(k.keyword, "PARAMETERS") == 0) {
      *in_parameters = true;
      r->lines[0] = rest;
      r->nlines = 1;
    } else if (k.field != nullptr) {
      if (k.field == &Record::datum) {
        std::size_t word = 0;
        while (word < rest.size() && !is_space(rest[word])) ++word;
        rest.resize(word);
      }
      r->*k.field = rest;
    }
    return kOk;
  }
  return kUnknownKeyword;
}

}  // namespace

int parse_text(const char *text, std::size_t length, Record *record) {
  *record = Record();
  bool in_parameters = false;
  const char *p = text;
  const char *end = text + length;
  while (p < end) {
    const char *eol = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    // A last line without a line feed is a line all the same.
    const char *line_end = eol != nullptr ? eol : end;
    // Empty lines are skipped; "\r" alone is the empty line of a CR LF file.
    const bool empty = line_end == p || (line_end == p + 1 && *p == '\r');
    if (!empty) {
      const int status = file_line(clean_line(p, line_end), &in_parameters, record);
      if (status != kOk) return status;
    }
    p = eol != nullptr ? eol + 1 : end;
  }
  return kOk;
}

bool read_number(const std::string &text, double *value) {
  *value = 0.0;
  const char *start = nullptr;
  const char *end = nullptr;
  if (!scan_number(text.c_str(), &start, &end)) return true;
  *value = kx_atod(std::string(start, end).c_str());
  return std::isfinite(*value);
}

bool read_integer(const std::string &text, int *value) {
  *value = 0;
  const char *p = text.c_str();
  while (is_space(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  long long v = 0;
  for (; is_digit(*p); ++p) {
    v = v * 10 + (*p - '0');
    if (v > static_cast<long long>(INT_MAX)) return false;
  }
  *value = static_cast<int>(negative ? -v : v);
  return true;
}

bool read_angle(const std::string &text, double *degrees) {
  *degrees = 0.0;
  double part[3] = {0.0, 0.0, 0.0};
  const char *p = text.c_str();
  int n = 0;
  for (;;) {
    const char *start = nullptr;
    const char *end = nullptr;
    if (!scan_number(p, &start, &end)) {
      // Only blanks may follow the last number.
      return *start == '\0';
    }
    if (n == 3) return false;
    part[n++] = std::fabs(kx_atod(std::string(start, end).c_str()));
    if (!std::isfinite(part[n - 1])) return false;
    if (*end != '\0' && !is_space(*end)) return false;
    p = end;
    const double v = part[0] + part[1] / 60.0 + part[2] / 3600.0;
    // Finite parts can still sum past the largest double.
    if (!std::isfinite(v)) return false;
    *degrees = std::strchr(text.c_str(), '-') != nullptr ? -v : v;
  }
}

}  // namespace kx::prjfile
