#include "sim/SimServer.h"

#include "server/BlockCodec.h"
#include "server/INembraDataServer.h"
#include "server/INembraSecurity.h"
#include "server/INembraThreshold.h"
#include "sim/LoginThrottle.h"
#include "sim/PasswordHash.h"
#include "sim/SimClock.h"
#include "sim/SimRequest.h"
#include "sim/Statistics.h"

#include "SimTestUtil.h"

#include <sqlite3.h>

#include <array>
#include <tuple>

using namespace simtest;

namespace {

using RibbonBuf = std::array<uint8_t, Blocks::kRibbonBlockSize>;

class SimServerTest : public ::testing::Test {
protected:
  void SetUp() override {
    SimLog::setEnabled(false);
    {
      auto db = SimDatabase::open(dir.file("tiny.db"), nullptr);
      ASSERT_TRUE(db);
      fillTinyDatabase(*db);
    }
    start({});
  }

  void start(SimOptions options) {
    objects.clear();
    server.reset();
    options.dbPath = dir.file("tiny.db");
    server = std::make_unique<SimServer>(std::move(options));
    ASSERT_TRUE(server->open(nullptr));
  }

  std::shared_ptr<INembraDataServer> dataServer() {
    std::shared_ptr<INembraDataServer> d;
    EXPECT_EQ(server->createDataServer(d), hr::S_OK);
    objects.push_back(d);
    return d;
  }

  std::shared_ptr<INembraDataServer> session() {
    auto d = dataServer();
    EXPECT_EQ(d->OpenSession(kToken, kNode), hr::S_OK);
    return d;
  }

  // Granted and error code of the security object's permission check.
  std::pair<int32_t, int32_t> check(int32_t token, int32_t permission = 0x40) {
    std::shared_ptr<INembraSecurity> s;
    EXPECT_EQ(server->createSecurity(s), hr::S_OK);
    int32_t granted = -1, error = -1;
    EXPECT_EQ(s->CheckPermission(token, permission, &granted, &error), hr::S_OK);
    EXPECT_EQ(s->KeepAlive(), hr::S_OK);
    return {granted, error};
  }

  static std::string ribbon(INembraDataServer& d, int32_t handle) {
    RibbonBuf buf;
    RibbonBlock block;
    EXPECT_EQ(untilReady([&] { return d.ReadRibbonBlock(handle, buf); }), hr::S_OK);
    EXPECT_EQ(BlockCodec::decode(buf, block), BlockCodec::Status::Ok);
    return show(block);
  }

  TempDir dir;
  std::unique_ptr<SimServer> server;
  std::vector<std::shared_ptr<INembraDataServer>> objects;
};

TEST_F(SimServerTest, TokensOpenSessionsAndPassThePermissionCheck) {
  const struct {
    const char* what;
    int32_t token, node;
    HRESULT opened;
    std::pair<int32_t, int32_t> checked;  // granted and error of the permission check
  } cases[] = {{"granted", kToken, kNode, hr::S_OK, {1, 0}},
               {"unknown token", 999, kNode, hr::kCodeNoPermission, {0, 0}},
               {"expired token", kTokenExpired, kNode, hr::kCodeSessionExpired, {0, 30}},
               {"lacking the right (refused per report)", kTokenLacking, kNode, hr::S_OK, {0, 0}},
               {"unknown node", kToken, 404, hr::kInvalidUid, {1, 0}},
               {"bad token and node", 999, 404, hr::kCodeNoPermission, {0, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto d = dataServer();
    EXPECT_EQ(d->OpenSession(c.token, c.node), c.opened);
    EXPECT_EQ(server->openSessions(), c.opened == hr::S_OK ? 1 : 0);
    // Without a session every call but KeepAlive is refused.
    const HRESULT call = c.opened == hr::S_OK ? hr::S_OK : hr::kRequestNotMade;
    int32_t handle = 0;
    EXPECT_EQ(d->Connect(), call);
    EXPECT_EQ(d->StartSummaryRequest(kT0, kT0 + 900, 0, &handle), call);
    EXPECT_EQ(d->EndRequest(), call);
    EXPECT_EQ(d->KeepAlive(), hr::S_OK);
    if (call != hr::S_OK) {
      RibbonBuf ribbon;
      EXPECT_EQ(d->ReadRibbonBlock(1, ribbon), call);
      EXPECT_EQ(d->NextBlock(&handle), call);
    }
    EXPECT_EQ(check(c.token), c.checked);
    objects.clear();
  }
  EXPECT_EQ(check(kToken, 0x01), std::pair(1, 0));
}

TEST_F(SimServerTest, SessionsAreLimitedAndFreedByCloseAndRelease) {
  SimOptions options;
  options.maxSessions = 2;
  start(options);
  auto a = session();
  auto b = session();
  auto c = dataServer();
  EXPECT_EQ(c->OpenSession(kToken, kNode), hr::kMaxConnections);
  EXPECT_EQ(a->OpenSession(kToken, kNode), hr::S_OK);  // again on the same object: no new slot
  EXPECT_EQ(server->openSessions(), 2);

  EXPECT_EQ(a->CloseSession(), hr::S_OK);
  EXPECT_EQ(a->Connect(), hr::kRequestNotMade);
  EXPECT_EQ(c->OpenSession(kToken, kNode), hr::S_OK);

  objects.clear();
  b.reset();
  EXPECT_EQ(server->openSessions(), 1);
  c.reset();
  EXPECT_EQ(server->openSessions(), 0);
}

TEST_F(SimServerTest, RibbonAnswerIsReadBlockByBlockFromTheLatest) {
  auto d = session();
  int32_t handle = 0, past = 0, stranger = 0;
  // A refused request starts nothing.
  EXPECT_EQ(d->StartRibbonRequest(kT0, kT0 + 98 * 900, 900, 0, &handle), hr::kOverflow);
  ASSERT_EQ(d->StartRibbonRequest(kT0, kT0 + 3600, 1800, Statistics::kMinimum, &handle), hr::S_OK);
  EXPECT_EQ(ribbon(*d, handle), "1 n2 [1800,3600) v515/515: -2@10 -35@20 -@30");
  ASSERT_EQ(d->NextBlock(&handle), hr::S_OK);
  EXPECT_EQ(ribbon(*d, handle), "1 n2 [0,1800) v515/515: -10@10 -25@20 -@30");

  past = handle, stranger = handle + 100;
  EXPECT_EQ(d->NextBlock(&past), hr::kRequestUnavailable);
  EXPECT_EQ(past, handle);
  RibbonBuf buf;
  EXPECT_EQ(d->ReadRibbonBlock(stranger, buf), hr::kInvalidHandle);
  std::array<uint8_t, Blocks::kDayBlockSize> day;
  EXPECT_EQ(d->ReadDayBlock(handle, day), hr::kInvalidHandle);  // a ribbon handle
  EXPECT_EQ(d->NextBlock(&stranger), hr::kInvalidHandle);

  // In process until ended; a block may be read again meanwhile.
  EXPECT_EQ(d->StartDayRequest(kT0, kT0, 0, 3600, 0, &past), hr::kBusy);
  EXPECT_EQ(untilReady([&] { return d->ReadRibbonBlock(handle, buf); }), hr::S_OK);
  EXPECT_EQ(d->EndRequest(), hr::S_OK);
  EXPECT_EQ(d->ReadRibbonBlock(handle, buf), hr::kInvalidHandle);
  EXPECT_EQ(d->StartRibbonRequest(kT0, kT0 + 3600, 1800, 0, &past), hr::S_OK);
  EXPECT_NE(past, handle);  // handles of an ended request stay unknown
}

TEST_F(SimServerTest, OneBlockRequestsEndWhenTheirBlockIsRead) {
  auto d = session();
  int32_t handle = 0;
  std::array<uint8_t, Blocks::kSummaryBlockSize> summary;
  std::array<uint8_t, Blocks::kFrequencyBlockSize> frequency;
  ASSERT_EQ(d->StartSummaryRequest(kT0, kT0 + 3601, Statistics::kAverage, &handle), hr::S_OK);
  ASSERT_EQ(untilReady([&] { return d->ReadSummaryBlock(handle, summary); }), hr::S_OK);
  EXPECT_EQ(d->ReadSummaryBlock(handle, summary), hr::kInvalidHandle);
  ASSERT_EQ(d->StartFrequencyRequest(kT0, kT0 + 3600, 1800, Statistics::kBeyond3, 21.0, &handle), hr::S_OK);
  ASSERT_EQ(untilReady([&] { return d->ReadFrequencyBlock(handle, frequency); }), hr::S_OK);
  EXPECT_EQ(d->StartSummaryRequest(kT0, kT0 + 900, 0, &handle), hr::S_OK);
}

TEST(SimRequest, BlocksAreNotReadyUntilComputedAndNotComputedOnceCancelled) {
  TempDir dir;
  auto db = SimDatabase::open(dir.file("r.db"), nullptr);
  ASSERT_TRUE(db);
  fillTinyDatabase(*db);
  RequestPlan plan;
  ASSERT_EQ(RequestPlan::ribbon(kT0, kT0 + 3600, 900, 0, plan), hr::S_OK);
  RibbonBuf buf;
  // Handles 40 to 43 for the four blocks.
  auto request = std::make_shared<SimRequest>(plan, tinyPort(), 40);
  EXPECT_EQ(request->copyBlock(0, buf), hr::kNotReady);
  EXPECT_EQ((std::vector{request->indexOf(39), request->indexOf(43), request->indexOf(44)}),
            (std::vector<std::optional<std::size_t>>{std::nullopt, 3u, std::nullopt}));
  SimRequest::compute(request, *db);
  EXPECT_EQ(request->copyBlock(3, buf), hr::S_OK);

  auto cancelled = std::make_shared<SimRequest>(plan, tinyPort(), 1);
  cancelled->cancel();
  SimRequest::compute(cancelled, *db);
  EXPECT_EQ(cancelled->copyBlock(0, buf), hr::kNotReady);
  std::weak_ptr<SimRequest> gone = std::make_shared<SimRequest>(plan, tinyPort(), 1);
  SimRequest::compute(gone, *db);  // its object already let go: nothing to do
}

TEST_F(SimServerTest, ReleasingObjectsAndTheServerMidRequestIsClean) {
  auto d = session();
  int32_t handle = 0;
  ASSERT_EQ(d->StartRibbonRequest(kT0 - 96 * 900, kT0 + 900, 900, 0, &handle), hr::S_OK);
  auto e = session();
  ASSERT_EQ(e->StartDayRequest(kT0 - 96 * 86400, kT0, 0, 86400, 0, &handle), hr::S_OK);
  d.reset();
  objects.erase(objects.begin());
  server.reset();  // e outlives the server and its workers
  EXPECT_EQ(e->EndRequest(), hr::S_OK);
  EXPECT_EQ(e->StartSummaryRequest(kT0, kT0 + 900, 0, &handle), hr::kConnectionDropped);
  e.reset();
  objects.clear();
}

TEST_F(SimServerTest, SessionLifetimeRunsFromTheFirstGrantAndEndsEveryUseOfTheToken) {
  SimOptions options;
  options.sessionLifetime = std::chrono::milliseconds(150);
  start(options);
  // Idle time before the first report does not count.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(session()->Connect(), hr::S_OK);
  EXPECT_EQ(check(kToken), std::pair(1, 0));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(check(kToken), std::pair(0, 30));
  EXPECT_EQ(dataServer()->OpenSession(kToken, kNode), hr::kCodeSessionExpired);
  // A refused token never starts a lifetime.
  EXPECT_EQ(check(kTokenLacking), std::pair(0, 0));
}

TEST_F(SimServerTest, ThresholdTableWritesAtMostTheEntriesAskedFor) {
  std::shared_ptr<INembraThreshold> t;
  ASSERT_EQ(server->createThreshold(t), hr::S_OK);
  std::vector<uint8_t> buf(Blocks::kThresholdTableSize, 0xAA);
  int32_t count = 2, inUse = -1, unit = -1;
  auto get = [&](int32_t node, int32_t token) {
    return t->GetThresholdTable(node, token, &count, &inUse, &unit,
                                std::span<uint8_t, Blocks::kThresholdTableSize>(buf.data(), buf.size()));
  };
  ASSERT_EQ(get(kNode, kToken), hr::S_OK);
  EXPECT_EQ(std::tuple(count, inUse, unit, int{buf[2 * Blocks::kThresholdEntrySize]}),
            std::tuple(2, 3, 0, 0xAA));
  ThresholdTable decoded;
  ASSERT_EQ(BlockCodec::decode(buf, decoded, 2), BlockCodec::Status::Ok);
  EXPECT_EQ(std::pair(int{decoded[1].inUse}, decoded[1].frequency), std::pair(1, 20.0));
  count = 250;
  ASSERT_EQ(get(kNode, kToken), hr::S_OK);
  EXPECT_EQ(std::pair(count, int{buf.back()}), std::pair(250, 0));
  EXPECT_EQ(get(kNode, 999), hr::kCodeNoPermission);
  EXPECT_EQ(get(404, kToken), hr::kInvalidUid);
}

TEST(SimClock, DaysFromTheEndOf1899) {
  EXPECT_EQ(SimClock::toDateValue(kT0 + 43200), 25569.0 + 19675.5);
}

TEST_F(SimServerTest, IdentityNeedsUserPasswordAndTheLocalDomain) {
  EXPECT_TRUE(server->authenticate({"alice", ".", "secret"}));
  for (const ServerIdentity& refused :
       {ServerIdentity{"alice", ".", "Secret"}, ServerIdentity{"alice", "CORP", "secret"},
        ServerIdentity{"bob", ".", "secret"}, ServerIdentity{"", ".", ""}})
    EXPECT_FALSE(server->authenticate(refused)) << refused.user << "/" << refused.domain;
}

// A database of an older build kept the password itself; opening it stores
// the hash instead, and the user still signs in.
TEST_F(SimServerTest, PlainTextPasswordsAreHashedWhenOpened) {
  const auto stored = [this] {
    sqlite3* raw = nullptr;
    sqlite3_open(dir.file("tiny.db").c_str(), &raw);
    SqliteStatement s(raw, "SELECT password FROM users WHERE name = 'alice'");
    std::string text = s.step() ? s.columnText(0) : "";
    s = {};
    sqlite3_close(raw);
    return text;
  };
  EXPECT_TRUE(PasswordHash::verify("secret", stored()));
  server.reset();
  {
    sqlite3* raw = nullptr;
    sqlite3_open(dir.file("tiny.db").c_str(), &raw);
    ASSERT_EQ(sqlite3_exec(raw, "UPDATE users SET password = 'secret'", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
  }
  start({});
  EXPECT_TRUE(PasswordHash::isHash(stored()));
  EXPECT_EQ(stored().find("secret"), std::string::npos);
  EXPECT_TRUE(server->authenticate({"alice", ".", "secret"}));
}

TEST(PasswordHash, SaltedAndCheckedOnlyAsAHash) {
  const std::string a = PasswordHash::make("secret"), b = PasswordHash::make("secret");
  EXPECT_NE(a, b);  // a salt of its own each
  EXPECT_EQ(std::tuple(PasswordHash::verify("secret", a), PasswordHash::verify("Secret", a),
                       PasswordHash::verify("secret", "secret"), PasswordHash::verify("secret", a + "0")),
            std::tuple(true, false, false, false));
}

// Five wrong passwords within a minute lock the user and the peer for half a
// minute; failures older than the window do not count.
TEST(LoginThrottle, LocksAUserOrAPeerAfterRepeatedFailures) {
  const struct {
    std::vector<std::pair<const char*, int64_t>> failures;  // user from peer "p", at a time
    const char* user;
    const char* peer;
    int64_t at;
    bool admitted;
  } cases[] = {
      {{{"a", 0}, {"a", 1}, {"a", 2}, {"a", 3}}, "a", "q", 4, true},
      {{{"a", 0}, {"a", 1}, {"a", 2}, {"a", 3}, {"a", 4}}, "a", "q", 5, false},
      {{{"a", 0}, {"a", 1}, {"a", 2}, {"a", 3}, {"a", 4}}, "a", "q", 4 + LoginThrottle::kLockSeconds, true},
      {{{"a", 0}, {"b", 1}, {"c", 2}, {"d", 3}, {"e", 4}}, "z", "p", 5, false},  // one peer, many names
      {{{"a", 0}, {"b", 1}, {"c", 2}, {"d", 3}, {"e", 4}}, "z", "q", 5, true},
      {{{"a", 0}, {"a", 1}, {"a", 2}, {"a", 3}, {"a", 60}}, "a", "q", 61, true},  // the first aged out
  };
  for (const auto& c : cases) {
    LoginThrottle throttle;
    for (const auto& [user, t] : c.failures) throttle.failed(user, "p", t);
    EXPECT_EQ(throttle.admits(c.user, c.peer, c.at), c.admitted) << c.user << "@" << c.peer << " " << c.at;
  }
}

TEST_F(SimServerTest, GuessingIsRefusedUncheckedForAWhile) {
  int64_t now = 1000;
  SimOptions options;
  options.clock = [&now] { return now; };
  start(options);
  for (int i = 0; i < LoginThrottle::kMaxFailures; ++i)
    EXPECT_FALSE(server->authenticate({"alice", ".", "guess"}, "ipv4:192.0.2.9"));
  EXPECT_FALSE(server->authenticate({"alice", ".", "secret"}, "ipv4:192.0.2.1"));
  now += LoginThrottle::kLockSeconds;
  EXPECT_TRUE(server->authenticate({"alice", ".", "secret"}, "ipv4:192.0.2.1"));
}

TEST(SimServerOpen, RefusesADatabaseItCannotOpenAndCreatesNoObjects) {
  SimOptions options;
  options.dbPath = "/nonexistent-dir/x.db";
  SimServer server(options);
  EXPECT_FALSE(server.open(nullptr));
  std::shared_ptr<INembraDataServer> d;
  EXPECT_EQ(server.createDataServer(d), hr::E_FAIL);
}

}  // namespace
