#include "sim/SimContext.h"

#include "sim/DemoScanner.h"
#include "sim/FaultPlan.h"
#include "sim/SimDatabase.h"
#include "sim/SimLog.h"

#include <chrono>

SimContext::SimContext(SimOptions options) : m_options(std::move(options)), m_pool(m_options.workerThreads) {}

// The threads go first: they may still use the store.
SimContext::~SimContext() {
  shutdown();
}

bool SimContext::open(std::string* error) {
  // Objects and workers already hold the open store.
  if (m_db) return true;
  m_db = SimDatabase::open(m_options.dbPath, error);
  if (!m_db) return false;
  if (m_options.scanInterval > 0) startScanner();
  return true;
}

// A store the scans cannot be written to (a read-only file) is still served.
void SimContext::startScanner() {
  m_scanner = std::make_unique<DemoScanner>(*m_db, m_options.scanInterval);
  if (!m_scanner->following()) return;
  std::string error;
  const int64_t added = m_scanner->catchUp(nowSeconds(), &error);
  if (added < 0) {
    SimLog::line("no live scans: " + error);
    return;
  }
  SimLog::line("live scans every " + std::to_string(m_options.scanInterval) + " s; " + std::to_string(added) +
               " caught up to now");
  m_scanner->start();
}

std::optional<HRESULT> SimContext::fault(std::string_view call) const {
  return m_options.faults ? m_options.faults->before(call) : std::nullopt;
}

HRESULT SimContext::answer(std::string_view call, HRESULT result) const {
  return m_options.faults ? m_options.faults->after(call, result) : result;
}

bool SimContext::submit(std::function<void()> task) {
  return m_pool.submit(std::move(task));
}

void SimContext::shutdown() {
  if (m_scanner) m_scanner->stop();
  m_pool.stop();
}

bool SimContext::acquireSession() {
  int n = m_sessions.load();
  do {
    if (n >= m_options.maxSessions) return false;
  } while (!m_sessions.compare_exchange_weak(n, n + 1));
  return true;
}

void SimContext::releaseSession() {
  --m_sessions;
}

SimContext::TokenState SimContext::checkToken(int32_t token, int32_t permission) const {
  const auto t = m_db->token(token);
  if (!t) return TokenState::Unknown;
  if (t->expires <= nowSeconds() || endedByAdministrator(token)) return TokenState::Expired;
  if ((t->permissions & permission) != permission) return TokenState::Lacking;
  return TokenState::Valid;
}

int64_t SimContext::nowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

SimContext::TokenState SimContext::checkPermission(int32_t token, int32_t permission) {
  const TokenState state = checkToken(token, permission);
  if (state == TokenState::Valid && m_options.sessionLifetime) {
    std::lock_guard lock(m_grantsMutex);
    m_firstGrant.try_emplace(token, std::chrono::steady_clock::now());
  }
  return state;
}

bool SimContext::endedByAdministrator(int32_t token) const {
  if (!m_options.sessionLifetime) return false;
  std::lock_guard lock(m_grantsMutex);
  const auto first = m_firstGrant.find(token);
  return first != m_firstGrant.end() &&
         std::chrono::steady_clock::now() - first->second >= *m_options.sessionLifetime;
}
