// Figures for the Time Window Summary: a build of 7 statistics x 500 points
// with the five threshold pairs (logic and first replot), and a marker move
// from the key press to the finished repaint. Prints the median and the
// fastest of each; `--png FILE` also writes the chart with markers and
// threshold lines on, for a look.
#include "bench/BenchData.h"
#include "chart/CChart2D.h"
#include "resources/CommandIds.h"
#include "views/CTimeWindowSummaryView.h"
#include "views/MarkerSet.h"
#include "views/ReportData.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void print(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%-48s median %7.3f ms   fastest %7.3f ms   (%zu runs)\n", what, samples[samples.size() / 2],
              samples.front(), samples.size());
}

struct Report {
  SeriesStore store;
  ThresholdTable table{};
  ReportData data;

  Report() {
    BenchData::summary(store);
    for (int e = 0; e < 13; ++e) {
      ThresholdEntry& entry = table[static_cast<size_t>(e)];
      entry.inUse = 1;
      entry.kindMask = 1;
      entry.frequency = 5.0 + 5.0 * e;
      entry.limitSet = {1, 1, 2, 2, 1};
      entry.limitLevel = {15.0, 5.0, -14.0, -20.0, 25.0};
    }
    data.series = &store;
    data.thresholds = &table;
    data.thresholdEntries = 13;
    data.thresholdNames = {"Ingress Critical", "Ingress Major", "Signal Low", "Signal Lost"};
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settings;  // the views read and write their settings here
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  QApplication app(argc, argv);
  const Report report;
  MarkerSet markers;
  CTimeWindowSummaryView view;
  view.setMarkerSet(&markers);
  view.resize(1000, 700);
  view.show();
  view.setActive(true);
  view.runCommand(CommandIds::ID_THRESHOLDS_DISPLAY);

  std::vector<double> build;
  for (int run = 0; run < 30; ++run) {
    const auto start = Clock::now();
    view.showReport(report.data);
    view.chart().replotNow();
    build.push_back(ms(Clock::now() - start));
  }
  print("build 7 x 500 + 5 threshold pairs, first replot", build);

  view.runCommand(CommandIds::ID_MARKER_AVERAGE);
  view.runCommand(CommandIds::ID_MARKER_DELTA);
  std::vector<double> move;
  for (int run = 0; run < 200; ++run) {
    QKeyEvent press(QEvent::KeyPress, run % 40 < 20 ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
    const auto start = Clock::now();
    QApplication::sendEvent(&view.chart(), &press);
    view.chart().replotNow();
    move.push_back(ms(Clock::now() - start));
  }
  print("marker move, key press to repaint", move);

  for (int i = 1; i + 1 < argc; ++i)
    if (QByteArrayView(argv[i]) == "--png")
      view.chart().image(view.size()).save(QString::fromLocal8Bit(argv[i + 1]));
  return 0;
}
