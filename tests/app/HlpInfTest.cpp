// The Info dialog and the opening of the manuals from the Help menu.
#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/HlpInf.h"
#include "app/VslCnv.h"
#include "app/VslCnvLgc.h"
#include "core/PathUtl.h"
#include "support/FakePlatform.h"

namespace {

TEST(HlpInf, ShowsVersionBuildAndNoticesInsideTheDialog) {
  TfrmHlpInf dlg;
  EXPECT_EQ(dlg.Label1->text().toStdString(), "Tessaro version 1.1");
  EXPECT_EQ(dlg.LblBld->text().toStdString(), "(Build " + AppFilVer() + ")");
  EXPECT_EQ(dlg.LblBld->y(), dlg.Label1->y());
  EXPECT_GT(dlg.LblBld->x(), dlg.Label1->x() + dlg.Label1->width());
  for (QLabel* l : {dlg.Label1, dlg.LblBld, dlg.Label2, dlg.Label3, dlg.Label4, dlg.Label5}) {
    SCOPED_TRACE(l->objectName().toStdString());
    EXPECT_FALSE(l->text().isEmpty());
    EXPECT_LE(l->x() + l->sizeHint().width(), dlg.width());
    // No invented addresses.
    EXPECT_FALSE(l->text().contains('@'));
    EXPECT_FALSE(l->text().contains("www", Qt::CaseInsensitive));
  }
  // Not modal: the main window can be used while it is open.
  EXPECT_FALSE(dlg.isModal());
}

class MnlOpn : public ::testing::Test {
protected:
  void SetUp() override { Kep = GuMnlOpnCmd; }
  void TearDown() override {
    // Every opener has ended and is gone.
    QTRY_VERIFY(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty());
    GuMnlOpnCmd = Kep;
  }
  // An opener that writes its argument into a file and ends with the code.
  QString Opener(int code) {
    const std::string log = Tmp.Path() + "opened.txt";
    const std::string p = Tmp.Write("open.sh", "#!/bin/sh\nprintf '%s' \"$1\" > '" + log + "'\nexit " +
                                                   std::to_string(code) + "\n");
    std::filesystem::permissions(p, std::filesystem::perms::owner_all);
    return QString::fromStdString(p);
  }
  bool Opened(const std::string& pdf) {
    std::ifstream in(Tmp.Path() + "opened.txt");
    std::string s;
    std::getline(in, s);
    return s == pdf;
  }

  TFakePlatform Plt;
  TTmpDir Tmp;
  QString Kep;
};

TEST_F(MnlOpn, AMissingManualIsToldWithItsPath) {
  GuMnlOpnCmd = Opener(0);
  const std::string pdf = Tmp.Path() + "none.pdf";
  OpnMnl(pdf, 0);
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  const std::string& t = Plt.MsgBox.Calls[0].Text;
  EXPECT_EQ(t.rfind("The manual could not be found.", 0), 0u) << t;
  EXPECT_EQ(t.substr(t.size() - pdf.size()), pdf);
  EXPECT_FALSE(Opened(pdf));
}

TEST_F(MnlOpn, APresentManualGoesToTheOpenerAndNothingIsShown) {
  GuMnlOpnCmd = Opener(0);
  const std::string pdf = Tmp.Write("m.pdf", "%PDF-1.4\n");
  OpnMnl(pdf, 0);
  QTRY_VERIFY(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty());
  EXPECT_TRUE(Opened(pdf));
  EXPECT_TRUE(Plt.MsgBox.Calls.empty());
}

TEST_F(MnlOpn, NoViewerIsToldWhenTheOpenerFailsOrIsMissing) {
  const std::string pdf = Tmp.Write("m.pdf", "%PDF-1.4\n");
  GuMnlOpnCmd = Opener(3);  // xdg-open: "no program for this file"
  OpnMnl(pdf, 0);
  QTRY_COMPARE(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text.rfind("No program could open the manual.", 0), 0u);
  EXPECT_TRUE(Opened(pdf));

  GuMnlOpnCmd = QString::fromStdString(Tmp.Path() + "no-such-opener");
  OpnMnl(pdf, 0);
  QTRY_COMPARE(Plt.MsgBox.Calls.size(), 2u);
  EXPECT_EQ(Plt.MsgBox.Calls[1].Text.rfind("No program could open the manual.", 0), 0u);
}

TEST_F(MnlOpn, TheHelpMenuOpensTheManualOfItsItemInTheDocumentationFolder) {
  TVslCnvCfg c;
  c.AppDir = Tmp.Path() + "ins/bin/";
  c.InsDir = Tmp.Path() + "ins/";
  Tmp.Write("ins/bin/SysMsgFil.sys", "0x71\nMissing EN\nMissing NL\nMissing DE\n");
  Tmp.Write("ins/bin/ExtComTkn.sys", "0x11\nA,XXX,Driving,Forward,Driving,Vooruit,Driving,Vorwaerts\n");
  c.ScnPrt = [] { return std::vector<std::string>{}; };
  auto w = std::make_unique<TfrmVslCnv>(nullptr, c);
  GuMnlOpnCmd = Opener(0);
  const std::string doc = NativePath(DocDir(c.InsDir));
  // The message names the folder beside the installation without "..".
  EXPECT_EQ(doc.find(".."), std::string::npos) << doc;
  EXPECT_EQ(doc.substr(doc.size() - 14), "Documentation/") << doc;
  w->LgeAct(2)->trigger();
  w->HlpMnu().actions()[0]->trigger();
  ASSERT_EQ(Plt.MsgBox.Calls.size(), 1u);
  EXPECT_EQ(Plt.MsgBox.Calls[0].Text, "Missing DE " + doc + GcMnlEng);

  // Beside the installation folder, as on Windows.
  Tmp.Write("Documentation/" + std::string(GcMnlGer), "%PDF-1.4\n");
  w->HlpMnu().actions()[1]->trigger();
  QTRY_VERIFY(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty());
  EXPECT_TRUE(Opened(doc + GcMnlGer));
  EXPECT_EQ(Plt.MsgBox.Calls.size(), 1u);
}

}  // namespace
