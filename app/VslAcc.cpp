#include "app/VslAcc.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QListWidget>
#include <QMetaObject>
#include <QStatusBar>
#include <QToolBar>
#include <QWidget>

#include "app/VslCnv.h"
#include "app/VslFld.h"
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
#include "messages/SysMsgBui.h"

namespace {

QString Txt(std::uint8_t id, std::uint8_t lge) { return QString::fromStdString(SysMsgOr(id, lge)); }

// The entry of a "|" list; empty when the list is shorter.
QString Itm(const QString& lst, int idx) { return lst.split('|').value(idx); }

// The announcement: a point of the status bar that a screen reader finds as a notification.
class TAncWgt final : public QWidget {
public:
  explicit TAncWgt(QWidget* sb) : QWidget(sb) {
    setObjectName("ancVslCnv");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
  }
};

class TAncAcc final : public QAccessibleWidget {
public:
  explicit TAncAcc(QWidget* w) : QAccessibleWidget(w, QAccessible::Notification) {}
};

QAccessibleInterface* AncAcc(const QString&, QObject* obj) {
  auto* w = dynamic_cast<TAncWgt*>(obj);
  return w ? new TAncAcc(w) : nullptr;
}

}  // namespace

TVslAcc::TVslAcc(TfrmVslCnv& wnd) : W(wnd), FpFld(std::make_unique<TVioFldAcc>(*wnd.Fld().Viw())) {
  static const bool ins = [] {
    QAccessible::installFactory(&AncAcc);
    return true;
  }();
  (void)ins;
  // One translation a change: the names take the walk from the byte meter's.
  if (TPgmViw* viw = W.Fld().PgmViw())
    FpFld->Acc().SetOnLnk([viw]() -> const std::vector<TInsAndTkn::TuVioLnk>& {
      viw->Mtr().Upd();
      return viw->Mtr().Lnk();
    });
  QStatusBar* sb = W.statusBar();
  FpAnc = new TAncWgt(sb);
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
  return Itm(Txt(SUM_ACC_CUE_TXT, lge), cue);
}

void TVslAcc::Anc(const QString& txt) {
  QStatusBar* sb = W.statusBar();
  sb->setAccessibleDescription(txt);
  // Shown anew, the notification is read out with its name.
  FpAnc->hide();
  FpAnc->setAccessibleName(txt);
  FpAnc->show();
  FpAnc->raise();
  if (GpUpd) {
    QAccessibleEvent e(FpAnc, QAccessible::ObjectShow);
    GpUpd(&e);
  }
}

void TVslAcc::RfsTxt(std::uint8_t lge) {
  TVioPgmItp& edt = W.Edt();
  TVslTbr& tbr = W.Tbr();
  const QString cmd = Txt(SUM_ACC_CMD_NAM, lge);
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
  W.statusBar()->setAccessibleName(Txt(SUM_ACC_STA_BAR, lge));
  if (TPgmViw* p = W.Fld().PgmViw()) p->Lst()->setAccessibleName(Txt(SUM_VIW_LST, lge));
  FpFld->RfsTxt();
}
