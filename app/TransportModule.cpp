#include "app/TransportModule.h"

#include "core/LoadableModule.h"
#include "server/grpc/TransportEntry.h"

#include <QCoreApplication>

// Defined where the process has the transport linked in (see quillon_grpc);
// the program itself has not, and loads the module.
extern "C" IServerObjects* quillon_transport_create(const char* host, const ServerIdentity* identity,
                                                    int64_t deadlineMs, const char* caFile)
    __attribute__((weak));

namespace {

class UnavailableObjects : public IServerObjects {
public:
  HRESULT CreateDataServer(const std::string&, std::shared_ptr<INembraDataServer>&) override { return no(); }
  HRESULT CreateThreshold(const std::string&, std::shared_ptr<INembraThreshold>&) override { return no(); }
  HRESULT CreateSecurity(std::shared_ptr<INembraSecurity>&) override { return no(); }
  HRESULT CreateClock(std::shared_ptr<INembraClock>&) override { return no(); }

private:
  static HRESULT no() { return hr::RPC_S_SERVER_UNAVAILABLE; }
};

TransportCreate load() {
  if (quillon_transport_create) return &quillon_transport_create;
  return reinterpret_cast<TransportCreate>(
      LoadableModule::resolve(TransportModule::candidates(QCoreApplication::applicationDirPath()),
                              kTransportCreateName, "the server transport"));
}

}  // namespace

QStringList TransportModule::candidates(const QString& programFolder) {
  return LoadableModule::candidates(QStringLiteral("quillon-transport.so"), programFolder,
                                    QStringLiteral(QUILLON_TRANSPORT_FROM_PROGRAM),
                                    QStringLiteral(QUILLON_BUILD_TRANSPORT));
}

std::shared_ptr<IServerObjects> TransportModule::create(const std::string& host,
                                                        const ServerIdentity& identity,
                                                        std::chrono::milliseconds deadline,
                                                        const std::string& caFile) {
  // Loaded once, by whichever thread connects first.
  static const TransportCreate create = load();
  if (!create) return std::make_shared<UnavailableObjects>();
  return std::shared_ptr<IServerObjects>(create(host.c_str(), &identity, deadline.count(), caFile.c_str()));
}
