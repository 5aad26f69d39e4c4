// The byte meter and the listing that follow the program as it is edited.
#include <sstream>

#include "CplPgm.h"
#include "EdtTstSup.h"
#include "core/WndMsg.h"
#include "editor/VioMtr.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

namespace {

TEST(MtrRule, SaysLengthOrWhyNot) {
  struct {
    bool Ok;
    std::size_t Len;
    const char *Err, *Unt, *Txt, *Why;
  } const cases[] = {{true, 37, "", "bytes", "37 / 255 bytes", ""},
                     {true, 255, "", "bytes", "255 / 255 bytes", ""},
                     // one byte more than an upload holds is red even when the passes succeeded
                     {true, 256, "", "Bytes", "256 / 255 Bytes", "Not yet: 256 / 255 Bytes"},
                     {false, 0, "Start missing", "bytes", "- / 255 bytes", "Not yet: Start missing"}};
  for (const auto& c : cases) {
    const TuMtrStt s = MtrStt(c.Ok, c.Len, c.Err, c.Unt, "Not yet:");
    EXPECT_EQ(s.Ok, !*c.Why);
    if (c.Ok == !*c.Why) {
      EXPECT_EQ(s.Len, c.Len);
    }
    EXPECT_EQ(s.Txt, c.Txt);
    EXPECT_EQ(s.Why, c.Why);
  }
}

// Counts the blink requests the translation sends to the window.
class TBlkOwn final : public IWndMsgTgt {
public:
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t w, std::intptr_t) override {
    if (msg == WM_APP_MSG && (w & 0xFF) == AM_VIO_BLK) ++Blk;
    return 0;
  }
  int Blk = 0;
};

class VioMtr : public ::testing::Test {
protected:
  VioMtr() : Edt(&Own) {}
  void SetUp() override {
    PrpEdt(Edt);
    ASSERT_TRUE(Msg.LodSysMsgFil(TESSARO_DATA_DIR "/SysMsgFil.sys"));
    GuSysLgeMsg = &Msg;
  }
  void TearDown() override { GuSysLgeMsg = nullptr; }
  TFakePlatform Pf;
  TBlkOwn Own;
  TVioPgmItp Edt;
  TSysLgeMsg Msg{nullptr, TESSARO_DATA_DIR "/"};
};

TEST_F(VioMtr, FollowsEditsQuietlyAndAgreesWithUpload) {
  TVioMtr mtr(Edt);
  int stl = 0;
  mtr.SetOnStl([&] { ++stl; });

  // An empty field does not translate: red, with the translator's reason.
  GuLstErrMsg = "kept";
  const TuMtrStt& e = mtr.Upd();
  EXPECT_TRUE(!e.Ok && e.Emp);
  EXPECT_EQ(e.Txt, "- / 255 bytes");
  EXPECT_NE(e.Why.find("The program cannot be sent yet:"), std::string::npos) << e.Why;
  EXPECT_GT(e.Why.size(), std::string("The program cannot be sent yet: ").size());
  EXPECT_EQ(GuLstErrMsg, "kept");
  EXPECT_EQ(mtr.VioAt(0), nullptr);

  ASSERT_TRUE(Edt.CrtSmpVio(VT_STA, 0, 0));
  EXPECT_EQ(stl, 1);
  ASSERT_TRUE(Edt.CrtDlyVio(1, 0, "12"));
  EXPECT_EQ(stl, 1) << "one notice until the next update";
  TVio* sto = Edt.PutVio(VT_STO, 2, 0);
  ASSERT_NE(sto, nullptr);
  EXPECT_TRUE(mtr.Stl());
  const TuMtrStt s = mtr.Upd();
  EXPECT_TRUE(s.Ok) << s.Why;
  EXPECT_EQ(s.Txt, "4 / 255 bytes");
  EXPECT_EQ(FmtTrnStm(mtr.Trn()), "A0 A8 0C A1");
  // Every byte knows its vio.
  EXPECT_EQ(mtr.VioAt(0), Edt.Vios()[0]);
  EXPECT_EQ(mtr.VioAt(2), Edt.Vios()[1]);
  EXPECT_EQ(mtr.VioAt(3), sto);
  EXPECT_EQ(mtr.VioAt(4), nullptr);
  Edt.ShwVioAt(sto, 300, 200);
  EXPECT_FALSE(mtr.Stl()) << "shown off its cell by a drag, the program is the same";

  // The upload's own translation gives the same stream.
  ASSERT_TRUE(Edt.TrnVioPgm());
  EXPECT_EQ(Edt.Trn().FpTsmTknLst, mtr.Trn().FpTsmTknLst);

  // A Start with no way to Stop: red, and the window is never asked to blink.
  Edt.RmvVio(sto);
  EXPECT_EQ(stl, 2);
  const TuMtrStt b = mtr.Upd();
  EXPECT_FALSE(b.Ok || b.Emp) << "a program that cannot be sent is something wrong";
  EXPECT_FALSE(b.Why.empty());
  EXPECT_EQ(Own.Blk, 0);
  EXPECT_TRUE(mtr.Trn().FpTsmTknLst.empty());
  // The editor keeps its sensor/actor definitions after the meter borrowed them.
  EXPECT_FALSE(Edt.SarAndTkn().Lines().empty());
}

TEST_F(VioMtr, ListingIsTheToolsListing) {
  for (const char* nam : {"drive_square", "loop_label_goto", "sensor_if_then_else", "switch_interrupt"}) {
    const std::string pth = std::string(TESSARO_DATA_DIR "/examples/") + nam + ".vio";
    TVioMtr mtr(Edt);
    ASSERT_TRUE(Edt.LodVioFil(pth)) << GuLstErrMsg;
    ASSERT_TRUE(mtr.Upd().Ok) << nam << ": " << mtr.Stt().Why;
    std::ostringstream out, err;
    ASSERT_EQ(CplMai({"tessaro-compile", "--listing", "--tokens", TESSARO_DATA_DIR "/ExtComTkn.sys", "--messages",
                      TESSARO_DATA_DIR "/SysMsgFil.sys", pth},
                     out, err),
              GcCplOk)
        << err.str();
    EXPECT_EQ(FmtTrnStm(mtr.Trn()) + "\n" + FmtTrnLst(mtr.Trn()), out.str()) << nam;
    GuSysLgeMsg = &Msg;
  }
}

// A load shows each vio at once and lets the pending events run, so the
// meter's update may be asked for with every vio: it translates once, when
// the whole program is on the field, and says so then.
TEST_F(VioMtr, TranslatesALoadOnceAtItsEnd) {
  TVioMtr mtr(Edt);
  mtr.Upd();
  int stl = 0;
  mtr.SetOnStl([&] { ++stl; });
  struct TMid final : public IVioPgmObs {
    TVioMtr* Mtr = nullptr;
    int Trn = 0;
    void VioChg(TVio*) override {
      if (!Mtr->Upd().Emp) ++Trn;
    }
  } mid;
  mid.Mtr = &mtr;
  Edt.AddObs(&mid);
  ASSERT_TRUE(Edt.LodVioFil(TESSARO_DATA_DIR "/examples/drive_square.vio"));
  Edt.RmvObs(&mid);
  EXPECT_EQ(mid.Trn, 0) << "translated halfway through the load";
  EXPECT_EQ(stl, 2) << "the first change, and the end of the load";
  EXPECT_TRUE(mtr.Upd().Ok) << mtr.Stt().Why;
  EXPECT_EQ(mtr.Lnk().size(), Edt.Vios().size());
}

}  // namespace
