#include "sim/DemoScanner.h"

#include "sim/SimContext.h"
#include "sim/SimDatabase.h"
#include "sim/SimLog.h"

#include <algorithm>
#include <chrono>
#include <limits>

DemoScanner::DemoScanner(SimDatabase& db, int32_t interval) : m_db(db), m_interval(std::max(interval, 1)) {
  for (const PortRecord& demo : DemoSeeder::ports()) {
    auto port = m_db.port(demo.node);
    const auto newest = m_db.newestScan(demo.node);
    if (!port || !newest) continue;
    DemoSignal signal = DemoSeeder::signal(*port);
    m_ports.push_back({std::move(*port), std::move(signal), int64_t{*newest} + m_interval});
  }
}

DemoScanner::~DemoScanner() {
  stop();
}

int64_t DemoScanner::catchUp(int64_t now, std::string* error) {
  // Scan times are written as 32-bit seconds.
  now = std::min<int64_t>(now, std::numeric_limits<int32_t>::max());
  const auto quietFrom = static_cast<int32_t>(
      std::max<int64_t>(now - DemoSeeder::kQuietSpan, std::numeric_limits<int32_t>::min()));
  std::vector<int64_t> next;
  int64_t written = 0;
  SimDatabase::Transaction transaction(m_db);
  for (const Port& p : m_ports) {
    int64_t t = p.next;
    if (t <= now) {
      const int64_t due = (now - t) / m_interval + 1;
      if (due > kCatchUpScans) t += (due - kCatchUpScans) * m_interval;
    }
    std::vector<float> levels(p.record.frequencies.size());
    for (; t <= now; t += m_interval) {
      const auto time = static_cast<int32_t>(t);
      if (!p.signal.scan(time, quietFrom, levels)) continue;
      if (!m_db.putScan(p.record.node, time, levels, error)) return -1;
      ++written;
    }
    next.push_back(t);
  }
  if (written > 0 && !transaction.commit(error)) return -1;
  for (std::size_t i = 0; i < m_ports.size(); ++i) m_ports[i].next = next[i];
  return written;
}

void DemoScanner::start() {
  if (m_ports.empty() || m_thread.joinable()) return;
  m_thread = std::thread([this] { run(); });
}

void DemoScanner::stop() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void DemoScanner::run() {
  const auto stopping = [this] { return m_stopping; };
  std::unique_lock lock(m_mutex);
  while (!m_stopping) {
    int64_t due = std::numeric_limits<int64_t>::max();
    for (const Port& p : m_ports) due = std::min(due, p.next);
    if (due > std::numeric_limits<int32_t>::max()) break;
    const std::chrono::system_clock::time_point when{std::chrono::seconds(due)};
    if (m_wake.wait_until(lock, when, stopping)) break;
    lock.unlock();
    std::string error;
    const bool written = catchUp(SimContext::nowSeconds(), &error) >= 0;
    lock.lock();
    // A store held by another process is tried again a little later.
    if (!written) {
      SimLog::line("live scans failed: " + error);
      if (m_wake.wait_for(lock, std::chrono::seconds(5), stopping)) break;
    }
  }
}
