#include "sim/FaultPlan.h"

#include "server/INembraClock.h"
#include "server/INembraDataServer.h"
#include "sim/SimServer.h"

#include "SimTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace simtest;

namespace {

struct ParseCase {
  std::string rule;
  bool accepted;
};

class FaultPlanParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FaultPlanParse, AcceptsOnlyWellFormedRules) {
  std::string error;
  const auto plan = FaultPlan::parse({GetParam().rule}, &error);
  EXPECT_EQ(plan.has_value(), GetParam().accepted) << error;
  EXPECT_EQ(error.empty(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FaultPlanParse,
    ::testing::Values(
        ParseCase{"busy:StartRibbonRequest:3", true}, ParseCase{"notready:ReadRibbonBlock:5", true},
        ParseCase{"fail:OpenSession:0x80044310", true}, ParseCase{"fail:CheckPermission:30", true},
        ParseCase{"delay:ReadDayBlock:200", true}, ParseCase{"busy:StartRibbonRequest", false},
        ParseCase{"busy:StartRibbonRequest:x", false}, ParseCase{"busy:StartRibbonRequest:-1", false},
        ParseCase{"slow:ReadDayBlock:200", false}, ParseCase{"busy:StartRibbon:3", false},
        ParseCase{"fail:OpenSession:0x180044310", false}, ParseCase{"", false}));

TEST(FaultPlan, CountedRulesRunOutAndFailuresDoNot) {
  std::string error;
  auto plan = FaultPlan::parse({"busy:NextBlock:2", "fail:OpenSession:0x80044310", "notready:ReadDayBlock:1"},
                               &error);
  ASSERT_TRUE(plan) << error;
  EXPECT_EQ(plan->before("NextBlock"), hr::kBusy);
  EXPECT_EQ(plan->before("NextBlock"), hr::kBusy);
  EXPECT_EQ(plan->before("NextBlock"), std::nullopt);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(plan->before("OpenSession"), hr::kMaxConnections);
  EXPECT_EQ(plan->before("ReadDayBlock"), hr::kNotReady);
  EXPECT_EQ(plan->before("ReadDayBlock"), std::nullopt);
  EXPECT_EQ(plan->before("Connect"), std::nullopt);
}

TEST(FaultPlan, DrivesTheServersObjects) {
  TempDir dir;
  {
    std::string error;
    auto db = SimDatabase::open(dir.file("f.db"), &error);
    ASSERT_TRUE(db) << error;
    fillTinyDatabase(*db);
  }
  std::string error;
  auto plan = FaultPlan::parse({"busy:StartRibbonRequest:2", "notready:ReadRibbonBlock:3", "delay:GetTime:60",
                                "fail:Connect:0x80044023"},
                               &error);
  ASSERT_TRUE(plan) << error;
  SimOptions options;
  options.dbPath = dir.file("f.db");
  options.faults = std::make_shared<FaultPlan>(std::move(*plan));
  SimServer server(options);
  ASSERT_TRUE(server.open(&error)) << error;

  std::shared_ptr<INembraDataServer> d;
  ASSERT_EQ(server.createDataServer(d), hr::S_OK);
  ASSERT_EQ(d->OpenSession(kToken, kNode), hr::S_OK);
  EXPECT_EQ(d->Connect(), hr::kConnectBusy);
  int32_t handle = 0;
  EXPECT_EQ(d->StartRibbonRequest(kT0, kT0 + 900, 900, 0, &handle), hr::kBusy);
  EXPECT_EQ(d->StartRibbonRequest(kT0, kT0 + 900, 900, 0, &handle), hr::kBusy);
  ASSERT_EQ(d->StartRibbonRequest(kT0, kT0 + 900, 900, 0, &handle), hr::S_OK);
  std::array<uint8_t, Blocks::kRibbonBlockSize> buf{};
  int notReady = 0;
  const HRESULT h = untilReady([&] {
    const HRESULT r = d->ReadRibbonBlock(handle, buf);
    notReady += r == hr::kNotReady;
    return r;
  });
  EXPECT_EQ(h, hr::S_OK);
  EXPECT_GE(notReady, 3);

  std::shared_ptr<INembraClock> clock;
  ASSERT_EQ(server.createClock(clock), hr::S_OK);
  double now = 0;
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(clock->GetTime(&now), hr::S_OK);
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(60));
}

}  // namespace
