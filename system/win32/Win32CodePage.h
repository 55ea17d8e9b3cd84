#pragma once

#include <string>
#include <string_view>

namespace quorrel::system::win32 {

// The code page of the program's narrow texts on Windows: the ...A functions of the
// system receive and return Korean text in CP949.
inline constexpr unsigned kProgramCodePage = 949;

// UTF-16 forms of UTF-8 texts; invalid UTF-8 becomes U+FFFD.
std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);

// UTF-8 to bytes of `codePage`. A character the code page cannot hold becomes '?', and
// `lossless` (when given) tells whether that happened.
std::string utf8ToCodePage(std::string_view utf8, unsigned codePage = kProgramCodePage,
                           bool* lossless = nullptr);

// Bytes of `codePage` to UTF-8; a byte sequence that is not valid there becomes U+FFFD.
std::string codePageToUtf8(std::string_view bytes, unsigned codePage = kProgramCodePage);

}  // namespace quorrel::system::win32
