#pragma once

#include <string>
#include <string_view>

#include "platform/TextCodec.h"

namespace quorrel::test {

// Counts like the Korean code page: ASCII one byte, Hangul and other two-byte characters
// two bytes. Characters outside the Basic Multilingual Plane (emoji) cannot be written.
class KoreanCountingCodec final : public platform::TextCodec {
public:
    bool encode(std::string_view utf8, std::string& out) const override {
        out.clear();
        bool lossless = true;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            if (length == 1) {
                out += utf8[i];
            } else if (length == 4) {
                out += '?';
                lossless = false;
            } else {
                out += "\xB0\xA1";
            }
            i += length;
        }
        return lossless;
    }
    std::string decode(std::string_view bytes) const override { return std::string(bytes); }
};

}  // namespace quorrel::test
