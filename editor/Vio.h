// A vio as plain data: its record with its cell and parameters, and its
// child controls. The editor (TVioPgmItp) owns every vio and is the only one
// that changes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/ShrStrLst.h"

class TVio;
class TVioPgmItp;

// The record of every vio.
struct TuVioRec {
  std::uint8_t VioTyp = 0;
  std::uint8_t SarTkn = 0xFF;  // token of the chosen sar type and command (Actor, Sensor)
  std::int32_t GrdCol = 0;
  std::int32_t GrdRow = 0;
  TVio* pPrvVio = nullptr;  // written by the program walk
  TVio* pNxtVio = nullptr;
  // The parameters as the user chose or typed them: a value that has not
  // passed its check yet stays exactly as typed, and so does a file's.
  std::string SarTyp;  // Actor, Sensor: type, as its list spells it
  std::string SarCom;  // Actor, Sensor: command, as its list spells it
  std::string ValTxt;  // Delay: tenths of a second; Actor: distance or time
  std::string SpdTxt;  // Engine speed: cm/s
  std::string LblNam;  // Label: its name; Goto: the name of its target
  // The parameter shown by the control of a role; null for a role without one.
  std::string* Prm(std::uint8_t rol);
  const std::string* Prm(std::uint8_t rol) const;
};

// Kinds of child controls of a vio.
enum class TeCtlKnd : std::uint8_t { Cbx, Edt, Lbl };

// Roles of the combo boxes and edits of a vio. Labels carry no role.
enum TeCtlRol : std::uint8_t {
  CR_SAR_TYP = 0,  // combo box, Actor/Sensor: sar type
  CR_SAR_COM = 1,  // combo box, Actor/Sensor: sar command
  CR_VAL = 3,      // edit, Delay: tenths of a second; Actor: distance or time
  CR_LBL_NAM = 4,  // combo box, Label: label name
  CR_GTO_NAM = 5,  // combo box, Goto: target label name
  CR_SPD = 6,      // edit, engine speed in cm/s
  CR_SPD_TWO = 7,  // second speed value; never created, reads as empty
  CR_NON = 0xFF,   // labels
};

// The longest label name a Label or Goto combo box takes.
constexpr std::size_t GcMaxLblLen = 64;

// One child control of a vio, as data.
struct TVioCtl {
  TeCtlKnd Knd = TeCtlKnd::Lbl;
  std::uint8_t CtlRol = CR_NON;
  std::string LblTxt;     // labels: the text shown (a control with a role shows its record's parameter)
  TShrStrLst Itms;        // combo boxes: the drop-down items (copies share them)
  bool Vis = true;
  bool Ena = true;
  bool Edt = false;       // combo boxes: the user may type (else a fixed list)
  int MaxLen = 0;         // edits, label boxes: maximum text length; 0: none
};

// One vio on the programming field.
class TVio {
public:
  // Its record: cell, parameters and the walk's links.
  const TuVioRec& Rec() const { return FRec; }

  // The pixel rectangle of its cell inside the field.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  const std::string& Caption() const { return FsCap; }
  bool Visible() const { return FbVis; }
  // Shows or hides the vio (the blink toggles it); views are told.
  void SetVisible(bool v);
  // The robot stops before this vio (a breakpoint; kept in memory, never in the file).
  bool Brk() const { return FbBrk; }

  // Child controls in child order.
  const std::vector<TVioCtl>& Ctls() const { return FCtls; }
  // Index of the first child of the kind with the role (any role for labels), -1 when none.
  int FndCtl(TeCtlKnd knd, std::uint8_t rol) const;
  // Index of the first child of the kind, -1 when none.
  int FstCtl(TeCtlKnd knd) const;
  // The text a child shows: the record's parameter of its role, or a label's own text.
  const std::string& CtlTxt(int ctl) const;

  TVioPgmItp* Owner() const { return FpOwn; }

private:
  friend class TVioPgmItp;
  // The editor's controllers of the vio's controls and of its lists' language.
  friend class TVioPrm;
  friend class TVioLge;
  friend class TVioMou;
  explicit TVio(TVioPgmItp* own) : FpOwn(own) {}
  TuVioRec FRec;
  TVioPgmItp* FpOwn;
  std::string FsCap;
  bool FbVis = false;
  bool FbBrk = false;
  std::vector<TVioCtl> FCtls;
  // Sets what CtlTxt reads.
  void PutCtlTxt(int ctl, std::string txt);
};
