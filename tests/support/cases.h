// The one reader of the committed case files: comma-separated rows, '#'
// comment lines, blank lines skipped. Every suite keeps its expected values
// in such files under tests/data/ and loops over them.
#ifndef KX_TESTS_SUPPORT_CASES_H
#define KX_TESTS_SUPPORT_CASES_H

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kxtest {

using Row = std::vector<std::string>;

inline std::vector<Row> read_csv(const std::string &path) {
  std::vector<Row> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    Row fields;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, ',')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

// A file under tests/data/, as "math/auxiliary.csv".
inline std::string data_path(const std::string &relative) {
  return std::string(KX_TEST_DATA_DIR) + "/" + relative;
}

// A field as a number ("nan", "inf" and "-inf" included).
inline double num(const std::string &field) { return std::strtod(field.c_str(), nullptr); }

}  // namespace kxtest

#endif
