#include "app/RolDlg.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/VslCnvLgc.h"
#include "core/SafFil.h"
#include "core/Seams.h"
#include "link/PrtNam.h"
#include "messages/SysMsgBui.h"

// The worker may outlive the window: it keeps its own system and texts, and
// posts its rows to the window only while the window is there (Rcv, under Mtx;
// the window clears it when it goes, and Qt drops what is still posted to it).
struct TfrmRolCal::TJob {
  std::thread Thr;
  std::mutex Mtx;
  TfrmRolCal* Rcv = nullptr;
};

namespace {

QString Txt(std::uint8_t id, std::uint8_t lge) { return QString::fromStdString(SysMsgOr(id, lge)); }

// The width that the column "What to do" has at least, where the screen allows.
constexpr int GcRolDoWdt = 360;

QPushButton* NewBtn(QWidget* owner, const char* nam) {
  auto* b = new QPushButton(owner);
  b->setObjectName(nam);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TfrmRolCal::TfrmRolCal(QWidget* owner, TfrmConDoc::TMakSys mak) : QDialog(owner), FMak(std::move(mak)) {
  setObjectName("frmRolCal");
  setModal(false);
  tblRol = new QTableWidget(0, 3, this);
  tblRol->setObjectName("tblRol");
  tblRol->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRol->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblRol->setWordWrap(true);
  tblRol->verticalHeader()->hide();
  tblRol->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  tblRol->horizontalHeader()->setStretchLastSection(true);
  lblSum = new QLabel(this);
  lblSum->setObjectName("lblSum");
  btnAgn = NewBtn(this, "btnAgn");
  connect(btnAgn, &QPushButton::clicked, this, [this] { Run(FbyLge); });
  btnCpy = NewBtn(this, "btnCpy");
  connect(btnCpy, &QPushButton::clicked, this, &TfrmRolCal::btnCpyClick);
  btnSav = NewBtn(this, "btnSav");
  connect(btnSav, &QPushButton::clicked, this, &TfrmRolCal::btnSavClick);
  btnUpl = NewBtn(this, "btnUpl");
  connect(btnUpl, &QPushButton::clicked, this, [this] { btnUplClick(false); });
  btnUpr = NewBtn(this, "btnUpr");
  connect(btnUpr, &QPushButton::clicked, this, [this] { btnUplClick(true); });
  btnCls = NewBtn(this, "btnCls");
  connect(btnCls, &QPushButton::clicked, this, &QDialog::close);
  auto* btl = new QHBoxLayout;
  btl->addWidget(btnCpy);
  btl->addWidget(btnSav);
  btl->addStretch();
  btl->addWidget(btnUpl);
  btl->addWidget(btnUpr);
  btl->addWidget(btnAgn);
  btl->addWidget(btnCls);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(tblRol);
  lay->addWidget(lblSum);
  lay->addLayout(btl);
  resize(860, 380);
  SetLge(0);
  SetBtn();
}

TfrmRolCal::~TfrmRolCal() {
  if (!FJob) return;
  std::lock_guard<std::mutex> lck(FJob->Mtx);
  FJob->Rcv = nullptr;
  // A roll call still running ends on its own; its rows have nowhere to go.
  if (FJob->Thr.joinable()) FJob->Thr.detach();
}

void TfrmRolCal::SetLge(std::uint8_t lge) {
  FbyLge = lge;
  setWindowTitle(Txt(DM_ALL_TTL, lge));
  tblRol->setHorizontalHeaderLabels(
      {Txt(DM_ALL_COL_PRT, lge), Txt(DM_ALL_COL_RES, lge), Txt(DM_ALL_COL_DO, lge)});
  btnAgn->setText(Txt(SUM_DOC_AGN, lge));
  btnCpy->setText(Txt(DM_ALL_CPY, lge));
  btnSav->setText(Txt(DM_ALL_SAV, lge));
  btnCls->setText(Txt(SUM_BTN_CLS, lge));
  const QStringList upl = Txt(SUM_ALL_UPL, lge).split('|');
  btnUpl->setText(upl.value(0));
  btnUpr->setText(upl.value(1));
}

void TfrmRolCal::SetBtn() {
  const bool run = Running();
  btnAgn->setEnabled(!run);
  btnCpy->setEnabled(!run && !FsRpt.empty());
  btnSav->setEnabled(!run && !FsRpt.empty());
  const bool upl = !run && FpUpl && FpUpl->Ready() && !UplTgt().empty();
  btnUpl->setEnabled(upl);
  btnUpr->setEnabled(upl);
}

void TfrmRolCal::SetUplHst(TRolUplHst hst) {
  if (Running()) return;
  delete FpUpl;
  FpUpl = new TRolUpl(this, std::move(hst));
  connect(FpUpl, &TRolUpl::Done, this, &TfrmRolCal::UplDon);
  SetBtn();
}

std::vector<TRolUpl::TTgt> TfrmRolCal::UplTgt() const {
  std::vector<TRolUpl::TTgt> tgt;
  for (std::size_t i = 0; i < FRow.size() && i < FPrt.size(); ++i)
    if (FRow[i].Ste == TeDocSte::Ok) tgt.push_back({FRow[i].Prt, FPrt[i]});
  return tgt;
}

void TfrmRolCal::btnUplClick(bool run) {
  if (Running() || !FpUpl) return;
  const std::vector<TRolUpl::TTgt> tgt = UplTgt();
  if (tgt.empty() || !FpUpl->Sta(tgt, run, FbyLge)) return;
  const QString gos = Txt(SUM_ALL_UPL_RES, FbyLge).split('|').value(8);
  lblSum->setText(gos.arg(static_cast<int>(tgt.size())));
  SetBtn();
}

void TfrmRolCal::UplDon(const std::vector<TRolRow>& rows, const std::string& rpt) {
  ShwRow(rows, rpt);
  SetBtn();
}

void TfrmRolCal::Run(std::uint8_t lge, const std::string& ansPrt) {
  if (FbRun) return;
  FbRun = true;
  SetLge(lge);
  // The texts are copied and the ports found here, on the thread that owns
  // the message table and the settings store.
  const TDocTxt txt = DocTxtCpy(SysDocTxt(lge));
  std::shared_ptr<IDocSys> sys(FMak ? FMak() : std::make_unique<TDocSysLnx>());
  std::vector<TRolPrt> prt = RolPrts(*sys);
  // The window's own port is not opened again: its link knows whether the robot answers.
  const std::string ansDev = ansPrt.empty() ? std::string() : sys->RealPath(PrtDevPth(ansPrt));
  for (TRolPrt& p : prt) p.OwnAns = !ansDev.empty() && sys->RealPath(p.Dev) == ansDev;
  FPrt = prt;
  FRow.clear();
  tblRol->setRowCount(0);
  lblSum->setText(QString::fromStdString(txt(DM_ALL_TTL)) + " ...");
  SetBtn();
  if (FJob && FJob->Thr.joinable()) FJob->Thr.join();  // the previous one has posted its rows
  FJob = std::make_shared<TJob>();
  FJob->Rcv = this;
  std::shared_ptr<TJob> job = FJob;
  job->Thr = std::thread([job, sys, prt, txt] {
    std::vector<TRolRow> rows = RunRolCal(*sys, prt, txt);
    std::string rpt = RolRptTxt(rows, txt);
    std::lock_guard<std::mutex> lck(job->Mtx);
    if (TfrmRolCal* rcv = job->Rcv)
      QMetaObject::invokeMethod(
          rcv, [rcv, rows = std::move(rows), rpt = std::move(rpt)] { rcv->Done(rows, rpt); }, Qt::QueuedConnection);
  });
}

void TfrmRolCal::Done(const std::vector<TRolRow>& rows, const std::string& rpt) {
  FRow = rows;
  FbRun = false;
  ShwRow(rows, rpt);
  SetBtn();
  emit Finished();
}

// The rows in the table, the report kept for Copy and Save, its last line below.
void TfrmRolCal::ShwRow(const std::vector<TRolRow>& rows, const std::string& rpt) {
  tblRol->setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < tblRol->rowCount(); ++i) {
    const TRolRow& r = rows[static_cast<std::size_t>(i)];
    const std::string cel[3] = {r.Prt, DocSteTag(r.Ste) + r.Fnd, r.Do};
    for (int c = 0; c < 3; ++c) tblRol->setItem(i, c, new QTableWidgetItem(QString::fromStdString(cel[c])));
  }
  // The port and the verdict each on one line; what to do takes the rest,
  // the window as wide as the screen lets it be for that.
  tblRol->resizeColumnToContents(0);
  tblRol->resizeColumnToContents(1);
  const int wnt = tblRol->columnWidth(0) + tblRol->columnWidth(1) + GcRolDoWdt + (width() - tblRol->viewport()->width());
  const QScreen* scr = screen();
  const int max = scr ? scr->availableGeometry().width() : wnt;
  if (width() < wnt) resize(std::min(wnt, max), height());
  tblRol->resizeRowsToContents();
  FsRpt = rpt;
  // The last line of the report: how many answered, or that there is no port.
  const std::string sum = FsRpt.substr(FsRpt.find_last_of('\n', FsRpt.size() - 2) + 1);
  lblSum->setText(QString::fromStdString(sum).trimmed());
}

void TfrmRolCal::btnCpyClick() {
  if (!Report().empty()) QGuiApplication::clipboard()->setText(QString::fromStdString(Report()));
}

void TfrmRolCal::btnSavClick() {
  const std::string rpt = Report();
  if (rpt.empty()) return;
  const std::uint8_t lge = FbyLge;
  const TFilDlgReq req{SysMsgOr(DM_ALL_FLT, lge) + " (*.txt)|*.txt", {}};
  std::string name;
  if (!GuFilDlg().Sav(req, name)) return;
  if (std::filesystem::path(name).extension().empty()) name += ".txt";
  std::error_code ec;
  if (std::filesystem::exists(name, ec) &&
      ShwMsgBox(SysMsgOr(SUM_FIL_OVR, lge),
                SysMsgOr(SUM_FIL_OVR_CAP, lge), TeMsgBtn::YesNo) != TeMsgAns::Yes)
    return;
  std::string why;
  if (!WrtFilSaf(name, rpt, why))
    ShwMsgBox(SysMsgArg(SysMsgOr(DM_ALL_SAV_ERR, lge), {name, why}),
              SysMsgOr(SUM_ERR_CAP, lge));
}
