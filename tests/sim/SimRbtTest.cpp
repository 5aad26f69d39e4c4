// The simulated robot, driven with its model clock.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "CplPgm.h"
#include "sim/SimRbt.h"
#include "translator/InsAndTkn.h"
#include "translator/SarAndTkn.h"
#include "translator/SarTkn.h"

namespace {

using TBy = std::vector<std::uint8_t>;

constexpr TSimTim Ms(double ms) { return static_cast<TSimTim>(ms * 1000); }

struct TRbtFix : ::testing::Test {
  TSarAndTkn Sat{nullptr};
  TSimRbt R;
  std::vector<TuSimTrc> Trc;
  int Cpl = 0;
  void SetUp() override {
    ASSERT_TRUE(Sat.LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) << GuLstErrMsg;
    R.TknNam().Set(Sat);
    R.FOnTrc = [&](const TuSimTrc& t) { Trc.push_back(t); };
    R.FOnCpl = [&] { ++Cpl; };
  }
  void Go(TBy s) {
    R.Lod(std::move(s));
    ASSERT_TRUE(R.Run());
  }
  // Addresses of the executed instructions, in order.
  std::vector<int> Adrs() const {
    std::vector<int> v;
    for (const auto& t : Trc)
      if (t.Adr >= 0) v.push_back(t.Adr);
    return v;
  }
  const TuSimTrc* LstFlt() const {
    for (auto it = Trc.rbegin(); it != Trc.rend(); ++it)
      if (it->Flt) return &*it;
    return nullptr;
  }
  TSimTim CplTim() const {
    for (const auto& t : Trc)
      if (t.Mne == "Sto") return t.Tim;
    return -1;
  }
};

// The stream of a program file, as tessaro-compile makes it.
TBy CplStm(const std::string& file) {
  TuCplOpt o;
  o.TknPth = TESSARO_DATA_DIR "/ExtComTkn.sys";
  o.MsgPth = TESSARO_DATA_DIR "/SysMsgFil.sys";
  o.PgmPth = file;
  std::ostringstream out, err;
  EXPECT_EQ(RunCpl(o, out, err), GcCplOk) << err.str();
  TBy s;
  std::istringstream in(out.str());
  std::string h;
  while (in >> h) s.push_back(static_cast<std::uint8_t>(std::stoul(h, nullptr, 16)));
  return s;
}

TEST_F(TRbtFix, DelayAndDriveTakeTheirTime) {
  // Start, Delay 1.0 s, Stop.
  Go({IT_STA, IT_DLY, 0x0A, IT_STO});
  R.AdvTo(Ms(999));
  EXPECT_EQ(Cpl, 0);
  R.AdvTo(Ms(1100));
  EXPECT_EQ(Cpl, 1);
  EXPECT_NEAR(static_cast<double>(CplTim()), Ms(1001), Ms(2));
  EXPECT_FALSE(R.Running());

  // Speed 40 cm/s (byte 5), Forward 60 cm: 1.5 s, then the wheels stop.
  Trc.clear();
  const double x0 = R.Wld().X();
  Go({IT_STA, IT_SPD, IT_BYT, 0x05, IT_BYT, 0x05, ST_DRV_FWD, IT_BYT, 60, IT_STO});
  R.AdvTo(R.Now() + Ms(1000));
  EXPECT_TRUE(R.Running());
  EXPECT_NEAR(R.Wld().X() - x0, 40 * 0.998, 0.5);
  R.AdvTo(R.Now() + Ms(1000));
  EXPECT_FALSE(R.Running());
  EXPECT_NEAR(R.Wld().X() - x0, 60.0, 0.1);
  EXPECT_EQ(R.Wld().Whl(), TeWhl::Stp);
}

TEST_F(TRbtFix, ExampleSquareComesBackToItsStart) {
  const TBy s = CplStm(TESSARO_SOURCE_DIR "/data/examples/drive_square.vio");
  const double x0 = R.Wld().X(), y0 = R.Wld().Y();
  Go(s);
  double maxX = x0, maxY = y0;
  for (int i = 0; i < 200 && R.Running(); ++i) {
    R.AdvTo(R.Now() + Ms(100));
    maxX = std::max(maxX, R.Wld().X());
    maxY = std::max(maxY, R.Wld().Y());
  }
  EXPECT_EQ(Cpl, 1);
  EXPECT_NEAR(R.Wld().X(), x0, 0.1);
  EXPECT_NEAR(R.Wld().Y(), y0, 0.1);
  EXPECT_NEAR(R.Wld().Hdg(), 0.0, 1e-6);
  // Right turns with y growing downwards: the square lies right and below.
  EXPECT_NEAR(maxX - x0, 50.0, 0.2);
  EXPECT_NEAR(maxY - y0, 50.0, 0.2);
  // Four sides of 2.5 s at 20 cm/s and four turns.
  const double trn = 90.0 / R.Wld().SpnRat();
  EXPECT_NEAR(static_cast<double>(CplTim()) / GcSimSec, 4 * 2.5 + 4 * trn, 0.05);
}

TEST_F(TRbtFix, IfFollowsTheSensorsWeSet) {
  // If Bumpers Left pressed then Back Leds On else Back Leds Off; Stop.
  const TBy s = {IT_STA, IT_IFF, ST_BMP_LFT, 0x06, ST_BCK_ON, IT_STO, ST_BCK_OFF, IT_STO};
  Go(s);
  R.AdvTo(Ms(50));
  EXPECT_EQ(Adrs(), (std::vector<int>{0, 1, 6, 7}));
  EXPECT_EQ(R.BckLed(), TeLed::Off);
  EXPECT_NE(Trc[2].Txt.find("Bumpers Left pressed: false"), std::string::npos) << Trc[2].Txt;

  Trc.clear();
  R.SetBmpUsr(true, true);
  Go(s);
  R.AdvTo(R.Now() + Ms(50));
  EXPECT_EQ(Adrs(), (std::vector<int>{0, 1, 4, 5}));
  EXPECT_EQ(R.BckLed(), TeLed::On);

  // Switch 3 On, light Dark, line sensors: each a condition of its own.
  R.SetBmpUsr(true, false);
  bool ok = false;
  EXPECT_FALSE(R.SnsVal(ST_SWI_ON + 4, ok));
  R.SetSwi(2, true);
  EXPECT_TRUE(R.SnsVal(ST_SWI_ON + 4, ok));
  EXPECT_FALSE(R.SnsVal(ST_SWI_ON + 5, ok));
  EXPECT_TRUE(R.SnsVal(ST_BMP_NON, ok));
  // The start pose is on the track: both line sensors see the line, and the
  // light sensor sees it dark.
  EXPECT_TRUE(R.SnsVal(ST_LIN_BTH, ok));
  EXPECT_TRUE(R.SnsVal(ST_LGT_DRK, ok));
  R.Wld().SetPos(100, 75, 0);
  EXPECT_TRUE(R.SnsVal(ST_LIN_NON, ok));
  EXPECT_TRUE(R.SnsVal(ST_LGT_BRT, ok));
  R.SetLgt(30);
  EXPECT_TRUE(R.SnsVal(ST_LGT_DRK, ok));
  EXPECT_FALSE(R.SnsVal(0x99, ok));
  EXPECT_FALSE(ok);
}

TEST_F(TRbtFix, WallsCloseTheBumpersAndHoldTheBody) {
  R.Wld().SetPos(100, 75, 0);
  // Forward without a distance drives on while the program goes on.
  Go({IT_STA, ST_DRV_FWD, IT_DLY, 0xFF, IT_STO});
  R.AdvTo(Ms(10));
  EXPECT_EQ(R.Ste(), TSimRbt::TeSte::Wai);
  EXPECT_EQ(R.Wld().Whl(), TeWhl::Fwd);
  bool ok;
  R.AdvTo(Ms(3000));
  EXPECT_FALSE(R.SnsVal(ST_BMP_LFT, ok));
  R.AdvTo(Ms(6000));
  EXPECT_NEAR(R.Wld().X(), GcArnWid - GcRbtRad, 1e-9);
  EXPECT_TRUE(R.SnsVal(ST_BMP_BTH, ok));
  // Spinning turns the body away from the wall; a Stop ends the drive.
  R.AdvTo(Ms(26000));
  EXPECT_FALSE(R.Running());
  EXPECT_EQ(R.Wld().Whl(), TeWhl::Stp);
  Go({IT_STA, ST_SPN_LFT, IT_DLY, 0x0A, ST_DRV_STP, IT_STO});
  R.AdvTo(R.Now() + Ms(2000));
  EXPECT_EQ(R.Wld().Whl(), TeWhl::Stp);
  EXPECT_FALSE(R.SnsVal(ST_BMP_BTH, ok));
}

// A heading a hair below zero must not round up to a full turn of 360.
TEST(SimWld, HeadingStaysWithinOneTurn) {
  TSimWld w;
  for (double d : {-1e-17, -1e-13, -360.0, 360.0, 720.0 - 1e-14}) {
    w.SetHdg(d);
    EXPECT_GE(w.Hdg(), 0.0) << d;
    EXPECT_LT(w.Hdg(), 360.0) << d;
  }
  w.SetHdg(-90.0);
  EXPECT_DOUBLE_EQ(w.Hdg(), 270.0);
  w.SetHdg(450.5);
  EXPECT_DOUBLE_EQ(w.Hdg(), 90.5);
}

TEST_F(TRbtFix, SwitchInterruptReturnsAndRemembersOnePress) {
  // Main: Label, Delay 1 s, Goto 1.  Routine after 0xAC at 6: System led
  // Flash with a Delay of 0.5 s, RTI.
  const TBy s = {IT_STA, IT_DLY, 0x0A, IT_GTO, 0x01, IT_STO, IT_SWI, ST_SYS_FLS, IT_DLY, 0x05, IT_RTI};
  Go(s);
  EXPECT_EQ(R.SwiAdr(), 7);
  R.AdvTo(Ms(400));
  R.SetSwi(0, true);  // in the middle of the first Delay
  EXPECT_TRUE(R.InRti());
  R.AdvTo(Ms(600));
  EXPECT_EQ(R.SysLed(), TeLed::Fls);
  R.SetSwi(0, false);
  R.SetSwi(0, true);  // during the routine: remembered, not nested
  R.AdvTo(Ms(950));
  // The first RTI returned and the routine was entered again at once.
  EXPECT_TRUE(R.InRti());
  R.AdvTo(Ms(1450));
  EXPECT_FALSE(R.InRti());
  const auto a = Adrs();
  const std::vector<int> want = {0, 1, 7, 8, 10, 7, 8, 10};
  ASSERT_GE(a.size(), want.size());
  EXPECT_EQ(std::vector<int>(a.begin(), a.begin() + 8), want);
  // Back in the interrupted Delay, whose 0.6 s rest runs after the returns.
  R.AdvTo(Ms(1990));
  EXPECT_EQ(Adrs().size(), want.size());
  R.AdvTo(Ms(2100));
  EXPECT_EQ(Adrs(), (std::vector<int>{0, 1, 7, 8, 10, 7, 8, 10, 3, 1}));
  // A press while no program runs does nothing but count for the report.
  R.Hlt("test");
  R.SetSwi(1, true);
  EXPECT_FALSE(R.InRti());
  EXPECT_EQ(R.TakSwiPrs(), 0x20 | 0x10);
  EXPECT_EQ(R.TakSwiPrs(), 0);
}

TEST_F(TRbtFix, InterruptedDriveAndTurnWaitForTheRoutine) {
  // Main: Forward 40 cm, Turn right, Stop. Routine: System led Flash, Delay
  // 1 s, Delay 0.5 s, RTI: its own waits must not end the main motion.
  Go({IT_STA, ST_DRV_FWD, IT_BYT, 0x28, ST_TRN_RGT, IT_STO, IT_SWI, ST_SYS_FLS, IT_DLY, 0x0A, IT_DLY, 0x05, IT_RTI});
  R.Wld().SetPos(50, 75, 0);
  R.AdvTo(Ms(500));
  const double x = R.Wld().X();
  R.SetSwi(0, true);
  R.AdvTo(Ms(1800));  // after the routine's first Delay
  EXPECT_TRUE(R.InRti());
  EXPECT_EQ(R.Wld().Whl(), TeWhl::Stp);
  EXPECT_NEAR(R.Wld().X(), x, 1e-9);
  R.AdvTo(Ms(3700));  // back in the drive, then into the turn
  ASSERT_EQ(R.Wld().Whl(), TeWhl::SpnRgt);
  const double h = R.Wld().Hdg();
  R.SetSwi(0, false);
  R.SetSwi(0, true);
  R.AdvTo(Ms(4800));
  EXPECT_TRUE(R.InRti());
  EXPECT_NEAR(R.Wld().Hdg(), h, 1e-9);
  R.AdvTo(Ms(7000));
  EXPECT_EQ(Cpl, 1);
  EXPECT_NEAR(R.Wld().X(), 90.0, 0.01);
  EXPECT_NEAR(R.Wld().Y(), 75.0, 1e-9);
  EXPECT_NEAR(R.Wld().Hdg(), 90.0, 1e-9);
}

TEST_F(TRbtFix, FaultsStopTheProgramAndAreReported) {
  struct TCas {
    TBy Stm;
    const char* Why;
  };
  const TCas cas[] = {
      {{0xA0, 0xA6, 0x09}, "outside the program"},
      {{0xA0, 0x07, 0xA1}, "unknown token 0x07"},
      {{0xA0, 0xA7, 0xA1}, "cannot be executed"},
      {{0xA0, 0xA6, 0x01}, "10000 instructions"},
      {{0xA0, 0xA8}, "cut off"},
      {{0xA0, 0xAD}, "outside the switch-interrupt routine"},
      {{0xA0, 0x30}, "past its end"},
      {{0xA0, 0xA2, 0x99, 0x03, 0xA1}, "unknown sensor token 0x99"},
      {{0xA0, 0xA2, 0x50, 0x40, 0xA1}, "outside the program"},
      {{0xA0, 0xAB, 0x05, 0x05, 0xAE, 0x05, 0xA1}, "engine speed"},
  };
  for (const auto& c : cas) {
    Trc.clear();
    Go(c.Stm);
    R.AdvTo(R.Now() + 20 * GcSimSec);
    EXPECT_FALSE(R.Running());
    const TuSimTrc* f = LstFlt();
    ASSERT_NE(f, nullptr) << c.Why;
    EXPECT_NE(f->Txt.find(c.Why), std::string::npos) << f->Txt;
  }
  EXPECT_EQ(Cpl, 0);
  // The busy loop is stopped after its 10,000 instructions in 10 s of model time.
  EXPECT_EQ(R.InsCnt() > 10000u, true);

  TSimRbt fresh;
  std::vector<TuSimTrc> t;
  fresh.FOnTrc = [&](const TuSimTrc& x) { t.push_back(x); };
  EXPECT_FALSE(fresh.Run());
  ASSERT_EQ(t.size(), 1u);
  EXPECT_TRUE(t[0].Flt);
  fresh.Lod({});
  EXPECT_FALSE(fresh.Run());
}

TEST_F(TRbtFix, LabelsAndStrayBytesAreSkipped) {
  // A Label that no Goto names, a Delay 0 and a value byte equal to 0xAC that
  // is not the routine's start.
  Go({0xA0, 0xA5, 0xA8, 0xAC, 0xA1, 0xAC, 0xAD});
  EXPECT_EQ(R.SwiAdr(), 6);
  R.AdvTo(R.Now() + 30 * GcSimSec);
  EXPECT_EQ(Cpl, 1);
  EXPECT_EQ(Adrs(), (std::vector<int>{0, 1, 2, 4}));
}

TEST_F(TRbtFix, EveryShippedTokenHasAMeaning) {
  const std::vector<TuSarDef> defs = Sat.GetSarDefs(0);
  EXPECT_EQ(defs.size(), 39u);
  for (const TuSarDef& d : defs) {
    const std::string nam = d.Typ + " " + d.Com;
    if (d.Knd != "A") {
      bool ok = false;
      R.SnsVal(d.Tkn, ok);
      EXPECT_TRUE(ok && SarIsSns(d.Tkn)) << nam;
    }
    if (d.Knd == "S") continue;
    // Each actor runs and is named in the trace.
    ASSERT_TRUE(SarIsAct(d.Tkn)) << nam;
    Trc.clear();
    Go({IT_STA, d.Tkn, IT_STO});
    R.AdvTo(R.Now() + 5 * GcSimSec);
    EXPECT_EQ(LstFlt(), nullptr) << nam;
    ASSERT_GE(Trc.size(), 3u);
    EXPECT_EQ(Trc[2].Txt.rfind(nam, 0), 0u) << Trc[2].Txt;
  }
}

TEST_F(TRbtFix, LedsBlinkFlashAndAlternate) {
  Go({IT_STA, ST_SYS_BLK, ST_BCK_ALT, IT_DLY, ST_BCK_BLK, IT_STO});
  R.AdvTo(Ms(1200));  // 0.2 s into the second second
  EXPECT_TRUE(R.SysLit());
  EXPECT_TRUE(R.BckLit(true));
  EXPECT_FALSE(R.BckLit(false));
  R.AdvTo(Ms(1700));
  EXPECT_FALSE(R.SysLit());
  EXPECT_FALSE(R.BckLit(true));
  EXPECT_TRUE(R.BckLit(false));
}

}  // namespace
