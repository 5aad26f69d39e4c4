// The main window's programming field: the scroll area and the field below
// the tool bars, the views over the editor (the vios, the field's keys, the
// meter, listing and picture, the screen reader's names), the built-in
// robot's pane beside it, its cells, and the background picture that drifts
// while the user is idle.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QTimer>

#include <cstdint>
#include <memory>

class QScrollArea;
class QSize;
class QWidget;
class TBkgDrf;
class TfrmVslCnv;
class TPgmViw;
class TRbtMon;
class TSimPan;
class TVioFldKey;
class TVioFldSel;
class TVioFldViw;
class TVioPgmItp;
class TVslAcc;
class TVslSet;
struct TVslCnvCfg;

class TVslFld final : public QObject {
public:
  // cfg: the window's, which outlives the field.
  TVslFld(TfrmVslCnv& wnd, const TVslCnvCfg& cfg);
  ~TVslFld() override;
  TVslFld(const TVslFld&) = delete;
  TVslFld& operator=(const TVslFld&) = delete;

  // The scroll area and the field, as the window's central widget.
  void Bld();
  // The views over the editor (none yet: nothing), once, after the window has taken its size.
  // Until the intro ends, an empty field takes its cells again from the
  // maximized window once a window manager has framed and maximized it.
  void CrtViw(TVioPgmItp* edt, TVslSet& set);
  // The background picture (a missing one is reported with the pictures) and its drift.
  void ShwBckImg();
  void StaBkgDrf();
  // The cells stay as they are from now on (the intro has ended).
  void FixCel() { FbCelFix = true; }
  // The background follows the field's size.
  void Rsz();
  void RfsTxt(std::uint8_t lge);
  // The views go, before the editor does: the names, the pane, the views.
  void EndViw();

  QWidget& Pnl() const { return *pnlVioFld; }
  QScrollArea& Scr() const { return *scbVioFld; }
  TVioFldViw* Viw() const { return FpVioFldViw.get(); }
  TVioFldKey* Key() const { return FpVioFldKey.get(); }
  TPgmViw* PgmViw() const { return FpPgmViw.get(); }
  TSimPan* SimPan() const { return FpSimPan; }  // none before the views
  TRbtMon* RbtMon() const { return FpRbtMon; }  // the robot monitor; none before the views
  TVslAcc* Acc() const { return FpAcc.get(); }  // the names for a screen reader; none before the views
  TBkgDrf* BkgDrf() const { return FpBkgDrf.get(); }
  const QPixmap& BckBmp() const { return FpBckBmp; }
  QTimer& TmrMovBckGndPic() { return tmrMovBckGndPic; }
  bool CelFix() const { return FbCelFix; }

protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

private:
  void FitCelToWnd();
  void MakCel(QSize fld);

  TfrmVslCnv& FWnd;
  TVioPgmItp* FpEdt = nullptr;  // from the views on
  const TVslCnvCfg& FCfg;
  // It keeps the size of its grid when the window is made smaller, and the
  // scroll area around it lets the user reach the vios that no longer fit.
  QScrollArea* scbVioFld = nullptr;
  QWidget* pnlVioFld = nullptr;
  std::unique_ptr<TVioFldViw> FpVioFldViw;
  std::unique_ptr<TVioFldKey> FpVioFldKey;  // the field's keys and focus frame
  std::unique_ptr<TVioFldSel> FpVioFldSel;  // the selected rectangle and its rubber band
  std::unique_ptr<TPgmViw> FpPgmViw;        // meter, listing, picture, run highlight
  TSimPan* FpSimPan = nullptr;              // the built-in robot's pane, a child of the window
  TRbtMon* FpRbtMon = nullptr;              // the robot monitor, a child of the window
  std::unique_ptr<TVslAcc> FpAcc;
  QPixmap FpBckBmp;
  QTimer tmrMovBckGndPic;
  // Keeps the background picture over the field and lets it drift when idle.
  std::unique_ptr<TBkgDrf> FpBkgDrf;
  bool FbCelFix = false;
};
