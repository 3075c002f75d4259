// The kxproj tool end to end: the runs of tests/data/tools/kxproj_cases.txt,
// then what a row cannot say (the catalogue's choice of transformation, lost
// output, unreadable input, long lines, memory, grid files).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/cases.h"
#include "support/scratch.h"

namespace {

struct ToolRun {
  int status;
  std::string out, err;
  bool one_message(const std::string &part) const {
    return std::count(err.begin(), err.end(), '\n') == 1 && err.find(part) != std::string::npos;
  }
};

// A scratch folder for this process, removed at exit.
const kxtest::ScratchDir &scratch() {
  static const kxtest::ScratchDir dir;
  return dir;
}
std::string write(const std::string &name, const std::string &content) {
  return scratch().write(name, content);
}

std::string slurp(const std::string &path) {
  std::stringstream ss;
  ss << std::ifstream(path, std::ios::binary).rdbuf();
  return ss.str();
}

// kxproj reading the file `in`; its output goes to `redirect` when one is given.
ToolRun kxproj_file(const std::string &args, const std::string &in,
                    const std::string &redirect = "") {
  const std::string out = scratch().path("out"), err = scratch().path("err");
  const int raw = std::system((std::string(KXPROJ_COMMAND) + " " + args + " < " + in + " " +
                               (redirect.empty() ? "> " + out : redirect) + " 2> " + err)
                                  .c_str());
  ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, redirect.empty() ? slurp(out) : "", slurp(err)};
  std::remove(out.c_str());
  return r;
}

ToolRun kxproj(const std::string &args, const std::string &input,
               const std::string &redirect = "") {
  return kxproj_file(args, write("in", input), redirect);
}

std::string unescape(const std::string &s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size())
      out += s[i];
    else
      out += s[++i] == 'n' ? '\n' : s[i] == 't' ? '\t' : s[i];
  }
  return out;
}

std::vector<std::string> split(std::string line, const std::string &sep) {
  std::vector<std::string> parts;
  for (size_t at; (at = line.find(sep)) != std::string::npos; line.erase(0, at + sep.size()))
    parts.push_back(line.substr(0, at));
  parts.push_back(line);
  return parts;
}

TEST(Kxproj, CaseFile) {
  std::ifstream file(kxtest::data_path("tools/kxproj_cases.txt"));
  std::map<std::string, std::string> text, arg;  // by name; by $NAME and @NAME
  int runs = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("def ", 0) == 0) {
      const size_t blank = line.find(' ', 4);
      const std::string name = line.substr(4, blank - 4);
      std::string t = line.substr(blank + 1);
      for (const auto &[n, v] : text)
        for (size_t at; (at = t.find("{" + n + "}")) != std::string::npos;)
          t.replace(at, n.size() + 2, v);
      text[name] = t;
      arg["$" + name] = "'" + t + "'";
      arg["@" + name] = write(name, unescape(t));
      continue;
    }
    const std::vector<std::string> f = split(line, " | ");
    ASSERT_GE(f.size(), 4u) << line;
    std::string args;
    for (const std::string &word : split(f[0], " "))
      args += " " + (arg.count(word) ? arg[word] : word);
    const ToolRun r = kxproj(args, unescape(f[1]));
    const int status = std::stoi(f[3]);
    EXPECT_EQ(r.status, status) << f[0] << ": " << r.err;
    EXPECT_EQ(r.out, unescape(f[2])) << f[0];
    if (status == 0) {
      EXPECT_EQ(r.err, "") << f[0];
    }
    if (status == 2) {
      EXPECT_TRUE(r.one_message(f.size() > 4 ? f[4] : "")) << f[0] << ": " << r.err;
    }
    if (f.size() > 4) {
      EXPECT_NE(r.err.find(f[4]), std::string::npos) << f[0] << ": " << r.err;
    }
    ++runs;
  }
  EXPECT_GT(runs, 30);
}

// Without --via the most accurate catalogue transformation between the
// datums is taken (the first that needs no missing grid in --list-via's
// order), backwards the other way round; --describe's text reads back as the
// object it describes.
TEST(Kxproj, CatalogueChoosesTheMostAccurateTransformation) {
  const ToolRun list = kxproj("-s KX_GCS_NAD_1927 -t 4326 --list-via", "");
  ASSERT_EQ(list.status, 0) << list.err;
  std::istringstream lines(list.out);
  std::string line, best;
  double previous = 0;
  int known = 0;
  bool unknown = false, deprecated = false;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string code, name, word, value;
    fields >> code >> name >> word >> value;
    EXPECT_EQ(word, "accuracy") << line;
    if (best.empty() && line.find("grid missing") == std::string::npos) best = code;
    // EPSG-deprecated ones last, in the same order among themselves.
    const bool now_deprecated = line.find("deprecated by EPSG") != std::string::npos;
    EXPECT_TRUE(now_deprecated || !deprecated) << line;
    if (now_deprecated && !deprecated) previous = 0, unknown = false;
    deprecated = now_deprecated;
    if ((unknown = unknown || value == "unknown")) continue;
    EXPECT_GE(std::stod(value), previous) << line;
    previous = std::stod(value);
    ++known;
  }
  EXPECT_GT(known, 5);
  const std::string input = "-100 40\n-75 45\n";
  const ToolRun automatic = kxproj("-s 4267 -t 4326 -d 10", input);
  ASSERT_EQ(automatic.status, 0) << automatic.err;
  EXPECT_EQ(automatic.out, kxproj("-s 4267 -t 4326 -d 10 --via " + best, input).out);
  EXPECT_EQ(kxproj("-s 4326 -t 4267 -d 10", automatic.out).out,
            kxproj("-s 4326 -t 4267 -d 10 --inverse-via " + best, automatic.out).out);
  const ToolRun described = kxproj("--describe 1170", "");
  ASSERT_EQ(described.status, 0);
  EXPECT_EQ(described.out.rfind("GEOGTRAN[\"NAD_1927_To_WGS_1984_1\",", 0), 0u) << described.out;
  EXPECT_EQ(kxproj("-s 4267 -t 4326 -d 10 --via '" +
                       described.out.substr(0, described.out.size() - 1) + "'",
                   input)
                .out,
            kxproj("-s 4267 -t 4326 -d 10 --via KX_GT_NAD_1927_TO_WGS_1984_1", input).out);
}

// Lost output (a full device, a closed standard output) and input that
// cannot be read (a directory) are errors, not empty runs.
TEST(Kxproj, UnwritableOutputAndUnreadableInputExitWithTwo) {
  const std::string dir = scratch().path("folder");
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  const ToolRun r = kxproj("-s 4326 -t 4326 " + dir, "");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.one_message(dir)) << r.err;
  EXPECT_EQ(r.out, "");
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  for (const std::string &redirect : {std::string("> /dev/full"), std::string(">&-")}) {
    for (const std::string &args :
         {std::string("-s 4326 -t 32633"), std::string("--describe 4326")}) {
      const ToolRun lost = kxproj(args, "15 52 Berlin\n", redirect);
      EXPECT_EQ(lost.status, 2) << args << redirect;
      EXPECT_TRUE(lost.one_message("cannot write")) << args << redirect << ": " << lost.err;
    }
  }
}

// Lines and definition files up to 1 MiB are read; a longer line, ended or
// not, stops the run after the lines before it, naming it; a longer
// definition file is refused, not cut. 48 lines of about 1 MB take little
// more memory than one short line (some 100 MB when a batch held 8192 lines
// whatever their length).
TEST(Kxproj, OneMebibyteLimitsAndFlatMemory) {
  const std::string longest = "15 52 " + std::string((1 << 20) - 6, 'x');
  const ToolRun ok = kxproj("-s 4326 -t 4326 -d 0", "1 2\n" + longest + "\n");
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_TRUE(ok.out == "1 2\n" + longest + "\n") << ok.out.size() << " bytes out";
  for (const std::string &end : {std::string("x\n3 4\n"), std::string("x")}) {
    const ToolRun bad = kxproj("-s 4326 -t 4326 -d 0", "1 2\n" + longest + end);
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.one_message("standard input, line 2: longer than 1048576 bytes")) << bad.err;
    EXPECT_TRUE(bad.out == "1 2\n") << bad.out.size() << " bytes out";
  }
  const std::string wgs84 =
      "GEOGCS[\"W\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
      "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
  const std::string at = write("at", wgs84 + std::string((1 << 20) - wgs84.size(), ' '));
  EXPECT_EQ(kxproj("-s " + at + " -t 4326 -d 0", "1 2\n").out, "1 2\n");
  const ToolRun over = kxproj("-s " + write("over", slurp(at) + " ") + " -t 4326", "1 2\n");
  EXPECT_EQ(over.status, 2);
  EXPECT_TRUE(over.one_message("1 MiB")) << over.err;

  std::string big;
  for (int i = 0; i < 48; ++i) big += "15 52 " + std::string(1000000, 'x') + "\n";
  const std::string in = write("big", big);
  ASSERT_EQ(kxproj("-s 4326 -t 32633", "15 52\n").status, 0);
  rusage before{}, after{};
  getrusage(RUSAGE_CHILDREN, &before);
  ASSERT_EQ(kxproj_file("-s 4326 -t 32633", in, "> /dev/null").status, 0);
  getrusage(RUSAGE_CHILDREN, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "kB more than for one short line";
}

// Grid files come from --data-home or KXDATAHOME; a transformation whose grid
// is missing is passed over, with one line naming the file. The most accurate
// transformation whose grid is there is taken, whatever its code: 15948
// (DHDN to ETRS89 by BETA2007, 0.9 m) lies outside the transformation ranges
// and beats the 1 m equations once its grid is in the data home.
TEST(Kxproj, GridTransformationsUseTheDataHome) {
  const struct {
    const char *grid, *args, *first, *input, *expected, *back;
  } cases[] = {
      // PROJ cct +proj=hgridshift +grids=nzgd2kgrid0005.gsb
      {"nzgd2kgrid0005.gsb", "-s 4272 -t 4167 -d 10", "1568", "174 -41\n170.5 -45.25\n",
       "174.0001861622 -40.9982591967\n170.5000927790 -45.2483668439\n",
       "174.00000000 -41.00000000\n170.50000000 -45.25000000\n"},
      // PROJ cct +proj=hgridshift +grids=BETA2007.gsb
      {"BETA2007.gsb", "-s 4314 -t 4258 -d 10", "15948", "13.4 52.5\n8.7 50.1\n",
       "13.3982568056 52.4985944130\n8.6989966415 50.0988396005\n",
       "13.40000000 52.50000000\n8.70000000 50.10000000\n"}};
  for (const auto &c : cases) {
    const std::string grid = std::string("/usr/share/proj/") + c.grid;
    if (access(grid.c_str(), R_OK) != 0) GTEST_SKIP() << "proj-data's " << c.grid << " missing";
    const std::string home = scratch().path(std::string("home-") + c.first),
                      link = home + "/ntv2/" + c.grid;
    ASSERT_TRUE(std::filesystem::create_directories(home + "/ntv2"));
    ASSERT_EQ(symlink(grid.c_str(), link.c_str()), 0);
    const std::string args = std::string(c.args) + " --data-home " + home;
    const ToolRun by_option = kxproj(args, c.input);
    EXPECT_EQ(by_option.status, 0) << by_option.err;
    EXPECT_EQ(by_option.out, c.expected) << c.grid;
    // Only more accurate ones whose grids are missing are passed over.
    EXPECT_EQ(by_option.err.find(std::string("transformation ") + c.first), std::string::npos);
    setenv("KXDATAHOME", home.c_str(), 1);
    EXPECT_EQ(kxproj(c.args, c.input).out, c.expected) << c.grid;
    unsetenv("KXDATAHOME");
    // The first line whose grid is there names the transformation taken.
    std::istringstream list(kxproj(std::string(c.args) + " --list-via --data-home " + home, "").out);
    std::string line;
    while (std::getline(list, line) && line.find("grid missing") != std::string::npos) {
    }
    EXPECT_EQ(line.rfind(std::string(c.first) + " ", 0), 0u) << line;
    std::string inverse = c.args;  // -s A -t B -> -s B -t A
    inverse = "-s " + inverse.substr(inverse.find("-t ") + 3, 4) + " -t " + inverse.substr(3, 4) +
              " -d 8 --data-home " + home;
    EXPECT_EQ(kxproj(inverse, c.expected).out, c.back) << c.grid;

    std::remove(link.c_str());
    const ToolRun without = kxproj(args, c.input);
    EXPECT_EQ(without.status, 0);
    EXPECT_NE(without.out, c.expected);
    EXPECT_NE(without.err.find(std::string("passing over transformation ") + c.first),
              std::string::npos)
        << without.err;
    EXPECT_NE(without.err.find(link), std::string::npos) << without.err;
    const std::string marked = kxproj(std::string(c.args) + " --list-via --data-home " + home, "").out;
    const std::string row = marked.substr(marked.find(std::string("\n") + c.first) + 1);
    EXPECT_NE(row.substr(0, row.find('\n')).find("grid missing: " + link), std::string::npos)
        << marked;
  }
}

}  // namespace
