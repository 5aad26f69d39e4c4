// The editor: the programming field from the keyboard. A cell cursor moves
// over the grid; the keys act on it with the rules of the tool buttons and the
// mouse, never with rules of their own.
#include <algorithm>
#include <cctype>

#include "editor/VioPgmItp.h"

namespace {

// The letter of each vio type's key, by type number.
constexpr char GcTypKey[GcVioTypCnt] = {
    'S',  // Start
    'P',  // Stop
    'I',  // If
    'T',  // Then
    'E',  // Else
    'D',  // Delay
    'L',  // Label
    'G',  // Goto
    'A',  // Actor
    'N',  // Sensor
    'V',  // Engine speed (velocity)
    'W',  // Switch interrupt
    'R',  // RTI
};

}  // namespace

char TVioPgmItp::VioTypKey(std::uint8_t typ) { return typ < GcVioTypCnt ? GcTypKey[typ] : '\0'; }

int TVioPgmItp::KeyVioTyp(char chr) {
  const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(chr)));
  const auto* end = GcTypKey + GcVioTypCnt;
  const auto* it = std::find(GcTypKey, end, up);
  return up != '\0' && it != end ? static_cast<int>(it - GcTypKey) : -1;
}

void TVioPgmItp::SetKeyCur(int col, int row) {
  col = std::clamp(col, 0, FiGrdCls - 1);
  row = std::clamp(row, 0, FiGrdRws - 1);
  if (col == FiKeyCol && row == FiKeyRow) return;
  FiKeyCol = col;
  FiKeyRow = row;
  for (IVioPgmObs* o : FpObsLst) o->KeyCur();
}

TVio* TVioPgmItp::KeyVio() const {
  for (auto it = FpVioLst.rbegin(); it != FpVioLst.rend(); ++it)
    if ((*it)->Rec.GrdCol == FiKeyCol && (*it)->Rec.GrdRow == FiKeyRow) return *it;
  return nullptr;
}

bool TVioPgmItp::AddVioKey(std::uint8_t typ) {
  TStpGrd stp(*this);
  const bool ok = CelFre(FiKeyCol, FiKeyRow) ? PutVio(typ, FiKeyCol, FiKeyRow) != nullptr : AddVio(typ);
  if (ok && FpCurVio) SetKeyCur(FpCurVio->Rec.GrdCol, FpCurVio->Rec.GrdRow);
  return ok;
}

int TVioPgmItp::PrmCtl(const TVio* vio, int ctl, bool back) const {
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

void TVioPgmItp::PrmEsc(const TVio* vio) {
  if (OwnsVio(vio)) SetKeyCur(vio->Rec.GrdCol, vio->Rec.GrdRow);
}

bool TVioPgmItp::FldKey(TeKey key, bool ctl, char chr) {
  int dc = 0, dr = 0;
  switch (key) {
    case TeKey::Lft: dc = -1; break;
    case TeKey::Rgt: dc = 1; break;
    case TeKey::Upp: dr = -1; break;
    case TeKey::Dwn: dr = 1; break;
    case TeKey::Del: {
      TVio* vio = KeyVio();
      if (ctl || !vio) return false;
      if (FbStaRun || VioDrg()) return true;
      // The right click's way: the vio becomes the current one, its
      // context-menu request is followed by the release that removes it.
      FpCurVio = vio;
      VioCtxPop();
      VioRgtUp();
      return true;
    }
    case TeKey::Ent: {
      TVio* vio = KeyVio();
      const int prm = PrmCtl(vio, -1, false);
      if (ctl || prm < 0) return false;
      FpCurVio = vio;
      ReqFoc(vio, prm);
      return true;
    }
    case TeKey::Chr: {
      const int typ = KeyVioTyp(chr);
      if (ctl || typ < 0) return false;
      if (FOnTypKey)
        FOnTypKey(static_cast<std::uint8_t>(typ));
      else
        AddVioKey(static_cast<std::uint8_t>(typ));
      return true;
    }
  }
  if (!ctl) {
    SetKeyCur(FiKeyCol + dc, FiKeyRow + dr);
    // What acts on the current vio (F9, the vio's menu) acts where the cursor stands.
    FpCurVio = KeyVio();
    return true;
  }
  TVio* vio = KeyVio();
  if (!vio || FbStaRun || VioDrg()) return true;
  // As a drag that holds the vio one cell on and lets it go: the glue rule
  // says where it is shown (clamped at the border), the drop rule where it lands.
  const TuPos at{vio->Left(), vio->Top()};
  const TuGlu g = GluVio(vio, at, at.X + dc * FiCelWdt, at.Y + dr * FiCelHgt);
  FpCurVio = vio;
  DrpVio(vio, g.Pos.X, g.Pos.Y);
  SetKeyCur(vio->Rec.GrdCol, vio->Rec.GrdRow);
  return true;
}
