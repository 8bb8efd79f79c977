#include "ViewFixtures.h"
#include "chart/CChart2D.h"
#include "chart/CChart3D.h"
#include "chart/CHeatMap.h"
#include "core/ColorRef.h"
#include "query/GraphType.h"
#include "query/RibbonSet.h"
#include "resources/CommandIds.h"
#include "support/TempSettings.h"
#include "views/C3DReportView.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/CommandEnabling.h"
#include "views/MarkerSet.h"
#include "views/ReadoutBubble.h"
#include "views/ReportData.h"
#include "views/ReportViewFactory.h"

#include <QImage>

using namespace CommandIds;

namespace {

constexpr double H = Blocks::NO_DATA;

// The hover readout and peak search through the Time Window Summary view,
// the heat map through a ribbon view: what a user sees and where the
// markers go.
class ReadoutViewTest : public TempSettingsTest {
protected:
  std::unique_ptr<CTimeWindowSummaryView> summary(
      const std::vector<std::pair<int, QVector<double>>>& columns) {
    m_fixture = std::make_unique<SummaryFixture>(columns);
    auto view = std::make_unique<CTimeWindowSummaryView>();
    view->setMarkerSet(&m_markers);
    view->resize(800, 600);
    view->showReport(m_fixture->data);
    view->setActive(true);
    view->layoutChart(800, 600);
    return view;
  }

  std::unique_ptr<C3DReportView> ribbons(int type, const RibbonSet& set) {
    std::unique_ptr<C3DReportView> view(static_cast<C3DReportView*>(createReportView(type, nullptr)));
    ReportData data;
    data.query.graphType = type;
    data.ribbons = &set;
    data.headerLines = {"Port 3", "Level Units: dBmV", "Start", "End"};
    view->resize(900, 600);
    view->setActive(true);
    view->showReport(data);
    return view;
  }

  static QStringList texts(const ReadoutBubble& b) {
    QStringList out;
    for (const ReadoutLine& l : b.lines()) out << l.text;
    return out;
  }

  std::unique_ptr<SummaryFixture> m_fixture;
  MarkerSet m_markers;
};

// Average 0 1 5 1 0 1 0 H 0 9 0: a peak at 12 MHz (5), a noise bump at 14,
// a hole at 17 and a peak at 19 (9).
const QVector<double> kPeaks{0, 1, 5, 1, 0, 1, 0, H, 0, 9, 0};

TEST_F(ReadoutViewTest, HoverReadsEveryTraceAtThePointerAndHidesOutsideThePlot) {
  auto view = summary({{0, kPeaks}, {1, QVector<double>(11, 20.0)}});
  CChart2D& chart = view->chart();
  chart.replotNow();
  const QRect plot = chart.plotRect();
  const int y = plot.center().y();
  struct Case {
    double x;
    QStringList expected;
  };
  // At 17 MHz the Average has a hole: its nearest point with a sample wins.
  for (const Case& c : {Case{12.2, {"", "Average: 5.000 dBmV", "Maximum: 20.000 dBmV"}},
                        Case{17.0, {"", "Average: 0.000 dBmV", "Maximum: 20.000 dBmV"}}}) {
    const int px = chart.xToPixel(c.x);
    view->showReadout(px, y);
    EXPECT_TRUE(view->readout().isVisibleTo(&chart));
    QStringList expected = c.expected;
    expected[0] = QString::asprintf("%.3f MHz", chart.pixelToX(px));
    EXPECT_EQ(texts(view->readout()), expected) << c.x;
    EXPECT_TRUE(plot.contains(view->readout().geometry())) << c.x;
  }
  EXPECT_EQ(m_markers.marker(1).trace, MarkerSet::kNoTrace);  // reading never places a marker
  view->showReadout(plot.left() - 5, y);
  EXPECT_FALSE(view->readout().isVisibleTo(&chart));
}

TEST_F(ReadoutViewTest, PeakCommandsMoveTheActiveMarkerAndStayAtTheEnds) {
  auto view = summary({{0, kPeaks}});
  auto frame = [&] {
    FrameState s;
    s.graphType = view->graphType();
    view->fillFrameState(s);
    m_markers.fill(s);  // as the frame does
    return s;
  };
  EXPECT_FALSE(commandState(ID_MARKER_TO_PEAK, frame()).enabled);
  view->runCommand(ID_MARKER_AVERAGE);  // on at 15 MHz, index 5
  EXPECT_TRUE(commandState(ID_MARKER_TO_PEAK, frame()).enabled);
  struct Step {
    int command;
    int index;
    const char* value;
  };
  for (const Step& s :
       {Step{ID_MARKER_NEXT_PEAK_LEFT, 2, "5.000 dBmV"}, Step{ID_MARKER_NEXT_PEAK_LEFT, 2, "5.000 dBmV"},
        Step{ID_MARKER_NEXT_PEAK_RIGHT, 9, "9.000 dBmV"}, Step{ID_MARKER_NEXT_PEAK_RIGHT, 9, "9.000 dBmV"},
        Step{ID_MARKER_NEXT_PEAK_LEFT, 2, "5.000 dBmV"}, Step{ID_MARKER_TO_PEAK, 9, "9.000 dBmV"}}) {
    view->runCommand(s.command);
    EXPECT_EQ(m_markers.marker(1).index, s.index) << s.command;
    EXPECT_EQ(view->chart().state().label(3).text, QString::fromLatin1(s.value)) << s.command;
    EXPECT_TRUE(texts(view->readout()).contains(QStringLiteral("Average: ") + s.value)) << s.command;
  }
}

// Hours from 00:00; frequencies 50 MHz up in steps of 6, column 3 a hole.
RibbonSet hours(int r, int n) {
  return makeRibbons(
      RibbonSet::Kind::Ribbon, r, n, [](int i, int j) { return j == 3 ? H : 10.0 + i + 0.5 * j; },
      [](int j) { return 50.0 + 6.0 * j; });
}

TEST_F(ReadoutViewTest, HeatMapIsRememberedPerReportAndTakesZoomAndTheColourRange) {
  const RibbonSet set = hours(24, 20);
  auto view = ribbons(TwentyFourHour, set);
  // A cell picked on the surface: either row of a ribbon reads that ribbon.
  view->showPickReadout(3 * 23 + 1, 10, QPoint(100, 100));
  EXPECT_EQ(texts(view->pickReadout()), (QStringList{"110.000 MHz", "23:00", "38.000 dBmV"}));
  ASSERT_TRUE(view->runCommand(ID_VIEW_HEAT_MAP));
  EXPECT_FALSE(view->pickReadout().isVisible());
  FrameState frame;
  view->fillFrameState(frame);
  EXPECT_TRUE(frame.heatMapShown);
  EXPECT_EQ(view->heatGrid().rows, 24);
  EXPECT_EQ(view->heatGrid().cells, 20);

  CHeatMap& map = view->heatMap();
  const double width = map.xMax() - map.xMin();
  const double elevation = view->chart().view().elevation;
  view->runCommand(ID_VIEW_ZOOM_IN);
  EXPECT_NEAR(map.xMax() - map.xMin(), width / CHeatMap::kZoomFactor, 1e-9);
  EXPECT_EQ(view->chart().view().magnification, 1.0);  // the hidden 3D chart keeps its zoom
  view->runCommand(ID_VIEW_ZOOM_RESET);
  EXPECT_NEAR(map.xMax() - map.xMin(), width, 1e-9);
  EXPECT_FALSE(view->runCommand(ID_VIEW_ROTATE_UP));
  EXPECT_EQ(view->chart().view().elevation, elevation);

  // The choice is kept for this report type only.
  EXPECT_TRUE(ribbons(TwentyFourHour, set)->heatMapShown());
  EXPECT_FALSE(ribbons(MultiDay, set)->heatMapShown());
  view->runCommand(ID_VIEW_HEAT_MAP);
  EXPECT_FALSE(ribbons(TwentyFourHour, set)->heatMapShown());
}

TEST_F(ReadoutViewTest, HeatMapDrawsTheResultWithHolesInTheBackgroundAndReadsCells) {
  const RibbonSet set = hours(24, 20);
  auto view = ribbons(TwentyFourHour, set);
  view->runCommand(ID_VIEW_HEAT_MAP);
  CHeatMap& map = view->heatMap();
  const QImage picture = map.image();
  const QRect plot = map.plotRect();
  auto pixelOf = [&](double f, double row) {
    return QPoint(
        plot.left() + static_cast<int>((f - map.xMin()) / (map.xMax() - map.xMin()) * plot.width()),
        plot.bottom() - static_cast<int>((row - map.yMin()) / (map.yMax() - map.yMin()) * plot.height()));
  };
  // Column 3 is a hole in every ribbon: the plot background shows; the
  // newest ribbon (top) is hotter than the first (bottom).
  const QColor background = picture.pixelColor(pixelOf(68.0, 12.0));
  const QColor cell = picture.pixelColor(pixelOf(50.0 + 6.0 * 10, 12.0));
  EXPECT_NE(background, cell);
  EXPECT_EQ(background, colorFromRef(view->chart().appearance().interiorBackground));
  const QColor top = picture.pixelColor(pixelOf(110.0, 23.0));
  const QColor bottom = picture.pixelColor(pixelOf(110.0, 0.0));
  EXPECT_GT(top.red(), bottom.red());

  view->showHeatReadout(pixelOf(110.0, 23.0).x(), pixelOf(110.0, 23.0).y());
  EXPECT_EQ(texts(view->heatReadout()), (QStringList{"110.000 MHz", "23:00", "38.000 dBmV"}));
  view->showHeatReadout(pixelOf(68.0, 2.0).x(), pixelOf(68.0, 2.0).y());
  EXPECT_EQ(texts(view->heatReadout()), (QStringList{"68.000 MHz", "02:00", "Unavailable"}));

  // Raising the reference level moves the colour range with the 3D legend.
  const QColor before = picture.pixelColor(pixelOf(110.0, 23.0));
  view->runCommand(ID_VIEW_REF_LEVEL_UP);
  EXPECT_NE(map.image().pixelColor(pixelOf(110.0, 23.0)), before);
}

}  // namespace
