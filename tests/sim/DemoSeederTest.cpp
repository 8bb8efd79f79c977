#include "sim/DemoScanner.h"
#include "sim/DemoSeeder.h"

#include "SimTestUtil.h"

#include <sqlite3.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

using namespace simtest;

namespace {

constexpr int32_t kEnd = 1718445600;  // 2024-06-15 10:00 UTC, a Saturday

// The times and level bits of every scan of every demo port in [from, to).
std::string allScans(const SimDatabase& db, int64_t from = INT32_MIN, int64_t to = INT64_MAX) {
  std::string bytes;
  for (const PortRecord& p : DemoSeeder::ports()) {
    ScanSet s;
    EXPECT_TRUE(db.scans(p.node, from, to, p.frequencies.size(), s, nullptr));
    bytes.append(reinterpret_cast<const char*>(s.times.data()), s.times.size() * sizeof(int32_t));
    bytes.append(reinterpret_cast<const char*>(s.levels.data()), s.levels.size() * sizeof(float));
  }
  return bytes;
}

std::unique_ptr<SimDatabase> seeded(const std::string& path, int32_t end, int days) {
  std::string error;
  auto db = SimDatabase::open(path, &error);
  EXPECT_TRUE(db && DemoSeeder(end, days).seed(*db, &error)) << error;
  return db;
}

TEST(DemoSeeder, SameEndTimeGivesTheSameScansAndTheEndIsAQuarterHour) {
  TempDir dir;
  auto a = seeded(dir.file("a.db"), kEnd, 3);
  auto b = seeded(dir.file("b.db"), kEnd + 899, 3);  // the same quarter hour
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(allScans(*a) == allScans(*b));  // not EXPECT_EQ: it would print megabytes
  EXPECT_EQ(DemoSeeder(kEnd + 899).endTime(), kEnd);

  // Three days before the end; some scans are missed, whole or in part, as on a real port.
  size_t scans = 0, missing = 0;
  for (const PortRecord& p : DemoSeeder::ports()) {
    ScanSet s;
    ASSERT_TRUE(a->scans(p.node, 0, INT32_MAX, p.frequencies.size(), s, nullptr));
    EXPECT_GT(s.size(), 3u * 96u * 8 / 10) << p.node;
    EXPECT_GE(s.times.front(), kEnd - 3 * 86400);
    EXPECT_LE(s.times.back(), kEnd - 900);
    scans += s.size();
    for (float v : s.levels) missing += std::isnan(v) ? 1 : 0;
  }
  EXPECT_LT(scans, 3u * 3u * 96u);
  EXPECT_GT(missing, 0u);
  // The granted and the lacking token are driven end to end; the expired one only here.
  EXPECT_LT(a->token(DemoSeeder::kExpiredToken)->expires, kEnd);
  // Reseeding replaces the content instead of adding to it.
  std::string error;
  ASSERT_TRUE(DemoSeeder(kEnd, 1).seed(*a, &error)) << error;
  EXPECT_LE(a->scanCount(DemoSeeder::kQuietNode), 96);
}

// Catching up writes what seeding up to that time would have, from each
// port's newest scan, at most a seeding's worth, and nothing twice.
TEST(DemoScanner, CatchesUpAsSeedingWouldFromTheNewestScan) {
  TempDir dir;
  auto live = seeded(dir.file("live.db"), kEnd, 1);
  auto later = seeded(dir.file("later.db"), kEnd + 6 * 3600, 1);
  ASSERT_TRUE(live && later);
  std::string error;
  DemoScanner scanner(*live, DemoSeeder::kScanInterval);
  EXPECT_EQ(scanner.catchUp(kEnd + 6 * 3600 - 1, &error), 3 * 24 - 2) << error;  // two of them missed
  EXPECT_TRUE(allScans(*live, kEnd - 900, kEnd + 6 * 3600) == allScans(*later, kEnd - 900, kEnd + 6 * 3600));
  EXPECT_EQ(scanner.catchUp(kEnd + 6 * 3600 - 1, &error), 0);
  // A scan is taken at its time; a year on, only the latest seeding's worth is caught up.
  const struct {
    int64_t now;
    int32_t newest;
    int64_t atMost;
  } cases[] = {{kEnd + 6 * 3600, kEnd + 6 * 3600, 1}, {kEnd + 365 * 86400 + 5, kEnd + 365 * 86400, 11520}};
  for (const auto& c : cases) {
    const int64_t before = live->scanCount(DemoSeeder::kSmallNode);
    ASSERT_GE(scanner.catchUp(c.now, &error), 0) << error;
    EXPECT_EQ(live->newestScan(DemoSeeder::kSmallNode), c.newest);
    EXPECT_LE(live->scanCount(DemoSeeder::kSmallNode) - before, c.atMost);
    EXPECT_GT(live->scanCount(DemoSeeder::kSmallNode) - before, c.atMost * 9 / 10);
  }
}

// On its own thread each scan is committed as its second comes, also when it
// is the only one due (one port left), and stop() ends the wait at once.
TEST(DemoScanner, ItsThreadCommitsEachScanAsItFallsDueAndStopsAtOnce) {
  TempDir dir;
  const auto now = static_cast<int32_t>(std::time(nullptr));
  auto db = seeded(dir.file("thread.db"), now, 1);
  ASSERT_TRUE(db);
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("thread.db").c_str(), &raw), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(raw, "DELETE FROM ports WHERE node != 12", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(raw);
  DemoScanner scanner(*db, 1);
  scanner.start();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (db->newestScan(DemoSeeder::kSmallNode).value_or(0) < now + 3 &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_GE(db->newestScan(DemoSeeder::kSmallNode).value_or(0), now + 3);
  const auto stopping = std::chrono::steady_clock::now();
  scanner.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::milliseconds(900));
}

// A file seeded before ports had a version still opens, keeps its ports and
// reads version 0 for them; the column is there for the next seeding.
TEST(SimDatabaseFile, OlderPortsTableGainsTheVersionColumn) {
  TempDir dir;
  const std::string path = dir.file("old.db");
  {
    auto db = SimDatabase::open(path, nullptr);
    ASSERT_TRUE(db && db->putPort(tinyPort(), nullptr));
  }
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(raw, "ALTER TABLE ports DROP COLUMN monitor_version", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(raw);
  for (uint16_t version : {uint16_t{0}, uint16_t{0xFFFF}}) {  // the second opening finds the column there
    auto db = SimDatabase::open(path, nullptr);
    ASSERT_TRUE(db);
    const auto p = db->port(kNode);
    ASSERT_TRUE(p);
    EXPECT_EQ(std::tuple(p->label, p->monitorVersion), std::tuple("Tiny", version));
    PortRecord updated = *p;
    updated.monitorVersion = 0xFFFF;
    ASSERT_TRUE(db->putPort(updated, nullptr));
  }
}

}  // namespace
