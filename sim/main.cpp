#include "sim/DemoSeeder.h"
#include "sim/FaultPlan.h"
#include "sim/SimCommandLine.h"
#include "sim/SimDatabase.h"
#include "sim/SimHost.h"
#include "sim/SimLog.h"
#include "sim/SimServer.h"

#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) {
  g_stop = 1;
}

int seed(const SimCommandLine& c) {
  std::string error;
  auto db = SimDatabase::open(c.db, &error);
  if (!db) {
    std::cerr << "nembra-sim: " << error << "\n";
    return 1;
  }
  const int32_t end = DemoSeeder::quarterHourAt(c.endTime.value_or(DemoSeeder::currentQuarterHour()));
  const auto started = std::chrono::steady_clock::now();
  if (!seedDemo(*db, end, &error)) {
    std::cerr << "nembra-sim: seeding failed: " << error << "\n";
    return 1;
  }
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
  if (!c.quiet) {
    const std::time_t t = end;
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&t));
    std::cerr << "nembra-sim: demo data up to " << when << " written in " << ms.count() << " ms\n";
  }
  return 0;
}

// The label, the low and high frequency, then the four threshold names, one
// per line: what a launcher passes to SetFreqRange and
// LaunchORBWithThreshNames.
int printPortInfo(const SimCommandLine& c) {
  std::string error;
  auto db = SimDatabase::open(c.db, &error);
  const auto port = db ? db->port(*c.portInfo) : std::nullopt;
  if (!port || port->frequencies.empty()) {
    std::cerr << "nembra-sim: no port with node " << *c.portInfo << (error.empty() ? "" : ": ") << error
              << "\n";
    return 1;
  }
  std::cout << port->label << "\n";
  // Shortest text that reads back as the same double.
  for (const double f : {port->frequencies.front(), port->frequencies.back()}) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, f);
    std::cout << std::string_view(text, static_cast<size_t>(written.ptr - text)) << "\n";
  }
  for (const std::string& name : port->thresholdNames) std::cout << name << "\n";
  return 0;
}

int serve(const SimCommandLine& c) {
  const ListenSecurity security{c.tlsCert, c.tlsKey, c.allowPlaintext};
  std::string error;
  // Refused before the database is opened, so a refusal changes nothing.
  if (!SimHost::mayListen(*c.listen, security, &error)) {
    std::cerr << "nembra-sim: " << error << "\n";
    return 1;
  }
  SimOptions options;
  options.dbPath = c.db;
  options.maxSessions = c.maxSessions;
  options.workerThreads = c.workers;
  if (c.expireAfterSeconds) options.sessionLifetime = std::chrono::seconds(*c.expireAfterSeconds);
  options.scanInterval = c.scanIntervalSeconds;
  if (!c.faults.empty()) {
    auto plan = FaultPlan::parse(c.faults, &error);
    if (!plan) {
      std::cerr << "nembra-sim: " << error << "\n";
      return 2;
    }
    options.faults = std::make_shared<FaultPlan>(std::move(*plan));
  }
  SimServer server(options);
  if (!server.open(&error)) {
    std::cerr << "nembra-sim: " << error << "\n";
    return 1;
  }
  ServiceOptions serviceOptions;
  serviceOptions.objectTimeout = std::chrono::seconds(c.objectTimeoutSeconds);
  serviceOptions.dropAfterCalls = c.dropAfterCalls;
  SimHost host(server, serviceOptions);
  if (!host.start(*c.listen, &error, security)) {
    std::cerr << "nembra-sim: " << error << "\n";
    return 1;
  }
  const std::string hostPart = c.listen->substr(0, c.listen->rfind(':'));
  // Scripts wait for this line to know the server is up and on which port.
  std::cout << "nembra-sim listening on " << hostPart << ":" << host.port() << std::endl;
  if (!c.tlsCert.empty()) SimLog::line("TLS with the certificate " + c.tlsCert);

  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::thread stopper([&host] {
    while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    host.shutdown();
  });
  host.wait();
  g_stop = 1;
  stopper.join();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto command = SimCommandLine::parse(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!command) {
    std::cerr << "nembra-sim: " << error << "\n\n" << SimCommandLine::usage();
    return 2;
  }
  if (command->help) {
    std::cout << SimCommandLine::usage();
    return 0;
  }
  if (command->version) {
    std::cout << "nembra-sim " QUILLON_VERSION "\n";
    return 0;
  }
  SimLog::setEnabled(!command->quiet);
  if (command->seedDemo) {
    if (const int rc = seed(*command); rc != 0) return rc;
  }
  if (command->portInfo) {
    if (const int rc = printPortInfo(*command); rc != 0) return rc;
  }
  return command->listen ? serve(*command) : 0;
}
