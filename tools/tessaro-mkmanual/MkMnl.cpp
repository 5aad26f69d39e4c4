// Writes a manual as a PDF from its Markdown source with Qt's own text layout
// and PDF writer. Pictures named in the source are read relative to the
// source's folder and scaled down to the width of the text.
//
//   tessaro-mkmanual SOURCE.md OUTPUT.pdf
//
// The first level-one heading of the source is the document's title.
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/SafFil.h"

namespace {

int Fail(const QString& msg) {
  std::fprintf(stderr, "tessaro-mkmanual: %s\n", qPrintable(msg));
  return 1;
}

// Pictures wider than the text shrink to its width; a missing picture is an error.
bool FitPictures(QTextDocument& doc, const QString& srcDir, qreal txtWdt, QString& err) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (!f.isValid() || !f.charFormat().isImageFormat()) continue;
      QTextImageFormat img = f.charFormat().toImageFormat();
      const QString pth = srcDir + "/" + img.name();
      QImage pic(pth);
      if (pic.isNull()) {
        err = "picture not found: " + pth;
        return false;
      }
      doc.addResource(QTextDocument::ImageResource, QUrl(img.name()), pic);
      qreal w = pic.width(), h = pic.height();
      if (w > txtWdt) {
        h = h * txtWdt / w;
        w = txtWdt;
      }
      img.setWidth(w);
      img.setHeight(h);
      QTextCursor cur(&doc);
      cur.setPosition(f.position());
      cur.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
      cur.setCharFormat(img);
    }
  }
  return true;
}

// A picture that stands alone in its paragraph is centred, and the text of
// its description follows it as a caption in a paragraph of its own.
void CaptionPictures(QTextDocument& doc) {
  QList<QPair<QTextBlock, QString>> pics;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b.text().trimmed().size() != 1) continue;  // one object character
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.isValid() && f.charFormat().isImageFormat()) {
        pics.append({b, f.charFormat().stringProperty(QTextFormat::ImageAltText)});
        break;
      }
    }
  }
  for (const auto& [b, cap] : pics) {
    QTextCursor cur(b);
    QTextBlockFormat bf = b.blockFormat();
    bf.setAlignment(Qt::AlignHCenter);
    bf.setBottomMargin(2);
    cur.setBlockFormat(bf);
    if (cap.isEmpty()) continue;
    cur.movePosition(QTextCursor::EndOfBlock);
    QTextBlockFormat cf;
    cf.setAlignment(Qt::AlignHCenter);
    cf.setBottomMargin(10);
    QTextCharFormat tf;
    tf.setFontItalic(true);
    tf.setFontPointSize(9);
    tf.setForeground(QColor(0x44, 0x44, 0x44));
    cur.insertBlock(cf, tf);
    cur.insertText(cap, tf);
  }
}

// Headings in the colour of the program's title, tables with room in their cells.
void Style(QTextDocument& doc) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b.blockFormat().hasProperty(QTextFormat::BlockCodeFence) ||
        b.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage) || b.blockFormat().nonBreakableLines()) {
      QTextCursor cur(b);
      QTextBlockFormat bf = b.blockFormat();
      bf.setBackground(QColor(0xee, 0xf2, 0xf6));
      bf.setLeftMargin(12);
      bf.setTopMargin(0);
      bf.setBottomMargin(0);
      cur.setBlockFormat(bf);
      continue;
    }
    if (b.blockFormat().headingLevel() == 0) continue;
    // Select this block's text only: a selection of the whole block would take
    // the separator before it, and with it the paragraph above.
    QTextCursor cur(b);
    cur.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setForeground(QColor(b.blockFormat().headingLevel() <= 2 ? 0x1f4e79 : 0x2e75b6));
    cur.mergeCharFormat(f);
    QTextBlockFormat bf = b.blockFormat();
    bf.setTopMargin(b.blockFormat().headingLevel() <= 2 ? 14 : 8);
    cur.mergeBlockFormat(bf);
  }
  for (QTextFrame* fr : doc.rootFrame()->childFrames()) {
    auto* tbl = qobject_cast<QTextTable*>(fr);
    if (!tbl) continue;
    QTextTableFormat tf = tbl->format();
    tf.setCellPadding(3);
    tf.setCellSpacing(0);
    tf.setBorder(1);
    tf.setBorderBrush(QColor(0x9d, 0xb3, 0xc8));
    tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tf.setHeaderRowCount(1);
    tbl->setFormat(tf);
    for (int c = 0; c < tbl->columns(); ++c) {
      QTextTableCell cell = tbl->cellAt(0, c);
      QTextCharFormat cf = cell.format();
      cf.setBackground(QColor(0xdd, 0xe7, 0xf1));
      cell.setFormat(cf);
    }
  }
}

// A heading that would stand at the foot of a page, apart from the text it
// heads, begins the next page instead.
void KeepHeadings(QTextDocument& doc, qreal pagHgt, qreal botMrg) {
  QAbstractTextDocumentLayout* lay = doc.documentLayout();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b.blockFormat().headingLevel() == 0) continue;
    (void)doc.pageCount();  // lays the whole document out; it is laid out lazily otherwise
    const QRectF r = lay->blockBoundingRect(b);
    const qreal pagEnd = (std::floor(r.top() / pagHgt) + 1) * pagHgt - botMrg;
    // Room for the heading and the first lines below it, or for the whole
    // next paragraph when it is a picture (which never splits).
    qreal need = 3.5 * QFontMetricsF(doc.defaultFont()).lineSpacing();
    if (const QTextBlock n = b.next(); n.isValid()) {
      const qreal nh = lay->blockBoundingRect(n).height();
      if (n.text().trimmed().size() == 1 && nh < pagHgt / 2) need = std::max(need, nh);
    }
    if (r.bottom() + need <= pagEnd) continue;
    QTextBlockFormat bf = b.blockFormat();
    bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(b).setBlockFormat(bf);
  }
}

// Paints the paginated document page by page onto the PDF, with the page
// number centred in the bottom margin.
void PrintPages(QTextDocument& doc, QPdfWriter& pdf, qreal dpi, qreal mrg) {
  const QSizeF pag = doc.pageSize();
  QPainter pnt(&pdf);
  const qreal scl = pdf.resolution() / dpi;
  pnt.scale(scl, scl);
  QFont num(doc.defaultFont());
  num.setPixelSize(qRound(9 * dpi / 72));
  // Asking for the last block lays the document out to its end; the page
  // count alone may still count the pages before the last page breaks.
  const QRectF lst = doc.documentLayout()->blockBoundingRect(doc.lastBlock());
  const int pages = std::max(doc.pageCount(), int(std::floor(lst.bottom() / pag.height())) + 1);
  for (int i = 0; i < pages; ++i) {
    if (i > 0) pdf.newPage();
    pnt.save();
    pnt.translate(0, -i * pag.height());
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = QRectF(0, i * pag.height(), pag.width(), pag.height());
    pnt.setClipRect(ctx.clip);
    doc.documentLayout()->draw(&pnt, ctx);
    pnt.restore();
    pnt.setFont(num);
    pnt.setPen(QColor(0x55, 0x55, 0x55));
    pnt.drawText(QRectF(0, pag.height() - mrg, pag.width(), mrg / 2), Qt::AlignCenter, QString::number(i + 1));
  }
}

// Lays the Markdown source out on A4 pages with 2 cm margins and returns the
// PDF's bytes; a missing picture leaves them empty and says why in err.
QByteArray RenderPdf(const QString& md, const QString& srcDir, const QString& title, QString& err) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&out);
  pdf.setTitle(title);
  pdf.setCreator("tessaro-mkmanual");
  pdf.setResolution(300);
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));

  QTextDocument doc;
  QFont fnt("DejaVu Sans");
  fnt.setPointSizeF(10.5);
  doc.setDefaultFont(fnt);
  doc.setMarkdown(md);
  Style(doc);
  // A4 less its 2 cm margins, in the document's units: pixels at the
  // screen's logical resolution.
  const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  const qreal txtWdt = (210.0 - 40.0) / 25.4 * dpi;
  if (!FitPictures(doc, srcDir, txtWdt, err)) return {};
  CaptionPictures(doc);
  // A4 pages in the document's units, with 2 cm margins.
  const qreal mmPx = dpi / 25.4;
  const qreal mrg = 20 * mmPx;
  QTextFrameFormat rf = doc.rootFrame()->frameFormat();
  rf.setMargin(mrg);
  doc.rootFrame()->setFrameFormat(rf);
  doc.setPageSize(QSizeF(210 * mmPx, 297 * mmPx));
  KeepHeadings(doc, doc.pageSize().height(), mrg);
  PrintPages(doc, pdf, dpi, mrg);
  return out.data();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3) return Fail("usage: tessaro-mkmanual SOURCE.md OUTPUT.pdf");
  QFile src(args[1]);
  if (!src.open(QIODevice::ReadOnly)) return Fail("cannot read " + args[1]);
  const QString md = QString::fromUtf8(src.readAll());
  const QString srcDir = QFileInfo(args[1]).absolutePath();

  QString title = QFileInfo(args[2]).completeBaseName();
  const QRegularExpressionMatch m = QRegularExpression("^# (.+)$", QRegularExpression::MultilineOption).match(md);
  if (m.hasMatch()) title = m.captured(1).trimmed();

  QString err;
  const QByteArray pdf = RenderPdf(md, srcDir, title, err);
  if (pdf.isEmpty()) return Fail(err);
  // The old PDF is replaced only by a complete new one.
  std::string why;
  if (!WrtFilSaf(args[2].toStdString(), pdf.toStdString(), why))
    return Fail("cannot write " + args[2] + ": " + QString::fromStdString(why));
  return 0;
}
