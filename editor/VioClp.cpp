// The editor: the selection of the field, and copy, cut, paste and duplicate
// of its vios through the text of a program file.
#include "editor/VioClp.h"

#include <algorithm>
#include <sstream>

#include "core/Globals.h"
#include "editor/VioBlk.h"
#include "editor/VioKey.h"
#include "editor/VioTyp.h"
#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"

namespace {

// A caption on one line.
std::string Cap(std::uint8_t typ) {
  std::string c = GetVioCap(typ);
  std::replace(c.begin(), c.end(), '\n', ' ');
  return c;
}

}  // namespace

void TVioClp::SetSelRct(int col0, int row0, int col1, int row1) {
  auto cls = [this](int c) { return std::clamp(c, 0, FEdt.GrdCls() - 1); };
  auto rws = [this](int r) { return std::clamp(r, 0, FEdt.GrdRws() - 1); };
  FiAncCol = cls(col0);
  FiAncRow = rws(row0);
  const TuRct r{std::min(FiAncCol, cls(col1)), std::min(FiAncRow, rws(row1)), std::max(FiAncCol, cls(col1)),
                std::max(FiAncRow, rws(row1))};
  if (FRct == r) return;
  FRct = r;
  for (IVioPgmObs* o : FEdt.FpObsLst) o->SelChg();
}

void TVioClp::ClrSel() {
  if (!FRct) return;
  FRct.reset();
  for (IVioPgmObs* o : FEdt.FpObsLst) o->SelChg();
}

bool TVioClp::SelKey(TeKey key) {
  int dc = 0, dr = 0;
  if (!TVioKey::ArwStp(key, dc, dr)) return false;
  TVioKey& k = *FEdt.FpKey;
  if (!FRct) {
    FiAncCol = k.Col();
    FiAncRow = k.Row();
  }
  k.SetCur(k.Col() + dc, k.Row() + dr);
  FEdt.FpCurVio = k.Vio();
  SetSelRct(FiAncCol, FiAncRow, k.Col(), k.Row());
  return true;
}

std::vector<TVio*> TVioClp::SelVios() const {
  std::vector<TVio*> sel;
  if (FRct) {
    for (TVio* v : FEdt.Vios()) {
      const TuVioRec& r = v->Rec();
      if (r.GrdCol >= FRct->Col0 && r.GrdCol <= FRct->Col1 && r.GrdRow >= FRct->Row0 && r.GrdRow <= FRct->Row1)
        sel.push_back(v);
    }
  } else if (TVio* v = FEdt.OwnsVio(FEdt.FpCurVio) ? FEdt.FpCurVio : FEdt.KeyVio()) {
    sel.push_back(v);
  }
  return sel;
}

bool TVioClp::Cpy(std::string& txt) {
  const std::vector<TVio*> sel = SelVios();
  if (sel.empty()) {
    GuLstErrMsg = SysMsgOr(SUM_CLP_NON, FEdt.LgeIdx());
    return false;
  }
  int col = FEdt.GrdCls(), row = FEdt.GrdRws();
  for (const TVio* v : sel) {
    col = std::min(col, v->Rec().GrdCol);
    row = std::min(row, v->Rec().GrdRow);
  }
  TStrLst lns;
  if (!FEdt.BldVioLns(lns, sel, -col, -row)) {
    GuLstErrMsg.clear();  // the message box has told it already
    return false;
  }
  txt.clear();
  for (const std::string& l : lns) txt += l + "\r\n";
  return true;
}

bool TVioClp::Cut(std::string& txt) {
  if (!Cpy(txt)) return false;
  TStpGrd stp(FEdt);
  for (TVio* v : SelVios()) Rmv(v);
  ClrSel();
  return true;
}

void TVioClp::Rmv(TVio* vio) {
  const std::uint8_t typ = vio->Rec().VioTyp;
  if ((typ == VT_STA || typ == VT_SWI) && FEdt.FOnTbnEna) FEdt.FOnTbnEna(typ, true);
  FEdt.RmvVio(vio);
}

bool TVioClp::Prs(const std::string& txt, std::vector<TuVioBlk>& blks) {
  std::istringstream in(txt);
  if (FEdt.PrsVioTxt(in, "clipboard", blks, true) && blks.empty()) GuLstErrMsg = "#417, No vio block in the text";
  if (!blks.empty()) return true;
  GuLstErrMsg = SysMsgArg(SysMsgOr(SUM_CLP_BAD, FEdt.LgeIdx()), {GuLstErrMsg});
  return false;
}

std::vector<const TuVioBlk*> TVioClp::Kep(const std::vector<TuVioBlk>& blks, std::string& note) const {
  bool has[2] = {false, false};  // a Start, a switch interrupt vio
  for (const TVio* v : FEdt.Vios()) {
    has[0] = has[0] || v->Rec().VioTyp == VT_STA;
    has[1] = has[1] || v->Rec().VioTyp == VT_SWI;
  }
  bool told[2] = {false, false};
  std::vector<const TuVioBlk*> kep;
  for (const TuVioBlk& b : blks) {
    const int one = b.Typ == VT_STA ? 0 : b.Typ == VT_SWI ? 1 : -1;
    if (one >= 0 && has[one]) {
      if (!told[one]) {
        note += (note.empty() ? "" : " ") + SysMsgArg(SysMsgOr(SUM_CLP_ONE, FEdt.LgeIdx()), {Cap(b.Typ)});
        told[one] = true;
      }
      continue;
    }
    if (one >= 0) has[one] = true;
    kep.push_back(&b);
  }
  return kep;
}

bool TVioClp::PstAt(const std::vector<TuVioBlk>& blks, int col, int row, std::string& note) {
  note.clear();
  const std::vector<const TuVioBlk*> kep = Kep(blks, note);
  if (kep.empty()) {
    GuLstErrMsg = note;
    note.clear();
    return false;
  }
  int c0 = FEdt.GrdCls(), r0 = FEdt.GrdRws();
  std::vector<std::uint8_t> typs;
  for (const TuVioBlk& b : blks) {
    c0 = std::min(c0, b.Col);
    r0 = std::min(r0, b.Row);
  }
  // Every cell in the grid, free, and not wanted twice; every type offered.
  const int dc = col - c0, dr = row - r0;
  for (std::size_t i = 0; i < kep.size(); ++i) {
    const int c = kep[i]->Col + dc, r = kep[i]->Row + dr;
    bool fre = FEdt.FPgm.CelInGrd(c, r) && FEdt.FPgm.CelFre(c, r);
    for (std::size_t j = 0; fre && j < i; ++j) fre = kep[j]->Col != kep[i]->Col || kep[j]->Row != kep[i]->Row;
    if (!fre) {
      GuLstErrMsg = SysMsgArg(SysMsgOr(SUM_CLP_NO_ROM, FEdt.LgeIdx()), {std::to_string(c + 1), std::to_string(r + 1)});
      note.clear();
      return false;
    }
    if (!FEdt.VioOfr(kep[i]->Typ)) typs.push_back(kep[i]->Typ);
  }
  if (!typs.empty()) {
    GuLstErrMsg = FEdt.LsnNot(typs);
    note.clear();
    return false;
  }
  TStpGrd stp(FEdt);
  // The focus stays where the command was given (on the field).
  struct TNoFoc {
    bool& On;
    explicit TNoFoc(bool& on) : On(on) { On = true; }
    ~TNoFoc() { On = false; }
  } noFoc(FEdt.FbNoFoc);
  const std::size_t cnt = FEdt.FPgm.Cnt();
  const TShrStrLst lbl = FEdt.FPgm.LblLst();
  int c1 = 0, r1 = 0;
  for (const TuVioBlk* b : kep) {
    if (!FEdt.CrtBlkVio(*b, dc, dr, true)) {
      // Names no list knows: the vios of this paste go again, and with them its step.
      const std::string msg = GuLstErrMsg;
      while (FEdt.FPgm.Cnt() > cnt) Rmv(FEdt.FPgm.Vios().back());
      FEdt.FPgm.SetLblLst(lbl);
      GuLstErrMsg = msg;
      note.clear();
      return false;
    }
    c1 = std::max(c1, b->Col + dc);
    r1 = std::max(r1, b->Row + dr);
  }
  SetSelRct(col, row, c1, r1);
  return true;
}

bool TVioClp::Pst(const std::string& txt, std::string& note) {
  std::vector<TuVioBlk> blks;
  if (!Prs(txt, blks)) return false;
  return PstAt(blks, FEdt.FpKey->Col(), FEdt.FpKey->Row(), note);
}

bool TVioClp::Dup(std::string& note) {
  std::string txt;
  if (!Cpy(txt)) return false;
  std::vector<TuVioBlk> blks;
  if (!Prs(txt, blks)) return false;
  // Beside the rectangle (or the vios) selected: to the right, else below.
  int c0 = FEdt.GrdCls(), r0 = FEdt.GrdRws(), c1 = 0, r1 = 0;
  for (const TVio* v : SelVios()) {
    c0 = std::min(c0, v->Rec().GrdCol);
    r0 = std::min(r0, v->Rec().GrdRow);
    c1 = std::max(c1, v->Rec().GrdCol);
    r1 = std::max(r1, v->Rec().GrdRow);
  }
  const int wdt = FRct ? FRct->Col1 - FRct->Col0 + 1 : c1 - c0 + 1;
  const int hgt = FRct ? FRct->Row1 - FRct->Row0 + 1 : r1 - r0 + 1;
  return PstAt(blks, c0 + wdt, r0, note) || PstAt(blks, c0, r0 + hgt, note);
}

// ---- The editor's own methods, answered here ----------------------------------------

const std::optional<TVioPgmItp::TuRct>& TVioPgmItp::SelRct() const { return FpClp->SelRct(); }
void TVioPgmItp::SetSelRct(int col0, int row0, int col1, int row1) { FpClp->SetSelRct(col0, row0, col1, row1); }
void TVioPgmItp::ClrSel() { FpClp->ClrSel(); }
bool TVioPgmItp::SelKey(TeKey key) { return FpClp->SelKey(key); }
std::vector<TVio*> TVioPgmItp::SelVios() const { return FpClp->SelVios(); }
bool TVioPgmItp::CpyVio(std::string& txt) { return FpClp->Cpy(txt); }
bool TVioPgmItp::CutVio(std::string& txt) { return FpClp->Cut(txt); }
bool TVioPgmItp::PstVio(const std::string& txt, std::string& note) { return FpClp->Pst(txt, note); }
bool TVioPgmItp::DupVio(std::string& note) { return FpClp->Dup(note); }
