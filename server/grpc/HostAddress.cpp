#include "server/grpc/HostAddress.h"

#include <algorithm>
#include <cctype>

namespace {

bool isPort(const std::string& s) {
  if (s.empty() || s.size() > 5) return false;
  if (!std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); })) return false;
  const int port = std::stoi(s);
  return port > 0 && port <= 65535;
}

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string grpcTarget(const std::string& hostText, int defaultPort) {
  const std::string host = trimmed(hostText);
  const std::string fallback = std::to_string(defaultPort);
  // No server named: the server on this machine, as an empty server name
  // always meant to launchers.
  if (host.empty()) return "localhost:" + fallback;
  if (host.front() == '[') {
    const auto close = host.find(']');
    if (close == std::string::npos || close == 1) return {};
    const std::string rest = host.substr(close + 1);
    if (rest.empty()) return host + ":" + fallback;
    if (rest.front() != ':' || !isPort(rest.substr(1))) return {};
    return host;
  }
  const auto colon = host.find(':');
  if (colon == std::string::npos) return host + ":" + fallback;
  // A bare IPv6 address has several colons and no port.
  if (host.find(':', colon + 1) != std::string::npos) return "[" + host + "]:" + fallback;
  if (colon == 0 || !isPort(host.substr(colon + 1))) return {};
  return host;
}
