// Line streaming: parse coordinate lines in batches, convert, write them back.
#ifndef KXPROJ_STREAM_H
#define KXPROJ_STREAM_H

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

namespace kxproj {

// The longest input line, without its newline, that kxproj reads (1 MiB).
// A longer line stops the conversion with an error rather than being held
// whole in memory.
constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

struct StreamOptions {
  int decimals = 4;
  std::size_t max_line = kMaxLineBytes;
};

struct StreamCounts {
  long lines = 0;  // lines read and written, over all inputs
  long points = 0;
  long failed = 0;
};

enum class LineKind { kPassThrough, kPoint, kBad };

// One input line (without its newline) read as kxproj sees it: blank lines
// and lines starting with '#' pass through; a line whose first two fields
// are numbers is a point (x, y), anything else a point that cannot be
// converted. For a point, good or bad, the text from `rest` on is kept after
// the converted pair.
struct ParsedLine {
  LineKind kind = LineKind::kPassThrough;
  double x = 0, y = 0;
  std::size_t rest = 0;
};
ParsedLine parse_line(const char *line, std::size_t length);

// Reads lines from `in` (named `in_name` in messages) and writes them to
// `out`, each point line with its first two fields replaced by the converted
// pair. `convert` is called once per batch with the batch's coordinate
// pairs. False with `error` set for a read error, a line longer than
// `options.max_line` or a write error; every line before the failing one
// has then been written (unless writing failed).
bool stream_points(std::FILE *in, const std::string &in_name, std::FILE *out,
                   const StreamOptions &options, const std::function<void(int, double *)> &convert,
                   StreamCounts &counts, std::string &error);

}  // namespace kxproj

#endif
