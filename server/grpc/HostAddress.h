#pragma once

#include <string>

// A server host as launchers write it: "name", "name:port", "[v6]" or
// "[v6]:port", or nothing for this machine. Answers the gRPC target
// "name:port" with the default port when none is given; empty when the text
// cannot name a host.
std::string grpcTarget(const std::string& host, int defaultPort);
