#include "sim/SimCommandLine.h"

#include "server/ServerIds.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace {

template <typename T>
bool parseNumber(const std::string& text, T& out) {
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [ptr, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && ptr == last;
}

}  // namespace

std::string SimCommandLine::defaultListen() {
  return "127.0.0.1:" + std::to_string(ServerIds::kDefaultPort);
}

std::string SimCommandLine::usage() {
  return "Usage: nembra-sim --db FILE [--seed-demo [--end-time TIME]] [--listen HOST:PORT] [options]\n"
         "\n"
         "A stand-in monitoring server for Quillon: it keeps ports, users, tokens and scans\n"
         "in an SQLite database and answers the client's calls over gRPC.\n"
         "\n"
         "  --db FILE            the database (created by --seed-demo)\n"
         "  --seed-demo          fill the database with the deterministic demo data\n"
         "  --end-time TIME      last scan of the demo data, as 2026-12-05T15:45:00Z or seconds\n"
         "                       since 1970 (default: the current quarter hour)\n"
         "  --listen HOST:PORT   serve on this address (default " +
         defaultListen() +
         "; port 0 picks a free\n"
         "                       port, printed on the first line of output)\n"
         "  --tls-cert FILE      serve TLS with this certificate (PEM; the chain after it)\n"
         "  --tls-key FILE       the certificate's private key (PEM)\n"
         "  --allow-plaintext    serve an address other than loopback without TLS (refused\n"
         "                       otherwise: passwords would cross the network in clear)\n"
         "  --max-sessions N     open sessions before OpenSession answers 0x80044310 (32)\n"
         "  --workers N          threads that compute answers (2)\n"
         "  --fault RULE         inject a fault, repeatable: busy:CALL:N, notready:CALL:N,\n"
         "                       fail:CALL:CODE, delay:CALL:MS, answer:CALL:CODE (a success\n"
         "                       answers CODE instead; CALL is the method name)\n"
         "  --drop-after N       after N calls every call fails as a dropped connection\n"
         "  --object-timeout S   release objects idle for S seconds (600)\n"
         "  --expire-after S     end each token's session S seconds after its first granted\n"
         "                       permission check (later checks answer error 30)\n"
         "  --scan-interval S    while serving, add a scan of each demo port every S seconds,\n"
         "                       first catching up from its newest stored scan (900; 0: none)\n"
         "  --quiet              no log lines\n"
         "  --port-info NODE     print the port's label, lowest and highest frequency (MHz)\n"
         "                       and four threshold names, one per line, for a launcher\n"
         "  --help               this text\n"
         "  --version            print the program's name and version\n"
         "\n"
         "The demo data (--seed-demo) has ports (nodes) 3, 7 and 12, the user \"demo\" with\n"
         "password \"nembra-demo\", and tokens 1001 (may run Quillon), 1002 (lacks the right)\n"
         "and 1003 (expired). Quillon signs in with the user and password that\n"
         "quillon-setup-identity writes; a launcher passes the token, the node and the\n"
         "address nembra-sim prints.\n";
}

std::optional<int64_t> parseUtcTime(const std::string& text) {
  int64_t seconds = 0;
  if (parseNumber(text, seconds)) return seconds;
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail[4] = {};
  const int n = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%3s", &y, &mo, &d, &h, &mi, &s, tail);
  const bool withSeconds = n >= 6;
  if (n < 5) return std::nullopt;
  if (!withSeconds) {
    const int m = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%3s", &y, &mo, &d, &h, &mi, tail);
    if (m < 5) return std::nullopt;
    s = 0;
  }
  const std::string zone(tail);
  if (!zone.empty() && zone != "Z") return std::nullopt;
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59) return std::nullopt;
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  return static_cast<int64_t>(timegm(&tm));
}

std::optional<SimCommandLine> SimCommandLine::parse(const std::vector<std::string>& args,
                                                    std::string* error) {
  SimCommandLine c;
  auto fail = [&](const std::string& why) -> std::optional<SimCommandLine> {
    if (error) *error = why;
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      c.help = true;
    } else if (a == "--version") {
      c.version = true;
    } else if (a == "--seed-demo") {
      c.seedDemo = true;
    } else if (a == "--quiet") {
      c.quiet = true;
    } else if (a == "--port-info") {
      int32_t node = 0;
      if (!value(&v) || !parseNumber(v, node)) return fail("--port-info needs a node number");
      c.portInfo = node;
    } else if (a == "--db") {
      if (!value(&c.db)) return fail("--db needs a file");
    } else if (a == "--listen") {
      if (!value(&v) || v.find(':') == std::string::npos) return fail("--listen needs HOST:PORT");
      c.listen = v;
    } else if (a == "--tls-cert") {
      if (!value(&c.tlsCert)) return fail("--tls-cert needs a file");
    } else if (a == "--tls-key") {
      if (!value(&c.tlsKey)) return fail("--tls-key needs a file");
    } else if (a == "--allow-plaintext") {
      c.allowPlaintext = true;
    } else if (a == "--end-time") {
      if (!value(&v)) return fail("--end-time needs a time");
      c.endTime = parseUtcTime(v);
      if (!c.endTime) return fail("--end-time: not a UTC time: " + v);
    } else if (a == "--max-sessions") {
      if (!value(&v) || !parseNumber(v, c.maxSessions) || c.maxSessions < 1)
        return fail("--max-sessions needs a number of at least 1");
    } else if (a == "--workers") {
      if (!value(&v) || !parseNumber(v, c.workers) || c.workers < 1 || c.workers > 64)
        return fail("--workers needs a number from 1 to 64");
    } else if (a == "--fault") {
      if (!value(&v)) return fail("--fault needs KIND:CALL:VALUE");
      c.faults.push_back(v);
    } else if (a == "--drop-after") {
      if (!value(&v) || !parseNumber(v, c.dropAfterCalls) || c.dropAfterCalls < 1)
        return fail("--drop-after needs a number of at least 1");
    } else if (a == "--object-timeout") {
      if (!value(&v) || !parseNumber(v, c.objectTimeoutSeconds) || c.objectTimeoutSeconds < 1)
        return fail("--object-timeout needs a number of seconds");
    } else if (a == "--expire-after") {
      int seconds = 0;
      if (!value(&v) || !parseNumber(v, seconds) || seconds < 0)
        return fail("--expire-after needs a number of seconds");
      c.expireAfterSeconds = seconds;
    } else if (a == "--scan-interval") {
      if (!value(&v) || !parseNumber(v, c.scanIntervalSeconds) || c.scanIntervalSeconds < 0 ||
          c.scanIntervalSeconds > 86400)
        return fail("--scan-interval needs a number of seconds from 0 to 86400");
    } else {
      return fail("unknown option: " + a);
    }
  }
  if (c.help || c.version) return c;
  if (c.db.empty()) return fail("--db FILE is required");
  if (!c.seedDemo && !c.portInfo && !c.listen) c.listen = defaultListen();
  return c;
}
