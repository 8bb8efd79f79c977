#include "core/IniVariantScreen.h"
#include "core/RegistryKey.h"
#include "core/SettingsStore.h"
#include "support/TempSettings.h"

#include <QRect>

namespace {

// What QSettings reads back from a screened line: each escaped byte one character.
QString asText(const char* prefix, std::initializer_list<int> bytes, const char* suffix = ")") {
  QString s = QString::fromLatin1(prefix);
  for (int b : bytes) s += QChar(b);
  return s + QString::fromLatin1(suffix);
}

// A list that claims 2^31 - 1 elements in eight bytes: Qt reserves 64 GB for it.
#define HUGE_LIST "\\0\\0\\0\\t\\x7f\\xff\\xff\\xff"
const QString kHugeListText = asText("@Variant(", {0, 0, 0, 9, 0x7f, 0xff, 0xff, 0xff});

class IniVariantScreenTest : public TempSettingsTest {};

// One line of [s] between two plain ones: values defused, what QSettings reads for s/k.
TEST_F(IniVariantScreenTest, LeavesNothingThatDecodesIntoAHugeValue) {
  const QVariant huge(kHugeListText);
  const struct {
    QByteArray line;
    int screened;
    QVariant read;
  } cases[] = {{"k=@Variant(" HUGE_LIST ")", 1, huge},
               {"k=\\x40Variant(" HUGE_LIST ")", 1, huge},
               {"k=\\100Variant(" HUGE_LIST ")", 1, huge},
               {"k=\\x@Variant(" HUGE_LIST ")", 1, huge},  // \x without a digit is dropped
               {"k=\"@Var\"iant(" HUGE_LIST ")", 1, huge},
               {"k=@Variant(" HUGE_LIST ")   ", 1, huge},
               {"k=a, @Variant(" HUGE_LIST ")", 1, QStringList{QStringLiteral("a"), kHugeListText}},
               {"k=@DateTime(\\0\\0\\0\\t\\0\\x7f\\xff\\xff\\xff)", 1,
                asText("@DateTime(", {0, 0, 0, 9, 0, 0x7f, 0xff, 0xff, 0xff})},
               {"k=@Variant(\\0\\0\\0\\t\\0\\0\\0\\x2)", 1, asText("@Variant(", {0, 0, 0, 9, 0, 0, 0, 2})},
               {"k=@Variant(\\0\\0\\0\\b\\0\\0\\0\\0)", 1, asText("@Variant(", {0, 0, 0, 8, 0, 0, 0, 0})},
               {"k=@Variant(\\0\\0\\0\\x2\\0\\0\\0*)", 0, QVariant(42)},
               {"k=@@Variant(" HUGE_LIST ")", 0, huge},
               {"k=@Variant(" HUGE_LIST, 0, QVariant(kHugeListText.chopped(1))},
               {";k=@Variant(" HUGE_LIST ")", 0, QVariant()},
               {"k=\"x\n\"@Variant(" HUGE_LIST ")", 0, QVariant(QStringLiteral("x\n") + kHugeListText)}};
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.constData());
    // A file of its own: QSettings may keep an unchanged-looking file's old content.
    const QString file = userDir() + QStringLiteral("/screen%1.ini").arg(row++);
    writeFile(file, "[s]\nbefore=1\n" + c.line + "\nafter=2\n");
    EXPECT_EQ(IniVariantScreen::screenFile(file), c.screened);
    EXPECT_EQ(IniVariantScreen::screen(readFile(file)).screenedValues, 0);
    QSettings s(file, QSettings::IniFormat);
    EXPECT_EQ(s.value("s/k"), c.read);
    EXPECT_EQ(s.value("s/before").toString() + s.value("s/after").toString(), "12");
  }
}

TEST_F(IniVariantScreenTest, PassesEveryValueQSettingsWritesItself) {
  const QString file = userDir() + QStringLiteral("/own.ini");
  {
    QSettings s(file, QSettings::IniFormat);
    s.setValue("one", QVariantList{QStringLiteral("single")});
    s.setValue("nested", QVariantList{QVariantList{1, 2.5, QStringLiteral("t")}});
    s.setValue("texts", QStringList{QStringLiteral("a\x01"), QStringLiteral("b")});
    s.setValue("bytes", QByteArray("\0\xff", 2));
    s.setValue("rect", QRect(1, 2, 3, 4));
  }
  const QByteArray content = readFile(file);
  ASSERT_TRUE(content.contains("@Variant("));
  const IniVariantScreen::Result r = IniVariantScreen::screen(content);
  EXPECT_EQ(std::pair(r.screenedValues, r.text), std::pair(0, content));
}

TEST_F(IniVariantScreenTest, KeepsAByteOrderMarkAndScreensAfterIt) {
  const IniVariantScreen::Result r = IniVariantScreen::screen("\xef\xbb\xbfk=@Variant(" HUGE_LIST ")\n");
  EXPECT_EQ(std::pair(r.screenedValues, r.text),
            std::pair(1, QByteArray("\xef\xbb\xbfk=\\x40@Variant(" HUGE_LIST ")\n")));
}

TEST_F(IniVariantScreenTest, RefusesListsNestedDeeperThanQSettingsWrites) {
  QByteArray payload;
  for (int i = 0; i < 40; ++i) payload += QByteArray("\0\0\0\x09\0\0\0\x01", 8);
  payload += QByteArray("\0\0\0\x02\0\0\0\x07", 8);
  EXPECT_FALSE(IniVariantScreen::isPlainPayload(payload, false));
  EXPECT_TRUE(IniVariantScreen::isPlainPayload(payload.right(8 * 5 + 8), false));
}

// The damaged value is screened in place; the machine file is read through a screened copy.
TEST_F(IniVariantScreenTest, DamagedProfilesKeepEveryOtherValue) {
  writeFile(userFile(), "[All%20Versions]\nSettings\\Step%20Size\\(Default)=@Variant(" HUGE_LIST
                        ")\nSettings\\Report\\Quillon%20-%20=kept\n");
  const QByteArray machine = "[Client]\nNembraClientDir=/opt/nembra\nBroken=@Variant(" HUGE_LIST ")\n";
  writeFile(machineFile(), machine);
  SettingsStore store;
  RegistryKey settings = store.sectionKey("Settings");
  EXPECT_FALSE(settings.subKey("Step Size").readDword(RegistryKey::defaultValueName()));
  EXPECT_EQ(settings.subKey("Report").readText("Quillon - ", 256), "kept");
  EXPECT_TRUE(readFile(userFile()).contains("\\x40@Variant("));
  EXPECT_EQ(SettingsStore::machineText("SOFTWARE\\Veltrix\\PM\\Client", "NembraClientDir"), "/opt/nembra");
  EXPECT_EQ(readFile(machineFile()), machine);
}

}  // namespace
