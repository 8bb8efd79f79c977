#include "sim/SimHost.h"

#include <grpcpp/grpcpp.h>

#include <chrono>

SimHost::SimHost(SimServer& server, ServiceOptions options)
    : m_service(std::make_unique<NembraService>(server, options)) {}

SimHost::~SimHost() {
  shutdown();
}

bool SimHost::start(const std::string& address, std::string* error) {
  grpc::ServerBuilder builder;
  builder.AddListeningPort(address, grpc::InsecureServerCredentials(), &m_port);
  builder.RegisterService(m_service.get());
  m_server = builder.BuildAndStart();
  if (!m_server || m_port == 0) {
    if (error) *error = "cannot listen on " + address;
    m_server.reset();
    return false;
  }
  return true;
}

void SimHost::wait() {
  if (m_server) m_server->Wait();
}

void SimHost::shutdown() {
  if (!m_server) return;
  m_service->stopServing();
  m_server->Shutdown(std::chrono::system_clock::now() + std::chrono::seconds(2));
}
