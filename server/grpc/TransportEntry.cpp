#include "server/grpc/TransportEntry.h"

#include "server/grpc/GrpcServerObjects.h"

#include <chrono>

extern "C" IServerObjects* quillon_transport_create(const char* host, const ServerIdentity* identity,
                                                    int64_t deadlineMs, const char* caFile) {
  // Checked against the declaration the program calls through.
  [[maybe_unused]] constexpr TransportCreate kSignature = &quillon_transport_create;
  return new GrpcServerObjects(host, *identity, std::chrono::milliseconds(deadlineMs), caFile);
}
