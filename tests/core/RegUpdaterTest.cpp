#include "core/CQLRegUpdater.h"
#include "core/SettingsStore.h"
#include "support/QtPrinters.h"
#include "support/TempSettings.h"

#include <QSettings>

namespace {

class RegUpdaterTest : public TempSettingsTest {};

// Every key below `group` with its value, sorted, in one line.
QString dump(const QString& group) {
  SettingsStore store;
  QSettings& s = store.userSettings();
  s.beginGroup(group);
  QStringList keys = s.allKeys();
  keys.sort();
  for (QString& key : keys) key += "=" + s.value(key).toString();
  return keys.join("; ");
}

const QByteArray kRelease24 =
    "[v2.4]\n"
    "Settings\\Report\\Quillon%20-%20=Hub 4\n"
    "Settings\\Step%20Size\\(Default)=1\n"
    "Settings\\Settings\\Increment:=2\n"
    "TWSChart%20Properties\\Deep\\Deeper\\Value=7\n";

TEST_F(RegUpdaterTest, CopiesTheOlderReleaseOnceWithEveryValueAndSubKey) {
  writeFile(userFile(), kRelease24);
  EXPECT_TRUE(CQLRegUpdater(SettingsStore::profileName(), SettingsStore::vendorName()).Update());
  const QString copied =
      "Settings/Report/Quillon - =Hub 4; Settings/Settings/Increment:=2; Settings/Step Size/(Default)=1; "
      "TWSChart Properties/Deep/Deeper/Value=7";
  EXPECT_EQ(dump("All Versions"), copied);
  EXPECT_EQ(dump("v2.4"), copied);  // the source is kept
}

// A profile as older releases left it ("R": the report text's key), and what
// "All Versions" then holds: the last release from 2.3 on, unless it exists.
TEST_F(RegUpdaterTest, PicksTheLastEnumeratedRelease) {
  const std::pair<QByteArray, QString> cases[] = {
      {"[v2.4]\nR=four\n[v2.3]\nR=three\n", "Settings/Report/Quillon - =four"},
      {"[v2.3]\nR=three\n", "Settings/Report/Quillon - =three"},
      {"[All%20Versions]\nR=now\n[v2.4]\nR=four\n", "Settings/Report/Quillon - =now"},
      {"[v1.1]\nR=ancient\n", ""},
      {"", ""},
      // Empty names once sent the copy round one key for ever; named values arrive.
      {"[v2.4]\nkept=1\n\n[v2.4//x]\ny=2\n", "kept=1"},
      {"[v2.4]\nkept=1\n=2\nSettings\\\\Deep=3\n", "kept=1"},
      // Names that differ only in case arrive as one holding the later value.
      {"[v2.4]\nSettings\\Key=upper\nSettings\\key=lower\nSettings\\KEY2=a\nSettings\\other=b\n"
       "Settings\\Grp\\x=1\nSettings\\grp\\y=2\nSettings\\grp\\X=3\n",
       "Settings/Grp/x=3; Settings/Grp/y=2; Settings/KEY2=a; Settings/Key=lower; Settings/other=b"}};
  for (const auto& [content, copied] : cases) {
    writeFile(userFile(), QByteArray(content).replace("\nR=", "\nSettings\\Report\\Quillon%20-%20="));
    EXPECT_TRUE(CQLRegUpdater(SettingsStore::profileName(), SettingsStore::vendorName()).Update());
    EXPECT_EQ(dump("All Versions"), copied) << content.constData();
    QFile::remove(userFile());
  }
}

TEST_F(RegUpdaterTest, MalformedProfileNamesDoNothing) {
  writeFile(userFile(), kRelease24);
  for (const char* profile : {"Orlane Quillon", "\\All Versions", "Orlane Quillon\\", ""}) {
    CQLRegUpdater updater(QString::fromLatin1(profile), SettingsStore::vendorName());
    EXPECT_FALSE(updater.isReady()) << profile;
    EXPECT_TRUE(updater.Update()) << profile;
  }
  EXPECT_EQ(readFile(userFile()), kRelease24);
}

}  // namespace
