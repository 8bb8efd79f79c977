#include "chart/C3DChartProperty.h"
#include "chart/CChart3D.h"
#include "core/SettingsStore.h"
#include "support/TempSettings.h"

#include <QSettings>

namespace {

class C3DChartPropertyTest : public TempSettingsTest {};

TEST_F(C3DChartPropertyTest, SaveWritesEveryValueAndLoadReadsThemBack) {
  C3DChartProperty written;
  Chart3DAppearance& a = written.look();
  a = Chart3DAppearance::defaults();
  a.borderType = 3;
  a.borderWidth = 4;
  a.grid[2] = {1, 3, 0x000000FF};
  a.plotCubeBackground = 0x00123456;
  a.legendTitle = QStringLiteral("Level ä");
  SettingsStore store;
  RegistryKey s = store.sectionKey(QStringLiteral("Settings"));
  C3DChartProperty read;
  EXPECT_TRUE(read.loaded());  // as constructed
  read.load(s, 5);             // an absent key leaves the record unloaded and as it was
  EXPECT_EQ(std::tuple(read.loaded(), read.look().legendShown, read.look().interiorForeground),
            std::tuple(false, 1, 0u));
  written.save(s, 5);
  store.sync();

  const RegistryKey key = s.subKey(QStringLiteral("MDTWCHart Properties"));
  EXPECT_EQ(key.valueNames().size(), 23);
  // The title's bytes in UTF-8 and its terminator.
  EXPECT_EQ(key.readDword(QStringLiteral("LT_TitleSize")), 9);
  EXPECT_EQ(key.readDword(QStringLiteral("AG_ColorZ")), 0xFF);

  read.load(s, 5);
  EXPECT_TRUE(read.loaded());
  EXPECT_EQ(read.look(), written.look());
}

TEST_F(C3DChartPropertyTest, OddOrMissingValuesFallBackOneByOne) {
  C3DChartProperty saved;
  saved.look() = Chart3DAppearance::defaults();
  saved.look().legendTitle = QStringLiteral("Title");
  SettingsStore store;
  RegistryKey s = store.sectionKey(QStringLiteral("Settings"));
  saved.save(s, 2);
  RegistryKey key = s.subKey(QStringLiteral("TWDChart Properties"));
  store.userSettings().remove(key.path() + QStringLiteral("/LG_Type"));
  key.writeDword(QStringLiteral("LT_TitleSize"), 3);  // smaller than "Title"
  key.writeRaw(QStringLiteral("LG_Anchor"), QStringLiteral("not a number"));
  C3DChartProperty p;
  p.look().legendTitle = QStringLiteral("before");
  p.load(s, 2);
  // Missing: the constructor's 0; a title too big for its size and a value
  // that is no number: unchanged; the rest as stored.
  EXPECT_EQ(std::tuple(p.loaded(), p.look().legendType, p.look().legendTitle, p.look().legendAnchor,
                       p.look().legendRange, p.look().grid[1].colour),
            std::tuple(true, 0, QString("before"), 0, 2, 0x00FF00u));
}

TEST(C3DChartPropertyChart, CaptureReadsBackWhatApplyShows) {
  CChart3D chart;
  C3DChartProperty shown, captured;
  shown.look().borderType = 7;  // a code the surface cannot show is still answered back
  shown.apply(chart);
  captured.capture(chart);
  EXPECT_EQ(captured.look(), shown.look());
}

}  // namespace
