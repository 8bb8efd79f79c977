#include "core/RegistryKey.h"
#include "core/SettingsStore.h"
#include "core/StartupSettings.h"
#include "core/WindowPlacement.h"
#include "support/TempSettings.h"

#include <QDir>

#include <optional>
#include <tuple>

namespace {

class SettingsStoreTest : public TempSettingsTest {};

// A settings file as a user's disk may hold it: start-up reads built-in
// values where it cannot use what is there, and never rewrites the file.
TEST_F(SettingsStoreTest, DamagedFilesGiveBuiltInValuesAndStayAsTheyAre) {
  const struct {
    QByteArray content;
    QString reportText;
    bool chartProperties;
    int step;
  } cases[] = {
      {"", "", false, 10},
      {"\x01\x02not an ini file at all\n[[[\n=", "", false, 10},
      {"[All%20Versions]\nSettings\\Step%20Size\\(Default)=two\n", "", false, 10},
      {"[All%20Versions]\nSettings\\Chart\\Chart%20Properties=10\nSettings\\Step%20Si", "", true, 10},
      {"[All%20Versions]\nSettings\\Step%20Size\\(Default)=3\n", "", false, 10},
      {"[All%20Versions]\nSettings\\Report\\Quillon%20-%20=Node 3 east\n"
       "Settings\\Chart\\Chart%20Properties=1\nSettings\\Step%20Size\\(Default)=2\n",
       "Node 3 east", true, 2}};
  for (const auto& c : cases) {
    writeFile(userFile(), c.content);
    StartupSettings s;
    {
      SettingsStore store;
      s = StartupSettings::Load(store);
    }
    EXPECT_EQ(std::tuple(s.reportText, s.chartProperties, s.referenceStep),
              std::tuple(c.reportText, c.chartProperties, c.step))
        << c.content.constData();
    EXPECT_EQ(readFile(userFile()), c.content);
  }
}

TEST_F(SettingsStoreTest, ChartSwitchTestsOnlyTheFirstCharacter) {
  const struct {
    QString stored;
    bool on;
  } cases[] = {{"10", true}, {"1", true},   {"1 yes", true}, {"0", false},
               {"", false},  {" 1", false}, {"x1", false}};
  SettingsStore store;
  EXPECT_FALSE(StartupSettings::Load(store).chartProperties);
  for (const auto& c : cases) {
    store.sectionKey("Settings").subKey("Chart").writeText("Chart Properties", c.stored);
    EXPECT_EQ(StartupSettings::Load(store).chartProperties, c.on) << c.stored.toStdString();
  }
}

// Saved under the names older releases wrote, in a file replaced as a whole
// rather than rewritten in place (no temporary leftovers).
TEST_F(SettingsStoreTest, StartupSettingsSurviveARestartUnderTheirOldNames) {
  for (int step : {2, 10, 5}) {
    StartupSettings out;
    out.reportText = QStringLiteral("Hub 7 – Süd"), out.referenceStep = step;
    out.chartProperties = true;  // never written by the program
    {
      SettingsStore store;
      EXPECT_TRUE(store.userSettings().isAtomicSyncRequired());
      out.Save(store);
    }
    SettingsStore store;
    const StartupSettings in = StartupSettings::Load(store);
    EXPECT_EQ(std::tuple(in.reportText, in.referenceStep, in.chartProperties),
              std::tuple(out.reportText, step, false));
  }
  QSettings raw(userFile(), QSettings::IniFormat);
  EXPECT_EQ(raw.value("All Versions/Settings/Report/Quillon - ").toString(), QStringLiteral("Hub 7 – Süd"));
  EXPECT_EQ(raw.value("All Versions/Settings/Step Size/(Default)").toInt(), 1);
  EXPECT_EQ(QDir(QFileInfo(userFile()).absolutePath()).entryList(QDir::Files),
            QStringList{"Orlane Quillon.ini"});
}

TEST_F(SettingsStoreTest, LongReportTextIsCutAtACharacterBoundary) {
  SettingsStore store;
  store.sectionKey("Settings").subKey("Report").writeText("Quillon - ", QString(300, QChar(0xe9)));
  // 254 bytes: é is two bytes in UTF-8.
  EXPECT_EQ(StartupSettings::Load(store).reportText, QString(127, QChar(0xe9)));
}

// Each name read, then what it gave ("-" for nothing); registry names ignore case.
TEST_F(SettingsStoreTest, DwordReadsRejectTextAndWrapUnsigned) {
  writeFile(userFile(), "[k]\na=12\nb=abc\nc=4294967295\nd=4294967296\ne=-2147483648\nf= 7 \ng=1.5\n");
  SettingsStore store;
  const RegistryKey key = store.applicationKey().subKey("k");
  QStringList read;
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "missing", "A"}) {
    const std::optional<int32_t> v = key.readDword(name);
    read << QString::fromLatin1(name) + "=" + (v ? QString::number(*v) : "-");
  }
  EXPECT_EQ(read.join(' '), "a=12 b=- c=-1 d=- e=-2147483648 f=7 g=- missing=- A=12");
}

TEST_F(SettingsStoreTest, MachineTextsFollowRegistryPaths) {
  auto read = [](const char* path, const char* name) {
    return SettingsStore::machineText(QString::fromLatin1(path), QString::fromLatin1(name));
  };
  EXPECT_EQ(read("SOFTWARE\\Veltrix\\PM\\Client", "NembraClientDir"), "");  // no file yet
  writeFile(machineFile(),
            "[Client]\nNembraClientDir=/opt/nembra/Client/\n[Client/ServerInfo]\nExtra1=abc\nExtra2=" +
                QByteArray(400, 'p') + "\n");
  EXPECT_EQ(read("SOFTWARE\\Veltrix\\PM\\Client", "NembraClientDir"), "/opt/nembra/Client/");
  EXPECT_EQ(read("software\\veltrix\\pm\\client", "nembraclientdir"), "/opt/nembra/Client/");
  EXPECT_EQ(read("SOFTWARE\\Veltrix\\PM\\Client\\ServerInfo", "Extra1"), "abc");
  EXPECT_EQ(read("SOFTWARE\\Veltrix\\PM\\Client\\ServerInfo", "Extra2"), QString(255, 'p'));
  EXPECT_EQ(read("SOFTWARE\\Veltrix\\PM\\Client\\ServerInfo", "Extra3"), "");
  EXPECT_EQ(read("SOFTWARE\\Other\\Client", "NembraClientDir"), "");
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
