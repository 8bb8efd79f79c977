#pragma once

#include <cstdint>

// Which New Graph controls a report type uses and which of them the user may
// change, as one table so the dialog has a single place for its enabling rules.
struct NewGraphLayout {
  bool startDateEnabled = true;
  bool startTimeEnabled = true;
  bool endDateEnabled = true;
  bool endTimeEnabled = true;
  bool frequencyShown = false;
  bool incrementShown = false;
  bool incrementEnabled = false;
  int32_t fixedIncrement = -1;  // the combo's forced selection; -1 keeps the record's
  bool upToTheSecondEnabled = true;
  bool upToTheSecondTicked = false;  // the tick after applying (may force it off)
  bool checkBoxStatistics = true;    // else radio buttons
  int frequencyLabelId = 0;          // string ids of the two labels
  int incrementLabelId = 0;

  // The layout of `graphType` for the selected increment and the current
  // state of "Up to the Second" (which, ticked, also locks the end fields).
  static NewGraphLayout forType(int32_t graphType, int32_t increment, bool upToTheSecond);
};
