#include "app/SimPan.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QStringList>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/RunMrk.h"
#include "app/VslCnvLgc.h"
#include "editor/VioPgmItp.h"
#include "editor/VioRun.h"
#include "editor/qt/VioPgmViw.h"
#include "messages/SysMsgIdf.h"
#include "sim/SimCmd.h"
#include "sim/SimThr.h"
#include "sim/qt/ArnWgt.h"
#include "messages/SysMsgBui.h"

namespace {
// The pane's look at the robot: at most 60 times a second while something
// moves (a blinking LED included); at rest it waits to be woken.
constexpr int GcTckMov = 17, GcTckIdl = 50;
// The speed factors offered; the last is "as fast as possible".
constexpr double GcSpd[] = {1.0, 2.0, 5.0, 1000.0};
constexpr int GcTrcMax = 2000;  // trace lines kept
// The pane's first width: a share of the window, within bounds; the field's
// columns narrow beside it.
constexpr int GcPanPct = 30, GcPanMin = 320, GcPanMax = 600;

struct TuCmdDsg {
  std::uint8_t Msg;
  QKeyCombination Key;
  const char* Nam;
};
const TuCmdDsg GcCmd[TSimPan::CmdCnt] = {
    {SUM_SIM_CNT, QKeyCombination(Qt::Key_F5), "actSimCnt"},
    {SUM_SIM_PAU, QKeyCombination(Qt::Key_F6), "actSimPau"},
    {SUM_SIM_STP, QKeyCombination(Qt::Key_F10), "actSimStp"},
    {SUM_SIM_END, QKeyCombination(Qt::ControlModifier, Qt::Key_F5), "actSimEnd"},
};
}  // namespace

TSimPan::TSimPan(QMainWindow& win, TRunMrk& run, QScrollArea& scr, std::function<TSimThr*()> sim,
                 std::function<std::uint8_t()> lge)
    : QDockWidget(&win), FWin(win), FRun(run), FScr(scr), FSim(std::move(sim)), FLge(std::move(lge)) {
  setObjectName("dckSim");
  for (int c = 0; c < CmdCnt; ++c) {
    FpCmd[c] = new QAction(this);
    FpCmd[c]->setObjectName(GcCmd[c].Nam);
    FpCmd[c]->setShortcut(QKeySequence(GcCmd[c].Key));
    FpCmd[c]->setEnabled(false);
    connect(FpCmd[c], &QAction::triggered, this, [this, c] { DoCmd(static_cast<TeCmd>(c)); });
    // The keys work wherever the focus is in the window, the pane shown or not.
    win.addAction(FpCmd[c]);
  }
  BldCtl();
  win.addDockWidget(Qt::RightDockWidgetArea, this);
  hide();
  toggleViewAction()->setObjectName("actSimPan");
  if (QMenu* m = win.menuBar()->findChild<QMenu*>("mmnViw")) m->addAction(toggleViewAction());
  connect(toggleViewAction(), &QAction::triggered, this, [this](bool on) { FbOwnHid = !on; });
  FTmr.setInterval(GcTckIdl);
  connect(&FTmr, &QTimer::timeout, this, &TSimPan::Tck);
  FTmr.start();
  RfsTxt();
}

TSimPan::~TSimPan() {
  FTmr.stop();
  // The robot's thread may outlive the pane: its trace comes here no more.
  if (FpCur && FSim() == FpCur) {
    FpCur->Do([](TSimDrv& d) { d.Rbt().FOnTrc = nullptr; });
    FpCur->SetOnAct(nullptr);
  }
}

long TSimPan::Pnt() const { return FpArn->Pnt(); }

void TSimPan::BldCtl() {
  auto* top = new QWidget(this);
  auto* lay = new QVBoxLayout(top);
  FpArn = new TArnWgt(top);
  FpArn->setObjectName("arnSim");
  FpArn->FOnBmp = [this](bool lft, bool prs) {
    if (TSimThr* s = FpCur) s->Do([lft, prs](TSimDrv& d) { d.Rbt().SetBmpUsr(lft, prs); });
    Tck();
  };
  // The arena is as high as its floor at the pane's width; the trace takes the rest.
  lay->addWidget(FpArn);
  auto* rpl = new QHBoxLayout;
  FpRplLbl = new QLabel(top);
  FpRpl = new QSlider(Qt::Horizontal, top);
  FpRpl->setObjectName("sldSimRpl");
  FpRpl->setRange(0, 0);
  connect(FpRpl, &QSlider::valueChanged, this, &TSimPan::RplMov);
  rpl->addWidget(FpRplLbl);
  rpl->addWidget(FpRpl, 1);
  lay->addLayout(rpl);
  auto* cmd = new QHBoxLayout;
  for (QAction* a : FpCmd) {
    auto* b = new QToolButton(top);
    b->setDefaultAction(a);
    cmd->addWidget(b);
  }
  cmd->addStretch(1);
  lay->addLayout(cmd);
  lay->addWidget(BldInp(top));
  FpTrc = new QPlainTextEdit(top);
  FpTrc->setReadOnly(true);
  FpTrc->setMaximumBlockCount(GcTrcMax);
  FpTrc->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  FpTrc->setFont(QFont(QStringLiteral("Monospace"), 8));
  lay->addWidget(FpTrc, 1);
  // On a low screen the pane scrolls rather than making the window higher than the screen.
  auto* scr = new QScrollArea(this);
  scr->setObjectName("scbSimPan");
  scr->setFrameShape(QFrame::NoFrame);
  scr->setWidgetResizable(true);
  scr->setWidget(top);
  setWidget(scr);
}

QWidget* TSimPan::BldInp(QWidget* top) {
  auto* box = new QWidget(top);
  auto* g = new QGridLayout(box);
  g->setContentsMargins(0, 0, 0, 0);
  FpSwiLbl = new QLabel(box);
  g->addWidget(FpSwiLbl, 0, 0);
  auto* swi = new QHBoxLayout;
  for (int i = 0; i < 6; ++i) {
    FpSwi[i] = new QPushButton(QString::number(i + 1), box);
    FpSwi[i]->setCheckable(true);
    FpSwi[i]->setMinimumWidth(28);
    connect(FpSwi[i], &QPushButton::toggled, this, [this, i](bool on) {
      if (TSimThr* s = FpCur)
        s->Do([i, on](TSimDrv& d) {
          if (d.Rbt().Swi(i) != on) d.Rbt().SetSwi(i, on);
        });
      Wak();
    });
    swi->addWidget(FpSwi[i]);
  }
  g->addLayout(swi, 0, 1);
  FpLgtLbl = new QLabel(box);
  FpLgt = new QSlider(Qt::Horizontal, box);
  FpLgt->setRange(0, 100);
  FpLgt->setValue(80);
  connect(FpLgt, &QSlider::valueChanged, this, [this](int v) {
    if (TSimThr* s = FpCur) s->Do([v](TSimDrv& d) { d.Rbt().SetLgt(v); });
    RfsTxt();
    if (FpCur) Wak();
  });
  g->addWidget(FpLgtLbl, 1, 0);
  g->addWidget(FpLgt, 1, 1);
  FpSpdLbl = new QLabel(box);
  FpSpd = new QComboBox(box);
  FpSpd->setObjectName("cbxSimSpd");
  for (double f : GcSpd) FpSpd->addItem(QStringLiteral("x%1").arg(f), f);
  connect(FpSpd, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (TSimThr* s = FpCur) s->SetSpd(FpSpd->itemData(i).toDouble());
  });
  g->addWidget(FpSpdLbl, 2, 0);
  g->addWidget(FpSpd, 2, 1, Qt::AlignLeft);
  return box;
}

void TSimPan::RfsTxt() {
  const std::uint8_t lge = FLge();
  auto txt = [lge](std::uint8_t id) { return QString::fromStdString(SysMsgOr(id, lge)); };
  const QString pan = txt(SUM_SIM_PAN);
  setWindowTitle(pan);
  toggleViewAction()->setText(pan);
  for (int c = 0; c < CmdCnt; ++c) {
    const QString t = txt(GcCmd[c].Msg);
    FpCmd[c]->setText(t);
    FpCmd[c]->setToolTip(t + " (" + FpCmd[c]->shortcut().toString(QKeySequence::NativeText) + ")");
  }
  FpRplLbl->setText(txt(SUM_SIM_RPL));
  FpSwiLbl->setText(txt(SUM_SIM_SWI));
  FpLgtLbl->setText(txt(SUM_SIM_LGT) + QStringLiteral(" %1 %").arg(FpLgt->value()));
  FpSpdLbl->setText(txt(SUM_SIM_SPD));
  FpSpd->setItemText(FpSpd->count() - 1, txt(SUM_SIM_FST));
  // The names a screen reader says for the controls that show no words of their own.
  FpArn->setAccessibleName(txt(SUM_ACC_ARN));
  FpRpl->setAccessibleName(FpRplLbl->text());
  for (int i = 0; i < 6; ++i) FpSwi[i]->setAccessibleName(FpSwiLbl->text() + QStringLiteral(" %1").arg(i + 1));
  FpLgt->setAccessibleName(txt(SUM_SIM_LGT));
  FpSpd->setAccessibleName(FpSpdLbl->text());
  FpTrc->setAccessibleName(txt(SUM_ACC_TRC));
}

void TSimPan::DoCmd(TeCmd c) {
  TSimThr* s = FpCur;
  if (!s) return;
  // A command is about the live robot: the replay ends.
  RplMov(static_cast<int>(FRpl.Cnt()));
  s->Do([c](TSimDrv& d) {
    TSimRbt& r = d.Rbt();
    switch (c) {
      case Cnt: r.Cont(); break;
      case Pau: r.Pause(); break;
      case Stp: r.Step(); break;
      case End: r.RunToEnd(); break;
      case CmdCnt: break;
    }
  });
  Tck();
}

void TSimPan::Tck() {
  TSimThr* s = FSim();
  if (s && !s->Running()) s = nullptr;
  if (s != FpCur) {
    // Another robot (or none): its trace comes here, and the pane shows
    // when one starts unless the user has put it away.
    FpCur = s;
    FRun.Fre();  // what it held was the other robot's
    FRpl.Clr();
    FWhy = {};
    FbDrw = false;
    for (QAction* a : FpCmd) a->setEnabled(s != nullptr);
    if (s) {
      s->Do([this](TSimDrv& d) {
        d.Rbt().FOnTrc = [this](const TuSimTrc& t) { FTrcPnd.push_back(t); };
        if (FOnSim) FOnSim(d);
      });
      s->SetOnAct([this] {
        if (FbRst.exchange(false)) QMetaObject::invokeMethod(this, &TSimPan::Wak, Qt::QueuedConnection);
      });
      s->SetSpd(FpSpd->currentData().toDouble());
      if (!FbOwnHid) show();
      if (!FbOwnHid && !FbWid) {
        FbWid = true;
        FWin.resizeDocks({this}, {std::clamp(FWin.width() * GcPanPct / 100, GcPanMin, GcPanMax)}, Qt::Horizontal);
      }
    }
  }
  if (!s) {
    FTmr.stop();  // until a robot starts
    return;
  }
  TuSimSnp snp;
  TuSimWhy why;
  bool rec = false, mov = false;
  std::vector<TuSimTrc> trc;
  s->Qry([&](const TSimDrv& d) {
    const TSimRbt& r = d.Rbt();
    snp = SimSnp(r);
    why = r.Why();
    FbPau = r.Paused();
    FbRun = r.Running();
    FiAt = r.At();
    for (int i = 0; i < 6; ++i) FbySwi = static_cast<std::uint8_t>((FbySwi & ~(1 << i)) | (r.Swi(i) << i));
    rec = FRpl.Tak(r);
    trc.swap(FTrcPnd);
    mov = d.Mov();
    // Nothing moves: the robot's thread wakes the pane when that changes.
    FbRst = !mov;
  });
  AddTrc(trc);
  for (int i = 0; i < 6; ++i) {
    const bool on = (FbySwi >> i) & 1;
    if (FpSwi[i]->isChecked() != on) {
      const QSignalBlocker b(FpSwi[i]);
      FpSwi[i]->setChecked(on);
    }
  }
  if (why.Knd != FWhy.Knd || why.Adr != FWhy.Adr) ShwWhy(why);
  FWhy = why;
  const bool chg = rec || !FbDrw || !SimSnpSam(snp, FSnp);
  FSnp = snp;
  Shw(chg);
  if (!mov) {
    FTmr.stop();
    return;
  }
  if (FTmr.interval() != GcTckMov) FTmr.setInterval(GcTckMov);
  if (!FTmr.isActive()) FTmr.start();
}

void TSimPan::AddTrc(const std::vector<TuSimTrc>& trc) {
  if (trc.empty()) return;
  // One append a look, and no more lines than the view keeps: a busy loop
  // traces a thousand lines a second.
  QStringList lns;
  const std::size_t kep = GcTrcMax;
  for (std::size_t i = trc.size() > kep ? trc.size() - kep : 0; i < trc.size(); ++i)
    lns << QString::fromStdString(FmtTrc(trc[i]));
  // The view follows the end, also once it trims its first lines away,
  // unless the user has scrolled back to read.
  QScrollBar* bar = FpTrc->verticalScrollBar();
  const bool end = bar->value() >= bar->maximum();
  FpTrc->appendPlainText(lns.join(QLatin1Char('\n')));
  if (end) bar->setValue(bar->maximum());
}

void TSimPan::Wak() {
  FTmr.start();
  Tck();
}

void TSimPan::Shw(bool chg) {
  {
    const QSignalBlocker b(FpRpl);
    FpRpl->setMaximum(static_cast<int>(FRpl.Cnt()));
    FpRpl->setValue(static_cast<int>(FRpl.Pos()));
  }
  if (!FRpl.Live()) {
    // The replay holds its vio against the robot's late address reports.
    MrkVio(FRpl.Adr(FRpl.Pos()));
    return;
  }
  if (chg) FpArn->Set(FSnp, &FRpl.Rec(), FRpl.Cnt());
  FbDrw = true;
  // A running robot's own reports move the frame.
  if (FbPau) MrkVio(FiAt);
  else FRun.Fre();
}

void TSimPan::RplMov(int at) {
  const bool was = FRpl.Live();
  FRpl.SetPos(static_cast<std::size_t>(std::max(at, 0)));
  if (FpRpl->value() != static_cast<int>(FRpl.Pos())) {
    const QSignalBlocker b(FpRpl);
    FpRpl->setValue(static_cast<int>(FRpl.Pos()));
  }
  if (!FRpl.Live()) {
    const std::size_t i = FRpl.Pos();
    FpArn->Set(SimSnp(FRpl.Rec()[i]), &FRpl.Rec(), i + 1);
    MrkVio(FRpl.Adr(i));
    return;
  }
  if (was) return;
  // Back at the end: the live robot again.
  FpArn->Set(FSnp, &FRpl.Rec(), FRpl.Cnt());
  if (FbPau) {
    MrkVio(FiAt);
    return;
  }
  FRun.Fre();
  if (!FbRun) FRun.End();
}

void TSimPan::MrkVio(int adr) {
  if (!FRun.Hld(adr)) return;
  // The field may lie partly behind the pane: the framed vio comes into view.
  if (const TVio* v = FRun.Vio())
    FScr.ensureVisible(v->Left() + v->Width() / 2, v->Top() + v->Height() / 2, v->Width() / 2 + 8, v->Height() / 2 + 8);
}

void TSimPan::ShwWhy(const TuSimWhy& why) {
  const std::uint8_t lge = FLge();
  std::string txt;
  switch (why.Knd) {
    case TeSimWhy::Usr: txt = SysMsgOr(SUM_SIM_WHY_USR, lge); break;
    case TeSimWhy::Brk: txt = SysMsgOr(SUM_SIM_WHY_BRK, lge); break;
    case TeSimWhy::Stp: txt = SysMsgOr(SUM_SIM_WHY_STP, lge); break;
    case TeSimWhy::Cpl: txt = SysMsgOr(SUM_SIM_WHY_CPL, lge); break;
    // A fault is told by the robot's own report, a halt by what halted it.
    default: return;
  }
  if (FbPau) MrkVio(why.Adr);
  FWin.statusBar()->showMessage(QString::fromStdString(txt));
}
