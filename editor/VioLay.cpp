#include "editor/VioLay.h"

#include <algorithm>

#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"

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

// Index of the control among the labels of its vio; -1 for other kinds.
int LblIdx(const TVio& vio, int ctl) {
  int n = 0;
  for (int i = 0; i < ctl; ++i)
    if (vio.Ctls()[static_cast<std::size_t>(i)].Knd == TeCtlKnd::Lbl) ++n;
  return n;
}

}  // namespace

ITxtMsr& TVioLay::Msr() {
  static TDefTxtMsr defMsr;
  return FpMsr ? *FpMsr : defMsr;
}

std::int32_t TVioLay::VioClr(const TVio& vio) { return GetVioClr(vio.Rec.VioTyp); }

std::int32_t TVioLay::VioFntClr(const TVio& vio) { return GetVioFntClr(vio.Rec.VioTyp); }

TuCtlBox TVioLay::CtlBox(const TVio& vio, int ctl) {
  const TVioCtl& c = vio.Ctls()[static_cast<std::size_t>(ctl)];
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  const std::uint8_t typ = vio.Rec.VioTyp;
  const bool sar = typ == VT_ACT || typ == VT_SNS;
  TuCtlBox b;
  switch (c.Knd) {
    case TeCtlKnd::Cbx:
      b.Width = w;
      b.Clr = sar ? GcPrmBluClr : GcLblCynClr;
      if (sar) {
        b.FntPts = FitPts();
        b.Top = c.CtlRol == CR_SAR_COM ? h / 4 : 0;
      }
      break;
    case TeCtlKnd::Edt:
      b.Width = w / 2;
      b.Clr = GcPrmBluClr;
      if (typ == VT_ACT) {
        b.FntPts = FitPts();
        b.Top = (h / 4) * 2;
      }
      break;
    case TeCtlKnd::Lbl: {
      // The unit label beside the value edit, then the caption.
      const bool unt = typ != VT_SNS && LblIdx(vio, ctl) == 0;
      if (unt && typ == VT_DLY) {
        b.Top = 4;  // above the caption in the middle of the vio
        PutUnt(b, 18, {"* 0.1S"}, h / 2 - 8);
        b.Clr = GcDlyGrnClr;
      } else if (unt && typ == VT_ACT) {
        b.Top = (h / 4) * 2 + 3;  // down to the caption; the same size for either unit
        PutUnt(b, 18, {"cm", "0.1s"}, h / 4 + 4);
        b.Clr = GcActOrgClr;
      } else if (unt && typ == VT_SPD) {
        b.Top = 3;
        PutUnt(b, 12, {"cm/s"}, (h / 4) * 3 + 4);
        b.Clr = GcActOrgClr;
      } else {
        b.Top = (h / 4) * 3 + 7;
        b.Left = typ == VT_SPD ? 10 : 25;
        b.FntHgt = 10;
      }
      break;
    }
  }
  return b;
}

void TVioLay::PutUnt(TuCtlBox& unt, int px, std::initializer_list<const char*> txts, int maxHgt) {
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  // Beside the edit (at the vio's left, half a cell wide), never over it,
  // whatever the proportions of the cell.
  unt.Left = std::max(h / 2 + 10, w / 2 + 2);
  // The panel's frame takes a pixel at the right; the label a little more than its text.
  const int room = w - unt.Left - 4;
  for (; px > 1; --px) {
    bool fit = true;
    for (const char* t : txts) {
      int tw = 0, th = 0;
      Msr().MsrPxl(px, t, tw, th);
      fit = fit && tw <= room && th <= maxHgt;
    }
    if (fit) break;
  }
  unt.FntHgt = px;
}

int TVioLay::FitPts() {
  const int celW = FMdl.CelWdt(), celH = FMdl.CelHgt();
  if (FiFitPts >= 0 && FiFitWdt == celW && FiFitHgt == celH) return FiFitPts;
  ITxtMsr& msr = Msr();
  const std::string prb(12, 'A');
  int w = 0, h = 0;
  int wdtSiz = 1;
  for (;; ++wdtSiz) {
    msr.MsrTxt("Arial", wdtSiz, prb, w, h);
    if (w >= celW || wdtSiz >= GcMaxFntPts) break;
  }
  --wdtSiz;
  const int tgt = celH / 4;
  int hgtSiz = 1;
  for (;; ++hgtSiz) {
    msr.MsrTxt("Arial", hgtSiz, prb, w, h);
    if (h >= tgt || hgtSiz >= GcMaxFntPts) break;
  }
  --hgtSiz;
  int pts = std::min(wdtSiz, hgtSiz);
  // The probe is no name: the names the boxes may show in any language
  // must fit whole beside the box's frame and button, the line with its
  // descenders inside the box.
  int romW = 0, romH = 0;
  msr.CbxRom(romW, romH);
  const TStrLst nms = FMdl.AllSarNam();
  for (; pts > 1; --pts) {
    int wid = 0;
    msr.MsrTxt("Arial", pts, prb, w, h);
    const int hgt = h;
    for (const std::string& n : nms) {
      msr.MsrTxt("Arial", pts, n, w, h);
      wid = std::max(wid, w);
    }
    if (wid + romW <= celW && hgt + romH <= tgt) break;
  }
  FiFitPts = std::max(1, pts);
  FiFitWdt = celW;
  FiFitHgt = celH;
  return FiFitPts;
}
