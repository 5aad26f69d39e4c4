// The editor: the programming field with its vios, as a widget-free model.
//
// The model holds everything a vio is made of: its record with its cell, its
// colours and caption, and its child controls as plain data. Views show the
// model and forward user actions to it; they hear about every change through
// IVioPgmObs, never by polling. Where a vio is shown while the mouse drags it
// is the view's business (TVioDrg); the model keeps the rules it follows.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "editor/Vio.h"
#include "editor/VioPgm.h"
#include "editor/VioHst.h"
#include "editor/VioTyp.h"
#include "messages/TxtFil.h"
#include "translator/InsAndTkn.h"

class IWndMsgTgt;
class TVio;
class TVioPgmItp;
class TInsAndTkn;
class TVioDrg;
class TVioKey;
class TVioLge;
class TVioMou;
class TVioPrm;
class TVioClp;
struct TVioLsn;
struct TuVioBlk;

// Listener of the model. Every callback has an empty default.
class IVioPgmObs {
public:
  virtual ~IVioPgmObs() = default;
  virtual void VioAdd(TVio*) {}            // a vio was created (hidden until shown)
  virtual void VioRmv(TVio*) {}            // a vio is about to be deleted
  // Shown at another pixel position: the origin of its new cell, or where a drag holds it.
  virtual void VioMov(TVio*, int /*left*/, int /*top*/) {}
  virtual void VioChg(TVio*) {}            // caption changed, or the vio is complete
  virtual void VioVis(TVio*) {}            // shown or hidden
  virtual void CtlChg(TVio*, int /*ctl*/) {}  // a child control changed (any of its data)
  virtual void CtlFoc(TVio*, int /*ctl*/) {}  // the control should get the input focus
  virtual void FldClr() {}                 // every vio has been removed
  virtual void HstChg() {}                 // undo/redo availability or the unsaved mark changed
  virtual void VioBrk(TVio*) {}            // its breakpoint was set or cleared
  virtual void KeyCur() {}                 // the field's cell cursor moved
  virtual void FldShw() {}                 // the cells' size or the look changed: show every vio anew
  virtual void LsnChg() {}                 // a lesson was opened or closed
  virtual void StpEnd() {}                 // the outermost change (an edit, a load of many vios) is over
  virtual void SelChg() {}                 // the selected rectangle of cells changed
};

class TVioPgmItp {
public:
  explicit TVioPgmItp(IWndMsgTgt* owner);
  ~TVioPgmItp();
  TVioPgmItp(const TVioPgmItp&) = delete;
  TVioPgmItp& operator=(const TVioPgmItp&) = delete;

  // ---- Field and grid ------------------------------------------------------
  // Builds the programming field of the given pixel size and fixes the cell
  // size. A size of 0 (no window) gives a field of 800 x 600.
  void CrtVioFld(int width, int height);
  // Grid size (FiGrdCls x FiGrdRws) and cell size (FiCelWdt x FiCelHgt) in pixels.
  int GrdCls() const { return FPgm.GrdCls(); }
  int GrdRws() const { return FPgm.GrdRws(); }
  int CelWdt() const { return FiCelWdt; }
  int CelHgt() const { return FiCelHgt; }
  int FldWdt() const { return FiFldWdt; }
  int FldHgt() const { return FiFldHgt; }
  // How the field is shown (VioZom.cpp), neither an edit nor a step of the
  // history. The cells at a zoom step (percent of the cells the field was
  // made with); false for a value that is no step, or while a vio is dragged.
  bool SetZom(int pct);
  int Zom() const { return FiZom; }
  // The cells at 100 % at most wdt wide (at least 40, never wider than the field's own), so that the
  // grid fits where the field shares its room; shown anew as for a zoom; false while a vio is dragged.
  bool FitCelWdt(int wdt);
  // High contrast: the vios' contrast colours and symbols.
  void SetHiCtr(bool on);
  bool HiCtr() const { return FbHiCtr; }
  bool InStp() const { return FiStpDep > 0; }  // a change is under way; StpEnd follows

  // The program as plain data: the vios, the label names, the grid and its queries.
  const TVioPgm& Pgm() const { return FPgm; }
  // The vios in the field's child order (creation order).
  const std::vector<TVio*>& Vios() const { return FPgm.Vios(); }
  int GetVioCnt() const { return static_cast<int>(FPgm.Cnt()); }
  // Text of the first child of the kind with the role; empty when there is none.
  // Program logic reads the record; this is the view of a control.
  std::string GetCtlTxt(const TVio* vio, TeCtlKnd knd, std::uint8_t rol) const;

  // ---- Settings (TVioLge) ---------------------------------------------------
  // Sets the language and shows the sar vios on the field in it: each keeps
  // its token and value, its lists and names are those of the new language.
  // False with #415 naming the vios whose token has no names in it (they
  // keep their names). Defined in VioLge.cpp.
  bool SetLgeIdx(std::uint8_t idx);
  // A sar pair of a program file in the current language: a pair found only
  // in another language is replaced by the current names of its token.
  // False when no language knows the pair (the names stay as given).
  bool SarInCurLge(bool actor, std::string& typTxt, std::string& comTxt);
  void SetAvlCol(std::uint8_t col);
  std::uint8_t LgeIdx() const;
  std::uint8_t AvlCol() const;

  // ---- Lessons (TVioLge, VioLsn.cpp) ----------------------------------------
  // The lesson in force; none offers everything. Setting it refills the sar
  // lists of the vios on the field (each keeps its own type and command) and
  // tells the views. Programs are not changed by it.
  void SetLsn(std::shared_ptr<const TVioLsn> lsn);
  const TVioLsn* Lsn() const;
  // Whether the vio type is offered: the one question that the tool bar, the
  // keys and AddVio/PutVio ask.
  bool VioOfr(std::uint8_t typ) const;
  // The bytes a program may take: the lesson's budget, else the robot's 255.
  std::size_t Bdg() const;
  // The note on the vios (of the field, or of the types given) that the
  // lesson does not offer, naming each type once; empty when there are none.
  std::string LsnNot();
  std::string LsnNot(const std::vector<std::uint8_t>& typs);

  // Message text in the current language (through GuSysLgeMsg).
  std::string GetSysUsrMsg(std::uint8_t id);

  // ---- Creation and removal ------------------------------------------------
  // Adds a vio of the type next to the last placed one; false with GuLstErrMsg.
  bool AddVio(std::uint8_t typ);
  // Creates a vio of the type on the cell with default parameters. The new
  // vio, or null with GuLstErrMsg (#131 or #311).
  TVio* PutVio(std::uint8_t typ, int col, int row);

  bool CrtSmpVio(std::uint8_t typ, int col, int row);
  bool CrtDlyVio(int col, int row, const std::string& dly);
  // name: the label name to show; none to show the first item (Label) or the item at idx (Goto).
  bool CrtLblVio(int col, int row, int idx, const std::optional<std::string>& name);
  bool CrtGtoVio(int col, int row, int idx, const std::optional<std::string>& name);
  bool CrtSarVio(std::uint8_t lge, std::uint8_t avlCol, int col, int row, const std::string& typTxt,
                 const std::string& comTxt, const std::string& valTxt, bool actor);
  bool CrtSpdVio(int col, int row, std::uint8_t spd);

  // Removes the vio from the field and deletes it.
  void RmvVio(TVio* vio);
  void RmvAllVio();

  // ---- Sar lists -----------------------------------------------------------
  bool FilSarTypCbx(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, bool actor);
  bool FilSarComCbx(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, const std::string& typTxt,
                    bool actor);
  bool SetSarTkn(std::uint8_t lge, const std::string& typTxt, const std::string& comTxt, TVio* vio);
  // Shows or hides the value edit and unit label of the current vio by its sar type and command.
  void UpdActUnt();
  // Every sensor and actor name of every language, sorted, each once.
  TStrLst AllSarNam();

  // ---- User actions on controls (forwarded by the views) -------------------
  // Typing into an editable combo box or an edit.
  void SetCtlTxt(TVio* vio, int ctl, const std::string& txt);
  // Choosing an item of a combo box; runs the change handler of the sar boxes.
  void SelCtlItm(TVio* vio, int ctl, int itm);
  // Key press in a Label combo box: makes its vio the current one; Enter (13)
  // runs the label name entry. The key itself always goes on to the box.
  void LblKeyPrs(TVio* vio, char key);
  // Label name entry: the shown name joins the box's items (if no item equals
  // it without regard to case), and the label list becomes a copy of the items.
  void LblNamEnt(TVio* vio);
  // Goto combo box gained the focus: refresh its items from the label list.
  void GtoLblRfs(TVio* vio);
  // Key filter of the Actor value edit (3 digits) and the speed edit (2 digits):
  // sets the maximum length; true when the key is accepted.
  bool DgtFlt(TVio* vio, int ctl, char key);
  // The speed edit gained the focus: the number of characters to select.
  int SpdFocGai(TVio* vio);
  // Focus-loss checks; true when the value passed. A failed check shows its
  // error box, sets its input-error flag and asks for the focus back.
  bool ChkDlyVal(TVio* vio);
  bool ChkDstVal(TVio* vio);
  bool ChkSpdVal(TVio* vio);
  // The gate of the tool bar commands, after the focus has left the edits:
  // true while a refused value stands. A refused value whose check did not
  // just run (the focus went straight into another vio) is checked again, so
  // that the command is never refused without its box, and a value corrected
  // meanwhile clears its flag.
  bool ChkPndInp(unsigned rfsBfr);
  // Refusals so far: the gate's mark of whether a check just said why.
  unsigned RfsCnt() const;
  // Change of the sar type or command combo box.
  void SarTypChg(TVio* vio);
  void SarComChg(TVio* vio);

  // Checks the numeric parameters of a vio as they will be sent to the robot
  // (values a file brought in are not checked when the vio is created):
  //  - Delay: the leading number of the role-3 edit lies in 0..255 (#410);
  //  - Actor: the leading number of the role-3 edit lies in 0..255 (#411);
  //    an empty text counts as 0;
  //  - engine speed: the role-6 text is a whole number (#412) of at least 1 (#413).
  // Other vios always pass. False with a message naming the vio and its cell
  // in GuLstErrMsg; the caller makes the vio blink. The translator calls it for
  // every walked vio before generating tokens.
  bool ChkVioPrm(const TVio* vio);

  // ---- Positions and the mouse (TVioMou, positions in field pixels) --------
  struct TuPos {
    int X = 0, Y = 0;
    bool operator==(const TuPos&) const = default;
  };
  struct TuCel {
    int Col = 0, Row = 0;
  };
  // A glue candidate of a drag: signed distance and side ('L', 'R', 'T', 'B').
  struct TuGluCnd {
    int Dst = 0;
    char Sid = 'L';
  };
  // Where a dragged vio is shown, and the candidates that glued it there.
  struct TuGlu {
    TuPos Pos;
    std::vector<TuGluCnd> Cnd;
  };
  // Puts the vio on the cell's origin and records the cell as the last placed one.
  void PutVioOnCel(TVio* vio, int col, int row);
  // The glue rule: the vio, standing at `at`, is wanted at (l, t). At the
  // border it is clamped and never glued. Otherwise the occupied neighbour
  // cells of the nearest cell (the dragged vio counting where it stands)
  // closer than 25 pixels along their side are the candidates, by distance;
  // with any, the vio snaps onto the nearest cell.
  TuGlu GluVio(const TVio* vio, TuPos at, int l, int t) const;
  // The drop rule: the nearest cell of (l, t) (half-way rounds to the next)
  // when it lies in the grid and no other vio stands on it, otherwise the
  // cell of the vio's record.
  TuCel DrpCel(const TVio* vio, int l, int t) const;
  // Drops the vio shown at (l, t) onto DrpCel and records the cell.
  void DrpVio(TVio* vio, int l, int t);
  // Tells the views that a drag shows the vio at (l, t); its record stays.
  void ShwVioAt(TVio* vio, int l, int t);
  int CurCol() const { return FiCurCol; }
  int CurRow() const { return FiCurRow; }

  // The views forward the events of the vio panels through a TVioDrg.
  enum class TeMouBtn : std::uint8_t { Lft, Rgt, Oth };
  // A press on the vio (or on its caption label): false when it is ignored
  // (the Start action runs, or the press re-arms the mouse); a left or right
  // press makes the vio the current one; true for a left press.
  bool VioPrs(TVio* vio, TeMouBtn btn);
  // Right release: after a context-menu request, removes the current vio
  // through the main window.
  void VioRgtUp();
  // The platform's context-menu request on a vio.
  void VioCtxPop();
  // Double click on a Start vio: runs the hook (SetOnStaDblClk), StaRun()
  // meanwhile; a failure shows GuLstErrMsg and disarms the next press.
  void StaDblClk();
  void SetOnStaDblClk(std::function<bool()> fn);
  // The Start action runs: presses, drags and the vio keys are ignored.
  bool StaRun() const;
  void SetStaRun(bool on);
  // The next press counts (false once after a failed Start action).
  bool MouArm() const;
  // The drag of the view that shows the field; a vio is being dragged.
  void SetDrg(const TVioDrg* drg);
  bool VioDrg() const;

  // ---- The keyboard (TVioKey) ----------------------------------------------
  // The field's cell cursor: the type keys put a vio on its cell, the other
  // keys act on the vio standing there. It never leaves the grid, belongs to
  // no program (no undo step) and starts on (0, 0).
  int KeyCol() const;
  int KeyRow() const;
  // Puts the cursor on the cell, brought into the grid.
  void SetKeyCur(int col, int row);
  // The vio on the cursor's cell (the last made, where a file stacked two); null when none.
  TVio* KeyVio() const;
  // The keys the field knows. F2 is Enter's twin; Chr is a letter (the type keys).
  enum class TeKey : std::uint8_t { Lft, Rgt, Upp, Dwn, Del, Ent, Chr };
  // A key on the field; ctl: Control held. An arrow moves the cursor (it stops at the border) and
  // makes the vio there the current one (none on an empty cell); Control+arrow moves the vio under
  // it one cell by the drag's glue and drop rules (a taken cell or the border leaves it where it
  // is), one undo step, the cursor following it; Delete removes it as a right click does; Enter
  // asks for the focus in its first parameter; a type key adds a vio through SetOnTypKey's hook (AddVioKey
  // when unset). True when the key belongs to the field.
  bool FldKey(TeKey key, bool ctl, char chr = 0);
  // The type key's work: a vio of the type on the cursor's cell when it is
  // free, else where its tool button puts it (AddVio); the cursor goes to it.
  bool AddVioKey(std::uint8_t typ);
  // The letter of a vio type's key ('S' Start ...), and the type of a letter
  // (either case); -1 for a letter that is no type key.
  static char VioTypKey(std::uint8_t typ);
  static int KeyVioTyp(char chr);
  // The vio's parameter controls as Tab visits them (visible, enabled combo
  // boxes and edits in child order): the one after ctl (before it when back),
  // round the vio; from -1, the first (the last when back). -1 when none.
  int PrmCtl(const TVio* vio, int ctl, bool back) const;
  // Escape in a parameter control: the cursor goes onto its vio.
  void PrmEsc(const TVio* vio);
  // The type keys' way through the tool bar's gate and button rules.
  void SetOnTypKey(std::function<void(std::uint8_t vioTyp)> fn);

  // ---- Selection and clipboard (TVioClp, VioClp.cpp) --------------------------
  // The selection: a rectangle of cells (Shift+arrows from the cell cursor, a
  // rubber band), else the current vio, else the vio under the cell cursor.
  // It is no edit and no step; an arrow without Shift or a press on a vio drops the rectangle.
  struct TuRct {
    int Col0 = 0, Row0 = 0, Col1 = 0, Row1 = 0;  // inclusive, Col0 <= Col1, Row0 <= Row1
    bool operator==(const TuRct&) const = default;
  };
  const std::optional<TuRct>& SelRct() const;
  // The rectangle between two corners in any order, brought into the grid.
  void SetSelRct(int col0, int row0, int col1, int row1);
  void ClrSel();
  // Shift+arrow: the cursor moves and the rectangle spans from where it was first to where it is.
  bool SelKey(TeKey key);
  // The vios of the selection in the field's child order.
  std::vector<TVio*> SelVios() const;
  // The selection as the lines of a program file, its top-left vio on cell 1, 1, ended by "EOF".
  // False with GuLstErrMsg when nothing is selected.
  bool CpyVio(std::string& txt);
  // Copy, and the vios go: one undo step.
  bool CutVio(std::string& txt);
  // The text's vios with their top-left one on the cell cursor, one undo step, the rectangle
  // selected. A Start or switch interrupt vio the field has already is left out and told in note
  // (the rest is pasted). False with GuLstErrMsg, nothing changed: not a program, a cell taken or
  // outside the grid, nothing left to paste.
  bool PstVio(const std::string& txt, std::string& note);
  // Copy and paste right of the selection, else below it, where the cells are free.
  bool DupVio(std::string& note);

  // ---- Program files -------------------------------------------------------
  bool SavVioFil(const std::string& path);
  // sav = false loads the program as one with unsaved changes (a recovery
  // copy): the program saved last stays what it was.
  bool LodVioFil(const std::string& path, bool sav = true);
  // Builds the lines of the program file from the field; false on #018/#019.
  bool BldVioLns(TStrLst& lines);
  // Writes the lines, each ended by CR LF, beside the file and renames them
  // over it, so that a failed write never destroys the file there before;
  // why, if given, receives the reason of a failure.
  static bool WrtVioLns(const TStrLst& lines, const std::string& path, std::string* why = nullptr);

  // ---- Undo history (TVioHst, recorded in VioHst.cpp) -------------------------------------------
  // Every finished user action that changes the program file is one step;
  // typing on in the same control extends the step. Opening a file is a step
  // too. Undo and Redo put the field back exactly as it was (vios, label list,
  // input-error flags); the loader sets the Start and SwiInt tool buttons.
  static constexpr std::size_t GcMaxUndStp = TVioHst::GcMaxStp;
  bool CanUnd() const { return FHst.CanUnd(); }
  bool CanRed() const { return FHst.CanRed(); }
  bool Und();
  bool Red();
  // Takes the last step back for good (a file that failed half way in).
  bool DrpStp();
  // Forgets every step; the field as it is becomes the start of the history.
  void ClrHst();
  // Changes not yet saved: the program differs from the one last saved or opened.
  bool Drt() const;
  // The field as it is counts as saved.
  void MrkSav();
  // Steps held (the start included).
  std::size_t HstCnt() const { return FHst.Cnt(); }
  // The file the program on the field belongs to: the one opened, or saved
  // last; empty for a program that has never been in a file. Undo and Redo
  // across an Open bring back the earlier program's file and saved state.
  const std::string& DocNam() const { return FpDoc->Nam; }

  // ---- Breakpoints (VioBrk.cpp) ---------------------------------------------
  // A breakpoint belongs to its vio and to the program in memory: it is no
  // edit (no undo step, no unsaved mark) and never goes into the file. A vio
  // that goes takes its breakpoint along and an opened program has none; undo
  // and redo keep it on a vio of the same type that comes back on its cell.
  // False (nothing changes) for a vio that is not on the field.
  bool SetBrk(TVio* vio, bool on);
  bool TglBrk(TVio* vio) { return vio && SetBrk(vio, !vio->Brk()); }
  // The vios with a breakpoint, in the field's child order.
  std::vector<TVio*> BrkVios() const;

  // ---- Observers -----------------------------------------------------------
  void AddObs(IVioPgmObs* obs);
  void RmvObs(IVioPgmObs* obs);

  // ---- Translation (VioTrn.cpp) -------------------------------------------
  // Translates the field into the editor's own stream (Trn); false with
  // GuLstErrMsg, the failing vio asked to blink.
  bool TrnVioPgm();
  // The stream of the last TrnVioPgm: what an upload sends.
  const TInsAndTkn& Trn() const { return *FpInsAndTkn; }
  // The same translation into trn, with the editor's sensor/actor definitions,
  // asking the window for no blink: for views that follow every edit. blk,
  // when given, is set to the index of the vio that would blink (-1: none).
  bool TrnVioPgmQui(TInsAndTkn& trn, int* blk = nullptr);
  std::string GetVioErrMsg(std::uint8_t vioTyp, std::uint8_t msgId);
  // The program as the translator reads it: every vio in the field's child
  // order (a vio's index there is its index in Vios()), and one vio alone.
  // The last-error text is left as it was.
  TuPgmDsc BldPgmDsc();
  TuPgmVio DscVio(const TVio* vio);
  // The vio of a translation's record (the vios as they were when it was
  // translated); null when none.
  static TVio* TknVio(const TuExtComTkn& rec, const std::vector<TVio*>& vios);

  IWndMsgTgt* OwnFrm() const { return FpOwnFrm; }
  TSarAndTkn& SarAndTkn() { return *FpInsAndTkn->FpSarAndTkn; }

  // The current vio: the one the vio menu, the breakpoint key and a removal
  // act on; null when none.
  TVio* CurVio() const { return FpCurVio; }
  void SetCurVio(TVio* vio) { FpCurVio = vio; }
  // The input-error flags: a delay, engine speed or distance value was
  // refused and still stands (ChkPndInp checks it again). SetDlyErr marks the
  // delay value refused, or passed, without a vio to check it on.
  bool DlyErr() const { return FbDlyErr; }
  bool SpdErr() const { return FbSpdErr; }
  bool DstErr() const { return FbDstErr; }
  void SetDlyErr(bool on) { FbDlyErr = on; }

  // The loader enables (true) or disables (false) the Start or SwiInt tool button.
  void SetOnTbnEna(std::function<void(std::uint8_t vioTyp, bool ena)> fn) { FOnTbnEna = std::move(fn); }

private:
  TVio* FpCurVio = nullptr;
  bool FbDlyErr = false;
  bool FbSpdErr = false;
  bool FbDstErr = false;
  std::function<void(std::uint8_t vioTyp, bool ena)> FOnTbnEna;
  std::unique_ptr<TInsAndTkn> FpInsAndTkn;
  bool TrnVioPgmInt(TInsAndTkn& trn, bool blk, int* blkIdx = nullptr);
  // Writes the walk's links into the records of the vios it passed.
  void SetWlkLnk(const TInsAndTkn& trn);
  friend class TVio;
  // The controllers of the field, each in its own files, work on the editor's own state.
  friend class TVioPrm;
  friend class TVioMou;
  friend class TVioKey;
  friend class TVioLge;
  friend class TVioClp;
  std::unique_ptr<TVioPrm> FpPrm;
  std::unique_ptr<TVioMou> FpMou;
  std::unique_ptr<TVioKey> FpKey;
  std::unique_ptr<TVioLge> FpLge;
  std::unique_ptr<TVioClp> FpClp;
  using TuVioDoc = TVioHst::TuDoc;
  using TuVioSnp = TVioHst::TuSnp;
  // Held by every user action: the outermost one records the step when it ends.
  class TStpGrd {
  public:
    explicit TStpGrd(TVioPgmItp& e, const TVio* mrgVio = nullptr, int mrgCtl = -1);
    ~TStpGrd();
    TStpGrd(const TStpGrd&) = delete;
    TStpGrd& operator=(const TStpGrd&) = delete;

  private:
    TVioPgmItp& FEdt;
  };
  // Held while the field changes without being an edit (a restored step, a
  // language switch): nothing is recorded meanwhile.
  class TNoRcd {
  public:
    explicit TNoRcd(TVioPgmItp& e);
    ~TNoRcd();
    TNoRcd(const TNoRcd&) = delete;
    TNoRcd& operator=(const TNoRcd&) = delete;

  private:
    TVioPgmItp& FEdt;
    bool FbOff;
  };
  // Where the breakpoints stand while the field is built anew (undo, redo):
  // each goes back onto the vio of its type on its cell, else onto the vio
  // of its type at its place in the child order (a vio moved back).
  struct TuBrkAt {
    std::size_t Idx;
    int Col, Row;
    std::uint8_t Typ;
  };
  std::vector<TuBrkAt> TakBrk() const;
  void PutBrk(const std::vector<TuBrkAt>& brk);
  TuVioSnp TakSnp();
  void RcdStp(const TVio* mrgVio, int mrgCtl);
  bool RstSnp(const TuVioSnp& snp);
  void NtfHst();
  bool LodVioStm(std::istream& in, const std::string& path, bool exact);
  // The file's reader and the one vio of a block, moved by (dc, dr); qui: no box for a keyword.
  bool PrsVioTxt(std::istream& in, const std::string& path, std::vector<TuVioBlk>& blks, bool qui);
  bool CrtBlkVio(const TuVioBlk& b, int dc, int dr, bool exact);
  bool BldVioLns(TStrLst& lines, const std::vector<TVio*>& vios, int dc, int dr);
  TVioHst FHst;
  int FiStpDep = 0;
  bool FbHstOff = false;  // restoring: nothing is recorded
  bool FbNoFoc = false;   // pasting: the new vios ask for no focus
  const TVio* FpMrgVio = nullptr;  // the outermost action's typing control
  int FiMrgCtl = -1;
  std::shared_ptr<TuVioDoc> FpDoc = std::make_shared<TuVioDoc>();

  TVio* CrtVioPnl(std::uint8_t typ, int col, int row);
  int AddCtl(TVio* vio, const TVioCtl& ctl);
  void ShwVio(TVio* vio, bool prcMsg);
  void NtfVioVis(TVio* vio);
  void NtfCtl(TVio* vio, int ctl);
  void ReqFoc(TVio* vio, int ctl);
  bool OwnsVio(const TVio* vio) const { return FPgm.Has(vio); }
  bool CrtLblOrGto(std::uint8_t typ, int col, int row, int idx, const std::optional<std::string>& name);
  // The steps of CrtSarVio: the type and command boxes, filled, showing the
  // wanted items (the first ones when none is wanted), and the vio's token;
  // false with GuLstErrMsg. The item a box shows, as the list spells it, is
  // what later lookups compare with.
  bool AddSarBxs(TVio* vio, std::uint8_t lge, std::uint8_t avlCol, const std::string& typTxt,
                 const std::string& comTxt, bool actor);
  bool ShwSarItm(TVio* vio, int ctl, const std::string& want, const std::string& noneMsg,
                 const std::string& misMsg, std::string& shown);
  // The Actor's value edit and its unit label.
  void AddActVal(TVio* vio, const std::string& valTxt);
  // A sar vio of a program file, whose names may be those of another language.
  bool CrtFilSarVio(int col, int row, std::string typTxt, std::string comTxt, const std::string& valTxt,
                    bool actor);


  IWndMsgTgt* FpOwnFrm;
  int FiCurCol = -1;
  int FiCurRow = -1;
  int FiCelWdt = 66;
  int FiCelHgt = 60;
  int FiFldWdt = 800;
  int FiFldHgt = 600;
  int OwnBasWdt() const { return FiFldWdt * 66 / 800; }  // the field's own cells at 100 %
  int FiBasWdt = 66, FiBasHgt = 60;  // the cells at 100 %
  int FiZom = 100;
  bool FbHiCtr = false;
  TVioPgm FPgm;
  std::vector<IVioPgmObs*> FpObsLst;
  // The vio whose refused value set each input-error flag: removing it clears the flag.
  const TVio* FpDlyErrVio = nullptr;
  const TVio* FpSpdErrVio = nullptr;
  const TVio* FpDstErrVio = nullptr;
};
