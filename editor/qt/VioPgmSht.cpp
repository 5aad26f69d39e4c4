#include "editor/qt/VioPgmSht.h"

#include <QAction>
#include <QBuffer>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <array>

#include "core/SafFil.h"
#include "core/Seams.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioPgmViw.h"

namespace {

// How much larger than on screen the field's picture is taken.
constexpr double GcShtScl = 2.0;
// Sizes on the page, in millimetres.
constexpr double GcMrg = 10, GcHdr = 15, GcFtr = 17, GcTagHgt = 5.2, GcLgdWdt = 64;
// The vios in the order of the tool bar.
constexpr std::array<std::uint8_t, GcVioTypCnt> GcLgdOrd = {VT_STA, VT_STO, VT_IFF, VT_THN, VT_ELS, VT_LBL, VT_GTO,
                                                            VT_DLY, VT_ACT, VT_SNS, VT_SPD, VT_SWI, VT_RTI};
const QColor GcOrdClr(31, 60, 136);   // the run-order tag
const QColor GcBytClr(160, 82, 0);    // the border of the byte tag
const QColor GcErrClr(192, 0, 0);

QColor QClr(std::int32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QFont Fnt(double px, bool bold = false) {
  QFont f("Sans Serif");
  f.setPixelSize(std::max(1, static_cast<int>(px)));
  f.setBold(bold);
  return f;
}

// A4 on its side: the field and the planning grid are wider than high.
QPageLayout ShtLay() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(GcMrg, GcMrg, GcMrg, GcMrg),
                     QPageLayout::Millimeter);
}

// A number in a small tag: the run order white on blue, the bytes black in
// an orange frame. at is the corner of the tag given by cor.
QRectF Tag(QPainter& p, double mm, QPointF at, Qt::Corner cor, bool ord, const QString& n) {
  const double h = GcTagHgt * mm;
  p.setFont(Fnt(h * 0.7, true));
  const double w = std::max(h, QFontMetricsF(p.font(), p.device()).horizontalAdvance(n) + 1.8 * mm);
  if (cor == Qt::BottomRightCorner) at -= QPointF(w, h);
  const QRectF r(at, QSizeF(w, h));
  p.setPen(ord ? QPen(GcOrdClr, 0.3 * mm) : QPen(GcBytClr, 0.45 * mm));
  p.setBrush(ord ? QBrush(GcOrdClr) : QBrush(Qt::white));
  p.drawRoundedRect(r, h / 2, h / 2);
  p.setPen(ord ? Qt::white : Qt::black);
  p.setBrush(Qt::NoBrush);
  return r;
}

}  // namespace

TPgmSht::TPgmSht(TVioPgmItp& edt, TPgmViw& viw, QMenu* fil) : QObject(&viw), FEdt(edt), FViw(viw) {
  if (!fil) return;
  fil->addSeparator();
  FpPrtAct = fil->addAction(QString());
  FpPrtAct->setObjectName("smnShtPrt");
  connect(FpPrtAct, &QAction::triggered, this, &TPgmSht::Prt);
  FpPdfAct = fil->addAction(QString());
  FpPdfAct->setObjectName("smnShtPdf");
  connect(FpPdfAct, &QAction::triggered, this, &TPgmSht::ExpPdf);
  FpAutAct = fil->addAction(QString());
  FpAutAct->setObjectName("smnShtAut");
  connect(FpAutAct, &QAction::triggered, this, &TPgmSht::AskAut);
  RfsTxt();
}

TPgmSht::~TPgmSht() = default;

QString TPgmSht::Msg(std::uint8_t id, const char* dft) const {
  const std::string s = FEdt.GetSysUsrMsg(id);
  return s.empty() ? QString::fromLatin1(dft) : VioQStr(s);
}

void TPgmSht::RfsTxt() {
  if (FpPrtAct) FpPrtAct->setText(Msg(SUM_SHT_PRT, "Print sheet..."));
  if (FpPdfAct) FpPdfAct->setText(Msg(SUM_SHT_PDF, "Export sheet (PDF)..."));
  if (FpAutAct) FpAutAct->setText(Msg(SUM_SHT_AUT, "Author..."));
}

QString TPgmSht::Nam() const {
  const QString n = QFileInfo(VioQStr(FEdt.DocNam())).completeBaseName();
  return n.isEmpty() ? Msg(SUM_SHT_UNT, "untitled") : n;
}

bool TPgmSht::LodAut() {
  std::string n;
  if (!FbAutKnw && RedShtAut(n)) {
    FsAut = VioQStr(n);
    FbAutKnw = true;
  }
  return FbAutKnw;
}

QString TPgmSht::Aut() {
  if (!LodAut()) AskAut();
  return FsAut;
}

QWidget* TPgmSht::Wnd() const { return FViw.MtrLbl() ? FViw.MtrLbl()->window() : nullptr; }

void TPgmSht::AskAut() {
  const QString cap = Msg(SUM_SHT_AUT, "Author...").remove("...").remove('&');
  const QString ask = Msg(SUM_SHT_AUT_ASK, "Your name, printed on the program sheets:");
  QString txt = FsAut;
  bool ok;
  if (FOnAskTxt) {
    ok = FOnAskTxt(cap, ask, txt);
  } else {
    txt = QInputDialog::getText(Wnd(), cap, ask, QLineEdit::Normal, txt,
                                &ok);
  }
  // The first question is answered by a cancel too: the sheets then go without a name.
  if (!ok && FbAutKnw) return;
  FsAut = ok ? txt.simplified() : QString();
  FbAutKnw = true;
  KepShtAut(VioStdStr(FsAut));
}

void TPgmSht::Txt(QPainter& p, const QRectF& r, int flg, const QString& s) {
  p.drawText(r, flg, s);
  if (FOnTxt) FOnTxt(s);
}

bool TPgmSht::Drw(QPagedPaintDevice& dev) {
  QPainter p;
  if (!p.begin(&dev)) return false;
  const int res = dev.logicalDpiX();
  FdMm = res / 25.4;
  const QRectF pg(QPointF(), QSizeF(dev.pageLayout().paintRectPixels(res).size()));
  const double mm = FdMm;
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QString aut = LodAut() ? FsAut : QString();
  // Page one: the program with its numbers.
  const TuShtPgm s = ShtPgm(FEdt, Bdg);
  DrwHdr(p, QRectF(pg.x(), pg.y(), pg.width(), GcHdr * mm), aut);
  DrwFld(p, pg.adjusted(0, (GcHdr + 3) * mm, 0, -GcFtr * mm), s);
  DrwTot(p, QRectF(pg.x(), pg.bottom() - (GcFtr - 2) * mm, pg.width(), (GcFtr - 2) * mm), s);
  // Page two: the planning grid with the legend.
  if (!dev.newPage()) {
    p.end();
    return false;
  }
  DrwHdr(p, QRectF(pg.x(), pg.y(), pg.width(), GcHdr * mm), aut);
  const QRectF bdy = pg.adjusted(0, (GcHdr + 3) * mm, 0, 0);
  DrwPln(p, bdy.adjusted(0, 0, -(GcLgdWdt + 6) * mm, 0));
  DrwLgd(p, QRectF(bdy.right() - GcLgdWdt * mm, bdy.y(), GcLgdWdt * mm, bdy.height()));
  return p.end();
}

void TPgmSht::DrwHdr(QPainter& p, const QRectF& r, const QString& aut) {
  const double mm = FdMm;
  p.setPen(Qt::black);
  p.setFont(Fnt(7.5 * mm, true));
  Txt(p, r.adjusted(0, 0, -70 * mm, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Nam());
  p.setFont(Fnt(4 * mm));
  const QRectF rgt(r.right() - 70 * mm, r.y(), 70 * mm, r.height() / 2);
  if (!aut.isEmpty())
    Txt(p, rgt, Qt::AlignRight | Qt::AlignVCenter, Msg(SUM_SHT_BY, "Author:") + " " + aut);
  Txt(p, rgt.translated(0, r.height() / 2), Qt::AlignRight | Qt::AlignVCenter,
      QDate::currentDate().toString(Qt::ISODate));
  p.setPen(QPen(Qt::black, 0.4 * mm));
  p.drawLine(QPointF(r.left(), r.bottom() + mm), QPointF(r.right(), r.bottom() + mm));
}

void TPgmSht::DrwFld(QPainter& p, const QRectF& r, const TuShtPgm& s) {
  const double mm = FdMm;
  const QImage all = FViw.FldImg(GcShtScl);
  if (all.isNull()) return;
  // The grid and whatever vio stands beside it: the rest of a larger window's field is empty.
  QRect use(0, 0, FEdt.GrdCls() * FEdt.CelWdt(), FEdt.GrdRws() * FEdt.CelHgt());
  for (const TVio* v : FEdt.Vios()) use |= QRect(v->Left(), v->Top(), v->Width(), v->Height());
  const QImage img = all.copy(QRect(use.topLeft() * GcShtScl, use.size() * GcShtScl) & all.rect());
  const QSizeF sz = QSizeF(img.size()).scaled(r.size(), Qt::KeepAspectRatio);
  const QRectF at(r.x() + (r.width() - sz.width()) / 2, r.y() + (r.height() - sz.height()) / 2, sz.width(),
                  sz.height());
  p.drawImage(at, img);
  p.setPen(QPen(Qt::gray, 0.3 * mm));
  p.drawRect(at);
  const double f = sz.width() * GcShtScl / img.width();  // field pixels to the page's
  const auto& vios = FEdt.Vios();
  for (std::size_t i = 0; i < s.Vio.size() && i < vios.size(); ++i) {
    if (s.Vio[i].Ord == 0) continue;
    const TVio* v = vios[i];
    const QRectF c(at.x() + (v->Left() - use.x()) * f, at.y() + (v->Top() - use.y()) * f, v->Width() * f,
                   v->Height() * f);
    const QRectF in = c.adjusted(0.7 * mm, 0.7 * mm, -0.7 * mm, -0.7 * mm);
    const QString ord = QString::number(s.Vio[i].Ord), byt = QString::number(s.Vio[i].Byt);
    Txt(p, Tag(p, mm, in.topLeft(), Qt::TopLeftCorner, true, ord), Qt::AlignCenter, ord);
    Txt(p, Tag(p, mm, in.bottomRight(), Qt::BottomRightCorner, false, byt), Qt::AlignCenter, byt);
  }
}

void TPgmSht::DrwTot(QPainter& p, const QRectF& r, const TuShtPgm& s) {
  const double mm = FdMm;
  const QString byt = Msg(SUM_MTR_BYT, "bytes");
  if (!s.Ok) {
    p.setPen(GcErrClr);
    p.setFont(Fnt(4.2 * mm, true));
    Txt(p, r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        Msg(SUM_MTR_NOT_TRN, "The program cannot be sent yet:") + " " + VioQStr(s.Why));
    return;
  }
  p.setPen(s.Ovr() ? GcErrClr : Qt::black);
  p.setFont(Fnt(5 * mm, true));
  QString tot = QString("%1 / %2 %3").arg(s.Len).arg(s.Bdg).arg(byt);
  if (s.Ovr()) tot += "  " + Msg(SUM_SHT_OVR, "Too many bytes for the budget.");
  const QRectF top(r.x(), r.y(), r.width(), r.height() / 2);
  Txt(p, top, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, tot);
  // The key to the two tags.
  const QRectF key = top.translated(0, r.height() / 2);
  const double y = key.center().y() - GcTagHgt * mm / 2;
  double x = key.x();
  for (bool ord : {true, false}) {
    const QString n = ord ? "1" : "3";
    const QRectF t = Tag(p, mm, QPointF(x, y), Qt::TopLeftCorner, ord, n);
    Txt(p, t, Qt::AlignCenter, n);
    p.setPen(Qt::black);
    p.setFont(Fnt(4 * mm));
    const QString txt = ord ? Msg(SUM_SHT_ORD, "run order") : byt;
    // As wide as the text: a long key is never cut short.
    const QRectF tr(t.right() + 2 * mm, key.y(), QFontMetricsF(p.font(), p.device()).horizontalAdvance(txt) + mm,
                    key.height());
    Txt(p, tr, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, txt);
    x = tr.right() + 7 * mm;
  }
}

void TPgmSht::DrwPln(QPainter& p, const QRectF& r) {
  const double mm = FdMm;
  p.setPen(Qt::black);
  p.setFont(Fnt(4.5 * mm, true));
  Txt(p, QRectF(r.x(), r.y(), r.width(), 8 * mm), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
      Msg(SUM_SHT_PLN, "Plan your program: draw the vios into the cells."));
  // The cells keep the field's proportions; numbers above and to the left name them as the files do.
  const int cls = FEdt.GrdCls(), rws = FEdt.GrdRws();
  const double asp = static_cast<double>(FEdt.CelWdt()) / std::max(1, FEdt.CelHgt());
  const double lbl = 6 * mm, avlW = r.width() - lbl, avlH = r.height() - 9 * mm - lbl;
  const double cw = std::min(avlW / cls, avlH / rws * asp), ch = cw / asp;
  const QPointF o(r.x() + lbl, r.y() + 9 * mm + lbl);
  p.setFont(Fnt(3.2 * mm));
  p.setPen(Qt::darkGray);
  for (int c = 0; c < cls; ++c)
    Txt(p, QRectF(o.x() + c * cw, o.y() - lbl, cw, lbl), Qt::AlignCenter, QString::number(c + 1));
  for (int w = 0; w < rws; ++w)
    Txt(p, QRectF(o.x() - lbl, o.y() + w * ch, lbl, ch), Qt::AlignCenter, QString::number(w + 1));
  p.setPen(QPen(QColor(150, 150, 150), 0.25 * mm));
  for (int c = 0; c <= cls; ++c) p.drawLine(QPointF(o.x() + c * cw, o.y()), QPointF(o.x() + c * cw, o.y() + rws * ch));
  for (int w = 0; w <= rws; ++w) p.drawLine(QPointF(o.x(), o.y() + w * ch), QPointF(o.x() + cls * cw, o.y() + w * ch));
  p.setPen(QPen(Qt::black, 0.5 * mm));
  p.drawRect(QRectF(o, QSizeF(cls * cw, rws * ch)));
}

void TPgmSht::DrwLgd(QPainter& p, const QRectF& r) {
  const double mm = FdMm;
  const double top = r.y() + 9 * mm;
  const double rh = std::min(12 * mm, (r.bottom() - top) / static_cast<double>(GcLgdOrd.size()));
  const double pic = rh * 0.8;
  for (std::size_t i = 0; i < GcLgdOrd.size(); ++i) {
    const std::uint8_t t = GcLgdOrd[i];
    const QRectF row(r.x(), top + static_cast<double>(i) * rh, r.width(), rh);
    const QRectF pr(row.x(), row.y() + (rh - pic) / 2, pic, pic);
    const QPixmap pm = FOnVioPic ? FOnVioPic(t) : QPixmap();
    if (!pm.isNull()) p.drawPixmap(pr, pm, QRectF(pm.rect()));
    // The name on a block of the vio's colour, as the field shows it.
    const QRectF blk(pr.right() + 3 * mm, pr.y(), row.width() - pic - 3 * mm, pic);
    p.setPen(QPen(Qt::black, 0.25 * mm));
    p.setBrush(QClr(GuVioTyp[t].Clr));
    p.drawRect(blk);
    p.setBrush(Qt::NoBrush);
    p.setPen(QClr(GuVioTyp[t].FntClr));
    p.setFont(Fnt(std::min(4.2 * mm, pic * 0.45), true));
    Txt(p, blk, Qt::AlignCenter | Qt::TextSingleLine, VioQStr(GuVioTyp[t].Cap).replace('\n', ' '));
  }
}

bool TPgmSht::WrtPdf(const QString& path, std::string& why) {
  QBuffer buf;
  buf.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buf);
    pdf.setPageLayout(ShtLay());
    pdf.setResolution(300);
    pdf.setTitle(Nam());
    pdf.setCreator("Tessaro");
    if (!Drw(pdf)) {
      why = "the sheet could not be drawn";
      return false;
    }
  }
  return WrtFilSaf(VioStdStr(path), buf.data().toStdString(), why);
}

void TPgmSht::Prt() {
  Aut();
  QPrinter prn(QPrinter::HighResolution);
  prn.setPageLayout(ShtLay());
  prn.setDocName(Nam());
  bool go;
  if (FOnPrtDlg) {
    go = FOnPrtDlg(prn);
  } else {
    QPrintDialog dlg(&prn, Wnd());
    go = dlg.exec() == QDialog::Accepted;
  }
  if (go && !Drw(prn)) {
    const QString dst = prn.outputFileName().isEmpty() ? prn.printerName() : prn.outputFileName();
    ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_PRT_ERR) + " " + VioStdStr(dst), VioStdStr(Msg(SUM_ERR_CAP, "Error")),
              TeMsgBtn::Ok);
  }
}

void TPgmSht::ExpPdf() {
  Aut();
  QString pth;
  if (FOnPdfPth) {
    pth = FOnPdfPth();
  } else {
    // The toolkit's own dialog speaks the language chosen here.
    QFileDialog dlg(Wnd(), FpPdfAct->text().remove("...").remove('&'),
                    QString(), "PDF (*.pdf)");
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix("pdf");  // the dialog asks before replacing the name with it
    if (dlg.exec() == QDialog::Accepted) pth = dlg.selectedFiles().value(0);
  }
  if (pth.isEmpty()) return;
  if (!pth.endsWith(".pdf", Qt::CaseInsensitive)) pth += ".pdf";
  std::string why;
  if (!WrtPdf(pth, why))
    ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_PRT_ERR) + " " + VioStdStr(pth), VioStdStr(Msg(SUM_ERR_CAP, "Error")),
              TeMsgBtn::Ok);
}
