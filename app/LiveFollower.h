#pragma once

#include "app/ServerSession.h"
#include "query/GraphQuery.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class COrbiskDoc;
class FetchJob;
class QTimer;

// Keeps a report that ends now current: every interval it fetches the same
// request with the window slid to end now, on a worker of its own and
// without a box, and hands a whole answer to the document, which has the
// views rebuild keeping what the user set. A refresh that fails is only
// said (statusChanged) and tried again at the next tick; once the keep-alive
// finds the session gone it reconnects aside, with a pause that doubles
// between tries. Nothing here ever ends the program or opens a box.
class LiveFollower : public QObject {
  Q_OBJECT
public:
  static constexpr int kPollMs = 100;
  static constexpr int kFirstRetryMs = 5000;
  static constexpr int kLongestRetryMs = 300000;

  enum class Phase { Off, Waiting, Refreshing, Reconnecting };

  LiveFollower(COrbiskDoc& doc, ServerSession& session, QObject* parent = nullptr);
  ~LiveFollower() override;

  // Follows the report of `query` from now on, its first refresh one
  // interval away.
  void start(const GraphQuery& query);
  // Stops following; a refresh or reconnection under way is abandoned (its
  // thread collected later), nothing it fetched is shown.
  void stop();
  bool following() const { return m_phase != Phase::Off; }
  Phase phase() const { return m_phase; }
  // The request followed: the last one shown.
  const GraphQuery& query() const { return m_query; }
  // A refresh fetched and shown so far, and refreshes that failed.
  int refreshes() const { return m_refreshes; }
  int failures() const { return m_failures; }
  // The UI thread's time for the last refresh: starting it, and taking its
  // answer over with the view's rebuild.
  qint64 lastRefreshUiNs() const { return m_lastUiNs; }
  // The status bar's text for the last thing that happened.
  QString statusText() const { return m_status; }

  void setIntervalMs(int ms);
  int intervalMs() const { return m_intervalMs; }
  // The first pause before a reconnection is tried again (tests shorten it).
  void setFirstRetryMs(int ms) { m_firstRetryMs = ms; }
  // Refreshes now, as a tick does.
  void tick();

signals:
  // The phase or the status text changed.
  void statusChanged();

private:
  struct Reconnection {
    std::thread thread;
    std::atomic<bool> done{false};
    ServerSession::Opened opened;
  };

  void startRefresh();
  void startReconnect();
  void onPoll();
  void finishRefresh();
  void finishReconnect();
  void setStatus(Phase phase, const QString& text);
  void collectRetired(bool wait);
  QString clockText() const;

  COrbiskDoc& m_doc;
  ServerSession& m_session;
  GraphQuery m_query;
  Phase m_phase = Phase::Off;
  QString m_status;
  int m_intervalMs;
  int m_firstRetryMs = kFirstRetryMs;
  int m_retryMs = 0;  // the pause before the next reconnection; 0 before the first
  int m_tries = 0;
  int m_refreshes = 0;
  int m_failures = 0;
  qint64 m_startUiNs = 0;
  qint64 m_lastUiNs = 0;
  QTimer* m_tick;
  QTimer* m_poll;
  QTimer* m_retry;
  std::shared_ptr<FetchJob> m_job;
  std::unique_ptr<Reconnection> m_reconnection;
  // Abandoned work whose threads are joined once they have ended.
  std::vector<std::shared_ptr<FetchJob>> m_retiredJobs;
  std::vector<std::unique_ptr<Reconnection>> m_retiredReconnections;
};
