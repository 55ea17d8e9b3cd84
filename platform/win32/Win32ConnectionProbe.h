#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/ConnectionProbe.h"

namespace quorrel::platform {

// askDnsServer with another port than 53, for tests that answer with a server of their own.
ProbeAnswer win32AskDnsServerAt(const std::string& server, std::uint16_t port,
                                std::chrono::milliseconds limit);

// The link address of `gateway` ("00:11:22:AA:BB:CC", upper-case hex) as SendARP finds it,
// within `limit`; "" when it does not answer in time.
std::string win32GatewayLinkAddress(const std::string& gateway, std::chrono::milliseconds limit);

}  // namespace quorrel::platform
