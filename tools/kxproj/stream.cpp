#include "stream.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kxproj {

namespace {

constexpr std::size_t kReadChunk = std::size_t{1} << 16;

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool parse_number(const char *begin, const char *end, double &value) {
  if (begin == end) return false;
  // strtod needs a terminated text; fields are short.
  char buf[64];
  const std::size_t len = static_cast<std::size_t>(end - begin);
  if (len >= sizeof buf) return false;
  std::memcpy(buf, begin, len);
  buf[len] = '\0';
  char *stop = nullptr;
  value = std::strtod(buf, &stop);
  return stop == buf + len;
}

std::string describe_errno(int err) { return err != 0 ? std::strerror(err) : "unknown error"; }

struct Line {
  LineKind kind;
  std::size_t rest_begin, rest_end;  // into the batch's text arena
};

class Batch {
 public:
  Batch(std::FILE *out, const StreamOptions &options,
        const std::function<void(int, double *)> &convert, StreamCounts &counts)
      : out_(out), options_(options), convert_(convert), counts_(counts) {
    coords_.reserve(2 * kBatchLines);
    lines_.reserve(kBatchLines);
  }

  // False for a line that is not two numbers.
  bool add(const char *line, std::size_t len) {
    const ParsedLine p = parse_line(line, len);
    if (p.kind == LineKind::kPoint) {
      coords_.push_back(p.x);
      coords_.push_back(p.y);
    }
    const std::size_t b = arena_.size();
    arena_.append(line + p.rest, len - p.rest);
    lines_.push_back({p.kind, b, arena_.size()});
    return p.kind != LineKind::kBad;
  }

  bool full() const { return lines_.size() >= kBatchLines || arena_.size() >= kBatchBytes; }

  // Converts and writes the batch; false with `error` set when writing fails.
  bool flush(std::string &error) {
    if (lines_.empty()) return true;
    const int n = static_cast<int>(coords_.size() / 2);
    if (n > 0) convert_(n, coords_.data());
    std::size_t point = 0;
    for (const Line &l : lines_) {
      if (l.kind != LineKind::kPassThrough) {
        double x = std::nan(""), y = std::nan("");
        if (l.kind == LineKind::kPoint) {
          x = coords_[2 * point];
          y = coords_[2 * point + 1];
          ++point;
        }
        ++counts_.points;
        if (std::isnan(x) || std::isnan(y)) ++counts_.failed;
        append_number(outbuf_, x, options_.decimals);
        write(" ", 1);
        append_number(outbuf_, y, options_.decimals);
      }
      write(arena_.data() + l.rest_begin, l.rest_end - l.rest_begin);
      write("\n", 1);
    }
    counts_.lines += static_cast<long>(lines_.size());
    lines_.clear();
    coords_.clear();
    arena_.clear();
    const bool written = write_all(out_, outbuf_, error);
    outbuf_.clear();
    return written;
  }

 private:
  void write(const char *s, std::size_t n) { outbuf_.append(s, n); }

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

LineReader::LineReader(std::FILE *in, std::size_t max) : in_(in), max_(max), chunk_(kReadChunk) {}

LineReader::Result LineReader::next(const char *&line, std::size_t &length) {
  partial_.clear();
  for (;;) {
    if (pos_ == end_) {
      if (eof_) {
        if (partial_.empty()) return kEnd;
        line = partial_.data();
        length = partial_.size();
        return kLine;
      }
      errno = 0;
      end_ = std::fread(chunk_.data(), 1, chunk_.size(), in_);
      pos_ = 0;
      if (std::ferror(in_)) {
        error_ = errno;
        return kReadError;
      }
      if (end_ < chunk_.size()) eof_ = true;
      continue;
    }
    const char *start = chunk_.data() + pos_;
    const void *nl = std::memchr(start, '\n', end_ - pos_);
    const std::size_t n = nl ? static_cast<std::size_t>(static_cast<const char *>(nl) - start)
                             : end_ - pos_;
    if (partial_.size() + n > max_) return kTooLong;
    if (nl == nullptr) {
      partial_.append(start, n);
      pos_ = end_;
      continue;
    }
    pos_ += n + 1;
    if (partial_.empty()) {
      line = start;
      length = n;
    } else {
      partial_.append(start, n);
      line = partial_.data();
      length = partial_.size();
    }
    return kLine;
  }
}

ParsedLine parse_line(const char *line, std::size_t length) {
  ParsedLine r;
  const char *end = line + length;
  const char *p = line;
  while (p < end && is_space(*p)) ++p;
  if (p == end || *p == '#') return r;
  // The first two fields are the point; the rest of the line is kept.
  const char *field[2][2];
  for (auto &f : field) {
    while (p < end && is_space(*p)) ++p;
    f[0] = p;
    while (p < end && !is_space(*p)) ++p;
    f[1] = p;
  }
  r.rest = static_cast<std::size_t>(p - line);
  const bool ok = parse_number(field[0][0], field[0][1], r.x) &&
                  parse_number(field[1][0], field[1][1], r.y);
  r.kind = ok ? LineKind::kPoint : LineKind::kBad;
  if (!ok) r.x = r.y = 0;
  return r;
}

bool stream_batches(std::FILE *in, const std::string &in_name, std::FILE *out, std::size_t max_line,
                    const std::function<bool(const char *, std::size_t)> &add,
                    const std::function<bool()> &full, const std::function<bool(std::string &)> &flush,
                    StreamCounts &counts, std::string &error) {
  LineReader reader(in, max_line);
  long read = 0;
  const char *line = nullptr;
  std::size_t length = 0;
  LineReader::Result r;
  while ((r = reader.next(line, length)) == LineReader::kLine) {
    ++read;
    if (!add(line, length) && ++counts.unreadable <= kUnreadableMessages)
      std::fprintf(stderr, "kxproj: %s, line %ld: not two numbers\n", in_name.c_str(), read);
    if (full() && !flush(error)) return false;
  }
  // What was read before a failure is still written.
  if (!flush(error)) return false;
  if (r == LineReader::kTooLong) {
    error = in_name + ", line " + std::to_string(read + 1) + ": longer than " +
            std::to_string(max_line) + " bytes";
    return false;
  }
  if (r == LineReader::kReadError) {
    error = "cannot read " + in_name + ": " + describe_errno(reader.error());
    return false;
  }
  errno = 0;
  if (std::fflush(out) != 0) {
    error = "cannot write the output: " + describe_errno(errno);
    return false;
  }
  return true;
}

void append_number(std::string &out, double v, int decimals) {
  if (std::isnan(v)) {
    out += "nan";
    return;
  }
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) r.ptr = buf + std::snprintf(buf, sizeof buf, "%.17g", v);
  out.append(buf, static_cast<std::size_t>(r.ptr - buf));
}

bool write_all(std::FILE *out, const std::string &text, std::string &error) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), out) == text.size()) return true;
  error = "cannot write the output: " + describe_errno(errno);
  return false;
}

bool stream_points(std::FILE *in, const std::string &in_name, std::FILE *out,
                   const StreamOptions &options, const std::function<void(int, double *)> &convert,
                   StreamCounts &counts, std::string &error) {
  Batch batch(out, options, convert, counts);
  return stream_batches(
      in, in_name, out, options.max_line,
      [&](const char *line, std::size_t n) { return batch.add(line, n); },
      [&] { return batch.full(); }, [&](std::string &e) { return batch.flush(e); }, counts, error);
}

}  // namespace kxproj
