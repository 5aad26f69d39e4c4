// Beyond the case files: every shipped token, wire pacing, clocks, a pseudo-terminal peer.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "core/PtyPar.h"
#include "link/PckPrt.h"
#include "sim/SimDrv.h"
#include "sim/SimSnp.h"
#include "translator/InsAndTkn.h"
#include "translator/SarAndTkn.h"
#include "translator/SarTkn.h"

namespace {

using TBy = std::vector<std::uint8_t>;
constexpr TSimWal Ms(double ms) { return static_cast<TSimWal>(ms * 1000); }

TEST(SimRbt, EveryShippedTokenHasAMeaning) {
  TSarAndTkn sat(nullptr);
  ASSERT_TRUE(sat.LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys"));
  TSimRbt r;
  r.TknNam().Set(sat);
  std::vector<TuSimTrc> trc;
  r.FOnTrc = [&](const TuSimTrc& t) { trc.push_back(t); };
  const std::vector<TuSarDef> defs = sat.GetSarDefs(0);
  EXPECT_EQ(defs.size(), 39u);
  EXPECT_FALSE(SarIsSns(0x99));
  for (const TuSarDef& d : defs) {
    const std::string nam = d.Typ + " " + d.Com;
    bool ok = false;  // every sensor has a value, only the sensors
    r.SnsVal(d.Tkn, ok);
    EXPECT_EQ(ok, d.Knd != "A") << nam;
    EXPECT_EQ(SarIsSns(d.Tkn), d.Knd != "A") << nam;
    if (d.Knd == "S") continue;
    ASSERT_TRUE(SarIsAct(d.Tkn)) << nam;  // each actor runs and is named in the trace
    trc.clear();
    r.Lod({IT_STA, d.Tkn, IT_STO});
    ASSERT_TRUE(r.Run()) << nam;
    r.AdvTo(r.Now() + 5 * GcSimSec);
    ASSERT_GE(trc.size(), 4u) << nam;
    EXPECT_EQ(trc[2].Txt.rfind(nam, 0), 0u) << trc[2].Txt;
    EXPECT_EQ(trc[3].Mne, "Sto") << nam;
  }
}

TEST(SimPac, BytesFollowTheWireRate) {
  TSimPac p(240.0);
  for (int i = 0; i < 262; ++i) p.Psh(0x55, 1000);
  std::uint8_t b;
  int n = 0;
  while (p.Pop(1000 + 1091666, b)) ++n;
  EXPECT_EQ(n, 261);
  EXPECT_TRUE(p.Pop(1000 + 1091700, b));
  p.Psh(1, 5000000);  // a line idle for a while starts again at once
  EXPECT_EQ(p.NxtDue(), 5000000 + 4167);
  // A run ends at the last byte within the span of the next one's time.
  TSimPac r(240.0);
  EXPECT_EQ(r.RunDue(40000), -1);
  for (int i = 0; i < 11; ++i) r.Psh(2, 0);
  EXPECT_EQ(r.RunDue(40000), 41667);  // 4167 + 40000 reaches the tenth byte
  EXPECT_EQ(r.RunDue(0), r.NxtDue());
  TSimPac q;
  q.SetOn(false);
  for (int i = 0; i < 262; ++i) q.Psh(1, 7);
  for (n = 0; q.Pop(7, b);) ++n;
  EXPECT_EQ(n, 262);
}

TEST(SimDrv, ClocksStartAtTheFirstPollAndFollowTheSpeedFactor) {
  TSimDrv d;
  d.SetSpd(2.0, 0);
  const TSimWal boot = 66000 * GcSimSec;
  d.Poll(boot);
  EXPECT_EQ(d.Rbt().Now(), 0);
  d.Sta(boot + Ms(100));  // a later start does not restart the clocks
  d.Poll(boot + Ms(500));
  EXPECT_EQ(d.Rbt().Now(), Ms(1000));
  d.Rbt().Lod({IT_STA, IT_DLY, 0xFF, IT_STO});  // 25.5 s
  ASSERT_TRUE(d.Rbt().Run());
  d.SetSpd(100.0, boot + Ms(500));
  d.Poll(boot + Ms(700));
  EXPECT_TRUE(d.Rbt().Running());
  d.Poll(boot + Ms(800));
  EXPECT_FALSE(d.Rbt().Running());
  EXPECT_EQ(d.Rbt().Now(), 31 * GcSimSec);
}

// The view's copy of the recording takes only what is new, keeps an earlier
// position while the run goes on and starts again with a new run; an entry
// without an address stands for the instruction before it.
TEST(SimRpl, TheCopyFollowsTheRecordingAndAPositionShowsAnEntry) {
  TSimRbt r;
  TSimRpl p;
  EXPECT_EQ(p.Adr(0), -1);
  r.Lod({IT_STA, IT_DLY, 5, IT_STO});
  ASSERT_TRUE(r.Run());
  r.AdvTo(Ms(1.5));
  EXPECT_TRUE(p.Tak(r));
  EXPECT_FALSE(p.Tak(r));
  EXPECT_EQ(p.Cnt(), r.Rec().size());
  p.SetPos(0);
  EXPECT_FALSE(p.Live());
  EXPECT_EQ(p.Adr(0), 0);
  r.AdvTo(Ms(1000));
  EXPECT_TRUE(p.Tak(r));
  ASSERT_EQ(p.Cnt(), r.Rec().size());
  EXPECT_EQ(p.Rec().back().Tim, r.Rec().back().Tim);
  EXPECT_EQ(p.Pos(), 0u);
  EXPECT_EQ(p.Adr(p.Cnt() - 1), 3);
  EXPECT_EQ(p.Adr(p.Cnt() + 5), 3);
  p.SetPos(p.Cnt());
  EXPECT_TRUE(p.Live());
  EXPECT_EQ(p.Pos(), p.Cnt());
  TuSimSnp a = SimSnp(r), b = SimSnp(r.Rec().back());
  EXPECT_TRUE(SimSnpSam(a, b));
  b.X += 0.2;
  EXPECT_FALSE(SimSnpSam(a, b));
  ASSERT_TRUE(r.Run());
  r.AdvTo(Ms(1002));
  EXPECT_TRUE(p.Tak(r));
  EXPECT_EQ(p.Cnt(), r.Rec().size());
  EXPECT_EQ(p.Rec().front().Tim, r.Rec().front().Tim);
}

// On a device (a line already there, a pseudo-terminal here) the link counts
// as up from the start and stays up; a device that cannot be opened is named.
TEST(SimDrv, OnADeviceTheLinkIsUpFromTheStart) {
  TSimDrv d;
  std::string err;
  EXPECT_FALSE(d.OpnDev("/no/such/tty", err));
  EXPECT_EQ(err, "cannot open /no/such/tty: No such file or directory");
  TPty pty;
  ASSERT_TRUE(d.OpnDev(pty.Pth(), err)) << err;
  EXPECT_EQ(d.Pth(), pty.Pth());
  EXPECT_FALSE(d.PeerUp());
  d.Sta(0);
  EXPECT_TRUE(d.PeerUp());
  for (TSimWal t = 0; t < Ms(500);) d.Poll(t += Ms(5));
  EXPECT_EQ(pty.Rd(7, std::chrono::milliseconds(500)), (TBy{0x02, GcSimOrg, 0x00, 0x00, 0x00, 0x04, 0x04}));
  pty.ClsMst();  // a device has no peer to watch: a hang-up does not take the link down
  for (TSimWal t = Ms(500); t < Ms(1000);) d.Poll(t += Ms(5));
  EXPECT_TRUE(d.PeerUp());
}

// The driver behind a real pseudo-terminal, on a fake clock: the peer comes
// and goes, and a 255-byte upload (262 bytes) takes 1.092 s on the wire.
TEST(SimDrv, PseudoTerminalPeerUploadAtWireSpeed) {
  TSimDrv d;
  std::string err;
  ASSERT_TRUE(d.OpnPty(err)) << err;
  TSimWal t = 0;
  d.Sta(t), d.Poll(t);
  EXPECT_FALSE(d.PeerUp());
  int s = ::open(d.Pth().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(s, 0);
  TBy got;
  auto pmp = [&](TSimWal end) {  // the driver polled every 5 ms until end
    for (std::uint8_t buf[256]; t < end;) {
      d.Poll(t += Ms(5));
      for (ssize_t n; (n = ::read(s, buf, sizeof buf)) > 0;) got.insert(got.end(), buf, buf + n);
    }
  };
  pmp(Ms(500));
  EXPECT_TRUE(d.PeerUp());
  EXPECT_EQ(got, (TBy{0x02, GcSimOrg, 0x00, 0x00, 0x00, 0x04, 0x04}));  // standby
  TBy big(255, IT_LBL), f;
  big[0] = IT_STA;
  big[254] = IT_STO;
  ASSERT_TRUE(BldPck(7, 0x01, 0x00, big, f));
  ASSERT_EQ(::write(s, f.data(), f.size()), static_cast<ssize_t>(f.size()));
  const TSimWal t0 = t;
  pmp(t0 + Ms(1085));
  EXPECT_FALSE(d.Rbt().HasPgm());
  pmp(t0 + Ms(1130));
  EXPECT_EQ(d.Rbt().Pgm(), big);
  ::close(s);
  pmp(t + Ms(60));
  EXPECT_FALSE(d.PeerUp());
  s = ::open(d.Pth().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(s, 0);
  pmp(t + Ms(60));
  EXPECT_TRUE(d.PeerUp());
  // Woken only when the driver says it next needs a poll, it moves on at each:
  // a link check read at once is taken and answered.
  got.clear();
  ASSERT_TRUE(BldPck(8, MC_CTL, MK_LNK_CHK, {}, f));
  ASSERT_EQ(::write(s, f.data(), f.size()), static_cast<ssize_t>(f.size()));
  d.Poll(t += Ms(1));
  int wak = 0;
  for (std::uint8_t buf[64]; got.size() < 7 && wak < 200; ++wak) {
    d.Poll(t = d.NxtDue(t, Ms(1000)));
    for (ssize_t n; (n = ::read(s, buf, sizeof buf)) > 0;) got.insert(got.end(), buf, buf + n);
  }
  EXPECT_EQ(got, (TBy{0x02, GcSimOrg, 0x06, 0x00, MC_CTL, MK_LNK_EST, 0x04}));
  EXPECT_LE(wak, 3) << "the request is read and the answer written a frame at a time, not a byte";
  ::close(s);
  for (wak = 0; d.PeerUp() && wak < 200; ++wak) d.Poll(t = d.NxtDue(t, Ms(1000)));
  EXPECT_FALSE(d.PeerUp()) << "the peer's going is seen at a wake-up the driver named";
}

}  // namespace
