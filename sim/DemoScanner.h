#pragma once

#include "sim/DemoSeeder.h"
#include "sim/DemoSignal.h"
#include "sim/SimRecords.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class SimDatabase;

// The demo ports go on measuring while the server runs: each scan of the
// demo signal is written as the clock passes its time, so a report ending
// now finds data however long ago the store was seeded.
class DemoScanner {
public:
  // At most this many scans per port are caught up, the latest ones: one
  // seeding's worth at the demo's interval.
  static constexpr int64_t kCatchUpScans = int64_t{DemoSeeder::kDays} * 86400 / DemoSeeder::kScanInterval;

  // Follows the demo ports of `db` that hold scans, taking one every
  // `interval` seconds after each port's newest.
  DemoScanner(SimDatabase& db, int32_t interval);
  ~DemoScanner();  // stops
  DemoScanner(const DemoScanner&) = delete;
  DemoScanner& operator=(const DemoScanner&) = delete;

  // Writes every scan due at or before `now` in one transaction: the number
  // written, or -1 with the reason (nothing is then written).
  int64_t catchUp(int64_t now, std::string* error);

  // From now on catches up on a thread of its own as each scan falls due,
  // until stop(). The thread is the only caller of catchUp meanwhile.
  void start();
  void stop();

  bool following() const { return !m_ports.empty(); }

private:
  struct Port {
    PortRecord record;
    DemoSignal signal;
    int64_t next;  // time of its next scan
  };
  void run();

  SimDatabase& m_db;
  const int32_t m_interval;
  std::vector<Port> m_ports;

  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopping = false;
  std::thread m_thread;
};
