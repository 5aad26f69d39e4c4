// Writes a manual as a PDF from its Markdown source with Qt's own text layout
// and PDF writer. Pictures named in the source are read relative to the
// source's folder and scaled down to the width of the text.
//
//   tessaro-mkmanual SOURCE.md OUTPUT.pdf
//
// The first level-one heading of the source is the document's title.
#include <QFile>
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

#include <cstdio>

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

// Headings in the colour of the program's title, tables with room in their cells.
void Style(QTextDocument& doc) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b.blockFormat().headingLevel() == 0) continue;
    QTextCursor cur(b);
    cur.select(QTextCursor::BlockUnderCursor);
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
    tbl->setFormat(tf);
  }
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

  const QString tmp = args[2] + ".tmp~";
  {
    QPdfWriter pdf(tmp);
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
    // A4 less the 2 cm margins that printing adds, in the document's units:
    // pixels at the screen's logical resolution.
    const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    const qreal txtWdt = (210.0 - 40.0) / 25.4 * dpi;
    QString err;
    if (!FitPictures(doc, srcDir, txtWdt, err)) {
      QFile::remove(tmp);
      return Fail(err);
    }
    doc.print(&pdf);
  }
  // Replace the old PDF only once the new one is complete.
  QFile::remove(args[2]);
  if (!QFile::rename(tmp, args[2])) return Fail("cannot write " + args[2]);
  return 0;
}
