// Line streaming: parse coordinate lines in batches, convert, write them back.
#ifndef KXPROJ_STREAM_H
#define KXPROJ_STREAM_H

#include <cstdio>
#include <functional>

namespace kxproj {

struct StreamOptions {
  int decimals = 4;
};

struct StreamCounts {
  long points = 0;
  long failed = 0;
};

// Reads lines from `in` and writes them to `out`. A line whose first two
// fields are numbers is a point: they are replaced by the converted pair and
// the rest of the line is kept as it stands. Blank lines and lines starting
// with '#' pass through; any other line is a point that cannot be converted.
// `convert` is called once per batch with the batch's coordinate pairs.
void stream_points(std::FILE *in, std::FILE *out, const StreamOptions &options,
                   const std::function<void(int, double *)> &convert, StreamCounts &counts);

}  // namespace kxproj

#endif
