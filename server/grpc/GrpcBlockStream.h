#pragma once

#include "server/HResult.h"

#include <cstdint>
#include <memory>
#include <optional>

#include "server/nembra.grpc.pb.h"

class GrpcConnection;

// The answer of one request as the server streams it: block reads and
// NextBlock answers, taken in the order the fetch asks for them. A call the
// stream does not hold next (another handle, a read again, a stream that
// ended) is the caller's to make on its own; the stream is then let go.
class GrpcBlockStream {
public:
  GrpcBlockStream(const GrpcConnection& connection, uint64_t objectId, int kind, int32_t handle);
  ~GrpcBlockStream();  // cancels what the server still sends
  GrpcBlockStream(const GrpcBlockStream&) = delete;
  GrpcBlockStream& operator=(const GrpcBlockStream&) = delete;

  // The read of `handle`, or NextBlock's answer after the read of `handle`,
  // when that is what the stream holds next.
  std::optional<nembra::BlockStep> take(bool next, int32_t handle);

  // The server does not know the streamed call (an older one): every block
  // is then asked for call by call.
  bool unsupported() const { return m_status.error_code() == grpc::StatusCode::UNIMPLEMENTED; }

private:
  void finish(bool ended);

  grpc::ClientContext m_context;
  std::unique_ptr<grpc::ClientReader<nembra::BlockStep>> m_reader;
  grpc::Status m_status;
  std::optional<nembra::BlockStep> m_ahead;
  int32_t m_lastRead;
};
