#pragma once

#include "server/INembraDataServer.h"
#include "server/grpc/GrpcRemoteObject.h"

#include <memory>
#include <mutex>
#include <optional>

class GrpcBlockStream;
namespace nembra {
class BlockStep;
}

// The data object of a server reached over gRPC. Released on the server when
// the proxy goes. The blocks of an answer come in one streamed call, opened
// by the first read; the fetch's reads and NextBlock calls take them from it
// as they arrive, so a block still being computed costs no polling round trip.
class GrpcDataServer : public INembraDataServer, private GrpcRemoteObject {
public:
  GrpcDataServer(std::shared_ptr<const GrpcConnection> connection, uint64_t objectId);
  ~GrpcDataServer() override;

  HRESULT Connect() override;
  HRESULT OpenSession(int32_t token, int32_t node) override;
  HRESULT CloseSession() override;
  HRESULT StartSummaryRequest(int32_t start, int32_t end, int32_t statistic, int32_t* handle) override;
  HRESULT ReadSummaryBlock(int32_t handle, std::span<uint8_t, Blocks::kSummaryBlockSize> block) override;
  HRESULT StartFrequencyRequest(int32_t start, int32_t end, int32_t intervalSeconds, int32_t statistic,
                                double frequencyMHz, int32_t* handle) override;
  HRESULT ReadFrequencyBlock(int32_t handle, std::span<uint8_t, Blocks::kFrequencyBlockSize> block) override;
  HRESULT StartRibbonRequest(int32_t start, int32_t end, int32_t intervalSeconds, int32_t statistic,
                             int32_t* handle) override;
  HRESULT NextBlock(int32_t* handle) override;
  HRESULT EndRequest() override;
  HRESULT ReadRibbonBlock(int32_t handle, std::span<uint8_t, Blocks::kRibbonBlockSize> block) override;
  HRESULT ReadDayBlock(int32_t handle, std::span<uint8_t, Blocks::kDayBlockSize> block) override;
  HRESULT StartDayRequest(int32_t firstDay, int32_t lastDay, int32_t windowStart, int32_t windowEnd,
                          int32_t statistic, int32_t* handle) override;
  HRESULT KeepAlive() override;

private:
  // A block read: the reply's bytes are copied only when the call succeeded
  // with a block of exactly the expected size.
  HRESULT readBlock(int kind, int32_t handle, std::span<uint8_t> out);
  // The read of `handle` from the answer's stream, opening one where none
  // holds it; nothing when the server cannot stream it.
  std::optional<nembra::BlockStep> streamedRead(int kind, int32_t handle);
  void endStream();

  std::mutex m_streamMutex;
  std::unique_ptr<GrpcBlockStream> m_stream;
  bool m_streaming = true;
};
