// The client's proxies against a real stand-in server on loopback; what each code
// means is the server's tests' business, every kind of block the run-report tests'.
#include "e2e/LoopbackSim.h"
#include "server/BlockCodec.h"
#include "server/INembraClock.h"
#include "server/INembraDataServer.h"
#include "server/INembraSecurity.h"
#include "server/INembraThreshold.h"
#include "server/ServerIds.h"
#include "server/grpc/GrpcServerObjects.h"
#include "support/DemoDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr int32_t kEnd = 1796040000;  // 2026-11-30 12:00 UTC; ten days of demo scans before it
const std::string kDataClass(ServerIds::kDataServerClass);

SimOptions demo(std::vector<std::string> rules = {}) {
  SimOptions options;
  options.dbPath = seededDemoDatabase(kEnd, 10);
  if (!rules.empty()) options.faults = faults(rules);
  return options;
}

ServerIdentity demoIdentity() {
  return {DemoSeeder::kUser, ".", DemoSeeder::kPassword};
}

std::unique_ptr<GrpcServerObjects> client(const LoopbackSim& sim, ServerIdentity id = demoIdentity(),
                                          std::chrono::milliseconds deadline = 5000ms) {
  return std::make_unique<GrpcServerObjects>(sim.address(), std::move(id), deadline);
}

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
  LoopbackSim sim(demo());
  std::shared_ptr<INembraDataServer> data;
  EXPECT_EQ(client(sim, {"demo", ".", "wrong"})->CreateDataServer(kDataClass, data), hr::E_ACCESSDENIED);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(sim.host().service().objectCount(), 0u);
}

TEST(GrpcProxyTest, CreationAnswersClassAndInterfaceCodes) {
  LoopbackSim sim(demo());
  auto objects = client(sim);
  std::shared_ptr<INembraDataServer> data;
  EXPECT_EQ(objects->CreateDataServer("{00000000-0000-0000-0000-000000000000}", data),
            hr::REGDB_E_CLASSNOTREG);
  // Class ids compare without case, as their text form allows.
  std::string lower = kDataClass;
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  EXPECT_EQ(objects->CreateDataServer(lower, data), hr::S_OK);
  std::shared_ptr<INembraThreshold> threshold;
  EXPECT_EQ(objects->CreateThreshold(kDataClass, threshold), hr::S_OK);
  EXPECT_EQ(sim.host().service().objectCount(), 2u);
  data.reset();
  threshold.reset();  // releasing a proxy releases the object on the server
  EXPECT_EQ(sim.host().service().objectCount(), 0u);

  // The clock, which no report asks for.
  std::shared_ptr<INembraClock> clock;
  ASSERT_EQ(objects->CreateClock(clock), hr::S_OK);
  double now = 0.0;
  ASSERT_EQ(clock->GetTime(&now), hr::S_OK);
  EXPECT_NEAR(now, std::time(nullptr) / 86400.0 + 25569.0, 10.0 / 86400.0);
}

// The proxy hands the block over for every non-negative code, not only S_OK.
// A server that streams the answer waits out the blocks not yet computed;
// one without the streamed call answers each read itself. Both hand over the
// same blocks in the same order.
TEST(GrpcProxyTest, InjectedAnswersArriveAsCodes) {
  std::vector<std::vector<uint8_t>> answers[2];
  for (const bool streamed : {true, false}) {
    SCOPED_TRACE(streamed);
    ServiceOptions service;
    service.streamBlocks = streamed;
    LoopbackSim sim(demo({"busy:StartRibbonRequest:1", "notready:ReadRibbonBlock:2",
                          "answer:ReadRibbonBlock:1", "fail:CloseSession:0x80044311"}),
                    service);
    auto objects = client(sim);
    auto data = openSession(*objects);
    ASSERT_TRUE(data);
    int32_t handle = 0;
    EXPECT_EQ(data->StartRibbonRequest(kEnd - 3600, kEnd, 900, 0, &handle), hr::kBusy);
    ASSERT_EQ(data->StartRibbonRequest(kEnd - 3600, kEnd, 900, 0, &handle), hr::S_OK);
    std::vector<uint8_t> buffer(Blocks::kRibbonBlockSize, 0xAB);
    std::span<uint8_t, Blocks::kRibbonBlockSize> span(buffer.data(), buffer.size());
    for (int i = 0; i < (streamed ? 0 : 2); ++i) {
      EXPECT_EQ(data->ReadRibbonBlock(handle, span), hr::kNotReady);
      EXPECT_EQ(buffer[0], 0xAB);  // a not-ready read writes nothing
    }
    ASSERT_EQ(readWhenReady([&] { return data->ReadRibbonBlock(handle, span); }), 1);
    RibbonBlock first;
    ASSERT_EQ(BlockCodec::decode(buffer, first), BlockCodec::Status::Ok);
    EXPECT_EQ(std::pair(int{first.hasData}, int{first.blockCount}), std::pair(1, 4));
    answers[streamed].push_back(buffer);
    for (int i = 1; i < 4; ++i) {
      ASSERT_EQ(data->NextBlock(&handle), hr::S_OK);
      ASSERT_EQ(readWhenReady([&] { return data->ReadRibbonBlock(handle, span); }), 1);
      answers[streamed].push_back(buffer);
    }
    EXPECT_EQ(data->NextBlock(&handle), hr::kRequestUnavailable);
    EXPECT_EQ(data->EndRequest(), hr::S_OK);
    EXPECT_EQ(data->CloseSession(), hr::kConnectionDropped);
  }
  EXPECT_TRUE(answers[0] == answers[1]);
}

// A whole answer of 97 blocks is one call besides its start and end, however
// the reads and NextBlock calls interleave.
TEST(GrpcProxyTest, AnAnswerTravelsInOneCall) {
  // A slow (sanitizer) build may take seconds for a block and longer than a
  // call's deadline for the answer: the stream would then be opened again.
  ServiceOptions patient;
  patient.streamWait = std::chrono::minutes(1);
  LoopbackSim sim(demo(), patient);
  auto objects = client(sim, demoIdentity(), std::chrono::minutes(2));
  auto data = openSession(*objects);
  ASSERT_TRUE(data);
  const int64_t before = sim.host().service().calls();
  int32_t handle = 0;
  ASSERT_EQ(data->StartRibbonRequest(kEnd - 97 * 900, kEnd, 900, 0, &handle), hr::S_OK);
  std::vector<uint8_t> buffer(Blocks::kRibbonBlockSize);
  std::span<uint8_t, Blocks::kRibbonBlockSize> span(buffer.data(), buffer.size());
  int blocks = 0;
  do {
    ASSERT_EQ(data->ReadRibbonBlock(handle, span), hr::S_OK) << blocks;
    ++blocks;
  } while (data->NextBlock(&handle) == hr::S_OK);
  EXPECT_EQ(data->EndRequest(), hr::S_OK);
  EXPECT_EQ(std::pair(blocks, sim.host().service().calls() - before), std::pair(97, int64_t{3}));
}

TEST(GrpcProxyTest, DeadOrDroppingServerIsATransportCodeNotAHang) {
  auto sim = std::make_unique<LoopbackSim>(demo());
  auto objects = client(*sim, demoIdentity(), 3000ms);
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

  GrpcServerObjects nowhere("host:", demoIdentity());
  EXPECT_FALSE(nowhere.hasTarget());
  EXPECT_EQ(nowhere.CreateSecurity(security), hr::RPC_S_SERVER_UNAVAILABLE);

  ServiceOptions dropping;
  dropping.dropAfterCalls = 3;
  LoopbackSim dropper(demo(), dropping);
  objects = client(dropper);
  ASSERT_EQ(objects->CreateDataServer(kDataClass, data), hr::S_OK);  // call 1
  EXPECT_EQ(data->OpenSession(DemoSeeder::kToken, 3), hr::S_OK);     // call 2
  EXPECT_GE(data->Connect(), 0);                                     // call 3
  EXPECT_EQ(data->KeepAlive(), hr::RPC_S_SERVER_UNAVAILABLE);
}

}  // namespace
