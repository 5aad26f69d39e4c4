// What the editing scripts cannot say: the vio type table's lookups, the walk
// links, the font fitting, and two hundred random edits undone and redone.
#include <algorithm>
#include <random>

#include "EdtTstSup.h"
#include "editor/VioLay.h"

namespace {

TEST(VioTyp, KeywordsLeadBackToTheirTypeAndFailedLookupsShowTheirBox) {
  TFakePlatform fake;
  for (std::uint8_t t = 0; t < GcVioTypCnt; ++t) {
    EXPECT_EQ(GetVioTypOfKey(GetVioKey(t)), t);
    EXPECT_EQ(GetVioFntClr(t), 0);
  }
  EXPECT_EQ(GetVioKey(VT_SWI), "SWITCH_INTERRUPT1");
  EXPECT_EQ(GetVioClr(VT_SNS), RgbClr(204, 252, 252));
  EXPECT_TRUE(fake.MsgBox.Calls.empty());
  EXPECT_EQ(GetVioTypOfKey("start1"), -1);
  EXPECT_EQ(GetVioCap(13), "");
  EXPECT_EQ(GetVioKey(200), "");
  EXPECT_EQ(GetVioClr(13), -1);
  EXPECT_EQ(GetVioFntClr(13), -1);
  EXPECT_EQ(fake.MsgBox.Texts(),
            (std::vector<std::string>{"#141c, vio caption not found in list", "#141a, vio caption not found in list",
                                      "#141b, vio caption not found in list",
                                      "#142, vio color not found in list 'GuVioTyp'",
                                      "#143, vio font color not found in list"}));
}

using VioMdl = TEdtTst;

TEST_F(VioMdl, RemovalClearsWalkLinksThatPointAtTheVio) {
  Edt.AddObs(&Obs);  // a view added twice hears each change once
  Edt.AddObs(nullptr);
  TVio* a = Edt.PutVio(VT_STA, 0, 0);
  EXPECT_EQ(std::count(Obs.Evt.begin(), Obs.Evt.end(), "add"), 1);
  TVio* b = Edt.PutVio(VT_DLY, 1, 0);
  TVio* c = Edt.PutVio(VT_STO, 2, 0);
  ASSERT_TRUE(Edt.TrnVioPgm()) << GuLstErrMsg;  // the walk links a to b to c
  ASSERT_EQ(a->Rec().pNxtVio, b);
  ASSERT_EQ(c->Rec().pPrvVio, b);
  Edt.RmvVio(b);
  EXPECT_EQ(a->Rec().pNxtVio, nullptr);
  EXPECT_EQ(c->Rec().pPrvVio, nullptr);
}

// What a view forwards for a vio of another field, or for a control the vio
// has not, changes nothing: no text, no step, no event, no current vio.
TEST_F(VioMdl, ActionsOnAVioOfAnotherFieldOrAControlPastItsLastDoNothing) {
  TVioPgmItp oth(&Wnd);
  PrpEdt(oth);
  TVio* own = Edt.PutVio(VT_ACT, 0, 0);
  TVio* frn = oth.PutVio(VT_ACT, 0, 0);
  ASSERT_TRUE(own && frn);
  Edt.SetCurVio(nullptr);
  const int end = static_cast<int>(own->Ctls().size());
  const std::string bfr = PgmTxt(Edt), othBfr = PgmTxt(oth);
  const std::size_t hst = Edt.HstCnt();
  Obs.Evt.clear();
  const std::vector<std::pair<TVio*, int>> bad = {{frn, 1}, {frn, 3}, {own, end}, {own, -1}};
  for (const auto& [vio, ctl] : bad) {
    SCOPED_TRACE(std::string(vio == frn ? "another field's vio, control " : "control ") + std::to_string(ctl));
    Edt.SetCtlTxt(vio, ctl, "77");
    Edt.SelCtlItm(vio, ctl, 0);
    EXPECT_FALSE(Edt.DgtFlt(vio, ctl, '7'));
    EXPECT_EQ(Edt.CurVio(), nullptr);
  }
  EXPECT_EQ(own->CtlTxt(end), "");
  EXPECT_EQ(own->CtlTxt(-1), "");
  // An item past the last of a list.
  const int typ = own->FndCtl(TeCtlKnd::Cbx, CR_SAR_TYP);
  ASSERT_GE(typ, 0);
  Edt.SelCtlItm(own, typ, static_cast<int>(own->Ctls()[static_cast<std::size_t>(typ)].Itms.size()));
  EXPECT_FALSE(Edt.VioPrs(frn, TVioPgmItp::TeMouBtn::Lft));
  EXPECT_FALSE(Edt.VioPrs(frn, TVioPgmItp::TeMouBtn::Lft));  // the first press arms the mouse
  EXPECT_FALSE(Edt.TglBrk(frn));
  EXPECT_EQ(Edt.CurVio(), nullptr);
  EXPECT_EQ(PgmTxt(Edt), bfr);
  EXPECT_EQ(PgmTxt(oth), othBfr);
  EXPECT_EQ(Edt.HstCnt(), hst);
  EXPECT_TRUE(Obs.Evt.empty());
  // The focus-loss checks pass nothing they cannot read, and tell nothing.
  TVio* sta = Edt.PutVio(VT_STA, 1, 0);
  for (TVio* v : {frn, sta}) {
    EXPECT_FALSE(Edt.ChkDlyVal(v));
    EXPECT_FALSE(Edt.ChkDstVal(v));
    EXPECT_FALSE(Edt.ChkSpdVal(v));
  }
  EXPECT_TRUE(Fake.MsgBox.Calls.empty());
  EXPECT_FALSE(Edt.DlyErr() || Edt.DstErr() || Edt.SpdErr());
}

// A measurer that counts its calls: each letter is pts pixels wide, the line 2 * pts high.
class TCntMsr final : public ITxtMsr {
public:
  void MsrTxt(const std::string&, int pts, const std::string& txt, int& w, int& h) override {
    ++Calls;
    w = static_cast<int>(txt.size()) * pts;
    h = 2 * pts;
  }
  void CbxRom(int& width, int& height) override { width = 0, height = RomH; }
  int Calls = 0;
  int RomH = 0;
};

TEST_F(VioMdl, FontFittingMeasuresOncePerCellSize) {
  TCntMsr msr;
  TVioLay lay(Edt, &msr);
  // The longest name, 16 letters, fits the 66 pixels at 4.
  EXPECT_EQ(lay.FitPts(), 4);
  const int first = msr.Calls;
  EXPECT_EQ(lay.FitPts(), 4);
  EXPECT_EQ(msr.Calls, first);
  // Cells of 132 x 120: names 16 * 8 = 128.
  Edt.CrtVioFld(1600, 1200);
  EXPECT_EQ(lay.FitPts(), 8);
  // The same width, less height: 2 * 7 in rows of 15.
  Edt.CrtVioFld(1600, 600);
  EXPECT_EQ(lay.FitPts(), 7);
  // The names of every language count.
  const TStrLst nms = Edt.AllSarNam();
  for (const char* n : {"Turn left", "Linksaf", "Links abbiegen"})
    EXPECT_NE(std::find(nms.begin(), nms.end(), n), nms.end()) << n;
  // A name as wide as the cell fits: 128.
  Edt.CrtVioFld(1552, 1200);
  EXPECT_EQ(lay.FitPts(), 8);
  // A box as high as its row fits: 2 * 7 and a frame of 1 in 15.
  msr.RomH = 1;
  Edt.CrtVioFld(3200, 600);
  EXPECT_EQ(lay.FitPts(), 7);
}

TEST_F(VioMdl, TwoHundredRandomEditsUndoToTheEmptyFieldAndRedoToTheSameFile) {
  std::mt19937 rnd(1234);
  auto pick = [&](std::size_t n) { return static_cast<int>(rnd() % n); };
  const std::uint8_t typ[] = {VT_STO, VT_IFF, VT_THN, VT_ELS, VT_LBL, VT_GTO, VT_DLY, VT_ACT, VT_SNS, VT_SPD, VT_RTI};
  std::vector<std::string> stp{PgmTxt(Edt)};
  const TVio* lstTyp = nullptr;  // typing twice in a row into one control is one step
  while (stp.size() <= 200) {
    const auto n = Edt.Vios().size();
    const int k = n < 4 ? 0 : pick(5);
    TVio* v = n ? Edt.Vios()[static_cast<std::size_t>(pick(n))] : nullptr;
    const TVio* typd = nullptr;
    if (k == 0) {
      Edt.AddVio(typ[pick(std::size(typ))]);
    } else if (k == 1) {
      Edt.DrpVio(v, pick(12) * Edt.CelWdt() + pick(20), pick(10) * Edt.CelHgt() + pick(20));
    } else if (k == 2) {
      Edt.RmvVio(v);
    } else if (const int e = v->FstCtl(TeCtlKnd::Edt), c = v->FstCtl(TeCtlKnd::Cbx); e >= 0 && v != lstTyp) {
      Edt.SetCtlTxt(v, e, std::to_string(pick(300)));
      typd = v;
    } else if (c >= 0 && !v->Ctls()[static_cast<std::size_t>(c)].Itms.empty()) {
      Edt.SelCtlItm(v, c, pick(v->Ctls()[static_cast<std::size_t>(c)].Itms.size()));
    }
    if (std::string now = PgmTxt(Edt); now != stp.back()) stp.push_back(now), lstTyp = typd;
  }
  // Undo and Redo never move the focus into a vio (an Engine speed vio's
  // creation would take it, and with it the next Ctrl+Z).
  const int foc = Obs.FocCnt;
  for (std::size_t i = stp.size() - 1; i > 0; --i) {
    ASSERT_TRUE(Edt.Und()) << i;
    ASSERT_EQ(PgmTxt(Edt), stp[i - 1]) << "after undoing step " << i;
  }
  EXPECT_FALSE(Edt.CanUnd());
  for (std::size_t i = 1; i < stp.size(); ++i) {
    ASSERT_TRUE(Edt.Red()) << i;
    ASSERT_EQ(PgmTxt(Edt), stp[i]) << "after redoing step " << i;
  }
  EXPECT_FALSE(Edt.CanRed());
  EXPECT_EQ(Obs.FocCnt, foc);
}

}  // namespace
