#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorrel::platform {

// The link address of an interface of our own network namespace as NetworkManager writes
// it ("52:54:00:12:34:56"); "" when it has none.
std::string linkAddress(const std::string& ifname);

// "52:54:00:12:34:56" for the bytes of a link address (upper-case hex).
std::string hexLinkAddress(const std::uint8_t* bytes, std::size_t size);

// Whether two link addresses are the same, whatever the letter case of their hex digits.
bool sameLinkAddress(std::string a, std::string b);

}  // namespace quorrel::platform
