#include "app/VslAcc.h"

#include <QAccessible>
#include <QListWidget>
#include <QMetaObject>
#include <QStatusBar>
#include <QToolBar>
#include <QWidget>

#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "app/VslTbr.h"
#include "editor/VioAcc.h"
#include "editor/VioMtr.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldAcc.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioPgmViw.h"
#include "messages/SysMsgIdf.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"

namespace {

QString Txt(std::uint8_t id, std::uint8_t lge, const char* dft) { return QString::fromStdString(LgeTxt(id, lge, dft)); }

// The entry of a "|" list; empty when the list is shorter.
QString Itm(const QString& lst, int idx) { return lst.split('|').value(idx); }

}  // namespace

TVslAcc::TVslAcc(TfrmVslCnv& wnd) : W(wnd), FpFld(std::make_unique<TVioFldAcc>(*wnd.FldViw())) {
  // One translation a change: the names take the walk from the byte meter's.
  if (TPgmViw* viw = W.PgmViw())
    FpFld->Acc().FOnLnk = [viw]() -> const std::vector<TInsAndTkn::TuVioLnk>& {
      viw->Mtr().Upd();
      return viw->Mtr().Lnk();
    };
  QStatusBar* sb = W.statusBar();
  sb->setObjectName("stbVslCnv");
  connect(sb, &QStatusBar::messageChanged, this, [this](const QString& t) {
    if (!t.isEmpty()) Anc(t);
  });
  if (TclsPlyWavFil* ply = W.PlyWavFil())
    ply->FOnPly = [this](const std::string& path) {
      // A cue played from another thread is announced on the window's.
      QMetaObject::invokeMethod(this, [this, path] {
        const QString t = CueTxt(path, W.LgeIdx());
        if (!t.isEmpty()) Anc(t);
      });
    };
  RfsTxt(W.LgeIdx());
}

TVslAcc::~TVslAcc() {
  if (TclsPlyWavFil* ply = W.PlyWavFil()) ply->FOnPly = nullptr;
}

QString TVslAcc::CueTxt(const std::string& path, std::uint8_t lge) {
  const int cue = SndCueOfPth(path);
  if (cue < 0) return {};
  // The switch numbers say their number.
  if (cue >= SC_SWI_1) return QString::number(cue - SC_SWI_1 + 1);
  return Itm(Txt(SUM_ACC_CUE_TXT, lge, ""), cue);
}

void TVslAcc::Anc(const QString& txt) {
  QStatusBar* sb = W.statusBar();
  sb->setAccessibleDescription(txt);
  QAccessibleEvent e(sb, QAccessible::Alert);
  (GpUpd ? GpUpd : &QAccessible::updateAccessibility)(&e);
}

void TVslAcc::RfsTxt(std::uint8_t lge) {
  TVioPgmItp& edt = *W.FpVioPgmItp;
  TVslTbr& tbr = W.Tbr();
  const QString cmd = Txt(SUM_ACC_CMD_NAM, lge, "Upload|Run|Upload and run|Link to the robot");
  for (int i = 0; i < GcTbnCnt; ++i) {
    const auto tbn = static_cast<TeTbn>(i);
    QAction* a = tbr.Tbn(tbn);
    QWidget* b = tbr.VioBar().widgetForAction(a);
    if (!b) b = tbr.ComBar().widgetForAction(a);
    if (!b) continue;
    const int typ = TbnVioTyp(tbn);
    // The hint stays the description: Qt takes a button's tool tip for it.
    b->setAccessibleName(typ >= 0 ? QString::fromStdString(VioTypAccNam(edt, static_cast<std::uint8_t>(typ)))
                                  : Itm(cmd, i - static_cast<int>(TeTbn::Upl)));
  }
  W.statusBar()->setAccessibleName(Txt(SUM_ACC_STA_BAR, lge, "Status"));
  if (TPgmViw* p = W.PgmViw()) p->Lst()->setAccessibleName(Txt(SUM_VIW_LST, lge, "Listing"));
  FpFld->RfsTxt();
}
