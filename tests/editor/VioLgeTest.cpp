// Switching the language shows the sar vios on the field in the new language;
// program files written in another language open.
#include <vector>

#include "EdtTstSup.h"
#include "messages/SysLgeMsg.h"
#include "translator/InsAndTkn.h"

namespace {

int FndPos(const TStrLst& lst, const std::string& s) {
  for (std::size_t i = 0; i < lst.size(); ++i)
    if (lst[i] == s) return static_cast<int>(i);
  return -1;
}

class VioLge : public TEdtTst {
protected:
  void SetUp() override {
    TEdtTst::SetUp();
    ASSERT_TRUE(Msg.LodSysMsgFil(TESSARO_DATA_DIR "/SysMsgFil.sys"));
    GuSysLgeMsg = &Msg;
  }
  void TearDown() override { GuSysLgeMsg = nullptr; }
  TVio* Sar(bool actor, const std::string& typ, const std::string& com, const std::string& val, int col,
            int row) {
    EXPECT_TRUE(Edt.CrtSarVio(Edt.LgeIdx(), 0, col, row, typ, com, val, actor)) << GuLstErrMsg;
    return Edt.Vios().back();
  }
  std::string Txt(const TVio* v, std::uint8_t rol) { return Edt.GetCtlTxt(v, TeCtlKnd::Cbx, rol); }

  // START, a sensor question with both ways, STOP: a program that uses
  // names that differ between the languages.
  void BldPgm() {
    ASSERT_TRUE(Edt.CrtSmpVio(VT_STA, 0, 0));
    ASSERT_TRUE(Edt.CrtSmpVio(VT_IFF, 0, 1));
    Sns = Sar(false, "Bumpers", "Left pressed", "", 0, 2);
    ASSERT_TRUE(Edt.CrtSmpVio(VT_THN, 0, 3));
    Act = Sar(true, "Driving", "Turn left", "", 0, 4);
    ASSERT_TRUE(Edt.CrtSmpVio(VT_STO, 0, 5));
    ASSERT_TRUE(Edt.CrtSmpVio(VT_ELS, 1, 2));
    Fwd = Sar(true, "Driving", "Forward", "25", 2, 2);
    ASSERT_TRUE(Edt.CrtSmpVio(VT_STO, 3, 2));
  }

  std::vector<std::uint8_t> Stm() {
    EXPECT_TRUE(Edt.TrnVioPgm()) << GuLstErrMsg;
    return Edt.FpInsAndTkn->FpTsmTknLst;
  }

  TVio* Sns = nullptr;
  TVio* Act = nullptr;
  TVio* Fwd = nullptr;
  TSysLgeMsg Msg{nullptr, TESSARO_DATA_DIR "/"};
};

TEST_F(VioLge, SwitchShowsTheNewNamesAndKeepsTokenValueAndStream) {
  BldPgm();
  const std::vector<std::uint8_t> eng = Stm();
  ASSERT_FALSE(eng.empty());
  const std::uint8_t snsTkn = Sns->Rec.SarTkn, actTkn = Act->Rec.SarTkn, fwdTkn = Fwd->Rec.SarTkn;
  Obs.Evt.clear();
  Edt.MrkSav();
  const std::size_t stp = Edt.HstCnt();

  ASSERT_TRUE(Edt.SetLgeIdx(2)) << GuLstErrMsg;
  // A switch is no edit, also for the next action that changes nothing.
  EXPECT_TRUE(Edt.ChkDstVal(Fwd));
  EXPECT_EQ(Edt.HstCnt(), stp);
  EXPECT_FALSE(Edt.Drt());
  EXPECT_EQ(Edt.LgeIdx(), 2);
  EXPECT_EQ(Txt(Sns, CR_SAR_TYP), "Stossfaenger");
  EXPECT_EQ(Txt(Sns, CR_SAR_COM), "Links gedrueckt");
  EXPECT_EQ(Txt(Act, CR_SAR_TYP), "Driving");
  EXPECT_EQ(Txt(Act, CR_SAR_COM), "Links abbiegen");
  EXPECT_EQ(Txt(Fwd, CR_SAR_COM), "Forward");
  // The lists are those of the new language.
  const TStrLst& typs = Ctl(Sns, TeCtlKnd::Cbx, CR_SAR_TYP).Itms;
  EXPECT_GE(FndPos(typs, "Stossfaenger"), 0);
  EXPECT_LT(FndPos(typs, "Bumpers"), 0);
  EXPECT_GE(FndPos(Ctl(Act, TeCtlKnd::Cbx, CR_SAR_COM).Itms, "Rechts drehen"), 0);
  EXPECT_EQ(Sns->Rec.SarTkn, snsTkn);
  EXPECT_EQ(Act->Rec.SarTkn, actTkn);
  EXPECT_EQ(Fwd->Rec.SarTkn, fwdTkn);
  EXPECT_EQ(Edt.GetCtlTxt(Fwd, TeCtlKnd::Edt, CR_VAL), "25");
  // The views heard of the changed lists.
  EXPECT_TRUE(Obs.Has("ctl" + std::to_string(Sns->FndCtl(TeCtlKnd::Cbx, CR_SAR_TYP))));
  EXPECT_TRUE(Obs.Has("ctl" + std::to_string(Act->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM))));
  EXPECT_EQ(Stm(), eng);

  ASSERT_TRUE(Edt.SetLgeIdx(1)) << GuLstErrMsg;
  EXPECT_EQ(Txt(Act, CR_SAR_COM), "Linksaf");
  EXPECT_EQ(Txt(Sns, CR_SAR_COM), "Links ingedrukt");
  EXPECT_EQ(Stm(), eng);
  ASSERT_TRUE(Edt.SetLgeIdx(0)) << GuLstErrMsg;
  EXPECT_EQ(Txt(Act, CR_SAR_COM), "Turn left");
  EXPECT_EQ(Txt(Sns, CR_SAR_TYP), "Bumpers");
  EXPECT_EQ(Stm(), eng);
}

TEST_F(VioLge, TheSameLanguageChangesNothing) {
  BldPgm();
  Obs.Evt.clear();
  EXPECT_TRUE(Edt.SetLgeIdx(0));
  EXPECT_TRUE(Obs.Evt.empty());
  EXPECT_EQ(Txt(Act, CR_SAR_COM), "Turn left");
}

TEST_F(VioLge, SwitchKeepsWhichValueFieldsAreShown) {
  BldPgm();
  // Turning left takes no value: once the command is chosen the field goes.
  Edt.SarComChg(Act);
  ASSERT_FALSE(Ctl(Act, TeCtlKnd::Edt, CR_VAL).Vis);
  ASSERT_TRUE(Ctl(Fwd, TeCtlKnd::Edt, CR_VAL).Vis);
  for (std::uint8_t lge : {2, 1, 0}) {
    ASSERT_TRUE(Edt.SetLgeIdx(lge)) << GuLstErrMsg;
    EXPECT_FALSE(Ctl(Act, TeCtlKnd::Edt, CR_VAL).Vis) << int(lge);
    EXPECT_TRUE(Ctl(Fwd, TeCtlKnd::Edt, CR_VAL).Vis) << int(lge);
  }
}

TEST_F(VioLge, ATokenWithoutNamesInTheNewLanguageKeepsItsNames) {
  // In German both commands are spelt alike, so the second token has no
  // German names of its own.
  Edt.SarAndTkn().SetLines({"0x11", "A,XXX,Move,Ahead,Rijden,Vooruit,Fahren,Vor", "0x12",
                            "A,XXX,Move,Onward,Rijden,Verder,Fahren,Vor"});
  TVio* a = Sar(true, "Move", "Onward", "5", 2, 2);
  ASSERT_EQ(a->Rec.SarTkn, 0x12);
  GuLstErrMsg.clear();
  EXPECT_FALSE(Edt.SetLgeIdx(2));
  EXPECT_NE(GuLstErrMsg.find("#415"), std::string::npos);
  EXPECT_NE(GuLstErrMsg.find("column 3, row 3"), std::string::npos) << GuLstErrMsg;
  EXPECT_EQ(Txt(a, CR_SAR_COM), "Onward");
  EXPECT_EQ(a->Rec.SarTkn, 0x12);
  // Dutch has names for it.
  EXPECT_TRUE(Edt.SetLgeIdx(1)) << GuLstErrMsg;
  EXPECT_EQ(Txt(a, CR_SAR_COM), "Verder");
}

TEST_F(VioLge, AFileSavedInGermanOpensInEnglish) {
  BldPgm();
  ASSERT_TRUE(Edt.SetLgeIdx(2));
  const std::vector<std::uint8_t> ger = Stm();
  const std::string pth = Tmp.Path() + "german.vio";
  ASSERT_TRUE(Edt.SavVioFil(pth)) << GuLstErrMsg;
  ASSERT_NE(RdAll(pth).find("Stossfaenger"), std::string::npos);

  TVioPgmItp eng(nullptr);
  eng.CrtVioFld(800, 600);
  eng.SetLgeIdx(0);
  eng.SetAvlCol(0);
  ASSERT_TRUE(eng.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys"));
  ASSERT_TRUE(eng.LodVioFil(pth)) << GuLstErrMsg;
  std::vector<std::string> coms;
  for (const TVio* v : eng.Vios())
    if (v->Rec.VioTyp == VT_ACT || v->Rec.VioTyp == VT_SNS) coms.push_back(eng.GetCtlTxt(v, TeCtlKnd::Cbx, CR_SAR_COM));
  EXPECT_EQ(coms, (std::vector<std::string>{"Left pressed", "Turn left", "Forward"}));
  ASSERT_TRUE(eng.TrnVioPgm()) << GuLstErrMsg;
  EXPECT_EQ(eng.FpInsAndTkn->FpTsmTknLst, ger);
}

TEST_F(VioLge, APairNoLanguageKnowsIsStillRefused) {
  const std::string pth = Tmp.Write("bad.vio", "SENSOR1\n0001\n0001\nBumpers\nUpside down\n\nEOF\n");
  GuLstErrMsg.clear();
  EXPECT_FALSE(Edt.LodVioFil(pth));
  EXPECT_NE(GuLstErrMsg.find("#156"), std::string::npos) << GuLstErrMsg;
  EXPECT_EQ(Edt.GetVioCnt(), 0);
  // A German command under the English type is no pair of any language.
  const std::string mix = Tmp.Write("mix.vio", "SENSOR1\n0001\n0001\nBumpers\nLinks gedrueckt\n\nEOF\n");
  EXPECT_FALSE(Edt.LodVioFil(mix));
  EXPECT_EQ(Edt.GetVioCnt(), 0);
}

}  // namespace
