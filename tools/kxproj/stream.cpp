#include "stream.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace kxproj {

namespace {

// Points are converted in batches so that each driver call amortises its
// per-call set-up over many points.
constexpr size_t kBatch = 8192;

enum class LineKind { kPassThrough, kPoint, kBad };

struct Line {
  LineKind kind;
  size_t rest_begin, rest_end;  // into the batch's text arena
};

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

class Batch {
 public:
  Batch(std::FILE *out, const StreamOptions &options,
        const std::function<void(int, double *)> &convert, StreamCounts &counts)
      : out_(out), options_(options), convert_(convert), counts_(counts) {
    coords_.reserve(2 * kBatch);
    lines_.reserve(kBatch);
  }

  void add(const char *line, size_t len) {
    const char *end = line + len;
    const char *p = line;
    while (p < end && is_space(*p)) ++p;
    if (p == end || *p == '#') {
      push(LineKind::kPassThrough, line, end);
      return;
    }
    // The first two fields are the point; the rest of the line is kept.
    const char *field[2][2];
    for (auto &f : field) {
      while (p < end && is_space(*p)) ++p;
      f[0] = p;
      while (p < end && !is_space(*p)) ++p;
      f[1] = p;
    }
    double x, y;
    if (!parse_number(field[0][0], field[0][1], x) || !parse_number(field[1][0], field[1][1], y)) {
      push(LineKind::kBad, p, end);
      return;
    }
    coords_.push_back(x);
    coords_.push_back(y);
    push(LineKind::kPoint, p, end);
  }

  void flush() {
    if (lines_.empty()) return;
    int n = static_cast<int>(coords_.size() / 2);
    if (n > 0) convert_(n, coords_.data());
    size_t point = 0;
    for (const Line &l : lines_) {
      if (l.kind == LineKind::kPassThrough) {
        write(arena_.data() + l.rest_begin, l.rest_end - l.rest_begin);
      } else {
        double x = std::nan(""), y = std::nan("");
        if (l.kind == LineKind::kPoint) {
          x = coords_[2 * point];
          y = coords_[2 * point + 1];
          ++point;
        }
        ++counts_.points;
        if (std::isnan(x) || std::isnan(y)) ++counts_.failed;
        write_number(x);
        write(" ", 1);
        write_number(y);
        write(arena_.data() + l.rest_begin, l.rest_end - l.rest_begin);
      }
      write("\n", 1);
    }
    lines_.clear();
    coords_.clear();
    arena_.clear();
    std::fwrite(outbuf_.data(), 1, outbuf_.size(), out_);
    outbuf_.clear();
  }

  bool full() const { return lines_.size() >= kBatch; }

 private:
  static bool parse_number(const char *begin, const char *end, double &value) {
    if (begin == end) return false;
    // strtod needs a terminated text; fields are short.
    char buf[64];
    size_t len = static_cast<size_t>(end - begin);
    if (len >= sizeof buf) return false;
    std::memcpy(buf, begin, len);
    buf[len] = '\0';
    char *stop = nullptr;
    value = std::strtod(buf, &stop);
    return stop == buf + len;
  }

  void push(LineKind kind, const char *rest, const char *end) {
    size_t b = arena_.size();
    arena_.append(rest, static_cast<size_t>(end - rest));
    lines_.push_back({kind, b, arena_.size()});
  }

  void write(const char *s, size_t n) { outbuf_.append(s, n); }

  void write_number(double v) {
    if (std::isnan(v)) {
      write("nan", 3);
      return;
    }
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, options_.decimals);
    if (r.ec != std::errc()) {
      int len = std::snprintf(buf, sizeof buf, "%.*g", 17, v);
      write(buf, static_cast<size_t>(len));
      return;
    }
    write(buf, static_cast<size_t>(r.ptr - buf));
  }

  std::FILE *out_;
  const StreamOptions &options_;
  const std::function<void(int, double *)> &convert_;
  StreamCounts &counts_;
  std::vector<double> coords_;
  std::vector<Line> lines_;
  std::string arena_;
  std::string outbuf_;
};

}  // namespace

void stream_points(std::FILE *in, std::FILE *out, const StreamOptions &options,
                   const std::function<void(int, double *)> &convert, StreamCounts &counts) {
  Batch batch(out, options, convert, counts);
  char *line = nullptr;
  size_t cap = 0;
  ssize_t len;
  while ((len = getline(&line, &cap, in)) >= 0) {
    size_t n = static_cast<size_t>(len);
    if (n > 0 && line[n - 1] == '\n') --n;
    batch.add(line, n);
    if (batch.full()) batch.flush();
  }
  std::free(line);
  batch.flush();
  std::fflush(out);
}

}  // namespace kxproj
