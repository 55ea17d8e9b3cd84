#include <array>
#include <cstdint>
#include <vector>

#include "platform/TextCodec.h"
#include "system/CodePage.h"

namespace quorrel::platform {

namespace {

// The Hangul syllables, U+AC00 to U+D7A3: besides ASCII what profile names are made of. They
// are converted by a table that the system's converter fills once, for all of them at a time;
// a text with any other character goes to the system's converter whole.
constexpr std::uint32_t kFirstSyllable = 0xAC00;
constexpr std::size_t kSyllables = 11172;

class HangulTable {
public:
    HangulTable() : syllableOf_(65536, 0) {
        std::string utf8;
        utf8.reserve(kSyllables * 3);
        for (std::size_t i = 0; i < kSyllables; ++i) {
            appendUtf8(utf8, i);
        }
        std::string cp949;
        if (!system::utf8ToCp949(utf8, cp949) || cp949.size() != kSyllables * 2 ||
            system::cp949ToUtf8(cp949) != utf8) {
            return;  // not the converter this table expects: every text goes to it
        }
        for (std::size_t i = 0; i < kSyllables; ++i) {
            const auto code =
                static_cast<std::uint16_t>((static_cast<unsigned char>(cp949[2 * i]) << 8) |
                                           static_cast<unsigned char>(cp949[2 * i + 1]));
            if (code < 0x8100 || syllableOf_[code] != 0) {
                return;
            }
            codeOf_[i] = code;
            syllableOf_[code] = static_cast<std::uint16_t>(i + 1);
        }
        usable_ = true;
    }

    // CP949 to UTF-8 of a text of ASCII and syllables; false for any other text.
    bool decode(std::string_view bytes, std::string& utf8) const {
        if (!usable_) {
            return false;
        }
        utf8.reserve(bytes.size() * 3 / 2);
        for (std::size_t pos = 0; pos < bytes.size();) {
            const auto lead = static_cast<unsigned char>(bytes[pos]);
            if (lead < 0x80) {
                utf8 += static_cast<char>(lead);
                ++pos;
                continue;
            }
            if (pos + 1 == bytes.size()) {
                return false;
            }
            const std::size_t pair =
                (std::size_t{lead} << 8) | static_cast<unsigned char>(bytes[pos + 1]);
            const std::uint16_t syllable = syllableOf_[pair];
            if (syllable == 0) {
                return false;
            }
            appendUtf8(utf8, syllable - 1u);
            pos += 2;
        }
        return true;
    }

    // UTF-8 to CP949 of a text of ASCII and syllables; false for any other text.
    bool encode(std::string_view utf8, std::string& cp949) const {
        if (!usable_) {
            return false;
        }
        cp949.clear();
        for (std::size_t pos = 0; pos < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[pos]);
            if (lead < 0x80) {
                cp949 += static_cast<char>(lead);
                ++pos;
                continue;
            }
            if ((lead & 0xF0) != 0xE0 || pos + 2 >= utf8.size()) {
                return false;
            }
            const auto second = static_cast<unsigned char>(utf8[pos + 1]);
            const auto third = static_cast<unsigned char>(utf8[pos + 2]);
            if ((second & 0xC0) != 0x80 || (third & 0xC0) != 0x80) {
                return false;
            }
            const std::uint32_t point =
                ((lead & 0x0Fu) << 12) | ((second & 0x3Fu) << 6) | (third & 0x3Fu);
            if (point < kFirstSyllable || point >= kFirstSyllable + kSyllables) {
                return false;
            }
            const std::uint16_t code = codeOf_[point - kFirstSyllable];
            cp949 += static_cast<char>(code >> 8);
            cp949 += static_cast<char>(code & 0xFF);
            pos += 3;
        }
        return true;
    }

private:
    static void appendUtf8(std::string& utf8, std::size_t syllable) {
        const std::uint32_t point = kFirstSyllable + static_cast<std::uint32_t>(syllable);
        utf8 += static_cast<char>(0xE0 | (point >> 12));
        utf8 += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (point & 0x3F));
    }

    bool usable_ = false;
    std::array<std::uint16_t, kSyllables> codeOf_{};
    std::vector<std::uint16_t> syllableOf_;  // by CP949 code: syllable + 1, 0 for none
};

// Made at the first text that is not ASCII.
const HangulTable& hangulTable() {
    static const HangulTable table;
    return table;
}

class SystemCp949Codec final : public TextCodec {
public:
    bool encode(std::string_view utf8, std::string& out) const override {
        if (!system::isAscii(utf8) && hangulTable().encode(utf8, out)) {
            return true;
        }
        return system::utf8ToCp949(utf8, out);
    }

    std::string decode(std::string_view bytes) const override {
        std::string utf8;
        if (!system::isAscii(bytes) && hangulTable().decode(bytes, utf8)) {
            return utf8;
        }
        return system::cp949ToUtf8(bytes);
    }
};

}  // namespace

std::unique_ptr<TextCodec> makeCp949Codec() {
    return std::make_unique<SystemCp949Codec>();
}

}  // namespace quorrel::platform
