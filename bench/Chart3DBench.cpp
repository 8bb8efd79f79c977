// Figures for the 3D chart under the display it runs on (meant for Xvfb with
// Mesa's llvmpipe): building a report's chart beside the bare data reset of
// the same grid, and frames per second while the chart is rotated.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/quillon_bench_chart3d [RUNS]

#include "bench/BenchData.h"
#include "chart/CChart3D.h"
#include "query/GraphType.h"
#include "query/RibbonSet.h"
#include "views/C24HourView.h"
#include "views/C3DReportView.h"
#include "views/CTimeWindowDetailView.h"
#include "views/ReportData.h"

#include <Q3DCamera>
#include <Q3DScene>
#include <Q3DSurface>
#include <Q3DTheme>
#include <QApplication>
#include <QElapsedTimer>
#include <QStackedWidget>
#include <QSurface3DSeries>
#include <QSurfaceDataProxy>
#include <QSurfaceFormat>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

using BenchData::ribbons;
using BenchData::settle;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 560;
constexpr int kRotationSteps = 40;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Counts the frames the surface draws: each update request is one render.
class FrameCounter : public QObject {
public:
  int frames = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::UpdateRequest) ++frames;
    return false;
  }
};

template <class Rotate>
double framesPerSecond(QWindow* window, Rotate rotate) {
  FrameCounter counter;
  window->installEventFilter(&counter);
  settle(300);
  QElapsedTimer t;
  t.start();
  for (int i = 0; i < kRotationSteps; ++i) {
    const int before = counter.frames;
    rotate();
    while (counter.frames == before) QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QApplication::processEvents();
  const double seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
  window->removeEventFilter(&counter);
  return kRotationSteps / seconds;
}

double rotationFps(C3DReportView& view) {
  CChart3D& chart = view.chart();
  return framesPerSecond(chart.surfaceWindow(), [&] { chart.setRotation(chart.view().rotation + 5.0); });
}

double bareRotationFps(Q3DSurface& bare) {
  Q3DCamera* camera = bare.scene()->activeCamera();
  return framesPerSecond(&bare, [&] { camera->setXRotation(camera->xRotation() + 5.0f); });
}

// The same grid reset straight into a bare series, as the floor to compare with.
double bareResetMs(const RibbonSet& set, QSurfaceDataProxy* proxy) {
  const int rows = 3 * set.ribbonCount, n = set.frequencyCount;
  QElapsedTimer t;
  t.start();
  auto* array = new QSurfaceDataArray;
  array->reserve(rows);
  for (int r = 0; r < rows; ++r) {
    auto* row = new QSurfaceDataRow(n);
    const auto& v = set.ribbons[static_cast<size_t>(r / 3)].values;
    for (int j = 0; j < n; ++j) {
      const double x = v[static_cast<size_t>(j)];
      (*row)[j].setPosition(QVector3D(static_cast<float>(j),
                                      r % 3 == 2 || x >= 1e308 ? NAN : static_cast<float>(x),
                                      static_cast<float>(r)));
    }
    array->append(row);
  }
  proxy->resetArray(array);
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// The two meshes the ribbons can be drawn with, on surfaces set up as the
// chart's (no multisampling, no shadows): one series with a row of holes
// between ribbons, or a series of two rows per ribbon and no holes at all.
std::unique_ptr<Q3DSurface> meshSurface(const RibbonSet& set, bool seriesPerRibbon) {
  QSurfaceFormat format = QSurfaceFormat::defaultFormat();
  format.setDepthBufferSize(24);
  format.setSamples(0);
  auto surface = std::make_unique<Q3DSurface>(&format);
  surface->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
  surface->setHorizontalAspectRatio(1.0);
  const int n = set.frequencyCount;
  const auto addSeries = [&](int firstRow, int rows) {
    auto* series = new QSurface3DSeries;
    series->setDrawMode(QSurface3DSeries::DrawSurface);
    series->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
    auto* array = new QSurfaceDataArray;
    for (int r = firstRow; r < firstRow + rows; ++r) {
      auto* row = new QSurfaceDataRow(n);
      const auto& v = set.ribbons[static_cast<size_t>(r / 3)].values;
      for (int j = 0; j < n; ++j)
        (*row)[j].setPosition(QVector3D(static_cast<float>(j),
                                        r % 3 == 2 ? NAN : static_cast<float>(v[static_cast<size_t>(j)]),
                                        static_cast<float>(r)));
      array->append(row);
    }
    series->dataProxy()->resetArray(array);
    surface->addSeries(series);
  };
  if (seriesPerRibbon)
    for (int k = 0; k < set.ribbonCount; ++k) addSeries(3 * k, 2);
  else
    addSeries(0, 3 * set.ribbonCount);
  surface->resize(kWidth, kHeight);
  surface->show();
  settle(300);
  return surface;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  CTimeWindowDetailView view;
  view.resize(kWidth, kHeight);
  view.show();
  settle(500);
  if (!view.chart().hasSurface()) {
    std::fprintf(stderr, "no OpenGL on this display\n");
    return 1;
  }

  Q3DSurface bare;
  bare.setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
  auto* bareSeries = new QSurface3DSeries;
  bareSeries->setDrawMode(QSurface3DSeries::DrawSurface);
  bare.addSeries(bareSeries);
  bare.resize(kWidth, kHeight);
  bare.show();
  settle(300);

  std::printf("3D chart, %d x %d, platform %s, median of %d runs\n", kWidth, kHeight,
              qPrintable(QGuiApplication::platformName()), runs);
  std::printf("%-28s %12s %12s %8s\n", "grid", "build (ms)", "reset (ms)", "ratio");
  for (const auto& [r, n] : std::vector<std::pair<int, int>>{{24, 241}, {97, 500}}) {
    const RibbonSet set = ribbons(r, n);
    const ReportData data = BenchData::detailReport(set);
    std::vector<double> build, reset;
    for (int k = 0; k < runs; ++k) {
      QElapsedTimer t;
      t.start();
      view.showReport(data);
      build.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      reset.push_back(bareResetMs(set, bareSeries->dataProxy()));
      settle(100);
    }
    const double b = median(build), z = median(reset);
    std::printf("%3d ribbons x %3d (%3d rows)   %12.1f %12.1f %8.2f\n", r, n, 3 * r, b, z, b / z);
  }
  std::printf("\n%-28s %12s %12s %12s\n", "rotation, 40 steps", "bare (fps)", "full (fps)", "thinned (fps)");
  for (const auto& [r, n] : std::vector<std::pair<int, int>>{{24, 241}, {97, 500}}) {
    const RibbonSet set = ribbons(r, n);
    ReportData data;
    data.query.graphType = TimeWindowDetail;
    data.ribbons = &set;
    view.showReport(data);
    bareResetMs(set, bareSeries->dataProxy());
    settle(300);
    std::vector<double> bareFps, full, thinned;
    for (int k = 0; k < runs; ++k) {
      bareFps.push_back(bareRotationFps(bare));
      full.push_back(rotationFps(view));
      view.chart().setDecimated(true);
      thinned.push_back(rotationFps(view));
      view.chart().setDecimated(false);
    }
    std::printf("%3d rows x %3d columns       %12.1f %12.1f %12.1f\n", 3 * r, n, median(bareFps),
                median(full), median(thinned));
  }
  std::printf("\n%-28s %12s %12s\n", "the mesh, 40 steps", "holes (fps)", "per ribbon");
  for (const auto& [r, n] : std::vector<std::pair<int, int>>{{24, 241}, {97, 500}}) {
    const RibbonSet set = ribbons(r, n);
    std::vector<double> holes, perRibbon;
    for (int k = 0; k < runs; ++k)
      for (bool split : {false, true}) {
        const auto surface = meshSurface(set, split);
        (split ? perRibbon : holes).push_back(bareRotationFps(*surface));
      }
    std::printf("%3d rows x %3d columns       %12.1f %12.1f\n", 3 * r, n, median(holes), median(perRibbon));
  }
  // Switching report types: the view coming up takes the one surface over
  // and gets its report, against a new report in the view already shown.
  {
    QStackedWidget stack;
    stack.resize(kWidth, kHeight);
    C24HourView other;
    stack.addWidget(&other);
    view.setParent(&stack);
    stack.addWidget(&view);
    stack.show();
    const RibbonSet set = ribbons(97, 500);
    ReportData data;
    data.ribbons = &set;
    // The UI thread's work (the hand-over's deferred push included), and
    // until the surface has drawn the new picture.
    std::vector<double> build, toSwitch, buildFrame, switchFrame;
    FrameCounter frames;
    settle(300);
    other.chart().surfaceWindow()->installEventFilter(&frames);  // the one surface both views draw on
    bool report = true;
    const auto timed = [&](C3DReportView* v, bool switching, std::vector<double>& work,
                           std::vector<double>& drawn) {
      data.query.graphType = v->graphType();
      const int before = frames.frames;
      QElapsedTimer t;
      t.start();
      if (switching) stack.setCurrentWidget(v);
      if (!switching || report) v->showReport(data);
      QCoreApplication::sendPostedEvents(&v->chart(), QEvent::MetaCall);
      work.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      // A surface shown again draws on its expose too, which is no update request.
      while (frames.frames == before && t.elapsed() < 3000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
      drawn.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      settle(150);
    };
    for (int k = 0; k < runs; ++k) {
      for (C3DReportView* v : {static_cast<C3DReportView*>(&other), static_cast<C3DReportView*>(&view)}) {
        timed(v, true, toSwitch, switchFrame);
        timed(v, false, build, buildFrame);
      }
    }
    std::vector<double> back, backFrame;
    report = false;
    for (int k = 0; k < runs; ++k)
      for (C3DReportView* v : {static_cast<C3DReportView*>(&other), static_cast<C3DReportView*>(&view)})
        timed(v, true, back, backFrame);
    std::printf("\n97 x 500, median of %zu      UI thread (ms)  drawn (ms)\n", build.size());
    std::printf("new report, same view         %12.1f %12.1f\n", median(build), median(buildFrame));
    std::printf("switching report type         %12.1f %12.1f\n", median(toSwitch), median(switchFrame));
    std::printf("switching back, same report   %12.1f %12.1f\n", median(back), median(backFrame));
    view.setParent(nullptr);
  }
  return 0;
}
