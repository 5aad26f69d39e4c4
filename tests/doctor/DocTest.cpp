// The connection check as the command-line tool reports it and, in builds
// with the windows, as Options -> "Check connection" shows it: one driver
// over the cases of cases.txt, on a fake tree of sysfs, /proc, /dev and
// groups, with pseudo-terminals as the ports.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "DocCli.h"
#include "LnkTstPty.h"
#include "doctor/ConDoc.h"
#include "doctor/DocSys.h"
#include "link/PckPrt.h"
#include "link/PrtNam.h"
#include "messages/SysMsgIdf.h"
#include "support/FakePlatform.h"
#ifdef TESSARO_DOC_DLG
#include "support/QtKid.h"
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/Options.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QTableWidget>

#include "app/RolDlg.h"
#include "core/WndMsg.h"
#include "messages/SysLgeMsg.h"
#include "messages/SysMsgBui.h"
#endif

namespace fs = std::filesystem;

namespace {

// The system with its own trees, user, device rights and, when FbClk is set,
// a clock that a read bringing nothing moves on by its whole wait. A copy
// shares the line's gate: while it is held, reads wait.
class TFakSys : public TDocSysLnx {
public:
  explicit TFakSys(const std::string& r) : TDocSysLnx(r + "sys", r + "proc", r + "dev", r + "group", {r + "lock/"}) {}
  uid_t Uid() override { return FbRea ? TDocSysLnx::Uid() : FUid; }
  gid_t Gid() override { return FbRea ? TDocSysLnx::Gid() : FGid; }
  std::vector<gid_t> Groups() override { return FbRea ? TDocSysLnx::Groups() : FGrp; }
  std::string UserName() override { return FbRea ? TDocSysLnx::UserName() : "alice"; }
  TFilInf Stat(const std::string& path) override {
    TFilInf inf = TDocSysLnx::Stat(path);
    const auto own = FRgt.find(RealPath(path));
    if (inf.Exs && own != FRgt.end()) inf.Uid = own->second.Uid, inf.Gid = own->second.Gid, inf.Mod = own->second.Mod;
    else if (inf.Exs && FMod) inf.Uid = FDevUid, inf.Gid = FDevGid, inf.Mod = FMod;
    return inf;
  }
  // The mapped ports COM13 to COM19 of the test, not the computer's own.
  std::vector<std::string> ComPrts() override {
    std::vector<std::string> v = ScnComPrt();
    std::erase_if(v, [](const std::string& n) { return PrtNum(n) < 13; });
    return v;
  }
  std::unique_ptr<IDocSys> Dup() const override { return std::make_unique<TFakSys>(*this); }
  TeOpnRes OpnPrt(const std::string& path, int& fd, std::string& err) override {
    FOpn = RealPath(path);
    return TDocSysLnx::OpnPrt(path, fd, err);
  }
  // The fake clock runs only where no robot answers: a robot needs its time.
  bool Fak() const { return FbClk && !FRob.count(FOpn); }
  std::int64_t NowMs() override { return Fak() ? FNow : TDocSysLnx::NowMs(); }
  bool RdSome(int fd, int ms, std::vector<std::uint8_t>& out) override {
    FGat->Wait([this] { return !FGat->Hld; }, std::chrono::minutes(1));
    const std::size_t n = out.size();
    const bool ok = TDocSysLnx::RdSome(fd, Fak() ? 0 : ms, out);
    if (Fak() && out.size() == n) FNow += ms;
    return ok;
  }
  bool WrtAll(int fd, const std::vector<std::uint8_t>& bytes) override { return !FbNoWrt && TDocSysLnx::WrtAll(fd, bytes); }
  bool FbNoWrt = false;  // every write to a port fails
  bool FbRea = false;    // the process's own user, groups and name
  uid_t FUid = 0;
  gid_t FGid = 0, FDevGid = 0;
  uid_t FDevUid = 0;
  mode_t FMod = 0;  // the device's rights; 0: as they are
  std::vector<gid_t> FGrp;
  std::map<std::string, TFilInf> FRgt;  // the rights of single devices
  bool FbClk = false;
  std::int64_t FNow = 1000;
  std::set<std::string> FRob;  // devices where a robot answers
  std::string FOpn;            // the device this system opened last
  struct TGat : TLckRec {
    bool Hld = false;
  };
  std::shared_ptr<TGat> FGat = std::make_shared<TGat>();
};

// The robot on the far end: answers a link check with another frame and then
// "link established", as the robot may.
class TRob {
public:
  explicit TRob(TPty& pty) : FPty(pty), FThr([this] { Loop(); }) {}
  ~TRob() { FbRun = false, FThr.join(); }

private:
  void Loop() {
    TuRcvPck p;
    while (FbRun)
      for (std::uint8_t b : FPty.Rd(1, std::chrono::milliseconds(20))) {
        PrsRcvChr(p, b);
        if (p.PckSte != PS_CPL) continue;
        if (p.MsgCls == MC_CTL && p.MsgCod == MK_LNK_CHK)
          FPty.Wr({2, 2, 0, 0, MC_CTL, MK_STB, 4, 2, 2, 1, 0, MC_CTL, MK_LNK_EST, 4});
        if (p.MsgCls == MC_PGM) FPty.Wr({2, 2, 2, 0, MC_STS, MK_TRF_CMP, 4});  // "transfer complete"
        RstRcvPck(p);
      }
  }
  TPty& FPty;
  std::atomic<bool> FbRun{true};
  std::thread FThr;
};

#ifdef TESSARO_DOC_DLG
// The main window as the Options dialog sees it: the port messages it was sent.
struct TMaiWnd : IWndMsgTgt {
  std::string Prt;
  bool LnkOky = false;  // the robot answers the window's link
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) override {
    if (msg == WM_SET_MSG && w == SM_NEW_COM_PRT) Prt += std::to_string(l) + " ";
    if (msg == WM_APP_MSG && w == AM_LNK_OKY) *reinterpret_cast<bool*>(l) = LnkOky;
    return 1;
  }
};
#endif

class Doc : public ::testing::TestWithParam<std::string> {
protected:
  TFakePlatform Plt;
  TTmpDir Tmp;
  TPty Pty, Pty2;
  TFakSys Sys{Tmp.Path()};
  std::unique_ptr<TRob> Rob;
  std::array<std::unique_ptr<TPty>, 9> Pts;  // @p1 to @p8, each made when first named
  std::vector<std::unique_ptr<TRob>> Robs;   // robots on them
  int LckFd = -1;
  pid_t LckPid = 0;  // a process that runs until the test ends, named in a lock file
  int LckPip = -1;   // its pipe: closed, it ends
  std::vector<std::string> Out;  // lines of the last run's output
  std::size_t At = 0;            // lines of it checked
  std::string Err;
  int Ext = 0;
  std::vector<unsigned> AsUsr;  // the runs are made as this user: uid, gid, groups

  Doc() {
    for (const char* d : {"sys/class/tty", "proc", "dev"}) fs::create_directories(Tmp.Path() + d);
    Tmp.Write("group", "root:x:0:\ndialout:x:20:\nalice:x:1000:\n");
  }
  ~Doc() override {
    if (LckFd >= 0) ::close(LckFd);
    if (LckPid > 0) ::close(LckPip), ::waitpid(LckPid, nullptr, 0);
    Sys.FGat->Put([this] { Sys.FGat->Hld = false; });
#ifdef TESSARO_DOC_DLG
    if (Opt) {
      EXPECT_TRUE(!Dlg || QTest::qWaitFor([this] { return !Dlg->Running(); }, 10000));
      EXPECT_TRUE(!Rol || QTest::qWaitFor([this] { return !Rol->Running(); }, 10000));
      GuSysLgeMsg = PrvMsg;
    }
#endif
  }
  // ~NAME in the test's folder, @pty and @pty2 the ports, @dev and @dev2 the
  // devices they lead to, @p1 to @p8 more ports; "\n" a line break.
  std::string Sub(std::string s) {
    for (std::size_t p = 0; (p = s.find("@p", p)) != std::string::npos;)
      if (p + 2 < s.size() && s[p + 2] >= '1' && s[p + 2] <= '8') {
        auto& t = Pts[static_cast<std::size_t>(s[p + 2] - '0')];
        if (!t) t = std::make_unique<TPty>();
        s.replace(p, 3, t->Pth());
      } else {
        p += 2;
      }
    for (const auto& [k, v] : {std::pair<std::string, std::string>{"@pty2", Pty2.Pth()}, {"@dev2", fs::canonical(Pty2.Pth())},
                               {"@pty", Pty.Pth()}, {"@lpid", std::to_string(LckPid)}, {"@dev", fs::canonical(Pty.Pth())}, {"~", Tmp.Path()}, {"\\n", "\n"}})
      for (std::size_t p; (p = s.find(k)) != std::string::npos;) s.replace(p, k.size(), v);
    return s;
  }
  // The pseudo-terminal of a port's path.
  TPty& PtyOf(const std::string& pth) {
    for (const auto& t : Pts)
      if (t && t->Pth() == pth) return *t;
    return pth == Pty2.Pth() ? Pty2 : Pty;
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
    if (!AsUsr.empty()) return RunAs(a, msgDir);
    std::ostringstream out, err;
    Ext = DocMai(a, Sys, msgDir, out, err);
    SetOut(out.str());
    Err = err.str();
  }
  // The run in a child that has left root for the user of AsUsr, with the
  // system's own user data: exit code, output and error output come back
  // through a pipe.
  void RunAs(const std::vector<std::string>& a, const std::string& msgDir) {
    // No other thread runs while the process forks: the robot's comes back after.
    ASSERT_TRUE(Robs.empty()) << "a run as another user has the robot on @pty alone";
    const bool rob = Rob != nullptr;
    Rob.reset();
    const std::string s = RunInChild(
        [&] {
          const std::vector<gid_t> grp(AsUsr.begin() + 2, AsUsr.end());
          std::ostringstream out, err;
          int ext = 99;
          Sys.FbRea = true;
          if (::setgroups(grp.size(), grp.data()) == 0 && ::setresgid(AsUsr[1], AsUsr[1], AsUsr[1]) == 0 &&
              ::setresuid(AsUsr[0], AsUsr[0], AsUsr[0]) == 0)
            ext = DocMai(a, Sys, msgDir, out, err);
          else
            err << "could not become the user: " << std::strerror(errno);
          return std::to_string(ext) + "\n" + out.str() + '\0' + err.str();
        },
        [&] {
          if (rob) Rob = std::make_unique<TRob>(Pty);
        });
    const std::size_t nl = s.find('\n'), z = s.find('\0');
    ASSERT_TRUE(nl != std::string::npos && z != std::string::npos) << s;
    Ext = std::stoi(s.substr(0, nl));
    SetOut(s.substr(nl + 1, z - nl - 1));
    Err = s.substr(z + 1);
  }
  // The lines that "|" checks.
  void SetOut(const std::string& s) {
    std::istringstream is(s);
    Out.clear(), At = 0;
    for (std::string l; std::getline(is, l);) Out.push_back(l);
  }
  void Do(const std::string& cmd, const std::string& arg);
  void LckFil(const std::string& arg);
#ifdef TESSARO_DOC_DLG
  void DoDlg(const std::string& cmd, const std::string& arg);
  void DoRol(const std::string& cmd, const std::string& arg);
  TSysLgeMsg Msg{nullptr, std::string(TESSARO_DATA_DIR) + "/"};
  TSysLgeMsg* PrvMsg = nullptr;
  TMaiWnd Mai;
  std::unique_ptr<TfrmOptions> Opt;
  TfrmConDoc* Dlg = nullptr;  // the check's window at the last "check"
  TfrmRolCal* Rol = nullptr;  // the roll call's window
#endif
};

void Doc::Do(const std::string& cmd, const std::string& arg) {
  std::istringstream is(arg);
  std::string a, b;
  if (cmd == "|") {
    ASSERT_LT(At, Out.size());
    EXPECT_EQ(Out[At++], arg);
  } else if (cmd == "run") Run(arg);
  else if (cmd == "exit") EXPECT_EQ(Ext, std::stoi(arg));
  else if (cmd == "stderr") EXPECT_NE(Err.find(arg), std::string::npos) << Err;
  else if (cmd == "file" && (is >> a)) Tmp.Write(a, arg.substr(std::min(arg.size(), a.size() + 1)) + "\n");
  else if (cmd == "dir") fs::create_directories(Tmp.Path() + arg);
  else if (cmd == "link" && (is >> a >> b)) Lnk(a, b);
  else if (cmd == "group") Tmp.Write("group", arg);
  else if (cmd == "user" && (is >> Sys.FUid >> Sys.FGid)) Sys.FGrp.assign(std::istream_iterator<gid_t>(is), {});
  else if (cmd == "device" && (is >> Sys.FDevGid >> std::oct >> Sys.FMod)) {
    is >> std::dec >> Sys.FDevUid;
  } else if (cmd == "holder" && (is >> a >> b)) {
    if (a == "PID") a = std::to_string(::getpid());
    Tmp.Write("proc/" + a + "/comm", b + "\n");
    std::string pth = Pty.Pth();
    is >> pth;
    Lnk(fs::canonical(pth), Tmp.Path() + "proc/" + a + "/fd/3");
  } else if (cmd == "rights" && (is >> a)) {  // PATH GID MODE [UID]: one device's rights
    TFilInf& inf = Sys.FRgt[fs::canonical(a).string()];
    is >> inf.Gid >> std::oct >> inf.Mod >> std::dec >> inf.Uid;
  } else if (cmd == "serial" && (is >> a >> b)) {  // NAME PATH: a serial device whose node leads to PATH
    fs::create_directories(Tmp.Path() + "sys/class/tty/" + a + "/device");
    Lnk(b, Tmp.Path() + "dev/" + a);
  } else if (cmd == "map" && (is >> a >> b)) {
    Plt.Settings.Keys[GcPrtMapKey][a] = b;
  } else if (cmd == "lockfile") LckFil(arg);
  else if (cmd == "quiet") EXPECT_TRUE(Pty.Rd(1, std::chrono::milliseconds(100)).empty()) << "the line got bytes";
  else if (cmd == "lock") {
    LckFd = ::open(Pty.Pth().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(LckFd, LOCK_EX | LOCK_NB), 0);
  } else if (cmd == "robot") {  // [PATH]: @pty without one
    TPty& t = arg.empty() ? Pty : PtyOf(arg);
    Sys.FRob.insert(fs::canonical(t.Pth()).string());
    (arg.empty() ? Rob : Robs.emplace_back()) = std::make_unique<TRob>(t);
  }
  else if (cmd == "clock") Sys.FbClk = true;
  else if (cmd == "nowrite") Sys.FbNoWrt = true;
  else if (cmd == "asuser") {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as another user";
    AsUsr.assign(std::istream_iterator<unsigned>(is), {});
    ASSERT_GE(AsUsr.size(), 2u);
    fs::permissions(Tmp.Path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  } else if (cmd == "devrights") {  // GID MODE: the port's device itself, owned by root
    unsigned g = 0, m = 0;
    is >> g >> std::oct >> m;
    const std::string dev = fs::canonical(Pty.Pth());
    ASSERT_EQ(::chown(dev.c_str(), 0, g), 0);
    ASSERT_EQ(::chmod(dev.c_str(), m), 0);
  } else if (cmd == "excl") {  // the line is opened for one program only
    ASSERT_EQ(::ioctl(Pty.Slv(), TIOCEXCL), 0);
  }
  else if (cmd == "clock-at") EXPECT_EQ(Sys.FNow, std::stoll(arg));
  else if (cmd == "line") {  // what the far end got
    std::vector<std::uint8_t> want;
    for (std::string h; is >> h;) want.push_back(static_cast<std::uint8_t>(std::stoul(h, nullptr, 16)));
    EXPECT_EQ(Pty.Rd(want.size(), std::chrono::seconds(1)), want);
  } else if (cmd == "store" && (is >> a >> b)) {
    auto& k = Plt.Settings.Keys["SOFTWARE\\Quorel\\TessaroV1.0\\Options"];
    k["Comport"] = a, k["Language"] = b;
  } else if (cmd == "nostore" || cmd == "store-refuses") {
    (cmd == "nostore" ? Plt.Settings.FailCreate : Plt.Settings.FailWrite) = true;
  } else if (cmd == "hold-line" || cmd == "free-line") {
    Sys.FGat->Put([&] { Sys.FGat->Hld = cmd == "hold-line"; });
  } else {
#ifdef TESSARO_DOC_DLG
    DoDlg(cmd, arg);
#else
    GTEST_SKIP() << "a case of the windows, which this build has not";
#endif
  }
}

// lockfile live NAME [PATH]: a lock file of the serial programs for the port
// (@pty without PATH) that names a running process other than this one, NAME
// in the test's /proc; lockfile dead [PATH]: one that names a process that
// has ended.
void Doc::LckFil(const std::string& arg) {
  std::istringstream is(arg);
  std::string knd, nam, pth = Pty.Pth();
  is >> knd;
  if (knd == "live") is >> nam;
  is >> pth;
  int pip[2];
  ASSERT_EQ(::pipe(pip), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    char c;
    ::close(pip[1]);
    ::_exit(::read(pip[0], &c, 1) < 0 ? 1 : 0);
  }
  ::close(pip[0]);
  if (knd == "live") {
    ASSERT_EQ(LckPid, 0) << "one running process a case";
    LckPid = pid, LckPip = pip[1];
    Tmp.Write("proc/" + std::to_string(pid) + "/comm", nam + "\n");
  } else {
    ::close(pip[1]);
    ASSERT_EQ(::waitpid(pid, nullptr, 0), pid);
  }
  const std::string dev = fs::canonical(pth).string();
  fs::create_directories(Tmp.Path() + "lock");
  Tmp.Write("lock/LCK.." + dev.substr(dev.rfind('/') + 1), "      " + std::to_string(pid) + "\n");
}

#ifdef TESSARO_DOC_DLG
// The Options dialog and the check's window.
void Doc::DoDlg(const std::string& cmd, const std::string& arg) {
  std::istringstream is(arg);
  std::string a, b;
  if (!Opt) {
    PrvMsg = std::exchange(GuSysLgeMsg, &Msg);
    Opt = std::make_unique<TfrmOptions>(nullptr, [] {  // the mapped ports COM13 to COM19 of the test
      std::vector<std::string> v = ScnComPrt();
      std::erase_if(v, [](const std::string& n) { return PrtNum(n) < 13; });
      return v;
    });
    Opt->SetMaiFrm(&Mai), Opt->SetZfrLnk(Tmp.Path() + "zefor");
    Opt->SetDocMak([this] { return std::make_unique<TFakSys>(Sys); });
    Opt->SetRolUpl({[](std::vector<std::uint8_t>& s) { return s = {0x12, 0x03}, true; }, nullptr,
                    std::chrono::milliseconds(300), std::chrono::milliseconds(20)});
  }
  auto* cbx = Kid<QComboBox>(Opt.get(), "cbxComportSelector");
  auto& map = Plt.Settings.Keys[GcPrtMapKey];
  if (cmd == "context" && (is >> a >> b)) {  // the port and language the main window hands over
    Opt->SetDocCtx([a, l = std::stoi(b)](std::string& p, std::uint8_t& g) { p = a, g = std::uint8_t(l); });
  } else if (cmd == "check") {
    Kid<QPushButton>(Opt.get(), "btnChk")->click();
    EXPECT_TRUE(Opt->DocDlg() && Opt->DocDlg()->isVisible());
    EXPECT_TRUE(arg != "same" || Opt->DocDlg() == Dlg) << "a new window";
    Dlg = Opt->DocDlg();
  } else if (cmd == "again") Kid<QPushButton>(Dlg, "btnAgn")->click();
  else if (cmd == "start" && (is >> a >> b)) Dlg->Run(a, std::uint8_t(std::stoi(b)));
  else if (cmd == "events") QCoreApplication::processEvents();
  else if (cmd == "wait") ASSERT_TRUE(QTest::qWaitFor([this] { return !Dlg->Running(); }, 10000));
  else if (cmd == "window")  // running or done, the button "Check again" on or off, the title
    EXPECT_EQ(std::string(Dlg->Running() ? "running" : "done") + (Kid<QPushButton>(Dlg, "btnAgn")->isEnabled() ? ", again on" : ", again off") +
                  ", " + Dlg->windowTitle().toStdString(), arg);
  else if (cmd == "report" && arg.empty()) SetOut(Dlg->Report());
  else if (cmd == "report" && arg.rfind("has ", 0) == 0)
    EXPECT_NE(Dlg->Report().find(arg.substr(4)), std::string::npos) << Dlg->Report();
  else if (cmd == "zefor") fs::create_symlink(arg, Opt->ZfrLnk());
  else if (cmd == "select") Opt->SetComPrtIdx(std::stoi(arg));
  else if (cmd == "show") Opt->hide(), Opt->show();
  else if (cmd == "ports") {  // the list, the selected entry marked with "*"
    std::string l;
    for (int i = 0; i < cbx->count(); ++i)
      l += (i ? " | " : "") + std::string(i == cbx->currentIndex() ? "*" : "") + cbx->itemText(i).toStdString();
    EXPECT_EQ(l, arg);
  } else if (cmd == "choose") cbx->setCurrentIndex(std::stoi(arg)), Opt->cbxComportSelectorChange();
  else if (cmd == "mapped" && (is >> a >> b)) EXPECT_EQ(map.count(a) ? map[a] : "-", b);
  else if (cmd == "sent") EXPECT_EQ(Mai.Prt, arg.empty() ? "" : arg + " ");
  else if (cmd == "port-state") EXPECT_EQ(Kid<QLabel>(Opt.get(), "lblComPrtSte")->text().toStdString(), arg);
  else DoRol(cmd, arg);
}

// The roll call's window.
void Doc::DoRol(const std::string& cmd, const std::string& arg) {
  if (cmd == "check-all") {
    Kid<QPushButton>(Opt.get(), "btnAll")->click();
    ASSERT_TRUE(Opt->RolDlg() && Opt->RolDlg()->isVisible());
    Rol = Opt->RolDlg();
  } else if (cmd == "wait-all") {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Rol->Running(); }, 10000));
  } else if (cmd == "window-all") {  // running or done, which buttons are on, the title
    std::string st = Rol->Running() ? "running" : "done";
    for (QPushButton* b : {Kid<QPushButton>(Rol, "btnAgn"), Kid<QPushButton>(Rol, "btnCpy"), Kid<QPushButton>(Rol, "btnSav")})
      if (b->isEnabled()) st += ", " + b->text().toStdString();
    EXPECT_EQ(st + ", " + Rol->windowTitle().toStdString(), arg);
  } else if (cmd == "rows") {  // the table, its cells joined by " | ", "-" for an empty one
    std::string t;
    for (int c = 0; c < 3; ++c) t += (c ? " | " : "") + Kid<QTableWidget>(Rol, "tblRol")->horizontalHeaderItem(c)->text().toStdString();
    for (int r = 0; r < Kid<QTableWidget>(Rol, "tblRol")->rowCount(); ++r)
      for (int c = 0; c < 3; ++c) {
        const std::string cel = Kid<QTableWidget>(Rol, "tblRol")->item(r, c)->text().toStdString();
        t += (c ? " | " : "\n") + (cel.empty() ? "-" : cel);
      }
    SetOut(t + "\n" + Kid<QLabel>(Rol, "lblSum")->text().toStdString());
  } else if (cmd == "upload-all" || cmd == "upload-run-all") {  // the upload buttons, then until it has ended
    Kid<QPushButton>(Rol, cmd == "upload-all" ? "btnUpl" : "btnUpr")->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Rol->Running(); }, 10000));
  } else if (cmd == "window-link") {  // up or down: whether the robot answers the main window's link
    Mai.LnkOky = arg == "up";
  } else if (cmd == "verdicts-fit") {  // the Result column is as wide as each verdict
    const QFontMetrics fm(Kid<QTableWidget>(Rol, "tblRol")->font());
    for (int r = 0; r < Kid<QTableWidget>(Rol, "tblRol")->rowCount(); ++r)
      EXPECT_GE(Kid<QTableWidget>(Rol, "tblRol")->columnWidth(1), fm.horizontalAdvance(Kid<QTableWidget>(Rol, "tblRol")->item(r, 1)->text()))
          << Kid<QTableWidget>(Rol, "tblRol")->item(r, 1)->text().toStdString();
  } else if (cmd == "copy") {
    QGuiApplication::clipboard()->clear();
    Kid<QPushButton>(Rol, "btnCpy")->click();
    SetOut(QGuiApplication::clipboard()->text().toStdString());
  } else if (cmd == "save-as") {  // the name the file dialog answers; "cancel" cancels it
    Plt.FilDlg.Answers.push_back(arg == "cancel" ? std::nullopt : std::optional<std::string>(arg));
    Kid<QPushButton>(Rol, "btnSav")->click();
  } else if (cmd == "saved") {
    std::ifstream f(arg);
    SetOut(f ? std::string(std::istreambuf_iterator<char>(f), {}) : "(no file)");
  } else if (cmd == "boxes") {  // the message boxes shown, joined by " | "
    std::string t;
    for (const std::string& b : Plt.MsgBox.Texts()) t += (t.empty() ? "" : " | ") + b;
    EXPECT_EQ(t, arg);
  } else {
    FAIL() << "unknown command";
  }
}
#endif

// The cases of cases.txt: "case NAME" for the tool, "dialog NAME" for the windows.
std::vector<std::string> Cases() {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/doctor/cases.txt");
  std::vector<std::string> v;
  for (std::string l; std::getline(f, l);)
    if (l.rfind("case ", 0) == 0 || l.rfind("dialog ", 0) == 0) v.push_back(l.substr(l.find(' ') + 1));
  return v;
}

TEST_P(Doc, Case) {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/doctor/cases.txt");
  bool in = false;
  for (std::string l; std::getline(f, l);) {
    const bool hd = l.rfind("case ", 0) == 0 || l.rfind("dialog ", 0) == 0;
    if (hd) in = l.substr(l.find(' ') + 1) == GetParam();
    if (!in || hd || l.empty() || l[0] == '#') continue;
    SCOPED_TRACE(l);
    const auto sp = l.find(' ');
    Do(l.substr(0, sp), sp == std::string::npos ? "" : Sub(l.substr(sp + 1)));
    if (HasFatalFailure() || IsSkipped()) return;
  }
  EXPECT_EQ(At, Out.size()) << "output lines not checked";
}

INSTANTIATE_TEST_SUITE_P(Cases, Doc, ::testing::ValuesIn(Cases()), [](const auto& i) { return i.param; });

// Placeholders without an argument stay as written; the copy of the texts
// for another thread answers as the table does (the doctor's texts: the
// steps', the one on the built-in robot, the device's rights, the roll
// call's), and nothing outside it.
TEST(DocTxt, PlaceholdersAndTheCopyForAnotherThread) {
  EXPECT_EQ(SysMsgArg("%1 and %2, %3%", {"a", "b"}), "a and b, %3%");
  EXPECT_EQ(SysMsgArg("%0%9%", {}), "%0%9%");
  EXPECT_EQ(SysMsgArg("%9%1", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}), "91");
  // A message the table lacks says its number, with its arguments.
  EXPECT_EQ(DocMsg(nullptr, 0x4E, {"COM3", "minicom"}), "[0x4E] COM3 minicom");
  EXPECT_EQ(DocMsg([](std::uint8_t) { return std::string(); }, 0xC1), "[0xC1]");
  const TDocTxt cpy = DocTxtCpy([](std::uint8_t id) { return std::to_string(id); });
  for (int id = 0; id < 256; ++id)
    EXPECT_EQ(cpy(static_cast<std::uint8_t>(id)),
              (id >= DM_DEV_LST && id <= DM_TTL_DOC) || id == DM_SIM_OWN || id == DM_ROB_OWN_OKY || id == DM_OPN_DEN_DO || id == DM_PRM_MOD || id == DM_PRM_MOD_DO || id == DM_PRM_NAP || id == DM_HLD_OPN ||
                      (id >= DM_ALL_TTL && id <= DM_ALL_SAV_ERR)
                  ? std::to_string(id)
                  : "");
}

// The system layer's own writes: all of a frame reaches a line that takes it,
// and a write the system refuses fails at once.
TEST(DocSys, AWriteGoesWholeOrFails) {
  TDocSysLnx sys;
  TPty pty;
  std::vector<std::uint8_t> frm;
  ASSERT_TRUE(BldPck(0, MC_CTL, MK_LNK_CHK, {}, frm));
  EXPECT_TRUE(sys.WrtAll(pty.Slv(), frm));
  EXPECT_EQ(pty.Rd(frm.size(), std::chrono::seconds(5)), frm);
  const int ro = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(ro, 0);
  EXPECT_FALSE(sys.WrtAll(ro, frm));
  ::close(ro);
  // A line that is full for a moment is waited for: a long write arrives whole.
  const int fd = ::open(pty.Pth().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  std::vector<std::uint8_t> big(20000), got;
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  std::thread rd([&] { got = pty.Rd(big.size(), std::chrono::seconds(10)); });
  EXPECT_TRUE(sys.WrtAll(fd, big));
  rd.join();
  EXPECT_EQ(got, big);
  ::close(fd);
}

// A port that leads to no device is missing, whichever way the system says
// it: no such file, or a node that no device answers (a socket here, where
// the system says "no such device or address" as for a device node without
// its driver).
TEST(DocSys, APortWithoutADeviceIsMissing) {
  TDocSysLnx sys;
  TTmpDir tmp;
  const std::string sck = tmp.Path() + "sck";
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(s, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::snprintf(a.sun_path, sizeof a.sun_path, "%s", sck.c_str());
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  for (const std::string& p : {tmp.Path() + "none", sck}) {
    int fd = 7;
    std::string err;
    EXPECT_EQ(sys.OpnPrt(p, fd, err), TeOpnRes::Missing) << p << ": " << err;
    EXPECT_EQ(fd, -1);
  }
  ::close(s);
}

}  // namespace
