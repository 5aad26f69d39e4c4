#include "editor/VioPgmItp.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "core/WndMsg.h"
#include "core/Seams.h"
#include "editor/VioClp.h"
#include "editor/VioKey.h"
#include "editor/VioLge.h"
#include "editor/VioLsn.h"
#include "editor/VioMou.h"
#include "editor/VioPrm.h"
#include "editor/VioNum.h"
#include "messages/SysLgeMsg.h"

// ---- TVio ------------------------------------------------------------------

int TVio::Left() const { return FRec.GrdCol * FpOwn->CelWdt(); }
int TVio::Top() const { return FRec.GrdRow * FpOwn->CelHgt(); }
int TVio::Width() const { return FpOwn->CelWdt(); }
int TVio::Height() const { return FpOwn->CelHgt(); }

void TVio::SetVisible(bool v) {
  if (FbVis == v) return;
  FbVis = v;
  if (FpOwn) FpOwn->NtfVioVis(this);
}

int TVio::FndCtl(TeCtlKnd knd, std::uint8_t rol) const {
  for (std::size_t i = 0; i < FCtls.size(); ++i)
    if (FCtls[i].Knd == knd && (knd == TeCtlKnd::Lbl || FCtls[i].CtlRol == rol)) return static_cast<int>(i);
  return -1;
}

int TVio::FstCtl(TeCtlKnd knd) const {
  for (std::size_t i = 0; i < FCtls.size(); ++i)
    if (FCtls[i].Knd == knd) return static_cast<int>(i);
  return -1;
}

const std::string& TVio::CtlTxt(int ctl) const {
  static const std::string GcNon;
  if (!InRng(ctl, FCtls.size())) return GcNon;
  const TVioCtl& c = FCtls[static_cast<std::size_t>(ctl)];
  if (c.Knd == TeCtlKnd::Lbl) return c.LblTxt;
  const std::string* p = FRec.Prm(c.CtlRol);
  return p ? *p : GcNon;
}

void TVio::PutCtlTxt(int ctl, std::string txt) {
  TVioCtl& c = FCtls[static_cast<std::size_t>(ctl)];
  if (c.Knd == TeCtlKnd::Lbl) {
    c.LblTxt = std::move(txt);
  } else if (std::string* p = FRec.Prm(c.CtlRol)) {
    *p = std::move(txt);
  }
}

std::string* TuVioRec::Prm(std::uint8_t rol) {
  return const_cast<std::string*>(static_cast<const TuVioRec*>(this)->Prm(rol));
}

const std::string* TuVioRec::Prm(std::uint8_t rol) const {
  switch (rol) {
    case CR_SAR_TYP: return &SarTyp;
    case CR_SAR_COM: return &SarCom;
    case CR_VAL: return &ValTxt;
    case CR_LBL_NAM: case CR_GTO_NAM: return &LblNam;
    case CR_SPD: return &SpdTxt;
    default: return nullptr;
  }
}

// ---- Construction and field --------------------------------------------------

TVioPgmItp::TVioPgmItp(IWndMsgTgt* owner)
    : FpInsAndTkn(std::make_unique<TInsAndTkn>(owner)),
      FpPrm(std::make_unique<TVioPrm>(*this)),
      FpMou(std::make_unique<TVioMou>(*this)),
      FpKey(std::make_unique<TVioKey>(*this)),
      FpLge(std::make_unique<TVioLge>(*this)),
      FpClp(std::make_unique<TVioClp>(*this)),
      FpOwnFrm(owner) {
  FHst.Rcd(TakSnp(), nullptr, -1);
}

TVioPgmItp::~TVioPgmItp() = default;

void TVioPgmItp::CrtVioFld(int width, int height) {
  if (width <= 0 || height <= 0) {
    width = 800;
    height = 600;
  }
  FiFldWdt = width;
  FiFldHgt = height;
  FPgm.SetGrd(GcGrdCls, GcGrdRws);
  FiBasWdt = OwnBasWdt();
  FiBasHgt = height * 60 / 600;
  FiCelWdt = FiBasWdt * FiZom / 100;
  FiCelHgt = FiBasHgt * FiZom / 100;
}

std::string TVioPgmItp::GetSysUsrMsg(std::uint8_t id) {
  return GuSysLgeMsg ? GuSysLgeMsg->GetSysMsg(id, LgeIdx()) : std::string();
}

std::string TVioPgmItp::GetCtlTxt(const TVio* vio, TeCtlKnd knd, std::uint8_t rol) const {
  if (!vio) return {};
  return vio->CtlTxt(vio->FndCtl(knd, rol));
}

// ---- Notifications ------------------------------------------------------------

void TVioPgmItp::AddObs(IVioPgmObs* obs) {
  if (obs && std::find(FpObsLst.begin(), FpObsLst.end(), obs) == FpObsLst.end()) FpObsLst.push_back(obs);
}

void TVioPgmItp::RmvObs(IVioPgmObs* obs) {
  FpObsLst.erase(std::remove(FpObsLst.begin(), FpObsLst.end(), obs), FpObsLst.end());
}

void TVioPgmItp::NtfVioVis(TVio* vio) {
  for (IVioPgmObs* o : FpObsLst) o->VioVis(vio);
}

void TVioPgmItp::NtfCtl(TVio* vio, int ctl) {
  for (IVioPgmObs* o : FpObsLst) o->CtlChg(vio, ctl);
}

void TVioPgmItp::ReqFoc(TVio* vio, int ctl) {
  // Undo, Redo and a paste create vios without moving the focus: it stays where
  // the user pressed the key, so that the next press reaches the menu too.
  if (ctl < 0 || FbHstOff || FbNoFoc) return;
  for (IVioPgmObs* o : FpObsLst) o->CtlFoc(vio, ctl);
}

// ---- Creation -----------------------------------------------------------------

TVio* TVioPgmItp::CrtVioPnl(std::uint8_t typ, int col, int row) {
  auto own = std::unique_ptr<TVio>(new TVio(this));
  TVio* vio = own.get();
  vio->FRec.VioTyp = typ;
  vio->FRec.SarTkn = 0xFF;
  vio->FRec.GrdCol = col;
  vio->FRec.GrdRow = row;
  FPgm.Add(std::move(own));
  FiCurCol = col;
  FiCurRow = row;
  FpCurVio = vio;
  for (IVioPgmObs* o : FpObsLst) o->VioAdd(vio);
  return vio;
}

int TVioPgmItp::AddCtl(TVio* vio, const TVioCtl& ctl) {
  vio->FCtls.push_back(ctl);
  const int i = static_cast<int>(vio->FCtls.size()) - 1;
  NtfCtl(vio, i);
  return i;
}

void TVioPgmItp::ShwVio(TVio* vio, bool prcMsg) {
  for (IVioPgmObs* o : FpObsLst) o->VioChg(vio);
  vio->SetVisible(true);
  if (prcMsg) PrcMsg();
}

bool TVioPgmItp::CrtSmpVio(std::uint8_t typ, int col, int row) {
  TStpGrd stp(*this);
  const bool smp = typ <= VT_ELS || typ == VT_SWI || typ == VT_RTI;
  if (!smp) {
    GuLstErrMsg = "#084, Unknown Visual Instruction Object Type";
    return false;
  }
  TVio* vio = CrtVioPnl(typ, col, row);
  vio->FsCap = GetVioCap(typ);
  ShwVio(vio, true);
  return true;
}

bool TVioPgmItp::CrtDlyVio(int col, int row, const std::string& dly) {
  TStpGrd stp(*this);
  TVio* vio = CrtVioPnl(VT_DLY, col, row);
  TVioCtl edt;
  edt.Knd = TeCtlKnd::Edt;
  edt.CtlRol = CR_VAL;
  vio->FRec.ValTxt = dly.empty() ? "10" : dly;
  AddCtl(vio, edt);
  vio->FsCap = "DELAY";
  TVioCtl lbl;
  lbl.LblTxt = "* 0.1S";
  AddCtl(vio, lbl);
  ShwVio(vio, true);
  return true;
}

bool TVioPgmItp::CrtLblOrGto(std::uint8_t typ, int col, int row, int idx,
                             const std::optional<std::string>& name) {
  TStpGrd stp(*this);
  TVio* vio = CrtVioPnl(typ, col, row);
  TVioCtl cbx;
  cbx.Knd = TeCtlKnd::Cbx;
  cbx.CtlRol = typ == VT_LBL ? CR_LBL_NAM : CR_GTO_NAM;
  cbx.Edt = true;
  cbx.MaxLen = static_cast<int>(GcMaxLblLen);
  // The box shares the label list rather than copying it.
  cbx.Itms = FPgm.LblLst().empty() ? TShrStrLst{"A"} : FPgm.LblLst();
  if (name) {
    vio->FRec.LblNam = *name;
  } else {
    // A Label shows its first item, a Goto the item at the index.
    const int i = typ == VT_LBL ? 0 : idx;
    if (InRng(i, cbx.Itms.size())) vio->FRec.LblNam = cbx.Itms[static_cast<std::size_t>(i)];
  }
  AddCtl(vio, cbx);
  vio->FsCap = typ == VT_LBL ? "LABEL" : "GOTO";
  ShwVio(vio, typ == VT_LBL);
  return true;
}

bool TVioPgmItp::CrtLblVio(int col, int row, int idx, const std::optional<std::string>& name) {
  return CrtLblOrGto(VT_LBL, col, row, idx, name);
}

bool TVioPgmItp::CrtGtoVio(int col, int row, int idx, const std::optional<std::string>& name) {
  return CrtLblOrGto(VT_GTO, col, row, idx, name);
}

bool TVioPgmItp::CrtSarVio(std::uint8_t lge, std::uint8_t avlCol, int col, int row, const std::string& typTxt,
                           const std::string& comTxt, const std::string& valTxt, bool actor) {
  TStpGrd stp(*this);
  TVio* vio = CrtVioPnl(actor ? VT_ACT : VT_SNS, col, row);
  // A vio that cannot be completed is taken off the field again rather than
  // left behind hidden on its cell.
  if (!AddSarBxs(vio, lge, avlCol, typTxt, comTxt, actor)) {
    const std::string msg = GuLstErrMsg;
    RmvVio(vio);
    GuLstErrMsg = msg;
    return false;
  }
  if (actor) AddActVal(vio, valTxt);
  TVioCtl cap;
  cap.LblTxt = GetVioCap(vio->Rec().VioTyp);
  AddCtl(vio, cap);
  if (actor) UpdActUnt();
  vio->FsCap.clear();
  ShwVio(vio, true);
  return true;
}

bool TVioPgmItp::AddSarBxs(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, const std::string& typTxt,
                           const std::string& comTxt, bool actor) {
  TVioCtl cbx;
  cbx.Knd = TeCtlKnd::Cbx;
  cbx.Edt = false;
  cbx.CtlRol = CR_SAR_TYP;
  // The wanted pair stays in the lists even where a lesson does not offer it.
  vio->FRec.SarTyp = typTxt;
  vio->FRec.SarCom = comTxt;
  const int typCtl = AddCtl(vio, cbx);
  if (!FilSarTypCbx(vio, lge, avlCol, actor)) return false;
  std::string typ;
  if (!ShwSarItm(vio, typCtl, typTxt, "#189, No Actor types in combobox dropdown list specified",
                 "#155, 'Actor' vio combobox 'actor-type', default text '" + typTxt +
                     "' not found in dropdown list (filled from language file)",
                 typ))
    return false;

  cbx.CtlRol = CR_SAR_COM;
  const int comCtl = AddCtl(vio, cbx);
  if (!FilSarComCbx(vio, lge, avlCol, typ, actor)) return false;
  std::string com;
  if (!ShwSarItm(vio, comCtl, comTxt, "#197, No Actor commands in combobox dropdown list specified",
                 "#156, Sar vio combobox 'prop', default text '" + comTxt +
                     "' not found in dropdown list (filled from language file)",
                 com))
    return false;
  return SetSarTkn(lge, typ, com, vio);
}

bool TVioPgmItp::ShwSarItm(TVio* vio, int ctl, const std::string& want, const std::string& noneMsg,
                           const std::string& misMsg, std::string& shown) {
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(ctl)];
  if (want.empty()) {
    shown = c.Itms.empty() ? std::string() : c.Itms[0];
    if (shown.empty()) {
      GuLstErrMsg = noneMsg;
      return false;
    }
  } else {
    const int i = FndNoCase(c.Itms, want);
    if (i < 0) {
      GuLstErrMsg = misMsg;
      return false;
    }
    shown = c.Itms[static_cast<std::size_t>(i)];
  }
  vio->PutCtlTxt(ctl, shown);
  NtfCtl(vio, ctl);
  return true;
}

void TVioPgmItp::AddActVal(TVio* vio, const std::string& valTxt) {
  TVioCtl edt;
  edt.Knd = TeCtlKnd::Edt;
  edt.CtlRol = CR_VAL;
  vio->FRec.ValTxt = valTxt;
  AddCtl(vio, edt);
  AddCtl(vio, TVioCtl());  // the unit label
}

bool TVioPgmItp::CrtSpdVio(int col, int row, std::uint8_t spd) {
  TStpGrd stp(*this);
  TVio* vio = CrtVioPnl(VT_SPD, col, row);
  TVioCtl edt;
  edt.Knd = TeCtlKnd::Edt;
  edt.CtlRol = CR_SPD;
  vio->FRec.SpdTxt = std::to_string(spd);
  const int e = AddCtl(vio, edt);
  vio->SetVisible(true);
  ReqFoc(vio, e);
  TVioCtl unt;
  unt.LblTxt = "cm/s";
  AddCtl(vio, unt);
  TVioCtl cap;
  cap.LblTxt = "ENGINE SPEED";
  AddCtl(vio, cap);
  for (IVioPgmObs* o : FpObsLst) o->VioChg(vio);
  return true;
}

TVio* TVioPgmItp::PutVio(std::uint8_t typ, int col, int row) {
  if (typ < GcVioTypCnt && !VioOfr(typ)) {
    GuLstErrMsg = LsnNot({typ});
    return nullptr;
  }
  TStpGrd stp(*this);
  bool ok;
  switch (typ) {
    case VT_STA: case VT_STO: case VT_IFF: case VT_THN: case VT_ELS: case VT_SWI: case VT_RTI:
      ok = CrtSmpVio(typ, col, row);
      break;
    case VT_DLY: ok = CrtDlyVio(col, row, "10"); break;
    case VT_LBL: ok = CrtLblVio(col, row, 0, std::nullopt); break;
    case VT_GTO: ok = CrtGtoVio(col, row, 0, std::nullopt); break;
    case VT_ACT:
      // Under a lesson without "Forward" the first command it offers.
      ok = CrtSarVio(LgeIdx(), AvlCol(), col, row, "", "Forward", "10", true) ||
           (Lsn() && !Lsn()->AllAct && CrtSarVio(LgeIdx(), AvlCol(), col, row, "", "", "10", true));
      break;
    case VT_SNS: ok = CrtSarVio(LgeIdx(), AvlCol(), col, row, "", "", "0", false); break;
    case VT_SPD: ok = CrtSpdVio(col, row, 20); break;
    default:
      GuLstErrMsg = "#131, Unknown instruction";
      return nullptr;
  }
  if (!ok) {
    GuLstErrMsg = "#311, Could not put vio on programming panel";
    return nullptr;
  }
  return FpCurVio;
}

bool TVioPgmItp::AddVio(std::uint8_t typ) {
  if (typ < GcVioTypCnt && !VioOfr(typ)) {
    GuLstErrMsg = LsnNot({typ});
    return false;
  }
  TStpGrd stp(*this);
  int col = -1, row = -1;
  bool fnd = false;
  if (FiCurCol != -1) {
    if (FPgm.CelFre(FiCurCol, FiCurRow)) {
      col = FiCurCol;
      row = FiCurRow;
      fnd = true;
    } else {
      static constexpr std::uint8_t GcTryOrd[] = {ND_RGT, ND_DWN, ND_LFT, ND_UPP};
      for (std::uint8_t d : GcTryOrd) {
        int c = FiCurCol, r = FiCurRow;
        StpDir(d, c, r);
        if (FPgm.CelFre(c, r)) {
          col = c;
          row = r;
          fnd = true;
          break;
        }
      }
    }
  }
  if (!fnd) fnd = FPgm.FstFreCelCol0(col, row);
  // Column 0 full does not mean the field is: the message below must be true.
  for (int r = 0; !fnd && r < FPgm.GrdRws(); ++r)
    for (int c = 0; !fnd && c < FPgm.GrdCls(); ++c)
      if (FPgm.CelFre(c, r)) {
        col = c;
        row = r;
        fnd = true;
      }
  if (!fnd) {
    GuLstErrMsg = "#312, No free vio position left on programming field";
    return false;
  }
  return PutVio(typ, col, row) != nullptr;
}

// ---- Removal --------------------------------------------------------------------

void TVioPgmItp::RmvVio(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) {
    ShwMsgBox("#125, no vio-tag was found when trying to remove vio");
    return;
  }
  for (IVioPgmObs* o : FpObsLst) o->VioRmv(vio);
  const std::unique_ptr<TVio> gon = FPgm.Tak(vio);
  // The walk links of the others must not point at a deleted vio.
  for (TVio* v : FPgm.Vios()) {
    if (v->FRec.pPrvVio == vio) v->FRec.pPrvVio = nullptr;
    if (v->FRec.pNxtVio == vio) v->FRec.pNxtVio = nullptr;
  }
  if (FpCurVio == vio) FpCurVio = nullptr;
  // A refused value goes with its vio: its flag must not block the tool bars
  // for the rest of the run.
  if (FpDlyErrVio == vio) {
    FbDlyErr = false;
    FpDlyErrVio = nullptr;
  }
  if (FpSpdErrVio == vio) {
    FbSpdErr = false;
    FpSpdErrVio = nullptr;
  }
  if (FpDstErrVio == vio) {
    FbDstErr = false;
    FpDstErrVio = nullptr;
  }
}

void TVioPgmItp::RmvAllVio() {
  TStpGrd stp(*this);
  while (FPgm.Cnt() > 0) RmvVio(FPgm.Vios().back());
  for (IVioPgmObs* o : FpObsLst) o->FldClr();
}

// ---- Sar lists --------------------------------------------------------------------
