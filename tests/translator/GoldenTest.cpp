// Golden programs: every data/cases/NAME.vio is translated by the
// tessaro-compile tool with the test token and message files; the result must
// equal NAME.out (stream, exit 0) or NAME.err (messages and blink line,
// exit 1). NAME.args holds extra arguments; NAME.drop lines to leave out of
// the message file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/FakePlatform.h"

namespace fs = std::filesystem;

namespace {

const std::string GcDatDir = std::string(TESSARO_SOURCE_DIR) + "/tests/translator/data/";
const std::string GcCasDir = GcDatDir + "cases/";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
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
  TTmpDir tmp;
  std::string msg = GcDatDir + "messages.sys";
  if (fs::exists(cas + ".drop")) {
    std::istringstream all(Slurp(msg));
    const std::string drop = Slurp(cas + ".drop");
    std::string txt;
    for (std::string l; std::getline(all, l);) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      if (l.empty() || drop.find(l + "\n") == std::string::npos) txt += l + "\n";
    }
    msg = tmp.Write("m.sys", txt);
  }
  std::string args = "--tokens " + Quote(GcDatDir + "tokens.sys") + " --messages " + Quote(msg);
  if (fs::exists(cas + ".args")) args += " " + Trim(Slurp(cas + ".args"));
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

// ---- the example programs, with the data files beside the tool by default ----------

const std::string GcExaDir = std::string(TESSARO_DATA_DIR) + "/examples/";

class ExampleTest : public testing::TestWithParam<std::string> {};

TEST_P(ExampleTest, TranslatesWithTheShippedFiles) {
  TTmpDir tmp;
  const TRun r = RunTool(Quote(GcExaDir + GetParam() + ".vio"), tmp);
  EXPECT_EQ(r.Rc, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Out, Slurp(GcDatDir + "examples/" + GetParam() + ".out"));
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleTest, testing::ValuesIn(VioNams(GcExaDir)),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

// ---- the tool's own behaviour --------------------------------------------------

TEST(CompileTool, UsageErrorsExit2AMissingProgram1) {
  TTmpDir tmp;
  for (const char* args : {"", "--language 3 x.vio", "--language", "--bogus x.vio", "a.vio b.vio", "--tokens"}) {
    const TRun r = RunTool(args, tmp);
    EXPECT_EQ(r.Rc, 2) << args;
    EXPECT_NE(r.Err.find("usage: tessaro-compile"), std::string::npos) << args;
    EXPECT_EQ(r.Out, "");
  }
  const TRun r = RunTool(Quote(tmp.Path() + "none.vio"), tmp);
  EXPECT_EQ(r.Rc, 1);
  EXPECT_NE(r.Err.find(tmp.Path() + "none.vio"), std::string::npos) << r.Err;
}

}  // namespace
