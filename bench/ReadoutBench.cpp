// Figures for the readouts and the heat map, beside the 3D chart of the same
// run: building a 97 x 500 result as a heat map and as the 3D chart, the
// pointer-move readout on the Time Window Summary and on the heat map, a
// picked cell on the 3D surface (computed, and through the surface's own
// selection pass for comparison), and heat-map frames while zooming. `--png DIR` also writes the heat map,
// a hover readout and a picked 3D cell, for a look.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/quillon_bench_readouts [RUNS] [--png DIR]

#include "bench/BenchData.h"
#include "chart/CChart3D.h"
#include "chart/CHeatMap.h"
#include "chart/SurfaceRayPick.h"
#include "query/GraphType.h"
#include "query/RibbonSet.h"
#include "views/C3DReportView.h"
#include "views/CTimeWindowDetailView.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/HeatMapGrid.h"
#include "views/MarkerSet.h"
#include "views/ReadoutBubble.h"
#include "views/ReportData.h"

#include <Q3DScene>
#include <Q3DSurface>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QSurface3DSeries>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

using BenchData::ribbons;
using BenchData::settle;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 560;

double msSince(const QElapsedTimer& t) {
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void print(const char* what, std::vector<double> v, const char* unit = "ms") {
  std::sort(v.begin(), v.end());
  std::printf("%-52s median %8.3f %s   fastest %8.3f %s   (%zu runs)\n", what, v[v.size() / 2], unit,
              v.front(), unit, v.size());
}

// 200 pointer positions spread over `plot`, each timed from the move to the
// readout's repaint.
template <typename Move>
std::vector<double> pointerMoves(const QRect& plot, Move move, const ReadoutBubble& readout) {
  std::vector<double> out;
  for (int k = 0; k < 200; ++k) {
    const QPoint p(plot.left() + (k * 7) % plot.width(), plot.top() + (k * 13) % plot.height());
    QElapsedTimer t;
    t.start();
    move(p);
    const_cast<ReadoutBubble&>(readout).repaint();
    out.push_back(msSince(t));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir profile;
  BenchData::keepProfileIn(profile.path());
  const auto [runs, pngDir] = BenchData::parseArgs(argc, argv);
  std::printf("readouts and heat map, %d x %d, platform %s\n", kWidth, kHeight,
              qPrintable(QGuiApplication::platformName()));

  const RibbonSet set = ribbons(97, 500);
  ReportData data = BenchData::detailReport(set);

  CTimeWindowDetailView view;
  view.resize(kWidth, kHeight);
  view.show();
  settle(500);
  std::printf("3D surface: %s\n", view.chart().hasSurface() ? "yes" : "no (the 3D build pushes no data)");
  std::vector<double> build3d, buildHeat;
  for (int k = 0; k < runs; ++k) {
    QElapsedTimer t;
    t.start();
    view.showReport(data);
    build3d.push_back(msSince(t));
    settle(50);
  }
  // A click on the surface, until the view's readout has drawn: the chart
  // computes the cell from the camera and the grid. Beside it, the same
  // points answered by the surface's selection pass (a frame of its own, what
  // the chart used before and falls back to when it cannot compute the cell),
  // and the computation alone. The selection is cleared before each, so each
  // point reads out.
  std::vector<double> pick3d, pickPass, pickMath;
  if (auto* graph = qobject_cast<Q3DSurface*>(view.chart().surfaceWindow())) {
    QSurface3DSeries* series = graph->seriesList().at(0);
    bool picked = false;
    QObject::connect(&view.chart(), &CChart3D::cellPicked, [&picked](int row) { picked = row >= 0; });
    // Points spread over the middle of the view that land on a ribbon, not
    // between two.
    std::vector<QPointF> points;
    const SurfaceRayPick onSurface = SurfaceRayPick::fromGraph(*graph, *series);
    for (int k = 0; static_cast<int>(points.size()) < runs && k < 437; ++k) {
      const QPointF at(graph->width() * (0.3 + 0.4 * (k * 7 % 23) / 23.0),
                       graph->height() * (0.4 + 0.3 * (k * 13 % 19) / 19.0));
      if (onSurface.cellAt(at.toPoint())) points.push_back(at);
    }
    const auto pointAt = [&](int k) { return points[static_cast<size_t>(k) % points.size()]; };
    const auto timed = [&](const std::function<void(const QPointF&)>& ask, std::vector<double>& out) {
      for (int k = 0; k < runs; ++k) {
        series->setSelectedPoint(QSurface3DSeries::invalidSelectionPosition());
        settle(400);  // the frame that clears the mark
        picked = false;
        QElapsedTimer t;
        t.start();
        ask(pointAt(k));
        while (!picked && t.elapsed() < 2000) QCoreApplication::processEvents();
        const_cast<ReadoutBubble&>(view.pickReadout()).repaint();
        if (picked) out.push_back(msSince(t));
      }
    };
    timed([&](const QPointF& at) { graph->scene()->setSelectionQueryPosition(at.toPoint()); }, pickPass);
    timed(
        [&](const QPointF& at) {
          for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, graph->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(graph, &e);
          }
        },
        pick3d);
    for (int k = 0; k < runs; ++k) {
      QElapsedTimer t;
      t.start();
      const auto cell = SurfaceRayPick::fromGraph(*graph, *series).cellAt(pointAt(k).toPoint());
      pickMath.push_back(msSince(t));
      if (!cell) std::printf("point %d is off the surface\n", k);  // cannot be: it was chosen on it
    }
    if (!pngDir.isEmpty()) {
      // The last click's readout and mark (a computed pick), from the screen: the surface and
      // the readout box are windows of their own.
      settle(500);
      const QRect frame(view.mapToGlobal(QPoint(0, 0)), view.size());
      view.screen()
          ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
          .save(pngDir + QStringLiteral("/pick-readout-3d.png"));
    }
  }
  view.setHeatMapShown(true);
  for (int k = 0; k < runs; ++k) {
    QElapsedTimer t;
    t.start();
    view.showReport(data);  // the grid, the map's cells and axes
    view.heatMap().replotNow();
    buildHeat.push_back(msSince(t));
    settle(50);
  }
  CHeatMap& map = view.heatMap();
  // The heat map's own part: its grid from the report's, the cells, a draw.
  std::vector<double> gridOnly, cellsOnly, drawOnly;
  for (int k = 0; k < runs; ++k) {
    QElapsedTimer t;
    t.start();
    const HeatMapGrid h = HeatMapGrid::build(view.grid());
    gridOnly.push_back(msSince(t));
    t.restart();
    map.setData(h.cells, h.rows, h.firstFrequency, h.lastFrequency, h.values);
    cellsOnly.push_back(msSince(t));
    t.restart();
    map.replotNow();
    drawOnly.push_back(msSince(t));
    settle(50);
  }
  print("3D chart build, 97 x 500 (logic and push)", build3d);
  print("report build with the heat map shown (both, first draw)", buildHeat);
  print("  heat map grid from the report's grid", gridOnly);
  print("  heat map cells into the colour map", cellsOnly);
  print("  heat map first draw", drawOnly);
  if (!pick3d.empty()) print("3D pick: click to the cell's readout drawn", pick3d);
  if (!pickPass.empty()) print("  the same through the selection pass", pickPass);
  if (!pickMath.empty()) print("  the cell computed, 97 x 500 grid", pickMath);

  const QRect plot = map.plotRect();
  print("heat map pointer move: readout and its repaint",
        pointerMoves(
            plot, [&](const QPoint& p) { view.showHeatReadout(p.x(), p.y()); }, view.heatReadout()));

  std::vector<double> zoomFrames;
  for (int k = 0; k < runs; ++k) {
    QElapsedTimer t;
    t.start();
    constexpr int kFrames = 60;
    for (int f = 0; f < kFrames; ++f) {
      map.zoom(f % 20 < 10 ? 0 : 1);
      map.replotNow();
    }
    zoomFrames.push_back(kFrames / (msSince(t) / 1000.0));
  }
  print("heat map redraw while zooming", zoomFrames, "fps");
  if (!pngDir.isEmpty()) {
    map.resetZoom();
    view.showHeatReadout(plot.left() + plot.width() / 3, plot.top() + plot.height() / 4);
    settle(100);
    view.grab().save(pngDir + QStringLiteral("/heat-map.png"));
  }

  // The Time Window Summary of 7 statistics x 500 points.
  SeriesStore store;
  ThresholdTable table{};
  BenchData::summary(store);
  ReportData summaryData;
  summaryData.series = &store;
  summaryData.thresholds = &table;
  summaryData.thresholdNames = {"Upper High", "Upper Low", "Lower High", "Lower Low"};
  MarkerSet markers;
  CTimeWindowSummaryView summary;
  summary.setMarkerSet(&markers);
  summary.resize(kWidth, kHeight);
  summary.show();
  summary.showReport(summaryData);
  summary.setActive(true);
  settle(300);
  const QRect plot2d = summary.chart().plotRect();
  print("2D pointer move, 7 traces x 500: readout and repaint",
        pointerMoves(
            plot2d, [&](const QPoint& p) { summary.showReadout(p.x(), p.y()); }, summary.readout()));
  if (!pngDir.isEmpty()) {
    summary.showReadout(plot2d.left() + plot2d.width() * 2 / 5, plot2d.top() + plot2d.height() / 3);
    settle(100);
    summary.grab().save(pngDir + QStringLiteral("/hover-readout.png"));
  }
  return 0;
}
