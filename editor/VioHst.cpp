// The undo history of the field, and the document's command boundary that
// records it: every editing command holds a TStpGrd, and the outermost one
// records the step when it ends.
#include "editor/VioHst.h"

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
  if (--FEdt.FiStpDep != 0) return;
  if (!FEdt.FbHstOff) FEdt.RcdStp(FEdt.FpMrgVio, FEdt.FiMrgCtl);
  for (IVioPgmObs* o : FEdt.FpObsLst) o->StpEnd();
}

TVioPgmItp::TNoRcd::TNoRcd(TVioPgmItp& e) : FEdt(e), FbOff(e.FbHstOff) {
  FEdt.FbHstOff = true;
  ++FEdt.FiStpDep;
}

TVioPgmItp::TNoRcd::~TNoRcd() {
  FEdt.FbHstOff = FbOff;
  if (--FEdt.FiStpDep == 0)
    for (IVioPgmObs* o : FEdt.FpObsLst) o->StpEnd();
}

TVioPgmItp::TuVioSnp TVioPgmItp::TakSnp() {
  TuVioSnp s;
  s.Doc = FpDoc;
  if (!BldVioLns(s.Lns)) s.Lns.clear();
  s.LblLst = FPgm.LblLst();
  auto idx = [this](const TVio* v) { return FPgm.Idx(v); };
  if (FbDlyErr) s.DlyErr = idx(FpDlyErrVio);
  if (FbSpdErr) s.SpdErr = idx(FpSpdErrVio);
  if (FbDstErr) s.DstErr = idx(FpDstErrVio);
  s.CurCol = FiCurCol;
  s.CurRow = FiCurRow;
  return s;
}

bool TVioHst::Rcd(TuSnp s, const TVio* mrgVio, int mrgCtl) {
  if (FStps.empty()) {
    FStps.push_back(std::move(s));
    FiPos = 0;
    return true;
  }
  TuSnp& top = FStps[FiPos];
  if (s.Lns == top.Lns) {
    // Nothing of the program changed: the step keeps the flags and labels as
    // they are now, so that undo brings them back as they were left.
    s.MrgVio = top.MrgVio;
    s.MrgCtl = top.MrgCtl;
    top = std::move(s);
    return false;
  }
  s.MrgVio = mrgVio;
  s.MrgCtl = mrgCtl;
  CutRed();  // a new step ends the redo
  // Typing on in the same control (the first step and any undone to name none).
  if (mrgVio && top.MrgVio == mrgVio && top.MrgCtl == mrgCtl) {
    top = std::move(s);
  } else {
    FStps.push_back(std::move(s));
    if (FStps.size() > GcMaxStp + 1) FStps.erase(FStps.begin());
    FiPos = FStps.size() - 1;
  }
  return true;
}

const TVioHst::TuSnp& TVioHst::Und() {
  --FiPos;
  FStps[FiPos].MrgVio = nullptr;
  return FStps[FiPos];
}

const TVioHst::TuSnp& TVioHst::Red() {
  ++FiPos;
  FStps[FiPos].MrgVio = nullptr;
  return FStps[FiPos];
}

// ---- The document's side: its command boundary and its snapshots ------------

void TVioPgmItp::RcdStp(const TVio* mrgVio, int mrgCtl) {
  TuVioSnp s = TakSnp();
  if (s.Lns.empty()) return;  // the field could not be written down
  if (FHst.Rcd(std::move(s), mrgVio, mrgCtl)) NtfHst();
}

bool TVioPgmItp::RstSnp(const TuVioSnp& snp) {
  TNoRcd noRcd(*this);
  std::string all;
  for (const std::string& l : snp.Lns) {
    all += l;
    all += "\r\n";
  }
  // The same program's breakpoints stay; another program's are none of this one's.
  const std::vector<TuBrkAt> brk = snp.Doc == FpDoc ? TakBrk() : std::vector<TuBrkAt>();
  std::istringstream in(all);
  const bool ok = LodVioStm(in, "undo", true);
  PutBrk(brk);
  FPgm.SetLblLst(snp.LblLst);
  FpDoc = snp.Doc;
  auto vio = [this](int i) { return FPgm.At(i); };
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
  if (!FHst.CanUnd() || FiStpDep > 0) return false;
  const bool ok = RstSnp(FHst.Und());
  NtfHst();
  return ok;
}

bool TVioPgmItp::Red() {
  if (!FHst.CanRed() || FiStpDep > 0) return false;
  const bool ok = RstSnp(FHst.Red());
  NtfHst();
  return ok;
}

bool TVioPgmItp::DrpStp() {
  if (!Und()) return false;
  FHst.CutRed();
  NtfHst();
  return true;
}

void TVioPgmItp::ClrHst() {
  FHst.Clr();
  RcdStp(nullptr, -1);
}

bool TVioPgmItp::Drt() const { return !FHst.Emp() && FHst.Cur().Lns != FpDoc->SavLns; }

void TVioPgmItp::MrkSav() {
  FpDoc->SavLns.clear();
  BldVioLns(FpDoc->SavLns);
  NtfHst();
}

void TVioPgmItp::NtfHst() {
  for (IVioPgmObs* o : FpObsLst) o->HstChg();
}
