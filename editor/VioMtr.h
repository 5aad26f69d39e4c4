// The byte meter: what the status bar says about the size of the program's
// stream against the robot's 255 bytes. It listens to the model and
// translates again (quietly) when asked after a change.
#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <memory>
#include <string>
#include <vector>

#include "editor/VioPgmItp.h"
#include "messages/SysMsgIdf.h"
#include "translator/InsAndTkn.h"

struct TuMtrStt {
  bool Ok = false;       // the program translates
  bool Emp = false;      // there is no program yet: nothing is wrong
  std::size_t Len = 0;   // bytes of the stream (0 when it does not translate)
  std::string Txt;       // "37 / 255 bytes", "- / 255 bytes", "37 / 120 bytes" under a lesson,
                         // "15 / 12 bytes" over the budget
  std::string Why;       // empty when Ok; else the translator's reason
};

// The rule: text and state from the outcome of one translation. unit is the
// word after the numbers ("bytes"); lead goes in front of the reason; max is
// what the program may take (a lesson's budget, else the robot's 255).
TuMtrStt MtrStt(bool ok, std::size_t len, const std::string& why, const std::string& unit,
                const std::string& lead, std::size_t max = GcMaxTsmLen);

class TVioMtr final : public IVioPgmObs {
public:
  explicit TVioMtr(TVioPgmItp& edt);
  ~TVioMtr() override;
  TVioMtr(const TVioMtr&) = delete;
  TVioMtr& operator=(const TVioMtr&) = delete;

  // Called on the first change after an update: the view schedules Upd().
  void SetOnStl(std::function<void()> fn) { FOnStl = std::move(fn); }

  // Translates the current program (when changed since the last time) and
  // returns the state. The last-error text of the program is left as it was.
  const TuMtrStt& Upd();
  bool Stl() const { return FbStl; }
  const TuMtrStt& Stt() const { return FStt; }
  // The translation behind the state: records, stream and the vio of each
  // address (empty lists when it does not translate).
  const TInsAndTkn& Trn() const { return *FpTrn; }
  // The vio that made the byte at the address; null when none.
  TVio* VioAt(std::size_t adr) const;

  void VioAdd(TVio*) override { Mrk(); }
  void VioRmv(TVio*) override { Mrk(); }
  // Shown off its cell by a drag, the program is still the same.
  void VioMov(TVio* v, int left, int top) override {
    if (left == v->Left() && top == v->Top()) Mrk();
  }
  void VioChg(TVio*) override { Mrk(); }
  void CtlChg(TVio*, int) override { Mrk(); }
  void FldClr() override { Mrk(); }
  void LsnChg() override { Mrk(); }
  // A load of many vios, each shown at once, is translated once at its end.
  void StpEnd() override;
  // The walk of the last translation, also of one that failed (what each vio
  // follows), for the names a screen reader hears.
  const std::vector<TInsAndTkn::TuVioLnk>& Lnk() const { return FLnk; }

private:
  std::function<void()> FOnStl;
  void Mrk();
  std::vector<TInsAndTkn::TuVioLnk> FLnk;
  bool FbPnd = false;  // asked for during a change
  TVioPgmItp& FEdt;
  std::unique_ptr<TInsAndTkn> FpTrn;
  std::vector<TVio*> FVios;  // the vios as they were translated last
  TuMtrStt FStt;
  bool FbStl = true;
};
