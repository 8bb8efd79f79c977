#include "query/SeriesFetch.h"

#include "query/FetchFakes.h"
#include "query/QueryTestUtil.h"
#include "query/ThresholdFetch.h"
#include "resources/Strings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const int32_t kFirstPoint = utc(2024, 1, 10, 21, 0).toSecsSinceEpoch();

// Values 10 s + i identify statistic s and point i.
template <class Block>
std::vector<uint8_t> seriesBlock(int statistic, int n, uint16_t hasData) {
  Block b{};
  b.hasData = hasData;
  b.labelTime = kFirstPoint;
  b.entryCount = static_cast<uint16_t>(n);
  for (int i = 0; i < std::min(n, Blocks::kMaxEntries); ++i) {
    b.values[i] = 10.0 * statistic + i;
    if constexpr (requires { b.frequencies; })
      b.frequencies[i] = 5.0 + i;
    else
      b.times[i] = static_cast<uint32_t>(kFirstPoint + 900 * i);
  }
  return BlockCodec::encode(b);
}
std::vector<uint8_t> seriesBytes(int type, int statistic, int n, uint16_t hasData = 1) {
  return type == TimeWindowSummary ? seriesBlock<SummaryBlock>(statistic, n, hasData)
                                   : seriesBlock<FrequencySeriesBlock>(statistic, n, hasData);
}

GraphQuery queryOf(int type, std::initializer_list<int> ticked) {
  GraphQuery q;
  q.graphType = type;
  q.statistics.fill(0);
  for (int s : ticked) q.statistics[s] = 1;
  q.increment = Increment::k15Min;
  q.frequency = 123.25;
  q.SetStart(at(local(2024, 1, 10, 22, 0)));
  q.SetEnd(at(local(2024, 1, 11, 6, 0)));
  return q;
}

std::string startCall(int type) {
  return type == TimeWindowSummary ? "StartSummaryRequest" : "StartFrequencyRequest";
}
std::string readCall(int type) {
  return type == TimeWindowSummary ? "ReadSummaryBlock" : "ReadFrequencyBlock";
}

using Rig = FetchRig<SeriesFetch, SeriesStore>;

class SeriesFetchTypes : public ::testing::TestWithParam<int> {};

TEST_P(SeriesFetchTypes, TickedStatisticsFillSlotsInIndexOrder) {
  const int type = GetParam();
  Rig run;
  for (int s : {0, 2, 4}) run.server.blocks.push_back(seriesBytes(type, s, 3));
  const GraphQuery q = queryOf(type, {4, 0, 2});

  EXPECT_EQ(run.fetch(q), 1);

  ASSERT_EQ(run.store.count, 3);
  const double start = q.GetStart().ToSeconds();
  const double end = q.GetEnd().ToSeconds();
  for (int k = 0; k < 3; ++k) {
    const int statistic = 2 * k;
    const SeriesStore::Series& slot = run.store.series[k];
    EXPECT_EQ(slot.statistic, statistic);
    EXPECT_EQ(slot.entryCount, 3);
    EXPECT_EQ(slot.values[2], 10.0 * statistic + 2);
    if (type == TimeWindowSummary) {
      EXPECT_EQ(slot.frequencies[1], 6.0);
      EXPECT_EQ(run.server.startArgs.at(k), (std::vector<double>{start, end, double(statistic)}));
    } else {
      EXPECT_EQ(slot.times[1], static_cast<uint32_t>(kFirstPoint + 900));
      EXPECT_EQ(run.server.startArgs.at(k),
                (std::vector<double>{start, end, 900.0, double(statistic), 123.25}));
    }
  }
  // Single-block requests end on the server when read.
  EXPECT_EQ(run.server.count("EndRequest"), 0);
  EXPECT_EQ(run.flags.step, 3);
  EXPECT_EQ(run.flags.steps, 3);
  EXPECT_FALSE(run.store.labelTimeText.isEmpty());
  EXPECT_EQ(run.store.firstPointText.isEmpty(), type == TimeWindowSummary);
  EXPECT_TRUE(run.reporter.errors.empty());
}

TEST_P(SeriesFetchTypes, BusyAndNotReadyAreRetriedEveryHundredMilliseconds) {
  const int type = GetParam();
  Rig run;
  run.server.blocks.push_back(seriesBytes(type, 1, 2));
  run.server.startAnswers = {hr::kBusy, hr::kBusy};
  run.server.readAnswers = {hr::kNotReady, hr::kNotReady, hr::kNotReady};

  EXPECT_EQ(run.fetch(queryOf(type, {1})), 1);

  EXPECT_EQ(run.pacing.waits, (std::vector<long>{100, 100, 100, 100, 100}));
  EXPECT_EQ(run.server.count(startCall(type)), 3);
  EXPECT_EQ(run.server.count(readCall(type)), 4);
}

INSTANTIATE_TEST_SUITE_P(SummaryAndOneFrequency, SeriesFetchTypes,
                         ::testing::Values(TimeWindowSummary, OneFreqTimeWindow));

struct SecondFailsCase {
  const char* name;
  std::deque<HRESULT> start, read;
  uint16_t secondHasData;
  int secondEntries;
  Errors errors;
  int noData;
};

class SeriesFetchSecondFails : public ::testing::TestWithParam<SecondFailsCase> {};

TEST_P(SeriesFetchSecondFails, KeepsTheFirstSeriesAndFails) {
  const SecondFailsCase& c = GetParam();
  for (int type : {TimeWindowSummary, OneFreqTimeWindow}) {
    Rig run;
    run.server.startAnswers = c.start;
    run.server.readAnswers = c.read;
    run.server.blocks = {seriesBytes(type, 0, 3), seriesBytes(type, 1, c.secondEntries, c.secondHasData),
                         seriesBytes(type, 2, 3)};

    EXPECT_EQ(run.fetch(queryOf(type, {0, 1, 2})), 0);

    EXPECT_EQ(run.store.count, 1);
    EXPECT_EQ(run.reporter.errors, c.errors);
    EXPECT_EQ(run.reporter.noData, c.noData);
    EXPECT_EQ(run.server.count(startCall(type)), 2) << "no third request";
    EXPECT_EQ(run.flags.step, 1);
  }
}

// Columns: name, start and read answers, the second block's has-data and entry count, the errors
// reported, the no-data messages shown.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Failures, SeriesFetchSecondFails, ::testing::Values(
    SecondFailsCase{"StartFails", {hr::S_OK, hr::kDatabaseException}, {}, 1, 3,
                    {{hr::kDatabaseException, kRequest}}, 0},
    SecondFailsCase{"StartAnswersFalse", {hr::S_OK, hr::S_FALSE}, {}, 1, 3, {{hr::S_FALSE, kRequest}}, 0},
    SecondFailsCase{"ReadFails", {}, {hr::S_OK, hr::kNotReady, hr::RPC_S_SERVER_UNAVAILABLE}, 1, 3,
                    {{hr::RPC_S_SERVER_UNAVAILABLE, kRead}}, 0},
    SecondFailsCase{"NoData", {}, {}, 0, 3, {}, 1},
    SecondFailsCase{"NoDataWithTooManyEntries", {}, {}, 0, 501, {}, 1},
    SecondFailsCase{"TooManyEntries", {}, {}, 1, 501, {{hr::RPC_S_PROTOCOL_ERROR, kRead}}, 0}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

// Cancel while the start is busy leaves nothing to end; while the read is
// not ready, the started request is ended.
TEST(SeriesFetch, CancelStopsWithoutAMessage) {
  for (const bool busyStart : {true, false}) {
    Rig run;
    (busyStart ? run.server.startWhenDry : run.server.readWhenDry) = busyStart ? hr::kBusy : hr::kNotReady;
    run.cancelOnWait(2);

    EXPECT_EQ(run.fetch(queryOf(TimeWindowSummary, {0, 1})), 0);

    const std::vector<std::string> started{"StartSummaryRequest", "ReadSummaryBlock", "ReadSummaryBlock",
                                           "EndRequest"};
    EXPECT_EQ(run.server.calls, busyStart ? std::vector<std::string>(2, "StartSummaryRequest") : started);
    EXPECT_TRUE(run.reporter.errors.empty());
    EXPECT_EQ(run.reporter.noData, 0);
    EXPECT_EQ(run.store.count, 0);
  }
}

TEST(SeriesFetch, EmptySeriesWithDataFlagIsStored) {
  Rig run;
  run.server.blocks.push_back(seriesBytes(OneFreqTimeWindow, 3, 0));

  EXPECT_EQ(run.fetch(queryOf(OneFreqTimeWindow, {3})), 1);

  ASSERT_EQ(run.store.count, 1);
  EXPECT_EQ(run.store.series[0].entryCount, 0);
  EXPECT_EQ(run.store.series[0].statistic, 3);
  EXPECT_TRUE(run.store.firstPointText.isEmpty());
}

ThresholdEntry entry(double mhz, int limit) {
  ThresholdEntry e;
  e.inUse = 1;
  e.frequency = mhz;
  e.limitSet[limit] = 1;
  e.limitLevel[limit] = 40.0 + limit;
  return e;
}

TEST(ThresholdFetch, ReadsTheTableThroughAnObjectOfItsOwn) {
  FakeServerObjects objects;
  objects.threshold->table[0] = entry(55.25, 0);
  objects.threshold->table[1] = entry(61.25, 4);
  objects.threshold->table[2] = entry(99.0, 2);  // beyond the count: not read
  objects.threshold->countOut = 2;
  ThresholdTable table{};
  table[2] = entry(1.0, 1);  // an earlier port's entry must not survive
  int entries = -1;
  const std::shared_ptr<FakeThreshold> fake = objects.threshold;

  EXPECT_EQ(ThresholdFetch().run(objects, "{CLASS}", 17, 4242, table, &entries), hr::S_OK);

  EXPECT_EQ(objects.thresholdClassIds, (std::vector<std::string>{"{CLASS}"}));
  EXPECT_EQ(fake->calls, (std::vector<std::vector<int32_t>>{{17, 4242, 250}}));
  EXPECT_EQ(entries, 2);
  EXPECT_EQ(table[1].limitLevel[4], 44.0);
  EXPECT_EQ(table[2].inUse, 0);
  EXPECT_EQ(fake.use_count(), 2) << "the fetch released its reference";
}

TEST(ThresholdFetch, FailuresAnswerTheirCodeAndLeaveTheTable) {
  for (const bool failCreate : {true, false}) {
    FakeServerObjects objects;
    if (failCreate)
      objects.createThreshold.fallback = hr::RPC_S_SERVER_UNAVAILABLE;
    else
      objects.threshold->answer = hr::kInvalidUid;
    objects.threshold->table[0] = entry(5.0, 0);
    ThresholdTable table{};
    table[0] = entry(77.0, 3);
    int entries = 9;

    EXPECT_EQ(ThresholdFetch().run(objects, "{CLASS}", 1, 2, table, &entries),
              failCreate ? hr::RPC_S_SERVER_UNAVAILABLE : hr::kInvalidUid);

    EXPECT_EQ(table[0].frequency, 77.0);
    EXPECT_EQ(entries, 9);
    EXPECT_EQ(objects.threshold->calls.size(), failCreate ? 0u : 1u);
  }
}

}  // namespace
