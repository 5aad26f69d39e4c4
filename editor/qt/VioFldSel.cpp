#include "editor/qt/VioFldSel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "editor/qt/VioFldViw.h"

namespace {

// A dashed blue line on a white one over a light wash: the cells under it stay readable.
class TSelFrm final : public QWidget {
public:
  explicit TSelFrm(QWidget* fld) : QWidget(fld) {
    setObjectName("frmSelRct");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 90, 220, 40));
    const QRect r = rect().adjusted(1, 1, -2, -2);
    p.setPen(QPen(Qt::white, 3));
    p.drawRect(r);
    QPen d(QColor(0, 70, 200), 3, Qt::DashLine);
    p.setPen(d);
    p.drawRect(r);
  }
};

}  // namespace

TVioFldSel::TVioFldSel(TVioFldViw& viw) : FViw(viw), FMdl(viw.Mdl()) {
  if (QWidget* fld = FViw.Fld()) {
    FpFrm = new TSelFrm(fld);
    fld->installEventFilter(this);
  }
  FMdl.AddObs(this);
  ShwFrm();
}

TVioFldSel::~TVioFldSel() {
  FMdl.RmvObs(this);
  delete FpFrm.data();
}

TVioPgmItp::TuCel TVioFldSel::Cel(QPoint pos) const {
  const int w = std::max(1, FMdl.CelWdt()), h = std::max(1, FMdl.CelHgt());
  return {std::clamp(pos.x() / w, 0, FMdl.GrdCls() - 1), std::clamp(pos.y() / h, 0, FMdl.GrdRws() - 1)};
}

void TVioFldSel::ShwFrm() {
  QWidget* fld = FViw.Fld();
  if (!FpFrm || !fld) return;
  const auto& r = FMdl.SelRct();
  if (!r) {
    FpFrm->hide();
    return;
  }
  const int w = FMdl.CelWdt(), h = FMdl.CelHgt();
  FpFrm->setGeometry(r->Col0 * w, r->Row0 * h, (r->Col1 - r->Col0 + 1) * w, (r->Row1 - r->Row0 + 1) * h);
  FpFrm->show();
  FpFrm->raise();
}

bool TVioFldSel::eventFilter(QObject* obj, QEvent* e) {
  // Presses on a vio go to its panel; what comes here lies on an empty cell
  // (or on the picture behind the field).
  if (obj != FViw.Fld()) return false;
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      auto* m = static_cast<QMouseEvent*>(e);
      if (m->button() != Qt::LeftButton || FMdl.StaRun() || FMdl.VioDrg()) return false;
      FAnc = Cel(m->position().toPoint());
      FbDrg = true;
      FMdl.ClrSel();
      FMdl.SetKeyCur(FAnc.Col, FAnc.Row);
      FMdl.SetCurVio(FMdl.KeyVio());
      return false;
    }
    case QEvent::MouseMove: {
      auto* m = static_cast<QMouseEvent*>(e);
      if (!FbDrg || !(m->buttons() & Qt::LeftButton)) return false;
      const TVioPgmItp::TuCel c = Cel(m->position().toPoint());
      if (c.Col != FAnc.Col || c.Row != FAnc.Row || FMdl.SelRct()) FMdl.SetSelRct(FAnc.Col, FAnc.Row, c.Col, c.Row);
      return false;
    }
    case QEvent::MouseButtonRelease:
      FbDrg = false;
      return false;
    default:
      return false;
  }
}
