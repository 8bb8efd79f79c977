// The client's proxies against a real stand-in server on loopback: every call
// over the wire, identity refusal, retry codes, limits and a dead server.
#include "server/BlockCodec.h"
#include "server/INembraClock.h"
#include "server/INembraDataServer.h"
#include "server/INembraSecurity.h"
#include "server/INembraThreshold.h"
#include "server/ServerIds.h"
#include "server/grpc/GrpcServerObjects.h"
#include "sim/DemoSeeder.h"
#include "sim/FaultPlan.h"
#include "sim/SimDatabase.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"
#include "support/DemoDatabase.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

namespace {

using namespace std::chrono_literals;

// 2026-11-30 12:00 UTC; ten days of demo scans before it.
constexpr int32_t kEnd = 1796040000;
constexpr int kDays = 10;
const std::string kDataClass(ServerIds::kDataServerClass);

std::string databasePath() {
  return seededDemoDatabase(kEnd, kDays);
}

ServerIdentity demoIdentity() {
  return {DemoSeeder::kUser, ".", DemoSeeder::kPassword};
}

// A stand-in server on a free loopback port, shut down with the test.
class Sim {
public:
  explicit Sim(std::vector<std::string> faults = {}, int maxSessions = 32, int64_t dropAfter = 0) {
    SimLog::setEnabled(false);
    SimOptions options;
    options.dbPath = databasePath();
    options.maxSessions = maxSessions;
    if (!faults.empty()) {
      std::string error;
      auto plan = FaultPlan::parse(faults, &error);
      EXPECT_TRUE(plan) << error;
      if (plan) options.faults = std::make_shared<FaultPlan>(std::move(*plan));
    }
    m_server = std::make_unique<SimServer>(options);
    std::string error;
    EXPECT_TRUE(m_server->open(&error)) << error;
    ServiceOptions serviceOptions;
    serviceOptions.dropAfterCalls = dropAfter;
    m_host = std::make_unique<SimHost>(*m_server, serviceOptions);
    EXPECT_TRUE(m_host->start("127.0.0.1:0", &error)) << error;
  }
  std::string address() const { return "127.0.0.1:" + std::to_string(m_host->port()); }
  SimHost& host() { return *m_host; }
  SimServer& server() { return *m_server; }
  std::unique_ptr<GrpcServerObjects> client(ServerIdentity id = demoIdentity(),
                                            std::chrono::milliseconds deadline = 5000ms) const {
    return std::make_unique<GrpcServerObjects>(address(), std::move(id), deadline);
  }

private:
  std::unique_ptr<SimServer> m_server;
  std::unique_ptr<SimHost> m_host;
};

std::shared_ptr<INembraDataServer> openSession(IServerObjects& objects,
                                               int32_t node = DemoSeeder::kQuietNode) {
  std::shared_ptr<INembraDataServer> data;
  EXPECT_EQ(objects.CreateDataServer(kDataClass, data), hr::S_OK);
  if (!data) return nullptr;
  EXPECT_EQ(data->OpenSession(DemoSeeder::kToken, node), hr::S_OK);
  EXPECT_GE(data->Connect(), 0);
  return data;
}

// Repeats a read while the block is not ready, as the fetch workers do.
template <typename Read>
HRESULT readWhenReady(Read&& read) {
  for (int i = 0; i < 500; ++i) {
    const HRESULT r = read();
    if (r != hr::kNotReady) return r;
    std::this_thread::sleep_for(10ms);
  }
  return hr::kNotReady;
}

TEST(GrpcProxyTest, WrongIdentityIsRefusedAndCreatesNothing) {
  Sim sim;
  for (const ServerIdentity& id : {ServerIdentity{"demo", ".", "wrong"}, ServerIdentity{"nobody", ".", "x"},
                                   ServerIdentity{"demo", "OTHER", "nembra-demo"}}) {
    std::shared_ptr<INembraDataServer> data;
    EXPECT_EQ(sim.client(id)->CreateDataServer(kDataClass, data), hr::E_ACCESSDENIED) << id.user;
    EXPECT_EQ(data, nullptr);
  }
  EXPECT_EQ(sim.host().service().objectCount(), 0u);
}

TEST(GrpcProxyTest, CreationAnswersClassAndInterfaceCodes) {
  Sim sim;
  auto objects = sim.client();
  std::shared_ptr<INembraDataServer> data;
  EXPECT_EQ(objects->CreateDataServer("{00000000-0000-0000-0000-000000000000}", data),
            hr::REGDB_E_CLASSNOTREG);
  // Class ids compare without case, as their text form allows.
  std::string lower = kDataClass;
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  EXPECT_EQ(objects->CreateDataServer(lower, data), hr::S_OK);
  std::shared_ptr<INembraThreshold> threshold;
  EXPECT_EQ(objects->CreateThreshold(kDataClass, threshold), hr::S_OK);
  EXPECT_EQ(sim.host().service().objectCount(), 2u);
  data.reset();
  threshold.reset();  // releasing a proxy releases the object on the server
  EXPECT_EQ(sim.host().service().objectCount(), 0u);
}

TEST(GrpcProxyTest, RibbonAnswerArrivesWholeAndInOrder) {
  Sim sim;
  auto objects = sim.client();
  auto data = openSession(*objects);
  ASSERT_TRUE(data);
  const int32_t start = kEnd - 86400;
  int32_t handle = 0;
  ASSERT_EQ(data->StartRibbonRequest(start, kEnd, 900, 0, &handle), hr::S_OK);
  // A second request on the same session while this one runs is refused.
  int32_t other = 0;
  EXPECT_EQ(data->StartRibbonRequest(start, kEnd, 900, 1, &other), hr::kBusy);

  std::vector<uint8_t> buffer(Blocks::kRibbonBlockSize);
  std::span<uint8_t, Blocks::kRibbonBlockSize> span(buffer.data(), buffer.size());
  ASSERT_EQ(readWhenReady([&] { return data->ReadRibbonBlock(handle, span); }), hr::S_OK);
  RibbonBlock first;
  ASSERT_EQ(BlockCodec::decode(buffer, first), BlockCodec::Status::Ok);
  ASSERT_EQ(first.blockCount, 96);
  EXPECT_EQ(first.periodEnd, kEnd);  // the first block is the last interval
  EXPECT_GT(first.entryCount, 0);

  int32_t previousStart = first.periodStart;
  for (int k = first.blockCount - 2; k >= 0; --k) {
    ASSERT_EQ(data->NextBlock(&handle), hr::S_OK) << k;
    ASSERT_EQ(readWhenReady([&] { return data->ReadRibbonBlock(handle, span); }), hr::S_OK) << k;
    RibbonBlock block;
    ASSERT_EQ(BlockCodec::decode(buffer, block), BlockCodec::Status::Ok);
    EXPECT_EQ(block.periodEnd, previousStart) << k;
    EXPECT_EQ(block.frequencies, first.frequencies);
    previousStart = block.periodStart;
  }
  EXPECT_EQ(previousStart, start);
  EXPECT_EQ(data->NextBlock(&handle), hr::kRequestUnavailable);
  EXPECT_EQ(data->EndRequest(), hr::S_OK);
  EXPECT_EQ(data->StartRibbonRequest(start, kEnd, 900, 1, &other), hr::S_OK);  // free again
  EXPECT_EQ(data->EndRequest(), hr::S_OK);
  EXPECT_EQ(data->CloseSession(), hr::S_OK);
}

TEST(GrpcProxyTest, SeriesDayAndTableCallsAnswerOverTheWire) {
  Sim sim;
  auto objects = sim.client();
  auto data = openSession(*objects, DemoSeeder::kIngressNode);
  ASSERT_TRUE(data);
  int32_t handle = 0;

  ASSERT_EQ(data->StartSummaryRequest(kEnd - 86400, kEnd, 3, &handle), hr::S_OK);
  std::vector<uint8_t> summaryBytes(Blocks::kSummaryBlockSize);
  std::span<uint8_t, Blocks::kSummaryBlockSize> summarySpan(summaryBytes.data(), summaryBytes.size());
  ASSERT_EQ(readWhenReady([&] { return data->ReadSummaryBlock(handle, summarySpan); }), hr::S_OK);
  SummaryBlock summary;
  ASSERT_EQ(BlockCodec::decode(summaryBytes, summary), BlockCodec::Status::Ok);
  EXPECT_EQ(summary.hasData, 1);
  EXPECT_EQ(summary.entryCount, 500);
  double worst = 0.0;
  for (int i = 0; i < summary.entryCount; ++i)
    if (summary.values[i] < Blocks::NO_DATA) worst = std::max(worst, summary.values[i]);
  EXPECT_GT(worst, 1.0);  // the ingress port spends real time beyond threshold 1

  ASSERT_EQ(data->StartFrequencyRequest(kEnd - 86400, kEnd, 3600, 0, 10.0, &handle), hr::S_OK);
  std::vector<uint8_t> seriesBytes(Blocks::kFrequencyBlockSize);
  std::span<uint8_t, Blocks::kFrequencyBlockSize> seriesSpan(seriesBytes.data(), seriesBytes.size());
  ASSERT_EQ(readWhenReady([&] { return data->ReadFrequencyBlock(handle, seriesSpan); }), hr::S_OK);
  FrequencySeriesBlock series;
  ASSERT_EQ(BlockCodec::decode(seriesBytes, series), BlockCodec::Status::Ok);
  EXPECT_EQ(series.entryCount, 24);
  EXPECT_EQ(series.times[0], static_cast<uint32_t>(kEnd - 86400));

  // Overnight window 22:00 to 06:00 over three days.
  const int32_t lastDay = kEnd - kEnd % 86400 - 86400;
  ASSERT_EQ(data->StartDayRequest(lastDay - 2 * 86400, lastDay, 22 * 3600, 30 * 3600, 1, &handle), hr::S_OK);
  std::vector<uint8_t> dayBytes(Blocks::kDayBlockSize);
  std::span<uint8_t, Blocks::kDayBlockSize> daySpan(dayBytes.data(), dayBytes.size());
  ASSERT_EQ(readWhenReady([&] { return data->ReadDayBlock(handle, daySpan); }), hr::S_OK);
  DayBlock day;
  ASSERT_EQ(BlockCodec::decode(dayBytes, day), BlockCodec::Status::Ok);
  EXPECT_EQ(day.blockCount, 3);
  EXPECT_EQ(day.periodStart, lastDay + 22 * 3600);
  EXPECT_EQ(day.periodEnd, lastDay + 30 * 3600);
  EXPECT_EQ(data->EndRequest(), hr::S_OK);

  std::shared_ptr<INembraThreshold> threshold;
  ASSERT_EQ(objects->CreateThreshold(kDataClass, threshold), hr::S_OK);
  std::vector<uint8_t> table(Blocks::kThresholdTableSize);
  int32_t count = Blocks::kThresholdEntries, out1 = -1, out2 = -1;
  ASSERT_EQ(threshold->GetThresholdTable(
                DemoSeeder::kIngressNode, DemoSeeder::kToken, &count, &out1, &out2,
                std::span<uint8_t, Blocks::kThresholdTableSize>(table.data(), table.size())),
            hr::S_OK);
  EXPECT_EQ(count, Blocks::kThresholdEntries);
  ThresholdTable decoded;
  ASSERT_EQ(BlockCodec::decode(table, decoded, count), BlockCodec::Status::Ok);
  EXPECT_EQ(decoded[0].inUse, 1);

  std::shared_ptr<INembraClock> clock;
  ASSERT_EQ(objects->CreateClock(clock), hr::S_OK);
  double now = 0.0;
  ASSERT_EQ(clock->GetTime(&now), hr::S_OK);
  const double expected = std::time(nullptr) / 86400.0 + 25569.0;  // OLE date of the Unix epoch
  EXPECT_NEAR(now, expected, 10.0 / 86400.0);

  EXPECT_EQ(data->KeepAlive(), hr::S_OK);
}

TEST(GrpcProxyTest, PermissionAnswersPerToken) {
  Sim sim;
  std::shared_ptr<INembraSecurity> security;
  ASSERT_EQ(sim.client()->CreateSecurity(security), hr::S_OK);
  const struct {
    int32_t token;
    int32_t granted;
    int32_t error;
  } cases[] = {{DemoSeeder::kToken, 1, 0},
               {DemoSeeder::kTokenWithoutPermission, 0, 0},
               {DemoSeeder::kExpiredToken, 0, 30},
               {424242, 0, 0}};
  for (const auto& c : cases) {
    int32_t granted = -1, error = -1;
    EXPECT_EQ(security->CheckPermission(c.token, ServerIds::kLaunchPermission, &granted, &error), hr::S_OK);
    EXPECT_EQ(granted, c.granted) << c.token;
    EXPECT_EQ(error, c.error) << c.token;
  }
  EXPECT_EQ(security->KeepAlive(), hr::S_OK);
}

TEST(GrpcProxyTest, SessionRulesTravelAsCodes) {
  Sim sim({}, /*maxSessions=*/1);
  auto objects = sim.client();
  std::shared_ptr<INembraDataServer> a, b;
  ASSERT_EQ(objects->CreateDataServer(kDataClass, a), hr::S_OK);
  ASSERT_EQ(objects->CreateDataServer(kDataClass, b), hr::S_OK);
  EXPECT_EQ(a->OpenSession(DemoSeeder::kExpiredToken, 3), hr::kCodeSessionExpired);
  EXPECT_EQ(a->OpenSession(424242, 3), hr::kCodeNoPermission);
  EXPECT_EQ(a->OpenSession(DemoSeeder::kToken, 999), hr::kInvalidUid);
  int32_t handle = 0;
  EXPECT_EQ(a->StartRibbonRequest(kEnd - 3600, kEnd, 900, 0, &handle), hr::kRequestNotMade);
  EXPECT_EQ(a->OpenSession(DemoSeeder::kToken, 3), hr::S_OK);
  EXPECT_EQ(b->OpenSession(DemoSeeder::kToken, 3), hr::kMaxConnections);
  EXPECT_EQ(a->StartRibbonRequest(kEnd, kEnd - 3600, 900, 0, &handle), hr::kInvalidArgument);
  EXPECT_EQ(a->StartRibbonRequest(kEnd - 98 * 900, kEnd, 900, 0, &handle), hr::kOverflow);
  EXPECT_EQ(a->StartRibbonRequest(kEnd - 3600, kEnd, 900, 7, &handle), hr::kInvalidArgument);
  EXPECT_EQ(a->CloseSession(), hr::S_OK);
  EXPECT_EQ(b->OpenSession(DemoSeeder::kToken, 3), hr::S_OK);  // the slot is free again
}

TEST(GrpcProxyTest, InjectedBusyAndNotReadyAnswersArriveAsCodes) {
  Sim sim({"busy:StartRibbonRequest:2", "notready:ReadRibbonBlock:3", "fail:CloseSession:0x80044311"});
  auto objects = sim.client();
  auto data = openSession(*objects);
  ASSERT_TRUE(data);
  int32_t handle = 0;
  EXPECT_EQ(data->StartRibbonRequest(kEnd - 3600, kEnd, 900, 0, &handle), hr::kBusy);
  EXPECT_EQ(data->StartRibbonRequest(kEnd - 3600, kEnd, 900, 0, &handle), hr::kBusy);
  ASSERT_EQ(data->StartRibbonRequest(kEnd - 3600, kEnd, 900, 0, &handle), hr::S_OK);
  std::vector<uint8_t> buffer(Blocks::kRibbonBlockSize, 0xAB);
  std::span<uint8_t, Blocks::kRibbonBlockSize> span(buffer.data(), buffer.size());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(data->ReadRibbonBlock(handle, span), hr::kNotReady);
    EXPECT_EQ(buffer[0], 0xAB);  // a not-ready read writes nothing
  }
  EXPECT_EQ(readWhenReady([&] { return data->ReadRibbonBlock(handle, span); }), hr::S_OK);
  EXPECT_EQ(data->EndRequest(), hr::S_OK);
  EXPECT_EQ(data->CloseSession(), hr::kConnectionDropped);
}

TEST(GrpcProxyTest, ABlockArrivesWithEverySuccessCode) {
  Sim sim({"answer:ReadRibbonBlock:1"});
  auto objects = sim.client();
  auto data = openSession(*objects);
  ASSERT_TRUE(data);
  int32_t handle = 0;
  ASSERT_EQ(data->StartRibbonRequest(kEnd - 3600, kEnd, 900, 0, &handle), hr::S_OK);
  std::vector<uint8_t> buffer(Blocks::kRibbonBlockSize);
  std::span<uint8_t, Blocks::kRibbonBlockSize> span(buffer.data(), buffer.size());
  ASSERT_EQ(readWhenReady([&] { return data->ReadRibbonBlock(handle, span); }), 1);
  RibbonBlock first;
  ASSERT_EQ(BlockCodec::decode(buffer, first), BlockCodec::Status::Ok);
  EXPECT_EQ(first.hasData, 1);
  EXPECT_EQ(first.blockCount, 4);
  EXPECT_EQ(data->EndRequest(), hr::S_OK);
}

TEST(GrpcProxyTest, DeadServerIsATransportCodeNotAHang) {
  auto sim = std::make_unique<Sim>();
  auto objects = sim->client(demoIdentity(), 3000ms);
  auto data = openSession(*objects);
  ASSERT_TRUE(data);
  sim.reset();  // the server goes away with the session open
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(hr::isRpcTransport(data->Connect()));
  std::shared_ptr<INembraSecurity> security;
  EXPECT_EQ(objects->CreateSecurity(security), hr::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 4s);
  data.reset();  // releasing against a dead server must not hang either
  EXPECT_LT(std::chrono::steady_clock::now() - started, 8s);

  GrpcServerObjects nowhere("", demoIdentity());
  EXPECT_FALSE(nowhere.hasTarget());
  EXPECT_EQ(nowhere.CreateSecurity(security), hr::RPC_S_SERVER_UNAVAILABLE);
}

TEST(GrpcProxyTest, DroppedConnectionFailsEveryLaterCall) {
  Sim sim({}, 32, /*dropAfter=*/3);
  auto objects = sim.client();
  std::shared_ptr<INembraDataServer> data;
  ASSERT_EQ(objects->CreateDataServer(kDataClass, data), hr::S_OK);  // call 1
  EXPECT_EQ(data->OpenSession(DemoSeeder::kToken, 3), hr::S_OK);     // call 2
  EXPECT_GE(data->Connect(), 0);                                     // call 3
  EXPECT_EQ(data->KeepAlive(), hr::RPC_S_SERVER_UNAVAILABLE);
}

}  // namespace
