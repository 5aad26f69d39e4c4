// The core's file helpers and text helpers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/PathUtl.h"
#include "core/Seams.h"
#include "core/SafFil.h"
#include "core/StrUtl.h"
#include "support/FakePlatform.h"

namespace fs = std::filesystem;

namespace {

std::string Rd(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> Ls(const std::string& dir) {
  std::vector<std::string> v;
  for (const auto& e : fs::directory_iterator(dir)) v.push_back(e.path().filename().string());
  std::sort(v.begin(), v.end());
  return v;
}

// What is at "f" before the write: nothing, a file of a mode, a link to
// "t", a folder, a pipe; the result, the reason's start and the mode after.
struct TSafCas {
  const char* Nam;
  const char* Old;
  mode_t Mod;
  bool Ok;
  const char* Why;
  mode_t ModAft;
};

TEST(WrtFilSaf, ReplacesWholeOrLeavesAsItWas) {
  const TSafCas cas[] = {
      {"new file", "", 0, true, "", 0644},
      {"file keeps its mode", "file", 0600, true, "", 0600},
      {"file keeps its mode", "file", 0664, true, "", 0664},
      {"link: its target is written", "link", 0640, true, "", 0640},
      {"read-only by intent, also for root", "file", 0444, false, "Permission denied: the file is read-only", 0444},
      {"a folder", "dir", 0755, false, "Is a directory", 0755},
      {"a pipe", "fifo", 0644, false, "not a regular file", 0644},
      {"a missing folder", "nodir", 0, false, "No such file or directory", 0},
  };
  const mode_t um = ::umask(022);
  for (const TSafCas& c : cas) {
    SCOPED_TRACE(c.Nam);
    TTmpDir tmp;
    const std::string o = c.Old, f = tmp.Path() + (o == "nodir" ? "no/f" : "f"), t = tmp.Path() + "t";
    if (o == "file" || o == "link") tmp.Write(o == "file" ? "f" : "t", "old");
    if (o == "link") fs::create_symlink("t", f);
    if (o == "dir") fs::create_directory(f);
    if (o == "fifo") {
      ASSERT_EQ(::mkfifo(f.c_str(), 0644), 0);
    }
    if (c.Mod && o != "nodir") {
      ASSERT_EQ(::chmod((o == "link" ? t : f).c_str(), c.Mod), 0);
    }
    const auto before = Ls(tmp.Path());
    std::string why = "unset";
    EXPECT_EQ(WrtFilSaf(f, std::string("new\0data", 8), why), c.Ok);
    if (!c.Ok) {
      EXPECT_EQ(why, c.Why);
      EXPECT_EQ(Ls(tmp.Path()), before);  // no temporary file is left
      EXPECT_EQ(o != "file" || Rd(f) == "old", true);
      continue;
    }
    EXPECT_EQ(Rd(f), std::string("new\0data", 8));
    struct stat st{};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.ModAft);
    EXPECT_EQ(fs::is_symlink(f), o == "link");
    EXPECT_EQ(Ls(tmp.Path()).size(), o == "link" ? 2u : 1u);
  }
  ::umask(um);
}

TEST(NativePath, FindsExistingEntriesWhateverTheirCase) {
  TTmpDir tmp;
  const std::string r = tmp.Path();
  fs::create_directories(r + "System/Sounds");
  tmp.Write("System/Sounds/Go.WAV", "x");
  tmp.Write("System/readme", "x");
  const std::pair<std::string, std::string> cas[] = {
      {"system\\sounds\\go.wav", "System/Sounds/Go.WAV"},
      {"SYSTEM/Sounds/GO.wav", "System/Sounds/Go.WAV"},
      {"system\\new\\Go.wav", "System/new/Go.wav"},  // missing parts as written
      {"system\\README", "System/readme"},
      {"System/Sounds/", "System/Sounds/"},
  };
  for (const auto& [in, out] : cas) EXPECT_EQ(NativePath(r + in), r + out) << in;
  EXPECT_TRUE(FilExs(r + "system\\sounds\\GO.wav"));
  EXPECT_FALSE(FilExs(r + "system\\sounds"));  // a folder is no file
  EXPECT_FALSE(FilExs(r + "system\\sounds\\stop.wav"));
  EXPECT_STREQ(PathSep(), "/");
}

// The installation is the folder above the program's, unless the
// environment names one.
TEST(NativePath, InstallFolderFromTheEnvironmentOrAboveTheProgram) {
  const char* was = std::getenv("TESSARO_INSTALL_DIR");
  const std::string old = was ? was : "";
  for (const auto& [env, dir] : {std::pair<std::string, std::string>{"/opt/t", "/opt/t/"}, {"/opt/t/", "/opt/t/"},
                                 {"", fs::path(ExeDir()).parent_path().parent_path().string() + "/"}}) {
    ::setenv("TESSARO_INSTALL_DIR", env.c_str(), 1);
    EXPECT_EQ(DefaultInsDir(), dir) << env;
  }
  was ? ::setenv("TESSARO_INSTALL_DIR", old.c_str(), 1) : ::unsetenv("TESSARO_INSTALL_DIR");
}

TEST(StrUtl, CaseBlindComparisonAndLookup) {
  EXPECT_TRUE(EqlNoCase("Sounds", "sOUNDS"));
  EXPECT_FALSE(EqlNoCase("Sound", "Sounds"));
  EXPECT_FALSE(EqlNoCase("a\xE4", "A\xC4"));  // only ASCII letters fold
  const std::vector<std::string> lst{"Vio", "Start", "start"};
  EXPECT_EQ(FndNoCase(lst, "START"), 1);
  EXPECT_EQ(FndNoCase(lst, "vio"), 0);
  EXPECT_EQ(FndNoCase(lst, "Stop"), -1);
}

// Tools without a window keep their settings in memory: what is written
// under a key reads back through another store; nothing else does.
TEST(Seams, WithoutAWindowStoreBoxesAndEndsStillWork) {
  const TPlatform prv = SetPlatform({});
  auto s = GuPlatform().Settings->Create();
  EXPECT_FALSE(s->OpenKey("none", false));
  EXPECT_FALSE(s->WriteString("a", "1"));
  EXPECT_EQ(s->ReadString("a"), "");
  ASSERT_TRUE(s->OpenKey("k", true));
  EXPECT_TRUE(s->WriteString("a", "1"));
  auto t = GuPlatform().Settings->Create();
  ASSERT_TRUE(t->OpenKey("k", false));
  EXPECT_EQ(t->ReadString("a"), "1");
  EXPECT_EQ(t->ReadString("b"), "");
  // Boxes go to the error output; a question is answered yes, so that a tool
  // goes on. An end asked for is kept; no file dialog offers a file.
  EXPECT_EQ(GuPlatform().MsgBox->Show("t", "c", TeMsgBtn::YesNo), TeMsgAns::Yes);
  EXPECT_EQ(GuPlatform().MsgBox->Show("t", "", TeMsgBtn::YesNoCancel), TeMsgAns::Yes);
  EXPECT_EQ(GuPlatform().MsgBox->Show("t", "", TeMsgBtn::Ok), TeMsgAns::Ok);
  EXPECT_FALSE(GuPlatform().EvtLoop->TerminateRequested());
  GuPlatform().EvtLoop->Terminate();
  EXPECT_TRUE(GuPlatform().EvtLoop->TerminateRequested());
  std::string f;
  EXPECT_FALSE(GuFilDlg().Opn({}, f) || GuFilDlg().Sav({}, f));
  SetPlatform(prv);
}

}  // namespace
