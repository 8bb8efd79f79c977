#pragma once

#include "server/Blocks.h"
#include "server/HResult.h"
#include "sim/SimDatabase.h"
#include "sim/SimLog.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <limits>
#include <span>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace simtest {

constexpr float M = std::numeric_limits<float>::quiet_NaN();  // a missed sample

// A directory of its own per test, removed afterwards.
struct TempDir {
  QTemporaryDir dir;
  std::string file(const std::string& name) const {
    return dir.filePath(QString::fromStdString(name)).toStdString();
  }
};

// The small port every hand-computed case uses: three frequencies, limits
// at 0 and -5 (upper) and -20 and -30 (lower).
constexpr int32_t kNode = 5;
constexpr int32_t kT0 = 1699920000;  // 2023-11-14 00:00 UTC, a Tuesday
constexpr int32_t kToken = 11;       // may run the program
constexpr int32_t kTokenLacking = 12;
constexpr int32_t kTokenExpired = 13;

inline PortRecord tinyPort() {
  PortRecord p;
  p.node = kNode, p.label = "Tiny", p.frequencies = {10.0, 20.0, 30.0}, p.monitorVersion = 0x0203;
  p.thresholdNames = {"High 1", "High 2", "Low 3", "Low 4"};
  p.thresholdLevels = {0.0, -5.0, -20.0, -30.0};
  for (std::size_t i = 0; i < 3; ++i) {
    ThresholdEntry& e = p.thresholdTable[i];
    e.inUse = 1, e.frequency = 10.0 * static_cast<double>(i + 1), e.limitSet[0] = 1, e.limitLevel[0] = 0.0;
  }
  return p;
}

// Scans at T0 + 0, 15, 30, 45 and 60 minutes.
//   10 MHz: -10, -6, -, -2, -     average -6, max -2, min -10, 1 of 3 above -5
//   20 MHz: 5, -25, -3, -35, -22  average -16, max 5, min -35;
//           above 0: 20 %, above -5: 40 %, below -20: 60 %, below -30: 20 %
//   30 MHz: never measured
inline ScanSet tinyScanSet() {
  ScanSet s;
  s.width = 3;
  s.times = {kT0, kT0 + 900, kT0 + 1800, kT0 + 2700, kT0 + 3600};
  s.levels = {-10, 5, M, -6, -25, M, M, -3, M, -2, -35, M, M, -22, M};
  return s;
}

inline void fillTinyDatabase(SimDatabase& db) {
  std::string error;
  ASSERT_TRUE(db.putPort(tinyPort(), &error)) << error;
  ASSERT_TRUE(db.putUser("alice", "secret", &error)) << error;
  ASSERT_TRUE(db.putToken({kToken, "alice", 0x41, 4102444800}, &error)) << error;
  ASSERT_TRUE(db.putToken({kTokenLacking, "alice", 0x01, 4102444800}, &error)) << error;
  ASSERT_TRUE(db.putToken({kTokenExpired, "alice", 0x40, 1000}, &error)) << error;
  const ScanSet s = tinyScanSet();
  for (std::size_t i = 0; i < s.times.size(); ++i)
    ASSERT_TRUE(db.putScan(kNode, s.times[i], std::span(s.levels).subspan(3 * i, 3), &error)) << error;
}

// A block in one line, times from T0: has data, then the header fields the
// kind has, then each entry's value ("-" for no data) and frequency or time.
template <typename B>
std::string show(const B& b) {
  std::ostringstream s;
  s << b.hasData;
  if constexpr (requires { b.blockCount; })
    s << " n" << b.blockCount << " [" << b.periodStart - kT0 << "," << b.periodEnd - kT0 << ")";
  if constexpr (requires { b.windowStart; })
    s << " w" << b.windowStart << "-" << b.windowEnd << " v" << b.field28 << "/" << b.field30;
  if constexpr (requires { b.field24; }) s << " v" << b.field24 << "/" << b.field26;
  if constexpr (requires { b.labelTime; }) s << " @" << b.labelTime - kT0;
  s << ":";
  for (std::size_t i = 0; i < b.entryCount; ++i) {
    if (b.values[i] >= Blocks::NO_DATA)
      s << " -";
    else
      s << " " << b.values[i];
    if constexpr (requires { b.times; })
      s << "@" << static_cast<int64_t>(b.times[i]) - kT0;
    else
      s << "@" << b.frequencies[i];
  }
  return s.str();
}

// Repeats `call` while it answers "not ready", for about two seconds.
template <typename Call>
HRESULT untilReady(Call call) {
  HRESULT h = call();
  for (int i = 0; i < 2000 && h == hr::kNotReady; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    h = call();
  }
  return h;
}

}  // namespace simtest
