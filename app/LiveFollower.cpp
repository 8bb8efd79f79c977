#include "app/LiveFollower.h"

#include "app/COrbiskDoc.h"
#include "app/LiveFollowSettings.h"
#include "core/Clock.h"
#include "core/ServerErrors.h"
#include "query/FetchJob.h"
#include "query/LiveWindow.h"
#include "resources/Strings.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace {
QString text(int id) {
  return Strings::LoadString(id);
}
}  // namespace

LiveFollower::LiveFollower(COrbiskDoc& doc, ServerSession& session, QObject* parent)
    : QObject(parent),
      m_doc(doc),
      m_session(session),
      m_intervalMs(LiveFollowSettings::intervalMinutes() * 60000),
      m_tick(new QTimer(this)),
      m_poll(new QTimer(this)),
      m_retry(new QTimer(this)) {
  m_tick->setInterval(m_intervalMs);
  connect(m_tick, &QTimer::timeout, this, &LiveFollower::tick);
  m_poll->setInterval(kPollMs);
  connect(m_poll, &QTimer::timeout, this, &LiveFollower::onPoll);
  m_retry->setSingleShot(true);
  connect(m_retry, &QTimer::timeout, this, &LiveFollower::startReconnect);
}

LiveFollower::~LiveFollower() {
  // The frame that listens may be half destroyed already.
  blockSignals(true);
  stop();
  collectRetired(true);
}

void LiveFollower::setIntervalMs(int ms) {
  m_intervalMs = std::max(1, ms);
  m_tick->setInterval(m_intervalMs);
}

void LiveFollower::start(const GraphQuery& query) {
  m_query = query;
  m_tries = 0;
  m_retryMs = 0;
  m_tick->start();
  m_poll->start();
  setStatus(Phase::Waiting, text(Strings::IDS_FOLLOW_FOLLOWING));
}

void LiveFollower::stop() {
  m_tick->stop();
  m_retry->stop();
  if (m_job) {
    m_job->cancel();
    m_retiredJobs.push_back(std::move(m_job));
  }
  if (m_reconnection) m_retiredReconnections.push_back(std::move(m_reconnection));
  collectRetired(false);
  // The poll goes on while abandoned threads are still out, to collect them.
  if (m_retiredJobs.empty() && m_retiredReconnections.empty()) m_poll->stop();
  if (m_phase != Phase::Off) setStatus(Phase::Off, QString());
}

void LiveFollower::tick() {
  if (m_phase != Phase::Waiting) return;  // the last refresh or a reconnection still runs
  if (m_session.sessionLost() || !m_session.isConnected()) {
    startReconnect();
    return;
  }
  startRefresh();
}

void LiveFollower::startRefresh() {
  QElapsedTimer ui;
  ui.start();
  FetchTarget target = m_doc.fetchTarget();
  const GraphQuery query = LiveWindow::slid(m_query, Clock::nowUtc());
  m_job = std::make_shared<FetchJob>(query, std::move(target), m_doc.pacing());
  m_job->start();
  setStatus(Phase::Refreshing, text(Strings::IDS_FOLLOW_UPDATING));
  m_startUiNs = ui.nsecsElapsed();
}

void LiveFollower::startReconnect() {
  if (m_phase != Phase::Waiting && m_phase != Phase::Reconnecting) return;
  if (m_reconnection) return;
  ++m_tries;
  auto reconnection = std::make_unique<Reconnection>();
  Reconnection* r = reconnection.get();
  r->thread = std::thread([r, request = m_session.reopenRequest()] {
    r->opened = ServerSession::open(request);
    r->done = true;
  });
  m_reconnection = std::move(reconnection);
  setStatus(Phase::Reconnecting,
            text(Strings::IDS_FOLLOW_RECONNECTING).arg(clockText(), QString::number(m_tries)));
}

void LiveFollower::onPoll() {
  collectRetired(false);
  if (m_phase == Phase::Off) {
    if (m_retiredJobs.empty() && m_retiredReconnections.empty()) m_poll->stop();
    return;
  }
  if (m_job && m_job->finished()) finishRefresh();
  if (m_reconnection && m_reconnection->done.load()) finishReconnect();
  // A lost session found by the keep-alive between ticks is reconnected at once.
  if (m_phase == Phase::Waiting && m_session.sessionLost() && !m_retry->isActive()) startReconnect();
}

void LiveFollower::finishRefresh() {
  QElapsedTimer ui;
  ui.start();
  const std::shared_ptr<FetchJob> job = std::move(m_job);
  job->join();
  const std::vector<FetchJob::Message> messages = job->takeMessages();
  if (job->succeeded()) {
    m_query = job->query();
    ++m_refreshes;
    m_doc.adoptRefresh(*job);
    setStatus(Phase::Waiting, text(Strings::IDS_FOLLOW_UPDATED).arg(clockText()));
    m_lastUiNs = m_startUiNs + ui.nsecsElapsed();
    return;
  }
  ++m_failures;
  QString reason = text(Strings::IDS_CTX_REQUEST_FAILED);
  if (!messages.empty()) {
    const FetchJob::Message& m = messages.front();
    reason = m.kind == FetchJob::Message::Kind::NoData
                 ? text(Strings::IDS_NO_DATA)
                 : ServerErrors::MessageFor(m.code, text(m.contextStringId));
  }
  // Whether the session is still there is the keep-alive's to find out.
  m_session.KeepAlive();
  setStatus(Phase::Waiting, text(Strings::IDS_FOLLOW_FAILED).arg(clockText(), reason.simplified()));
}

void LiveFollower::finishReconnect() {
  std::unique_ptr<Reconnection> r = std::move(m_reconnection);
  r->thread.join();
  if (r->opened.code == hr::S_OK) {
    m_session.adopt(std::move(r->opened));
    m_tries = 0;
    m_retryMs = 0;
    setStatus(Phase::Waiting, text(Strings::IDS_FOLLOW_RECONNECTED).arg(clockText()));
    // The scans missed while the session was gone come at once.
    startRefresh();
    return;
  }
  m_retryMs = m_retryMs == 0 ? m_firstRetryMs : std::min(m_retryMs * 2, kLongestRetryMs);
  m_retry->start(m_retryMs);
  const QString reason = ServerErrors::MessageFor(r->opened.code, r->opened.context).simplified();
  setStatus(Phase::Reconnecting, text(Strings::IDS_FOLLOW_RECONNECT_FAILED)
                                     .arg(clockText(), reason, QString::number((m_retryMs + 999) / 1000)));
}

void LiveFollower::collectRetired(bool wait) {
  std::erase_if(m_retiredJobs, [wait](const std::shared_ptr<FetchJob>& job) {
    if (!wait && !job->finished()) return false;
    job->join();
    return true;
  });
  std::erase_if(m_retiredReconnections, [wait](const std::unique_ptr<Reconnection>& r) {
    if (!wait && !r->done.load()) return false;
    r->thread.join();
    return true;
  });
}

void LiveFollower::setStatus(Phase phase, const QString& status) {
  m_phase = phase;
  m_status = status;
  emit statusChanged();
}

QString LiveFollower::clockText() const {
  return Clock::nowUtc().toLocalTime().toString(QStringLiteral("HH:mm"));
}
