// The main window's report of what the start found missing: the message
// file's gaps, the pictures and the cue files, told once at the end of the intro.
#include <QStatusBar>

#include <algorithm>

#include "app/VslCnv.h"
#include "app/InsFil.h"
#include "app/VslTbr.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "messages/SysLgeMsg.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"

void TfrmVslCnv::AddStaRpt(const std::string& txt) {
  if (!txt.empty()) FsStaRpt += (FsStaRpt.empty() ? "" : "\n\n") + txt;
}

void TfrmVslCnv::ShwStaRpt() {
  if (FsStaRpt.empty()) return;
  const std::string txt = std::move(FsStaRpt);
  FsStaRpt.clear();
  // Told once; the start goes on.
  ShwMsgBox(txt, "Tessaro", TeMsgBtn::Ok);
}

void TfrmVslCnv::ChkSysMsg() {
  if (!FpSysLgeMsg || GuPlatform().EvtLoop->TerminateRequested()) return;
  // A lookup may fail on the link's threads: the status bar is the window's.
  FpSysLgeMsg->FOnMis = [this, pth = FpSysLgeMsg->Path()](std::uint8_t id) {
    const std::string txt = "#222, Message " + SysMsgIdfTxt({id}) + " is missing in " + pth;
    QMetaObject::invokeMethod(this, [this, txt] { statusBar()->showMessage(QStr(txt)); });
  };
  const std::vector<std::uint8_t> mis = FpSysLgeMsg->MisIdf();
  if (mis.empty()) return;
  AddStaRpt("#176, The message file '" + FpSysLgeMsg->Path() + "' lacks messages that the program uses: " +
            SysMsgIdfTxt(mis) + ". Where one is needed, its number is shown in the status bar.");
}

void TfrmVslCnv::ChkSndFil() {
  std::vector<std::string> mis;
  for (int c = 0; c < GcSndCueCnt; ++c) {
    const std::string pth = NativePath(SndCuePth(static_cast<TeSndCue>(c), GuInsDir, FsAppDir));
    if (!FilExs(pth) && std::find(mis.begin(), mis.end(), pth) == mis.end()) mis.push_back(pth);
  }
  // Told at the end of the intro: a play of one of them says nothing more.
  if (FpPlyWavFil) FpPlyWavFil->SetMisTld(mis);
  AddStaRpt(MisFilRpt(GuInsDir, FpTbr->MisPic(), mis));
}
