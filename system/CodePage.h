#pragma once

#include <string>
#include <string_view>

namespace quorrel::system {

// The Korean code page (CP949) in which the data file and the registry store keep their
// texts on every system, converted by the system's own converter (iconv on Linux, the code
// page functions on Windows).

// UTF-8 to CP949 bytes. A character that CP949 cannot hold, and a damaged UTF-8 sequence,
// is written as '?'; the result then is false.
bool utf8ToCp949(std::string_view utf8, std::string& out);

// CP949 bytes to UTF-8. A byte sequence that is not valid CP949 becomes U+FFFD.
std::string cp949ToUtf8(std::string_view bytes);

}  // namespace quorrel::system
