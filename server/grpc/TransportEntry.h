#pragma once

#include "server/IServerObjects.h"

#include <cstdint>

// The one function of the transport module (quillon-transport.so), which the
// program loads on its first connection rather than at start: creates the
// server's objects on `host` over gRPC (see GrpcServerObjects). The caller
// owns the answer; the module stays loaded for the rest of the process.
using TransportCreate = IServerObjects* (*)(const char* host, const ServerIdentity* identity,
                                            int64_t deadlineMs, const char* caFile);
inline constexpr char kTransportCreateName[] = "quillon_transport_create";
