// The connection check as the command-line tool reports it: one driver over
// the port situations of cases.txt, on a fake tree of sysfs, /proc, /dev and
// groups, with a pseudo-terminal as the port.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "DocCli.h"
#include "LnkTstPty.h"
#include "doctor/DocSys.h"
#include "link/PckPrt.h"
#include "support/FakePlatform.h"

namespace fs = std::filesystem;

namespace {

// The system with its own trees, user, device rights and, when FbClk is set,
// a clock that a read bringing nothing moves on by its whole wait.
class TFakSys : public TDocSysLnx {
public:
  explicit TFakSys(const std::string& r) : TDocSysLnx(r + "sys", r + "proc", r + "dev", r + "group") {}
  uid_t Uid() override { return FUid; }
  gid_t Gid() override { return FGid; }
  std::vector<gid_t> Groups() override { return FGrp; }
  std::string UserName() override { return "alice"; }
  TFilInf Stat(const std::string& path) override {
    TFilInf inf = TDocSysLnx::Stat(path);
    if (inf.Exs && FMod) inf.Uid = 0, inf.Gid = FDevGid, inf.Mod = FMod;
    return inf;
  }
  std::int64_t NowMs() override { return FbClk ? FNow : TDocSysLnx::NowMs(); }
  bool RdSome(int fd, int ms, std::vector<std::uint8_t>& out) override {
    const std::size_t n = out.size();
    const bool ok = TDocSysLnx::RdSome(fd, FbClk ? 0 : ms, out);
    if (FbClk && out.size() == n) FNow += ms;
    return ok;
  }
  uid_t FUid = 0;
  gid_t FGid = 0, FDevGid = 0;
  mode_t FMod = 0;  // the device's rights; 0: as they are
  std::vector<gid_t> FGrp;
  bool FbClk = false;
  std::int64_t FNow = 1000;
};

// The robot on the far end: answers a link check with another frame and then
// "link established", as the robot may.
class TRob {
public:
  explicit TRob(TPty& pty) : FPty(pty), FThr([this] { Loop(); }) {}
  ~TRob() {
    FbRun = false;
    FThr.join();
  }

private:
  void Loop() {
    TuRcvPck p;
    while (FbRun)
      for (std::uint8_t b : FPty.Rd(1, std::chrono::milliseconds(20))) {
        PrsRcvChr(p, b);
        if (p.PckSte != PS_CPL) continue;
        if (p.MsgCls == MC_CTL && p.MsgCod == MK_LNK_CHK)
          FPty.Wr({2, 2, 0, 0, MC_CTL, MK_STB, 4, 2, 2, 1, 0, MC_CTL, MK_LNK_EST, 4});
        RstRcvPck(p);
      }
  }
  TPty& FPty;
  std::atomic<bool> FbRun{true};
  std::thread FThr;
};

class Doc : public ::testing::TestWithParam<std::string> {
protected:
  TFakePlatform Plt;
  TTmpDir Tmp;
  TPty Pty;
  TFakSys Sys{Tmp.Path()};
  std::unique_ptr<TRob> Rob;
  int LckFd = -1;
  std::vector<std::string> Out;  // lines of the last run's output
  std::size_t At = 0;            // lines of it checked
  std::string Err;

  Doc() {
    fs::create_directories(Tmp.Path() + "sys/class/tty");
    fs::create_directories(Tmp.Path() + "proc");
    fs::create_directories(Tmp.Path() + "dev");
    Tmp.Write("group", "root:x:0:\ndialout:x:20:\nalice:x:1000:\n");
  }
  ~Doc() override {
    if (LckFd >= 0) ::close(LckFd);
  }
  // ~NAME in the test's folder, @pty the port, @dev the device it leads to;
  // "\n" a line break.
  std::string Sub(std::string s) {
    for (const auto& [k, v] : {std::pair<std::string, std::string>{"@pty", Pty.Pth()}, {"@dev", fs::canonical(Pty.Pth())},
                               {"~", Tmp.Path()}, {"\\n", "\n"}})
      for (std::size_t p; (p = s.find(k)) != std::string::npos;) s.replace(p, k.size(), v);
    return s;
  }
  void Lnk(const std::string& tgt, const std::string& lnk) {
    fs::create_directories(fs::path(lnk).parent_path());
    fs::create_symlink(tgt, lnk);
  }
  void Run(const std::string& args) {
    EXPECT_EQ(At, Out.size()) << "output lines not checked";
    std::vector<std::string> a{"tessaro-doctor"};
    std::istringstream is(args);
    std::string msgDir = std::string(TESSARO_DATA_DIR) + "/", t;
    while (is >> t) t.rfind("msgdir=", 0) == 0 ? void(msgDir = t.substr(7)) : a.push_back(t);
    std::ostringstream out, err;
    Out.clear();
    At = 0;
    Ext = DocMai(a, Sys, msgDir, out, err);
    std::istringstream os(out.str());
    for (std::string l; std::getline(os, l);) Out.push_back(l);
    Err = err.str();
  }
  int Ext = 0;
  void Do(const std::string& cmd, const std::string& arg);
};

void Doc::Do(const std::string& cmd, const std::string& arg) {
  std::istringstream is(arg);
  std::string a, b;
  if (cmd == "|") {
    ASSERT_LT(At, Out.size());
    EXPECT_EQ(Out[At++], arg);
  } else if (cmd == "run") {
    Run(arg);
  } else if (cmd == "exit") {
    EXPECT_EQ(Ext, std::stoi(arg));
  } else if (cmd == "stderr") {
    EXPECT_NE(Err.find(arg), std::string::npos) << Err;
  } else if (cmd == "file" && (is >> a)) {
    std::getline(is >> std::ws, b);
    fs::create_directories(fs::path(Tmp.Path() + a).parent_path());
    Tmp.Write(a, b + "\n");
  } else if (cmd == "dir") {
    fs::create_directories(Tmp.Path() + arg);
  } else if (cmd == "link" && (is >> a >> b)) {
    Lnk(a, b);
  } else if (cmd == "group") {
    Tmp.Write("group", arg);
  } else if (cmd == "user") {
    is >> Sys.FUid >> Sys.FGid;
    Sys.FGrp.clear();
    for (gid_t g; is >> g;) Sys.FGrp.push_back(g);
  } else if (cmd == "device" && (is >> Sys.FDevGid >> std::oct >> Sys.FMod)) {
  } else if (cmd == "holder" && (is >> a >> b)) {
    if (a == "PID") a = std::to_string(::getpid());
    Tmp.Write("proc/" + a + "/comm", b + "\n");
    Lnk(fs::canonical(Pty.Pth()), Tmp.Path() + "proc/" + a + "/fd/3");
  } else if (cmd == "lock") {
    LckFd = ::open(Pty.Pth().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(LckFd, LOCK_EX | LOCK_NB), 0);
  } else if (cmd == "robot") {
    Rob = std::make_unique<TRob>(Pty);
  } else if (cmd == "clock") {
    Sys.FbClk = true;
  } else if (cmd == "clock-at") {
    EXPECT_EQ(Sys.FNow, std::stoll(arg));
  } else if (cmd == "line") {  // what the far end got
    std::vector<std::uint8_t> want;
    for (std::string h; is >> h;) want.push_back(static_cast<std::uint8_t>(std::stoul(h, nullptr, 16)));
    EXPECT_EQ(Pty.Rd(want.size(), std::chrono::seconds(1)), want);
  } else if (cmd == "store" && (is >> a >> b)) {
    auto& k = Plt.Settings.Keys["SOFTWARE\\Quorel\\TessaroV1.0\\Options"];
    k["Comport"] = a;
    k["Language"] = b;
  } else if (cmd == "nostore") {
    Plt.Settings.FailCreate = true;
  } else {
    FAIL() << "unknown command";
  }
}

std::vector<std::string> Cases() {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/doctor/cases.txt");
  std::vector<std::string> v;
  for (std::string l; std::getline(f, l);)
    if (l.rfind("case ", 0) == 0) v.push_back(l.substr(5));
  return v;
}

TEST_P(Doc, Case) {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/doctor/cases.txt");
  bool in = false;
  for (std::string l; std::getline(f, l);) {
    if (l.rfind("case ", 0) == 0) in = l.substr(5) == GetParam();
    if (!in || l.empty() || l[0] == '#' || l.rfind("case ", 0) == 0) continue;
    SCOPED_TRACE(l);
    const auto sp = l.find(' ');
    Do(l.substr(0, sp), sp == std::string::npos ? "" : Sub(l.substr(sp + 1)));
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(At, Out.size()) << "output lines not checked";
}

INSTANTIATE_TEST_SUITE_P(Cases, Doc, ::testing::ValuesIn(Cases()), [](const auto& i) { return i.param; });

}  // namespace
