// The tool bars' tables, without widgets: one row for each tool button (its
// name, bar, first picture, the vio type it adds and its hint) and one row
// for each picture of the bars' image list (its file and its place in the
// load order). The vio types' own facts (caption, colours, key letter) are
// the editor's (editor/VioTyp.h); the widgets are app/VslTbr.*.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The buttons, in the order of the bars.
enum class TeTbn { Sta, Sto, Iff, Thn, Els, Lbl, Gto, Dly, Act, Sns, Spd, Swi, Rti, Upl, Run, Upr, ComSte };
constexpr int GcTbnCnt = 17;

// The bar a button stands in: the vio buttons above, the robot commands below.
enum class TeTbr : std::uint8_t { Vio, Com };

struct TuTbnRow {
  TeTbn Tbn;         // the row's index
  const char* Nam;   // the button's object name
  TeTbr Bar;
  int Gap;           // pixels of free space before it
  int Img;           // the image it shows at first
  int VioTyp;        // the vio type it adds; -1 for a command button
  std::uint8_t Hnt;  // the message of its hint
};
// In the order of TeTbn, the order of the bars.
extern const std::array<TuTbnRow, GcTbnCnt> GcTbnDsg;

// The vio type a button adds; -1 for a command button.
int TbnVioTyp(TeTbn tbn);
// Message identifier of a tool button's hint, by the button's name ("tbnSta"
// 0x02 ... "tbnComSte" 0x12); 0x00 for any other name. Names are compared exactly.
std::uint8_t TbnHntIdf(const std::string& name);

// The tool bar pictures: 20 entries of 32 x 32 pixels, loaded from the
// picture folder below the installation folder.
constexpr int GcTbnImgCnt = 20;
constexpr int GcTbnImgSiz = 32;
struct TuTbnImg {
  const char* Fil;  // file name, to be appended to the picture folder
  int Lod;          // its place in the order of loading, from 0
};
// At the image's index.
extern const std::array<TuTbnImg, GcTbnImgCnt> GcTbnImg;

// Images of the link state button.
constexpr int GcImgComOky = 18;
constexpr int GcImgComNok = 19;
