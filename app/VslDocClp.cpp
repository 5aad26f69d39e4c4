// The Edit menu's Copy, Cut, Paste and Duplicate of vios, through the system
// clipboard: a block travels as the text of a program file, so that it goes
// from one window to another (and into a text editor, and back).
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>

#include "app/VslDoc.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"

void TVslDoc::BldClpMnu() {
  mmnEdt->addSeparator();
  const struct {
    QAction*& Act;
    const char* Nam;
    QKeySequence Key;
    TeClp Cmd;
  } itm[] = {{smnEdtCut, "smnEdtCut", QKeySequence(Qt::CTRL | Qt::Key_X), TeClp::Cut},
             {smnEdtCpy, "smnEdtCpy", QKeySequence(Qt::CTRL | Qt::Key_C), TeClp::Cpy},
             {smnEdtPst, "smnEdtPst", QKeySequence(Qt::CTRL | Qt::Key_V), TeClp::Pst},
             {smnEdtDup, "smnEdtDup", QKeySequence(Qt::CTRL | Qt::Key_D), TeClp::Dup}};
  for (const auto& i : itm) {
    i.Act = mmnEdt->addAction(QString());
    i.Act->setObjectName(i.Nam);
    i.Act->setShortcut(i.Key);
    // Also from the vio menu, which is no child of the bar; an edit that has
    // the focus keeps its own Copy and Paste (it takes the keys first).
    i.Act->setShortcutContext(Qt::WindowShortcut);
    const TeClp cmd = i.Cmd;
    connect(i.Act, &QAction::triggered, this, [this, cmd] { ClpCmd(cmd); });
  }
  RfsClpTxt(0);
}

void TVslDoc::RfsClpTxt(std::uint8_t lge) {
  smnEdtCpy->setText(QStr(SysMsgOr(SUM_MNU_CPY, lge)));
  smnEdtCut->setText(QStr(SysMsgOr(SUM_MNU_CUT, lge)));
  smnEdtPst->setText(QStr(SysMsgOr(SUM_MNU_PST, lge)));
  smnEdtDup->setText(QStr(SysMsgOr(SUM_MNU_DUP, lge)));
}

void TVslDoc::ClpCmd(TeClp cmd) {
  // Not while the window is locked, the Start vio's upload runs or a vio is dragged.
  TVioPgmItp* edt = FHst.Pgm();
  if (!edt || FHst.Locked() || edt->StaRun() || edt->VioDrg()) return;
  QClipboard* clp = QGuiApplication::clipboard();
  std::string txt, note;
  GuLstErrMsg.clear();
  bool ok = false;
  switch (cmd) {
    case TeClp::Cpy:
    case TeClp::Cut:
      ok = cmd == TeClp::Cpy ? edt->CpyVio(txt) : edt->CutVio(txt);
      if (ok && clp) clp->setText(QStr(txt));
      break;
    case TeClp::Pst:
      ok = edt->PstVio(clp ? clp->text().toLocal8Bit().toStdString() : std::string(), note);
      break;
    case TeClp::Dup:
      ok = edt->DupVio(note);
      break;
  }
  if (!ok) {
    if (!GuLstErrMsg.empty()) FHst.ShwErrMsg(GuLstErrMsg);
    return;
  }
  if (cmd == TeClp::Pst || cmd == TeClp::Dup) EnaSas();
  if (!note.empty()) ShwMsgBox(note);
}
