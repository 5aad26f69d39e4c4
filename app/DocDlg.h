// The report of the connection doctor, as Options -> "Check connection" shows
// it. The check runs on a worker thread, so that the window stays responsive
// while the robot has its time to answer; the dialog only shows the text.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

#include "doctor/ConDoc.h"

class QPlainTextEdit;
class QPushButton;
class QTimer;

class TfrmConDoc : public QDialog {
  Q_OBJECT

public:
  // The system that the check asks; the default is the computer itself.
  using TMakSys = std::function<std::unique_ptr<IDocSys>()>;
  explicit TfrmConDoc(QWidget* owner = nullptr, TMakSys mak = {});
  ~TfrmConDoc() override;

  // Starts a check of the port in language lge; ignored while one runs.
  void Run(const std::string& prt, std::uint8_t lge);
  bool Running() const { return FbRun; }
  // The buttons and the caption in language lge; "Check again" checks in it.
  void SetLge(std::uint8_t lge);
  // The report of the last check; empty while the first one runs.
  std::string Report() const;

signals:
  void Finished();

private:
  QPlainTextEdit* memRpt = nullptr;
  QPushButton* btnAgn = nullptr;
  QPushButton* btnCls = nullptr;
  void Poll();
  void Done(const std::string& rpt);
  QTimer* FTmr = nullptr;
  TMakSys FMak;
  bool FbRun = false;
  std::string FsPrt;
  std::uint8_t FbyLge = 0;
  struct TJob;
  std::shared_ptr<TJob> FJob;
};
