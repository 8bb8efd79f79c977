#include "query/SeriesFetch.h"

#include "core/CNBDateTime.h"
#include "query/ServerPoll.h"
#include "resources/Strings.h"
#include "server/BlockCodec.h"

#include <algorithm>
#include <array>

namespace {

QString localDateTime(int32_t seconds) {
  return CNBDateTime::FromSeconds(seconds).LocalDateTimeText();
}

struct SummaryIo {
  using Block = SummaryBlock;
  using Buffer = std::array<uint8_t, Blocks::kSummaryBlockSize>;

  static HRESULT start(INembraDataServer& s, const GraphQuery& q, int32_t statistic, int32_t* handle) {
    return s.StartSummaryRequest(q.GetStart().ToSeconds(), q.GetEnd().ToSeconds(), statistic, handle);
  }
  static HRESULT read(INembraDataServer& s, int32_t handle, Buffer& b) {
    return s.ReadSummaryBlock(handle, b);
  }
  static void store(const Block& b, int n, SeriesStore::Series& slot, SeriesStore& store) {
    std::copy_n(b.values.begin(), n, slot.values.begin());
    std::copy_n(b.frequencies.begin(), n, slot.frequencies.begin());
    store.labelTimeText = localDateTime(b.labelTime);
  }
};

struct FrequencyIo {
  using Block = FrequencySeriesBlock;
  using Buffer = std::array<uint8_t, Blocks::kFrequencyBlockSize>;

  static HRESULT start(INembraDataServer& s, const GraphQuery& q, int32_t statistic, int32_t* handle) {
    return s.StartFrequencyRequest(q.GetStart().ToSeconds(), q.GetEnd().ToSeconds(),
                                   Increment::seconds(q.increment), statistic, q.frequency, handle);
  }
  static HRESULT read(INembraDataServer& s, int32_t handle, Buffer& b) {
    return s.ReadFrequencyBlock(handle, b);
  }
  static void store(const Block& b, int n, SeriesStore::Series& slot, SeriesStore& store) {
    std::copy_n(b.values.begin(), n, slot.values.begin());
    std::copy_n(b.times.begin(), n, slot.times.begin());
    store.labelTimeText = localDateTime(b.labelTime);
    if (n > 0) store.firstPointText = localDateTime(static_cast<int32_t>(b.times[0]));
  }
};

template <class Io>
bool fetchOne(INembraDataServer& server, const GraphQuery& query, int32_t statistic, const ServerPoll& poll,
              IFetchReporter& reporter, const FetchPacing& pacing, SeriesStore& store) {
  int32_t handle = 0;
  const auto started =
      poll.until(hr::kBusy, pacing.laterPoll, [&] { return Io::start(server, query, statistic, &handle); });
  if (!started) return false;
  if (*started != hr::S_OK) {
    reporter.reportServerError(*started, Strings::IDS_CTX_REQUEST_FAILED);
    return false;
  }

  typename Io::Buffer buffer{};
  const auto read =
      poll.until(hr::kNotReady, pacing.laterPoll, [&] { return Io::read(server, handle, buffer); });
  if (!read) {
    // The server ends a single-block request only when its block is read; a
    // request cancelled before that would answer the next fetch busy forever.
    server.EndRequest();
    return false;
  }
  if (hr::failed(*read)) {
    reporter.reportServerError(*read, Strings::IDS_CTX_READ_DATA_FAILED);
    return false;
  }
  // Nothing in the period is believed whatever the block's counts say.
  if (BlockCodec::hasData(buffer) == 0) {
    reporter.showNoData();
    return false;
  }
  typename Io::Block block;
  if (BlockCodec::decode(buffer, block) != BlockCodec::Status::Ok) {
    reporter.reportServerError(hr::RPC_S_PROTOCOL_ERROR, Strings::IDS_CTX_READ_DATA_FAILED);
    return false;
  }

  SeriesStore::Series& slot = store.series[store.count];
  slot = SeriesStore::Series{};
  slot.entryCount = block.entryCount;
  slot.statistic = statistic;
  slot.hasData = block.hasData;
  Io::store(block, block.entryCount, slot, store);
  ++store.count;
  return true;
}

}  // namespace

int SeriesFetch::run(INembraDataServer& server, const GraphQuery& query, FetchFlags& flags,
                     IFetchReporter& reporter, const FetchPacing& pacing, SeriesStore& store) const {
  const int32_t type = query.graphType;
  if (type != TimeWindowSummary && type != OneFreqTimeWindow) return 0;

  store.clear();
  const auto ticked =
      std::count_if(query.statistics.begin(), query.statistics.end(), [](int32_t f) { return f != 0; });
  flags.step = 0;
  flags.steps = static_cast<int32_t>(ticked);
  if (ticked == 0) return 0;

  const ServerPoll poll(flags, pacing);
  for (int32_t statistic = 0; statistic < Statistic::kCount; ++statistic) {
    if (query.statistics[statistic] == 0) continue;
    const bool ok = type == TimeWindowSummary
                        ? fetchOne<SummaryIo>(server, query, statistic, poll, reporter, pacing, store)
                        : fetchOne<FrequencyIo>(server, query, statistic, poll, reporter, pacing, store);
    if (!ok) return 0;
    flags.step = store.count;
  }
  return 1;
}
