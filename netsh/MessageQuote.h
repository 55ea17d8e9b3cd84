#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorrel::netsh {

// How a value from the command line or from a DHCP client appears in one of our messages:
// between double quotes, at most `limit` characters of it, each control character, a
// backslash, a double quote and every byte that is not part of valid UTF-8 written as an
// escape (\n, \t, \r, \\, \", \xNN). A longer value is cut at a character boundary and
// followed by "..." and its length, so that a 100,000-character argument cannot flood the
// message or the terminal, and a line feed or an escape sequence in it cannot forge lines.
std::string quoteForMessage(std::string_view value, std::size_t limit = 40);

}  // namespace quorrel::netsh
