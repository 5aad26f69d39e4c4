#include "app/RbtMon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "app/VslLnk.h"
#include "app/platform/QtStr.h"
#include "core/SafFil.h"
#include "core/Seams.h"
#include "link/MeaSto.h"
#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"

namespace {
QString Txt(std::uint8_t id, std::uint8_t lge) { return QStr(SysMsgOr(id, lge)); }
// The part i of a text that names several, split by |.
QString Prt(std::uint8_t id, std::uint8_t lge, int i) { return Txt(id, lge).section('|', i, i); }

// The plot's bands: measurement 1, measurement 2, the six switches.
const QColor GcPltCol[] = {QColor(0, 90, 200), QColor(200, 100, 0), QColor(0, 140, 60)};
}  // namespace

// The plot of the last minute, painted from the store as it stands.
class TMonPlt final : public QWidget {
public:
  TMonPlt(TVslLnk& lnk, QWidget* par) : QWidget(par), FLnk(lnk) {
    setMinimumSize(240, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  long Pnt = 0;

protected:
  void paintEvent(QPaintEvent*) override {
    ++Pnt;
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const TMeaSto& sto = FLnk.MeaSto();
    const std::int64_t now = FLnk.MeaNow();
    const std::vector<TuMeaSmp> smp = sto.Smp(now);
    const std::int64_t end = sto.End(now);
    const int x0 = 2, wdt = width() - 4, hgt = height() - 4;
    const int bnd = hgt * 7 / 20, lan = (hgt - 2 * bnd) / 6;
    // Ten-second marks.
    p.setPen(QColor(225, 225, 225));
    for (int s = 0; s <= 60; s += 10) {
      const int x = x0 + (wdt - 1) * s / 60;
      p.drawLine(x, 0, x, height());
    }
    std::vector<QPoint> pol;
    auto drw = [&](const std::vector<TuPltPt>& pts, const QColor& col) {
      pol.clear();
      for (const TuPltPt& q : pts) pol.emplace_back(q.X, q.Y);
      p.setPen(QPen(col, 1));
      if (!pol.empty()) p.drawPolyline(pol.data(), static_cast<int>(pol.size()));
    };
    for (std::uint8_t c = 0; c < GcMeaChn; ++c) {
      const int y0 = 2 + c * bnd;
      p.setPen(QColor(200, 200, 200));
      p.drawLine(x0, y0 + bnd - 2, x0 + wdt - 1, y0 + bnd - 2);
      drw(MeaPlt(smp, c, end, x0, wdt, y0 + 2, bnd - 4, MeaMax(smp, c)), GcPltCol[c]);
    }
    // The switches' lanes, numbered at the left where they have the room.
    p.setPen(QColor(150, 150, 150));
    QFont fnt = font();
    fnt.setPixelSize(std::max(1, std::min(lan, fontMetrics().height())));
    p.setFont(fnt);
    for (int n = 1; n <= 6 && lan >= 7; ++n)
      p.drawText(QRect(x0 + 2, 2 + 2 * bnd + (n - 1) * lan, 12, lan), Qt::AlignLeft | Qt::AlignVCenter, QString::number(n));
    for (int n = 1; n <= 6; ++n) {
      const int y0 = 2 + 2 * bnd + (n - 1) * lan;
      drw(MeaPlt(smp, 1, end, x0, wdt, y0 + 1, lan - 2, 1, static_cast<std::uint16_t>(0x40u >> n)), GcPltCol[2]);
    }
  }

private:
  TVslLnk& FLnk;
};

TRbtMon::TRbtMon(QMainWindow& win, TVslLnk& lnk, std::function<std::uint8_t()> lge)
    : QDockWidget(&win), FLnk(lnk), FLge(std::move(lge)) {
  setObjectName("dckMon");
  auto* top = new QWidget(this);
  auto* lay = new QVBoxLayout(top);
  auto* num = new QHBoxLayout;
  const char* const nam[] = {"lblMonVa1", "lblMonVa2"};
  for (int c = 0; c < 2; ++c) {
    FpVal[c] = new QLabel(top);
    FpVal[c]->setObjectName(nam[c]);
    FpVal[c]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    num->addWidget(FpVal[c]);
    num->addSpacing(12);
  }
  FpSwi = new QLabel(top);
  FpSwi->setObjectName("lblMonSwi");
  // Each number in the colour of its band in the plot, so that the numbers
  // are the plot's legend.
  for (int c = 0; c < 3; ++c) {
    QLabel* l = c < 2 ? FpVal[c] : FpSwi;
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, GcPltCol[c]);
    l->setPalette(pal);
    // A label that fills its own background repaints alone, not the dock under it.
    l->setAutoFillBackground(true);
  }
  num->addWidget(FpSwi);
  num->addStretch(1);
  lay->addLayout(num);
  FpPlt = new TMonPlt(lnk, top);
  FpPlt->setObjectName("pltMon");
  lay->addWidget(FpPlt, 1);
  auto* btn = new QHBoxLayout;
  FpPau = new QPushButton(top);
  FpPau->setObjectName("btnMonPau");
  FpPau->setCheckable(true);
  FpClr = new QPushButton(top);
  FpClr->setObjectName("btnMonClr");
  FpExp = new QPushButton(top);
  FpExp->setObjectName("btnMonExp");
  for (QPushButton* b : {FpPau, FpClr, FpExp}) btn->addWidget(b);
  btn->addStretch(1);
  lay->addLayout(btn);
  setWidget(top);
  connect(FpPau, &QPushButton::toggled, this, &TRbtMon::SetPau);
  connect(FpClr, &QPushButton::clicked, this, &TRbtMon::Clr);
  connect(FpExp, &QPushButton::clicked, this, &TRbtMon::Exp);
  win.addDockWidget(Qt::BottomDockWidgetArea, this);
  hide();
  toggleViewAction()->setObjectName("actMonPan");
  toggleViewAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  if (QMenu* m = win.menuBar()->findChild<QMenu*>("mmnViw")) m->addAction(toggleViewAction());
  FTmr.setSingleShot(true);
  connect(&FTmr, &QTimer::timeout, this, &TRbtMon::Rfs);
  connect(&FScr, &QTimer::timeout, this, &TRbtMon::RfsPlt);
  // Raised on the link's receive thread: the monitor hears of it on its own.
  connect(&lnk, &TVslLnk::Mea, this, &TRbtMon::OnMea, Qt::QueuedConnection);
  FLstPnt.start();
  RfsTxt();
}

long TRbtMon::Pnt() const { return FpPlt->Pnt; }

void TRbtMon::RfsTxt() {
  const std::uint8_t lge = FLge();
  const QString pan = Txt(SUM_MON_PAN, lge);
  setWindowTitle(pan);
  toggleViewAction()->setText(pan);
  FpPlt->setAccessibleName(pan);
  FpPau->setText(Prt(SUM_MON_PAU, lge, FpPau->isChecked() ? 1 : 0));
  FpClr->setText(Txt(SUM_MON_CLR, lge));
  FpExp->setText(Prt(SUM_MON_EXP, lge, 0));
  for (int i = 0; i < 3; ++i) FsLbl[i] = Prt(SUM_MON_LBL, lge, i);
  // The numbers take the room of their widest text: a new value then changes
  // no layout.
  const QFontMetrics fm(FpSwi->font());
  for (int c = 0; c < 2; ++c)
    FpVal[c]->setFixedSize(fm.horizontalAdvance(FsLbl[c] + ": FFFF (65535)") + 8, fm.height() + 4);
  FpSwi->setFixedSize(fm.horizontalAdvance(FsLbl[2] + ": 1 2 3 4 5 6") + 8, fm.height() + 4);
  Rfs();
}

void TRbtMon::OnMea() {
  if (isVisible()) Due();
}

void TRbtMon::Due() {
  if (FTmr.isActive()) return;
  const qint64 el = FLstPnt.elapsed();
  FTmr.start(static_cast<int>(std::max<qint64>(0, GcPntMs - el)));
}

void TRbtMon::Rfs() {
  FTmr.stop();
  FLstPnt.restart();
  const TMeaSto& sto = FLnk.MeaSto();
  // A label that keeps its text is not laid out again.
  auto set = [](QLabel* l, const QString& t) {
    if (l->text() != t) l->setText(t);
  };
  for (std::uint8_t c = 0; c < 2; ++c) {
    const auto v = sto.Lst(c);
    set(FpVal[c], FsLbl[c] + ": " +
                      (v ? QStr(Hex4(*v)) + QStringLiteral(" (%1)").arg(*v) : QStringLiteral("-")));
  }
  QString swi;
  if (const auto v2 = sto.Lst(1))
    for (int n = 1; n <= 6; ++n)
      if (MeaSwi(*v2, n)) swi += (swi.isEmpty() ? "" : " ") + QString::number(n);
  set(FpSwi, FsLbl[2] + ": " + (swi.isEmpty() ? QStringLiteral("-") : swi));
  Scr();
}

void TRbtMon::RfsPlt() { FpPlt->update(); }

void TRbtMon::Scr() {
  const TMeaSto& sto = FLnk.MeaSto();
  const bool on = isVisible() && !sto.Pau() && (sto.Lst(0) || sto.Lst(1));
  if (!on) {
    FScr.stop();
    return;
  }
  // The plot moves on a pixel a step (at most GcPltMs apart) and shows the
  // values that came meanwhile; the numbers do not wait for it.
  const int ms = std::max(GcPltMs, static_cast<int>(GcMeaSpnMs / std::max(1, FpPlt->width())));
  if (!FScr.isActive() || FScr.interval() != ms) FScr.start(ms);
}

void TRbtMon::showEvent(QShowEvent* e) {
  QDockWidget::showEvent(e);
  Rfs();
  RfsPlt();
}

void TRbtMon::hideEvent(QHideEvent* e) {
  QDockWidget::hideEvent(e);
  FTmr.stop();
  FScr.stop();
}

void TRbtMon::SetPau(bool pau) {
  FLnk.MeaSto().SetPau(pau, FLnk.MeaNow());
  FpPau->setText(Prt(SUM_MON_PAU, FLge(), pau ? 1 : 0));
  Rfs();
  RfsPlt();
}

void TRbtMon::Clr() {
  FLnk.MeaSto().Clr();
  Rfs();
  RfsPlt();
}

void TRbtMon::Exp() {
  const std::uint8_t lge = FLge();
  // What the monitor holds at the click, not what came while the dialog was open.
  const std::string csv = FLnk.MeaSto().Csv(FLnk.MeaNow());
  const TFilDlgReq req{Prt(SUM_MON_EXP, lge, 1).toStdString() + " (*.csv)|*.csv", {}};
  std::string name;
  if (!GuFilDlg().Sav(req, name)) return;
  if (std::filesystem::path(name).extension().empty()) name += ".csv";
  std::error_code ec;
  if (std::filesystem::exists(name, ec) &&
      ShwMsgBox(SysMsgOr(SUM_FIL_OVR, lge), SysMsgOr(SUM_FIL_OVR_CAP, lge), TeMsgBtn::YesNo) != TeMsgAns::Yes)
    return;
  std::string why;
  if (!WrtFilSaf(name, csv, why))
    ShwMsgBox(Txt(SUM_MON_EXP_ERR, lge).arg(QStr(name), QStr(why)).toStdString(), SysMsgOr(SUM_ERR_CAP, lge));
}
