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

// A file as a user's disk may hold it ([A]: the current section; R, C, S: report
// text, chart switch and step keys) and what start-up reads from it, never
// rewriting it. No two rows have the same size: QSettings takes a file of
// unchanged size and time for unchanged.
TEST_F(SettingsStoreTest, StartupReadsWhatItCanAndLeavesTheFileAlone) {
  const std::pair<QByteArray, QString> cases[] = {{"", ", 0, 10"},
                                                  {"\x01\x02not an ini file at all\n[[[\n=", ", 0, 10"},
                                                  {"[A]\nS=twelve\n", ", 0, 10"},
                                                  {"[A]\nS=3\n", ", 0, 10"},
                                                  {"[A]\nC=10\nSettings\\Step%20Si", ", 1, 10"},
                                                  {"[A]\nR=Node 3 east\nC=1\nS=2\n", "Node 3 east, 1, 2"},
                                                  // The chart switch looks at the first character only.
                                                  {"[A]\nC=1 yes\n", ", 1, 10"},
                                                  {"[A]\nC=\n", ", 0, 10"},
                                                  {"[A]\nC=\" 1\"\n", ", 0, 10"}};
  for (const auto& [shorthand, expected] : cases) {
    const QByteArray content = QByteArray(shorthand)
                                   .replace("[A]", "[All%20Versions]")
                                   .replace("\nR=", "\nSettings\\Report\\Quillon%20-%20=")
                                   .replace("\nC=", "\nSettings\\Chart\\Chart%20Properties=")
                                   .replace("\nS=", "\nSettings\\Step%20Size\\(Default)=");
    writeFile(userFile(), content);
    const StartupSettings s = [] {
      SettingsStore store;
      return StartupSettings::Load(store);
    }();
    EXPECT_EQ(QString("%1, %2, %3").arg(s.reportText).arg(s.chartProperties).arg(s.referenceStep), expected)
        << content.constData();
    EXPECT_EQ(readFile(userFile()), content);
  }
}

// Under the names older releases wrote, in a file replaced whole (no leftovers).
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
  EXPECT_EQ(StartupSettings::Load(store).reportText, QString(127, QChar(0xe9)));  // 254 bytes in UTF-8
}

// Each name read, then what it gave ("-" for nothing); registry names ignore case.
TEST_F(SettingsStoreTest, DwordReadsRejectTextAndWrapUnsigned) {
  writeFile(userFile(), "[k]\na=12\nb=abc\nc=4294967295\nd=4294967296\ne=-2147483648\nf= 7 \ng=1.5\nZ=0\n");
  SettingsStore store;
  const RegistryKey key = store.applicationKey().subKey("k");
  QStringList read;
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "missing", "A"}) {
    const std::optional<int32_t> v = key.readDword(name);
    read << QString::fromLatin1(name) + "=" + (v ? QString::number(*v) : "-");
  }
  EXPECT_EQ(read.join(' '), "a=12 b=- c=-1 d=- e=-2147483648 f=7 g=- missing=- A=12");
  EXPECT_EQ(key.valueNames().join(' '), "a b c d e f g Z");  // enumerated as the registry does
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
