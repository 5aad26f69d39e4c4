// The meter, listing, picture and run highlight on real widgets.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/Globals.h"
#include "editor/qt/VioFldViw.h"
#include "editor/qt/VioPgmViw.h"
#include "support/FakePlatform.h"
#include "translator/TrnLst.h"

namespace {

class VioPgmViw : public ::testing::Test {
protected:
  VioPgmViw() : Edt(nullptr) {
    Fld = new QWidget(&Win);
    Fld->setAutoFillBackground(true);
    Win.setCentralWidget(Fld);
    Fil = Win.menuBar()->addMenu("File");
    Win.resize(820, 680);
    Win.show();
    Edt.CrtVioFld(Fld->width(), Fld->height());
    Edt.SetLgeIdx(0);
    Edt.SetAvlCol(0);
  }
  void SetUp() override {
    ASSERT_TRUE(Edt.SarAndTkn().LodTknFil(TESSARO_DATA_DIR "/ExtComTkn.sys")) << GuLstErrMsg;
    Viw = std::make_unique<TVioFldViw>(Edt, Fld);
    Pgm = std::make_unique<TPgmViw>(Edt, Fld, &Win, Fil);
  }
  ~VioPgmViw() override {
    Pgm.reset();
    Viw.reset();
  }
  // Start, Delay, Stop in a row.
  void Row() {
    ASSERT_TRUE(Edt.CrtSmpVio(VT_STA, 0, 0));
    ASSERT_TRUE(Edt.CrtDlyVio(1, 0, "12"));
    ASSERT_NE(Edt.PutVio(VT_STO, 2, 0), nullptr);
  }
  static QRect Geo(const TVio* v) { return QRect(v->Left(), v->Top(), v->Width(), v->Height()); }
  QFrame* Frm(const char* nam) { return Fld->findChild<QFrame*>(nam); }

  TFakePlatform Pf;
  QMainWindow Win;
  QWidget* Fld = nullptr;
  QMenu* Fil = nullptr;
  TVioPgmItp Edt;
  std::unique_ptr<TVioFldViw> Viw;
  std::unique_ptr<TPgmViw> Pgm;
};

TEST_F(VioPgmViw, MeterAndListingFollowEditsAndAClickSelects) {
  QLabel* m = Pgm->MtrLbl();
  EXPECT_EQ(m->text(), "- / 255 bytes");
  EXPECT_FALSE(m->toolTip().isEmpty());
  EXPECT_TRUE(m->styleSheet().isEmpty()) << "an empty field is nothing wrong";

  Row();
  // The edits in a row are translated once, when the events run.
  EXPECT_EQ(m->text(), "- / 255 bytes");
  QApplication::processEvents();
  EXPECT_EQ(m->text(), "4 / 255 bytes");
  EXPECT_TRUE(m->toolTip().isEmpty());
  EXPECT_TRUE(m->styleSheet().isEmpty());

  QListWidget* l = Pgm->Lst();
  ASSERT_EQ(l->count(), 1 + 4);
  const QStringList want = VioQStr(FmtTrnLst(Pgm->Mtr().Trn())).split('\n', Qt::SkipEmptyParts);
  for (int i = 0; i < l->count(); ++i) EXPECT_EQ(l->item(i)->text(), want[i]);
  // Address 2 (the delay's value) belongs to the Delay vio.
  emit l->itemClicked(l->item(1 + 2));
  EXPECT_EQ(Pgm->SelVio(), Edt.Vios()[1]);
  QFrame* sel = Frm("frmLstSel");
  ASSERT_NE(sel, nullptr);
  EXPECT_TRUE(sel->isVisible());
  EXPECT_TRUE(sel->geometry().contains(Geo(Edt.Vios()[1])));
  emit l->itemClicked(l->item(0));  // the header names no vio
  EXPECT_EQ(Pgm->SelVio(), nullptr);
  EXPECT_FALSE(sel->isVisible());

  // Removing the Stop turns the meter red again and empties the listing.
  emit l->itemClicked(l->item(1 + 3));
  EXPECT_EQ(Pgm->SelVio(), Edt.Vios()[2]);
  Edt.RmvVio(Edt.Vios()[2]);
  EXPECT_EQ(Pgm->SelVio(), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(m->text(), "- / 255 bytes");
  EXPECT_TRUE(m->styleSheet().contains("color")) << "red while it does not translate";
  EXPECT_EQ(l->count(), 1);

  // The listing's mark goes with the listing.
  Pgm->LstAct()->trigger();
  ASSERT_TRUE(l->isVisible());
  emit l->itemClicked(l->item(0));
  Edt.PutVio(VT_STO, 2, 0);
  QApplication::processEvents();
  emit l->itemClicked(l->item(1 + 3));
  ASSERT_TRUE(sel->isVisible());
  l->close();
  EXPECT_FALSE(sel->isVisible());
  EXPECT_EQ(Pgm->SelVio(), nullptr);
}

TEST_F(VioPgmViw, ExportsTheFieldAsPicture) {
  Row();
  QTemporaryDir dir;
  Pgm->FOnExpPth = [&] { return dir.filePath("pgm"); };  // typed without ".png"
  Pgm->ExpAct()->trigger();
  QImage img(dir.filePath("pgm.png"), "PNG");
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.size(), Fld->size());

  // A path that cannot be written gives a message and no file.
  Pgm->FOnExpPth = [&] { return dir.filePath("no/such/folder/x.png"); };
  Pgm->ExpAct()->trigger();
  EXPECT_EQ(Pf.MsgBox.Calls.size(), 1u);
}

TEST_F(VioPgmViw, PrintsTheFieldOntoOnePage) {
  QTemporaryDir dir;
  // Printing to a PDF file: the dialog's answer comes from the test.
  auto toPdf = [&](const QString& pth, bool ok) {
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
  const QByteArray empty = toPdf(dir.filePath("empty.pdf"), true);
  Row();
  const QByteArray pdf = toPdf(dir.filePath("pgm.pdf"), true);
  ASSERT_TRUE(pdf.startsWith("%PDF-")) << pdf.left(16).toStdString();
  EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 1) << "one page";
  // The vios are on it: more to draw than the empty field.
  EXPECT_GT(pdf.size(), empty.size() + 500) << pdf.size() << " vs " << empty.size();
  EXPECT_TRUE(Pf.MsgBox.Calls.empty());

  // A cancelled dialog prints nothing and says nothing.
  EXPECT_TRUE(toPdf(dir.filePath("no.pdf"), false).isEmpty());
  EXPECT_FALSE(QFile::exists(dir.filePath("no.pdf")));
  EXPECT_TRUE(Pf.MsgBox.Calls.empty());
  // A file that cannot be written is reported.
  EXPECT_TRUE(toPdf(dir.filePath("no/such/folder/x.pdf"), true).isEmpty());
  ASSERT_EQ(Pf.MsgBox.Calls.size(), 1u);
  EXPECT_NE(Pf.MsgBox.Calls[0].Text.find("x.pdf"), std::string::npos) << Pf.MsgBox.Calls[0].Text;
}

TEST_F(VioPgmViw, RunHighlightFollowsTheAddressAndGoes) {
  Row();
  Pgm->Upd();
  Pgm->SetRunStm(Pgm->Mtr().Trn());
  QFrame* run = Frm("frmRunVio");
  ASSERT_NE(run, nullptr);
  Pgm->RunAdr(1);
  EXPECT_EQ(Pgm->RunVio(), Edt.Vios()[1]);
  EXPECT_TRUE(run->isVisible());
  EXPECT_TRUE(run->geometry().contains(Geo(Edt.Vios()[1])));
  Pgm->RunAdr(200);  // beyond the stream: nothing
  EXPECT_EQ(Pgm->RunVio(), nullptr);
  EXPECT_FALSE(run->isVisible());
  // The frame follows a highlighted vio that is moved, and goes with it.
  Pgm->RunAdr(3);
  Edt.PutVioOnCel(Edt.Vios()[2], 4, 3);
  EXPECT_TRUE(run->geometry().contains(Geo(Edt.Vios()[2])));
  Edt.RmvVio(Edt.Vios()[2]);
  EXPECT_EQ(Pgm->RunVio(), nullptr);
  EXPECT_FALSE(run->isVisible());
  // A new stream ends the highlight of the old one; the end of the run and a cleared one too.
  Pgm->RunAdr(0);
  Pgm->SetRunStm(Pgm->Mtr().Trn());
  EXPECT_FALSE(run->isVisible());
  Pgm->RunAdr(0);
  Pgm->RunEnd();
  EXPECT_FALSE(run->isVisible());
  Pgm->RunAdr(0);
  ASSERT_EQ(Pgm->RunVio(), Edt.Vios()[0]);
  Pgm->ClrRunStm();
  EXPECT_FALSE(run->isVisible());
  Pgm->RunAdr(0);
  EXPECT_EQ(Pgm->RunVio(), nullptr);
}

}  // namespace
