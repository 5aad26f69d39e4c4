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
#include <vector>

#include "core/SafFil.h"
#include "core/Seams.h"
#include "editor/VioKep.h"
#include "editor/VioPgmItp.h"
#include "editor/VioTyp.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioPgmViw.h"

namespace {

// Sizes on the page, in millimetres. A cell is at most GcCelW x GcCelH; its
// lines at most GcLin high (10 point letters; a field filled whole still
// gets lines of 3.5 mm, 8 point letters).
constexpr double GcMrg = 10, GcHdr = 15, GcFtr = 17, GcTagHgt = 5.2, GcLgdWdt = 64;
constexpr double GcCelW = 46, GcCelH = 30, GcLin = 4.2, GcNumW = 6;
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

// A tag's width for its number at the height h.
double TagW(QPainter& p, double h, const QString& n) {
  p.setFont(Fnt(h * 0.7, true));
  return std::max(h, QFontMetricsF(p.font(), p.device()).horizontalAdvance(n) + 0.35 * h);
}

// A number in a small tag: the run order white on blue, the bytes black in
// an orange frame, a fault white on red. Leaves the pen and font for its number.
void Tag(QPainter& p, double mm, const QRectF& r, const QColor& bg, bool frm) {
  p.setPen(frm ? QPen(GcBytClr, 0.45 * mm) : QPen(bg, 0.3 * mm));
  p.setBrush(frm ? QBrush(Qt::white) : QBrush(bg));
  p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
  p.setPen(frm ? Qt::black : Qt::white);
  p.setBrush(Qt::NoBrush);
  p.setFont(Fnt(r.height() * 0.7, true));
}
QRectF Tag(QPainter& p, double mm, QPointF at, bool ord, const QString& n) {
  const double h = GcTagHgt * mm;
  const QRectF r(at, QSizeF(TagW(p, h, n), h));
  Tag(p, mm, r, GcOrdClr, !ord);
  return r;
}

double Wdt(QPainter& p, const QFont& f, const QString& s) { return QFontMetricsF(f, p.device()).horizontalAdvance(s); }

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

QString TPgmSht::Msg(std::uint8_t id) const { return VioQStr(VioUsrMsg(FEdt, id)); }

void TPgmSht::RfsTxt() {
  if (FpPrtAct) FpPrtAct->setText(Msg(SUM_SHT_PRT));
  if (FpPdfAct) FpPdfAct->setText(Msg(SUM_SHT_PDF));
  if (FpAutAct) FpAutAct->setText(Msg(SUM_SHT_AUT));
}

QString TPgmSht::Nam() const {
  const QString n = QFileInfo(VioQStr(FEdt.DocNam())).completeBaseName();
  return n.isEmpty() ? Msg(SUM_SHT_UNT) : n;
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
  const QString cap = Msg(SUM_SHT_AUT).remove("...").remove('&');
  const QString ask = Msg(SUM_SHT_AUT_ASK);
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
  const TuShtPgm s = ShtPgm(FEdt, FiBdg);
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
    Txt(p, rgt, Qt::AlignRight | Qt::AlignVCenter, Msg(SUM_SHT_BY) + " " + aut);
  Txt(p, rgt.translated(0, r.height() / 2), Qt::AlignRight | Qt::AlignVCenter,
      QDate::currentDate().toString(Qt::ISODate));
  p.setPen(QPen(Qt::black, 0.4 * mm));
  p.drawLine(QPointF(r.left(), r.bottom() + mm), QPointF(r.right(), r.bottom() + mm));
}

void TPgmSht::DrwFld(QPainter& p, const QRectF& r, const TuShtPgm& s) {
  const double mm = FdMm;
  // The columns and rows that hold vios (the whole grid when none does),
  // numbered as the files and the planning grid number them.
  int c0 = FEdt.GrdCls(), c1 = -1, r0 = FEdt.GrdRws(), r1 = -1;
  for (const TVio* v : FEdt.Vios()) {
    c0 = std::min(c0, v->Rec().GrdCol), c1 = std::max(c1, v->Rec().GrdCol);
    r0 = std::min(r0, v->Rec().GrdRow), r1 = std::max(r1, v->Rec().GrdRow);
  }
  if (c1 < 0) c0 = 0, c1 = FEdt.GrdCls() - 1, r0 = 0, r1 = FEdt.GrdRws() - 1;
  const int nc = c1 - c0 + 1, nr = r1 - r0 + 1;
  const double num = GcNumW * mm;
  const double cw = std::min((r.width() - num) / nc, GcCelW * mm), ch = std::min((r.height() - num) / nr, GcCelH * mm);
  const QPointF o(r.x() + num + (r.width() - num - nc * cw) / 2, r.y() + num);
  p.setFont(Fnt(3.2 * mm));
  p.setPen(Qt::darkGray);
  for (int c = 0; c < nc; ++c)
    Txt(p, QRectF(o.x() + c * cw, o.y() - num, cw, num), Qt::AlignCenter, QString::number(c0 + c + 1));
  for (int w = 0; w < nr; ++w)
    Txt(p, QRectF(o.x() - num, o.y() + w * ch, num, ch), Qt::AlignCenter, QString::number(r0 + w + 1));
  p.setPen(QPen(QColor(190, 190, 190), 0.2 * mm));
  for (int c = 0; c <= nc; ++c) p.drawLine(QPointF(o.x() + c * cw, o.y()), QPointF(o.x() + c * cw, o.y() + nr * ch));
  for (int w = 0; w <= nr; ++w) p.drawLine(QPointF(o.x(), o.y() + w * ch), QPointF(o.x() + nc * cw, o.y() + w * ch));
  const auto& vios = FEdt.Vios();
  for (std::size_t i = 0; i < vios.size(); ++i) {
    const TVio& v = *vios[i];
    const QRectF c(o.x() + (v.Rec().GrdCol - c0) * cw, o.y() + (v.Rec().GrdRow - r0) * ch, cw, ch);
    DrwVio(p, c, v, i < s.Vio.size() ? s.Vio[i] : TuShtVio{}, static_cast<int>(i) == s.Flt);
  }
}

void TPgmSht::DrwVio(QPainter& p, const QRectF& c, const TVio& v, const TuShtVio& n, bool flt) {
  const double mm = FdMm;
  const std::uint8_t typ = v.Rec().VioTyp < GcVioTypCnt ? v.Rec().VioTyp : static_cast<std::uint8_t>(VT_STA);
  const QString cap = VioQStr(GuVioTyp[typ].Cap).replace('\n', ' ');
  const QString ord = flt ? QString("!") : n.Ord ? QString::number(n.Ord) : QString();
  const QString byt = n.Ord ? QString::number(n.Byt) : QString();
  QStringList prm;
  for (const std::string& t : ShtPrm(v)) prm << VioQStr(t);
  // Measured at the largest line; the model fits the rows into the cell.
  const double lin = GcLin * mm, em = lin / GcShtLinEm;
  const QFont capF = Fnt(em, true);
  TuShtCelIn in{c.width() / mm, c.height() / mm, GcLin, Wdt(p, capF, cap) / mm, 1,
                ord.isEmpty() ? 0 : TagW(p, lin * 0.9, ord) / mm, byt.isEmpty() ? 0 : TagW(p, lin * 0.9, byt) / mm,
                static_cast<std::size_t>(prm.size())};
  QStringList capL{cap};
  if (in.CapW + in.OrdW + in.BytW + 1 > in.W) {  // one word a line
    capL = cap.split(' ', Qt::SkipEmptyParts);
    in.CapN = static_cast<std::size_t>(capL.size());
    in.CapW = 0;
    for (const QString& w : capL) in.CapW = std::max(in.CapW, Wdt(p, capF, w) / mm);
  }
  const TuShtCel l = ShtCel(in);
  auto box = [&](const TuShtBox& b) { return QRectF(c.x() + b.X * mm, c.y() + b.Y * mm, b.W * mm, b.H * mm); };
  // The vio: its colour behind the caption, white behind the parameters.
  const QRectF blk = c.adjusted(0.4 * mm, 0.4 * mm, -0.4 * mm, -0.4 * mm);
  const double bnd = (l.Cap.empty() ? 0 : box(l.Cap.back()).bottom() - blk.y()) + 0.3 * mm;
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(blk);
  p.setBrush(QClr(GuVioTyp[typ].Clr));
  p.drawRect(QRectF(blk.x(), blk.y(), blk.width(), std::min(bnd, blk.height())));
  p.setBrush(Qt::NoBrush);
  p.setPen(flt ? QPen(GcErrClr, 0.9 * mm) : QPen(QClr(GuVioTyp[typ].Clr).darker(150), 0.3 * mm));
  p.drawRect(blk);
  const double e = l.Lin * mm / GcShtLinEm;
  p.setPen(QClr(GuVioTyp[typ].FntClr));
  p.setFont(Fnt(e, true));
  for (std::size_t i = 0; i < l.Cap.size() && i < static_cast<std::size_t>(capL.size()); ++i)
    Txt(p, box(l.Cap[i]), Qt::AlignCenter | Qt::TextSingleLine, capL[static_cast<int>(i)]);
  p.setPen(Qt::black);
  p.setFont(Fnt(e));
  for (std::size_t i = 0; i < l.Prm.size(); ++i) {
    const QRectF b = box(l.Prm[i]);
    const QString t = QFontMetricsF(p.font(), p.device()).elidedText(prm[static_cast<int>(i)], Qt::ElideRight, b.width());
    Txt(p, b, Qt::AlignCenter | Qt::TextSingleLine, t);
  }
  if (l.Ord.W > 0) {
    Tag(p, mm, box(l.Ord), flt ? GcErrClr : GcOrdClr, false);
    Txt(p, box(l.Ord), Qt::AlignCenter, ord);
  }
  if (l.Byt.W > 0) {
    Tag(p, mm, box(l.Byt), GcOrdClr, true);
    Txt(p, box(l.Byt), Qt::AlignCenter, byt);
  }
}

void TPgmSht::DrwTot(QPainter& p, const QRectF& r, const TuShtPgm& s) {
  const double mm = FdMm;
  const QString byt = Msg(SUM_MTR_BYT);
  if (!s.Ok) {
    QString why = Msg(SUM_MTR_NOT_TRN) + " " + VioQStr(s.Why);
    // The vio framed in red, by its name and cell.
    if (s.Flt >= 0 && static_cast<std::size_t>(s.Flt) < FEdt.Vios().size()) {
      const TVio& v = *FEdt.Vios()[static_cast<std::size_t>(s.Flt)];
      why += " " + Msg(SUM_SHT_FLT)
                       .arg(VioQStr(GetVioCap(v.Rec().VioTyp)).replace('\n', ' '))
                       .arg(v.Rec().GrdRow + 1)
                       .arg(v.Rec().GrdCol + 1);
    }
    p.setPen(GcErrClr);
    p.setFont(Fnt(4.2 * mm, true));
    Txt(p, r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, why);
    return;
  }
  p.setPen(s.Ovr() ? GcErrClr : Qt::black);
  p.setFont(Fnt(5 * mm, true));
  QString tot = QString("%1 / %2 %3").arg(s.Len).arg(s.Bdg).arg(byt);
  if (s.Ovr()) tot += "  " + Msg(SUM_SHT_OVR);
  const QRectF top(r.x(), r.y(), r.width(), r.height() / 2);
  Txt(p, top, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, tot);
  // The key to the two tags.
  const QRectF key = top.translated(0, r.height() / 2);
  const double y = key.center().y() - GcTagHgt * mm / 2;
  double x = key.x();
  for (bool ord : {true, false}) {
    const QString n = ord ? "1" : "3";
    const QRectF t = Tag(p, mm, QPointF(x, y), ord, n);
    Txt(p, t, Qt::AlignCenter, n);
    p.setPen(Qt::black);
    p.setFont(Fnt(4 * mm));
    const QString txt = ord ? Msg(SUM_SHT_ORD) : byt;
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
      Msg(SUM_SHT_PLN));
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
  const std::vector<std::uint8_t> typ = ShtLgd(FEdt);
  const double rh = std::min(12 * mm, (r.bottom() - top) / static_cast<double>(std::max<std::size_t>(1, typ.size())));
  const double pic = rh * 0.8;
  for (std::size_t i = 0; i < typ.size(); ++i) {
    const std::uint8_t t = typ[i];
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
    ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_PRT_ERR) + " " + VioStdStr(dst), VioStdStr(Msg(SUM_ERR_CAP)),
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
    ShwMsgBox(FEdt.GetSysUsrMsg(SUM_VIW_PRT_ERR) + " " + VioStdStr(pth), VioStdStr(Msg(SUM_ERR_CAP)),
              TeMsgBtn::Ok);
}
