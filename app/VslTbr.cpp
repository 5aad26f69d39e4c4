#include "app/VslTbr.h"

#include <QAction>
#include <algorithm>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QIcon>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"

namespace {

QToolBar* MakBar(QMainWindow& wnd, const char* nam) {
  auto* t = new QToolBar(nam, &wnd);
  t->setObjectName(nam);
  t->setMovable(false);
  t->setFloatable(false);
  t->setIconSize(QSize(GcTbnImgSiz, GcTbnImgSiz));
  t->setToolButtonStyle(Qt::ToolButtonIconOnly);
  t->setContextMenuPolicy(Qt::PreventContextMenu);
  t->toggleViewAction()->setVisible(false);
  return t;
}

}  // namespace

TVslTbr::TVslTbr(QMainWindow& wnd, ITbrHst& hst) : FHst(hst) {
  tbrVioObj = MakBar(wnd, "tbrVioObj");
  tbrDatCom = MakBar(wnd, "tbrDatCom");
  wnd.addToolBar(Qt::TopToolBarArea, tbrVioObj);
  wnd.addToolBarBreak(Qt::TopToolBarArea);
  wnd.addToolBar(Qt::TopToolBarArea, tbrDatCom);
  for (const TuTbnRow& r : GcTbnDsg) {
    QToolBar& bar = r.Bar == TeTbr::Vio ? *tbrVioObj : *tbrDatCom;
    if (r.Gap > 0) {
      auto* sep = new QWidget(&bar);
      sep->setFixedWidth(r.Gap);
      bar.addWidget(sep);
    }
    AddTbn(bar, r.Tbn, r.Img, (r.Bar == TeTbr::Vio ? 32 : 33) + 6);
  }
}

void TVslTbr::AddTbn(QToolBar& tbr, TeTbn tbn, int img, int width) {
  const TuTbnRow& d = GcTbnDsg[static_cast<std::size_t>(tbn)];
  QAction* a = tbr.addAction(QString());
  a->setObjectName(d.Nam);
  FTbn[static_cast<std::size_t>(tbn)] = a;
  FTbnImg[a] = img;
  QWidget* w = tbr.widgetForAction(a);
  w->setObjectName(d.Nam);
  w->setFixedWidth(width);
  // Every button shows its hint; the message file holds one for each.
  w->setMouseTracking(true);
  w->installEventFilter(this);
  // Reached by F8 or Tab; arrows go along the bars.
  w->setFocusPolicy(Qt::TabFocus);
  if (d.VioTyp >= 0) {
    const auto typ = static_cast<std::uint8_t>(d.VioTyp);
    connect(a, &QAction::triggered, this, [this, tbn, typ]() { VioClick(tbn, typ); });
  }
}

void TVslTbr::SetEna(bool ena) {
  tbrVioObj->setEnabled(ena);
  tbrDatCom->setEnabled(ena);
}

// ---------------------------------------------------------------------------
// Commands

bool TVslTbr::ChkVioInpErr() {
  FHst.OnGat();
  TVioPgmItp& edt = FHst.Edt();
  const unsigned rfs = edt.RfsCnt();
  FHst.FocFld();
  return edt.ChkPndInp(rfs);
}

void TVslTbr::VioClick(TeTbn tbn, std::uint8_t vioTyp, bool key) {
  if (ChkVioInpErr()) return;
  TVioPgmItp& edt = FHst.Edt();
  if (!(key ? edt.AddVioKey(vioTyp) : edt.AddVio(vioTyp))) {
    FHst.ShwErrMsg(GuLstErrMsg);
    return;
  }
  if (tbn == TeTbn::Sta || tbn == TeTbn::Swi) Tbn(tbn)->setEnabled(false);
}

void TVslTbr::RfsOfr() {
  for (int i = 0; i < GcTbnCnt; ++i)
    if (GcTbnDsg[i].VioTyp >= 0)
      FTbn[static_cast<std::size_t>(i)]->setVisible(FHst.Edt().VioOfr(static_cast<std::uint8_t>(GcTbnDsg[i].VioTyp)));
}

void TVslTbr::SetRunEna(bool ena) {
  Tbn(TeTbn::Run)->setEnabled(ena);
  RpnRun();
}

void TVslTbr::RpnRun() {
  if (QWidget* b = tbrDatCom->widgetForAction(Tbn(TeTbn::Run))) b->update();
}

void TVslTbr::ShwLnkSte(bool oky) {
  // Told on every frame of the robot: the same picture set again would lay
  // out and draw the tool bars anew twice a second while the robot rests.
  QAction* a = Tbn(TeTbn::ComSte);
  const int img = oky ? GcImgComOky : GcImgComNok;
  if (ImgIdx(a) != img || a->icon().isNull()) SetImg(a, img);
}

// ---------------------------------------------------------------------------
// Pictures

void TVslTbr::BldImgLst(const std::string& picDir) {
  auto lod = [this, &picDir](int idx, QPixmap& bmp) {
    const std::string pth = NativePath(GuInsDir + picDir + GcTbnImg[static_cast<std::size_t>(idx)].Fil);
    if (bmp.load(QStr(pth))) return true;
    FMisPic.push_back(pth);
    return false;
  };
  QPixmap bmp;
  lod(0, bmp);
  FImgLst.assign(GcTbnImgCnt, bmp);
  PrcMsg();
  std::array<int, GcTbnImgCnt> ord{};
  for (int idx = 0; idx < GcTbnImgCnt; ++idx) ord[static_cast<std::size_t>(GcTbnImg[static_cast<std::size_t>(idx)].Lod)] = idx;
  for (int idx : ord) {
    if (idx == 0) continue;  // loaded above
    QPixmap pic;
    // A picture that cannot be loaded keeps the Start picture.
    if (lod(idx, pic)) FImgLst[static_cast<std::size_t>(idx)] = pic;
  }
  FImgLst2x.assign(GcTbnImgCnt, QPixmap());
  for (int idx = 0; idx < GcTbnImgCnt; ++idx) {
    std::string pth = NativePath(GuInsDir + picDir + GcTbnImg[static_cast<std::size_t>(idx)].Fil);
    pth.insert(pth.size() - 4, "@2x");  // before ".bmp"
    FImgLst2x[static_cast<std::size_t>(idx)].load(QStr(pth));
  }
  PrcMsg();
  for (auto& [tbn, img] : FTbnImg) SetImg(const_cast<QAction*>(tbn), img);
}

int TVslTbr::ImgIdx(const QAction* tbn) const {
  auto it = FTbnImg.find(tbn);
  return it == FTbnImg.end() ? -1 : it->second;
}

void TVslTbr::SetImg(QAction* tbn, int idx) {
  if (!tbn || idx < 0 || idx >= GcTbnImgCnt) return;
  FTbnImg[tbn] = idx;
  const auto i = static_cast<std::size_t>(idx);
  if (i >= FImgLst.size()) return;
  QIcon icn(FImgLst[i]);
  // Qt takes the larger picture where the screen's scale asks for it.
  if (i < FImgLst2x.size() && !FImgLst2x[i].isNull()) icn.addPixmap(FImgLst2x[i]);
  tbn->setIcon(icn);
}

QPixmap TVslTbr::Img(int idx) const {
  return idx >= 0 && static_cast<std::size_t>(idx) < FImgLst.size() ? FImgLst[static_cast<std::size_t>(idx)]
                                                                     : QPixmap();
}

QPixmap TVslTbr::VioImg(int vioTyp) const {
  for (const TuTbnRow& d : GcTbnDsg)
    if (d.VioTyp == vioTyp) return Img(d.Img);
  return QPixmap();
}

// ---------------------------------------------------------------------------
// Hints

bool TVslTbr::eventFilter(QObject* obj, QEvent* e) {
  if (e->type() == QEvent::MouseMove) MouMov(obj);
  if (e->type() == QEvent::KeyPress && TbnKey(qobject_cast<QWidget*>(obj), static_cast<QKeyEvent*>(e))) return true;
  return QObject::eventFilter(obj, e);
}

void TVslTbr::MouMov(QObject* sender) {
  FHst.OnMov();
  auto* btn = qobject_cast<QToolButton*>(sender);
  if (!btn) return;
  const std::string nam = btn->objectName().toStdString();
  std::string txt = FHst.Edt().GetSysUsrMsg(TbnHntIdf(nam));
  if (txt.empty()) {
    // Never a box here: it would come back with every movement of the mouse.
    if (auto* wnd = qobject_cast<QMainWindow*>(tbrVioObj->window()))
      wnd->statusBar()->showMessage(QStr("Toolbutton Hint: " + GuLstErrMsg));
    return;
  }
  txt += KeyHnt(nam);
  if (QAction* a = btn->defaultAction()) a->setToolTip(QStr(txt));
  btn->setToolTip(QStr(txt));
}

void TVslTbr::RfsHnt() {
  QToolTip::hideText();
  for (QToolBar* tbr : {tbrVioObj, tbrDatCom}) {
    for (QAction* a : tbr->actions()) {
      auto* btn = qobject_cast<QToolButton*>(tbr->widgetForAction(a));
      if (!btn) continue;
      const std::uint8_t idf = TbnHntIdf(btn->objectName().toStdString());
      if (idf == 0) continue;
      std::string txt = VioUsrMsg(FHst.Edt(), idf);
      if (txt.empty()) continue;
      // A command's key says what it does in the list of keys.
      for (std::size_t i = 0; i < FKey.size(); ++i)
        if (FKey[i] && Tbn(static_cast<TeTbn>(i)) == a) FKey[i]->setText(QStr(txt));
      txt += KeyHnt(btn->objectName().toStdString());
      a->setToolTip(QStr(txt));
      btn->setToolTip(QStr(txt));
    }
  }
}

// ---------------------------------------------------------------------------
// Keys

namespace {

struct TCmdKey {
  TeTbn Tbn;
  QKeyCombination Key;
  const char* Nam;
};
constexpr TCmdKey GcCmdKey[] = {
    {TeTbn::Upl, QKeyCombination(Qt::ControlModifier, Qt::Key_U), "actKeyUpl"},
    {TeTbn::Run, QKeyCombination(Qt::ControlModifier, Qt::Key_R), "actKeyRun"},
    {TeTbn::Upr, QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R), "actKeyUpr"},
    {TeTbn::ComSte, QKeyCombination(Qt::ControlModifier, Qt::Key_L), "actKeyComSte"},
};

// The button of an action, where it can be clicked now.
QWidget* LivBtn(QToolBar& a, QToolBar& b, QAction* act) {
  QWidget* w = a.widgetForAction(act);
  if (!w) w = b.widgetForAction(act);
  return w && w->isEnabled() && w->isVisible() ? w : nullptr;
}

}  // namespace

void TVslTbr::BldKey(QMainWindow& wnd) {
  for (const TCmdKey& k : GcCmdKey) {
    auto* a = new QAction(&wnd);
    a->setObjectName(k.Nam);
    a->setShortcut(QKeySequence(k.Key));
    a->setShortcutContext(Qt::WindowShortcut);
    const TeTbn tbn = k.Tbn;
    connect(a, &QAction::triggered, this, [this, tbn] {
      if (LivBtn(*tbrVioObj, *tbrDatCom, Tbn(tbn))) Tbn(tbn)->trigger();
    });
    wnd.addAction(a);
    FKey[static_cast<std::size_t>(tbn)] = a;
  }
  auto* bar = new QAction(&wnd);
  bar->setObjectName("actKeyTbr");
  bar->setShortcut(QKeySequence(Qt::Key_F8));
  bar->setShortcutContext(Qt::WindowShortcut);
  connect(bar, &QAction::triggered, this, &TVslTbr::FocBar);
  wnd.addAction(bar);
}

void TVslTbr::KeyVio(std::uint8_t vioTyp) {
  for (int i = 0; i < GcTbnCnt; ++i) {
    const auto tbn = static_cast<TeTbn>(i);
    if (GcTbnDsg[i].VioTyp == vioTyp && LivBtn(*tbrVioObj, *tbrDatCom, Tbn(tbn))) VioClick(tbn, vioTyp, true);
  }
}

std::string TVslTbr::KeyHnt(const std::string& tbnNam) const {
  for (int i = 0; i < GcTbnCnt; ++i) {
    if (tbnNam != GcTbnDsg[i].Nam) continue;
    if (GcTbnDsg[i].VioTyp >= 0)
      return std::string(" (") + TVioPgmItp::VioTypKey(static_cast<std::uint8_t>(GcTbnDsg[i].VioTyp)) + ")";
    if (const QAction* a = FKey[static_cast<std::size_t>(i)])
      return " (" + a->shortcut().toString(QKeySequence::NativeText).toStdString() + ")";
  }
  return {};
}

void TVslTbr::FocBar() {
  for (QAction* a : tbrVioObj->actions())
    if (QWidget* w = LivBtn(*tbrVioObj, *tbrDatCom, a)) {
      w->setFocus(Qt::ShortcutFocusReason);
      return;
    }
}

bool TVslTbr::TbnKey(QWidget* btn, const QKeyEvent* e) {
  auto* b = qobject_cast<QToolButton*>(btn);
  if (!b || e->modifiers() != Qt::NoModifier) return false;
  if (e->key() == Qt::Key_Escape) {
    FHst.FocFld();
    return true;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    b->click();
    return true;
  }
  // The buttons that can be clicked, the vio bar's first; Up and Down change bars.
  std::vector<QWidget*> lst[2];
  for (int k = 0; k < 2; ++k)
    for (QAction* a : (k == 0 ? tbrVioObj : tbrDatCom)->actions())
      if (QWidget* w = LivBtn(*tbrVioObj, *tbrDatCom, a); w && qobject_cast<QToolButton*>(w)) lst[k].push_back(w);
  const int bar = b->parentWidget() == tbrVioObj ? 0 : 1;
  const auto& cur = lst[bar];
  const auto at = std::find(cur.begin(), cur.end(), b);
  QWidget* to = nullptr;
  if (e->key() == Qt::Key_Left && at != cur.end() && at != cur.begin()) to = *(at - 1);
  if (e->key() == Qt::Key_Right && at != cur.end() && at + 1 != cur.end()) to = *(at + 1);
  if ((e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && !lst[1 - bar].empty()) to = lst[1 - bar].front();
  if (to) to->setFocus(Qt::TabFocusReason);
  return e->key() == Qt::Key_Left || e->key() == Qt::Key_Right || e->key() == Qt::Key_Up || e->key() == Qt::Key_Down;
}
