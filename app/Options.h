// The Options dialog: the COM ports that are present on this computer.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QGroupBox;
class QListWidget;
class QPushButton;
class IWndMsgTgt;

class TfrmOptions : public QDialog {
  Q_OBJECT

public:
  using TScnPrt = std::function<std::vector<std::string>()>;
  // scan: the port scan; empty for ScnComPrt().
  explicit TfrmOptions(QWidget* owner = nullptr, TScnPrt scan = {});

  // The entry to select when the dialog is shown (-1: none).
  void SetComPrtIdx(std::int32_t idx) { FiSelIdx = idx; }
  // Scans the ports again and fills the list; called whenever the dialog is shown.
  void FormShow();

  std::int32_t FiSelIdx = -1;
  IWndMsgTgt* FpMaiFrm = nullptr;
  std::vector<std::string> FpComPrtLst;

  QGroupBox* gbxComport = nullptr;
  QListWidget* lbxComPrt = nullptr;
  QPushButton* btnCls = nullptr;

protected:
  void showEvent(QShowEvent* e) override;

private:
  TScnPrt FScn;
};
