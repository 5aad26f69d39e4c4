// The intro window: a picture that covers the first seconds of a run.
#pragma once

#include <QWidget>

#include <string>

class QLabel;

class TfrmAppIto : public QWidget {
  Q_OBJECT

public:
  // Loads the picture from <insDir>pictures\intro.bmp.
  explicit TfrmAppIto(const std::string& insDir, QWidget* owner = nullptr);

  // Size of the picture control; the window takes exactly this size.
  static constexpr int GcImgWdt = 473;
  static constexpr int GcImgHgt = 377;

  // Sizes the window to the picture, removes the border, centres it on the
  // main window and shows it on top.
  void ShwOn(QWidget* mainWnd);

  bool PicLod() const { return FbPicLod; }

private:
  QLabel* Image1 = nullptr;
  bool FbPicLod = false;
};
