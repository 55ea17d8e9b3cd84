#include <gtest/gtest.h>

#include "listview/ProfileEditor.h"

namespace quorrel {
namespace {

// The editor's name checks with the system's own Korean code page converter.
TEST(ProfileNameCodePage, HangulCountsTwoBytesAndUnwritableNamesAreRefused) {
    const auto codec = platform::makeCp949Codec();
    EXPECT_TRUE(profileNameFits(*codec, "가나다라마바사아자차"));
    EXPECT_FALSE(profileNameFits(*codec, "가나다라마바사아자차a"));
    EXPECT_TRUE(profileNameFits(*codec, "12345678901234567890"));

    ProfileList list;
    ProfileEditor editor(list, *codec);
    editor.startAdd();
    editor.controls().nameText = "가나다라마바사아자차a";
    EXPECT_EQ(editor.confirm().check, EditorCheck::NameTooLong);
    editor.controls().nameText = "집\xF0\x9F\x8F\xA0";
    EXPECT_EQ(editor.confirm().check, EditorCheck::NameNotEncodable);
    editor.controls().nameText = "사무실 2층";
    EXPECT_TRUE(editor.confirm().accepted());
}

}  // namespace
}  // namespace quorrel
