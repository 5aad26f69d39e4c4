// The keys of the main window in the window's language, grouped by where
// they act: F1 or Ctrl+/ shows them in a window of their own, which a screen
// reader reads and which prints.
//
// The list is taken from the window itself: every action with a shortcut,
// under the title of its menu (or its place, for the window's own keys), and
// the field's and the tool bars' own keys, which are no actions.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class QMainWindow;
class QPrinter;
class QPushButton;
class QTextBrowser;
class TVioPgmItp;

struct TuKeyRow {
  QString Grp;  // heading of its group; empty for an action the list has no place for
  QString Key;  // the keys, as the platform writes them ("Ctrl+U"), several split by ", "
  QString Txt;  // what it does
};

// Every key of the window, in groups, each group in the order its keys come.
std::vector<TuKeyRow> KeyRows(const QMainWindow& wnd, TVioPgmItp& edt);
// The rows as a document: a heading and a table per group.
QString KeyHtm(const std::vector<TuKeyRow>& rows);

class TfrmKeyHlp final : public QDialog {
public:
  TfrmKeyHlp(QMainWindow& wnd, TVioPgmItp& edt);

  // Lists the keys anew (in the window's language) and shows the window.
  void Shw();
  // Prints the list through the print dialog.
  void Prt();
  // The print dialog: sets up the printer, true to print. Unset, the toolkit's asks.
  void SetOnPrtDlg(std::function<bool(QPrinter&)> fn) { FOnPrtDlg = std::move(fn); }
  const std::vector<TuKeyRow>& Rows() const { return FRows; }

private:
  QMainWindow& FWnd;
  TVioPgmItp& FEdt;
  QTextBrowser* txtKey = nullptr;
  QPushButton* btnPrt = nullptr;
  QPushButton* btnCls = nullptr;
  std::vector<TuKeyRow> FRows;
  std::function<bool(QPrinter&)> FOnPrtDlg;
};
