// The serial component on a pseudo-terminal, wired as the main window wires
// it, the test playing the far end behind a fixed name: the link Lnk to the
// slave, which Plug points at a new pair.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "LnkTstPty.h"
#include "core/Globals.h"
#include "link/LnkSes.h"
#include "link/SerLin.h"
#include "support/FakePlatform.h"

class TComFix : public ::testing::Test {
protected:
  using B = std::vector<std::uint8_t>;
  // What the component reported, from its threads; the receive handler
  // waits while Gate is closed.
  struct TRec : TLckRec {
    B Byt;
    std::vector<std::pair<int, std::string>> Err;
    std::vector<std::uint32_t> Ctl, Ler;
    bool Gate = true;
  };
  TFakePlatform Plt;
  TTmpDir Tmp;
  const std::string Lnk = Tmp.Path() + "zefor";
  std::unique_ptr<TPty> Far;
  TTxMtxAndRbf Tx;
  TRxMtxAndRbf Rx;
  TRec Rec;
  std::unique_ptr<TComport2p5> Com;

  TComFix() {
    Rec.Byt.reserve(1 << 16);  // no growth of its own in a leak count
    Plug();
    Com = MakCom();
  }
  ~TComFix() override { Com.reset(); }
  void Plug() {
    Far = std::make_unique<TPty>();
    std::filesystem::remove(Lnk);
    std::filesystem::create_symlink(Far->Pth(), Lnk);
  }
  std::unique_ptr<TComport2p5> MakCom() {
    auto c = std::make_unique<TComport2p5>(this);
    SetRbtLin(*c, Lnk);
    c->FiRdTmo = std::chrono::milliseconds(20);
    Wire(*c);
    BndComRbf(*c, Tx, Rx);
    return c;
  }
  void Wire(TComport2p5& c) {
    c.FOnComPrtComEvt = [this](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t d) {
      std::unique_lock<std::mutex> lk(Rec.M);
      Rec.Cv.wait(lk, [&] { return Rec.Gate; });
      Rec.Byt.push_back(d);
      Rec.Cv.notify_all();
    };
    c.FOnComPrtCtlEvt = [this](TComport2p5*, std::uint32_t m) { Rec.Put([&] { Rec.Ctl.push_back(m); }); };
    c.FOnComPrtErrEvt = [this](TComport2p5*, std::int8_t e, const std::string& t) {
      Rec.Put([&] { Rec.Err.emplace_back(e, t); });
    };
    c.FOnComPrtLerEvt = [this](TComport2p5*, std::uint32_t n, std::uint32_t) { Rec.Put([&] { Rec.Ler.push_back(n); }); };
  }
  // Opens and ends the quiet period, as the main window does.
  void OpnLnk() {
    ASSERT_EQ(Com->OpnPrt(), TeOpnPrt::Ok);
    Com->FbBlkCbk = false;
  }
  std::size_t NByt() { return Rec.Get([&] { return Rec.Byt.size(); }); }
};
