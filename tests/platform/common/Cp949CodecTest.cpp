#include <gtest/gtest.h>

#include <string>

#include "platform/TextCodec.h"
#include "system/CodePage.h"

namespace quorrel {
namespace {

// The codec converts names of ASCII and Hangul syllables by its own table: every text must
// come out as the system's converter makes it, also those the table hands on to it.
TEST(Cp949Codec, ConvertsAsTheSystemsConverterDoes) {
    const auto codec = platform::makeCp949Codec();
    std::string everySyllable;
    for (char32_t point = 0xAC00; point <= 0xD7A3; ++point) {
        everySyllable += static_cast<char>(0xE0 | (point >> 12));
        everySyllable += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        everySyllable += static_cast<char>(0x80 | (point & 0x3F));
    }
    const std::string texts[] = {
        "사무실 12",   "lab-7",
        "똠방각하",    "집\xE2\x82\xAC",  // a syllable and the euro sign
        "漢字 이름",   "가\xED\xB2\xA0",  // a carried byte after a syllable
        "가\xEA\xB0",  "",
        everySyllable,
    };
    for (const std::string& utf8 : texts) {
        SCOPED_TRACE(utf8.substr(0, 24));
        std::string fromSystem;
        const bool systemLossless = system::utf8ToCp949(utf8, fromSystem);
        std::string fromCodec;
        EXPECT_EQ(codec->encode(utf8, fromCodec), systemLossless);
        EXPECT_EQ(fromCodec, fromSystem);
        EXPECT_EQ(codec->decode(fromSystem), system::cp949ToUtf8(fromSystem));
    }
    // Bytes no syllable is made of: a lead byte at the end, a pair CP949 does not know.
    for (const std::string bytes : {"\xB0", "a\xB0\xA1\xB0", "\xC9\xA1", "\xFF\xFF"}) {
        EXPECT_EQ(codec->decode(bytes), system::cp949ToUtf8(bytes));
    }
}

}  // namespace
}  // namespace quorrel
