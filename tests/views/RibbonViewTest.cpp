#include "ContextMenuProbe.h"
#include "ViewFixtures.h"
#include "chart/CChart3D.h"
#include "chart/CHeatMap.h"
#include "chart/ColourLegend.h"
#include "core/ColorRef.h"
#include "core/SettingsStore.h"
#include "query/Comparison.h"
#include "query/GraphType.h"
#include "resources/CommandIds.h"
#include "support/QtPrinters.h"
#include "support/TempSettings.h"
#include "views/C3DReportView.h"
#include "views/ChartAppearanceDialog.h"
#include "views/CommandEnabling.h"
#include "views/ReportViewFactory.h"
#include "views/ViewSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>

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
    view->resize(900, 600);
    view->setActive(true);
    view->showReport(data);
    return view;
  }
  // The value axis and which of Up, Down and Auto the frame enables.
  static QString axis(const C3DReportView& v) {
    FrameState s;
    s.graphType = v.graphType();
    v.fillFrameState(s);
    QString out = QString("%1..%2 ").arg(v.chart().axis(3).minimum).arg(v.chart().axis(3).maximum);
    for (const auto& [id, c] :
         {std::pair{ID_VIEW_REF_LEVEL_UP, 'u'}, {ID_VIEW_REF_LEVEL_DOWN, 'd'}, {ID_VIEW_AUTO_REFERENCE, 'a'}})
      if (commandState(id, s).enabled) out += QChar(c);
    return out;
  }
};

TEST_F(RibbonViewTest, EachReportBuildsTheGridAndLabelsItsData) {
  using K = RibbonSet::Kind;
  const struct {
    int type;
    K kind;
    bool percent;
    int unit;
    const char *version, *title;
    bool levels;
    int labelsOf25;
  } cases[] = {{TimeWindowDetail, K::Ribbon, false, LevelUnit::kDbm, "MP Ver: 12.X", "dBm", true, 8},
               {TwentyFourHour, K::Ribbon, false, LevelUnit::kDbuv, "MP Ver: 12.X", "dBuV", false, 25},
               {TwentyFourHour, K::Ribbon, true, LevelUnit::kDbuv, "MP Ver: 12.X", "%", false, 25},
               {MultiDay, K::Day, false, LevelUnit::kDbm, "MP Ver: 7.X - 8.X", "dBm", false, 8},
               {MultiDayTimeWindow, K::Day, false, LevelUnit::kDbm, "MP Ver: 7.X - 8.X", "dBm", false, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    auto view = show(c.type, ribbons(c.kind, 4, 9));
    const CChart3D& g = view->chart();
    // The last row is a hole row; ribbon i is labelled at 3i + 1; 3.2 .. 17.9 on steps of 10 in a span of 40.
    EXPECT_EQ(std::tuple(g.rowCount(), g.columnCount(), g.value(12, 1), g.axis(1).maximum, g.axis(2).maximum),
              std::tuple(12, 9, kHole, 10.0, 2.0));
    EXPECT_EQ(std::tuple(g.axis(1).labels.value(1).value, g.axis(1).labels.value(1).text, g.axis(3).minimum,
                         g.axis(3).maximum, g.note()),
              std::tuple(4.0, QString("01:00"), -10.0, 30.0, QString()));
    view = show(c.type, ribbons(c.kind, 2, 3, c.percent), LevelUnit::fromCode(c.unit));
    EXPECT_EQ(view->statusText(), c.version);
    EXPECT_EQ(view->chart().axis(3).title, c.title);
    EXPECT_DOUBLE_EQ(view->chart().value(1, 1), c.percent ? 3.2 : 3.2 + LevelUnit::fromCode(c.unit).offset());
    EXPECT_EQ(view->chart().axis(3).levels.isEmpty(), !c.levels);
    EXPECT_EQ(show(c.type, ribbons(c.kind, 25, 3))->chart().axis(1).labels.size(), c.labelsOf25);
  }
}

TEST_F(RibbonViewTest, AnEmptyResultDrawsANoteAndKeepsCommandsConsistent) {
  RibbonSet holes = ribbons(RibbonSet::Kind::Ribbon, 3, 4);
  for (auto& b : holes.ribbons) b.values.fill(kHole);
  for (const RibbonSet& set :
       {ribbons(RibbonSet::Kind::Ribbon, 0, 5), ribbons(RibbonSet::Kind::Ribbon, 3, 0), holes}) {
    auto view = show(TwentyFourHour, set);
    EXPECT_EQ(view->chart().note(), QStringLiteral("No data in this period."));
    const CChart3D::Axis& value = view->chart().axis(3);
    EXPECT_TRUE(std::isfinite(value.minimum) && value.maximum - value.minimum >= 40.0);
    ViewSettingsSource source;
    EXPECT_EQ(view->viewSettingsSource(source), set.ribbonCount > 0 && set.frequencyCount > 0);
    for (int id : {ID_VIEW_ZOOM_IN, ID_VIEW_REF_LEVEL_UP, ID_VIEW_AUTO_REFERENCE, ID_GRAPH_COPY})
      view->runCommand(id);  // nothing divides by zero or reads past the grid
  }
}

TEST_F(RibbonViewTest, CommandsChangeTheViewAndResetsBringItBack) {
  auto view = show(TwentyFourHour, ribbons(RibbonSet::Kind::Ribbon, 3, 5));
  const CChart3D& c = view->chart();
  const std::tuple<int, double, double, double> steps[] = {
      {ID_VIEW_ROTATE_LEFT, 220, 45, 1.0}, {ID_VIEW_ROTATE_RIGHT, 225, 45, 1.0},
      {ID_VIEW_ROTATE_UP, 225, 40, 1.0},   {ID_VIEW_ROTATE_DOWN, 225, 45, 1.0},
      {ID_VIEW_ZOOM_IN, 225, 45, 1.25},    {ID_VIEW_ZOOM_IN, 225, 45, 1.5625},
      {ID_VIEW_ZOOM_OUT, 225, 45, 1.25},   {ID_VIEW_ZOOM_RESET, 225, 45, 1.0},
      {ID_VIEW_ROTATE_LEFT, 220, 45, 1.0}, {ID_VIEW_RESET_ORIENTATION, 225, 45, 1.0}};
  for (const auto& [id, rotation, elevation, magnification] : steps) {
    ASSERT_TRUE(view->runCommand(id)) << id;
    EXPECT_EQ(std::tuple(c.view().rotation, c.view().elevation, c.view().magnification),
              std::tuple(rotation, elevation, magnification))
        << id;
  }
  EXPECT_EQ(c.view().perspective, 3.0);
  view->resize(480, 280);  // Copy offers the chart as a picture
  QApplication::clipboard()->clear();
  ASSERT_TRUE(view->runCommand(ID_GRAPH_COPY));
  EXPECT_FALSE(qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData()).isNull());
}

// A window over holes keeps the starting extremes, so its axis and commands.
TEST_F(RibbonViewTest, ReferenceLevelCommandsFollowTheirEnabling) {
  auto view = show(TwentyFourHour, ribbons(RibbonSet::Kind::Ribbon, 3, 5));
  const std::pair<int, const char*> steps[] = {{0, "-10..30 uda"},
                                               {ID_VIEW_REF_LEVEL_DOWN, "-20..20 ua"},  // 20 - 10 < 17.9
                                               {ID_VIEW_AUTO_REFERENCE, "-10..30 uda"}};
  for (const auto& [id, expected] : steps) {
    if (id != 0) view->runCommand(id);
    EXPECT_EQ(axis(*view), expected) << id;
  }
  RibbonSet percent = ribbons(RibbonSet::Kind::Ribbon, 2, 4, true);
  for (auto& b : percent.ribbons) b.values[1] = 97.0;
  EXPECT_EQ(axis(*show(TwentyFourHour, percent)), "0..100 ");
  RibbonSet holes = ribbons(RibbonSet::Kind::Ribbon, 2, 9);
  for (auto& b : holes.ribbons) b.values[7] = b.values[8] = kHole;
  view = show(TimeWindowDetail, holes);
  ViewSettings window;
  window.startFrequency = 6.75;
  window.stopFrequency = 7.0;
  view->applyViewSettings(window);
  EXPECT_EQ(std::pair(view->level().dataMaximum, view->level().dataMinimum), std::pair(-220.0, 220.0));
  EXPECT_EQ(axis(*view), "-20..20 uda");
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  EXPECT_EQ(axis(*view), "-10..30 uda");
}

TEST_F(RibbonViewTest, PropertyDialogSettingsNarrowTheWindowAndTheAxis) {
  const RibbonSet plain = ribbons(RibbonSet::Kind::Ribbon, 2, 9);
  RibbonSet set = plain;
  for (auto& b : set.ribbons) b.values[0] = -30.0;  // only at 5 MHz
  auto view = show(TimeWindowDetail, set);
  const CChart3D& c = view->chart();
  ReportData data;  // the span follows each report's data, not the previous report's axis
  data.ribbons = &plain;
  view->showReport(data);
  EXPECT_EQ(axis(*view), "-10..30 uda");
  data.ribbons = &set;
  view->showReport(data);
  ViewSettingsSource source;
  ASSERT_TRUE(view->viewSettingsSource(source));
  // The smallest range is truncate(17.9 - -30).
  EXPECT_EQ(std::tuple(source.frequencies.size(), source.minimumRange, source.range), std::tuple(9, 47, 60));
  ViewSettings applied;
  applied.startFrequency = 5.25;
  applied.stopFrequency = 7.0;
  applied.range = 60;  // the visible data's range wins over the dialog's
  applied.referenceStep = 5;
  view->applyViewSettings(applied);
  EXPECT_EQ(std::pair(c.axis(2).minimum, c.axis(2).maximum), std::pair(0.25, 2.0));
  // -30 left the window: 3.2 .. 17.9 on steps of 5 gives 20 over 0, widened to 40.
  EXPECT_EQ(axis(*view), "-10..30 uda");
  ASSERT_TRUE(view->viewSettingsSource(source));
  EXPECT_EQ(std::pair(source.minimumRange, source.startFrequency), std::pair(14, 5.25));
}

// Kept edits are stored only when the frame says (OK or closing); a reset
// shows the defaults and keeps the record.
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
    return SettingsStore().sectionKey("Settings").subKey("TFHChart Properties").valueNames();
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

// Hours from 00:00; frequencies 50 MHz up in steps of 6, column 3 a hole.
RibbonSet hours(int r, int n) {
  return makeRibbons(
      RibbonSet::Kind::Ribbon, r, n, [](int i, int j) { return j == 3 ? kHole : 10.0 + i + 0.5 * j; },
      [](int j) { return 50.0 + 6.0 * j; });
}

TEST_F(RibbonViewTest, ARightClickOnTheHeatMapOpensTheChartMenu) {
  const RibbonSet set = hours(4, 20);
  auto view = show(TwentyFourHour, set);
  ASSERT_TRUE(view->runCommand(ID_VIEW_HEAT_MAP));
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  CHeatMap& map = view->heatMap();
  EXPECT_EQ(contextMenuItems(map, map.plotRect().center()),
            (QStringList{"Chart &Properties...", "&Save Chart Image..."}));
}

TEST_F(RibbonViewTest, HeatMapDrawsReadsZoomsAndIsRememberedPerReport) {
  const RibbonSet set = hours(24, 20);
  auto view = show(TwentyFourHour, set);
  const QStringList newest{"110.000 MHz", "23:00", "38.000 dBmV"};
  view->showPickReadout(3 * 23 + 1, 10, QPoint(100, 100));  // either row of a ribbon reads that ribbon
  EXPECT_EQ(readoutTexts(view->pickReadout()), newest);
  ASSERT_TRUE(view->runCommand(ID_VIEW_HEAT_MAP));
  EXPECT_FALSE(view->pickReadout().isVisible());
  FrameState frame;
  view->fillFrameState(frame);
  EXPECT_EQ(std::tuple(frame.heatMapShown, view->heatGrid().rows, view->heatGrid().cells),
            std::tuple(true, 24, 20));
  CHeatMap& map = view->heatMap();
  const QImage picture = map.image();
  const QRect plot = map.plotRect();
  const auto pixelOf = [&](double f, double row) {
    return QPoint(
        plot.left() + static_cast<int>((f - map.xMin()) / (map.xMax() - map.xMin()) * plot.width()),
        plot.bottom() - static_cast<int>((row - map.yMin()) / (map.yMax() - map.yMin()) * plot.height()));
  };
  // Column 3 (68 MHz) is a hole in every ribbon: the plot background shows;
  // the newest ribbon (top) is hotter than the first (bottom).
  const QColor background = picture.pixelColor(pixelOf(68.0, 12.0));
  EXPECT_NE(background, picture.pixelColor(pixelOf(110.0, 12.0)));
  EXPECT_EQ(background, colorFromRef(view->chart().appearance().interiorBackground));
  EXPECT_GT(picture.pixelColor(pixelOf(110.0, 23.0)).red(), picture.pixelColor(pixelOf(110.0, 0.0)).red());
  view->showHeatReadout(pixelOf(110.0, 23.0).x(), pixelOf(110.0, 23.0).y());
  EXPECT_EQ(readoutTexts(view->heatReadout()), newest);
  view->showHeatReadout(pixelOf(68.0, 2.0).x(), pixelOf(68.0, 2.0).y());
  EXPECT_EQ(readoutTexts(view->heatReadout()), (QStringList{"68.000 MHz", "02:00", "Unavailable"}));
  view->runCommand(ID_VIEW_REF_LEVEL_UP);  // the colour range moves with the 3D legend
  EXPECT_NE(map.image().pixelColor(pixelOf(110.0, 23.0)), picture.pixelColor(pixelOf(110.0, 23.0)));

  const double width = map.xMax() - map.xMin();
  const double elevation = view->chart().view().elevation;
  view->runCommand(ID_VIEW_ZOOM_IN);
  EXPECT_NEAR(map.xMax() - map.xMin(), width / CHeatMap::kZoomFactor, 1e-9);
  EXPECT_EQ(view->chart().view().magnification, 1.0);  // the hidden 3D chart keeps its zoom
  view->runCommand(ID_VIEW_ZOOM_RESET);
  EXPECT_NEAR(map.xMax() - map.xMin(), width, 1e-9);
  EXPECT_FALSE(view->runCommand(ID_VIEW_ROTATE_UP));
  EXPECT_EQ(view->chart().view().elevation, elevation);
  EXPECT_TRUE(show(TwentyFourHour, set)->heatMapShown());
  // Many columns: the 3D chart's frequency labels share the axis, not its
  // blank pads (once taken for labels, they crowded all but two out).
  const RibbonSet dense = hours(24, 200);
  auto many = show(TwentyFourHour, dense);
  many->heatMap().image();
  EXPECT_EQ(many->heatMap().shownXLabels().join(QLatin1Char(' ')),
            "50.00 146.00 242.00 338.00 434.00 530.00 626.00 722.00 818.00 914.00 1010.00 1106.00 1244.00");
  EXPECT_FALSE(show(MultiDay, set)->heatMapShown());
  view->runCommand(ID_VIEW_HEAT_MAP);
  EXPECT_FALSE(show(TwentyFourHour, set)->heatMapShown());
}

// Equal data gives a map in the diverging scale's zero colour, holes left
// out; the readout reads both values and the difference; clearing the
// comparison brings the stored choice (3D) back.
TEST_F(RibbonViewTest, TheDifferenceMapOfEqualDataIsTheZeroColour) {
  const RibbonSet set = hours(24, 20);
  auto view = show(TwentyFourHour, set);
  Comparison c;
  c.shown.graphType = TwentyFourHour;
  c.earlier = c.shown;
  c.ribbons = set;
  c.active = true;
  view->setComparison(&c);
  ASSERT_TRUE(view->heatMapShown());
  CHeatMap& map = view->heatMap();
  const QImage picture = map.image();
  const QRect plot = map.plotRect();
  int zero = 0, other = 0;
  for (int y = plot.top() + 2; y < plot.bottom() - 2; ++y)
    for (int x = plot.left() + 2; x < plot.right() - 2; ++x) {
      const QColor at = picture.pixelColor(x, y);
      (at == ColourLegend::zeroColour() ? zero : other) += 1;
    }
  // Column 3 of 20 is a hole on both sides: the plot background shows there.
  EXPECT_NEAR(static_cast<double>(other) / (zero + other), 1.0 / 20, 0.02);
  const QPoint cell(plot.left() + plot.width() * 11 / 20, plot.top() + plot.height() / 48);
  view->showHeatReadout(cell.x(), cell.y());
  EXPECT_EQ(
      readoutTexts(view->heatReadout()).mid(2),
      (QStringList{"38.000 dBmV", "Earlier, " + c.periodText() + ": 38.000 dBmV", "Difference: +0.000 dB"}));
  view->setComparison(nullptr);
  EXPECT_FALSE(view->heatMapShown());
}

}  // namespace
