#pragma once

#include "server/IServerObjects.h"

#include <chrono>
#include <optional>
#include <string>

// The authorities a client trusts: the system's store (SSL_CERT_FILE, else
// Debian's bundle) plus the PEM certificates of `caFile` when one is named;
// nothing when the named file cannot be read or holds no certificate.
std::optional<std::string> trustedRoots(const std::string& caFile);

struct TlsProbeResult {
  bool reached = false;  // a TCP connection was made
  CertificateCheck check;
};

// Shakes hands with `target` ("host:port") over TLS, checking the server's
// certificate against `rootsPem` and the target's host name, and closes the
// connection without sending anything else. It answers which problem the
// certificate has, which a gRPC channel does not say; the channel checks the
// same again, so a server that changes in between still gets no identity.
TlsProbeResult probeTls(const std::string& target, const std::string& rootsPem,
                        std::chrono::milliseconds timeout);
