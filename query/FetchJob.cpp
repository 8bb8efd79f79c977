#include "query/FetchJob.h"

#include "query/RibbonFetch.h"
#include "query/SeriesFetch.h"
#include "query/ThresholdFetch.h"
#include "resources/Strings.h"
#include "server/INembraDataServer.h"

FetchJob::FetchJob(GraphQuery query, FetchTarget target, FetchPacing pacing)
    : m_query(std::move(query)), m_target(std::move(target)), m_pacing(std::move(pacing)) {}

FetchJob::~FetchJob() {
  cancel();
  join();
}

void FetchJob::start() {
  join();
  m_flags.reset();
  m_worker = std::thread([this] {
    int ok = 0;
    try {
      ok = work();
    } catch (...) {
      // A worker that throws must not take the program with it: the user
      // sees a failed request, as for any other failure of the server.
      m_reporter.reportServerError(hr::E_FAIL, Strings::IDS_CTX_REQUEST_FAILED);
      ok = 0;
    }
    // The server objects go with the worker: a finished job kept for its
    // results must not hold a session that has since been replaced.
    m_target.data.reset();
    m_target.objects.reset();
    m_flags.dataOk = (ok == 1 && m_flags.running.load() == 1) ? 1 : 0;
    m_flags.done = 1;
  });
}

void FetchJob::cancel() {
  if (finished() || !m_worker.joinable()) return;
  m_flags.running = 0;
  m_flags.cancelled = 1;
}

void FetchJob::join() {
  if (m_worker.joinable()) m_worker.join();
}

std::vector<FetchJob::Message> FetchJob::takeMessages() {
  std::lock_guard lock(m_messagesMutex);
  return std::exchange(m_messages, {});
}

void FetchJob::post(const Message& message) {
  std::lock_guard lock(m_messagesMutex);
  m_messages.push_back(message);
}

void FetchJob::Reporter::reportServerError(HRESULT code, int contextStringId) {
  m_job.post({Message::Kind::ServerError, code, contextStringId});
}

void FetchJob::Reporter::showNoData() { m_job.post({Message::Kind::NoData, 0, 0}); }

int FetchJob::work() {
  const std::shared_ptr<INembraDataServer> data = m_target.data;
  if (isRibbonType(m_query.graphType))
    return data ? RibbonFetch{}.run(*data, m_query, m_flags, m_reporter, m_pacing, m_ribbons) : 0;
  const int ok = data ? SeriesFetch{}.run(*data, m_query, m_flags, m_reporter, m_pacing, m_series) : 0;
  // The threshold lines are the port's, not the request's: they are read
  // whatever became of the series.
  if (m_query.graphType == TimeWindowSummary && m_target.objects) {
    const HRESULT r = ThresholdFetch{}.run(*m_target.objects, m_target.dataClass, m_target.node,
                                          m_target.token, m_table, &m_entries);
    m_tableOk = r == hr::S_OK;
    if (!m_tableOk) m_reporter.reportServerError(r, Strings::IDS_CTX_REQUEST_FAILED);
  }
  return ok;
}
