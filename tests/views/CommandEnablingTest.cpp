#include "query/GraphQuery.h"
#include "resources/CommandIds.h"
#include "views/CommandEnabling.h"
#include "views/ReportTexts.h"

#include <gtest/gtest.h>

using namespace CommandIds;

namespace {

FrameState shown(int type) {
  FrameState s;
  s.graphType = type;
  s.viewReady = true;
  return s;
}

TEST(CommandEnablingTest, ThreeDimensionalCommandsFollowTheReport) {
  for (int id : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_RESET, ID_VIEW_ROTATE_UP,
                 ID_VIEW_ROTATE_DOWN, ID_VIEW_ROTATE_LEFT, ID_VIEW_ROTATE_RIGHT, ID_VIEW_RESET_ORIENTATION}) {
    const bool expected[] = {false, false, true, true, true, true, false};  // types 0 to 6
    for (int type = 0; type <= 6; ++type)
      EXPECT_EQ(commandState(id, shown(type)).enabled, expected[type]) << id << " type " << type;
    FrameState notDrawn = shown(3);
    notDrawn.viewReady = false;
    EXPECT_FALSE(commandState(id, notDrawn).enabled);
  }
}

TEST(CommandEnablingTest, MarkersFollowTheTracesOfTwoDimensionalReports) {
  FrameState s = shown(TimeWindowSummary);
  s.traceDrawn = {true, false, true, false, false, false, true};
  s.marker1Trace = 2;
  const int ids[] = {ID_MARKER_AVERAGE,     ID_MARKER_MAXIMUM,     ID_MARKER_MINIMUM,
                     ID_MARKER_THRESHOLD_1, ID_MARKER_THRESHOLD_2, ID_MARKER_THRESHOLD_3,
                     ID_MARKER_THRESHOLD_4};
  for (int k = 0; k < 7; ++k) {
    const CommandState c = commandState(ids[k], s);
    EXPECT_EQ(c.enabled, s.traceDrawn[static_cast<size_t>(k)]) << k;
    EXPECT_EQ(c.checked, k == 2) << k;
  }
  EXPECT_TRUE(commandState(ID_MARKER_CENTER, s).enabled);
  EXPECT_EQ(commandState(ID_MARKER_DELTA, s), (CommandState{true, false}));
  s.marker2On = true;
  EXPECT_EQ(commandState(ID_MARKER_DELTA, s), (CommandState{true, true}));
  s.marker1Trace = -1;
  EXPECT_FALSE(commandState(ID_MARKER_CENTER, s).enabled);
  EXPECT_FALSE(commandState(ID_MARKER_DELTA, s).enabled);
  FrameState ribbons = shown(TwentyFourHour);
  ribbons.traceDrawn.fill(true);
  EXPECT_FALSE(commandState(ID_MARKER_AVERAGE, ribbons).enabled);
}

TEST(CommandEnablingTest, ShellCommands) {
  FrameState none;
  EXPECT_TRUE(commandState(ID_GRAPH_NEW, none).enabled);
  EXPECT_TRUE(commandState(ID_FILE_PRINT_PREVIEW, none).enabled);
  EXPECT_FALSE(commandState(ID_GRAPH_EXPORT, none).enabled);
  EXPECT_TRUE(commandState(ID_GRAPH_EXPORT, shown(4)).enabled);
  EXPECT_FALSE(commandState(ID_THRESHOLDS_1, shown(1)).enabled);
}

TEST(CommandEnablingTest, ThresholdSubmenuFollowsTheDisplayFlagAndTheLevelTraces) {
  FrameState s = shown(0);
  s.levelDrawn = true;
  s.thresholdShown[3] = s.thresholdShown[4] = s.thresholdShown[5] = s.thresholdShown[6] = true;
  s.intervalShown = true;
  EXPECT_EQ(commandState(ID_THRESHOLDS_DISPLAY, s), (CommandState{true, false}));
  for (int id : {ID_THRESHOLDS_ALL, ID_THRESHOLDS_1, ID_THRESHOLDS_4, ID_THRESHOLDS_INTERVAL})
    EXPECT_FALSE(commandState(id, s).enabled) << id;
  s.thresholdDisplay = true;
  EXPECT_EQ(commandState(ID_THRESHOLDS_DISPLAY, s), (CommandState{true, true}));
  EXPECT_EQ(commandState(ID_THRESHOLDS_ALL, s), (CommandState{false, false}));  // none hidden
  EXPECT_EQ(commandState(ID_THRESHOLDS_2, s), (CommandState{true, true}));
  s.thresholdShown[4] = false;  // threshold 2
  EXPECT_EQ(commandState(ID_THRESHOLDS_2, s), (CommandState{true, false}));
  EXPECT_EQ(commandState(ID_THRESHOLDS_1, s), (CommandState{true, true}));
  EXPECT_TRUE(commandState(ID_THRESHOLDS_ALL, s).enabled);
  s.thresholdShown[4] = true;
  s.intervalShown = false;
  EXPECT_EQ(commandState(ID_THRESHOLDS_INTERVAL, s), (CommandState{true, false}));
  EXPECT_TRUE(commandState(ID_THRESHOLDS_ALL, s).enabled);
  // Without a level trace, or on another report, nothing in the submenu acts.
  for (FrameState other : {s, shown(1)}) {
    other.levelDrawn = other.graphType == 0 ? false : true;
    other.thresholdDisplay = true;
    for (int id = ID_THRESHOLDS_DISPLAY; id <= ID_THRESHOLDS_INTERVAL; ++id)
      EXPECT_FALSE(commandState(id, other).enabled) << id << " type " << other.graphType;
  }
}

TEST(ReportTextsTest, TitlesFollowTheReport) {
  const char* titles[] = {"Quillon - Port 3 Time Window Summary", "Quillon - Port 3 One Freq. Time Window",
                          "Quillon - Port 3 Time Window Detail",  "Quillon - Port 3 24 Hour",
                          "Quillon - Port 3 Multi Day",           "Quillon - Port 3 Multi Day Time Window"};
  for (int type = 0; type < 6; ++type) EXPECT_EQ(ReportTexts::windowTitle("Port 3", type), titles[type]);
  EXPECT_EQ(ReportTexts::windowTitle("Port 3", 6), "Quillon - Port 3");
  EXPECT_EQ(ReportTexts::name(3), "24 Hour Report");
}

TEST(ReportTextsTest, HeaderLinesNameThePortWindowAndIncrement) {
  GraphQuery q;
  q.graphType = TimeWindowDetail;
  q.increment = Increment::k1Hour;
  const QStringList lines = ReportTexts::headerLines("Hub 9", 12, LevelUnit::fromCode(LevelUnit::kDbm), q);
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(lines[0], "Hub 9  ID Number: 12");
  EXPECT_EQ(lines[1], "Level Units: dBm");
  EXPECT_TRUE(lines[2].startsWith("Start date, time: "));
  EXPECT_TRUE(lines[3].startsWith("End date, time: "));
  EXPECT_EQ(lines[4], "Each scan summarizes 1 Hour");
  q.graphType = TimeWindowSummary;
  EXPECT_EQ(ReportTexts::headerLines("Hub 9", 12, LevelUnit(), q).size(), 4);
}

}  // namespace

namespace {

// The two date panes: the report's own dates, except where the report asks
// for the current date and time.
TEST(ReportTextsTest, PeriodPanesShowTheDatesOrTheCurrentTime) {
  GraphQuery q;
  q.Reset(CNBDateTime::FromFields(2024, 6, 15, 12, 0, 0));
  const CNBDateTime now = CNBDateTime::FromFields(2025, 1, 2, 9, 30, 0);
  for (int type = 0; type < 6; ++type) {
    q.graphType = type;
    const auto [first, second] = ReportTexts::periodPanes(q, now);
    if (type == TimeWindowSummary || type == OneFreqTimeWindow || type == TimeWindowDetail) {
      EXPECT_EQ(first, now.LocalDateText()) << type;
      EXPECT_EQ(second, now.LocalTimeText()) << type;
    } else {
      EXPECT_EQ(first, q.GetStart().LocalDateText()) << type;
      EXPECT_EQ(second, q.GetEnd().LocalDateText()) << type;
      EXPECT_NE(first, now.LocalDateText()) << type;
    }
  }
}

}  // namespace
