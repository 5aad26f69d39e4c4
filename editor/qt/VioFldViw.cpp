#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioFldZom.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QApplication>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

QColor VioQClr(std::int32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QString VioQStr(const std::string& s) {
  return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

std::string VioStdStr(const QString& s) { return s.toLocal8Bit().toStdString(); }

namespace {

using TeMouBtn = TVioPgmItp::TeMouBtn;

TeMouBtn MouBtn(Qt::MouseButton b) {
  if (b == Qt::LeftButton) return TeMouBtn::Lft;
  if (b == Qt::RightButton) return TeMouBtn::Rgt;
  return TeMouBtn::Oth;
}

QStringList QLst(const TStrLst& lst) {
  QStringList q;
  q.reserve(static_cast<qsizetype>(lst.size()));
  for (const auto& s : lst) q.push_back(VioQStr(s));
  return q;
}

// The character a key press gives, as the editor's key handlers know it; 0
// for keys that type nothing (arrows, Tab, Delete ...), which pass unfiltered.
char KeyChr(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Escape: return 0;
    default: break;
  }
  const QString t = e->text();
  if (t.isEmpty()) return 0;
  const char c = t.at(0).toLatin1();
  return c == 0 ? '?' : c;
}

// Focus that leaves because another window (a message box) became active, or
// a drop-down opened, is no move to another control: no check runs then.
bool ChkRsn(Qt::FocusReason r) { return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason; }

// One check at a time: giving the focus back from a refused value makes the
// control that was about to get it lose it again.
bool GbInChk = false;

}  // namespace

// ---- Panel ------------------------------------------------------------------

TVioPnl::TVioPnl(TVioFldViw& viw, TVio* vio, QWidget* fld) : QFrame(fld), FViw(viw), FpVio(vio) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::NoFocus);
  setContextMenuPolicy(Qt::DefaultContextMenu);
}

QWidget* TVioPnl::Ctl(int idx) const {
  return idx >= 0 && static_cast<std::size_t>(idx) < FCtls.size() ? FCtls[static_cast<std::size_t>(idx)] : nullptr;
}

void TVioPnl::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  PntVio(*this, FViw.Lay());
}

void TVioPnl::mousePressEvent(QMouseEvent* e) {
  e->accept();
  if (!FpVio) return;
  const TeMouBtn b = MouBtn(e->button());
  if (b == TeMouBtn::Lft && !FViw.FMdl.StaRun() && FViw.FMdl.MouArm()) raise();
  FViw.FDrg.Dwn(FpVio, b, FViw.FldPos(e));
}

void TVioPnl::mouseMoveEvent(QMouseEvent* e) {
  e->accept();
  FViw.FDrg.Mov(FViw.FldPos(e));
}

void TVioPnl::mouseReleaseEvent(QMouseEvent* e) {
  e->accept();
  // May remove this vio: nothing of the panel is touched afterwards.
  FViw.FDrg.Up(MouBtn(e->button()));
}

void TVioPnl::mouseDoubleClickEvent(QMouseEvent* e) {
  e->accept();
  if (FpVio && FpVio->Rec().VioTyp == VT_STA && e->button() == Qt::LeftButton) {
    FViw.FMdl.StaDblClk();
    return;
  }
  // On other vios the second click is a press like the first.
  if (FpVio) FViw.FDrg.Dwn(FpVio, MouBtn(e->button()), FViw.FldPos(e));
}

void TVioPnl::contextMenuEvent(QContextMenuEvent* e) {
  e->accept();
  if (FpVio) FViw.FMdl.VioCtxPop();
}

// ---- Edit -------------------------------------------------------------------

TVioEdt::TVioEdt(TVioFldViw& viw, TVioPnl* pnl, int ctl) : QLineEdit(pnl), FViw(viw), FpPnl(pnl), FiCtl(ctl) {
  connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
    if (FpPnl->Vio()) FViw.FMdl.SetCtlTxt(FpPnl->Vio(), FiCtl, VioStdStr(t));
  });
}

void TVioEdt::keyPressEvent(QKeyEvent* e) {
  TVio* vio = FpPnl->Vio();
  const char c = KeyChr(e);
  if (vio && c != 0) {
    const std::uint8_t rol = vio->Ctls()[static_cast<std::size_t>(FiCtl)].CtlRol;
    const bool flt = rol == CR_SPD || (rol == CR_VAL && vio->Rec().VioTyp == VT_ACT);
    if (flt && !FViw.FMdl.DgtFlt(vio, FiCtl, c)) {
      e->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(e);
}

void TVioEdt::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  TVio* vio = FpPnl->Vio();
  if (vio && vio->Ctls()[static_cast<std::size_t>(FiCtl)].CtlRol == CR_SPD) {
    const int n = FViw.FMdl.SpdFocGai(vio);
    setCursorPosition(0);
    if (n > 0) setSelection(0, n);
  }
}

void TVioEdt::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (ChkRsn(e->reason())) RunChk();
}

void TVioEdt::RunChk() {
  TVio* vio = FpPnl->Vio();
  if (!vio || GbInChk) return;
  GbInChk = true;
  const std::uint8_t rol = vio->Ctls()[static_cast<std::size_t>(FiCtl)].CtlRol;
  if (rol == CR_SPD)
    FViw.FMdl.ChkSpdVal(vio);
  else if (rol == CR_VAL && vio->Rec().VioTyp == VT_DLY)
    FViw.FMdl.ChkDlyVal(vio);
  else if (rol == CR_VAL && vio->Rec().VioTyp == VT_ACT)
    FViw.FMdl.ChkDstVal(vio);
  GbInChk = false;
}

// ---- Combo box ----------------------------------------------------------------

QRect VioCbxSty::subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                                const QWidget* w) const {
  const QRect r = QProxyStyle::subControlRect(cc, opt, sc, w);
  if (cc != CC_ComboBox || (sc != SC_ComboBoxArrow && sc != SC_ComboBoxEditField)) return r;
  // The drop-down button of a narrow box takes no more of its width than a
  // tenth: a click anywhere on a list opens it, and the names need the room.
  const QRect arw = QProxyStyle::subControlRect(cc, opt, SC_ComboBoxArrow, w);
  const int aw = std::min(arw.width(), std::max(8, opt->rect.width() / 10));
  const QRect nar(arw.right() - aw + 1, arw.top(), aw, arw.height());
  if (sc == SC_ComboBoxArrow) return nar;
  QRect e = r;
  e.setLeft(std::min(e.left(), opt->rect.left() + 2));
  e.setRight(nar.left() - 1);
  return e;
}

VioCbxSty* VioCbxSty::One() {
  static QPointer<VioCbxSty> sty;
  if (!sty) {
    sty = new VioCbxSty(QApplication::style()->name());
    sty->setParent(qApp);
  }
  return sty;
}

TVioCbx::TVioCbx(TVioFldViw& viw, TVioPnl* pnl, int ctl) : QComboBox(pnl), FViw(viw), FpPnl(pnl), FiCtl(ctl) {
  setStyle(VioCbxSty::One());
  connect(this, &QComboBox::activated, this, [this](int i) {
    if (FpPnl->Vio()) FViw.FMdl.SelCtlItm(FpPnl->Vio(), FiCtl, i);
  });
}

void TVioCbx::changeEvent(QEvent* e) {
  // The combo box would build its drop-down list on each font or style
  // change, for every box of a program, though few are ever opened: until
  // the first opening the box itself follows them, and the list then.
  if (!FbLst && (e->type() == QEvent::StyleChange || e->type() == QEvent::FontChange)) {
    QWidget::changeEvent(e);
    updateGeometry();
    QResizeEvent r(size(), size());  // places the edit for the new metrics
    QComboBox::resizeEvent(&r);
    return;
  }
  QComboBox::changeEvent(e);
}

void TVioCbx::showPopup() {
  if (!FbLst) {
    FbLst = true;
    for (QEvent::Type t : {QEvent::FontChange, QEvent::StyleChange}) {
      QEvent e(t);
      QComboBox::changeEvent(&e);
    }
  }
  QComboBox::showPopup();
}

void TVioCbx::paintEvent(QPaintEvent* e) {
  if (isEditable()) {
    QComboBox::paintEvent(e);
    return;
  }
  // A list box shows its colour as it is: the style would draw it as a
  // button, shaded lighter than the edits beside it.
  QStylePainter p(this);
  QStyleOptionComboBox o;
  initStyleOption(&o);
  p.drawComplexControl(QStyle::CC_ComboBox, o);
  const QRect r = style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, this);
  p.fillRect(r, palette().color(QPalette::Button));
  p.drawControl(QStyle::CE_ComboBoxLabel, o);
}

void TVioCbx::keyPressEvent(QKeyEvent* e) {
  TVio* vio = FpPnl->Vio();
  const char c = KeyChr(e);
  if (vio && c != 0 && vio->Ctls()[static_cast<std::size_t>(FiCtl)].CtlRol == CR_LBL_NAM) {
    if (isEditable()) FViw.FMdl.SetCtlTxt(vio, FiCtl, VioStdStr(currentText()));
    FViw.FMdl.LblKeyPrs(vio, c);
    // Enter has done its work; the box must not act on it again.
    if (c == 13) {
      e->accept();
      return;
    }
  }
  QComboBox::keyPressEvent(e);
}

void TVioCbx::focusInEvent(QFocusEvent* e) {
  TVio* vio = FpPnl->Vio();
  if (vio && vio->Ctls()[static_cast<std::size_t>(FiCtl)].CtlRol == CR_GTO_NAM) FViw.FMdl.GtoLblRfs(vio);
  QComboBox::focusInEvent(e);
}

// ---- View ----------------------------------------------------------------------

TVioFldViw::TVioFldViw(TVioPgmItp& mdl, QWidget* fld) : FMdl(mdl), FpFld(fld) {
  FMdl.AddObs(this);
  FMdl.SetDrg(&FDrg);
  for (TVio* v : FMdl.Vios()) {
    VioAdd(v);
    for (std::size_t i = 0; i < v->Ctls().size(); ++i) CtlChg(v, static_cast<int>(i));
    VioChg(v);
    VioVis(v);
    if (v->Brk()) VioBrk(v);
  }
  CrtBrkAct();
}

TVioFldViw::~TVioFldViw() {
  FMdl.SetDrg(nullptr);
  FMdl.RmvObs(this);
  for (auto& [v, p] : FPnls) {
    p->FpVio = nullptr;
    if (FpFld) delete p;
  }
}

TVioPnl* TVioFldViw::Pnl(const TVio* vio) const {
  auto it = FPnls.find(vio);
  return it == FPnls.end() ? nullptr : it->second;
}

void TVioFldViw::FocFld() {
  if (!FpFld) return;
  QWidget* win = FpFld->window();
  const bool act = win->isActiveWindow();
  QWidget* prv = win->focusWidget();
  FpFld->setFocus(Qt::OtherFocusReason);
  if (auto* e = qobject_cast<TVioEdt*>(prv); e && !act) e->RunChk();
}

std::optional<TVioPgmItp::TuPos> TVioFldViw::FldPos(const QMouseEvent* e) const {
  if (!FpFld) return std::nullopt;
  const QPoint p = FpFld->mapFromGlobal(e->globalPosition().toPoint());
  return TVioPgmItp::TuPos{p.x(), p.y()};
}

void TVioFldViw::VioAdd(TVio* vio) {
  if (!FpFld) return;
  auto* p = new TVioPnl(*this, vio, FpFld);
  p->setGeometry(vio->Left(), vio->Top(), vio->Width(), vio->Height());
  p->hide();
  FPnls[vio] = p;
}

void TVioFldViw::VioRmv(TVio* vio) {
  auto it = FPnls.find(vio);
  if (it == FPnls.end()) return;
  TVioPnl* p = it->second;
  FPnls.erase(it);
  p->FpVio = nullptr;
  p->hide();
  // The removal may come from one of the panel's own event handlers.
  p->deleteLater();
}

void TVioFldViw::VioMov(TVio* vio, int left, int top) {
  if (TVioPnl* p = Pnl(vio)) p->move(left, top);
}

void TVioFldViw::VioChg(TVio* vio) {
  TVioPnl* p = Pnl(vio);
  if (!p) return;
  QPalette pal = p->palette();
  pal.setColor(QPalette::Window, VioQClr(TVioLay::VioClr(*vio)));
  pal.setColor(QPalette::WindowText, VioQClr(TVioLay::VioFntClr(*vio)));
  p->setPalette(pal);
  p->update();
}

void TVioFldViw::VioVis(TVio* vio) {
  if (TVioPnl* p = Pnl(vio)) p->setVisible(vio->Visible());
}

void TVioFldViw::CtlChg(TVio* vio, int ctl) {
  TVioPnl* p = Pnl(vio);
  if (!p || ctl < 0) return;
  while (p->FCtls.size() <= static_cast<std::size_t>(ctl)) BldCtl(p, static_cast<int>(p->FCtls.size()));
  UpdCtl(p, ctl);
}

void TVioFldViw::CtlFoc(TVio* vio, int ctl) {
  TVioPnl* p = Pnl(vio);
  if (QWidget* w = p ? p->Ctl(ctl) : nullptr) w->setFocus(Qt::OtherFocusReason);
}

void TVioFldViw::BldCtl(TVioPnl* pnl, int ctl) {
  const TVioCtl& c = pnl->FpVio->Ctls()[static_cast<std::size_t>(ctl)];
  QWidget* w = nullptr;
  switch (c.Knd) {
    case TeCtlKnd::Cbx: {
      auto* b = new TVioCbx(*this, pnl, ctl);
      if (c.Edt) {
        b->setEditable(true);
        b->setInsertPolicy(QComboBox::NoInsert);
        b->setCompleter(nullptr);
        connect(b->lineEdit(), &QLineEdit::textEdited, b, [this, pnl, ctl](const QString& t) {
          if (pnl->Vio()) FMdl.SetCtlTxt(pnl->Vio(), ctl, VioStdStr(t));
        });
      }
      w = b;
      break;
    }
    case TeCtlKnd::Edt: w = new TVioEdt(*this, pnl, ctl); break;
    case TeCtlKnd::Lbl: {
      auto* l = new QLabel(pnl);
      // Presses on a label are presses on its vio.
      l->setAttribute(Qt::WA_TransparentForMouseEvents);
      w = l;
      break;
    }
  }
  pnl->FCtls.push_back(w);
}

void TVioFldViw::UpdCtl(TVioPnl* pnl, int ctl) {
  const TVioCtl& c = pnl->FpVio->Ctls()[static_cast<std::size_t>(ctl)];
  QWidget* w = pnl->FCtls[static_cast<std::size_t>(ctl)];
  const TuCtlBox box = FLay.CtlBox(*pnl->FpVio, ctl);
  // Font: a fitted size in points, or a height in pixels.
  QFont f = pnl->font();
  if (box.FntPts > 0) {
    f = FitFnt("Arial", box.FntPts);
  } else if (box.FntHgt > 0) {
    f.setPixelSize(box.FntHgt);
  }
  if (w->font() != f) w->setFont(f);
  QPalette pal = w->palette();
  if (box.Clr >= 0) {
    const QColor q = VioQClr(box.Clr);
    pal.setColor(QPalette::Base, q);
    pal.setColor(QPalette::Button, q);
    pal.setColor(QPalette::Window, q);
  }
  pal.setColor(QPalette::Text, Qt::black);
  pal.setColor(QPalette::WindowText, Qt::black);
  pal.setColor(QPalette::ButtonText, Qt::black);
  w->setPalette(pal);
  w->setEnabled(c.Ena);

  int hgt;
  if (auto* e = qobject_cast<TVioEdt*>(w)) {
    const QString t = VioQStr(pnl->FpVio->CtlTxt(ctl));
    if (e->text() != t) e->setText(t);
    // An existing longer text is kept; the limit holds for typing.
    const int max = c.MaxLen > 0 ? std::max(c.MaxLen, static_cast<int>(t.size())) : 32767;
    if (e->maxLength() != max) {
      // Setting the limit sets the text anew: the selection being typed over stays.
      const int selBeg = e->selectionStart(), selLen = static_cast<int>(e->selectedText().size());
      const int cur = e->cursorPosition();
      e->setMaxLength(max);
      if (selBeg >= 0)
        e->setSelection(selBeg, selLen);
      else
        e->setCursorPosition(cur);
    }
    e->setFrame(true);
    e->setTextMargins(0, 0, 0, 0);
    hgt = box.Height;
  } else if (auto* b = qobject_cast<TVioCbx*>(w)) {
    QSignalBlocker blk(b);
    const QStringList itm = QLst(c.Itms);
    bool same = b->count() == itm.size();
    for (int i = 0; same && i < itm.size(); ++i) same = b->itemText(i) == itm[i];
    const QString t = VioQStr(pnl->FpVio->CtlTxt(ctl));
    if (!same) {
      b->clear();
      b->addItems(itm);
    }
    if (b->isEditable()) {
      if (b->currentText() != t || !same) b->setEditText(t);
    } else {
      const int i = b->findText(t, Qt::MatchExactly);
      if (b->currentIndex() != i) b->setCurrentIndex(i);
    }
    hgt = box.Height;
  } else {
    auto* l = static_cast<QLabel*>(w);
    if (box.Clr >= 0) l->setAutoFillBackground(true);
    l->setText(VioQStr(c.LblTxt));
    hgt = box.Height > 0 ? box.Height : l->sizeHint().height();
  }
  const int wdt = box.Width > 0 ? box.Width : w->sizeHint().width();
  w->setGeometry(box.Left, box.Top, wdt, hgt);
  w->setVisible(c.Vis && !box.Hid);
}

void TVioFldViw::MsrTxt(const std::string& face, int pts, const std::string& txt, int& width, int& height) {
  const QFontMetrics fm(FitFnt(face, pts), FpFld.data());
  width = fm.horizontalAdvance(VioQStr(txt));
  height = fm.height();
}

void TVioFldViw::MsrPxl(int px, const std::string& txt, int& width, int& height) {
  QFont f = FpFld ? FpFld->font() : QFont();
  f.setPixelSize(std::max(1, px));
  const QFontMetrics fm(f, FpFld.data());
  width = fm.horizontalAdvance(VioQStr(txt));
  height = fm.height();
}

void TVioFldViw::CbxRom(int& width, int& height) {
  // The part of a list box that its text may use, as the style lays it out.
  QStyleOptionComboBox o;
  o.rect = QRect(0, 0, std::max(1, FMdl.CelWdt()), 60);
  o.editable = false;
  o.frame = true;
  QStyle* st = VioCbxSty::One();
  const QRect r = st->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, nullptr);
  // The label is drawn a pixel in from each side of that part.
  width = o.rect.width() - r.width() + 2;
  height = o.rect.height() - r.height();
}

QFont FitFnt(const std::string& face, int pts) {
  // A proportional face as the named one is, or a narrow one like it where
  // it is not installed: a fixed-pitch or wide substitute would leave the
  // longer names only a smaller size.
  QFont f;
  f.setFamilies({VioQStr(face), "Liberation Sans", "DejaVu Sans Condensed"});
  f.setPointSize(std::max(1, pts));
  return f;
}
