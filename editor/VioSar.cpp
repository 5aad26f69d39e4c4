// The editor: the sensor and actor lists of a vio, its unit labels and the fitting of its font.
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

}  // namespace

bool TVioPgmItp::FilSarTypCbx(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, bool actor) {
  if (!vio) return false;
  TStrLst lst;
  if (!SarAndTkn().GetSarTypLst(lst, lge, avlCol, actor)) return false;
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
  vio->Rec.SarTkn = static_cast<std::uint8_t>(tkn);
  return true;
}

void TVioPgmItp::UpdActUnt() {
  TVio* vio = FpCurVio;
  if (!vio) return;
  const std::string& typ = vio->Rec.SarTyp;
  const std::string& com = vio->Rec.SarCom;
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
