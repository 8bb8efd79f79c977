#include "app/ServerSession.h"

#include "app/WaitCursor.h"

#include "app/TransportModule.h"
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "core/RetryLoop.h"
#include "core/ServerErrors.h"
#include "core/SettingsStore.h"
#include "core/ShellEvents.h"
#include "resources/Strings.h"
#include "server/INembraDataServer.h"
#include "server/INembraSecurity.h"
#include "server/ServerIds.h"
#include "server/grpc/GrpcServerObjects.h"
#include "server/grpc/HostAddress.h"

#include <thread>

namespace {

const QString kServerInfoKey = QStringLiteral("SOFTWARE\\Veltrix\\PM\\Client\\ServerInfo");

// The CA file trusted besides the system's store, from the profile's own
// section, and where that setting lives, for the message that names it.
constexpr int kPathBytes = 4096;
QString caFileSetting(QString* where = nullptr) {
  SettingsStore store;
  const QString section = Strings::LoadString(Strings::IDS_SECURITY_SECTION);
  const QString key = Strings::LoadString(Strings::IDS_SECURITY_CA_FILE_KEY);
  if (where) *where = section + "/" + key + " (" + store.userSettings().fileName() + ")";
  return store.sectionKey(section).readText(key, kPathBytes).value_or(QString()).trimmed();
}

// Stored identity texts are 8-bit; QSettings hands them over as Latin-1.
std::string storedIdentity(const QString& valueName) {
  return UnscrambleIdentity(SettingsStore::machineText(kServerInfoKey, valueName).toLatin1().toStdString());
}

}  // namespace

ServerSession::ServerSession(ObjectsFactory factory, Sleep sleep)
    : m_factory(std::move(factory)), m_sleep(std::move(sleep)) {
  if (!m_factory)
    m_factory = [](const std::string& host,
                   const ServerIdentity& identity) -> std::shared_ptr<IServerObjects> {
      return TransportModule::create(host, identity, GrpcServerObjects::kDefaultDeadline,
                                     caFileSetting().toStdString());
    };
  if (!m_sleep) m_sleep = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };
}

ServerSession::~ServerSession() = default;

QString ServerSession::sessionContext(HRESULT code) {
  return code == hr::kMaxConnections ? QString() : Strings::LoadString(Strings::IDS_CTX_UNABLE_TO_CONNECT);
}

template <typename T>
HRESULT ServerSession::createWithRetry(const std::function<HRESULT(std::shared_ptr<T>&)>& create,
                                       std::shared_ptr<T>& out) {
  RetryLoop loop;
  loop.retryCode = hr::RPC_E_SERVERCALL_RETRYLATER;
  loop.maxCalls = kCreateRetries;
  const HRESULT r = *loop.run([&] { return create(out); });
  if (r != hr::S_OK) out.reset();
  return r;
}

ServerSession::Opened ServerSession::open(
    const OpenRequest& request, const std::function<void(const std::function<void()>&)>& busyScope) {
  Opened result;
  if (request.previous) request.previous->CloseSession();
  std::shared_ptr<IServerObjects> objects = request.factory(request.host, request.identity);
  const auto fail = [&result, &objects](HRESULT code, const QString& context) {
    result = Opened{};
    result.code = code;
    result.context = context;
    result.certificate = objects->certificateCheck();
    return result;
  };
  std::shared_ptr<INembraDataServer> data;
  std::shared_ptr<INembraSecurity> security;
  const QString unableToConnect = Strings::LoadString(Strings::IDS_CTX_UNABLE_TO_CONNECT);
  HRESULT r = createWithRetry<INembraDataServer>(
      [&](std::shared_ptr<INembraDataServer>& out) {
        return objects->CreateDataServer(request.dataClass, out);
      },
      data);
  if (r != hr::S_OK) return fail(r, unableToConnect);
  // The identity travels with every call the objects make, so nothing more is
  // applied to them here.
  r = createWithRetry<INembraSecurity>(
      [&](std::shared_ptr<INembraSecurity>& out) { return objects->CreateSecurity(out); }, security);
  if (r != hr::S_OK) return fail(r, unableToConnect);

  r = data->OpenSession(request.token, request.node);
  if (r != hr::S_OK) return fail(r, sessionContext(r));
  RetryLoop busy;
  busy.retryCode = hr::kConnectBusy;
  busy.maxCalls = 1 + kConnectRetries;
  busy.wait = kConnectRetryWait;
  busy.sleep = request.sleep;
  const auto retries = [&] { r = *busy.run([&] { return data->Connect(); }); };
  if (busyScope)
    busyScope(retries);
  else
    retries();
  if (hr::failed(r)) {
    data->CloseSession();
    return fail(r, sessionContext(r));
  }
  result.objects = std::move(objects);
  result.data = std::move(data);
  result.security = std::move(security);
  return result;
}

ServerSession::OpenRequest ServerSession::reopenRequest() const {
  OpenRequest request;
  request.factory = m_factory;
  request.sleep = m_sleep;
  request.identity.user = storedIdentity(QStringLiteral("Extra1"));
  request.identity.password = storedIdentity(QStringLiteral("Extra2"));
  request.host = m_host.toStdString();
  request.dataClass = m_serverClass.toStdString();
  request.token = m_token;
  request.node = m_node;
  request.previous = m_data;
  return request;
}

void ServerSession::adopt(Opened&& opened) {
  m_keepAlive.wait();
  m_objects = std::move(opened.objects);
  m_data = std::move(opened.data);
  m_security = std::move(opened.security);
  m_lost = false;
}

bool ServerSession::Connect(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                            const QString& label) {
  m_node = node;
  m_serverClass = serverClass;
  m_host = host;
  m_token = token;
  setLabel(label);

  OpenRequest request = reopenRequest();
  if (request.identity.user.empty() || request.identity.password.empty()) {
    Prompts::current().message(ShellEvents::instance().messageOwner(),
                               Strings::LoadString(Strings::IDS_SERVER_INFO_MISSING),
                               ServerErrors::MissingIdentityHint(SettingsStore::machineFile()));
    return false;
  }
  request.previous.reset();
  const std::string target = grpcTarget(host.toStdString(), ServerIds::kDefaultPort);
  const ServerErrors::ConnectionFacts facts{SettingsStore::machineFile(),
                                            target.empty() ? host : QString::fromStdString(target), node};

  Close();
  // Built aside and taken over only whole, so a failed step leaves no
  // half-old session behind. The busy retries hold the UI thread for up to
  // 25 seconds, under the wait cursor.
  Opened opened = open(request, [](const std::function<void()>& retries) {
    const WaitCursor cursor;
    retries();
  });
  if (opened.code != hr::S_OK) {
    // A certificate problem says which in place of the unreachable hint, which
    // would be wrong: the server answered, Quillon hung up.
    QString setting;
    caFileSetting(&setting);
    const QString certificate = ServerErrors::CertificateHint(opened.certificate, facts.address, setting);
    ReportServerError(opened.code, opened.context,
                      certificate.isEmpty() ? ServerErrors::ConnectionHint(opened.code, facts) : certificate);
    return false;
  }
  adopt(std::move(opened));
  return true;
}

bool ServerSession::CheckPermission() {
  int32_t granted = 0;
  int32_t error = 0;
  if (m_security) m_security->CheckPermission(m_token, ServerIds::kLaunchPermission, &granted, &error);
  if (granted == 1 && error == 0) return true;
  int id = Strings::IDS_UI_PERMISSION_UNKNOWN;
  if (error == hr::kCodeSessionExpired)
    id = Strings::IDS_SECURITY_CHECK_FAILED;
  else if (granted == 0)
    id = Strings::IDS_NO_PERMISSION;
  Prompts::current().message(ShellEvents::instance().messageOwner(), Strings::LoadString(id));
  ShellEvents::instance().requestClose();
  return false;
}

bool ServerSession::KeepAlive() {
  if (!m_data && !m_security) return false;
  // The pings hold their own references: a session closed or replaced
  // meanwhile stays alive until they return.
  return m_keepAlive.tick([this, data = m_data, security = m_security] {
    bool failed = data && hr::failed(data->KeepAlive());
    failed = (security && hr::failed(security->KeepAlive())) || failed;
    if (failed) m_lost = true;
  });
}

void ServerSession::Close() {
  // A round of pings still out ends within its calls' deadlines; the session
  // is closed after it, so the server never sees a ping for a closed session.
  m_keepAlive.wait();
  if (m_data) m_data->CloseSession();
  m_data.reset();
  m_security.reset();
  m_objects.reset();
}
