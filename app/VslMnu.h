// The main window's menus beside File and Edit: Options, Language and Help,
// their texts in the window's language, and their lock while the start runs.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QAction;
class QMainWindow;
class TfrmKeyHlp;
class TVioPgmItp;
class QMenu;
class QMenuBar;
class QWidget;

class TVslMnu final : public QObject {
public:
  // wnd: the main window, over which Info shows and whose keys the list of
  // keys lists; edt: its editor (none yet: no list); lge: its language;
  // selLge: an item of the Language menu was chosen (0 English, 1 Dutch, 2 German).
  TVslMnu(QMainWindow& wnd, std::function<TVioPgmItp*()> edt, std::function<std::uint8_t()> lge,
          std::function<void(std::uint8_t idx)> selLge);

  // Adds the three menus to the bar, after File and Edit.
  void Bld(QMenuBar& bar);
  void RfsTxt(std::uint8_t lge);
  // Checks the Language item of the language, and only it.
  void ChkLge(std::uint8_t idx);
  // Options and Help are disabled while the start runs.
  void SetLck(bool locked);
  bool Lck() const;

  // The Language menu's items: 0 English, 1 Dutch, 2 German.
  QAction* LgeAct(std::uint8_t idx) const;
  QMenu& LgeMnu() const { return *mmnLge; }
  QMenu& HlpMnu() const { return *mmnHlp; }

  // The items' handlers.
  void mmnOptClick();
  void smnEngClick() { FSelLge(0); }
  void smnDutClick() { FSelLge(1); }
  void smnGerClick() { FSelLge(2); }
  void smnHlpMnlEngClick();
  void HandbuchDeutch1Click();
  void smnHlpInfClick();
  // F1, Ctrl+/: every key of the window, in its language.
  void smnHlpKeyClick();
  TfrmKeyHlp* KeyHlp() const { return FpKeyHlp; }
  // Help > First program: the guide takes it.
  QAction* FstAct() const { return smnHlpFst; }

private:
  QMainWindow& FWnd;
  std::function<TVioPgmItp*()> FEdt;
  std::function<std::uint8_t()> FLge;
  std::function<void(std::uint8_t)> FSelLge;
  QAction* mmnOpt = nullptr;
  QMenu* mmnLge = nullptr;
  QAction* smnEng = nullptr;
  QAction* smnDut = nullptr;
  QAction* smnGer = nullptr;
  QMenu* mmnHlp = nullptr;
  QAction* smnHlpMnlEng = nullptr;
  QAction* HandbuchDeutch1 = nullptr;
  QAction* smnHlpInf = nullptr;
  QAction* smnHlpKey = nullptr;
  QAction* smnHlpFst = nullptr;
  TfrmKeyHlp* FpKeyHlp = nullptr;  // a child of the window, made when first asked for
};
