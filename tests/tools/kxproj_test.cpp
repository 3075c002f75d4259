// The kxproj tool end to end: conversions both ways with columns and
// comments kept, definitions from files, failures and their exit codes.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kAmersfoort =
    "GEOGCS[\"GCS_Amersfoort\",DATUM[\"D_Amersfoort\",SPHEROID[\"Bessel_1841\",6377397.155,"
    "299.1528128]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const std::string kRdNew =
    "PROJCS[\"RD_New\"," + kAmersfoort +
    ",PROJECTION[\"Double_Stereographic\"],PARAMETER[\"False_Easting\",155000.0],"
    "PARAMETER[\"False_Northing\",463000.0],PARAMETER[\"Central_Meridian\",5.38763888888889],"
    "PARAMETER[\"Scale_Factor\",0.9999079],PARAMETER[\"Latitude_Of_Origin\",52.15616055555555],"
    "UNIT[\"Meter\",1.0]]";
const std::string kWgs84 =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
const std::string kOrtho =
    "PROJCS[\"Ortho\"," + kWgs84 +
    ",PROJECTION[\"Orthographic\"],PARAMETER[\"Longitude_Of_Center\",0.0],"
    "PARAMETER[\"Latitude_Of_Center\",0.0],UNIT[\"Meter\",1.0]]";

const std::string kNad27 =
    "GEOGCS[\"GCS_North_American_1927\",DATUM[\"D_North_American_1927\",SPHEROID[\"Clarke_1866\","
    "6378206.4,294.9786982138982]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
// EPSG 1170 and a seven-parameter Amersfoort to WGS 84 set (coordinate frame).
const std::string kNad27ToWgs84 =
    "GEOGTRAN[\"NAD_1927_To_WGS_1984_1\"," + kNad27 + "," + kWgs84 +
    ",METHOD[\"Geocentric_Translation\"],PARAMETER[\"X_Axis_Translation\",-3.0],"
    "PARAMETER[\"Y_Axis_Translation\",142.0],PARAMETER[\"Z_Axis_Translation\",183.0]]";
const std::string kAmersfoortToWgs84 =
    "GEOGTRAN[\"Amersfoort_To_WGS_1984\"," + kAmersfoort + "," + kWgs84 +
    ",METHOD[\"Coordinate_Frame\"],PARAMETER[\"X_Axis_Translation\",565.2369],"
    "PARAMETER[\"Y_Axis_Translation\",50.0087],PARAMETER[\"Z_Axis_Translation\",465.658],"
    "PARAMETER[\"X_Axis_Rotation\",-0.406857],PARAMETER[\"Y_Axis_Rotation\",0.350733],"
    "PARAMETER[\"Z_Axis_Rotation\",-1.87035],PARAMETER[\"Scale_Difference\",4.0812]]";

// A datum of the caller's own that no catalogue transformation reaches.
const std::string kOwnDatum =
    "GEOGCS[\"GCS_Own\",DATUM[\"D_Own\",SPHEROID[\"Own_Sphere\",6371000.0,0.0]],"
    "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string quote(const std::string &s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string temp_file(const std::string &content) {
  char path[] = "/tmp/kxproj_test_XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  close(fd);
  std::ofstream(path) << content;
  return path;
}

std::string slurp(const std::string &path) {
  std::ifstream f(path);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// Runs kxproj on the file `in`; its standard output goes to `out_redirect`
// when one is given.
ToolRun kxproj_on(const std::string &args, const std::string &in,
                  const std::string &out_redirect = "", const std::string &env = "") {
  const std::string out = temp_file("");
  const std::string err = temp_file("");
  const std::string cmd = (env.empty() ? "" : env + " ") + std::string(KXPROJ_COMMAND) + " " + args + " < " + in + " " +
                          (out_redirect.empty() ? "> " + out : out_redirect) + " 2> " + err;
  const int raw = std::system(cmd.c_str());
  ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
  for (const std::string &p : {out, err}) std::remove(p.c_str());
  return r;
}

// kxproj with an environment assignment in front.
ToolRun kxproj_env(const std::string &env, const std::string &args, const std::string &input) {
  const std::string in = temp_file(input);
  ToolRun r = kxproj_on(args, in, "", env);
  std::remove(in.c_str());
  return r;
}

ToolRun kxproj(const std::string &args, const std::string &input,
               const std::string &out_redirect = "") {
  const std::string in = temp_file(input);
  ToolRun r = kxproj_on(args, in, out_redirect);
  std::remove(in.c_str());
  return r;
}

long child_max_rss_kb() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return u.ru_maxrss;
}

bool one_message(const ToolRun &r, const std::string &part) {
  return std::count(r.err.begin(), r.err.end(), '\n') == 1 && r.err.find(part) != std::string::npos;
}

TEST(Kxproj, ConvertsBothWaysKeepingColumnsAndComments) {
  ToolRun r = kxproj("-s " + quote(kAmersfoort) + " -t " + quote(kRdNew) + " -d 3",
                 "# EPSG example\n6 53 point-a extra\n\n  5.38763888888889\t52.15616055555555\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "# EPSG example\n196105.283 557057.739 point-a extra\n\n155000.000 463000.000\n");

  const std::string def = temp_file(kRdNew);
  ToolRun back = kxproj("-s " + def + " -t " + quote(kAmersfoort) + " -d 7",
                    "196105.283 557057.739 p\n");
  std::remove(def.c_str());
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.out, "6.0000000 53.0000000 p\n");
}

TEST(Kxproj, FailedPointsPrintAsNanAndStrictFails) {
  const std::string args = "-s " + quote(kWgs84) + " -t " + quote(kOrtho) + " -d 1";
  ToolRun r = kxproj(args, "0 0\n180 0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "0.0 0.0\nnan nan\n");
  ToolRun strict = kxproj(args + " --strict", "0 0\n180 0\n");
  EXPECT_EQ(strict.status, 1);
  EXPECT_NE(strict.err.find("1 of 2"), std::string::npos) << strict.err;
  // A conic with one parallel on a pole converts nothing and says so by its
  // count alone: no point may come out as if converted.
  const std::string pole_cone =
      "PROJCS[\"C\"," + kWgs84 +
      ",PROJECTION[\"Lambert_Conformal_Conic\"],PARAMETER[\"Standard_Parallel_1\",45.0],"
      "PARAMETER[\"Standard_Parallel_2\",90.0],UNIT[\"Meter\",1.0]]";
  r = kxproj("-s " + quote(kWgs84) + " -t " + quote(pole_cone) + " --strict", "10 50\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "nan nan\n");
}

TEST(Kxproj, BadCommandLinesAndDefinitionsExitWithTwo) {
  for (const std::string &args :
       {std::string("-s ") + quote(kWgs84), std::string("--bogus"),
        "-s " + quote(kWgs84) + " -t /no/such/file",
        "-s " + quote(kWgs84) + " -t " + quote(kWgs84) + " -d 99",
        "-s " + quote(kWgs84) + " -t " + quote(kOwnDatum)}) {
    ToolRun r = kxproj(args, "1 2\n");
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  // Datums the catalogue cannot join: the message asks for --via.
  ToolRun r = kxproj("-s " + quote(kWgs84) + " -t " + quote(kOwnDatum), "1 2\n");
  EXPECT_NE(r.err.find("no transformation"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--via"), std::string::npos) << r.err;
}

// Expected values from PROJ cct pipelines (cart, helmert, inverse cart) at
// height 0 (helmert +exact for the rotations), printed to 1e-10 degrees.
TEST(Kxproj, DatumShiftThroughAGeographicTransformation) {
  ToolRun r = kxproj("-s " + quote(kNad27) + " -t " + quote(kWgs84) + " --via " +
                         quote(kNad27ToWgs84) + " -d 10",
                     "-100 40 a\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "-100.0003233549 39.9999601830 a\n");
  // The same transformation backwards, read from a file.
  const std::string def = temp_file(kNad27ToWgs84);
  ToolRun back = kxproj("-s " + quote(kWgs84) + " -t " + quote(kNad27) + " --inverse-via " + def +
                            " -d 10",
                        "-100 40\n");
  std::remove(def.c_str());
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.out, "-99.9996766550 40.0000398166\n");
  // Projected source on the first datum, geographic target on the second.
  ToolRun rd = kxproj("-s " + quote(kRdNew) + " -t " + quote(kWgs84) + " --via " +
                          quote(kAmersfoortToWgs84) + " -d 10",
                      "155000 463000\n");
  ASSERT_EQ(rd.status, 0) << rd.err;
  EXPECT_EQ(rd.out, "5.3879782223 52.1553871383\n");
  // A transformation that does not join the two datums is refused.
  for (const std::string &args :
       {"-s " + quote(kNad27) + " -t " + quote(kWgs84) + " --inverse-via " + quote(kNad27ToWgs84),
        "-s " + quote(kRdNew) + " -t " + quote(kWgs84) + " --via " + quote(kNad27ToWgs84),
        "-s " + quote(kNad27) + " -t " + quote(kWgs84) + " --via " + quote(kNad27),
        "-s " + quote(kNad27) + " -t " + quote(kWgs84) + " --via " + quote(kNad27ToWgs84) +
            " --inverse-via " + quote(kNad27ToWgs84)}) {
    ToolRun bad = kxproj(args, "-100 40\n");
    EXPECT_EQ(bad.status, 2) << args;
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
  }
}

// Catalogue codes and macro names stand wherever a definition may; without
// --via the most accurate catalogue transformation between the datums is
// taken, the one --list-via names first.
TEST(Kxproj, CatalogueCodesNamesAndTransformations) {
  // The RD New origin, and the EPSG example point, by code and by name.
  ToolRun rd = kxproj("-s 4289 -t KX_PCS_AMERSFOORT_RD_NEW -d 3",
                      "5.38763888888889 52.15616055555555\n6 53\n");
  ASSERT_EQ(rd.status, 0) << rd.err;
  EXPECT_EQ(rd.out, "155000.000 463000.000\n196105.283 557057.739\n");

  ToolRun list = kxproj("-s KX_GCS_NAD_1927 -t 4326 --list-via", "");
  ASSERT_EQ(list.status, 0) << list.err;
  const std::string first = list.out.substr(0, list.out.find('\n'));
  std::istringstream lines(list.out);
  std::string line;
  double previous = 0;
  int known = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    int code;
    std::string name, word, value;
    fields >> code >> name >> word >> value;
    EXPECT_EQ(word, "accuracy") << line;
    if (value == "unknown") break;
    const double accuracy = std::stod(value);
    EXPECT_GE(accuracy, previous) << line;
    previous = accuracy;
    ++known;
  }
  EXPECT_GT(known, 5);
  // The first one that needs no missing grid file is the one used.
  std::string usable = first;
  for (std::istringstream all(list.out); std::getline(all, line);)
    if (line.find("grid missing") == std::string::npos) {
      usable = line;
      break;
    }
  const std::string best = usable.substr(0, usable.find(' '));
  const std::string input = "-100 40\n-75 45\n";
  ToolRun automatic = kxproj("-s 4267 -t 4326 -d 10", input);
  ToolRun chosen = kxproj("-s 4267 -t 4326 -d 10 --via " + best, input);
  ASSERT_EQ(automatic.status, 0) << automatic.err;
  EXPECT_EQ(automatic.out, chosen.out);
  // The other way round the same transformation runs backwards.
  ToolRun back = kxproj("-s 4326 -t 4267 -d 10", automatic.out);
  ToolRun back_chosen = kxproj("-s 4326 -t 4267 -d 10 --inverse-via " + best, automatic.out);
  EXPECT_EQ(back.out, back_chosen.out);

  // --describe writes the object's text, which reads back as that object.
  ToolRun described = kxproj("--describe 1170", "");
  ASSERT_EQ(described.status, 0);
  EXPECT_EQ(described.out.rfind("GEOGTRAN[\"NAD_1927_To_WGS_1984_1\",", 0), 0u) << described.out;
  ToolRun via_text = kxproj("-s 4267 -t 4326 -d 10 --via " +
                                quote(described.out.substr(0, described.out.size() - 1)),
                            input);
  ToolRun via_code = kxproj("-s 4267 -t 4326 -d 10 --via KX_GT_NAD_1927_TO_WGS_1984_1", input);
  EXPECT_EQ(via_text.out, via_code.out);
  EXPECT_EQ(kxproj("--describe KX_U_METER", "").out, "UNIT[\"Meter\",1.0]\n");
  for (const std::string &args : {std::string("--describe 99999999"), std::string("--describe x"),
                                  std::string("-s 1 -t 4326"), std::string("-s 4326 -t 4326 --via 9001")}) {
    ToolRun bad = kxproj(args, "1 2\n");
    EXPECT_EQ(bad.status, 2) << args;
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
  }
}

// Lost output is an error: a full device or a closed standard output.
TEST(Kxproj, OutputThatCannotBeWrittenExitsWithTwo) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  for (const std::string &redirect : {std::string("> /dev/full"), std::string(">&-")}) {
    ToolRun r = kxproj("-s 4326 -t 32633", "15 52 Berlin\n", redirect);
    EXPECT_EQ(r.status, 2) << redirect;
    EXPECT_TRUE(one_message(r, "cannot write")) << redirect << ": " << r.err;
    ToolRun d = kxproj("--describe 4326", "", redirect);
    EXPECT_EQ(d.status, 2) << redirect;
    EXPECT_TRUE(one_message(d, "cannot write")) << redirect << ": " << d.err;
  }
}

// An input that cannot be read is an error, not an empty input.
TEST(Kxproj, InputThatCannotBeReadExitsWithTwo) {
  char dir[] = "/tmp/kxproj_test_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  ToolRun r = kxproj("-s 4326 -t 4326 " + std::string(dir), "");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(one_message(r, dir)) << r.err;
  EXPECT_EQ(r.out, "");
  rmdir(dir);
}

// Lines up to 1 MiB are converted; a longer one, ended or not, stops the
// run with a message naming it, after the lines before it.
TEST(Kxproj, LinesLongerThanOneMebibyteAreRefused) {
  const std::size_t limit = 1 << 20;
  const std::string longest = "15 52 " + std::string(limit - 6, 'x');
  ToolRun ok = kxproj("-s 4326 -t 4326 -d 0", "1 2\n" + longest + "\n");
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_TRUE(ok.out == "1 2\n" + longest + "\n") << ok.out.size() << " bytes out";
  for (const std::string &end : {std::string("x\n3 4\n"), std::string("x")}) {
    ToolRun bad = kxproj("-s 4326 -t 4326 -d 0", "1 2\n" + longest + end);
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(one_message(bad, "standard input, line 2: longer than 1048576 bytes")) << bad.err;
    EXPECT_TRUE(bad.out == "1 2\n") << bad.out.size() << " bytes out";
  }
}

// Memory stays flat for long lines: 48 lines of about 1 MB take little more
// than one short line does (they took some 100 MB when a batch held 8192
// lines whatever their length).
TEST(Kxproj, LongLinesKeepTheMemoryFlat) {
  const std::string in = temp_file("");
  {
    std::ofstream f(in);
    const std::string line = "15 52 " + std::string(1000000, 'x') + "\n";
    for (int i = 0; i < 48; ++i) f << line;
  }
  const ToolRun small = kxproj("-s 4326 -t 32633", "15 52\n");
  ASSERT_EQ(small.status, 0) << small.err;
  const long before = child_max_rss_kb();
  const ToolRun big = kxproj_on("-s 4326 -t 32633", in, "> /dev/null");
  std::remove(in.c_str());
  ASSERT_EQ(big.status, 0) << big.err;
  EXPECT_LT(child_max_rss_kb() - before, 16 * 1024) << "kB more than for one short line";
}

// A definition file is read whole or refused: one over 1 MiB is not cut.
TEST(Kxproj, DefinitionFilesOverOneMebibyteAreRefused) {
  const std::string def = temp_file(kWgs84 + std::string((1 << 20) + 1 - kWgs84.size(), ' '));
  ToolRun over = kxproj("-s " + def + " -t 4326", "1 2\n");
  EXPECT_EQ(over.status, 2);
  EXPECT_TRUE(one_message(over, "1 MiB")) << over.err;
  std::ofstream(def, std::ios::trunc) << kWgs84 << std::string((1 << 20) - kWgs84.size(), ' ');
  ToolRun at = kxproj("-s " + def + " -t 4326 -d 0", "1 2\n");
  std::remove(def.c_str());
  EXPECT_EQ(at.status, 0) << at.err;
  EXPECT_EQ(at.out, "1 2\n");
}


// MGRS on either side. Expected references and corners from GeoConvert
// (corners read from the reference padded to micrometres); a reference's
// digits are the UTM easting and northing themselves.
TEST(Kxproj, MgrsReferencesBothWays) {
  struct Run {
    std::string args, input, output;
    int status;
  };
  const Run runs[] = {
      {"-s 4326 -t MGRS", "15 1 a\n# kept\n\n-75 45\n0 95 off\nx 1\n",
       "33NWB0000010530 a\n# kept\n\n18TWQ0000082950\nnan off\nnan\n", 0},
      {"-s KX_GCS_WGS_1984 -t MGRS --mgrs-precision 2", "15 1\n", "33NWB0010\n", 0},
      {"-t MGRS --mgrs-precision 0", "15 1\n", "33NWB\n", 0},
      {"-s 32633 -t MGRS", "500000 110530.5\n", "33NWB0000010530\n", 0},
      {"-s MGRS -t 4326 -d 6", "33NWB0000010530 a\n  18TWQ0000082950\n# c\n",
       "15.000000 0.999999 a\n-75.000000 44.999996\n# c\n", 0},
      {"-s MGRS -d 6", "33NWB0000010530\n", "15.000000 0.999999\n", 0},
      {"-s MGRS -t 32633 -d 3", "33NWB0000010530 p\n", "500000.000 110530.000 p\n", 0},
      {"-s MGRS -t 4326 -d 1 --strict", "31NJA6602100000\n33NWB\n",
       "nan nan\n15.0 0.9\n", 1},
  };
  for (const Run &r : runs) {
    ToolRun t = kxproj(r.args, r.input);
    EXPECT_EQ(t.status, r.status) << r.args << ": " << t.err;
    EXPECT_EQ(t.out, r.output) << r.args;
  }
  for (const std::string &args : {std::string("-s MGRS -t MGRS"), std::string("-t MGRS --mgrs-precision 9"),
                                  std::string("-s MGRS -t /no/such/file")}) {
    ToolRun bad = kxproj(args, "15 1\n");
    EXPECT_EQ(bad.status, 2) << args;
    EXPECT_EQ(bad.out, "") << args;
  }
}

}  // namespace

// Grid files come from --data-home or KXDATAHOME; a transformation whose grid
// is missing is passed over, with one line naming the file.
TEST(Kxproj, GridTransformationsUseTheDataHome) {
  const char *grid = "/usr/share/proj/nzgd2kgrid0005.gsb";
  if (access(grid, R_OK) != 0) GTEST_SKIP() << "proj-data's nzgd2kgrid0005.gsb not installed";
  char dir[] = "/tmp/kxproj_grids_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string home = dir, sub = home + "/ntv2", link = sub + "/nzgd2kgrid0005.gsb";
  ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
  ASSERT_EQ(symlink(grid, link.c_str()), 0);
  const std::string input = "174 -41\n170.5 -45.25\n";
  // PROJ cct +proj=hgridshift +grids=nzgd2kgrid0005.gsb
  const std::string expected = "174.0001861622 -40.9982591967\n170.5000927790 -45.2483668439\n";
  ToolRun by_option = kxproj("-s 4272 -t 4167 -d 10 --data-home " + home, input);
  ASSERT_EQ(by_option.status, 0) << by_option.err;
  EXPECT_EQ(by_option.out, expected);
  EXPECT_EQ(by_option.err, "");
  ToolRun by_env = kxproj_env("KXDATAHOME=" + home, "-s 4272 -t 4167 -d 10", input);
  EXPECT_EQ(by_env.out, expected);
  ToolRun list = kxproj("-s 4272 -t 4167 --list-via --data-home " + home, "");
  EXPECT_EQ(list.out.rfind("1568 ", 0), 0u) << list.out;
  EXPECT_EQ(list.out.substr(0, list.out.find('\n')).find("grid missing"), std::string::npos);
  ToolRun back = kxproj("-s 4167 -t 4272 -d 8 --data-home " + home, expected);
  EXPECT_EQ(back.out, "174.00000000 -41.00000000\n170.50000000 -45.25000000\n");

  std::remove(link.c_str());
  ToolRun without = kxproj("-s 4272 -t 4167 -d 10 --data-home " + home, input);
  EXPECT_EQ(without.status, 0);
  EXPECT_NE(without.out, expected);
  EXPECT_TRUE(one_message(without, "1568")) << without.err;
  EXPECT_NE(without.err.find(link), std::string::npos) << without.err;
  ToolRun marked = kxproj("-s 4272 -t 4167 --list-via --data-home " + home, "");
  EXPECT_NE(marked.out.substr(0, marked.out.find('\n')).find("grid missing: " + link), std::string::npos)
      << marked.out;
  rmdir(sub.c_str());
  rmdir(dir);
}
