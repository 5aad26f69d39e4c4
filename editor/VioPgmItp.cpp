#include "editor/VioPgmItp.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "core/WndMsg.h"
#include "core/Seams.h"
#include "editor/VioNum.h"
#include "messages/SysLgeMsg.h"

namespace {

template <class TLst>
int FndNoCase(const TLst& lst, const std::string& s) {
  for (std::size_t i = 0; i < lst.size(); ++i)
    if (EqlNoCase(lst[i], s)) return static_cast<int>(i);
  return -1;
}

void ShwErrBox(const std::string& txt) { ShwMsgBox(txt, "Error", TeMsgBtn::Ok); }

// Text measurement used when the GUI has not supplied one: Arial at 96 dots
// per inch, a capital A about two thirds of the em wide, the line 1.15 em high.
class TDefTxtMsr final : public ITxtMsr {
public:
  void MsrTxt(const std::string&, int pts, const std::string& txt, int& width, int& height) override {
    const int px = pts * 96 / 72;
    width = static_cast<int>(txt.size()) * (px * 2 / 3);
    height = px * 115 / 100;
  }
};

// Upper bound of the font size search, so that a measurer that never reaches
// its target cannot hold the editor in a loop.
constexpr int GcMaxFntPts = 400;

std::string CelNam(const TVio* vio) {
  return "column " + std::to_string(vio->Rec.GrdCol + 1) + ", row " + std::to_string(vio->Rec.GrdRow + 1);
}

}  // namespace

// ---- TVio ------------------------------------------------------------------

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

// ---- Construction and field --------------------------------------------------

TVioPgmItp::TVioPgmItp(IWndMsgTgt* owner)
    : FpInsAndTkn(std::make_unique<TInsAndTkn>(owner)), FpOwnFrm(owner) {
  FHst.push_back(TakSnp());
}

TVioPgmItp::~TVioPgmItp() {
  for (TVio* v : FpVioLst) delete v;
  FpVioLst.clear();
}

void TVioPgmItp::CrtVioFld(int width, int height) {
  if (width <= 0 || height <= 0) {
    width = 800;
    height = 600;
  }
  FiFldWdt = width;
  FiFldHgt = height;
  FiGrdCls = GcGrdCls;
  FiGrdRws = GcGrdRws;
  FiCelWdt = width * 66 / 800;
  FiCelHgt = height * 60 / 600;
}

std::string TVioPgmItp::GetSysUsrMsg(std::uint8_t id) {
  return GuSysLgeMsg ? GuSysLgeMsg->GetSysMsg(id, FbyLgeIdx) : std::string();
}

// ---- Grid queries -------------------------------------------------------------

bool TVioPgmItp::CelInGrd(int col, int row) const {
  return col >= 0 && col < FiGrdCls && row >= 0 && row < FiGrdRws;
}

bool TVioPgmItp::CelFreExc(int col, int row, const TVio* vio) const {
  if (!CelInGrd(col, row)) return false;
  const int x = col * FiCelWdt, y = row * FiCelHgt;
  for (const TVio* v : FpVioLst)
    if (v != vio && v->FiLeft == x && v->FiTop == y) return false;
  return true;
}

bool TVioPgmItp::CelFre(int col, int row) const { return CelFreExc(col, row, nullptr); }

bool TVioPgmItp::CelOcc(int col, int row) const {
  if (!CelInGrd(col, row)) return false;
  const int x = col * FiCelWdt, y = row * FiCelHgt;
  for (const TVio* v : FpVioLst)
    if (v->FiLeft == x && v->FiTop == y) return true;
  return false;
}

namespace {
void StpDir(std::uint8_t dir, int& col, int& row) {
  switch (dir) {
    case ND_LFT: --col; break;
    case ND_UPP: --row; break;
    case ND_RGT: ++col; break;
    case ND_DWN: ++row; break;
    default: col = INT_MIN / 2; break;  // no such direction: outside every grid
  }
}
}  // namespace

bool TVioPgmItp::NbrCelFre(int col, int row, std::uint8_t dir) const {
  StpDir(dir, col, row);
  return CelFre(col, row);
}

bool TVioPgmItp::FstFreCelCol0(int& col, int& row) const {
  col = 0;
  if (FpVioLst.empty()) {
    row = 0;
    return true;
  }
  for (int r = 0; r < FiGrdRws; ++r) {
    bool tkn = false;
    for (const TVio* v : FpVioLst)
      if (v->FiLeft == 0 && v->FiTop == r * FiCelHgt) tkn = true;
    if (!tkn) {
      row = r;
      return true;
    }
  }
  return false;
}

TVio* TVioPgmItp::GetNbrVio(const TVio* vio, std::uint8_t dir) const {
  if (!vio) return nullptr;
  int col = vio->Rec.GrdCol, row = vio->Rec.GrdRow;
  StpDir(dir, col, row);
  if (!CelInGrd(col, row)) return nullptr;
  for (TVio* v : FpVioLst)
    if (v != vio && v->Rec.GrdCol == col && v->Rec.GrdRow == row) return v;
  return nullptr;
}

std::string TVioPgmItp::GetCtlTxt(const TVio* vio, TeCtlKnd knd, std::uint8_t rol) const {
  if (!vio) return {};
  const int i = vio->FndCtl(knd, rol);
  return i < 0 ? std::string() : vio->FCtls[static_cast<std::size_t>(i)].Txt;
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
  // Undo and Redo re-create vios without moving the focus: it stays where
  // the user pressed the key, so that the next press reaches the menu too.
  if (ctl < 0 || FbHstOff) return;
  for (IVioPgmObs* o : FpObsLst) o->CtlFoc(vio, ctl);
}

bool TVioPgmItp::OwnsVio(const TVio* vio) const {
  return vio && std::find(FpVioLst.begin(), FpVioLst.end(), vio) != FpVioLst.end();
}

// ---- Creation -----------------------------------------------------------------

TVio* TVioPgmItp::CrtVioPnl(std::uint8_t typ, int col, int row) {
  TVio* vio = new TVio(this);
  vio->FiLeft = col * FiCelWdt;
  vio->FiTop = row * FiCelHgt;
  vio->FiWdt = FiCelWdt;
  vio->FiHgt = FiCelHgt;
  vio->Rec.VioTyp = typ;
  vio->Rec.SarTkn = 0xFF;
  vio->Rec.GrdCol = col;
  vio->Rec.GrdRow = row;
  FpVioLst.push_back(vio);
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

void TVioPgmItp::ClrVio(TVio* vio) {
  vio->FiClr = GetVioClr(vio->Rec.VioTyp);
  vio->FiFntClr = GetVioFntClr(vio->Rec.VioTyp);
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
  ClrVio(vio);
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
  edt.Clr = GcPrmBluClr;
  edt.Width = FiCelWdt / 2;
  edt.Txt = dly.empty() ? "10" : dly;
  AddCtl(vio, edt);
  ClrVio(vio);
  vio->FsCap = "DELAY";
  TVioCtl lbl;
  lbl.Top = 4;
  // Above the caption in the middle of the vio.
  PutUnt(lbl, edt, 18, {"* 0.1S"}, FiCelHgt / 2 - 8);
  lbl.Clr = GcDlyGrnClr;
  lbl.Txt = "* 0.1S";
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
  cbx.Clr = GcLblCynClr;
  cbx.Edt = true;
  cbx.Width = FiCelWdt;
  cbx.MaxLen = static_cast<int>(GcMaxLblLen);
  // The box shares the label list rather than copying it.
  cbx.Itms = FpLblVioDdwStl.empty() ? TShrStrLst{"A"} : FpLblVioDdwStl;
  if (name) {
    cbx.Txt = *name;
  } else {
    // A Label shows its first item, a Goto the item at the index.
    const int i = typ == VT_LBL ? 0 : idx;
    if (i >= 0 && static_cast<std::size_t>(i) < cbx.Itms.size()) cbx.Txt = cbx.Itms[static_cast<std::size_t>(i)];
  }
  AddCtl(vio, cbx);
  ClrVio(vio);
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
  cap.Top = (FiCelHgt / 4) * 3 + 7;
  cap.Left = 25;
  cap.FntHgt = 10;
  cap.Txt = GetVioCap(vio->Rec.VioTyp);
  AddCtl(vio, cap);
  if (actor) UpdActUnt();
  FitVioFnt(vio, actor);
  ClrVio(vio);
  vio->FsCap.clear();
  ShwVio(vio, true);
  return true;
}

bool TVioPgmItp::AddSarBxs(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, const std::string& typTxt,
                           const std::string& comTxt, bool actor) {
  TVioCtl cbx;
  cbx.Knd = TeCtlKnd::Cbx;
  cbx.Clr = GcPrmBluClr;
  cbx.Edt = false;
  cbx.Width = FiCelWdt;
  cbx.CtlRol = CR_SAR_TYP;
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
  c.Txt = shown;
  NtfCtl(vio, ctl);
  return true;
}

void TVioPgmItp::AddActVal(TVio* vio, const std::string& valTxt) {
  TVioCtl edt;
  edt.Knd = TeCtlKnd::Edt;
  edt.CtlRol = CR_VAL;
  edt.Clr = GcPrmBluClr;
  edt.Width = FiCelWdt / 2;
  edt.Ena = true;
  edt.Txt = valTxt;
  AddCtl(vio, edt);
  TVioCtl unt;
  unt.Top = (FiCelHgt / 4) * 2 + 3;
  // Down to the caption label; the same size for either unit.
  PutUnt(unt, edt, 18, {"cm", "0.1s"}, FiCelHgt / 4 + 4);
  unt.Clr = GcActOrgClr;
  AddCtl(vio, unt);
}

bool TVioPgmItp::CrtSpdVio(int col, int row, std::uint8_t spd) {
  TStpGrd stp(*this);
  TVio* vio = CrtVioPnl(VT_SPD, col, row);
  TVioCtl edt;
  edt.Knd = TeCtlKnd::Edt;
  edt.CtlRol = CR_SPD;
  edt.Clr = GcPrmBluClr;
  edt.Width = FiCelWdt / 2;
  edt.Top = 0;
  edt.Txt = std::to_string(spd);
  const int e = AddCtl(vio, edt);
  vio->SetVisible(true);
  ReqFoc(vio, e);
  TVioCtl unt;
  unt.Top = 3;
  PutUnt(unt, edt, 12, {"cm/s"}, (FiCelHgt / 4) * 3 + 4);
  unt.Clr = GcActOrgClr;
  unt.Txt = "cm/s";
  AddCtl(vio, unt);
  TVioCtl cap;
  cap.Top = (FiCelHgt / 4) * 3 + 7;
  cap.Left = 10;
  cap.FntHgt = 10;
  cap.Txt = "ENGINE SPEED";
  AddCtl(vio, cap);
  vio->FiClr = GetVioClr(VT_SPD);
  for (IVioPgmObs* o : FpObsLst) o->VioChg(vio);
  return true;
}

TVio* TVioPgmItp::PutVio(std::uint8_t typ, int col, int row) {
  TStpGrd stp(*this);
  bool ok;
  switch (typ) {
    case VT_STA: case VT_STO: case VT_IFF: case VT_THN: case VT_ELS: case VT_SWI: case VT_RTI:
      ok = CrtSmpVio(typ, col, row);
      break;
    case VT_DLY: ok = CrtDlyVio(col, row, "10"); break;
    case VT_LBL: ok = CrtLblVio(col, row, 0, std::nullopt); break;
    case VT_GTO: ok = CrtGtoVio(col, row, 0, std::nullopt); break;
    case VT_ACT: ok = CrtSarVio(FbyLgeIdx, FbyAvlCol, col, row, "", "Forward", "10", true); break;
    case VT_SNS: ok = CrtSarVio(FbyLgeIdx, FbyAvlCol, col, row, "", "", "0", false); break;
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
  TStpGrd stp(*this);
  int col = -1, row = -1;
  bool fnd = false;
  if (FiCurCol != -1) {
    if (CelFre(FiCurCol, FiCurRow)) {
      col = FiCurCol;
      row = FiCurRow;
      fnd = true;
    } else {
      static constexpr std::uint8_t GcTryOrd[] = {ND_RGT, ND_DWN, ND_LFT, ND_UPP};
      for (std::uint8_t d : GcTryOrd) {
        int c = FiCurCol, r = FiCurRow;
        StpDir(d, c, r);
        if (CelFre(c, r)) {
          col = c;
          row = r;
          fnd = true;
          break;
        }
      }
    }
  }
  if (!fnd) fnd = FstFreCelCol0(col, row);
  // Column 0 full does not mean the field is: the message below must be true.
  for (int r = 0; !fnd && r < FiGrdRws; ++r)
    for (int c = 0; !fnd && c < FiGrdCls; ++c)
      if (CelFre(c, r)) {
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
  FpVioLst.erase(std::find(FpVioLst.begin(), FpVioLst.end(), vio));
  // The walk links of the others must not point at a deleted vio.
  for (TVio* v : FpVioLst) {
    if (v->Rec.pPrvVio == vio) v->Rec.pPrvVio = nullptr;
    if (v->Rec.pNxtVio == vio) v->Rec.pNxtVio = nullptr;
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
  delete vio;
}

void TVioPgmItp::RmvAllVio() {
  TStpGrd stp(*this);
  while (!FpVioLst.empty()) RmvVio(FpVioLst.back());
  for (IVioPgmObs* o : FpObsLst) o->FldClr();
}

// ---- Sar lists --------------------------------------------------------------------

bool TVioPgmItp::FilSarTypCbx(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, bool actor) {
  if (!vio) return false;
  TStrLst lst;
  if (!SarAndTkn().GetSarTypLst(lst, lge, avlCol, actor)) return false;
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_TYP);
  if (i >= 0) {
    TVioCtl& c = vio->FCtls[static_cast<std::size_t>(i)];
    c.Itms = std::move(lst);
    c.Txt.clear();  // a fixed list shows nothing until an item is selected
    NtfCtl(vio, i);
  }
  return true;
}

bool TVioPgmItp::FilSarComCbx(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, const std::string& typTxt,
                              bool actor) {
  if (!vio) return false;
  TStrLst lst;
  if (!SarAndTkn().GetSarComLst(lst, typTxt, lge, avlCol, actor)) return false;
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM);
  if (i >= 0) {
    TVioCtl& c = vio->FCtls[static_cast<std::size_t>(i)];
    c.Itms = std::move(lst);
    c.Txt.clear();
    NtfCtl(vio, i);
  }
  return true;
}

bool TVioPgmItp::SetSarTkn(std::uint8_t lge, const std::string& typTxt, const std::string& comTxt, TVio* vio) {
  if (!vio) return false;
  const int tkn = SarAndTkn().GetSarTkn(lge, typTxt, comTxt);
  if (tkn < 0) return false;
  vio->Rec.SarTkn = static_cast<std::uint8_t>(tkn);
  return true;
}

void TVioPgmItp::UpdActUnt() {
  TVio* vio = FpCurVio;
  if (!vio) return;
  const std::string typ = GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_TYP);
  const std::string com = GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_COM);
  bool shw = true;
  std::string unt;
  if (typ == "Driving" && (com == "Forward" || com == "Reverse"))
    unt = "cm";
  else if (typ == "System led" || typ == "Back Leds" || typ == "Track Led")
    unt = "0.1s";
  else
    shw = false;
  const int l = vio->FstCtl(TeCtlKnd::Lbl);
  const int e = vio->FstCtl(TeCtlKnd::Edt);
  if (l >= 0) {
    TVioCtl& c = vio->FCtls[static_cast<std::size_t>(l)];
    c.Vis = shw;
    if (shw) c.Txt = unt;
    NtfCtl(vio, l);
  }
  if (e >= 0) {
    vio->FCtls[static_cast<std::size_t>(e)].Vis = shw;
    NtfCtl(vio, e);
  }
}

void TVioPgmItp::PutUnt(TVioCtl& unt, const TVioCtl& edt, int px, std::initializer_list<const char*> txts,
                        int maxHgt) {
  // Beside the edit, never over it, whatever the proportions of the cell.
  unt.Left = std::max(FiCelHgt / 2 + 10, edt.Left + edt.Width + 2);
  TDefTxtMsr defMsr;
  ITxtMsr* msr = FpTxtMsr ? FpTxtMsr : &defMsr;
  // The panel's frame takes a pixel at the right; the label a little more than its text.
  const int room = FiCelWdt - unt.Left - 4;
  for (; px > 1; --px) {
    bool fit = true;
    for (const char* t : txts) {
      int w = 0, h = 0;
      msr->MsrPxl(px, t, w, h);
      fit = fit && w <= room && h <= maxHgt;
    }
    if (fit) break;
  }
  unt.FntHgt = px;
}

void TVioPgmItp::FitVioFnt(TVio* vio, bool withEdt) {
  if (!vio) return;
  if (FiFitPts < 0 || FiFitWdt != FiCelWdt || FiFitHgt != vio->FiHgt) {
    TDefTxtMsr defMsr;
    ITxtMsr* msr = FpTxtMsr ? FpTxtMsr : &defMsr;
    const std::string prb(12, 'A');
    int w = 0, h = 0;
    int wdtSiz = 1;
    for (;; ++wdtSiz) {
      msr->MsrTxt("Arial", wdtSiz, prb, w, h);
      if (w >= FiCelWdt || wdtSiz >= GcMaxFntPts) break;
    }
    --wdtSiz;
    const int tgt = vio->FiHgt / 4;
    int hgtSiz = 1;
    for (;; ++hgtSiz) {
      msr->MsrTxt("Arial", hgtSiz, prb, w, h);
      if (h >= tgt || hgtSiz >= GcMaxFntPts) break;
    }
    --hgtSiz;
    int pts = std::min(wdtSiz, hgtSiz);
    // The probe is no name: the names the boxes may show in any language
    // must fit whole beside the box's frame and button, the line with its
    // descenders inside the box.
    int romW = 0, romH = 0;
    msr->CbxRom(romW, romH);
    const std::string kep = GuLstErrMsg;
    TStrLst nms;
    for (std::uint8_t lge = 0; lge <= 2; ++lge)
      for (bool actor : {true, false}) {
        TStrLst typs, coms;
        if (!SarAndTkn().GetSarTypLst(typs, lge, FbyAvlCol, actor)) continue;
        for (const std::string& t : typs) {
          nms.push_back(t);
          if (SarAndTkn().GetSarComLst(coms, t, lge, FbyAvlCol, actor)) nms.insert(nms.end(), coms.begin(), coms.end());
        }
      }
    GuLstErrMsg = kep;
    std::sort(nms.begin(), nms.end());
    nms.erase(std::unique(nms.begin(), nms.end()), nms.end());
    for (; pts > 1; --pts) {
      int wid = 0;
      msr->MsrTxt("Arial", pts, prb, w, h);
      const int hgt = h;
      for (const std::string& n : nms) {
        msr->MsrTxt("Arial", pts, n, w, h);
        wid = std::max(wid, w);
      }
      if (wid + romW <= FiCelWdt && hgt + romH <= tgt) break;
    }
    FiFitPts = std::max(1, pts);
    FiFitWdt = FiCelWdt;
    FiFitHgt = vio->FiHgt;
  }
  const int pts = FiFitPts;
  int n = 0;
  for (std::size_t i = 0; i < vio->FCtls.size(); ++i) {
    TVioCtl& c = vio->FCtls[i];
    if (c.Knd == TeCtlKnd::Cbx) {
      c.FntPts = pts;
      c.Left = 0;
      c.Top = (FiCelHgt / 4) * n++;
      c.Vis = true;
    } else if (c.Knd == TeCtlKnd::Edt) {
      // Whether the edit shows is the unit display's to say: a command
      // without a value keeps it hidden, from a file as from the list.
      c.FntPts = pts;
      c.Left = 0;
      if (withEdt) c.Top = (FiCelHgt / 4) * 2;
    } else {
      continue;
    }
    NtfCtl(vio, static_cast<int>(i));
  }
}

// ---- User actions ---------------------------------------------------------------------

void TVioPgmItp::SetCtlTxt(TVio* vio, int ctl, const std::string& txt) {
  TStpGrd stp(*this, vio, ctl);
  if (!OwnsVio(vio) || ctl < 0 || static_cast<std::size_t>(ctl) >= vio->FCtls.size()) return;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(ctl)];
  // A label box takes no more than it can show.
  const bool cut = c.Knd == TeCtlKnd::Cbx && c.MaxLen > 0 && txt.size() > static_cast<std::size_t>(c.MaxLen);
  const std::string_view t = cut ? std::string_view(txt).substr(0, static_cast<std::size_t>(c.MaxLen)) : txt;
  if (c.Txt == t) {
    if (cut) NtfCtl(vio, ctl);  // the view shows more than the box holds
    return;
  }
  c.Txt = t;
  NtfCtl(vio, ctl);
}

void TVioPgmItp::SelCtlItm(TVio* vio, int ctl, int itm) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio) || ctl < 0 || static_cast<std::size_t>(ctl) >= vio->FCtls.size()) return;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(ctl)];
  if (c.Knd != TeCtlKnd::Cbx || itm < 0 || static_cast<std::size_t>(itm) >= c.Itms.size()) return;
  c.Txt = c.Itms[static_cast<std::size_t>(itm)];
  NtfCtl(vio, ctl);
  if (c.CtlRol == CR_SAR_TYP)
    SarTypChg(vio);
  else if (c.CtlRol == CR_SAR_COM)
    SarComChg(vio);
}

void TVioPgmItp::LblKeyPrs(TVio* vio, char key) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  FpCurVio = vio;
  if (key == 13) LblNamEnt(vio);
}

void TVioPgmItp::LblNamEnt(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  FpCurVio = vio;
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_LBL_NAM);
  if (i < 0) return;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(i)];
  if (FndNoCase(c.Itms, c.Txt) < 0) {
    c.Itms.push_back(c.Txt);
    NtfCtl(vio, i);
  }
  FpLblVioDdwStl = c.Itms;
}

void TVioPgmItp::GtoLblRfs(TVio* vio) {
  if (!OwnsVio(vio)) return;
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_GTO_NAM);
  if (i < 0) return;
  vio->FCtls[static_cast<std::size_t>(i)].Itms = FpLblVioDdwStl;
  NtfCtl(vio, i);
}

bool TVioPgmItp::DgtFlt(TVio* vio, int ctl, char key) {
  if (!OwnsVio(vio) || ctl < 0 || static_cast<std::size_t>(ctl) >= vio->FCtls.size()) return false;
  FpCurVio = vio;
  TVioCtl& c = vio->FCtls[static_cast<std::size_t>(ctl)];
  const int maxLen = vio->Rec.VioTyp == VT_SPD ? 2 : 3;
  if (c.MaxLen != maxLen) {
    c.MaxLen = maxLen;
    NtfCtl(vio, ctl);
  }
  return (key >= '0' && key <= '9') || key == 13 || key == 8;
}

int TVioPgmItp::SpdFocGai(TVio* vio) {
  if (!OwnsVio(vio)) return 0;
  FpCurVio = vio;
  const int i = vio->FndCtl(TeCtlKnd::Edt, CR_SPD);
  return i < 0 ? 0 : vio->FCtls[static_cast<std::size_t>(i)].MaxLen;
}

namespace {
// The refusal of a text that is not a whole number.
std::string CnvErr(const std::string& txt) { return "'" + txt + "' is not a valid integer value"; }
}  // namespace

bool TVioPgmItp::RfsVal(TVio* vio, int edt, const std::string& msg, bool& errFlg, const TVio*& errVio) {
  ++FiRfsCnt;
  ShwErrBox(msg);
  errFlg = true;
  errVio = vio;
  ReqFoc(vio, edt);
  return false;
}

bool TVioPgmItp::ChkDlyVal(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return false;
  const int e = vio->FndCtl(TeCtlKnd::Edt, CR_VAL);
  if (e < 0) return false;
  const std::string txt = vio->FCtls[static_cast<std::size_t>(e)].Txt;
  long long v;
  if (!StrToInt(txt, v)) return RfsVal(vio, e, CnvErr(txt), FbDlyErr, FpDlyErrVio);
  if (v < 0 || v > 255)
    return RfsVal(vio, e, "Illigal delay value '" + txt + "', valid values are 0 - 255", FbDlyErr, FpDlyErrVio);
  FbDlyErr = false;
  FpDlyErrVio = nullptr;
  return true;
}

bool TVioPgmItp::ChkDstVal(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return false;
  FpCurVio = vio;
  const int e = vio->FndCtl(TeCtlKnd::Edt, CR_VAL);
  if (e < 0) return false;
  const std::string txt = vio->FCtls[static_cast<std::size_t>(e)].Txt;
  std::string msg;
  if (txt.empty()) {
    msg = "No distance value found";
  } else {
    long long v;
    if (!StrToInt(txt, v))
      msg = CnvErr(txt);
    else if (v > 255)
      msg = "Distance value '" + txt + "' above maximum value 255";
  }
  if (!msg.empty()) return RfsVal(vio, e, msg, FbDstErr, FpDstErrVio);
  FbDstErr = false;
  FpDstErrVio = nullptr;
  return true;
}

bool TVioPgmItp::ChkSpdVal(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return false;
  FpCurVio = vio;
  const int e = vio->FndCtl(TeCtlKnd::Edt, CR_SPD);
  if (e < 0) return false;
  const std::string txt = vio->FCtls[static_cast<std::size_t>(e)].Txt;
  long long v;
  if (!StrToInt(txt, v)) return RfsVal(vio, e, CnvErr(txt), FbSpdErr, FpSpdErrVio);
  if (v >= 61 || v < 3)
    return RfsVal(vio, e, "Illegal left engine speed value '" + txt + "', valid values are 3 - 60", FbSpdErr,
                  FpSpdErrVio);
  FbSpdErr = false;
  FpSpdErrVio = nullptr;
  return true;
}

bool TVioPgmItp::ChkPndInp(unsigned rfsBfr) {
  if (FiRfsCnt != rfsBfr) return true;  // the check that just ran has said why
  // The flag's vio is one of the field's own (removing it clears the flag).
  auto own = [](const TVio* v) { return const_cast<TVio*>(v); };
  if (FbDlyErr && !ChkDlyVal(own(FpDlyErrVio))) return true;
  if (FbSpdErr && !ChkSpdVal(own(FpSpdErrVio))) return true;
  if (FbDstErr && !ChkDstVal(own(FpDstErrVio))) return true;
  return FbDlyErr || FbSpdErr || FbDstErr;
}

void TVioPgmItp::SarTypChg(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  FpCurVio = vio;
  const std::string typ = GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_TYP);
  bool actor;
  if (vio->Rec.VioTyp == VT_ACT) {
    UpdActUnt();
    actor = true;
  } else if (vio->Rec.VioTyp == VT_SNS) {
    actor = false;
  } else {
    GuLstErrMsg = "#181, unknown vio type on Combobox change event";
    ShwMsgBox(GuLstErrMsg);
    return;
  }
  if (!FilSarComCbx(vio, FbyLgeIdx, FbyAvlCol, typ, actor)) {
    ShwMsgBox(GuLstErrMsg);
    return;
  }
  const int c = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM);
  if (c < 0) {
    GuLstErrMsg = "#202, Sar vio type-combobox OnChange event: no command-combobox found";
    ShwMsgBox(GuLstErrMsg);
    return;
  }
  TVioCtl& cc = vio->FCtls[static_cast<std::size_t>(c)];
  cc.Txt = cc.Itms.empty() ? std::string() : cc.Itms[0];
  NtfCtl(vio, c);
  // The unit follows the command now shown.
  if (actor) UpdActUnt();
  if (!SetSarTkn(FbyLgeIdx, typ, cc.Txt, vio)) ShwMsgBox(GuLstErrMsg);
}

void TVioPgmItp::SarComChg(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  FpCurVio = vio;
  const std::string typ = GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_TYP);
  if (vio->Rec.VioTyp == VT_ACT) UpdActUnt();
  if (!SetSarTkn(FbyLgeIdx, typ, GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_COM), vio)) ShwMsgBox(GuLstErrMsg);
}

// ---- Parameter limits for translation ------------------------------------------------

bool TVioPgmItp::ChkVioPrm(const TVio* vio) {
  if (!vio) return true;
  const std::string cap = GetVioCap(vio->Rec.VioTyp);
  switch (vio->Rec.VioTyp) {
    case VT_DLY: {
      const std::string txt = GetCtlTxt(vio, TeCtlKnd::Edt, CR_VAL);
      const long long v = NumIn(txt);
      if (v < 0 || v > 255) {
        GuLstErrMsg = "#410, DELAY vio at " + CelNam(vio) + ": delay value '" + txt +
                      "' does not fit, valid values are 0 - 255";
        return false;
      }
      return true;
    }
    case VT_ACT: {
      const std::string txt = GetCtlTxt(vio, TeCtlKnd::Edt, CR_VAL);
      const long long v = NumIn(txt);
      if (v < 0 || v > 255) {
        GuLstErrMsg = "#411, ACTOR vio at " + CelNam(vio) + ": distance or time value '" + txt +
                      "' does not fit, valid values are 0 - 255";
        return false;
      }
      return true;
    }
    case VT_SPD: {
      const std::string txt = GetCtlTxt(vio, TeCtlKnd::Edt, CR_SPD);
      long long v;
      if (!StrToInt(txt, v)) {
        GuLstErrMsg = "#412, ENGINE SPEED vio at " + CelNam(vio) + ": engine speed '" + txt +
                      "' is not a whole number";
        return false;
      }
      if (v < 1) {
        GuLstErrMsg = "#413, ENGINE SPEED vio at " + CelNam(vio) + ": engine speed '" + txt +
                      "' is not allowed, the speed must be at least 1";
        return false;
      }
      return true;
    }
    default:
      return true;
  }
}

// ---- Positions ------------------------------------------------------------------------

void TVioPgmItp::SetVioPos(TVio* vio, int left, int top) {
  if (!OwnsVio(vio) || (vio->FiLeft == left && vio->FiTop == top)) return;
  vio->FiLeft = left;
  vio->FiTop = top;
  for (IVioPgmObs* o : FpObsLst) o->VioMov(vio);
}

void TVioPgmItp::PutVioOnCel(TVio* vio, int col, int row) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  SetVioPos(vio, col * FiCelWdt, row * FiCelHgt);
  vio->Rec.GrdCol = col;
  vio->Rec.GrdRow = row;
  FiCurCol = col;
  FiCurRow = row;
}

void TVioPgmItp::DrpVio(TVio* vio) {
  TStpGrd stp(*this);
  if (!OwnsVio(vio)) return;
  const int c = (vio->FiLeft + FiCelWdt / 2) / FiCelWdt;
  const int r = (vio->FiTop + FiCelHgt / 2) / FiCelHgt;
  if (CelFreExc(c, r, vio))
    PutVioOnCel(vio, c, r);
  else
    PutVioOnCel(vio, vio->Rec.GrdCol, vio->Rec.GrdRow);
}

// ---- Mouse ----------------------------------------------------------------------------

namespace {
// Move events received while a drag was on; only every second one is processed.
unsigned GuMouMovCnt = 0;
constexpr const char* GcMouErr = "#126, 'eVisualInstructionOnMouseGoingDown' error";
constexpr int GcGluDst = 25;
}  // namespace

unsigned TVioPgmItp::MouMovCnt() { return GuMouMovCnt; }

void TVioPgmItp::VioMouDwn(TVio* vio, TeMouBtn btn, const std::optional<TuPos>& pos) {
  if (FbStaRun || !OwnsVio(vio)) return;
  if (!FbMouArm) {
    FbMouArm = true;
    return;
  }
  if (btn == TeMouBtn::Lft) {
    FpCurVio = vio;
    if (!pos) {
      ShwMsgBox(GcMouErr);
      return;
    }
    FiDrgOfsX = vio->FiLeft - pos->X;
    FiDrgOfsY = vio->FiTop - pos->Y;
    FbVioDrg = true;
  } else if (btn == TeMouBtn::Rgt) {
    FpCurVio = vio;
  }
}

void TVioPgmItp::VioMouMov(const std::optional<TuPos>& pos) {
  if (FbStaRun || !FbVioDrg) return;
  if (++GuMouMovCnt % 2 == 1) return;
  if (!pos) {
    ShwMsgBox(GcMouErr);
    return;
  }
  TVio* vio = FpCurVio;
  if (!vio) return;
  int l = pos->X + FiDrgOfsX, t = pos->Y + FiDrgOfsY;
  const int maxL = (FiGrdCls - 1) * FiCelWdt, maxT = (FiGrdRws - 1) * FiCelHgt;
  if (l < 0 || l >= maxL || t < 0 || t >= maxT) {
    SetVioPos(vio, std::clamp(l, 0, maxL), std::clamp(t, 0, maxT));
    return;
  }
  const int c = (l + FiCelWdt / 2) / FiCelWdt, r = (t + FiCelHgt / 2) / FiCelHgt;
  FpNbrGluVioLst.clear();
  auto tst = [&](int nc, int nr, int dst, char sid) {
    if (CelOcc(nc, nr) && std::abs(dst) < GcGluDst) FpNbrGluVioLst.push_back({dst, sid});
  };
  tst(c - 1, r, l - c * FiCelWdt, 'L');
  tst(c + 1, r, c * FiCelWdt - l, 'R');
  tst(c, r - 1, t - r * FiCelHgt, 'T');
  tst(c, r + 1, r * FiCelHgt - t, 'B');
  std::stable_sort(FpNbrGluVioLst.begin(), FpNbrGluVioLst.end(),
                   [](const TuGluCnd& a, const TuGluCnd& b) { return a.Dst < b.Dst; });
  if (!FpNbrGluVioLst.empty())
    SetVioPos(vio, c * FiCelWdt, r * FiCelHgt);
  else
    SetVioPos(vio, l, t);
}

void TVioPgmItp::VioMouUp(TeMouBtn btn) {
  TStpGrd stp(*this);
  if (FbStaRun) return;
  TVio* vio = FpCurVio;
  if (btn == TeMouBtn::Lft && vio) {
    DrpVio(vio);
  } else if (btn == TeMouBtn::Rgt && FbCtxPop) {
    FbCtxPop = false;
    if (vio && FpOwnFrm) {
      if (vio->Rec.VioTyp == VT_STA) FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_STA, 0);
      if (vio->Rec.VioTyp == VT_SWI) FpOwnFrm->SndMsg(WM_APP_MSG, AM_ENA_SWI, 0);
      FpOwnFrm->SndMsg(WM_SET_MSG, SM_RMV_CUR_VIO, 0);
    }
  }
  FbVioDrg = false;
}

void TVioPgmItp::StaDblClk() {
  FbStaRun = true;
  if (FOnStaDblClk && !FOnStaDblClk()) {
    ShwMsgBox(GuLstErrMsg);
    FbMouArm = false;
  }
  FbStaRun = false;
}
