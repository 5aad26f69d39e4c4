// The main window for a screen reader: names of the tool buttons, the status
// bar, the field and its vios (TVioFldAcc), the listing, in the user's
// language; and what it announces: each new status bar message and the words
// of each spoken cue.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QAccessibleEvent;
class TVioFldAcc;
class TfrmVslCnv;

class TVslAcc final : public QObject {
public:
  // Made once the field's views exist; released before them.
  explicit TVslAcc(TfrmVslCnv& wnd);
  ~TVslAcc() override;

  // Every name in the language.
  void RfsTxt(std::uint8_t lge);
  // Announces the text: it becomes the status bar's accessible description,
  // and an alert of the status bar goes to the assistive technology.
  void Anc(const QString& txt);
  // The words of a cue file in the language (empty for a file that is no cue).
  static QString CueTxt(const std::string& path, std::uint8_t lge);
  TVioFldAcc& Fld() { return *FpFld; }

  // Where the announcements' events go: the platform's accessibility, or a test's recorder.
  static inline void (*GpUpd)(QAccessibleEvent*) = nullptr;

private:
  TfrmVslCnv& W;
  std::unique_ptr<TVioFldAcc> FpFld;
};
