#include "mgrs_lines.h"

#include <cmath>
#include <string>
#include <vector>

namespace kxproj {

namespace {

constexpr std::size_t kReferenceSize = 22;  // the longest reference and its terminator

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// One line of a batch: passed through whole, or a point (good or not) whose
// output is followed by the rest of the line.
struct Line {
  std::string head;  // the whole line passed through, or the reference read
  std::string rest;
  bool pass = false, point = false;
};

// A batch of lines with the stream's bounds.
struct Lines {
  std::vector<Line> lines;
  std::size_t bytes = 0;
  bool full() const { return lines.size() >= kBatchLines || bytes >= kBatchBytes; }
  Line &add(std::size_t length) {
    bytes += length;
    lines.emplace_back();
    return lines.back();
  }
  void clear() {
    lines.clear();
    bytes = 0;
  }
};

}  // namespace

bool stream_to_mgrs(std::FILE *in, const std::string &in_name, std::FILE *out, kx_geogcs geogcs,
                    int precision, const BatchFn &to_geog, StreamCounts &counts, std::string &error) {
  Lines batch;
  std::vector<double> coords;
  auto add = [&](const char *line, std::size_t length) {
    Line &l = batch.add(length);
    const ParsedLine p = parse_line(line, length);
    if (p.kind == LineKind::kPassThrough) {
      l.pass = true;
      l.head.assign(line, length);
      return true;
    }
    l.rest.assign(line + p.rest, length - p.rest);
    l.point = p.kind == LineKind::kPoint;
    if (l.point) {
      coords.push_back(p.x);
      coords.push_back(p.y);
    }
    return l.point;
  };
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
    for (const Line &l : batch.lines) {
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
    batch.clear();
    coords.clear();
    return write_all(out, text, e);
  };
  return stream_batches(in, in_name, out, kMaxLineBytes, add, [&] { return batch.full(); }, flush,
                        counts, error);
}

bool stream_from_mgrs(std::FILE *in, const std::string &in_name, std::FILE *out, kx_geogcs geogcs,
                      int decimals, const BatchFn &from_geog, StreamCounts &counts, std::string &error) {
  Lines batch;
  auto add = [&](const char *line, std::size_t length) {
    Line &l = batch.add(length);
    const char *p = line, *end = line + length;
    while (p < end && is_space(*p)) ++p;
    if (p == end || *p == '#') {
      l.pass = true;
      l.head.assign(line, length);
      return true;
    }
    const char *b = p;
    while (p < end && !is_space(*p)) ++p;
    l.point = true;
    l.head.assign(b, p);
    l.rest.assign(p, end);
    return true;  // a reference that does not read prints as nan
  };
  auto flush = [&](std::string &e) {
    std::vector<const char *> refs;
    for (const Line &l : batch.lines) {
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
    for (const Line &l : batch.lines) {
      if (l.pass) {
        text += l.head;
      } else {
        const double x = coords[2 * point], y = coords[2 * point + 1];
        ++point;
        ++counts.points;
        if (std::isnan(x) || std::isnan(y)) ++counts.failed;
        append_number(text, x, decimals);
        text += ' ';
        append_number(text, y, decimals);
        text += l.rest;
      }
      text += '\n';
    }
    batch.clear();
    return write_all(out, text, e);
  };
  return stream_batches(in, in_name, out, kMaxLineBytes, add, [&] { return batch.full(); }, flush,
                        counts, error);
}

}  // namespace kxproj
