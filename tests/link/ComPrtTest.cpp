// The serial component on pseudo-terminals: one driver over the scenarios of
// cases/com.txt, the test playing the far end behind a fixed name (a link to
// the slave, which "plug" points at a new pair).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "LnkTstPty.h"
#include "core/Globals.h"
#include "link/LnkSes.h"
#include "link/PrtNam.h"
#include "support/FakePlatform.h"

namespace {

using B = std::vector<std::uint8_t>;

struct TCas {
  std::string Nam;
  std::vector<std::string> Lin;
};

void PrintTo(const TCas& c, std::ostream* os) { *os << c.Nam; }

std::vector<TCas> LodCas() {
  std::ifstream f(std::string(TESSARO_SOURCE_DIR) + "/tests/link/cases/com.txt");
  std::vector<TCas> cas;
  std::string l;
  while (std::getline(f, l))
    if (l.rfind("case ", 0) == 0)
      cas.push_back({l.substr(5), {}});
    else if (!l.empty() && l[0] != '#' && !cas.empty())
      cas.back().Lin.push_back(l);
  return cas;
}

B Hex(std::istream& is) {
  B b;
  std::string t;
  while (is >> t) b.push_back(static_cast<std::uint8_t>(std::stoul(t, nullptr, 16)));
  return b;
}

std::string Rest(std::istream& is) {
  std::string s;
  std::getline(is >> std::ws, s);
  for (std::size_t p; (p = s.find("\\n")) != std::string::npos;) s.replace(p, 2, "\n");
  return s;
}

// Another program holding the device: a child process with a flock or a
// record lock on it until Fre.
class THld {
public:
  THld(const std::string& pth, bool posix) {
    int up[2], dn[2];
    if (::pipe(up) != 0 || ::pipe(dn) != 0) return;
    FiPid = ::fork();
    if (FiPid == 0) {
      ::close(up[0]);
      ::close(dn[1]);
      const int fd = ::open(pth.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
      struct flock l{};
      l.l_type = F_WRLCK;
      const bool ok = fd >= 0 && (posix ? ::fcntl(fd, F_SETLK, &l) : ::flock(fd, LOCK_EX | LOCK_NB)) == 0;
      char c = ok ? 'h' : 'x';
      if (::write(up[1], &c, 1) != 1 || ::read(dn[0], &c, 1) < 0) ::_exit(2);
      ::_exit(0);
    }
    ::close(up[1]);
    ::close(dn[0]);
    FiDn = dn[1];
    char c = 0;
    FbOk = ::read(up[0], &c, 1) == 1 && c == 'h';
    ::close(up[0]);
  }
  ~THld() { Fre(); }
  bool Ok() const { return FbOk; }
  bool Fre() {
    if (FiPid <= 0) return false;
    ::close(FiDn);
    int st = 0;
    const bool ok = ::waitpid(FiPid, &st, 0) == FiPid && WIFEXITED(st) && WEXITSTATUS(st) == 0;
    FiPid = -1;
    return ok;
  }

private:
  pid_t FiPid = -1;
  int FiDn = -1;
  bool FbOk = false;
};

class ComPrt : public ::testing::TestWithParam<TCas> {
protected:
  struct TRec : TLckRec {
    B Byt;
    std::vector<std::pair<int, std::string>> Err;
    std::vector<std::uint32_t> Ctl, Ler;
    bool Gate = true;
  };
  TFakePlatform Plt;
  TTmpDir Tmp;
  const std::string Lnk = Tmp.Path() + "zefor";
  std::unique_ptr<TPty> Far;
  TTxMtxAndRbf Tx;
  TRxMtxAndRbf Rx;
  TRec Rec;
  std::size_t Seen = 0;  // received bytes already checked
  std::unique_ptr<TComport2p5> Com, Oth;
  std::unique_ptr<THld> Hld;

  void SetUp() override {
    Plug();
    Com = std::make_unique<TComport2p5>(this);
    SetRbtLin(*Com, Lnk);
    Com->FiRdTmo = std::chrono::milliseconds(20);
    Wire(*Com);
    BndComRbf(*Com, Tx, Rx);
  }
  void TearDown() override { Com.reset(); }

  void Plug() {
    Far = std::make_unique<TPty>();
    std::filesystem::remove(Lnk);
    std::filesystem::create_symlink(Far->Pth(), Lnk);
  }
  void Wire(TComport2p5& c) {
    c.FOnComPrtComEvt = [this](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t d) {
      std::unique_lock<std::mutex> lk(Rec.M);
      Rec.Cv.wait(lk, [&] { return Rec.Gate; });
      Rec.Byt.push_back(d);
      Rec.Cv.notify_all();
    };
    c.FOnComPrtCtlEvt = [this](TComport2p5*, std::uint32_t m) { Rec.Put([&] { Rec.Ctl.push_back(m); }); };
    c.FOnComPrtErrEvt = [this](TComport2p5*, std::int8_t e, const std::string& t) {
      Rec.Put([&] { Rec.Err.emplace_back(e, t); });
    };
    c.FOnComPrtLerEvt = [this](TComport2p5*, std::uint32_t n, std::uint32_t) { Rec.Put([&] { Rec.Ler.push_back(n); }); };
  }
  // The I/O thread has passed its loop a few times (silent reads completing).
  void LetIoRun() {
    const auto n = Com->FiEmpRdCnt.load();
    ASSERT_TRUE(WaitUntil([&] { return Com->FiEmpRdCnt.load() >= n + 2; }));
  }
  void Set(std::istream& is) {
    std::string k;
    unsigned v = 0;
    is >> k >> std::hex >> v;
    if (k == "bau") Com->FbyBauIdx = static_cast<std::uint8_t>(v);
    else if (k == "dat") Com->FbyDatBts = static_cast<std::uint8_t>(v);
    else if (k == "prt") Com->FbyPrt = static_cast<std::uint8_t>(v);
    else if (k == "stp") Com->FbyStpBts = static_cast<std::uint8_t>(v);
    else if (k == "evt") Com->FstComEvt = static_cast<std::uint16_t>(v);
    else if (k == "sgl") Com->FbSglChr = v != 0;
    else if (k == "com") Com->FOnComPrtComEvt = nullptr;
    else if (k == "ctl") Com->FOnComPrtCtlEvt = nullptr;
    else if (k == "err") Com->FOnComPrtErrEvt = nullptr;
    else if (k == "wire") Wire(*Com);
    else FAIL() << "unknown setting " << k;
  }
  // @far the link to the far end, @dev its device, @file a plain file,
  // ~NAME in the test's folder, - nothing.
  std::string Pth(const std::string& n) {
    if (n == "@far") return Lnk;
    if (n == "@dev") return Far->Pth();
    if (n == "@file") return Tmp.Write("file", "not a terminal");
    if (n[0] == '~') return Tmp.Path() + n.substr(1);
    return n == "-" ? "" : n;
  }
  bool RunPrt(const std::string& cmd, std::istream& is);
  bool RunIo(const std::string& cmd, std::istream& is);
  void Run(const std::string& cmd, std::istream& is);
  void RunSte(const std::string& cmd, std::istream& is);
};

// The bytes: what the component is handed and receives, what the far end
// writes and reads. False: not a command of this kind.
bool ComPrt::RunIo(const std::string& cmd, std::istream& is) {
  static const std::set<std::string> cmds = {"send", "sendn", "far", "farn", "rcv", "rcvn", "line", "linen", "txq",
                                             "rxq"};
  if (!cmds.count(cmd)) return false;
  std::size_t n = 0, s = 0;
  const bool seq = cmd.back() == 'n';
  if (seq) is >> n >> std::hex >> s;
  const B v = seq ? Seq(n, static_cast<std::uint8_t>(s)) : Hex(is);
  if (cmd == "send" || cmd == "sendn") {
    for (std::size_t i = 0; i < v.size() && !HasFailure(); ++i) EXPECT_TRUE(Com->SndChr(v[i])) << GuLstErrMsg;
  } else if (cmd == "far" || cmd == "farn") {
    EXPECT_TRUE(Far->Wr(v));
  } else if (cmd == "rcv" || cmd == "rcvn") {
    if (!Rec.Wait([&] { return Rec.Byt.size() >= Seen + v.size(); })) ADD_FAILURE() << "too few bytes";
    else EXPECT_EQ(Rec.Get([&] { return B(Rec.Byt.begin() + static_cast<std::ptrdiff_t>(Seen), Rec.Byt.end()); }), v);
    Seen += v.size();
  } else if (cmd == "line" || cmd == "linen") {
    EXPECT_EQ(Far->Rd(v.size()), v);
  } else {
    for (std::uint8_t b : v) EXPECT_TRUE(LckPutChr(cmd == "txq" ? static_cast<TMtxAndRbf&>(Tx) : Rx, b));
  }
  return true;
}

void ComPrt::Run(const std::string& cmd, std::istream& is) {
  std::string a;
  std::size_t n = 0;
  if (cmd == "set") {
    Set(is);
  } else if (cmd == "name") {
    is >> a;
    Com->FsPrtNam = Pth(a);
  } else if (RunIo(cmd, is) || RunPrt(cmd, is)) {
  } else if (cmd == "refuse" || cmd == "sendtil") {
    // Bytes sent on meet a link that has ended: it stops taking them.
    const std::string t = cmd == "refuse" ? Rest(is) : "Comport is not defined";
    GuLstErrMsg.clear();
    EXPECT_TRUE(WaitUntil([&] { return !Com->SndChr(0) && (cmd == "sendtil" || GuLstErrMsg == t); }));
    EXPECT_EQ(GuLstErrMsg, t);
  } else if (cmd == "nothing") {
    LetIoRun();
    EXPECT_EQ(Far->MstInQ(), 0);
    EXPECT_EQ(Rec.Get([&] { return Rec.Byt.size(); }), Seen);
  } else if (cmd == "drop") {
    Far->ClsMst();
  } else if (cmd == "plug") {
    Plug();
  } else if (cmd == "err") {
    is >> n;
    const std::string t = Rest(is);
    const std::pair<int, std::string> e{static_cast<int>(n), t};
    EXPECT_TRUE(Rec.Wait([&] { return std::find(Rec.Err.begin(), Rec.Err.end(), e) != Rec.Err.end(); }));
  } else if (cmd == "noerr") {
    EXPECT_TRUE(Rec.Get([&] { return Rec.Err.empty(); }));
  } else if (cmd == "ler") {
    is >> n;
    EXPECT_TRUE(Rec.Get([&] { return std::find(Rec.Ler.begin(), Rec.Ler.end(), n) != Rec.Ler.end(); }));
  } else if (cmd == "ctl") {
    is >> std::hex >> n;
    ASSERT_TRUE(Rec.Wait([&] { return !Rec.Ctl.empty(); }));
    EXPECT_EQ(Rec.Get([&] { return Rec.Ctl[0]; }), n);
  } else if (cmd == "gate") {
    is >> n;
    Rec.Put([&] { Rec.Gate = n != 0; });
  } else if (cmd == "box") {
    ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
    EXPECT_EQ(Plt.MsgBox.Calls[0].Caption + ": " + Plt.MsgBox.Calls[0].Text, Rest(is));
    EXPECT_EQ(Plt.EvtLoop.PrcMsgCnt, 1);
  } else {
    RunSte(cmd, is);
  }
}

// Port names, the port scan and the port that stands for a link.
bool ComPrt::RunPrt(const std::string& cmd, std::istream& is) {
  std::string a, b;
  int n = 0;
  auto& map = Plt.Settings.Keys[GcPrtMapKey];
  if (cmd == "map" && (is >> a >> b)) {
    for (int i = 1; i <= 19; ++i)
      if (a == "all" || a == "COM" + std::to_string(i)) map["COM" + std::to_string(i)] = Pth(b) + (a == "all" ? std::to_string(i) : "");
  } else if (cmd == "unmap" && (is >> a)) {
    map.erase(a);
  } else if (cmd == "link" && (is >> a >> b)) {
    std::filesystem::create_symlink(Pth(b), Tmp.Path() + a);
  } else if (cmd == "path" && (is >> a >> b)) {
    EXPECT_EQ(PrtDevPth(Pth(a)), Pth(b));
  } else if (cmd == "scan") {
    std::vector<std::string> v;
    while (is >> a) v.push_back(a);
    EXPECT_EQ(ScnComPrt(), v);
  } else if (cmd == "scanhas" && (is >> a >> n)) {
    const auto v = ScnComPrt();
    EXPECT_EQ(std::count(v.begin(), v.end(), a), n);
  } else if (cmd == "lnkprt" && (is >> a >> n)) {
    const TLnkPrt r = LnkPrt(Pth(a));
    EXPECT_EQ(r.Num, n);
    EXPECT_EQ(r.Lst, (is >> n, n != 0));
    EXPECT_EQ(r.Dev, (is >> b, b == "@dev" ? std::filesystem::canonical(Far->Pth()).string() : ""));
  } else if (cmd == "mapprt" && (is >> n >> a >> b)) {
    EXPECT_EQ(MapPrt(n, Pth(a)), b == "1");
  } else if (cmd == "store" && (is >> a)) {
    Plt.Settings.FailWrite = a == "nowrite";
    Plt.Settings.FailCreate = a == "none";
  } else if (cmd == "cfg") {
    unsigned dat = 0, prt = 0, stp = 0;
    is >> dat >> prt >> stp >> a >> b;
    termios t{};
    t.c_cflag = CRTSCTS | PARENB | CS5;
    t.c_iflag = IXON | ICRNL;
    t.c_lflag = ICANON | ECHO;
    const bool ok = MakLinCfg(t, static_cast<std::uint8_t>(dat), static_cast<std::uint8_t>(prt), static_cast<std::uint8_t>(stp));
    EXPECT_EQ(ok, a != "refused");
    if (!ok) return true;
    const std::string par[] = {"n", "o", "e", "m", "s"};
    const tcflag_t pf[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR, PARENB | CMSPAR};
    const tcflag_t pb = pf[std::find(par, par + 5, b) - par];
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(a == "5" ? CS5 : a == "6" ? CS6 : a == "7" ? CS7 : CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), pb);
    EXPECT_EQ(t.c_iflag & INPCK, pb ? tcflag_t(INPCK) : 0u);
    EXPECT_EQ(t.c_cflag & CSTOPB, (is >> n, n == 2) ? tcflag_t(CSTOPB) : 0u);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD | CRTSCTS), tcflag_t(CLOCAL | CREAD));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 1);
  } else if (cmd == "inuse" && (is >> a >> n)) {
    EXPECT_EQ(PrtInUse(Pth(a)), n != 0);
  } else {
    return false;
  }
  return true;
}

// The component's state, the device and its holders.
void ComPrt::RunSte(const std::string& cmd, std::istream& is) {
  std::string a;
  std::size_t n = 0;
  is >> a;
  std::istringstream(a) >> n;
  if (cmd == "open") {
    EXPECT_EQ(Com->OpnPrt().Cod(), n);
  } else if (cmd == "quiet") {
    Com->FbBlkCbk = n != 0;
  } else if (cmd == "unread") {
    EXPECT_TRUE(WaitUntil([&] { return Far->SlvInQ() == static_cast<int>(n); }));
  } else if (cmd == "ended") {
    EXPECT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->FbRxcThrRun; }));
    EXPECT_FALSE(Com->PrtOpn());
  } else if (cmd == "stop") {
    EXPECT_TRUE(Com->StpThr() && !Com->FbIoThrRun && !Com->FbRxcThrRun);
  } else if (cmd == "start") {
    EXPECT_EQ(Com->StaThr(), n != 0);
  } else if (cmd == "rxd") {
    EXPECT_TRUE(WaitUntil([&] { return Com->FiRxdCnt.load() == n; }));
  } else if (cmd == "queued" || cmd == "stored") {
    EXPECT_EQ(LckDatAvl(cmd == "queued" ? static_cast<TMtxAndRbf&>(Tx) : Rx), n != 0);
  } else if (cmd == "txdrp") {
    EXPECT_EQ(Com->TakTxDrp(), n);
  } else if (cmd == "hold") {
    Hld = std::make_unique<THld>(Far->Pth(), a == "record");
    ASSERT_TRUE(Hld->Ok());
  } else if (cmd == "free") {
    EXPECT_TRUE(Hld->Fre());
  } else if (cmd == "held") {
    EXPECT_EQ(Com->PrtHld(), n != 0);
  } else if (cmd == "locked") {
    EXPECT_FALSE(THld(Far->Pth(), false).Ok());
  } else if (cmd == "other") {
    Oth = std::make_unique<TComport2p5>(this);
    SetRbtLin(*Oth, Lnk);
    Wire(*Oth);
    ASSERT_EQ(Oth->OpnPrt(), TeOpnPrt::Ok);
  } else if (cmd == "line-is") {
    is >> a;
    termios t{};
    ASSERT_EQ(::tcgetattr(Far->Slv(), &t), 0);
    EXPECT_EQ(GetLinBau(Far->Slv()), n);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CRTSCTS | CLOCAL | CREAD | CSTOPB),
              tcflag_t(CS8 | CLOCAL | CREAD) | (a == "2" ? CSTOPB : 0));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
  } else {
    FAIL() << "unknown command";
  }
}

TEST_P(ComPrt, Scenario) {
  for (const std::string& l : GetParam().Lin) {
    SCOPED_TRACE(l);
    std::istringstream is(l);
    std::string cmd;
    is >> cmd;
    Run(cmd, is);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ComPrt, ::testing::ValuesIn(LodCas()),
                         [](const auto& i) { return i.param.Nam; });

}  // namespace
