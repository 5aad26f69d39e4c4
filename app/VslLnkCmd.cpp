// The robot commands of the commands bar and the Start vio's double click:
// translate, send, then the command's cue or the failure's.
#include <QStatusBar>

#include "app/VslLnk.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "link/PckPrt.h"
#include "link/UplRbt.h"
#include "sound/SndCue.h"

bool TVslLnk::UplPgm() {
  if (!FW.Edt().TrnVioPgm()) {
    PlyCue(SC_UPL_NAC);
    return false;
  }
  return SndPckRun(MK_UPL);
}

bool TVslLnk::RunPgm() {
  FW.Sta().clearMessage();
  return SndPck(MC_PGM, MK_RUN, {});
}

bool TVslLnk::UprPgm() {
  if (!FW.Edt().TrnVioPgm()) return false;
  if (!SndPckRun(MK_UPR)) {
    emit ErrMsg(GuLstErrMsg);
    return false;
  }
  return true;
}

void TVslLnk::UplFor(bool run, std::function<void(TeUplRes)> done) {
  EndUplFor(TeUplRes::Lst);  // an earlier waiter: its upload is history now
  // Set before the send, which lets events run: a quick robot confirms there.
  FUplFor = std::move(done);
  if (!(run ? UprPgm() : UplPgm())) EndUplFor(TeUplRes::Snd);
}

void TVslLnk::EndUplFor(TeUplRes res) {
  if (auto f = std::exchange(FUplFor, nullptr)) f(res);
}

bool TVslLnk::StaDblClkUpr() { return PlyCue(SC_STA_DBL_UPR) && UprPgm(); }

// A command from the commands bar: the gate, the command, then its cue (true
// when it played) or, on failure, the failure's cue and its reason. The reason
// is taken before the cue, whose local event loop may run link effects that
// write the last-error text.
namespace {
template <class F, class P>
bool RunCmd(bool (TVslLnk::*cmd)(), TVslLnk& l, TeSndCue don, TeSndCue fai, P&& ply, F&& shwErr) {
  if (!(l.*cmd)()) {
    const std::string msg = GuLstErrMsg;
    if (ply(fai) && !msg.empty()) shwErr(msg);
    return false;
  }
  l.ShwDnsPic();
  return ply(don);
}
}  // namespace

void TVslLnk::UplClick() {
  if (FW.InpErr()) return;
  RunCmd(&TVslLnk::UplPgm, *this, SC_BTN_UPL, SC_ACC_DEN, [this](TeSndCue c) { return PlyCue(c); },
         [this](const std::string& m) { emit ErrMsg(m); });
}

void TVslLnk::RunClick() {
  if (FW.InpErr()) return;
  RunCmd(&TVslLnk::RunPgm, *this, SC_BTN_RUN, SC_CMD_NAC, [this](TeSndCue c) { return PlyCue(c); },
         [this](const std::string& m) { emit ErrMsg(m); });
}

void TVslLnk::UprClick() {
  if (FW.InpErr()) return;
  if (RunCmd(&TVslLnk::UprPgm, *this, SC_BTN_UPR, SC_CMD_NAC, [this](TeSndCue c) { return PlyCue(c); },
             [this](const std::string& m) { emit ErrMsg(m); })) {
    emit RunEna(true);
    PrcMsg();
  }
}

void TVslLnk::ComSteClick() {
  ShwDnsPic();
  if (PlyCue(SC_PLS_ACK)) SndPck(MC_CTL, MK_LNK_CHK, {});
}
