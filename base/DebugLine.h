#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorrel {

// Size of the buffer a debug line is built in, terminating zero included.
inline constexpr std::size_t kDebugLineBufferSize = 1024;

// "[Quorrel](<thread>): <message>\n". A line that would not fit into the buffer is cut at
// a character boundary so that prefix, message and line feed together stay within it.
std::string formatDebugLine(unsigned long threadId, std::string_view message);

}  // namespace quorrel
