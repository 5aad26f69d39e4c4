// The scenario driver's window (tests/app/scenarios/*.scn): the fixture that
// makes the main window, runs a script's commands (ScnCmd.cpp) and reads what
// the window shows by name (ScnObs.cpp). The commands are listed in the
// scenarios' README.
#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <optional>
#include <stdexcept>

#include "app/AppIto.h"
#include "app/BkgDrf.h"
#include "app/HlpInf.h"
#include "app/KeyHlp.h"
#include "app/Options.h"
#include "ScnAcc.h"
#include "app/VioBlk.h"
#include "app/VslAcc.h"
#include "app/SimPan.h"
#include "app/VslCnv.h"
#include "app/VslFld.h"
#include "app/VslMnu.h"
#include "app/VslTbrTbl.h"
#include "app/VslDoc.h"
#include "app/VslLnk.h"
#include "app/VslTbr.h"
#include "ScnKey.h"
#include "editor/qt/VioFldKey.h"
#include "core/Globals.h"
#include "core/PathUtl.h"
#include "core/PtyPar.h"
#include "core/WndMsg.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"
#include "editor/qt/VioFldAcc.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioFldZom.h"
#include "editor/qt/VioPgmViw.h"
#include "link/ComPort2p5.h"
#include "link/PckPrt.h"
#include "sim/SimThr.h"
#include "sound/PlyWavFil.h"
#include "sound/SndCue.h"
#include "support/FakePlatform.h"
#include "support/QtKid.h"
#include "support/TstLin.h"

namespace scn {

namespace fs = std::filesystem;

using B = std::vector<std::uint8_t>;
const char* const GcOptKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Options";
const char* const GcPrtKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Ports";

inline std::string RdFil(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sound output that records each cue (with the watched name's value when it
// starts) and runs pending events while a synchronous cue "plays", as the
// real output does; bytes staged for the robot arrive during the first
// synchronous cue.
struct TLopSnd final : ISoundOut {
  std::vector<std::string> Nams;
  int Dpt = 0, Nst = 0;
  std::function<void()> OnSync;
  std::function<std::string()> Watch;
  void Play(const std::string& path, bool sync) override {
    Nams.push_back(path.substr(path.rfind('/') + 1) + (sync ? "" : " (async)") + (Watch ? " [" + Watch() + "]" : ""));
    Nst += Dpt > 0;
    if (!sync) return;
    ++Dpt;
    if (auto f = std::exchange(OnSync, nullptr)) f();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    --Dpt;
  }
  void Stop() override {}
};

class Wnd : public ::testing::Test {
protected:
  TFakePlatform Plt;
  TLopSnd Snd;
  TTmpDir Ins, Tmp;
  std::unique_ptr<TPty> Pty = std::make_unique<TPty>();
  std::unique_ptr<TfrmVslCnv> W;
  std::unique_ptr<TfrmOptions> Opt;
  std::unique_ptr<TfrmAppIto> Ito;
  std::unique_ptr<TfrmHlpInf> Inf;
  std::vector<std::string> Ports, Trace, Flashed;
  TVslCnvTms Tms = [] {
    TVslCnvTms t;
    t.RcvChrGap = 60000;  // a frame never pauses unless the scenario says so
    return t;
  }();
  bool Rcv = false;
  std::size_t BoxSeen = 0;
  std::string Nam, Where, FailRls;
  B Staged;
  std::map<QRgb, std::string> Painted;
  std::atomic<std::int64_t> Jmp{0};
  std::atomic<int> ClkRds{0};  // the receive clock read, once a byte
  QString KepOpn = GuMnlOpnCmd;
  fs::path KepCwd = fs::current_path();
  static inline Wnd* GpCur = nullptr;

  void SetUp() override;
  void TearDown() override;
  static std::string Dat(const std::string& f) { return std::string(TESSARO_DATA_DIR) + "/" + f; }
  std::string Sub(std::string s) const;
  void Mk(bool shw);

  // Every picture of the install tree in a colour of its own, so that what a
  // control shows can be named.
  void Paint();
  std::string PicNam(const QPixmap& p) const;
  QAction* Tbn(const std::string& n);

  // The texts on the field's vios that their controls cut off, measured
  // with each control's own font against the room its style leaves the text.
  std::string CutTxt();

  // The vios whose shown controls cover one another or the panel's caption:
  // "vio N: A / B" with the controls' indexes, "cap" for the caption.
  std::string Ovl();
  QAction* Act(const std::string& n);
  TVio* Vio(const std::string& n);
  std::string VioNo(const TVio* v);
  static bool Covers(const QWidget& w, QRect fld);
  static std::string Join(const std::vector<std::string>& l, bool rls);

  // What the window shows, by name, as text: the names that need no window,
  // then the window's, each table a value when it knows the name.
  std::string Obs(const std::string& n);
  std::optional<std::string> ObsAny(const std::string& n);  // the trace, boxes, cues, files
  std::optional<std::string> ObsRun(const std::string& n);  // the document, the link, the run
  std::optional<std::string> ObsShw(const std::string& n);  // pictures, the field's layout, settings
  std::optional<std::string> ObsCtl(const std::string& n);  // controls, menus, dialogs, the Options
  std::optional<std::string> ObsKey(const std::string& n);  // the list of keys

  // The selection and the clipboard (ScnClp.cpp): drag-cells; selection, clipboard.
  bool OnClp(const std::vector<std::string>& w);
  std::optional<std::string> ObsClp(const std::string& n);

  // The accessible names: the unnamed controls of the windows, or the name
  // (and description) of an object by its name, of vio N ("vioN") or of its
  // control K ("vioN.K").
  std::string A11y(const std::string& o);

  // "NAME = V", "NAME ^ PREFIX" or "NAME ~ PART" holds.
  bool Holds(const std::vector<std::string>& w, const std::string& rest, std::string& got);
  B Frame(std::uint8_t org, const std::vector<std::string>& w);
  void Run(std::istream& in);
  void Run(const std::string& script);

  // The lines up to "end", each ended by CR LF as in a program file.
  static std::string Block(std::istream& in, int& no);

  // Commands that set up the world before a window is made.
  bool Before(const std::vector<std::string>& w);

  // Commands on the window, its vios and its field; on its widgets.
  bool OnWindow(const std::vector<std::string>& w, const std::string& line);
  bool OnWidgets(const std::vector<std::string>& w, const std::string& line);

  // Commands of the user's hands, the files and the robot's line.
  bool Outside(const std::vector<std::string>& w, const std::string& line, std::istream& in, int& no);
  void Do(const std::vector<std::string>& w, const std::string& line, std::istream& in, int& no);

  // ---- The guided first program (ScnFst.cpp) ----
  // Off unless the scenario says "guide": the other scenarios' first starts stay as they were.
  bool Gui = false;
  bool OnGuide(const std::vector<std::string>& w);
  std::optional<std::string> ObsGui(const std::string& n);
  // The robot monitor and the built-in robot's bumpers (ScnMon.cpp).
  bool OnMonitor(const std::vector<std::string>& w);
  std::optional<std::string> ObsMon(const std::string& n);

  int Held = -1;
  std::string Mem, MemBox, InsDir;
  QRect Avl;
};

}  // namespace scn
