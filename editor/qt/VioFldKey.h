// The programming field from the keyboard, on screen: the focus frame of the
// field's cell cursor, drawn over the vios while the field has the focus, and
// the keys of the field and of a vio's parameter controls, forwarded to the
// editor, which holds the rules (TVioPgmItp::FldKey).
//
// Keys of the field: arrows move the cursor, Control+arrow moves the vio
// under it, Shift+arrow spans the selected rectangle, Delete removes it, Enter or F2 goes into its first parameter,
// a letter adds a vio of its type. In a parameter control, Tab and Shift+Tab
// go round the vio's parameters and Escape returns to the field.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "editor/VioPgmItp.h"

class QKeyEvent;
class TVioFldViw;

class TVioFldKey final : public QObject, private IVioPgmObs {
public:
  explicit TVioFldKey(TVioFldViw& viw);
  ~TVioFldKey() override;
  TVioFldKey(const TVioFldKey&) = delete;
  TVioFldKey& operator=(const TVioFldKey&) = delete;

  // The focus frame (object name "frmKeyCur"); shown only while the field has the focus.
  QWidget* Frm() const { return FpFrm; }

protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  void KeyCur() override { ShwFrm(); }
  void FldShw() override { ShwFrm(); }  // a zoom: the cells have another size
  void VioAdd(TVio* vio) override;
  void VioVis(TVio*) override { ShwFrm(); }
  void CtlChg(TVio* vio, int ctl) override;
  void FldClr() override { ShwFrm(); }
  // A key on the field; true when the field took it.
  bool FldKey(const QKeyEvent* e);
  // Tab, Shift+Tab or Escape in the parameter control ctl; true when taken.
  bool PrmKey(QWidget* ctl, const QKeyEvent* e);
  // Puts the frame on the cursor's cell, over the vios, and shows it while the field has the focus.
  void ShwFrm();

  TVioFldViw& FViw;
  TVioPgmItp& FMdl;
  QPointer<QWidget> FpFrm;
};
