#pragma once

// nembra-sim on loopback for the end-to-end tests.
#include "sim/DemoSeeder.h"
#include "sim/FaultPlan.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Fault rules as nembra-sim's --fault takes them.
inline std::shared_ptr<FaultPlan> faults(const std::vector<std::string>& rules) {
  std::string error;
  auto plan = FaultPlan::parse(rules, &error);
  EXPECT_TRUE(plan) << error;
  return plan ? std::make_shared<FaultPlan>(std::move(*plan)) : nullptr;
}

// Serves `options.dbPath` on `port` (0: a free one) until destroyed.
class LoopbackSim {
public:
  explicit LoopbackSim(SimOptions options, ServiceOptions service = {}, int port = 0) {
    SimLog::setEnabled(false);
    m_server = std::make_unique<SimServer>(std::move(options));
    std::string error;
    EXPECT_TRUE(m_server->open(&error)) << error;
    m_host = std::make_unique<SimHost>(*m_server, service);
    EXPECT_TRUE(m_host->start("127.0.0.1:" + std::to_string(port), &error)) << error;
  }
  int port() const { return m_host->port(); }
  std::string address() const { return "127.0.0.1:" + std::to_string(port()); }
  SimHost& host() { return *m_host; }

private:
  std::unique_ptr<SimServer> m_server;
  std::unique_ptr<SimHost> m_host;  // stops serving before the server goes
};
