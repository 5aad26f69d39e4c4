#include "link/LnkSes.h"

#include <algorithm>
#include <optional>

#include "core/Globals.h"

namespace {
// How long a closed port waits for the component's report of why.
constexpr auto GcEndRptWai = std::chrono::milliseconds(100);
}  // namespace

void SetRbtLin(TComport2p5& com, const std::string& prt) {
  com.FsPrtNam = prt;
  com.FbyBauIdx = GcRbtLin.BauIdx;
  com.FbyDatBts = GcRbtLin.DatIdx;
  com.FbyPrt = GcRbtLin.Prt;
  com.FbyStpBts = GcRbtLin.StpIdx;
  com.FbSglChr = true;
}

void BndComRbf(TComport2p5& com, TMtxAndRbf& tx, TMtxAndRbf& rx) {
  com.FOnGetTxdChr = [&tx](std::uint8_t& b) { return LckGetChr(tx, b); };
  com.FOnPutTxdChr = [&tx](std::uint8_t b) { return LckPutChr(tx, b); };
  com.FOnTxdDatAvl = [&tx] { return LckDatAvl(tx); };
  com.FOnGetRxdChr = [&rx](std::uint8_t& b) { return LckGetChr(rx, b); };
  com.FOnPutRxdChr = [&rx](std::uint8_t b) { return LckPutChr(rx, b); };
  com.FOnRxdDatAvl = [&rx] { return LckDatAvl(rx); };
}

namespace {
std::uint16_t AnsKey(std::uint8_t cls, std::uint8_t cod) { return static_cast<std::uint16_t>(cls << 8 | cod); }
}  // namespace

TLnkSes::TLnkSes(void* owner, TRcvGap gap) : FGap(std::move(gap)), FCom(owner) {
  SetRbtLin(FCom, "");
  BndComRbf(FCom, FTx, FRx);
  FCom.FOnComPrtComEvt = [this](TComport2p5*, std::uint8_t, std::uint32_t, std::uint8_t b) { OnCom(b); };
  FCom.FOnComPrtCtlEvt = [this](TComport2p5*, std::uint32_t m) {
    if (OnCtl) OnCtl(m);
  };
  FCom.FOnComPrtErrEvt = [this](TComport2p5*, std::int8_t c, const std::string& t) {
    OnErrEvt(static_cast<TeComErr>(c), t);
  };
  FCom.FOnComPrtLerEvt = [this](TComport2p5*, std::uint32_t n, std::uint32_t e) {
    if (OnLer) OnLer(n, e);
  };
}

void TLnkSes::OnCom(std::uint8_t b) {
  bool gap = false;
  if (FGap.Gap) {
    // Nothing waits behind this byte: the next one is still on its way.
    const bool idl = !FRx.IsCrt() || !LckDatAvl(FRx);
    const TClk::time_point now = FGap.Now ? FGap.Now() : TClk::now();
    gap = FbRxIdl && now - FRxLst > *FGap.Gap;
    FRxLst = now;
    FbRxIdl = idl;
  }
  std::vector<TRcvEff> eff = FPrs.Put(b, gap);
  if (FPrs.RbtFrm()) {
    std::lock_guard<std::mutex> l(FMtx);
    ++FAns[AnsKey(FPrs.Pck().MsgCls, FPrs.Pck().MsgCod)];
    FCv.notify_all();
  }
  if (OnEff) OnEff(std::move(eff));
}

void TLnkSes::OnErrEvt(TeComErr code, const std::string& text) {
  if (code != CE_RX_FUL && code != CE_DEV_LST && code != CE_IO_THR) {
    if (OnErr) OnErr(code, text);
    return;
  }
  {
    std::lock_guard<std::mutex> l(FMtx);
    FbEnd = true;
    FbDevLst = code == CE_DEV_LST;
    FsWhy = text;
    FCv.notify_all();
  }
  if (OnEnd) OnEnd(code, text);
}

TOpnPrtRes TLnkSes::Opn(const std::string& prt) {
  // Only while no receive thread runs, which owns the parser otherwise.
  if (FCom.StpThr()) {
    FPrs.Rst();
    FbRxIdl = false;
  }
  FCom.FsPrtNam = prt;
  {
    std::lock_guard<std::mutex> l(FMtx);
    FbEnd = false;
    FbDevLst = false;
    FsWhy.clear();
  }
  return FCom.OpnPrt();
}

bool TLnkSes::Snd(std::uint8_t cls, std::uint8_t cod, const std::vector<std::uint8_t>& dat, const TSndHok& hok) {
  TPckOut po;
  po.TooLng = hok.TooLng;
  po.OpnPrt = hok.OpnPrt ? hok.OpnPrt : [] { return true; };
  // The whole frame or nothing: a frame cut short by a full transmit buffer
  // would reach the robot as garbage.
  po.Rsv = [this](std::size_t n) {
    if (LckFreSpc(FTx) < n) {
      GuLstErrMsg = "Tx ringbuffer is full";
      return false;
    }
    return true;
  };
  po.SndChr = [this](std::uint8_t b) { return FCom.SndChr(b); };
  return SndPck(FyPckCnt, cls, cod, dat, po);
}

TeAnsWai TLnkSes::WaiAns(std::uint8_t cls, std::uint8_t cod, TClk::time_point lim, std::string& why) {
  std::unique_lock<std::mutex> l(FMtx);
  std::optional<TClk::time_point> cls0;  // when the port was first seen closed
  for (;;) {
    if (auto it = FAns.find(AnsKey(cls, cod)); it != FAns.end() && it->second > 0) {
      --it->second;
      return TeAnsWai::Ans;
    }
    const auto now = TClk::now();
    // The component says nothing of a link that ended during its quiet
    // start; the closed port tells. Its report of why the link ended follows
    // the close from another thread: it is given a moment to arrive.
    if (!FbEnd && !FCom.PrtOpn()) {
      if (!cls0) cls0 = now;
      if (now - *cls0 >= GcEndRptWai || now >= lim) {
        FbEnd = true;
        FsWhy = "the port was closed";
      }
    }
    if (FbEnd) {
      why = FsWhy;
      return TeAnsWai::End;
    }
    if (now >= lim) return TeAnsWai::Tmo;
    FCv.wait_until(l, std::min(lim, now + std::chrono::milliseconds(50)));
  }
}
