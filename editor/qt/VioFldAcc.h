// The programming field for a screen reader: every vio panel carries the
// name TVioAcc composes for it (what, where, its values, what it follows),
// each of its boxes and edits the name of what it holds, with the vio's name
// as its description. The names follow the model shortly after each change
// (once the pending events have run), and the language when RfsTxt is called.
//
// The cell cursor is told as the focus: while the field has the input focus,
// each move focuses the vio on the cursor's cell, or the empty cell itself
// (the field's accessible children after its widgets, one per empty cell).
#pragma once

#include <QObject>
#include <QTimer>

#include <map>

#include "editor/VioAcc.h"

class QAccessibleInterface;
class TVioFldViw;

// Combo boxes keep the name they are given for a screen reader (on Linux Qt
// would name them by the item they show) and show the item they hold as
// their text. Qt makes a widget's interface when its name is first set: call
// this before any combo box is named.
void InsCbxAcc();

class TVioFldAcc final : public QObject, private IVioPgmObs {
  Q_OBJECT

public:
  // Made after the field's view, so that a new vio's panel exists when the
  // names come; released before it.
  explicit TVioFldAcc(TVioFldViw& viw);
  ~TVioFldAcc() override;
  TVioAcc& Acc() { return FAcc; }
  // Brings every name up to date now.
  void Upd();
  // The field's own name in the editor's language, and the vios' names.
  void RfsTxt();

  // For the field's accessible interface: the field's view, the empty cells
  // in reading order, and the interface of one cell (made once, kept by Qt's
  // accessibility cache until this object goes).
  TVioFldViw& Viw() { return FViw; }
  std::vector<int> EmpCls() const;
  QAccessibleInterface* Cel(int idx);
  // The interface that stands for the cell cursor: the vio's panel or the empty cell.
  QAccessibleInterface* Cur();

protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  void KeyCur() override { TelCur(); }
  // Tells the assistive technology of the cell cursor, while the field has the focus.
  void TelCur();
  void Apl(TVio* vio);
  TVioFldViw& FViw;
  TVioAcc FAcc;
  QTimer FTmr;
  std::map<int, QAccessibleInterface*> FCls;  // by col + row * columns
};
