#include "server/grpc/HostAddress.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstring>

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

std::string targetHost(const std::string& target) {
  if (!target.empty() && target.front() == '[') {
    const auto close = target.find(']');
    return close == std::string::npos ? std::string() : target.substr(1, close - 1);
  }
  const auto colon = target.find(':');
  // Two colons or more: a bare IPv6 address without a port.
  if (colon == std::string::npos || target.find(':', colon + 1) != std::string::npos) return target;
  return target.substr(0, colon);
}

bool isLoopbackTarget(const std::string& target) {
  std::string host = targetHost(target);
  std::transform(host.begin(), host.end(), host.begin(), [](unsigned char c) { return std::tolower(c); });
  if (host == "localhost") return true;
  in_addr v4{};
  if (inet_pton(AF_INET, host.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && std::memcmp(&v6, &in6addr_loopback, sizeof v6) == 0;
}
