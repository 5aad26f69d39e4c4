#include "app/DocDlg.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <mutex>
#include <thread>

#include "app/VslCnvLgc.h"
#include "link/PrtNam.h"
#include "messages/SysLgeMsg.h"
#include "messages/SysMsgBui.h"

// The worker may outlive the dialog: it keeps its own system and texts, and
// leaves its report in the job, which the dialog collects on its own thread.
struct TfrmConDoc::TJob {
  std::thread Thr;
  std::mutex Mtx;
  std::string Rpt;
  std::atomic<bool> Don{false};
};

TfrmConDoc::TfrmConDoc(QWidget* owner, TMakSys mak) : QDialog(owner), FMak(std::move(mak)) {
  setObjectName("frmConDoc");
  setModal(false);
  memRpt = new QPlainTextEdit(this);
  memRpt->setObjectName("memRpt");
  memRpt->setReadOnly(true);
  memRpt->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  btnAgn = new QPushButton(this);
  btnAgn->setObjectName("btnAgn");
  btnAgn->setAutoDefault(false);
  connect(btnAgn, &QPushButton::clicked, this, [this] { Run(FsPrt, FbyLge); });
  btnCls = new QPushButton(this);
  btnCls->setObjectName("btnCls");
  connect(btnCls, &QPushButton::clicked, this, &QDialog::close);
  auto* btl = new QHBoxLayout;
  btl->addStretch();
  btl->addWidget(btnAgn);
  btl->addWidget(btnCls);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(memRpt);
  lay->addLayout(btl);
  resize(620, 380);
  FTmr = new QTimer(this);
  FTmr->setInterval(50);
  connect(FTmr, &QTimer::timeout, this, &TfrmConDoc::Poll);
  SetLge(0);
}

void TfrmConDoc::SetLge(std::uint8_t lge) {
  FbyLge = lge;
  setWindowTitle(QString::fromStdString(SysMsgOr(DM_TTL_DOC, lge)));
  memRpt->setAccessibleName(windowTitle());
  btnAgn->setText(QString::fromStdString(SysMsgOr(SUM_DOC_AGN, lge)));
  btnCls->setText(QString::fromStdString(SysMsgOr(SUM_BTN_CLS, lge)));
}

TfrmConDoc::~TfrmConDoc() {
  // A check still running finishes on its own; its result has nowhere to go.
  if (FJob && FJob->Thr.joinable()) FJob->Thr.detach();
}

void TfrmConDoc::Run(const std::string& prt, std::uint8_t lge) {
  if (FbRun) return;
  FbRun = true;
  FsPrt = prt;
  FbyLge = lge;
  // The texts are copied here, on the thread that owns the message table.
  const TDocTxt txt = DocTxtCpy(SysDocTxt(lge));
  setWindowTitle(QString::fromStdString(txt(DM_TTL_DOC)));
  memRpt->setPlainText(QString::fromStdString(txt(DM_TTL_DOC)) + " ...");
  btnAgn->setEnabled(false);
  std::shared_ptr<IDocSys> sys(FMak ? FMak() : std::make_unique<TDocSysLnx>());
  TDocCfg cfg;
  cfg.PrtNam = prt == "COM0" ? std::string() : prt;  // COM0: no port chosen yet
  // The port mappings are read here: the settings store belongs to this thread.
  cfg.Dev = cfg.PrtNam.empty() || IsSimPrt(cfg.PrtNam) ? std::string() : PrtDevPth(cfg.PrtNam);
  if (FJob && FJob->Thr.joinable()) FJob->Thr.join();  // the previous one has reported
  FJob = std::make_shared<TJob>();
  std::shared_ptr<TJob> job = FJob;
  job->Thr = std::thread([job, sys, cfg, txt] {
    std::string rpt = DocRptTxt(RunConDoc(*sys, cfg, txt), txt);
    std::lock_guard<std::mutex> lck(job->Mtx);
    job->Rpt = std::move(rpt);
    job->Don = true;
  });
  FTmr->start();
}

void TfrmConDoc::Poll() {
  if (!FJob || !FJob->Don) return;
  FTmr->stop();
  std::string rpt;
  {
    std::lock_guard<std::mutex> lck(FJob->Mtx);
    rpt = FJob->Rpt;
  }
  Done(rpt);
}

std::string TfrmConDoc::Report() const { return FbRun ? std::string() : memRpt->toPlainText().toStdString(); }

void TfrmConDoc::Done(const std::string& rpt) {
  FbRun = false;
  memRpt->setPlainText(QString::fromStdString(rpt));
  btnAgn->setEnabled(true);
  emit Finished();
}
