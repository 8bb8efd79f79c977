// A day at the desk, compressed: the real main window and document run a few
// hundred reports in a row, cycling through the six types, each the way a user
// makes it (New Graph, OK in the dialog, the progress box, the view), against
// a nembra-sim process of its own on loopback, while the keep-alive ticks.
// Every 25 reports it prints the process's resident memory, the heap in use,
// the open descriptors and the threads, so growth that never levels off shows.
// Follow Live mode: one report that ends now, then REFRESHES follow refreshes
// at INTERVAL_MS, the same figures every 25 refreshes, and the UI thread's
// time per refresh beside the time of the view's build of a new report.
// Usage: quillon_bench_soak follow [REFRESHES [INTERVAL_MS [TYPE]]]
//   REFRESHES     how many refreshes (500)
//   INTERVAL_MS   the follow interval (100)
//   TYPE          the report type, a digit 0 to 5 (2: Time Window Detail)
// Usage: quillon_bench_soak [REPORTS [POLL_MS [KEEPALIVE_MS [TYPES]]]]
//   REPORTS       how many reports (300)
//   POLL_MS       the progress box's poll of the fetch (0: its own 500 ms)
//   KEEPALIVE_MS  how often the keep-alive ticks (250)
//   TYPES         the report types to cycle, as digits 0 to 5 (234015: all
//                 six, the ribbon reports first; 2: Time Window Detail only)
// The platform is QT_QPA_PLATFORM's (offscreen when unset); under xvfb-run
// with xcb the 3D reports draw with OpenGL as on a desktop.
#include "app/AllocatorTuning.h"
#include "app/CMainFrame.h"
#include "app/COrbiskDoc.h"
#include "app/LiveFollower.h"
#include "app/ServerSession.h"
#include "bench/DemoProfile.h"
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"
#include "query/CORBPropertiesDlg.h"
#include "resources/CommandIds.h"
#include "sim/DemoSeeder.h"
#include "views/ReportTexts.h"

#include <malloc.h>
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Sample {
  double rssMb = 0;
  double heapMb = 0;
  double heapFreeMb = 0;  // held by malloc, not in use
  int descriptors = 0;
  int threads = 0;
};

// One "Name: value kB" field of /proc/self/status.
long statusField(const char* name) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(name) + ":";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
  return -1;
}

Sample sample() {
  Sample s;
  s.rssMb = double(statusField("VmRSS")) / 1024.0;
  s.threads = int(statusField("Threads"));
  const struct mallinfo2 m = mallinfo2();
  s.heapMb = double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
  s.heapFreeMb = double(m.fordblks) / (1024.0 * 1024.0);
  s.descriptors = int(QDir(QStringLiteral("/proc/self/fd"))
                          .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                          .size());
  return s;
}

// Clicks OK in the New Graph dialog once it is up (the progress box that
// follows is left alone); a dialog that refuses OK is cancelled, so a refused
// request cannot hang the run.
void pressOkWhenShown() {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, tries = 0]() mutable {
    auto* dlg = qobject_cast<CORBPropertiesDlg*>(QApplication::activeModalWidget());
    if (!dlg || !dlg->isVisible()) {
      if (++tries > 1000) poll->deleteLater();
      return;
    }
    dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    if (dlg->isVisible()) dlg->reject();
    poll->deleteLater();
  });
  poll->start(5);
}

// nembra-sim in a process of its own, so the figures are the client's alone.
class SimProcess {
public:
  ~SimProcess() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.terminate();
      if (!m_process.waitForFinished(5000)) m_process.kill();
      m_process.waitForFinished(5000);
    }
  }

  bool start(const QString& db, QString* address) {
    QProcess seed;
    // The data runs a day past now, so every report still finds its last
    // quarter hour however long the run takes.
    const qint64 until = QDateTime::currentSecsSinceEpoch() + 86400;
    seed.start(QStringLiteral(NEMBRA_SIM_PATH),
               {"--db", db, "--seed-demo", "--end-time", QString::number(until), "--quiet"});
    if (!seed.waitForFinished(120000) || seed.exitCode() != 0) return false;
    m_process.start(QStringLiteral(NEMBRA_SIM_PATH), {"--db", db, "--listen", "127.0.0.1:0", "--quiet"});
    const QByteArray prefix = "nembra-sim listening on ";
    QByteArray out;
    while (m_process.waitForReadyRead(30000)) {
      out += m_process.readAllStandardOutput();
      const qsizetype at = out.indexOf(prefix);
      const qsizetype eol = out.indexOf('\n', at);
      if (at >= 0 && eol > at) {
        *address = QString::fromLatin1(out.mid(at + prefix.size(), eol - at - prefix.size())).trimmed();
        return true;
      }
    }
    return false;
  }

private:
  QProcess m_process;
};

// Follow Live for `refreshes` refreshes of one report of `type`.
int followSoak(CMainFrame& frame, COrbiskDoc& doc, int refreshes, int intervalMs, int type) {
  GraphQuery query;
  query.graphType = type;
  if (type == OneFreqTimeWindow) query.increment = Increment::k1Hour;
  // The view's build of a new report, on the UI thread: from the fetch's end
  // to the view shown.
  QElapsedTimer build;
  std::vector<double> buildMs;
  QObject::connect(&doc, &COrbiskDoc::fetchEnded, &frame, [&] { build.start(); });
  QObject::connect(&doc, &COrbiskDoc::reportReady, &frame,
                   [&] { buildMs.push_back(double(build.nsecsElapsed()) / 1e6); });
  // Eleven new reports of the type; the first builds the view, so the median
  // is of the ten after it.
  for (int n = 0; n < 11; ++n) {
    frame.prefillNewGraph({query, std::nullopt, true});
    pressOkWhenShown();
    frame.action(CommandIds::ID_GRAPH_NEW)->trigger();
  }
  if (!buildMs.empty()) buildMs.erase(buildMs.begin());
  std::sort(buildMs.begin(), buildMs.end());
  QAction* follow = frame.action(CommandIds::ID_VIEW_FOLLOW_LIVE);
  frame.updateCommands();
  if (frame.currentQuery().graphType != type || !follow->isEnabled()) {
    std::fprintf(stderr, "the report of type %d did not show or cannot follow\n", type);
    return 1;
  }
  LiveFollower& follower = frame.follower();
  follower.setIntervalMs(intervalMs);
  follow->trigger();
  std::printf("%9s %9s %9s %9s %10s %12s %8s %8s\n", "refreshes", "seconds", "RSS MB", "heap MB", "free MB",
              "descriptors", "threads", "failed");
  QElapsedTimer clock;
  clock.start();
  std::vector<double> uiMs;
  Sample at50, last;
  int printed = 0;
  while (follower.refreshes() < refreshes && follower.following()) {
    const int before = follower.refreshes();
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (follower.refreshes() == before) continue;
    uiMs.push_back(double(follower.lastRefreshUiNs()) / 1e6);
    const int done = follower.refreshes();
    if (done % 25 == 0 && done != printed) {
      printed = done;
      last = sample();
      if (done == 50) at50 = last;
      std::printf("%9d %9.1f %9.1f %9.1f %10.1f %12d %8d %8d\n", done, clock.elapsed() / 1000.0, last.rssMb,
                  last.heapMb, last.heapFreeMb, last.descriptors, last.threads, follower.failures());
      std::fflush(stdout);
    }
  }
  follow->trigger();  // off
  std::sort(uiMs.begin(), uiMs.end());
  const auto at = [&](double q) { return uiMs.empty() ? 0.0 : uiMs[size_t(q * double(uiMs.size() - 1))]; };
  if (refreshes > 50)
    std::printf("from refresh 50 to %d: RSS %+.1f MB, heap %+.1f MB, descriptors %+d, threads %+d\n", printed,
                last.rssMb - at50.rssMb, last.heapMb - at50.heapMb, last.descriptors - at50.descriptors,
                last.threads - at50.threads);
  std::printf(
      "UI thread per refresh: median %.2f ms, 95th %.2f ms, max %.2f ms; the view's build of a new "
      "report: median %.2f ms, max %.2f ms (%zu reports)\n",
      at(0.5), at(0.95), at(1.0), buildMs.empty() ? 0.0 : buildMs[buildMs.size() / 2],
      buildMs.empty() ? 0.0 : buildMs.back(), buildMs.size());
  return follower.refreshes() >= refreshes && follower.failures() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  limitAllocatorArenas();  // as the program's own main does
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(SettingsStore::applicationName());
  const bool followMode = argc > 1 && std::string(argv[1]) == "follow";
  if (followMode) {
    --argc;
    ++argv;
  }
  const int reports = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  const int pollMs = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
  const int keepAliveMs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 250;
  std::vector<int> types;
  for (const char* c = argc > 4 ? argv[4] : "234015"; *c; ++c)
    if (isValidGraphType(*c - '0')) types.push_back(*c - '0');
  if (types.empty()) return 2;

  // A new user: empty profile, the machine file with the demo identity.
  QTemporaryDir dir;
  useDemoProfile(dir.path());
  CountingPrompts prompts;  // installed until the end of main

  SimProcess sim;
  QString address;
  if (!sim.start(dir.path() + "/demo.db", &address)) {
    std::fprintf(stderr, "nembra-sim did not start (%s)\n", NEMBRA_SIM_PATH);
    return 1;
  }

  int failed = 0;
  {
    ServerSession session;
    COrbiskDoc doc(session);
    if (pollMs > 0) doc.setPollInterval(pollMs);
    CMainFrame frame(doc, session);
    frame.show();
    if (!session.Connect(DemoSeeder::kIngressNode, ServerSession::kCommandLineDataClass, address,
                         DemoSeeder::kToken, QStringLiteral("Port 7")))
      return 1;
    doc.SetFreqRange(5.0, 860.0);

    if (followMode) {
      const int refreshes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
      const int intervalMs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
      const int type =
          argc > 3 && isValidGraphType(std::atoi(argv[3])) ? std::atoi(argv[3]) : TimeWindowDetail;
      failed = followSoak(frame, doc, refreshes, intervalMs, type);
      frame.close();
      session.Close();
      std::printf("%d messages\n", prompts.count);
      return failed == 0 && prompts.count == 0 ? 0 : 1;
    }
    int ticks = 0;
    QTimer keepAlive;
    QObject::connect(&keepAlive, &QTimer::timeout, &keepAlive, [&] { ticks += session.KeepAlive() ? 1 : 0; });
    keepAlive.start(keepAliveMs);

    std::printf("%7s %9s %9s %9s %10s %12s %8s %10s\n", "reports", "seconds", "RSS MB", "heap MB", "free MB",
                "descriptors", "threads", "keepalive");
    const auto print = [&](int done, const QElapsedTimer& clock) {
      const Sample s = sample();
      std::printf("%7d %9.1f %9.1f %9.1f %10.1f %12d %8d %10d\n", done, clock.elapsed() / 1000.0, s.rssMb,
                  s.heapMb, s.heapFreeMb, s.descriptors, s.threads, ticks);
      std::fflush(stdout);
      return s;
    };
    QElapsedTimer clock;
    clock.start();
    print(0, clock);
    Sample at50;
    Sample last;
    // The heap in use depends on which report was shown last (25 reports are
    // not whole cycles of the types), so its range is given, not a difference.
    Sample firstReport;
    double previousRss = sample().rssMb;
    double heapLow = 1e12;
    double heapHigh = 0;
    for (int n = 0; n < reports; ++n) {
      // The dialog's own defaults for a fresh profile, the type chosen.
      GraphQuery query;
      query.graphType = types[static_cast<size_t>(n) % types.size()];
      // One Frequency over its day by the hour, as a user looking at a trend picks.
      if (query.graphType == OneFreqTimeWindow) query.increment = Increment::k1Hour;
      frame.prefillNewGraph({query, std::nullopt, true});
      pressOkWhenShown();
      frame.action(CommandIds::ID_GRAPH_NEW)->trigger();
      QCoreApplication::processEvents();
      if (frame.currentQuery().graphType != query.graphType || !frame.isVisible()) {
        ++failed;
        std::fprintf(stderr, "report %d (type %d) did not show\n", n + 1, query.graphType);
        if (!frame.isVisible()) break;
      }
      const int done = n + 1;
      // The first cycle shows what each type's first use costs.
      if (done <= static_cast<int>(types.size())) {
        const Sample s = sample();
        if (done == 1) firstReport = s;
        std::printf("%7d first %-34s RSS %7.1f MB (%+6.1f), heap %7.1f MB\n", done,
                    qPrintable(ReportTexts::name(query.graphType)), s.rssMb, s.rssMb - previousRss, s.heapMb);
        previousRss = s.rssMb;
        // To see what a user sees after each first use: QUILLON_SOAK_SHOTS=DIR
        // under Xvfb takes a picture of the screen.
        if (const QString shots = qEnvironmentVariable("QUILLON_SOAK_SHOTS"); !shots.isEmpty()) {
          QElapsedTimer wait;
          wait.start();
          while (wait.elapsed() < 1500) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
          QProcess::execute(QStringLiteral("import"),
                            {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-depth"),
                             QStringLiteral("8"), QStringLiteral("%1/%2.png").arg(shots).arg(done)});
        }
        if (done == static_cast<int>(types.size()) && done > 1)
          std::printf("the other %d types' first use together: %+.1f MB above the first report's %.1f MB\n",
                      done - 1, s.rssMb - firstReport.rssMb, firstReport.rssMb);
        std::fflush(stdout);
      }
      if (done % 25 == 0 || done == reports) {
        last = print(done, clock);
        if (done == 50) at50 = last;
        if (done >= 50) {
          heapLow = std::min(heapLow, last.heapMb);
          heapHigh = std::max(heapHigh, last.heapMb);
        }
      }
    }
    keepAlive.stop();
    if (reports > 50)
      std::printf(
          "from report 50 to %d: RSS %+.1f MB, descriptors %+d, threads %+d; heap in use %.1f to %.1f MB\n",
          reports, last.rssMb - at50.rssMb, last.descriptors - at50.descriptors, last.threads - at50.threads,
          heapLow, heapHigh);
    frame.close();
    session.Close();
  }
  std::printf("%d reports failed, %d messages\n", failed, prompts.count);
  return failed == 0 && prompts.count == 0 ? 0 : 1;
}
