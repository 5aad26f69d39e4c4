// What a screen reader says about the vios: each vio's name tells what it is,
// where it stands, its parameters and the vio it runs after; each of its
// boxes and edits is named after what it holds. The texts are composed here,
// without widgets, in the editor's language; the field's view hands them to
// the platform's accessibility interfaces.
//
// "Follows" is the run order as the program walk finds it from the START
// (and from the SWITCH INTERRUPT): the vio the walk came from. Where the walk
// stops at a mistake, the vios after it are "not reached from START".
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/VioPgmItp.h"
#include "translator/InsAndTkn.h"

// The name of a vio type in the editor's language ("Delay"); its caption when the message file has none.
std::string VioTypAccNam(TVioPgmItp& edt, std::uint8_t typ);
// The parameters of a vio as words ("10 tenths of a second"); empty for a vio without any.
std::string VioPrmAcc(TVioPgmItp& edt, const TVio& vio);
// The name of a vio's child control ("Delay time in tenths of a second"); empty for a label.
std::string VioCtlAccNam(TVioPgmItp& edt, const TVio& vio, int ctl);

class TVioAcc final : public IVioPgmObs {
public:
  explicit TVioAcc(TVioPgmItp& edt);
  ~TVioAcc() override;
  TVioAcc(const TVioAcc&) = delete;
  TVioAcc& operator=(const TVioAcc&) = delete;

  // Called on the first change after an update: the view schedules Upd().
  void SetOnStl(std::function<void()> fn) { FOnStl = std::move(fn); }
  // Told by Upd of each vio whose name or whose controls' names changed.
  void SetOnChg(std::function<void(TVio*)> fn) { FOnChg = std::move(fn); }
  // The walk of the program as it is now, when another listener (the byte
  // meter) translates it anyway; unset, Upd translates by itself.
  void SetOnLnk(std::function<const std::vector<TInsAndTkn::TuVioLnk>&()> fn) { FOnLnk = std::move(fn); }

  // Composes the names anew when the field or the language changed since the
  // last time. The last-error text is left as it was.
  void Upd();
  // The vio's name as of the last Upd; empty for a vio it has not seen.
  const std::string& VioNam(const TVio* vio) const;
  // The name of the vio's child control in the current language.
  std::string CtlNam(const TVio* vio, int ctl) const;
  // What the cell cursor on the cell (col, row, from 0) tells: the name of the
  // vio there, or the cell's place and "empty". Brings the names up to date.
  std::string CelNam(int col, int row);

  void VioAdd(TVio*) override { Mrk(); }
  void VioRmv(TVio* v) override;
  // A vio shown off its cell by a drag is still where it was.
  void VioMov(TVio* v, int left, int top) override {
    if (left == v->Left() && top == v->Top()) Mrk();
  }
  void VioChg(TVio*) override { Mrk(); }
  void CtlChg(TVio*, int) override { Mrk(); }
  void FldClr() override;
  // A load of many vios is named once at its end.
  void StpEnd() override;

private:
  std::function<const std::vector<TInsAndTkn::TuVioLnk>&()> FOnLnk;
  std::function<void(TVio*)> FOnChg;
  std::function<void()> FOnStl;
  void Mrk();
  // The whole text of one vio, given where the walk reached it from.
  std::string Cmp(const TVio& vio, bool rch, const TVio* frm) const;
  TVioPgmItp& FEdt;
  std::unique_ptr<TInsAndTkn> FpTrn;
  bool FbStl = true;
  bool FbPnd = false;  // asked for during a change
  std::uint8_t FbyLge = 0xFF;
  std::map<const TVio*, std::string> FNam;  // the vio's name
  std::map<const TVio*, std::string> FAll;  // its name and its controls' names, to see a change
};
