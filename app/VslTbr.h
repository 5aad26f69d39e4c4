// The main window's tool bars: the vio buttons above, the robot commands
// below, their image list and hints, and the input gate that every tool bar
// command passes first. The buttons' and pictures' rows are app/VslTbrTbl.h.
#pragma once

#include <QObject>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/VslTbrTbl.h"

class QAction;
class QKeyEvent;
class QMainWindow;
class QToolBar;
class TVioPgmItp;

// What the tool bars need from the rest of the window.
class ITbrHst {
public:
  virtual ~ITbrHst() = default;
  virtual TVioPgmItp& Edt() = 0;
  virtual void ShwErrMsg(const std::string& text) = 0;
  // The programming field takes the focus (an edit's check runs first).
  virtual void FocFld() = 0;
  // A command has passed the gate's first step: Save As is offered.
  virtual void OnGat() = 0;
  // The mouse has moved over a button.
  virtual void OnMov() = 0;
};

class TVslTbr final : public QObject {
public:
  TVslTbr(QMainWindow& wnd, ITbrHst& hst);

  QAction* Tbn(TeTbn tbn) const { return FTbn[static_cast<std::size_t>(tbn)]; }
  QToolBar& VioBar() const { return *tbrVioObj; }
  QToolBar& ComBar() const { return *tbrDatCom; }
  void SetEna(bool ena);

  // The input gate of every tool bar command: true when the command must not run.
  bool ChkVioInpErr();
  // Loads the 20 pictures below the installation folder and gives the buttons their images.
  void BldImgLst(const std::string& picDir);
  // Image index that a tool button shows; -1 for an unknown button.
  int ImgIdx(const QAction* tbn) const;
  void SetImg(QAction* tbn, int idx);
  // The picture of an image list entry (null before BldImgLst).
  QPixmap Img(int idx) const;
  // The picture of the tool button of a vio type (null when none).
  QPixmap VioImg(int vioTyp) const;
  // Pictures that could not be loaded (full paths); the window adds its own.
  const std::vector<std::string>& MisPic() const { return FMisPic; }
  void AddMisPic(const std::string& pth) { FMisPic.push_back(pth); }
  // The hints in the current language.
  void RfsHnt();
  // Shows the vio buttons of the types the editor offers (all without a lesson).
  void RfsOfr();
  // The link state button: green while the robot answers.
  void ShwLnkSte(bool oky);
  void SetRunEna(bool ena);
  void RpnRun();

  // ---- Keys ------------------------------------------------------------------
  // The robot commands' keys (Ctrl+U upload, Ctrl+R run, Ctrl+Shift+R upload
  // and run, Ctrl+L link check) and F8, the way into the tool bars. A key
  // does what its button's click does, and nothing while the button cannot be
  // clicked (disabled, or the window locked).
  void BldKey(QMainWindow& wnd);
  // A vio type key on the field: the vio button's click, with the vio put on the field's cursor.
  void KeyVio(std::uint8_t vioTyp);
  // F8: the first button of the vio tool bar that can be clicked takes the focus.
  void FocBar();
  // The key of a button as its hint shows it, " (S)" or " (Ctrl+U)"; empty for none.
  std::string KeyHnt(const std::string& tbnNam) const;

protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  void AddTbn(QToolBar& tbr, TeTbn tbn, int img, int width);
  // key: from the type key, which puts the vio on the field's cursor.
  void VioClick(TeTbn tbn, std::uint8_t vioTyp, bool key = false);
  // Arrows, Enter and Escape on a focused tool button; true when taken.
  bool TbnKey(QWidget* btn, const QKeyEvent* e);
  // Hint of a tool button, fetched on every mouse movement over it.
  void MouMov(QObject* sender);

  ITbrHst& FHst;
  QToolBar* tbrVioObj = nullptr;
  QToolBar* tbrDatCom = nullptr;
  std::array<QAction*, GcTbnCnt> FTbn{};
  std::array<QAction*, GcTbnCnt> FKey{};
  std::map<const QAction*, int> FTbnImg;
  std::vector<QPixmap> FImgLst;
  // The same pictures at twice the size ("@2x" beside each file), for a
  // desktop scaled by two; null where there is none.
  std::vector<QPixmap> FImgLst2x;
  std::vector<std::string> FMisPic;
};
