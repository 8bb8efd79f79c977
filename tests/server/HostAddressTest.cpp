#include "server/grpc/HostAddress.h"

#include <gtest/gtest.h>

#include <utility>

TEST(HostAddressTest, LauncherHostTextsBecomeTargets) {
  const std::pair<const char*, const char*> cases[] = {
      {"nembra01", "nembra01:50515"}, {"nembra01:6000", "nembra01:6000"}, {" 10.1.2.3 ", "10.1.2.3:50515"},
      {"127.0.0.1:1", "127.0.0.1:1"}, {"host:65535", "host:65535"},       {"[::1]", "[::1]:50515"},
      {"[::1]:7000", "[::1]:7000"},   {"fe80::1", "[fe80::1]:50515"},     {" ", "localhost:50515"}};
  for (const auto& [host, target] : cases) EXPECT_EQ(grpcTarget(host, 50515), target) << host;
  for (const char* refused :
       {"host:", ":80", "host:0", "host:65536", "host:000080", "host:12ab", "[::1", "[]:80", "[::1]x"})
    EXPECT_EQ(grpcTarget(refused, 50515), "") << '"' << refused << '"';
}

// Loopback by the text alone: a name that resolves to 127.0.0.1 today may
// resolve elsewhere when the channel connects.
TEST(HostAddressTest, LoopbackIsJudgedByTheTargetsText) {
  for (const char* loopback : {"localhost:1", "LocalHost:1", "127.0.0.1:1", "127.9.8.7:1", "[::1]:1", "::1"})
    EXPECT_TRUE(isLoopbackTarget(loopback)) << loopback;
  for (const char* remote : {"vm:1", "128.0.0.1:1", "0.0.0.0:1", "[::]:1", "localhost.example:1", "[::2]:1",
                             "126.0.0.1:1", "10.127.0.1:1"})
    EXPECT_FALSE(isLoopbackTarget(remote)) << remote;
}
