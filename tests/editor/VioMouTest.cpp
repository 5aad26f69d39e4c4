// Mouse handling of the editor: presses, drags with glue and clamp, drops,
// the right-click removal through the main window and the Start action; and
// the font fitting done once per cell size.
#include "EdtTstSup.h"
#include "editor/VioLay.h"

#include "core/WndMsg.h"

namespace {

using TeMouBtn = TVioPgmItp::TeMouBtn;
using TuPos = TVioPgmItp::TuPos;

// The main window as the editor sees it: records the messages and removes
// the current vio on settings message 8.
class TRecWnd final : public IWndMsgTgt {
public:
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t w, std::intptr_t) override {
    Msgs.push_back({msg, static_cast<std::uint32_t>(w)});
    if (msg == WM_SET_MSG && w == SM_RMV_CUR_VIO && Edt && Edt->FpCurVio) Edt->RmvVio(Edt->FpCurVio);
    return 0;
  }
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Msgs;
  TVioPgmItp* Edt = nullptr;
};

class VioMou : public TEdtTst {
protected:
  VioMou() : Mou(&Wnd) {
    Mou.CrtVioFld(800, 600);  // cells of 66 x 60
    Mou.SetLgeIdx(0);
    Mou.SetAvlCol(0);
    Wnd.Edt = &Mou;
  }
  void SetUp() override {
    TEdtTst::SetUp();
    ASSERT_TRUE(Mou.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) << GuLstErrMsg;
  }
  // A processed move: every second move event counts, so send the pair.
  void Mov(int x, int y) {
    if (TVioPgmItp::MouMovCnt() % 2 == 0) Mou.VioMouMov(TuPos{x, y});
    Mou.VioMouMov(TuPos{x, y});
  }
  // Presses the vio at its top left corner plus (dx, dy).
  void Prs(TVio* v, int dx = 5, int dy = 5) { Mou.VioMouDwn(v, TeMouBtn::Lft, TuPos{v->Left() + dx, v->Top() + dy}); }

  TRecWnd Wnd;
  TVioPgmItp Mou;
};

TEST_F(VioMou, OnlyEverySecondMoveIsProcessed) {
  TVio* v = Mou.PutVio(VT_STO, 3, 3);
  Prs(v);
  int moved = 0;
  for (int i = 0; i < 10; ++i) {
    const int before = v->Left();
    Mou.VioMouMov(TuPos{v->Left() + 5 + 1 + (i % 2), 200});
    if (v->Left() != before) ++moved;
  }
  EXPECT_EQ(moved, 5);
}

TEST_F(VioMou, DragFollowsThePointerAndDropsOnTheNearestFreeCell) {
  TVio* v = Mou.PutVio(VT_STO, 3, 3);  // (198, 180)
  Prs(v, 10, 20);
  EXPECT_EQ(Mou.DrgOfsX(), -10);
  EXPECT_EQ(Mou.DrgOfsY(), -20);
  EXPECT_TRUE(Mou.FbVioDrg);
  Mov(198 + 10 + 100, 180 + 20 + 50);  // nothing nearby: free movement
  EXPECT_EQ(v->Left(), 298);
  EXPECT_EQ(v->Top(), 230);
  EXPECT_EQ(v->Rec.GrdCol, 3);  // the record waits for the drop
  Mou.VioMouUp(TeMouBtn::Lft);
  // 298 = 4 * 66 + 34: past half-way, so column 5; 230 = 3 * 60 + 50: row 4.
  EXPECT_EQ(v->Left(), 5 * 66);
  EXPECT_EQ(v->Top(), 4 * 60);
  EXPECT_EQ(v->Rec.GrdCol, 5);
  EXPECT_EQ(v->Rec.GrdRow, 4);
  EXPECT_EQ(Mou.CurCol(), 5);
  EXPECT_EQ(Mou.CurRow(), 4);
  EXPECT_FALSE(Mou.FbVioDrg);

  // 32 pixels past a cell origin stays, 33 goes on.
  Prs(v, 0, 0);
  Mov(2 * 66 + 32, 0 + 4 * 60 + 1 - 1);
  Mou.VioMouUp(TeMouBtn::Lft);
  EXPECT_EQ(v->Rec.GrdCol, 2);
  Prs(v, 0, 0);
  Mov(2 * 66 + 33, 4 * 60);
  Mou.VioMouUp(TeMouBtn::Lft);
  EXPECT_EQ(v->Rec.GrdCol, 3);
}

TEST_F(VioMou, GlueToAnOccupiedNeighbourBelowTwentyFivePixels) {
  Mou.PutVio(VT_STO, 5, 5);  // (330, 300)
  TVio* v = Mou.PutVio(VT_STO, 0, 0);
  Prs(v, 0, 0);
  // Right of the neighbour: cell (6, 5) is nearest; 24 pixels to the right of its origin.
  Mov(6 * 66 + 24, 5 * 60 + 3);
  ASSERT_EQ(Mou.NbrGluVioLst().size(), 1u);
  EXPECT_EQ(Mou.NbrGluVioLst()[0].Sid, 'L');
  EXPECT_EQ(Mou.NbrGluVioLst()[0].Dst, 24);
  EXPECT_EQ(v->Left(), 6 * 66);
  EXPECT_EQ(v->Top(), 5 * 60);
  // 25 pixels is too far: nearest cell still (6, 5), no glue.
  Mov(6 * 66 + 25, 5 * 60 + 3);
  EXPECT_TRUE(Mou.NbrGluVioLst().empty());
  EXPECT_EQ(v->Left(), 6 * 66 + 25);
  // Above the neighbour, approaching from the top: side 'B', negative distance allowed.
  Mov(5 * 66 + 2, 4 * 60 - 20);
  ASSERT_EQ(Mou.NbrGluVioLst().size(), 1u);
  EXPECT_EQ(Mou.NbrGluVioLst()[0].Sid, 'B');
  EXPECT_EQ(Mou.NbrGluVioLst()[0].Dst, 20);
  EXPECT_EQ(v->Top(), 4 * 60);
  Mou.VioMouUp(TeMouBtn::Lft);
  EXPECT_EQ(v->Rec.GrdCol, 5);
  EXPECT_EQ(v->Rec.GrdRow, 4);
}

TEST_F(VioMou, TheBorderClampsAndNeverGlues) {
  Mou.PutVio(VT_STO, 10, 0);
  TVio* v = Mou.PutVio(VT_STO, 9, 2);
  Prs(v, 0, 0);
  Mov(2000, -50);
  EXPECT_EQ(v->Left(), 11 * 66);
  EXPECT_EQ(v->Top(), 0);
  EXPECT_TRUE(Mou.NbrGluVioLst().empty());
  Mou.VioMouUp(TeMouBtn::Lft);
  EXPECT_EQ(v->Rec.GrdCol, 11);
  EXPECT_EQ(v->Rec.GrdRow, 0);
  Prs(v, 0, 0);
  Mov(-300, 5000);
  EXPECT_EQ(v->Left(), 0);
  EXPECT_EQ(v->Top(), 9 * 60);
}

TEST_F(VioMou, DropOnAnotherVioGoesBack) {
  TVio* a = Mou.PutVio(VT_STO, 1, 1);
  TVio* b = Mou.PutVio(VT_STO, 4, 4);
  Prs(b, 0, 0);
  Mov(66 + 10, 60 + 40);  // glue off: no occupied neighbour of (1, 2)? (1, 1) is above it
  Mou.VioMouUp(TeMouBtn::Lft);
  // Nearest cell (1, 2) is free: it lands there.
  EXPECT_EQ(b->Rec.GrdCol, 1);
  EXPECT_EQ(b->Rec.GrdRow, 2);
  Prs(b, 0, 0);
  Mov(66 + 3, 60 + 3);  // onto a
  Mou.VioMouUp(TeMouBtn::Lft);
  EXPECT_EQ(b->Rec.GrdCol, 1);
  EXPECT_EQ(b->Rec.GrdRow, 2);
  EXPECT_EQ(b->Top(), 2 * 60);
  EXPECT_EQ(a->Left(), 66);
  EXPECT_EQ(a->Top(), 60);
  // A plain click makes the vio the last placed one.
  Prs(a);
  Mou.VioMouUp(TeMouBtn::Lft);
  EXPECT_EQ(Mou.CurCol(), 1);
  EXPECT_EQ(Mou.CurRow(), 1);
  ASSERT_TRUE(Mou.AddVio(VT_STO));
  EXPECT_EQ(Mou.FpCurVio->Rec.GrdCol, 2);
  EXPECT_EQ(Mou.FpCurVio->Rec.GrdRow, 1);
}

TEST_F(VioMou, RightClickRemovesThroughTheMainWindowAndEnablesStartAndSwitch) {
  TVio* s = Mou.PutVio(VT_STA, 0, 0);
  TVio* w = Mou.PutVio(VT_SWI, 1, 0);
  TVio* l = Mou.PutVio(VT_LBL, 2, 0);
  Mou.VioMouDwn(s, TeMouBtn::Rgt, TuPos{3, 3});
  // Without the context-menu request the release removes nothing.
  Mou.VioMouUp(TeMouBtn::Rgt);
  EXPECT_EQ(Mou.GetVioCnt(), 3);
  EXPECT_TRUE(Wnd.Msgs.empty());
  Mou.VioMouDwn(s, TeMouBtn::Rgt, TuPos{3, 3});
  Mou.VioCtxPop();
  Mou.VioMouUp(TeMouBtn::Rgt);
  EXPECT_EQ(Mou.GetVioCnt(), 2);
  EXPECT_EQ(Wnd.Msgs, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{WM_APP_MSG, AM_ENA_STA},
                                                                            {WM_SET_MSG, SM_RMV_CUR_VIO}}));
  EXPECT_FALSE(Mou.FbCtxPop);
  Wnd.Msgs.clear();
  Mou.VioMouDwn(w, TeMouBtn::Rgt, TuPos{70, 3});
  Mou.VioCtxPop();
  Mou.VioMouUp(TeMouBtn::Rgt);
  EXPECT_EQ(Wnd.Msgs.front(), (std::pair<std::uint32_t, std::uint32_t>{WM_APP_MSG, AM_ENA_SWI}));
  // A Label goes, its name stays in the label list.
  Mou.LblNamEnt(l);
  Wnd.Msgs.clear();
  Mou.VioMouDwn(l, TeMouBtn::Rgt, TuPos{140, 3});
  Mou.VioCtxPop();
  Mou.VioMouUp(TeMouBtn::Rgt);
  EXPECT_EQ(Wnd.Msgs.size(), 1u);
  EXPECT_EQ(Mou.GetVioCnt(), 0);
  EXPECT_EQ(Mou.LblVioDdwStl(), (TStrLst{"A"}));
}

TEST_F(VioMou, AFailedStartActionShowsTheTextAndSwallowsTheNextPress) {
  TVio* s = Mou.PutVio(VT_STA, 2, 2);
  bool seenRun = false;
  Mou.FOnStaDblClk = [&] {
    seenRun = Mou.FbStaRun;
    // While the action runs, the mouse changes nothing.
    Mou.VioMouDwn(s, TeMouBtn::Lft, TuPos{140, 130});
    EXPECT_FALSE(Mou.FbVioDrg);
    GuLstErrMsg = "no robot";
    return false;
  };
  Mou.StaDblClk();
  EXPECT_TRUE(seenRun);
  EXPECT_FALSE(Mou.FbStaRun);
  EXPECT_FALSE(Mou.FbMouArm);
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>{"no robot"}));
  Prs(s);
  EXPECT_FALSE(Mou.FbVioDrg);  // swallowed, and armed again
  EXPECT_TRUE(Mou.FbMouArm);
  Prs(s);
  EXPECT_TRUE(Mou.FbVioDrg);
  Mou.VioMouUp(TeMouBtn::Lft);

  Fake.MsgBox.Calls.clear();
  Mou.FOnStaDblClk = [] { return true; };
  Mou.StaDblClk();
  EXPECT_TRUE(Fake.MsgBox.Calls.empty());
  EXPECT_TRUE(Mou.FbMouArm);
}

TEST_F(VioMou, AnUnknownPointerPositionShowsItsBoxAndDoesNothing) {
  TVio* v = Mou.PutVio(VT_STO, 2, 2);
  Mou.VioMouDwn(v, TeMouBtn::Lft, std::nullopt);
  EXPECT_FALSE(Mou.FbVioDrg);
  Prs(v);
  Mou.VioMouMov(std::nullopt);
  Mou.VioMouMov(std::nullopt);
  EXPECT_EQ(v->Left(), 2 * 66);
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>(2, "#126, 'eVisualInstructionOnMouseGoingDown' error")));
}

// A measurer that counts its calls: each A is pts pixels wide, the line 2 * pts high.
class TCntMsr final : public ITxtMsr {
public:
  void MsrTxt(const std::string&, int pts, const std::string& txt, int& w, int& h) override {
    ++Calls;
    w = static_cast<int>(txt.size()) * pts;
    h = 2 * pts;
  }
  int Calls = 0;
};

TEST_F(VioMou, FontFittingMeasuresOncePerCellSize) {
  TCntMsr msr;
  TVioLay lay(Mou, &msr);
  // Width: 12 * 6 = 72 >= 66 at size 6, so 5; height: target 15, 2 * 8 = 16 at 8, so 7;
  // the longest name, 16 letters, fits the 66 pixels at 4.
  EXPECT_EQ(lay.FitPts(), 4);
  const int first = msr.Calls;
  EXPECT_EQ(lay.FitPts(), 4);
  EXPECT_EQ(msr.Calls, first);
  // Another field size fits afresh.
  // 132 wide: 12 * 11 = 132 at 11, so 10; 120 high: target 30 at 15, so 14; names 16 * 8 = 128.
  Mou.CrtVioFld(1600, 1200);
  EXPECT_EQ(lay.FitPts(), 8);
}

}  // namespace
