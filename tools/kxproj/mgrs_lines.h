// Line streaming for MGRS references: points to references (-t MGRS) and
// references to points (-s MGRS).
#ifndef KXPROJ_MGRS_LINES_H
#define KXPROJ_MGRS_LINES_H

#include <cstdio>
#include <functional>
#include <string>

#include "kx.h"
#include "stream.h"

namespace kxproj {

using BatchFn = std::function<void(int, double *)>;

// Each point line (its first two fields numbers) becomes the point's
// reference on `geogcs` after `to_geog` has brought the batch into that CS;
// the rest of the line is kept. A point without a reference prints as "nan".
bool stream_to_mgrs(std::FILE *in, const std::string &in_name, std::FILE *out, kx_geogcs geogcs,
                    int precision, const BatchFn &to_geog, StreamCounts &counts, std::string &error);

// The first field of each line is read as a reference on `geogcs`, the
// batch converted by `from_geog`, and the pair written with `decimals`
// digits; the rest of the line is kept. A reference that cannot be read
// prints as "nan nan". Both fail as stream_points does (a read error, a line
// over kMaxLineBytes, a write error).
bool stream_from_mgrs(std::FILE *in, const std::string &in_name, std::FILE *out, kx_geogcs geogcs,
                      int decimals, const BatchFn &from_geog, StreamCounts &counts, std::string &error);

}  // namespace kxproj

#endif
