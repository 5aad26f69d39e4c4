// Shared set-up of the editor tests: a model on an 800 x 600 field with the
// installed sensor/actor definitions, recording doubles and a recording view.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "support/FakePlatform.h"

// A view that writes down what it hears.
class TRecObs final : public IVioPgmObs {
public:
  void VioAdd(TVio*) override { Evt.push_back("add"); }
  void VioRmv(TVio*) override { Evt.push_back("rmv"); }
  void VioMov(TVio*) override { Evt.push_back("mov"); }
  void VioChg(TVio*) override { Evt.push_back("chg"); }
  void VioVis(TVio* v) override { Evt.push_back(v->Visible() ? "show" : "hide"); }
  void CtlChg(TVio*, int c) override { Evt.push_back("ctl" + std::to_string(c)); }
  void CtlFoc(TVio*, int c) override {
    Evt.push_back("foc" + std::to_string(c));
    ++FocCnt;
  }
  void FldClr() override { Evt.push_back("clr"); }
  bool Has(const std::string& e) const {
    for (const auto& x : Evt)
      if (x == e) return true;
    return false;
  }
  std::vector<std::string> Evt;
  int FocCnt = 0;
};

class TEdtTst : public ::testing::Test {
protected:
  TEdtTst() : Edt(nullptr) {
    Edt.CrtVioFld(800, 600);
    Edt.SetLgeIdx(0);
    Edt.SetAvlCol(0);
    Edt.AddObs(&Obs);
    GuLstErrMsg.clear();
  }
  void LodDefTkn() { ASSERT_TRUE(Edt.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) << GuLstErrMsg; }
  void SetUp() override { LodDefTkn(); }

  // Index of the child of the kind and role on the vio.
  static const TVioCtl& Ctl(const TVio* v, TeCtlKnd k, std::uint8_t r) {
    const int i = v->FndCtl(k, r);
    EXPECT_GE(i, 0);
    return v->Ctls().at(static_cast<std::size_t>(i < 0 ? 0 : i));
  }

  static std::string RdAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  TFakePlatform Fake;
  TTmpDir Tmp;
  TVioPgmItp Edt;
  TRecObs Obs;
};
