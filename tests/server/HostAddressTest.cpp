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
