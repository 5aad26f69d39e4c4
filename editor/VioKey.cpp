// The editor: the programming field from the keyboard. A cell cursor moves
// over the grid; the keys act on it with the rules of the tool buttons and the
// mouse, never with rules of their own.
#include <algorithm>
#include <cctype>

#include "editor/VioKey.h"
#include "editor/VioTyp.h"

char TVioKey::TypKey(std::uint8_t typ) {
  const TuVioTypRow* r = GetVioRow(typ);
  return r ? r->Ltr : '\0';
}

int TVioKey::KeyTyp(char chr) {
  const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(chr)));
  for (const TuVioTypRow& r : GuVioTyp)
    if (up != '\0' && r.Ltr == up) return r.Typ;
  return -1;
}

void TVioKey::SetCur(int col, int row) {
  col = std::clamp(col, 0, FEdt.GrdCls() - 1);
  row = std::clamp(row, 0, FEdt.GrdRws() - 1);
  if (col == FiCol && row == FiRow) return;
  FiCol = col;
  FiRow = row;
  for (IVioPgmObs* o : FEdt.FpObsLst) o->KeyCur();
}

TVio* TVioKey::Vio() const {
  const std::vector<TVio*>& vios = FEdt.Vios();
  for (auto it = vios.rbegin(); it != vios.rend(); ++it)
    if ((*it)->Rec().GrdCol == FiCol && (*it)->Rec().GrdRow == FiRow) return *it;
  return nullptr;
}

bool TVioKey::AddVio(std::uint8_t typ) {
  TStpGrd stp(FEdt);
  const bool ok = FEdt.FPgm.CelFre(FiCol, FiRow) ? FEdt.PutVio(typ, FiCol, FiRow) != nullptr : FEdt.AddVio(typ);
  if (ok && FEdt.FpCurVio) SetCur(FEdt.FpCurVio->Rec().GrdCol, FEdt.FpCurVio->Rec().GrdRow);
  return ok;
}

int TVioKey::PrmCtl(const TVio* vio, int ctl, bool back) {
  if (!vio) return -1;
  std::vector<int> prm;
  for (std::size_t i = 0; i < vio->Ctls().size(); ++i) {
    const TVioCtl& c = vio->Ctls()[i];
    if (c.Knd != TeCtlKnd::Lbl && c.Vis && c.Ena) prm.push_back(static_cast<int>(i));
  }
  if (prm.empty()) return -1;
  const auto n = static_cast<int>(prm.size());
  const auto at = std::find(prm.begin(), prm.end(), ctl);
  if (at == prm.end()) return back ? prm.back() : prm.front();
  const int i = static_cast<int>(at - prm.begin());
  return prm[static_cast<std::size_t>((i + (back ? n - 1 : 1)) % n)];
}

void TVioKey::PrmEsc(const TVio* vio) {
  if (FEdt.OwnsVio(vio)) SetCur(vio->Rec().GrdCol, vio->Rec().GrdRow);
}

bool TVioKey::ArwStp(TeKey key, int& dc, int& dr) {
  dc = key == TeKey::Lft ? -1 : key == TeKey::Rgt ? 1 : 0;
  dr = key == TeKey::Upp ? -1 : key == TeKey::Dwn ? 1 : 0;
  return dc != 0 || dr != 0;
}

bool TVioKey::Key(TeKey key, bool ctl, char chr) {
  int dc = 0, dr = 0;
  if (!ArwStp(key, dc, dr)) return OthKey(key, ctl, chr);
  FEdt.ClrSel();
  if (!ctl) {
    SetCur(FiCol + dc, FiRow + dr);
    // What acts on the current vio (F9, the vio's menu) acts where the cursor stands.
    FEdt.FpCurVio = Vio();
    return true;
  }
  MovVio(dc, dr);
  return true;
}

bool TVioKey::OthKey(TeKey key, bool ctl, char chr) {
  switch (key) {
    case TeKey::Del: {
      TVio* vio = Vio();
      if (ctl || !vio) return false;
      if (FEdt.StaRun() || FEdt.VioDrg()) return true;
      // The right click's way: the vio becomes the current one, its
      // context-menu request is followed by the release that removes it.
      FEdt.FpCurVio = vio;
      FEdt.VioCtxPop();
      FEdt.VioRgtUp();
      return true;
    }
    case TeKey::Ent: {
      TVio* vio = Vio();
      const int prm = PrmCtl(vio, -1, false);
      if (ctl || prm < 0) return false;
      FEdt.FpCurVio = vio;
      FEdt.ReqFoc(vio, prm);
      return true;
    }
    case TeKey::Chr: {
      const int typ = KeyTyp(chr);
      if (ctl || typ < 0) return false;
      if (FOnTypKey)
        FOnTypKey(static_cast<std::uint8_t>(typ));
      else
        AddVio(static_cast<std::uint8_t>(typ));
      return true;
    }
    default: return false;  // the arrows: Key
  }
}

void TVioKey::MovVio(int dc, int dr) {
  TVio* vio = Vio();
  if (!vio || FEdt.StaRun() || FEdt.VioDrg()) return;
  // As a drag that holds the vio one cell on and lets it go: the glue rule
  // says where it is shown (clamped at the border), the drop rule where it lands.
  const TVioPgmItp::TuPos at{vio->Left(), vio->Top()};
  const TVioPgmItp::TuGlu g = FEdt.GluVio(vio, at, at.X + dc * FEdt.CelWdt(), at.Y + dr * FEdt.CelHgt());
  FEdt.FpCurVio = vio;
  FEdt.DrpVio(vio, g.Pos.X, g.Pos.Y);
  SetCur(vio->Rec().GrdCol, vio->Rec().GrdRow);
}

// ---- The editor's own methods, answered here ----------------------------------------

int TVioPgmItp::KeyCol() const { return FpKey->Col(); }
int TVioPgmItp::KeyRow() const { return FpKey->Row(); }
void TVioPgmItp::SetKeyCur(int col, int row) { FpKey->SetCur(col, row); }
TVio* TVioPgmItp::KeyVio() const { return FpKey->Vio(); }
bool TVioPgmItp::FldKey(TeKey key, bool ctl, char chr) { return FpKey->Key(key, ctl, chr); }
bool TVioPgmItp::AddVioKey(std::uint8_t typ) { return FpKey->AddVio(typ); }
char TVioPgmItp::VioTypKey(std::uint8_t typ) { return TVioKey::TypKey(typ); }
int TVioPgmItp::KeyVioTyp(char chr) { return TVioKey::KeyTyp(chr); }
int TVioPgmItp::PrmCtl(const TVio* vio, int ctl, bool back) const { return TVioKey::PrmCtl(vio, ctl, back); }
void TVioPgmItp::PrmEsc(const TVio* vio) { FpKey->PrmEsc(vio); }
void TVioPgmItp::SetOnTypKey(std::function<void(std::uint8_t)> fn) { FpKey->SetOnTypKey(std::move(fn)); }
