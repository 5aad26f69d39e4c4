// Which vio the field shows running. Two ask here: the link, with what the
// robot reports (the address it executes, the end of its program), and the
// simulator pane, which holds a vio of its own while it replays the last run
// or the built-in robot is paused. While the pane holds one, the robot's
// reports (late ones of the run that the pane shows, or those of a run that
// goes on behind a replay) do not move the frame; when it lets go, the next
// report does. The stream that the addresses stand for is the field's
// program view's (TPgmViw::SetRunStm), set by the link at each upload.
#pragma once

#include <functional>

class TInsAndTkn;
class TPgmViw;
class TVio;

class TRunMrk {
public:
  // viw: the field's program view, null while there is none.
  explicit TRunMrk(std::function<TPgmViw*()> viw) : FViw(std::move(viw)) {}

  // The robot executes the instruction at adr.
  void Adr(int adr);
  // No vio runs (the program ended, a new one went out, the link went down).
  void End();
  // The pane shows adr (a negative one changes nothing); true when another vio is framed now.
  bool Hld(int adr);
  // The pane follows the live robot again: what it holds stays framed until
  // the robot's next report.
  void Fre() { FbHld = false; }
  // The stream that goes out now: its addresses name its vios from now on,
  // and no vio runs.
  void Stm(const TInsAndTkn& trn);
  // No stream is known to be on the robot: no address names a vio.
  void ClrStm();
  // Tells the breakpoints of the stream again (the built-in robot's line is open now).
  void SndBrk();
  // The vio framed; the vio of an address of the stream (null when none).
  TVio* Vio() const;
  TVio* VioAt(int adr) const;

private:
  std::function<TPgmViw*()> FViw;
  bool FbHld = false;
};
