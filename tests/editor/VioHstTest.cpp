// Undo and redo of the field, and the unsaved mark.
#include <random>

#include "EdtTstSup.h"

namespace {

class VioHst : public TEdtTst {
protected:
  TStrLst Lns() {
    TStrLst l;
    EXPECT_TRUE(Edt.BldVioLns(l));
    return l;
  }
};

TEST_F(VioHst, TwoHundredRandomEditsUndoToTheEmptyFieldAndRedoToTheSameFile) {
  std::mt19937 rnd(1234);
  auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
  static constexpr std::uint8_t GcTyp[] = {VT_STO, VT_IFF, VT_THN, VT_ELS, VT_LBL, VT_GTO,
                                           VT_DLY, VT_ACT, VT_SNS, VT_SPD, VT_RTI};
  std::vector<TStrLst> stp{Lns()};
  const TVio* lstTyp = nullptr;  // typing twice in a row into one control is one step
  while (stp.size() <= 200) {
    const int n = Edt.GetVioCnt();
    const int k = n < 4 ? 0 : pick(5);
    const TVio* typ = nullptr;
    if (k == 0) {
      Edt.AddVio(GcTyp[pick(static_cast<int>(std::size(GcTyp)))]);
    } else if (k == 1) {
      TVio* v = Edt.Vios()[static_cast<std::size_t>(pick(n))];
      Edt.SetVioPos(v, pick(12) * Edt.CelWdt() + pick(20), pick(10) * Edt.CelHgt() + pick(20));
      Edt.DrpVio(v);
    } else if (k == 2) {
      Edt.RmvVio(Edt.Vios()[static_cast<std::size_t>(pick(n))]);
    } else {
      TVio* v = Edt.Vios()[static_cast<std::size_t>(pick(n))];
      const int e = v->FstCtl(TeCtlKnd::Edt), c = v->FstCtl(TeCtlKnd::Cbx);
      if (e >= 0 && v != lstTyp) {
        Edt.SetCtlTxt(v, e, std::to_string(pick(300)));
        typ = v;
      } else if (c >= 0 && !v->Ctls()[static_cast<std::size_t>(c)].Itms.empty()) {
        Edt.SelCtlItm(v, c, pick(static_cast<int>(v->Ctls()[static_cast<std::size_t>(c)].Itms.size())));
      }
    }
    TStrLst now = Lns();
    if (now != stp.back()) {
      stp.push_back(std::move(now));
      lstTyp = typ;
    }
  }
  const std::string fil = Tmp.Path() + "all.vio";
  ASSERT_TRUE(Edt.SavVioFil(fil));
  const std::string bfr = RdAll(fil);

  // Undo and Redo never move the focus into a vio (an Engine speed vio's
  // creation would take it, and with it the next Ctrl+Z).
  const int foc = Obs.FocCnt;
  for (std::size_t i = stp.size() - 1; i > 0; --i) {
    ASSERT_TRUE(Edt.Und()) << i;
    ASSERT_EQ(Lns(), stp[i - 1]) << "after undoing step " << i;
  }
  EXPECT_FALSE(Edt.CanUnd());
  EXPECT_EQ(Edt.GetVioCnt(), 0);
  for (std::size_t i = 1; i < stp.size(); ++i) {
    ASSERT_TRUE(Edt.Red()) << i;
    ASSERT_EQ(Lns(), stp[i]) << "after redoing step " << i;
  }
  EXPECT_FALSE(Edt.CanRed());
  EXPECT_EQ(Obs.FocCnt, foc);
  ASSERT_TRUE(Edt.SavVioFil(fil));
  EXPECT_EQ(RdAll(fil), bfr);
}

TEST_F(VioHst, UndoBringsBackFlagsLabelsAndTheStartButton) {
  // What the Start tool button was last told; 0 for nothing, 1 disabled, 2 enabled.
  int sta = 0;
  Edt.FOnTbnEna = [&](std::uint8_t t, bool e) {
    if (t == VT_STA) sta = e ? 2 : 1;
  };
  ASSERT_NE(Edt.PutVio(VT_STA, 0, 0), nullptr);
  TVio* dly = Edt.PutVio(VT_DLY, 1, 0);
  const int e = dly->FndCtl(TeCtlKnd::Edt, CR_VAL);
  Edt.SetCtlTxt(dly, e, "300");
  EXPECT_FALSE(Edt.ChkDlyVal(dly));
  ASSERT_TRUE(Edt.FbDlyErr);
  TVio* lbl = Edt.PutVio(VT_LBL, 2, 0);
  Edt.SetCtlTxt(lbl, lbl->FndCtl(TeCtlKnd::Cbx, CR_LBL_NAM), "Loop");
  Edt.LblNamEnt(lbl);
  EXPECT_EQ(Edt.LblVioDdwStl().size(), 2u);

  ASSERT_TRUE(Edt.Und());  // the label's name
  ASSERT_TRUE(Edt.Und());  // the label
  EXPECT_EQ(Edt.GetVioCnt(), 2);
  EXPECT_EQ(Edt.LblVioDdwStl().size(), 0u);
  // The refused value is back with its flag, on the vio that holds it now.
  EXPECT_TRUE(Edt.FbDlyErr);
  Edt.RmvVio(Edt.Vios()[1]);
  EXPECT_FALSE(Edt.FbDlyErr);
  ASSERT_TRUE(Edt.Und());
  ASSERT_TRUE(Edt.Und());  // the value 300
  EXPECT_FALSE(Edt.FbDlyErr);
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[1], TeCtlKnd::Edt, CR_VAL), "10");
  ASSERT_TRUE(Edt.Und());
  sta = 0;
  ASSERT_TRUE(Edt.Und());  // the Start vio goes: its tool button comes back
  EXPECT_EQ(Edt.GetVioCnt(), 0);
  EXPECT_EQ(sta, 2);
  ASSERT_TRUE(Edt.Red());
  EXPECT_EQ(sta, 1);
  ASSERT_TRUE(Edt.Red());
  ASSERT_TRUE(Edt.Red());
  EXPECT_TRUE(Edt.FbDlyErr);
}

TEST_F(VioHst, TypingInOneControlIsOneStepAndANewStepEndsTheRedo) {
  TVio* dly = Edt.PutVio(VT_DLY, 0, 0);
  const int e = dly->FndCtl(TeCtlKnd::Edt, CR_VAL);
  for (const char* t : {"1", "12", "123"}) Edt.SetCtlTxt(dly, e, t);
  EXPECT_EQ(Edt.HstCnt(), 3u);
  ASSERT_TRUE(Edt.Und());
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), "10");
  // Typing after an undo starts a step of its own and drops the undone one.
  Edt.SetCtlTxt(Edt.Vios()[0], e, "7");
  EXPECT_FALSE(Edt.CanRed());
  ASSERT_TRUE(Edt.Und());
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), "10");
  // An emptied delay comes back empty, not as the default a file would give.
  Edt.SetCtlTxt(Edt.Vios()[0], e, "");
  Edt.PutVio(VT_STO, 1, 0);
  ASSERT_TRUE(Edt.Und());
  EXPECT_EQ(Edt.GetCtlTxt(Edt.Vios()[0], TeCtlKnd::Edt, CR_VAL), "");
}

TEST_F(VioHst, HistoryKeepsItsDepthAndDropsTheOldestSteps) {
  for (std::size_t i = 0; i < TVioPgmItp::GcMaxUndStp + 20; ++i) {
    TVio* v = Edt.PutVio(VT_STO, static_cast<int>(i % 12), static_cast<int>((i / 12) % 10));
    Edt.RmvVio(v);
  }
  EXPECT_EQ(Edt.HstCnt(), TVioPgmItp::GcMaxUndStp + 1);
  std::size_t n = 0;
  while (Edt.Und()) ++n;
  EXPECT_EQ(n, TVioPgmItp::GcMaxUndStp);
}

TEST_F(VioHst, UnsavedMarkFollowsSaveOpenUndoAndAFailedOpen) {
  class TDrtObs final : public IVioPgmObs {
  public:
    void HstChg() override { ++Cnt; }
    int Cnt = 0;
  } obs;
  Edt.AddObs(&obs);
  EXPECT_FALSE(Edt.Drt());
  Edt.PutVio(VT_STA, 0, 0);
  EXPECT_TRUE(Edt.Drt());
  EXPECT_GT(obs.Cnt, 0);
  const std::string f = Tmp.Path() + "p.vio";
  ASSERT_TRUE(Edt.SavVioFil(f));
  EXPECT_FALSE(Edt.Drt());
  Edt.PutVio(VT_STO, 1, 0);
  EXPECT_TRUE(Edt.Drt());
  ASSERT_TRUE(Edt.Und());
  EXPECT_FALSE(Edt.Drt());  // back at the saved program

  // Opening a file is a step: undo brings back the program before it.
  const std::string g = Tmp.Write("g.vio", "STOP1\r\n0005\r\n0005\r\n\r\nEOF\r\n");
  ASSERT_TRUE(Edt.LodVioFil(g));
  EXPECT_FALSE(Edt.Drt());
  ASSERT_TRUE(Edt.Und());
  ASSERT_EQ(Edt.GetVioCnt(), 1);
  EXPECT_EQ(Edt.Vios()[0]->Rec.VioTyp, VT_STA);
  // ... with its own file and saved state, not the opened file's.
  EXPECT_EQ(Edt.DocNam(), f);
  EXPECT_FALSE(Edt.Drt());
  ASSERT_TRUE(Edt.Red());
  EXPECT_EQ(Edt.DocNam(), g);

  // A file that fails half way: the step is taken back for good.
  const std::string bad = Tmp.Write("b.vio", "STOP1\r\n0001\r\n0001\r\n\r\nACTOR1\r\n0002\r\n0001\r\nHover\r\nUp\r\n5\r\n\r\nEOF\r\n");
  EXPECT_FALSE(Edt.LodVioFil(bad));
  ASSERT_TRUE(Edt.DrpStp());
  EXPECT_FALSE(Edt.CanRed());
  ASSERT_EQ(Edt.GetVioCnt(), 1);
  EXPECT_EQ(Edt.Vios()[0]->Left(), 4 * Edt.CelWdt());
  EXPECT_FALSE(Edt.Drt());
  Edt.RmvObs(&obs);
}

}  // namespace
