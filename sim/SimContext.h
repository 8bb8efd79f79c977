#pragma once

#include "server/HResult.h"
#include "sim/SimServer.h"
#include "sim/WorkerPool.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class DemoScanner;
class SimDatabase;

// What every object of one server shares: the store, the request workers,
// the writer of live scans, the session count and the fault plan. Objects
// hold it by shared_ptr, so it outlives the SimServer while objects remain;
// shutdown() (the server's end) joins the workers and the writer, after which
// requests can no longer start.
class SimContext {
public:
  explicit SimContext(SimOptions options);
  ~SimContext();

  // Opens the store and, when the options ask for live scans, catches the
  // demo ports up to now before it returns.
  bool open(std::string* error);
  bool isOpen() const { return m_db != nullptr; }
  const SimDatabase& db() const { return *m_db; }
  const SimOptions& options() const { return m_options; }

  // The fault plan's answer for `call`, if it has one.
  std::optional<HRESULT> fault(std::string_view call) const;
  // The answer of a call that did its work, as the fault plan may change it.
  HRESULT answer(std::string_view call, HRESULT result) const;

  // Queues a request's work; false after shutdown.
  bool submit(std::function<void()> task);
  void shutdown();

  // Takes a session slot; false when options().maxSessions are taken.
  bool acquireSession();
  void releaseSession();
  int openSessions() const { return m_sessions.load(); }

  enum class TokenState { Valid, Unknown, Expired, Lacking };
  TokenState checkToken(int32_t token, int32_t permission) const;
  // checkToken for the security object's permission check: a grant starts
  // the token's session lifetime when the server has one.
  TokenState checkPermission(int32_t token, int32_t permission);

  static int64_t nowSeconds();

private:
  SimOptions m_options;
  std::unique_ptr<SimDatabase> m_db;
  std::unique_ptr<DemoScanner> m_scanner;  // writes into m_db, so it goes first
  WorkerPool m_pool;
  std::atomic<int> m_sessions{0};

  void startScanner();
  bool endedByAdministrator(int32_t token) const;
  mutable std::mutex m_grantsMutex;
  std::unordered_map<int32_t, std::chrono::steady_clock::time_point> m_firstGrant;
};
