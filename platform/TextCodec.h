#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "system/CodePage.h"

namespace quorrel::platform {

// Conversion between the program's UTF-8 texts and the Korean code page (CP949) in which
// the data file is stored on every platform.
//
// The conversion keeps every byte: a byte that is not part of a valid CP949 character (a
// hand-edited or damaged file) is carried in the UTF-8 text as the code point U+DC00 plus
// the byte, a lone surrogate that no typed or displayed text contains, and is written back
// as that same byte (see system/CodePage.h). Qt shows such a byte as the replacement
// character; readableText gives the text with replacement characters for display.
class TextCodec {
public:
    virtual ~TextCodec() = default;

    // UTF-8 to CP949 bytes. A character that CP949 cannot hold is written as '?' and the
    // result is false; the caller decides whether that loss is acceptable. Carried bytes
    // are written back unchanged and count as lossless.
    virtual bool encode(std::string_view utf8, std::string& out) const = 0;

    // CP949 bytes to UTF-8; a byte that is not valid CP949 is carried (see above).
    virtual std::string decode(std::string_view bytes) const = 0;

    // Whether every character of the text can be written in CP949.
    bool canEncode(std::string_view utf8) const {
        std::string ignored;
        return encode(utf8, ignored);
    }

    // Length of the text in CP949 bytes (unencodable characters count one byte each).
    std::size_t encodedLength(std::string_view utf8) const {
        std::string bytes;
        encode(utf8, bytes);
        return bytes.size();
    }
};

// The operating system's converter (iconv on Linux, the Windows code page functions).
std::unique_ptr<TextCodec> makeCp949Codec();

// The carried bytes and the display form of a text (system/CodePage.h).
using system::isAscii;
using system::readableText;

}  // namespace quorrel::platform
