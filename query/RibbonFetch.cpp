#include "query/RibbonFetch.h"

#include "core/CNBDateTime.h"
#include "query/DayWindow.h"
#include "query/GapFiller.h"
#include "query/ServerPoll.h"
#include "resources/Strings.h"
#include "server/BlockCodec.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

// Ends the server's request exactly once, whichever way the fetch leaves.
class RequestScope {
public:
  explicit RequestScope(INembraDataServer& server) : m_server(server) {}
  ~RequestScope() { end(); }
  RequestScope(const RequestScope&) = delete;
  RequestScope& operator=(const RequestScope&) = delete;

  void end() {
    if (m_ended) return;
    m_ended = true;
    m_server.EndRequest();
  }

private:
  INembraDataServer& m_server;
  bool m_ended = false;
};

struct Fetch {
  INembraDataServer& server;
  FetchFlags& flags;
  IFetchReporter& reporter;
  const FetchPacing& pacing;
  ServerPoll poll;
  RequestScope request;

  // The request is ended before the message: the box waits for the user, the
  // server need not.
  int fail(HRESULT code, int contextId) {
    request.end();
    reporter.reportServerError(code, contextId);
    return 0;
  }
};

template <class Block>
struct BlockIo;

template <>
struct BlockIo<RibbonBlock> {
  using Buffer = std::array<uint8_t, Blocks::kRibbonBlockSize>;
  static constexpr bool kNextAtOnce = false;
  static HRESULT read(INembraDataServer& s, int32_t handle, Buffer& b) {
    return s.ReadRibbonBlock(handle, b);
  }
  static std::vector<RibbonBlock>& storage(RibbonSet& set) { return set.ribbons; }
};

template <>
struct BlockIo<DayBlock> {
  using Buffer = std::array<uint8_t, Blocks::kDayBlockSize>;
  // Day answers are prepared whole before the first block is handed out, so
  // a busy NextBlock clears at once and is asked again without a pause.
  static constexpr bool kNextAtOnce = true;
  static HRESULT read(INembraDataServer& s, int32_t handle, Buffer& b) { return s.ReadDayBlock(handle, b); }
  static std::vector<DayBlock>& storage(RibbonSet& set) { return set.days; }
};

// Reads and decodes one block; false when the fetch stops (already reported).
// A first block without data ends the fetch with the no-data message,
// whatever its counts say.
template <class Block>
bool readBlock(Fetch& f, int32_t handle, std::chrono::milliseconds wait, Block& out, bool first = false) {
  typename BlockIo<Block>::Buffer buffer{};
  const auto h =
      f.poll.until(hr::kNotReady, wait, [&] { return BlockIo<Block>::read(f.server, handle, buffer); });
  if (!h) return false;
  if (hr::failed(*h)) return f.fail(*h, Strings::IDS_CTX_READ_DATA_FAILED);
  if (first && BlockCodec::hasData(buffer) == 0) {
    f.request.end();
    f.reporter.showNoData();
    return false;
  }
  // Counts beyond the buffers' bounds mean the block is not what it claims;
  // saying so beats drawing garbage.
  if (BlockCodec::decode(buffer, out) != BlockCodec::Status::Ok)
    return f.fail(hr::RPC_S_PROTOCOL_ERROR, Strings::IDS_CTX_READ_DATA_FAILED);
  return true;
}

// The first block as ribbon R-1: its header and its N valid entries. The
// answer's block count lives in the set, not in a ribbon.
template <class Block>
Block withoutBlockCount(const Block& b) {
  Block copy = b;
  copy.blockCount = 0;
  std::fill(copy.values.begin() + b.entryCount, copy.values.end(), 0.0);
  std::fill(copy.frequencies.begin() + b.entryCount, copy.frequencies.end(), 0.0);
  return copy;
}

CNBDateTime instant(int64_t seconds) {
  if (seconds < std::numeric_limits<int32_t>::min() || seconds > std::numeric_limits<int32_t>::max()) {
    CNBDateTime bad;
    bad.setStatus(CNBDateTime::invalid);
    return bad;
  }
  return CNBDateTime::FromSeconds(static_cast<int32_t>(seconds));
}

QString localTime(int64_t seconds) {
  return instant(seconds).LocalTimeText();
}
QString localDate(int64_t seconds) {
  return instant(seconds).LocalDateText();
}

void buildLabels(RibbonSet& set) {
  const int r = set.ribbonCount;
  set.startLabels.assign(r, QString());
  set.endLabels.assign(r, QString());
  for (int i = 0; i < r; ++i) {
    if (set.kind == RibbonSet::Kind::Day) {
      const DayBlock& b = set.days[i];
      const int64_t start = b.periodStart;
      const int64_t day = CNBDateTime::DayStart(start);
      set.startLabels[i] = localDate(day + b.windowStart);
      set.endLabels[i] = localDate(day + b.windowEnd);
    } else {
      set.startLabels[i] = localTime(set.ribbons[i].periodStart);
      set.endLabels[i] = localTime(set.ribbons[i].periodEnd);
    }
  }
  if (r > 0) {
    set.periodStartLabel = set.startLabels.front();
    set.periodEndLabel = set.endLabels.back();
  }
}

template <class Block>
int fetchBlocks(Fetch& f, int32_t handle, RibbonSet& out) {
  Block first;
  if (!readBlock(f, handle, f.pacing.firstPoll, first, true)) return 0;
  const int r = first.blockCount;
  if (r == 0) return f.fail(hr::RPC_S_PROTOCOL_ERROR, Strings::IDS_CTX_READ_DATA_FAILED);

  GapFiller::fill(first);
  std::vector<Block>& ribbons = BlockIo<Block>::storage(out);
  ribbons.assign(r, Block{});
  ribbons[r - 1] = withoutBlockCount(first);
  out.ribbonCount = r;
  out.frequencyCount = first.entryCount;
  f.flags.steps = r;
  f.flags.step = 1;
  if (!f.poll.running()) return 0;

  const std::chrono::milliseconds nextWait =
      BlockIo<Block>::kNextAtOnce ? std::chrono::milliseconds::zero() : f.pacing.laterPoll;
  for (int k = r - 2; k >= 0; --k) {
    const auto next = f.poll.until(hr::kBusy, nextWait, [&] { return f.server.NextBlock(&handle); });
    if (!next) return 0;
    if (*next != hr::S_OK) return f.fail(*next, Strings::IDS_CTX_REQUEST_FAILED);
    if (!readBlock(f, handle, f.pacing.laterPoll, ribbons[k])) return 0;
    GapFiller::fill(ribbons[k]);
    f.flags.step = r - k;
  }
  f.request.end();
  buildLabels(out);
  return 1;
}

}  // namespace

int RibbonFetch::run(INembraDataServer& server, const GraphQuery& query, FetchFlags& flags,
                     IFetchReporter& reporter, const FetchPacing& pacing, RibbonSet& out) const {
  const int32_t type = query.graphType;
  if (type != TimeWindowDetail && type != TwentyFourHour && type != MultiDay && type != MultiDayTimeWindow)
    return 0;
  const bool days = type == MultiDay || type == MultiDayTimeWindow;
  const int32_t statistic = query.statisticIndex;

  out.clear();
  out.kind = days ? RibbonSet::Kind::Day : RibbonSet::Kind::Ribbon;
  out.percent = Statistic::isPercentage(statistic);
  flags.percent = out.percent ? 1 : 0;
  flags.step = 0;
  flags.steps = 0;

  Fetch f{server, flags, reporter, pacing, ServerPoll(flags, pacing), RequestScope(server)};
  int32_t handle = 0;
  std::optional<HRESULT> started;
  if (days) {
    const DayWindow w = DayWindow::of(query.GetStart(), query.GetEnd());
    // A retry after busy asks for the same answer the first call asked for,
    // so it sends the same window, never a whole-day one.
    started = f.poll.until(hr::kBusy, pacing.firstPoll, [&] {
      return server.StartDayRequest(w.firstDay, w.lastDay, w.windowStart, w.windowEnd, statistic, &handle);
    });
  } else {
    const int32_t start = query.GetStart().ToSeconds();
    const int32_t end = query.GetEnd().ToSeconds();
    const int32_t interval = Increment::seconds(query.increment);
    started = f.poll.until(hr::kBusy, pacing.firstPoll, [&] {
      return server.StartRibbonRequest(start, end, interval, statistic, &handle);
    });
  }
  if (!started) return 0;
  if (*started != hr::S_OK) return f.fail(*started, Strings::IDS_CTX_REQUEST_FAILED);
  return days ? fetchBlocks<DayBlock>(f, handle, out) : fetchBlocks<RibbonBlock>(f, handle, out);
}
