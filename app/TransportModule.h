#pragma once

#include "server/IServerObjects.h"

#include <QStringList>
#include <chrono>
#include <memory>
#include <string>

// The gRPC transport lives in a module of its own (quillon-transport.so), so
// the program starts without gRPC, protobuf and the libraries they bring and
// loads them on its first connection.
class TransportModule {
public:
  // Where the module is looked for, in order: beside the program, in the
  // installed folder relative to it, then the build tree's copy.
  static QStringList candidates(const QString& programFolder);

  // The server's objects on `host` over the transport, loaded on the first
  // call. When it cannot be loaded, every creation answers
  // RPC_S_SERVER_UNAVAILABLE, so the connection fails as an unreachable
  // server does, and the reason goes to standard error.
  static std::shared_ptr<IServerObjects> create(const std::string& host, const ServerIdentity& identity,
                                                std::chrono::milliseconds deadline,
                                                const std::string& caFile);
};
