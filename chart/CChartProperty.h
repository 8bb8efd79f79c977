#pragma once

#include "chart/AppearanceField.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>

class CChart2D;
class RegistryKey;

// The stored look of a 2D report's chart, one record per report type, kept
// under "Settings/<report key>" as 32-bit values; colours are 0x00BBGGRR.
class CChartProperty {
public:
  static constexpr int kGroups = 2;
  static constexpr int kSeries = 15;

  struct Grid {
    int pattern = 0, width = 0, color = 0;
    bool operator==(const Grid&) const = default;
  };
  struct Series {
    int linePattern = 0, lineWidth = 0, lineColor = 0, symbolShape = 0, symbolSize = 0, symbolColor = 0;
    bool operator==(const Series&) const = default;
  };
  // A series the appearance pages offer, with the name its tab carries.
  struct SeriesInUse {
    int group = 1;
    int series = 1;
    QString name;
  };

  int loaded = 1;
  int borderType = 0;
  int borderWidth = 0;
  int interiorBackground = 0;
  int interiorForeground = 0;
  std::array<Grid, 2> grid{};  // axes "X" and "Y"
  std::array<std::array<Series, kSeries>, kGroups> series{};
  int areaBackground = 0;
  int areaForeground = 0;
  int plotBackground = 0;
  int plotForeground = 0;

  bool operator==(const CChartProperty&) const = default;

  // "TWSChart Properties" or "SFChart Properties"; empty for a 3D type.
  static QString keyName(int graphType);

  // Reads the report's key under `settings` (the "Settings" section): an
  // absent key leaves the record unloaded, a missing value keeps its field.
  void load(const RegistryKey& settings, int graphType);
  // Writes every value to the report's key, creating it.
  void save(RegistryKey& settings, int graphType) const;
  // The look the chart shows now.
  void capture(const CChart2D& chart);
  void apply(CChart2D& chart) const;

  // The built-in look of a report type: shared colours for the traces, the
  // marker and threshold slots differ between the two reports.
  static CChartProperty defaults(int graphType);
  static void applyDefaults(CChart2D& chart, int graphType);

  // The appearance pages: border, colours, grid lines, then one page per
  // series in use (every slot when the list is empty).
  AppearanceFields fields(const QList<SeriesInUse>& inUse = {});

private:
  void forEachValue(const std::function<void(const QString&, int&)>& visit);
};
