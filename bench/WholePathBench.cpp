// The program's whole path from OK to a report, headless, against nembra-sim
// on loopback, for the largest request of each report type. Per type it
// prints the permission check, the fetch (the worker, from the start of
// RunReport to its done flag), the documented waits inside the fetch (the
// worker's poll sleeps) and after it (the progress box's 500 ms poll), the
// view build and first paint, and beside them the server's own time for the
// same answer (the same calls made on the server's objects in process, with
// no transport and 1 ms polls). The client's share is everything but the
// server's work and the documented waits.
#include "app/COrbiskDoc.h"
#include "app/ServerSession.h"
#include "bench/DemoProfile.h"
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "query/FetchJob.h"
#include "query/GraphQuery.h"
#include "query/ProgressDialog.h"
#include "server/Blocks.h"
#include "server/INembraDataServer.h"
#include "sim/DemoSeeder.h"
#include "sim/SimDatabase.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"
#include "views/ReportData.h"
#include "views/ReportView.h"
#include "views/ReportViewFactory.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double msBetween(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

template <typename Read>
HRESULT whenReady(Read&& read) {
  HRESULT r;
  while ((r = read()) == hr::kNotReady) std::this_thread::sleep_for(1ms);
  return r;
}

// The server's own time for a ribbon or day answer: the start call, then every
// block read, with no transport between.
template <std::size_t Size, typename Start, typename ReadBlock>
double serverRibbons(INembraDataServer& d, Start&& start, ReadBlock&& readBlock) {
  const auto t = Clock::now();
  int32_t handle = 0;
  if (whenReady([&] { return start(&handle); }) != hr::S_OK) return -1;
  std::vector<uint8_t> buffer(Size);
  std::span<uint8_t, Size> span(buffer.data(), Size);
  if (whenReady([&] { return readBlock(handle, span); }) != hr::S_OK) return -1;
  uint16_t count = 0;
  std::memcpy(&count, buffer.data() + 4, sizeof count);
  for (int k = count - 2; k >= 0; --k) {
    if (d.NextBlock(&handle) != hr::S_OK) return -1;
    if (whenReady([&] { return readBlock(handle, span); }) != hr::S_OK) return -1;
  }
  d.EndRequest();
  return msBetween(t, Clock::now());
}

struct Row {
  const char* name;
  GraphQuery query;
  std::function<double(INembraDataServer&)> server;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SimLog::setEnabled(false);
  QTemporaryDir dir;
  useDemoProfile(dir.path());
  CountingPrompts prompts;  // installed until the end of main

  const int32_t end = DemoSeeder::quarterHourAt(1796040000);  // 2026-11-30 12:00 UTC
  const std::string db = (dir.path() + "/demo.db").toStdString();
  std::string error;
  {
    auto store = SimDatabase::open(db, &error);
    if (!store || !seedDemo(*store, end, &error)) {
      std::fprintf(stderr, "seeding failed: %s\n", error.c_str());
      return 1;
    }
  }
  SimOptions options;
  options.dbPath = db;
  SimServer server(options);
  if (!server.open(&error)) return 1;
  SimHost host(server, ServiceOptions{});
  if (!host.start("127.0.0.1:0", &error)) return 1;

  ServerSession session;
  COrbiskDoc doc(session);
  double slept = 0.0;
  doc.setPacing(FetchPacing{500ms, 100ms, [&](std::chrono::milliseconds d) {
                              slept += double(d.count());
                              std::this_thread::sleep_for(d);
                            }});
  if (!session.Connect(DemoSeeder::kIngressNode, ServerSession::kCommandLineDataClass,
                       QStringLiteral("127.0.0.1:%1").arg(host.port()), DemoSeeder::kToken, "Port 7"))
    return 1;
  std::shared_ptr<INembraDataServer> direct;
  if (server.createDataServer(direct) != hr::S_OK ||
      direct->OpenSession(DemoSeeder::kToken, DemoSeeder::kIngressNode) != hr::S_OK)
    return 1;

  const auto query = [&](int type, int32_t start, int32_t stop) {
    GraphQuery q;
    q.graphType = type;
    q.SetStart(CNBDateTime::FromSeconds(start));
    q.SetEnd(CNBDateTime::FromSeconds(stop));
    return q;
  };
  const int32_t lastMidnight = end - end % 86400;
  std::vector<Row> rows;
  rows.push_back({"Time Window Detail, 97 x 500", query(TimeWindowDetail, end - 97 * 900, end),
                  [&](INembraDataServer& d) {
                    return serverRibbons<Blocks::kRibbonBlockSize>(
                        d, [&](int32_t* h) { return d.StartRibbonRequest(end - 97 * 900, end, 900, 0, h); },
                        [&](int32_t h, auto span) { return d.ReadRibbonBlock(h, span); });
                  }});
  rows.push_back(
      {"24 Hour, 96 x 500 (15 min)", query(TwentyFourHour, end - 86400, end), [&](INembraDataServer& d) {
         return serverRibbons<Blocks::kRibbonBlockSize>(
             d, [&](int32_t* h) { return d.StartRibbonRequest(end - 86400, end, 900, 0, h); },
             [&](int32_t h, auto span) { return d.ReadRibbonBlock(h, span); });
       }});
  rows.push_back({"Multi-Day, 97 days x 500", query(MultiDay, lastMidnight - 97 * 86400, lastMidnight),
                  [&](INembraDataServer& d) {
                    return serverRibbons<Blocks::kDayBlockSize>(
                        d,
                        [&](int32_t* h) {
                          return d.StartDayRequest(lastMidnight - 97 * 86400, lastMidnight - 86400, 0, 86400,
                                                   0, h);
                        },
                        [&](int32_t h, auto span) { return d.ReadDayBlock(h, span); });
                  }});
  GraphQuery summary = query(TimeWindowSummary, end - 7 * 86400, end);
  summary.statistics = {1, 1, 1, 1, 1, 1, 1};
  rows.push_back({"Time Window Summary, 7 x 500", summary, [&](INembraDataServer& d) {
                    const auto t = Clock::now();
                    std::vector<uint8_t> block(Blocks::kSummaryBlockSize);
                    std::span<uint8_t, Blocks::kSummaryBlockSize> span(block.data(), block.size());
                    for (int s = 0; s < 7; ++s) {
                      int32_t h = 0;
                      if (whenReady([&] { return d.StartSummaryRequest(end - 7 * 86400, end, s, &h); }) !=
                              hr::S_OK ||
                          whenReady([&] { return d.ReadSummaryBlock(h, span); }) != hr::S_OK)
                        return -1.0;
                    }
                    return msBetween(t, Clock::now());
                  }});
  GraphQuery single = query(OneFreqTimeWindow, end - 500 * 3600, end);
  single.increment = Increment::k1Hour;
  single.frequency = 20.0;
  single.statistics = {1, 1, 1, 1, 1, 1, 1};
  rows.push_back({"One Frequency Time Window, 7 x 500 (1 h)", single, [&](INembraDataServer& d) {
                    const auto t = Clock::now();
                    std::vector<uint8_t> block(Blocks::kFrequencyBlockSize);
                    std::span<uint8_t, Blocks::kFrequencyBlockSize> span(block.data(), block.size());
                    for (int s = 0; s < 7; ++s) {
                      int32_t h = 0;
                      if (whenReady([&] {
                            return d.StartFrequencyRequest(end - 500 * 3600, end, 3600, s, 20.0, &h);
                          }) != hr::S_OK ||
                          whenReady([&] { return d.ReadFrequencyBlock(h, span); }) != hr::S_OK)
                        return -1.0;
                    }
                    return msBetween(t, Clock::now());
                  }});

  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("%-42s %8s %8s %8s %8s %8s %8s %8s %8s\n", "report (ribbons or series x points)", "permit",
              "fetch", "sleeps", "box poll", "view", "paint", "server", "client");
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  for (Row& row : rows) {
    std::vector<double> permission, fetch, sleeps, boxPoll, serverMs, client, build, paint;
    QWidget parent;
    parent.resize(960, 560);
    ReportView* view = createReportView(row.query.graphType, &parent);
    if (view) view->resize(960, 560);
    for (int run = 0; run < runs; ++run) {
      // The permission check alone, as RunReport makes it first.
      const auto p0 = Clock::now();
      (void)session.CheckPermission();
      permission.push_back(msBetween(p0, Clock::now()));

      slept = 0.0;
      Clock::time_point workerDone{};
      QTimer watch;
      watch.setInterval(1);
      QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        const FetchJob* job = doc.runningFetch();
        if (job && workerDone == Clock::time_point{} && job->finished()) workerDone = Clock::now();
      });
      watch.start();
      const auto t0 = Clock::now();
      const bool ok = doc.RunReport(row.query);
      const auto t1 = Clock::now();
      watch.stop();
      if (!ok || workerDone == Clock::time_point{}) break;
      fetch.push_back(msBetween(t0, workerDone) - permission.back());
      sleeps.push_back(slept);
      boxPoll.push_back(msBetween(workerDone, t1));
      serverMs.push_back(row.server(*direct));
      // The server may work while the worker sleeps, so its time is taken off
      // only where it exceeds the sleeps: the figure errs towards the client.
      client.push_back(fetch.back() - std::max(sleeps.back(), serverMs.back()));
      if (view) {
        // The view's build from the document's answer, then the chart drawn
        // into an image of the window's size, the way Copy and Print draw it.
        ReportData data;
        data.query = doc.reportQuery();
        if (isRibbonType(row.query.graphType))
          data.ribbons = &doc.ribbonSet(row.query.graphType);
        else
          data.series = &doc.seriesStore();
        data.thresholds = &doc.thresholdTable();
        data.thresholdEntries = doc.thresholdEntries();
        data.thresholdNames = doc.thresholdNames();
        data.levelUnit = doc.levelUnit();
        const auto b0 = Clock::now();
        view->showReport(data);
        build.push_back(msBetween(b0, Clock::now()));
        QImage image(960, 560, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        const auto q0 = Clock::now();
        if (const ChartPainter draw = view->chartPainter()) draw(painter, QRectF(0, 0, 960, 560));
        paint.push_back(msBetween(q0, Clock::now()));
      }
    }
    if (client.size() != std::size_t(runs)) {
      std::printf("%-42s failed\n", row.name);
      continue;
    }
    const auto cell = [&](const std::vector<double>& v) {
      return v.empty() ? std::string("n/a") : std::to_string(median(v)).substr(0, 6);
    };
    std::printf("%-42s %8.1f %8.1f %8.1f %8.1f %8s %8s %8.1f %8.1f\n", row.name, median(permission),
                median(fetch), median(sleeps), median(boxPoll), cell(build).c_str(), cell(paint).c_str(),
                median(serverMs), median(client) + (build.empty() ? 0.0 : median(build) + median(paint)));
  }
  std::printf(
      "(ms, medians of %d runs; sleeps: the worker's documented poll sleeps; box poll: the progress\n"
      " box's documented 500 ms poll noticing the end; view: the view's build from the answer; paint: the\n"
      " chart drawn into a 960 x 560 image; client: fetch less the larger of sleeps and server, plus view\n"
      " and paint)\n",
      runs);
  return prompts.count == 0 ? 0 : 1;
}
