// The Options dialog: the COM port of the robot, chosen from the ports that
// are present on this computer.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "app/DocDlg.h"
#include "app/RolUpl.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class IWndMsgTgt;
class TfrmConDoc;
class TfrmRolCal;

// One entry of the port list: the text shown and the port number attached.
struct TComPrtEnt {
  std::string Txt;  // "COM5 (/dev/ttyUSB0)"
  int Num = 0;      // 5
};

class TfrmOptions : public QDialog {
  Q_OBJECT

public:
  using TScnPrt = std::function<std::vector<std::string>()>;
  // scan: the names of the present ports; empty for ScnComPrt().
  explicit TfrmOptions(QWidget* owner = nullptr, TScnPrt scan = {});

  // Fills the list with the present ports, COM1 to COM19 in ascending order.
  void ScnComPrt(std::vector<TComPrtEnt>& lst);
  // True when the port COMn is present; inUse when another program holds it.
  static bool PrbComPrt(int n, bool& inUse);

  // The entry to select when the dialog is shown (-1: none).
  void SetComPrtIdx(std::int32_t idx) { FiSelIdx = idx; }
  // Scans the ports again and fills the drop-down; runs whenever the dialog is shown.
  void FormShow();
  // The user picked an entry: the main window stores and opens the port.
  void cbxComportSelectorChange();
  // Texts in language lge (0 English, 1 Dutch, 2 German), also of the
  // connection check's window; the port list takes it when next filled.
  void SetLge(std::uint8_t lge);

  // The window the chosen port goes to (WM_SET_MSG, SM_NEW_COM_PRT).
  void SetMaiFrm(IWndMsgTgt* frm) { FpMaiFrm = frm; }
  // The port to select when shown: the one chosen before (0: none yet).
  void SetSelNum(int num) { FiSelNum = num; }
  // The stable link that the udev rule gives the robot's cable; a port that
  // it leads to shows it in the list. A link to a device that no port stands
  // for is listed with the first free port of COM13 to COM19, which choosing
  // it maps to the link.
  void SetZfrLnk(std::string lnk) { FsZfrLnk = std::move(lnk); }
  const std::string& ZfrLnk() const { return FsZfrLnk; }

  // "Check connection": the connection doctor on the main window's port, in
  // its language (the context answers both), shown in its own window. mak:
  // the system the check asks; empty for the computer.
  void btnChkClick();
  void SetDocCtx(std::function<void(std::string& prt, std::uint8_t& lge)> fn) { FDocCtx = std::move(fn); }
  void SetDocMak(TfrmConDoc::TMakSys mak) { FDocMak = std::move(mak); }
  // What the roll call's upload to every robot needs of the main window.
  void SetRolUpl(TRolUplHst hst);
  TfrmConDoc* DocDlg() const { return FpDocDlg; }

  // "Check all ports": the roll call of every present port, in the main
  // window's language, in its own window.
  void btnAllClick();
  TfrmRolCal* RolDlg() const { return FpRolDlg; }

protected:
  void showEvent(QShowEvent* e) override;

private:
  std::uint8_t FbyLgeIdx = 0;
  std::string FsZfrLnk = "/dev/zefor";
  int FiZfrNum = 0;  // the port the link is listed with; 0: none
  int FiSelNum = 0;  // the port the user chose here (0: none yet)
  std::int32_t FiSelIdx = -1;
  IWndMsgTgt* FpMaiFrm = nullptr;
  std::vector<TComPrtEnt> FpComPrtLst;
  QGroupBox* gbxComport = nullptr;
  QComboBox* cbxComportSelector = nullptr;
  QLabel* lblComPrtSte = nullptr;
  QPushButton* btnCls = nullptr;
  TfrmConDoc::TMakSys FDocMak;  // the system the check asks; empty: the computer
  QPushButton* btnChk = nullptr;
  TfrmConDoc* FpDocDlg = nullptr;
  QPushButton* btnAll = nullptr;
  TfrmRolCal* FpRolDlg = nullptr;
  std::function<void(std::string& prt, std::uint8_t& lge)> FDocCtx;
  TRolUplHst FRolUpl;
  // The state of the port below the list: a message id (0: none) and the port's number.
  void ShwSte(std::uint8_t id, int num = 0);
  std::uint8_t FbySteId = 0;
  int FiSteNum = 0;
  TScnPrt FScn;
};
