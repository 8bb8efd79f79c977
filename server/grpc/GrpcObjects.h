#pragma once

#include "server/INembraClock.h"
#include "server/INembraSecurity.h"
#include "server/INembraThreshold.h"
#include "server/grpc/GrpcRemoteObject.h"

// The threshold, security and clock objects of a server reached over gRPC.

class GrpcThreshold : public INembraThreshold, private GrpcRemoteObject {
public:
  GrpcThreshold(std::shared_ptr<const GrpcConnection> c, uint64_t id) : GrpcRemoteObject(std::move(c), id) {}
  HRESULT GetThresholdTable(int32_t node, int32_t token, int32_t* count, int32_t* out1, int32_t* out2,
                            std::span<uint8_t, Blocks::kThresholdTableSize> table) override;
};

class GrpcSecurity : public INembraSecurity, private GrpcRemoteObject {
public:
  GrpcSecurity(std::shared_ptr<const GrpcConnection> c, uint64_t id) : GrpcRemoteObject(std::move(c), id) {}
  HRESULT CheckPermission(int32_t token, int32_t permission, int32_t* granted, int32_t* error) override;
  HRESULT KeepAlive() override;
};

class GrpcClock : public INembraClock, private GrpcRemoteObject {
public:
  GrpcClock(std::shared_ptr<const GrpcConnection> c, uint64_t id) : GrpcRemoteObject(std::move(c), id) {}
  HRESULT GetTime(double* time) override;
};
