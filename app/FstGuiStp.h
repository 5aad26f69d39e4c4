// The guided first program, without widgets: its steps (place a Start, an
// Actor and a Stop, upload and run, watch the robot drive), the control each
// step points at and its text, and which events complete a step. The panel
// that shows it is app/FstGui.h.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

enum class TeFstStp : std::uint8_t { Sta, Act, Sto, Upr, Drv, Don };
constexpr int GcFstStpCnt = 6;

struct TuFstStpRow {
  TeFstStp Stp;      // the row's index
  int Tbn;           // the tool button it points at (a TeTbn); -1 for none
  const char* Wdg;   // else the object name of the control it points at; null for none
  std::uint8_t Txt;  // the message of its text
};
// In the order of TeFstStp.
extern const std::array<TuFstStpRow, GcFstStpCnt> GcFstStp;

// The object name of the control a step points at; empty for none.
const char* FstStpPnt(TeFstStp stp);
// Its name as the scenarios and the test data write it ("Sta" ... "Don").
const char* FstStpNam(TeFstStp stp);

// A vio of the field as the guide looks at it: its type and its cell.
struct TuFstVio {
  std::uint8_t Typ;
  int Col;
  int Row;
};
// How far the program has come: 0 no Start, 1 one Start, 2 an Actor in the
// row of neighbours that follows it, 3 a Stop ends that row after the Actor.
int FstPgmDon(const std::vector<TuFstVio>& vios);

class TFstGuiStp {
public:
  // The program on the field, as FstPgmDon tells it; a program that loses
  // a step takes back the run and the drive seen for it.
  void Pgm(int don);
  // The robot reports that it executes the program sent.
  void Run();
  // The robot has driven since the upload: it moved and came to rest.
  void Drv();
  // The user's buttons: on to the next step (the last one ends the guide), or end it now.
  void Nxt();
  void Skp();

  TeFstStp Cur() const;
  bool End() const { return FbEnd; }
  bool Skipped() const { return FbSkp; }

private:
  int FiPgm = 0;  // FstPgmDon of the field
  int FiFrc = 0;  // the step the user went on to with Next
  bool FbRun = false;
  bool FbDrv = false;
  bool FbEnd = false;
  bool FbSkp = false;
};
