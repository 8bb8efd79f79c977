#include "core/CQLRegUpdater.h"
#include "core/SettingsStore.h"
#include "support/TempSettings.h"

#include <QSettings>

namespace {

class RegUpdaterTest : public TempSettingsTest {
protected:
  static bool runUpdate() {
    CQLRegUpdater updater(SettingsStore::profileName(), SettingsStore::vendorName());
    return updater.Update();
  }
  static QVariant value(const QString& path) {
    SettingsStore store;
    return store.userSettings().value(path);
  }
};

const QByteArray kRelease24 =
    "[v2.4]\n"
    "Settings\\Report\\Quillon%20-%20=Hub 4\n"
    "Settings\\Step%20Size\\(Default)=1\n"
    "Settings\\Settings\\Increment:=2\n"
    "TWSChart%20Properties\\Deep\\Deeper\\Value=7\n";

TEST_F(RegUpdaterTest, CopiesTheOlderReleaseOnceWithEveryValueAndSubKey) {
  writeFile(userFile(), kRelease24);
  EXPECT_TRUE(runUpdate());
  EXPECT_EQ(value("All Versions/Settings/Report/Quillon - ").toString(), "Hub 4");
  EXPECT_EQ(value("All Versions/Settings/Step Size/(Default)").toInt(), 1);
  EXPECT_EQ(value("All Versions/Settings/Settings/Increment:").toInt(), 2);
  EXPECT_EQ(value("All Versions/TWSChart Properties/Deep/Deeper/Value").toInt(), 7);
  EXPECT_EQ(value("v2.4/Settings/Report/Quillon - ").toString(), "Hub 4");  // source kept

  {  // the user changes a setting; the next start must not copy over it
    SettingsStore store;
    store.sectionKey("Settings").subKey("Report").writeText("Quillon - ", "Hub 4 new");
  }
  EXPECT_TRUE(runUpdate());
  EXPECT_EQ(value("All Versions/Settings/Report/Quillon - ").toString(), "Hub 4 new");
}

struct SourceCase {
  const char* name;
  QByteArray content;
  QString expectedReport;  // what "All Versions" holds after the update
};

void PrintTo(const SourceCase& c, std::ostream* os) {
  *os << c.name;
}

class RegUpdaterSourceTest : public RegUpdaterTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(RegUpdaterSourceTest, PicksTheLastEnumeratedRelease) {
  writeFile(userFile(), GetParam().content);
  EXPECT_TRUE(runUpdate());
  EXPECT_EQ(value("All Versions/Settings/Report/Quillon - ").toString(), GetParam().expectedReport);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, RegUpdaterSourceTest,
    ::testing::Values(
        SourceCase{
            "both",
            "[v2.4]\nSettings\\Report\\Quillon%20-%20=four\n[v2.3]\nSettings\\Report\\Quillon%20-%20=three\n",
            "four"},
        SourceCase{"onlyOld23", "[v2.3]\nSettings\\Report\\Quillon%20-%20=three\n", "three"},
        SourceCase{"currentPresent",
                   "[All%20Versions]\nSettings\\Report\\Quillon%20-%20=now\n[v2.4]"
                   "\nSettings\\Report\\Quillon%20-%20=four\n",
                   "now"},
        SourceCase{"tooOld", "[v1.1]\nSettings\\Report\\Quillon%20-%20=ancient\n", ""},
        SourceCase{"tooOldInCapitals", "[V1]\nSettings\\Report\\Quillon%20-%20=ancient\n", ""},
        SourceCase{"nothing", "", ""}),
    [](const auto& p) { return std::string(p.param.name); });

// Hand-edited lines with empty names once sent the copy round the same key
// for ever (found by fuzzing); the named values around them still arrive.
TEST_F(RegUpdaterTest, EmptyKeyAndValueNamesAreSkipped) {
  for (const QByteArray& damaged : {QByteArray("[v2.4]\nkept=1\n\n[v2.4//x]\ny=2\n"),
                                    QByteArray("[v2.4]\nkept=1\n=2\nSettings\\\\Deep=3\n")}) {
    writeFile(userFile(), damaged);
    EXPECT_TRUE(runUpdate()) << damaged.constData();
    EXPECT_EQ(value("All Versions/kept").toInt(), 1) << damaged.constData();
    QFile::remove(userFile());
  }
}

// Registry names match without regard to case: names that differ only in
// case arrive as one, the later one in registry order holding its value.
TEST_F(RegUpdaterTest, NamesDifferingOnlyInCaseArriveAsOne) {
  writeFile(userFile(),
            "[v2.4]\n"
            "Settings\\Key=upper\nSettings\\key=lower\nSettings\\KEY2=a\nSettings\\other=b\n"
            "Settings\\Grp\\x=1\nSettings\\grp\\y=2\nSettings\\grp\\X=3\n");
  EXPECT_TRUE(runUpdate());
  SettingsStore store;
  QSettings& s = store.userSettings();
  s.beginGroup("All Versions/Settings");
  QStringList keys = s.childKeys();
  keys.sort();
  EXPECT_EQ(keys, QStringList({"KEY2", "Key", "other"}));
  EXPECT_EQ(s.childGroups(), QStringList({"Grp"}));
  s.endGroup();
  EXPECT_EQ(value("All Versions/Settings/Key").toString(), "lower");
  EXPECT_EQ(value("All Versions/Settings/KEY2").toString(), "a");
  EXPECT_EQ(value("All Versions/Settings/other").toString(), "b");
  EXPECT_EQ(value("All Versions/Settings/Grp/x").toInt(), 3);
  EXPECT_EQ(value("All Versions/Settings/Grp/y").toInt(), 2);
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
