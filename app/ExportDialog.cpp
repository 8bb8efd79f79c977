#include "app/ExportDialog.h"

#include "app/ExportLocation.h"
#include "core/Prompts.h"
#include "resources/Strings.h"

#include <QFileDialog>

void prepareExportDialog(QFileDialog& dialog, const ExportLocation& where) {
  const QString title = Strings::LoadString(Strings::IDS_UI_EXPORT_TITLE);
  dialog.setWindowTitle(title);
  dialog.setAccessibleName(title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setDefaultSuffix(Strings::LoadString(Strings::IDS_EXPORT_EXTENSION));
  dialog.setNameFilters(ExportLocation::nameFilters(Strings::LoadString(Strings::IDS_EXPORT_FILTER)));
  // The "*.csv" start name is left out: the filter already lists only CSV
  // files, and Qt's dialogs would take the wildcard for a file name.
  dialog.setDirectory(where.folder);
}

QString askExportPath(QWidget* parent) {
  QFileDialog dialog(parent);
  prepareExportDialog(dialog, ExportLocation::current());
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

bool saveExport(QWidget* owner, const QString& path, const ExportFile::Writer& writer) {
  const ExportFile::Result result = ExportFile::write(path, writer);
  if (!result) Prompts::current().message(owner, result.error);
  return result.ok;
}

bool exportReport(QWidget* parent, const ExportFile::Writer& writer) {
  const QString path = askExportPath(parent);
  return !path.isEmpty() && saveExport(parent, path, writer);
}
