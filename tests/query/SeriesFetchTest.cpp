#include "query/SeriesFetch.h"

#include "query/FetchFakes.h"
#include "query/QueryTestUtil.h"
#include "query/ThresholdFetch.h"

#include <gtest/gtest.h>

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

using Rig = FetchRig<SeriesFetch, SeriesStore>;

class SeriesFetchTypes : public ::testing::TestWithParam<int> {};

// Busy and not-ready answers of the last statistic are retried every 100 ms.
TEST_P(SeriesFetchTypes, TickedStatisticsFillSlotsInIndexOrder) {
  const int type = GetParam();
  Rig run;
  for (int s : {0, 2, 4}) run.server.blocks.push_back(seriesBytes(type, s, 3));
  run.server.startAnswers = {hr::S_OK, hr::S_OK, hr::kBusy};
  run.server.readAnswers = {hr::S_OK, hr::S_OK, hr::kNotReady, hr::kNotReady};
  const GraphQuery q = queryOf(type, {4, 0, 2});

  EXPECT_EQ(run.fetch(q), 1);

  EXPECT_EQ(run.pacing.waits, (std::vector<long>{100, 100, 100}));
  ASSERT_EQ(run.server.count(startCall(type)), 4);
  ASSERT_EQ(run.store.count, 3);
  const double start = q.GetStart().ToSeconds();
  const double end = q.GetEnd().ToSeconds();
  for (int k = 0; k < 4; ++k) {
    const double statistic = 2 * std::min(k, 2);
    EXPECT_EQ(run.server.startArgs[k],
              (type == TimeWindowSummary ? std::vector<double>{start, end, statistic}
                                         : std::vector<double>{start, end, 900.0, statistic, 123.25}));
  }
  for (int k = 0; k < 3; ++k) {
    const SeriesStore::Series& slot = run.store.series[k];
    EXPECT_EQ(slot.statistic, 2 * k);
    EXPECT_EQ(slot.entryCount, 3);
    EXPECT_EQ(slot.values[2], 20.0 * k + 2);
    if (type == TimeWindowSummary)
      EXPECT_EQ(slot.frequencies[1], 6.0);
    else
      EXPECT_EQ(slot.times[1], static_cast<uint32_t>(kFirstPoint + 900));
  }
  // Single-block requests end on the server when read.
  EXPECT_EQ(run.server.count("EndRequest"), 0);
  EXPECT_EQ(run.flags.step, 3);
  EXPECT_EQ(run.flags.steps, 3);
  EXPECT_FALSE(run.store.labelTimeText.isEmpty());
  EXPECT_EQ(run.store.firstPointText.isEmpty(), type == TimeWindowSummary);
}

INSTANTIATE_TEST_SUITE_P(SummaryAndOneFrequency, SeriesFetchTypes,
                         ::testing::Values(TimeWindowSummary, OneFreqTimeWindow));

// A failed second statistic keeps the first series and stops before the third.
TEST(SeriesFetch, SecondFailureKeepsTheFirstSeries) {
  constexpr HRESULT kDown = hr::RPC_S_SERVER_UNAVAILABLE;
  const struct {
    std::deque<HRESULT> start, read;
    uint16_t secondHasData;
    int secondEntries;
    Errors errors;
  } cases[] = {
      {{hr::S_OK, hr::S_FALSE}, {}, 1, 3, {{hr::S_FALSE, kRequest}}},
      {{}, {hr::S_OK, hr::kNotReady, kDown}, 1, 3, {{kDown, kRead}}},
      {{}, {}, 0, 501, {}},  // no data, whatever the counts say
      {{}, {}, 1, 501, {{hr::RPC_S_PROTOCOL_ERROR, kRead}}},
  };
  for (const auto& c : cases) {
    for (int type : {TimeWindowSummary, OneFreqTimeWindow}) {
      Rig run;
      run.server.startAnswers = c.start;
      run.server.readAnswers = c.read;
      run.server.blocks = {seriesBytes(type, 0, 3), seriesBytes(type, 1, c.secondEntries, c.secondHasData),
                           seriesBytes(type, 2, 3)};

      EXPECT_EQ(run.fetch(queryOf(type, {0, 1, 2})), 0);

      EXPECT_EQ(run.store.count, 1);
      EXPECT_EQ(run.reporter.errors, c.errors);
      EXPECT_EQ(run.reporter.noData, c.errors.empty() ? 1 : 0);
      EXPECT_EQ(run.server.count(startCall(type)), 2) << "no third request";
      EXPECT_EQ(run.flags.step, 1);
    }
  }
}

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

TEST(SeriesFetch, EmptySeriesWithDataIsStoredWithoutAFirstPoint) {
  Rig run;
  run.server.blocks.push_back(seriesBytes(OneFreqTimeWindow, 3, 0));
  EXPECT_EQ(run.fetch(queryOf(OneFreqTimeWindow, {3})), 1);
  EXPECT_TRUE(run.store.firstPointText.isEmpty());
}

// A failure to create the object or to read leaves the caller's table as it was.
TEST(ThresholdFetch, ReadsTheTableThroughAnObjectOfItsOwn) {
  const struct {
    HRESULT create, read;
  } cases[] = {{hr::S_OK, hr::S_OK}, {hr::RPC_S_SERVER_UNAVAILABLE, hr::S_OK}, {hr::S_OK, hr::kInvalidUid}};
  for (const auto& c : cases) {
    FakeServerObjects objects;
    objects.createThreshold.fallback = c.create;
    const std::shared_ptr<FakeThreshold> fake = objects.threshold;
    fake->answer = c.read;
    for (int i = 0; i < 3; ++i) {
      fake->table[i].inUse = 1;  // entry 2 is beyond the count: not read
      fake->table[i].frequency = 55.25 + i;
    }
    fake->countOut = 2;
    ThresholdTable table{};
    table[2].inUse = 1;  // an earlier port's entry must not survive
    int entries = 9;
    const bool ok = c.create == hr::S_OK && c.read == hr::S_OK;

    EXPECT_EQ(ThresholdFetch().run(objects, "{CLASS}", 17, 4242, table, &entries),
              ok ? hr::S_OK : c.create | c.read);

    EXPECT_EQ(objects.thresholdClassIds, (std::vector<std::string>{"{CLASS}"}));
    using Calls = std::vector<std::vector<int32_t>>;
    EXPECT_EQ(fake->calls, (c.create == hr::S_OK ? Calls{{17, 4242, 250}} : Calls{}));
    EXPECT_EQ(entries, ok ? 2 : 9);
    EXPECT_EQ(table[1].frequency, ok ? 56.25 : 0.0);
    EXPECT_EQ(table[2].inUse, ok ? 0 : 1);
    EXPECT_EQ(fake.use_count(), 2) << "the fetch released its reference";
  }
}

}  // namespace
