// The serial component on pseudo-terminals: one driver over the scenarios of
// cases/com.txt.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "ComTstFix.h"
#include "link/PrtNam.h"
#include "support/TstLin.h"

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


std::string Rest(std::istream& is) {
  std::string s;
  std::getline(is >> std::ws, s);
  for (std::size_t p; (p = s.find("\\n")) != std::string::npos;) s.replace(p, 2, "\n");
  return s;
}

template <class... T>
std::string Str(const T&... v) {
  std::ostringstream o;
  ((o << v << ' '), ...);
  std::string s = o.str();
  return s.empty() ? s : s.substr(0, s.size() - 1);
}

// Another program holding the device: a child process with a flock or a
// record lock on it until Fre (or the test's end) closes its pipe.
class THld {
public:
  THld(const std::string& pth, bool rec) {
    int up[2], dn[2];
    if (::pipe(up) != 0 || ::pipe(dn) != 0 || (FiPid = ::fork()) < 0) return;
    if (FiPid == 0) {
      ::close(dn[1]);
      const int fd = ::open(pth.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
      struct flock l{};
      l.l_type = F_WRLCK;
      char c = fd >= 0 && (rec ? ::fcntl(fd, F_SETLK, &l) : ::flock(fd, LOCK_EX | LOCK_NB)) == 0 ? 'h' : 'x';
      ::_exit(::write(up[1], &c, 1) == 1 && ::read(dn[0], &c, 1) == 0 ? 0 : 2);
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
    int st = 0;
    const bool ok = FiPid > 0 && ::close(FiDn) == 0 && ::waitpid(FiPid, &st, 0) == FiPid && st == 0;
    FiPid = -1;
    return ok;
  }

private:
  pid_t FiPid = -1;
  int FiDn = -1;
  bool FbOk = false;
};

class ComPrt : public TComFix, public ::testing::WithParamInterface<TCas> {
protected:
  using TAct = std::function<void(std::istream&)>;
  using TQry = std::function<std::string(std::istream&)>;
  std::size_t Seen = 0;  // received bytes already checked
  std::unique_ptr<TComport2p5> Oth;
  std::unique_ptr<THld> Hld;

  // @far the link to the far end, @dev its device, @file a plain file,
  // ~NAME in the test's folder, - nothing.
  std::string Pth(const std::string& n) {
    if (n == "@far") return Lnk;
    if (n == "@dev") return Far->Pth();
    if (n == "@file") return Tmp.Write("file", "not a terminal");
    if (!n.empty() && n[0] == '~') return Tmp.Path() + n.substr(1);
    return n == "-" ? "" : n;
  }
  std::string Arg(std::istream& is) {
    std::string a;
    is >> a;
    return Pth(a);
  }
  unsigned Num(std::istream& is) {
    unsigned n = 0;
    is >> n;
    return n;
  }
  TMtxAndRbf& Buf(const std::string& cmd) { return cmd[0] == 't' || cmd[0] == 'q' ? static_cast<TMtxAndRbf&>(Tx) : Rx; }
  // The I/O thread has passed its loop a few times (silent reads completing).
  void LetIoRun() {
    const auto n = Com->FiEmpRdCnt.load();
    ASSERT_TRUE(WaitUntil([&] { return Com->FiEmpRdCnt.load() >= n + 2; }));
  }
  bool Io(const std::string& cmd, std::istream& is);
  std::map<std::string, TAct> Acts();
  // The steps on other programs and on the settings store.
  std::map<std::string, TAct> OthActs();
  std::map<std::string, TQry> Qrys();
};

// The bytes: what the component is handed and receives, what the far end
// writes and reads. False: not a command of this kind.
bool ComPrt::Io(const std::string& cmd, std::istream& is) {
  static const std::set<std::string> cmds = {"send", "sendn", "far", "farn", "rcv", "rcvn", "line", "linen", "txq",
                                             "rxq"};
  if (!cmds.count(cmd)) return false;
  const bool seq = cmd.back() == 'n';
  const std::size_t n = seq ? Num(is) : 0;
  const B v = seq ? Seq(n, static_cast<std::uint8_t>(Num(is))) : TstHex(is);
  if (cmd[0] == 's') {
    for (std::size_t i = 0; i < v.size() && !HasFailure(); ++i) EXPECT_TRUE(Com->SndChr(v[i])) << GuLstErrMsg;
  } else if (cmd[0] == 'f') {
    EXPECT_TRUE(Far->Wr(v));
  } else if (cmd[0] == 'r' && cmd[1] == 'c') {
    if (!Rec.Wait([&] { return Rec.Byt.size() >= Seen + v.size(); })) return ADD_FAILURE() << "too few bytes", true;
    EXPECT_EQ(Rec.Get([&] { return B(Rec.Byt.begin() + static_cast<std::ptrdiff_t>(Seen), Rec.Byt.end()); }), v);
    Seen += v.size();
  } else if (cmd[0] == 'l') {
    EXPECT_EQ(Far->Rd(v.size()), v);
  } else {
    for (std::uint8_t b : v) EXPECT_TRUE(LckPutChr(Buf(cmd), b));
  }
  return true;
}

std::map<std::string, ComPrt::TAct> ComPrt::Acts() {
  std::map<std::string, TAct> acts = OthActs();
  acts.insert({
      {"bau", [this](std::istream& is) { Com->FbyBauIdx = static_cast<std::uint8_t>(Num(is)); }},
      {"dat", [this](std::istream& is) { Com->FbyDatBts = static_cast<std::uint8_t>(Num(is)); }},
      {"prt", [this](std::istream& is) { Com->FbyPrt = static_cast<std::uint8_t>(Num(is)); }},
      {"stp", [this](std::istream& is) { Com->FbyStpBts = static_cast<std::uint8_t>(Num(is)); }},
      {"evt", [this](std::istream& is) { Com->FstComEvt = static_cast<std::uint16_t>(Num(is)); }},
      {"sgl", [this](std::istream& is) { Com->FbSglChr = Num(is) != 0; }},
      {"unset", [this](std::istream& is) {
         const std::string a = Arg(is);
         if (a == "com") Com->FOnComPrtComEvt = nullptr;
         if (a == "ctl") Com->FOnComPrtCtlEvt = nullptr;
         if (a == "err") Com->FOnComPrtErrEvt = nullptr;
         if (a == "txd") Com->FOnPutTxdChr = nullptr;
       }},
      {"wire", [this](std::istream&) { Wire(*Com); }},
      {"name", [this](std::istream& is) { Com->FsPrtNam = Arg(is); }},
      {"open", [this](std::istream& is) { EXPECT_EQ(Com->OpnPrt().Cod(), Num(is)); }},
      {"quiet", [this](std::istream& is) { Com->FbBlkCbk = Num(is) != 0; }},
      {"refuse", [this](std::istream& is) {
         GuLstErrMsg.clear();
         EXPECT_FALSE(Com->SndChr(0));
         EXPECT_EQ(GuLstErrMsg, Rest(is));
       }},
      // Bytes sent on meet a link that has ended: it stops taking them.
      {"sendtil", [this](std::istream&) { EXPECT_TRUE(WaitUntil([&] { return !Com->SndChr(0) && GuLstErrMsg == "Comport is not defined"; })); }},
      {"nothing", [this](std::istream&) {
         LetIoRun();
         EXPECT_EQ(Far->MstInQ(), 0);
         EXPECT_EQ(NByt(), Seen);
       }},
      {"drop", [this](std::istream&) { Far->ClsMst(); }},
      {"flow", [this](std::istream& is) { ::tcflow(Far->Slv(), Num(is) ? TCOON : TCOOFF); }},
      {"plug", [this](std::istream&) { Plug(); }},
      {"gate", [this](std::istream& is) { Rec.Put([&, n = Num(is)] { Rec.Gate = n != 0; }); }},
      {"stop", [this](std::istream&) { EXPECT_TRUE(Com->StpThr() && !Com->FbIoThrRun && !Com->FbRxcThrRun); }},
      {"start", [this](std::istream& is) {
         // A start that waits for a thread held in the receive handler frees it
         // after 5 s, and then answers too late.
         auto res = std::async(std::launch::async, [this] { return Com->StaThr(); });
         const bool late = res.wait_for(std::chrono::seconds(5)) != std::future_status::ready;
         if (late) Rec.Put([&] { Rec.Gate = true; });
         EXPECT_EQ(res.get(), Num(is) != 0);
         EXPECT_FALSE(late) << "the start waited for a running thread";
       }},
  });
  return acts;
}

std::map<std::string, ComPrt::TAct> ComPrt::OthActs() {
  return {
      {"hold", [this](std::istream& is) {
         Hld = std::make_unique<THld>(Far->Pth(), Arg(is) == "record");
         ASSERT_TRUE(Hld->Ok());
       }},
      {"free", [this](std::istream&) { EXPECT_TRUE(Hld->Fre()); }},
      {"lckfil", [this](std::istream& is) {  // a serial program's lock file for @dev, of WHO
        const std::string who = Arg(is);
        pid_t pid = who == "self" ? ::getpid() : ::getppid();
        if (who == "gone") {  // a process that has ended
          pid = ::fork();
          if (pid == 0) ::_exit(0);
          ::waitpid(pid, nullptr, 0);
        }
        const std::string dev = std::filesystem::canonical(Far->Pth()).string();
        Tmp.Write("LCK.." + dev.substr(dev.rfind('/') + 1), who == "junk" ? "pid\n" : who == "zero" ? "0\n" : std::to_string(pid) + "\n");
      }},
      {"fail", [this](std::istream& is) {
         const std::string k = Arg(is);
         const int e = static_cast<int>(Num(is));
         // write0: the write takes nothing and says no error (errno stays as it was);
         // read0: the read says end of file, as a line that has hung up does
         const ssize_t r = k == "write0" || k == "read0" ? 0 : -1;
         if (k.rfind("read", 0) == 0) Com->FRdSys = [e, r](int, void*, std::size_t) { return errno = e, r; };
         else Com->FWrSys = [e, r](int, const void*, std::size_t) { return errno = e, r; };
       }},
      {"other", [this](std::istream&) {
         Oth = MakCom();
         ASSERT_EQ(Oth->OpnPrt(), TeOpnPrt::Ok);
       }},
      {"map", [this](std::istream& is) {
         const std::string a = Arg(is), b = Arg(is);
         for (int i = 1; i <= 19; ++i)
           if (a == "all" || a == "COM" + std::to_string(i))
             Plt.Settings.Keys[GcPrtMapKey]["COM" + std::to_string(i)] = b + (a == "all" ? std::to_string(i) : "");
       }},
      {"unmap", [this](std::istream& is) { Plt.Settings.Keys[GcPrtMapKey].erase(Arg(is)); }},
      {"link", [this](std::istream& is) {
         const std::string a = Arg(is);
         std::filesystem::create_symlink(Arg(is), Tmp.Path() + a);
       }},
      {"store", [this](std::istream& is) {
         const std::string a = Arg(is);
         Plt.Settings.FailWrite = a == "nowrite";
         Plt.Settings.FailCreate = a == "none";
       }},
  };
}

// Made-up settings of the indexes on a terminal that has others: the size,
// parity and stop bits, or "refused", or "not raw".
std::string Cfg(unsigned dat, unsigned prt, unsigned stp) {
  termios t{};
  t.c_cflag = CRTSCTS | PARENB | CS5;
  t.c_iflag = IXON | ICRNL;
  t.c_lflag = ICANON | ECHO;
  if (!MakLinCfg(t, static_cast<std::uint8_t>(dat), static_cast<std::uint8_t>(prt), static_cast<std::uint8_t>(stp)))
    return "refused";
  const tcflag_t par[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR, PARENB | CMSPAR};
  const tcflag_t p = t.c_cflag & (PARENB | PARODD | CMSPAR);
  const char pc = "noems?"[std::find(par, par + 5, p) - par];
  if ((t.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP | INPCK)) != (p ? INPCK : 0u) || (t.c_lflag & (ICANON | ECHO | ISIG)) ||
      (t.c_oflag & OPOST) || (t.c_cflag & (CLOCAL | CREAD | CRTSCTS)) != (CLOCAL | CREAD) || t.c_cc[VMIN] != 1)
    return "not raw";
  const tcflag_t siz = t.c_cflag & CSIZE;
  return Str(siz == CS5 ? 5 : siz == CS6 ? 6 : siz == CS7 ? 7 : 8, pc, t.c_cflag & CSTOPB ? 2 : 1);
}

std::map<std::string, ComPrt::TQry> ComPrt::Qrys() {
  return {
      {"err", [this](std::istream& is) {
         const int n = static_cast<int>(Num(is));
         return Rec.Get([&] {
           for (auto& e : Rec.Err)
             if (e.first == n) return e.second;
           return std::string();
         });
       }},
      {"errs", [this](std::istream&) { return Rec.Get([&] { return Str(Rec.Err.size()); }); }},
      {"ler", [this](std::istream& is) {
         const unsigned n = Num(is);
         return Rec.Get([&] { return Str(std::count(Rec.Ler.begin(), Rec.Ler.end(), n) > 0); });
       }},
      {"ctl", [this](std::istream&) { std::ostringstream o;
         o << std::hex << Rec.Get([&] { return Rec.Ctl.empty() ? 0u : Rec.Ctl[0]; });
         return o.str(); }},
      {"threads", [this](std::istream&) { return Str(Com->FbIoThrRun.load(), Com->FbRxcThrRun.load()); }},
      {"ended", [this](std::istream&) { return Str(!Com->FbIoThrRun && !Com->FbRxcThrRun && !Com->PrtOpn()); }},
      {"rxd", [this](std::istream&) { return Str(Com->FiRxdCnt.load()); }},
      {"unread", [this](std::istream&) { return Str(Far->SlvInQ()); }},
      {"queued", [this](std::istream&) { return Str(LckDatAvl(Tx)); }},
      {"stored", [this](std::istream&) { return Str(LckDatAvl(Rx)); }},
      {"txdrp", [this](std::istream&) { return Str(Com->TakTxDrp()); }},
      {"held", [this](std::istream&) { return Str(Com->PrtHld()); }},
      {"gone", [this](std::istream&) { return Str(Com->LinGon()); }},
      {"locked", [this](std::istream&) { return Str(!THld(Far->Pth(), false).Ok()); }},
      {"inuse", [this](std::istream& is) { return Str(PrtInUse(Arg(is), {Tmp.Path()})); }},
      {"box", [this](std::istream&) {
         return Plt.MsgBox.Calls.size() != 1 || Plt.EvtLoop.PrcMsgCnt != 1
                    ? "not one"
                    : Plt.MsgBox.Calls[0].Caption + ": " + Plt.MsgBox.Calls[0].Text;
       }},
      {"path", [this](std::istream& is) { return PrtDevPth(Arg(is)); }},
      {"sim", [this](std::istream& is) { return Str(IsSimPrt(Arg(is))); }},
      {"probe", [this](std::istream& is) {
         bool use = true;
         const bool ok = PrbComPrt(static_cast<int>(Num(is)), use);
         return Str(ok, use);
       }},
      {"scan", [this](std::istream&) {
         std::string s;
         for (const auto& n : ScnComPrt()) s += (s.empty() ? "" : " ") + n;
         return s;
       }},
      {"lnkprt", [this](std::istream& is) {
         const TLnkPrt r = LnkPrt(Arg(is));
         return Str(r.Num, r.Lst, r.Dev.empty() ? "-" : r.Dev);
       }},
      {"mapprt", [this](std::istream& is) {
         const unsigned n = Num(is);
         return Str(MapPrt(static_cast<int>(n), Arg(is)));
       }},
      {"cfg", [this](std::istream& is) {
         const unsigned d = Num(is), p = Num(is);
         return Cfg(d, p, Num(is));
       }},
      {"device", [this](std::istream&) {  // the line read back: baud rate, stop bits, or "not raw"
         termios t{};
         if (::tcgetattr(Far->Slv(), &t) != 0 || (t.c_cflag & (CSIZE | PARENB | CRTSCTS | CLOCAL | CREAD)) != (CS8 | CLOCAL | CREAD) ||
             (t.c_lflag & (ICANON | ECHO)) || (t.c_iflag & (IXON | IXOFF)))
           return std::string("not raw");
         return Str(GetLinBau(Far->Slv()), t.c_cflag & CSTOPB ? 2 : 1);
       }},
  };
}

// A line "QUERY ARGS = VALUE" waits (up to 10 s) until the query gives the
// value (paths in it as in the arguments); any other line is an action.
TEST_P(ComPrt, Scenario) {
  const auto acts = Acts();
  const auto qrys = Qrys();
  for (const std::string& l : GetParam().Lin) {
    SCOPED_TRACE(l);
    const auto eq = l.find(" =");
    std::istringstream is(l.substr(0, eq));
    std::string cmd, got;
    is >> cmd;
    if (eq != std::string::npos && qrys.count(cmd)) {
      std::istringstream rs(l.substr(eq + 2));
      std::string want = Rest(rs), w;
      const std::string args = is.str().substr(cmd.size());
      if (want.find_first_of("@~") != std::string::npos)
        for (rs.clear(), rs.str(want), want.clear(); rs >> w;) want += (want.empty() ? "" : " ") + Pth(w);
      EXPECT_TRUE(WaitUntil([&] {
        std::istringstream as(args);
        return (got = qrys.at(cmd)(as)) == want;
      })) << "got: " << got;
    } else if (acts.count(cmd)) {
      acts.at(cmd)(is);
    } else if (!Io(cmd, is)) {
      FAIL() << "unknown command";
    }
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ComPrt, ::testing::ValuesIn(LodCas()), [](const auto& i) { return i.param.Nam; });

// A component whose events could not be made (no descriptor was left) says
// so and starts no thread.
TEST(ComPrtCrt, WithoutItsEventsNoThreadStarts) {
  TFakePlatform plt;
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
  const int lo = ::dup(0);  // the lowest free descriptor: with it as the limit, none is left
  ASSERT_GE(lo, 0);
  ::close(lo);
  rlimit non = old;
  non.rlim_cur = static_cast<rlim_t>(lo);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &non), 0);
  GuLstErrMsg.clear();
  auto com = std::make_unique<TComport2p5>(nullptr);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &old), 0);
  EXPECT_EQ(GuLstErrMsg, "Comport event creation error");
  EXPECT_FALSE(com->IsCrt());
  EXPECT_FALSE(com->StaThr());
  // Threads on events that do not work might never end: they keep the component.
  if (com->FbIoThrRun || com->FbRxcThrRun) {
    ADD_FAILURE() << "threads started";
    (void)com.release();
  }
}

}  // namespace
