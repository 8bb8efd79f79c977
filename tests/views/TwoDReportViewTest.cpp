#include "ContextMenuProbe.h"
#include "ViewFixtures.h"
#include "chart/CChart2D.h"
#include "core/ColorRef.h"
#include "core/SettingsStore.h"
#include "query/Comparison.h"
#include "resources/CommandIds.h"
#include "support/QtPrinters.h"
#include "support/TempSettings.h"
#include "views/CSingleFrequencyView.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/ChartAppearanceDialog.h"
#include "views/CommandEnabling.h"
#include "views/MarkerSet.h"
#include "views/ViewSettings.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QPainter>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QTest>
#include <QTimer>

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
  // What a user sees of the markers: each marker line's x or '-', then every
  // shown readout label in reading order, '>' for the active marker's sign.
  template <class View>
  static QString markers(const View& v) {
    const Chart2DState& s = v.chart().state();
    QStringList lines, labels;
    for (int k : {View::kMarker1Series, View::kMarker2Series})
      lines << (s.at(1, k).display == Chart2DState::Shown
                    ? "L" + QString::number(s.at(1, k).x.value(0), 'f', 0)
                    : "-");
    for (int i : {7, 1, 2, 3, 8, 4, 5, 6})
      if (s.label(i).shown) labels << (i > 6 ? ">" : s.label(i).text);
    return (QStringList{lines.join(' ')} + labels).join('|');
  }
  FrameState frame(const ReportView& v) const {
    FrameState s;
    s.graphType = v.graphType();
    v.fillFrameState(s);
    m_markers.fill(s);
    return s;
  }

  MarkerSet m_markers;
};

TEST_F(TwoDViewTest, MarkersFollowCommandsKeysAndClicks) {
  Fixture f({{0, ramp(0.0)}, {1, ramp(5.0)}});
  auto view = show<CTimeWindowSummaryView>(f);
  CChart2D& chart = view->chart();
  const int y = chart.plotRect().center().y();
  const auto run = [&](int id) { return [&view, id] { view->runCommand(id); }; };
  const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}, int times = 1) {
    return [&chart, k, m, times] {
      for (int i = 0; i < times; ++i) QTest::keyClick(&chart, k, m);
    };
  };
  const auto drag = [&](double from, double to) {
    return [&, from, to] {
      m_markers.press(chart.xToPixel(from), y);
      m_markers.drag(chart.xToPixel(to));
      m_markers.release();
    };
  };
  const std::pair<std::function<void()>, const char*> steps[] = {
      {run(ID_MARKER_AVERAGE), "L15 -|>|Marker: Average|15.000 MHz|5.000 dBmV"},
      {run(ID_MARKER_MAXIMUM), "L15 -|>|Marker: Maximum|15.000 MHz|10.000 dBmV"},  // same index, its value
      {run(ID_MARKER_DELTA),
       "L15 L15|Marker: Maximum|15.000 MHz|10.000 dBmV|>|Delta: Maximum|15.000 MHz|0.000 dBmV"},
      {key(Qt::Key_Right),
       "L15 L16|Marker: Maximum|15.000 MHz|10.000 dBmV|>|Delta: Maximum|16.000 MHz|1.000 dBmV"},
      {[&] {  // a rebuild, and the other report on its time axis, keep the markers
         view->showReport(f.data);
         EXPECT_EQ(markers(*show<CSingleFrequencyView>(f)).left(24), "L1800018000 L1800021600|");
         view->setActive(true);
       },
       "L15 L16|Marker: Maximum|15.000 MHz|10.000 dBmV|>|Delta: Maximum|16.000 MHz|1.000 dBmV"},
      {key(Qt::Key_4, Qt::KeypadModifier, 2),
       "L15 L14|Marker: Maximum|15.000 MHz|10.000 dBmV|>|Delta: Maximum|14.000 MHz|-1.000 dBmV"},
      {run(ID_MARKER_CENTER),
       "L15 L15|Marker: Maximum|15.000 MHz|10.000 dBmV|>|Delta: Maximum|15.000 MHz|0.000 dBmV"},
      {key(Qt::Key_Right, {}, 2),
       "L15 L17|Marker: Maximum|15.000 MHz|10.000 dBmV|>|Delta: Maximum|17.000 MHz|2.000 dBmV"},
      {drag(12.2, 12.2),
       "L12 L17|>|Marker: Maximum|12.000 MHz|7.000 dBmV|Delta: Maximum|17.000 MHz|5.000 dBmV"},  // the nearer
      {drag(17.0, 19.1),
       "L12 L19|Marker: Maximum|12.000 MHz|7.000 dBmV|>|Delta: Maximum|19.000 MHz|7.000 dBmV"},
      {[&] { m_markers.press(chart.labelRect(1).center().x(), chart.labelRect(1).center().y()); },
       "L12 L19|>|Marker: Maximum|12.000 MHz|7.000 dBmV|Delta: Maximum|19.000 MHz|7.000 dBmV"},
      {drag(19.0, 19.0),
       "L12 L19|Marker: Maximum|12.000 MHz|7.000 dBmV|>|Delta: Maximum|19.000 MHz|7.000 dBmV"},
      {run(ID_MARKER_DELTA), "L12 -|>|Marker: Maximum|12.000 MHz|7.000 dBmV"},  // marker 1 takes over
      {key(Qt::Key_Right), "L13 -|>|Marker: Maximum|13.000 MHz|8.000 dBmV"},
      {run(ID_MARKER_MAXIMUM), "- -"}};  // the same trace again: both off
  for (const auto& [act, shown] : steps) {
    act();
    EXPECT_EQ(markers(*view), shown);
  }
}

// Average 0 1 5 1 0 1 H H 0 9 0: a peak at 12 MHz (5), a noise bump at 15,
// holes at 16 and 17 and a peak at 19 (9).
const QVector<double> kPeaks{0, 1, 5, 1, 0, 1, H, H, 0, 9, 0};

// At 17 MHz the hover readout's Average gives way to its nearest sample.
TEST_F(TwoDViewTest, HoverReadoutAndPeakCommands) {
  Fixture f({{0, kPeaks}, {1, QVector<double>(11, 20.0)}});
  auto view = show<CTimeWindowSummaryView>(f);
  CChart2D& chart = view->chart();
  chart.replotNow();
  const QRect plot = chart.plotRect();
  for (const auto& [x, average] : {std::pair(12.2, "5.000"), std::pair(17.0, "0.000")}) {
    const int px = chart.xToPixel(x);
    view->showReadout(px, plot.center().y());
    EXPECT_TRUE(view->readout().isVisibleTo(&chart) && plot.contains(view->readout().geometry())) << x;
    EXPECT_EQ(readoutTexts(view->readout()),
              (QStringList{QString::asprintf("%.3f MHz", chart.pixelToX(px)),
                           QString("Average: ") + average + " dBmV", "Maximum: 20.000 dBmV"}));
  }
  EXPECT_EQ(markers(*view), "- -");  // reading never places a marker
  view->showReadout(plot.left() - 5, plot.center().y());
  EXPECT_FALSE(view->readout().isVisibleTo(&chart));

  EXPECT_FALSE(commandState(ID_MARKER_TO_PEAK, frame(*view)).enabled);
  view->runCommand(ID_MARKER_AVERAGE);  // on at 15 MHz
  EXPECT_TRUE(commandState(ID_MARKER_TO_PEAK, frame(*view)).enabled);
  const auto run = [&](int id) {  // a peak command also moves the readout to the marker
    return std::function<void()>([&view, id] {
      view->runCommand(id);
      EXPECT_TRUE(readoutTexts(view->readout()).contains("Average: " + markers(*view).section('|', 4))) << id;
    });
  };
  const auto step = [&](int n) {
    return std::function<void()>([this, n] {
      for (int i = 0; i < std::abs(n); ++i) m_markers.step(n > 0 ? 1 : -1);
    });
  };
  const std::pair<std::function<void()>, const char*> steps[] = {
      {run(ID_MARKER_NEXT_PEAK_LEFT), "L12 -|>|Marker: Average|12.000 MHz|5.000 dBmV"},
      {run(ID_MARKER_NEXT_PEAK_LEFT), "L12 -|>|Marker: Average|12.000 MHz|5.000 dBmV"},
      {run(ID_MARKER_NEXT_PEAK_RIGHT), "L19 -|>|Marker: Average|19.000 MHz|9.000 dBmV"},
      {step(2), "L20 -|>|Marker: Average|20.000 MHz|0.000 dBmV"},  // stops at the end
      {run(ID_MARKER_TO_PEAK), "L19 -|>|Marker: Average|19.000 MHz|9.000 dBmV"},
      {step(-2), "L15 -|>|Marker: Average|15.000 MHz|1.000 dBmV"},    // 18, then past both holes
      {step(-20), "L10 -|>|Marker: Average|10.000 MHz|0.000 dBmV"}};  // stops at the start
  for (const auto& [act, shown] : steps) {
    act();
    EXPECT_EQ(markers(*view), shown);
  }
  EXPECT_EQ(view->chart().state().at(1, 4).y, (QVector<double>{-220.0, 220.0}));  // top to bottom
  view.reset();  // the markers outlive the view that lent them its chart
  m_markers.center();
}

TEST_F(TwoDViewTest, ReadoutsCarryTheLevelOffsetAndShowHoles) {
  Fixture f({{0, {10.0, 10.0, H, 10.0, 10.0}}, {3, {0.0, 12.5, 25.0, 50.0, 75.0}}},
            LevelUnit::fromCode(LevelUnit::kDbm));
  auto view = show<CTimeWindowSummaryView>(f);
  EXPECT_EQ(view->levelAxis().referenceLevel, -30.0);
  EXPECT_EQ(view->chart().state().axis(Chart2DState::Y).title, "dBm");
  const std::pair<int, const char*> steps[] = {
      {ID_MARKER_THRESHOLD_1, "L12 -|>|Marker: Upper High|12.000 MHz|25.000%"},
      {ID_MARKER_AVERAGE, "L12 -|>|Marker: Average|12.000 MHz|Unavailable"},  // keeps the index: a hole
      {ID_MARKER_AVERAGE, "- -"},
      {ID_MARKER_AVERAGE, "L11 -|>|Marker: Average|11.000 MHz|-38.750 dBm"}};  // the nearest sample
  for (const auto& [id, shown] : steps) {
    view->runCommand(id);
    EXPECT_EQ(markers(*view), shown);
  }
  EXPECT_TRUE(commandState(ID_MARKER_AVERAGE, frame(*view)).checked);
}

// Points outside lo..hi are never picked; the search stops at the first
// point farther than the best (the views draw x in order).
TEST(MarkerSetTest, NearestPointStaysInView) {
  const std::tuple<QVector<double>, double, double, double, int> cases[] = {{{1, 2, 3, 4}, 1.0, 2.5, 10, 2},
                                                                            {{1, 2, 3}, 3.0, 0, 2.5, 1},
                                                                            {{1, 2, 3, 1.1}, 1.1, 0, 10, 0},
                                                                            {{1, 2}, 1.0, 5, 10, -1}};
  for (const auto& [x, target, lo, hi, expected] : cases)
    EXPECT_EQ(MarkerSet::nearestPoint(x, QVector<double>(x.size(), 0.0), target, lo, hi), expected)
        << lo << hi;
}

TEST_F(TwoDViewTest, ReadoutsNeedAWindowWiderThan375) {
  Fixture f({{0, ramp(0.0)}});
  for (const int width : {375, 376}) {
    m_markers.clear();  // the markers would follow to the next view
    auto view = show<CTimeWindowSummaryView>(f, {width, 500});
    view->runCommand(ID_MARKER_AVERAGE);
    view->runCommand(ID_MARKER_DELTA);
    EXPECT_EQ(markers(*view),
              width > 375
                  ? "L15 L15|Marker: Average|15.000 MHz|5.000 dBmV|>|Delta: Average|15.000 MHz|0.000 dBmV"
                  : "L15 L15");
    EXPECT_EQ(view->chart().state().area, QSize(width - 8, 492));
    EXPECT_EQ(view->chart().state().legendTop, 392);
  }
}

TEST_F(TwoDViewTest, PercentOnlyResultKeepsAPlaceholderAndDisablesThresholds) {
  Fixture f({{3, ramp(0.0)}, {5, ramp(10.0)}});
  auto view = show<CTimeWindowSummaryView>(f);
  const Chart2DState& s = view->chart().state();
  EXPECT_EQ(std::tuple(s.axis(Chart2DState::Y).shown, s.axis(Chart2DState::Y2).shown, s.at(1, 1).x.size(),
                       s.at(1, 1).display == Chart2DState::Shown, s.at(2, 3).display == Chart2DState::Shown),
            std::tuple(false, true, 1, false, true));
  EXPECT_EQ(s.at(2, 3).legendText, "% Exceeding Lower High");
  const FrameState st = frame(*view);  // raising: -220 - 10 <= -200, the rule alone decides
  EXPECT_EQ(std::tuple(st.levelDrawn, st.autoReference, st.canRaiseLevel, st.canLowerLevel, st.traceDrawn[5]),
            std::tuple(false, false, true, false, true));
}

TEST_F(TwoDViewTest, NothingToDrawGivesANoteAndNoMarker) {
  Fixture sparse({{0, {H, H, H}}, {1, ramp(0.0, 3)}}), holes({{0, {H, H, H}}}), absent({{0, ramp(0.0)}}),
      none({});
  absent.store.series[0].hasData = 0;
  for (const Fixture* f : {&sparse, &holes, &absent, &none}) {
    auto view = show<CTimeWindowSummaryView>(*f);
    EXPECT_EQ(view->chart().state().note.isEmpty(), f == &sparse);
    view->runCommand(ID_MARKER_AVERAGE);  // a trace without samples leaves the marker off
    EXPECT_EQ(markers(*view), "- -");
    EXPECT_TRUE(f != &absent || view->chart().state().at(1, 1).display != Chart2DState::Shown);
  }
}

TEST_F(TwoDViewTest, ThresholdSubmenuRules) {
  Fixture f({{0, ramp(0.0)}});
  for (size_t e = 0; e < 3; ++e)
    f.table[e] = {1, 1, 10.0 + 5.0 * static_cast<double>(e), {1, 1, 2, 2, 1}, {15.0, 5.0, -14.0, -20.0, 0.0}};
  f.data.thresholdEntries = 3;
  Fixture percent({{3, ramp(0.0)}});
  percent.table = f.table;
  percent.data.thresholdEntries = 3;
  auto view = show<CTimeWindowSummaryView>(f);
  const Chart2DState& s = view->chart().state();
  // The threshold series drawn, then the Show All and Threshold 2 items.
  const auto shown = [&] {
    QString out;
    for (int k = 5; k <= 14; ++k) out += s.at(1, k).display == Chart2DState::Shown ? "#" : ".";
    const auto state = [&](int id) { return commandState(id, frame(*view)); };
    return out + (state(ID_THRESHOLDS_ALL).enabled ? " all" : "") +
           (state(ID_THRESHOLDS_2).checked ? " 2" : "");
  };
  const std::pair<std::function<void()>, const char*> steps[] = {
      {[] {}, ".......... 2"},
      {[&] { view->runCommand(ID_THRESHOLDS_DISPLAY); }, "########## 2"},
      {[&] { view->runCommand(ID_THRESHOLDS_INTERVAL); }, "########.. all 2"},
      {[&] { view->runCommand(ID_THRESHOLDS_2); }, "##..####.. all"},
      {[&] { view->showReport(f.data); }, "##..####.. all"},  // the display state survives a rebuild
      {[&] { view->runCommand(ID_THRESHOLDS_ALL); }, "########## 2"},
      {[&] { view->showReport(percent.data); }, "########## 2"},  // also without a level trace
      {[&] { view->showReport(f.data); }, "########## 2"},
      {[&] { view->runCommand(ID_THRESHOLDS_DISPLAY); }, ".......... 2"}};
  for (const auto& [act, expected] : steps) {
    act();
    EXPECT_EQ(shown(), expected);
  }
  EXPECT_EQ(s.at(1, 10).y, (QVector<double>{-14.0, -14.0, -14.0}));  // threshold 3: its second series
}

TEST_F(TwoDViewTest, ReferenceLevelCommandsAndTheRangeFromTheDialog) {
  Fixture f({{0, ramp(0.0)}, {1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 60.0}}});
  auto view = show<CTimeWindowSummaryView>(f);
  const Chart2DState::Axis& y = view->chart().state().axis(Chart2DState::Y);
  const auto axis = [&] { return std::tuple(view->levelAxis().referenceLevel, y.minimum, y.maximum); };
  ViewSettings settings;
  settings.startFrequency = 10.0;
  settings.stopFrequency = 19.0;  // the 60 at 20 MHz drops out of view
  settings.scale = 5;
  settings.referenceStep = 2;
  view->applyViewSettings(settings);
  EXPECT_EQ(axis(), std::tuple(70.0, 30.0, 70.0));  // the reference is not recomputed
  EXPECT_EQ(std::pair(y.numberingSpacing, view->chart().state().axis(Chart2DState::X).maximum),
            std::pair(5.0, 19.0));
  ViewSettingsSource source;  // the dialog opens on what is drawn
  ASSERT_TRUE(view->viewSettingsSource(source));
  EXPECT_EQ(std::pair(source.startFrequency, source.stopFrequency), std::pair(10.0, 19.0));
  view->runCommand(ID_VIEW_AUTO_REFERENCE);
  EXPECT_EQ(axis(), std::tuple(10.0, -30.0, 10.0));
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  EXPECT_EQ(axis(), std::tuple(12.0, -28.0, 12.0));
}

// 300 points from 10 MHz label every 20th; narrowed to 31 .. 49 MHz, none
// of those would be in view. The picture: x grid lines, each with its label.
TEST_F(TwoDViewTest, ANarrowedRangeIsLabelledAndGriddedOverItsOwnPoints) {
  Fixture f({{0, QVector<double>(300, 5.0)}});
  auto view = show<CTimeWindowSummaryView>(f, {900, 600});
  ViewSettings narrow;
  narrow.startFrequency = 31.0;
  narrow.stopFrequency = 49.0;
  view->applyViewSettings(narrow);
  CChart2D& chart = view->chart();
  const QImage image = chart.image(QSize(900, 600)).convertToFormat(QImage::Format_RGB32);
  const QRect plot = chart.plotRect();
  const QRgb background = colorFromRef(CChartProperty::defaults(TimeWindowSummary).plotBackground).rgb();
  const auto inked = [&](int x, int y) { return image.pixel(x, y) != background; };
  // A grid line: a column of the plot marked over a third of its height.
  QStringList lines;
  for (int x = plot.left() + 2; x < plot.right() - 2; ++x) {
    int marked = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y) marked += inked(x, y);
    if (marked * 3 < plot.height() || (!lines.isEmpty() && lines.back().toInt() == x - 1)) continue;
    bool labelled = false;
    for (int y = plot.bottom() + 3; y < plot.bottom() + 30; ++y)
      for (int dx = -6; dx <= 6; ++dx) labelled |= qGray(image.pixel(x + dx, y)) > 0x80;
    lines << QString::number(x) + (labelled ? "" : "?");
  }
  EXPECT_EQ(lines.size(), 17) << lines.join(' ').toStdString();  // 32 .. 48 MHz
  EXPECT_FALSE(lines.join(' ').contains('?')) << lines.join(' ').toStdString();
  // A follow refresh keeps the narrowed range.
  view->refreshReport(f.data);
  const Chart2DState::Axis& x = chart.state().axis(Chart2DState::X);
  EXPECT_EQ(std::tuple(x.minimum, x.maximum, x.valueLabels.firstKey()), std::tuple(31.0, 49.0, 31.0));
}

TEST_F(TwoDViewTest, OneFrequencyDrawsIsolatedPointsAndItsFrequency) {
  Fixture f({{0, {1.0, H, 3.0, H, 5.0, 6.0}}, {4, {H, 20.0, H, H, H, H}}});
  auto view = show<CSingleFrequencyView>(f);
  const Chart2DState& s = view->chart().state();
  EXPECT_EQ(std::tuple(s.header.section('\n', -1), s.axis(Chart2DState::X).minimum,
                       s.axis(Chart2DState::X).valueLabels.size()),
            std::tuple(QString("30.000 MHz"), 1'800'000'000.0, 6));
  EXPECT_EQ(s.at(1, 4).y, (QVector<double>{1.0, H, 3.0, H, H, H}));
  EXPECT_EQ(s.at(2, 6).y, (QVector<double>{H, 20.0, H, H, H, H}));
  view->runCommand(ID_MARKER_AVERAGE);
  view->runCommand(ID_MARKER_DELTA);
  EXPECT_EQ(markers(*view).section('|', 0, 1), "L1800007200 L1800007200|Marker: Average");
  EXPECT_FALSE(markers(*view).contains("MHz"));
}

// A refresh over a window moved on keeps a marker at its time while that is
// still in the window, and the reference level the user chose.
TEST_F(TwoDViewTest, ARefreshKeepsTheMarkerAtItsTimeAndTheReferenceLevel) {
  Fixture f({{0, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0}}});
  auto view = show<CSingleFrequencyView>(f);
  view->runCommand(ID_MARKER_AVERAGE);
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  const double reference = view->levelAxis().referenceLevel;
  for (const auto& [shift, lines] : {std::pair{3600u, "L1800007200 -"}, std::pair{10800u, "- -"}}) {
    Fixture moved({{0, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0}}});
    for (uint32_t& t : moved.store.series[0].times) t += shift;
    view->refreshReport(moved.data);
    EXPECT_EQ(markers(*view).section('|', 0, 0), lines) << shift;
    EXPECT_EQ(view->levelAxis().referenceLevel, reference) << shift;
  }
}

TEST_F(TwoDViewTest, ARightClickOnEitherChartOpensItsMenu) {
  Fixture f({{0, ramp(0.0)}});
  const QStringList menu{"Chart Properties...", "Save Chart &Image..."};
  auto summary = show<CTimeWindowSummaryView>(f);
  auto single = show<CSingleFrequencyView>(f);
  for (ReportView* view : {static_cast<ReportView*>(summary.get()), static_cast<ReportView*>(single.get())}) {
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    CChart2D& chart = *view->findChild<CChart2D*>();
    EXPECT_EQ(contextMenuItems(chart, chart.plotRect().center()), menu) << view->graphType();
  }
}

TEST_F(TwoDViewTest, AppearanceRoundTripsThroughTheSettings) {
  CChartProperty saved = CChartProperty::defaults(TimeWindowSummary), loaded, partial;
  saved.grid = {{{2, 3, 0x654321}, {4, 2, 0x123456}}};
  saved.series[1][14].symbolShape = 9;
  SettingsStore store;
  RegistryKey settings = store.sectionKey("Settings");
  loaded.load(settings, TimeWindowSummary);
  EXPECT_EQ(loaded.loaded, 0);
  saved.save(settings, TimeWindowSummary);
  const RegistryKey key = settings.subKey("TWSChart Properties");
  EXPECT_EQ(std::tuple(key.valueNames().size(), key.readDword("CSG2_S15_SSShape"), key.readDword("AG_ColorY"),
                       settings.subKey("SFChart Properties").exists()),
            std::tuple(4 + 6 + 180 + 4, 9, 0x123456, false));
  loaded.borderWidth = 77;
  loaded.load(settings, TimeWindowSummary);
  EXPECT_EQ(loaded, saved);
  store.userSettings().remove(key.path() + "/CB_WIDTH");
  partial.borderWidth = 3;
  partial.load(settings, TimeWindowSummary);
  EXPECT_EQ(std::pair(partial.borderWidth, partial.grid[1]), std::pair(3, saved.grid[1]));
  CChart2D chart;
  saved.apply(chart);
  CChartProperty captured;
  captured.capture(chart);
  EXPECT_EQ(captured, saved);
  EXPECT_EQ(std::pair(chart.state().label(1).color, chart.state().label(8).color),
            std::pair(saved.areaForeground, 0x00A5FF));    // names, values
  EXPECT_EQ(saved.fields({}).size(), 2 + 6 + 6 + 30 * 6);  // border, colours, two grids, every series
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
  view->saveAppearance();  // the next view comes up in it; a reset leaves the stored record
  auto next = show<CTimeWindowSummaryView>(f);
  EXPECT_EQ(next->chart().state().look.borderWidth, before + 2);
  next->runCommand(ID_VIEW_RESET_CHART_PROPERTIES);
  EXPECT_EQ(next->chart().state().look.borderWidth, before);
  EXPECT_EQ(next->appearance().borderWidth, before + 2);
}

TEST_F(TwoDViewTest, ThePrintedChartIsVectors) {
  Fixture f({{0, ramp(0.0)}});
  CTimeWindowSummaryView view;
  EXPECT_FALSE(view.chartPainter());  // nothing to print before the first build
  view.resize(800, 600);
  view.showReport(f.data);
  view.layoutChart(800, 600);
  ASSERT_TRUE(view.chartPainter());
  QBuffer svg;
  QSvgGenerator generator;
  generator.setOutputDevice(&svg);
  {
    QPainter painter(&generator);
    view.chartPainter()(painter, QRectF(0, 0, 800, 600));
  }
  const QByteArray text = svg.data();
  EXPECT_TRUE((text.contains("<polyline") || text.contains("<path")) && !text.contains("<image"));
  EXPECT_TRUE(text.contains(">Average<"));
  view.runCommand(ID_GRAPH_COPY);
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(800, 600));
}

// What a user sees of an earlier period: its trace dashed in the lighter
// colour under the current one, its legend entry, both values and the
// difference in the readout; markers stay on the current trace.
TEST_F(TwoDViewTest, AnEarlierPeriodIsDrawnUnderTheTracesAndRead) {
  const Fixture now({{0, ramp(-10.0)}});
  QVector<double> falling;
  for (int i = 0; i < 11; ++i) falling << -5.0 - i;  // its peak is the earlier trace's alone
  Fixture then({{0, falling}});
  Comparison c;
  c.shown = now.data.query;
  c.earlier = c.shown;
  c.earlier.SetStart(c.shown.GetStart().addDays(-1.0));
  for (uint32_t& t : then.store.series[0].times) t -= 86400u;
  c.series = then.store;
  c.active = true;
  const QString earlierName = "Average, " + c.periodText();
  std::unique_ptr<Chart2DReportView> views[] = {show<CTimeWindowSummaryView>(now),
                                                show<CSingleFrequencyView>(now)};
  for (const auto& view : views) {
    view->setActive(true);  // the markers go to the report on show
    view->setComparison(&c);
    const Chart2DState& s = view->chart().state();
    ASSERT_EQ(s.earlier.size(), 1);
    EXPECT_EQ(s.earlier[0].x, s.at(1, 1).x);  // One Frequency: moved onto the shown window
    EXPECT_EQ(s.earlier[0].legendText, earlierName);
    const QImage image = view->chart().image(QSize(800, 600)).convertToFormat(QImage::Format_RGB32);
    int dashed = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        dashed += image.pixel(x, y) == colorFromRef(0x7FEBEB).rgb();  // 0x00D8D8 halfway to white
    EXPECT_GT(dashed, 50) << view->graphType();
    view->showReadout(view->chart().xToPixel(s.at(1, 1).x[2]), view->chart().plotRect().center().y());
    EXPECT_EQ(readoutTexts(view->readout()).mid(1),
              (QStringList{"Average: -8.000 dBmV", earlierName + ": -7.000 dBmV", "Difference: -1.000 dB"}));
    view->runCommand(ID_MARKER_AVERAGE);
    view->runCommand(ID_MARKER_TO_PEAK);
    EXPECT_EQ(m_markers.marker(1).index, 10);  // the current trace's peak
    view->setComparison(nullptr);
    EXPECT_TRUE(view->chart().state().earlier.isEmpty());
    m_markers.clear();
  }
}

}  // namespace
