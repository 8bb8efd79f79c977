#include "query/RibbonFetch.h"

#include "query/DayWindow.h"
#include "query/FetchFakes.h"
#include "query/FetchTestBlocks.h"
#include "query/QueryTestUtil.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <numeric>
#include <ostream>

namespace {

constexpr HRESULT kBusy = hr::kBusy;
constexpr HRESULT kNotReady = hr::kNotReady;
constexpr HRESULT kOk = hr::S_OK;
constexpr int32_t kLatestEnd = 1704920400;  // 2024-01-10 21:00 UTC

bool isDay(int type) {
  return type == MultiDay || type == MultiDayTimeWindow;
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

// Block j (j = 0 sent first) ends j hours before the latest end; value i is
// 100 j + i, except entry 1: a hole the fetch fills from its neighbours.
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

  const std::string read = isDay(type) ? "ReadDayBlock" : "ReadRibbonBlock";
  std::vector<std::string> calls{isDay(type) ? "StartDayRequest" : "StartRibbonRequest", read};
  std::vector<int32_t> handles(r);
  std::iota(handles.begin(), handles.end(), 100);
  for (int k = 1; k < r; ++k) calls.insert(calls.end(), {"NextBlock", read});
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
  for (int k = 0; k < r; ++k) {
    EXPECT_EQ(run.store.periodEnd(k), kLatestEnd - (r - 1 - k) * 3600) << "ribbon " << k;
    EXPECT_DOUBLE_EQ(run.store.values(k)[1], 100.0 * (r - 1 - k) + 1) << "ribbon " << k;
  }
  EXPECT_EQ(run.flags.step, r);
  EXPECT_EQ(run.flags.steps, r);
  EXPECT_EQ(run.flags.percent, isDay(type) ? 1 : 0);
  EXPECT_EQ(run.store.percent, isDay(type));
}

INSTANTIATE_TEST_SUITE_P(RibbonAndDayTypes, RibbonFetchTypes,
                         ::testing::Values(TypeCase{"Detail", TimeWindowDetail, 3},
                                           TypeCase{"TwentyFourHourOneBlock", TwentyFourHour, 1},
                                           TypeCase{"DayTheMostBlocks", MultiDay, Blocks::kMaxBlocks},
                                           TypeCase{"DayWindow", MultiDayTimeWindow, 3}),
                         [](const auto& p) { return std::string(p.param.name); });

// Busy and not-ready are retried at their pace, a Cancel stops silently, a
// failed call or refused block is reported with its context, a first block
// without data shows the no-data message; the request is ended once, last.
struct ScriptCase {
  const char* name;
  int type;
  std::deque<HRESULT> start{}, next{}, read{};
  HRESULT startWhenDry = kOk, nextWhenDry = kOk, readWhenDry = kOk;
  std::vector<long> waits{};
  std::string call{};  // and how often it was made
  int calls = 0;
  bool cancelled = false;  // during the second wait
  Errors errors{};
  int noData = 0;
  int bad = -1;  // which block of the answer is changed
  uint16_t hasData = 1, blockCount = 3;
  int entryCount = -1;
  friend void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }
};

class RibbonFetchScripts : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(RibbonFetchScripts, RetryFailOrStopAndEndTheRequestOnce) {
  const ScriptCase& c = GetParam();
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
  const bool done = !c.cancelled && c.errors.empty() && c.noData == 0;

  EXPECT_EQ(run.fetch(queryOf(c.type)), done ? 1 : 0);

  EXPECT_EQ(run.pacing.waits, c.waits);
  EXPECT_EQ(run.reporter.errors, c.errors);
  EXPECT_EQ(run.reporter.noData, c.noData);
  EXPECT_EQ(run.server.count("EndRequest"), 1);
  EXPECT_EQ(run.server.calls.back(), "EndRequest");
  EXPECT_EQ(c.call.empty() ? 0 : run.server.count(c.call), c.calls);
  if (done) {
    EXPECT_EQ(run.store.values(0)[0], 200.0);
  }
  // A repeated start asks for exactly what the first one asked for.
  for (const auto& args : run.server.startArgs) EXPECT_EQ(args, run.server.startArgs.front());
}

constexpr HRESULT kProtocol = hr::RPC_S_PROTOCOL_ERROR;
const std::string kDayRead = "ReadDayBlock", kRibbonRead = "ReadRibbonBlock";

// The codec's limits are its tests'; a refused block stops the fetch, no data is checked first.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Scripts, RibbonFetchScripts, ::testing::Values(
    ScriptCase{.name = "DetailNextBusy", .type = TwentyFourHour, .next = {kBusy, kBusy}, .waits = {100, 100},
               .call = "NextBlock", .calls = 4},
    ScriptCase{.name = "CancelDetailStartBusy", .type = TimeWindowDetail, .startWhenDry = kBusy,
               .waits = {500, 500}, .call = "StartRibbonRequest", .calls = 2, .cancelled = true},
    ScriptCase{.name = "CancelDetailFirstReadNotReady", .type = TimeWindowDetail, .readWhenDry = kNotReady,
               .waits = {500, 500}, .call = kRibbonRead, .calls = 2, .cancelled = true},
    ScriptCase{.name = "CancelDayNextBusy", .type = MultiDayTimeWindow, .nextWhenDry = kBusy,
               .call = "NextBlock", .calls = 5, .cancelled = true},
    // Any answer but 0 refuses a call, success codes included.
    ScriptCase{.name = "StartAnswersFalseAfterBusy", .type = MultiDayTimeWindow, .start = {kBusy, hr::S_FALSE},
               .waits = {500}, .errors = {{hr::S_FALSE, kRequest}}},
    ScriptCase{.name = "DayNextBlockAnswersFalseAfterBusy", .type = MultiDay, .next = {kBusy, hr::S_FALSE},
               .errors = {{hr::S_FALSE, kRequest}}},
    ScriptCase{.name = "LaterReadFails", .type = MultiDayTimeWindow, .read = {kOk, kNotReady, hr::E_FAIL},
               .waits = {100}, .errors = {{hr::E_FAIL, kRead}}},
    ScriptCase{.name = "FirstNoBlocks", .type = TwentyFourHour, .call = kRibbonRead, .calls = 1,
               .errors = {{kProtocol, kRead}}, .bad = 0, .blockCount = 0},
    ScriptCase{.name = "LaterTooManyBlocks", .type = MultiDayTimeWindow, .call = kDayRead, .calls = 3,
               .errors = {{kProtocol, kRead}}, .bad = 2, .blockCount = 98},
    ScriptCase{.name = "NoDataTooManyEntries", .type = MultiDayTimeWindow, .call = kDayRead, .calls = 1,
               .noData = 1, .bad = 0, .hasData = 0, .entryCount = 501},
    // Only the first block's flag speaks for the answer.
    ScriptCase{.name = "LaterBlockWithoutDataIsKept", .type = MultiDay, .call = kDayRead, .calls = 3, .bad = 2,
               .hasData = 0},
    ScriptCase{.name = "NoDataNoBlocks", .type = TwentyFourHour, .call = kRibbonRead, .calls = 1, .noData = 1,
               .bad = 0, .hasData = 0, .blockCount = 0}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

// Ribbons are labelled with the local clock time of their period, days with
// the local date of their window. 22:30 UTC is 23:30 in Berlin; 23:00 to 05:00
// UTC is 00:00 to 06:00, both on the local day after the block's UTC day.
TEST(RibbonFetch, LabelsAreLocalTimesOrDates) {
  const auto clock = [](int h, int m) {
    return QLocale::system().toString(QTime(h, m), CNBDateTime::LocaleTimeFormat(false));
  };
  const auto date = [](int d) { return QLocale::system().toString(QDate(2024, 1, d), QLocale::ShortFormat); };
  const int32_t jan10 = utc(2024, 1, 10, 0, 0).toSecsSinceEpoch();
  const struct {
    int type;
    int32_t step, windowStart, windowEnd;
    std::vector<QString> starts, ends;
  } cases[] = {
      {TimeWindowDetail, 900, 81000, 81900, {clock(23, 30), clock(23, 45)}, {clock(23, 45), clock(0, 0)}},
      {MultiDayTimeWindow, 86400, 82800, 104400, {date(11), date(12)}, {date(11), date(12)}},
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
