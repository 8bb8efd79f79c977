#pragma once

#include "query/FetchFlags.h"
#include "query/FetchPacing.h"
#include "query/FetchTarget.h"
#include "query/GraphQuery.h"
#include "query/IFetchReporter.h"
#include "query/RibbonSet.h"
#include "query/SeriesStore.h"
#include "server/Blocks.h"

#include <mutex>
#include <utility>
#include <thread>
#include <vector>

// One report request on a thread of its own. The job holds everything its
// worker touches: the request, its own references to the server objects
// (so a session replaced meanwhile cannot pull them away) and the results.
// Whoever owns the job joins it before reading the results; destroying a
// running job stops and joins it. The worker never waits for the UI thread:
// its messages queue here until the UI thread takes them.
class FetchJob {
public:
  struct Message {
    enum class Kind { ServerError, NoData };
    Kind kind = Kind::ServerError;
    HRESULT code = 0;
    int contextStringId = 0;
    bool operator==(const Message&) const = default;
  };

  FetchJob(GraphQuery query, FetchTarget target, FetchPacing pacing = {});
  ~FetchJob();
  FetchJob(const FetchJob&) = delete;
  FetchJob& operator=(const FetchJob&) = delete;

  void start();
  // Asks the worker to stop at its next check; answers at once.
  void cancel();
  bool finished() const { return m_flags.done.load() != 0; }
  void join();
  // The worker fetched everything and was not cancelled; valid once finished.
  bool succeeded() const { return finished() && m_flags.dataOk.load() == 1; }

  // The messages the worker left since the last call, oldest first.
  std::vector<Message> takeMessages();

  const FetchFlags& flags() const { return m_flags; }
  const GraphQuery& query() const { return m_query; }

  // Results, read after join().
  RibbonSet& ribbons() { return m_ribbons; }
  SeriesStore& series() { return m_series; }
  // The threshold table read after a Time Window Summary's series, whatever
  // became of them.
  bool hasThresholdTable() const { return m_tableOk; }
  const ThresholdTable& thresholdTable() const { return m_table; }
  int thresholdEntries() const { return m_entries; }

private:
  class Reporter : public IFetchReporter {
  public:
    explicit Reporter(FetchJob& job) : m_job(job) {}
    void reportServerError(HRESULT code, int contextStringId) override;
    void showNoData() override;

  private:
    FetchJob& m_job;
  };

  int work();
  void post(const Message& message);

  GraphQuery m_query;
  FetchTarget m_target;
  FetchPacing m_pacing;
  FetchFlags m_flags;
  Reporter m_reporter{*this};

  std::mutex m_messagesMutex;
  std::vector<Message> m_messages;

  RibbonSet m_ribbons;
  SeriesStore m_series;
  ThresholdTable m_table{};
  int m_entries = 0;
  bool m_tableOk = false;

  std::thread m_worker;  // last: joined before the members above go
};
