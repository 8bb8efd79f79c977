#pragma once

// Synthetic results and event-loop helpers shared by the chart benchmarks,
// so every program measures the same data.
#include "query/NoData.h"
#include "query/RibbonSet.h"
#include "query/SeriesStore.h"
#include "views/ReportData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace BenchData {

// R ribbons of N frequencies (5 to 65 MHz), smooth levels with a hole in
// every 97th column.
inline RibbonSet ribbons(int r, int n) {
  RibbonSet s;
  s.kind = RibbonSet::Kind::Ribbon;
  s.ribbonCount = r;
  s.frequencyCount = n;
  for (int i = 0; i < r; ++i) {
    RibbonBlock b;
    for (int j = 0; j < n; ++j) {
      b.frequencies[static_cast<size_t>(j)] = 5.0 + 60.0 * j / (n - 1);
      b.values[static_cast<size_t>(j)] =
          (j % 97 == 5) ? Blocks::NO_DATA : 10.0 + 15.0 * std::sin(0.05 * j + 0.3 * i);
    }
    s.ribbons.push_back(b);
    s.startLabels.push_back(QStringLiteral("%1").arg(i));
  }
  return s;
}

// A Time Window Detail report of `set` as the benchmarks show it.
inline ReportData detailReport(const RibbonSet& set) {
  ReportData data;
  data.query.graphType = TimeWindowDetail;
  data.ribbons = &set;
  data.headerLines = {QStringLiteral("Bench"), QStringLiteral("Level Units: dBmV")};
  return data;
}

// A Time Window Summary of the seven statistics x 500 frequencies.
inline void summary(SeriesStore& store) {
  store.count = 7;
  for (int s = 0; s < 7; ++s) {
    SeriesStore::Series& out = store.series[static_cast<size_t>(s)];
    out.statistic = s;
    out.hasData = 1;
    out.entryCount = 500;
    for (int i = 0; i < 500; ++i) {
      const double f = 5.0 + 0.1 * i;
      out.frequencies[static_cast<size_t>(i)] = f;
      out.values[static_cast<size_t>(i)] =
          s < 3 ? -10.0 + 8.0 * std::sin(f / 3.0) + 4.0 * s : 50.0 + 45.0 * std::sin(f / 4.0 + s);
    }
  }
}

// Lets the event loop run (paints, GL frames) for `ms`.
inline void settle(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents();
}

// The picture benchmarks' command line: RUNS and --png DIR, in any order.
struct Args {
  int runs = 9;
  QString pngDir;
};
inline Args parseArgs(int argc, char** argv) {
  Args a;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc)
      a.pngDir = QString::fromLocal8Bit(argv[++i]);
    else
      a.runs = std::max(1, std::atoi(argv[i]));
  }
  return a;
}

// Settings the program writes (the heat-map choice) go to `folder`, never to
// the user's own profile.
inline void keepProfileIn(const QString& folder) {
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

}  // namespace BenchData
