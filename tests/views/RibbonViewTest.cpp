#include "ViewFixtures.h"
#include "chart/CChart3D.h"
#include "core/SettingsStore.h"
#include "query/GraphType.h"
#include "query/RibbonSet.h"
#include "resources/CommandIds.h"
#include "support/TempSettings.h"
#include "views/C3DReportView.h"
#include "views/ChartAppearanceDialog.h"
#include "views/CommandEnabling.h"
#include "views/ReportData.h"
#include "views/ReportViewFactory.h"
#include "views/ViewSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace CommandIds;

namespace {

constexpr double kHole = Blocks::NO_DATA;

// R ribbons of N frequencies from 5 MHz in 0.25 MHz steps; ribbon i holds
// level 3.2 + i/100 at every point but the last, which holds 17.9.
RibbonSet ribbons(RibbonSet::Kind kind, int r, int n, bool percent = false) {
  return makeRibbons(
      kind, r, n, [n](int i, int j) { return j == n - 1 ? 17.9 : 3.2 + i * 0.01; },
      [](int j) { return 5.0 + 0.25 * j; }, percent);
}

class RibbonViewTest : public TempSettingsTest {
protected:
  std::unique_ptr<C3DReportView> show(int type, const RibbonSet& set, LevelUnit unit = {}) {
    std::unique_ptr<C3DReportView> view(static_cast<C3DReportView*>(createReportView(type, nullptr)));
    ReportData data;
    data.query.graphType = type;
    data.ribbons = &set;
    data.levelUnit = unit;
    data.headerLines = {QStringLiteral("Port 3  ID Number: 3"), QStringLiteral("Level Units: dBmV"),
                        QStringLiteral("Start"), QStringLiteral("End")};
    data.thresholdNames = {QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("T3"),
                           QStringLiteral("T4")};
    view->setActive(true);
    view->showReport(data);
    return view;
  }
  static CommandState state(const C3DReportView& v, int id) {
    FrameState s;
    s.graphType = v.graphType();
    v.fillFrameState(s);
    return commandState(id, s);
  }
};

TEST_F(RibbonViewTest, EveryRibbonTypeHasItsViewAndBuildsTheGrid) {
  const std::vector<std::pair<int, RibbonSet::Kind>> types{{TimeWindowDetail, RibbonSet::Kind::Ribbon},
                                                           {TwentyFourHour, RibbonSet::Kind::Ribbon},
                                                           {MultiDay, RibbonSet::Kind::Day},
                                                           {MultiDayTimeWindow, RibbonSet::Kind::Day}};
  for (const auto& [type, kind] : types) {
    const RibbonSet set = ribbons(kind, 4, 9);
    auto view = show(type, set);
    const CChart3D& c = view->chart();
    EXPECT_EQ(c.rowCount(), 12) << type;
    EXPECT_EQ(c.columnCount(), 9) << type;
    EXPECT_EQ(c.value(12, 1), kHole) << type;  // the last row is a hole row
    EXPECT_EQ(c.axis(1).maximum, 10.0);        // 3R - 2
    ASSERT_EQ(c.axis(1).labels.size(), 4);
    EXPECT_EQ(c.axis(1).labels[1].value, 4.0);  // 3i + 1
    EXPECT_EQ(c.axis(1).labels[1].text, QStringLiteral("01:00"));
    EXPECT_DOUBLE_EQ(c.axis(2).maximum, 2.0);  // last minus first frequency
    EXPECT_DOUBLE_EQ(c.columnPosition(9), 2.0);
    // The data 3.2 .. 17.9 with step 10 and span 40: 30 over -10.
    EXPECT_EQ(c.axis(3).maximum, 30.0);
    EXPECT_EQ(c.axis(3).minimum, -10.0);
    EXPECT_TRUE(c.note().isEmpty());
  }
}

// What each report shows of its data: status text, value axis title and
// levels, and whether its ribbon labels thin out from 25 ribbons.
TEST_F(RibbonViewTest, EachReportLabelsItsData) {
  struct Case {
    int type;
    RibbonSet::Kind kind;
    bool percent;
    int unit;
    const char *version, *title;
    bool levels;
    int labelsOf25;
  };
  const Case cases[] = {
      {TimeWindowDetail, RibbonSet::Kind::Ribbon, false, LevelUnit::kDbm, "MP Ver: 12.X", "dBm", true, 8},
      {TwentyFourHour, RibbonSet::Kind::Ribbon, false, LevelUnit::kDbuv, "MP Ver: 12.X", "dBuV", false, 25},
      {TwentyFourHour, RibbonSet::Kind::Ribbon, true, LevelUnit::kDbuv, "MP Ver: 12.X", "%", false, 25},
      {MultiDay, RibbonSet::Kind::Day, false, LevelUnit::kDbm, "MP Ver: 7.X - 8.X", "dBm", false, 8},
      {MultiDayTimeWindow, RibbonSet::Kind::Day, false, LevelUnit::kDbm, "MP Ver: 7.X - 8.X", "dBm", false,
       8},
  };
  for (const Case& c : cases) {
    auto view = show(c.type, ribbons(c.kind, 2, 3, c.percent), LevelUnit::fromCode(c.unit));
    EXPECT_EQ(view->statusText(), c.version) << c.type;
    EXPECT_EQ(view->chart().axis(3).title, c.title) << c.type;
    EXPECT_DOUBLE_EQ(view->chart().value(1, 1), c.percent ? 3.2 : 3.2 + LevelUnit::fromCode(c.unit).offset())
        << c.type;
    EXPECT_EQ(view->chart().axis(3).levels.isEmpty(), !c.levels) << c.type;
    EXPECT_EQ(show(c.type, ribbons(c.kind, 25, 3))->chart().axis(1).labels.size(), c.labelsOf25) << c.type;
  }
  EXPECT_EQ(show(MultiDay, ribbons(RibbonSet::Kind::Day, 24, 3))->chart().axis(1).labels.size(), 24);
}

TEST_F(RibbonViewTest, AnEmptyResultDrawsANoteAndKeepsCommandsConsistent) {
  const std::vector<RibbonSet> sets{ribbons(RibbonSet::Kind::Ribbon, 0, 5),
                                    ribbons(RibbonSet::Kind::Ribbon, 3, 0), [] {
                                      RibbonSet s = ribbons(RibbonSet::Kind::Ribbon, 3, 4);
                                      for (auto& b : s.ribbons) b.values.fill(kHole);
                                      return s;
                                    }()};
  for (const RibbonSet& set : sets) {
    auto view = show(TwentyFourHour, set);
    EXPECT_EQ(view->chart().note(), QStringLiteral("No data in this period."));
    const CChart3D::Axis& value = view->chart().axis(3);
    EXPECT_TRUE(std::isfinite(value.minimum) && std::isfinite(value.maximum));
    EXPECT_GE(value.maximum - value.minimum, 40.0);
    ViewSettingsSource source;
    EXPECT_EQ(view->viewSettingsSource(source), set.ribbonCount > 0 && set.frequencyCount > 0);
    for (int id : {ID_VIEW_ZOOM_IN, ID_VIEW_REF_LEVEL_UP, ID_VIEW_AUTO_REFERENCE, ID_GRAPH_COPY})
      view->runCommand(id);  // nothing divides by zero or reads past the grid
  }
}

TEST_F(RibbonViewTest, CommandsChangeTheViewAndResetsBringItBack) {
  auto view = show(TwentyFourHour, ribbons(RibbonSet::Kind::Ribbon, 3, 5));
  const CChart3D& c = view->chart();
  struct Step {
    int command;
    double rotation, elevation, magnification;
  };
  const std::vector<Step> steps{
      {ID_VIEW_ROTATE_RIGHT, 230, 45, 1.0}, {ID_VIEW_ROTATE_LEFT, 225, 45, 1.0},
      {ID_VIEW_ROTATE_LEFT, 220, 45, 1.0},  {ID_VIEW_ROTATE_UP, 220, 40, 1.0},
      {ID_VIEW_ROTATE_DOWN, 220, 45, 1.0},  {ID_VIEW_ZOOM_IN, 220, 45, 1.25},
      {ID_VIEW_ZOOM_IN, 220, 45, 1.5625},   {ID_VIEW_ZOOM_OUT, 220, 45, 1.25},
      {ID_VIEW_ZOOM_RESET, 220, 45, 1.0},   {ID_VIEW_RESET_ORIENTATION, 225, 45, 1.0},
  };
  for (const Step& s : steps) {
    ASSERT_TRUE(view->runCommand(s.command)) << s.command;
    EXPECT_DOUBLE_EQ(c.view().rotation, s.rotation) << s.command;
    EXPECT_DOUBLE_EQ(c.view().elevation, s.elevation) << s.command;
    EXPECT_DOUBLE_EQ(c.view().magnification, s.magnification) << s.command;
  }
  EXPECT_EQ(c.view().perspective, 3.0);
}

TEST_F(RibbonViewTest, CopyOffersTheChartAsPng) {
  auto view = show(MultiDay, ribbons(RibbonSet::Kind::Day, 3, 5));
  view->resize(480, 280);
  QApplication::clipboard()->clear();
  ASSERT_TRUE(view->runCommand(ID_GRAPH_COPY));
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_TRUE(mime->hasImage());
  EXPECT_FALSE(qvariant_cast<QImage>(mime->imageData()).isNull());
}

TEST_F(RibbonViewTest, ReferenceLevelCommandsFollowTheirEnabling) {
  auto view = show(TwentyFourHour, ribbons(RibbonSet::Kind::Ribbon, 3, 5));
  const CChart3D& c = view->chart();
  // 30 over -10 around 3.2 .. 17.9: room below, and above by one step.
  EXPECT_TRUE(state(*view, ID_VIEW_REF_LEVEL_UP).enabled);
  EXPECT_TRUE(state(*view, ID_VIEW_REF_LEVEL_DOWN).enabled);
  view->runCommand(ID_VIEW_REF_LEVEL_DOWN);
  EXPECT_EQ(c.axis(3).maximum, 20.0);
  EXPECT_EQ(c.axis(3).minimum, -20.0);
  EXPECT_FALSE(state(*view, ID_VIEW_REF_LEVEL_DOWN).enabled);  // 20 - 10 < 17.9
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  EXPECT_EQ(c.axis(3).minimum, 0.0);
  EXPECT_FALSE(state(*view, ID_VIEW_REF_LEVEL_UP).enabled);  // 0 + 10 > 3.2
  view->runCommand(ID_VIEW_AUTO_REFERENCE);
  EXPECT_EQ(c.axis(3).maximum, 30.0);
  EXPECT_TRUE(state(*view, ID_VIEW_AUTO_REFERENCE).enabled);
}

TEST_F(RibbonViewTest, PercentAxisStaysWithinNoughtToAHundred) {
  RibbonSet set = ribbons(RibbonSet::Kind::Ribbon, 2, 4, true);
  for (auto& b : set.ribbons) b.values[1] = 97.0;
  auto view = show(TwentyFourHour, set);
  EXPECT_EQ(view->chart().axis(3).maximum, 100.0);
  EXPECT_EQ(view->chart().axis(3).minimum, 0.0);
  EXPECT_FALSE(state(*view, ID_VIEW_REF_LEVEL_UP).enabled);
  EXPECT_FALSE(state(*view, ID_VIEW_REF_LEVEL_DOWN).enabled);
  EXPECT_FALSE(state(*view, ID_VIEW_AUTO_REFERENCE).enabled);
}

TEST_F(RibbonViewTest, PropertyDialogSettingsNarrowTheWindowAndTheAxis) {
  RibbonSet set = ribbons(RibbonSet::Kind::Ribbon, 2, 9);
  for (auto& b : set.ribbons) b.values[0] = -30.0;  // only at 5 MHz
  auto view = show(TimeWindowDetail, set);
  const CChart3D& c = view->chart();
  // The span follows each report's data, not the previous report's axis.
  ReportData narrow;
  const RibbonSet plain = ribbons(RibbonSet::Kind::Ribbon, 2, 9);
  narrow.ribbons = &plain;
  view->showReport(narrow);
  EXPECT_EQ(c.axis(3).minimum, -10.0);
  EXPECT_EQ(c.axis(3).maximum, 30.0);
  ReportData wide;
  wide.ribbons = &set;
  view->showReport(wide);
  ViewSettingsSource source;
  ASSERT_TRUE(view->viewSettingsSource(source));
  EXPECT_EQ(source.frequencies.size(), 9);
  EXPECT_EQ(source.minimumRange, 47);  // truncate(17.9 - -30)
  EXPECT_EQ(source.range, 60);
  ViewSettings applied;
  applied.startFrequency = 5.25;
  applied.stopFrequency = 7.0;
  applied.range = 60;  // the visible data's range wins over the dialog's
  applied.referenceStep = 5;
  view->applyViewSettings(applied);
  EXPECT_DOUBLE_EQ(c.axis(2).minimum, 0.25);
  EXPECT_DOUBLE_EQ(c.axis(2).maximum, 2.0);
  // -30 left the window: 3.2 .. 17.9 on steps of 5 gives 20 over 0, widened to 40.
  EXPECT_EQ(c.axis(3).minimum, -10.0);
  EXPECT_EQ(c.axis(3).maximum, 30.0);
  ASSERT_TRUE(view->viewSettingsSource(source));
  EXPECT_EQ(source.minimumRange, 14);
  EXPECT_DOUBLE_EQ(source.startFrequency, 5.25);
}

TEST_F(RibbonViewTest, AWindowOverHolesKeepsTheStartingExtremes) {
  RibbonSet set = ribbons(RibbonSet::Kind::Ribbon, 2, 9);
  for (auto& b : set.ribbons) b.values[7] = b.values[8] = kHole;
  auto view = show(TimeWindowDetail, set);
  ViewSettings applied;
  applied.startFrequency = 6.75;
  applied.stopFrequency = 7.0;
  view->applyViewSettings(applied);
  EXPECT_EQ(view->level().dataMaximum, -220.0);
  EXPECT_EQ(view->level().dataMinimum, 220.0);
  EXPECT_EQ(view->chart().axis(3).minimum, -20.0);
  EXPECT_EQ(view->chart().axis(3).maximum, 20.0);
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  EXPECT_TRUE(state(*view, ID_VIEW_REF_LEVEL_UP).enabled);
  EXPECT_TRUE(state(*view, ID_VIEW_REF_LEVEL_DOWN).enabled);
}

// Kept edits wait for the frame to store them (the property dialog's OK or
// the window closing); then every value is stored and the next view of the
// report comes up in it; a reset shows the defaults and keeps the record.
TEST_F(RibbonViewTest, TheLookIsSavedWhenTheFrameSaysAndComesBack) {
  auto view = show(TwentyFourHour, ribbons(RibbonSet::Kind::Ribbon, 2, 3));
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<ChartAppearanceDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    QTest::keyClicks(dialog->findChild<QLineEdit*>(), QStringLiteral("Levels"));  // the legend title
    dialog->accept();
  });
  ASSERT_TRUE(view->editChartProperties());
  EXPECT_EQ(view->chart().appearance().legendTitle, "Levels");
  const auto stored = [] {
    SettingsStore store;
    return store.sectionKey(QStringLiteral("Settings"))
        .subKey(QStringLiteral("TFHChart Properties"))
        .valueNames();
  };
  EXPECT_TRUE(stored().isEmpty());
  view->saveAppearance();
  EXPECT_EQ(stored().size(), 23);
  auto again = show(TwentyFourHour, ribbons(RibbonSet::Kind::Ribbon, 2, 3));
  EXPECT_EQ(again->chart().appearance().legendTitle, "Levels");
  again->runCommand(ID_VIEW_RESET_CHART_PROPERTIES);
  EXPECT_EQ(again->chart().appearance(), Chart3DAppearance::defaults());
  EXPECT_EQ(again->appearanceRecord().look().legendTitle, "Levels");
}

}  // namespace
