#include "server/grpc/GrpcBlockStream.h"

#include "server/grpc/GrpcConnection.h"

GrpcBlockStream::GrpcBlockStream(const GrpcConnection& connection, uint64_t objectId, int kind,
                                 int32_t handle)
    : m_lastRead(handle) {
  nembra::ReadBlocksRequest request;
  request.set_object_id(objectId);
  request.set_handle(handle);
  request.set_kind(kind);
  connection.prepare(m_context);
  m_reader = connection.stub()->ReadBlocks(&m_context, request);
}

GrpcBlockStream::~GrpcBlockStream() {
  finish(false);
}

void GrpcBlockStream::finish(bool ended) {
  if (!m_reader) return;
  // The server may be far ahead of the fetch, or still sending: either way
  // nothing more is wanted. A stream the server ended keeps its status.
  if (!ended) m_context.TryCancel();
  m_status = m_reader->Finish();
  m_reader.reset();
}

std::optional<nembra::BlockStep> GrpcBlockStream::take(bool next, int32_t handle) {
  if (!m_reader) return std::nullopt;
  if (!m_ahead) {
    nembra::BlockStep step;
    if (!m_reader->Read(&step)) {
      finish(true);
      return std::nullopt;
    }
    m_ahead = std::move(step);
  }
  const bool wanted = m_ahead->next() == next && (next ? m_lastRead == handle : m_ahead->handle() == handle);
  if (!wanted) {
    finish(false);
    return std::nullopt;
  }
  std::optional<nembra::BlockStep> step = std::exchange(m_ahead, std::nullopt);
  if (!next) m_lastRead = handle;
  // The server sends nothing after an answer other than 0.
  if (step->hr() != hr::S_OK) finish(false);
  return step;
}
