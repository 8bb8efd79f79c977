#include "core/RegistryKey.h"
#include "core/SettingsStore.h"
#include "core/StartupSettings.h"
#include "core/WindowPlacement.h"
#include "support/TempSettings.h"

#include <QDir>

namespace {

class SettingsStoreTest : public TempSettingsTest {};

// A settings file as a user's disk may hold it, and what start-up reads.
struct FileCase {
  const char* name;
  QByteArray content;
  QString reportText;
  bool chartProperties;
  int step;
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << c.name;
}

class DamagedFileTest : public TempSettingsTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(DamagedFileTest, ReadsBuiltInValuesAndLeavesTheFileAlone) {
  const FileCase& c = GetParam();
  writeFile(userFile(), c.content);
  StartupSettings s;
  {
    SettingsStore store;
    s = StartupSettings::Load(store);
  }
  EXPECT_EQ(s.reportText, c.reportText);
  EXPECT_EQ(s.chartProperties, c.chartProperties);
  EXPECT_EQ(s.referenceStep, c.step);
  // Reading must never rewrite what is there.
  EXPECT_EQ(readFile(userFile()), c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    ::testing::Values(
        FileCase{"empty", "", "", false, 10},
        FileCase{"garbage", "\x01\x02not an ini file at all\n[[[\n=", "", false, 10},
        FileCase{"textForNumber", "[All%20Versions]\nSettings\\Step%20Size\\(Default)=two\n", "", false, 10},
        FileCase{"truncatedMidLine",
                 "[All%20Versions]\nSettings\\Chart\\Chart%20Properties=10\nSettings\\Step%20Si", "", true,
                 10},
        FileCase{"stepOutOfRange", "[All%20Versions]\nSettings\\Step%20Size\\(Default)=3\n", "", false, 10},
        FileCase{"allPresent",
                 "[All%20Versions]\nSettings\\Report\\Quillon%20-%20=Node 3 east\n"
                 "Settings\\Chart\\Chart%20Properties=1\nSettings\\Step%20Size\\(Default)=2\n",
                 "Node 3 east", true, 2}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SettingsStoreTest, ChartSwitchTestsOnlyTheFirstCharacter) {
  const struct {
    QString stored;
    bool on;
  } cases[] = {{"10", true}, {"1", true},   {"1 yes", true}, {"0", false},
               {"", false},  {" 1", false}, {"x1", false}};
  for (const auto& c : cases) {
    SettingsStore store;
    store.sectionKey("Settings").subKey("Chart").writeText("Chart Properties", c.stored);
    EXPECT_EQ(StartupSettings::Load(store).chartProperties, c.on) << c.stored.toStdString();
  }
  SettingsStore store;
  EXPECT_FALSE(StartupSettings::Load(store).chartProperties);
}

TEST_F(SettingsStoreTest, StartupSettingsSurviveARestart) {
  for (int step : {2, 5, 10}) {
    StartupSettings out;
    out.reportText = QStringLiteral("Hub 7 – Süd");
    out.referenceStep = step;
    out.chartProperties = true;  // never written by the program
    {
      SettingsStore store;
      out.Save(store);
    }
    SettingsStore store;
    const StartupSettings in = StartupSettings::Load(store);
    EXPECT_EQ(in.reportText, out.reportText);
    EXPECT_EQ(in.referenceStep, step);
    EXPECT_FALSE(in.chartProperties);
  }
}

TEST_F(SettingsStoreTest, LongReportTextIsCutAtACharacterBoundary) {
  SettingsStore store;
  store.sectionKey("Settings").subKey("Report").writeText("Quillon - ", QString(300, QChar(0xe9)));
  const QString text = StartupSettings::Load(store).reportText;
  EXPECT_EQ(text, QString(127, QChar(0xe9)));  // 254 bytes: é is two bytes in UTF-8
}

TEST_F(SettingsStoreTest, KeepsTheWrittenNamesAndWritesAtomically) {
  {
    SettingsStore store;
    EXPECT_TRUE(store.userSettings().isAtomicSyncRequired());
    StartupSettings s;
    s.reportText = "x";
    s.referenceStep = 5;
    s.Save(store);
  }
  QSettings raw(userFile(), QSettings::IniFormat);
  EXPECT_EQ(raw.value("All Versions/Settings/Report/Quillon - ").toString(), "x");
  EXPECT_EQ(raw.value("All Versions/Settings/Step Size/(Default)").toInt(), 1);
  // The file is replaced, not rewritten in place: no temporary leftovers.
  const QStringList files = QDir(QFileInfo(userFile()).absolutePath()).entryList(QDir::Files);
  EXPECT_EQ(files, QStringList{"Orlane Quillon.ini"});
}

TEST_F(SettingsStoreTest, DwordReadsRejectTextAndWrapUnsigned) {
  writeFile(userFile(), "[k]\na=12\nb=abc\nc=4294967295\nd=4294967296\ne=-2147483648\nf= 7 \ng=1.5\n");
  SettingsStore store;
  const RegistryKey key = store.applicationKey().subKey("k");
  EXPECT_EQ(key.readDword("a"), 12);
  EXPECT_EQ(key.readDword("b"), std::nullopt);
  EXPECT_EQ(key.readDword("c"), -1);
  EXPECT_EQ(key.readDword("d"), std::nullopt);
  EXPECT_EQ(key.readDword("e"), INT32_MIN);
  EXPECT_EQ(key.readDword("f"), 7);
  EXPECT_EQ(key.readDword("g"), std::nullopt);
  EXPECT_EQ(key.readDword("missing"), std::nullopt);
  EXPECT_EQ(key.readDword("A"), 12);  // registry names ignore case
}

TEST_F(SettingsStoreTest, MachineTextsFollowRegistryPaths) {
  EXPECT_EQ(SettingsStore::machineText("SOFTWARE\\Veltrix\\PM\\Client", "NembraClientDir"),
            "");  // no file yet
  writeFile(machineFile(),
            "[Client]\nNembraClientDir=/opt/nembra/Client/\n"
            "[Client/ServerInfo]\nExtra1=abc\nExtra2=" +
                QByteArray(400, 'p') + "\n");
  EXPECT_EQ(SettingsStore::machineText("SOFTWARE\\Veltrix\\PM\\Client", "NembraClientDir"),
            "/opt/nembra/Client/");
  EXPECT_EQ(SettingsStore::machineText("software\\veltrix\\pm\\client", "nembraclientdir"),
            "/opt/nembra/Client/");
  EXPECT_EQ(SettingsStore::machineText("SOFTWARE\\Veltrix\\PM\\Client\\ServerInfo", "Extra1"), "abc");
  EXPECT_EQ(SettingsStore::machineText("SOFTWARE\\Veltrix\\PM\\Client\\ServerInfo", "Extra2").size(), 255);
  EXPECT_EQ(SettingsStore::machineText("SOFTWARE\\Veltrix\\PM\\Client\\ServerInfo", "Extra3"), "");
  EXPECT_EQ(SettingsStore::machineText("SOFTWARE\\Other\\Client", "NembraClientDir"), "");
}

// The round trip through a closed and reopened window is the main frame's test.
TEST_F(SettingsStoreTest, WindowPlacementIsDecimalTextAndRefusedWhenIncomplete) {
  WindowPlacement p;
  p.left = 10, p.top = 20, p.right = 810, p.bottom = 620, p.minPositionX = -32000;
  SettingsStore store;
  p.Save(store);
  EXPECT_EQ(WindowPlacement::Load(store), p);
  RegistryKey frame = store.sectionKey("Settings").subKey("Frame");
  EXPECT_EQ(frame.readRaw("MinPositionX").toString(), "-32000");  // as older releases stored it
  frame.writeText("Left", "wide");
  EXPECT_EQ(WindowPlacement::Load(store), std::nullopt);
  frame.writeDword("Left", 900);
  EXPECT_EQ(WindowPlacement::Load(store), std::nullopt);  // right of the right edge
}

}  // namespace
