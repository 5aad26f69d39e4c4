// The programming field on screen: one panel per vio of the editor's model,
// with its combo boxes, edits and labels. The view hears every change of the
// model through its observer interface and forwards what the user does with
// the mouse, the keys and the focus back to the model, which holds the rules.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>

#include <map>
#include <optional>
#include <vector>

#include "editor/VioDrg.h"
#include "editor/VioLay.h"
#include "editor/VioPgmItp.h"

class QAction;
class QMenu;
class TVioFldViw;

// One vio on the field.
class TVioPnl final : public QFrame {
  Q_OBJECT

public:
  TVioPnl(TVioFldViw& viw, TVio* vio, QWidget* fld);
  TVio* Vio() const { return FpVio; }
  // The child control of the model's control index; null when not built.
  QWidget* Ctl(int idx) const;
  const std::vector<QWidget*>& Ctls() const { return FCtls; }

protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

private:
  friend class TVioFldViw;
  TVioFldViw& FViw;
  TVio* FpVio;  // none once the model has removed the vio
  std::vector<QWidget*> FCtls;
  QWidget* FpDot = nullptr;  // the breakpoint's mark, made when first needed
};

// Edit of a vio: key filter and focus checks through the model.
class TVioEdt final : public QLineEdit {
  Q_OBJECT

public:
  TVioEdt(TVioFldViw& viw, TVioPnl* pnl, int ctl);
  // The check of the edit's value that runs when it loses the focus.
  void RunChk();

protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

private:
  TVioFldViw& FViw;
  TVioPnl* FpPnl;
  int FiCtl;
};

// The style of the vios' combo boxes: the application's, with a drop-down
// button that leaves a narrow box's text its room.
class VioCbxSty final : public QProxyStyle {
  Q_OBJECT

public:
  using QProxyStyle::QProxyStyle;
  QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                       const QWidget* w) const override;
  // The one style of every vio combo box.
  static VioCbxSty* One();
};

// Combo box of a vio: Enter in a Label box and the focus gain of a Goto box.
class TVioCbx final : public QComboBox {
  Q_OBJECT

public:
  TVioCbx(TVioFldViw& viw, TVioPnl* pnl, int ctl);

protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void changeEvent(QEvent* e) override;

public:
  void showPopup() override;

private:
  TVioFldViw& FViw;
  TVioPnl* FpPnl;
  int FiCtl;
  bool FbLst = false;  // the drop-down list has been opened: it follows font and style
};

class TVioFldViw final : public QObject, public IVioPgmObs, public ITxtMsr {
  Q_OBJECT

public:
  // Shows the model's vios on the field widget (the programming field, whose
  // size the model's cell size was taken from).
  TVioFldViw(TVioPgmItp& mdl, QWidget* fld);
  ~TVioFldViw() override;

  TVioPgmItp& Mdl() { return FMdl; }
  QWidget* Fld() const { return FpFld; }
  // The panel of a vio; null when there is none.
  TVioPnl* Pnl(const TVio* vio) const;

  // IVioPgmObs
  void VioAdd(TVio* vio) override;
  void VioRmv(TVio* vio) override;
  void VioMov(TVio* vio, int left, int top) override;
  void VioChg(TVio* vio) override;
  void VioVis(TVio* vio) override;
  void CtlChg(TVio* vio, int ctl) override;
  void CtlFoc(TVio* vio, int ctl) override;
  void VioBrk(TVio* vio) override;
  // The zoom or the look changed (VioFldZom.cpp).
  void FldShw() override;
  TVioLay& Lay() { return FLay; }

  // ITxtMsr: the real font metrics (EdtRom and NrmPx in VioFldZom.cpp).
  void MsrTxt(const std::string& face, int pts, const std::string& txt, int& width, int& height) override;
  void MsrPxl(int px, const std::string& txt, int& width, int& height) override;
  void CbxRom(int& width, int& height) override;
  void EdtRom(int& width, int& height) override;
  int NrmPx() override;

  // Gives the field the input focus, so that an edit being typed in runs its
  // check. In a window that is not active no focus event is sent: the check
  // of the edit that held the window's focus then runs here.
  void FocFld();

  // Pointer position of a mouse event in field pixels.
  std::optional<TVioPgmItp::TuPos> FldPos(const QMouseEvent* e) const;
  // The drag of a vio in progress, if any.
  const TVioDrg& Drg() const { return FDrg; }
  // The current vio's context menu (context-menu key, Shift+F10); F9 toggles
  // the current vio's breakpoint. Defined in VioFldBrk.cpp.
  QMenu* VioMnu() const { return FpVioMnu; }
  void PopVioMnu();
  // The window's actions the vio menu offers below the breakpoint (copy, paste ...).
  void SetVioMnuAct(const std::vector<QAction*>& acts) { FVioMnuAct.assign(acts.begin(), acts.end()); }

private:
  friend class TVioPnl;
  friend class TVioEdt;
  friend class TVioCbx;
  void BldCtl(TVioPnl* pnl, int ctl);
  void UpdCtl(TVioPnl* pnl, int ctl);
  void CrtBrkAct();
  TVioPgmItp& FMdl;
  TVioDrg FDrg{FMdl};
  QPointer<QWidget> FpFld;
  std::map<const TVio*, TVioPnl*> FPnls;
  TVioLay FLay{FMdl, this};  // measures with this view's fonts
  QMenu* FpVioMnu = nullptr;
  std::vector<QPointer<QAction>> FVioMnuAct;
};

// The font of the fitted controls.
QFont FitFnt(const std::string& face, int pts);
QColor VioQClr(std::int32_t rgb);
QString VioQStr(const std::string& s);
std::string VioStdStr(const QString& s);
