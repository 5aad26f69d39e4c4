// The valid-next table's rules, the record passes and the walk's bookkeeping
// (the golden programs cover the tables, messages and streams).
#include <gtest/gtest.h>

#include "core/Globals.h"
#include "messages/SysLgeMsg.h"
#include "support/FakePlatform.h"
#include "translator/InsAndTkn.h"

namespace {

// The successions themselves are pinned by the golden programs.
TEST(ValidNext, NoStartOrSwitchInterruptFollowsAndUnknownTypesAreNamed) {
  for (int t = 0; t < GcVioTypCnt; ++t) {
    EXPECT_FALSE(TInsAndTkn::ChkVldNxtTyp(static_cast<std::uint8_t>(t), VT_STA));
    EXPECT_FALSE(TInsAndTkn::ChkVldNxtTyp(static_cast<std::uint8_t>(t), VT_SWI));
  }
  EXPECT_TRUE(TInsAndTkn::ChkVldNxtTyp(VT_SWI, VT_SNS));
  for (int t : {13, 200}) {
    GuLstErrMsg.clear();
    EXPECT_FALSE(TInsAndTkn::ChkVldNxtTyp(static_cast<std::uint8_t>(t), VT_STO));
    EXPECT_EQ(GuLstErrMsg, "#186, Programming error: Instruction number " + std::to_string(t) +
                               " not found in valid-next-instruction table");
  }
}

// ---- record passes on hand-made lists ----------------------------------------

class RecPasses : public testing::Test {
protected:
  void Add(std::uint8_t tkn, std::int32_t tgt = -1, std::int32_t val = -1) {
    TuExtComTkn r = Trn.NewExtComTkn(tkn);
    r.TgtIdx = tgt;
    r.Val = val;
    Trn.FpVioTknLst.push_back(r);
  }
  std::vector<std::int32_t> Tgts() const {
    std::vector<std::int32_t> t;
    for (const TuExtComTkn& r : Trn.FpVioTknLst) t.push_back(r.TgtIdx);
    return t;
  }
  TFakePlatform Pf;
  TInsAndTkn Trn{nullptr};
};

TEST_F(RecPasses, RemovalFixesGotoAndThenTargetsAboveOnly) {
  Add(IT_GTO, 4);   // above the removed index: reduced
  Add(IT_UDF, 5);   // not a Goto or Then: untouched
  Add(IT_THN, 2);   // equal: left alone
  Add(IT_THN, 1);   // below: left alone
  Add(IT_LBL);
  Add(IT_GTO, 2);
  Trn.RmvTknAt(2);
  EXPECT_EQ(Tgts(), (std::vector<std::int32_t>{3, 5, 1, -1, 2}));
}

// A label or an else goes only where a Goto or a Then points at it; targets
// that are missing or out of the list touch nothing.
TEST_F(RecPasses, OnlyTheLabelsAndElsesPointedAtAreRemoved) {
  Add(IT_LBL);      // the first record
  Add(IT_GTO, 0);
  Add(IT_GTO, -1);
  Add(IT_GTO, 40);
  Add(IT_THN, 2);   // points at a Goto
  Add(IT_THN, -1);
  Add(IT_THN, 40);
  Add(IT_ELS);      // nobody's else
  Add(IT_GTO, 10);  // just past the end of the list
  Add(IT_THN, 10);
  ASSERT_TRUE(Trn.RmvLblTkn());
  ASSERT_TRUE(Trn.RmvElsTkn());
  EXPECT_EQ(Tgts(), (std::vector<std::int32_t>{0, -1, 39, 1, -1, 39, -1, 9, 9}));
}

TEST_F(RecPasses, IfWithoutThenAfterItsCondition) {
  Add(IT_IFF);
  Add(0x50);
  Add(IT_STO);
  Add(IT_ELS);
  EXPECT_FALSE(Trn.RslIfThnEls());
  EXPECT_EQ(GuLstErrMsg, "#312, IfThenElse resolving, no 'Then' token detected");
}

TEST_F(RecPasses, StreamOf256BytesIsRefused) {
  for (int i = 0; i < 255; ++i) Add(IT_STO);
  ASSERT_TRUE(Trn.BldTsmTkn());
  EXPECT_EQ(Trn.FpTsmTknLst.size(), 255u);
  Add(IT_STO);
  EXPECT_FALSE(Trn.BldTsmTkn());
  EXPECT_EQ(GuLstErrMsg, "#314, Program too long: its token stream has 256 bytes, at most 255 can be uploaded");
}

TEST_F(RecPasses, ValuesAreSentAsTheirLowByte) {
  Add(IT_DLY, -1, 0x10A);
  Add(IT_UDF);
  Add(IT_SPD, -1, 7);
  Add(IT_BYT, -1, 7);
  Add(IT_UDF, -1, 7);
  Add(IT_BYT, -1, -7);
  Add(IT_UDF, -1, -7);
  ASSERT_TRUE(Trn.BldTsmTkn());
  // 200 / 7 = 28; 200 / -7 = -28 (toward zero), sent as 0xE4.
  EXPECT_EQ(Trn.FpTsmTknLst, (std::vector<std::uint8_t>{0xA8, 0x0A, 0xAB, 0xAE, 28, 0xAE, 0xE4}));
}

// ---- the walk over a plain description (its order and blinking: the golden programs) ----

class TRecRpt final : public ITrnRpt {
public:
  std::string SysMsg(std::uint8_t id) override { return "sys " + std::to_string(id); }
  std::string VioMsg(std::uint8_t typ, std::uint8_t id) override {
    return "vio " + std::to_string(typ) + " " + std::to_string(id);
  }
  void Blk(std::size_t vio) override { Blks.push_back(vio); }
  std::vector<std::size_t> Blks;
};

class Walk : public testing::Test {
protected:
  // A vio standing on its cell of a field of 66 x 60 pixel cells.
  void Put(std::uint8_t typ, int col, int row, const char* lbl = "") {
    TuPgmVio v;
    v.Typ = typ;
    v.Col = col, v.Row = row;
    v.X = col * 66, v.Y = row * 60;
    v.Cap = "V" + std::to_string(typ), v.LblNam = lbl;
    v.SarTkn = 0x50;
    Dsc.Vios.push_back(v);
  }
  TuPgmDsc Dsc;
  TRecRpt Rpt;
  TInsAndTkn Trn{nullptr};
};

// What the editor's checks keep out, told clearly when another caller passes
// it: an actor without a token, an engine speed whose text was never checked.
TEST_F(Walk, UncheckedParametersAreRefusedWithTheirVio) {
  Put(VT_STA, 0, 0);
  Put(VT_ACT, 1, 0);
  Put(VT_STO, 2, 0);
  Dsc.Vios[1].SarTkn = -1, Dsc.Vios[1].SarTyp = "Driving";
  EXPECT_FALSE(Trn.TrnPgm(Dsc, Rpt));
  EXPECT_EQ(GuLstErrMsg, "#301, vio sar type 'Driving', no corresponding token found in valid token list");
  Dsc.Vios[1].Typ = VT_SPD, Dsc.Vios[1].ValOk = false, Dsc.Vios[1].ValTxt = "x";
  EXPECT_FALSE(Trn.TrnPgm(Dsc, Rpt));
  EXPECT_EQ(GuLstErrMsg, "#313, Programming error: unchecked engine speed 'x' in token generation");
  EXPECT_EQ(Rpt.Blks, (std::vector<std::size_t>{1}));
}

TEST_F(Walk, RunawayWalkIsCutShort) {
  // A chain of 1100 labels (beyond the grid; a file may not put them there)
  // is refused before the recursion gets deep.
  Put(VT_STA, 0, 0);
  for (int c = 1; c < 1100; ++c) Put(VT_LBL, c, 0, "x");
  Dsc.Vios[1024].Cap = "LA\nBEL";
  EXPECT_FALSE(Trn.TrnPgm(Dsc, Rpt));
  EXPECT_EQ(GuLstErrMsg,
            "#314, Program too long: the walk passes more than 1024 vios, at most 255 bytes can be uploaded; "
            "stopped at vio LA BEL at column 1025, row 1");
  EXPECT_EQ(Trn.FpPgmVioLst.size(), 1024u);
  EXPECT_EQ(Rpt.Blks, (std::vector<std::size_t>{1024}));
}

}  // namespace
