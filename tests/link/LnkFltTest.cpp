// Load and fault tests of the link: the serial component and the frame
// parser on pseudo-terminals, the test playing the robot on the far end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

#include "LnkTstPty.h"
#include "core/Globals.h"
#include "link/LnkSes.h"
#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"
#include "link/PckPrt.h"
#include "support/FakePlatform.h"

namespace {

using namespace std::chrono_literals;

struct TFrm {
  std::uint8_t Org = 0, Seq = 0, Cls = 0, Cod = 0;
  std::vector<std::uint8_t> Dat;
  bool operator==(const TFrm&) const = default;
};

std::vector<std::uint8_t> Byt(const TFrm& f) {
  std::vector<std::uint8_t> b{GcPckSta, f.Org, f.Seq, static_cast<std::uint8_t>(f.Dat.size()), f.Cls, f.Cod};
  b.insert(b.end(), f.Dat.begin(), f.Dat.end());
  b.push_back(GcPckEnd);
  return b;
}

// Frames of up to 40 data bytes of any value, with 0 to 8 bytes of garbage
// before each. The garbage holds no start byte: without a checksum nothing
// can tell a start byte in the garbage from the start of a frame.
struct TStm {
  std::vector<TFrm> Frm;
  std::vector<std::uint8_t> Byt;
};

TStm MakStm(std::size_t n, std::uint8_t org, unsigned seed) {
  std::mt19937 rnd(seed);
  TStm s;
  for (std::size_t i = 0; i < n; ++i) {
    for (unsigned g = rnd() % 9; g > 0; --g) {
      std::uint8_t b = static_cast<std::uint8_t>(rnd());
      s.Byt.push_back(b == GcPckSta ? 0x00 : b);
    }
    TFrm f;
    f.Org = org;
    f.Seq = static_cast<std::uint8_t>(i);
    f.Cls = static_cast<std::uint8_t>(rnd());
    f.Cod = static_cast<std::uint8_t>(rnd());
    f.Dat.resize(rnd() % 41);
    for (auto& d : f.Dat) d = static_cast<std::uint8_t>(rnd());
    const auto b = Byt(f);
    s.Byt.insert(s.Byt.end(), b.begin(), b.end());
    s.Frm.push_back(std::move(f));
  }
  return s;
}

// A frame parser that keeps what it reads.
struct TFrmCol {
  TuRcvPck P;
  std::vector<TFrm> Got;
  TFrmCol() { RstRcvPck(P); }
  void Put(std::uint8_t b) {
    PrsRcvChr(P, b);
    if (P.PckSte != PS_CPL) return;
    Got.push_back({P.PckOrg, P.PckSeq, P.MsgCls, P.MsgCod, std::vector<std::uint8_t>(P.DatBuf, P.DatBuf + P.DatIdx)});
    RstRcvPck(P);
  }
};

// The far end behind a fixed path: a link to the slave of a pseudo-terminal
// pair, which a reopen replaces by a new pair (a cable pulled and plugged in
// again gives the same device name).
class TFarEnd {
public:
  explicit TFarEnd(std::string lnk) : FsLnk(std::move(lnk)) {}
  ~TFarEnd() { Cls(); }
  const std::string& Pth() const { return FsLnk; }
  int Mst() const { return FiMst; }
  std::string Slv() const { return FsSlv; }

  bool Opn() {
    Cls();
    int slv = -1;
    if (::openpty(&FiMst, &slv, nullptr, nullptr, nullptr) != 0) return false;
    MakRaw(FiMst);
    MakRaw(slv);
    FsSlv = ::ttyname(slv);
    ::close(slv);
    std::error_code ec;
    std::filesystem::remove(FsLnk, ec);
    std::filesystem::create_symlink(FsSlv, FsLnk, ec);
    return !ec;
  }
  void Cls() {
    if (FiMst >= 0) ::close(FiMst);
    FiMst = -1;
  }
  bool Wr(const std::uint8_t* b, std::size_t n) {
    while (n > 0) {
      const ssize_t w = ::write(FiMst, b, n);
      if (w < 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN) {
          pollfd p{FiMst, POLLOUT, 0};
          ::poll(&p, 1, 100);
          continue;
        }
        return false;
      }
      b += w;
      n -= static_cast<std::size_t>(w);
    }
    return true;
  }
  bool Wr(const std::vector<std::uint8_t>& v) { return Wr(v.data(), v.size()); }
  // Reads what has come, waiting up to the timeout for the first byte.
  std::vector<std::uint8_t> Rd(std::chrono::milliseconds tmo, std::size_t max = 4096) {
    pollfd p{FiMst, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(tmo.count())) <= 0 || !(p.revents & POLLIN)) return {};
    std::vector<std::uint8_t> b(max);
    const ssize_t r = ::read(FiMst, b.data(), b.size());
    b.resize(r > 0 ? static_cast<std::size_t>(r) : 0);
    return b;
  }

private:
  std::string FsLnk;
  std::string FsSlv;
  int FiMst = -1;
};

std::size_t CntDir(const char* dir) {
  std::size_t n = 0;
  if (DIR* d = ::opendir(dir)) {
    while (const dirent* e = ::readdir(d))
      if (e->d_name[0] != '.') ++n;
    ::closedir(d);
  }
  return n - (std::string(dir) == "/proc/self/fd" ? 1 : 0);  // the folder read itself
}

// The count once it has settled on the expected one, or after 3 s. A joined
// thread can still be listed in /proc for a moment after the join returns.
std::size_t CntDirAt(const char* dir, std::size_t want) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  std::size_t n = CntDir(dir);
  while (n != want && std::chrono::steady_clock::now() < end) {
    std::this_thread::yield();
    n = CntDir(dir);
  }
  return n;
}

// What the component delivered and reported, from its threads.
struct TRec : TLckRec {
  TRec() { Tmo = 20s; }
  std::size_t NByt = 0;
  TFrmCol Col;
  std::vector<int> Err;

  bool HasErr(int c) {
    return Get([&] { return std::find(Err.begin(), Err.end(), c) != Err.end(); });
  }
};

class LnkFlt : public ::testing::Test {
protected:
  TFakePlatform Plt;
  TTmpDir Tmp;
  TFarEnd Far{Tmp.Path() + "zefor"};
  TTxMtxAndRbf Tx;
  TRxMtxAndRbf Rx;
  TRec Rec;
  std::unique_ptr<TComport2p5> Com;

  void SetUp() override {
    ASSERT_TRUE(Far.Opn());
    Com = MakCom();
  }
  void TearDown() override { Com.reset(); }

  // A component wired as the main window wires it: each received byte goes
  // through the frame parser.
  std::unique_ptr<TComport2p5> MakCom() {
    auto c = std::make_unique<TComport2p5>(this);
    SetRbtLin(*c, Far.Pth());
    c->FiRdTmo = 50ms;
    c->FOnComPrtComEvt = [this](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t d) {
      Rec.Put([&] {
        ++Rec.NByt;
        Rec.Col.Put(d);
      });
    };
    c->FOnComPrtCtlEvt = [](TComport2p5*, std::uint32_t) {};
    c->FOnComPrtErrEvt = [this](TComport2p5*, std::int8_t code, const std::string&) {
      Rec.Put([&] { Rec.Err.push_back(code); });
    };
    c->FOnComPrtLerEvt = [](TComport2p5*, std::uint32_t, std::uint32_t) {};
    BndComRbf(*c, Tx, Rx);
    return c;
  }

  // Opens as the main window does: a new parser, then the port, then the end
  // of the quiet period.
  void OpnLnk() {
    Rec.Put([&] { RstRcvPck(Rec.Col.P); });
    ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
    Com->FbBlkCbk = false;
  }

  // Hands the bytes to the component, waiting while its transmit buffer is full.
  bool Snd(const std::vector<std::uint8_t>& v) {
    for (std::uint8_t b : v)
      if (!Com->SndChr(b)) {
        if (GuLstErrMsg != "Tx ringbuffer is full" || !WaitUntil([&] { return Com->SndChr(b); }, 20s)) return false;
      }
    return true;
  }

  // The far end writes v paced by what the component has delivered, as a
  // line would (a burst faster than the receive handler fills its buffer).
  bool PacWr(const std::vector<std::uint8_t>& v) {
    const std::size_t base = Rec.Get([&] { return Rec.NByt; });
    for (std::size_t off = 0; off < v.size(); off += 256) {
      if (!Rec.Wait([&] { return Rec.NByt + 512 >= base + off; })) return false;
      if (!Far.Wr(v.data() + off, std::min<std::size_t>(256, v.size() - off))) return false;
    }
    return true;
  }

  // The far end reads frames until n have come or nothing comes for a while.
  std::vector<TFrm> FarRd(std::size_t n, std::vector<std::uint8_t>* raw = nullptr) {
    TFrmCol col;
    while (col.Got.size() < n) {
      const auto b = Far.Rd(5s);
      if (b.empty()) break;
      for (std::uint8_t x : b) col.Put(x);
      if (raw) raw->insert(raw->end(), b.begin(), b.end());
    }
    return col.Got;
  }
};

TEST_F(LnkFlt, TenThousandFramesEachWayWithGarbageBetweenAllArriveIntact) {
  constexpr std::size_t GcN = 10000;
  const TStm up = MakStm(GcN, GcPckOrgOwn, 1);  // to the robot
  const TStm dn = MakStm(GcN, 0x00, 2);         // from the robot
  OpnLnk();
  std::vector<TFrm> farGot;
  std::thread rd([&] { farGot = FarRd(GcN); });
  bool wrOk = false;
  std::thread wr([&] { wrOk = PacWr(dn.Byt); });
  const bool sndOk = Snd(up.Byt);
  wr.join();
  rd.join();
  EXPECT_TRUE(sndOk) << GuLstErrMsg;
  EXPECT_TRUE(wrOk);
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Col.Got.size() >= GcN; })) << Rec.Get([&] { return Rec.Col.Got.size(); });
  EXPECT_TRUE(Rec.Get([&] { return Rec.Col.Got == dn.Frm; }));
  ASSERT_EQ(farGot.size(), GcN);
  EXPECT_TRUE(farGot == up.Frm);
  EXPECT_TRUE(Rec.Get([&] { return Rec.Err.empty(); }));
}

// The robot's frame that the far end is sending when the cable is pulled.
const TFrm GcDnFrm{0x00, 0x21, MC_STS, 0x03, {0x10, 0x20, 0x30}};

TEST_F(LnkFlt, FarEndClosedAtEveryStageOfAReceivedFrameThenReopened) {
  const TFrm ok{0x00, 0x11, MC_CTL, MK_LNK_EST, {}};
  const TFrm nxt{0x00, 0x12, MC_MEA, MK_MEA_1, {0x34, 0x12}};
  const auto frm = Byt(GcDnFrm);
  for (std::size_t k = 0; k <= frm.size(); ++k) {
    SCOPED_TRACE("bytes of the frame sent before the close: " + std::to_string(k));
    Rec.Put([&] {
      Rec.Col.Got.clear();
      Rec.Err.clear();
      Rec.NByt = 0;
    });
    OpnLnk();
    ASSERT_TRUE(Far.Wr(Byt(ok)));
    ASSERT_TRUE(Far.Wr(frm.data(), k));
    const std::size_t want = Byt(ok).size() + k;
    ASSERT_TRUE(Rec.Wait([&] { return Rec.NByt >= want; }));
    Far.Cls();
    ASSERT_TRUE(Rec.Wait([&] { return std::find(Rec.Err.begin(), Rec.Err.end(), CE_DEV_LST) != Rec.Err.end(); }));
    ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->FbRxcThrRun; }));
    EXPECT_FALSE(Com->PrtOpn());
    EXPECT_FALSE(Com->SndChr(0x55));
    const std::vector<TFrm> before = k == frm.size() ? std::vector<TFrm>{ok, GcDnFrm} : std::vector<TFrm>{ok};
    EXPECT_TRUE(Rec.Get([&] { return Rec.Col.Got == before; }));
    // Plugged in again: the same name opens, and the next frame is read whole.
    ASSERT_TRUE(Far.Opn());
    OpnLnk();
    ASSERT_TRUE(Far.Wr(Byt(nxt)));
    ASSERT_TRUE(Rec.Wait([&] { return Rec.Col.Got.size() == before.size() + 1; }));
    EXPECT_TRUE(Rec.Get([&] { return Rec.Col.Got.back() == nxt; }));
  }
}

TEST_F(LnkFlt, FarEndClosedAtEveryStageOfASentFrameThenReopened) {
  const TFrm upl{GcPckOrgOwn, 0x05, MC_PGM, MK_UPL, {0xA0, 0x03, 0x04, 0xA1}};
  const TFrm nxt{GcPckOrgOwn, 0x06, MC_PGM, MK_RUN, {}};
  const auto frm = Byt(upl);
  for (std::size_t k = 0; k <= frm.size(); ++k) {
    SCOPED_TRACE("bytes of the frame sent before the close: " + std::to_string(k));
    Rec.Put([&] { Rec.Err.clear(); });
    OpnLnk();
    ASSERT_TRUE(Snd(std::vector<std::uint8_t>(frm.begin(), frm.begin() + static_cast<std::ptrdiff_t>(k))));
    std::vector<std::uint8_t> got;
    while (got.size() < k) {
      const auto b = Far.Rd(5s);
      ASSERT_FALSE(b.empty());
      got.insert(got.end(), b.begin(), b.end());
    }
    EXPECT_EQ(got, std::vector<std::uint8_t>(frm.begin(), frm.begin() + static_cast<std::ptrdiff_t>(k)));
    Far.Cls();
    // Bytes sent on meet a link that has ended: the component notices and
    // stops taking them.
    ASSERT_TRUE(WaitUntil([&] {
      Com->SndChr(0x00);
      return Rec.HasErr(CE_DEV_LST) && !Com->PrtOpn();
    }));
    ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->FbRxcThrRun; }));
    EXPECT_FALSE(Com->SndChr(0x55));
    EXPECT_EQ(GuLstErrMsg, "Comport is not defined");
    // Plugged in again: the next frame reaches the robot whole, and alone;
    // filler bytes queued before the end was noticed are never sent.
    ASSERT_TRUE(Far.Opn());
    OpnLnk();
    ASSERT_TRUE(Snd(Byt(nxt)));
    std::vector<std::uint8_t> raw;
    const auto frames = FarRd(1, &raw);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], nxt);
    EXPECT_EQ(raw, Byt(nxt));
  }
}

TEST_F(LnkFlt, PortHeldByAnotherProgramIsRefusedAndOpensOnceReleased) {
  // Another program holds the device with an exclusive lock until its
  // input ends.
  const std::string slv = Far.Slv();
  int out[2], in[2];
  ASSERT_EQ(::pipe(out), 0);
  ASSERT_EQ(::pipe(in), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::close(in[1]);
    ::close(out[0]);
    ::execlp("flock", "flock", "--close", "--exclusive", slv.c_str(), "sh", "-c", "echo held; read x; exit 0",
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  char buf[8] = {};
  ASSERT_GT(::read(out[0], buf, sizeof buf), 0) << "flock did not start";
  ::close(out[0]);
  const std::size_t fds = CntDir("/proc/self/fd");
  EXPECT_EQ(Com->OpnPrt(), TeOpnPrt::NoPrt);
  EXPECT_FALSE(Com->PrtOpn());
  EXPECT_FALSE(Com->FbIoThrRun);
  EXPECT_EQ(CntDirAt("/proc/self/fd", fds), fds);
  ::close(in[1]);  // the other program ends
  int st = 0;
  ASSERT_EQ(::waitpid(pid, &st, 0), pid);
  EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << st;
  OpnLnk();
  ASSERT_TRUE(Snd({0x42}));
  EXPECT_EQ(Far.Rd(5s), std::vector<std::uint8_t>{0x42});

  // Now the component holds it: another program's lock attempt fails.
  const std::string cmd = "flock --nonblock --exclusive " + slv + " true";
  const int rc = std::system(cmd.c_str());
  EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 1) << rc;
}

// Glibc's count of heap bytes in use. Under a sanitizer it reads 0, and the
// sanitizer's own leak check at exit takes its place.
std::size_t HeapUse() { return mallinfo2().uordblks; }

TEST_F(LnkFlt, HundredReopensLeakNoThreadDescriptorOrMemory) {
  OpnLnk();
  ASSERT_TRUE(Snd({0x01}));
  ASSERT_EQ(Far.Rd(5s).size(), 1u);
  const std::size_t thr = CntDir("/proc/self/task");
  const std::size_t fds = CntDir("/proc/self/fd");
  const std::size_t heap = HeapUse();
  for (int i = 0; i < 100; ++i) {
    SCOPED_TRACE(i);
    OpnLnk();
    // Each time the link works both ways.
    const std::uint8_t b = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(Snd({b}));
    ASSERT_EQ(Far.Rd(5s), std::vector<std::uint8_t>{b});
    const std::size_t n = Rec.Get([&] { return Rec.NByt; });
    ASSERT_TRUE(Far.Wr({b}));
    ASSERT_TRUE(Rec.Wait([&] { return Rec.NByt == n + 1; }));
    ASSERT_EQ(CntDirAt("/proc/self/task", thr), thr);
    ASSERT_EQ(CntDirAt("/proc/self/fd", fds), fds);
  }
  // Less than one allocation per reopen can have gone: the smallest heap
  // chunk is 32 bytes, and the recorder's own buffers grow a little meanwhile.
  EXPECT_LT(HeapUse(), heap + 100 * 32) << HeapUse() - heap;
  // Destroying it releases its two threads, the port and its two events.
  Com.reset();
  EXPECT_EQ(CntDirAt("/proc/self/task", thr - 2), thr - 2);
  EXPECT_EQ(CntDirAt("/proc/self/fd", fds - 3), fds - 3);
  // And the far end pulled and plugged in again, 20 times.
  Com = MakCom();
  for (int i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    OpnLnk();
    Far.Cls();
    ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->FbRxcThrRun; }));
    ASSERT_FALSE(Com->PrtOpn());
    ASSERT_TRUE(Far.Opn());
  }
  EXPECT_EQ(CntDirAt("/proc/self/task", thr - 2), thr - 2);
  EXPECT_EQ(CntDirAt("/proc/self/fd", fds - 1), fds - 1);  // only the port is closed
}

}  // namespace
