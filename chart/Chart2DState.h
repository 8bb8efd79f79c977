#pragma once

#include "query/NoData.h"

#include <QMap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>
#include <array>
#include <cmath>

// What a 2D chart shows, as plain values: the report logic writes it, the
// chart widget draws it. Colours are 0x00BBGGRR values.
struct Chart2DState {
  static constexpr int kGroups = 2;
  static constexpr int kSeriesPerGroup = 15;
  static constexpr int kLabels = 8;

  enum Display { Shown = 1, Hidden = 2, Off = 3 };
  enum AxisId { X = 0, Y = 1, Y2 = 2 };

  struct Axis {
    double minimum = 0.0;
    double maximum = 100.0;
    double origin = 0.0;
    double gridSpacing = 0.0;       // 0: automatic
    double numberingSpacing = 0.0;  // 0: automatic
    double minorTickSpacing = 0.0;  // 0: none
    int precision = -1;             // digits after the point; -1 automatic
    bool shown = true;
    QString title;
    QMap<double, QString> valueLabels;  // when not empty, the only labels
  };

  // Line and symbol look of one series slot. Pattern: 0 none, 1 solid,
  // 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot. Shape: 0 none, 1 dot, 2 box,
  // 3 triangle, 4 diamond, 5 star, 6 vertical bar, 7 horizontal bar,
  // 8 cross, 9 circle, 10 square.
  struct SeriesStyle {
    int linePattern = 1;
    int lineWidth = 1;
    int lineColor = 0xFFFFFF;
    int symbolShape = 0;
    int symbolSize = 5;
    int symbolColor = 0xFFFFFF;
    bool operator==(const SeriesStyle&) const = default;
  };

  struct Series {
    QVector<double> x;
    QVector<double> y;  // Blocks::NO_DATA where there is no sample
    int display = Hidden;
    QString legendText;
    SeriesStyle style;
  };

  // A trace of an earlier period, drawn under the current traces in the
  // colour of the current trace it is set against (group, line), dashed
  // and lighter, with its own legend entry.
  struct EarlierTrace {
    int group = 1;
    int line = 1;
    QVector<double> x;          // as drawn: earlier times moved onto the shown window
    QVector<double> y;          // Blocks::NO_DATA where there is no sample
    QVector<double> atCurrent;  // the earlier value set against each point of the current trace
    QString legendText;
  };
  // The earlier trace's colour (0x00BBGGRR): the current one's, halfway to white.
  static int earlierColour(int ref) {
    const int r = ref & 0xFF, g = (ref >> 8) & 0xFF, b = (ref >> 16) & 0xFF;
    return ((r + 255) / 2) | (((g + 255) / 2) << 8) | (((b + 255) / 2) << 16);
  }

  struct Group {
    int seriesCount = 0;
    std::array<Series, kSeriesPerGroup> series{};
  };

  struct Label {
    QString text;
    QPoint position;  // top left, in chart pixels
    bool shown = false;
    int color = 0xFFFFFF;
  };

  struct GridStyle {
    int pattern = 3;
    int width = 1;
    int color = 0x505050;
    bool operator==(const GridStyle&) const = default;
  };

  // Border type: 0 none, 1 plain line, 2 raised, 3 lowered.
  struct Look {
    int borderType = 1;
    int borderWidth = 1;
    int interiorBackground = 0x000000;
    int interiorForeground = 0xC0C0C0;
    std::array<GridStyle, 2> grid{};  // x, then the value axes
    int areaBackground = 0x000000;
    int areaForeground = 0xC0C0C0;
    int plotBackground = 0x000000;
    int plotForeground = 0xC0C0C0;
    bool operator==(const Look&) const = default;
  };

  std::array<Axis, 3> axes{};
  std::array<Group, kGroups> groups{};
  std::array<Label, kLabels> labels{};
  QString header;
  bool legendShown = true;
  int legendTop = 0;  // chart pixels
  QSize area;         // the chart area, inside the border
  struct {
    int top = 55, bottom = 150, left = 75, right = 75;
  } margins;
  Look look;
  QString note;                   // shown in the plot when there is nothing to draw
  QVector<EarlierTrace> earlier;  // empty unless the report is compared

  Series& at(int group, int series) {
    return groups[static_cast<size_t>(group - 1)].series[static_cast<size_t>(series - 1)];
  }
  const Series& at(int group, int series) const {
    return groups[static_cast<size_t>(group - 1)].series[static_cast<size_t>(series - 1)];
  }
  Axis& axis(AxisId id) { return axes[static_cast<size_t>(id)]; }
  const Axis& axis(AxisId id) const { return axes[static_cast<size_t>(id)]; }
  Label& label(int index) { return labels[static_cast<size_t>(index - 1)]; }
  const Label& label(int index) const { return labels[static_cast<size_t>(index - 1)]; }
};
