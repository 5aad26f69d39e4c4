// Instruction table, valid-next table, the record passes and the walk's
// bookkeeping (the golden programs cover the messages and streams).
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "messages/SysLgeMsg.h"
#include "support/FakePlatform.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

namespace {

const std::string GcDatDir = std::string(TESSARO_SOURCE_DIR) + "/tests/translator/data/";

TEST(InsTknTbl, TokenOfEveryInstructionNumber) {
  const std::map<int, int> known = {{0, 0xA0},  {1, 0xA1},  {2, 0xA2},  {3, 0xA3},   {4, 0xA4},
                                    {5, 0xA8},  {6, 0xA5},  {7, 0xA6},  {8, 0xA9},   {9, 0xAA},
                                    {10, 0xAB}, {11, 0xAC}, {12, 0xAD}, {13, 0x01},  {14, 0xAE},
                                    {0xFF, 0xA7}};
  TInsTknTbl tbl;
  for (int ins = 0; ins < 256; ++ins) {
    auto it = known.find(ins);
    EXPECT_EQ(tbl.GetInsTkn(static_cast<std::uint8_t>(ins)), it == known.end() ? 0xFF : it->second) << ins;
  }
}

TEST(InsTknTbl, Mnemonics) {
  TInsTknTbl tbl;
  const std::pair<int, const char*> cases[] = {{0xA7, "Gof"}, {0x01, "Udf"}, {0x12, ""},    {0xA8, "Dly"},
                                               {0xA5, "Lbl"}, {0xA6, "Gto"}, {0xAE, "Byt"}, {0xAF, ""}};
  for (const auto& c : cases) EXPECT_EQ(tbl.GetTknMne(static_cast<std::uint8_t>(c.first)), c.second) << c.first;
  TInsAndTkn trn(nullptr);
  const TuExtComTkn r = trn.NewExtComTkn(0xA8);
  EXPECT_EQ(r.Tkn, 0xA8);
  EXPECT_EQ(r.Mne, "Dly");
  EXPECT_EQ(r.LblNam, "");
  EXPECT_EQ(r.Val, -1);
  EXPECT_EQ(r.TgtIdx, -1);
  EXPECT_EQ(r.VioIdx, -1);
}

struct TNxtCase {
  std::uint8_t Cur, Nxt;
  bool Ok;
};

TEST(ValidNext, Successions) {
  const TNxtCase cases[] = {
      {VT_STA, VT_STO, true},  {VT_STA, VT_SNS, false}, {VT_IFF, VT_SNS, true},  {VT_IFF, VT_ACT, false},
      {VT_GTO, VT_STO, true},  {VT_GTO, VT_DLY, false}, {VT_SPD, VT_RTI, false}, {VT_DLY, VT_RTI, true},
      {VT_ACT, VT_SNS, false}, {VT_LBL, VT_SNS, true},  {VT_SWI, VT_SNS, true},  {VT_SPD, VT_SNS, true},
      {VT_SNS, VT_THN, true},  {VT_SNS, VT_ELS, true},  {VT_SNS, VT_STO, false}, {VT_THN, VT_RTI, true},
      {VT_STA, VT_RTI, false}, {VT_STO, VT_STO, false}, {VT_RTI, VT_STO, false}, {VT_ELS, VT_SPD, true},
  };
  for (const TNxtCase& c : cases)
    EXPECT_EQ(TInsAndTkn::ChkVldNxtTyp(c.Cur, c.Nxt), c.Ok) << int(c.Cur) << "->" << int(c.Nxt);
  // Nothing may be followed by a Start or a switch interrupt.
  for (int t = 0; t < GcVioTypCnt; ++t) {
    EXPECT_FALSE(TInsAndTkn::ChkVldNxtTyp(static_cast<std::uint8_t>(t), VT_STA));
    EXPECT_FALSE(TInsAndTkn::ChkVldNxtTyp(static_cast<std::uint8_t>(t), VT_SWI));
  }
}

TEST(ValidNext, UnknownTypeNamesItsNumber) {
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

TEST_F(RecPasses, IfWithoutThenAfterItsCondition) {
  Add(IT_IFF);
  Add(0x50);
  Add(IT_STO);
  Add(IT_ELS);
  EXPECT_FALSE(Trn.RslIfThnEls());
  EXPECT_EQ(GuLstErrMsg, "#312, IfThenElse resolving, no 'Then' token detected");
}

TEST_F(RecPasses, IfWithoutElseIsLeftAlone) {
  Add(IT_IFF);
  Add(0x50);
  Add(IT_THN);
  Add(IT_STO);
  EXPECT_TRUE(Trn.RslIfThnEls());
  EXPECT_EQ(Trn.FpVioTknLst[2].TgtIdx, -1);
  EXPECT_TRUE(Trn.RmvElsTkn());
  EXPECT_EQ(Trn.FpVioTknLst.size(), 4u);
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

// ---- the walk over plain descriptions ----------------------------------------

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

TEST_F(Walk, ThenBranchFirstAndLinksSet) {
  // The Else is described before the Then; it is walked last all the same.
  for (auto [typ, col, row] : {std::tuple{VT_STA, 0, 0}, {VT_IFF, 1, 0}, {VT_SNS, 2, 0}, {VT_ELS, 2, 1},
                               {VT_STO, 2, 2}, {VT_THN, 3, 0}, {VT_STO, 4, 0}})
    Put(typ, col, row);
  ASSERT_TRUE(Trn.TrnPgm(Dsc, Rpt)) << GuLstErrMsg;
  EXPECT_EQ(Trn.FpPgmVioLst, (std::vector<std::size_t>{0, 1, 2, 5, 6, 3, 4}));
  std::vector<std::pair<int, int>> lnk;
  for (const auto& l : Trn.FpVioLnk) lnk.emplace_back(l.Wlk ? l.Prv : -9, l.Wlk ? l.Nxt : -9);
  // The condition goes on with its Else branch; the Then branch was walked from it.
  EXPECT_EQ(lnk, (std::vector<std::pair<int, int>>{{-1, 1}, {0, 2}, {1, 3}, {2, 4}, {3, -1}, {2, 6}, {5, -1}}));
  EXPECT_EQ(FmtTrnStm(Trn), "A0 A2 50 05 A1 A1");
  EXPECT_TRUE(Rpt.Blks.empty());
}

TEST_F(Walk, FailureBlinksTheVioByItsIndex) {
  Put(VT_STO, 3, 3);
  Put(VT_STA, 0, 0);
  Put(VT_SNS, 1, 0);
  EXPECT_FALSE(Trn.TrnPgm(Dsc, Rpt));
  EXPECT_EQ(GuLstErrMsg, "vio 0 " + std::to_string(SUM_TRN_NXT_XXX_INV));
  EXPECT_EQ(Rpt.Blks, (std::vector<std::size_t>{2}));
  // The walk list holds what was visited before the failure.
  EXPECT_EQ(Trn.FpPgmVioLst, (std::vector<std::size_t>{1}));
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

// ---- the editor's composed messages --------------------------------------------

class VioMsg : public testing::Test {
protected:
  void SetUp() override {
    Edt.CrtVioFld(0, 0);
    Edt.SetLgeIdx(0);
    Edt.SetAvlCol(0);
    ASSERT_TRUE(Edt.SarAndTkn().LodTknFil(GcDatDir + "tokens.sys"));
    Msg.LodSysMsgFil(GcDatDir + "messages.sys");
    GuSysLgeMsg = &Msg;
  }
  void TearDown() override { GuSysLgeMsg = nullptr; }
  TFakePlatform Pf;
  TTmpDir Dir;
  TVioPgmItp Edt{nullptr};
  TSysLgeMsg Msg{nullptr, GcDatDir};
};

struct TComCase {
  const char* Drop;  // identifier lines to drop from the message file
  const char* Exp;
};

TEST_F(VioMsg, ComposedMessageFallbacks) {
  const TComCase cases[] = {
      {"", "After DELAY instr: M18 en"},
      {"0x24", "#305, Constante 'SUM_GUM_XXX_XXX_AFT'TeSysUsrMsg' niet kunnen vinden in memo uit language file"},
      {"0x23", "#305, Constante 'SUM_GUM_XXX_XXX_INS'TeSysUsrMsg' niet kunnen vinden in memo uit language file"},
      {"0x18", "#304, Constante 'TeSysUsrMsg' = 24, niet kunnen vinden in memo uit language file"},
  };
  for (const TComCase& c : cases) {
    TStrLst lns = Msg.Lines(), kept;
    for (const std::string& l : lns)
      if (l != c.Drop) kept.push_back(l);
    std::string txt;
    for (const std::string& l : kept) txt += l + "\n";
    ASSERT_TRUE(Msg.LodSysMsgFil(Dir.Write("m.sys", txt)));
    EXPECT_EQ(Edt.GetVioErrMsg(VT_DLY, SUM_TRN_NXT_XXX_MIS), c.Exp) << c.Drop;
    ASSERT_TRUE(Msg.LodSysMsgFil(GcDatDir + "messages.sys"));
  }
  EXPECT_EQ(Edt.GetVioErrMsg(VT_SWI, SUM_TRN_NXT_XXX_MIS), "After SWITCH\nINTERRUPT instr: M18 en");
}

TEST_F(VioMsg, MissingEntryTextKeepsTheLookupError) {
  ASSERT_TRUE(Msg.LodSysMsgFil(Dir.Write("m.sys", "0x24\nAfter\nNa\nNach\n")));
  ASSERT_TRUE(Edt.LodVioFil(GcDatDir + "cases/no_start.vio"));
  EXPECT_FALSE(Edt.TrnVioPgm());
  EXPECT_EQ(GuLstErrMsg,
            "#221, No corresponding system message in message TMemo found. Searched message identifier (decimal): 20");
}

}  // namespace
