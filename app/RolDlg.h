// Options -> "Check all ports": the roll call of every port that is present
// (doctor/RolCal.h), one row per port with what its check found and what to
// do. The checks run on a worker thread, which posts the rows back, so the
// window stays responsive while the robots have their time to answer. The
// report can go to the clipboard and into a text file. The main window's
// program can then go to every robot that answered (app/RolUpl.h), with a row
// per robot in the same table.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/DocDlg.h"
#include "app/RolUpl.h"
#include "doctor/RolCal.h"

class QLabel;
class QPushButton;
class QTableWidget;

class TfrmRolCal : public QDialog {
  Q_OBJECT

public:
  // mak: the system the checks ask; empty for the computer itself.
  explicit TfrmRolCal(QWidget* owner = nullptr, TfrmConDoc::TMakSys mak = {});
  ~TfrmRolCal() override;

  // Starts a roll call in language lge; ignored while one runs. ansPrt: the
  // port of the main window's own link when its robot answers there.
  void Run(std::uint8_t lge, const std::string& ansPrt = {});
  bool Running() const { return FbRun || (FpUpl && FpUpl->Running()); }
  // What the upload to every robot needs of the main window; without it the
  // two upload buttons stay off.
  void SetUplHst(TRolUplHst hst);
  // The captions in language lge; "Check again" checks in it.
  void SetLge(std::uint8_t lge);
  // The report of the last roll call as tessaro-doctor --all prints it; empty
  // while the first one runs.
  std::string Report() const { return FbRun ? std::string() : FsRpt; }

  // The report to the clipboard; into a text file that the user chooses.
  void btnCpyClick();
  void btnSavClick();
  // The program to every robot that answered the last roll call; run: and started.
  void btnUplClick(bool run);

signals:
  void Finished();

private:
  QTableWidget* tblRol = nullptr;
  QLabel* lblSum = nullptr;
  QPushButton* btnAgn = nullptr;
  QPushButton* btnCpy = nullptr;
  QPushButton* btnSav = nullptr;
  QPushButton* btnCls = nullptr;
  QPushButton* btnUpl = nullptr;
  QPushButton* btnUpr = nullptr;
  void Done(const std::vector<TRolRow>& rows, const std::string& rpt);
  void ShwRow(const std::vector<TRolRow>& rows, const std::string& rpt);
  void UplDon(const std::vector<TRolRow>& rows, const std::string& rpt);
  std::vector<TRolUpl::TTgt> UplTgt() const;
  void SetBtn();
  TfrmConDoc::TMakSys FMak;
  bool FbRun = false;
  std::uint8_t FbyLge = 0;
  std::string FsRpt;
  std::vector<TRolPrt> FPrt;   // the ports of the last roll call ...
  std::vector<TRolRow> FRow;   // ... and what each check found
  TRolUpl* FpUpl = nullptr;
  struct TJob;
  std::shared_ptr<TJob> FJob;
};
