// Parameter editing: key filters, focus-loss checks, the label list, the sar
// type and command changes, and the limits checked before translation.
#include "EdtTstSup.h"

namespace {

using VioPrm = TEdtTst;

// One focus-loss check: the vio type, its edit, the text typed and the outcome.
struct TChkCas {
  std::uint8_t Typ;
  const char* Txt;
  const char* Box;  // the error box; empty when the value passes
};

TEST_F(VioPrm, FocusLossChecksWithTheirExactMessages) {
  // Each text that is no whole number follows a value that passed: its flag is seen to be set by it.
  const TChkCas cases[] = {
      {VT_DLY, "10", ""},
      {VT_DLY, "255", ""},
      {VT_DLY, "256", "Illigal delay value '256', valid values are 0 - 255"},
      {VT_DLY, "0", ""},
      {VT_DLY, "1x", "'1x' is not a valid integer value"},
      {VT_DLY, "-1", "Illigal delay value '-1', valid values are 0 - 255"},
      {VT_ACT, "255", ""},
      {VT_ACT, "256", "Distance value '256' above maximum value 255"},
      {VT_ACT, "0", ""},
      {VT_ACT, "1 0", "'1 0' is not a valid integer value"},
      {VT_ACT, "", "No distance value found"},
      {VT_SPD, "3", ""},
      {VT_SPD, "", "'' is not a valid integer value"},
      {VT_SPD, "2", "Illegal left engine speed value '2', valid values are 3 - 60"},
      {VT_SPD, "60", ""},
      {VT_SPD, "61", "Illegal left engine speed value '61', valid values are 3 - 60"},
  };
  TVio* dly = Edt.PutVio(VT_DLY, 0, 0);
  TVio* act = Edt.PutVio(VT_ACT, 1, 0);
  TVio* spd = Edt.PutVio(VT_SPD, 2, 0);
  for (const TChkCas& c : cases) {
    SCOPED_TRACE(std::to_string(c.Typ) + " '" + c.Txt + "'");
    TVio* v = c.Typ == VT_DLY ? dly : c.Typ == VT_ACT ? act : spd;
    const bool& flg = c.Typ == VT_DLY ? Edt.FbDlyErr : c.Typ == VT_ACT ? Edt.FbDstErr : Edt.FbSpdErr;
    const int e = v->FndCtl(TeCtlKnd::Edt, c.Typ == VT_SPD ? CR_SPD : CR_VAL);
    const bool ok = *c.Box == 0;
    Fake.MsgBox.Calls.clear();
    Obs.FocCnt = 0;
    Edt.SetCtlTxt(v, e, c.Txt);
    const bool res = c.Typ == VT_DLY ? Edt.ChkDlyVal(v) : c.Typ == VT_ACT ? Edt.ChkDstVal(v) : Edt.ChkSpdVal(v);
    EXPECT_EQ(res, ok);
    EXPECT_EQ(flg, !ok);
    EXPECT_EQ(Obs.FocCnt, ok ? 0 : 1);  // the edit asks for the focus back
    if (ok) {
      EXPECT_TRUE(Fake.MsgBox.Calls.empty());
    } else {
      ASSERT_EQ(Fake.MsgBox.Calls.size(), 1u);
      EXPECT_EQ(Fake.MsgBox.Calls[0].Text, c.Box);
      EXPECT_EQ(Fake.MsgBox.Calls[0].Caption, "Error");
      EXPECT_EQ(v->CtlTxt(e), c.Txt);  // the wrong text stays
    }
  }
}

// Removing the vio whose value set a flag clears that flag; removing another
// vio does not.
TEST_F(VioPrm, RemovingTheFaultyVioClearsItsFlag) {
  TVio* v = Edt.PutVio(VT_SPD, 0, 0);
  TVio* d = Edt.PutVio(VT_DLY, 1, 0);
  TVio* o = Edt.PutVio(VT_STO, 2, 0);
  Edt.SetCtlTxt(v, v->FndCtl(TeCtlKnd::Edt, CR_SPD), "99");
  Edt.SetCtlTxt(d, d->FndCtl(TeCtlKnd::Edt, CR_VAL), "300");
  Edt.ChkSpdVal(v);
  Edt.ChkDlyVal(d);
  ASSERT_TRUE(Edt.FbSpdErr && Edt.FbDlyErr);
  Edt.RmvVio(o);
  EXPECT_TRUE(Edt.FbSpdErr && Edt.FbDlyErr);
  Edt.RmvVio(v);
  EXPECT_FALSE(Edt.FbSpdErr);
  EXPECT_TRUE(Edt.FbDlyErr);
  Edt.RmvAllVio();
  EXPECT_FALSE(Edt.FbDlyErr);
  // The flag belongs to the last refusal: a later refused value of another
  // vio keeps it set when the first vio goes.
  TVio* a = Edt.PutVio(VT_SPD, 0, 0);
  TVio* b = Edt.PutVio(VT_SPD, 1, 0);
  Edt.SetCtlTxt(a, a->FndCtl(TeCtlKnd::Edt, CR_SPD), "1");
  Edt.ChkSpdVal(a);
  Edt.SetCtlTxt(b, b->FndCtl(TeCtlKnd::Edt, CR_SPD), "2");
  Edt.ChkSpdVal(b);
  Edt.RmvVio(a);
  EXPECT_TRUE(Edt.FbSpdErr);
  Edt.RmvVio(b);
  EXPECT_FALSE(Edt.FbSpdErr);
}

// The gate of the tool bar commands never refuses without a word: a refused
// value whose own check did not just run is checked again.
TEST_F(VioPrm, TheGateSaysWhyItRefusesAndSeesACorrectedValue) {
  TVio* d = Edt.PutVio(VT_DLY, 0, 0);
  const int e = d->FndCtl(TeCtlKnd::Edt, CR_VAL);
  Edt.SetCtlTxt(d, e, "300");
  unsigned rfs = Edt.RfsCnt();
  EXPECT_FALSE(Edt.ChkDlyVal(d));  // the focus left the edit: the check said why
  EXPECT_TRUE(Edt.ChkPndInp(rfs));
  EXPECT_EQ(Fake.MsgBox.Calls.size(), 1u);
  // The focus went elsewhere without the check: the gate asks again.
  rfs = Edt.RfsCnt();
  EXPECT_TRUE(Edt.ChkPndInp(rfs));
  ASSERT_EQ(Fake.MsgBox.Calls.size(), 2u);
  EXPECT_EQ(Fake.MsgBox.Calls[1].Text, "Illigal delay value '300', valid values are 0 - 255");
  // Corrected without a check: the gate lets the command go.
  Edt.SetCtlTxt(d, e, "30");
  EXPECT_FALSE(Edt.ChkPndInp(Edt.RfsCnt()));
  EXPECT_FALSE(Edt.FbDlyErr);
  EXPECT_EQ(Fake.MsgBox.Calls.size(), 2u);
}

TEST_F(VioPrm, DigitFilterSetsTheLengthAndPassesDigitsEnterAndBackspace) {
  TVio* act = Edt.PutVio(VT_ACT, 0, 0);
  TVio* spd = Edt.PutVio(VT_SPD, 1, 0);
  const int ae = act->FndCtl(TeCtlKnd::Edt, CR_VAL);
  const int se = spd->FndCtl(TeCtlKnd::Edt, CR_SPD);
  EXPECT_EQ(Edt.SpdFocGai(spd), 0);  // nothing selected before the first key
  for (char k : {'0', '5', '9', '\r', '\b'}) EXPECT_TRUE(Edt.DgtFlt(act, ae, k)) << int(k);
  for (char k : {'a', '-', ' ', '.', '\x1b'}) EXPECT_FALSE(Edt.DgtFlt(spd, se, k)) << int(k);
  EXPECT_EQ(act->Ctls()[static_cast<std::size_t>(ae)].MaxLen, 3);
  EXPECT_EQ(spd->Ctls()[static_cast<std::size_t>(se)].MaxLen, 2);
  EXPECT_EQ(Edt.SpdFocGai(spd), 2);
  EXPECT_EQ(Edt.FpCurVio, spd);
}

TEST_F(VioPrm, LabelEnterCopiesTheItemsOfThatComboIntoTheLabelList) {
  TVio* l1 = Edt.PutVio(VT_LBL, 0, 0);
  TVio* l2 = Edt.PutVio(VT_LBL, 1, 0);
  const int c = l1->FndCtl(TeCtlKnd::Cbx, CR_LBL_NAM);
  Edt.LblKeyPrs(l1, 'x');  // only Enter does anything
  EXPECT_TRUE(Edt.LblVioDdwStl().empty());
  EXPECT_EQ(Edt.FpCurVio, l1);
  Edt.LblKeyPrs(l1, '\r');
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"A"}));
  Edt.SetCtlTxt(l1, c, "B");
  Edt.LblNamEnt(l1);
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"A", "B"}));
  Edt.SetCtlTxt(l1, c, "b");  // already there, without regard to case
  Edt.LblNamEnt(l1);
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"A", "B"}));
  // The second Label vio still has only A: its list replaces the label list.
  Edt.SetCtlTxt(l2, c, "C");
  Edt.LblNamEnt(l2);
  EXPECT_EQ(Edt.LblVioDdwStl(), (TStrLst{"A", "C"}));
  EXPECT_EQ(Edt.FpCurVio, l2);

  // A Goto lists the names of the last Label vio in which Enter was pressed.
  TVio* g = Edt.PutVio(VT_GTO, 2, 0);
  EXPECT_EQ(Edt.GetCtlTxt(g, TeCtlKnd::Cbx, CR_GTO_NAM), "A");
  Edt.SetCtlTxt(g, g->FndCtl(TeCtlKnd::Cbx, CR_GTO_NAM), "typed");
  Edt.LblNamEnt(l1);
  Edt.GtoLblRfs(g);
  EXPECT_EQ(g->Ctls()[0].Itms, (TStrLst{"A", "B"}));
  EXPECT_EQ(Edt.GetCtlTxt(g, TeCtlKnd::Cbx, CR_GTO_NAM), "typed");
}

TEST_F(VioPrm, SarTypeChangeRefillsCommandsAndStoresTheFirstToken) {
  TVio* v = Edt.PutVio(VT_ACT, 0, 0);
  const int t = v->FndCtl(TeCtlKnd::Cbx, CR_SAR_TYP);
  const int c = v->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM);
  const int e = v->FndCtl(TeCtlKnd::Edt, CR_VAL);
  const int u = v->FstCtl(TeCtlKnd::Lbl);
  const TStrLst& itms = v->Ctls()[static_cast<std::size_t>(t)].Itms;
  int led = -1, drv = -1;
  for (std::size_t i = 0; i < itms.size(); ++i) {
    if (itms[i] == "System led") led = static_cast<int>(i);
    if (itms[i] == "Driving") drv = static_cast<int>(i);
  }
  ASSERT_GE(led, 0);
  Edt.SelCtlItm(v, t, led);
  EXPECT_EQ(v->Ctls()[static_cast<std::size_t>(c)].Itms, (TStrLst{"On", "Off", "Blink", "Flash"}));
  EXPECT_EQ(Edt.GetCtlTxt(v, TeCtlKnd::Cbx, CR_SAR_COM), "On");
  EXPECT_EQ(v->Rec.SarTkn, 0x20);
  EXPECT_EQ(v->Ctls()[static_cast<std::size_t>(u)].LblTxt, "0.1s");
  EXPECT_TRUE(v->Ctls()[static_cast<std::size_t>(u)].Vis);

  // Driving starts with Stop: no value to show until Forward is chosen.
  Edt.SelCtlItm(v, t, drv);
  EXPECT_EQ(Edt.GetCtlTxt(v, TeCtlKnd::Cbx, CR_SAR_COM), "Stop");
  EXPECT_EQ(v->Rec.SarTkn, 0x11);
  EXPECT_FALSE(v->Ctls()[static_cast<std::size_t>(u)].Vis);
  EXPECT_FALSE(v->Ctls()[static_cast<std::size_t>(e)].Vis);
  Edt.SelCtlItm(v, c, 2);  // Reverse
  EXPECT_EQ(v->Rec.SarTkn, 0x13);
  EXPECT_TRUE(v->Ctls()[static_cast<std::size_t>(e)].Vis);
  EXPECT_EQ(v->Ctls()[static_cast<std::size_t>(u)].LblTxt, "cm");
  EXPECT_TRUE(Fake.MsgBox.Calls.empty());
}

TEST_F(VioPrm, SarChangeFailuresKeepTokenAndShowTheText) {
  Edt.SarAndTkn().SetLines({"0x58", "S, XXX, Light, Dark, Licht, Donker, Licht, Dunkel", "S, XXX, Light, Bright, a, b, c, d"});
  TVio* v = Edt.PutVio(VT_SNS, 0, 0);
  ASSERT_NE(v, nullptr) << GuLstErrMsg;
  EXPECT_EQ(v->Rec.SarTkn, 0x58);
  Edt.SelCtlItm(v, v->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM), 1);  // Bright has no value line
  EXPECT_EQ(v->Rec.SarTkn, 0x58);
  ASSERT_EQ(Fake.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Fake.MsgBox.Calls[0].Text,
            "#183, sar type/command combination 'Light'/'Bright' not found in language memo");
  EXPECT_EQ(Fake.MsgBox.Calls[0].Caption, "");

  TVio* d = Edt.PutVio(VT_DLY, 1, 0);
  Edt.SarTypChg(d);
  EXPECT_EQ(Fake.MsgBox.Calls.back().Text, "#181, unknown vio type on Combobox change event");
}

TEST_F(VioPrm, LimitsBeforeTranslationNameTheVio) {
  const std::string prg =
      "DELAY1\r\n0002\r\n0003\r\n300\r\n\r\n"
      "ENGINE SPEED1\r\n0004\r\n0001\r\n0\r\n\r\n\r\n"
      "ACTOR1\r\n0005\r\n0001\r\nDriving\r\nForward\r\n256\r\n\r\n"
      "DELAY1\r\n0006\r\n0001\r\n255\r\n\r\n"
      "ACTOR1\r\n0007\r\n0001\r\nDriving\r\nForward\r\n\r\n\r\n"
      "ENGINE SPEED1\r\n0008\r\n0001\r\n3\r\n\r\n\r\nEOF\r\n";
  ASSERT_TRUE(Edt.LodVioFil(Tmp.Write("lim.vio", prg))) << GuLstErrMsg;
  const auto& v = Edt.Vios();
  ASSERT_EQ(v.size(), 6u);
  EXPECT_FALSE(Edt.ChkVioPrm(v[0]));
  EXPECT_EQ(GuLstErrMsg, "#410, DELAY vio at column 2, row 3: delay value '300' does not fit, valid values are 0 - 255");
  EXPECT_FALSE(Edt.ChkVioPrm(v[1]));
  EXPECT_EQ(GuLstErrMsg,
            "#413, ENGINE SPEED vio at column 4, row 1: engine speed '0' is not allowed, the speed must be at "
            "least 1");
  EXPECT_FALSE(Edt.ChkVioPrm(v[2]));
  EXPECT_EQ(GuLstErrMsg,
            "#411, ACTOR vio at column 5, row 1: distance or time value '256' does not fit, valid values are 0 - "
            "255");
  for (int i : {3, 4, 5}) EXPECT_TRUE(Edt.ChkVioPrm(v[static_cast<std::size_t>(i)])) << i;
  Edt.SetCtlTxt(v[5], v[5]->FndCtl(TeCtlKnd::Edt, CR_SPD), "");
  EXPECT_FALSE(Edt.ChkVioPrm(v[5]));
  EXPECT_EQ(GuLstErrMsg, "#412, ENGINE SPEED vio at column 8, row 1: engine speed '' is not a whole number");
}

}  // namespace
