#include "app/VslTbr.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/VslCnvLgc.h"
#include "app/platform/QtStr.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"

namespace {

struct TTbnDsg {
  const char* Nam;
  int Img;
  int VioTyp;  // -1: not a vio button
};
// In the order of TeTbn.
constexpr TTbnDsg GcTbnDsg[GcTbnCnt] = {
    {"tbnSta", 0, VT_STA},  {"tbnSto", 1, VT_STO},   {"tbnIff", 2, VT_IFF},        {"tbnThn", 3, VT_THN},
    {"tbnEls", 4, VT_ELS},  {"tbnLbl", 5, VT_LBL},   {"tbnGto", 6, VT_GTO},        {"tbnDly", 7, VT_DLY},
    {"tbnAct", 8, VT_ACT},  {"tbnSns", 9, VT_SNS},   {"tbnSpd", 10, VT_SPD},       {"tbnSwi", 11, VT_SWI},
    {"tbnRti", 12, VT_RTI}, {"tbnUpl", 13, -1},      {"tbnRun", 16, -1},           {"tbnUpr", 17, -1},
    {"tbnComSte", GcImgComNok, -1},
};

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
  for (int i = 0; i < GcTbnCnt; ++i) {
    const auto tbn = static_cast<TeTbn>(i);
    if (tbn == TeTbn::ComSte) {
      auto* sep = new QWidget(tbrDatCom);
      sep->setFixedWidth(33);
      tbrDatCom->addWidget(sep);
    }
    if (tbn < TeTbn::Upl)
      AddTbn(*tbrVioObj, tbn, GcTbnDsg[i].Img, 32 + 6);
    else
      AddTbn(*tbrDatCom, tbn, GcTbnDsg[i].Img, 33 + 6);
  }
}

void TVslTbr::AddTbn(QToolBar& tbr, TeTbn tbn, int img, int width) {
  const TTbnDsg& d = GcTbnDsg[static_cast<std::size_t>(tbn)];
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

void TVslTbr::VioClick(TeTbn tbn, std::uint8_t vioTyp) {
  if (ChkVioInpErr()) return;
  if (!FHst.Edt().AddVio(vioTyp)) {
    FHst.ShwErrMsg(GuLstErrMsg);
    return;
  }
  if (tbn == TeTbn::Sta || tbn == TeTbn::Swi) Tbn(tbn)->setEnabled(false);
}

void TVslTbr::SetRunEna(bool ena) {
  Tbn(TeTbn::Run)->setEnabled(ena);
  RpnRun();
}

void TVslTbr::RpnRun() {
  if (QWidget* b = tbrDatCom->widgetForAction(Tbn(TeTbn::Run))) b->update();
}

void TVslTbr::ShwLnkSte(bool oky) { SetImg(Tbn(TeTbn::ComSte), oky ? GcImgComOky : GcImgComNok); }

// ---------------------------------------------------------------------------
// Pictures

void TVslTbr::BldImgLst(const std::string& picDir) {
  auto lod = [this, &picDir](int idx, QPixmap& bmp) {
    const std::string pth = NativePath(GuInsDir + picDir + GcTbnImgFil[static_cast<std::size_t>(idx)]);
    if (bmp.load(QStr(pth))) return true;
    FMisPic.push_back(pth);
    return false;
  };
  QPixmap bmp;
  lod(0, bmp);
  FImgLst.assign(GcTbnImgCnt, bmp);
  PrcMsg();
  for (int idx : GcTbnImgLodOrd) {
    if (idx == 0) continue;  // loaded above
    QPixmap pic;
    // A picture that cannot be loaded keeps the Start picture.
    if (lod(idx, pic)) FImgLst[static_cast<std::size_t>(idx)] = pic;
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
  if (static_cast<std::size_t>(idx) < FImgLst.size()) tbn->setIcon(QIcon(FImgLst[static_cast<std::size_t>(idx)]));
}

QPixmap TVslTbr::Img(int idx) const {
  return idx >= 0 && static_cast<std::size_t>(idx) < FImgLst.size() ? FImgLst[static_cast<std::size_t>(idx)]
                                                                     : QPixmap();
}

QPixmap TVslTbr::VioImg(int vioTyp) const {
  for (const TTbnDsg& d : GcTbnDsg)
    if (d.VioTyp == vioTyp) return Img(d.Img);
  return QPixmap();
}

// ---------------------------------------------------------------------------
// Hints

bool TVslTbr::eventFilter(QObject* obj, QEvent* e) {
  if (e->type() == QEvent::MouseMove) MouMov(obj);
  return QObject::eventFilter(obj, e);
}

void TVslTbr::MouMov(QObject* sender) {
  FHst.OnMov();
  auto* btn = qobject_cast<QToolButton*>(sender);
  if (!btn) return;
  const std::string txt = FHst.Edt().GetSysUsrMsg(TbnHntIdf(btn->objectName().toStdString()));
  if (txt.empty()) {
    // Never a box here: it would come back with every movement of the mouse.
    if (auto* wnd = qobject_cast<QMainWindow*>(tbrVioObj->window()))
      wnd->statusBar()->showMessage(QStr("Toolbutton Hint: " + GuLstErrMsg));
    return;
  }
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
      const std::string kep = GuLstErrMsg;
      const std::string txt = FHst.Edt().GetSysUsrMsg(idf);
      GuLstErrMsg = kep;
      if (txt.empty()) continue;
      a->setToolTip(QStr(txt));
      btn->setToolTip(QStr(txt));
    }
  }
}
