#include "app/HelpLocation.h"

#include "app/ExportLocation.h"
#include "resources/Strings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <iterator>

namespace {

QString joined(QString folder, const QString& name) {
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder + name;
}

}  // namespace

QString HelpLocation::clientFolderFileName() {
  return QFileInfo(Strings::LoadString(Strings::IDS_HELP_FILE)).completeBaseName() + QStringLiteral(".html");
}

QStringList HelpLocation::candidates(const QString& clientFolder, const QString& programFolder,
                                     const QString& sourceCopy) {
  QStringList places;
  if (!clientFolder.isEmpty()) places << joined(clientFolder, clientFolderFileName());
  if (!programFolder.isEmpty()) {
    places << joined(programFolder, QStringLiteral("help/quillon.html"));
    places << QDir::cleanPath(
        joined(programFolder, QStringLiteral(QUILLON_HELP_FROM_PROGRAM "/quillon.html")));
  }
  if (!sourceCopy.isEmpty()) places << sourceCopy;
  return places;
}

QString HelpLocation::find(const QString& clientFolder, const QString& programFolder,
                           const QString& sourceCopy) {
  for (const QString& place : candidates(clientFolder, programFolder, sourceCopy)) {
    const QFileInfo info(place);
    if (info.isFile() && info.isReadable()) return info.absoluteFilePath();
  }
  return {};
}

QStringList HelpLocation::installedCandidates() {
  return candidates(ExportLocation::clientFolder(), QCoreApplication::applicationDirPath(),
                    QStringLiteral(QUILLON_SOURCE_HELP_FILE));
}

QString HelpLocation::installedFile() {
  return find(ExportLocation::clientFolder(), QCoreApplication::applicationDirPath(),
              QStringLiteral(QUILLON_SOURCE_HELP_FILE));
}

QString HelpLocation::topicForGraphType(int graphType) {
  static const char* const kTopics[] = {"time-window-summary", "one-frequency",
                                        "time-window-detail",  "24-hour",
                                        "multi-day",           "multi-day-time-window"};
  if (graphType < 0 || graphType >= static_cast<int>(std::size(kTopics))) return {};
  return QString::fromLatin1(kTopics[graphType]);
}

const QStringList& HelpLocation::topics() {
  static const QStringList kAll = {QStringLiteral("new-graph"),
                                   QStringLiteral("reports"),
                                   QStringLiteral("time-window-summary"),
                                   QStringLiteral("one-frequency"),
                                   QStringLiteral("time-window-detail"),
                                   QStringLiteral("24-hour"),
                                   QStringLiteral("multi-day"),
                                   QStringLiteral("multi-day-time-window"),
                                   QStringLiteral("export"),
                                   QStringLiteral("print"),
                                   QStringLiteral("keyboard"),
                                   QStringLiteral("markers"),
                                   QStringLiteral("thresholds"),
                                   QStringLiteral("properties"),
                                   QStringLiteral("troubleshooting"),
                                   QStringLiteral("compare")};
  return kAll;
}
