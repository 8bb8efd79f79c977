#include "app/ExportLocation.h"

#include "core/SettingsStore.h"
#include "resources/Strings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withSlashes(QString path) {
  return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString withTrailingSlash(QString folder) {
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

}  // namespace

QString ExportLocation::exportFolderFor(const QString& clientFolder) {
  const QString path = withSlashes(clientFolder);
  const qsizetype at = path.indexOf(QStringLiteral("Client"), 0, Qt::CaseSensitive);
  if (at < 0) return {};
  return path.left(at) + withSlashes(Strings::LoadString(Strings::IDS_EXPORTS_FOLDER));
}

ExportLocation ExportLocation::resolve(const QString& clientFolder, const QString& fallbackFolder) {
  ExportLocation where;
  where.fileName = QStringLiteral("*.") + Strings::LoadString(Strings::IDS_EXPORT_EXTENSION);
  const QString exports = exportFolderFor(clientFolder);
  const bool usable = !exports.isEmpty() && QFileInfo(exports).isDir();
  where.folder = withTrailingSlash(usable ? exports : withSlashes(fallbackFolder));
  return where;
}

QString ExportLocation::clientFolder() {
  return SettingsStore::machineText(Strings::LoadString(Strings::IDS_CLIENT_KEY),
                                    Strings::LoadString(Strings::IDS_CLIENT_DIR_VALUE));
}

ExportLocation ExportLocation::current() {
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  return resolve(clientFolder(), documents);
}

QStringList ExportLocation::nameFilters(const QString& filterText) {
  // Pairs of description and pattern separated by "|"; an empty description
  // ends the list (the trailing "||").
  const QStringList parts = filterText.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString pattern = parts[i + 1].trimmed();
    if (description.isEmpty()) break;
    // Qt reads the patterns from the parentheses; patterns in this form are
    // separated by ";".
    filters << (description.contains(QLatin1Char('('))
                    ? description
                    : description + QStringLiteral(" (") +
                          QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')'));
  }
  return filters;
}
