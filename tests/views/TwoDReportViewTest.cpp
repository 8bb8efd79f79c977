#include "ViewFixtures.h"
#include "chart/CChart2D.h"
#include "chart/CChartProperty.h"
#include "core/ColorRef.h"
#include "core/SettingsStore.h"
#include "resources/CommandIds.h"
#include "support/TempSettings.h"
#include "views/CSingleFrequencyView.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/ChartAppearanceDialog.h"
#include "views/CommandEnabling.h"
#include "views/MarkerSet.h"
#include "views/ReportData.h"
#include "views/ViewSettings.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QPainter>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QTest>
#include <QTimer>
#include <limits>

using namespace CommandIds;

namespace {

constexpr double H = Blocks::NO_DATA;

using Fixture = SummaryFixture;

QVector<double> ramp(double from, int n = 11) {
  QVector<double> v;
  for (int i = 0; i < n; ++i) v << from + i;
  return v;
}

class TwoDViewTest : public TempSettingsTest {
protected:
  template <class View>
  std::unique_ptr<View> show(const Fixture& f, QSize size = {800, 600}) {
    auto view = std::make_unique<View>();
    view->setMarkerSet(&m_markers);
    view->resize(size);
    view->showReport(f.data);
    view->setActive(true);
    view->layoutChart(size.width(), size.height());
    return view;
  }
  static QString label(const Chart2DReportView& v, int i) { return v.chart().state().label(i).text; }
  static bool labelShown(const Chart2DReportView& v, int i) { return v.chart().state().label(i).shown; }
  FrameState frame(const ReportView& v) const {
    FrameState s;
    s.graphType = v.graphType();
    v.fillFrameState(s);
    m_markers.fill(s);
    return s;
  }

  MarkerSet m_markers;
};

TEST_F(TwoDViewTest, MarkerOnMoveDeltaAndOff) {
  Fixture f({{0, ramp(0.0)}, {1, ramp(5.0)}});
  auto view = show<CTimeWindowSummaryView>(f);
  const Chart2DState& s = view->chart().state();

  view->runCommand(ID_MARKER_AVERAGE);
  EXPECT_EQ(m_markers.marker(1).index, 5);  // nearest the middle, 15 MHz
  EXPECT_EQ(s.at(1, 4).x, (QVector<double>{15.0, 15.0}));
  EXPECT_EQ(s.at(1, 4).y, (QVector<double>{-220.0, 220.0}));
  EXPECT_EQ(label(*view, 1), "Marker: Average");
  EXPECT_EQ(label(*view, 2), "15.000 MHz");
  EXPECT_EQ(label(*view, 3), "5.000 dBmV");
  EXPECT_TRUE(labelShown(*view, 7));

  view->runCommand(ID_MARKER_MAXIMUM);  // another trace: same index, its value
  EXPECT_EQ(label(*view, 1), "Marker: Maximum");
  EXPECT_EQ(label(*view, 3), "10.000 dBmV");

  view->runCommand(ID_MARKER_DELTA);
  EXPECT_EQ(s.at(1, 15).display, Chart2DState::Shown);
  EXPECT_TRUE(labelShown(*view, 8));
  EXPECT_FALSE(labelShown(*view, 7));
  EXPECT_EQ(commandState(ID_MARKER_MAXIMUM, frame(*view)), (CommandState{true, true}));

  QTest::keyClick(&view->chart(), Qt::Key_Right);  // moves the active marker 2
  EXPECT_EQ(label(*view, 5), "16.000 MHz");
  EXPECT_EQ(label(*view, 6), "1.000 dBmV");
  QTest::keyClick(&view->chart(), Qt::Key_4, Qt::KeypadModifier);
  QTest::keyClick(&view->chart(), Qt::Key_4, Qt::KeypadModifier);
  EXPECT_EQ(m_markers.marker(2).index, 4);

  view->runCommand(ID_MARKER_CENTER);
  EXPECT_EQ(m_markers.marker(1).index, 5);
  EXPECT_EQ(m_markers.marker(2).index, 5);

  view->runCommand(ID_MARKER_MAXIMUM);  // the same trace again: both off
  EXPECT_FALSE(m_markers.marker(2).on());
  EXPECT_EQ(s.at(1, 4).display, Chart2DState::Off);
  EXPECT_TRUE(s.at(1, 15).x.isEmpty());
  EXPECT_FALSE(labelShown(*view, 1));
}

TEST_F(TwoDViewTest, MarkersStayOnThroughARebuildAndTheOtherReport) {
  Fixture f({{0, ramp(0.0)}, {1, ramp(5.0)}});
  auto summary = show<CTimeWindowSummaryView>(f);
  summary->runCommand(ID_MARKER_AVERAGE);
  summary->runCommand(ID_MARKER_DELTA);
  summary->showReport(f.data);
  EXPECT_EQ(summary->chart().state().at(1, 4).x, (QVector<double>{15.0, 15.0}));
  EXPECT_EQ(summary->chart().state().at(1, 15).display, Chart2DState::Shown);
  auto frequency = show<CSingleFrequencyView>(f);  // the same index on its time axis
  EXPECT_TRUE(m_markers.marker(2).on());
  const double at5 = 1'800'000'000.0 + 5 * 3600.0;
  EXPECT_EQ(frequency->chart().state().at(1, 7).x, (QVector<double>{at5, at5}));
  summary->setActive(true);
  EXPECT_EQ(summary->chart().state().at(1, 4).display, Chart2DState::Shown);
}

TEST_F(TwoDViewTest, KeysSkipHolesAndStopAtTheEnds) {
  Fixture f({{0, {1.0, H, H, 4.0, 5.0}}});
  auto view = show<CTimeWindowSummaryView>(f);
  view->runCommand(ID_MARKER_AVERAGE);
  // Middle 12 MHz: the scan passes the holes at 11 and 12 MHz to 13 MHz.
  ASSERT_EQ(m_markers.marker(1).index, 3);
  m_markers.step(1);
  m_markers.step(1);
  EXPECT_EQ(m_markers.marker(1).index, 4);
  m_markers.step(-1);
  m_markers.step(-1);
  EXPECT_EQ(m_markers.marker(1).index, 0);
  m_markers.step(-1);
  EXPECT_EQ(m_markers.marker(1).index, 0);
  // A trace without samples leaves the marker off.
  Fixture holes({{0, {H, H, H}}, {1, ramp(0.0, 3)}});
  m_markers.clear();
  view->showReport(holes.data);
  view->runCommand(ID_MARKER_AVERAGE);
  EXPECT_FALSE(m_markers.marker(1).on());
  EXPECT_NE(view->chart().state().at(1, 4).display, Chart2DState::Shown);
}

TEST_F(TwoDViewTest, ReadoutsCarryTheLevelOffsetAndShowHoles) {
  Fixture f({{0, {10.0, 10.0, H, 10.0, 10.0}}, {3, {0.0, 12.5, 25.0, 50.0, 75.0}}},
            LevelUnit::fromCode(LevelUnit::kDbm));
  auto view = show<CTimeWindowSummaryView>(f);
  EXPECT_EQ(view->levelAxis().referenceLevel, -30.0);
  EXPECT_EQ(view->chart().state().axis(Chart2DState::Y).title, "dBm");
  view->runCommand(ID_MARKER_AVERAGE);
  EXPECT_EQ(label(*view, 3), "-38.750 dBm");
  view->runCommand(ID_MARKER_THRESHOLD_1);  // keeps index 1 of the percentage trace
  EXPECT_EQ(label(*view, 1), "Marker: Upper High");
  EXPECT_EQ(label(*view, 3), "12.500%");
  view->runCommand(ID_MARKER_AVERAGE);
  view->runCommand(ID_MARKER_AVERAGE);
  view->runCommand(ID_MARKER_THRESHOLD_1);
  EXPECT_EQ(m_markers.marker(1).index, 2);
  view->runCommand(ID_MARKER_AVERAGE);  // index 2 of the average is a hole
  EXPECT_EQ(label(*view, 3), "Unavailable");
}

struct ReadoutCase {
  int trace;
  double value;
  const char* unit;
  const char* text;
};

TEST(MarkerReadoutTest, Formats) {
  const ReadoutCase cases[] = {
      {0, -38.75, "dBm", "-38.750 dBm"}, {2, 61.0, "dBuV", "61.000 dBuV"},
      {3, 12.5, "dBmV", "12.500%"},      {6, 100.0, "dBmV", "100.000%"},
      {1, H, "dBmV", "Unavailable"},     {4, std::numeric_limits<double>::infinity(), "dBmV", "Unavailable"}};
  for (const ReadoutCase& c : cases) EXPECT_EQ(MarkerSet::valueText(c.trace, c.value, c.unit), c.text);
  EXPECT_EQ(MarkerSet::xText(15.25, false), "15.250 MHz");
  EXPECT_FALSE(MarkerSet::xText(1'800'000'000.0, true).contains("MHz"));
}

TEST(MarkerSetTest, NearestPointSkipsHolesAndStaysInView) {
  struct Case {
    QVector<double> x, y;
    double target, lo, hi;
    int expected;
  };
  const Case cases[] = {{{1, 2, 3}, {0, 0, 0}, 2.0, 0, 10, 1},
                        {{1, 2, 3}, {0, 0, 0}, 1.5, 0, 10, 0},  // first of equals
                        {{1, 2, 3}, {0, H, 0}, 2.1, 0, 10, 2},
                        {{1, 2, 3, 4}, {0, 0, 0, 0}, 1.0, 2.5, 10, 2},
                        {{1, 2, 3, 0.9}, {0, 0, 0, 0}, 1.0, 0, 10, 0},  // stops at the first farther point
                        {{1, 2}, {0, 0}, 1.0, 5, 10, -1},
                        {{1, 2}, {H, H}, 1.0, 0, 10, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(MarkerSet::nearestPoint(c.x, c.y, c.target, c.lo, c.hi), c.expected) << c.target << " " << c.lo;
}

TEST_F(TwoDViewTest, ReadoutsNeedAWindowWiderThan375) {
  Fixture f({{0, ramp(0.0)}});
  for (const auto& [width, shown] : {std::pair{375, false}, std::pair{376, true}}) {
    m_markers.clear();  // the markers would follow to the next view
    auto view = show<CTimeWindowSummaryView>(f, {width, 500});
    view->runCommand(ID_MARKER_AVERAGE);
    view->runCommand(ID_MARKER_DELTA);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(labelShown(*view, i), shown) << width << " label " << i;
    EXPECT_EQ(labelShown(*view, 8), shown);
    if (shown) {
      EXPECT_EQ(view->chart().state().label(2).position.x(), width / 2);
      EXPECT_EQ(view->chart().state().label(6).position.x(), width - 100);
    }
    EXPECT_EQ(view->chart().state().area, QSize(width - 8, 492));
    EXPECT_EQ(view->chart().state().legendTop, 392);
  }
}

TEST_F(TwoDViewTest, AClickMovesTheNearerMarkerAndALabelSelectsItsMarker) {
  Fixture f({{0, ramp(0.0)}});
  auto view = show<CTimeWindowSummaryView>(f);
  CChart2D& chart = view->chart();
  view->runCommand(ID_MARKER_AVERAGE);  // 15 MHz
  view->runCommand(ID_MARKER_DELTA);    // 15 MHz, active
  m_markers.step(1);
  m_markers.step(1);  // marker 2 at 17 MHz
  const int y = chart.plotRect().center().y();
  m_markers.press(chart.xToPixel(12.2), y);  // nearer to marker 1
  m_markers.release();
  EXPECT_EQ(m_markers.marker(1).index, 2);
  m_markers.press(chart.xToPixel(17.0), y);
  m_markers.drag(chart.xToPixel(19.1));
  m_markers.release();
  EXPECT_EQ(m_markers.active(), 2);
  EXPECT_EQ(m_markers.marker(2).index, 9);
  EXPECT_EQ(m_markers.marker(1).index, 2);
  const QPoint onLabel = chart.labelRect(1).center();
  ASSERT_FALSE(onLabel.isNull());
  EXPECT_TRUE(m_markers.press(onLabel.x(), onLabel.y()));
  EXPECT_EQ(m_markers.active(), 1);
  EXPECT_EQ(m_markers.marker(1).index, 2);
}

TEST_F(TwoDViewTest, PercentOnlyResultKeepsAPlaceholderAndDisablesThresholds) {
  Fixture f({{3, ramp(0.0)}, {5, ramp(10.0)}});
  auto view = show<CTimeWindowSummaryView>(f);
  const Chart2DState& s = view->chart().state();
  EXPECT_FALSE(s.axis(Chart2DState::Y).shown);
  EXPECT_TRUE(s.axis(Chart2DState::Y2).shown);
  EXPECT_EQ(s.at(1, 1).x.size(), 1);
  EXPECT_NE(s.at(1, 1).display, Chart2DState::Shown);
  EXPECT_EQ(s.at(2, 3).display, Chart2DState::Shown);
  EXPECT_EQ(s.at(2, 3).legendText, "% Exceeding Lower High");
  const FrameState state = frame(*view);
  EXPECT_FALSE(state.levelDrawn);
  EXPECT_FALSE(state.autoReference);
  EXPECT_TRUE(state.canRaiseLevel);  // -220 - 10 <= -200: the rule alone decides
  EXPECT_FALSE(state.canLowerLevel);
  EXPECT_TRUE(state.traceDrawn[5]);
}

TEST_F(TwoDViewTest, NothingToDrawGivesEmptyAxesAndANote) {
  Fixture holes({{0, {H, H, H}}});
  auto view = show<CTimeWindowSummaryView>(holes);
  EXPECT_FALSE(view->chart().state().note.isEmpty());
  Fixture absent({{0, ramp(0.0)}});
  absent.store.series[0].hasData = 0;
  view->showReport(absent.data);
  EXPECT_FALSE(view->chart().state().note.isEmpty());
  EXPECT_NE(view->chart().state().at(1, 1).display, Chart2DState::Shown);
  Fixture none({});
  view->showReport(none.data);
  EXPECT_FALSE(view->chart().state().note.isEmpty());
}

TEST_F(TwoDViewTest, ThresholdSubmenuRules) {
  Fixture f({{0, ramp(0.0)}});
  for (int e = 0; e < 3; ++e) {
    ThresholdEntry& entry = f.table[static_cast<size_t>(e)];
    entry.inUse = 1;
    entry.kindMask = 1;
    entry.frequency = 10.0 + 5 * e;
    entry.limitSet = {1, 1, 2, 2, 1};
    entry.limitLevel = {15.0, 5.0, -14.0, -20.0, 0.0};
  }
  f.data.thresholdEntries = 3;
  auto view = show<CTimeWindowSummaryView>(f);
  const Chart2DState& s = view->chart().state();
  const auto state = [&](int id) { return commandState(id, frame(*view)); };
  EXPECT_EQ(s.at(1, 5).display, Chart2DState::Off);

  view->runCommand(ID_THRESHOLDS_DISPLAY);
  EXPECT_FALSE(state(ID_THRESHOLDS_ALL).enabled);  // nothing hidden
  EXPECT_EQ(s.at(1, 5).y, (QVector<double>{15.0, 15.0, 15.0}));
  EXPECT_EQ(s.at(1, 10).y, (QVector<double>{-14.0, -14.0, -14.0}));  // threshold 3: its second series
  EXPECT_EQ(s.at(1, 12).y, (QVector<double>{-20.0, -20.0, -20.0}));

  view->runCommand(ID_THRESHOLDS_INTERVAL);
  view->runCommand(ID_THRESHOLDS_2);
  EXPECT_EQ(state(ID_THRESHOLDS_2), (CommandState{true, false}));
  EXPECT_EQ(s.at(1, 13).display, Chart2DState::Off);
  view->showReport(f.data);  // the display state survives a rebuild
  EXPECT_EQ(s.at(1, 7).display, Chart2DState::Off);
  EXPECT_EQ(s.at(1, 5).display, Chart2DState::Shown);

  view->runCommand(ID_THRESHOLDS_ALL);
  EXPECT_EQ(s.at(1, 13).display, Chart2DState::Shown);
  EXPECT_FALSE(state(ID_THRESHOLDS_ALL).enabled);
  view->runCommand(ID_THRESHOLDS_DISPLAY);
  for (int k = 5; k <= 14; ++k) EXPECT_EQ(s.at(1, k).display, Chart2DState::Off) << k;
}

TEST_F(TwoDViewTest, ReferenceLevelCommandsAndTheRangeFromTheDialog) {
  Fixture f({{0, ramp(0.0)}, {1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 60.0}}});
  auto view = show<CTimeWindowSummaryView>(f);
  EXPECT_EQ(view->levelAxis().referenceLevel, 70.0);
  ViewSettings settings;
  settings.startFrequency = 10.0;
  settings.stopFrequency = 19.0;  // the 60 at 20 MHz drops out of view
  settings.scale = 5;
  settings.referenceStep = 2;
  view->applyViewSettings(settings);
  EXPECT_EQ(view->levelAxis().highest, 8.0);
  EXPECT_EQ(view->levelAxis().referenceLevel, 70.0);  // not recomputed
  const Chart2DState::Axis& y = view->chart().state().axis(Chart2DState::Y);
  EXPECT_EQ(y.minimum, 30.0);
  EXPECT_EQ(y.numberingSpacing, 5.0);
  EXPECT_EQ(view->chart().state().axis(Chart2DState::X).maximum, 19.0);
  view->runCommand(ID_VIEW_AUTO_REFERENCE);
  EXPECT_EQ(view->levelAxis().referenceLevel, 10.0);
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  EXPECT_EQ(y.maximum, 12.0);
  EXPECT_EQ(y.minimum, -28.0);
  EXPECT_TRUE(frame(*view).canRaiseLevel);
}

TEST_F(TwoDViewTest, OneFrequencyDrawsIsolatedPointsAndItsFrequency) {
  Fixture f({{0, {1.0, H, 3.0, H, 5.0, 6.0}}, {4, {H, 20.0, H, H, H, H}}});
  auto view = show<CSingleFrequencyView>(f);
  const Chart2DState& s = view->chart().state();
  EXPECT_TRUE(s.header.endsWith("\n30.000 MHz"));
  EXPECT_EQ(s.at(1, 4).y, (QVector<double>{1.0, H, 3.0, H, H, H}));
  EXPECT_EQ(s.at(2, 6).y, (QVector<double>{H, 20.0, H, H, H, H}));
  EXPECT_EQ(s.axis(Chart2DState::X).minimum, 1'800'000'000.0);
  EXPECT_EQ(s.axis(Chart2DState::X).valueLabels.size(), 6);
  view->runCommand(ID_MARKER_AVERAGE);
  EXPECT_EQ(s.at(1, CSingleFrequencyView::kMarker1Series).display, Chart2DState::Shown);
  EXPECT_FALSE(label(*view, 2).contains("MHz"));
  view->runCommand(ID_MARKER_DELTA);
  EXPECT_EQ(s.at(1, CSingleFrequencyView::kMarker2Series).display, Chart2DState::Shown);
}

TEST_F(TwoDViewTest, AppearanceRoundTripsThroughTheSettings) {
  CChartProperty saved = CChartProperty::defaults(TimeWindowSummary);
  saved.grid[1] = {4, 2, 0x123456};
  saved.series[1][14].symbolShape = 9;
  {
    SettingsStore store;
    RegistryKey settings = store.sectionKey("Settings");
    CChartProperty absent;
    absent.load(settings, TimeWindowSummary);
    EXPECT_EQ(absent.loaded, 0);
    saved.save(settings, TimeWindowSummary);
  }
  SettingsStore store;
  RegistryKey settings = store.sectionKey("Settings");
  const RegistryKey key = settings.subKey("TWSChart Properties");
  EXPECT_EQ(key.valueNames().size(), 4 + 6 + 180 + 4);
  EXPECT_EQ(key.readDword("CSG2_S15_SSShape"), 9);
  EXPECT_EQ(key.readDword("AG_ColorY"), 0x123456);
  EXPECT_FALSE(settings.subKey("SFChart Properties").exists());
  CChartProperty loaded;
  loaded.borderWidth = 77;
  loaded.load(settings, TimeWindowSummary);
  EXPECT_EQ(loaded, saved);

  // A value that went missing keeps the field's own value.
  RegistryKey writable = settings.subKey("TWSChart Properties");
  store.userSettings().remove(writable.path() + "/CB_WIDTH");
  CChartProperty partial;
  partial.borderWidth = 3;
  partial.load(settings, TimeWindowSummary);
  EXPECT_EQ(partial.borderWidth, 3);
  EXPECT_EQ(partial.grid[1], saved.grid[1]);

  // Through a chart: apply then capture gives the record back.
  CChart2D chart;
  saved.apply(chart);
  CChartProperty captured;
  captured.capture(chart);
  EXPECT_EQ(captured, saved);
  EXPECT_EQ(chart.state().label(4).color, 0x00A5FF);
  EXPECT_EQ(chart.state().label(3).color, saved.areaForeground);
}

TEST_F(TwoDViewTest, TheViewSavesItsLookAndResetLeavesTheStoredRecord) {
  Fixture f({{0, ramp(0.0)}});
  {
    auto view = show<CTimeWindowSummaryView>(f);
    view->chart().edit().look.plotBackground = 0x202020;
    view->saveAppearance();
  }
  auto view = show<CTimeWindowSummaryView>(f);
  EXPECT_EQ(view->chart().state().look.plotBackground, 0x202020);
  view->runCommand(ID_VIEW_RESET_CHART_PROPERTIES);
  EXPECT_EQ(view->chart().state().look.plotBackground,
            CChartProperty::defaults(TimeWindowSummary).plotBackground);
  EXPECT_EQ(view->appearance().plotBackground, 0x202020);
}

TEST_F(TwoDViewTest, AppearancePagesPreviewLiveAndCancelPutsTheLookBack) {
  Fixture f({{0, ramp(0.0)}, {2, ramp(-5.0)}});
  auto view = show<CTimeWindowSummaryView>(f);
  const int before = view->chart().state().look.borderWidth;
  for (const bool accept : {false, true}) {
    QStringList pages;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<ChartAppearanceDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(dialog);
      pages = dialog->pages();
      QSpinBox* width = nullptr;  // the border width, the only field up to 4
      for (QSpinBox* spin : dialog->findChildren<QSpinBox*>())
        if (spin->maximum() == 4) width = spin;
      ASSERT_TRUE(width);
      width->setValue(before + 2);  // the border width
      EXPECT_EQ(view->chart().state().look.borderWidth, before + 2);
      accept ? dialog->accept() : dialog->reject();
    });
    EXPECT_EQ(view->editAppearance(), accept);
    EXPECT_TRUE(pages.contains("Average") && pages.contains("Minimum") && !pages.contains("Maximum"))
        << accept;
    EXPECT_EQ(view->chart().state().look.borderWidth, accept ? before + 2 : before);
  }
  EXPECT_EQ(view->appearance().borderWidth, before + 2);
  view->showReport(f.data);  // a rebuild keeps what the user chose
  EXPECT_EQ(view->chart().state().look.borderWidth, before + 2);
}

TEST_F(TwoDViewTest, ThePrintedChartIsVectors) {
  Fixture f({{0, ramp(0.0)}});
  CTimeWindowSummaryView view;
  EXPECT_FALSE(view.chartPainter());  // nothing to print before the first build
  view.resize(800, 600);
  view.showReport(f.data);
  view.layoutChart(800, 600);
  const ChartPainter paint = view.chartPainter();
  ASSERT_TRUE(paint);
  QBuffer svg;
  svg.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&svg);
  generator.setSize(QSize(800, 600));
  {
    QPainter painter(&generator);
    paint(painter, QRectF(0, 0, 800, 600));
  }
  const QByteArray text = svg.data();
  EXPECT_TRUE(text.contains("<polyline") || text.contains("<path"));
  view.runCommand(ID_GRAPH_COPY);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(800, 600));
  EXPECT_FALSE(text.contains("<image"));
  EXPECT_TRUE(text.contains(">Average<"));
}

// The chart drawn offscreen shows each default trace colour.
template <class View>
void expectDefaultTraceColours() {
  const Fixture f({{0, ramp(-10.0)}, {1, ramp(0.0)}, {2, ramp(-20.0)}});
  View view;
  view.resize(900, 600);
  view.showReport(f.data);
  view.layoutChart(900, 600);
  const QImage image = view.chart().image(QSize(900, 600)).convertToFormat(QImage::Format_RGB32);
  for (const uint32_t ref : {0x00D8D8u, 0xFF8C00u, 0xFFFF00u}) {
    const QRgb wanted = colorFromRef(ref).rgb();
    int found = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) found += image.pixel(x, y) == wanted;
    EXPECT_GT(found, 50) << std::hex << ref;
  }
}

TEST_F(TwoDViewTest, BothReportsRenderTheDefaultTraceColours) {
  expectDefaultTraceColours<CTimeWindowSummaryView>();
  expectDefaultTraceColours<CSingleFrequencyView>();
}

}  // namespace
