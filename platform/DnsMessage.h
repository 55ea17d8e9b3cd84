#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorrel::platform {

// The one DNS question the connection check asks, and the test of its reply (RFC 1035).

inline constexpr std::uint16_t kDnsPort = 53;
// The question: the name servers of the root zone (".", type NS, class IN). Every server
// can reply to it from what it knows, without asking further.
inline constexpr std::uint16_t kDnsTypeNs = 2;

// A query with identifier `id` for `name` ("." or "example.com") of `type`, recursion
// desired. An empty vector when the name cannot be written (a label over 63 bytes, a name
// over 255 bytes or an empty label).
std::vector<std::uint8_t> makeDnsQuery(std::uint16_t id, std::string_view name, std::uint16_t type);

// Whether `reply` is a well-formed reply to `query`: a full header with the query's
// identifier and the reply bit, and, when it carries a question, the query's question.
// The reply's code does not matter: a server that knows no such name has still answered.
bool isDnsReplyTo(const std::uint8_t* reply, std::size_t size,
                  const std::vector<std::uint8_t>& query);

}  // namespace quorrel::platform
