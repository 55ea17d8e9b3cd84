#include "netsh/MessageQuote.h"

namespace quorrel::netsh {

namespace {

// The length of the valid UTF-8 sequence that starts at `i`, or 0 when the byte there does
// not start one (overlong forms, surrogates and values above U+10FFFF count as invalid).
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    if (byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

std::string hexEscape(unsigned char c) {
    constexpr const char* kDigits = "0123456789ABCDEF";
    return std::string("\\x") + kDigits[c >> 4] + kDigits[c & 0xF];
}

}  // namespace

std::string quoteForMessage(std::string_view value, std::size_t limit) {
    std::string result = "\"";
    std::size_t shown = 0;
    std::size_t i = 0;
    while (i < value.size() && shown < limit) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c < 0x80) {
            switch (c) {
                case '\n':
                    result += "\\n";
                    break;
                case '\t':
                    result += "\\t";
                    break;
                case '\r':
                    result += "\\r";
                    break;
                case '\\':
                    result += "\\\\";
                    break;
                case '"':
                    result += "\\\"";
                    break;
                default:
                    if (c < 0x20 || c == 0x7F) {
                        result += hexEscape(c);
                    } else {
                        result += static_cast<char>(c);
                    }
            }
            ++i;
        } else if (const std::size_t length = utf8SequenceLength(value, i); length > 0) {
            // C1 control characters (U+0080 to U+009F) are escaped like the C0 ones.
            if (c == 0xC2 && static_cast<unsigned char>(value[i + 1]) < 0xA0) {
                result += hexEscape(c) + hexEscape(static_cast<unsigned char>(value[i + 1]));
            } else {
                result.append(value.substr(i, length));
            }
            i += length;
        } else {
            result += hexEscape(c);
            ++i;
        }
        ++shown;
    }
    result += '"';
    if (i < value.size()) {
        result += "... (" + std::to_string(value.size()) + " bytes in all)";
    }
    return result;
}

}  // namespace quorrel::netsh
