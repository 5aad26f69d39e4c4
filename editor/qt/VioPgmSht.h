// The program sheet for paper: File -> Print sheet and Export sheet (PDF).
// Page one shows the program's name, its author and the date, the cells of
// the field that hold vios, drawn for paper: each vio with its caption, its
// parameters, its run-order number and its byte cost beside them, and the
// total against the byte budget (or why the program does not translate, with
// the vio that is wrong framed in red and named). Page two is an empty
// 12 x 10 grid to plan a program on, with the pictures and names of the vio
// types that the program or the open lesson uses beside it.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <string>

#include "editor/VioSht.h"

class QAction;
class QMenu;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRectF;
class QWidget;
class TPgmViw;
class TVio;
class TVioPgmItp;

class TPgmSht final : public QObject {
  Q_OBJECT

public:
  // The three items (Print sheet, Export sheet, Author) go at the end of fil.
  TPgmSht(TVioPgmItp& edt, TPgmViw& viw, QMenu* fil);
  ~TPgmSht() override;

  QAction* PrtAct() const { return FpPrtAct; }
  QAction* PdfAct() const { return FpPdfAct; }
  QAction* AutAct() const { return FpAutAct; }
  void RfsTxt();

  // Draws both pages onto a printer or PDF writer; false when it cannot be drawn on.
  bool Drw(QPagedPaintDevice& dev);
  // Writes the sheet as a PDF file: beside the target first, then renamed over
  // it, so that a failed write leaves an older file as it was. False with why.
  bool WrtPdf(const QString& path, std::string& why);
  // The author printed on the sheets: asked the first time, kept from then on.
  QString Aut();
  // Asks for the author with the kept one filled in; a cancel keeps it.
  void AskAut();

  // The byte budget the total is held against; 0: the editor's (an open
  // lesson's budget, else the robot's 255).
  void SetBdg(std::size_t bdg) { FiBdg = bdg; }

  // The tests answer these; unset, the toolkit's dialogs ask.
  // The file for Export sheet; empty: cancelled.
  void SetOnPdfPth(std::function<QString()> fn) { FOnPdfPth = std::move(fn); }
  // The print dialog: sets up the printer, true to print.
  void SetOnPrtDlg(std::function<bool(QPrinter&)> fn) { FOnPrtDlg = std::move(fn); }
  // A line of text: the caption, the question and the text filled in; false: cancelled.
  void SetOnAskTxt(std::function<bool(const QString& cap, const QString& ask, QString& txt)> fn) { FOnAskTxt = std::move(fn); }
  // The tool bar's picture of a vio type; unset or null: none in the legend.
  void SetOnVioPic(std::function<QPixmap(std::uint8_t vioTyp)> fn) { FOnVioPic = std::move(fn); }
  // Hears every text drawn on a sheet, in order.
  void SetOnTxt(std::function<void(const QString&)> fn) { FOnTxt = std::move(fn); }

private:
  std::size_t FiBdg = 0;
  std::function<void(const QString&)> FOnTxt;
  std::function<QPixmap(std::uint8_t vioTyp)> FOnVioPic;
  std::function<bool(const QString& cap, const QString& ask, QString& txt)> FOnAskTxt;
  std::function<bool(QPrinter&)> FOnPrtDlg;
  std::function<QString()> FOnPdfPth;
  QString Msg(std::uint8_t id) const;
  // Reads the kept author once; false when it has never been asked.
  bool LodAut();
  QWidget* Wnd() const;
  QString Nam() const;
  void Txt(QPainter& p, const QRectF& r, int flg, const QString& s);
  void DrwHdr(QPainter& p, const QRectF& r, const QString& aut);
  void DrwFld(QPainter& p, const QRectF& r, const TuShtPgm& s);
  // One vio in its cell c: caption, parameters, badges, a red frame when it is wrong.
  void DrwVio(QPainter& p, const QRectF& c, const TVio& v, const TuShtVio& n, bool flt);
  void DrwTot(QPainter& p, const QRectF& r, const TuShtPgm& s);
  void DrwPln(QPainter& p, const QRectF& r);
  void DrwLgd(QPainter& p, const QRectF& r);
  void Prt();
  void ExpPdf();

  TVioPgmItp& FEdt;
  TPgmViw& FViw;
  QAction* FpPrtAct = nullptr;
  QAction* FpPdfAct = nullptr;
  QAction* FpAutAct = nullptr;
  QString FsAut;
  bool FbAutKnw = false;  // the author has been read or asked
  double FdMm = 1.0;      // device pixels per millimetre while drawing
};
