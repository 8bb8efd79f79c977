#include "ConnectedSession.h"
#include "core/CNBServerDateTime.h"
#include "core/ServerErrors.h"
#include "core/ShellEvents.h"
#include "resources/Strings.h"

#include <QCursor>
#include <future>

namespace {

class ServerSessionTest : public TempSettingsTest {
protected:
  void SetUp() override {
    TempSettingsTest::SetUp();
    writeIdentity(machineFile(), "demo", "nembra-demo");
    QCoreApplication::processEvents();  // close requests still queued by an earlier test
    QObject::connect(&ShellEvents::instance(), &ShellEvents::closeRequested, &m_guard,
                     [this] { ++m_closes; });
  }

  std::unique_ptr<ServerSession> session() {
    return std::make_unique<ServerSession>(
        [this](const std::string& host, const ServerIdentity& identity) {
          m_login = host + "|" + identity.user + "|" + identity.domain + "|" + identity.password;
          // Kept here too: a failed connect releases the session's objects.
          m_fake = std::make_shared<FakeServerObjects>();
          m_configure(*m_fake);
          return m_fake;
        },
        [this](std::chrono::milliseconds d) {
          m_sleeps.push_back(d);
          const QCursor* cursor = QGuiApplication::overrideCursor();
          m_waitCursorAtSleep += cursor && cursor->shape() == Qt::WaitCursor;
        });
  }
  bool connect(ServerSession& s) {
    return s.Connect(3, ServerSession::kCommandLineDataClass, "nembra01", 1001, "Port 3");
  }
  int closes() {
    QCoreApplication::processEvents();
    return m_closes;
  }

  std::function<void(FakeServerObjects&)> m_configure = [](FakeServerObjects&) {};
  std::shared_ptr<FakeServerObjects> m_fake;
  std::string m_login;
  std::vector<std::chrono::milliseconds> m_sleeps;
  int m_waitCursorAtSleep = 0;
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  QObject m_guard;
  int m_closes = 0;
};

TEST_F(ServerSessionTest, MissingIdentityIsReportedWithoutCallingTheServer) {
  for (const auto& [user, password] : {std::pair{"", "x"}, std::pair{"demo", ""}}) {
    writeIdentity(machineFile(), user, password);
    m_fake = nullptr;
    auto s = session();
    EXPECT_FALSE(connect(*s));
    EXPECT_EQ(m_fake, nullptr);
  }
  EXPECT_EQ(m_prompts.texts, QStringList(2, Strings::LoadString(Strings::IDS_SERVER_INFO_MISSING)));
  EXPECT_EQ(m_prompts.informatives.value(0),
            "Quillon looked for the keys Extra1 (user) and Extra2 (password) under Client/ServerInfo in " +
                machineFile() + "; write them with \"quillon-setup-identity --config-dir " + systemDir() +
                " --user NAME\".");
  EXPECT_EQ(closes(), 0);  // this one failure leaves the window to the launcher
}

TEST_F(ServerSessionTest, CreationRetriesWhileTheServerAsksToTryLater) {
  m_configure = [](FakeServerObjects& f) {
    f.createData.script = {hr::RPC_E_SERVERCALL_RETRYLATER, hr::RPC_E_SERVERCALL_RETRYLATER};
    f.createSecurity.script = {hr::RPC_E_SERVERCALL_RETRYLATER};
  };
  auto s = session();
  EXPECT_TRUE(connect(*s));
  EXPECT_EQ(std::pair(m_fake->createData.calls, m_fake->createSecurity.calls), std::pair(3, 2));
  EXPECT_TRUE(m_sleeps.empty());  // creation retries at once

  m_configure = [](auto& f) { f.createData.fallback = hr::RPC_E_SERVERCALL_RETRYLATER; };
  auto stuck = session();
  EXPECT_FALSE(connect(*stuck));
  EXPECT_EQ(m_fake->createData.calls, ServerSession::kCreateRetries);
}

// Each failing step is reported once, with what to fix where the program
// knows it, and asks the window to close.
TEST_F(ServerSessionTest, FailedStepsReportOnceAndAskToClose) {
  const QString unreachable =
      "No Nembra server answered at nembra01:50515; check the address and port the launcher passed (/IP) "
      "and that the server runs there.";
  const struct {
    std::function<void(FakeServerObjects&)> configure;
    HRESULT code;
    bool withContext;
    QString hint = {};
  } cases[] = {
      {[](auto& f) { f.createData.script = {hr::REGDB_E_CLASSNOTREG}; }, hr::REGDB_E_CLASSNOTREG, true},
      {[](auto& f) { f.createData.script = {hr::E_ACCESSDENIED}; }, hr::E_ACCESSDENIED, true,
       "The server refused the user name or password read from " + machineFile() +
           "; write them again with \"quillon-setup-identity --config-dir " + systemDir() +
           " --user NAME\", which asks for the password."},
      {[](auto& f) { f.createData.script = {hr::RPC_S_SERVER_UNAVAILABLE}; }, hr::RPC_S_SERVER_UNAVAILABLE,
       true, unreachable},
      {[](auto& f) { f.createSecurity.script = {hr::RPC_S_CALL_FAILED}; }, hr::RPC_S_CALL_FAILED, true,
       unreachable},
      {[](auto& f) { f.data->openSession.script = {hr::kInvalidUid}; }, hr::kInvalidUid, true,
       "The server knows no port with node number 3; check the node the launcher passed (/NODE)."},
      {[](auto& f) { f.data->openSession.script = {hr::kMaxConnections}; }, hr::kMaxConnections, false},
      {[](auto& f) { f.data->openSession.script = {30}; }, 30, true},
      // Only the exact success code opens a session.
      {[](auto& f) { f.data->openSession.script = {hr::S_FALSE}; }, hr::S_FALSE, true},
      {[](auto& f) { f.data->connect.script = {hr::kConnectionDropped}; }, hr::kConnectionDropped, true},
      {[](auto& f) { f.data->connect.script = {hr::kMaxConnections}; }, hr::kMaxConnections, false},
      // The 251st busy answer is reported.
      {[](auto& f) { f.data->connect.script = std::deque<HRESULT>(251, hr::kConnectBusy); }, hr::kConnectBusy,
       true},
  };
  int expectedCloses = 0;
  for (const auto& c : cases) {
    m_prompts.texts.clear();
    m_prompts.informatives.clear();
    m_configure = c.configure;
    auto s = session();
    EXPECT_FALSE(connect(*s)) << c.code;
    const QString context =
        c.withContext ? Strings::LoadString(Strings::IDS_CTX_UNABLE_TO_CONNECT) : QString();
    EXPECT_EQ(m_prompts.texts, QStringList{ServerErrors::MessageFor(c.code, context)}) << c.code;
    EXPECT_EQ(m_prompts.informatives, QStringList{c.hint}) << c.code;
    EXPECT_EQ(closes(), ++expectedCloses) << c.code;
  }
  // A busy server is asked 250 times more, a tenth of a second apart, under the wait cursor.
  EXPECT_EQ(m_fake->data->connect.calls, 251);
  EXPECT_EQ(m_sleeps, std::vector<std::chrono::milliseconds>(250, std::chrono::milliseconds(100)));
  EXPECT_EQ(m_waitCursorAtSleep, 250);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  m_configure = [](FakeServerObjects& f) {
    f.data->connect.script = std::deque<HRESULT>(250, hr::kConnectBusy);
    f.data->connect.fallback = 1;  // any non-negative answer connects
  };
  auto patient = session();
  EXPECT_TRUE(connect(*patient));
  EXPECT_EQ(m_fake->data->connect.calls, 251);
}

TEST_F(ServerSessionTest, PermissionAnswers) {
  const struct {
    int32_t granted, error;
    int messageId;  // 0: granted
  } cases[] = {{1, 0, 0},
               {0, 30, Strings::IDS_SECURITY_CHECK_FAILED},  // the error code is tested first
               {1, 30, Strings::IDS_SECURITY_CHECK_FAILED},
               {0, 0, Strings::IDS_NO_PERMISSION},
               {1, 5, Strings::IDS_UI_PERMISSION_UNKNOWN},
               {2, 0, Strings::IDS_UI_PERMISSION_UNKNOWN}};
  auto s = session();
  ASSERT_TRUE(connect(*s));
  int expectedCloses = 0;
  for (const auto& c : cases) {
    m_prompts.texts.clear();
    m_fake->security->granted = c.granted;
    m_fake->security->error = c.error;
    EXPECT_EQ(s->CheckPermission(), c.messageId == 0);
    EXPECT_EQ(std::pair(m_fake->security->lastPermission, m_fake->security->lastToken),
              std::pair(0x40, 1001));
    expectedCloses += c.messageId != 0;
    EXPECT_EQ(m_prompts.texts, c.messageId ? QStringList{Strings::LoadString(c.messageId)} : QStringList())
        << c.granted << "/" << c.error;
  }
  EXPECT_EQ(closes(), expectedCloses);
}

// The server's clock reads day zero without a session or an answer.
TEST_F(ServerSessionTest, ConnectsWithTheStoredIdentityReplacesAndKeepsAlive) {
  auto s = session();
  CNBServerDateTime clock([&] { return s->objects().get(); });
  EXPECT_EQ(clock.Now().value(), 0.0);
  ASSERT_TRUE(connect(*s));
  EXPECT_EQ(m_login, "nembra01|demo|.|nembra-demo");
  EXPECT_EQ(m_fake->dataClasses, std::vector<std::string>{ServerSession::kCommandLineDataClass});
  EXPECT_EQ(QStringLiteral("%1 %2 %3").arg(s->label()).arg(s->node()).arg(s->token()), "Port 3 3 1001");
  m_fake->clock->time = 45000.25;
  EXPECT_EQ(clock.Now().value(), 45000.25);
  m_fake->clock->result = hr::RPC_S_CALL_FAILED;
  EXPECT_EQ(clock.Now().value(), 0.0);

  const auto first = m_fake;
  m_configure = [](auto& f) { f.createSecurity.fallback = hr::E_ACCESSDENIED; };
  EXPECT_FALSE(connect(*s));
  EXPECT_EQ(first->data->closeSession.calls, 1);
  EXPECT_TRUE(!s->isConnected() && !s->objects());
  // Nothing of the first session is asked for permission any more.
  EXPECT_FALSE(s->CheckPermission());
  m_configure = [](FakeServerObjects&) {};
  ASSERT_TRUE(connect(*s));
  EXPECT_EQ(s->objects(), m_fake);

  // Keep-alive pings both servers, ignores their failures and never waits for
  // a hanging one; Close waits for the pings and ends the session once.
  m_prompts.texts.clear();
  auto data = m_fake->data;  // keep the fake past the session's release
  data->keepAlive.fallback = hr::RPC_S_CALL_FAILED;
  std::promise<void> release;
  data->onKeepAlive = [released = release.get_future().share()] { released.wait(); };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(s->KeepAlive());
  EXPECT_FALSE(s->KeepAlive());  // the first round still waits: no second one piles up
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  release.set_value();
  s->Close();
  EXPECT_EQ(std::pair(data->keepAlive.calls, m_fake->security->keepAlive.calls), std::pair(1, 1));
  EXPECT_TRUE(m_prompts.texts.isEmpty());
  EXPECT_FALSE(s->isConnected());
  s->Close();
  EXPECT_EQ(data->closeSession.calls, 1);
  ServerSession never;
  never.KeepAlive();
  never.Close();
}

}  // namespace
