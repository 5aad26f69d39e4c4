// The layout of a vio's child controls on screen: where each goes, its font
// and its colours, worked out from the vio's type and controls, the cell size
// and a text measurer. Widget-free, so that the field's view only applies it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class TVio;
class TVioPgmItp;

// Text measurement for the font fitting (the GUI supplies the real one).
class ITxtMsr {
public:
  virtual ~ITxtMsr() = default;
  virtual void MsrTxt(const std::string& face, int pts, const std::string& txt, int& width,
                      int& height) = 0;
  // The same for the field's own face at a height in pixels (the unit labels).
  virtual void MsrPxl(int px, const std::string& txt, int& width, int& height) {
    width = static_cast<int>(txt.size()) * (px * 2 / 3);
    height = px * 115 / 100;
  }
  // What the frame and drop-down button of a list box take from its width
  // and height beside the text, in pixels.
  virtual void CbxRom(int& width, int& height) {
    width = 0;
    height = 0;
  }
  // The same for an edit's frame and margins.
  virtual void EdtRom(int& width, int& height) {
    width = 0;
    height = 0;
  }
  // The pixel height of the field's own font at 100 %.
  virtual int NrmPx() { return 12; }
};

// A measurer that asks another once for each face, size and text, and keeps
// the answers until the cells change their size: the font fitting of a full
// field measures the same few texts thousands of times.
class TCchMsr final : public ITxtMsr {
public:
  // Forgets what it measured when the cell size is another than before.
  void Use(ITxtMsr& msr, int celWdt, int celHgt);
  void MsrTxt(const std::string& face, int pts, const std::string& txt, int& width, int& height) override;
  void MsrPxl(int px, const std::string& txt, int& width, int& height) override;
  void CbxRom(int& width, int& height) override { FpMsr->CbxRom(width, height); }
  void EdtRom(int& width, int& height) override { FpMsr->EdtRom(width, height); }
  int NrmPx() override { return FpMsr->NrmPx(); }

private:
  using TKey = std::tuple<std::string, int, std::string>;  // face ("" for the field's own at pixels), size, text
  std::pair<int, int> Get(const TKey& key, bool pts);
  ITxtMsr* FpMsr = nullptr;
  int FiWdt = -1, FiHgt = -1;
  std::map<TKey, std::pair<int, int>> FSiz;
};

// Where one child control goes, relative to its vio, and how it looks.
struct TuCtlBox {
  int Left = 0, Top = 0;
  int Width = 0;          // 0: natural size
  int FntHgt = 0;         // font height in pixels; 0: default
  int FntPts = 0;         // fitted font size in points; 0: none
  std::int32_t Clr = -1;  // background colour; -1: default
  int Height = 0;         // 0: natural
  bool Hid = false;       // no room for it in the cell: not shown
};

// Where a panel's own caption is drawn, relative to its vio, and its font
// height in pixels; empty (Px 0) when the cell leaves it no room.
struct TuCapBox {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Px = 0;
};

// The smallest fonts that are read without effort: the sensor and actor
// boxes in points, the other texts in pixels.
inline constexpr int GcMinPts = 7;
inline constexpr int GcMinPx = 9;

class TVioLay {
public:
  // msr: null measures as Arial at 96 dots per inch would.
  TVioLay(TVioPgmItp& mdl, ITxtMsr* msr) : FMdl(mdl), FpMsr(msr) {}

  // Sizes, offsets and fonts follow the field's zoom; every text a control
  // may show fits its box whole at its font.
  TuCtlBox CtlBox(const TVio& vio, int ctl);
  // The panel's background and caption colours (the contrast ones in high contrast).
  static std::int32_t VioClr(const TVio& vio);
  static std::int32_t VioFntClr(const TVio& vio);
  // The pixel height of the panel's caption: the field's font at the zoom,
  // or less so that each of its lines fits the cell.
  int CapPx(const TVio& vio);
  // The caption's place: centred in the vio, moved down below its controls
  // where they would cover it, its font then made to fit what is left.
  TuCapBox CapBox(const TVio& vio);
  // The texts a control may show: its text and items (combo boxes), its text
  // and the widest value it takes (edits), its text (labels).
  static std::vector<std::string> CtlTxts(const TVio& vio, int ctl);
  // The size of the sensor and actor boxes: searched once per cell size, the
  // largest at which every sar name of every language fits its box whole.
  int FitPts();
  // The height of a row of a sensor or actor vio: a quarter of the cell, or a
  // third where a quarter cannot hold a box at the smallest legible size (the
  // actor's caption then makes way for its three rows of controls).
  int SarRow();

private:
  // The height of a box of the field's face at px pixels with its frame.
  int BoxHgt(int px, bool cbx);
  // A unit label beside the value edit: right of the edit, its font px
  // pixels high, or less so that each of the texts fits whole in the room
  // left beside the edit and in the given height.
  void PutUnt(TuCtlBox& unt, int px, const std::vector<std::string>& txts, int maxHgt);
  // The largest size from start down (points of Arial, or pixels of the
  // field's face) at which each text fits the width and height given.
  int FitSiz(bool pts, int start, const std::vector<std::string>& txts, int room, int maxHgt);
  // A length at the field's zoom, at least 1.
  int Zm(int v) const;
  void CbxBox(const TVio& vio, int ctl, TuCtlBox& b);
  void EdtBox(const TVio& vio, int ctl, TuCtlBox& b);
  void LblBox(const TVio& vio, int ctl, TuCtlBox& b);
  // The caption label of a sensor, actor or speed vio; cpt: the rows of
  // controls take the cell in thirds.
  void CapLbl(const TVio& vio, int ctl, TuCtlBox& b, bool cpt);
  // The lower edge of the vio's edits.
  int EdtBot(const TVio& vio);
  static std::vector<std::string> LnsOf(const std::string& cap);
  ITxtMsr& Msr();

  TVioPgmItp& FMdl;
  ITxtMsr* FpMsr;
  TCchMsr FCch;
  int FiFitPts = -1, FiFitWdt = -1, FiFitHgt = -1;
};
