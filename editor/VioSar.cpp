// The editor: the sensor and actor lists of a vio and its unit label.
#include "editor/VioPgmItp.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "core/WndMsg.h"
#include "core/Seams.h"
#include "editor/VioLge.h"
#include "editor/VioNum.h"
#include "messages/SysLgeMsg.h"


bool TVioPgmItp::FilSarTypCbx(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, bool actor) {
  if (!vio) return false;
  TStrLst lst;
  if (!SarAndTkn().GetSarTypLst(lst, lge, avlCol, actor)) return false;
  FpLge->FltSarLst(lst, vio, lge, avlCol, actor, nullptr);
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_TYP);
  if (i >= 0) {
    TVioCtl& c = vio->FCtls[static_cast<std::size_t>(i)];
    c.Itms = std::move(lst);
    vio->PutCtlTxt(i, {});  // a fixed list shows nothing until an item is selected
    NtfCtl(vio, i);
  }
  return true;
}

bool TVioPgmItp::FilSarComCbx(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, const std::string& typTxt,
                              bool actor) {
  if (!vio) return false;
  TStrLst lst;
  if (!SarAndTkn().GetSarComLst(lst, typTxt, lge, avlCol, actor)) return false;
  FpLge->FltSarLst(lst, vio, lge, avlCol, actor, &typTxt);
  const int i = vio->FndCtl(TeCtlKnd::Cbx, CR_SAR_COM);
  if (i >= 0) {
    TVioCtl& c = vio->FCtls[static_cast<std::size_t>(i)];
    c.Itms = std::move(lst);
    vio->PutCtlTxt(i, {});
    NtfCtl(vio, i);
  }
  return true;
}

bool TVioPgmItp::SetSarTkn(std::uint8_t lge, const std::string& typTxt, const std::string& comTxt, TVio* vio) {
  if (!vio) return false;
  const int tkn = SarAndTkn().GetSarTkn(lge, typTxt, comTxt);
  if (tkn < 0) return false;
  vio->FRec.SarTkn = static_cast<std::uint8_t>(tkn);
  return true;
}

void TVioPgmItp::UpdActUnt() {
  TVio* vio = FpCurVio;
  if (!vio) return;
  const std::string& typ = vio->Rec().SarTyp;
  const std::string& com = vio->Rec().SarCom;
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
    if (shw) c.LblTxt = unt;
    NtfCtl(vio, l);
  }
  if (e >= 0) {
    vio->FCtls[static_cast<std::size_t>(e)].Vis = shw;
    NtfCtl(vio, e);
  }
}

TStrLst TVioPgmItp::AllSarNam() {
  TStrLst nms;
  for (std::uint8_t lge = 0; lge <= 2; ++lge)
    for (bool actor : {true, false}) {
      for (const std::string& t : SarAndTkn().SarTypLst(lge, AvlCol(), actor)) {
        nms.push_back(t);
        const TStrLst coms = SarAndTkn().SarComLst(t, lge, AvlCol(), actor);
        nms.insert(nms.end(), coms.begin(), coms.end());
      }
    }
  std::sort(nms.begin(), nms.end());
  nms.erase(std::unique(nms.begin(), nms.end()), nms.end());
  return nms;
}

// ---- User actions ---------------------------------------------------------------------
