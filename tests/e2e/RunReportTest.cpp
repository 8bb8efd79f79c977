// Whole requests as the program makes them (stored identity, progress dialog,
// worker thread) against nembra-sim on loopback.
#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/CompareDialog.h"
#include "app/ConnectedSession.h"
#include "app/ServerSession.h"
#include "core/SettingsStore.h"
#include "core/ShellEvents.h"
#include "e2e/LoopbackSim.h"
#include "query/FetchJob.h"
#include "query/ProgressDialog.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "sim/SimDatabase.h"
#include "sim/Statistics.h"
#include "support/DemoDatabase.h"
#include "views/C3DReportView.h"
#include "views/ReportView.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace {

using namespace std::chrono_literals;

constexpr int32_t kEnd = 1796040000;  // 2026-11-30 12:00 UTC

class RunReportTest : public TempSettingsTest {
public:  // the case tables reach in
  void SetUp() override {
    TempSettingsTest::SetUp();
    writeIdentity(machineFile(), DemoSeeder::kUser, DemoSeeder::kPassword);
    QCoreApplication::processEvents();
    QObject::connect(&ShellEvents::instance(), &ShellEvents::closeRequested, &m_guard,
                     [this] { ++m_closes; });
  }

  // Starts the server and connects the session to it.
  bool connect(std::vector<std::string> rules = {}, int32_t node = DemoSeeder::kQuietNode) {
    SimOptions options;
    options.dbPath = seededDemoDatabase(kEnd, 6);
    if (!rules.empty()) options.faults = faults(rules);
    m_sim = std::make_unique<LoopbackSim>(options);
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

// A Cancel while the server stays busy is silent and quick; a server that
// dies mid-fetch is reported once and asks the window to close.
TEST_F(RunReportTest, CancelOrAServerThatDiesMidFetch) {
  const struct {
    const char* rule;
    int after;
    void (*act)(RunReportTest&);
    bool reported;
  } cases[] = {
      {"busy:StartRibbonRequest:100000", 300,
       [](RunReportTest& t) {
         if (auto* dlg = t.m_doc.progressDialog(TimeWindowDetail))
           dlg->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
       },
       false},
      {"delay:ReadRibbonBlock:200", 100, [](RunReportTest& t) { t.m_sim->host().shutdown(); }, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rule);
    ASSERT_TRUE(connect({c.rule}));
    QTimer::singleShot(c.after, [&] { c.act(*this); });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 3600, kEnd)));
    EXPECT_LT(std::chrono::steady_clock::now() - started, c.reported ? 20s : 3s);
    EXPECT_EQ(m_doc.lastFetch()->flags().cancelled.load(), !c.reported);
    EXPECT_EQ(m_prompts.texts.size(), c.reported ? 1 : 0) << shown();
    EXPECT_TRUE(!c.reported ||
                m_prompts.texts.value(0).startsWith(Strings::LoadString(Strings::IDS_ERR_COMMUNICATING)));
    EXPECT_EQ(closes(), c.reported ? 1 : 0);
  }
}

// One frame: a 24 Hour report, a Cancel and a request without data that both
// keep it, then a summary whose look is kept for the next start.
TEST_F(RunReportTest, NewGraphCommandShowsTheReportAndKeepsItOnCancelOrFailure) {
  ASSERT_TRUE(connect());
  {
    CMainFrame frame(m_doc, m_session);
    frame.show();
    const auto on = [&](int id) { return frame.action(id)->isEnabled(); };
    const auto newGraph = [&](std::optional<GraphQuery> q, QDialogButtonBox::StandardButton button) {
      if (q) frame.prefillNewGraph({*q, std::nullopt, true});
      answerNewGraph(&m_guard, button);
      frame.action(CommandIds::ID_GRAPH_NEW)->trigger();
    };
    GraphQuery day = request(TwentyFourHour, kEnd - 86400, kEnd);
    day.increment = Increment::k1Hour;
    newGraph(day, QDialogButtonBox::Ok);
    ASSERT_EQ(frame.currentQuery().graphType, TwentyFourHour) << shown();
    EXPECT_EQ(frame.windowTitle(), "Quillon - Port 3 24 Hour");
    // The chart is up: its commands work at once, not only once a menu opened.
    ASSERT_NE(frame.activeView(), nullptr);
    EXPECT_TRUE(on(CommandIds::ID_GRAPH_EXPORT));
    EXPECT_FALSE(on(CommandIds::ID_MARKER_AVERAGE));
    // The version the demo server's monitoring point writes into every block.
    EXPECT_EQ(frame.activeView()->statusText(), QStringLiteral("MP Ver: 4.X"));

    newGraph(std::nullopt, QDialogButtonBox::Cancel);  // after a report, Cancel changes nothing
    EXPECT_EQ(frame.currentQuery().graphType, TwentyFourHour);
    const int32_t before = kEnd - 30 * 86400;
    newGraph(request(TimeWindowDetail, before - 3600, before), QDialogButtonBox::Ok);
    EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_NO_DATA)});
    EXPECT_EQ(frame.currentQuery().graphType, TwentyFourHour);
    EXPECT_EQ(frame.windowTitle(), "Quillon - Port 3 24 Hour");
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.isVisible());

    m_prompts.texts.clear();
    frame.setThresholdNames({"Ingress Critical", "Ingress Major", "", ""});
    GraphQuery summary = request(TimeWindowSummary, kEnd - 86400, kEnd);
    summary.statistics = {1, 1, 0, 1, 0, 0, 0};
    newGraph(summary, QDialogButtonBox::Ok);
    ASSERT_EQ(frame.currentQuery().graphType, TimeWindowSummary) << shown();
    EXPECT_TRUE(on(CommandIds::ID_MARKER_AVERAGE));
    frame.close();
  }
  SettingsStore store;
  const RegistryKey key = store.sectionKey("Settings").subKey("TWSChart Properties");
  EXPECT_EQ(key.valueNames().size(), 194);
  EXPECT_EQ(key.readDword("CSG1_S1_LSColor"), 0x00D8D8);
}

// Compare With fetches the previous period through the report's own box and
// shows the difference; a Cancel, then a server that has gone, leave the
// report and its comparison as they were and the program running; New
// Graph starts without it; the shift chosen last is kept.
TEST_F(RunReportTest, ComparisonFetchesOrLeavesTheReportAsItWas) {
  ASSERT_TRUE(connect({"delay:ReadRibbonBlock:100"}));
  CMainFrame frame(m_doc, m_session);
  frame.show();
  using namespace CommandIds;
  const auto state = [&] {
    frame.updateCommands();
    std::string out;
    for (int id : {ID_GRAPH_COMPARE_WITH, ID_GRAPH_CLEAR_COMPARISON, ID_GRAPH_EXPORT_COMPARISON})
      out += frame.action(id)->isEnabled() ? '1' : '0';
    const auto* view = qobject_cast<C3DReportView*>(frame.activeView());
    return out + (view && view->compared() ? " compared" : "");
  };
  const auto compare = [&](int shift, std::function<void()> duringFetch = {}) {
    QTimer::singleShot(50, &m_guard, [shift] {
      auto* dialog = qobject_cast<CompareDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      dialog->findChild<QAbstractButton*>(QStringLiteral("compareShift%1").arg(shift))->click();
      dialog->findChild<QDialogButtonBox*>()->buttons().first()->click();
    });
    if (duringFetch) QTimer::singleShot(250, &m_guard, duringFetch);
    frame.action(ID_GRAPH_COMPARE_WITH)->trigger();
  };
  const GraphQuery detail = request(TimeWindowDetail, kEnd - 3600, kEnd);
  EXPECT_EQ(state(), "000");
  ASSERT_TRUE(m_doc.RunReport(detail));
  EXPECT_EQ(state(), "100");
  compare(CompareWindow::kPreviousPeriod);
  EXPECT_EQ(state(), "111 compared") << shown();
  EXPECT_EQ(m_doc.comparison().earlier.GetEnd(), CNBDateTime::FromSeconds(kEnd - 3600));
  compare(CompareWindow::kOneDay, [this] { m_doc.progressDialog(TimeWindowDetail)->reject(); });
  EXPECT_EQ(state(), "111 compared") << shown();
  EXPECT_EQ(m_doc.comparison().earlier.GetEnd(), CNBDateTime::FromSeconds(kEnd - 3600));
  EXPECT_EQ(CompareChoice::load(), CompareWindow::kOneDay);
  frame.prefillNewGraph({detail, std::nullopt, false});
  answerNewGraph(&m_guard, QDialogButtonBox::Ok);
  frame.action(ID_GRAPH_NEW)->trigger();
  EXPECT_EQ(state(), "100");
  compare(CompareWindow::kOneDay);
  EXPECT_EQ(state(), "111 compared") << shown();
  frame.action(ID_GRAPH_CLEAR_COMPARISON)->trigger();
  EXPECT_EQ(state(), "100");
  m_sim->host().shutdown();
  compare(CompareWindow::kPreviousPeriod);
  EXPECT_EQ(state(), "100");
  EXPECT_EQ(m_prompts.informatives, QStringList{Strings::LoadString(Strings::IDS_UI_COMPARE_FAILED)})
      << shown();
  EXPECT_EQ(closes(), 0);
}

TEST_F(RunReportTest, ReportsShowWhatTheScansHold) {
  constexpr int32_t node = DemoSeeder::kSmallNode;
  ASSERT_TRUE(connect({}, node));
  auto db = SimDatabase::open(seededDemoDatabase(kEnd, 6), nullptr);
  const auto port = db->port(node);
  // A shown value against the stored scans of [from, to), by the rule the
  // server's own tests pin; where no sample lies the chart fills the gap.
  const auto expectScans = [&](double shown, int column, int64_t from, int64_t to, int statistic) {
    ScanSet scans;
    ASSERT_TRUE(db->scans(node, from, to, port->frequencies.size(), scans, nullptr));
    const double want = Statistics::value(scans, 0, scans.size(), column, statistic, port->thresholdLevels);
    if (want >= Blocks::NO_DATA) return;
    EXPECT_NEAR(shown, want, 1e-6) << statistic << " at " << column << ", " << from;
  };

  // Time Window Detail, average, one hour: four ribbons.
  ASSERT_TRUE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 3600, kEnd))) << shown();
  const RibbonSet& ribbons = m_doc.ribbonSet(TimeWindowDetail);
  ASSERT_EQ(ribbons.ribbonCount, 4);
  ASSERT_GT(ribbons.entryCount(0), 0);
  for (int k = 0; k < 4; ++k)
    for (int c = 0; c < ribbons.entryCount(k); ++c)
      expectScans(ribbons.values(k)[c], c, ribbons.periodStart(k), ribbons.periodEnd(k), 0);

  // Multi-Day Time Window, % beyond threshold 1 on three evenings: day blocks.
  // Four evenings span three days and five hours: the latest three.
  const int32_t midnight = kEnd - kEnd % 86400;
  GraphQuery evenings =
      request(MultiDayTimeWindow, midnight - 4 * 86400 + 18 * 3600, midnight - 86400 + 23 * 3600);
  evenings.statisticIndex = 3;
  ASSERT_TRUE(m_doc.RunReport(evenings)) << shown();
  const RibbonSet& days = m_doc.ribbonSet(MultiDayTimeWindow);
  ASSERT_EQ(days.kind, RibbonSet::Kind::Day);
  ASSERT_EQ(days.ribbonCount, 3);
  EXPECT_TRUE(days.percent);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(days.periodEnd(k) - days.periodStart(k), 5 * 3600);
    for (int c = 0; c < days.entryCount(k); ++c)
      expectScans(days.values(k)[c], c, days.periodStart(k), days.periodEnd(k), 3);
  }

  // Time Window Summary, average and % beyond threshold 1, over a day.
  GraphQuery summary = request(TimeWindowSummary, kEnd - 86400, kEnd);
  summary.statistics = {1, 0, 0, 1, 0, 0, 0};
  ASSERT_TRUE(m_doc.RunReport(summary)) << shown();
  EXPECT_TRUE(m_doc.hasThresholdTable());
  ASSERT_EQ(m_doc.seriesStore().count, 2);
  for (const auto& series : {m_doc.seriesStore().series[0], m_doc.seriesStore().series[1]})
    for (int c = 0; c < series.entryCount; ++c)
      expectScans(series.values[c], c, kEnd - 86400, kEnd, series.statistic);

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
    expectScans(hourly.values[h], 0, hourly.times[h], hourly.times[h] + 3600, 1);
  }
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << shown();
}

}  // namespace
