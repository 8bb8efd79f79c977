#include "app/TransportModule.h"

#include "server/grpc/TransportEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <cstdio>

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
  QStringList tried;
  for (const QString& place : TransportModule::candidates(QCoreApplication::applicationDirPath())) {
    if (!QFileInfo(place).isFile()) continue;
    // Never unloaded: the objects it makes may live until the process ends.
    QLibrary module(place);
    if (auto create = reinterpret_cast<TransportCreate>(module.resolve(kTransportCreateName))) return create;
    tried << module.errorString();
  }
  if (tried.isEmpty())
    tried << QStringLiteral("not found in %1").arg(TransportModule::candidates({}).join(", "));
  std::fprintf(stderr, "quillon: cannot load the server transport: %s\n",
               tried.join(QStringLiteral("; ")).toLocal8Bit().constData());
  return nullptr;
}

}  // namespace

QStringList TransportModule::candidates(const QString& programFolder) {
  const QString name = QStringLiteral("quillon-transport.so");
  QStringList places;
  if (!programFolder.isEmpty()) {
    const QDir program(programFolder);
    places << program.filePath(name);
    places << QDir::cleanPath(program.filePath(QStringLiteral(QUILLON_TRANSPORT_FROM_PROGRAM "/") + name));
  }
  places << QStringLiteral(QUILLON_BUILD_TRANSPORT);
  return places;
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
