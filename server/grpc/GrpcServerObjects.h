#pragma once

#include "server/IServerObjects.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class GrpcConnection;

// Creates the server's objects on a host over one gRPC channel. The channel
// connects lazily; an unreachable host answers 0x800706BA on the first call.
// A host other than loopback is spoken to over TLS only: before the first
// call its certificate is checked (TlsProbe), and a problem answers
// 0x800706BF (the call was not made) with certificateCheck() saying which,
// before the identity has left the program.
class GrpcServerObjects : public IServerObjects {
public:
  // Deadline of each call: long enough for a busy server, short enough that a
  // dead one is reported instead of hanging the program.
  static constexpr std::chrono::milliseconds kDefaultDeadline{10000};

  // `caFile`: PEM certificates trusted besides the system's store.
  GrpcServerObjects(const std::string& host, ServerIdentity identity,
                    std::chrono::milliseconds deadline = kDefaultDeadline, const std::string& caFile = {});
  ~GrpcServerObjects() override;

  // False when the host text names no host; every creation then answers
  // 0x800706BA.
  bool hasTarget() const { return m_connection != nullptr; }

  HRESULT CreateDataServer(const std::string& classId, std::shared_ptr<INembraDataServer>& out) override;
  HRESULT CreateThreshold(const std::string& classId, std::shared_ptr<INembraThreshold>& out) override;
  HRESULT CreateSecurity(std::shared_ptr<INembraSecurity>& out) override;
  HRESULT CreateClock(std::shared_ptr<INembraClock>& out) override;
  CertificateCheck certificateCheck() const override;

private:
  HRESULT create(const std::string& classId, std::string_view interfaceId, uint64_t* objectId);
  // S_OK once the host's certificate passed (at once for loopback).
  HRESULT checkCertificate();

  std::shared_ptr<const GrpcConnection> m_connection;
  std::string m_target;
  std::optional<std::string> m_roots;  // set for TLS; nothing when the CA file is unusable
  bool m_tls = false;
  std::chrono::milliseconds m_deadline;

  mutable std::mutex m_checkMutex;
  bool m_checked = false;
  CertificateCheck m_check;
};
