#pragma once

#include <QString>
#include <QStringList>

// Finds the help file and names its topics. The help is one HTML file whose
// topics are anchors; the installation of the monitoring system may place a
// copy in its client folder, which then wins over the copy shipped beside
// the program.
class HelpLocation {
public:
  // The help file's name in the client folder: the string table's help file
  // name with the ".html" extension, as no compiled-help viewer exists here.
  static QString clientFolderFileName();

  // The places looked at, in order: the client folder's copy, a copy
  // beside the program ("help/quillon.html", as a build tree has it), the
  // installed copy (share/quillon/help/quillon.html next to the program's
  // bin/) and, for runs from a build tree, `sourceCopy`. Empty parts are
  // left out.
  static QStringList candidates(const QString& clientFolder, const QString& programFolder,
                                const QString& sourceCopy);
  // The first candidate that is a readable file; empty when there is none.
  static QString find(const QString& clientFolder, const QString& programFolder, const QString& sourceCopy);

  // candidates() and find() for this installation.
  static QStringList installedCandidates();
  static QString installedFile();

  // The topic of a report (0 to 5); the empty topic (the start of the file)
  // before any report.
  static QString topicForGraphType(int graphType);
  // The topics of the two dialogs that offer help.
  static QString newGraphTopic() { return QStringLiteral("new-graph"); }
  static QString propertiesTopic() { return QStringLiteral("properties"); }
  // Every topic the program opens the help at.
  static const QStringList& topics();
};
