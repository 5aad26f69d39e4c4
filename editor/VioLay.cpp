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

void TCchMsr::Use(ITxtMsr& msr, int celWdt, int celHgt) {
  if (&msr != FpMsr || celWdt != FiWdt || celHgt != FiHgt) FSiz.clear();
  FpMsr = &msr;
  FiWdt = celWdt;
  FiHgt = celHgt;
}

std::pair<int, int> TCchMsr::Get(const TKey& key, bool pts) {
  const auto at = FSiz.find(key);
  if (at != FSiz.end()) return at->second;
  // A bound for texts that are typed: the fitting starts anew then.
  if (FSiz.size() >= 20000) FSiz.clear();
  std::pair<int, int> s;
  if (pts)
    FpMsr->MsrTxt(std::get<0>(key), std::get<1>(key), std::get<2>(key), s.first, s.second);
  else
    FpMsr->MsrPxl(std::get<1>(key), std::get<2>(key), s.first, s.second);
  FSiz.emplace(key, s);
  return s;
}

void TCchMsr::MsrTxt(const std::string& face, int pts, const std::string& txt, int& width, int& height) {
  std::tie(width, height) = Get(TKey(face, pts, txt), true);
}

void TCchMsr::MsrPxl(int px, const std::string& txt, int& width, int& height) {
  std::tie(width, height) = Get(TKey(std::string(), px, txt), false);
}

ITxtMsr& TVioLay::Msr() {
  static TDefTxtMsr defMsr;
  FCch.Use(FpMsr ? *FpMsr : defMsr, FMdl.CelWdt(), FMdl.CelHgt());
  return FCch;
}

std::int32_t TVioLay::VioClr(const TVio& vio) {
  const TuVioTypRow* r = vio.Owner() && vio.Owner()->HiCtr() ? GetVioRow(vio.Rec().VioTyp) : nullptr;
  return r ? r->HcClr : GetVioClr(vio.Rec().VioTyp);
}

std::int32_t TVioLay::VioFntClr(const TVio& vio) {
  const TuVioTypRow* r = vio.Owner() && vio.Owner()->HiCtr() ? GetVioRow(vio.Rec().VioTyp) : nullptr;
  return r ? r->HcFntClr : GetVioFntClr(vio.Rec().VioTyp);
}

int TVioLay::Zm(int v) const { return std::max(1, v * FMdl.Zom() / 100); }

std::vector<std::string> TVioLay::CtlTxts(const TVio& vio, int ctl) {
  const TVioCtl& c = vio.Ctls()[static_cast<std::size_t>(ctl)];
  std::vector<std::string> t{vio.CtlTxt(ctl)};
  if (c.Knd == TeCtlKnd::Cbx) {
    for (const std::string& i : c.Itms) t.push_back(i);
  } else if (c.Knd == TeCtlKnd::Edt) {
    // The font does not change with each digit typed: three digits, or as
    // many as the edit takes, always fit.
    t.push_back(std::string(c.MaxLen > 3 && c.MaxLen <= 8 ? static_cast<std::size_t>(c.MaxLen) : 3, '0'));
  }
  return t;
}

TuCtlBox TVioLay::CtlBox(const TVio& vio, int ctl) {
  TuCtlBox b;
  switch (vio.Ctls()[static_cast<std::size_t>(ctl)].Knd) {
    case TeCtlKnd::Cbx: CbxBox(vio, ctl, b); break;
    case TeCtlKnd::Edt: EdtBox(vio, ctl, b); break;
    case TeCtlKnd::Lbl: LblBox(vio, ctl, b); break;
  }
  return b;
}

void TVioLay::CbxBox(const TVio& vio, int ctl, TuCtlBox& b) {
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  const bool sar = vio.Rec().VioTyp == VT_ACT || vio.Rec().VioTyp == VT_SNS;
  b.Width = w;
  b.Clr = FMdl.HiCtr() ? GcHcCtlClr : sar ? GcPrmBluClr : GcLblCynClr;
  if (sar) {
    b.FntPts = FitPts();
    b.Height = SarRow();
    b.Top = vio.Ctls()[static_cast<std::size_t>(ctl)].CtlRol == CR_SAR_COM ? b.Height : 0;
    return;
  }
  int romW = 0, romH = 0;
  Msr().CbxRom(romW, romH);
  b.FntHgt = FitSiz(false, Zm(Msr().NrmPx()), CtlTxts(vio, ctl), w - romW, h / 2 - romH);
  b.Height = std::min(h / 2, BoxHgt(b.FntHgt, true));
}

void TVioLay::EdtBox(const TVio& vio, int ctl, TuCtlBox& b) {
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  b.Width = w / 2;
  b.Clr = FMdl.HiCtr() ? GcHcCtlClr : GcPrmBluClr;
  int romW = 0, romH = 0;
  Msr().EdtRom(romW, romH);
  if (vio.Rec().VioTyp == VT_ACT) {
    // The size of the boxes above it, unless the value needs less.
    const int row = SarRow();
    b.FntPts = FitSiz(true, FitPts(), CtlTxts(vio, ctl), w / 2 - romW, row - romH);
    b.Top = row * 2;
    b.Height = row;
  } else {
    b.FntHgt = FitSiz(false, Zm(Msr().NrmPx()), CtlTxts(vio, ctl), w / 2 - romW, h / 2 - romH);
    b.Height = std::min(h / 2, BoxHgt(b.FntHgt, false));
  }
}

void TVioLay::LblBox(const TVio& vio, int ctl, TuCtlBox& b) {
  const int h = FMdl.CelHgt();
  const std::uint8_t typ = vio.Rec().VioTyp;
  const int row = SarRow();
  // Three rows of an actor in a third of the cell each: no room for its caption.
  const bool cpt = row > h / 4;
  // The unit label beside the value edit, then the caption.
  const bool unt = typ != VT_SNS && LblIdx(vio, ctl) == 0;
  if (unt && typ == VT_DLY) {
    b.Top = Zm(4);  // above the caption in the middle of the vio
    PutUnt(b, Zm(18), {"* 0.1S"}, h / 2 - Zm(8));
  } else if (unt && typ == VT_ACT && cpt) {
    PutUnt(b, Zm(18), {"cm", "0.1s"}, h - row * 2 - 1);
    b.Top = row * 2 + std::max(0, (row - b.Height) / 2);  // beside the value edit
  } else if (unt && typ == VT_ACT) {
    b.Top = row * 2 + Zm(3);  // down to the caption; the same size for either unit
    PutUnt(b, Zm(18), {"cm", "0.1s"}, row + Zm(4));
  } else if (unt && typ == VT_SPD) {
    b.Top = Zm(3);
    PutUnt(b, Zm(12), {"cm/s"}, (h / 4) * 3 + Zm(4));
  } else {
    CapLbl(vio, ctl, b, cpt);
    return;
  }
  b.Clr = VioClr(vio);
}

void TVioLay::CapLbl(const TVio& vio, int ctl, TuCtlBox& b, bool cpt) {
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  const std::uint8_t typ = vio.Rec().VioTyp;
  if (cpt && typ == VT_ACT) {
    b.Hid = true;
    return;
  }
  // Below the rows of controls: a sensor's two boxes, the speed's edit.
  const int top = typ == VT_SNS ? SarRow() * 2 : typ == VT_SPD ? EdtBot(vio) : 0;
  const int maxHgt = std::max(1, std::min(typ == VT_SNS && cpt ? h : h / 4, h - top - 1));
  b.Left = Zm(typ == VT_SPD ? 10 : 25);
  // The caption runs to the panel's frame at the right, never past it, in
  // the lowest quarter of the cell; it rises as far as its line needs. Where
  // that leaves it too small, it starts further left.
  b.FntHgt = FitSiz(false, Zm(10), CtlTxts(vio, ctl), w - b.Left - 2, maxHgt);
  if (b.FntHgt < std::min(GcMinPx, Zm(10)) && b.Left > 2) {
    b.Left = 2;
    b.FntHgt = FitSiz(false, Zm(10), CtlTxts(vio, ctl), w - b.Left - 2, maxHgt);
  }
  int tw = 0, th = 0;
  Msr().MsrPxl(b.FntHgt, vio.CtlTxt(ctl), tw, th);
  b.Height = th;
  b.Top = std::max(top, std::min((h / 4) * 3 + Zm(7), h - th - 1));
}

int TVioLay::EdtBot(const TVio& vio) {
  int bot = 0;
  for (int i = 0; i < static_cast<int>(vio.Ctls().size()); ++i)
    if (vio.Ctls()[static_cast<std::size_t>(i)].Knd == TeCtlKnd::Edt) {
      const TuCtlBox e = CtlBox(vio, i);
      bot = std::max(bot, e.Top + e.Height);
    }
  return bot;
}

int TVioLay::BoxHgt(int px, bool cbx) {
  int tw = 0, th = 0, romW = 0, romH = 0;
  Msr().MsrPxl(px, "A", tw, th);
  if (cbx)
    Msr().CbxRom(romW, romH);
  else
    Msr().EdtRom(romW, romH);
  // The style's own margins above and below the line, as a box at the
  // field's font has them.
  return th + romH + Zm(4);
}

int TVioLay::SarRow() {
  const int h = FMdl.CelHgt();
  int tw = 0, th = 0, romW = 0, romH = 0;
  Msr().MsrTxt("Arial", GcMinPts, "A", tw, th);
  Msr().CbxRom(romW, romH);
  return h / 4 >= th + romH ? h / 4 : h / 3;
}

TuCapBox TVioLay::CapBox(const TVio& vio) {
  TuCapBox c;
  const std::string& cap = vio.Caption();
  if (cap.empty()) return c;
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  const int n = 1 + static_cast<int>(std::count(cap.begin(), cap.end(), '\n'));
  // The lowest edge of the controls it must not cover.
  int bot = 0;
  for (int i = 0; i < static_cast<int>(vio.Ctls().size()); ++i) {
    if (!vio.Ctls()[static_cast<std::size_t>(i)].Vis) continue;
    const TuCtlBox b = CtlBox(vio, i);
    if (!b.Hid) bot = std::max(bot, b.Top + b.Height);
  }
  c.Px = CapPx(vio);
  int tw = 0, th = 0;
  Msr().MsrPxl(c.Px, "A", tw, th);
  c.Top = (h - th * n) / 2;
  if (bot > 0 && c.Top <= bot) {
    // Below the controls, inside the panel's frame.
    const int room = h - bot - 3;
    c.Px = FitSiz(false, c.Px, LnsOf(cap), w - 6, room / n);
    Msr().MsrPxl(c.Px, "A", tw, th);
    if (th * n > room) return TuCapBox{};  // not even the smallest size fits
    c.Top = bot + 1 + (room - th * n) / 2;
  }
  c.Left = 3;
  c.Width = w - 6;
  c.Height = th * n;
  return c;
}

std::vector<std::string> TVioLay::LnsOf(const std::string& cap) {
  std::vector<std::string> lns;
  for (std::size_t p = 0;;) {
    const std::size_t e = cap.find('\n', p);
    lns.push_back(cap.substr(p, e == std::string::npos ? std::string::npos : e - p));
    if (e == std::string::npos) break;
    p = e + 1;
  }
  return lns;
}

int TVioLay::CapPx(const TVio& vio) {
  const std::vector<std::string> lns = LnsOf(vio.Caption());
  const int n = static_cast<int>(lns.size());
  // Inside the panel's frame, a few pixels to spare on each side.
  return FitSiz(false, Zm(Msr().NrmPx()), lns, FMdl.CelWdt() - 6, (FMdl.CelHgt() - 4) / n);
}

void TVioLay::PutUnt(TuCtlBox& unt, int px, const std::vector<std::string>& txts, int maxHgt) {
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  // Beside the edit (at the vio's left, half a cell wide), never over it,
  // whatever the proportions of the cell.
  unt.Left = std::max(h / 2 + Zm(10), w / 2 + 2);
  // The panel's frame takes a pixel at the right; the label a little more than its text.
  unt.FntHgt = FitSiz(false, px, txts, w - unt.Left - 4, maxHgt);
  int tw = 0;
  Msr().MsrPxl(unt.FntHgt, txts.front(), tw, unt.Height);
}

int TVioLay::FitSiz(bool pts, int start, const std::vector<std::string>& txts, int room, int maxHgt) {
  int siz = std::max(1, start);
  for (; siz > 1; --siz) {
    bool fit = true;
    for (const std::string& t : txts) {
      int tw = 0, th = 0;
      if (pts)
        Msr().MsrTxt("Arial", siz, t, tw, th);
      else
        Msr().MsrPxl(siz, t, tw, th);
      fit = fit && tw <= room && th <= maxHgt;
    }
    if (fit) break;
  }
  return siz;
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
  const int tgt = SarRow();
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
