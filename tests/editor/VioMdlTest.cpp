// The vio type table, the field and its grid, placement and creation.
#include "EdtTstSup.h"

#include <utility>

namespace {

TEST(VioTyp, KeywordsLeadBackToTheirTypeAndCaptionsAreNoKeywords) {
  TFakePlatform fake;
  for (std::uint8_t t = 0; t < GcVioTypCnt; ++t) {
    EXPECT_EQ(GetVioTypOfKey(GetVioKey(t)), t);
    EXPECT_EQ(GetVioKey(t), GetVioCap(t) == "SWITCH\nINTERRUPT" ? "SWITCH_INTERRUPT1" : GetVioCap(t) + "1");
    EXPECT_EQ(GetVioFntClr(t), 0);
  }
  EXPECT_EQ(GetVioClr(VT_STA), RgbClr(252, 204, 4));
  EXPECT_EQ(GetVioClr(VT_SNS), RgbClr(204, 252, 252));
  EXPECT_TRUE(fake.MsgBox.Calls.empty());
}

TEST(VioTyp, FailedLookupsShowTheirBoxAndGiveEmptyOrMinusOne) {
  TFakePlatform fake;
  EXPECT_EQ(GetVioTypOfKey("START"), -1);  // captions are not keywords
  EXPECT_EQ(GetVioTypOfKey("start1"), -1);
  EXPECT_EQ(GetVioCap(13), "");
  EXPECT_EQ(GetVioKey(200), "");
  EXPECT_EQ(GetVioClr(13), -1);
  EXPECT_EQ(GetVioFntClr(13), -1);
  EXPECT_EQ(fake.MsgBox.Texts(), (std::vector<std::string>{
                                     "#141c, vio caption not found in list",
                                     "#141c, vio caption not found in list",
                                     "#141a, vio caption not found in list",
                                     "#141b, vio caption not found in list",
                                     "#142, vio color not found in list 'GuVioTyp'",
                                     "#143, vio font color not found in list",
                                 }));
}

TEST(VioFld, CellSizeFollowsTheFieldSizeOnce) {
  TFakePlatform fake;
  TVioPgmItp e(nullptr);
  EXPECT_EQ(std::make_pair(e.CelWdt(), e.CelHgt()), std::make_pair(66, 60));  // no window: 800 x 600
  const std::pair<int, int> sizes[][2] = {
      {{800, 600}, {66, 60}}, {{1024, 768}, {84, 76}}, {{799, 599}, {65, 59}}, {{0, 0}, {66, 60}}};
  for (const auto& s : sizes) {
    e.CrtVioFld(s[0].first, s[0].second);
    EXPECT_EQ(e.CelWdt(), s[1].first);
    EXPECT_EQ(e.CelHgt(), s[1].second);
    EXPECT_EQ(e.GrdCls(), 12);
    EXPECT_EQ(e.GrdRws(), 10);
  }
}

using VioGrd = TEdtTst;

TEST_F(VioGrd, CellsOutsideTheGridAreNeitherFreeNorOccupied) {
  EXPECT_TRUE(Edt.CelFre(11, 9));
  for (auto [c, r] : {std::pair{12, 0}, {0, 10}, {-1, 0}, {0, -1}}) {
    EXPECT_FALSE(Edt.CelFre(c, r));
    EXPECT_FALSE(Edt.CelOcc(c, r));
  }
  TVio* v = Edt.PutVio(VT_STO, 11, 9);
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(Edt.CelOcc(11, 9));
  EXPECT_FALSE(Edt.CelFre(11, 9));
  EXPECT_TRUE(Edt.CelFreExc(11, 9, v));
  EXPECT_FALSE(Edt.NbrCelFre(10, 9, ND_RGT));
  EXPECT_TRUE(Edt.NbrCelFre(11, 9, ND_LFT));
  EXPECT_FALSE(Edt.NbrCelFre(11, 9, ND_DWN));
}

TEST_F(VioGrd, AVioBetweenCellsOccupiesNoneButKeepsItsRecord) {
  TVio* v = Edt.PutVio(VT_STO, 2, 3);
  TVio* w = Edt.PutVio(VT_STO, 3, 3);
  Edt.SetVioPos(v, 2 * 66 + 30, 3 * 60);
  EXPECT_TRUE(Edt.CelFre(2, 3));
  EXPECT_TRUE(Edt.CelFre(3, 3) == false);
  // Neighbours come from the records, not from pixel positions.
  EXPECT_EQ(Edt.GetNbrVio(w, ND_LFT), v);
  EXPECT_EQ(Edt.GetNbrVio(v, ND_RGT), w);
  EXPECT_EQ(Edt.GetNbrVio(v, ND_UPP), nullptr);
}

TEST_F(VioGrd, DropGoesToTheNearestFreeCellOrBack) {
  TVio* v = Edt.PutVio(VT_STO, 2, 2);
  Edt.PutVio(VT_STO, 4, 2);
  struct {
    int L, T, Col, Row;
  } const cases[] = {
      {2 * 66 + 33, 120, 3, 2},  // half-way rounds to the next cell
      {3 * 66 + 32, 120, 3, 2},
      {3 * 66 + 33, 120, 3, 2},  // (4, 2) is taken: back to its record
      {11 * 66 + 30, 9 * 60 + 29, 11, 9},
      {11 * 66 + 33, 9 * 60, 11, 9},  // outside the grid: back
  };
  for (const auto& c : cases) {
    Edt.SetVioPos(v, c.L, c.T);
    Edt.DrpVio(v);
    EXPECT_EQ(std::make_pair(v->Rec.GrdCol, v->Rec.GrdRow), std::make_pair(c.Col, c.Row)) << c.L << "," << c.T;
    EXPECT_EQ(std::make_pair(v->Left(), v->Top()), std::make_pair(c.Col * 66, c.Row * 60));
    EXPECT_EQ(std::make_pair(Edt.CurCol(), Edt.CurRow()), std::make_pair(c.Col, c.Row));
  }
}

TEST_F(VioGrd, NeighbourQueryStopsAtTheBorder) {
  TVio* a = Edt.PutVio(VT_STO, 0, 0);
  TVio* b = Edt.PutVio(VT_STO, 0, 1);
  EXPECT_EQ(Edt.GetNbrVio(a, ND_LFT), nullptr);
  EXPECT_EQ(Edt.GetNbrVio(a, ND_UPP), nullptr);
  EXPECT_EQ(Edt.GetNbrVio(a, ND_DWN), b);
  EXPECT_EQ(Edt.GetNbrVio(b, ND_UPP), a);
  EXPECT_EQ(Edt.GetNbrVio(b, 7), nullptr);
}

TEST_F(VioGrd, FirstFreeCellOfColumnZero) {
  int c, r;
  ASSERT_TRUE(Edt.FstFreCelCol0(c, r));
  EXPECT_EQ(std::make_pair(c, r), std::make_pair(0, 0));
  for (int row = 0; row < 10; ++row)
    if (row != 6) Edt.PutVio(VT_STO, 0, row);
  ASSERT_TRUE(Edt.FstFreCelCol0(c, r));
  EXPECT_EQ(r, 6);
  Edt.PutVio(VT_STO, 0, 6);
  EXPECT_FALSE(Edt.FstFreCelCol0(c, r));  // even though the other columns are empty
}

using VioPlc = TEdtTst;

TEST_F(VioPlc, ChainGrowsRightThenDownColumnElevenThenLeft) {
  std::vector<std::pair<int, int>> want;
  for (int c = 0; c < 12; ++c) want.emplace_back(c, 0);
  for (int r = 1; r < 10; ++r) want.emplace_back(11, r);
  want.emplace_back(10, 9);
  want.emplace_back(9, 9);
  for (const auto& w : want) {
    ASSERT_TRUE(Edt.AddVio(VT_STO)) << GuLstErrMsg;
    const TVio* v = Edt.Vios().back();
    EXPECT_EQ(std::make_pair(v->Rec.GrdCol, v->Rec.GrdRow), w);
    EXPECT_EQ(std::make_pair(v->Left(), v->Top()), std::make_pair(w.first * 66, w.second * 60));
    EXPECT_EQ(Edt.FpCurVio, v);
  }
}

TEST_F(VioPlc, RemovedLastVioLeavesItsCellForTheNextOne) {
  ASSERT_TRUE(Edt.AddVio(VT_STO));
  ASSERT_TRUE(Edt.AddVio(VT_DLY));
  TVio* last = Edt.Vios().back();
  Edt.RmvVio(last);
  EXPECT_EQ(Edt.FpCurVio, nullptr);
  EXPECT_EQ(Edt.GetVioCnt(), 1);
  ASSERT_TRUE(Edt.AddVio(VT_RTI));
  EXPECT_EQ(Edt.Vios().back()->Rec.GrdCol, 1);
  EXPECT_EQ(Edt.Vios().back()->Rec.GrdRow, 0);
}

TEST_F(VioPlc, BlockedNeighboursFallBackInOrderDownLeftUpThenColumnZero) {
  // Last vio at (5, 5) with right and down taken: goes left.
  Edt.PutVio(VT_STO, 6, 5);
  Edt.PutVio(VT_STO, 5, 6);
  Edt.PutVio(VT_STO, 5, 5);
  ASSERT_TRUE(Edt.AddVio(VT_STO));
  EXPECT_EQ(Edt.CurCol(), 4);
  EXPECT_EQ(Edt.CurRow(), 5);
  // Surrounded on all four sides: first free cell of column 0.
  Edt.PutVio(VT_STO, 8, 1);
  Edt.PutVio(VT_STO, 8, 3);
  Edt.PutVio(VT_STO, 7, 2);
  Edt.PutVio(VT_STO, 9, 2);
  Edt.PutVio(VT_STO, 8, 2);
  ASSERT_TRUE(Edt.AddVio(VT_STO));
  EXPECT_EQ(Edt.CurCol(), 0);
  EXPECT_EQ(Edt.CurRow(), 0);
}

TEST_F(VioPlc, FullFieldRefusesAnotherVio) {
  for (int i = 0; i < 120; ++i) ASSERT_TRUE(Edt.AddVio(VT_STO)) << i;
  Obs.Evt.clear();
  EXPECT_FALSE(Edt.AddVio(VT_STO));
  EXPECT_EQ(GuLstErrMsg, "#312, No free vio position left on programming field");
  EXPECT_EQ(Edt.GetVioCnt(), 120);
  EXPECT_TRUE(Obs.Evt.empty());
}

TEST_F(VioPlc, AFreeCellOutsideColumnZeroIsFoundBeforeTheFieldCountsAsFull) {
  // Every cell but (6, 5) taken, the last placed vio far from it.
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 12; ++c)
      if (r != 5 || c != 6) Edt.PutVio(VT_STO, c, r);
  ASSERT_TRUE(Edt.AddVio(VT_RTI)) << GuLstErrMsg;
  EXPECT_EQ(Edt.CurCol(), 6);
  EXPECT_EQ(Edt.CurRow(), 5);
  EXPECT_FALSE(Edt.AddVio(VT_STO));
  EXPECT_EQ(GuLstErrMsg, "#312, No free vio position left on programming field");
}

TEST_F(VioPlc, UnknownTypeAndFailedCreationGiveTheirTexts) {
  EXPECT_FALSE(Edt.AddVio(13));
  EXPECT_EQ(GuLstErrMsg, "#131, Unknown instruction");
  EXPECT_FALSE(Edt.CrtSmpVio(VT_DLY, 0, 0));
  EXPECT_EQ(GuLstErrMsg, "#084, Unknown Visual Instruction Object Type");
  EXPECT_EQ(Edt.GetVioCnt(), 0);
}

TEST_F(VioPlc, ActorWithoutForwardInItsFirstTypeCannotBeAdded) {
  Edt.SarAndTkn().SetLines({"0x21", "A, XXX, Lamp, On, Lamp, Aan, Lampe, Ein"});
  EXPECT_FALSE(Edt.AddVio(VT_ACT));
  EXPECT_EQ(GuLstErrMsg, "#311, Could not put vio on programming panel");
  EXPECT_EQ(Edt.GetVioCnt(), 0);  // the half-built vio does not stay behind
  EXPECT_EQ(Edt.FpCurVio, nullptr);
  ASSERT_TRUE(Edt.CrtSarVio(0, 0, 0, 0, "", "", "", true) == true);
  EXPECT_FALSE(Edt.CrtSarVio(0, 0, 1, 0, "Lamp", "Blink", "", true));
  EXPECT_EQ(GuLstErrMsg,
            "#156, Sar vio combobox 'prop', default text 'Blink' not found in dropdown list (filled from "
            "language file)");
  EXPECT_FALSE(Edt.CrtSarVio(0, 0, 1, 0, "Motor", "", "", true));
  EXPECT_EQ(GuLstErrMsg,
            "#155, 'Actor' vio combobox 'actor-type', default text 'Motor' not found in dropdown list "
            "(filled from language file)");
  EXPECT_FALSE(Edt.CrtSarVio(0, 0, 1, 0, "", "", "", false));
  EXPECT_EQ(GuLstErrMsg, "#191, no sar types found in memo");
  EXPECT_EQ(Edt.GetVioCnt(), 1);
}

using VioCrt = TEdtTst;

TEST_F(VioCrt, DefaultsOfTheToolButtonPath) {
  TVio* dly = Edt.PutVio(VT_DLY, 0, 0);
  TVio* lbl = Edt.PutVio(VT_LBL, 1, 0);
  TVio* gto = Edt.PutVio(VT_GTO, 2, 0);
  TVio* act = Edt.PutVio(VT_ACT, 3, 0);
  TVio* sns = Edt.PutVio(VT_SNS, 4, 0);
  Obs.FocCnt = 0;
  TVio* spd = Edt.PutVio(VT_SPD, 5, 0);
  ASSERT_TRUE(dly && lbl && gto && act && sns && spd) << GuLstErrMsg;

  EXPECT_EQ(Edt.GetCtlTxt(dly, TeCtlKnd::Edt, CR_VAL), "10");
  EXPECT_EQ(dly->Caption(), "DELAY");
  EXPECT_EQ(Edt.GetCtlTxt(lbl, TeCtlKnd::Cbx, CR_LBL_NAM), "A");
  EXPECT_EQ(Edt.GetCtlTxt(gto, TeCtlKnd::Cbx, CR_GTO_NAM), "A");
  EXPECT_EQ(Edt.GetCtlTxt(act, TeCtlKnd::Cbx, CR_SAR_TYP), "Driving");
  EXPECT_EQ(Edt.GetCtlTxt(act, TeCtlKnd::Cbx, CR_SAR_COM), "Forward");
  EXPECT_EQ(Edt.GetCtlTxt(act, TeCtlKnd::Edt, CR_VAL), "10");
  EXPECT_EQ(act->Rec.SarTkn, 0x12);
  EXPECT_EQ(Edt.GetCtlTxt(sns, TeCtlKnd::Cbx, CR_SAR_TYP), "Track Led");  // first kind X or S
  EXPECT_EQ(sns->FndCtl(TeCtlKnd::Edt, CR_VAL), -1);
  EXPECT_EQ(Edt.GetCtlTxt(spd, TeCtlKnd::Edt, CR_SPD), "20");
  EXPECT_EQ(Edt.GetCtlTxt(spd, TeCtlKnd::Edt, CR_SPD_TWO), "");
  EXPECT_EQ(Obs.FocCnt, 1);  // the speed edit asks for the focus
  for (const TVio* v : Edt.Vios()) {
    EXPECT_TRUE(v->Visible());
    EXPECT_EQ(v->Width(), 66);
    EXPECT_EQ(v->Height(), 60);
    if (v->Rec.VioTyp != VT_ACT && v->Rec.VioTyp != VT_SNS) {
      EXPECT_EQ(v->Rec.SarTkn, 0xFF);
    }
  }
  // Shown vios let pending events run, except Goto and engine speed.
  EXPECT_EQ(Fake.EvtLoop.PrcMsgCnt, 4);
}

TEST_F(VioCrt, ChildControlsOfActorAndSensorInChildOrder) {
  TVio* act = Edt.PutVio(VT_ACT, 0, 0);
  TVio* sns = Edt.PutVio(VT_SNS, 1, 0);
  ASSERT_TRUE(act && sns);
  auto kinds = [](const TVio* v) {
    std::vector<std::pair<TeCtlKnd, std::uint8_t>> k;
    for (const TVioCtl& c : v->Ctls()) k.emplace_back(c.Knd, c.CtlRol);
    return k;
  };
  using K = TeCtlKnd;
  EXPECT_EQ(kinds(act), (std::vector<std::pair<K, std::uint8_t>>{
                            {K::Cbx, CR_SAR_TYP}, {K::Cbx, CR_SAR_COM}, {K::Edt, CR_VAL}, {K::Lbl, CR_NON}, {K::Lbl, CR_NON}}));
  EXPECT_EQ(kinds(sns), (std::vector<std::pair<K, std::uint8_t>>{
                            {K::Cbx, CR_SAR_TYP}, {K::Cbx, CR_SAR_COM}, {K::Lbl, CR_NON}}));
  const auto& c = act->Ctls();
  EXPECT_EQ(c[3].LblTxt, "cm");
  EXPECT_EQ(c[4].LblTxt, "ACTOR");
  EXPECT_EQ(act->Caption(), "");
  EXPECT_FALSE(c[0].Edt);
  EXPECT_EQ(sns->Ctls()[2].LblTxt, "SENSOR");
}

TEST_F(VioCrt, ObserversHearCreationVisibilityAndRemoval) {
  TVio* v = Edt.PutVio(VT_DLY, 0, 0);
  EXPECT_EQ(Obs.Evt, (std::vector<std::string>{"add", "ctl0", "ctl1", "chg", "show"}));
  Obs.Evt.clear();
  v->SetVisible(false);
  v->SetVisible(false);
  v->SetVisible(true);
  EXPECT_EQ(Obs.Evt, (std::vector<std::string>{"hide", "show"}));
  Obs.Evt.clear();
  Edt.PutVioOnCel(v, 3, 4);
  EXPECT_EQ(v->Rec.GrdCol, 3);
  EXPECT_EQ(v->Top(), 240);
  Edt.RmvAllVio();
  EXPECT_EQ(Obs.Evt, (std::vector<std::string>{"mov", "rmv", "clr"}));
  EXPECT_EQ(Edt.GetVioCnt(), 0);
}

TEST_F(VioCrt, RemovingAForeignVioShowsTheTagMessage) {
  TVioPgmItp other(nullptr);
  other.SetLgeIdx(0);
  TVio* v = other.PutVio(VT_STA, 0, 0);
  Edt.RmvVio(v);
  Edt.RmvVio(nullptr);
  EXPECT_EQ(Fake.MsgBox.Texts(), (std::vector<std::string>(2, "#125, no vio-tag was found when trying to remove vio")));
  EXPECT_EQ(other.GetVioCnt(), 1);
}

TEST_F(VioCrt, RemovalClearsWalkLinksThatPointAtTheVio) {
  TVio* a = Edt.PutVio(VT_STA, 0, 0);
  TVio* b = Edt.PutVio(VT_STO, 1, 0);
  a->Rec.pNxtVio = b;
  b->Rec.pPrvVio = a;
  Edt.RmvVio(b);
  EXPECT_EQ(a->Rec.pNxtVio, nullptr);
}

}  // namespace
