#pragma once

#include "core/LevelUnit.h"
#include "query/GraphQuery.h"
#include "query/RibbonSet.h"
#include "query/SeriesStore.h"
#include "server/Blocks.h"

#include <QString>
#include <QStringList>

// What a view is given to draw one report. The pointers belong to the
// document and stay valid only while `ReportView::showReport` runs: a view
// keeps what it needs in its own chart.
struct ReportData {
  GraphQuery query;                         // the report's request, graphType included
  const RibbonSet* ribbons = nullptr;       // the 3D reports
  const SeriesStore* series = nullptr;      // the 2D reports
  const ThresholdTable* thresholds = nullptr;
  int thresholdEntries = 0;                 // 0: the port has no threshold table
  QStringList thresholdNames;               // four names, padded
  QStringList headerLines;                  // the report header, as printed
  QString label;                            // the port's label
  LevelUnit levelUnit;                      // its offset is added to every level shown
};
