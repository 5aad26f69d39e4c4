#include "SimWnd.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "SimApp.h"
#include "sim/qt/ArnWgt.h"
#include "sim/SimCmd.h"

namespace {
// Interval of the window's look at the robot: while it moves, and at rest
// (still often enough for a flashing LED's 100 ms).
constexpr int GcTckMov = 15, GcTckIdl = 50;
}  // namespace

TfrmZfrSim::TfrmZfrSim(TSimDrv& drv, const QString& pth) : FDrv(drv) {
  setWindowTitle(tr("Zefor simulator - %1").arg(pth));
  auto* top = new QHBoxLayout(this);
  auto* lft = new QVBoxLayout;
  FpArn = new TArnWgt(this);
  FpArn->FOnBmp = [this](bool lft, bool prs) { FDrv.Poll(SimWalNow()), FDrv.Rbt().SetBmpUsr(lft, prs), Tck(); };
  lft->addWidget(FpArn, 1);
  FpSts = new QLabel(this);
  FpSts->setWordWrap(true);
  lft->addWidget(FpSts);
  top->addLayout(lft, 3);

  auto* rgt = new QVBoxLayout;
  auto* prt = new QLabel(tr("Serial port: %1").arg(pth), this);
  prt->setTextInteractionFlags(Qt::TextSelectableByMouse);
  rgt->addWidget(prt);
  auto* swi = new QGridLayout;
  for (int i = 0; i < 6; ++i) {
    FpSwi[i] = new QPushButton(tr("Switch %1").arg(i + 1), this);
    FpSwi[i]->setCheckable(true);
    FpSwi[i]->setToolTip(tr("On while pressed in; turning it on while the program runs starts the switch-interrupt routine"));
    connect(FpSwi[i], &QPushButton::toggled, this, [this, i](bool on) {
      FDrv.Poll(SimWalNow());
      if (FDrv.Rbt().Swi(i) != on) FDrv.Rbt().SetSwi(i, on);
    });
    swi->addWidget(FpSwi[i], i / 3, i % 3);
  }
  rgt->addLayout(swi);
  auto* lgt = new QHBoxLayout;
  FpLgt = new QLabel(this);
  FpLgtSld = new QSlider(Qt::Horizontal, this);
  FpLgtSld->setRange(0, 100);
  FpLgtSld->setValue(static_cast<int>(drv.Rbt().Lgt()));
  FpLgt->setText(tr("Light %1 %").arg(FpLgtSld->value()));
  connect(FpLgtSld, &QSlider::valueChanged, this, [this](int v) {
    FDrv.Poll(SimWalNow());
    FDrv.Rbt().SetLgt(v);
    FpLgt->setText(tr("Light %1 %").arg(v));
  });
  lgt->addWidget(FpLgt);
  lgt->addWidget(FpLgtSld, 1);
  rgt->addLayout(lgt);
  auto* spd = new QHBoxLayout;
  spd->addWidget(new QLabel(tr("Speed"), this));
  auto* spdCbx = new QComboBox(this);
  for (double f : {1.0, 2.0, 5.0, 10.0, 100.0}) spdCbx->addItem(QStringLiteral("x %1").arg(f), f);
  int cur = spdCbx->findData(drv.Spd());
  if (cur < 0) {
    spdCbx->addItem(QStringLiteral("x %1").arg(drv.Spd()), drv.Spd());
    cur = spdCbx->count() - 1;
  }
  spdCbx->setCurrentIndex(cur);
  connect(spdCbx, &QComboBox::currentIndexChanged, this,
          [this, spdCbx](int i) { FDrv.SetSpd(spdCbx->itemData(i).toDouble(), SimWalNow()); });
  spd->addWidget(spdCbx, 1);
  auto* rst = new QPushButton(tr("Back to start"), this);
  rst->setToolTip(tr("Put the robot back on its start place"));
  connect(rst, &QPushButton::clicked, this, [this] {
    FDrv.Poll(SimWalNow());
    FDrv.Rbt().Wld().RstPos();
    FDrv.Rbt().Evt("placed at the start");
  });
  spd->addWidget(rst);
  rgt->addLayout(spd);
  FpAdr = new QLabel(this);
  rgt->addWidget(FpAdr);
  FpTrc = new QPlainTextEdit(this);
  FpTrc->setReadOnly(true);
  FpTrc->setMaximumBlockCount(5000);
  FpTrc->setFont(QFont(QStringLiteral("Monospace"), 9));
  FpTrc->setMinimumWidth(440);
  rgt->addWidget(FpTrc, 1);
  top->addLayout(rgt, 2);

  FpTmr = new QTimer(this);
  FpTmr->setInterval(GcTckMov);
  connect(FpTmr, &QTimer::timeout, this, &TfrmZfrSim::Tck);
  FpTmr->start();
  Tck();
}

void TfrmZfrSim::AddTrc(const TuSimTrc& t) { FpTrc->appendPlainText(QString::fromStdString(FmtTrc(t))); }

void TfrmZfrSim::Tck() {
  if (SimQitReq()) {
    QApplication::quit();
    return;
  }
  FDrv.Poll(SimWalNow());
  const TSimRbt& r = FDrv.Rbt();
  FpSts->setText(QString::fromStdString(SimSts(r)));
  QString adr = tr("Link: %1").arg(FDrv.PeerUp() ? tr("up") : tr("waiting for the tool to open the port"));
  if (r.HasPgm())
    adr += tr(" - program of %1 bytes").arg(r.Pgm().size());
  if (r.Running()) adr += tr(" - address %1").arg(r.Pc());
  FpAdr->setText(adr);
  for (int i = 0; i < 6; ++i) {
    if (FpSwi[i]->isChecked() != r.Swi(i)) {
      const QSignalBlocker b(FpSwi[i]);
      FpSwi[i]->setChecked(r.Swi(i));
    }
  }
  // The arena is repainted when what it shows has changed, and the window
  // looks more often while something moves: an idle simulator stays quiet.
  const TuSimSnp snp = SimSnp(r);
  if (FRpl.Tak(r) || !FbDrw || !SimSnpSam(snp, FSnp)) {
    FSnp = snp;
    FbDrw = true;
    FpArn->Set(snp, &FRpl.Rec(), FRpl.Cnt());
  }
  const bool mov = r.Running() || r.Wld().Whl() != TeWhl::Stp;
  const int itv = mov ? GcTckMov : GcTckIdl;
  if (FpTmr->interval() != itv) FpTmr->setInterval(itv);
}

int RunSimWnd(int argc, char** argv, const TuSimOpt& o, TSimDrv& drv) {
  (void)o;
  QApplication app(argc, argv);
  TfrmZfrSim w(drv, QString::fromStdString(drv.Pth()));
  drv.Rbt().FOnTrc = [&w](const TuSimTrc& t) { w.AddTrc(t); };
  drv.Sta(SimWalNow());
  w.resize(1180, 640);
  w.show();
  return app.exec();
}
