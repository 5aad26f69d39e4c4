// The meter, listing, picture, print and run highlight on real widgets.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QRegularExpression>
#include <QDate>
#include <QTemporaryDir>
#include <optional>

#include "editor/EdtTstSup.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioPgmSht.h"
#include "editor/qt/VioPgmViw.h"
#include "translator/TrnLst.h"

namespace {

class VioPgmViw : public ::testing::Test {
protected:
  void SetUp() override {
    Win.setCentralWidget(Fld);
    Win.resize(820, 680);
    Win.show();
    PrpEdt(Edt);
    Viw = std::make_unique<TVioFldViw>(Edt, Fld);
    Pgm = std::make_unique<TPgmViw>(Edt, Fld, &Win, Win.menuBar()->addMenu("File"));
    // Start, Delay, Stop in a row.
    ASSERT_TRUE(Edt.CrtSmpVio(VT_STA, 0, 0));
    ASSERT_TRUE(Edt.CrtDlyVio(1, 0, "12"));
    ASSERT_NE(Edt.PutVio(VT_STO, 2, 0), nullptr);
  }
  ~VioPgmViw() override { Pgm.reset(), Viw.reset(); }
  // The frame of the name stands around the vio.
  bool Around(const char* frm, const TVio* v) {
    const QFrame* f = Fld->findChild<QFrame*>(frm);
    return f && f->isVisible() && f->geometry().contains(Viw->Pnl(v)->geometry());
  }

  TFakePlatform Pf;
  QMainWindow Win;
  TVioPgmItp Edt{nullptr};
  QWidget* Fld = new QWidget(&Win);
  std::unique_ptr<TVioFldViw> Viw;
  std::unique_ptr<TPgmViw> Pgm;
};

TEST_F(VioPgmViw, MeterAndListingFollowEditsAndAClickSelects) {
  QLabel* m = Pgm->MtrLbl();
  EXPECT_EQ(m->text(), "- / 255 bytes") << "the edits are translated once, when the events run";
  QApplication::processEvents();
  EXPECT_EQ(m->text(), "4 / 255 bytes");
  EXPECT_TRUE(m->styleSheet().isEmpty());
  QListWidget* l = Pgm->Lst();
  EXPECT_EQ(l->count(), 1 + 4);
  const QStringList want = VioQStr(FmtTrnLst(Pgm->Mtr().Trn())).split('\n', Qt::SkipEmptyParts);
  for (int i = 0; i < l->count(); ++i) EXPECT_EQ(l->item(i)->text(), want.value(i));
  // Address 2 (the delay's value) belongs to the Delay vio; the header to none.
  emit l->itemClicked(l->item(1 + 2));
  EXPECT_EQ(Pgm->SelVio(), Edt.Vios()[1]);
  EXPECT_TRUE(Around("frmLstSel", Edt.Vios()[1]));
  emit l->itemClicked(l->item(0));
  EXPECT_EQ(Pgm->SelVio(), nullptr);
  // The mark goes with the listing.
  Pgm->LstAct()->trigger();
  emit l->itemClicked(l->item(1 + 1));
  l->close();
  EXPECT_FALSE(Pgm->SelVio() || Around("frmLstSel", Edt.Vios()[1]));
  // Removing the selected Stop ends the selection and turns the meter red.
  emit l->itemClicked(l->item(1 + 3));
  Edt.RmvVio(Edt.Vios()[2]);
  EXPECT_EQ(Pgm->SelVio(), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(m->text(), "- / 255 bytes");
  EXPECT_TRUE(m->styleSheet().contains("color"));
  EXPECT_EQ(l->count(), 1);
  Edt.RmvAllVio();
  QApplication::processEvents();
  EXPECT_TRUE(m->styleSheet().isEmpty()) << "an empty field is nothing wrong";
}

TEST_F(VioPgmViw, ExportsAndPrintsTheFieldOrSaysWhyNot) {
  QTemporaryDir dir;
  Pgm->SetOnExpPth([&] { return dir.filePath("pgm"); });  // typed without ".png"
  Pgm->ExpAct()->trigger();
  EXPECT_EQ(QImage(dir.filePath("pgm.png"), "PNG").size(), Fld->size());
  auto toPdf = [&](const QString& pth, bool ok) {  // the dialog's answer comes from the test
    Pgm->SetOnPrtDlg([pth, ok](QPrinter& p) {
      EXPECT_EQ(p.pageLayout().orientation(), QPageLayout::Landscape) << "the field is wider than high";
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(pth);
      return ok;
    });
    Pgm->PrtAct()->trigger();
    QFile f(pth);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  const QByteArray pdf = toPdf(dir.filePath("pgm.pdf"), true);
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 1) << "one page";
  Edt.RmvAllVio();
  EXPECT_GT(pdf.size(), toPdf(dir.filePath("empty.pdf"), true).size() + 500) << "the vios are on it";
  EXPECT_TRUE(toPdf(dir.filePath("no.pdf"), false).isEmpty()) << "a cancelled dialog prints nothing";
  Pgm->SetOnExpPth([&] { return dir.filePath("no/such/folder/x.png"); });
  Pgm->ExpAct()->trigger();
  toPdf(dir.filePath("no/such/folder/x.pdf"), true);
  ASSERT_EQ(Pf.MsgBox.Calls.size(), 2u) << "files that cannot be written are reported, nothing else";
  EXPECT_NE(Pf.MsgBox.Calls[1].Text.find("x.pdf"), std::string::npos) << Pf.MsgBox.Calls[1].Text;
}

TEST_F(VioPgmViw, SheetAsksTheAuthorOnceAndWritesTwoPagesSafely) {
  TPgmSht& sht = *Pgm->Sht();
  QTemporaryDir dir;
  const QString pdf = dir.filePath("sheet");  // typed without ".pdf"
  sht.SetOnPdfPth([&] { return pdf; });
  std::vector<QString> asked;  // the names filled in when asked
  std::vector<std::optional<QString>> ans = {std::nullopt, " Anna  Bakker ", std::nullopt};
  sht.SetOnAskTxt([&](const QString&, const QString&, QString& txt) {
    asked.push_back(txt);
    const auto a = ans.at(asked.size() - 1);
    if (a) txt = *a;
    return a.has_value();
  });
  QStringList drawn;
  sht.SetOnTxt([&](const QString& t) { drawn << t; });
  auto read = [](const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  // The first sheet asks; a cancel prints it without an author and counts as the answer.
  sht.PdfAct()->trigger();
  const QByteArray one = read(pdf + ".pdf");
  EXPECT_TRUE(one.startsWith("%PDF"));
  EXPECT_EQ(one.count("/Type /Page\n") + one.count("/Type /Page\r"), 2) << "the program and the planning grid";
  // The columns and the row the vios take, then each vio: caption, parameters, run order, bytes.
  const QStringList want = {"untitled", QDate::currentDate().toString(Qt::ISODate), "1", "2", "3", "1", "START", "1",
                            "1", "DELAY", "12 * 0.1S", "2", "2", "STOP", "3", "1", "4 / 255 bytes"};
  EXPECT_EQ(drawn.mid(0, want.size()), want) << drawn.join('|').toStdString();
  // The planning grid's numbers, and a legend of the three types the program uses.
  for (const char* t : {"12", "10"}) EXPECT_TRUE(drawn.contains(t)) << t;
  EXPECT_EQ(drawn.count("STOP"), 2);
  EXPECT_FALSE(drawn.contains("SWITCH INTERRUPT") || drawn.contains("RTI")) << drawn.join('|').toStdString();
  sht.PdfAct()->trigger();
  EXPECT_EQ(asked, std::vector<QString>{""}) << "asked once";
  // Author... asks again with the kept name; a cancel keeps it.
  sht.AutAct()->trigger();
  sht.AutAct()->trigger();
  EXPECT_EQ(asked, (std::vector<QString>{"", "", "Anna Bakker"}));
  const auto& key = Pf.Settings.Keys["SOFTWARE\\Quorel\\TessaroV1.0\\Sheet"];
  EXPECT_EQ(key.at("Author"), "Anna Bakker");
  // A smaller budget, then a program that does not translate: its reason, no numbers.
  drawn.clear();
  sht.SetBdg(3);
  sht.PdfAct()->trigger();
  EXPECT_EQ(drawn.mid(1, 2), (QStringList{"Author: Anna Bakker", QDate::currentDate().toString(Qt::ISODate)}));
  EXPECT_TRUE(drawn.contains("4 / 3 bytes  Too many bytes for the budget: make the program shorter."))
      << drawn.join('|').toStdString();
  Edt.RmvVio(Edt.Vios()[2]);
  drawn.clear();
  sht.SetOnPrtDlg([&](QPrinter& p) {
    EXPECT_EQ(p.pageLayout().orientation(), QPageLayout::Landscape);
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(dir.filePath("printed.pdf"));
    return true;
  });
  sht.PrtAct()->trigger();
  EXPECT_EQ(read(dir.filePath("printed.pdf")).count("/Type /Page\n"), 2);
  // No numbers: the Delay that has nothing after it is framed, marked "!" and named after the reason.
  const qsizetype why = drawn.indexOf(QRegularExpression("^The program cannot be sent yet: .*"));
  ASSERT_GT(why, 0) << drawn.join('|').toStdString();
  EXPECT_EQ(drawn.mid(why - 4, 4), (QStringList{"START", "DELAY", "12 * 0.1S", "!"}));
  EXPECT_TRUE(drawn[why].endsWith(" The block framed in red: DELAY, row 1, column 2.")) << drawn[why].toStdString();
  EXPECT_EQ(drawn.value(why + 1), "untitled") << "the second page follows the reason";
  // A file that may not be written is kept as it was, and the box says so.
  const QByteArray old = read(pdf + ".pdf");
  ASSERT_TRUE(QFile::setPermissions(pdf + ".pdf", QFileDevice::ReadOwner));
  sht.PdfAct()->trigger();
  EXPECT_EQ(read(pdf + ".pdf"), old);
  ASSERT_EQ(Pf.MsgBox.Calls.size(), 1u);
  EXPECT_NE(Pf.MsgBox.Calls[0].Text.find("sheet.pdf"), std::string::npos) << Pf.MsgBox.Calls[0].Text;
  EXPECT_EQ(asked.size(), 3u);
}

TEST_F(VioPgmViw, RunHighlightFollowsTheAddressAndTheVio) {
  Pgm->Upd();
  Pgm->SetRunStm(Pgm->Mtr().Trn());
  Pgm->RunAdr(1);
  EXPECT_TRUE(Around("frmRunVio", Edt.Vios()[1]));
  Pgm->RunAdr(200);  // beyond the stream: nothing
  EXPECT_EQ(Pgm->RunVio(), nullptr);
  Pgm->RunAdr(3);  // the frame follows its vio where a drag shows it
  Edt.ShwVioAt(Edt.Vios()[2], 300, 200);
  EXPECT_TRUE(Around("frmRunVio", Edt.Vios()[2]));
  Edt.RmvVio(Edt.Vios()[2]);
  EXPECT_EQ(Pgm->RunVio(), nullptr);
  // A new stream, the end of the run and a cleared stream each end the highlight.
  for (auto end : {+[](TPgmViw& p) { p.SetRunStm(p.Mtr().Trn()); }, +[](TPgmViw& p) { p.RunEnd(); },
                   +[](TPgmViw& p) { p.ClrRunStm(); }}) {
    Pgm->RunAdr(0);
    ASSERT_EQ(Pgm->RunVio(), Edt.Vios()[0]);
    end(*Pgm);
    EXPECT_FALSE(Around("frmRunVio", Edt.Vios()[0]));
  }
  Pgm->RunAdr(0);
  EXPECT_EQ(Pgm->RunVio(), nullptr);
}

}  // namespace
