#include "sim/DemoSeeder.h"

#include "server/BlockCodec.h"
#include "server/INembraDataServer.h"
#include "sim/SimServer.h"
#include "sim/Statistics.h"

#include "SimTestUtil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>

using namespace simtest;

namespace {

constexpr int32_t kEnd = 1718445600;  // 2024-06-15 10:00 UTC, a Saturday

// FNV-1a over the times and level bits of every scan of every demo port.
uint64_t checksum(const SimDatabase& db) {
  uint64_t h = 1469598103934665603ULL;
  auto add = [&h](const void* p, size_t n) {
    for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const uint8_t*>(p)[i]) * 1099511628211ULL;
  };
  for (const PortRecord& p : DemoSeeder::ports()) {
    ScanSet s;
    EXPECT_TRUE(db.scans(p.node, INT32_MIN, INT64_MAX, p.frequencies.size(), s, nullptr));
    add(s.times.data(), s.times.size() * sizeof(int32_t));
    add(s.levels.data(), s.levels.size() * sizeof(float));
  }
  return h;
}

std::unique_ptr<SimDatabase> seeded(const std::string& path, int32_t end, int days) {
  std::string error;
  auto db = SimDatabase::open(path, &error);
  EXPECT_TRUE(db) << error;
  if (db) {
    EXPECT_TRUE(DemoSeeder(end, days).seed(*db, &error)) << error;
  }
  return db;
}

TEST(DemoSeeder, SameEndTimeGivesTheSameScansAndTheEndIsAQuarterHour) {
  TempDir dir;
  auto a = seeded(dir.file("a.db"), kEnd, 3);
  auto b = seeded(dir.file("b.db"), kEnd + 899, 3);  // the same quarter hour
  auto c = seeded(dir.file("c.db"), kEnd + 900, 3);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(checksum(*a), checksum(*b));
  EXPECT_NE(checksum(*a), checksum(*c));
  EXPECT_EQ(DemoSeeder(kEnd + 899).endTime(), kEnd);

  ScanSet last;
  ASSERT_TRUE(a->scans(DemoSeeder::kQuietNode, kEnd - 3 * 86400, kEnd + 86400, 241, last, nullptr));
  ASSERT_FALSE(last.times.empty());
  EXPECT_GE(last.times.front(), kEnd - 3 * 86400);
  EXPECT_LE(last.times.back(), kEnd - 900);
  // Reseeding replaces the content instead of adding to it.
  std::string error;
  ASSERT_TRUE(DemoSeeder(kEnd, 1).seed(*a, &error)) << error;
  EXPECT_LE(a->scanCount(DemoSeeder::kQuietNode), 96);
}

TEST(DemoSeeder, FixedAccountsAndPorts) {
  TempDir dir;
  auto db = seeded(dir.file("d.db"), kEnd, 1);
  ASSERT_TRUE(db);
  EXPECT_TRUE(db->userMatches("demo", "nembra-demo"));
  EXPECT_EQ(db->token(1001)->permissions & 0x40, 0x40);
  EXPECT_EQ(db->token(1002)->permissions & 0x40, 0);
  EXPECT_LT(db->token(1003)->expires, kEnd);
  EXPECT_GT(db->token(1001)->expires, int64_t{kEnd} + 10LL * 365 * 86400);
  const std::vector<std::pair<int32_t, size_t>> expected{{3, 241}, {7, 500}, {12, 100}};
  for (const auto& [node, size] : expected) {
    const auto p = db->port(node);
    ASSERT_TRUE(p) << node;
    EXPECT_EQ(p->label, "Port " + std::to_string(node));
    ASSERT_EQ(p->frequencies.size(), size);
    EXPECT_DOUBLE_EQ(p->frequencies.front(), 5.0);
    EXPECT_DOUBLE_EQ(p->frequencies.back(), 65.0);
    EXPECT_EQ(p->thresholdTable[0].inUse, 1);
    EXPECT_EQ(p->monitorVersion, 4);
  }
}

// A file seeded before ports had a version still opens, keeps its ports and
// reads version 0 for them; the column is there for the next seeding.
TEST(SimDatabaseFile, OlderPortsTableGainsTheVersionColumn) {
  TempDir dir;
  const std::string path = dir.file("old.db");
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    const char* old =
        "CREATE TABLE ports (node INTEGER PRIMARY KEY, label TEXT NOT NULL, "
        "level_unit INTEGER NOT NULL DEFAULT 0, frequencies BLOB NOT NULL, "
        "threshold1_name TEXT NOT NULL DEFAULT '', threshold2_name TEXT NOT NULL DEFAULT '', "
        "threshold3_name TEXT NOT NULL DEFAULT '', threshold4_name TEXT NOT NULL DEFAULT '', "
        "threshold1_level REAL NOT NULL DEFAULT 0, threshold2_level REAL NOT NULL DEFAULT 0, "
        "threshold3_level REAL NOT NULL DEFAULT 0, threshold4_level REAL NOT NULL DEFAULT 0, "
        "threshold_table BLOB);"
        "INSERT INTO ports(node, label, frequencies) VALUES(5, 'Old', x'0000000000002440');";
    ASSERT_EQ(sqlite3_exec(raw, old, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
  }
  for (int opening = 0; opening < 2; ++opening) {
    std::string error;
    auto db = SimDatabase::open(path, &error);
    ASSERT_TRUE(db) << error;
    const auto p = db->port(5);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->label, "Old");
    ASSERT_EQ(p->frequencies.size(), 1u);
    EXPECT_DOUBLE_EQ(p->frequencies[0], 10.0);
    EXPECT_EQ(p->monitorVersion, 0);
    PortRecord updated = *p;
    updated.monitorVersion = 0xFFFF;
    ASSERT_TRUE(db->putPort(updated, &error)) << error;
    EXPECT_EQ(db->port(5)->monitorVersion, 0xFFFF);
    updated.monitorVersion = 0;
    ASSERT_TRUE(db->putPort(updated, &error)) << error;
  }
}

// Over a week of demo data: the statistics behave like a return path.
class DemoWeek : public ::testing::Test {
protected:
  static void SetUpTestSuite() { s_db = seeded(s_dir.file("w.db"), kEnd, 7).release(); }
  static void TearDownTestSuite() {
    delete s_db;
    s_db = nullptr;
  }

  static std::vector<double> profile(int32_t node, int32_t from, int32_t to, int statistic) {
    const PortRecord port = *s_db->port(node);
    ScanSet scans;
    EXPECT_TRUE(s_db->scans(node, from, to, port.frequencies.size(), scans, nullptr));
    std::vector<double> out(port.frequencies.size());
    Statistics::profile(scans, 0, scans.size(), statistic, port.thresholdLevels, out);
    return out;
  }
  static double mean(const std::vector<double>& v, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += v[i];
    return sum / static_cast<double>(to - from);
  }

  static inline TempDir s_dir;
  static inline SimDatabase* s_db = nullptr;
};

TEST_F(DemoWeek, IngressIsWorseInTheEveningAndOnTheIngressPort) {
  const int32_t friday = kEnd - 10 * 3600 - 86400;  // Friday 00:00 UTC
  const auto evening = profile(7, friday + 19 * 3600, friday + 23 * 3600, Statistics::kAverage);
  const auto morning = profile(7, friday + 4 * 3600, friday + 8 * 3600, Statistics::kAverage);
  // Node 7's plan: index 0..82 lies below 15 MHz.
  EXPECT_GT(mean(evening, 0, 83), mean(morning, 0, 83) + 6.0);

  const int32_t week = kEnd - 7 * 86400;
  const auto heavy = profile(7, week, kEnd, Statistics::kBeyond2);
  const auto quiet = profile(3, week, kEnd, Statistics::kBeyond2);
  EXPECT_GT(mean(heavy, 0, 83), 20.0);
  EXPECT_LT(mean(quiet, 0, 40), mean(heavy, 0, 83) / 2);
  // Carriers sit far above the floor.
  const auto avg3 = profile(3, week, kEnd, Statistics::kAverage);
  EXPECT_GT(avg3[113], 25.0);  // 33.25 MHz
  EXPECT_LT(avg3[220], -4.0);  // 60 MHz
}

TEST_F(DemoWeek, HolesExist) {
  size_t missing = 0;
  for (const PortRecord& p : DemoSeeder::ports()) {
    ScanSet s;
    ASSERT_TRUE(s_db->scans(p.node, 0, INT32_MAX, p.frequencies.size(), s, nullptr));
    EXPECT_LT(s.size(), 7u * 96u) << p.node;  // some scans missed
    EXPECT_GT(s.size(), 7u * 96u * 8 / 10) << p.node;
    for (float v : s.levels) missing += std::isnan(v) ? 1 : 0;
  }
  EXPECT_GT(missing, 0u);
}

// The full demo: seeding time and the two large answers, printed for the
// record. The limits are loose enough for debug and sanitizer builds.
TEST(DemoFull, SeedsAndAnswersTheLargestRequestsQuickly) {
  TempDir dir;
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
  };
  const auto t0 = Clock::now();
  {
    auto db = seeded(dir.file("full.db"), kEnd, DemoSeeder::kDays);
    ASSERT_TRUE(db);
    EXPECT_GT(db->scanCount(7), 120 * 96 * 9 / 10);
  }
  const auto seeding = Clock::now() - t0;

  SimOptions options;
  options.dbPath = dir.file("full.db");
  SimServer server(options);
  std::string error;
  ASSERT_TRUE(server.open(&error)) << error;
  std::shared_ptr<INembraDataServer> d;
  ASSERT_EQ(server.createDataServer(d), hr::S_OK);
  ASSERT_EQ(d->OpenSession(DemoSeeder::kToken, DemoSeeder::kIngressNode), hr::S_OK);

  auto fetch = [&](auto start, auto read) {
    const auto began = Clock::now();
    int32_t handle = 0;
    EXPECT_EQ(start(&handle), hr::S_OK);
    int blocks = 0;
    for (;;) {
      EXPECT_EQ(untilReady([&] { return read(handle); }), hr::S_OK);
      ++blocks;
      if (d->NextBlock(&handle) != hr::S_OK) break;
    }
    EXPECT_EQ(d->EndRequest(), hr::S_OK);
    EXPECT_EQ(blocks, 97);
    return Clock::now() - began;
  };
  std::array<uint8_t, Blocks::kRibbonBlockSize> ribbon;
  std::array<uint8_t, Blocks::kDayBlockSize> day;
  const auto ribbons =
      fetch([&](int32_t* h) { return d->StartRibbonRequest(kEnd - 97 * 900, kEnd, 900, 4, h); },
            [&](int32_t h) { return d->ReadRibbonBlock(h, ribbon); });
  const int32_t lastDay = kEnd - kEnd % 86400;
  const auto days =
      fetch([&](int32_t* h) { return d->StartDayRequest(lastDay - 96 * 86400, lastDay, 0, 86400, 0, h); },
            [&](int32_t h) { return d->ReadDayBlock(h, day); });
  DayBlock first;
  ASSERT_EQ(BlockCodec::decode(day, first), BlockCodec::Status::Ok);
  EXPECT_EQ(first.entryCount, 500);

  std::printf("[ timing ] seeding 120 days: %lld ms; 97 ribbons x 500: %lld ms; 97 days x 500: %lld ms\n",
              static_cast<long long>(ms(seeding)), static_cast<long long>(ms(ribbons)),
              static_cast<long long>(ms(days)));
  EXPECT_LT(ms(seeding), 60000);
  EXPECT_LT(ms(ribbons), 3000);
  EXPECT_LT(ms(days), 5000);
}

}  // namespace
