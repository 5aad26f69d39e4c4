#include "app/platform/QtFilDlg.h"

#include <QFileDialog>
#include <QStringList>

#include "app/platform/QtStr.h"

namespace {

bool Take(const QString& chosen, std::string& name) {
  if (chosen.isEmpty()) return false;
  const QByteArray b = chosen.toLocal8Bit();
  name.assign(b.constData(), static_cast<std::size_t>(b.size()));
  return true;
}

}  // namespace

QString TQtFilDlg::QtFlt(const std::string& filter) {
  const QStringList parts = QStr(filter).split('|');
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString dsc = parts[i];
    const QString pat = i + 1 < parts.size() ? parts[i + 1] : QString();
    if (pat.isEmpty() || dsc.contains("(" + pat + ")"))
      out << dsc;
    else
      out << dsc + " (" + pat + ")";
  }
  return out.join(";;");
}

// The toolkit's own dialogs: they speak the language chosen in the program,
// where the desktop's would speak the desktop's.
bool TQtFilDlg::Opn(const TFilDlgReq& req, std::string& name) {
  return Take(QFileDialog::getOpenFileName(FOwn, QString(), QStr(req.IniDir), QtFlt(req.Filter), nullptr,
                                           QFileDialog::DontUseNativeDialog),
              name);
}

bool TQtFilDlg::Sav(const TFilDlgReq& req, std::string& name) {
  return Take(QFileDialog::getSaveFileName(FOwn, QString(), QStr(req.IniDir), QtFlt(req.Filter), nullptr,
                                           QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog),
              name);
}
