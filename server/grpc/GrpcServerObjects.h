#pragma once

#include "server/IServerObjects.h"

#include <chrono>
#include <memory>
#include <string>

class GrpcConnection;

// Creates the server's objects on a host over one gRPC channel. The channel
// connects lazily; an unreachable host answers 0x800706BA on the first call.
class GrpcServerObjects : public IServerObjects {
public:
  // Deadline of each call: long enough for a busy server, short enough that a
  // dead one is reported instead of hanging the program.
  static constexpr std::chrono::milliseconds kDefaultDeadline{10000};

  GrpcServerObjects(const std::string& host, ServerIdentity identity,
                    std::chrono::milliseconds deadline = kDefaultDeadline);
  ~GrpcServerObjects() override;

  // False when the host text names no host; every creation then answers
  // 0x800706BA.
  bool hasTarget() const { return m_connection != nullptr; }

  HRESULT CreateDataServer(const std::string& classId, std::shared_ptr<INembraDataServer>& out) override;
  HRESULT CreateThreshold(const std::string& classId, std::shared_ptr<INembraThreshold>& out) override;
  HRESULT CreateSecurity(std::shared_ptr<INembraSecurity>& out) override;
  HRESULT CreateClock(std::shared_ptr<INembraClock>& out) override;

private:
  HRESULT create(const std::string& classId, std::string_view interfaceId, uint64_t* objectId);

  std::shared_ptr<const GrpcConnection> m_connection;
};
