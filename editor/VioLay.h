// The layout of a vio's child controls on screen: where each goes, its font
// and its colours, worked out from the vio's type and controls, the cell size
// and a text measurer. Widget-free, so that the field's view only applies it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

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
};

// Where one child control goes, relative to its vio, and how it looks.
struct TuCtlBox {
  int Left = 0, Top = 0;
  int Width = 0;          // 0: natural size
  int FntHgt = 0;         // font height in pixels; 0: default
  int FntPts = 0;         // fitted font size in points; 0: none
  std::int32_t Clr = -1;  // background colour; -1: default
};

class TVioLay {
public:
  // msr: null measures as Arial at 96 dots per inch would.
  TVioLay(TVioPgmItp& mdl, ITxtMsr* msr) : FMdl(mdl), FpMsr(msr) {}

  TuCtlBox CtlBox(const TVio& vio, int ctl);
  // The panel's background and caption colours.
  static std::int32_t VioClr(const TVio& vio);
  static std::int32_t VioFntClr(const TVio& vio);
  // The size of the sensor and actor boxes: searched once per cell size, the
  // largest at which every sar name of every language fits its box whole.
  int FitPts();

private:
  // A unit label beside the value edit: right of the edit, its font px
  // pixels high, or less so that each of the texts fits whole in the room
  // left beside the edit and in the given height.
  void PutUnt(TuCtlBox& unt, int px, std::initializer_list<const char*> txts, int maxHgt);
  ITxtMsr& Msr();

  TVioPgmItp& FMdl;
  ITxtMsr* FpMsr;
  int FiFitPts = -1, FiFitWdt = -1, FiFitHgt = -1;
};
