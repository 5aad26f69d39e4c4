// What the main window takes from its surroundings: its timer intervals,
// folders, port scan, clocks and the hooks that tests and tools give it.
#pragma once

#include <QRect>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// Timer intervals in milliseconds.
struct TVslCnvTms {
  int VioBlk = 10;        // tmrVioBlk as constructed: the first blink of a run starts after it
  int VioBlkHid = 100;    // a blinking vio stays hidden this long
  int VioBlkShw = 500;    // and then shown this long
  int BlkComPrtCupMsg = 100;
  int RcvPckTimOut = 1100;
  int UplCfm = 5000;      // an upload waits this long for the robot's "transfer complete"
  int RcvChrGap = 200;    // a frame whose bytes stop for longer than this is given up
  int MovBckGndPic = 60000;
  int AppIto = 5000;      // the intro
  int RcvSav = 30000;     // a changed program waits this long for its recovery copy
  int RcvPol = 1000;      // how often the recovery keeper looks
};

// What the main window takes from its surroundings. Empty entries take the
// defaults of the running program.
struct TVslCnvCfg {
  std::string AppDir;  // folder of the executable, ending in a separator; default ExeDir()
  std::string InsDir;  // installation folder, ending in a separator; default DefaultInsDir()
  TVslCnvTms Tms;
  std::function<std::vector<std::string>()> ScnPrt;  // port scan; default ScnComPrt()
  // The clock of the gaps between received bytes (called on the receive
  // thread); default the steady clock.
  std::function<std::chrono::steady_clock::time_point()> Clk;
  // Told each step of construction and shutdown as it happens (the owned
  // object's field name, "~" + field name for its release).
  std::function<void(const std::string&)> Trc;
  // Called with the field name at the start of each guarded release; a
  // release that throws is reported and shutdown goes on.
  std::function<void(const std::string&)> OnRls;
  // The recovery copy of a changed program; empty: none is kept.
  std::string RcvPth;
  // The part of the screen a maximized window takes; default the available
  // geometry of the window's screen.
  std::function<QRect()> AvlGeo;
  // The guided first program shows by itself on a first start.
  bool FstGui = true;
};
