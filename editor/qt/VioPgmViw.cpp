#include "editor/qt/VioPgmViw.h"

#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "core/Seams.h"
#include "editor/qt/VioFldViw.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

class TPgmViw::TGon final : public IVioPgmObs {
public:
  explicit TGon(TPgmViw& v) : V(v) {}
  void VioRmv(TVio* vio) override {
    if (V.FpSel == vio) V.Sel(nullptr);
    if (V.FpRun == vio) V.RunEnd();
  }
  void VioMov(TVio* vio) override {
    if (V.FpSel == vio) V.Mrk(V.FpSelFrm, vio);
    if (V.FpRun == vio) V.Mrk(V.FpRunFrm, vio);
  }
  void FldClr() override {
    V.Sel(nullptr);
    V.RunEnd();
  }
  TPgmViw& V;
};

namespace {
QString Msg(TVioPgmItp& e, std::uint8_t id, const char* dft) {
  const std::string s = e.GetSysUsrMsg(id);
  return s.empty() ? QString::fromLatin1(dft) : VioQStr(s);
}

QFrame* NewFrm(QWidget* fld, const char* clr, const char* nam) {
  auto* f = new QFrame(fld);
  f->setObjectName(nam);
  f->setAttribute(Qt::WA_TransparentForMouseEvents);
  f->setStyleSheet(QString("QFrame#%1 { border: 3px solid %2; background: transparent; }").arg(nam, clr));
  f->hide();
  return f;
}
}  // namespace

TPgmViw::TPgmViw(TVioPgmItp& edt, QWidget* fld, QMainWindow* win, QMenu* fil, int ms)
    : QObject(win), FEdt(edt), FpFld(fld), FpMtr(std::make_unique<TVioMtr>(edt)),
      FpGon(std::make_unique<TGon>(*this)), FpRunMap(std::make_unique<TVioRunMap>(edt)) {
  FEdt.AddObs(FpGon.get());
  FpMtrLbl = new QLabel(win);
  FpMtrLbl->setObjectName("lblBytMtr");
  win->statusBar()->addPermanentWidget(FpMtrLbl);
  FpTmr = new QTimer(this);
  FpTmr->setSingleShot(true);
  FpTmr->setInterval(ms);
  connect(FpTmr, &QTimer::timeout, this, &TPgmViw::Upd);
  FpMtr->FOnStl = [this] { FpTmr->start(); };

  FpLst = new QListWidget(win);
  FpLst->setObjectName("lstTrn");
  FpLst->setWindowFlags(Qt::Window);
  FpLst->setWindowTitle(Msg(FEdt, SUM_VIW_LST, "Listing"));
  FpLst->setFont(QFont("Monospace"));
  FpLst->resize(520, 420);
  connect(FpLst, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) {
    const int adr = FpLst->row(it) - GcTrnLstHdrLin;
    Sel(adr >= 0 ? FpMtr->VioAt(static_cast<std::size_t>(adr)) : nullptr);
  });

  QMenu* viw = win->menuBar()->addMenu("View");
  viw->setObjectName("mmnViw");
  FpLstAct = viw->addAction(Msg(FEdt, SUM_VIW_LST, "Listing"));
  connect(FpLstAct, &QAction::triggered, this, [this] {
    Upd();
    FpLst->show();
    FpLst->raise();
  });
  if (fil) {
    fil->addSeparator();
    FpExpAct = fil->addAction(Msg(FEdt, SUM_VIW_EXP, "Export picture"));
    connect(FpExpAct, &QAction::triggered, this, [this] {
      const QString p = FOnExpPth ? FOnExpPth()
                                  : QFileDialog::getSaveFileName(FpFld, FpExpAct->text(), QString(), "PNG (*.png)");
      if (p.isEmpty()) return;
      if (!ExpPng(p))
        ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_EXP_ERR) + " " + VioStdStr(p), "Error", TeMsgBtn::Ok);
    });
  }
  FpSelFrm = NewFrm(fld, "#1e64ff", "frmLstSel");
  FpRunFrm = NewFrm(fld, "#ff8c00", "frmRunVio");
  Upd();
}

TPgmViw::~TPgmViw() { FEdt.RmvObs(FpGon.get()); }

void TPgmViw::Upd() {
  FpTmr->stop();
  const TuMtrStt& s = FpMtr->Upd();
  FpMtrLbl->setText(VioQStr(s.Txt));
  FpMtrLbl->setToolTip(VioQStr(s.Why));
  FpMtrLbl->setStyleSheet(s.Ok ? QString() : QString("QLabel { color: #c00000; font-weight: bold; }"));
  FpLst->clear();
  if (s.Ok) {
    const QStringList lns = VioQStr(FmtTrnLst(FpMtr->Trn())).split('\n', Qt::SkipEmptyParts);
    FpLst->addItems(lns);
  } else {
    FpLst->addItem(VioQStr(s.Why));
  }
  if (FpSel) Mrk(FpSelFrm, FpSel);
}

bool TPgmViw::Has(const TVio* vio) const {
  const auto& l = FEdt.Vios();
  return vio && std::find(l.begin(), l.end(), vio) != l.end();
}

void TPgmViw::Mrk(QFrame* frm, TVio* vio) {
  if (!FpFld || !frm) return;
  if (!vio) {
    frm->hide();
    return;
  }
  frm->setGeometry(vio->Left() - 3, vio->Top() - 3, vio->Width() + 6, vio->Height() + 6);
  frm->show();
  frm->raise();
}

void TPgmViw::Sel(TVio* vio) {
  FpSel = Has(vio) ? vio : nullptr;
  Mrk(FpSelFrm, FpSel);
}

void TPgmViw::SetRunStm(const TInsAndTkn& trn) {
  RunEnd();
  FpRunMap->Set(trn);
}

void TPgmViw::ClrRunStm() {
  RunEnd();
  FpRunMap->Clr();
}

void TPgmViw::RunAdr(int adr) {
  TVio* v = FpRunMap->VioAt(adr);
  FpRun = Has(v) ? v : nullptr;
  Mrk(FpRunFrm, FpRun);
}

void TPgmViw::RunEnd() {
  FpRun = nullptr;
  Mrk(FpRunFrm, nullptr);
}

QImage TPgmViw::FldImg() const {
  if (!FpFld) return {};
  const bool sel = FpSelFrm->isVisible(), run = FpRunFrm->isVisible();
  FpSelFrm->hide();
  FpRunFrm->hide();
  QImage img = FpFld->grab().toImage();
  FpSelFrm->setVisible(sel);
  FpRunFrm->setVisible(run);
  return img;
}

bool TPgmViw::ExpPng(const QString& path) const {
  const QImage img = FldImg();
  return !img.isNull() && img.save(path, "PNG");
}
