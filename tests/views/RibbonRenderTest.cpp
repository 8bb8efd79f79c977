#include "ViewFixtures.h"
#include "chart/CChart3D.h"
#include "query/GraphType.h"
#include "support/TempSettings.h"
#include "views/C3DReportView.h"
#include "views/ReportViewFactory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// A day of ribbons with a carrier block and a slope, enough to fill the cube.
RibbonSet demoSet(RibbonSet::Kind kind, int r, int n) {
  RibbonSet s = makeRibbons(
      kind, r, n,
      [n](int i, int j) { return (j > n / 2 && j < 3 * n / 4) ? 35.0 : 2.0 + 8.0 * std::sin(0.2 * j + i); },
      [n](int j) { return 5.0 + 60.0 * j / (n - 1); });
  for (int i = 0; i < r; ++i) s.startLabels[static_cast<size_t>(i)] = QStringLiteral("%1:00").arg(i);
  return s;
}

void spin(
    int ms, const std::function<bool()>& done = [] { return false; }) {
  QElapsedTimer wait;
  wait.start();
  while (wait.elapsed() < ms && !done()) QApplication::processEvents();
}

// The report type and its number of ribbons.
class RibbonRender : public TempSettingsTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RibbonRender, DrawsTheDefaultLookWithRibbons) {
  const auto [type, ribbons] = GetParam();
  const bool days = type == MultiDay || type == MultiDayTimeWindow;
  const RibbonSet set = demoSet(days ? RibbonSet::Kind::Day : RibbonSet::Kind::Ribbon, ribbons, 241);
  std::unique_ptr<C3DReportView> view(static_cast<C3DReportView*>(createReportView(type, nullptr)));
  view->resize(960, 560);
  view->show();
  ReportData data;
  data.query.graphType = type;
  data.ribbons = &set;
  data.headerLines = {"Port 3", "Level Units: dBmV"};
  view->setActive(true);
  view->showReport(data);
  spin(1500);
  if (!view->chart().hasSurface()) GTEST_SKIP() << "no OpenGL on this display";
  const QImage image = view->chart().image();
  // Also run under a scale factor: the image then has more pixels than the view.
  ASSERT_EQ(image.deviceIndependentSize(), QSizeF(960, 560));
  const qreal dpr = image.devicePixelRatio();
  const QRectF area(view->chart().plotArea());
  const QRect plot = QRectF(area.topLeft() * dpr, area.size() * dpr).toRect();
  // Mostly the black background, green grid lines and texts, and a good
  // share of gradient-coloured ribbons. Both horizontal axes span the cube
  // whatever their ranges: the ribbons cover a good part of the plot.
  int dark = 0, green = 0, coloured = 0, total = 0, surface = 0, cells = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2, ++total) {
      const QColor p = image.pixelColor(x, y);
      const bool isDark = p.red() < 30 && p.green() < 30 && p.blue() < 30;
      const bool isGreen = !isDark && p.green() > 100 && p.red() < 80 && p.blue() < 80;
      dark += isDark;
      green += isGreen;
      coloured += !isDark && !isGreen;
      if (!plot.contains(x, y)) continue;
      ++cells;
      surface += p.saturation() > 120 && p.value() > 60 && !isGreen;
    }
  EXPECT_GT(dark, total / 3);
  EXPECT_GT(green, total / 200);
  EXPECT_GT(coloured, total / 50);
  EXPECT_LT(image.pixelColor(image.width() / 3, image.height() - 3).lightness(), 40);
  EXPECT_GT(100.0 * surface / cells, 5.0);
  // The cube with its labels stays clear of the plot's edges.
  const auto edgeInk = [&](const QRect& strip) {
    int ink = 0;
    for (int y = strip.top(); y <= strip.bottom(); ++y)
      for (int x = strip.left(); x <= strip.right(); ++x) ink += image.pixelColor(x, y).lightness() > 60;
    return ink;
  };
  EXPECT_EQ(edgeInk(QRect(plot.left(), plot.bottom() - 5, plot.width(), 6)), 0) << "bottom";
  EXPECT_EQ(edgeInk(QRect(plot.left(), plot.top(), plot.width(), 6)), 0) << "top";
  EXPECT_EQ(edgeInk(QRect(plot.left(), plot.top() + 2, 6, plot.height() - 4)), 0) << "left";

  // The pointer resting on a ribbon picks its cell: the box names a
  // frequency, a ribbon of the result and a level; leaving the surface clears it.
  QWindow* window = view->chart().surfaceWindow();
  const auto readout = [&] { return view->pickReadout().isVisible(); };
  for (double f : {0.5, 0.45, 0.55, 0.4, 0.6}) {
    QTest::mouseMove(window,
                     QPoint(static_cast<int>(window->width() * f), static_cast<int>(window->height() * f)));
    spin(1500, readout);
    if (readout()) break;
  }
  const QStringList lines = readoutTexts(view->pickReadout());
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d{3} MHz$").match(lines[0]).hasMatch()) << lines[0].toStdString();
  EXPECT_NE(std::find(set.startLabels.begin(), set.startLabels.end(), lines[1]), set.startLabels.end())
      << lines[1].toStdString();
  EXPECT_TRUE(lines[2].endsWith(" dBmV")) << lines[2].toStdString();
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(window, &leave);
  spin(1500, [&] { return !readout(); });
  EXPECT_FALSE(readout());
}

// The ribbon views draw on one surface: the view shown takes it over and
// shows its own report again, not the last one drawn.
TEST_F(TempSettingsTest, SwitchingRibbonViewsRedrawsEachOnesOwnReport) {
  QStackedWidget stack;
  stack.resize(960, 560);
  std::vector<RibbonSet> sets{demoSet(RibbonSet::Kind::Ribbon, 97, 241),
                              demoSet(RibbonSet::Kind::Ribbon, 3, 60)};
  std::vector<C3DReportView*> views;
  for (int type : {TimeWindowDetail, TwentyFourHour}) {
    views.push_back(static_cast<C3DReportView*>(createReportView(type, &stack)));
    stack.addWidget(views.back());
  }
  stack.show();
  // Each view is handed its report once; coming back shows it again.
  const auto showAndDraw = [&](size_t k) {
    stack.setCurrentWidget(views[k]);
    if (!views[k]->hasChart()) {
      ReportData data;
      data.query.graphType = views[k]->graphType();
      data.ribbons = &sets[k];
      views[k]->setActive(true);
      views[k]->showReport(data);
    }
    spin(1000);
    return views[k]->chart().image();
  };
  const QImage first = showAndDraw(0);
  if (!views[0]->chart().hasSurface()) GTEST_SKIP() << "no OpenGL on this display";
  const QImage other = showAndDraw(1);
  EXPECT_TRUE(views[1]->chart().hasSurface());
  EXPECT_FALSE(views[0]->chart().hasSurface());
  const QImage again = showAndDraw(0);
  const auto differing = [](const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); y += 2)
      for (int x = 0; x < a.width(); x += 2) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
  };
  const int pixels = first.width() * first.height() / 4;
  EXPECT_LT(differing(first, again), pixels / 100);
  EXPECT_GT(differing(first, other), pixels / 20);
}

INSTANTIATE_TEST_SUITE_P(Types, RibbonRender,
                         ::testing::Values(std::pair(TimeWindowDetail, 97), std::pair(TwentyFourHour, 24),
                                           std::pair(MultiDay, 1), std::pair(MultiDayTimeWindow, 7)));

}  // namespace
