// Keeping the user's work: the question before a changed program is dropped,
// and the recovery copy that a crash or a kill leaves behind.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "editor/VioPgmItp.h"
#include "messages/SysMsgIdf.h"

// A message of the table in the editor's language, or dft when the table
// lacks it (or no table is loaded).
std::string VioUsrMsg(TVioPgmItp& edt, std::uint8_t id);

// Asks before the program on the field is dropped (the window closes,
// another file is opened). Nothing is asked when the program has no unsaved
// changes or the field is empty. Save runs sav (File -> Save, or Save As
// when the program has no file yet): the field may go only when the program
// was saved, not when the save failed or its dialog was cancelled. Discard
// lets it go, Cancel keeps it. True when the field may be dropped.
bool AskDrpPgm(TVioPgmItp& edt, const std::function<void()>& sav);

// The recovery copy of a changed program. Once armed, a program that has
// changed is written to the recovery file (beside it first, then renamed
// over it) when the change has waited the interval, and then again at most
// once per interval while changes go on. The file goes as soon as the
// program has no unsaved changes (saved, opened, undone to the saved state)
// and when the caller drops the program.
//
// Every window keeps a copy of its own, "recovery-<id>.vio" in the folder of
// the path it is given, and holds "recovery-<id>.lock" beside it locked for
// as long as it runs; the operating system lets the lock go when the process
// ends, however it ends. At start only copies whose lock can be taken are
// offered: their window is no longer running. The path given names the
// single copy of older versions, which is offered like a left one.
class TVioRcv final : public IVioPgmObs {
public:
  using TClk = std::function<std::chrono::steady_clock::time_point()>;
  enum class TeOfr { Non, Rst, Dcl, Bad };

  TVioRcv(TVioPgmItp& edt, std::string path, std::chrono::milliseconds intv, TClk clk = {});
  ~TVioRcv() override;
  TVioRcv(const TVioRcv&) = delete;
  TVioRcv& operator=(const TVioRcv&) = delete;

  // $XDG_DATA_HOME/tessaro/recovery.vio, or ~/.local/share/tessaro/... when
  // XDG_DATA_HOME is unset or not absolute; empty when neither can be named.
  static std::string DftPth();

  // This window's copy; empty until the offer at start has named it.
  const std::string& Pth() const { return FsPth; }
  bool Armed() const { return FbArm; }
  // True while this window holds the lock of its copy.
  bool Locked() const { return FiLck >= 0; }

  // At start: names and locks this window's copy, then offers the copies
  // that other windows have left, the newest first, until one is restored.
  // Restoring loads it as a changed, unsaved program and keeps it as this
  // window's copy until the program is saved or dropped; declining removes
  // it. A copy that cannot be loaded is told, moved aside to BadPth() and
  // the field stays as it was. Copies of running windows are left alone.
  // Arms the keeper in every case.
  TeOfr Ofr();
  // Where a damaged recovery file is kept.
  static std::string BadPth(const std::string& copy) { return copy + ".damaged"; }

  // Called by the window's timer: writes when a change has waited the
  // interval. True when the file was written.
  bool Tck();
  // Writes the program now unless the file already holds it. False with
  // GuLstErrMsg when it could not be written (told the user once per run).
  bool Wrt();
  // The program was dropped (the window closes, Discard): the file goes.
  void Drp();

  void HstChg() override;

private:
  std::chrono::steady_clock::time_point Now() const;
  void Rmv();
  // Names this window's copy and takes its lock.
  void Clm();
  // Offers one left copy whose lock is held (lckFd); releases the lock.
  TeOfr OfrOne(const std::string& copy, const std::string& lck, int lckFd);

  TVioPgmItp& FEdt;
  std::string FsOld;  // the single copy of older versions; its folder holds every copy
  std::string FsPth;
  std::string FsLck;
  int FiLck = -1;
  std::chrono::milliseconds FIntv;
  TClk FClk;
  bool FbArm = false;
  bool FbPnd = false;  // a change waits to be written
  std::chrono::steady_clock::time_point FDue{};
  TStrLst FLstWrt;      // what the file holds
  bool FbWrtTld = false;  // a failed write has been told
};
