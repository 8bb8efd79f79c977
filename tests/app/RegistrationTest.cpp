#include <gtest/gtest.h>

#include "app/Registration.h"
#include "support/QtPrinters.h"
#include "support/TempSettings.h"

#include <QCoreApplication>

namespace {

class RegistrationTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
  }
  void TearDown() override {
    m_hadXdg ? qputenv("XDG_DATA_HOME", m_xdg) : qunsetenv("XDG_DATA_HOME");
    qputenv("HOME", m_home);
  }

  QString dataHome() const { return userDir() + QStringLiteral("/data"); }
  QString entryPath() const { return dataHome() + QStringLiteral("/applications/quillon.desktop"); }

private:
  bool m_hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
  QByteArray m_xdg = qgetenv("XDG_DATA_HOME");
  QByteArray m_home = qgetenv("HOME");
};

TEST_F(RegistrationTest, EntryLivesUnderXdgDataHomeOrElseTheHomeFolder) {
  EXPECT_EQ(Registration::desktopEntryPath(), entryPath());

  qputenv("HOME", userDir().toUtf8());
  const QString fallback = userDir() + QStringLiteral("/.local/share/applications/quillon.desktop");
  qunsetenv("XDG_DATA_HOME");
  EXPECT_EQ(Registration::desktopEntryPath(), fallback);
  // A relative XDG_DATA_HOME is invalid and ignored.
  qputenv("XDG_DATA_HOME", "relative/share");
  EXPECT_EQ(Registration::desktopEntryPath(), fallback);
}

// A hidden entry that starts the executable (the running one by default),
// replacing an earlier one; unregistering succeeds with or without an entry.
TEST_F(RegistrationTest, RegisterWritesOneHiddenEntryAndUnregisterRemovesIt) {
  ASSERT_TRUE(Registration::registerServer(QStringLiteral("/old/place/quillon")).ok);
  const Registration::Result result = Registration::registerServer();
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.message.contains(entryPath())) << result.message.toStdString();
  const QString program = QCoreApplication::applicationFilePath();
  const QString entry = QString::fromUtf8(readFile(entryPath()));
  EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n")) << entry.toStdString();
  for (const QString& wanted : QStringList{"\nExec=" + Registration::execArgument(program) + '\n',
                                           "\nTryExec=" + program + '\n', "\nNoDisplay=true\n"})
    EXPECT_TRUE(entry.contains(wanted)) << wanted.toStdString();
  // No field codes (the program takes no files or URLs), and nothing of the earlier entry.
  EXPECT_FALSE(entry.contains('%') || entry.contains("/old/place")) << entry.toStdString();
  EXPECT_EQ(QDir(dataHome() + QStringLiteral("/applications")).entryList(QDir::Files),
            QStringList{QStringLiteral("quillon.desktop")});

  const Registration::Result removed = Registration::unregisterServer();
  EXPECT_TRUE(removed.ok && !QFile::exists(entryPath()));
  const Registration::Result again = Registration::unregisterServer();
  EXPECT_TRUE(again.ok && again.message != removed.message);
  EXPECT_TRUE(again.message.contains(entryPath())) << again.message.toStdString();
}

TEST_F(RegistrationTest, FailuresSayWhichFile) {
  // A file where the folder should be: nothing can be written below it.
  writeFile(dataHome(), "");
  const Registration::Result notWritten = Registration::registerServer(QStringLiteral("/opt/q"));
  EXPECT_FALSE(notWritten.ok);
  EXPECT_TRUE(notWritten.message.contains(entryPath())) << notWritten.message.toStdString();

  // A non-empty folder in the entry's place cannot be removed as a file.
  ASSERT_TRUE(QFile::remove(dataHome()));
  ASSERT_TRUE(QDir().mkpath(entryPath() + QStringLiteral("/inside")));
  const Registration::Result notRemoved = Registration::unregisterServer();
  EXPECT_FALSE(notRemoved.ok);
  EXPECT_TRUE(notRemoved.message.contains(entryPath())) << notRemoved.message.toStdString();
}

// Paths with blanks, quotes or dollar signs must reach the launcher's exec unchanged: the
// Exec value is quoted for the command line, then escaped again as a key-file string.
TEST(RegistrationExecTest, ArgumentsAreQuotedOnlyWhenNeeded) {
  const std::pair<QString, QString> cases[] = {
      {QStringLiteral("/opt/quillon/bin/quillon"), QStringLiteral("/opt/quillon/bin/quillon")},
      {QStringLiteral("/home/a b/quillon"), QStringLiteral("\"/home/a b/quillon\"")},
      {QStringLiteral("/opt/100%/quillon"), QStringLiteral("/opt/100%%/quillon")},
      {QStringLiteral("/opt/$x/quillon"), QStringLiteral("\"/opt/\\$x/quillon\"")},
      {QStringLiteral("/opt/a\"b/quillon"), QStringLiteral("\"/opt/a\\\"b/quillon\"")},
      {QStringLiteral("/opt/it's/quillon"), QStringLiteral("\"/opt/it's/quillon\"")},
      {QStringLiteral("/opt/a`b/quillon"), QStringLiteral("\"/opt/a\\`b/quillon\"")},
      {QStringLiteral("/opt/back\\slash/quillon"), QStringLiteral("\"/opt/back\\\\slash/quillon\"")},
  };
  for (const auto& [path, quoted] : cases)
    EXPECT_EQ(Registration::execArgument(path), quoted) << path.toStdString();
  const QString entry = Registration::desktopEntry(QStringLiteral("/opt/back\\slash/quillon"));
  EXPECT_TRUE(entry.contains("\nExec=\"/opt/back\\\\\\\\slash/quillon\"\n")) << entry.toStdString();
  EXPECT_TRUE(entry.contains("\nTryExec=/opt/back\\\\slash/quillon\n")) << entry.toStdString();
}

}  // namespace
