// The roll call's upload: the main window's program to every robot that
// answered the roll call, as tessaro-upload does with several ports. The
// robots on other ports get the frame through links of their own (all
// opened first, then sent together); the robot on the main window's own
// port gets it through the window's link. The links are looked at on a
// timer of the window's thread, so the window stays responsive while the
// robots have their time to answer. One row per robot.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "doctor/RolCal.h"
#include "link/UplRbt.h"

// What the upload needs of the main window.
struct TRolUplHst {
  // The window's program translated into stm; false when it does not
  // translate (the window has said why).
  std::function<bool(std::vector<std::uint8_t>& stm)> Stm;
  // Sends the program (run: and starts it) through the window's own link
  // and calls done once with what came of it.
  std::function<void(bool run, std::function<void(TeUplRes)> done)> Own;
  // The robots' time for "transfer complete", and the quiet start of a port.
  std::chrono::milliseconds Tmo{5000};
  std::chrono::milliseconds Qt{100};
};

class TRolUpl : public QObject {
  Q_OBJECT

public:
  // A robot to upload to: its row of the roll call and its port.
  struct TTgt {
    std::string Row;  // the port as the roll call shows it
    TRolPrt Prt;
  };

  TRolUpl(QObject* owner, TRolUplHst hst);
  ~TRolUpl() override;

  // Starts the upload in language lge; false when nothing starts (the
  // program does not translate, or an upload runs).
  bool Sta(const std::vector<TTgt>& tgt, bool run, std::uint8_t lge);
  bool Running() const { return FbRun; }
  bool Ready() const { return FHst.Stm != nullptr; }

signals:
  // Every robot has answered or its time is over: a row per robot in the
  // order given, and the report as text.
  void Done(const std::vector<TRolRow>& rows, const std::string& rpt);

private:
  struct TRbt;
  void Go();
  void Tck();
  void End();
  TRolRow Row(const TRbt& r) const;
  TRolUplHst FHst;
  std::vector<std::unique_ptr<TRbt>> FRbt;
  std::vector<std::uint8_t> FStm;
  bool FbRun = false, FbRunPgm = false;
  std::uint8_t FbyLge = 0;
  TLnkSes::TClk::time_point FLim{};
  QTimer FTmrQt, FTmrWai;
  // Posted callbacks of the window's link find out whether this upload still runs.
  std::shared_ptr<int> FAlv = std::make_shared<int>(0);
};
