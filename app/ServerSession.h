#pragma once

#include "app/KeepAliveTicker.h"
#include "core/CNBDateTime.h"
#include "core/LevelUnit.h"
#include "core/StartupSettings.h"
#include "server/HResult.h"
#include "server/IServerObjects.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class INembraDataServer;
class INembraSecurity;

// The program's one connection to the monitoring server: opened once by a
// launch, checked before every report, lent to each fetch's worker, closed at
// exit. Failures are reported through ReportServerError and end the program.
class ServerSession {
public:
  // Makes the object factory for a host and identity; the default speaks
  // gRPC. Tests pass fakes.
  using ObjectsFactory =
      std::function<std::shared_ptr<IServerObjects>(const std::string& host, const ServerIdentity& identity)>;
  using Sleep = std::function<void(std::chrono::milliseconds)>;

  static constexpr const char* kCommandLineDataClass = "{E1E1F603-5464-11D1-B74D-00A0C909E2DC}";
  // Retries of Connect while the server answers that it is still busy.
  static constexpr int kConnectRetries = 250;
  static constexpr std::chrono::milliseconds kConnectRetryWait{100};
  // Creation is retried at once while the server asks to try later; a bound
  // keeps a server that never stops asking from hanging the program.
  static constexpr int kCreateRetries = 1000;

  explicit ServerSession(ObjectsFactory factory = {}, Sleep sleep = {});
  ~ServerSession();
  ServerSession(const ServerSession&) = delete;
  ServerSession& operator=(const ServerSession&) = delete;

  // The seven connection steps; false when any failed (already reported).
  // A session already open is closed on the server first, and a failure
  // leaves none: either every object is the new session's or there is none.
  [[nodiscard]] bool Connect(int32_t node, const QString& serverClass, const QString& host, int32_t token,
                             const QString& label);
  // Whether the token may run the program; a refusal is shown and the main
  // window asked to close.
  [[nodiscard]] bool CheckPermission();
  // Pings both objects so the server keeps the session, off the UI thread;
  // a failure only marks the session lost (sessionLost). False when the
  // previous pings still wait.
  bool KeepAlive();
  // Closes the session on the server and releases everything.
  void Close();

  // A failed keep-alive ping (a server gone, or one that no longer knows the
  // session) since the last clear; set from the pings' thread.
  bool sessionLost() const { return m_lost.load(); }
  void clearSessionLost() { m_lost = false; }

  // Reconnecting without a word to the user, for a report that follows the
  // server: the UI thread takes a request (the identity read now), a worker
  // opens the session aside with it, the UI thread adopts what was opened.
  struct OpenRequest {
    ObjectsFactory factory;
    Sleep sleep;
    ServerIdentity identity;
    std::string host;
    std::string dataClass;
    int32_t token = 0;
    int32_t node = 0;
    // The session being replaced, closed on the server first when given.
    std::shared_ptr<INembraDataServer> previous;
  };
  struct Opened {
    std::shared_ptr<IServerObjects> objects;
    std::shared_ptr<INembraDataServer> data;
    std::shared_ptr<INembraSecurity> security;
    HRESULT code = hr::S_OK;
    QString context;               // of a failure, as Connect would report it
    CertificateCheck certificate;  // why a TLS server was not trusted, if that failed
  };
  OpenRequest reopenRequest() const;
  // The connection steps of Connect on any thread, with the same retries;
  // `busyScope` wraps the busy retries (Connect shows the wait cursor there).
  static Opened open(const OpenRequest& request,
                     const std::function<void(const std::function<void()>&)>& busyScope = {});
  // Takes over a session opened whole; the keep-alive starts afresh.
  void adopt(Opened&& opened);

  // For the fetch workers and the threshold read.
  std::shared_ptr<INembraDataServer> dataServer() const { return m_data; }
  std::shared_ptr<IServerObjects> objects() const { return m_objects; }
  bool isConnected() const { return m_data != nullptr; }

  // What the connection was opened for.
  int32_t token() const { return m_token; }
  void setToken(int32_t token) { m_token = token; }
  int32_t node() const { return m_node; }
  void setNode(int32_t node) { m_node = node; }
  QString label() const { return m_label; }
  QString titleLabel() const { return m_titleLabel; }
  void setLabel(const QString& label) { m_label = m_titleLabel = label; }
  QString host() const { return m_host; }
  void setHost(const QString& host) { m_host = host; }
  QString serverClass() const { return m_serverClass; }
  void setServerClass(const QString& cls) { m_serverClass = cls; }

private:
  template <typename T>
  static HRESULT createWithRetry(const std::function<HRESULT(std::shared_ptr<T>&)>& create,
                                 std::shared_ptr<T>& out);
  // The context of a session failure: none for the connection limit, whose
  // message says it all.
  static QString sessionContext(HRESULT code);

  ObjectsFactory m_factory;
  Sleep m_sleep;
  std::shared_ptr<IServerObjects> m_objects;
  std::shared_ptr<INembraDataServer> m_data;
  std::shared_ptr<INembraSecurity> m_security;

  QString m_serverClass;
  QString m_host;
  int32_t m_token = -1;
  int32_t m_node = 0;
  QString m_titleLabel;
  QString m_label;
  std::atomic<bool> m_lost{false};
  KeepAliveTicker m_keepAlive;  // last: its thread goes first
};
