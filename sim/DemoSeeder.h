#pragma once

#include "sim/DemoSignal.h"
#include "sim/SimRecords.h"

#include <cstdint>
#include <string>
#include <vector>

class SimDatabase;

// Fills a database with the demo content: fixed accounts, three ports and
// scans every 15 minutes over the days before the end time. The same end
// time always gives the same database.
class DemoSeeder {
public:
  static constexpr int kDays = 120;
  static constexpr int32_t kScanInterval = 900;
  // The latest days hold no long outage, so the latest reports have data.
  static constexpr int32_t kQuietSpan = 2 * 86400;

  static constexpr const char* kUser = "demo";
  static constexpr const char* kPassword = "nembra-demo";
  static constexpr int32_t kToken = 1001;  // may run the program
  static constexpr int32_t kTokenWithoutPermission = 1002;
  static constexpr int32_t kExpiredToken = 1003;  // had the right; its session timed out
  static constexpr int32_t kQuietNode = 3;
  static constexpr int32_t kIngressNode = 7;
  static constexpr int32_t kSmallNode = 12;

  // `endTime` is rounded down to its quarter hour; the last scan is taken one
  // interval before it.
  explicit DemoSeeder(int32_t endTime, int days = kDays);

  // Replaces the whole content of `db`, in one transaction.
  bool seed(SimDatabase& db, std::string* error) const;

  int32_t endTime() const { return m_end; }
  int32_t firstScanTime() const { return m_end - m_days * 86400; }

  static std::vector<PortRecord> ports();
  static DemoSignal signal(const PortRecord& port);
  static int32_t quarterHourAt(int64_t unixSeconds);
  static int32_t currentQuarterHour();

private:
  int32_t m_end;
  int m_days;
};

// The command line's entry: seeds `db` with scans up to `endTime`.
bool seedDemo(SimDatabase& db, int32_t endTime, std::string* error);
