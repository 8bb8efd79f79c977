#include "sim/FaultPlan.h"

#include "server/HResult.h"

#include <gtest/gtest.h>

namespace {

TEST(FaultPlan, AcceptsOnlyWellFormedRules) {
  const struct {
    const char* rule;
    bool accepted;
  } cases[] = {{"busy:StartRibbonRequest:3", true},     {"notready:ReadRibbonBlock:5", true},
               {"fail:OpenSession:0x80044310", true},   {"fail:CheckPermission:30", true},
               {"delay:ReadDayBlock:200", true},        {"busy:StartRibbonRequest", false},
               {"busy:StartRibbonRequest:x", false},    {"busy:StartRibbonRequest:-1", false},
               {"slow:ReadDayBlock:200", false},        {"busy:StartRibbon:3", false},
               {"fail:OpenSession:0x180044310", false}, {"", false}};
  for (const auto& c : cases) {
    std::string error;
    const auto plan = FaultPlan::parse({c.rule}, &error);
    EXPECT_EQ(plan.has_value(), c.accepted) << c.rule << ": " << error;
    EXPECT_EQ(error.empty(), c.accepted) << c.rule;
  }
}

// Counted rules running out are driven over gRPC by the end-to-end tests.
TEST(FaultPlan, FailuresDoNotRunOutAndDelaysAnswerNothing) {
  std::string error;
  auto plan = FaultPlan::parse({"fail:OpenSession:0x80044310", "delay:Connect:1"}, &error);
  ASSERT_TRUE(plan) << error;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(plan->before("OpenSession"), hr::kMaxConnections);
  EXPECT_EQ(plan->before("Connect"), std::nullopt);
}

}  // namespace
