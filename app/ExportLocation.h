#pragma once

#include <QString>
#include <QStringList>

// Where the export dialog starts. The monitoring system's installation keeps
// its client programs in a folder named "Client" and collects exports in the
// sibling folder "Exports", so the dialog opens there when it can.
//
// The stored texts come from a Windows-shaped registry (the client folder
// value, "Exports\" in the string table); a backslash in them is read as a
// path separator, so "C:\Apps\PM\Client\" and "/opt/pm/Client/" both work.
class ExportLocation {
public:
  QString folder;    // ends with "/"
  QString fileName;  // the name the dialog starts with: "*.csv"

  QString initialPath() const { return folder + fileName; }

  // The export folder of a client folder text: the part before the first
  // "Client" (matched with case, as the installation writes it) followed by
  // "Exports/". Empty when the text has no "Client".
  static QString exportFolderFor(const QString& clientFolder);

  // The dialog's start: the export folder when it exists, otherwise
  // `fallbackFolder`. The program's own folder is not writable on Linux, so
  // an unusable client folder leads to the user's documents instead.
  static ExportLocation resolve(const QString& clientFolder, const QString& fallbackFolder);

  // The machine-wide client folder value (empty when missing).
  static QString clientFolder();
  // resolve() over the installed client folder and the user's documents folder.
  static ExportLocation current();

  // File dialog name filters of a filter text in the "description|pattern|"
  // pairs form of the string table, e.g. "Comma Delimited Format (*.csv)".
  static QStringList nameFilters(const QString& filterText);
};
