#include "app/ExportFile.h"

#include "resources/Strings.h"

#include <QDir>
#include <QSaveFile>
#include <QTextStream>

namespace {

ExportFile::Result failure(const QString& path, QString reason) {
  if (reason.isEmpty()) reason = Strings::LoadString(Strings::IDS_UI_WRITE_INCOMPLETE);
  return {
      false,
      Strings::LoadString(Strings::IDS_UI_EXPORT_WRITE_FAILED).arg(QDir::toNativeSeparators(path), reason)};
}

}  // namespace

ExportFile::Result ExportFile::write(const QString& path, const Writer& writer) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return failure(path, file.errorString());

  QTextStream out(&file);
  if (writer) writer(out);
  out.flush();
  // A short write (a full disk) shows in the stream's status or the file's
  // error; either way the temporary file is dropped and the target kept.
  if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError) {
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QString();
    file.cancelWriting();
    return failure(path, reason);
  }
  if (!file.commit()) return failure(path, file.errorString());
  return {true, {}};
}

ExportFile::Result ExportFile::writeDevice(const QString& path, const DeviceWriter& writer) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return failure(path, file.errorString());
  QString reason;
  const bool written = writer && writer(file, reason);
  if (!written || file.error() != QFileDevice::NoError) {
    if (file.error() != QFileDevice::NoError) reason = file.errorString();
    file.cancelWriting();
    return failure(path, reason);
  }
  if (!file.commit()) return failure(path, file.errorString());
  return {true, {}};
}
