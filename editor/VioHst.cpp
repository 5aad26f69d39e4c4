// The undo history of the field: a copy of the program file and of the
// editor state around it after every finished user action.
#include <algorithm>
#include <sstream>

#include "core/Globals.h"
#include "editor/VioPgmItp.h"

TVioPgmItp::TStpGrd::TStpGrd(TVioPgmItp& e, const TVio* mrgVio, int mrgCtl) : FEdt(e) {
  if (FEdt.FiStpDep++ == 0) {
    FEdt.FpMrgVio = mrgVio;
    FEdt.FiMrgCtl = mrgCtl;
  }
}

TVioPgmItp::TStpGrd::~TStpGrd() {
  if (--FEdt.FiStpDep == 0 && !FEdt.FbHstOff) FEdt.RcdStp(FEdt.FpMrgVio, FEdt.FiMrgCtl);
}

TVioPgmItp::TNoRcd::TNoRcd(TVioPgmItp& e) : FEdt(e), FbOff(e.FbHstOff) {
  FEdt.FbHstOff = true;
  ++FEdt.FiStpDep;
}

TVioPgmItp::TNoRcd::~TNoRcd() {
  --FEdt.FiStpDep;
  FEdt.FbHstOff = FbOff;
}

TVioPgmItp::TuVioSnp TVioPgmItp::TakSnp() {
  TuVioSnp s;
  s.Doc = FpDoc;
  if (!BldVioLns(s.Lns)) s.Lns.clear();
  s.LblLst = FpLblVioDdwStl;
  auto idx = [this](const TVio* v) {
    const auto it = std::find(FpVioLst.begin(), FpVioLst.end(), v);
    return it == FpVioLst.end() ? -1 : static_cast<int>(it - FpVioLst.begin());
  };
  if (FbDlyErr) s.DlyErr = idx(FpDlyErrVio);
  if (FbSpdErr) s.SpdErr = idx(FpSpdErrVio);
  if (FbDstErr) s.DstErr = idx(FpDstErrVio);
  s.CurCol = FiCurCol;
  s.CurRow = FiCurRow;
  return s;
}

void TVioPgmItp::RcdStp(const TVio* mrgVio, int mrgCtl) {
  TuVioSnp s = TakSnp();
  if (s.Lns.empty()) return;  // the field could not be written down
  if (FHst.empty()) {
    FHst.push_back(std::move(s));
    FiHstPos = 0;
    NtfHst();
    return;
  }
  TuVioSnp& top = FHst[FiHstPos];
  if (s.Lns == top.Lns) {
    // Nothing of the program changed: the step keeps the flags and labels as
    // they are now, so that undo brings them back as they were left.
    s.MrgVio = top.MrgVio;
    s.MrgCtl = top.MrgCtl;
    top = std::move(s);
    return;
  }
  s.MrgVio = mrgVio;
  s.MrgCtl = mrgCtl;
  FHst.resize(FiHstPos + 1);  // a new step ends the redo
  if (mrgVio && FiHstPos > 0 && top.MrgVio == mrgVio && top.MrgCtl == mrgCtl) {
    top = std::move(s);  // typing on in the same control
  } else {
    FHst.push_back(std::move(s));
    if (FHst.size() > GcMaxUndStp + 1) FHst.erase(FHst.begin());
    FiHstPos = FHst.size() - 1;
  }
  NtfHst();
}

bool TVioPgmItp::RstSnp(const TuVioSnp& snp) {
  TNoRcd noRcd(*this);
  std::string all;
  for (const std::string& l : snp.Lns) {
    all += l;
    all += "\r\n";
  }
  std::istringstream in(all);
  const bool ok = LodVioStm(in, "undo", true);
  FpLblVioDdwStl = snp.LblLst;
  FpDoc = snp.Doc;
  auto vio = [this](int i) -> TVio* {
    return i >= 0 && static_cast<std::size_t>(i) < FpVioLst.size() ? FpVioLst[static_cast<std::size_t>(i)] : nullptr;
  };
  FpDlyErrVio = vio(snp.DlyErr);
  FbDlyErr = FpDlyErrVio != nullptr;
  FpSpdErrVio = vio(snp.SpdErr);
  FbSpdErr = FpSpdErrVio != nullptr;
  FpDstErrVio = vio(snp.DstErr);
  FbDstErr = FpDstErrVio != nullptr;
  FiCurCol = snp.CurCol;
  FiCurRow = snp.CurRow;
  FpCurVio = nullptr;
  return ok;
}

bool TVioPgmItp::Und() {
  if (!CanUnd() || FiStpDep > 0) return false;
  --FiHstPos;
  const bool ok = RstSnp(FHst[FiHstPos]);
  FHst[FiHstPos].MrgVio = nullptr;  // typing after an undo is a step of its own
  NtfHst();
  return ok;
}

bool TVioPgmItp::Red() {
  if (!CanRed() || FiStpDep > 0) return false;
  ++FiHstPos;
  const bool ok = RstSnp(FHst[FiHstPos]);
  FHst[FiHstPos].MrgVio = nullptr;
  NtfHst();
  return ok;
}

bool TVioPgmItp::DrpStp() {
  if (!Und()) return false;
  FHst.resize(FiHstPos + 1);
  NtfHst();
  return true;
}

void TVioPgmItp::ClrHst() {
  FHst.clear();
  FiHstPos = 0;
  RcdStp(nullptr, -1);
}

bool TVioPgmItp::Drt() const { return !FHst.empty() && FHst[FiHstPos].Lns != FpDoc->SavLns; }

void TVioPgmItp::MrkSav() {
  FpDoc->SavLns.clear();
  BldVioLns(FpDoc->SavLns);
  NtfHst();
}

void TVioPgmItp::NtfHst() {
  for (IVioPgmObs* o : FpObsLst) o->HstChg();
}
