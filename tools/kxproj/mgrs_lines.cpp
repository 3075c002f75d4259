#include "mgrs_lines.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kxproj {

namespace {

constexpr std::size_t kReferenceSize = 22;  // the longest reference and its terminator

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

struct Line {
  std::string head;  // the first field (or a passed-through line)
  std::string rest;  // what follows the fields read
  bool pass = false, point = false;
};

// Splits off `fields` whitespace-separated fields; false for a blank or
// comment line, which passes through whole.
bool split(const std::string &text, int fields, std::vector<std::string> &out, std::string &rest) {
  std::size_t p = 0;
  while (p < text.size() && is_space(text[p])) ++p;
  if (p == text.size() || text[p] == '#') return false;
  out.clear();
  for (int f = 0; f < fields; ++f) {
    while (p < text.size() && is_space(text[p])) ++p;
    const std::size_t b = p;
    while (p < text.size() && !is_space(text[p])) ++p;
    out.push_back(text.substr(b, p - b));
  }
  rest = text.substr(p);
  return true;
}

bool number(const std::string &field, double &v) {
  if (field.empty()) return false;
  char *end = nullptr;
  v = std::strtod(field.c_str(), &end);
  return end == field.c_str() + field.size();
}

void put_number(std::string &out, double v, int decimals) {
  if (std::isnan(v)) {
    out += "nan";
    return;
  }
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) r.ptr = buf + std::snprintf(buf, sizeof buf, "%.17g", v);
  out.append(buf, static_cast<std::size_t>(r.ptr - buf));
}

}  // namespace

bool stream_to_mgrs(std::FILE *in, const std::string &in_name, std::FILE *out, kx_geogcs geogcs,
                    int precision, const BatchFn &to_geog, StreamCounts &counts, std::string &error) {
  std::vector<Line> lines;
  std::vector<double> coords;
  std::vector<std::string> fields;
  std::size_t bytes = 0;
  auto add = [&](const char *line, std::size_t length) {
    std::string text(line, length);
    bytes += length;
    Line l;
    double x = 0, y = 0;
    if (!split(text, 2, fields, l.rest)) {
      l.pass = true;
      l.head = std::move(text);
    } else if (number(fields[0], x) && number(fields[1], y)) {
      l.point = true;
      coords.push_back(x);
      coords.push_back(y);
    }
    lines.push_back(std::move(l));
  };
  auto full = [&] { return lines.size() >= kBatchLines || bytes >= kBatchBytes; };
  auto flush = [&](std::string &e) {
    const int n = static_cast<int>(coords.size() / 2);
    std::vector<char> buffers(kReferenceSize * static_cast<std::size_t>(n) + 1);
    std::vector<char *> refs;
    for (int i = 0; i < n; ++i) refs.push_back(&buffers[kReferenceSize * static_cast<std::size_t>(i)]);
    if (n > 0) {
      to_geog(n, coords.data());
      kx_geog_to_mgrs(geogcs, n, coords.data(), precision, 0, refs.data());
    }
    std::string text;
    std::size_t point = 0;
    for (const Line &l : lines) {
      if (l.pass) {
        text += l.head;
      } else {
        const char *ref = l.point ? refs[point++] : "";
        ++counts.points;
        if (*ref == '\0') ++counts.failed;
        text += *ref ? ref : "nan";
        text += l.rest;
      }
      text += '\n';
    }
    lines.clear();
    coords.clear();
    bytes = 0;
    return write_all(out, text, e);
  };
  return stream_batches(in, in_name, out, kMaxLineBytes, add, full, flush, error);
}

bool stream_from_mgrs(std::FILE *in, const std::string &in_name, std::FILE *out, kx_geogcs geogcs,
                      int decimals, const BatchFn &from_geog, StreamCounts &counts, std::string &error) {
  std::vector<Line> lines;
  std::vector<std::string> fields;
  std::size_t bytes = 0;
  auto add = [&](const char *line, std::size_t length) {
    std::string text(line, length);
    bytes += length;
    Line l;
    if (!split(text, 1, fields, l.rest)) {
      l.pass = true;
      l.head = std::move(text);
    } else {
      l.point = true;
      l.head = fields[0];
    }
    lines.push_back(std::move(l));
  };
  auto full = [&] { return lines.size() >= kBatchLines || bytes >= kBatchBytes; };
  auto flush = [&](std::string &e) {
    std::vector<const char *> refs;
    for (const Line &l : lines) {
      if (l.point) refs.push_back(l.head.c_str());
    }
    const int n = static_cast<int>(refs.size());
    std::vector<double> coords(2 * refs.size());
    if (n > 0) {
      kx_mgrs_to_geog(geogcs, n, refs.data(), coords.data());
      from_geog(n, coords.data());
    }
    std::string text;
    std::size_t point = 0;
    for (const Line &l : lines) {
      if (l.pass) {
        text += l.head;
      } else {
        const double x = coords[2 * point], y = coords[2 * point + 1];
        ++point;
        ++counts.points;
        if (std::isnan(x) || std::isnan(y)) ++counts.failed;
        put_number(text, x, decimals);
        text += ' ';
        put_number(text, y, decimals);
        text += l.rest;
      }
      text += '\n';
    }
    lines.clear();
    bytes = 0;
    return write_all(out, text, e);
  };
  return stream_batches(in, in_name, out, kMaxLineBytes, add, full, flush, error);
}

}  // namespace kxproj
