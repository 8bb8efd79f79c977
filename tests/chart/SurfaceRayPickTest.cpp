#include "chart/CChart3D.h"
#include "chart/SurfaceRayPick.h"

#include <Q3DScene>
#include <Q3DSurface>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSurface3DSeries>

#include <gtest/gtest.h>

namespace {

struct Look {
  double rotation, elevation, magnification, perspective, shiftY;
};

void spin(int ms, const std::function<bool()>& done) {
  QElapsedTimer wait;
  wait.start();
  while (wait.elapsed() < ms && !done()) QApplication::processEvents();
}

class SurfaceRayPickVsGraph : public ::testing::TestWithParam<Look> {};

// The graph's own selection pass is the reference: across the window, the
// cell computed from the camera and the grid is the one it reports, or none
// where it reports none; a click on the chart reads the cell out at once.
TEST_P(SurfaceRayPickVsGraph, FindsTheCellTheGraphsSelectionFinds) {
  const Look look = GetParam();
  CChart3D chart;
  chart.resize(480, 360);
  chart.show();
  chart.setBatch(true);
  chart.setGridSize(6, 7);
  for (int c = 1; c < 7; ++c) chart.setColumnSpacing(c, 0.5 + 0.25 * c);  // uneven columns
  std::vector<double> values(42);
  for (int k = 0; k < 42; ++k) values[static_cast<size_t>(k)] = (k * 37) % 11;
  values[24] = Blocks::NO_DATA;  // a hole: its four quads are not drawn
  chart.setValues(values);
  // The first and last rows and the first column fall outside the ranges, undrawn.
  chart.setAxisRange(2, 0.5, chart.columnPosition(7));
  chart.setAxisRange(1, 0.5, chart.rowPosition(5));
  chart.setAxisRange(3, 0.0, 10.0);
  chart.setRotation(look.rotation);
  chart.setElevation(look.elevation);
  chart.setMagnification(look.magnification);
  chart.setPerspective(look.perspective);
  chart.setShift(0.0, look.shiftY);
  chart.setBatch(false);
  spin(1500, [] { return false; });
  if (!chart.hasSurface()) GTEST_SKIP() << "no OpenGL on this display";
  auto* graph = qobject_cast<Q3DSurface*>(chart.surfaceWindow());
  QSurface3DSeries* series = graph->seriesList().at(0);
  const QPoint none = QSurface3DSeries::invalidSelectionPosition();
  int onSurface = 0;
  QPoint somewhere = none, itsCell = none;
  for (int y = 7; y < graph->height(); y += 23) {
    for (int x = 5; x < graph->width(); x += 19) {
      const QPoint at(x, y);
      series->setSelectedPoint(none);
      graph->scene()->setSelectionQueryPosition(at);
      spin(3000,
           [&] { return graph->scene()->selectionQueryPosition() == Q3DScene::invalidSelectionPoint(); });
      const QPoint expected = series->selectedPoint();
      EXPECT_EQ(SurfaceRayPick::fromGraph(*graph, *series).cellAt(at).value_or(none), expected)
          << x << "," << y;
      if (expected != none) {
        ++onSurface;
        somewhere = at;
        itsCell = expected;
      }
    }
  }
  EXPECT_GT(onSurface, 10);
  QPoint picked = none;
  QObject::connect(&chart, &CChart3D::cellPicked, [&](int row, int column) { picked = QPoint(row, column); });
  series->setSelectedPoint(none);
  QMouseEvent press(QEvent::MouseButtonPress, somewhere, graph->mapToGlobal(QPointF(somewhere)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(graph, &press);
  EXPECT_EQ(picked, itsCell);
}

INSTANTIATE_TEST_SUITE_P(Views, SurfaceRayPickVsGraph,
                         ::testing::Values(Look{225, 45, 1.0, 3.0, 0.0}, Look{225, 45, 1.0, 0.0, 0.0},
                                           Look{100, 20, 1.6, 3.0, 0.2}, Look{-30, 80, 0.7, 3.0, -0.4},
                                           Look{10, 5, 2.5, 0.0, 0.1}));

// A grid the surface would not draw gets no answer, and the caller falls
// back to the surface's own selection: too few rows or columns, values that
// do not fill it, an axis that does not ascend.
TEST(SurfaceRayPick, GridsItCannotReadGiveNoAnswer) {
  using G = SurfaceRayPick::Grid;
  const std::vector<float> four{1, 2, 3, 4};
  EXPECT_TRUE(SurfaceRayPick({}, G{{0, 1}, {0, 1}, four, {}, {}, {}}).canAnswer());
  for (const G& g : {G{{0}, {0, 1}, {1, 2}, {}, {}, {}}, G{{0, 1}, {0}, {1, 2}, {}, {}, {}},
                     G{{0, 1}, {0, 1}, {1, 2, 3}, {}, {}, {}}, G{{1, 0}, {0, 1}, four, {}, {}, {}}})
    EXPECT_FALSE(SurfaceRayPick({}, g).canAnswer());
}

}  // namespace
