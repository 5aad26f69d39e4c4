// The programming field for a screen reader: every vio panel carries the
// name TVioAcc composes for it (what, where, its values, what it follows),
// each of its boxes and edits the name of what it holds, with the vio's name
// as its description. The names follow the model shortly after each change
// (once the pending events have run), and the language when RfsTxt is called.
#pragma once

#include <QObject>
#include <QTimer>

#include "editor/VioAcc.h"

class TVioFldViw;

// Combo boxes keep the name they are given for a screen reader (on Linux Qt
// would name them by the item they show). Qt makes a widget's interface when
// its name is first set: call this before any combo box is named.
void InsCbxAcc();

class TVioFldAcc final : public QObject {
  Q_OBJECT

public:
  // Made after the field's view, so that a new vio's panel exists when the
  // names come; released before it.
  explicit TVioFldAcc(TVioFldViw& viw);
  TVioAcc& Acc() { return FAcc; }
  // Brings every name up to date now.
  void Upd();
  // The field's own name in the editor's language, and the vios' names.
  void RfsTxt();

private:
  void Apl(TVio* vio);
  TVioFldViw& FViw;
  TVioAcc FAcc;
  QTimer FTmr;
};
