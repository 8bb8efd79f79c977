#include "sim/SimServer.h"

#include "sim/SimAuthenticator.h"
#include "sim/SimClock.h"
#include "sim/SimContext.h"
#include "sim/SimDataServer.h"
#include "sim/SimDatabase.h"
#include "sim/SimSecurity.h"
#include "sim/SimThreshold.h"

SimServer::SimServer(SimOptions options) : m_context(std::make_shared<SimContext>(std::move(options))) {}

// Objects may outlive the server, but its worker threads may not.
SimServer::~SimServer() {
  m_context->shutdown();
}

bool SimServer::open(std::string* error) {
  if (!m_context->open(error)) return false;
  if (!m_authenticator) {
    auto clock = m_context->options().clock ? m_context->options().clock : &SimContext::nowSeconds;
    m_authenticator = std::make_unique<SimAuthenticator>(m_context->db(), std::move(clock));
  }
  return true;
}

bool SimServer::authenticate(const ServerIdentity& identity, const std::string& peer) {
  return m_authenticator && m_authenticator->authenticate(identity, peer);
}

HRESULT SimServer::createDataServer(std::shared_ptr<INembraDataServer>& out) {
  if (!m_context->isOpen()) return hr::E_FAIL;
  out = std::make_shared<SimDataServer>(m_context);
  return hr::S_OK;
}

HRESULT SimServer::createThreshold(std::shared_ptr<INembraThreshold>& out) {
  if (!m_context->isOpen()) return hr::E_FAIL;
  out = std::make_shared<SimThreshold>(m_context);
  return hr::S_OK;
}

HRESULT SimServer::createSecurity(std::shared_ptr<INembraSecurity>& out) {
  if (!m_context->isOpen()) return hr::E_FAIL;
  out = std::make_shared<SimSecurity>(m_context);
  return hr::S_OK;
}

HRESULT SimServer::createClock(std::shared_ptr<INembraClock>& out) {
  if (!m_context->isOpen()) return hr::E_FAIL;
  out = std::make_shared<SimClock>(m_context);
  return hr::S_OK;
}

int SimServer::openSessions() const {
  return m_context->openSessions();
}

const SimOptions& SimServer::options() const {
  return m_context->options();
}
