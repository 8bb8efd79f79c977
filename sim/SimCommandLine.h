#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What `nembra-sim` was asked to do.
struct SimCommandLine {
  std::string db;                         // --db FILE
  std::optional<std::string> listen;      // --listen HOST:PORT (port 0: any free port)
  std::string tlsCert;                    // --tls-cert FILE (PEM)
  std::string tlsKey;                     // --tls-key FILE (PEM)
  bool allowPlaintext = false;            // --allow-plaintext
  bool seedDemo = false;                  // --seed-demo
  std::optional<int64_t> endTime;         // --end-time: the demo data's last scan
  int maxSessions = 32;                   // --max-sessions N
  int workers = 2;                        // --workers N
  std::vector<std::string> faults;        // --fault KIND:CALL:VALUE, repeatable
  int64_t dropAfterCalls = 0;             // --drop-after N
  int objectTimeoutSeconds = 600;         // --object-timeout S
  std::optional<int> expireAfterSeconds;  // --expire-after S
  int scanIntervalSeconds = 900;          // --scan-interval S (0: no live scans)
  bool quiet = false;                     // --quiet
  std::optional<int32_t> portInfo;        // --port-info NODE
  bool help = false;                      // --help
  bool version = false;                   // --version

  // The parsed command line, or nothing with the reason in `error`.
  static std::optional<SimCommandLine> parse(const std::vector<std::string>& args, std::string* error);
  static std::string usage();
  // Default address when --listen names none.
  static std::string defaultListen();
};

// Seconds since 1970 of "2026-12-05T15:45:00Z", "2026-12-05T15:45" (UTC) or a
// plain number of seconds; nothing for other text.
std::optional<int64_t> parseUtcTime(const std::string& text);
