#include "query/RibbonFetch.h"

#include "query/DayWindow.h"
#include "query/FetchFakes.h"
#include "query/FetchTestBlocks.h"
#include "query/QueryTestUtil.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

constexpr HRESULT kBusy = hr::kBusy;
constexpr HRESULT kNotReady = hr::kNotReady;
constexpr HRESULT kOk = hr::S_OK;
constexpr int32_t kLatestEnd = 1704920400;  // 2024-01-10 21:00 UTC

bool isDay(int type) {
  return type == MultiDay || type == MultiDayTimeWindow;
}
std::string readCall(int type) {
  return isDay(type) ? "ReadDayBlock" : "ReadRibbonBlock";
}

GraphQuery queryOf(int type, int statistic = Statistic::kAverage) {
  GraphQuery q;
  q.graphType = type;
  q.statisticIndex = statistic;
  q.increment = Increment::k1Hour;
  q.SetStart(at(local(2024, 1, 10, 22, 0)));
  q.SetEnd(at(local(2024, 1, 15, 6, 0)));
  return q;
}

// Block j of the answer (j = 0 sent first) ends j hours before the latest
// end; its values are 100 j + i, so each value tells which block it came
// from. Entry 1 is a hole the fetch fills from its neighbours.
BlockSpec answerBlock(int r, int j) {
  BlockSpec s;
  s.blockCount = static_cast<uint16_t>(r);
  s.periodEnd = kLatestEnd - j * 3600;
  s.periodStart = s.periodEnd - 3600;
  for (int i = 0; i < 4; ++i) {
    s.values.push_back(i == 1 ? Blocks::NO_DATA : 100.0 * j + i);
    s.axis.push_back(10.0 + i);
  }
  return s;
}

using Rig = FetchRig<RibbonFetch, RibbonSet>;

struct TypeCase {
  const char* name;
  int type, blocks;
};

class RibbonFetchTypes : public ::testing::TestWithParam<TypeCase> {};

TEST_P(RibbonFetchTypes, FilesTheBlocksFromTheLatestRibbonDownAndEndsTheRequest) {
  const auto [name, type, r] = GetParam();
  Rig run;
  run.flags.percent = 1;
  for (int j = 0; j < r; ++j) run.server.blocks.push_back(bytesOf(isDay(type), answerBlock(r, j)));
  // Levels for the ribbon types, a percentage (threshold 3) for the day types.
  const int statistic = isDay(type) ? 5 : Statistic::kMinimum;
  const GraphQuery q = queryOf(type, statistic);

  EXPECT_EQ(run.fetch(q), 1);

  std::vector<std::string> calls{isDay(type) ? "StartDayRequest" : "StartRibbonRequest", readCall(type)};
  std::vector<int32_t> handles{100};
  for (int k = 1; k < r; ++k) {
    calls.insert(calls.end(), {"NextBlock", readCall(type)});
    handles.push_back(100 + k);
  }
  calls.push_back("EndRequest");
  EXPECT_EQ(run.server.calls, calls);
  EXPECT_EQ(run.server.readHandles, handles);
  const DayWindow w = DayWindow::of(q.GetStart(), q.GetEnd());
  EXPECT_EQ(run.server.startArgs.at(0),
            (isDay(type) ? std::vector<double>{double(w.firstDay), double(w.lastDay), double(w.windowStart),
                                               double(w.windowEnd), double(statistic)}
                         : std::vector<double>{double(q.GetStart().ToSeconds()),
                                               double(q.GetEnd().ToSeconds()), 3600.0, double(statistic)}));
  ASSERT_EQ(run.store.ribbonCount, r);
  EXPECT_EQ(run.store.frequencyCount, 4);
  EXPECT_EQ(run.store.kind, isDay(type) ? RibbonSet::Kind::Day : RibbonSet::Kind::Ribbon);
  for (int k = 0; k < r; ++k) {
    EXPECT_EQ(run.store.periodEnd(k), kLatestEnd - (r - 1 - k) * 3600) << "ribbon " << k;
    EXPECT_DOUBLE_EQ(run.store.values(k)[1], 100.0 * (r - 1 - k) + 1) << "ribbon " << k;
  }
  EXPECT_EQ(run.flags.step, r);
  EXPECT_EQ(run.flags.steps, r);
  EXPECT_EQ(run.flags.percent, isDay(type) ? 1 : 0);
  EXPECT_EQ(run.store.percent, isDay(type));
  EXPECT_TRUE(run.reporter.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(RibbonAndDayTypes, RibbonFetchTypes,
                         ::testing::Values(TypeCase{"Detail", TimeWindowDetail, 3},
                                           TypeCase{"TwentyFourHourOneBlock", TwentyFourHour, 1},
                                           TypeCase{"DayTheMostBlocks", MultiDay, Blocks::kMaxBlocks},
                                           TypeCase{"DayWindow", MultiDayTimeWindow, 3}),
                         [](const auto& p) { return std::string(p.param.name); });

// The server's answers, scripted per call; once a script runs dry the call
// answers its "when dry" code.
struct Script {
  const char* name;
  int type;
  std::deque<HRESULT> start{}, next{}, read{};
  HRESULT startWhenDry = kOk, nextWhenDry = kOk, readWhenDry = kOk;
};

void play(Rig& run, const Script& s) {
  run.server.startAnswers = s.start;
  run.server.nextAnswers = s.next;
  run.server.readAnswers = s.read;
  run.server.startWhenDry = s.startWhenDry;
  run.server.nextWhenDry = s.nextWhenDry;
  run.server.readWhenDry = s.readWhenDry;
}

// Busy and not-ready answers are retried at their pace; a Cancel during the
// retries stops silently. Either way the request is ended once.
struct LoopCase {
  Script script;
  std::vector<long> waits;
  std::string retried;
  int calls;  // of the retried call
  bool cancelled = false;
};

class RibbonFetchLoops : public ::testing::TestWithParam<LoopCase> {};

TEST_P(RibbonFetchLoops, RetryAtTheirPaceOrStopOnCancel) {
  const LoopCase& c = GetParam();
  Rig run;
  for (int j = 0; j < 2; ++j) run.server.blocks.push_back(bytesOf(isDay(c.script.type), answerBlock(2, j)));
  play(run, c.script);
  if (c.cancelled) {
    run.cancelOnWait(2);
    // Busy NextBlock of the day types never sleeps: the user's Cancel lands
    // between two calls.
    run.server.onCall = [&](const std::string& call) {
      if (call == "NextBlock" && run.server.count("NextBlock") == 5) run.flags.running = 0;
    };
  }

  EXPECT_EQ(run.fetch(queryOf(c.script.type)), c.cancelled ? 0 : 1);

  EXPECT_EQ(run.pacing.waits, c.waits);
  EXPECT_EQ(run.server.count(c.retried), c.calls);
  EXPECT_EQ(run.server.count("EndRequest"), 1);
  EXPECT_EQ(run.server.calls.back(), "EndRequest");
  EXPECT_TRUE(run.reporter.errors.empty());
  EXPECT_EQ(run.reporter.noData, 0);
  if (!c.cancelled) {
    EXPECT_EQ(run.store.values(1)[0], 0.0);
  }
  // A repeated start asks for exactly what the first one asked for.
  for (const auto& args : run.server.startArgs) EXPECT_EQ(args, run.server.startArgs.front());
}

// Columns: the script (name, type, start, next and read answers, then what they answer when dry),
// the waits, the retried call and its calls, whether the user cancels during the second wait.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Loops, RibbonFetchLoops, ::testing::Values(
    LoopCase{{"DayStartBusy", MultiDay, {kBusy, kBusy}}, {500, 500}, "StartDayRequest", 3},
    LoopCase{{"DetailFirstReadNotReady", TimeWindowDetail, {}, {}, {kNotReady, kNotReady}}, {500, 500},
             "ReadRibbonBlock", 4},
    LoopCase{{"DetailNextBusy", TwentyFourHour, {}, {kBusy, kBusy}}, {100, 100}, "NextBlock", 3},
    LoopCase{{"DayNextBusyRepeatsAtOnce", MultiDay, {}, {kBusy, kBusy, kBusy}}, {}, "NextBlock", 4},
    LoopCase{{"DayLaterReadNotReady", MultiDayTimeWindow, {}, {}, {kOk, kNotReady, kNotReady}}, {100, 100},
             "ReadDayBlock", 4},
    LoopCase{{"CancelDetailStartBusy", TimeWindowDetail, {}, {}, {}, kBusy}, {500, 500},
             "StartRibbonRequest", 2, true},
    LoopCase{{"CancelDetailFirstReadNotReady", TimeWindowDetail, {}, {}, {}, kOk, kOk, kNotReady}, {500, 500},
             "ReadRibbonBlock", 2, true},
    LoopCase{{"CancelDetailNextBusy", TwentyFourHour, {}, {}, {}, kOk, kBusy}, {100, 100}, "NextBlock", 2, true},
    LoopCase{{"CancelDayNextBusy", MultiDayTimeWindow, {}, {}, {}, kOk, kBusy}, {}, "NextBlock", 5, true},
    LoopCase{{"CancelDayLaterReadNotReady", MultiDay, {}, {}, {kOk}, kOk, kOk, kNotReady}, {100, 100},
             "ReadDayBlock", 3, true}),
    [](const auto& p) { return std::string(p.param.script.name); });
// clang-format on

// A failed call, a block the codec refuses and a block without data all end
// the request; the first two are reported with their context.
struct FailureCase {
  Script script;
  HRESULT code;  // 0: no error, the no-data message instead
  int context;
  int bad = -1;  // which block of the answer is changed
  uint16_t hasData = 1, blockCount = 3;
  int entryCount = -1;
};

class RibbonFetchFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(RibbonFetchFailure, ReportsOnceAndEndsTheRequest) {
  const FailureCase& c = GetParam();
  const int type = c.script.type;
  Rig run;
  for (int j = 0; j < 3; ++j) {
    BlockSpec s = answerBlock(3, j);
    if (j == c.bad) {
      s.hasData = c.hasData;
      s.blockCount = c.blockCount;
      s.entryCount = c.entryCount;
    }
    run.server.blocks.push_back(bytesOf(isDay(type), s));
  }
  play(run, c.script);

  EXPECT_EQ(run.fetch(queryOf(type)), 0);

  EXPECT_EQ(run.reporter.errors, (c.code ? Errors{{c.code, c.context}} : Errors{}));
  EXPECT_EQ(run.reporter.noData, c.code ? 0 : 1);
  EXPECT_EQ(run.server.count("EndRequest"), 1);
  EXPECT_EQ(run.server.calls.back(), "EndRequest");
  if (c.bad >= 0) {
    EXPECT_EQ(run.server.count(readCall(type)), c.bad + 1) << "nothing read after it";
  }
}

constexpr HRESULT kProtocol = hr::RPC_S_PROTOCOL_ERROR;

// Columns: the script, the code reported and its context; for a changed block: which, its has-data
// flag, block count and entry count. The codec's own limits are its tests'; these rows pin that a
// refused block, first or later, stops the fetch.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Calls, RibbonFetchFailure, ::testing::Values(
    // Any answer but 0 refuses a call, success codes included.
    FailureCase{{"StartAnswersFalse", MultiDay, {hr::S_FALSE}}, hr::S_FALSE, kRequest},
    FailureCase{{"StartFailsAfterBusy", MultiDayTimeWindow, {kBusy, hr::RPC_S_CALL_FAILED}},
                hr::RPC_S_CALL_FAILED, kRequest},
    FailureCase{{"FirstReadFails", TwentyFourHour, {}, {}, {hr::kInvalidHandle}}, hr::kInvalidHandle, kRead},
    FailureCase{{"NextBlockAnswersFalse", TwentyFourHour, {}, {hr::S_FALSE}}, hr::S_FALSE, kRequest},
    FailureCase{{"DayNextBlockFails", MultiDay, {}, {kBusy, hr::kConnectionDropped}},
                hr::kConnectionDropped, kRequest},
    FailureCase{{"LaterReadFails", MultiDayTimeWindow, {}, {}, {kOk, kNotReady, hr::E_FAIL}}, hr::E_FAIL, kRead},
    FailureCase{{"FirstTooManyEntries", TimeWindowDetail}, kProtocol, kRead, 0, 1, 3, 501},
    FailureCase{{"FirstNoBlocks", TwentyFourHour}, kProtocol, kRead, 0, 1, 0, 4},
    FailureCase{{"LaterTooManyBlocks", MultiDayTimeWindow}, kProtocol, kRead, 2, 1, 98, 4},
    // Whatever the counts of a block without data, it is no data.
    FailureCase{{"NoDataTooManyEntries", MultiDayTimeWindow}, 0, 0, 0, 0, 3, 501},
    FailureCase{{"NoDataNoBlocks", TwentyFourHour}, 0, 0, 0, 0, 0, 4}),
    [](const auto& p) { return std::string(p.param.script.name); });
// clang-format on

// Ribbons are labelled with the local clock time of their period, days with
// the local date of their window.
TEST(RibbonFetch, LabelsAreLocalTimesOrDates) {
  const auto clock = [](int h, int m) {
    return QLocale::system().toString(QTime(h, m), CNBDateTime::LocaleTimeFormat(false));
  };
  const auto date = [](int d) { return QLocale::system().toString(QDate(2024, 1, d), QLocale::ShortFormat); };
  const int32_t jan10 = utc(2024, 1, 10, 0, 0).toSecsSinceEpoch();
  // 22:30 UTC is 23:30 in Berlin; 23:00 to 05:00 UTC is 00:00 to 06:00, both on the local day after the
  // block's UTC day.
  const struct {
    int type;
    int32_t step, windowStart, windowEnd;
    std::vector<QString> starts, ends;
  } cases[] = {
      {TimeWindowDetail,
       900,
       22 * 3600 + 1800,
       22 * 3600 + 2700,
       {clock(23, 30), clock(23, 45)},
       {clock(23, 45), clock(0, 0)}},
      {MultiDayTimeWindow, 86400, 23 * 3600, 29 * 3600, {date(11), date(12)}, {date(11), date(12)}},
  };
  for (const auto& c : cases) {
    Rig run;
    for (int j = 0; j < 2; ++j) {
      BlockSpec s = answerBlock(2, j);
      s.windowStart = c.windowStart;
      s.windowEnd = c.windowEnd;
      s.periodStart = jan10 + (1 - j) * c.step + c.windowStart;
      s.periodEnd = jan10 + (1 - j) * c.step + c.windowEnd;
      run.server.blocks.push_back(bytesOf(isDay(c.type), s));
    }

    ASSERT_EQ(run.fetch(queryOf(c.type)), 1);

    EXPECT_EQ(run.store.startLabels, c.starts);
    EXPECT_EQ(run.store.endLabels, c.ends);
    EXPECT_EQ(run.store.periodStartLabel, c.starts.front());
    EXPECT_EQ(run.store.periodEndLabel, c.ends.back());
  }
}

}  // namespace
