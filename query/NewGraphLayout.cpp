#include "query/NewGraphLayout.h"

#include "query/GraphType.h"
#include "resources/Strings.h"

NewGraphLayout NewGraphLayout::forType(int32_t graphType, int32_t increment, bool upToTheSecond) {
  NewGraphLayout l;
  l.frequencyLabelId = Strings::IDS_BLANK;
  l.incrementLabelId = Strings::IDS_LABEL_INCREMENT;
  const bool daily = increment == Increment::k1Day;
  switch (graphType) {
    case TimeWindowSummary:
      l.incrementLabelId = Strings::IDS_BLANK;
      break;
    case OneFreqTimeWindow:
      l.frequencyShown = true;
      l.frequencyLabelId = Strings::IDS_LABEL_FREQUENCY;
      l.incrementLabelId = Strings::IDS_LABEL_INCREMENT_MNEMONIC;
      [[fallthrough]];
    case TimeWindowDetail:
      l.incrementShown = l.incrementEnabled = true;
      // A daily increment takes whole days from the start time on, so the
      // end's clock time follows the start's and cannot run to the second.
      l.endTimeEnabled = !daily;
      l.upToTheSecondEnabled = !daily;
      break;
    case TwentyFourHour:
      l.endDateEnabled = l.endTimeEnabled = false;
      l.incrementShown = true;
      l.fixedIncrement = Increment::k1Hour;
      l.upToTheSecondEnabled = false;
      break;
    case MultiDay:
      l.startTimeEnabled = l.endTimeEnabled = false;
      l.incrementShown = true;
      l.fixedIncrement = Increment::k1Day;
      l.upToTheSecondEnabled = false;
      break;
    case MultiDayTimeWindow:
      l.incrementShown = true;
      l.fixedIncrement = Increment::k1Day;
      l.upToTheSecondEnabled = false;
      l.incrementLabelId = Strings::IDS_LABEL_INCREMENT_MNEMONIC;
      break;
    default:
      break;
  }
  l.checkBoxStatistics = usesCheckBoxStatistics(graphType);
  l.upToTheSecondTicked = upToTheSecond && l.upToTheSecondEnabled;
  if (l.upToTheSecondTicked) l.endDateEnabled = l.endTimeEnabled = false;
  return l;
}
