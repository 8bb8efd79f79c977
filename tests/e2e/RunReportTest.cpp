// Whole requests as the program makes them: a session with the stored demo
// identity, RunReport with its progress dialog (offscreen) and worker thread,
// against nembra-sim on loopback.
#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/ShellEvents.h"
#include "e2e/LoopbackSim.h"
#include "query/CORBPropertiesDlg.h"
#include "query/FetchJob.h"
#include "query/ProgressDialog.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "sim/SimDatabase.h"
#include "support/DemoDatabase.h"
#include "support/RecordingPrompts.h"
#include "views/ReportView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace {

using namespace std::chrono_literals;

constexpr int32_t kEnd = 1796040000;  // 2026-11-30 12:00 UTC

std::string databasePath() {
  return seededDemoDatabase(kEnd, 6);
}

class RunReportTest : public DemoIdentityTest {
protected:
  void SetUp() override {
    DemoIdentityTest::SetUp();
    QCoreApplication::processEvents();
    QObject::connect(&ShellEvents::instance(), &ShellEvents::closeRequested, &m_guard,
                     [this] { ++m_closes; });
  }

  void startSim(std::vector<std::string> rules = {}) {
    SimOptions options;
    options.dbPath = databasePath();
    if (!rules.empty()) options.faults = faults(rules);
    m_sim = std::make_unique<LoopbackSim>(options);
  }

  bool connect(int32_t node = DemoSeeder::kQuietNode) {
    m_doc.setPacing(FetchPacing{20ms, 5ms, {}});
    return m_session.Connect(node, ServerSession::kCommandLineDataClass,
                             QString::fromStdString(m_sim->address()), DemoSeeder::kToken, "Port 3");
  }

  static GraphQuery request(int type, int32_t start, int32_t end) {
    GraphQuery q;
    q.graphType = type;
    q.SetStart(CNBDateTime::FromSeconds(start));
    q.SetEnd(CNBDateTime::FromSeconds(end));
    return q;
  }

  int closes() {
    QCoreApplication::processEvents();
    return m_closes;
  }
  std::string shown() const { return m_prompts.texts.join('|').toStdString(); }

  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  QObject m_guard;
  int m_closes = 0;
  std::unique_ptr<LoopbackSim> m_sim;
  ServerSession m_session;
  COrbiskDoc m_doc{m_session};
};

TEST_F(RunReportTest, CancelWhileTheServerStaysBusy) {
  startSim({"busy:StartRibbonRequest:100000"});
  ASSERT_TRUE(connect());
  QTimer::singleShot(300, [this] {
    if (auto* dlg = m_doc.progressDialog(TimeWindowDetail))
      dlg->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
  });
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 3600, kEnd)));
  EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  EXPECT_TRUE(m_doc.lastFetch()->flags().cancelled.load());
  EXPECT_EQ(closes(), 0);
}

TEST_F(RunReportTest, ServerThatDiesMidFetchIsReported) {
  startSim({"delay:ReadRibbonBlock:200"});
  ASSERT_TRUE(connect());
  QTimer::singleShot(100, [this] { m_sim->host().shutdown(); });
  EXPECT_FALSE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 86400, kEnd)));
  ASSERT_EQ(m_prompts.texts.size(), 1);
  EXPECT_TRUE(m_prompts.texts[0].startsWith(Strings::LoadString(Strings::IDS_ERR_COMMUNICATING))) << shown();
  EXPECT_EQ(closes(), 1);
}

// Presses a button of the New Graph dialog once it is up; a dialog that
// refuses OK is cancelled so that a failing test cannot hang.
void pressNewGraph(QDialogButtonBox::StandardButton which) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, which, tries = 0]() mutable {
    auto* dlg = qobject_cast<CORBPropertiesDlg*>(QApplication::activeModalWidget());
    if (!dlg || !dlg->isVisible()) {
      if (++tries > 500) poll->deleteLater();
      return;
    }
    dlg->findChild<QDialogButtonBox*>()->button(which)->click();
    if (dlg->isVisible()) dlg->reject();
    poll->deleteLater();
  });
  poll->start(10);
}

TEST_F(RunReportTest, NewGraphCommandShowsTheReportAndKeepsItOnCancelOrFailure) {
  startSim();
  ASSERT_TRUE(connect());
  CMainFrame frame(m_doc, m_session);
  frame.show();
  QAction* newGraph = frame.action(CommandIds::ID_GRAPH_NEW);

  GraphQuery day = request(TwentyFourHour, kEnd - 86400, kEnd);
  day.increment = Increment::k1Hour;
  frame.prefillNewGraph({day, std::nullopt, true, false});
  pressNewGraph(QDialogButtonBox::Ok);
  newGraph->trigger();
  ASSERT_EQ(frame.currentQuery().graphType, TwentyFourHour) << shown();
  EXPECT_EQ(frame.windowTitle(), "Quillon - Port 3 24 Hour");
  EXPECT_TRUE(frame.action(CommandIds::ID_GRAPH_EXPORT)->isEnabled());
  // The chart is up: its commands work at once, not only once a menu opened.
  ASSERT_NE(frame.activeView(), nullptr);
  for (int id : {CommandIds::ID_VIEW_ZOOM_IN, CommandIds::ID_GRAPH_COPY})
    EXPECT_TRUE(frame.action(id)->isEnabled()) << id;
  EXPECT_FALSE(frame.action(CommandIds::ID_MARKER_AVERAGE)->isEnabled());
  // The version the demo server's monitoring point writes into every block.
  EXPECT_EQ(frame.activeView()->statusText(), QStringLiteral("MP Ver: 4.X"));

  pressNewGraph(QDialogButtonBox::Cancel);  // after a report, Cancel changes nothing
  newGraph->trigger();
  EXPECT_EQ(frame.currentQuery().graphType, TwentyFourHour);
  EXPECT_TRUE(frame.isVisible());

  // A request that finds no data leaves the previous request and report.
  const int32_t before = kEnd - 30 * 86400;
  frame.prefillNewGraph({request(TimeWindowDetail, before - 3600, before), std::nullopt, true, false});
  pressNewGraph(QDialogButtonBox::Ok);
  newGraph->trigger();
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_NO_DATA)});
  EXPECT_EQ(frame.currentQuery().graphType, TwentyFourHour);
  EXPECT_EQ(frame.windowTitle(), "Quillon - Port 3 24 Hour");
  QCoreApplication::processEvents();
  EXPECT_TRUE(frame.isVisible());
}

TEST_F(RunReportTest, SummaryReportDrawsWithItsCommandsOnAtOnceAndKeepsItsLook) {
  startSim();
  ASSERT_TRUE(connect());
  {
    CMainFrame frame(m_doc, m_session);
    frame.show();
    frame.setThresholdNames({"Ingress Critical", "Ingress Major", "", ""});
    GraphQuery summary = request(TimeWindowSummary, kEnd - 86400, kEnd);
    summary.statistics = {1, 1, 0, 1, 0, 0, 0};
    frame.prefillNewGraph({summary, std::nullopt, true, false});
    pressNewGraph(QDialogButtonBox::Ok);
    frame.action(CommandIds::ID_GRAPH_NEW)->trigger();
    ASSERT_EQ(frame.currentQuery().graphType, TimeWindowSummary) << shown();
    ASSERT_TRUE(frame.activeView());
    // Right as the report appears, before any menu opened.
    const auto on = [&](int id) { return frame.action(id)->isEnabled(); };
    EXPECT_TRUE(on(CommandIds::ID_MARKER_AVERAGE));
    EXPECT_FALSE(on(CommandIds::ID_MARKER_MINIMUM));
    EXPECT_FALSE(on(CommandIds::ID_MARKER_DELTA));
    frame.action(CommandIds::ID_MARKER_MAXIMUM)->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.action(CommandIds::ID_MARKER_MAXIMUM)->isChecked());
    EXPECT_TRUE(on(CommandIds::ID_MARKER_DELTA));
    frame.close();
  }
  SettingsStore store;
  const RegistryKey key = store.sectionKey("Settings").subKey("TWSChart Properties");
  EXPECT_EQ(key.valueNames().size(), 194);
  EXPECT_EQ(key.readDword("CSG1_S1_LSColor"), 0x00D8D8);
}

// The statistic of one frequency column over [from, to), computed here
// straight from the stored scans; NaN where the period holds no sample.
double fromScans(int32_t node, std::size_t column, int64_t from, int64_t to, int statistic) {
  std::string error;
  auto db = SimDatabase::open(databasePath(), &error);
  const auto port = db->port(node);
  ScanSet scans;
  EXPECT_TRUE(db->scans(node, from, to, port->frequencies.size(), scans, &error)) << error;
  double sum = 0.0, beyond = 0.0, maximum = -1e9;
  int present = 0;
  for (std::size_t i = 0; i < scans.size(); ++i) {
    const float v = scans.row(i)[column];
    if (std::isnan(v)) continue;
    ++present;
    sum += v;
    maximum = std::max(maximum, double(v));
    if (statistic >= 3) {
      const double limit = port->thresholdLevels[statistic - 3];
      beyond += (statistic <= 4 ? v > limit : v < limit) ? 1.0 : 0.0;
    }
  }
  if (present == 0) return std::nan("");
  return statistic == 0 ? sum / present : statistic == 1 ? maximum : 100.0 * beyond / present;
}

void expectFromScans(double shown, double want, const std::string& where) {
  if (std::isnan(want)) return;  // no sample: the report shows a filled gap
  EXPECT_NEAR(shown, want, 1e-6) << where;
}

TEST_F(RunReportTest, ReportsShowWhatTheScansHold) {
  constexpr int32_t node = DemoSeeder::kSmallNode;
  startSim();
  ASSERT_TRUE(connect(node));

  // Time Window Detail, average, one hour: four ribbons.
  ASSERT_TRUE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 3600, kEnd))) << shown();
  const RibbonSet& ribbons = m_doc.ribbonSet(TimeWindowDetail);
  ASSERT_EQ(ribbons.ribbonCount, 4);
  for (int k = 0; k < 4; ++k) {
    ASSERT_GT(ribbons.entryCount(k), 0);
    for (int c = 0; c < ribbons.entryCount(k); ++c)
      expectFromScans(ribbons.values(k)[c],
                      fromScans(node, c, ribbons.periodStart(k), ribbons.periodEnd(k), 0),
                      "ribbon " + std::to_string(k) + " column " + std::to_string(c));
  }

  // Multi-Day Time Window, % beyond threshold 1 on three evenings: day blocks.
  const int32_t midnight = kEnd - kEnd % 86400;
  GraphQuery evenings =
      request(MultiDayTimeWindow, midnight - 3 * 86400 + 18 * 3600, midnight - 86400 + 23 * 3600);
  evenings.statisticIndex = 3;
  ASSERT_TRUE(m_doc.RunReport(evenings)) << shown();
  const RibbonSet& days = m_doc.ribbonSet(MultiDayTimeWindow);
  ASSERT_EQ(days.kind, RibbonSet::Kind::Day);
  ASSERT_EQ(days.ribbonCount, 3);
  EXPECT_TRUE(days.percent);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(days.periodEnd(k) - days.periodStart(k), 5 * 3600);
    for (int c = 0; c < days.entryCount(k); ++c)
      expectFromScans(days.values(k)[c], fromScans(node, c, days.periodStart(k), days.periodEnd(k), 3),
                      "evening " + std::to_string(k) + " column " + std::to_string(c));
  }

  // Time Window Summary, average and % beyond threshold 1, over a day.
  GraphQuery summary = request(TimeWindowSummary, kEnd - 86400, kEnd);
  summary.statistics = {1, 0, 0, 1, 0, 0, 0};
  ASSERT_TRUE(m_doc.RunReport(summary)) << shown();
  EXPECT_TRUE(m_doc.hasThresholdTable());
  ASSERT_EQ(m_doc.seriesStore().count, 2);
  for (const auto& series : {m_doc.seriesStore().series[0], m_doc.seriesStore().series[1]}) {
    ASSERT_GT(series.entryCount, 0);
    for (int c = 0; c < series.entryCount; ++c)
      expectFromScans(series.values[c], fromScans(node, c, kEnd - 86400, kEnd, series.statistic),
                      "statistic " + std::to_string(series.statistic) + " column " + std::to_string(c));
  }

  // One Frequency Time Window, maximum per hour at the plan's first frequency.
  GraphQuery single = request(OneFreqTimeWindow, kEnd - 6 * 3600, kEnd);
  single.increment = Increment::k1Hour;
  single.frequency = 5.0;
  single.statistics = {0, 1, 0, 0, 0, 0, 0};
  ASSERT_TRUE(m_doc.RunReport(single)) << shown();
  const auto& hourly = m_doc.seriesStore().series[0];
  ASSERT_EQ(hourly.entryCount, 6);
  for (int h = 0; h < 6; ++h) {
    EXPECT_EQ(hourly.times[h], uint32_t(kEnd - 6 * 3600 + h * 3600));
    expectFromScans(hourly.values[h], fromScans(node, 0, hourly.times[h], hourly.times[h] + 3600, 1),
                    "hour " + std::to_string(h));
  }
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << shown();
}

}  // namespace
