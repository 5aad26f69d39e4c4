// Shared set-up of the editor tests: a model on an 800 x 600 field (cells of
// 66 x 60) with the installed sensor/actor definitions, recording doubles, a
// recording view and a recording main window.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/WndMsg.h"
#include "editor/VioPgmItp.h"
#include "support/FakePlatform.h"

// A view that writes down what it hears.
class TRecObs final : public IVioPgmObs {
public:
  void VioAdd(TVio*) override { Evt.push_back("add"); }
  void VioRmv(TVio*) override { Evt.push_back("rmv"); }
  void VioMov(TVio*, int, int) override { Evt.push_back("mov"); }
  void VioChg(TVio*) override { Evt.push_back("chg"); }
  void VioVis(TVio* v) override { Evt.push_back(v->Visible() ? "show" : "hide"); }
  void CtlChg(TVio*, int c) override { Evt.push_back("ctl" + std::to_string(c)); }
  void CtlFoc(TVio*, int c) override { Evt.push_back("foc" + std::to_string(c)), ++FocCnt; }
  void FldClr() override { Evt.push_back("clr"); }
  void VioBrk(TVio* v) override { Evt.push_back(v->Brk() ? "brk+" : "brk-"); }
  void KeyCur() override { Evt.push_back("kcur"); }
  void FldShw() override { Evt.push_back("shw"); }
  std::vector<std::string> Evt;
  int FocCnt = 0;
};

// The main window as the editor sees it: records the messages as "app.w" or "set.w" and
// removes the current vio on the settings message that asks for it.
class TRecWnd final : public IWndMsgTgt {
public:
  std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t w, std::intptr_t) override {
    Msgs.push_back((msg == WM_APP_MSG ? "app." : msg == WM_SET_MSG ? "set." : "?.") + std::to_string(w));
    if (msg == WM_SET_MSG && w == SM_RMV_CUR_VIO && Edt && Edt->CurVio()) Edt->RmvVio(Edt->CurVio());
    return 0;
  }
  std::vector<std::string> Msgs;
  TVioPgmItp* Edt = nullptr;
};

inline void PrpEdt(TVioPgmItp& e) {
  e.CrtVioFld(800, 600);
  e.SetLgeIdx(0);
  e.SetAvlCol(0);
  ASSERT_TRUE(e.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) << GuLstErrMsg;
}

inline std::string RdAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The program as its file holds it.
inline std::string PgmTxt(TVioPgmItp& e) {
  TStrLst l;
  EXPECT_TRUE(e.BldVioLns(l));
  std::string s;
  for (const auto& x : l) s += x + "\r\n";
  return s;
}

class TEdtTst : public ::testing::Test {
protected:
  TEdtTst() : Edt(&Wnd) {
    Wnd.Edt = &Edt;
    Edt.AddObs(&Obs);
    GuLstErrMsg.clear();
  }
  void SetUp() override { PrpEdt(Edt); }

  TFakePlatform Fake;
  TTmpDir Tmp;
  TRecWnd Wnd;
  TVioPgmItp Edt;
  TRecObs Obs;
};

// The lines, each ended by CR LF.
inline std::string Crlf(const std::vector<std::string>& l) {
  std::string s;
  for (const auto& x : l) s += x + "\r\n";
  return s;
}

// A lesson file's lines, each ended by CR LF; "\xHH" stands for the byte HH,
// and a line "*N TEXT" for TEXT written N times.
inline std::string LsnTxt(const std::vector<std::string>& l) {
  std::string s;
  for (const auto& x : l) {
    std::string y;
    for (std::size_t i = 0; i < x.size(); ++i)
      if (x.compare(i, 2, "\\x") == 0 && i + 4 <= x.size()) {
        y += static_cast<char>(std::stoi(x.substr(i + 2, 2), nullptr, 16));
        i += 3;
      } else {
        y += x[i];
      }
    if (y.rfind('*', 0) == 0) {
      const auto sp = y.find(' ');
      const std::string one = y.substr(sp + 1);
      const int cnt = std::stoi(y.substr(1, sp - 1));
      y.clear();
      for (int n = 0; n < cnt; ++n) y += one;
    }
    s += y + "\r\n";
  }
  return s;
}
