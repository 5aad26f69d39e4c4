// How the programming field is shown: its zoom and the high-contrast look.
// TFldZom carries the View menu's items for both, the zoom in the status bar
// and the values kept in the settings; the model lays the vios out anew and
// the field's view paints them (PntVio).
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <utility>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QWidget;
class TVioLay;
class TVioPgmItp;
class TVioPnl;

// The caption of a vio's panel at its fitted size and, in high contrast, the
// dark outline and the type's symbol.
void PntVio(TVioPnl& pnl, TVioLay& lay);
// Where the symbol goes on a panel of that size: its top left corner.
QRect VioSymRct(const QSize& pnl);

class TFldZom final : public QObject {
  Q_OBJECT

public:
  TFldZom(TVioPgmItp& edt, QWidget* fld, QMenu* viw, QStatusBar* bar);

  // The kept values, as the settings hold them: a zoom step in percent (100
  // for anything else), "1" for high contrast. Nothing is kept back.
  void Lod(const std::string& zom, const std::string& hiCtr);
  // A zoom step; kept. Other values change nothing.
  void SetZom(int pct);
  void SetHiCtr(bool on);
  // The picture behind the vios: dimmed over a dark field in high contrast.
  void SetBkg(QWidget* bkg);
  // The texts of the editor's language.
  void RfsTxt();
  QLabel* Lbl() const { return FpLbl; }

  // Keeps a value (name "Zoom" or "HighContrast") in the settings.
  void SetOnKep(std::function<void(const std::string& name, const std::string& value)> fn) { FOnKep = std::move(fn); }

private:
  std::function<void(const std::string& name, const std::string& value)> FOnKep;
  void Shw();
  TVioPgmItp& FEdt;
  QPointer<QWidget> FpFld;
  QPointer<QWidget> FpBkg;
  QAction* FpInAct = nullptr;
  QAction* FpOutAct = nullptr;
  QAction* FpOneAct = nullptr;
  QAction* FpCtrAct = nullptr;
  QLabel* FpLbl = nullptr;
};
