#pragma once

#include "core/CNBDateTime.h"
#include "query/CompareWindow.h"
#include "query/GraphQuery.h"
#include "query/RibbonSet.h"
#include "query/SeriesStore.h"

#include <QString>

// A report's comparison with an earlier period, as one value: the chosen
// shift, the earlier request and what it fetched. The frame hands it to the
// view with every build, so a report rebuilt for any reason draws it again.
struct Comparison {
  int shift = CompareWindow::kPreviousPeriod;
  CNBDateTime chosenStart;  // for CompareWindow::kChosenStart
  GraphQuery shown;         // the request compared
  GraphQuery earlier;       // the earlier request
  RibbonSet ribbons;        // its answer, ribbon types
  SeriesStore series;       // its answer, line types
  bool active = false;

  // Applies to the report type compared, also after the report is rebuilt
  // over a moved window: rows keep matching by their position.
  bool appliesTo(int graphType) const { return active && graphType == shown.graphType; }
  // Seconds that move an earlier time onto the shown window.
  int64_t offsetSeconds() const { return CompareWindow::offsetSeconds(shown, earlier); }
  // The earlier period's start as the legends name it: "30 Nov 2026".
  QString periodText() const {
    return earlier.GetStart().toLocal().date().toString(QStringLiteral("d MMM yyyy"));
  }
  // Back to the report alone; the shift is kept for the next comparison.
  void clear() {
    active = false;
    ribbons.clear();
    series.clear();
  }
};
