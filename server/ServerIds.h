#pragma once

#include <string_view>

// Class and interface ids of the monitoring server's objects, in their text
// form. They name what a creation asks for; the server refuses unknown ones.
namespace ServerIds {

constexpr std::string_view kDataServerClass = "{E1E1F603-5464-11D1-B74D-00A0C909E2DC}";
constexpr std::string_view kDataServerInterface = "{156FB0A0-85AE-11D1-B74D-00A0C909E2DC}";
constexpr std::string_view kThresholdInterface = "{97A50300-624E-11D1-B74D-00A0C909E2DC}";
constexpr std::string_view kSecurityClass = "{829EA814-46D1-11D1-8019-00E029058E5A}";
constexpr std::string_view kSecurityInterface = "{829EA828-46D1-11D1-8019-00E029058E5A}";
constexpr std::string_view kClockClass = "{153D3CF3-DBCB-11D2-A53D-00E029102EFB}";
constexpr std::string_view kClockInterface = "{153D3CF2-DBCB-11D2-A53D-00E029102EFB}";
constexpr std::string_view kDataServerKeepAlive = "{B490C0B6-1E5F-4E3B-8BEE-47FF4E957A15}";
constexpr std::string_view kSecurityKeepAlive = "{267D59ED-8D45-4E00-AECA-FE2F91B48DB3}";

// Permission number of the right to run the program.
constexpr int kLaunchPermission = 0x40;

// Default TCP port of the server when a host names none.
constexpr int kDefaultPort = 50515;

// Class ids compare without regard to case and with or without braces.
bool sameClassId(std::string_view a, std::string_view b);

}  // namespace ServerIds
