// Load, leak and thread tests of the link on pseudo-terminals: the serial
// component with the frame parser, and the link session.
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <random>
#include <thread>

#include "ComTstFix.h"

namespace {

using namespace std::chrono_literals;
using B = std::vector<std::uint8_t>;

// Entries of a /proc folder once the count has settled on want, or after 3 s
// (a joined thread can still be listed for a moment).
std::size_t Cnt(const char* dir, std::size_t want = 0) {
  std::size_t n = 0;
  for (auto end = std::chrono::steady_clock::now() + 3s; std::chrono::steady_clock::now() < end;) {
    n = 0;
    if (DIR* d = ::opendir(dir)) {
      while (const dirent* e = ::readdir(d)) n += e->d_name[0] != '.';
      ::closedir(d);
    }
    n -= std::string(dir) == "/proc/self/fd";  // the folder read itself
    if (n == want || want == 0) break;
  }
  return n;
}

// Frames of up to 40 data bytes, 0 to 8 bytes of garbage without a start byte
// before each; the frames as the parser reports them (origin, sequence,
// class, code, data) in Frm.
struct TStm {
  B Byt;
  std::vector<B> Frm;
  TStm(std::size_t n, std::uint8_t org, unsigned seed) {
    std::mt19937 rnd(seed);
    for (std::size_t i = 0; i < n; ++i) {
      for (unsigned g = rnd() % 9; g > 0; --g) Byt.push_back(static_cast<std::uint8_t>(rnd() | 0x08));
      B d(rnd() % 41), f;
      for (auto& x : d) x = static_cast<std::uint8_t>(rnd());
      BldPck(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(rnd()), static_cast<std::uint8_t>(rnd()), d, f);
      f[1] = org;
      Byt.insert(Byt.end(), f.begin(), f.end());
      Frm.push_back(f);
    }
  }
};

// The frames the parser finds in a byte stream.
std::vector<B> Frms(const B& byt) {
  std::vector<B> got;
  TuRcvPck p;
  for (std::uint8_t b : byt) {
    PrsRcvChr(p, b);
    if (p.PckSte != PS_CPL) continue;
    got.push_back({GcPckSta, p.PckOrg, p.PckSeq, p.PckLen, p.MsgCls, p.MsgCod});
    got.back().insert(got.back().end(), p.DatBuf, p.DatBuf + p.DatIdx);
    got.back().push_back(GcPckEnd);
    RstRcvPck(p);
  }
  return got;
}

class LnkFlt : public TComFix {
protected:
  // Hands the bytes over, waiting while the transmit buffer is full.
  bool Snd(const B& v) {
    for (std::uint8_t b : v)
      if (!Com->SndChr(b) && !WaitUntil([&] { return Com->SndChr(b); }, 20s)) return false;
    return true;
  }
  // The far end writes v paced by what has been delivered, as a line would.
  bool PacWr(const B& v) {
    const std::size_t base = NByt();
    for (std::size_t off = 0; off < v.size(); off += 256) {
      if (!Rec.Wait([&] { return Rec.Byt.size() + 512 >= base + off; }, 20s)) return false;
      if (!Far->Wr(B(v.begin() + static_cast<std::ptrdiff_t>(off), v.begin() + static_cast<std::ptrdiff_t>(std::min(v.size(), off + 256)))))
        return false;
    }
    return true;
  }
};

TEST_F(LnkFlt, TenThousandFramesEachWayWithGarbageBetweenAllArriveIntact) {
  const TStm up(10000, GcPckOrgOwn, 1), dn(10000, 0x05, 2);
  OpnLnk();
  B far;
  std::thread rd([&] {  // until all has come or the line is silent for 5 s
    for (B b; far.size() < up.Byt.size() && !(b = Far->Rd(up.Byt.size() - far.size(), 5s)).empty();)
      far.insert(far.end(), b.begin(), b.end());
  });
  bool wrOk = false;
  std::thread wr([&] { wrOk = PacWr(dn.Byt); });
  EXPECT_TRUE(Snd(up.Byt)) << GuLstErrMsg;
  wr.join();
  rd.join();
  EXPECT_TRUE(wrOk);
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Byt.size() >= dn.Byt.size(); }, 20s));
  EXPECT_TRUE(Rec.Get([&] { return Frms(Rec.Byt) == dn.Frm && Rec.Err.empty(); }));
  EXPECT_TRUE(Frms(far) == up.Frm);
}

TEST_F(LnkFlt, FullReceiveBufferEndsTheLinkAndAReopenRecovers) {
  OpnLnk();
  Rec.Put([&] { Rec.Gate = false; });  // the receive handler blocks
  const B v = Seq(1100);
  ASSERT_TRUE(Far->Wr(v));
  // 1023 bytes in the buffer (and one in the handler, if it had started): the next is refused.
  ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->PrtOpn(); }));
  EXPECT_FALSE(Com->SndChr(1));
  Rec.Put([&] { Rec.Gate = true; });
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Err.size() == 2; }));
  ASSERT_TRUE(WaitUntil([&] { return !Com->FbRxcThrRun; }));
  // Every byte taken is delivered before the report.
  B got = Rec.Get([&] { return Rec.Byt; });
  EXPECT_EQ(Rec.Get([&] { return Rec.Err.back(); }), (std::pair<int, std::string>{CE_RX_FUL, "Rx ringbuffer is full"}));
  ASSERT_TRUE(got.size() == 1023 || got.size() == 1024) << got.size();
  EXPECT_TRUE(std::equal(got.begin(), got.end(), v.begin()));
  // The refused byte is lost; what waited in the line follows.
  ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
  got.insert(got.end(), v.begin() + static_cast<std::ptrdiff_t>(got.size() + 1), v.end());
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Byt.size() >= got.size(); }));
  EXPECT_EQ(Rec.Get([&] { return Rec.Byt; }), got);
}

TEST_F(LnkFlt, DestroyingABusyComponentNeitherHangsNorCrashes) {
  OpnLnk();
  std::atomic<bool> stop{false};
  ASSERT_EQ(::fcntl(Far->Mst(), F_SETFL, O_NONBLOCK), 0);
  std::thread far([&] {
    const B v = Seq(64);
    while (!stop)
      if (::write(Far->Mst(), v.data(), v.size()) < 0) std::this_thread::yield();
  });
  ASSERT_TRUE(Rec.Wait([&] { return Rec.Byt.size() > 100; }));
  for (int i = 0; i < 200; ++i) Com->SndChr(static_cast<std::uint8_t>(i));
  Com.reset();
  stop = true;
  far.join();
}

// Glibc's count of heap bytes in use; 0 under a sanitizer, whose leak check takes its place.
std::size_t HeapUse() { return mallinfo2().uordblks; }

TEST_F(LnkFlt, ReopensAndLostDevicesLeakNoThreadDescriptorOrMemory) {
  OpnLnk();
  ASSERT_TRUE(Snd({0x01}) && Far->Rd(1) == B{0x01});
  const std::size_t thr = Cnt("/proc/self/task"), fds = Cnt("/proc/self/fd"), heap = HeapUse();
  for (int i = 0; i < 100; ++i) {
    SCOPED_TRACE(i);
    OpnLnk();
    const std::uint8_t b = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(Snd({b}) && Far->Rd(1) == B{b});
    const std::size_t n = NByt();
    ASSERT_TRUE(Far->Wr({b}) && Rec.Wait([&] { return Rec.Byt.size() == n + 1; }));
    ASSERT_EQ(Cnt("/proc/self/task", thr), thr);
    ASSERT_EQ(Cnt("/proc/self/fd", fds), fds);
  }
  // Less than one allocation per reopen (the smallest chunk is 32 bytes).
  EXPECT_LT(HeapUse(), heap + 100 * 32) << HeapUse() - heap;
  // Destroying it releases its two threads, the port and its two events.
  Com.reset();
  EXPECT_EQ(Cnt("/proc/self/task", thr - 2), thr - 2);
  EXPECT_EQ(Cnt("/proc/self/fd", fds - 3), fds - 3);
  // A device that goes away, 20 times.
  Com = MakCom();
  for (int i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    auto pty = std::make_unique<TPty>();
    Com->FsPrtNam = pty->Pth();
    OpnLnk();
    pty.reset();
    ASSERT_TRUE(WaitUntil([&] { return !Com->FbIoThrRun && !Com->FbRxcThrRun && !Com->PrtOpn(); }));
  }
  EXPECT_EQ(Cnt("/proc/self/task", thr - 2), thr - 2);
  EXPECT_EQ(Cnt("/proc/self/fd", fds - 1), fds - 1);  // only the port is closed
}

TEST(LnkSes, SendsWholeFramesAndWaitsForTheAnswer) {
  TFakePlatform plt;
  TPty pty;
  TLnkSes ses;
  ASSERT_TRUE(ses.Opn(pty.Pth()).Ok());
  ses.Com().FbBlkCbk = false;
  ASSERT_TRUE(ses.Snd(MC_PGM, MK_UPL, {0xA0, 0xAE}));
  std::size_t tooLng = 0;
  EXPECT_FALSE(ses.Snd(MC_PGM, MK_UPR, B(256, 0xA0), {[&](std::size_t n) { tooLng = n; }, {}}));
  EXPECT_EQ(tooLng, 256u);
  ASSERT_TRUE(ses.Snd(MC_CTL, MK_LNK_CHK, {}));
  EXPECT_EQ(pty.Rd(16), (B{2, 1, 0, 2, 1, 0, 0xA0, 0xAE, 4, 2, 1, 1, 0, 0, 5, 4}));
  EXPECT_EQ(ses.PckCnt(), 2);  // the refused packet took no number
  // Our own frame coming back and another message are no answer.
  std::string why;
  const auto lim = [](int ms) { return TLnkSes::TClk::now() + std::chrono::milliseconds(ms); };
  ASSERT_TRUE(pty.Wr({2, 1, 7, 0, 3, 0x14, 4, 2, 5, 8, 0, 3, 0x15, 4, 2, 5, 9, 0, 3, 0x14, 4}));
  EXPECT_EQ(ses.WaiAns(MC_STS, MK_TRF_CMP, lim(10000), why), TeAnsWai::Ans);
  EXPECT_EQ(ses.WaiAns(MC_STS, MK_TRF_CMP, lim(0), why), TeAnsWai::Tmo);
  // The far end going away ends the link: the component's report, or the
  // closed port when the wait looks before the report has come.
  pty.ClsMst();
  EXPECT_EQ(ses.WaiAns(MC_STS, MK_TRF_CMP, lim(10000), why), TeAnsWai::End);
  EXPECT_TRUE(why == "Error #004, comport device lost" || why == "the port was closed") << why;

  // A frame that the transmit buffer cannot take whole is refused whole: while
  // the line is held up, frames go in until one does not fit; the next frame
  // follows the last whole one on the line.
  {
    TPty p3;
    TLnkSes s3;
    ASSERT_TRUE(s3.Opn(p3.Pth()).Ok());
    s3.Com().FbBlkCbk = false;
    ASSERT_EQ(::tcflow(p3.Slv(), TCOOFF), 0);
    std::vector<std::uint8_t> all, f;
    int k = 0;
    GuLstErrMsg.clear();
    for (; k < 100; ++k) {
      const B dat(255, static_cast<std::uint8_t>(k));
      if (!s3.Snd(MC_PGM, MK_UPL, dat)) break;
      ASSERT_TRUE(BldPck(static_cast<std::uint8_t>(k), MC_PGM, MK_UPL, dat, f));
      all.insert(all.end(), f.begin(), f.end());
    }
    EXPECT_LT(k, 100);
    EXPECT_EQ(GuLstErrMsg, "Tx ringbuffer is full");
    ASSERT_TRUE(s3.Snd(MC_CTL, MK_LNK_CHK, {}));
    ASSERT_TRUE(BldPck(static_cast<std::uint8_t>(k), MC_CTL, MK_LNK_CHK, {}, f));
    all.insert(all.end(), f.begin(), f.end());
    ASSERT_EQ(::tcflow(p3.Slv(), TCOON), 0);
    EXPECT_EQ(p3.Rd(all.size()), all);
  }

  // A failed I/O thread ends the link too, and is not one of the other complaints.
  TPty pty2;
  TLnkSes ses2;
  std::atomic<int> told{0}, last{-1};  // the other complaints: how many, the last
  ses2.OnErr = [&](TeComErr c, const std::string&) { last = c, ++told; };
  ses2.Com().FRdSys = [](int, void*, std::size_t) { return errno = EINVAL, ssize_t{-1}; };
  ses2.Com().FbBlkCbk = false;  // the first read fails at once: its report must not be dropped
  ASSERT_TRUE(ses2.Opn(pty2.Pth()).Ok());
  EXPECT_EQ(ses2.WaiAns(MC_STS, MK_TRF_CMP, lim(10000), why), TeAnsWai::End);
  EXPECT_EQ(why, "Error #005, comport I/O thread failed");
  EXPECT_EQ(told, 0);
  // A byte sent on meets the closed port: one of the other complaints.
  EXPECT_FALSE(ses2.Snd(MC_CTL, MK_LNK_CHK, {}));
  EXPECT_TRUE(WaitUntil([&] { return told > 0; }));
  EXPECT_EQ(last, CE_PRT_UND);
}

}  // namespace
