// Feeds arbitrary bytes to kxproj's point-line reader as an input file. The
// output holds one line per input line, whatever the bytes; with a short
// line limit (chosen by the first byte) a longer line stops the run after
// exactly the lines before it, and the message names that line.
#include "../../tools/kxproj/stream.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// A stand-in conversion that also fails some points, as a real one does.
void convert(int n, double *coords) {
  for (int i = 0; i < n; ++i) {
    if (std::fabs(coords[2 * i]) > 1e6) coords[2 * i] = std::nan("");
    coords[2 * i + 1] *= 0.5;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  kxproj::StreamOptions options;
  options.decimals = data[0] % 18;
  if (data[1] & 1) options.max_line = data[1] >> 1;
  data += 2;
  size -= 2;
  long lines = 0;
  for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  if (size > 0 && data[size - 1] != '\n') ++lines;

  std::FILE *in = size > 0 ? fmemopen(const_cast<uint8_t *>(data), size, "r") : std::tmpfile();
  char *out_text = nullptr;
  size_t out_size = 0;
  std::FILE *out = open_memstream(&out_text, &out_size);
  check(in != nullptr && out != nullptr);
  kxproj::StreamCounts counts;
  std::string error;
  const bool ok = kxproj::stream_points(in, "input", out, options, convert, counts, error);
  std::fclose(in);
  check(std::fclose(out) == 0);
  long written = 0;
  for (size_t i = 0; i < out_size; ++i) written += out_text[i] == '\n';
  std::free(out_text);
  check(written == counts.lines);
  if (ok) {
    check(written == lines && error.empty());
  } else {
    const std::string expected = "input, line " + std::to_string(written + 1) + ": longer than";
    check(error.compare(0, expected.size(), expected) == 0 && written < lines);
  }
  return 0;
}
