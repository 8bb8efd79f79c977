#include "sim/SimDataServer.h"

#include "server/ServerIds.h"
#include "sim/SimContext.h"
#include "sim/SimDatabase.h"
#include "sim/SimLog.h"
#include "sim/SimRequest.h"

#include <string>

namespace {

// Handles run on across requests so a stale one is recognised as such; they
// restart well before they could overflow.
constexpr int32_t kHandleRestart = 1 << 30;

std::string sessionText(int32_t token, int32_t node) {
  return "session token " + std::to_string(token) + " node " + std::to_string(node);
}

}  // namespace

SimDataServer::SimDataServer(std::shared_ptr<SimContext> context) : m_context(std::move(context)) {}

SimDataServer::~SimDataServer() {
  std::lock_guard lock(m_mutex);
  closeSessionLocked("released");
}

HRESULT SimDataServer::Connect() {
  if (auto f = m_context->fault("Connect")) return *f;
  std::lock_guard lock(m_mutex);
  return m_session ? hr::S_OK : hr::kRequestNotMade;
}

HRESULT SimDataServer::OpenSession(int32_t token, int32_t node) {
  if (auto f = m_context->fault("OpenSession")) return *f;
  const HRESULT h = openSession(token, node);
  if (h != hr::S_OK) SimLog::line(sessionText(token, node) + " refused: " + SimLog::code(h));
  return h;
}

HRESULT SimDataServer::openSession(int32_t token, int32_t node) {
  // A session needs a known, live token only; whether it may run this
  // program is the permission check's question, asked before each report.
  switch (m_context->checkToken(token, ServerIds::kLaunchPermission)) {
    case SimContext::TokenState::Valid:
    case SimContext::TokenState::Lacking: break;
    case SimContext::TokenState::Expired: return hr::kCodeSessionExpired;
    case SimContext::TokenState::Unknown: return hr::kCodeNoPermission;
  }
  if (!m_context->db().port(node)) return hr::kInvalidUid;
  std::lock_guard lock(m_mutex);
  if (m_session) {
    // Opening again on the same object moves the session and keeps its slot.
    if (m_session->token != token || m_session->node != node) {
      endRequestLocked();
      m_session = Session{token, node};
    }
    return hr::S_OK;
  }
  if (!m_context->acquireSession()) return hr::kMaxConnections;
  m_session = Session{token, node};
  SimLog::line(sessionText(token, node) + " opened (" + std::to_string(m_context->openSessions()) + " open)");
  return hr::S_OK;
}

HRESULT SimDataServer::CloseSession() {
  if (auto f = m_context->fault("CloseSession")) return *f;
  std::lock_guard lock(m_mutex);
  closeSessionLocked("closed");
  return hr::S_OK;
}

void SimDataServer::closeSessionLocked(const char* why) {
  endRequestLocked();
  if (!m_session) return;
  const Session s = *m_session;
  m_session.reset();
  m_context->releaseSession();
  SimLog::line(sessionText(s.token, s.node) + " " + why + " (" + std::to_string(m_context->openSessions()) +
               " open)");
}

void SimDataServer::endRequestLocked() {
  if (!m_request) return;
  m_request->cancel();
  m_request.reset();
}

template <typename MakePlan>
HRESULT SimDataServer::start(const char* call, int32_t* handle, MakePlan makePlan) {
  if (auto f = m_context->fault(call)) return *f;
  std::lock_guard lock(m_mutex);
  if (!m_session) return hr::kRequestNotMade;
  if (m_request) return hr::kBusy;
  if (!handle) return hr::E_POINTER;
  auto port = m_context->db().port(m_session->node);
  if (!port) return hr::kInvalidUid;
  RequestPlan plan;
  if (const HRESULT h = makePlan(*port, plan); h != hr::S_OK) {
    SimLog::line("node " + std::to_string(m_session->node) + ": " + call + " refused: " + SimLog::code(h));
    return h;
  }
  if (m_nextHandle >= kHandleRestart) m_nextHandle = 1;
  auto request = std::make_shared<SimRequest>(std::move(plan), std::move(*port), m_nextHandle);
  m_nextHandle += static_cast<int32_t>(request->blockCount());
  const SimDatabase& db = m_context->db();
  if (!m_context->submit([weak = std::weak_ptr<SimRequest>(request), &db] { SimRequest::compute(weak, db); }))
    return hr::kConnectionDropped;
  m_request = std::move(request);
  *handle = m_request->handle(0);
  return hr::S_OK;
}

HRESULT SimDataServer::StartSummaryRequest(int32_t start, int32_t end, int32_t statistic, int32_t* handle) {
  return this->start("StartSummaryRequest", handle, [&](const PortRecord&, RequestPlan& plan) {
    return RequestPlan::summary(start, end, statistic, plan);
  });
}

HRESULT SimDataServer::StartFrequencyRequest(int32_t start, int32_t end, int32_t intervalSeconds,
                                             int32_t statistic, double frequencyMHz, int32_t* handle) {
  return this->start("StartFrequencyRequest", handle, [&](const PortRecord& port, RequestPlan& plan) {
    return RequestPlan::frequency(start, end, intervalSeconds, statistic, frequencyMHz, port.frequencies,
                                  plan);
  });
}

HRESULT SimDataServer::StartRibbonRequest(int32_t start, int32_t end, int32_t intervalSeconds,
                                          int32_t statistic, int32_t* handle) {
  return this->start("StartRibbonRequest", handle, [&](const PortRecord&, RequestPlan& plan) {
    return RequestPlan::ribbon(start, end, intervalSeconds, statistic, plan);
  });
}

HRESULT SimDataServer::StartDayRequest(int32_t firstDay, int32_t lastDay, int32_t windowStart,
                                       int32_t windowEnd, int32_t statistic, int32_t* handle) {
  return this->start("StartDayRequest", handle, [&](const PortRecord&, RequestPlan& plan) {
    return RequestPlan::day(firstDay, lastDay, windowStart, windowEnd, statistic, plan);
  });
}

HRESULT SimDataServer::read(const char* call, RequestKind kind, int32_t handle, std::span<uint8_t> out) {
  if (auto f = m_context->fault(call)) return *f;
  std::lock_guard lock(m_mutex);
  if (!m_session) return hr::kRequestNotMade;
  if (!m_request || m_request->plan().kind != kind) return hr::kInvalidHandle;
  const auto index = m_request->indexOf(handle);
  if (!index) return hr::kInvalidHandle;
  const HRESULT h = m_request->copyBlock(*index, out);
  const bool oneBlock = kind == RequestKind::Summary || kind == RequestKind::Frequency;
  if (oneBlock && h != hr::kNotReady) endRequestLocked();
  return m_context->answer(call, h);
}

HRESULT SimDataServer::ReadSummaryBlock(int32_t handle, std::span<uint8_t, Blocks::kSummaryBlockSize> block) {
  return read("ReadSummaryBlock", RequestKind::Summary, handle, block);
}

HRESULT SimDataServer::ReadFrequencyBlock(int32_t handle,
                                          std::span<uint8_t, Blocks::kFrequencyBlockSize> block) {
  return read("ReadFrequencyBlock", RequestKind::Frequency, handle, block);
}

HRESULT SimDataServer::ReadRibbonBlock(int32_t handle, std::span<uint8_t, Blocks::kRibbonBlockSize> block) {
  return read("ReadRibbonBlock", RequestKind::Ribbon, handle, block);
}

HRESULT SimDataServer::ReadDayBlock(int32_t handle, std::span<uint8_t, Blocks::kDayBlockSize> block) {
  return read("ReadDayBlock", RequestKind::Day, handle, block);
}

HRESULT SimDataServer::NextBlock(int32_t* handle) {
  if (auto f = m_context->fault("NextBlock")) return *f;
  std::lock_guard lock(m_mutex);
  if (!m_session) return hr::kRequestNotMade;
  if (!handle) return hr::E_POINTER;
  if (!m_request) return hr::kInvalidHandle;
  const auto index = m_request->indexOf(*handle);
  if (!index) return hr::kInvalidHandle;
  if (*index + 1 >= m_request->blockCount()) return hr::kRequestUnavailable;
  *handle = m_request->handle(*index + 1);
  return hr::S_OK;
}

HRESULT SimDataServer::EndRequest() {
  if (auto f = m_context->fault("EndRequest")) return *f;
  std::lock_guard lock(m_mutex);
  if (!m_session) return hr::kRequestNotMade;
  endRequestLocked();
  return hr::S_OK;
}

HRESULT SimDataServer::KeepAlive() {
  if (auto f = m_context->fault("KeepAlive")) return *f;
  return hr::S_OK;
}
