// The Info dialog: version and the product owner's notices.
#pragma once

#include <QDialog>

class QLabel;

class TfrmHlpInf : public QDialog {
  Q_OBJECT

public:
  explicit TfrmHlpInf(QWidget* owner = nullptr);
  // Shows the dialog, not modal, centred on the main window.
  void ShwOn(QWidget* mainWnd);

  QLabel* Label1 = nullptr;  // version
  QLabel* Label3 = nullptr;  // rights notice
  QLabel* Label2 = nullptr;  // web address
  QLabel* Label4 = nullptr;  // e-mail address
  QLabel* Label5 = nullptr;  // who made the program
};
