#include "app/ExportDialog.h"

#include "app/ExportLocation.h"
#include "core/Prompts.h"
#include "resources/Strings.h"

#include <QFileDialog>
#include <QFileInfo>

void prepareExportDialog(QFileDialog& dialog, const ExportLocation& where) {
  const QString title = Strings::LoadString(Strings::IDS_UI_EXPORT_TITLE);
  dialog.setWindowTitle(title);
  dialog.setAccessibleName(title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setDefaultSuffix(Strings::LoadString(Strings::IDS_EXPORT_EXTENSION));
  dialog.setNameFilters(ExportLocation::nameFilters(Strings::LoadString(Strings::IDS_EXPORT_FILTER)));
  dialog.setDirectory(where.folder);
  dialog.selectFile(where.fileName);
}

QString askExportPath(QWidget* parent) {
  QFileDialog dialog(parent);
  prepareExportDialog(dialog, ExportLocation::current());
  while (dialog.exec() == QDialog::Accepted) {
    const QString chosen = dialog.selectedFiles().value(0);
    const QFileInfo info(chosen);
    // The start name "*.csv" is a pattern, not a file to write: saving it
    // leaves the dialog up in the folder the user reached.
    if (!info.fileName().contains(QLatin1Char('*')) && !info.fileName().contains(QLatin1Char('?')))
      return chosen;
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
  return {};
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
