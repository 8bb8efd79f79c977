#pragma once

#include <cstdint>
#include <string>

// The server's one-line log on stderr: a session or a request per line.
// Tests silence it.
namespace SimLog {

void setEnabled(bool enabled);
bool enabled();
void line(const std::string& text);
// A result code as the logs show it: small codes in decimal, others in hex.
std::string code(int32_t result);

}  // namespace SimLog
