#pragma once

#include "query/RibbonSet.h"
#include "views/ReadoutBubble.h"
#include "views/ReportData.h"

#include <functional>
#include <utility>
#include <vector>

// R ribbons (days for Kind::Day) of N frequencies: ribbon i holds level(i, j)
// at frequency(j) and is labelled "ii:00". The blocks carry versions 12 (hours)
// and 7 to 8 (days).
inline RibbonSet makeRibbons(RibbonSet::Kind kind, int r, int n, const std::function<double(int, int)>& level,
                             const std::function<double(int)>& frequency, bool percent = false) {
  RibbonSet s;
  s.kind = kind;
  s.ribbonCount = r;
  s.frequencyCount = n;
  s.percent = percent;
  for (int i = 0; i < r; ++i) {
    const auto fill = [&](auto b) {
      for (int j = 0; j < n; ++j) {
        b.frequencies[static_cast<size_t>(j)] = frequency(j);
        b.values[static_cast<size_t>(j)] = level(i, j);
      }
      b.entryCount = static_cast<uint16_t>(n);
      return b;
    };
    if (kind == RibbonSet::Kind::Day)
      s.days.push_back(fill(DayBlock{.field28 = 7, .field30 = 8}));
    else
      s.ribbons.push_back(fill(RibbonBlock{.field24 = 12, .field26 = 12}));
    s.startLabels.push_back(QStringLiteral("%1:00").arg(i, 2, 10, QLatin1Char('0')));
  }
  return s;
}

// R ribbons over the given frequencies; value j of ribbon i is 10 i + j
// unless `values` says otherwise.
inline RibbonSet ribbonSet(int r, const std::vector<double>& f, bool percent = false,
                           const std::vector<std::vector<double>>& values = {}) {
  return makeRibbons(
      RibbonSet::Kind::Ribbon, r, static_cast<int>(f.size()),
      [&](int i, int j) {
        return values.empty() ? 10.0 * i + j : values[static_cast<size_t>(i)][static_cast<size_t>(j)];
      },
      [&](int j) { return f[static_cast<size_t>(j)]; }, percent);
}

// A Time Window Summary or One Frequency result: one slot per statistic
// given, point i at 10 + i MHz and at 1,800,000,000 + 3600 i seconds.
struct SummaryFixture {
  SeriesStore store;
  ThresholdTable table{};
  ReportData data;

  explicit SummaryFixture(const std::vector<std::pair<int, QVector<double>>>& columns, LevelUnit unit = {}) {
    store.count = static_cast<int>(columns.size());
    for (size_t s = 0; s < columns.size(); ++s) {
      SeriesStore::Series& out = store.series[s];
      out.statistic = columns[s].first;
      out.hasData = 1;
      out.entryCount = static_cast<int>(columns[s].second.size());
      for (int i = 0; i < out.entryCount; ++i) {
        out.values[static_cast<size_t>(i)] = columns[s].second[i];
        out.frequencies[static_cast<size_t>(i)] = 10.0 + i;
        out.times[static_cast<size_t>(i)] = 1'800'000'000u + 3600u * static_cast<uint32_t>(i);
      }
    }
    data.series = &store;
    data.thresholds = &table;
    data.levelUnit = unit;
    data.thresholdNames = {"Upper High", "Upper Low", "Lower High", "Lower Low"};
    data.query.frequency = 30.0;
  }
};

inline QStringList readoutTexts(const ReadoutBubble& b) {
  QStringList out;
  for (const ReadoutLine& l : b.lines()) out << l.text;
  return out;
}
