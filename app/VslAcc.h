// The main window for a screen reader: names of the tool buttons, the status
// bar, the field and its vios (TVioFldAcc), the listing, in the user's
// language; and what it announces: each new status bar message and the words
// of each spoken cue. Qt 6.4 has no announcement event, and its Linux bridge
// passes no alert on: an announcement is an object of the notification role
// in the status bar ("ancVslCnv"), named by the text, that shows anew with
// each one, as a desktop notification does.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QAccessibleEvent;
class QWidget;
class TVioFldAcc;
class TfrmVslCnv;

class TVslAcc final : public QObject {
public:
  // Made once the field's views exist; released before them.
  explicit TVslAcc(TfrmVslCnv& wnd);
  ~TVslAcc() override;

  // Every name in the language.
  void RfsTxt(std::uint8_t lge);
  // Announces the text: it becomes the status bar's accessible description
  // and the name of the notification, which then shows.
  void Anc(const QString& txt);
  // The words of a cue file in the language (empty for a file that is no cue).
  static QString CueTxt(const std::string& path, std::uint8_t lge);
  TVioFldAcc& Fld() { return *FpFld; }

  // A test's recorder of the notification's showing (Qt tells of it only while
  // an assistive technology listens).
  static inline void (*GpUpd)(QAccessibleEvent*) = nullptr;

private:
  TfrmVslCnv& W;
  std::unique_ptr<TVioFldAcc> FpFld;
  QWidget* FpAnc;  // the notification, a child of the status bar
};
