#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/ExportDialog.h"
#include "app/ExportFile.h"
#include "app/ExportLocation.h"
#include "core/Prompts.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"

namespace {

struct FolderCase {
  const char* clientFolder;
  const char* exportFolder;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
  *os << '"' << c.clientFolder << '"';
}

class ExportFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ExportFolderTest, FolderBeforeClientBecomesExports) {
  EXPECT_EQ(ExportLocation::exportFolderFor(QString::fromUtf8(GetParam().clientFolder)),
            QString::fromUtf8(GetParam().exportFolder));
}

INSTANTIATE_TEST_SUITE_P(ClientFolders, ExportFolderTest,
                         ::testing::Values(
                             // The installation's own form, backslashes read as separators.
                             FolderCase{"C:\\Apps\\PM\\Client\\", "C:/Apps/PM/Exports/"},
                             FolderCase{"/opt/veltrix/pm/Client/", "/opt/veltrix/pm/Exports/"},
                             FolderCase{"/opt/veltrix/pm/Client", "/opt/veltrix/pm/Exports/"},
                             // Only the first "Client" counts; whatever follows it is dropped.
                             FolderCase{"/srv/ClientData/pm/Client/", "/srv/Exports/"},
                             FolderCase{"/opt/pm/Client/bin/", "/opt/pm/Exports/"},
                             // A name that merely starts with it still matches, as the rule has always done.
                             FolderCase{"/opt/pm/Clients/", "/opt/pm/Exports/"},
                             FolderCase{"Client\\", "Exports/"},
                             // No "Client" with this case: no export folder.
                             FolderCase{"/opt/veltrix/pm/client/", ""}, FolderCase{"/opt/pm/", ""},
                             FolderCase{"", ""}));

class ExportLocationTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    ASSERT_TRUE(m_root.isValid());
  }
  QString root() const { return m_root.path(); }
  void setClientFolder(const QString& folder) {
    QDir().mkpath(QFileInfo(machineFile()).absolutePath());
    QSettings machine(machineFile(), QSettings::IniFormat);
    machine.setValue(QStringLiteral("Client/NembraClientDir"), folder);
  }

private:
  QTemporaryDir m_root;
};

TEST_F(ExportLocationTest, ExistingExportsFolderIsUsedWithCsvWildcard) {
  ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("PM/Exports")));
  const ExportLocation where =
      ExportLocation::resolve(root() + QStringLiteral("/PM/Client/"), QStringLiteral("/docs"));
  EXPECT_EQ(where.folder, root() + QStringLiteral("/PM/Exports/"));
  EXPECT_EQ(where.initialPath(), root() + QStringLiteral("/PM/Exports/*.csv"));
}

TEST_F(ExportLocationTest, FallsBackWhenTheExportFolderIsUnusable) {
  ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("PM/Client")));
  for (const QString& client : {root() + QStringLiteral("/PM/Client/"),  // no Exports folder beside it
                                root() + QStringLiteral("/PM/client/"), QString()}) {
    const ExportLocation where = ExportLocation::resolve(client, root() + QStringLiteral("/docs"));
    EXPECT_EQ(where.folder, root() + QStringLiteral("/docs/")) << client.toStdString();
    EXPECT_EQ(where.fileName, QStringLiteral("*.csv"));
  }
}

TEST_F(ExportLocationTest, SaveDialogStartsWithTheWildcardInTheExportFolder) {
  ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("PM/Exports")));
  QFileDialog dialog;
  prepareExportDialog(dialog, ExportLocation::resolve(root() + QStringLiteral("/PM/Client/"), root()));
  EXPECT_EQ(dialog.directory().absolutePath(), root() + QStringLiteral("/PM/Exports"));
  EXPECT_EQ(dialog.selectedFiles(), QStringList{root() + QStringLiteral("/PM/Exports/*.csv")});
}

TEST_F(ExportLocationTest, CurrentReadsTheMachineWideClientFolder) {
  ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("Nembra/Exports")));
  setClientFolder(root() + QStringLiteral("/Nembra/Client/"));
  EXPECT_EQ(ExportLocation::clientFolder(), root() + QStringLiteral("/Nembra/Client/"));
  EXPECT_EQ(ExportLocation::current().folder, root() + QStringLiteral("/Nembra/Exports/"));
}

TEST(ExportNameFiltersTest, PairedFilterTextBecomesQtFilters) {
  EXPECT_EQ(ExportLocation::nameFilters(QStringLiteral("Comma Delimited Format (*.csv) | *.csv ||")),
            QStringList{QStringLiteral("Comma Delimited Format (*.csv)")});
  EXPECT_EQ(ExportLocation::nameFilters(QStringLiteral("Text|*.txt;*.log|All (*.*)|*.*||")),
            (QStringList{QStringLiteral("Text (*.txt *.log)"), QStringLiteral("All (*.*)")}));
  EXPECT_TRUE(ExportLocation::nameFilters(QString()).isEmpty());
}

// Writing files.

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

class ExportFileTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
  QString path(const QString& name) const { return m_dir.filePath(name); }
  QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
  static void writeOld(const QString& p) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old contents\n");
  }

private:
  QTemporaryDir m_dir;
};

TEST_F(ExportFileTest, WritesWhatTheWriterProducesReplacingAnOlderFile) {
  const QString target = path(QStringLiteral("report.csv"));
  writeOld(target);
  const ExportFile::Result r = ExportFile::write(target, [](QTextStream& out) { out << "Port 3\nUID: 7\n"; });
  ASSERT_TRUE(r) << r.error.toStdString();
  EXPECT_EQ(readAll(target), QByteArray("Port 3\nUID: 7\n"));
  EXPECT_EQ(entries(), QStringList{QStringLiteral("report.csv")});
}

// A writer whose output could not be stored completely (what a full disk
// does to the stream) must leave the older file as it was, and nothing else.
TEST_F(ExportFileTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const QString target = path(QStringLiteral("report.csv"));
  writeOld(target);
  const ExportFile::Result r = ExportFile::write(target, [](QTextStream& out) {
    out << "half a report";
    out.setStatus(QTextStream::WriteFailed);
  });
  EXPECT_FALSE(r);
  EXPECT_TRUE(r.error.startsWith(QStringLiteral("Could not write file ") + target + QStringLiteral(": ")))
      << r.error.toStdString();
  EXPECT_GT(r.error.size(), (QStringLiteral("Could not write file ") + target + QStringLiteral(": ")).size());
  EXPECT_EQ(readAll(target), QByteArray("old contents\n"));
  EXPECT_EQ(entries(), QStringList{QStringLiteral("report.csv")});
}

// Root ignores permission bits, so the unwritable targets are ones no user
// can create.
TEST_F(ExportFileTest, UnwritableTargetsReportTheFileAndWriteNothing) {
  writeOld(path(QStringLiteral("plain-file")));
  ASSERT_TRUE(QDir(path(QString())).mkdir(QStringLiteral("a-folder")));
  const QString targets[] = {
      path(QStringLiteral("plain-file/report.csv")),      // parent is a file
      path(QStringLiteral("no-such-folder/report.csv")),  // parent missing
      path(QStringLiteral("a-folder")),                   // target is a folder
  };
  for (const QString& target : targets) {
    bool called = false;
    const ExportFile::Result r = ExportFile::write(target, [&](QTextStream&) { called = true; });
    EXPECT_FALSE(r) << target.toStdString();
    EXPECT_FALSE(called) << target.toStdString();
    EXPECT_TRUE(r.error.contains(target)) << r.error.toStdString();
  }
  EXPECT_EQ(entries(), QStringList{QStringLiteral("plain-file")});
  EXPECT_EQ(readAll(path(QStringLiteral("plain-file"))), QByteArray("old contents\n"));
}

TEST_F(ExportFileTest, SaveExportShowsOneMessageOnlyOnFailure) {
  RecordingPrompts prompts;
  ScopedPrompts scope(prompts);
  EXPECT_TRUE(saveExport(nullptr, path(QStringLiteral("ok.csv")), [](QTextStream& out) { out << "x\n"; }));
  EXPECT_TRUE(prompts.texts.isEmpty());
  EXPECT_FALSE(
      saveExport(nullptr, path(QStringLiteral("missing/no.csv")), [](QTextStream& out) { out << "x\n"; }));
  ASSERT_EQ(prompts.texts.size(), 1);
  EXPECT_TRUE(prompts.texts[0].contains(QStringLiteral("missing/no.csv")));
}

}  // namespace
