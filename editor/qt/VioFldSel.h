// The selected rectangle of cells on screen, and the rubber band that makes
// it: a drag of the left mouse button from an empty cell of the field spans
// the rectangle to the cell under the pointer; a press on an empty cell puts
// the cell cursor there and drops the rectangle. The frame (object name
// "frmSelRct") lies over the vios and lets the mouse through.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "editor/VioPgmItp.h"

class TVioFldViw;

class TVioFldSel final : public QObject, private IVioPgmObs {
public:
  explicit TVioFldSel(TVioFldViw& viw);
  ~TVioFldSel() override;
  TVioFldSel(const TVioFldSel&) = delete;
  TVioFldSel& operator=(const TVioFldSel&) = delete;

  QWidget* Frm() const { return FpFrm; }

protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  void SelChg() override { ShwFrm(); }
  void FldShw() override { ShwFrm(); }  // a zoom: the cells have another size
  void VioAdd(TVio*) override { ShwFrm(); }  // stays over the new panels
  void ShwFrm();
  // The cell under a field position, brought into the grid.
  TVioPgmItp::TuCel Cel(QPoint pos) const;

  TVioFldViw& FViw;
  TVioPgmItp& FMdl;
  QPointer<QWidget> FpFrm;
  bool FbDrg = false;  // the left button went down on an empty cell
  TVioPgmItp::TuCel FAnc;
};
