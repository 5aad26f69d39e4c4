// Golden programs: every data/cases/NAME.vio is translated by the
// tessaro-compile tool with the test token and message files; the result must
// equal NAME.out (stream, exit 0) or NAME.err (messages and blink line,
// exit 1). NAME.args holds extra arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CplPgm.h"
#include "support/FakePlatform.h"

namespace fs = std::filesystem;

namespace {

const std::string GcDatDir = std::string(TESSARO_SOURCE_DIR) + "/tests/translator/data/";
const std::string GcCasDir = GcDatDir + "cases/";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

// The names of the program files in dir, without ".vio", sorted.
std::vector<std::string> VioNams(const std::string& dir) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().extension() == ".vio") out.push_back(e.path().stem().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct TRun {
  int Rc;
  std::string Out, Err;
};

TRun RunTool(const std::string& args, const TTmpDir& tmp) {
  const std::string cmd = Quote(TESSARO_COMPILE_EXE) + " " + args + " >" + Quote(tmp.Path() + "out") + " 2>" +
                          Quote(tmp.Path() + "err");
  const int st = std::system(cmd.c_str());
  TRun r;
  r.Rc = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.Out = Slurp(tmp.Path() + "out");
  r.Err = Slurp(tmp.Path() + "err");
  return r;
}

class GoldenTest : public testing::TestWithParam<std::string> {};

TEST_P(GoldenTest, ToolGivesExpectedResult) {
  const std::string cas = GcCasDir + GetParam();
  const bool expOk = fs::exists(cas + ".out");
  ASSERT_NE(expOk, fs::exists(cas + ".err")) << "a case needs exactly one of .out and .err";
  std::string args = "--tokens " + Quote(GcDatDir + "tokens.sys") + " --messages " + Quote(GcDatDir + "messages.sys");
  if (fs::exists(cas + ".args")) args += " " + Trim(Slurp(cas + ".args"));
  TTmpDir tmp;
  const TRun r = RunTool(args + " " + Quote(cas + ".vio"), tmp);
  if (expOk) {
    EXPECT_EQ(r.Rc, 0) << r.Err;
    EXPECT_EQ(r.Out, Slurp(cas + ".out"));
    EXPECT_EQ(r.Err, "");
  } else {
    EXPECT_EQ(r.Rc, 1);
    EXPECT_EQ(r.Out, "");
    // Messages that name the program file name it through its folder.
    std::string exp = Slurp(cas + ".err");
    for (std::size_t at; (at = exp.find("@CASES@")) != std::string::npos;) exp.replace(at, 7, GcCasDir);
    EXPECT_EQ(r.Err, exp);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, testing::ValuesIn(VioNams(GcCasDir)),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

// ---- the example programs, with the shipped data files beside the tool ----------

const std::string GcExaDir = std::string(TESSARO_DATA_DIR) + "/examples/";

class ExampleTest : public testing::TestWithParam<std::string> {};

TEST_P(ExampleTest, TranslatesWithTheShippedFiles) {
  TTmpDir tmp;
  const TRun r = RunTool(Quote(GcExaDir + GetParam() + ".vio"), tmp);
  EXPECT_EQ(r.Rc, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Out, Slurp(GcDatDir + "examples/" + GetParam() + ".out"));
}

TEST(ExampleSet, HasTheFourBeginnerPrograms) {
  EXPECT_EQ(VioNams(GcExaDir), (std::vector<std::string>{"drive_square", "loop_label_goto", "sensor_if_then_else",
                                                  "switch_interrupt"}));
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleTest, testing::ValuesIn(VioNams(GcExaDir)),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

// ---- the tool's own behaviour --------------------------------------------------

TEST(CompileTool, UsageErrorsExit2) {
  TTmpDir tmp;
  for (const char* args : {"", "--language 3 x.vio", "--language", "--bogus x.vio", "a.vio b.vio", "--tokens"}) {
    const TRun r = RunTool(args, tmp);
    EXPECT_EQ(r.Rc, 2) << args;
    EXPECT_NE(r.Err.find("usage: tessaro-compile"), std::string::npos) << args;
    EXPECT_EQ(r.Out, "");
  }
}

TEST(CompileTool, MissingDataFilesAndProgram) {
  TTmpDir tmp;
  const std::string msg = " --messages " + Quote(GcDatDir + "messages.sys");
  const std::string tkn = " --tokens " + Quote(GcDatDir + "tokens.sys");
  const std::string pgm = " " + Quote(GcCasDir + "delay_stop.vio");
  TRun r = RunTool("--tokens " + Quote(tmp.Path() + "none.sys") + msg + pgm, tmp);
  EXPECT_EQ(r.Rc, 1);
  EXPECT_EQ(r.Err, "#174, File error: Token File '" + tmp.Path() + "none.sys' could not be found\n");
  r = RunTool("--messages " + Quote(tmp.Path() + "none.sys") + tkn + pgm, tmp);
  EXPECT_EQ(r.Rc, 1);
  EXPECT_EQ(r.Err, "#174, File error: SysMsg File '" + tmp.Path() + "none.sys' could not be found\n");
  r = RunTool(tkn + msg + " " + Quote(tmp.Path() + "none.vio"), tmp);
  EXPECT_EQ(r.Rc, 1);
  EXPECT_NE(r.Err.find("none.vio"), std::string::npos) << r.Err;
}

TEST(CompileTool, DefaultsAreTheFilesBesideTheExecutable) {
  // The staged ExtComTkn.sys names the driving actor "Driving"/"Forward" (0x12).
  TTmpDir tmp;
  const std::string vio = tmp.Write("p.vio",
                                    "START1\r\n0001\r\n0001\r\n\r\nACTOR1\r\n0002\r\n0001\r\nDriving\r\nForward\r\n9\r\n\r\n"
                                    "STOP1\r\n0003\r\n0001\r\n\r\nEOF\r\n");
  const TRun r = RunTool(Quote(vio), tmp);
  EXPECT_EQ(r.Rc, 0) << r.Err;
  EXPECT_EQ(r.Out, "A0 12 AE 09 A1\n");
}

TEST(CompileTool, ListingNamesEveryByte) {
  std::ostringstream out, err;
  const int rc = CplMai({"tessaro-compile", "--listing", "--tokens", GcDatDir + "tokens.sys", "--messages",
                         GcDatDir + "messages.sys", GcCasDir + "goto_before_label.vio"},
                        out, err);
  ASSERT_EQ(rc, 0) << err.str();
  std::istringstream in(out.str());
  std::string lin;
  std::vector<std::string> lns;
  while (std::getline(in, lin)) lns.push_back(lin);
  ASSERT_EQ(lns.size(), 2u + 12u);
  EXPECT_EQ(lns[0], "A0 A2 50 06 A6 08 A8 03 A8 04 A6 06");
  // Then at address 3 jumps to 6; the Goto at address 4 to 8; both name their vio.
  EXPECT_EQ(lns[1], "addr  byte  mne  target  vio");
  EXPECT_EQ(lns[2 + 3], "   3  06    Thn       6  THEN at column 4, row 1");
  EXPECT_EQ(lns[2 + 4], "   4  A6    Gto       8  GOTO at column 5, row 1");
  EXPECT_EQ(lns[2 + 2], "   2  50    Sns          SENSOR at column 3, row 1");
  EXPECT_EQ(lns[2 + 7], "   7  03    Udf          DELAY at column 3, row 4");
}

}  // namespace
