#include "server/grpc/TlsProbe.h"

#include "server/grpc/HostAddress.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

constexpr const char* kSystemBundle = "/etc/ssl/certs/ca-certificates.crt";

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

template <typename T, void (*Free)(T*)>
struct Deleter {
  void operator()(T* p) const { Free(p); }
};
using SslCtx = std::unique_ptr<SSL_CTX, Deleter<SSL_CTX, SSL_CTX_free>>;
using Ssl = std::unique_ptr<SSL, Deleter<SSL, SSL_free>>;
using X509Ptr = std::unique_ptr<X509, Deleter<X509, X509_free>>;

int countCertificates(const std::string& pem) {
  BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  int n = 0;
  while (X509* cert = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr)) {
    X509_free(cert);
    ++n;
  }
  BIO_free(bio);
  ERR_clear_error();
  return n;
}

bool addRoots(SSL_CTX* ctx, const std::string& pem) {
  X509_STORE* store = SSL_CTX_get_cert_store(ctx);
  BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  while (X509* cert = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr)) {
    X509_STORE_add_cert(store, cert);
    X509_free(cert);
  }
  BIO_free(bio);
  ERR_clear_error();
  return true;
}

// A connected socket to the target, or -1.
int connectTo(const std::string& host, const std::string& port, std::chrono::milliseconds timeout) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return -1;
  int fd = -1;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    bool connected = connect(fd, a->ai_addr, a->ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int err = 0;
      socklen_t len = sizeof err;
      connected = poll(&p, 1, static_cast<int>(timeout.count())) == 1 &&
                  getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
    }
    if (!connected) {
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  if (fd >= 0) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    timeval tv{static_cast<time_t>(timeout.count() / 1000),
               static_cast<suseconds_t>(timeout.count() % 1000 * 1000)};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  }
  return fd;
}

// OpenSSL writes to the socket with write(), so a server that hangs up
// mid-handshake (a plaintext one does) would end the program with SIGPIPE.
// The signal is held back on this thread while the probe runs, and one it
// raised is taken before the old mask returns.
class SigpipeHeld {
public:
  SigpipeHeld() {
    sigemptyset(&m_pipe);
    sigaddset(&m_pipe, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    m_wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old);
  }
  ~SigpipeHeld() {
    if (!m_wasPending) {
      const timespec now{};
      sigtimedwait(&m_pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
  sigset_t m_pipe{}, m_old{};
  bool m_wasPending = false;
};

CertificateProblem problemOf(long verifyResult) {
  switch (verifyResult) {
    case X509_V_OK: return CertificateProblem::None;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_CERT_SIGNATURE_FAILURE:
    case X509_V_ERR_CERT_UNTRUSTED: return CertificateProblem::UnknownAuthority;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH: return CertificateProblem::WrongName;
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID: return CertificateProblem::Expired;
    default: return CertificateProblem::Other;
  }
}

std::string lastSslError() {
  const unsigned long e = ERR_get_error();
  ERR_clear_error();
  if (e == 0) return "the connection ended during the handshake";
  char text[256];
  ERR_error_string_n(e, text, sizeof text);
  return text;
}

}  // namespace

std::optional<std::string> trustedRoots(const std::string& caFile) {
  const char* systemFile = std::getenv("SSL_CERT_FILE");
  std::string roots = readFile(systemFile && *systemFile ? systemFile : kSystemBundle).value_or("");
  if (caFile.empty()) return roots;
  const auto extra = readFile(caFile);
  if (!extra || countCertificates(*extra) == 0) return std::nullopt;
  if (!roots.empty() && roots.back() != '\n') roots += '\n';
  return roots + *extra;
}

TlsProbeResult probeTls(const std::string& target, const std::string& rootsPem,
                        std::chrono::milliseconds timeout) {
  TlsProbeResult result;
  const SigpipeHeld held;
  const std::string host = targetHost(target);
  const auto colon = target.rfind(':');
  if (host.empty() || colon == std::string::npos) return result;
  const int fd = connectTo(host, target.substr(colon + 1), timeout);
  if (fd < 0) return result;
  result.reached = true;

  SslCtx ctx(SSL_CTX_new(TLS_client_method()));
  Ssl ssl(ctx ? SSL_new(ctx.get()) : nullptr);
  auto& check = result.check;
  if (!ssl) {
    close(fd);
    check = {CertificateProblem::Other, lastSslError()};
    return result;
  }
  SSL_CTX_set_min_proto_version(ctx.get(), TLS1_2_VERSION);
  addRoots(ctx.get(), rootsPem);
  // The verdict is read after the handshake, so that it can say which check
  // failed; nothing but the handshake travels either way.
  SSL_set_verify(ssl.get(), SSL_VERIFY_NONE, nullptr);
  static const unsigned char kAlpn[] = {2, 'h', '2'};
  SSL_set_alpn_protos(ssl.get(), kAlpn, sizeof kAlpn);
  in6_addr ip{};
  const bool isIp = inet_pton(AF_INET, host.c_str(), &ip) == 1 || inet_pton(AF_INET6, host.c_str(), &ip) == 1;
  if (isIp) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl.get()), host.c_str());
  } else {
    SSL_set1_host(ssl.get(), host.c_str());
    SSL_set_tlsext_host_name(ssl.get(), host.c_str());
  }
  SSL_set_fd(ssl.get(), fd);
  if (SSL_connect(ssl.get()) != 1) {
    check = {CertificateProblem::NoTls, lastSslError()};
  } else if (X509Ptr peer(SSL_get1_peer_certificate(ssl.get())); !peer) {
    check = {CertificateProblem::Other, "the server sent no certificate"};
  } else {
    const long verdict = SSL_get_verify_result(ssl.get());
    check = {problemOf(verdict), verdict == X509_V_OK ? "" : X509_verify_cert_error_string(verdict)};
    SSL_shutdown(ssl.get());
  }
  close(fd);
  return result;
}
