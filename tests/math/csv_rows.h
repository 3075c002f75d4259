// Reads the committed oracle tables: comma-separated rows, '#' comment lines.
#ifndef KX_TESTS_MATH_CSV_ROWS_H
#define KX_TESTS_MATH_CSV_ROWS_H

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kxtest {

inline std::vector<std::vector<std::string>> read_csv(const std::string &path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, ',')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

inline std::string data_path(const char *name) { return std::string(KX_TEST_DATA_DIR) + "/math/" + name; }

}  // namespace kxtest

#endif
