// The fetch of the program against nembra-sim on loopback where the data
// runs out: steps without scans, and scans that arrive while it serves.
#include "app/COrbiskDoc.h"
#include "app/ConnectedSession.h"
#include "app/ServerSession.h"
#include "e2e/LoopbackSim.h"
#include "resources/Strings.h"
#include "sim/SimContext.h"
#include "support/DemoDatabase.h"

#include <QTemporaryDir>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr int32_t kEnd = 1796040000;  // 2026-11-30 12:00 UTC; the binary's demo database ends here
constexpr int32_t kDay = 86400;

class LiveSimTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    writeIdentity(machineFile(), DemoSeeder::kUser, DemoSeeder::kPassword);
    m_doc.setPacing(FetchPacing{20ms, 5ms, {}});
  }

  bool connect(const std::string& db, int32_t scanInterval = 0) {
    SimOptions options;
    options.dbPath = db;
    options.scanInterval = scanInterval;
    m_sim = std::make_unique<LoopbackSim>(options);
    return m_session.Connect(DemoSeeder::kQuietNode, ServerSession::kCommandLineDataClass,
                             QString::fromStdString(m_sim->address()), DemoSeeder::kToken, "Port 3");
  }

  static GraphQuery request(int type, int64_t start, int64_t end) {
    GraphQuery q;
    q.graphType = type;
    q.SetStart(CNBDateTime::FromSeconds(static_cast<int32_t>(start)));
    q.SetEnd(CNBDateTime::FromSeconds(static_cast<int32_t>(end)));
    q.increment = type == OneFreqTimeWindow ? Increment::k1Hour : Increment::k15Min;
    return q;
  }

  // Which steps of the answer hold a value, oldest first: "d" data, "-" none.
  std::string steps(int type) const {
    std::string out;
    const auto mark = [&](const double* values, int n) {
      out += std::any_of(values, values + n, [](double v) { return v < Blocks::NO_DATA; }) ? 'd' : '-';
    };
    if (type == TimeWindowSummary) {
      mark(m_doc.seriesStore().series[0].values.data(), m_doc.seriesStore().series[0].entryCount);
    } else if (type == OneFreqTimeWindow) {
      const auto& s = m_doc.seriesStore().series[0];
      for (int k = 0; k < s.entryCount; ++k) mark(&s.values[k], 1);
    } else {
      const RibbonSet& r = m_doc.ribbonSet(type);
      for (int k = 0; k < r.ribbonCount; ++k) mark(r.values(k).data(), r.entryCount(k));
    }
    return out;
  }
  std::string shown() const { return m_prompts.texts.join('|').toStdString(); }

  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  std::unique_ptr<LoopbackSim> m_sim;
  ServerSession m_session;
  COrbiskDoc m_doc{m_session};
};

// An answer has data when any of its steps holds a scan, whichever step that
// is; only an answer without any scan is refused.
TEST_F(LiveSimTest, AnAnswerWithAnyScanHasData) {
  ASSERT_TRUE(connect(seededDemoDatabase(kEnd, 6)));
  const int32_t first = kEnd - 6 * kDay, midnight = kEnd - kEnd % kDay, past = kEnd - 30 * kDay;
  const struct {
    const char* what;
    GraphQuery query;
    const char* steps;  // "" when refused with "No data ..."
  } cases[] = {
      // Up to the second, five minutes after the last scan: one step more.
      {"newest step empty", request(TimeWindowDetail, kEnd + 300 - 3600, kEnd + 300), "dddd-"},
      {"oldest step empty", request(TimeWindowDetail, first - 900, first + 2700), "-ddd"},
      {"today's and tomorrow's evenings to come",
       request(MultiDayTimeWindow, midnight - 2 * kDay + 18 * 3600, midnight + kDay + 23 * 3600), "d--"},
      {"summary of a window half to come", request(TimeWindowSummary, kEnd - 1800, kEnd + 1800), "d"},
      {"hours to come", request(OneFreqTimeWindow, kEnd - 2 * 3600, kEnd + 2 * 3600), "dd--"},
      {"every step empty", request(TimeWindowDetail, past - 3600, past), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    m_prompts.texts.clear();
    const bool ok = m_doc.RunReport(c.query);
    EXPECT_EQ(ok, *c.steps != '\0') << shown();
    EXPECT_EQ(ok ? steps(c.query.graphType) : "", c.steps);
    EXPECT_EQ(m_prompts.texts, ok ? QStringList() : QStringList{Strings::LoadString(Strings::IDS_NO_DATA)});
  }
}

// A store seeded an hour ago is caught up at start; then each scan arrives as
// the clock passes its time.
TEST_F(LiveSimTest, ScansArriveAsTheClockPassesThem) {
  QTemporaryDir dir;
  const std::string db = dir.filePath("live.db").toStdString();
  {
    auto seeded = SimDatabase::open(db, nullptr);
    ASSERT_TRUE(seeded &&
                DemoSeeder(static_cast<int32_t>(SimContext::nowSeconds() - 3600), 1).seed(*seeded, nullptr));
  }
  ASSERT_TRUE(connect(db, DemoSeeder::kScanInterval));
  const int64_t now = SimContext::nowSeconds();
  EXPECT_TRUE(m_doc.RunReport(request(TimeWindowDetail, now - 3600, now))) << shown();

  ASSERT_TRUE(connect(db, 1));
  const int64_t soon = SimContext::nowSeconds() + 3;
  const GraphQuery ahead = request(TimeWindowSummary, soon, soon + 3600);
  EXPECT_FALSE(m_doc.RunReport(ahead));
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_NO_DATA)});
  std::this_thread::sleep_until(std::chrono::system_clock::time_point(std::chrono::seconds(soon + 2)));
  EXPECT_TRUE(m_doc.RunReport(ahead)) << shown();
  EXPECT_EQ(steps(TimeWindowSummary), "d");
}

}  // namespace
