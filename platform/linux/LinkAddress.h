#pragma once

#include <string>

namespace quorrel::platform {

// The link address of an interface of our own network namespace as NetworkManager writes
// it ("52:54:00:12:34:56"); "" when it has none.
std::string linkAddress(const std::string& ifname);

// Whether two link addresses are the same, whatever the letter case of their hex digits.
bool sameLinkAddress(std::string a, std::string b);

}  // namespace quorrel::platform
