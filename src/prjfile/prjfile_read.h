// The reading steps shared by the coordinate-system and vertical-unit readers.
#ifndef KX_PRJFILE_PRJFILE_READ_H
#define KX_PRJFILE_PRJFILE_READ_H

#include <string>

#include "kx.h"
#include "prjfile/prjfile.h"

namespace kx::prjfile {

// The whole file at path: kOk, or kFileError for a file that cannot be
// opened, is not a regular file or is larger than KX_PRJFILE_MAX_BYTES.
int read_file(const char *path, std::string *text);

// The coordinate system of a parsed record; kOk or the failure.
int build_coordsys(const Record &record, kx_coordsys *out);

}  // namespace kx::prjfile

#endif
