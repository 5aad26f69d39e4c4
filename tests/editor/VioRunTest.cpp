// The vio of each address of the uploaded stream, as the field changes after
// the upload.
#include "EdtTstSup.h"
#include "editor/VioRun.h"
#include "translator/InsAndTkn.h"

namespace {

class VioRun : public TEdtTst {
protected:
  // Start, Delay 12, Stop in a row: A0 A8 0C A1.
  void Row() {
    ASSERT_TRUE(Edt.CrtSmpVio(VT_STA, 0, 0));
    ASSERT_TRUE(Edt.CrtDlyVio(1, 0, "12"));
    ASSERT_NE(Edt.PutVio(VT_STO, 2, 0), nullptr);
    Sta = Edt.Vios()[0];
    Dly = Edt.Vios()[1];
    Sto = Edt.Vios()[2];
  }
  void Upl(TVioRunMap& m) {
    ASSERT_TRUE(Edt.TrnVioPgm()) << GuLstErrMsg;
    ASSERT_EQ(Edt.FpInsAndTkn->FpTsmTknLst, (std::vector<std::uint8_t>{0xA0, 0xA8, 0x0C, 0xA1}));
    m.Set(*Edt.FpInsAndTkn);
  }
  TVio *Sta = nullptr, *Dly = nullptr, *Sto = nullptr;
};

TEST_F(VioRun, EveryAddressNamesTheVioThatMadeItsByte) {
  TVioRunMap m(Edt);
  EXPECT_EQ(m.VioAt(0), nullptr) << "nothing uploaded yet";
  Row();
  Upl(m);
  ASSERT_EQ(m.Len(), 4u);
  EXPECT_EQ(m.VioAt(0), Sta);
  EXPECT_EQ(m.VioAt(1), Dly);
  EXPECT_EQ(m.VioAt(2), Dly);  // the delay's value byte
  EXPECT_EQ(m.VioAt(3), Sto);
  EXPECT_EQ(m.VioAt(4), nullptr);
  EXPECT_EQ(m.VioAt(255), nullptr);
  EXPECT_EQ(m.VioAt(-1), nullptr);

  // Records that never became a stream (a translation that stopped half-way)
  // map nothing, and replace the map that was there.
  TInsAndTkn half(nullptr);
  half.FpVioTknLst.push_back(half.NewExtComTkn(IT_STA));
  half.FpVioTknLst.back().VioIdx = 0;
  m.Set(half);
  EXPECT_EQ(m.Len(), 0u);
  EXPECT_EQ(m.VioAt(0), nullptr);
}

TEST_F(VioRun, EditsAfterTheUploadNeverPointAnAddressAtTheWrongVio) {
  TVioRunMap m(Edt);
  Row();
  Upl(m);

  // The Delay goes and a new one takes its cell: the field now translates
  // address 1 to the new vio, but the robot's byte there came from the old one.
  Edt.RmvVio(Dly);
  ASSERT_TRUE(Edt.CrtDlyVio(1, 0, "5"));
  TVio* nwd = Edt.Vios().back();
  TInsAndTkn now(nullptr);
  ASSERT_TRUE(Edt.TrnVioPgmQui(now)) << GuLstErrMsg;
  ASSERT_EQ(TVioPgmItp::TknVio(now.FpVioTknLst.at(1), Edt.Vios()), nwd);
  EXPECT_EQ(m.VioAt(1), nullptr);
  EXPECT_EQ(m.VioAt(2), nullptr);
  EXPECT_EQ(m.VioAt(0), Sta);

  // A vio that only moves is still the one the bytes came from.
  Edt.PutVioOnCel(Sto, 6, 7);
  EXPECT_EQ(m.VioAt(3), Sto);

  // A field built anew (open, undo) holds none of the uploaded vios.
  ASSERT_TRUE(Edt.CanUnd());
  ASSERT_TRUE(Edt.Und());
  EXPECT_EQ(m.Len(), 0u);
  for (int a = 0; a < 4; ++a) EXPECT_EQ(m.VioAt(a), nullptr) << a;

  Edt.RmvAllVio();
  Row();
  Upl(m);
  ASSERT_EQ(m.Len(), 4u);
  Edt.RmvAllVio();
  EXPECT_EQ(m.Len(), 0u);
}

}  // namespace
