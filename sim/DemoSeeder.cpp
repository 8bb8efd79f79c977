#include "sim/DemoSeeder.h"

#include "sim/SimContext.h"
#include "sim/SimDatabase.h"

namespace {

constexpr int64_t kFarFuture = 4102444800;  // 2100-01-01
constexpr int64_t kLongAgo = 946684800;     // 2000-01-01
constexpr int32_t kQuarter = 900;

std::vector<double> plan(int count) {
  std::vector<double> f;
  f.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) f.push_back(5.0 + 60.0 * i / (count - 1));
  return f;
}

PortRecord port(int32_t node, int frequencies) {
  PortRecord p;
  p.node = node;
  p.label = "Port " + std::to_string(node);
  p.frequencies = plan(frequencies);
  p.thresholdNames = {"Ingress Critical", "Ingress Major", "Signal Low", "Signal Lost"};
  p.thresholdLevels = {15.0, 5.0, -14.0, -20.0};
  p.monitorVersion = 4;
  // One table entry every 5 MHz, carrying the port's four limits: the two
  // ingress limits are upper limits (bit 1, in the entry's kind mask), the
  // two signal limits lower ones (bit 2).
  for (int i = 0; i <= 12; ++i) {
    ThresholdEntry& e = p.thresholdTable[static_cast<size_t>(i)];
    e.inUse = 1;
    e.kindMask = 1;
    e.frequency = 5.0 + 5.0 * i;
    for (int k = 0; k < kThresholdCount; ++k) {
      e.limitSet[static_cast<size_t>(k)] = k < 2 ? 1 : 2;
      e.limitLevel[static_cast<size_t>(k)] = p.thresholdLevels[static_cast<size_t>(k)];
    }
  }
  return p;
}

}  // namespace

DemoSeeder::DemoSeeder(int32_t endTime, int days) : m_end(quarterHourAt(endTime)), m_days(days) {}

int32_t DemoSeeder::quarterHourAt(int64_t unixSeconds) {
  const int64_t q = unixSeconds - (((unixSeconds % kQuarter) + kQuarter) % kQuarter);
  return static_cast<int32_t>(q);
}

int32_t DemoSeeder::currentQuarterHour() {
  return quarterHourAt(SimContext::nowSeconds());
}

std::vector<PortRecord> DemoSeeder::ports() {
  return {port(kQuietNode, 241), port(kIngressNode, 500), port(kSmallNode, 100)};
}

DemoSignal DemoSeeder::signal(const PortRecord& p) {
  DemoSignal::Profile profile;
  profile.node = p.node;
  switch (p.node) {
    case kIngressNode:
      profile.ingressDb = 38.0;
      profile.burstChance = 0.08;
      profile.carriers = {{25.0, 6.4, 33.0}, {38.0, 6.4, 31.0}, {44.4, 6.4, 28.0}};
      break;
    case kSmallNode:
      profile.floorDbmv = -11.0;
      profile.floorSpread = 1.6;
      profile.ingressDb = 10.0;
      profile.burstChance = 0.01;
      profile.carriers = {{35.0, 6.4, 25.0}, {57.0, 6.4, 35.0}};
      break;
    default: profile.carriers = {{33.2, 6.4, 30.0}, {39.6, 6.4, 28.0}, {53.0, 6.0, 26.0}}; break;
  }
  return DemoSignal(std::move(profile), p.frequencies);
}

bool DemoSeeder::seed(SimDatabase& db, std::string* error) const {
  SimDatabase::Transaction transaction(db);
  if (!db.clear(error) || !db.putUser(kUser, kPassword, error) ||
      !db.putToken({kToken, kUser, 0x40, kFarFuture}, error) ||
      !db.putToken({kTokenWithoutPermission, kUser, 0x01, kFarFuture}, error) ||
      !db.putToken({kExpiredToken, kUser, 0x40, kLongAgo}, error))
    return false;
  const int32_t quietFrom = m_end - kQuietSpan;
  for (const PortRecord& p : ports()) {
    if (!db.putPort(p, error)) return false;
    const DemoSignal s = signal(p);
    std::vector<float> levels(p.frequencies.size());
    for (int32_t t = firstScanTime(); t < m_end; t += kScanInterval)
      if (s.scan(t, quietFrom, levels) && !db.putScan(p.node, t, levels, error)) return false;
  }
  return transaction.commit(error);
}

bool seedDemo(SimDatabase& db, int32_t endTime, std::string* error) {
  return DemoSeeder(endTime).seed(db, error);
}
