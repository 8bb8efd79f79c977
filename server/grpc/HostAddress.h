#pragma once

#include <string>

// A server host as launchers write it: "name", "name:port", "[v6]" or
// "[v6]:port", or nothing for this machine. Answers the gRPC target
// "name:port" with the default port when none is given; empty when the text
// cannot name a host.
std::string grpcTarget(const std::string& host, int defaultPort);

// The host part of a target ("name:port", "[v6]:port") without brackets.
std::string targetHost(const std::string& target);
// Whether a target names this machine's loopback by its text alone:
// "localhost", 127.0.0.0/8 or ::1. A name that merely resolves to loopback
// does not count, as the name could resolve elsewhere by the time a
// channel connects.
bool isLoopbackTarget(const std::string& target);
