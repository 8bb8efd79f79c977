#include "sim/SimCommandLine.h"

#include <gtest/gtest.h>

namespace {

std::optional<SimCommandLine> parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string ignored;
  return SimCommandLine::parse(args, error ? error : &ignored);
}

TEST(SimCommandLineTest, SeedingAloneDoesNotServeAndServingHasADefaultAddress) {
  const auto seed = parse({"--db", "x.db", "--seed-demo", "--end-time", "2026-12-05T15:45:00Z"});
  ASSERT_TRUE(seed);
  EXPECT_EQ(std::tuple(seed->seedDemo, seed->listen, seed->endTime),
            std::tuple(true, std::nullopt, 1796485500));
  const auto plain = parse({"--db", "x.db"});
  ASSERT_TRUE(plain);
  EXPECT_EQ(std::tuple(plain->listen, plain->expireAfterSeconds, plain->scanIntervalSeconds),
            std::tuple("127.0.0.1:50515", std::nullopt, 900));
  const auto d = parse({"--db", "x.db", "--listen", "127.0.0.1:0", "--fault", "busy:NextBlock:2", "--fault",
                        "delay:ReadDayBlock:50", "--max-sessions", "3", "--drop-after", "10",
                        "--expire-after", "5", "--scan-interval", "0"});
  ASSERT_TRUE(d);
  EXPECT_EQ(std::tuple(d->listen, d->faults.size(), d->maxSessions, d->dropAfterCalls, d->expireAfterSeconds,
                       d->scanIntervalSeconds),
            std::tuple("127.0.0.1:0", 2u, 3, 10, 5, 0));
  const auto tls = parse({"--db", "x.db", "--tls-cert", "c.pem", "--tls-key", "k.pem", "--allow-plaintext"});
  ASSERT_TRUE(tls);
  EXPECT_EQ(std::tuple(tls->tlsCert, tls->tlsKey, tls->allowPlaintext), std::tuple("c.pem", "k.pem", true));
  const auto info = parse({"--db", "x.db", "--port-info", "3"});
  ASSERT_TRUE(info);
  EXPECT_EQ(std::tuple(info->portInfo, info->listen),
            std::tuple(3, std::nullopt));  // a question, not a server
  // Help and version need no database.
  EXPECT_TRUE(parse({"--help"})->help);
  EXPECT_TRUE(parse({"--version"})->version);
}

TEST(SimCommandLineTest, BadArgumentsAreNamed) {
  const struct {
    std::vector<std::string> args;
    const char* mentions;
  } cases[] = {
      {{"--listen", "127.0.0.1:1"}, "--db"},
      {{"--db"}, "--db"},
      {{"--db", "x", "--listen", "nohost"}, "--listen"},
      {{"--db", "x", "--end-time", "yesterday"}, "--end-time"},
      {{"--db", "x", "--max-sessions", "0"}, "--max-sessions"},
      {{"--db", "x", "--workers", "many"}, "--workers"},
      {{"--db", "x", "--frobnicate"}, "--frobnicate"},
      {{"--db", "x", "--expire-after", "-1"}, "--expire-after"},
      {{"--db", "x", "--scan-interval", "-1"}, "--scan-interval"},
      {{"--db", "x", "--port-info", "three"}, "--port-info"},
      {{"--db", "x", "--tls-key"}, "--tls-key"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(parse(c.args, &error));
    EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
  }
}

TEST(SimCommandLineTest, UtcTimes) {
  const std::pair<const char*, int64_t> accepted[] = {{"0", 0},
                                                      {"1796485500", 1796485500},
                                                      {"2026-12-05T15:45", 1796485500},
                                                      {"2026-12-05T15:45Z", 1796485500},
                                                      {"2026-12-05T15:45:30Z", 1796485530}};
  for (const auto& [text, seconds] : accepted) EXPECT_EQ(parseUtcTime(text), seconds) << text;
  for (const char* refused : {"2026-12-05T15:45:30+01", "2026-13-01T00:00Z", "2026-12-05", ""})
    EXPECT_EQ(parseUtcTime(refused), std::nullopt) << refused;
}

}  // namespace
