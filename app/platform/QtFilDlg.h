// The open and save file dialogs of the program.
#pragma once

#include <QString>

#include <string>

#include "core/Seams.h"

class QWidget;

class TQtFilDlg final : public IFilDlg {
public:
  // The dialogs are modal to the owner (null: application modal).
  explicit TQtFilDlg(QWidget* owner = nullptr) : FOwn(owner) {}
  bool Opn(const TFilDlgReq& req, std::string& name) override;
  bool Sav(const TFilDlgReq& req, std::string& name) override;

  // "description|pattern|description|pattern" as the dialog's filter list
  // "description (pattern);;...". A description that already names its
  // pattern in brackets is taken as it is.
  static QString QtFlt(const std::string& filter);

private:
  QWidget* FOwn;
};

// Installs the dialogs for its lifetime and restores the previous ones.
class TQtFilDlgIns {
public:
  explicit TQtFilDlgIns(QWidget* owner = nullptr) : FDlg(owner), FPrv(SetFilDlg(&FDlg)) {}
  ~TQtFilDlgIns() { SetFilDlg(FPrv); }
  TQtFilDlgIns(const TQtFilDlgIns&) = delete;
  TQtFilDlgIns& operator=(const TQtFilDlgIns&) = delete;
private:
  TQtFilDlg FDlg;
  IFilDlg* FPrv;
};
