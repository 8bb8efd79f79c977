// Figures for the comparison with an earlier period, beside the 3D build of
// the same 97 x 500 result: the comparison's own build (rows by position,
// frequencies by the nearest-frequency rule, the difference), then the
// difference map drawn. `--png DIR` also writes a line chart with its
// earlier period and a difference map, for the README.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/quillon_bench_comparison [RUNS] [--png DIR]

#include "bench/BenchData.h"
#include "chart/CHeatMap.h"
#include "query/Comparison.h"
#include "query/ComparisonMatch.h"
#include "views/CTimeWindowDetailView.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/MarkerSet.h"
#include "views/ReportData.h"
#include "views/RibbonGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

using BenchData::settle;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 560;

double msSince(const QElapsedTimer& t) {
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void print(const char* what, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::printf("%-60s median %8.3f ms   fastest %8.3f ms   (%zu runs)\n", what, v[v.size() / 2], v.front(),
              v.size());
}

// The earlier period: the same plan moved by a third of a step (so every
// column is matched by the nearest-frequency rule, not by position), levels
// lower or higher by a slow swell.
RibbonSet earlierOf(const RibbonSet& now) {
  RibbonSet then = now;
  const double step = now.ribbons[0].frequencies[1] - now.ribbons[0].frequencies[0];
  for (int i = 0; i < then.ribbonCount; ++i)
    for (int j = 0; j < then.frequencyCount; ++j) {
      RibbonBlock& b = then.ribbons[static_cast<size_t>(i)];
      b.frequencies[static_cast<size_t>(j)] += step / 3;
      if (!isNoData(b.values[static_cast<size_t>(j)]))
        b.values[static_cast<size_t>(j)] -= 3.0 * std::sin(0.02 * j) * std::cos(0.1 * i);
    }
  return then;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir profile;
  BenchData::keepProfileIn(profile.path());
  const auto [runs, pngDir] = BenchData::parseArgs(argc, argv);
  std::printf("comparison, %d x %d, platform %s\n", kWidth, kHeight,
              qPrintable(QGuiApplication::platformName()));

  const RibbonSet now = BenchData::ribbons(97, 500);
  ReportData data = BenchData::detailReport(now);
  data.query.SetStart(CNBDateTime::FromSeconds(1796040000));
  data.query.SetEnd(CNBDateTime::FromSeconds(1796040000 + 97 * 900));
  Comparison c;
  c.shown = data.query;
  c.earlier = CompareWindow::earlier(c.shown, CompareWindow::kOneDay);
  c.ribbons = earlierOf(now);
  c.active = true;

  CTimeWindowDetailView view;
  view.resize(kWidth, kHeight);
  view.show();
  settle(500);
  std::vector<double> build3d, own, ownFromSets, shown;
  for (int k = 0; k < runs; ++k) {
    QElapsedTimer t;
    t.start();
    view.showReport(data);
    build3d.push_back(msSince(t));
    settle(50);
  }
  for (int k = 0; k < runs; ++k) {
    // The view's steps: the earlier grid with the same offset, the match and
    // the difference, the difference in the report grid's shape.
    QElapsedTimer t;
    t.start();
    const RibbonGrid& grid = view.grid();
    const RibbonGrid earlier = RibbonGrid::build(c.ribbons, 0.0);
    const auto layout = [](const RibbonGrid& g) {
      return ComparisonMatch::Layout{g.ribbons, g.columns, g.frequencies.data(), [&g](int r) {
                                       return g.values.data() + static_cast<size_t>(3 * r) * g.columns;
                                     }};
    };
    const ComparisonMatch::RibbonDifference d = ComparisonMatch::rows(layout(grid), layout(earlier));
    RibbonGrid difference = grid;
    for (int r = 0; r < d.rows; ++r)
      for (int row = 3 * r; row < 3 * r + 2; ++row)
        std::copy_n(d.difference.data() + static_cast<size_t>(r) * d.columns, d.columns,
                    difference.values.data() + static_cast<size_t>(row) * d.columns);
    own.push_back(msSince(t));
    t.restart();
    const ComparisonMatch::RibbonDifference fromSets = ComparisonMatch::ribbons(now, c.ribbons);
    ownFromSets.push_back(msSince(t));
    if (fromSets.rows != d.rows) return 1;
  }
  for (int k = 0; k < runs; ++k) {
    QElapsedTimer t;
    t.start();
    view.setComparison(&c);
    view.heatMap().replotNow();
    shown.push_back(msSince(t));
    view.setComparison(nullptr);
    settle(50);
  }
  print("3D chart build, 97 x 500 (logic and push)", build3d);
  print("comparison's own build: earlier grid, match, difference", own);
  print("  match and difference from the two answers (export's path)", ownFromSets);
  print("comparison shown: own build, difference map cells, first draw", shown);

  if (!pngDir.isEmpty()) {
    view.setComparison(&c);
    const QRect plot = view.heatMap().plotRect();
    view.showHeatReadout(plot.left() + plot.width() * 2 / 5 + 12, plot.top() + plot.height() / 4);
    settle(200);
    view.grab().save(pngDir + QStringLiteral("/compare-difference-map.png"));

    SeriesStore store, earlierStore;
    BenchData::summary(store);
    store.count = 2;  // average and maximum
    earlierStore = store;
    for (int s = 0; s < 2; ++s)
      for (int i = 0; i < 500; ++i)
        earlierStore.series[static_cast<size_t>(s)].values[static_cast<size_t>(i)] -=
            2.0 + 3.0 * std::sin(0.03 * i);
    ThresholdTable table{};
    ReportData summaryData;
    summaryData.query.SetStart(CNBDateTime::FromSeconds(1796040000));
    summaryData.query.SetEnd(CNBDateTime::FromSeconds(1796040000 + 7200));
    summaryData.series = &store;
    summaryData.thresholds = &table;
    summaryData.thresholdNames = {"Upper High", "Upper Low", "Lower High", "Lower Low"};
    Comparison lines;
    lines.shown = summaryData.query;
    lines.earlier = CompareWindow::earlier(lines.shown, CompareWindow::kSevenDays);
    lines.series = earlierStore;
    lines.active = true;
    MarkerSet markers;
    CTimeWindowSummaryView summary;
    summary.setMarkerSet(&markers);
    summary.resize(kWidth, kHeight);
    summary.show();
    summary.showReport(summaryData);
    summary.setActive(true);
    summary.setComparison(&lines);
    settle(300);
    const QRect plot2d = summary.chart().plotRect();
    summary.showReadout(plot2d.left() + plot2d.width() * 2 / 5, plot2d.top() + plot2d.height() / 3);
    settle(100);
    summary.grab().save(pngDir + QStringLiteral("/compare-line-chart.png"));
  }
  return 0;
}
