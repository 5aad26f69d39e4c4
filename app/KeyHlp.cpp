#include "app/KeyHlp.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"
#include "messages/SysLgeMsg.h"
#include "messages/SysMsgBui.h"

namespace {

QString Msg(TVioPgmItp& edt, std::uint8_t id) { return QStr(SysMsgOr(id, edt.LgeIdx())); }

// The parts of a text that lists several, split by |; an empty text for a part that is missing.
struct TPrt {
  QStringList L;
  QString operator[](int i) const { return i < L.size() ? L[i] : QString(); }
};
TPrt Prt(TVioPgmItp& edt, std::uint8_t id) { return {Msg(edt, id).split('|')}; }

// A menu or item text without its mnemonic marks ("&&" is an ampersand).
QString Pln(QString t) {
  t.replace("&&", QString(QChar(1)));
  t.remove('&');
  t.replace(QChar(1), '&');
  return t.left(t.indexOf('\t')).trimmed();
}

QString KeyTxt(const QList<QKeySequence>& keys) {
  QStringList l;
  for (const QKeySequence& k : keys) l << k.toString(QKeySequence::NativeText);
  return l.join(", ");
}

// The groups of the window's own keys, in the order of the headings message.
enum TeGrp : int { KG_FLD, KG_VIO, KG_TBR, KG_RBT, KG_SIM };

// The heading of an action's group: the title of its menu, else its place by its name.
QString ActGrp(const QAction& a, const TPrt& grp) {
  for (QObject* o : a.associatedObjects())
    if (auto* m = qobject_cast<QMenu*>(o); m && m->menuAction() != &a) return Pln(m->title());
  const QString n = a.objectName();
  if (n == "actKeyTbr") return grp[KG_TBR];
  if (n.startsWith("actKey")) return grp[KG_RBT];
  if (n.startsWith("actSim")) return grp[KG_SIM];
  if (n.startsWith("actVio")) return grp[KG_VIO];
  return {};
}

// What an action does: its own text, or for the keys that have none, the words for them.
QString ActTxt(const QAction& a, TVioPgmItp& edt, const TPrt& fld, const TPrt& tbr) {
  if (QString t = Pln(a.text()); !t.isEmpty()) return t;
  const QString n = a.objectName();
  if (n == "actKeyTbr") return tbr[0];
  if (n == "actVioBrk") return Msg(edt, SUM_VIO_BRK);
  if (n == "actVioMnu") return fld[7];
  return a.toolTip();
}

void AddFld(std::vector<TuKeyRow>& rows, const TPrt& grp, const TPrt& fld, const TPrt& tbr, const QString& sel) {
  const QString g = grp[KG_FLD];
  rows.push_back({g, KeyTxt({Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}), fld[0]});
  rows.push_back({g, KeyTxt({Qt::CTRL | Qt::Key_Left, Qt::CTRL | Qt::Key_Up, Qt::CTRL | Qt::Key_Right,
                             Qt::CTRL | Qt::Key_Down}),
                  fld[1]});
  rows.push_back({g, KeyTxt({Qt::SHIFT | Qt::Key_Left, Qt::SHIFT | Qt::Key_Up, Qt::SHIFT | Qt::Key_Right,
                             Qt::SHIFT | Qt::Key_Down}),
                  sel});
  rows.push_back({g, KeyTxt({Qt::Key_Delete}), fld[2]});
  rows.push_back({g, KeyTxt({Qt::Key_Return, Qt::Key_F2}), fld[3]});
  rows.push_back({g, KeyTxt({Qt::Key_Tab, Qt::SHIFT | Qt::Key_Tab}), fld[4]});
  rows.push_back({g, KeyTxt({Qt::Key_Escape}), fld[5]});
  for (std::uint8_t t = 0; t < GcVioTypCnt; ++t)
    if (const char c = TVioPgmItp::VioTypKey(t))
      rows.push_back({g, QString(QChar(c)), fld[6] + " " + QStr(GetVioCap(t)).replace('\n', ' ')});
  const QString b = grp[KG_TBR];
  rows.push_back({b, KeyTxt({Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down}), tbr[1]});
  rows.push_back({b, KeyTxt({Qt::Key_Return}), tbr[2]});
  rows.push_back({b, KeyTxt({Qt::Key_Escape}), tbr[3]});
}

}  // namespace

std::vector<TuKeyRow> KeyRows(const QMainWindow& wnd, TVioPgmItp& edt) {
  const TPrt grp = Prt(edt, SUM_KEY_GRP), fld = Prt(edt, SUM_KEY_FLD), tbr = Prt(edt, SUM_KEY_TBR);
  std::vector<TuKeyRow> rows;
  AddFld(rows, grp, fld, tbr, Msg(edt, SUM_CLP_NON));
  for (const QAction* a : wnd.findChildren<QAction*>())
    if (!a->shortcuts().isEmpty()) rows.push_back({ActGrp(*a, grp), KeyTxt(a->shortcuts()), ActTxt(*a, edt, fld, tbr)});
  // The groups in the order the user meets them: the field and its vios, the
  // tool bars and the robot, the menus as the bar shows them, the simulator.
  QStringList ord{grp[KG_FLD], grp[KG_VIO], grp[KG_TBR], grp[KG_RBT]};
  if (const QMenuBar* bar = wnd.menuBar())
    for (const QAction* m : bar->actions()) ord << Pln(m->text());
  ord << grp[KG_SIM];
  const auto rnk = [&ord](const TuKeyRow& r) {
    const auto i = ord.indexOf(r.Grp);
    return i < 0 ? ord.size() : i;
  };
  std::stable_sort(rows.begin(), rows.end(), [&](const TuKeyRow& x, const TuKeyRow& y) { return rnk(x) < rnk(y); });
  return rows;
}

QString KeyHtm(const std::vector<TuKeyRow>& rows) {
  // Headings and lines of text, no table: a screen reader reads them as they
  // stand, a line a key.
  QString h;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i == 0 || rows[i].Grp != rows[i - 1].Grp) h += "<h3>" + rows[i].Grp.toHtmlEscaped() + "</h3>";
    h += "<p><b>" + rows[i].Key.toHtmlEscaped() + "</b>: " + rows[i].Txt.toHtmlEscaped() + "</p>";
  }
  return h;
}

TfrmKeyHlp::TfrmKeyHlp(QMainWindow& wnd, TVioPgmItp& edt) : QDialog(&wnd), FWnd(wnd), FEdt(edt) {
  setObjectName("frmKeyHlp");
  auto* lay = new QVBoxLayout(this);
  txtKey = new QTextBrowser(this);
  txtKey->setObjectName("txtKey");
  lay->addWidget(txtKey);
  auto* box = new QDialogButtonBox(this);
  btnPrt = box->addButton(QString(), QDialogButtonBox::ActionRole);
  btnPrt->setObjectName("btnPrt");
  btnCls = box->addButton(QString(), QDialogButtonBox::RejectRole);
  btnCls->setObjectName("btnCls");
  connect(btnPrt, &QPushButton::clicked, this, &TfrmKeyHlp::Prt);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::hide);
  lay->addWidget(box);
  resize(560, 640);
}

void TfrmKeyHlp::Shw() {
  FRows = KeyRows(FWnd, FEdt);
  const QString cap = Msg(FEdt, SUM_KEY_CAP);
  setWindowTitle(cap);
  txtKey->setAccessibleName(cap);
  txtKey->setHtml(KeyHtm(FRows));
  btnPrt->setText(Msg(FEdt, SUM_VIW_PRT));
  btnCls->setText(Msg(FEdt, SUM_BTN_CLS));
  show();
  raise();
  activateWindow();
}

void TfrmKeyHlp::Prt() {
  QPrinter prn(QPrinter::HighResolution);
  prn.setDocName(windowTitle());
  bool go;
  if (FOnPrtDlg) {
    go = FOnPrtDlg(prn);
  } else {
    QPrintDialog dlg(&prn, this);
    go = dlg.exec() == QDialog::Accepted;
  }
  if (!go) return;
  QTextDocument doc;
  doc.setHtml("<h2>" + windowTitle().toHtmlEscaped() + "</h2>" + KeyHtm(FRows));
  doc.print(&prn);
  // A file that could not be written is the one failure the document can be asked about.
  const QString out = prn.outputFileName();
  if (!out.isEmpty() && !QFileInfo::exists(out))
    ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_PRT_ERR) + " " + out.toStdString(), FEdt.GetSysUsrMsg(SUM_ERR_CAP), TeMsgBtn::Ok);
}
