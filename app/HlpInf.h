// The Info dialog: version and the notices about the program; and the opening
// of the two manuals.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <string>

// File version of the program, set by the build: the Info window shows it, the caption adds it.
inline std::string AppFilVer() { return TESSARO_VERSION; }

class QLabel;

class TfrmHlpInf : public QDialog {
  Q_OBJECT

public:
  explicit TfrmHlpInf(QWidget* owner = nullptr);
  // Shows the dialog, not modal, centred on the main window.
  void ShwOn(QWidget* mainWnd);
  // The caption and the notices in language lge (0 English, 1 Dutch, 2 German).
  void SetLge(std::uint8_t lge);


private:
  QLabel* Label1 = nullptr;  // version
  QLabel* LblBld = nullptr;  // the build, beside the version
  QLabel* Label3 = nullptr;  // rights notice
  QLabel* Label2 = nullptr;  // what the program is for
  QLabel* Label4 = nullptr;  // where help is found
  QLabel* Label5 = nullptr;  // what the program is made with
};

// Opens a manual (a native path) with the desktop's viewer for it, without
// waiting for the viewer. A missing file is told at once, a desktop that has
// no program for it as soon as that is known; both in a message box in the
// language lge, followed by the path.
void OpnMnl(const std::string& path, std::uint8_t lge);

// The program that opens a document on this desktop ("xdg-open" outside
// Windows), given the path as its one argument; it ends with a non-zero code
// when nothing could open the file. Empty: the toolkit's own document opening.
// Tests name a script of their own.
extern QString GuMnlOpnCmd;
