#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

// IPv4 addresses as the editor holds them: a 32-bit value in host byte order, first field
// most significant. The value 0 stands for a blank address.
using AddressValue = std::uint32_t;

// Parses a stored dotted text the classic way: one to four parts separated by dots, each
// decimal, octal (leading 0) or hexadecimal (leading 0x); the last part fills the bytes
// that are left ("10.1" is 10.0.0.1). Trailing blanks are allowed. Returns nothing for
// text that is not an address, so that the caller can tell it from 255.255.255.255.
std::optional<AddressValue> parseAddress(std::string_view text);

// Dotted decimal text without leading zeros; 0 gives "0.0.0.0".
std::string formatAddress(AddressValue value);

// Dotted text of a value, or empty text for the blank address 0.
std::string formatAddressOrBlank(AddressValue value);

// The value of a stored text as the editor shows it: text that is not an address shows
// as a blank address.
AddressValue addressOrBlank(std::string_view text);

constexpr AddressValue makeAddress(unsigned a, unsigned b, unsigned c, unsigned d) {
    return (AddressValue{a & 0xFFu} << 24) | (AddressValue{b & 0xFFu} << 16) |
           (AddressValue{c & 0xFFu} << 8) | AddressValue{d & 0xFFu};
}

}  // namespace quorrel
