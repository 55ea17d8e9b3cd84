#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "listview/NameFieldLimit.h"
#include "tests/core/KoreanCountingCodec.h"

namespace quorrel {
namespace {

struct NameEditCase {
    const char* what;
    const char* before;
    const char* after;
    const char* kept;
    std::size_t cursor;  // bytes into `kept`
    bool cut;
};

class NameFieldLimitTest : public ::testing::TestWithParam<NameEditCase> {
protected:
    test::KoreanCountingCodec codec;
};

TEST_P(NameFieldLimitTest, KeepsWhatFitsOfTheInsertedCharacters) {
    const NameEditCase& c = GetParam();
    const NameFieldEdit edit = limitNameFieldEdit(codec, c.before, c.after, 20);
    EXPECT_EQ(edit.text, c.kept);
    EXPECT_EQ(edit.cursor, c.cursor);
    EXPECT_EQ(edit.cut, c.cut);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, NameFieldLimitTest,
    ::testing::Values(
        NameEditCase{"a paste that fits", "", "사무실", "사무실", 9, false},
        // Eleven syllables (22 bytes) pasted: the first ten (20 bytes) stay.
        NameEditCase{"a long Hangul paste", "", "가나다라마바사아자차카", "가나다라마바사아자차",
                     30, true},
        // 19 bytes left for the paste after "a": nine syllables, the tenth would be split.
        NameEditCase{"no half syllable", "a", "a가나다라마바사아자차", "a가나다라마바사아자", 28,
                     true},
        NameEditCase{"a long Latin paste", "", "abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrst",
                     20, true},
        // Pasted in the middle: the text after the cursor stays, the paste is cut.
        NameEditCase{"in the middle", "가나다라마바사아", "가나XYZ0123다라마바사아",
                     "가나XYZ0다라마바사아", 10, true},
        // Replacing a selection: the removed characters make room.
        NameEditCase{"over a selection", "가나다라마바사아자차", "가나다라마바사아1234567890",
                     "가나다라마바사아1234", 28, true},
        NameEditCase{"typing at the limit", "가나다라마바사아자차", "가나다라마바사아자차a",
                     "가나다라마바사아자차", 30, true},
        // A stored name above the limit may be shortened and edited without growing.
        NameEditCase{"shortening a long name", "가나다라마바사아자차카", "가나다라마바사아자차",
                     "가나다라마바사아자차", 30, false},
        NameEditCase{"same length over the limit", "가나다라마바사아자차카",
                     "가나다라마바사아자차타", "가나다라마바사아자차타", 33, false},
        NameEditCase{"growing a long name", "가나다라마바사아자차카", "가나다라마바사아자차카a",
                     "가나다라마바사아자차카", 33, true}),
    [](const ::testing::TestParamInfo<NameEditCase>& param) {
        std::string name;
        for (const char* p = param.param.what; *p != 0; ++p) {
            name += std::isalnum(static_cast<unsigned char>(*p)) != 0 ? *p : '_';
        }
        return name;
    });

}  // namespace
}  // namespace quorrel
