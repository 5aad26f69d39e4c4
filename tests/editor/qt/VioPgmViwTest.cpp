// The meter, listing, picture, print and run highlight on real widgets.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>

#include "editor/EdtTstSup.h"
#include "editor/qt/VioFldViw.h"
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
  Pgm->FOnExpPth = [&] { return dir.filePath("pgm"); };  // typed without ".png"
  Pgm->ExpAct()->trigger();
  EXPECT_EQ(QImage(dir.filePath("pgm.png"), "PNG").size(), Fld->size());
  auto toPdf = [&](const QString& pth, bool ok) {  // the dialog's answer comes from the test
    Pgm->FOnPrtDlg = [pth, ok](QPrinter& p) {
      EXPECT_EQ(p.pageLayout().orientation(), QPageLayout::Landscape) << "the field is wider than high";
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(pth);
      return ok;
    };
    Pgm->PrtAct()->trigger();
    QFile f(pth);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  const QByteArray pdf = toPdf(dir.filePath("pgm.pdf"), true);
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 1) << "one page";
  Edt.RmvAllVio();
  EXPECT_GT(pdf.size(), toPdf(dir.filePath("empty.pdf"), true).size() + 500) << "the vios are on it";
  EXPECT_TRUE(toPdf(dir.filePath("no.pdf"), false).isEmpty()) << "a cancelled dialog prints nothing";
  Pgm->FOnExpPth = [&] { return dir.filePath("no/such/folder/x.png"); };
  Pgm->ExpAct()->trigger();
  toPdf(dir.filePath("no/such/folder/x.pdf"), true);
  ASSERT_EQ(Pf.MsgBox.Calls.size(), 2u) << "files that cannot be written are reported, nothing else";
  EXPECT_NE(Pf.MsgBox.Calls[1].Text.find("x.pdf"), std::string::npos) << Pf.MsgBox.Calls[1].Text;
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
