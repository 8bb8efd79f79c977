// Whole requests as the program makes them: a session with the stored demo
// identity, RunReport with its progress dialog (offscreen) and worker thread,
// against nembra-sim on loopback.
#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "core/ShellEvents.h"
#include "query/CORBPropertiesDlg.h"
#include "query/FetchJob.h"
#include "query/FrequencySeriesCsvWriter.h"
#include "query/ProgressDialog.h"
#include "query/RibbonCsvWriter.h"
#include "query/SummaryCsvWriter.h"
#include "resources/CommandIds.h"
#include "resources/Strings.h"
#include "server/ServerIds.h"
#include "sim/DemoSeeder.h"
#include "sim/FaultPlan.h"
#include "sim/SimDatabase.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"
#include "support/DemoDatabase.h"
#include "support/RecordingPrompts.h"
#include "support/TempSettings.h"
#include "views/ReportView.h"

#include <unistd.h>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <filesystem>

namespace {

using namespace std::chrono_literals;

constexpr int32_t kEnd = 1796040000;  // 2026-11-30 12:00 UTC
constexpr int kDays = 6;

std::string databasePath() {
  return seededDemoDatabase(kEnd, kDays);
}

CNBDateTime at(int32_t seconds) {
  return CNBDateTime::FromSeconds(seconds);
}

class RunReportTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    SimLog::setEnabled(false);
    QSettings machine(machineFile(), QSettings::IniFormat);
    machine.setValue("Client/ServerInfo/Extra1",
                     QString::fromLatin1(ScrambleIdentity(DemoSeeder::kUser).c_str()));
    machine.setValue("Client/ServerInfo/Extra2",
                     QString::fromLatin1(ScrambleIdentity(DemoSeeder::kPassword).c_str()));
    machine.sync();
    QCoreApplication::processEvents();
    QObject::connect(&ShellEvents::instance(), &ShellEvents::closeRequested, &m_guard,
                     [this] { ++m_closes; });
  }

  void startSim(std::vector<std::string> faults = {}) {
    SimOptions options;
    options.dbPath = databasePath();
    std::string error;
    if (!faults.empty()) options.faults = std::make_shared<FaultPlan>(*FaultPlan::parse(faults, &error));
    m_sim = std::make_unique<SimServer>(options);
    ASSERT_TRUE(m_sim->open(&error)) << error;
    m_host = std::make_unique<SimHost>(*m_sim, ServiceOptions{});
    ASSERT_TRUE(m_host->start("127.0.0.1:0", &error)) << error;
  }

  bool connect(int32_t token = DemoSeeder::kToken, int32_t node = DemoSeeder::kQuietNode) {
    m_doc.setPacing(FetchPacing{20ms, 5ms, {}});
    return m_session.Connect(node, ServerSession::kCommandLineDataClass,
                             QStringLiteral("127.0.0.1:%1").arg(m_host->port()), token, "Port 3");
  }

  static GraphQuery request(int type, int32_t start, int32_t end) {
    GraphQuery q;
    q.graphType = type;
    q.SetStart(at(start));
    q.SetEnd(at(end));
    return q;
  }

  int closes() {
    QCoreApplication::processEvents();
    return m_closes;
  }

  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  QObject m_guard;
  int m_closes = 0;
  std::unique_ptr<SimServer> m_sim;
  std::unique_ptr<SimHost> m_host;
  ServerSession m_session;
  COrbiskDoc m_doc{m_session};
};

TEST_F(RunReportTest, EveryReportTypeFetchesData) {
  startSim();
  ASSERT_TRUE(connect());
  int ready = -1;
  QObject::connect(&m_doc, &COrbiskDoc::reportReady, &m_guard, [&](int type) { ready = type; });

  // Time Window Detail: 24 hours of 15-minute ribbons.
  GraphQuery detail = request(TimeWindowDetail, kEnd - 86400, kEnd);
  ASSERT_TRUE(m_doc.RunReport(detail)) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(ready, TimeWindowDetail);
  const RibbonSet& ribbons = m_doc.ribbonSet(TimeWindowDetail);
  EXPECT_EQ(ribbons.ribbonCount, 96);
  EXPECT_EQ(ribbons.frequencyCount, 241);
  EXPECT_EQ(ribbons.periodEnd(95), kEnd);
  EXPECT_EQ(ribbons.periodStart(0), kEnd - 86400);
  EXPECT_FALSE(ribbons.startLabels.at(0).isEmpty());
  EXPECT_EQ(m_doc.lastFetch()->flags().steps.load(), 96);

  // 24 Hour: one day of hourly ribbons.
  GraphQuery day = request(TwentyFourHour, kEnd - 86400, kEnd);
  day.increment = Increment::k1Hour;
  ASSERT_TRUE(m_doc.RunReport(day)) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(m_doc.ribbonSet(TwentyFourHour).ribbonCount, 24);

  // Multi-Day from midnight to midnight: four whole days; Multi-Day Time
  // Window: four evenings.
  const int32_t midnight = kEnd - kEnd % 86400;
  ASSERT_TRUE(m_doc.RunReport(request(MultiDay, midnight - 4 * 86400, midnight)));
  EXPECT_EQ(m_doc.ribbonSet(MultiDay).kind, RibbonSet::Kind::Day);
  EXPECT_EQ(m_doc.ribbonSet(MultiDay).ribbonCount, 4);
  GraphQuery evenings =
      request(MultiDayTimeWindow, midnight - 4 * 86400 + 18 * 3600, midnight - 86400 + 23 * 3600);
  evenings.statisticIndex = 3;
  ASSERT_TRUE(m_doc.RunReport(evenings)) << m_prompts.texts.join('|').toStdString();
  EXPECT_TRUE(m_doc.lastFetch()->flags().percent.load());
  EXPECT_EQ(m_doc.ribbonSet(MultiDayTimeWindow).ribbonCount, 4);

  // Time Window Summary with three statistics, and the port's thresholds.
  GraphQuery summary = request(TimeWindowSummary, kEnd - 86400, kEnd);
  summary.statistics = {1, 0, 1, 0, 1, 0, 0};
  ASSERT_TRUE(m_doc.RunReport(summary)) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(m_doc.seriesStore().count, 3);
  EXPECT_EQ(m_doc.seriesStore().series[2].statistic, 4);
  EXPECT_TRUE(m_doc.hasThresholdTable());

  // One Frequency Time Window at 20 MHz, hourly.
  GraphQuery single = request(OneFreqTimeWindow, kEnd - 86400, kEnd);
  single.increment = Increment::k1Hour;
  single.frequency = 20.0;
  single.statistics = {1, 1, 0, 0, 0, 0, 0};
  ASSERT_TRUE(m_doc.RunReport(single)) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(m_doc.seriesStore().count, 2);
  EXPECT_EQ(m_doc.seriesStore().series[0].entryCount, 24);

  EXPECT_TRUE(m_prompts.texts.isEmpty()) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(closes(), 0);
}

TEST_F(RunReportTest, RefusedPermissionEndsTheProgram) {
  startSim();
  ASSERT_TRUE(connect(DemoSeeder::kTokenWithoutPermission));  // a known token opens a session
  EXPECT_FALSE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 3600, kEnd)));
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_NO_PERMISSION)});
  EXPECT_EQ(closes(), 1);
  EXPECT_EQ(m_doc.progressDialog(TimeWindowDetail), nullptr);  // nothing was fetched
}

TEST_F(RunReportTest, NoDataIsShownOnceAndKeepsThePreviousReport) {
  startSim();
  ASSERT_TRUE(connect());
  ASSERT_TRUE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 3600, kEnd)));
  ASSERT_EQ(m_doc.ribbonSet(TimeWindowDetail).ribbonCount, 4);
  const int32_t before = kEnd - 30 * 86400;  // long before the demo data
  EXPECT_FALSE(m_doc.RunReport(request(TimeWindowDetail, before - 3600, before)));
  EXPECT_EQ(m_prompts.texts, QStringList{Strings::LoadString(Strings::IDS_NO_DATA)});
  EXPECT_EQ(m_doc.ribbonSet(TimeWindowDetail).ribbonCount, 4);
  EXPECT_EQ(closes(), 0);  // not a server failure
}

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
  QTimer::singleShot(100, [this] { m_host->shutdown(); });
  EXPECT_FALSE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 86400, kEnd)));
  ASSERT_EQ(m_prompts.texts.size(), 1);
  EXPECT_TRUE(m_prompts.texts[0].startsWith(Strings::LoadString(Strings::IDS_ERR_COMMUNICATING)))
      << m_prompts.texts[0].toStdString();
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
  ASSERT_EQ(frame.currentQuery().graphType, TwentyFourHour) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(frame.windowTitle(), "Quillon - Port 3 24 Hour");
  EXPECT_TRUE(frame.action(CommandIds::ID_GRAPH_EXPORT)->isEnabled());
  // The chart is up: its commands work at once, not only once a menu opened.
  ASSERT_NE(frame.activeView(), nullptr);
  for (int id : {CommandIds::ID_VIEW_ZOOM_IN, CommandIds::ID_VIEW_ROTATE_LEFT,
                 CommandIds::ID_VIEW_RESET_ORIENTATION, CommandIds::ID_VIEW_AUTO_REFERENCE,
                 CommandIds::ID_GRAPH_COPY, CommandIds::ID_VIEW_RESET_CHART_PROPERTIES})
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
    ASSERT_EQ(frame.currentQuery().graphType, TimeWindowSummary) << m_prompts.texts.join('|').toStdString();
    ASSERT_TRUE(frame.activeView());
    // Right as the report appears, before any menu opened.
    const auto on = [&](int id) { return frame.action(id)->isEnabled(); };
    EXPECT_TRUE(on(CommandIds::ID_MARKER_AVERAGE));
    EXPECT_TRUE(on(CommandIds::ID_MARKER_MAXIMUM));
    EXPECT_FALSE(on(CommandIds::ID_MARKER_MINIMUM));
    EXPECT_TRUE(on(CommandIds::ID_MARKER_THRESHOLD_1));
    EXPECT_FALSE(on(CommandIds::ID_MARKER_DELTA));
    EXPECT_TRUE(on(CommandIds::ID_THRESHOLDS_DISPLAY));
    EXPECT_FALSE(on(CommandIds::ID_THRESHOLDS_1));
    EXPECT_EQ(frame.action(CommandIds::ID_THRESHOLDS_3)->text(), "Threshold &3");
    frame.action(CommandIds::ID_MARKER_MAXIMUM)->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.action(CommandIds::ID_MARKER_MAXIMUM)->isChecked());
    EXPECT_TRUE(on(CommandIds::ID_MARKER_DELTA));
    EXPECT_TRUE(on(CommandIds::ID_MARKER_CENTER));
    frame.close();
  }
  SettingsStore store;
  const RegistryKey key = store.sectionKey("Settings").subKey("TWSChart Properties");
  EXPECT_EQ(key.valueNames().size(), 194);
  EXPECT_EQ(key.readDword("CSG1_S1_LSColor"), 0x00D8D8);
}

// Values a report must show, computed here straight from the stored scans:
// the statistic of one frequency column over [from, to).
double expected(int32_t node, std::size_t column, int64_t from, int64_t to, int statistic) {
  std::string error;
  auto db = SimDatabase::open(databasePath(), &error);
  const auto port = db->port(node);
  ScanSet scans;
  EXPECT_TRUE(db->scans(node, from, to, port->frequencies.size(), scans, &error)) << error;
  double sum = 0.0, beyond = 0.0;
  int present = 0;
  double maximum = -1e9;
  for (std::size_t i = 0; i < scans.size(); ++i) {
    const float v = scans.row(i)[column];
    if (std::isnan(v)) continue;
    ++present;
    sum += v;
    maximum = std::max(maximum, double(v));
    if (statistic >= 3) {
      const int k = statistic - 2;
      const double limit = port->thresholdLevels[k - 1];
      beyond += (k <= 2 ? v > limit : v < limit) ? 1.0 : 0.0;
    }
  }
  if (present == 0) return std::nan("");
  if (statistic == 0) return sum / present;
  if (statistic == 1) return maximum;
  return 100.0 * beyond / present;
}

std::vector<QStringList> csvRows(const QString& text) {
  std::vector<QStringList> rows;
  for (const QString& line : text.split('\n')) rows.push_back(line.split(','));
  return rows;
}

// %g keeps six significant digits.
void expectClose(const QString& field, double want, const std::string& where) {
  if (std::isnan(want)) return;  // no sample: the report may show a filled gap
  ASSERT_FALSE(field.isEmpty()) << where;
  EXPECT_NEAR(field.toDouble(), want, std::max(1e-4, std::abs(want) * 1e-5)) << where;
}

TEST_F(RunReportTest, ExportsMatchTheScans) {
  startSim();
  ASSERT_TRUE(connect(DemoSeeder::kToken, DemoSeeder::kSmallNode));
  std::string error;
  const auto port = SimDatabase::open(databasePath(), &error)->port(DemoSeeder::kSmallNode);
  ASSERT_TRUE(port);
  const std::size_t width = port->frequencies.size();

  // Time Window Detail, average, one hour: four ribbons written latest first.
  ASSERT_TRUE(m_doc.RunReport(request(TimeWindowDetail, kEnd - 3600, kEnd)));
  QString text;
  QTextStream ribbonOut(&text);
  RibbonCsvWriter().write(ribbonOut, "Port 12", DemoSeeder::kSmallNode, TimeWindowDetail,
                          m_doc.ribbonSet(TimeWindowDetail), LevelUnit());
  ribbonOut.flush();
  auto rows = csvRows(text);
  ASSERT_EQ(rows.size(), 4u + 4u + 2u);  // 3 heading lines, frequencies, 4 ribbons, empty line, end
  EXPECT_EQ(rows[0].join(','), "Port 12");
  EXPECT_EQ(rows[1].join(','), "UID: 12");
  EXPECT_EQ(rows[2].join(','), "Time Window Detail");
  ASSERT_EQ(rows[3].size(), int(width) + 1);
  EXPECT_EQ(rows[3][0], " ");
  for (int r = 0; r < 4; ++r) {
    const int64_t to = kEnd - int64_t(r) * 900;
    for (std::size_t c = 0; c < width; ++c)
      expectClose(rows[4 + r][int(c) + 1], expected(DemoSeeder::kSmallNode, c, to - 900, to, 0),
                  "ribbon row " + std::to_string(r) + " column " + std::to_string(c));
  }
  EXPECT_EQ(rows[8].join(','), "");

  // Time Window Summary, average and % beyond threshold 1, over a day.
  GraphQuery summary = request(TimeWindowSummary, kEnd - 86400, kEnd);
  summary.statistics = {1, 0, 0, 1, 0, 0, 0};
  ASSERT_TRUE(m_doc.RunReport(summary));
  text.clear();
  QTextStream summaryOut(&text);
  SummaryCsvWriter().write(summaryOut, "Port 12", DemoSeeder::kSmallNode, m_doc.seriesStore(), LevelUnit(),
                           {"Hi", "Hi 2", "Lo", "Lo 2"});
  summaryOut.flush();
  rows = csvRows(text);
  EXPECT_EQ(rows[1].join(','), "UID:12");
  EXPECT_EQ(rows[2].join(','), "Time Window Summary");
  EXPECT_EQ(rows[4][0], "Average (dBmV)");
  EXPECT_EQ(rows[5][0], "% Exceeding Hi (dBmV)");
  for (std::size_t c = 0; c < width; ++c) {
    expectClose(rows[4][int(c) + 1], expected(DemoSeeder::kSmallNode, c, kEnd - 86400, kEnd, 0), "average");
    expectClose(rows[5][int(c) + 1], expected(DemoSeeder::kSmallNode, c, kEnd - 86400, kEnd, 3), "beyond 1");
  }

  // One Frequency Time Window, maximum per hour at the plan's first frequency.
  GraphQuery single = request(OneFreqTimeWindow, kEnd - 6 * 3600, kEnd);
  single.increment = Increment::k1Hour;
  single.frequency = port->frequencies[0];
  single.statistics = {0, 1, 0, 0, 0, 0, 0};
  ASSERT_TRUE(m_doc.RunReport(single));
  text.clear();
  QTextStream seriesOut(&text);
  FrequencySeriesCsvWriter().write(seriesOut, "Port 12", DemoSeeder::kSmallNode, single.frequency,
                                   m_doc.seriesStore(), LevelUnit(), {});
  seriesOut.flush();
  rows = csvRows(text);
  ASSERT_GE(rows.size(), 5u + 6u);
  for (int h = 0; h < 6; ++h) {
    const int64_t from = kEnd - 6 * 3600 + int64_t(h) * 3600;
    expectClose(rows[5 + h][1], expected(DemoSeeder::kSmallNode, 0, from, from + 3600, 1),
                "hour " + std::to_string(h));
  }
  EXPECT_TRUE(m_prompts.texts.isEmpty()) << m_prompts.texts.join('|').toStdString();
}

}  // namespace
