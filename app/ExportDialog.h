#pragma once

#include "app/ExportFile.h"

#include <QString>

class ExportLocation;
class QFileDialog;
class QWidget;

// Sets up a save dialog for an export: starts in the export folder with the
// name "*.csv", adds the ".csv" suffix to a bare name, offers the
// comma-delimited filter and asks before replacing a file.
void prepareExportDialog(QFileDialog& dialog, const ExportLocation& where);

// Asks where to export; the chosen path, or empty when the user cancelled.
QString askExportPath(QWidget* parent);

// Writes an export to `path`; a failure is shown in a message box owned by
// `owner`. True when the file was written.
bool saveExport(QWidget* owner, const QString& path, const ExportFile::Writer& writer);

// askExportPath() then saveExport(); false when cancelled or failed.
bool exportReport(QWidget* parent, const ExportFile::Writer& writer);
