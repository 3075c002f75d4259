// Line streaming: parse coordinate lines in batches, convert, write them back.
#ifndef KXPROJ_STREAM_H
#define KXPROJ_STREAM_H

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kxproj {

// The longest input line, without its newline, that kxproj reads (1 MiB).
// A longer line stops the conversion with an error rather than being held
// whole in memory.
constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

// Lines of at most `max` bytes, read in chunks; a longer line is an error
// as soon as its first max + 1 bytes are seen, so it never grows in memory.
class LineReader {
 public:
  enum Result { kLine, kEnd, kTooLong, kReadError };

  LineReader(std::FILE *in, std::size_t max);
  // The next line without its newline; valid until the next call.
  Result next(const char *&line, std::size_t &length);
  int error() const { return error_; }

 private:
  std::FILE *in_;
  std::size_t max_;
  std::vector<char> chunk_;
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  int error_ = 0;
  std::string partial_;
};

struct StreamOptions {
  int decimals = 4;
  std::size_t max_line = kMaxLineBytes;
};

struct StreamCounts {
  long lines = 0;  // lines read and written, over all inputs
  long points = 0;
  long failed = 0;
  long unreadable = 0;  // point lines whose first two fields are not numbers
};

// Unreadable lines named on standard error, one message each; past this
// many only their total is given, at the end.
constexpr long kUnreadableMessages = 10;

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
// The batch loop under stream_points and the MGRS streams: each line goes to
// `add`, which says whether it could be read (one that could not is counted
// in `counts` and named on standard error with its line number); `flush`
// runs when `full` says so and at the end. The errors are those of
// stream_points.
bool stream_batches(std::FILE *in, const std::string &in_name, std::FILE *out, std::size_t max_line,
                    const std::function<bool(const char *, std::size_t)> &add,
                    const std::function<bool()> &full, const std::function<bool(std::string &)> &flush,
                    StreamCounts &counts, std::string &error);

// v with `decimals` digits after the point ("nan" for NaN; %.17g where fixed
// notation does not fit).
void append_number(std::string &out, double v, int decimals);

// Writes all of `text`; false with `error` set when the output refuses it.
bool write_all(std::FILE *out, const std::string &text, std::string &error);

// A batch ends at this many lines or bytes of text, whichever comes first,
// so that each driver call amortises its set-up while long lines keep the
// memory flat.
constexpr std::size_t kBatchLines = 8192;
constexpr std::size_t kBatchBytes = std::size_t{1} << 20;

bool stream_points(std::FILE *in, const std::string &in_name, std::FILE *out,
                   const StreamOptions &options, const std::function<void(int, double *)> &convert,
                   StreamCounts &counts, std::string &error);

}  // namespace kxproj

#endif
