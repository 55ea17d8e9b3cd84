#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorrel::netsh {

// A dotted IPv4 address in strict form: exactly four decimal fields 0-255, no sign, no
// blank, no leading zero ("010" could be read as octal, so it is refused).
std::optional<std::uint32_t> parseIpv4(std::string_view text);
std::string formatIpv4(std::uint32_t address);

// The prefix length of a subnet mask whose one-bits are contiguous from the top; nothing
// for a mask such as 255.0.255.0.
std::optional<int> prefixLengthOf(std::uint32_t mask);
std::uint32_t maskOfPrefix(int prefixLength);

// True for an address a host can use or be told about: not 0.0.0.0, not in 127/8 and not
// multicast, experimental or broadcast (224.0.0.0 and up).
bool isUnicastHostAddress(std::uint32_t address);

}  // namespace quorrel::netsh
