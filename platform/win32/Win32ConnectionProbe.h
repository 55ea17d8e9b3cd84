#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/ConnectionProbe.h"

namespace quorrel::platform {

// askDnsServer with another port than 53, for tests that answer with a server of their own.
ProbeAnswer win32AskDnsServerAt(const std::string& server, std::uint16_t port,
                                std::chrono::milliseconds limit);

}  // namespace quorrel::platform
