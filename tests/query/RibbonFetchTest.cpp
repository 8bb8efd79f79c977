#include "query/RibbonFetch.h"

#include "query/DayWindow.h"
#include "query/FetchFakes.h"
#include "query/FetchTestBlocks.h"
#include "query/QueryTestUtil.h"
#include "resources/Strings.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QLocale>

namespace {

constexpr int kRequest = Strings::IDS_CTX_REQUEST_FAILED;
constexpr int kRead = Strings::IDS_CTX_READ_DATA_FAILED;

constexpr HRESULT kBusy = hr::kBusy;
constexpr HRESULT kNotReady = hr::kNotReady;
constexpr double N = Blocks::NO_DATA;
constexpr int32_t kLatestEnd = 1704920400;  // 2024-01-10 21:00 UTC

bool isDay(int type) {
  return type == MultiDay || type == MultiDayTimeWindow;
}
std::string readCall(int type) {
  return isDay(type) ? "ReadDayBlock" : "ReadRibbonBlock";
}
std::string startCall(int type) {
  return isDay(type) ? "StartDayRequest" : "StartRibbonRequest";
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
// from.
BlockSpec answerBlock(int r, int j, int n = 4) {
  BlockSpec s;
  s.blockCount = static_cast<uint16_t>(r);
  s.periodEnd = kLatestEnd - j * 3600;
  s.periodStart = s.periodEnd - 3600;
  for (int i = 0; i < n; ++i) {
    s.values.push_back(100.0 * j + i);
    s.axis.push_back(10.0 + i);
  }
  return s;
}

void scriptAnswer(FakeDataServer& server, int type, int r, int n = 4) {
  for (int j = 0; j < r; ++j) server.blocks.push_back(bytesOf(isDay(type), answerBlock(r, j, n)));
}

using Rig = FetchRig<RibbonFetch, RibbonSet>;

// Every case table names its rows.
template <class Case>
requires requires(Case c) {
  c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

class RibbonFetchTypes : public ::testing::TestWithParam<int> {};

TEST_P(RibbonFetchTypes, FilesTheBlocksFromTheLatestRibbonDownAndEndsTheRequest) {
  const int type = GetParam();
  Rig run;
  run.flags.percent = 1;
  scriptAnswer(run.server, type, 3);
  // Levels for the ribbon types, a percentage (threshold 3) for the day types.
  const int statistic = isDay(type) ? 5 : Statistic::kMinimum;
  const GraphQuery q = queryOf(type, statistic);

  EXPECT_EQ(run.fetch(q), 1);

  const std::string read = readCall(type);
  EXPECT_EQ(run.server.calls, (std::vector<std::string>{startCall(type), read, "NextBlock", read, "NextBlock",
                                                        read, "EndRequest"}));
  EXPECT_EQ(run.server.readHandles, (std::vector<int32_t>{100, 101, 102}));
  if (isDay(type)) {
    const DayWindow w = DayWindow::of(q.GetStart(), q.GetEnd());
    EXPECT_EQ(run.server.startArgs.at(0),
              (std::vector<double>{double(w.firstDay), double(w.lastDay), double(w.windowStart),
                                   double(w.windowEnd), double(statistic)}));
  } else {
    EXPECT_EQ(run.server.startArgs.at(0),
              (std::vector<double>{double(q.GetStart().ToSeconds()), double(q.GetEnd().ToSeconds()), 3600.0,
                                   double(statistic)}));
  }
  ASSERT_EQ(run.store.ribbonCount, 3);
  EXPECT_EQ(run.store.frequencyCount, 4);
  EXPECT_EQ(run.store.kind, isDay(type) ? RibbonSet::Kind::Day : RibbonSet::Kind::Ribbon);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(run.store.periodEnd(k), kLatestEnd - (2 - k) * 3600) << "ribbon " << k;
    EXPECT_EQ(run.store.values(k)[3], 100.0 * (2 - k) + 3) << "ribbon " << k;
  }
  EXPECT_EQ(run.flags.step, 3);
  EXPECT_EQ(run.flags.steps, 3);
  EXPECT_EQ(run.flags.percent, isDay(type) ? 1 : 0);
  EXPECT_EQ(run.store.percent, isDay(type));
  EXPECT_TRUE(run.reporter.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(RibbonAndDayTypes, RibbonFetchTypes,
                         ::testing::Values(TimeWindowDetail, TwentyFourHour, MultiDay, MultiDayTimeWindow));

// Busy and not-ready answers are retried at their pace; a Cancel during the
// retries stops silently. Either way the request is ended once.
struct LoopCase {
  const char* name;
  int type;
  std::deque<HRESULT> start, next, read;
  std::vector<long> waits;
  std::string retried;
  int calls;  // of the retried call
  bool cancelled = false;
  HRESULT startWhenDry = hr::S_OK, nextWhenDry = hr::S_OK, readWhenDry = hr::S_OK;
};

class RibbonFetchLoops : public ::testing::TestWithParam<LoopCase> {};

TEST_P(RibbonFetchLoops, RetryAtTheirPaceOrStopOnCancel) {
  const LoopCase& c = GetParam();
  Rig run;
  scriptAnswer(run.server, c.type, 2);
  run.server.startAnswers = c.start;
  run.server.nextAnswers = c.next;
  run.server.readAnswers = c.read;
  run.server.startWhenDry = c.startWhenDry;
  run.server.nextWhenDry = c.nextWhenDry;
  run.server.readWhenDry = c.readWhenDry;
  if (c.cancelled) {
    run.cancelOnWait(2);
    // Busy NextBlock of the day types never sleeps: the user's Cancel lands
    // between two calls.
    run.server.onCall = [&](const std::string& call) {
      if (call == "NextBlock" && run.server.count("NextBlock") == 5) run.flags.running = 0;
    };
  }

  EXPECT_EQ(run.fetch(queryOf(c.type)), c.cancelled ? 0 : 1);

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

const std::string kRibbonRead = "ReadRibbonBlock";
const std::string kDayRead = "ReadDayBlock";
constexpr HRESULT kOk = hr::S_OK;

// Columns: name, type, start, next and read answers, waits, the retried call, its calls; for a
// Cancel during the second wait, what start, next and read answer once their scripts run dry.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Loops, RibbonFetchLoops, ::testing::Values(
    LoopCase{"DetailStartBusy", TimeWindowDetail, {kBusy, kBusy}, {}, {}, {500, 500},
             "StartRibbonRequest", 3},
    LoopCase{"DetailFirstReadNotReady", TimeWindowDetail, {}, {}, {kNotReady, kNotReady}, {500, 500},
             kRibbonRead, 4},
    LoopCase{"DetailNextBusy", TwentyFourHour, {}, {kBusy, kBusy}, {}, {100, 100}, "NextBlock", 3},
    LoopCase{"DetailLaterReadNotReady", TwentyFourHour, {}, {}, {kOk, kNotReady, kNotReady}, {100, 100},
             kRibbonRead, 4},
    LoopCase{"DayStartBusy", MultiDay, {kBusy, kBusy}, {}, {}, {500, 500}, "StartDayRequest", 3},
    LoopCase{"DayFirstReadNotReady", MultiDayTimeWindow, {}, {}, {kNotReady, kNotReady}, {500, 500},
             kDayRead, 4},
    LoopCase{"DayNextBusyRepeatsAtOnce", MultiDay, {}, {kBusy, kBusy, kBusy}, {}, {}, "NextBlock", 4},
    LoopCase{"DayLaterReadNotReady", MultiDayTimeWindow, {}, {}, {kOk, kNotReady, kNotReady},
             {100, 100}, kDayRead, 4},
    LoopCase{"CancelDetailStartBusy", TimeWindowDetail, {}, {}, {}, {500, 500}, "StartRibbonRequest", 2,
             true, kBusy, kOk, kOk},
    LoopCase{"CancelDetailFirstReadNotReady", TimeWindowDetail, {}, {}, {}, {500, 500}, kRibbonRead, 2,
             true, kOk, kOk, kNotReady},
    LoopCase{"CancelDetailNextBusy", TwentyFourHour, {}, {}, {}, {100, 100}, "NextBlock", 2,
             true, kOk, kBusy, kOk},
    LoopCase{"CancelDayNextBusy", MultiDayTimeWindow, {}, {}, {}, {}, "NextBlock", 5, true, kOk, kBusy, kOk},
    LoopCase{"CancelDayLaterReadNotReady", MultiDay, {}, {}, {kOk}, {100, 100}, kDayRead, 3,
             true, kOk, kOk, kNotReady}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

// A failed call, a block the codec refuses and a block without data all end
// the request; the first two are reported with their context.
struct FailureCase {
  const char* name;
  int type;
  std::deque<HRESULT> start, next, read;
  HRESULT code;  // 0: no error, the no-data message instead
  int context;
  int bad = -1;  // which block of the answer is changed
  uint16_t hasData = 1, blockCount = 3;
  int entryCount = -1;
};

class RibbonFetchFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(RibbonFetchFailure, ReportsOnceAndEndsTheRequest) {
  const FailureCase& c = GetParam();
  Rig run;
  for (int j = 0; j < 3; ++j) {
    BlockSpec s = answerBlock(3, j);
    if (j == c.bad) {
      s.hasData = c.hasData;
      s.blockCount = c.blockCount;
      s.entryCount = c.entryCount;
    }
    run.server.blocks.push_back(bytesOf(isDay(c.type), s));
  }
  run.server.startAnswers = c.start;
  run.server.nextAnswers = c.next;
  run.server.readAnswers = c.read;

  EXPECT_EQ(run.fetch(queryOf(c.type)), 0);

  using Errors = std::vector<std::pair<HRESULT, int>>;
  EXPECT_EQ(run.reporter.errors, (c.code ? Errors{{c.code, c.context}} : Errors{}));
  EXPECT_EQ(run.reporter.noData, c.code ? 0 : 1);
  EXPECT_EQ(run.server.count("EndRequest"), 1);
  EXPECT_EQ(run.server.calls.back(), "EndRequest");
  if (c.bad >= 0) {
    EXPECT_EQ(run.server.count(readCall(c.type)), c.bad + 1) << "nothing read after it";
  }
}

constexpr HRESULT kProtocol = hr::RPC_S_PROTOCOL_ERROR;

// Columns: name, type, start, next and read answers, the code reported, its context; for a changed
// block: which, its has-data flag, block count and entry count.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Calls, RibbonFetchFailure, ::testing::Values(
    FailureCase{"StartFails", TimeWindowDetail, {hr::kDatabaseException}, {}, {},
                hr::kDatabaseException, kRequest},
    // Any answer but 0 refuses a start, success codes included.
    FailureCase{"StartAnswersFalse", MultiDay, {hr::S_FALSE}, {}, {}, hr::S_FALSE, kRequest},
    FailureCase{"StartFailsAfterBusy", MultiDayTimeWindow, {kBusy, hr::RPC_S_CALL_FAILED}, {}, {},
                hr::RPC_S_CALL_FAILED, kRequest},
    FailureCase{"FirstReadFails", TwentyFourHour, {}, {}, {hr::kInvalidHandle},
                hr::kInvalidHandle, kRead},
    FailureCase{"NextBlockFails", TimeWindowDetail, {}, {hr::S_OK, hr::kRequestUnavailable}, {},
                hr::kRequestUnavailable, kRequest},
    FailureCase{"NextBlockAnswersFalse", TwentyFourHour, {}, {hr::S_FALSE}, {}, hr::S_FALSE, kRequest},
    FailureCase{"DayNextBlockFails", MultiDay, {}, {kBusy, hr::kConnectionDropped}, {},
                hr::kConnectionDropped, kRequest},
    FailureCase{"LaterReadFails", MultiDayTimeWindow, {}, {}, {hr::S_OK, kNotReady, hr::E_FAIL},
                hr::E_FAIL, kRead},
    FailureCase{"FirstTooManyEntries", TimeWindowDetail, {}, {}, {}, kProtocol, kRead, 0, 1, 3, 501},
    FailureCase{"FirstTooManyBlocks", MultiDay, {}, {}, {}, kProtocol, kRead, 0, 1, 98, 4},
    FailureCase{"FirstNoBlocks", TwentyFourHour, {}, {}, {}, kProtocol, kRead, 0, 1, 0, 4},
    FailureCase{"LaterTooManyEntries", MultiDayTimeWindow, {}, {}, {}, kProtocol, kRead, 2, 1, 3, 501},
    // Whatever the counts of a block without data, it is no data.
    FailureCase{"NoData", TimeWindowDetail, {}, {}, {}, 0, 0, 0, 0, 3, 4},
    FailureCase{"NoDataTooManyEntries", MultiDayTimeWindow, {}, {}, {}, 0, 0, 0, 0, 3, 501},
    FailureCase{"NoDataTooManyBlocks", MultiDay, {}, {}, {}, 0, 0, 0, 0, 98, 4},
    FailureCase{"NoDataNoBlocks", TwentyFourHour, {}, {}, {}, 0, 0, 0, 0, 0, 4}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(RibbonFetch, AnswersOfOneAndOfTheMostBlocksFillEveryRibbon) {
  for (const int r : {1, Blocks::kMaxBlocks}) {
    Rig run;
    scriptAnswer(run.server, MultiDay, r);

    EXPECT_EQ(run.fetch(queryOf(MultiDay)), 1);

    EXPECT_EQ(run.server.count("NextBlock"), r - 1);
    EXPECT_EQ(run.server.count("EndRequest"), 1);
    ASSERT_EQ(run.store.ribbonCount, r);
    EXPECT_EQ(run.store.values(r - 1)[1], 1.0);
    EXPECT_EQ(run.store.values(0)[1], 100.0 * (r - 1) + 1);
    EXPECT_EQ(run.flags.step, r);
    EXPECT_EQ(run.flags.steps, r);
  }
}

TEST(RibbonFetch, FillsTheGapsOfEveryBlock) {
  Rig run;
  for (int j = 0; j < 2; ++j) {
    BlockSpec s = answerBlock(2, j);
    s.values = {N, 2.0 + j, N, 6.0 + j};  // frequencies 10..13
    run.server.blocks.push_back(ribbonBytes(s));
  }

  ASSERT_EQ(run.fetch(queryOf(TimeWindowDetail)), 1);

  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(run.store.values(k)[0], N);
    EXPECT_DOUBLE_EQ(run.store.values(k)[2], 5.0 - k) << "ribbon " << k;
  }
}

TEST(RibbonFetch, RibbonLabelsAreLocalTimesOfEachPeriod) {
  Rig run;
  BlockSpec later = answerBlock(2, 0);
  later.periodStart = utc(2024, 1, 10, 22, 45).toSecsSinceEpoch();
  later.periodEnd = utc(2024, 1, 10, 23, 0).toSecsSinceEpoch();
  BlockSpec earlier = answerBlock(2, 1);
  earlier.periodStart = utc(2024, 1, 10, 22, 30).toSecsSinceEpoch();
  earlier.periodEnd = later.periodStart;
  run.server.blocks = {ribbonBytes(later), ribbonBytes(earlier)};

  ASSERT_EQ(run.fetch(queryOf(TimeWindowDetail)), 1);

  const auto clock = [](int h, int m) {
    return QLocale::system().toString(QTime(h, m), CNBDateTime::LocaleTimeFormat(false));
  };
  EXPECT_EQ(run.store.startLabels, (std::vector<QString>{clock(23, 30), clock(23, 45)}));
  EXPECT_EQ(run.store.endLabels, (std::vector<QString>{clock(23, 45), clock(0, 0)}));
  EXPECT_EQ(run.store.periodStartLabel, clock(23, 30));
  EXPECT_EQ(run.store.periodEndLabel, clock(0, 0));
}

TEST(RibbonFetch, DayLabelsAreLocalDatesOfTheWindowOnEachDay) {
  Rig run;
  const int32_t jan10 = utc(2024, 1, 10, 0, 0).toSecsSinceEpoch();
  // 23:00 to 05:00 UTC is 00:00 to 06:00 in Berlin: both labels fall on the
  // local day after the block's UTC day.
  for (int j = 0; j < 2; ++j) {
    BlockSpec s = answerBlock(2, j);
    s.windowStart = 23 * 3600;
    s.windowEnd = 29 * 3600;
    s.periodStart = jan10 + (1 - j) * 86400 + s.windowStart;
    s.periodEnd = jan10 + (1 - j) * 86400 + s.windowEnd;
    run.server.blocks.push_back(dayBytes(s));
  }

  ASSERT_EQ(run.fetch(queryOf(MultiDayTimeWindow)), 1);

  const auto date = [](int d) { return QLocale::system().toString(QDate(2024, 1, d), QLocale::ShortFormat); };
  EXPECT_EQ(run.store.startLabels, (std::vector<QString>{date(11), date(12)}));
  EXPECT_EQ(run.store.endLabels, (std::vector<QString>{date(11), date(12)}));
  EXPECT_EQ(run.store.periodStartLabel, date(11));
  EXPECT_EQ(run.store.periodEndLabel, date(12));
}

}  // namespace
