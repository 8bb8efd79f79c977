// The program against nembra-sim on an address other than loopback: TLS with
// certificates made for the run, each certificate problem named and no call
// with the identity made; the server's own refusals of plaintext.
#include "app/COrbiskDoc.h"
#include "app/ConnectedSession.h"
#include "app/ServerSession.h"
#include "core/SettingsStore.h"
#include "e2e/LoopbackSim.h"
#include "resources/Strings.h"
#include "server/grpc/GrpcServerObjects.h"
#include "support/DemoDatabase.h"

#include <netdb.h>
#include <unistd.h>
#include <QTemporaryDir>

namespace {

using namespace std::chrono_literals;

constexpr int32_t kEnd = 1796040000;  // 2026-11-30 12:00 UTC

// This machine's name, when it resolves: a host that is not loopback by its
// text, which the client must speak TLS to, though the packets stay here.
std::string resolvableHostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &found) != 0) return {};
  freeaddrinfo(found);
  return name;
}

class TlsTest : public TempSettingsTest {
protected:
  static void SetUpTestSuite() {
    SimLog::setEnabled(false);
    s_host = resolvableHostName();
    s_certs = std::make_unique<QTemporaryDir>();
    if (s_host.empty()) return;
    const std::string command = "bash " QUILLON_SOURCE_DIR "/tests/e2e/make_test_certs.sh '" +
                                s_certs->path().toStdString() + "' '" + s_host + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  static void TearDownTestSuite() { s_certs.reset(); }

  void SetUp() override {
    if (s_host.empty()) GTEST_SKIP() << "this machine's name does not resolve";
    TempSettingsTest::SetUp();
    writeIdentity(machineFile(), DemoSeeder::kUser, DemoSeeder::kPassword);
  }

  static std::string cert(const char* name) { return (s_certs->path() + "/" + name).toStdString(); }

  // Serves the demo on every address, with `certificate` or (empty) plaintext.
  std::string serve(const char* certificate) {
    SimOptions options;
    options.dbPath = seededDemoDatabase(kEnd, 2);
    m_server = std::make_unique<SimServer>(options);
    std::string error;
    EXPECT_TRUE(m_server->open(&error)) << error;
    m_host = std::make_unique<SimHost>(*m_server, ServiceOptions{});
    const ListenSecurity security = *certificate
                                        ? ListenSecurity{cert(certificate), cert("server.key"), false}
                                        : ListenSecurity{{}, {}, true};
    EXPECT_TRUE(m_host->start("0.0.0.0:0", &error, security)) << error;
    return s_host + ":" + std::to_string(m_host->port());
  }

  void trust(const std::string& caFile) {
    SettingsStore store;
    store.sectionKey(Strings::LoadString(Strings::IDS_SECURITY_SECTION))
        .writeText(Strings::LoadString(Strings::IDS_SECURITY_CA_FILE_KEY), QString::fromStdString(caFile));
    store.sync();
  }

  bool connect(const std::string& address) {
    return m_session.Connect(DemoSeeder::kQuietNode, ServerSession::kCommandLineDataClass,
                             QString::fromStdString(address), DemoSeeder::kToken, "Port 3");
  }

  inline static std::string s_host;
  inline static std::unique_ptr<QTemporaryDir> s_certs;
  RecordingPrompts m_prompts;
  ScopedPrompts m_installed{m_prompts};
  std::unique_ptr<SimServer> m_server;
  std::unique_ptr<SimHost> m_host;
  ServerSession m_session;
};

TEST_F(TlsTest, AVerifiedServerIsConnectedAndAReportFetched) {
  trust(cert("ca.pem"));
  ASSERT_TRUE(connect(serve("good.pem"))) << m_prompts.informatives.join('|').toStdString();
  COrbiskDoc doc(m_session);
  doc.setPacing(FetchPacing{20ms, 5ms, {}});
  GraphQuery q;
  q.graphType = TimeWindowDetail;
  q.SetStart(CNBDateTime::FromSeconds(kEnd - 3600));
  q.SetEnd(CNBDateTime::FromSeconds(kEnd));
  ASSERT_TRUE(doc.RunReport(q)) << m_prompts.texts.join('|').toStdString();
  EXPECT_EQ(doc.ribbonSet(TimeWindowDetail).ribbonCount, 4);
  EXPECT_GT(doc.ribbonSet(TimeWindowDetail).entryCount(0), 0);
  EXPECT_TRUE(m_prompts.texts.isEmpty());
}

// Each problem ends the attempt through the communication error with one
// line naming it, and no call (which would carry the identity) was made.
TEST_F(TlsTest, CertificateProblemsAreNamedAndNothingIsSent) {
  const struct {
    const char* certificate;  // empty: the server speaks plaintext
    const char* caFile;
    const char* line;
  } cases[] = {
      {"good.pem", "other-ca.pem", "signed by an unknown authority"},
      {"wrongname.pem", "ca.pem", "made out to another name"},
      {"expired.pem", "ca.pem", "has expired or is not yet valid (certificate has expired)"},
      {"", "ca.pem", "does not answer with TLS"},
      {"good.pem", "no-such-ca.pem", "CA file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.certificate);
    m_prompts.texts.clear();
    m_prompts.informatives.clear();
    trust(cert(c.caFile));
    const std::string address = serve(c.certificate);
    EXPECT_FALSE(connect(address));
    ASSERT_EQ(m_prompts.texts.size(), 1);
    EXPECT_EQ(m_prompts.texts[0], Strings::LoadString(Strings::IDS_ERR_COMMUNICATING));
    EXPECT_TRUE(m_prompts.informatives[0].startsWith("Certificate problem"))
        << m_prompts.informatives[0].toStdString();
    EXPECT_TRUE(m_prompts.informatives[0].contains(c.line)) << m_prompts.informatives[0].toStdString();
    // Refused by the check before the call, not merely by the channel's own.
    std::shared_ptr<INembraDataServer> data;
    GrpcServerObjects objects(address, {DemoSeeder::kUser, ".", DemoSeeder::kPassword}, 5000ms,
                              cert(c.caFile));
    EXPECT_EQ(objects.CreateDataServer(ServerSession::kCommandLineDataClass, data),
              hr::RPC_S_CALL_FAILED_DNE);
    EXPECT_EQ(m_host->service().calls(), 0);
  }
}

TEST_F(TlsTest, PlaintextOffLoopbackIsRefusedUnlessAskedFor) {
  SimServer server(SimOptions{});
  SimHost host(server, ServiceOptions{});
  std::string error;
  EXPECT_FALSE(host.start("0.0.0.0:0", &error));
  EXPECT_NE(error.find("without TLS"), std::string::npos) << error;
  EXPECT_FALSE(host.start("0.0.0.0:0", &error, {cert("good.pem"), {}, false}));
  EXPECT_NE(error.find("--tls-key"), std::string::npos) << error;
  EXPECT_TRUE(host.start("0.0.0.0:0", &error, {{}, {}, true})) << error;
}

}  // namespace
