// The core's file helpers and text helpers.
#include <gtest/gtest.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/PtyPar.h"
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
      {"a file where its folder should be", "notdir", 0, false, "Not a directory", 0},
      {"a link to itself", "loop", 0, false, "Too many levels of symbolic links", 0},
      {"as many links as the system follows", "chain40", 0640, true, "", 0640},
      {"one link more", "chain41", 0640, false, "Too many levels of symbolic links", 0640},
  };
  const mode_t um = ::umask(022);
  for (const TSafCas& c : cas) {
    SCOPED_TRACE(c.Nam);
    TTmpDir tmp;
    const std::string o = c.Old, f = tmp.Path() + (o == "nodir" ? "no/f" : o == "notdir" ? "g/f" : "f"), t = tmp.Path() + "t";
    const bool lnk = o == "link" || o.starts_with("chain");  // f, then l1, l2 ... lead to t
    const int lnkCnt = o == "link" ? 1 : lnk ? std::stoi(o.substr(5)) : 0;
    if (o == "file" || lnk) tmp.Write(o == "file" ? "f" : "t", "old");
    for (int i = 0; i < lnkCnt; ++i)
      fs::create_symlink(i + 1 == lnkCnt ? "t" : "l" + std::to_string(i + 1), i ? tmp.Path() + "l" + std::to_string(i) : f);
    if (o == "loop") fs::create_symlink("f", f);
    if (o == "notdir") tmp.Write("g", "");
    if (o == "dir") fs::create_directory(f);
    if (o == "fifo") {
      ASSERT_EQ(::mkfifo(f.c_str(), 0644), 0);
    }
    if (c.Mod) {
      ASSERT_EQ(::chmod((lnk ? t : f).c_str(), c.Mod), 0);
    }
    const auto before = Ls(tmp.Path());
    std::string why = "unset";
    EXPECT_EQ(WrtFilSaf(f, std::string("new\0data", 8), why), c.Ok);
    if (!c.Ok) {
      EXPECT_EQ(why, c.Why);
      EXPECT_EQ(Ls(tmp.Path()), before);  // no temporary file is left
      if (o == "file" || lnk) {
        EXPECT_EQ(Rd(lnk ? t : f), "old");
      }
      continue;
    }
    EXPECT_EQ(Rd(f), std::string("new\0data", 8));
    struct stat st{};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.ModAft);
    EXPECT_EQ(fs::is_symlink(f), lnk);
    EXPECT_EQ(Ls(tmp.Path()).size(), static_cast<std::size_t>(lnkCnt + 1));
  }
  ::umask(um);
}

// Writes by a process that does not own the old file, or that may not make
// a file that large: run in a child that leaves root or lowers its limit.
struct TSafChl {
  const char* Nam;
  int Who;          // 0: a member of group 65534, 1: a stranger, 2: root under a 4-byte file size limit, 3: root
  uid_t Uid;        // the old file's owner, group and mode
  gid_t Gid;
  mode_t Mod;
  const char* Res;  // "ok", or the reason
  uid_t UidAft;     // the file's owner, group and mode after the write
  gid_t GidAft;
  mode_t ModAft;
};

TEST(WrtFilSaf, ForAnotherOwnerOrUnderASizeLimit) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make files of another owner";
  const TSafChl cas[] = {
      {"the group is kept for a member of it", 0, 65534, 65534, 0660, "ok", 65533, 65534, 0660},
      {"a stranger's copy gives the old group nothing", 1, 65534, 65534, 0666, "ok", 65533, 65533, 0606},
      {"a write cut short fails and keeps the old file", 2, 0, 0, 0644, "File too large", 0, 0, 0644},
      {"the owner's file of another group keeps that group", 3, 0, 65534, 0640, "ok", 0, 65534, 0640},
      {"another's file of the own group keeps its owner", 3, 65534, 0, 0640, "ok", 65534, 0, 0640},
  };
  for (const TSafChl& c : cas) {
    SCOPED_TRACE(c.Nam);
    TTmpDir tmp;
    ASSERT_EQ(::chmod(tmp.Path().c_str(), 0777), 0);
    const std::string f = tmp.Write("f", "old");
    ASSERT_EQ(::chown(f.c_str(), c.Uid, c.Gid), 0);
    ASSERT_EQ(::chmod(f.c_str(), c.Mod), 0);
    const std::string res = RunInChild([&] {
      const gid_t g = c.Who == 0 ? 65534 : 65533;
      rlimit lim{4, 4};
      bool set = true;
      if (c.Who == 2) set = ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &lim) == 0;
      if (c.Who < 2) set = ::setgroups(1, &g) == 0 && ::setresgid(g, g, g) == 0 && ::setresuid(65533, 65533, 65533) == 0;
      std::string why;
      return !set ? std::string("set-up failed") : WrtFilSaf(f, std::string("new\0data", 8), why) ? std::string("ok") : why;
    });
    EXPECT_EQ(res, c.Res);
    struct stat st{};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(Rd(f), res == "ok" ? std::string("new\0data", 8) : "old");
    EXPECT_EQ(st.st_mode & 07777, c.ModAft);
    EXPECT_EQ(st.st_uid, c.UidAft);
    EXPECT_EQ(st.st_gid, c.GidAft);
    EXPECT_EQ(Ls(tmp.Path()).size(), 1u);  // no temporary file is left
  }
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

TEST(TPty, EveryByteCrossesAsItIsAndNothingEchoes) {
  TPty p;
  const std::vector<std::uint8_t> all{0x0D, 0x03, 0x11, 0x13, 0x7F, 0x04, 0x0A};
  ASSERT_TRUE(p.Wr(all));
  std::vector<std::uint8_t> got;
  pollfd pf{p.Slv(), POLLIN, 0};
  while (got.size() < all.size() && ::poll(&pf, 1, 5000) == 1) {
    std::uint8_t b[16];
    const ssize_t n = ::read(p.Slv(), b, sizeof b);
    if (n <= 0) break;
    got.insert(got.end(), b, b + n);
  }
  EXPECT_EQ(got, all);
  EXPECT_EQ(p.MstInQ(), 0);  // no echo
  termios t{};
  ASSERT_EQ(::tcgetattr(p.Slv(), &t), 0);
  EXPECT_EQ(t.c_lflag & (ECHO | ICANON | ISIG), 0u);
  EXPECT_NE(t.c_cflag & CLOCAL, 0u);
}

TEST(InRng, OnlyTheIndicesOfTheElements) {
  const struct {
    std::int64_t I;
    std::size_t N;
    bool In;
  } cas[] = {{0, 0, false}, {0, 1, true}, {2, 3, true}, {3, 3, false}, {-1, 3, false}, {INT64_MIN, SIZE_MAX, false}, {INT64_MAX, SIZE_MAX, true}};
  for (const auto& c : cas) EXPECT_EQ(InRng(c.I, c.N), c.In) << c.I << " of " << c.N;
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
