// Times what a user waits for: seeding the demo database, and whole answers
// fetched from nembra-sim over loopback gRPC the way the client's workers
// fetch them (start call, first read, then NextBlock and read per block),
// streamed in one call and, beside it, one call per block.
#include "query/FetchFlags.h"
#include "query/FetchPacing.h"
#include "query/GraphQuery.h"
#include "query/IFetchReporter.h"
#include "query/RibbonCsvWriter.h"
#include "query/RibbonFetch.h"
#include "query/RibbonSet.h"
#include "server/BlockCodec.h"
#include "server/INembraDataServer.h"
#include "server/ServerIds.h"
#include "server/grpc/GrpcServerObjects.h"
#include "sim/DemoSeeder.h"
#include "sim/SimDatabase.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"

#include <unistd.h>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

template <typename Read>
HRESULT readWhenReady(Read&& read) {
  HRESULT r;
  while ((r = read()) == hr::kNotReady) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return r;
}

// One whole ribbon or day answer; returns the block count, or -1.
template <std::size_t Size, typename Start, typename ReadBlock>
int fetchAll(INembraDataServer& d, Start&& start, ReadBlock&& readBlock) {
  int32_t handle = 0;
  if (start(&handle) != hr::S_OK) return -1;
  std::vector<uint8_t> buffer(Size);
  std::span<uint8_t, Size> span(buffer.data(), Size);
  if (readWhenReady([&] { return readBlock(handle, span); }) != hr::S_OK) return -1;
  uint16_t count = 0;
  std::memcpy(&count, buffer.data() + 4, sizeof count);  // block count, little-endian on this machine
  for (int k = count - 2; k >= 0; --k) {
    if (d.NextBlock(&handle) != hr::S_OK) return -1;
    if (readWhenReady([&] { return readBlock(handle, span); }) != hr::S_OK) return -1;
  }
  d.EndRequest();
  return count;
}

// The worker's messages have nowhere to go here; a benchmark run that needs
// one has failed and says so.
struct CountingReporter : IFetchReporter {
  int messages = 0;
  void reportServerError(HRESULT, int) override { ++messages; }
  void showNoData() override { ++messages; }
};

void report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-58s median %8.1f ms   min %8.1f ms   max %8.1f ms   (%zu runs)\n", what, ms[ms.size() / 2],
              ms.front(), ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  SimLog::setEnabled(false);
  const auto dir = std::filesystem::temp_directory_path() / ("quillon-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "demo.db").string();
  const int32_t end = DemoSeeder::quarterHourAt(1796040000);  // 2026-11-30 12:00 UTC

  std::string error;
  {
    auto db = SimDatabase::open(path, &error);
    const auto t = Clock::now();
    if (!db || !seedDemo(*db, end, &error)) {
      std::fprintf(stderr, "seeding failed: %s\n", error.c_str());
      return 1;
    }
    std::printf("%-58s %8.1f ms\n", "seed demo database (3 ports, 120 days, 15 min scans)", msSince(t));
  }

  SimOptions options;
  options.dbPath = path;
  SimServer server(options);
  if (!server.open(&error)) return 1;
  GraphQuery twd;
  twd.graphType = TimeWindowDetail;
  const int32_t twdStart = end - 97 * 900;
  twd.SetStart(CNBDateTime::FromSeconds(twdStart));
  twd.SetEnd(CNBDateTime::FromSeconds(end));
  RibbonSet fetched;
  // The same server streaming each answer in one call, then answering the
  // per-block calls alone, as a server from before the streamed call does.
  for (const bool streamed : {true, false}) {
    ServiceOptions service;
    service.streamBlocks = streamed;
    SimHost host(server, service);
    if (!host.start("127.0.0.1:0", &error)) return 1;
    GrpcServerObjects objects("127.0.0.1:" + std::to_string(host.port()),
                              {DemoSeeder::kUser, ".", DemoSeeder::kPassword});
    std::shared_ptr<INembraDataServer> data;
    if (objects.CreateDataServer(std::string(ServerIds::kDataServerClass), data) != hr::S_OK ||
        data->OpenSession(DemoSeeder::kToken, DemoSeeder::kIngressNode) != hr::S_OK || data->Connect() < 0) {
      std::fprintf(stderr, "cannot open a session\n");
      return 1;
    }
    std::printf("%s\n", streamed ? "One streamed call per answer:" : "A call per block (the old protocol):");
    const auto measure = [&](const std::function<int()>& fetch, int expectedBlocks) {
      std::vector<double> ms;
      for (int i = 0; i < runs; ++i) {
        const auto t = Clock::now();
        const int blocks = fetch();
        ms.push_back(msSince(t));
        if (blocks != expectedBlocks) std::fprintf(stderr, "unexpected block count %d\n", blocks);
      }
      return ms;
    };

    // Time Window Detail: 97 ribbons of 15 minutes over 500 frequencies.
    report("Time Window Detail, 97 ribbons x 500 frequencies",
           measure(
               [&] {
                 return fetchAll<Blocks::kRibbonBlockSize>(
                     *data, [&](int32_t* h) { return data->StartRibbonRequest(twdStart, end, 900, 0, h); },
                     [&](int32_t h, auto span) { return data->ReadRibbonBlock(h, span); });
               },
               97));

    // Multi-Day: 97 whole days over 120 days of scans.
    const int32_t lastDay = end - end % 86400 - 86400;
    const int32_t firstDay = lastDay - 96 * 86400;
    report("Multi-Day, 97 days x 500 frequencies",
           measure(
               [&] {
                 return fetchAll<Blocks::kDayBlockSize>(
                     *data,
                     [&](int32_t* h) { return data->StartDayRequest(firstDay, lastDay, 0, 86400, 1, h); },
                     [&](int32_t h, auto span) { return data->ReadDayBlock(h, span); });
               },
               97));

    // Multi-Day Time Window: 97 evenings, 18:00 to 23:00; from the first
    // evening to the last 97 days 5 hours only when 98 are asked for.
    const int32_t firstEvening = firstDay - 86400;
    report("Multi-Day Time Window, 97 days 18:00-23:00",
           measure(
               [&] {
                 return fetchAll<Blocks::kDayBlockSize>(
                     *data,
                     [&](int32_t* h) {
                       return data->StartDayRequest(firstEvening, lastDay, 18 * 3600, 23 * 3600, 3, h);
                     },
                     [&](int32_t h, auto span) { return data->ReadDayBlock(h, span); });
               },
               97));

    // The program's own worker on the same 97-ribbon request: start call to
    // done flag, with the real poll waits and with the waits shortened to 1 ms
    // (which shows what the waits themselves cost).
    const auto worker = [&](const FetchPacing& pacing) {
      return [&, pacing] {
        FetchFlags flags;
        flags.reset();
        CountingReporter reporter;
        const int ok = RibbonFetch{}.run(*data, twd, flags, reporter, pacing, fetched);
        flags.done = 1;
        return ok == 1 && reporter.messages == 0 ? fetched.ribbonCount : -1;
      };
    };
    report("worker, 97 ribbons, real 500/100 ms poll waits", measure(worker(FetchPacing{}), 97));
    FetchPacing quick;
    quick.firstPoll = quick.laterPoll = std::chrono::milliseconds(1);
    report("worker, 97 ribbons, 1 ms poll waits", measure(worker(quick), 97));
    data->CloseSession();
    data.reset();
    host.shutdown();
  }

  std::vector<double> csvMs;
  qint64 csvBytes = 0;
  for (int i = 0; i < runs; ++i) {
    QString text;
    QTextStream out(&text);
    const auto t = Clock::now();
    RibbonCsvWriter().write(out, "Port 7", DemoSeeder::kIngressNode, TimeWindowDetail, fetched, LevelUnit());
    out.flush();
    csvMs.push_back(msSince(t));
    csvBytes = text.toUtf8().size();
  }
  report("CSV writer, 97 ribbons x 500 values", csvMs);
  std::printf("%-58s %8lld bytes\n", "CSV size", static_cast<long long>(csvBytes));

  std::filesystem::remove_all(dir);
  return 0;
}
