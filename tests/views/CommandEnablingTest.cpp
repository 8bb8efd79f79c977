#include "query/GraphQuery.h"
#include "resources/CommandIds.h"
#include "support/QtPrinters.h"
#include "views/CommandEnabling.h"
#include "views/ReportTexts.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

using namespace CommandIds;

namespace {

std::array<bool, 7> bits(const char* s) {
  std::array<bool, 7> b{};
  for (size_t i = 0; s[i] != '\0'; ++i) b[i] = s[i] == '1';
  return b;
}

// flags: r view ready, u/d can raise/lower the level, a auto reference,
// 2 marker 2 on, i interval line shown, t threshold display, l level trace
// drawn, m active marker, h heat map, n window ends now, f following,
// c compared with an earlier period.
FrameState frame(int type, std::string_view flags, const char* traces, int marker1, const char* lines) {
  const auto has = [&](char c) { return flags.find(c) != std::string_view::npos; };
  return {type,     has('r'), has('u'), has('d'), has('a'), bits(traces), marker1,  has('2'), bits(lines),
          has('i'), has('t'), has('l'), has('m'), has('h'), has('n'),     has('f'), has('c')};
}

// Representative frames; each differs from its neighbours in the conditions a
// rule could drop. Threshold lines are shown in a different mix per frame so
// that a threshold command reading another trace's line shows up.
const FrameState kFrames[] = {
    {},                                                // 0: before the first report
    frame(0, "uda2itlmnfc", "1111111", 4, "0001111"),  // 1: summary, not drawn yet
    frame(0, "rua2itlmn", "1000001", 0, "0001011"),    // 2: summary, threshold 2 hidden
    frame(0, "rd2itlm", "0000000", -1, "0001111"),     // 3: summary, every line shown
    frame(0, "rua2ilm", "1000001", 0, "0000101"),      // 4: summary, threshold display off
    frame(0, "rua2tm", "1000001", 0, "0000011"),       // 5: summary without a level trace
    frame(1, "rua2tlhf", "1000001", 0, "0001000"),     // 6: one frequency, no active marker, heat map
    frame(5, "rudaitlmnfc", "1111111", 4, "0001111"),  // 7: ribbons in 3D, compared
    frame(2, "rditlmh", "1111111", -1, "0001111"),     // 8: ribbons as a heat map
    frame(0, "rtl", "0000000", -1, "0001111")};        // 9: summary, only the interval line hidden

// One character per frame above: '.' off, 'e' enabled, 'c' enabled and
// checked, 'x' checked but disabled.
struct Row {
  std::vector<int> ids;
  const char* states;
};
const Row kRows[] = {
    {{ID_GRAPH_NEW, ID_APP_EXIT, ID_FILE_PAGE_SETUP, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_HELP_QUILLON,
      ID_HELP_INDEX, ID_HELP_FINDER, ID_CONTEXT_HELP, ID_HELP, ID_DEFAULT_HELP, ID_APP_ABOUT},
     "eeeeeeeeee"},
    {{ID_GRAPH_EXPORT}, ".eeeeeeeee"},
    {{ID_GRAPH_COMPARE_WITH}, "..eeeeeeee"},
    {{ID_GRAPH_CLEAR_COMPARISON, ID_GRAPH_EXPORT_COMPARISON}, ".......e.."},
    {{ID_GRAPH_COPY, ID_GRAPH_SAVE_IMAGE, ID_VIEW_PROPERTIES, ID_VIEW_RESET_CHART_PROPERTIES}, "..eeeeeeee"},
    {{ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_RESET}, ".......ee."},
    {{ID_VIEW_ROTATE_UP, ID_VIEW_ROTATE_DOWN, ID_VIEW_ROTATE_LEFT, ID_VIEW_ROTATE_RIGHT,
      ID_VIEW_RESET_ORIENTATION},
     ".......e.."},
    {{ID_VIEW_HEAT_MAP}, ".......ec."},
    {{ID_VIEW_FOLLOW_LIVE}, ".xe...cc.."},
    {{ID_VIEW_REF_LEVEL_UP}, "..e.eeee.."},
    {{ID_VIEW_REF_LEVEL_DOWN}, "...e...ee."},
    {{ID_VIEW_AUTO_REFERENCE}, "..e.eeee.."},
    {{ID_MARKER_TO_PEAK, ID_MARKER_NEXT_PEAK_LEFT, ID_MARKER_NEXT_PEAK_RIGHT}, "..eeee...."},
    {{ID_MARKER_CENTER}, "..e.eee..."},
    {{ID_MARKER_AVERAGE}, "..c.ccc..."},
    {{ID_MARKER_THRESHOLD_2}, ".x.....x.."},
    {{ID_MARKER_DELTA}, ".ccxccce.."},  // on a 3D report too
    {{ID_THRESHOLDS_DISPLAY}, ".xccexxxxc"},
    {{ID_THRESHOLDS_ALL}, "..e......e"},
    {{ID_THRESHOLDS_1}, ".xcc..xxxc"},
    {{ID_THRESHOLDS_2}, ".xecx..xxc"},
    {{ID_THRESHOLDS_3}, ".xcc.x.xxc"},
    {{ID_THRESHOLDS_4}, ".xccxx.xxc"},
    {{ID_THRESHOLDS_INTERVAL}, ".xccx..xxe"},
    {{0}, ".........."}};

TEST(CommandEnablingTest, EveryCommandInEveryFrame) {
  for (const Row& row : kRows) {
    ASSERT_EQ(std::string_view(row.states).size(), std::size(kFrames)) << row.states;
    for (int id : row.ids)
      for (size_t f = 0; f < std::size(kFrames); ++f) {
        const char c = row.states[f];
        EXPECT_EQ(commandState(id, kFrames[f]), (CommandState{c == 'e' || c == 'c', c == 'c' || c == 'x'}))
            << "command " << id << " frame " << f;
      }
  }
}

// Show All stays on offer while any one of the five lines is hidden.
TEST(CommandEnablingTest, ShowAllWhileAnyLineIsHidden) {
  for (size_t hidden = 3; hidden <= 7; ++hidden) {
    FrameState s = kFrames[3];
    (hidden < 7 ? s.thresholdShown[hidden] : s.intervalShown) = false;
    EXPECT_TRUE(commandState(ID_THRESHOLDS_ALL, s).enabled) << hidden;
  }
}

TEST(CommandEnablingTest, EachMarkerTraceCommandActsOnItsOwnTrace) {
  const int ids[] = {ID_MARKER_AVERAGE,     ID_MARKER_MAXIMUM,     ID_MARKER_MINIMUM,
                     ID_MARKER_THRESHOLD_1, ID_MARKER_THRESHOLD_2, ID_MARKER_THRESHOLD_3,
                     ID_MARKER_THRESHOLD_4};
  for (int trace = 0; trace < 7; ++trace)
    for (int t = 0; t < 7; ++t) {
      FrameState s{.graphType = TimeWindowSummary, .viewReady = true, .marker1Trace = t};
      s.traceDrawn[static_cast<size_t>(t)] = true;
      EXPECT_EQ(commandState(ids[trace], s), (CommandState{t == trace, t == trace})) << trace << " on " << t;
    }
}

TEST(ReportTextsTest, TitleAndHeaderLinesNameThePortWindowAndIncrement) {
  EXPECT_EQ(ReportTexts::windowTitle("Port 3", 1), "Quillon - Port 3 One Freq. Time Window");
  EXPECT_EQ(ReportTexts::windowTitle("Port 3", 6), "Quillon - Port 3");
  GraphQuery q;
  q.graphType = TimeWindowDetail;
  q.increment = Increment::k1Hour;
  QStringList lines = ReportTexts::headerLines("Hub 9", 12, LevelUnit::fromCode(LevelUnit::kDbm), q);
  ASSERT_EQ(lines.size(), 5);
  lines[2].truncate(18);
  lines[3].truncate(16);
  EXPECT_EQ(lines, (QStringList{"Hub 9  ID Number: 12", "Level Units: dBm",
                                "Start date, time: ", "End date, time: ", "Each scan summarizes 1 Hour"}));
  q.graphType = TimeWindowSummary;
  EXPECT_EQ(ReportTexts::headerLines("Hub 9", 12, LevelUnit(), q).size(), 4);
}

// The two date panes: the report's own dates, except where the report asks
// for the current date and time.
TEST(ReportTextsTest, PeriodPanesShowTheDatesOrTheCurrentTime) {
  GraphQuery q;
  q.Reset(CNBDateTime::FromFields(2024, 6, 15, 12, 0, 0));
  const CNBDateTime now = CNBDateTime::FromFields(2025, 1, 2, 9, 30, 0);
  const auto current = std::pair(now.LocalDateText(), now.LocalTimeText());
  for (int type = 0; type < 6; ++type) {
    q.graphType = type;
    const auto own = std::pair(q.GetStart().LocalDateText(), q.GetEnd().LocalDateText());
    ASSERT_NE(own, current);
    EXPECT_EQ(ReportTexts::periodPanes(q, now), type <= TimeWindowDetail ? current : own) << type;
  }
}

}  // namespace
