#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorrel::system {

// The Korean code page (CP949) in which the data file and the registry store keep their
// texts on every system, converted by the system's own converter (iconv on Linux, the code
// page functions on Windows).
//
// The conversion keeps every byte: a byte that is not part of a valid CP949 character (a
// hand-edited or damaged file) is carried in the UTF-8 text as the code point U+DC00 plus
// the byte, a lone surrogate that no typed or displayed text contains, and is written back
// as that same byte. readableText turns such bytes into replacement characters for display.

// UTF-8 to CP949 bytes. A character that CP949 cannot hold, and a damaged UTF-8 sequence,
// is written as '?'; the result then is false. Carried bytes are written back unchanged and
// count as lossless.
bool utf8ToCp949(std::string_view utf8, std::string& out);

// CP949 bytes to UTF-8; a byte that is not valid CP949 is carried (see above).
std::string cp949ToUtf8(std::string_view bytes);

// How a carried byte looks in UTF-8: the three bytes of U+DC00 + byte (0x80 to 0xFF).
inline constexpr std::size_t kCarriedByteLength = 3;

inline void appendCarriedByte(std::string& utf8, unsigned char byte) {
    utf8 += static_cast<char>(0xED);
    utf8 += static_cast<char>(0xB0 | (byte >> 6));
    utf8 += static_cast<char>(0x80 | (byte & 0x3F));
}

// Whether a carried byte starts at `pos`; sets `byte` when it does.
inline bool carriedByteAt(std::string_view utf8, std::size_t pos, unsigned char& byte) {
    if (pos + kCarriedByteLength > utf8.size() || static_cast<unsigned char>(utf8[pos]) != 0xED) {
        return false;
    }
    const auto second = static_cast<unsigned char>(utf8[pos + 1]);
    const auto third = static_cast<unsigned char>(utf8[pos + 2]);
    if ((second != 0xB2 && second != 0xB3) || (third & 0xC0) != 0x80) {
        return false;
    }
    byte = static_cast<unsigned char>(((second & 0x03) << 6) | (third & 0x3F));
    return true;
}

// The text for display: each carried byte becomes one replacement character (U+FFFD).
inline std::string readableText(std::string_view utf8) {
    std::string readable;
    readable.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        unsigned char carried = 0;
        if (carriedByteAt(utf8, pos, carried)) {
            readable += "\xEF\xBF\xBD";
            pos += kCarriedByteLength;
        } else {
            readable += utf8[pos++];
        }
    }
    return readable;
}

// Whether every byte is ASCII, which both forms share unchanged.
inline bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace quorrel::system
