// The main window's lessons: File > Open lesson... and Close lesson, and the
// task panel. Opening a lesson gives it to the editor (which then offers only
// its vio types and commands and counts against its budget), shows only its
// vio buttons, puts its title in front of the caption and its title and task
// in the panel. Closing brings everything back. The open lesson is not kept
// for the next start: each start begins without one.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class TVioPgmItp;
class TVslDoc;
class TVslTbr;

class TVslLsn final : public QObject {
public:
  // The two items go into the File menu before `bfr` (at its end when null).
  TVslLsn(QMainWindow& wnd, TVioPgmItp& edt, TVslDoc& doc, TVslTbr& tbr, QMenu& fil, QAction* bfr,
          std::function<std::uint8_t()> lge);

  // Asks for a lesson file and opens it.
  void Opn();
  // Opens the lesson; a damaged file is reported and nothing changes.
  bool OpnFil(const std::string& path);
  void Cls();
  // Texts in the window's language: the items, the panel and the caption.
  void RfsTxt();
  // The status bar names the vios of the program the lesson does not offer.
  void NtfNot();

  // The folder the file dialog starts in: the installed lessons.
  static std::string LsnDir();

private:
  void Aply();

  QMainWindow& FWnd;
  TVioPgmItp& FEdt;
  TVslDoc& FDoc;
  TVslTbr& FTbr;
  std::function<std::uint8_t()> FLge;
  QAction* smnLsnOpn = nullptr;
  QAction* smnLsnCls = nullptr;
  QDockWidget* dckLsn = nullptr;
  QLabel* lblLsnTsk = nullptr;
};
