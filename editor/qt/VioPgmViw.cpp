#include "editor/qt/VioPgmViw.h"

#include <QAction>
#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "core/Seams.h"
#include "editor/VioKep.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioFldZom.h"
#include "editor/qt/VioPgmSht.h"
#include "translator/InsAndTkn.h"
#include "translator/TrnLst.h"

class TPgmViw::TGon final : public IVioPgmObs {
public:
  explicit TGon(TPgmViw& v) : V(v) {}
  void VioRmv(TVio* vio) override {
    if (V.FpSel == vio) V.Sel(nullptr);
    if (V.FpRun == vio) V.RunEnd();
    if (vio->Brk()) V.SndBrk();
  }
  void VioBrk(TVio*) override { V.SndBrk(); }
  void VioAdd(TVio*) override { V.EndFst(); }
  void FldShw() override {
    if (V.FpSel) V.Mrk(V.FpSelFrm, V.FpSel);
    if (V.FpRun) V.Mrk(V.FpRunFrm, V.FpRun);
  }
  void VioMov(TVio* vio, int left, int top) override {
    const QPoint at(left, top);
    if (V.FpSel == vio) V.Mrk(V.FpSelFrm, vio, &at);
    if (V.FpRun == vio) V.Mrk(V.FpRunFrm, vio, &at);
  }
  void FldClr() override {
    V.Sel(nullptr);
    V.RunEnd();
    V.SndBrk();
  }
  TPgmViw& V;
};

namespace {
// How much larger than on screen the field is drawn for print.
constexpr double GcPrtScl = 2.0;

QString Msg(TVioPgmItp& e, std::uint8_t id) { return VioQStr(VioUsrMsg(e, id)); }

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
  FpSta = win->statusBar();
  FpTmr = new QTimer(this);
  FpTmr->setSingleShot(true);
  FpTmr->setInterval(ms);
  connect(FpTmr, &QTimer::timeout, this, &TPgmViw::Upd);
  FpMtr->SetOnStl([this] { FpTmr->start(); });

  FpLst = new QListWidget(win);
  FpLst->setObjectName("lstTrn");
  FpLst->setWindowFlags(Qt::Window);
  FpLst->setFont(QFont("Monospace"));
  FpLst->resize(520, 420);
  // The listing's mark belongs to the listing: it goes when the listing is closed.
  FpLst->installEventFilter(this);
  connect(FpLst, &QListWidget::itemClicked, this, [this](QListWidgetItem* it) {
    const int adr = FpLst->row(it) - GcTrnLstHdrLin;
    Sel(adr >= 0 ? FpMtr->VioAt(static_cast<std::size_t>(adr)) : nullptr);
  });

  FpViwMnu = win->menuBar()->addMenu(QString());
  FpViwMnu->setObjectName("mmnViw");
  FpLstAct = FpViwMnu->addAction(QString());
  connect(FpLstAct, &QAction::triggered, this, [this] {
    Upd();
    FpLst->show();
    FpLst->raise();
  });
  if (fil) {
    fil->addSeparator();
    FpExpAct = fil->addAction(QString());
    connect(FpExpAct, &QAction::triggered, this, [this] {
      QString p;
      if (FOnExpPth) {
        p = FOnExpPth();
      } else {
        // The toolkit's own dialog speaks the language chosen here.
        QFileDialog dlg(FpFld, FpExpAct->text(), QString(), "PNG (*.png)");
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setDefaultSuffix("png");  // the dialog asks before replacing the name with it
        if (dlg.exec() == QDialog::Accepted) p = dlg.selectedFiles().value(0);
      }
      if (p.isEmpty()) return;
      // The file is a PNG picture whatever name was typed.
      if (!p.endsWith(".png", Qt::CaseInsensitive)) p += ".png";
      if (!ExpPng(p))
        ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_EXP_ERR) + " " + VioStdStr(p),
                  VioStdStr(Msg(FEdt, SUM_ERR_CAP)), TeMsgBtn::Ok);
    });
    FpPrtAct = fil->addAction(QString());
    FpPrtAct->setShortcut(QKeySequence::Print);
    connect(FpPrtAct, &QAction::triggered, this, &TPgmViw::Prt);
    FpSht = new TPgmSht(edt, *this, fil);
  }
  FpZom = new TFldZom(edt, fld, FpViwMnu, win->statusBar());
  FpSelFrm = NewFrm(fld, "#1e64ff", "frmLstSel");
  FpRunFrm = NewFrm(fld, "#ff8c00", "frmRunVio");
  RfsTxt();
}

void TPgmViw::RfsTxt() {
  FpViwMnu->setTitle(Msg(FEdt, SUM_VIW_MNU));
  FpLstAct->setText(Msg(FEdt, SUM_VIW_LST));
  FpLst->setWindowTitle(FpLstAct->text());
  if (FpExpAct) FpExpAct->setText(Msg(FEdt, SUM_VIW_EXP));
  if (FpPrtAct) FpPrtAct->setText(Msg(FEdt, SUM_VIW_PRT));
  if (FpZom) FpZom->RfsTxt();
  if (FpSht) FpSht->RfsTxt();
  Upd();  // the meter's unit and the reasons of the listing
  if (FEdt.GetVioCnt() > 0) EndFst();
  if (!FbFst || !FpSta) return;
  const QString was = FsFst;
  FsFst = Msg(FEdt, SUM_FST_STP);
  if (was.isEmpty() || FpSta->currentMessage() == was) FpSta->showMessage(FsFst);
}

void TPgmViw::EndFst() {
  if (!FbFst) return;
  FbFst = false;
  if (FpSta && !FsFst.isEmpty() && FpSta->currentMessage() == FsFst) FpSta->clearMessage();
}

TPgmViw::~TPgmViw() { FEdt.RmvObs(FpGon.get()); }

bool TPgmViw::eventFilter(QObject* obj, QEvent* e) {
  if (obj == FpLst && e->type() == QEvent::Hide) Sel(nullptr);
  return QObject::eventFilter(obj, e);
}

void TPgmViw::Upd() {
  FpTmr->stop();
  const TuMtrStt& s = FpMtr->Upd();
  FpMtrLbl->setText(VioQStr(s.Txt));
  FpMtrLbl->setToolTip(VioQStr(s.Why));
  // Red says that the program on the field will not go to the robot; an
  // empty field holds nothing that could be wrong.
  FpMtrLbl->setStyleSheet(s.Ok || s.Emp ? QString() : QString("QLabel { color: #c00000; font-weight: bold; }"));
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

void TPgmViw::Mrk(QFrame* frm, TVio* vio, const QPoint* at) {
  if (!FpFld || !frm) return;
  if (!vio) {
    frm->hide();
    return;
  }
  // Where the vio is shown: a dragged one is off its cell.
  QPoint pos(vio->Left(), vio->Top());
  if (at) {
    pos = *at;
  } else {
    for (const TVioPnl* p : FpFld->findChildren<TVioPnl*>(Qt::FindDirectChildrenOnly))
      if (p->Vio() == vio) pos = p->pos();
  }
  frm->setGeometry(pos.x() - 3, pos.y() - 3, vio->Width() + 6, vio->Height() + 6);
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
  SndBrk();
}

void TPgmViw::ClrRunStm() {
  RunEnd();
  FpRunMap->Clr();
  SndBrk();
}

void TPgmViw::SndBrk() {
  if (FOnBrkAdr) FOnBrkAdr(FpRunMap->BrkAdr());
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

void TPgmViw::DrwFld(QPainter& p, const QRect& box) const {
  if (!FpFld || FpFld->width() <= 0 || FpFld->height() <= 0) return;
  const bool sel = FpSelFrm->isVisible(), run = FpRunFrm->isVisible();
  FpSelFrm->hide();
  FpRunFrm->hide();
  // Breakpoints are for the run on the screen, not part of the program on paper.
  QList<QWidget*> dots;
  for (QWidget* d : FpFld->findChildren<QWidget*>("dotVioBrk"))
    if (d->isVisible()) dots << d, d->hide();
  // As large as the box allows, the field's proportions kept, centred.
  const QSize sz = FpFld->size().scaled(box.size(), Qt::KeepAspectRatio);
  const double f = static_cast<double>(sz.width()) / FpFld->width();
  p.save();
  p.translate(box.x() + (box.width() - sz.width()) / 2, box.y() + (box.height() - sz.height()) / 2);
  p.scale(f, f);
  FpFld->render(&p, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  p.restore();
  FpSelFrm->setVisible(sel);
  FpRunFrm->setVisible(run);
  for (QWidget* d : dots) d->show();
}

QImage TPgmViw::FldImg(double scl) const {
  if (!FpFld || scl <= 0) return {};
  QImage img(FpFld->size() * scl, QImage::Format_ARGB32_Premultiplied);
  if (img.isNull()) return img;
  img.fill(Qt::white);
  QPainter p(&img);
  DrwFld(p, img.rect());
  return img;
}

bool TPgmViw::ExpPng(const QString& path) const {
  const QImage img = FldImg();
  return !img.isNull() && img.save(path, "PNG");
}

bool TPgmViw::PrtFld(QPrinter& prn) const {
  // The picture at twice the screen's size, then stretched over the page: a
  // printer's own resolution would take hundreds of megabytes for one page.
  const QImage img = FldImg(GcPrtScl);
  if (img.isNull()) return false;
  QPainter p;
  if (!p.begin(&prn)) return false;
  const QRect pg(QPoint(), prn.pageLayout().paintRectPixels(prn.resolution()).size());
  const QSize sz = img.size().scaled(pg.size(), Qt::KeepAspectRatio);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRect(QPoint((pg.width() - sz.width()) / 2, (pg.height() - sz.height()) / 2), sz), img);
  return p.end();
}

void TPgmViw::Prt() {
  if (!FpFld) return;
  QPrinter prn(QPrinter::HighResolution);
  // The field is wider than high: the page lies on its side.
  prn.setPageOrientation(FpFld->width() >= FpFld->height() ? QPageLayout::Landscape : QPageLayout::Portrait);
  QString doc = FOnDocNam ? FOnDocNam() : QString();
  if (doc.isEmpty()) doc = FpPrtAct ? FpPrtAct->text().remove('&') : QString("Print");
  prn.setDocName(doc);
  bool go;
  if (FOnPrtDlg) {
    go = FOnPrtDlg(prn);
  } else {
    QPrintDialog dlg(&prn, FpFld->window());
    go = dlg.exec() == QDialog::Accepted;
  }
  if (!go) return;
  if (!PrtFld(prn)) {
    const QString dst = prn.outputFileName().isEmpty() ? prn.printerName() : prn.outputFileName();
    ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_PRT_ERR) + " " + VioStdStr(dst), VioStdStr(Msg(FEdt, SUM_ERR_CAP)),
              TeMsgBtn::Ok);
  }
}
