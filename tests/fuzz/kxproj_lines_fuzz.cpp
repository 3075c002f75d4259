// Feeds arbitrary bytes to kxproj's point-line reader as an input file. The
// output holds one line per input line, whatever the bytes; with a short
// line limit (chosen by the second byte) a longer line stops the run after
// exactly the lines before it, and the message names that line.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "../../tools/kxproj/stream.h"
#include "fuzz_common.h"

// A stand-in conversion that also fails some points, as a real one does.
static void convert(int n, double *xy) {
  for (int i = 0; i < 2 * n; i += 2)
    xy[i] = std::fabs(xy[i]) > 1e6 ? std::nan("") : xy[i], xy[i + 1] *= 0.5;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  kxproj::StreamOptions options;
  options.decimals = data[0] % 18;
  if (data[1] & 1) options.max_line = data[1] >> 1;
  data += 2;
  size -= 2;
  const long lines = std::count(data, data + size, '\n') + (size > 0 && data[size - 1] != '\n');
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
  const long written = std::count(out_text, out_text + out_size, '\n');
  std::free(out_text);
  check(written == counts.lines);
  const std::string expected = "input, line " + std::to_string(written + 1) + ": longer than";
  check(ok ? written == lines && error.empty()
           : error.compare(0, expected.size(), expected) == 0 && written < lines);
  return 0;
}
